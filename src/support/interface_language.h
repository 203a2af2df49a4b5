// The interface language: a language forced on the command line becomes the
// thread locale of the main thread and of the apply worker and the language
// of every dialog and text, and the notice texts can be replaced per locale
// from "languages.ini".
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::size_t kLanguageFileValueCapacity = 8192;
inline constexpr int kResourceStringCapacity = 1024;

// Records the tag and sets the calling thread's locale to the first supported
// locale whose "language-country" or "language" names equal it (letters
// compared without regard to case). An empty tag requests the custom default
// locale and returns true; a tag that matches nothing selects English
// (United States) for the thread and the message boxes and returns false.
bool ApplyForcedLanguage(platform::Platform& os, SetupState& state, std::u16string_view tag);

// Gives the calling thread the locale recorded by ApplyForcedLanguage.
bool ReapplyForcedLanguage(platform::Platform& os, SetupState& state);

// The one language of every dialog template and string resource. With a
// forced tag it is the language of the locale the tag selected (English
// when it matched none); without one, or when that locale's language is
// neither German nor English, the language the platform's own resource
// look-up picks. Resources are then found by this language explicitly:
// the platform's default look-up follows the user-interface language, not
// the thread locale that the tag sets.
platform::LanguageId InterfaceLanguage(platform::Platform& os, const SetupState& state);

// A string resource in the interface language. On failure `text` is left as
// it was and the result is false.
bool LoadInterfaceString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                         std::u16string& text);

// Whether the language file may replace a string id: only the texts and
// captions of the run's notices.
bool IsReplaceableNoticeString(std::uint32_t id);

// The text of a notice string id: from the language file's section for the
// thread's locale when it has a non-empty entry, else from the string
// resources in the interface language. On failure `text` is left as it was
// and the result is false.
bool LoadLocalizedString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                         std::u16string& text);

// The look-up behind LoadLocalizedString; the key is the id in decimal. Ids
// other than the notices' come from the resources alone.
bool LookupLanguageString(platform::Platform& os, const SetupState& state, std::uint32_t id,
                          std::u16string& text);

// Replaces \n, \r, \t and \\ in that order, each over the whole text before
// the next, as the language file's values are written.
std::u16string DecodeLanguageFileEscapes(std::u16string_view value);

// Where the language file is read from: the working directory when a file of
// that name exists there, else the executable's directory.
std::u16string LocateLanguageFile(platform::Platform& os);

} // namespace corvane
