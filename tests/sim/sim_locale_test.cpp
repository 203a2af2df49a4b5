// The sim's clock, locale table, picture formatting, per-thread locales and
// resource language choice.
#include "platform/sim/text.h"
#include "platform/sim/world.h"
#include "ui/string_resources.h"

#include <array>
#include <gtest/gtest.h>
#include <thread>

namespace corvane::sim {
namespace {

platform::SystemTime At(std::uint16_t year, std::uint16_t month, std::uint16_t day,
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

std::u16string Date(World& world, const platform::SystemTime& time) {
    std::array<char16_t, 64> buffer{};
    EXPECT_GT(world.locale().GetShortDate(time, buffer.data(), 64), 0);
    return buffer.data();
}

std::u16string TimeText(World& world, const platform::SystemTime& time) {
    std::array<char16_t, 64> buffer{};
    EXPECT_GT(world.locale().GetTimeText(time, buffer.data(), 64), 0);
    return buffer.data();
}

TEST(SimClock, DefaultsAndStepsAcrossDays) {
    World world;
    platform::SystemTime now = world.clock().GetLocalTime();
    EXPECT_EQ(now.year, 2009);
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 21);
    EXPECT_EQ(now.dayOfWeek, 6); // Saturday
    EXPECT_EQ(now.hour, 9);
    EXPECT_EQ(now.minute, 15);
    EXPECT_EQ(now.second, 43);
    EXPECT_EQ(world.clock().GetLocalTime().second, 43); // fixed unless stepped

    world.SetLocalTime(At(2008, 12, 31, 23, 59, 59));
    world.SetClockStep(1500);
    EXPECT_EQ(world.clock().GetLocalTime().dayOfWeek, 3); // Wednesday, as read
    now = world.clock().GetLocalTime();
    EXPECT_EQ(now.year, 2009);
    EXPECT_EQ(now.month, 1);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.dayOfWeek, 4);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.milliseconds, 500);
    world.SetLocalTime(At(2008, 2, 28, 23, 59, 59));
    world.SetClockStep(1000);
    world.clock().GetLocalTime();
    EXPECT_EQ(world.LocalTime().day, 29); // a leap year
}

TEST(SimLocale, TableIsEnumeratedInAscendingOrder) {
    World world;
    std::vector<std::u16string> seen;
    world.locale().EnumSystemLocales([&](const char16_t* text) {
        seen.emplace_back(text);
        return true;
    });
    EXPECT_EQ(seen,
              (std::vector<std::u16string>{u"00000407", u"00000409", u"0000040C", u"00000410",
                                           u"00000413", u"00000807", u"00000809", u"00000C07",
                                           u"00000C09", u"00001007", u"00001009", u"00001407"}));
    // A locale added later takes its place in the order.
    world.AddLocale({0x0405, u"cs", u"CZ", u"dd.MM.yyyy", u"H:mm:ss"});
    seen.clear();
    world.locale().EnumSystemLocales([&](const char16_t* text) {
        seen.emplace_back(text);
        return seen.size() < 2;
    });
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"00000405", u"00000407"}));
}

TEST(SimLocale, ShortDatesAndTimesOfTheTable) {
    struct Case {
        platform::LocaleId locale;
        const char16_t* date;
        const char16_t* time;
    };
    const Case cases[] = {
        {0x0407, u"21.03.2009", u"09:05:07"},     {0x0409, u"3/21/2009", u"9:05:07 AM"},
        {0x0809, u"21/03/2009", u"09:05:07"},     {0x0C09, u"21/03/2009", u"9:05:07 AM"},
        {0x1009, u"2009-03-21", u"9:05:07 a.m."}, {0x0413, u"21-3-2009", u"09:05:07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        World world;
        ASSERT_TRUE(world.SetUserDefaultLocale(c.locale));
        EXPECT_EQ(Date(world, At(2009, 3, 21, 9, 5, 7)), c.date);
        EXPECT_EQ(TimeText(world, At(2009, 3, 21, 9, 5, 7)), c.time);
    }
    World world;
    EXPECT_FALSE(world.SetUserDefaultLocale(0x1234));
    EXPECT_EQ(world.UserDefaultLocale(), 0x0409u);
}

TEST(SimLocale, PictureSemantics) {
    struct Case {
        const char16_t* datePicture;
        const char16_t* timePicture;
        platform::SystemTime time;
        const char16_t* date;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"d dd M MM y yy yyyy", u"h hh H HH m mm s ss t tt", At(2009, 3, 5, 0, 5, 7),
         u"5 05 3 03 9 09 2009", u"12 12 0 00 5 05 7 07 v vorm."},
        {u"dddd, d. MMMM yyyy", u"hh:mm tt", At(2015, 11, 22, 13, 0, 0),
         u"Sunday, 22. November 2015", u"01:00 nachm."},
        {u"ddd MMM", u"HHH:mmm", At(2015, 11, 22, 23, 9, 0), u"Sun Nov", u"23:09"},
        {u"'Tag' d 'o''clock' ''", u"'h' h", At(2009, 3, 21, 9, 15, 43), u"Tag 21 o'clock ",
         u"h 9"},
        {u"yyyy'unclosed", u"H'", At(2009, 3, 21, 9, 15, 43), u"2009unclosed", u"9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.datePicture));
        World world;
        world.AddLocale({0x0C0C, u"fr", u"CA", c.datePicture, c.timePicture, u"vorm.", u"nachm."});
        ASSERT_TRUE(world.SetUserDefaultLocale(0x0C0C));
        EXPECT_EQ(Date(world, c.time), c.date);
        EXPECT_EQ(TimeText(world, c.time), c.text);
    }
}

TEST(SimLocale, BufferProbesAndValidation) {
    World world;
    platform::Locale& locale = world.locale();
    const platform::SystemTime time = At(2009, 3, 21, 9, 15, 43);
    EXPECT_EQ(locale.GetShortDate(time, nullptr, 0), 10);
    EXPECT_EQ(locale.GetTimeText(time, nullptr, 0), 11);
    EXPECT_EQ(
        locale.GetLocaleInfo(0x0C07, platform::LocaleInfoType::Iso3166CountryName, nullptr, 0), 3);
    std::array<char16_t, 16> buffer{};
    EXPECT_EQ(locale.GetLocaleInfo(platform::kLocaleUserDefault,
                                   platform::LocaleInfoType::Iso639LanguageName, buffer.data(), 16),
              3);
    EXPECT_EQ(std::u16string(buffer.data()), u"en");
    EXPECT_EQ(locale.GetShortDate(At(2009, 2, 29, 9, 0, 0), buffer.data(), 16), 0);
    EXPECT_EQ(locale.GetShortDate(At(2008, 2, 29, 9, 0, 0), buffer.data(), 16), 10);
    EXPECT_EQ(locale.GetShortDate(At(2009, 4, 31, 9, 0, 0), buffer.data(), 16), 0);
    EXPECT_EQ(locale.GetTimeText(At(2009, 3, 21, 9, 60, 0), buffer.data(), 16), 0);
    EXPECT_EQ(locale.GetShortDate(time, buffer.data(), -1), 0);
}

TEST(SimLocale, ThreadLocaleIsPerThreadAndJournaled) {
    World world;
    platform::Locale& locale = world.locale();
    ASSERT_TRUE(locale.SetThreadLocale(0x0C07));
    platform::LocaleId other = 0;
    std::thread worker([&] {
        other = locale.GetThreadLocale(); // a new thread starts with the user's
        locale.SetThreadLocale(0x0807);
    });
    worker.join();
    EXPECT_EQ(other, 0x0409u);
    EXPECT_EQ(locale.GetThreadLocale(), 0x0C07u);
    EXPECT_FALSE(locale.SetThreadLocale(0x7C7C));
    EXPECT_TRUE(locale.SetThreadLocale(0x0C00));
    EXPECT_EQ(locale.GetThreadLocale(), 0x0409u);
    EXPECT_EQ(
        world.JournalLines("SetThreadLocale"),
        (std::vector<std::string>{"SetThreadLocale(0x0C07) = 0", "SetThreadLocale(0x0807) = 0",
                                  "SetThreadLocale(0x7C7C) = 87", "SetThreadLocale(0x0C00) = 0"}));
}

// The resource look-up of current Windows follows the user-interface
// language; a thread locale set by the program changes nothing.
TEST(SimResources, TheDefaultLookUpFollowsTheInterfaceLanguageNotTheThreadLocale) {
    struct Case {
        platform::LanguageId uiLanguage;
        platform::LocaleId threadLocale;
        platform::LanguageId language;
    };
    const Case cases[] = {
        {0x0407, 0x0409, ui::kLanguageGerman},  {0x0C07, 0x0409, ui::kLanguageGerman},
        {0x0409, 0x0407, ui::kLanguageEnglish}, {0x0809, 0x0C07, ui::kLanguageEnglish},
        {0x040C, 0x0407, ui::kLanguageEnglish},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uiLanguage);
        World world;
        world.SetUserInterfaceLanguage(c.uiLanguage);
        ASSERT_TRUE(world.locale().SetThreadLocale(c.threadLocale));
        EXPECT_EQ(c.language, world.resources().DefaultLanguage());
        std::u16string_view title;
        ASSERT_TRUE(ui::FindStringResource(ui::kStringDefaultTitle, c.language, title));
        std::array<char16_t, 64> buffer{};
        EXPECT_EQ(world.resources().LoadString(ui::kStringDefaultTitle, buffer.data(), 64),
                  static_cast<int>(title.size()));
        EXPECT_EQ(std::u16string(buffer.data()), title);
    }
}

TEST(SimResources, WithoutAnInterfaceLanguageTheUserLocalesLanguageIsUsed) {
    World world;
    ASSERT_TRUE(world.SetUserDefaultLocale(0x0C07));
    EXPECT_EQ(0x0C07, world.UserInterfaceLanguage());
    EXPECT_EQ(ui::kLanguageGerman, world.resources().DefaultLanguage());
}

TEST(SimResources, SystemMessageTextsOfTheCodesTheProgramMeets) {
    struct Case {
        platform::ErrorCode code;
        std::u16string_view text;
    };
    const Case cases[] = {
        {0, u"The operation completed successfully.\r\n"},
        {2, u"The system cannot find the file specified.\r\n"},
        {5, u"Access is denied.\r\n"},
        {86, u"The specified network password is not correct.\r\n"},
        {87, u"The parameter is incorrect.\r\n"},
        {1223, u"The operation was canceled by the user.\r\n"},
        {1237, u"The operation could not be completed. A retry should be performed.\r\n"},
        {1323, u"Unable to update the password. The value provided as the current password is "
               u"incorrect.\r\n"},
        {1326, u"The user name or password is incorrect.\r\n"},
        {1331, u"This user can't sign in because this account is currently disabled.\r\n"},
        {1355, u"The specified domain either does not exist or could not be contacted.\r\n"},
        {2692, u"This machine is not currently joined to a domain.\r\n"},
        {2697, u"The computer account could not be found. Contact an administrator to verify the "
               u"account is in the domain. If the account has been deleted unjoin, reboot, and "
               u"rejoin the domain.\r\n"},
        {9003, u"DNS name does not exist.\r\n"},
    };
    World world;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        std::array<char16_t, 512> buffer{};
        EXPECT_EQ(world.resources().FormatSystemMessage(c.code, buffer.data(), 512), c.text.size());
        EXPECT_EQ(std::u16string(buffer.data()), c.text);
        // Exactly the text and its terminator fit; one less does not.
        const auto exact = static_cast<std::uint32_t>(c.text.size() + 1);
        EXPECT_EQ(world.resources().FormatSystemMessage(c.code, buffer.data(), exact),
                  c.text.size());
        EXPECT_EQ(world.resources().FormatSystemMessage(c.code, buffer.data(), exact - 1), 0u);
    }
    std::array<char16_t, 64> buffer{};
    EXPECT_EQ(world.resources().FormatSystemMessage(4242, buffer.data(), 64), 0u);
}

} // namespace
} // namespace corvane::sim
