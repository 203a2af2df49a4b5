// The program's string resources, both languages. The Windows build carries
// them in its resource script; the sim platform serves them from this table,
// and a test under Wine checks that both say the same.
#pragma once

#include "platform/types.h"
#include "support/string_ids.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace corvane::ui {

// The numbers, as the dialogs have always named them.
using corvane::kLanguageEnglish;
using corvane::kLanguageGerman;
using corvane::kStringComputerNameCaption;
using corvane::kStringComputerNameCharacters;
using corvane::kStringComputerNameDigitsOnly;
using corvane::kStringComputerNameLength;
using corvane::kStringDefaultHeader;
using corvane::kStringDefaultTitle;
using corvane::kStringNoLogCaption;
using corvane::kStringNoLogText;
using corvane::kStringRenameFailedCaption;
using corvane::kStringRenameFailedText;
using corvane::kStringRestartCaption;
using corvane::kStringRestartText;

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
