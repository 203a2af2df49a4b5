#include "directory/domain_lookups.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>
#include <vector>

namespace corvane {
namespace {

std::vector<std::uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

class DomainLookupsTest : public testing::Test {
protected:
    DomainLookupsTest() {
        world.AddDomain(u"SALES", u"sales.example.com");
        state.Log.Open(world.platform(), kLog);
    }

    std::vector<std::uint8_t> LogBytes() {
        state.Log.Close();
        return world.FileBytes(kLog).value_or(std::vector<std::uint8_t>{});
    }

    static constexpr std::u16string_view kLog = u"C:\\Tools\\corvane.log";
    sim::World world;
    SetupState state;
};

TEST_F(DomainLookupsTest, ResolvesANameToTheDnsNameAndLogsTheStatus) {
    struct Case {
        std::u16string_view typed;
        platform::ErrorCode status;
        std::u16string_view after;
    };
    const Case cases[] = {
        {u"SALES", 0, u"sales.example.com"},
        {u"sales", 0, u"sales.example.com"},
        {u"sales.example.com", 0, u"sales.example.com"},
        {u"NOSUCH", platform::error::kNoSuchDomain, u"NOSUCH"},
        {u"", platform::error::kNoSuchDomain, u""},
    };
    std::u16string expectedLog;
    for (const Case& c : cases) {
        DomainText domain(c.typed);
        EXPECT_EQ(c.status, GetDomainDnsName(world.platform(), state, domain));
        EXPECT_EQ(c.after, domain.view());
        expectedLog += FormatText(
            u"Info(%08d): 3/21/2009, 9:15:43 AM - GetDomainDnsName: Status\r\n", c.status);
    }
    EXPECT_EQ(Utf16Le(expectedLog), LogBytes());
    EXPECT_EQ(0u, world.OutstandingNetApiBuffers());
}

TEST_F(DomainLookupsTest, AnUnreachableDomainKeepsTheTypedName) {
    world.FindDomain(u"SALES")->SetReachable(false);
    DomainText domain(u"SALES");
    EXPECT_NE(0u, GetDomainDnsName(world.platform(), state, domain));
    EXPECT_EQ(u"SALES", domain.view());
}

TEST_F(DomainLookupsTest, ADnsNameTooLongForTheTextIsNotCutIntoAnotherName) {
    const std::u16string longDns = std::u16string(120, u'a') + u".example.com"; // 132 characters
    world.AddDomain(u"LONG", longDns);
    DomainText domain(u"LONG");
    EXPECT_EQ(0u, GetDomainDnsName(world.platform(), state, domain));
    EXPECT_EQ(u"LONG", domain.view());
    EXPECT_EQ(0u, world.OutstandingNetApiBuffers());

    const std::u16string fits = std::u16string(116, u'b') + u".example.com"; // 128 characters
    world.AddDomain(u"FITS", fits);
    DomainText fitting(u"FITS");
    EXPECT_EQ(0u, GetDomainDnsName(world.platform(), state, fitting));
    EXPECT_EQ(fits, fitting.view());
}

TEST_F(DomainLookupsTest, IsDomainMemberReadsTheJoinInformation) {
    struct Case {
        platform::JoinStatus status;
        std::u16string_view name;
        bool failJoinInformation;
        bool member;
    };
    const Case cases[] = {
        {platform::JoinStatus::Workgroup, u"WORKGROUP", false, false},
        {platform::JoinStatus::Unjoined, u"", false, false},
        {platform::JoinStatus::Domain, u"SALES", false, true},
        {platform::JoinStatus::Domain, u"SALES", true, false},
    };
    for (const Case& c : cases) {
        world.SetJoinState(c.status, c.name);
        world.ClearFailures();
        if (c.failJoinInformation) {
            world.InjectFailure("NetGetJoinInformation", platform::error::kAccessDenied);
        }
        EXPECT_EQ(c.member, IsDomainMember(world.platform()));
        EXPECT_EQ(0u, world.OutstandingNetApiBuffers());
    }
}

} // namespace
} // namespace corvane
