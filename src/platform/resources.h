#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane::platform {

// The program's string resources (German 0x0407 and English 0x0409) and the
// system's message texts.
class Resources {
public:
    virtual ~Resources() = default;

    // LoadStringW: the string in the language the platform chooses for the
    // calling thread; characters copied without the terminator (cut to
    // size - 1), 0 when there is no such string.
    virtual int LoadString(std::uint32_t id, char16_t* buffer, int size) = 0;
    // Which of the program's languages (German or English) the platform's own
    // resource look-up picks for the calling thread, as LoadStringW and
    // FindResourceW do: on current Windows it follows the user-interface
    // language, not the thread locale.
    virtual LanguageId DefaultLanguage() = 0;
    // The string from the string table of exactly one language, with the
    // same results as LoadString.
    virtual int LoadStringInLanguage(std::uint32_t id, LanguageId language, char16_t* buffer,
                                     int size) = 0;
    // FormatMessageW from the system message table, default language, inserts
    // ignored: characters written without the terminator, 0 when the code has
    // no text or it does not fit.
    virtual std::uint32_t FormatSystemMessage(ErrorCode code, char16_t* buffer,
                                              std::uint32_t size) = 0;
};

} // namespace corvane::platform
