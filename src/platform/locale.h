#pragma once

#include "platform/types.h"

#include <functional>

namespace corvane::platform {

// Thread locales, the system's locale list and locale-aware date and time
// texts. Buffer sizes and results follow the Win32 functions named below.
class Locale {
public:
    virtual ~Locale() = default;

    // GetUserDefaultLCID.
    virtual LocaleId GetUserDefaultLocale() = 0;
    // SetThreadLocale: true when the calling thread's locale was set.
    // LOCALE_CUSTOM_DEFAULT (0x0C00) and LOCALE_USER_DEFAULT give the user's
    // default locale; an unsupported identifier is refused.
    virtual bool SetThreadLocale(LocaleId locale) = 0;
    // GetThreadLocale: the calling thread's locale (the user's default until set).
    virtual LocaleId GetThreadLocale() = 0;
    // EnumSystemLocalesW with LCID_SUPPORTED: calls `visit` with each
    // locale's identifier as eight hexadecimal digits, in the platform's
    // order, until `visit` returns false. Returns false if it could not run.
    virtual bool
    EnumSystemLocales(const std::function<bool(const char16_t* localeText)>& visit) = 0;
    // GetLocaleInfoW: characters written including the terminator, or 0
    // (unknown locale, or a buffer too small: nothing usable is written).
    virtual int GetLocaleInfo(LocaleId locale, LocaleInfoType type, char16_t* buffer, int size) = 0;
    // GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, time, no picture)
    // and GetTimeFormatW(LOCALE_USER_DEFAULT, 0, time, no picture):
    // characters written including the terminator, or 0.
    virtual int GetShortDate(const SystemTime& time, char16_t* buffer, int size) = 0;
    virtual int GetTimeText(const SystemTime& time, char16_t* buffer, int size) = 0;
};

} // namespace corvane::platform
