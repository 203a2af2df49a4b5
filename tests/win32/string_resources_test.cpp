// The string tables compiled into the exe against the program's own list of
// every string in both languages (which the sim platform serves), and the
// block walk of LoadStringInLanguage at its edges.
#include "platform/win32/services.h"
#include "ui/string_resources.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace corvane::win32 {
namespace {

using platform::LanguageId;

std::string Describe(std::uint32_t id, LanguageId language) {
    return "string " + std::to_string(id) + " language " + std::to_string(language);
}

// Every id of the first 256 string blocks in both languages: a table entry
// loads as exactly its text, any other id loads nothing. This also catches a
// resource that the table lacks or holds in the other language only.
TEST(Win32StringResources, TablesMatchTheProgramsStringListBothWays) {
    Win32Resources resources;
    for (const LanguageId language : {ui::kLanguageGerman, ui::kLanguageEnglish}) {
        for (std::uint32_t id = 0; id < 4096; ++id) {
            std::array<char16_t, 1024> buffer{};
            const int length = resources.LoadStringInLanguage(id, language, buffer.data(),
                                                              static_cast<int>(buffer.size()));
            std::u16string_view expected;
            ui::FindStringResource(id, language, expected);
            EXPECT_EQ(static_cast<int>(expected.size()), length) << Describe(id, language);
            EXPECT_EQ(expected, std::u16string_view(buffer.data())) << Describe(id, language);
        }
    }
    for (const ui::StringResource& entry : ui::StringResources()) {
        EXPECT_LT(entry.id, 4096u) << "the walk above must reach every listed id";
    }
}

TEST(Win32StringResources, LoadStringInLanguageCutsAndRefuses) {
    Win32Resources resources;
    struct Case {
        const char* name;
        std::uint32_t id;
        LanguageId language;
        int size;
        std::u16string expected;
    };
    const Case cases[] = {
        {"cut to size - 1", ui::kStringRestartCaption, ui::kLanguageEnglish, 8, u"Restart"},
        {"room for exactly the text", ui::kStringRestartCaption, ui::kLanguageEnglish, 15,
         u"Restart needed"},
        {"size 1 holds only the terminator", ui::kStringRestartCaption, ui::kLanguageEnglish, 1,
         u""},
        {"cut German text", ui::kStringRenameFailedCaption, ui::kLanguageGerman, 9,
         u"\u00c4nderung"},
        {"id absent from an existing block", 110, ui::kLanguageEnglish, 64, u""},
        {"id in a block that does not exist", 4000, ui::kLanguageEnglish, 64, u""},
        {"id beyond 16 bits", 0x10000 + ui::kStringDefaultTitle, ui::kLanguageEnglish, 64, u""},
        {"language without string tables", ui::kStringDefaultTitle, 0x040C, 64, u""},
    };
    for (const Case& c : cases) {
        std::array<char16_t, 65> buffer{};
        buffer.fill(u'#');
        const int length = resources.LoadStringInLanguage(c.id, c.language, buffer.data(), c.size);
        EXPECT_EQ(static_cast<int>(c.expected.size()), length) << c.name;
        EXPECT_EQ(c.expected, std::u16string(buffer.data())) << c.name;
        // Nothing is written past the given size.
        EXPECT_EQ(u'#', buffer[static_cast<std::size_t>(c.size)]) << c.name;
    }
    std::array<char16_t, 4> untouched{u'#', u'#', u'#', u'#'};
    EXPECT_EQ(0, resources.LoadStringInLanguage(ui::kStringDefaultTitle, ui::kLanguageEnglish,
                                                untouched.data(), 0));
    EXPECT_EQ(u'#', untouched[0]);
}

} // namespace
} // namespace corvane::win32
