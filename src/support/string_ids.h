// The numbers of the program's string resources and the two languages they
// come in. The core asks for its texts by these numbers; the table of texts
// itself belongs to the dialogs (ui/string_resources.h).
#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane {

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

} // namespace corvane
