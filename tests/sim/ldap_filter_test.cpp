#include "platform/ascii_text.h"
#include "platform/sim/directory/ldap_filter.h"
#include "platform/sim/text.h"

#include <gtest/gtest.h>
#include <map>

namespace corvane::sim {
namespace {

// An object with a few attributes; names without regard to case.
LdapFilter::AttributeValues Object(std::map<std::u16string, std::vector<std::u16string>> values) {
    return [values = std::move(values)](std::u16string_view attribute) {
        for (const auto& [name, held] : values) {
            if (EqualsIgnoringAsciiCase(name, attribute)) {
                return held;
            }
        }
        return std::vector<std::u16string>{};
    };
}

TEST(LdapFilter, EvaluatesTheFilterForms) {
    const auto pc1 = Object({{u"objectClass", {u"top", u"user", u"computer"}},
                             {u"name", {u"PC1"}},
                             {u"description", {u"Lab (north) *"}}});
    struct Case {
        std::u16string_view filter;
        bool matches;
    };
    const Case cases[] = {
        {u"(name=PC1)", true},
        {u"(name=pc1)", true},
        {u"(NAME=PC1)", true},
        {u"(name=PC2)", false},
        {u"(objectClass=computer)", true},
        {u"(objectClass=user)", true},
        {u"(&(objectClass=computer)(name=PC1))", true},
        {u"(&(objectClass=computer)(name=PC2))", false},
        {u"(|(name=PC2)(name=PC1))", true},
        {u"(!(name=PC1))", false},
        {u"(name=*)", true},
        {u"(location=*)", false},
        // Escapes stand for the character itself.
        {u"(name=PC\\2a)", false},
        {u"(name=\\50\\43\\31)", true},
        {u"(description=Lab \\28north\\29 \\2a)", true},
        {u"(&)", true},
        {u"(|)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.filter));
        const std::optional<LdapFilter> filter = LdapFilter::Parse(c.filter);
        ASSERT_TRUE(filter.has_value());
        EXPECT_EQ(filter->Matches(pc1), c.matches);
    }
}

TEST(LdapFilter, DecodesEscapedUtf8) {
    const auto object = Object({{u"name", {u"Dom\u00e4ne"}}});
    EXPECT_TRUE(LdapFilter::Parse(u"(name=Dom\\c3\\a4ne)")->Matches(object));
    EXPECT_TRUE(LdapFilter::Parse(u"(name=Dom\u00e4ne)")->Matches(object));
    EXPECT_TRUE(LdapFilter::Parse(u"(name=DOM\u00c4NE)")->Matches(object));
}

TEST(LdapFilter, RefusesTextThatIsNoFilter) {
    const std::u16string_view bad[] = {
        u"",
        u"name=PC1",
        u"(name=PC1",
        u"(name=PC1))",
        u"(name=PC(1))",
        u"(name=PC\\2)",
        u"(name=PC\\zz)",
        u"(=PC1)",
        u"(name~=PC1)",
        u"(name:caseExactMatch:=PC1)",
        u"(&(name=PC1)",
        u"(!(name=PC1)(name=PC2))",
        // Forms the program never sends: substrings and ordering.
        u"(name=PC*)",
        u"(name=*1)",
        u"(name=P*C*1)",
        u"(name=a**b)",
        u"(name=**)",
        u"(name>=PB)",
        u"(name<=PB)",
        u"(name>=a*)",
        u"(name=PC1)(name=PC2)",
    };
    for (const std::u16string_view text : bad) {
        SCOPED_TRACE(Utf16ToUtf8(text));
        EXPECT_FALSE(LdapFilter::Parse(text).has_value());
    }
    // Deep nesting is refused, not recursed into without end.
    std::u16string deep;
    for (int i = 0; i < 10000; ++i) {
        deep += u"(!";
    }
    EXPECT_FALSE(LdapFilter::Parse(deep).has_value());
}

TEST(LdapFilter, NamesTheValueAnIndexCanUse) {
    const auto filter = LdapFilter::Parse(u"(&(objectClass=computer)(name=PC\\2a))");
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(filter->RequiredValue(u"objectClass"), u"computer");
    EXPECT_EQ(filter->RequiredValue(u"name"), u"PC*");
    EXPECT_EQ(filter->RequiredValue(u"cn"), std::nullopt);
    // An alternative or a presence test requires no value.
    EXPECT_EQ(LdapFilter::Parse(u"(name=*)")->RequiredValue(u"name"), std::nullopt);
    EXPECT_EQ(LdapFilter::Parse(u"(|(name=a)(name=b))")->RequiredValue(u"name"), std::nullopt);
}

} // namespace
} // namespace corvane::sim
