#include "directory/search_filter.h"
#include "platform/sim/text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ComputerSearchFilter, EscapesWhatAFilterWouldReadAsSyntax) {
    struct Case {
        std::u16string_view name;
        std::u16string_view filter;
    };
    const Case cases[] = {
        {u"PC1", u"(&(objectClass=computer)(name=PC1))"},
        {u"WIN-7K2P9QX4T1M", u"(&(objectClass=computer)(name=WIN-7K2P9QX4T1M))"},
        {u"Dom\u00e4ne", u"(&(objectClass=computer)(name=Dom\u00e4ne))"},
        {u"", u"(&(objectClass=computer)(name=))"},
        {u"PC*", u"(&(objectClass=computer)(name=PC\\2a))"},
        {u"*", u"(&(objectClass=computer)(name=\\2a))"},
        {u"a)(name=*", u"(&(objectClass=computer)(name=a\\29\\28name=\\2a))"},
        {u"back\\slash", u"(&(objectClass=computer)(name=back\\5cslash))"},
        {std::u16string_view(u"n\0l", 3), u"(&(objectClass=computer)(name=n\\00l))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(sim::Utf16ToUtf8(c.name));
        EXPECT_EQ(ComputerSearchFilter(c.name), c.filter);
    }
}

TEST(ComputerSearchFilter, EveryValidComputerNameStandsUnchanged) {
    // The characters a NetBIOS computer name may hold.
    std::u16string allowed;
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        if (std::u16string_view(u"\"/\\[]:|<>+=;,?*()").find(c) == std::u16string_view::npos) {
            allowed.push_back(c);
        }
    }
    for (std::size_t start = 0; start < allowed.size(); start += 15) {
        const std::u16string name = allowed.substr(start, 15);
        EXPECT_EQ(EscapeFilterValue(name), name);
        EXPECT_EQ(ComputerSearchFilter(name), u"(&(objectClass=computer)(name=" + name + u"))");
    }
}

} // namespace
} // namespace corvane
