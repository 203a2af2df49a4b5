#include "platform/sim/world.h"
#include "support/interface_language.h"
#include "ui/settings_file.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

constexpr std::u16string_view kEnglishTitle = u"Network settings";
constexpr std::u16string_view kEnglishHeader =
    u"Changing settings like Computer name, Domain-/Workgroup membership and IP settings for all "
    u"network connections.";
constexpr std::u16string_view kGermanTitle = u"Netzwerkeinstellungen";
constexpr std::u16string_view kGermanHeader = u"\u00C4ndern der Einstellungen wie Computernamen, "
                                              u"Dom\u00E4nen-/Arbeitsgruppenzugeh\u00F6rigkeit "
                                              u"und IP Adressen der Netzwerkverbindungen.";

constexpr std::u16string_view kSettingsPath = u"C:\\Tools\\corvane.ini";

// The file an administrator prepares for an unattended join of SALES.
constexpr std::u16string_view kPreparedFile =
    u"[general]\r\n"
    u"title=Workstation set-up\r\n"
    u"header=Please check the network settings of this workstation.\r\n"
    u"[settings]\r\n"
    u"computer=WS-0815\r\n"
    u"domain=SALES\r\n"
    u"account=SALES\\installer\r\n"
    u"password=s3cret\r\n"
    u"dhcp=1\r\n";

std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

class SettingsFileTest : public testing::Test {
protected:
    SettingsFileTexts Read() {
        SettingsFileTexts texts;
        ReadSettingsFile(world.platform(), state, texts);
        return texts;
    }

    void ExpectDefaults(const SettingsFileTexts& texts) {
        EXPECT_EQ(kEnglishTitle, texts.title.view());
        EXPECT_EQ(kEnglishHeader, texts.header.view());
        EXPECT_EQ(-1, texts.dhcp);
        EXPECT_TRUE(state.Password.empty());
        EXPECT_TRUE(state.Account.empty());
        EXPECT_TRUE(state.DesiredComputerName.empty());
        EXPECT_TRUE(state.DesiredWorkgroup.empty());
        EXPECT_TRUE(state.DesiredDomain.empty());
    }

    sim::World world;
    SetupState state;
};

TEST_F(SettingsFileTest, TheFileBesideTheExecutableBearsItsName) {
    struct Case {
        std::u16string_view module;
        std::u16string_view settings;
    };
    const Case cases[] = {
        {u"C:\\Tools\\corvane.exe", u"C:\\Tools\\corvane.ini"},
        {u"C:\\Tools\\corvane", u"C:\\Tools\\corvane.ini"},       // no extension: appended
        {u"C:\\My.Tools\\corvane", u"C:\\My.Tools\\corvane.ini"}, // a point in a folder name
        {u"C:\\My.Tools\\corvane.exe", u"C:\\My.Tools\\corvane.ini"},
        {u"C:\\Tools\\corvane.v2.exe", u"C:\\Tools\\corvane.v2.ini"}, // only the last extension
        {u"C:\\Program Files\\Corvane\\setup.EXE", u"C:\\Program Files\\Corvane\\setup.ini"},
        {u"C:\\Tools\\corvane.", u"C:\\Tools\\corvane.ini"},
    };
    for (const Case& c : cases) {
        world.SetModulePath(c.module);
        EXPECT_EQ(c.settings, SettingsFilePath(world.platform())) << Narrow(c.module);
    }
}

TEST_F(SettingsFileTest, TheWorkingDirectoryPlaysNoPart) {
    world.SetCurrentDirectory(u"C:\\Users\\Administrator");
    world.PutTextFile(u"C:\\Users\\Administrator\\corvane.ini", u"[settings]\r\ncomputer=DECOY\r\n",
                      sim::TextEncoding::Ansi);
    world.PutTextFile(kSettingsPath, u"[settings]\r\ncomputer=BESIDE\r\n", sim::TextEncoding::Ansi);
    Read();
    EXPECT_EQ(u"BESIDE", state.DesiredComputerName.view());
}

TEST_F(SettingsFileTest, WithoutAFileEveryKeyTakesItsDefault) {
    // Values left in the state from elsewhere are replaced by the defaults.
    state.DesiredComputerName.Assign(u"OLD");
    state.Account.Assign(u"someone");
    ExpectDefaults(Read());
}

TEST_F(SettingsFileTest, TheDefaultCaptionAndHeaderFollowTheInterfaceLanguage) {
    ASSERT_TRUE(ApplyForcedLanguage(world.platform(), state, u"de"));
    const SettingsFileTexts texts = Read();
    EXPECT_EQ(kGermanTitle, texts.title.view());
    EXPECT_EQ(kGermanHeader, texts.header.view());
}

TEST_F(SettingsFileTest, AnEmptyFileOrOneOfOtherSectionsGivesTheDefaults) {
    for (std::u16string_view text :
         {std::u16string_view(u""), std::u16string_view(u"[other]\r\ncomputer=PC9\r\ndhcp=1\r\n"),
          std::u16string_view(u"computer=PC9\r\n")}) {
        SetupState fresh;
        world.PutTextFile(kSettingsPath, text, sim::TextEncoding::Ansi);
        SettingsFileTexts texts;
        ReadSettingsFile(world.platform(), fresh, texts);
        EXPECT_EQ(kEnglishTitle, texts.title.view());
        EXPECT_EQ(-1, texts.dhcp);
        EXPECT_TRUE(fresh.DesiredComputerName.empty()) << Narrow(text);
    }
}

TEST_F(SettingsFileTest, APreparedFileIsReadInEveryEncodingThePlatformReads) {
    for (sim::TextEncoding encoding :
         {sim::TextEncoding::Ansi, sim::TextEncoding::Utf16LeBom, sim::TextEncoding::Utf8Bom}) {
        SetupState fresh;
        world.PutTextFile(kSettingsPath, kPreparedFile, encoding);
        SettingsFileTexts texts;
        ReadSettingsFile(world.platform(), fresh, texts);
        EXPECT_EQ(u"Workstation set-up", texts.title.view());
        EXPECT_EQ(u"Please check the network settings of this workstation.", texts.header.view());
        EXPECT_EQ(u"WS-0815", fresh.DesiredComputerName.view());
        EXPECT_EQ(u"SALES", fresh.DesiredDomain.view());
        EXPECT_TRUE(fresh.DesiredWorkgroup.empty());
        EXPECT_EQ(u"installer@SALES", fresh.Account.view()); // normalised
        EXPECT_EQ(u"s3cret", fresh.Password.view());
        EXPECT_EQ(1, texts.dhcp);
    }
}

TEST_F(SettingsFileTest, TextsBeyondAsciiSurviveBothFileEncodings) {
    const std::u16string text = u"[general]\r\nheader=Gr\u00FC\u00DFe aus M\u00FCnchen\r\n"
                                u"[settings]\r\nworkgroup=B\u00DCRO\r\n";
    for (sim::TextEncoding encoding : {sim::TextEncoding::Ansi, sim::TextEncoding::Utf16LeBom}) {
        world.PutTextFile(kSettingsPath, text, encoding);
        const SettingsFileTexts texts = Read();
        EXPECT_EQ(u"Gr\u00FC\u00DFe aus M\u00FCnchen", texts.header.view());
        EXPECT_EQ(u"B\u00DCRO", state.DesiredWorkgroup.view());
    }
}

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCaseAndUnknownKeysAreIgnored) {
    world.PutTextFile(
        kSettingsPath,
        u"[SETTINGS]\r\nColour=blue\r\nCOMPUTER=PC7\r\nWorkGroup=TEAM\r\n"
        u"[General]\r\nTITLE=Set-up\r\nsubtitle=ignored\r\n[unknown]\r\naccount=x\r\n",
        sim::TextEncoding::Utf16LeBom);
    const SettingsFileTexts texts = Read();
    EXPECT_EQ(u"PC7", state.DesiredComputerName.view());
    EXPECT_EQ(u"TEAM", state.DesiredWorkgroup.view());
    EXPECT_EQ(u"Set-up", texts.title.view());
    EXPECT_EQ(kEnglishHeader, texts.header.view());
    EXPECT_TRUE(state.Account.empty());
}

TEST_F(SettingsFileTest, PresentButEmptyKeysGiveEmptyTexts) {
    world.PutTextFile(kSettingsPath, u"[general]\r\ntitle=\r\nheader=\r\n[settings]\r\ndhcp=\r\n",
                      sim::TextEncoding::Ansi);
    const SettingsFileTexts texts = Read();
    EXPECT_TRUE(texts.title.empty()); // an empty caption, not the default
    EXPECT_TRUE(texts.header.empty());
    EXPECT_EQ(-1, texts.dhcp); // an empty number is no number given
}

TEST_F(SettingsFileTest, OverlongValuesAreCutToEachCapacity) {
    const std::u16string longText(400, u'x');
    std::u16string file = u"[general]\r\n";
    for (const char16_t* key : {u"title", u"header"}) {
        file += key + (u"=" + longText) + u"\r\n";
    }
    file += u"[settings]\r\n";
    for (const char16_t* key : {u"password", u"account", u"computer", u"workgroup", u"domain"}) {
        file += key + (u"=" + longText) + u"\r\n";
    }
    world.PutTextFile(kSettingsPath, file, sim::TextEncoding::Utf16LeBom);
    const SettingsFileTexts texts = Read();
    EXPECT_EQ(longText.substr(0, 127), texts.title.view());
    EXPECT_EQ(longText.substr(0, 255), texts.header.view());
    EXPECT_EQ(longText.substr(0, 127), state.Password.view());
    EXPECT_EQ(longText.substr(0, 127), state.Account.view());
    EXPECT_EQ(longText.substr(0, 15), state.DesiredComputerName.view());
    EXPECT_EQ(longText.substr(0, 15), state.DesiredWorkgroup.view());
    EXPECT_EQ(longText.substr(0, 128), state.DesiredDomain.view());
}

TEST_F(SettingsFileTest, ValuesThatJustFitAreKeptWhole) {
    const std::u16string file = u"[settings]\r\ncomputer=" + std::u16string(15, u'C') +
                                u"\r\ndomain=" + std::u16string(128, u'd') + u"\r\n";
    world.PutTextFile(kSettingsPath, file, sim::TextEncoding::Ansi);
    Read();
    EXPECT_EQ(std::u16string(15, u'C'), state.DesiredComputerName.view());
    EXPECT_EQ(std::u16string(128, u'd'), state.DesiredDomain.view());
}

TEST_F(SettingsFileTest, OnlyZeroOrOneSetTheAddressModeAndOtherValuesAreRefused) {
    constexpr std::u16string_view kLog =
        u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";
    struct Case {
        std::u16string_view value;
        std::int32_t dhcp;
        bool refused;
    };
    const Case cases[] = {
        {u"1", 1, false},     {u"0", 0, false},   {u" 1 ", 1, false}, {u"-1", -1, false},
        {u"", -1, false},     {u"yes", -1, true}, {u"7", -1, true},   {u"true", -1, true},
        {u"12abc", -1, true}, {u"01", -1, true},  {u"1 0", -1, true}, {u"0x1", -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.value));
        sim::World fresh;
        SetupState readState;
        readState.Log.Open(fresh.platform(), kLog);
        fresh.PutTextFile(kSettingsPath, u"[settings]\r\ndhcp=" + std::u16string(c.value) + u"\r\n",
                          sim::TextEncoding::Ansi);
        SettingsFileTexts texts;
        ReadSettingsFile(fresh.platform(), readState, texts);
        EXPECT_EQ(c.dhcp, texts.dhcp);
        readState.Log.Close();

        std::u16string expected;
        if (c.refused) {
            std::u16string shown(c.value);
            while (!shown.empty() && shown.back() == u' ') {
                shown.pop_back();
            }
            expected =
                u"Warning(00000013): 3/21/2009, 9:15:43 AM - ReadSettingsFile: Settings file "
                u"value dhcp=\"" +
                shown + u"\" is neither 0 nor 1 and is ignored\r\n";
        }
        std::vector<std::uint8_t> bytes;
        for (const char16_t unit : expected) {
            bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        EXPECT_EQ(fresh.FileBytes(kLog).value_or(std::vector<std::uint8_t>{}), bytes);
    }
}

TEST_F(SettingsFileTest, AccountsAreNormalisedAfterReading) {
    struct Case {
        std::u16string_view value;
        std::u16string_view account;
    };
    const Case cases[] = {
        {u"SALES\\installer", u"installer@SALES"},
        {u"installer@sales.example.com", u"installer@sales.example.com"},
        {u"installer", u"installer"},
    };
    for (const Case& c : cases) {
        world.PutTextFile(kSettingsPath,
                          u"[settings]\r\naccount=" + std::u16string(c.value) + u"\r\n",
                          sim::TextEncoding::Ansi);
        Read();
        EXPECT_EQ(c.account, state.Account.view());
    }
}

TEST_F(SettingsFileTest, AnExecutableBeyondTheClassicPathLimitStillFindsItsFile) {
    const std::u16string folder = u"C:\\" + std::u16string(240, u'f') + u"\\deeper";
    world.SetModulePath(folder + u"\\corvane.exe"); // 262 characters
    ASSERT_GT(world.ModulePath().size(), 260u);
    world.PutTextFile(folder + u"\\corvane.ini", u"[settings]\r\ncomputer=LONGPATH\r\n",
                      sim::TextEncoding::Ansi);
    EXPECT_EQ(folder + u"\\corvane.ini", SettingsFilePath(world.platform()));
    Read();
    EXPECT_EQ(u"LONGPATH", state.DesiredComputerName.view());
}

TEST_F(SettingsFileTest, WithoutTheExecutablesPathNoOtherFileIsRead) {
    // ".ini" alone would name a file in the Windows directory.
    world.PutTextFile(u"C:\\Windows\\.ini", u"[settings]\r\ncomputer=STRAY\r\n",
                      sim::TextEncoding::Ansi);
    world.PutTextFile(u"C:\\Users\\Administrator\\.ini", u"[settings]\r\ncomputer=STRAY\r\n",
                      sim::TextEncoding::Ansi);
    ASSERT_TRUE(world.InjectFailure("GetModuleFileName", platform::error::kInsufficientBuffer));
    EXPECT_EQ(u"", SettingsFilePath(world.platform()));
    ExpectDefaults(Read());
}

} // namespace
} // namespace corvane
