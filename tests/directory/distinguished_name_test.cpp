#include "directory/distinguished_name.h"
#include "platform/sim/text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

std::string Narrow(std::u16string_view text) {
    return sim::Utf16ToUtf8(text);
}

TEST(ComposeDistinguishedName, BuildsOneComponentPerPiece) {
    struct Case {
        std::u16string_view text;
        std::u16string_view type;
        char16_t separator;
        bool reversed;
        std::u16string_view expected;
    };
    const Case cases[] = {
        // Domain DNS name to the domain part, in order.
        {u"a.b.c", u"DC", u'.', false, u"DC=a,DC=b,DC=c"},
        {u"sales.example.com", u"DC", u'.', false, u"DC=sales,DC=example,DC=com"},
        {u"single", u"DC", u'.', false, u"DC=single"},
        // OU path to the OU part, leaf first.
        {u"\\Sales\\Berlin", u"OU", u'\\', true, u"OU=Berlin,OU=Sales"},
        {u"Sales\\Berlin", u"OU", u'\\', true, u"OU=Berlin,OU=Sales"},
        {u"\\Sales\\\\Berlin\\", u"OU", u'\\', true, u"OU=Berlin,OU=Sales"},
        {u"\\Sales", u"OU", u'\\', true, u"OU=Sales"},
        {u"\\A\\B\\C\\D", u"OU", u'\\', true, u"OU=D,OU=C,OU=B,OU=A"},
        // The same pieces not reversed keep their order.
        {u"\\Sales\\Berlin", u"OU", u'\\', false, u"OU=Sales,OU=Berlin"},
        // Special characters of a DN value are escaped wherever they stand.
        {u"\\R&D, Europe", u"OU", u'\\', true, u"OU=R&D\\, Europe"},
        {u"\\a+b=c", u"OU", u'\\', true, u"OU=a\\+b\\=c"},
        {u"\\No#1", u"OU", u'\\', true, u"OU=No\\#1"},
        {u"\\#lead", u"OU", u'\\', true, u"OU=\\#lead"},
        {u"\\say \"hi\"", u"OU", u'\\', true, u"OU=say \\\"hi\\\""},
        {u"\\<x>;y", u"OU", u'\\', true, u"OU=\\<x\\>\\;y"},
        {u"\\line\r\nbreak", u"OU", u'\\', true, u"OU=line\\\r\\\nbreak"},
        {u"\\Dom\u00e4ne", u"OU", u'\\', true, u"OU=Dom\u00e4ne"},
        // Nothing in, nothing out.
        {u"", u"OU", u'\\', true, u""},
        {u"", u"DC", u'.', false, u""},
        {u"\\", u"OU", u'\\', true, u""},
        {u"\\\\\\", u"OU", u'\\', true, u""},
        {u"..", u"DC", u'.', false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ComposeDistinguishedName(c.text, c.type, c.separator, c.reversed), c.expected);
    }
}

TEST(ExtractNamePath, GivesTheValuesOfTheTypeRootFirst) {
    struct Case {
        std::u16string_view dn;
        std::u16string_view type;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"CN=PC1,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", u"OU", u"\\Sales\\Berlin"},
        {u"CN=PC1,OU=Berlin,OU=Sales,DC=a,DC=b,DC=c", u"DC", u"\\c\\b\\a"},
        {u"CN=Computers,DC=a,DC=b", u"OU", u""},
        {u"", u"OU", u""},
        {u"OU=R&D\\, Europe,DC=a", u"OU", u"\\R&D, Europe"},
        // A doubled backslash is one backslash in the value, which the OU
        // path then reads as two levels.
        {u"OU=x\\\\y,DC=a", u"OU", u"\\x\\y"},
        // Hexadecimal escapes stay as they are.
        {u"OU=R&D\\2C Europe,DC=a", u"OU", u"\\R&D2C Europe"},
        // The type is matched exactly, case and all.
        {u"CN=PC1,ou=Sales,DC=a", u"OU", u""},
        // Semicolons separate as commas do; the last value ends the DN.
        {u"OU=In;OU=Out", u"OU", u"\\Out\\In"},
        {u"CN=PC1,OU=Last", u"OU", u"\\Last"},
        // A dangling backslash at the end does not read past the DN.
        {u"OU=tail\\", u"OU", u"\\tail"},
        // An escaped separator does not end the value.
        {u"OU=a\\;b,DC=a", u"OU", u"\\a;b"},
        // The attribute type is a plain substring: "SOU=" holds "OU=".
        {u"SOU=x,DC=a", u"OU", u"\\x"},
        {u"OU=,DC=a", u"OU", u"\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.dn));
        EXPECT_EQ(ExtractNamePath(c.dn, c.type, u'\\'), c.expected);
    }
}

TEST(ExtractNamePath, ReadsBackWhatComposeWrote) {
    // The way from OU path to DN and back, for names without backslashes.
    const std::u16string_view paths[] = {
        u"\\Sales\\Berlin", u"\\R&D, Europe", u"\\a+b=c\\No#1", u"\\<x>;y\\say \"hi\"", u"",
    };
    for (const std::u16string_view path : paths) {
        SCOPED_TRACE(Narrow(path));
        const std::u16string dn = u"CN=PC1," + ComposeDistinguishedName(path, u"OU", u'\\', true) +
                                  u"," + ComposeDistinguishedName(u"a.b.c", u"DC", u'.', false);
        EXPECT_EQ(ExtractNamePath(dn, u"OU", u'\\'), path);
    }
}

} // namespace
} // namespace corvane
