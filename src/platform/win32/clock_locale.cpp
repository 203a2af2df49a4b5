#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"

#include <exception>
#include <utility>

namespace corvane::win32 {

platform::SystemTime Win32Clock::GetLocalTime() {
    platform::SystemTime time;
    ::GetLocalTime(reinterpret_cast<SYSTEMTIME*>(&time));
    return time;
}

namespace {

bool IsDefaultLocale(platform::LocaleId locale) {
    return locale == platform::kLocaleUserDefault || locale == platform::kLocaleCustomDefault;
}

// EnumSystemLocalesW hands its callback no context, so the visitor of the
// enumeration running on this thread is kept here. A visitor that starts
// another enumeration saves and restores the outer one.
thread_local const std::function<bool(const char16_t*)>* currentVisitor = nullptr;
thread_local std::exception_ptr visitorFailure;

BOOL CALLBACK VisitLocale(LPWSTR localeText) {
    if (currentVisitor == nullptr) {
        return FALSE;
    }
#if defined(__cpp_exceptions)
    // No exception may unwind through the system's frames.
    try {
        return (*currentVisitor)(Utf16(localeText)) ? TRUE : FALSE;
    } catch (...) {
        visitorFailure = std::current_exception();
        return FALSE;
    }
#else
    return (*currentVisitor)(Utf16(localeText)) ? TRUE : FALSE;
#endif
}

} // namespace

platform::LocaleId Win32Locale::GetUserDefaultLocale() {
    const platform::LocaleId fixed = userLocale_.load();
    return fixed != 0 ? fixed : ::GetUserDefaultLCID();
}

bool Win32Locale::SetThreadLocale(platform::LocaleId locale) {
    // Both default identifiers mean the user's default; resolving them here
    // gives the same result on every version (some refuse LOCALE_CUSTOM_DEFAULT).
    if (IsDefaultLocale(locale)) {
        locale = GetUserDefaultLocale();
    }
    return ::SetThreadLocale(locale) != FALSE;
}

platform::LocaleId Win32Locale::GetThreadLocale() {
    return ::GetThreadLocale();
}

bool Win32Locale::EnumSystemLocales(const std::function<bool(const char16_t*)>& visit) {
    const auto* outerVisitor = currentVisitor;
    std::exception_ptr outerFailure = std::exchange(visitorFailure, nullptr);
    currentVisitor = &visit;
    const BOOL ran = ::EnumSystemLocalesW(VisitLocale, LCID_SUPPORTED);
    currentVisitor = outerVisitor;
    std::exception_ptr failure = std::exchange(visitorFailure, outerFailure);
    if (failure) {
        // The visitor's own exception, carried past the system's frames.
        std::rethrow_exception(failure);
    }
    return ran != FALSE;
}

int Win32Locale::GetLocaleInfo(platform::LocaleId locale, platform::LocaleInfoType type,
                               char16_t* buffer, int size) {
    // Size 0 would ask for the size needed instead of the text.
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    return ::GetLocaleInfoW(locale, static_cast<LCTYPE>(type), Wide(buffer), size);
}

LCID Win32Locale::FormattingLocale() const {
    const platform::LocaleId fixed = userLocale_.load();
    return fixed != 0 ? fixed : LOCALE_USER_DEFAULT;
}

int Win32Locale::GetShortDate(const platform::SystemTime& time, char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    return ::GetDateFormatW(FormattingLocale(), DATE_SHORTDATE,
                            reinterpret_cast<const SYSTEMTIME*>(&time), nullptr, Wide(buffer),
                            size);
}

int Win32Locale::GetTimeText(const platform::SystemTime& time, char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    return ::GetTimeFormatW(FormattingLocale(), 0, reinterpret_cast<const SYSTEMTIME*>(&time),
                            nullptr, Wide(buffer), size);
}

} // namespace corvane::win32
