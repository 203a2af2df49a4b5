// String resources of both languages and the system's message texts.
#include "contract/contract_target.h"
#include "contract/contract_text.h"
#include "support/interface_language.h"
#include "ui/string_resources.h"

#include <array>
#include <string>

namespace corvane::contract {
namespace {

TEST_P(PlatformContract, ResourcesServeEveryStringInItsLanguage) {
    for (const ui::StringResource& entry : ui::StringResources()) {
        SCOPED_TRACE(entry.id);
        SCOPED_TRACE(entry.language);
        std::array<char16_t, 1024> buffer{};
        const int length =
            Os().resources.LoadStringInLanguage(entry.id, entry.language, buffer.data(), 1024);
        EXPECT_EQ(length, static_cast<int>(entry.text.size()));
        EXPECT_EQ(Terminated(buffer.data()), entry.text);
    }
}

TEST_P(PlatformContract, ResourcesCutStringsAndMissOthers) {
    platform::Resources& resources = Os().resources;
    std::array<char16_t, 16> buffer;
    buffer.fill(u'#');
    EXPECT_EQ(resources.LoadStringInLanguage(ui::kStringRestartCaption, ui::kLanguageEnglish,
                                             buffer.data(), 5),
              4);
    EXPECT_EQ(Terminated(buffer.data()), u"Rest");
    for (platform::LanguageId language : {ui::kLanguageEnglish, ui::kLanguageGerman}) {
        EXPECT_EQ(resources.LoadStringInLanguage(999, language, buffer.data(), 16), 0);
    }
    EXPECT_EQ(resources.LoadString(999, buffer.data(), 16), 0);
}

// The texts as the program must show them, written out here rather than
// taken from the table the resource scripts are generated from.
struct LiteralString {
    std::uint32_t id;
    std::u16string_view german;
    std::u16string_view english;
};
constexpr LiteralString kLiteralStrings[] = {
    {108, u"Netzwerkeinstellungen", u"Network settings"},
    {109,
     u"\u00c4ndern der Einstellungen wie Computernamen, Dom\u00e4nen-/"
     u"Arbeitsgruppenzugeh\u00f6rigkeit und IP Adressen der Netzwerkverbindungen.",
     u"Changing settings like Computer name, Domain-/Workgroup membership and IP settings for all "
     u"network connections."},
    {113,
     u"Der Computername konnte in der Dom\u00e4ne nicht ge\u00e4ndert werden. Der lokale Name wird "
     u"aher auch nicht ge\u00e4ndert!",
     u"Computer name can not be changed within domain. Local name will also not changed!"},
    {114,
     u"Der Computer muss neu gestartet werden um die \u00c4nderungen vollst\u00e4ndig zu "
     u"\u00fcbernehmen.",
     u"The computer need to be restarted to apply new settings."},
    {115, u"Neustart erforderlich", u"Restart needed"},
    {116, u"\u00c4nderung des Computernamens fehlgeschlagen", u"Changing computer name failed"},
};

std::u16string_view LiteralIn(const LiteralString& literal, platform::LanguageId language) {
    return language == ui::kLanguageGerman ? literal.german : literal.english;
}

TEST_P(PlatformContract, ResourcesHoldTheLiteralTextsOfBothLanguages) {
    for (const LiteralString& literal : kLiteralStrings) {
        for (const platform::LanguageId language : {ui::kLanguageGerman, ui::kLanguageEnglish}) {
            SCOPED_TRACE(testing::Message() << literal.id << " in " << std::hex << language);
            std::array<char16_t, 1024> buffer{};
            Os().resources.LoadStringInLanguage(literal.id, language, buffer.data(), 1024);
            EXPECT_EQ(Terminated(buffer.data()), LiteralIn(literal, language));
        }
    }
}

// The platform's own pick (what LoadStringW shows) is the language that
// DefaultLanguage reports.
TEST_P(PlatformContract, ResourcesReportTheLanguageOfTheirOwnPick) {
    const platform::LanguageId language = Os().resources.DefaultLanguage();
    ASSERT_TRUE(language == ui::kLanguageGerman || language == ui::kLanguageEnglish) << language;
    std::array<char16_t, 64> buffer{};
    ASSERT_GT(Os().resources.LoadString(ui::kStringDefaultTitle, buffer.data(), 64), 0);
    EXPECT_EQ(Terminated(buffer.data()), LiteralIn(kLiteralStrings[0], language));
}

// A forced language decides every text, whatever the platform's own pick.
TEST_P(PlatformContract, ResourcesShowTheForcedLanguage) {
    struct Case {
        std::u16string_view tag;
        platform::LanguageId language;
    };
    const Case cases[] = {
        {u"de", ui::kLanguageGerman},  {u"de-AT", ui::kLanguageGerman},
        {u"en", ui::kLanguageEnglish}, {u"EN-us", ui::kLanguageEnglish},
        {u"xx", ui::kLanguageEnglish},
    };
    const platform::LocaleId before = Os().locale.GetThreadLocale();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tag.begin(), c.tag.end()));
        SetupState state;
        ApplyForcedLanguage(Os(), state, c.tag);
        EXPECT_EQ(InterfaceLanguage(Os(), state), c.language);
        for (const LiteralString& literal : kLiteralStrings) {
            SCOPED_TRACE(literal.id);
            std::u16string text;
            if (IsReplaceableNoticeString(literal.id)) {
                EXPECT_TRUE(LoadLocalizedString(Os(), state, literal.id, text));
            } else {
                EXPECT_TRUE(LoadInterfaceString(Os(), state, literal.id, text));
            }
            EXPECT_EQ(text, LiteralIn(literal, c.language));
        }
    }
    Os().locale.SetThreadLocale(before);
}

TEST_P(PlatformContract, SystemMessagesEndInALineBreak) {
    platform::Resources& resources = Os().resources;
    for (platform::ErrorCode code : {2u, 5u, 87u, 1223u, 1326u, 1331u, 1355u}) {
        SCOPED_TRACE(code);
        std::array<char16_t, 512> buffer{};
        const std::uint32_t length = resources.FormatSystemMessage(code, buffer.data(), 512);
        const std::u16string text = Terminated(buffer.data());
        ASSERT_GT(length, 2u);
        EXPECT_EQ(text.size(), length);
        EXPECT_TRUE(text.ends_with(u"\r\n"));
    }
    std::array<char16_t, 4> small{};
    EXPECT_EQ(resources.FormatSystemMessage(5, small.data(), 4), 0u); // does not fit
    std::array<char16_t, 64> buffer{};
    EXPECT_EQ(resources.FormatSystemMessage(0x20000001, buffer.data(), 64), 0u); // no such text
}

} // namespace
} // namespace corvane::contract
