// Locales: the enumeration the language matching walks, ISO names, thread
// locales, and the date and time texts of the log.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <algorithm>
#include <array>
#include <set>

namespace corvane::contract {
namespace {

// Restores the calling thread's locale: the real platform keeps it for the
// whole test process.
class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(platform::Locale& locale)
        : locale_(locale), saved_(locale.GetThreadLocale()) {}
    ~ThreadLocaleScope() { locale_.SetThreadLocale(saved_); }

private:
    platform::Locale& locale_;
    platform::LocaleId saved_;
};

std::u16string Info(platform::Locale& locale, platform::LocaleId id,
                    platform::LocaleInfoType type) {
    std::array<char16_t, 16> buffer{};
    const int written = locale.GetLocaleInfo(id, type, buffer.data(), 16);
    EXPECT_EQ(written, static_cast<int>(Terminated(buffer.data()).size() + 1));
    return Terminated(buffer.data());
}

platform::SystemTime Time(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                          std::uint16_t hour, std::uint16_t minute, std::uint16_t second) {
    platform::SystemTime time;
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    time.second = second;
    return time;
}

TEST_P(PlatformContract, LocaleEnumerationVisitsEachLocaleOnceAsHexText) {
    std::set<std::u16string> seen;
    bool wellFormed = true;
    EXPECT_TRUE(Os().locale.EnumSystemLocales([&](const char16_t* text) {
        const std::u16string value(text);
        wellFormed = wellFormed && value.size() == 8 &&
                     value.find_first_not_of(u"0123456789ABCDEFabcdef") == std::u16string::npos;
        EXPECT_TRUE(seen.insert(value).second) << "visited twice";
        return true;
    }));
    EXPECT_TRUE(wellFormed);
    for (const char16_t* expected : {u"00000407", u"00000409", u"00000C07", u"00000807"}) {
        const bool found = std::any_of(seen.begin(), seen.end(), [&](const std::u16string& s) {
            return EqualsIgnoringAsciiCase(s, expected);
        });
        EXPECT_TRUE(found) << "missing locale";
    }

    int visits = 0;
    EXPECT_TRUE(Os().locale.EnumSystemLocales([&](const char16_t*) {
        ++visits;
        return false;
    }));
    EXPECT_EQ(visits, 1);
}

TEST_P(PlatformContract, LocaleIsoNames) {
    struct Case {
        platform::LocaleId id;
        const char16_t* language;
        const char16_t* country;
    };
    const Case cases[] = {
        {0x0407, u"de", u"DE"}, {0x0409, u"en", u"US"}, {0x0807, u"de", u"CH"},
        {0x0809, u"en", u"GB"}, {0x0C07, u"de", u"AT"}, {0x040C, u"fr", u"FR"},
    };
    platform::Locale& locale = Os().locale;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(Info(locale, c.id, platform::LocaleInfoType::Iso639LanguageName), c.language);
        EXPECT_EQ(Info(locale, c.id, platform::LocaleInfoType::Iso3166CountryName), c.country);
    }
}

TEST_P(PlatformContract, LocaleInfoBufferRules) {
    platform::Locale& locale = Os().locale;
    const auto country = platform::LocaleInfoType::Iso3166CountryName;
    std::array<char16_t, 8> buffer{};
    EXPECT_EQ(locale.GetLocaleInfo(0x0C07, country, buffer.data(), 2), 0); // too small
    EXPECT_EQ(locale.GetLocaleInfo(0x0C07, country, buffer.data(), 3), 3); // counts the terminator
    EXPECT_EQ(Terminated(buffer.data()), u"AT");
    EXPECT_EQ(locale.GetLocaleInfo(0x1234, country, buffer.data(), 8), 0); // no such locale
}

TEST_P(PlatformContract, LocaleThreadLocaleIsSetOrRefused) {
    platform::Locale& locale = Os().locale;
    const ThreadLocaleScope scope(locale);
    const platform::LocaleId user = locale.GetUserDefaultLocale();

    EXPECT_TRUE(locale.SetThreadLocale(0x0C07));
    EXPECT_EQ(locale.GetThreadLocale(), 0x0C07u);
    EXPECT_FALSE(locale.SetThreadLocale(0x1234));
    EXPECT_EQ(locale.GetThreadLocale(), 0x0C07u);
    // LOCALE_CUSTOM_DEFAULT and LOCALE_USER_DEFAULT both give the user's.
    for (platform::LocaleId id : {platform::kLocaleCustomDefault, platform::kLocaleUserDefault}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(locale.SetThreadLocale(0x0C07));
        EXPECT_TRUE(locale.SetThreadLocale(id));
        EXPECT_EQ(locale.GetThreadLocale(), user);
    }
}

TEST_P(PlatformContract, LocaleDateAndTimeFollowTheUserLocale) {
    struct Case {
        platform::LocaleId locale;
        platform::SystemTime time;
        const char16_t* date;
        const char16_t* text;
    };
    // German texts with two-digit days and months: every German picture in
    // use prints those the same way.
    const Case cases[] = {
        {0x0409, Time(2009, 3, 21, 9, 15, 43), u"3/21/2009", u"9:15:43 AM"},
        {0x0409, Time(2009, 12, 1, 21, 5, 7), u"12/1/2009", u"9:05:07 PM"},
        {0x0409, Time(2010, 1, 31, 0, 5, 0), u"1/31/2010", u"12:05:00 AM"},
        {0x0409, Time(2010, 1, 31, 12, 0, 59), u"1/31/2010", u"12:00:59 PM"},
        {0x0407, Time(2009, 11, 25, 13, 45, 30), u"25.11.2009", u"13:45:30"},
        {0x0407, Time(2009, 10, 12, 9, 5, 7), u"12.10.2009", u"09:05:07"},
    };
    const ThreadLocaleScope scope(Os().locale);
    // The texts follow the user's locale, not the thread's.
    ASSERT_TRUE(Os().locale.SetThreadLocale(0x040C));
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.date));
        Target().SetUserLocale(c.locale);
        std::array<char16_t, 64> buffer{};
        EXPECT_EQ(Os().locale.GetShortDate(c.time, buffer.data(), 64),
                  static_cast<int>(std::u16string_view(c.date).size() + 1));
        EXPECT_EQ(Terminated(buffer.data()), c.date);
        EXPECT_EQ(Os().locale.GetTimeText(c.time, buffer.data(), 64),
                  static_cast<int>(std::u16string_view(c.text).size() + 1));
        EXPECT_EQ(Terminated(buffer.data()), c.text);
    }
}

TEST_P(PlatformContract, LocaleDateAndTimeBufferRulesAndInvalidTimes) {
    Target().SetUserLocale(0x0409);
    platform::Locale& locale = Os().locale;
    const platform::SystemTime time = Time(2009, 3, 21, 9, 15, 43);
    std::array<char16_t, 64> buffer{};
    EXPECT_EQ(locale.GetShortDate(time, buffer.data(), 9), 0); // "3/21/2009" needs 10
    EXPECT_EQ(locale.GetShortDate(time, buffer.data(), 10), 10);
    EXPECT_EQ(locale.GetTimeText(time, buffer.data(), 10), 0); // "9:15:43 AM" needs 11
    EXPECT_EQ(locale.GetTimeText(time, buffer.data(), 11), 11);

    platform::SystemTime badMonth = time;
    badMonth.month = 13;
    EXPECT_EQ(locale.GetShortDate(badMonth, buffer.data(), 64), 0);
    platform::SystemTime badHour = time;
    badHour.hour = 24;
    EXPECT_EQ(locale.GetTimeText(badHour, buffer.data(), 64), 0);
}

} // namespace
} // namespace corvane::contract
