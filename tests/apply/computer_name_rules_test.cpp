#include "apply/computer_name_rules.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

struct NameCase {
    std::u16string_view name;
    ComputerNameFault fault;
};

TEST(ComputerNameRules, AcceptOnlyADnsLabelThatIsAlsoTheNetbiosName) {
    using enum ComputerNameFault;
    const NameCase cases[] = {
        {u"WS-0815", None},
        {u"a", None},
        {u"ws0815", None},
        {u"-ws-", None}, // hyphens at either end are not refused by the platform
        {u"123456789012345", DigitsOnly},
        {u"ABCDEFGHIJKLMNO", None},
        {u"ABCDEFGHIJKLMNOP", Length},
        {u"", Length},
        {u"0", DigitsOnly},
        {u"4711", DigitsOnly},
        {u"4711-", None},
        {u".", Dot},
        {u"..", Dot},
        {u"ws.", Dot},
        // The dot is found before the digits, as DnsValidateName looks.
        {u"47.11", Dot},
        {u"ws_0815", NonStandardCharacter},
        {u"W\u00d6RK", NonStandardCharacter},
        {u"\u0130STANBUL", NonStandardCharacter},
        {u"ws\x7f", InvalidCharacter},
        {u"a b", InvalidCharacter},
        {u" ws", InvalidCharacter},
        {u"ws\t1", InvalidCharacter},
        {u"x*y", InvalidCharacter},
        {u"a\"b", InvalidCharacter},
        {u"a/b", InvalidCharacter},
        {u"a\\b", InvalidCharacter},
        {u"a:b", InvalidCharacter},
        {u"a,b", InvalidCharacter},
        {u"a@b", InvalidCharacter},
        {u"a~b", InvalidCharacter},
        {std::u16string_view(u"a\0b", 3), InvalidCharacter},
        // Non-standard characters are reported before invalid ones.
        {u"a b_c", NonStandardCharacter},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.name.size() << ", first unit "
                                        << (c.name.empty() ? 0 : int(c.name[0])));
        EXPECT_EQ(CheckComputerName(c.name), c.fault);
    }
}

TEST(ComputerNameRules, EachFaultHasThePlatformsCodeAndAText) {
    using enum ComputerNameFault;
    EXPECT_EQ(ComputerNameFaultCode(None), 0u);
    EXPECT_EQ(ComputerNameFaultCode(Length), 1210u);
    EXPECT_EQ(ComputerNameFaultCode(Dot), 123u);
    EXPECT_EQ(ComputerNameFaultCode(DigitsOnly), 9561u);
    EXPECT_EQ(ComputerNameFaultCode(NonStandardCharacter), 9556u);
    EXPECT_EQ(ComputerNameFaultCode(InvalidCharacter), 9560u);
    EXPECT_EQ(ComputerNameFaultText(Length), 118u);
    EXPECT_EQ(ComputerNameFaultText(Dot), 119u);
    EXPECT_EQ(ComputerNameFaultText(NonStandardCharacter), 119u);
    EXPECT_EQ(ComputerNameFaultText(InvalidCharacter), 119u);
    EXPECT_EQ(ComputerNameFaultText(DigitsOnly), 120u);
}

} // namespace
} // namespace corvane
