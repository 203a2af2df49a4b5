// The "dns" value: which texts are a list of DNS servers, and the form the
// log shows them in.
#include "apply/name_servers.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

struct ListCase {
    std::u16string_view text;
    bool accepted;
    std::u16string_view shown; // the list as logged, when accepted
};

TEST(NameServerList, AcceptsUpToThreeUnicastAddresses) {
    const ListCase cases[] = {
        {u"10.0.0.2", true, u"10.0.0.2"},
        {u"10.0.0.2,10.0.0.3", true, u"10.0.0.2,10.0.0.3"},
        {u" 10.0.0.2 ,\t10.0.0.3, 192.168.1.1 ", true, u"10.0.0.2,10.0.0.3,192.168.1.1"},
        {u"1.0.0.0,223.255.255.255", true, u"1.0.0.0,223.255.255.255"},
        {u"127.0.0.1", true, u"127.0.0.1"},
        {u"10.0.0.2,0.0.0.1", false, u""},
        {u"", true, u""},
        {u"  ", true, u""},
        // More than three, or an empty item anywhere.
        {u"10.0.0.1,10.0.0.2,10.0.0.3,10.0.0.4", false, u""},
        {u"10.0.0.1,", false, u""},
        {u",10.0.0.1", false, u""},
        {u"10.0.0.1,,10.0.0.2", false, u""},
        // Other separators.
        {u"10.0.0.1;10.0.0.2", false, u""},
        {u"10.0.0.1 10.0.0.2", false, u""},
        // Not four decimal numbers of 0 to 255.
        {u"10.0.0", false, u""},
        {u"10.0.0.1.5", false, u""},
        {u"10.0.0.256", false, u""},
        {u"10.0.0.1000", false, u""},
        {u"10..0.1", false, u""},
        {u"10.0.0.", false, u""},
        {u".10.0.0.1", false, u""},
        {u"10.0.0.1x", false, u""},
        {u"+10.0.0.1", false, u""},
        {u"0x0A.0.0.1", false, u""},
        {u"10.0.0.-1", false, u""},
        {u"\uFF11\uFF10.0.0.1", false, u""}, // fullwidth digits
        // A leading zero reads as octal in other readers: 010 would be 8.
        {u"010.0.0.1", false, u""},
        {u"10.0.0.01", false, u""},
        // No server has these.
        {u"0.0.0.0", false, u""},
        {u"224.0.0.1", false, u""},
        {u"255.255.255.255", false, u""},
        {u"10.0.0.1,255.255.255.255", false, u""},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        NameServerList list;
        list.count = 2; // whatever was there before
        EXPECT_EQ(ParseNameServerList(c.text, list), c.accepted);
        EXPECT_FALSE(list.refused);
        if (c.accepted) {
            EXPECT_EQ(NameServerListText(list), c.shown);
        } else {
            EXPECT_TRUE(list.empty());
        }
    }
}

TEST(NameServerList, KeepsTheSearchOrderAndTheNumbers) {
    NameServerList list;
    ASSERT_TRUE(ParseNameServerList(u"192.168.1.1,10.0.0.2", list));
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.addresses[0], 0xC0A80101u);
    EXPECT_EQ(list.addresses[1], 0x0A000002u);
}

} // namespace
} // namespace corvane
