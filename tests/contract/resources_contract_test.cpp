// String resources of both languages and the system's message texts.
#include "contract/contract_target.h"
#include "contract/contract_text.h"
#include "ui/string_resources.h"

#include <array>

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

TEST_P(PlatformContract, ResourcesLoadStringPicksOneOfTheLanguages) {
    std::array<char16_t, 64> buffer{};
    ASSERT_GT(Os().resources.LoadString(ui::kStringDefaultTitle, buffer.data(), 64), 0);
    const std::u16string text = Terminated(buffer.data());
    EXPECT_TRUE(text == u"Network settings" || text == u"Netzwerkeinstellungen")
        << "got other text";
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
