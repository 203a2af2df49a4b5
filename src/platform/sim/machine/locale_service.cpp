// Clock and locale services.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <string>

namespace corvane::sim {

namespace {

// GetLocaleInfo types beyond the two the program asks for.
constexpr std::uint32_t kLocaleShortDate = 0x1F; // LOCALE_SSHORTDATE
constexpr std::uint32_t kLocaleAm = 0x28;        // LOCALE_S1159
constexpr std::uint32_t kLocalePm = 0x29;        // LOCALE_S2359
constexpr std::uint32_t kLocaleName = 0x5C;      // LOCALE_SNAME
constexpr std::uint32_t kLocaleTime = 0x1003;    // LOCALE_STIMEFORMAT
constexpr std::uint32_t kLocaleNoUserOverride = 0x80000000;

constexpr std::u16string_view kDayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
constexpr std::u16string_view kMonthNames[] = {u"January",   u"February", u"March",    u"April",
                                               u"May",       u"June",     u"July",     u"August",
                                               u"September", u"October",  u"November", u"December"};

std::u16string Number(unsigned value, std::size_t width) {
    std::u16string text = Widen(std::to_string(value));
    while (text.size() < width) {
        text.insert(text.begin(), u'0');
    }
    return text;
}

// Copies a quoted literal starting at picture[i] == '\'' and returns the
// index behind it; two quotes inside a literal stand for one.
std::size_t CopyLiteral(std::u16string_view picture, std::size_t i, std::u16string& out) {
    ++i;
    while (i < picture.size()) {
        if (picture[i] == u'\'') {
            if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                out.push_back(u'\'');
                i += 2;
                continue;
            }
            return i + 1;
        }
        out.push_back(picture[i++]);
    }
    return i;
}

std::size_t RunLength(std::u16string_view picture, std::size_t i) {
    std::size_t end = i;
    while (end < picture.size() && picture[end] == picture[i]) {
        ++end;
    }
    return end - i;
}

// The Win32 result of a text copied into a caller's buffer: the size
// including the terminator; 0 when the buffer is too small. Size 0 asks for
// the size needed.
int CopyResult(std::u16string_view text, char16_t* buffer, int size) {
    const auto needed = static_cast<int>(text.size() + 1);
    if (size == 0) {
        return needed;
    }
    if (buffer == nullptr || size < needed) {
        return 0;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return needed;
}

} // namespace

std::u16string FormatDatePicture(std::u16string_view picture, const platform::SystemTime& time) {
    std::u16string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            i = CopyLiteral(picture, i, out);
            continue;
        }
        if (c != u'd' && c != u'M' && c != u'y' && c != u'g') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t run = RunLength(picture, i);
        i += run;
        switch (c) {
        case u'd':
            if (run <= 2) {
                out += Number(time.day, run);
            } else {
                // The day of the week follows from the date, whatever the
                // record's own field says.
                const std::u16string_view name = kDayNames[AddMilliseconds(time, 0).dayOfWeek % 7];
                out += run == 3 ? name.substr(0, 3) : name;
            }
            break;
        case u'M':
            if (run <= 2) {
                out += Number(time.month, run);
            } else {
                const std::u16string_view name = kMonthNames[(time.month + 11) % 12];
                out += run == 3 ? name.substr(0, 3) : name;
            }
            break;
        case u'y':
            if (run == 1) {
                out += Number(time.year % 10u, 1); // the last digit only
            } else if (run == 2) {
                out += Number(time.year % 100u, 2);
            } else {
                out += Number(time.year, 1);
            }
            break;
        default:
            break; // no era strings in the Gregorian calendar
        }
    }
    return out;
}

std::u16string FormatTimePicture(std::u16string_view picture, const platform::SystemTime& time,
                                 const LocaleDefinition& locale) {
    std::u16string out;
    std::size_t i = 0;
    const std::u16string& designator = time.hour < 12 ? locale.am : locale.pm;
    while (i < picture.size()) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            i = CopyLiteral(picture, i, out);
            continue;
        }
        if (c != u'h' && c != u'H' && c != u'm' && c != u's' && c != u't') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t run = RunLength(picture, i);
        i += run;
        const std::size_t width = run >= 2 ? 2 : 1;
        switch (c) {
        case u'h': {
            const unsigned hour = time.hour % 12u;
            out += Number(hour == 0 ? 12u : hour, width);
            break;
        }
        case u'H':
            out += Number(time.hour, width);
            break;
        case u'm':
            out += Number(time.minute, width);
            break;
        case u's':
            out += Number(time.second, width);
            break;
        default:
            out += width == 1 ? designator.substr(0, 1) : designator;
            break;
        }
    }
    return out;
}

platform::SystemTime SimClock::GetLocalTime() {
    std::lock_guard lock(state_.mutex);
    const platform::SystemTime now = state_.now;
    if (state_.clockStepMs != 0) {
        state_.now = AddMilliseconds(state_.now, state_.clockStepMs);
    }
    return now;
}

platform::LocaleId SimLocale::GetUserDefaultLocale() {
    std::lock_guard lock(state_.mutex);
    return state_.userLocale;
}

bool SimLocale::SetThreadLocale(platform::LocaleId locale) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("SetThreadLocale")) {
        state_.Record("SetThreadLocale", {Hex(locale, 4)}, *code, true);
        return false;
    }
    const platform::LocaleId resolved = state_.ResolveLocale(locale);
    const bool known = state_.FindLocale(resolved) != nullptr;
    if (known) {
        state_.threadLocales[std::this_thread::get_id()] = resolved;
    }
    state_.Record("SetThreadLocale", {Hex(locale, 4)},
                  known ? platform::error::kSuccess : platform::error::kInvalidParameter);
    return known;
}

platform::LocaleId SimLocale::GetThreadLocale() {
    std::lock_guard lock(state_.mutex);
    return state_.ThreadLocale();
}

bool SimLocale::EnumSystemLocales(const std::function<bool(const char16_t*)>& visit) {
    std::vector<platform::LocaleId> ids;
    {
        std::lock_guard lock(state_.mutex);
        if (auto code = state_.Fail("EnumSystemLocales")) {
            state_.Record("EnumSystemLocales", {}, *code, true);
            return false;
        }
        for (const LocaleDefinition& entry : state_.locales) {
            ids.push_back(entry.id);
        }
    }
    if (!visit) {
        return false;
    }
    // The visitor runs without the lock: it calls back into the locale.
    for (platform::LocaleId id : ids) {
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        char16_t text[9];
        for (int digit = 0; digit < 8; ++digit) {
            text[digit] = kDigits[(id >> (28 - 4 * digit)) & 0xF];
        }
        text[8] = u'\0';
        if (!visit(text)) {
            break;
        }
    }
    return true;
}

int SimLocale::GetLocaleInfo(platform::LocaleId locale, platform::LocaleInfoType type,
                             char16_t* buffer, int size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetLocaleInfo")) {
        state_.Record("GetLocaleInfo", {Hex(locale, 4), Hex(static_cast<std::uint32_t>(type))},
                      *code, true);
        return 0;
    }
    if (size < 0) {
        return 0;
    }
    const LocaleDefinition* entry = state_.FindLocale(state_.ResolveLocale(locale));
    if (entry == nullptr) {
        return 0;
    }
    std::u16string text;
    switch (static_cast<std::uint32_t>(type) & ~kLocaleNoUserOverride) {
    case static_cast<std::uint32_t>(platform::LocaleInfoType::Iso639LanguageName):
        text = entry->language;
        break;
    case static_cast<std::uint32_t>(platform::LocaleInfoType::Iso3166CountryName):
        text = entry->country;
        break;
    case kLocaleName:
        text = entry->language + u"-" + entry->country;
        break;
    case kLocaleShortDate:
        text = entry->shortDate;
        break;
    case kLocaleTime:
        text = entry->timeFormat;
        break;
    case kLocaleAm:
        text = entry->am;
        break;
    case kLocalePm:
        text = entry->pm;
        break;
    default:
        return 0; // ERROR_INVALID_FLAGS
    }
    return CopyResult(text, buffer, size);
}

int SimLocale::GetShortDate(const platform::SystemTime& time, char16_t* buffer, int size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetDateFormat")) {
        state_.Record("GetDateFormat", {}, *code, true);
        return 0;
    }
    if (size < 0 || !IsValidDate(time)) {
        return 0;
    }
    const LocaleDefinition* entry = state_.FindLocale(state_.userLocale);
    if (entry == nullptr) {
        return 0;
    }
    return CopyResult(FormatDatePicture(entry->shortDate, time), buffer, size);
}

int SimLocale::GetTimeText(const platform::SystemTime& time, char16_t* buffer, int size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetTimeFormat")) {
        state_.Record("GetTimeFormat", {}, *code, true);
        return 0;
    }
    if (size < 0 || !IsValidTime(time)) {
        return 0;
    }
    const LocaleDefinition* entry = state_.FindLocale(state_.userLocale);
    if (entry == nullptr) {
        return 0;
    }
    return CopyResult(FormatTimePicture(entry->timeFormat, time, *entry), buffer, size);
}

} // namespace corvane::sim
