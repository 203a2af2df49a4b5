#include "platform/sim/world.h"
#include "support/interface_language.h"
#include "ui/string_resources.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace corvane {
namespace {

using platform::LocaleId;

TEST(ApplyForcedLanguage, MatchesLanguageCountryOrLanguageIgnoringCase) {
    struct Case {
        std::u16string_view tag;
        bool matched;
        LocaleId threadLocale;
        LocaleId messageBoxLanguage;
    };
    const Case cases[] = {
        {u"de-AT", true, 0x0C07, 0x0C07},
        {u"DE-at", true, 0x0C07, 0x0C07},
        {u"de", true, 0x0407, 0x0407}, // the first German locale enumerated
        {u"en", true, 0x0409, 0x0409},
        {u"en-gb", true, 0x0809, 0x0809},
        {u"xx", false, 0x0409, 0x0409},
        {u"de-", false, 0x0409, 0x0409},
        {u"de-AT-x", false, 0x0409, 0x0409},
        {u"\u00e4\u00df", false, 0x0409, 0x0409},
        {std::u16string_view(u"de\0AT", 5), false, 0x0409, 0x0409},
    };
    for (const Case& c : cases) {
        sim::World world;
        ASSERT_TRUE(world.SetUserDefaultLocale(0x0407));
        SetupState state;
        EXPECT_EQ(c.matched, ApplyForcedLanguage(world.platform(), state, c.tag));
        EXPECT_EQ(c.threadLocale, world.locale().GetThreadLocale());
        EXPECT_EQ(c.messageBoxLanguage, state.MessageBoxLanguage);
        EXPECT_EQ(c.tag, state.ForcedLanguageTag);
    }
}

TEST(ApplyForcedLanguage, AnEmptyTagRequestsTheCustomDefaultAndKeepsTheMessageBoxLanguage) {
    sim::World world;
    ASSERT_TRUE(world.SetUserDefaultLocale(0x0407));
    SetupState state;
    EXPECT_TRUE(ApplyForcedLanguage(world.platform(), state, u""));
    EXPECT_EQ(0x0C00u, state.MessageBoxLanguage);
    EXPECT_EQ(0x0407u, world.locale().GetThreadLocale());
    EXPECT_EQ(1u, world.JournalLines("SetThreadLocale").size());
}

TEST(ReapplyForcedLanguage, GivesTheWorkerTheMainThreadsLanguage) {
    sim::World world;
    SetupState state;
    ApplyForcedLanguage(world.platform(), state, u"de-CH");
    LocaleId workerLocale = 0;
    std::thread worker([&] {
        EXPECT_EQ(0x0409u,
                  world.locale().GetThreadLocale()); // a new thread starts with the default
        EXPECT_TRUE(ReapplyForcedLanguage(world.platform(), state));
        workerLocale = world.locale().GetThreadLocale();
    });
    worker.join();
    EXPECT_EQ(0x0807u, workerLocale);
}

// Every text of the program is in one language: the forced locale's, or
// without a tag the one the platform's resource look-up picks, which follows
// the user-interface language and not the thread locale.
TEST(InterfaceLanguage, TheForcedLocaleOrElseThePlatformsPickDecidesEveryText) {
    struct Case {
        platform::LanguageId uiLanguage;
        std::u16string_view tag;
        platform::LanguageId expected;
    };
    const Case cases[] = {
        {0x0409, u"de", ui::kLanguageGerman},    {0x0409, u"DE-at", ui::kLanguageGerman},
        {0x0407, u"en", ui::kLanguageEnglish},   {0x0407, u"en-GB", ui::kLanguageEnglish},
        {0x0407, u"", ui::kLanguageGerman},      {0x0409, u"", ui::kLanguageEnglish},
        {0x0C07, u"", ui::kLanguageGerman},      {0x040C, u"", ui::kLanguageEnglish},
        {0x0407, u"xx", ui::kLanguageEnglish},   // no such locale: English
        {0x0407, u"fr-FR", ui::kLanguageGerman}, // no French texts: the platform's pick
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.uiLanguage << " " << std::string(c.tag.begin(), c.tag.end()));
        sim::World world;
        ASSERT_TRUE(world.SetUserDefaultLocale(0x0409));
        world.SetUserInterfaceLanguage(c.uiLanguage);
        SetupState state;
        ApplyForcedLanguage(world.platform(), state, c.tag);
        EXPECT_EQ(c.expected, InterfaceLanguage(world.platform(), state));
        for (const std::uint32_t id : {ui::kStringDefaultTitle, ui::kStringDefaultHeader,
                                       ui::kStringRestartText, ui::kStringRenameFailedCaption}) {
            std::u16string_view expected;
            ASSERT_TRUE(ui::FindStringResource(id, c.expected, expected));
            std::u16string text;
            EXPECT_TRUE(LoadLocalizedString(world.platform(), state, id, text));
            EXPECT_EQ(expected, text);
            text.clear();
            EXPECT_TRUE(LoadInterfaceString(world.platform(), state, id, text));
            EXPECT_EQ(expected, text);
        }
    }
}

TEST(InterfaceLanguage, TheWorkerShowsTheLanguageOfTheMainThread) {
    sim::World world;
    world.SetUserInterfaceLanguage(0x0409);
    SetupState state;
    ApplyForcedLanguage(world.platform(), state, u"de");
    std::u16string caption;
    std::thread worker([&] {
        ReapplyForcedLanguage(world.platform(), state);
        LoadLocalizedString(world.platform(), state, ui::kStringRestartCaption, caption);
    });
    worker.join();
    EXPECT_EQ(u"Neustart erforderlich", caption);
}

TEST(DecodeLanguageFileEscapes, ReplacesEachSequenceInTurn) {
    struct Case {
        std::u16string_view written;
        std::u16string_view decoded;
    };
    const Case cases[] = {
        {u"Zeile 1\\nZeile 2", u"Zeile 1\nZeile 2"},
        {u"C:\\\\Temp", u"C:\\Temp"},
        {u"\\\\n", u"\\\n"}, // \n goes first, so the second backslash starts a line feed
        {u"a\\tb\\rc", u"a\tb\rc"},
        {u"\\x unknown", u"\\x unknown"},
        {u"trailing\\", u"trailing\\"},
        {u"\\\\\\\\", u"\\\\"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.decoded, DecodeLanguageFileEscapes(c.written));
    }
}

class LanguageFileTest : public testing::Test {
protected:
    LanguageFileTest() {
        world.SetCurrentDirectory(u"C:\\Work");
        world.SetModulePath(u"C:\\Tools\\corvane.exe");
    }

    // The look-up on a thread whose language was forced with `tag`.
    std::u16string Lookup(std::u16string_view tag, std::uint32_t id, bool* found = nullptr) {
        ApplyForcedLanguage(world.platform(), state, tag);
        std::u16string text = u"<unchanged>";
        const bool result = LoadLocalizedString(world.platform(), state, id, text);
        if (found != nullptr) {
            *found = result;
        }
        return text;
    }

    static std::u16string Resource(std::uint32_t id, platform::LanguageId language) {
        std::u16string_view text;
        EXPECT_TRUE(ui::FindStringResource(id, language, text));
        return std::u16string(text);
    }

    sim::World world;
    SetupState state;
};

TEST_F(LanguageFileTest, ACountrySectionHidesTheLanguageSectionForEveryKey) {
    world.PutTextFile(
        u"C:\\Work\\languages.ini",
        u"[de-DE]\r\n114=Bitte neu starten\r\n[de]\r\n113=Aus der Sprachdatei\r\n115=Neustart!\r\n",
        sim::TextEncoding::Ansi);
    EXPECT_EQ(u"Bitte neu starten", Lookup(u"de-DE", 114));
    EXPECT_EQ(Resource(113, ui::kLanguageGerman), Lookup(u"de-DE", 113));
    EXPECT_EQ(u"Aus der Sprachdatei", Lookup(u"de-AT", 113)); // de-AT has no section of its own
    EXPECT_EQ(Resource(114, ui::kLanguageEnglish), Lookup(u"en-US", 114));
}

TEST_F(LanguageFileTest, SectionsAndKeysMatchWithoutRegardToCaseInEveryEncoding) {
    for (sim::TextEncoding encoding :
         {sim::TextEncoding::Ansi, sim::TextEncoding::Utf16LeBom, sim::TextEncoding::Utf8Bom}) {
        world.PutTextFile(u"C:\\Work\\languages.ini",
                          u"[DE-de]\r\n113 = \u00c4nderung\\nZweite Zeile \r\n", encoding);
        EXPECT_EQ(u"\u00c4nderung\nZweite Zeile", Lookup(u"de-DE", 113));
    }
}

TEST_F(LanguageFileTest, AnEmptyValueOrEmptySectionFallsBackToTheResources) {
    world.PutTextFile(u"C:\\Work\\languages.ini",
                      u"[de-DE]\r\n113=\r\n[en-US]\r\n[en]\r\n114=from en\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(Resource(113, ui::kLanguageGerman), Lookup(u"de-DE", 113));
    EXPECT_EQ(u"from en", Lookup(u"en-US", 114)); // [en-US] holds no entry, so [en] is used
}

TEST_F(LanguageFileTest, AFileInTheWorkingDirectoryWinsEvenWithoutTheSection) {
    world.PutTextFile(u"C:\\Work\\languages.ini", u"[fr]\r\n113=texte\r\n",
                      sim::TextEncoding::Ansi);
    world.PutTextFile(u"C:\\Tools\\languages.ini", u"[en]\r\n113=beside the exe\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(Resource(113, ui::kLanguageEnglish), Lookup(u"en-US", 113));
    world.RemoveFile(u"C:\\Work\\languages.ini");
    EXPECT_EQ(u"beside the exe", Lookup(u"en-US", 113));
}

TEST_F(LanguageFileTest, UnknownIdsFailAndLeaveTheTextAlone) {
    bool found = true;
    EXPECT_EQ(u"<unchanged>", Lookup(u"en-US", 4242, &found));
    EXPECT_FALSE(found);
    world.PutTextFile(u"C:\\Work\\languages.ini", u"[en]\r\n113=x\r\n", sim::TextEncoding::Ansi);
    EXPECT_EQ(u"<unchanged>", Lookup(u"en-US", 4242, &found));
    EXPECT_FALSE(found);
}

TEST_F(LanguageFileTest, OverlongLinesAreCutToTheValueCapacity) {
    const std::u16string longValue(10000, u'v');
    world.PutTextFile(u"C:\\Work\\languages.ini", u"[en]\r\n113=" + longValue + u"\r\n114=next\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(std::u16string(8191, u'v'), Lookup(u"en-US", 113));
    EXPECT_EQ(u"next", Lookup(u"en-US", 114));
}

TEST_F(LanguageFileTest, AWorkingDirectoryTooLongForAPathIsPassedOver) {
    const std::u16string deep = u"C:\\" + std::u16string(250, u'd');
    world.SetCurrentDirectory(deep);
    world.PutTextFile(u"C:\\Tools\\languages.ini", u"[en]\r\n113=beside the exe\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(u"beside the exe", Lookup(u"en-US", 113));
}

TEST_F(LanguageFileTest, OnlyTheNoticeTextsCanBeReplaced) {
    world.PutTextFile(u"C:\\Work\\languages.ini",
                      u"[en]\r\n108=file title\r\n109=file header\r\n114=file restart\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(Resource(ui::kStringDefaultTitle, ui::kLanguageEnglish),
              Lookup(u"en-US", ui::kStringDefaultTitle));
    EXPECT_EQ(Resource(ui::kStringDefaultHeader, ui::kLanguageEnglish),
              Lookup(u"en-US", ui::kStringDefaultHeader));
    EXPECT_EQ(u"file restart", Lookup(u"en-US", ui::kStringRestartText));
}

} // namespace
} // namespace corvane
