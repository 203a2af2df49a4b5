// The names an action script uses for the program's dialogs and for the
// items a user can act on in them (`dialog main`, `type computer-name "x"`).
// Control ids stay valid as aliases; the user documentation lists both.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane::sim {

// The template a dialog name stands for: main, credentials, progress.
std::optional<std::uint16_t> DialogByName(std::string_view name);
// The item of `templateId` that `name` stands for.
std::optional<int> DialogItemByName(std::uint16_t templateId, std::string_view name);
// The name of an item of `templateId`; empty when it has none.
std::string_view DialogItemName(std::uint16_t templateId, int item);

} // namespace corvane::sim
