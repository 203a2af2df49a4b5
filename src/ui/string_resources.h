// The program's string resources, both languages. The Windows build carries
// them in its resource script; the sim platform serves them from this table,
// and a test under Wine checks that both say the same.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace corvane::ui {

inline constexpr platform::LanguageId kLanguageGerman = 0x0407;
inline constexpr platform::LanguageId kLanguageEnglish = 0x0409;

inline constexpr std::uint32_t kStringDefaultTitle = 108;
inline constexpr std::uint32_t kStringDefaultHeader = 109;
inline constexpr std::uint32_t kStringRenameFailedText = 113;
inline constexpr std::uint32_t kStringRestartText = 114;
inline constexpr std::uint32_t kStringRestartCaption = 115;
inline constexpr std::uint32_t kStringRenameFailedCaption = 116;
inline constexpr std::uint32_t kStringComputerNameCaption = 117;
inline constexpr std::uint32_t kStringComputerNameLength = 118;
inline constexpr std::uint32_t kStringComputerNameCharacters = 119;
inline constexpr std::uint32_t kStringComputerNameDigitsOnly = 120;
inline constexpr std::uint32_t kStringNoLogCaption = 121;
inline constexpr std::uint32_t kStringNoLogText = 122;

struct StringResource {
    std::uint32_t id;
    platform::LanguageId language;
    std::u16string_view text;
};

// Every string resource of the program, in both languages.
std::span<const StringResource> StringResources();

// The text of one string in one language, or nothing (empty view, false).
bool FindStringResource(std::uint32_t id, platform::LanguageId language, std::u16string_view& text);

} // namespace corvane::ui
