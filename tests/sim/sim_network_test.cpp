// Membership, rename, joinable OUs and the domain-controller look-up of the
// sim, beyond what the platform contract states: the directory effects,
// the credential rules, the refusal codes and the buffer bookkeeping.
#include "platform/sim/text.h"
#include "platform/sim/world.h"

#include <array>
#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

using platform::JoinStatus;
using platform::error::kAccessDenied;
using platform::error::kLogonFailure;

class SimNetworkTest : public testing::Test {
protected:
    SimNetworkTest() : domain_(world_.AddDomain(u"SALES", u"sales.example.com")) {
        domain_.AddCredential(u"SALES\\installer", u"secret");
        const std::u16string units[] = {u"Workstations", u"Berlin"};
        domain_.Directory().EnsureOrganizationalUnits(units);
        world_.SetComputerName(u"WS-OLD");
    }

    platform::NetworkManagement& network() { return world_.network(); }

    platform::ErrorCode Join(const char16_t* account = u"installer@SALES",
                             const char16_t* password = u"secret") {
        return network().NetJoinDomain(u"SALES", nullptr, account, password, 0x23);
    }

    std::u16string Dn(std::u16string_view computer) const {
        const ObjectId object = domain_.FindComputer(computer);
        return object == kNoObject ? u"-" : domain_.Directory().DistinguishedName(object);
    }

    World world_;
    Domain& domain_;
};

TEST_F(SimNetworkTest, JoinCreatesTheAccountInTheComputerContainer) {
    ASSERT_EQ(Join(), 0u);
    EXPECT_EQ(Dn(u"WS-OLD"), u"CN=WS-OLD,CN=Computers,DC=sales,DC=example,DC=com");
    const ObjectId account = domain_.FindComputer(u"WS-OLD");
    ASSERT_NE(domain_.Directory().Attribute(account, u"sAMAccountName"), nullptr);
    EXPECT_EQ(*domain_.Directory().Attribute(account, u"sAMAccountName"), u"WS-OLD$");
    EXPECT_EQ(world_.GetJoinState().status, JoinStatus::Domain);
    EXPECT_EQ(world_.GetJoinState().name, u"SALES");
    EXPECT_EQ(world_.JournalLines(),
              std::vector<std::string>{"NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0"});
}

TEST_F(SimNetworkTest, JoinReusesAnExistingAccountWhereItIs) {
    const ObjectId existing = domain_.AddComputer(u"WS-OLD", u"OU=Berlin,OU=Workstations");
    ASSERT_NE(existing, kNoObject);
    ASSERT_EQ(Join(), 0u);
    EXPECT_EQ(domain_.Directory().FindByClassAndName(u"computer", u"WS-OLD"),
              std::vector<ObjectId>{existing});
    EXPECT_EQ(Dn(u"WS-OLD"), u"CN=WS-OLD,OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com");
}

// As on Windows, a join takes the name the computer runs under; only with
// NETSETUP_JOIN_WITH_NEW_NAME does it take the name pending until the next
// start.
TEST_F(SimNetworkTest, JoinTakesTheActiveNameUnlessAskedForThePendingOne) {
    ASSERT_TRUE(
        network().SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname, u"ws-0815"));
    ASSERT_EQ(network().NetJoinDomain(u"sales.example.com",
                                      u"OU=Workstations,DC=sales,DC=example,DC=com",
                                      u"installer@SALES", u"secret", 0x23),
              0u);
    EXPECT_EQ(Dn(u"WS-OLD"), u"CN=WS-OLD,OU=Workstations,DC=sales,DC=example,DC=com");
    EXPECT_EQ(Dn(u"WS-0815"), u"-");
}

TEST_F(SimNetworkTest, JoinWithTheNewNameUsesThePendingNameAndAGivenOu) {
    ASSERT_TRUE(
        network().SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname, u"ws-0815"));
    ASSERT_EQ(network().NetJoinDomain(u"sales.example.com",
                                      u"OU=Workstations,DC=sales,DC=example,DC=com",
                                      u"installer@SALES", u"secret", 0x423),
              0u);
    EXPECT_EQ(Dn(u"WS-0815"), u"CN=WS-0815,OU=Workstations,DC=sales,DC=example,DC=com");
    EXPECT_EQ(Dn(u"WS-OLD"), u"-");
    EXPECT_EQ(network().NetJoinDomain(u"SALES", u"OU=Nowhere,DC=sales,DC=example,DC=com",
                                      u"installer@SALES", u"secret", 0x423),
              directory_error::kNoSuchObject);
}

TEST_F(SimNetworkTest, JoinResults) {
    struct Case {
        const char* what;
        const char16_t* domain;
        const char16_t* account;
        const char16_t* password;
        std::uint32_t options;
        platform::ErrorCode result;
    };
    const Case cases[] = {
        {"down-level account", u"SALES", u"SALES\\installer", u"secret", 0x23, 0},
        {"account of the DNS name", u"SALES", u"installer@sales.example.com", u"secret", 0x23, 0},
        {"bare user", u"SALES", u"INSTALLER", u"secret", 0x23, 0},
        {"wrong password", u"SALES", u"installer@SALES", u"Secret", 0x23, kLogonFailure},
        {"null password", u"SALES", u"installer@SALES", nullptr, 0x23, kLogonFailure},
        {"other domain's account", u"SALES", u"installer@OTHER", u"secret", 0x23, kLogonFailure},
        {"own logon refused", u"SALES", nullptr, nullptr, 0x23, kLogonFailure},
        {"unknown domain", u"NOWHERE", u"installer@SALES", u"secret", 0x23, 1355},
        {"no name", u"", u"installer@SALES", u"secret", 0x23, 87},
        {"no account creation", u"SALES", u"installer@SALES", u"secret", 0x21, 1787},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        Domain& domain = world.AddDomain(u"SALES", u"sales.example.com");
        domain.AddCredential(u"SALES\\installer", u"secret");
        EXPECT_EQ(
            world.network().NetJoinDomain(c.domain, nullptr, c.account, c.password, c.options),
            c.result);
        EXPECT_EQ(world.GetJoinState().status,
                  c.result == 0 ? JoinStatus::Domain : JoinStatus::Workgroup);
    }
}

TEST_F(SimNetworkTest, RefusalCodesPerOperationOwnLogonAndDisabledAccounts) {
    domain_.SetRefusalCode(DomainOperation::Join, kAccessDenied);
    domain_.SetRefusalCode(DomainOperation::JoinableOUs, 86);
    EXPECT_EQ(Join(u"installer@SALES", u"wrong"), kAccessDenied);
    std::uint32_t count = 0;
    char16_t** units = nullptr;
    EXPECT_EQ(network().NetGetJoinableOUs(u"SALES", u"installer@SALES", u"wrong", &count, &units),
              86u);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(units, nullptr);

    domain_.AddCredential(u"old@SALES", u"pw", true);
    EXPECT_EQ(Join(u"old@SALES", u"pw"), platform::error::kAccountDisabled);

    domain_.SetAcceptsOwnLogon(true);
    EXPECT_EQ(Join(nullptr, nullptr), 0u);
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 0u);
}

TEST_F(SimNetworkTest, UnreachableDomainIsNoSuchDomainForEveryCall) {
    ASSERT_EQ(Join(), 0u);
    domain_.SetReachable(false);
    std::uint32_t count = 0;
    char16_t** units = nullptr;
    platform::DomainControllerInfo* info = nullptr;
    EXPECT_EQ(network().DsGetDcName(u"SALES", platform::kDsReturnDnsName, &info), 1355u);
    EXPECT_EQ(network().NetGetJoinableOUs(u"SALES", u"installer@SALES", u"secret", &count, &units),
              1355u);
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-NEW", u"installer@SALES", u"secret", 2),
              1355u);
    EXPECT_EQ(network().NetJoinDomain(u"SALES", nullptr, u"installer@SALES", u"secret", 0x23),
              1355u);
    // Leaving needs no domain controller unless the account is to go.
    EXPECT_EQ(network().NetUnjoinDomain(u"installer@SALES", u"secret", 0x04), 1355u);
    EXPECT_EQ(network().NetUnjoinDomain(u"installer@SALES", u"secret", 0), 0u);
    EXPECT_EQ(world_.GetJoinState().status, JoinStatus::Workgroup);
}

TEST_F(SimNetworkTest, UnjoinAndWorkgroupJoin) {
    EXPECT_EQ(network().NetUnjoinDomain(nullptr, nullptr, 0), 2692u);
    ASSERT_EQ(Join(), 0u);
    EXPECT_EQ(network().NetJoinDomain(u"TEAM", nullptr, nullptr, nullptr, 0), 2691u);
    EXPECT_EQ(network().NetUnjoinDomain(u"installer@SALES", u"wrong", 0), kLogonFailure);
    EXPECT_EQ(network().NetUnjoinDomain(u"installer@SALES", u"secret", 0x04), 0u);
    EXPECT_EQ(world_.GetJoinState().name, u"WORKGROUP");
    // Windows disables the account; it stays in the directory.
    const ObjectId account = domain_.FindComputer(u"WS-OLD");
    ASSERT_NE(account, kNoObject);
    EXPECT_EQ(*domain_.Directory().Attribute(account, u"accountDisabled"), u"TRUE");

    EXPECT_EQ(network().NetJoinDomain(u"Team", nullptr, nullptr, nullptr, 0), 0u);
    EXPECT_EQ(world_.GetJoinState().status, JoinStatus::Workgroup);
    EXPECT_EQ(world_.GetJoinState().name, u"Team");
    EXPECT_EQ(network().NetJoinDomain(u"BAD/NAME", nullptr, nullptr, nullptr, 0), 2695u);
    EXPECT_EQ(network().NetJoinDomain(u"SIXTEEN-CHARS-XX", nullptr, nullptr, nullptr, 0), 2695u);
}

TEST_F(SimNetworkTest, RenameMovesTheAccountNameAndWaitsForTheRestart) {
    ASSERT_EQ(Join(), 0u);
    ASSERT_EQ(network().NetRenameMachineInDomain(u"ws-0815", u"installer@SALES", u"secret", 2), 0u);
    EXPECT_EQ(Dn(u"WS-0815"), u"CN=WS-0815,CN=Computers,DC=sales,DC=example,DC=com");
    EXPECT_EQ(Dn(u"WS-OLD"), u"-");
    EXPECT_EQ(*domain_.Directory().Attribute(domain_.FindComputer(u"WS-0815"), u"sAMAccountName"),
              u"WS-0815$");
    EXPECT_EQ(world_.ComputerName(), u"WS-OLD");
    EXPECT_EQ(world_.PendingComputerName(), u"WS-0815");
    // The account is this computer's, whatever it is called by now.
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-0816", u"installer@SALES", u"secret", 2), 0u);
    EXPECT_EQ(Dn(u"WS-0816"), u"CN=WS-0816,CN=Computers,DC=sales,DC=example,DC=com");

    world_.Restart();
    EXPECT_EQ(world_.ComputerName(), u"WS-0816");
    EXPECT_EQ(world_.PendingComputerName(), std::nullopt);
    std::array<char16_t, 16> name{};
    std::uint32_t size = 16;
    ASSERT_TRUE(network().GetComputerName(name.data(), &size));
    EXPECT_EQ(std::u16string(name.data()), u"WS-0816");
}

TEST_F(SimNetworkTest, RenameResults) {
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-NEW", u"installer@SALES", u"secret", 2),
              2692u);
    ASSERT_EQ(Join(), 0u);
    domain_.AddComputer(u"WS-TAKEN");
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-TAKEN", u"installer@SALES", u"secret", 2),
              52u);
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS NEW", u"installer@SALES", u"secret", 2), 87u);
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-NEW", u"installer@SALES", u"bad", 2),
              kLogonFailure);
    ASSERT_EQ(domain_.Directory().Delete(domain_.FindComputer(u"WS-OLD")), 0u);
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-NEW", u"installer@SALES", u"secret", 2),
              platform::error::kNerrComputerAccountNotFound);
    EXPECT_EQ(world_.PendingComputerName(), std::nullopt);
    // Without NETSETUP_ACCT_CREATE only the local name changes.
    EXPECT_EQ(network().NetRenameMachineInDomain(u"WS-NEW", nullptr, nullptr, 0), 0u);
    EXPECT_EQ(world_.PendingComputerName(), u"WS-NEW");
}

TEST_F(SimNetworkTest, SetComputerNameExRecordsThePendingNameLikeWindows) {
    struct Case {
        platform::ComputerNameFormat format;
        const char16_t* name;
        bool ok;
        std::optional<std::u16string> pending;
    };
    using Format = platform::ComputerNameFormat;
    const Case cases[] = {
        {Format::PhysicalDnsHostname, u"ws-0815", true, u"WS-0815"},
        {Format::PhysicalDnsHostname, u"a-very-long-host-name", true, u"A-VERY-LONG-HOS"},
        {Format::PhysicalDnsHostname, u"", false, std::nullopt},
        {Format::PhysicalDnsHostname, u"with space", false, std::nullopt},
        {Format::PhysicalDnsHostname, u"dotted.name", false, std::nullopt},
        {Format::PhysicalDnsHostname, nullptr, false, std::nullopt},
        {Format::PhysicalNetBios, u"nb-name", true, u"NB-NAME"},
        {Format::PhysicalNetBios, u"sixteen-chars-xx", false, std::nullopt},
    };
    for (const Case& c : cases) {
        World world;
        EXPECT_EQ(world.network().SetComputerNameEx(c.format, c.name), c.ok);
        EXPECT_EQ(world.PendingComputerName(), c.pending);
        EXPECT_EQ(world.ComputerName(), u"WIN-7K2P9QX4T1M");
    }
    World world;
    ASSERT_TRUE(world.network().SetComputerNameEx(Format::PhysicalDnsHostname, u"ws-0815"));
    const auto nv = world.RegistryValue(platform::RegistryRoot::LocalMachine,
                                        u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters",
                                        u"NV Hostname");
    ASSERT_TRUE(nv.has_value());
    EXPECT_EQ(nv->data, Utf16Bytes(u"ws-0815", true));
    EXPECT_EQ(world.JournalLines(), std::vector<std::string>{"SetComputerNameEx(5, ws-0815) = 0"});
}

TEST_F(SimNetworkTest, JoinableOusAreOneBufferInTreeOrder) {
    domain_.Directory().EnsureOrganizationalUnits(std::vector<std::u16string>{u"Servers"});
    std::uint32_t count = 0;
    char16_t** units = nullptr;
    ASSERT_EQ(network().NetGetJoinableOUs(u"sales.example.com", u"installer@SALES", u"secret",
                                          &count, &units),
              0u);
    ASSERT_EQ(count, 4u);
    std::vector<std::u16string> names;
    for (std::uint32_t i = 0; i < count; ++i) {
        names.emplace_back(units[i]);
        // The texts lie in the same block, behind the pointer array.
        EXPECT_GE(reinterpret_cast<const void*>(units[i]),
                  reinterpret_cast<const void*>(units + count));
    }
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u"CN=Computers,DC=sales,DC=example,DC=com",
                                           u"OU=Workstations,DC=sales,DC=example,DC=com",
                                           u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com",
                                           u"OU=Servers,DC=sales,DC=example,DC=com"}));
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 1u);
    // One free releases all of it; anything else is refused, never a crash.
    EXPECT_EQ(network().NetApiBufferFree(units[1]), 87u);
    EXPECT_EQ(network().NetApiBufferFree(units), 0u);
    EXPECT_EQ(network().NetApiBufferFree(units), 87u);
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 0u);
    EXPECT_EQ(world_.InvalidNetApiFrees(), 2u);
    EXPECT_EQ(network().NetGetJoinableOUs(u"SALES", u"installer@SALES", u"secret", nullptr, &units),
              87u);
}

TEST_F(SimNetworkTest, DcLookupRecord) {
    platform::DomainControllerInfo* info = nullptr;
    ASSERT_EQ(network().DsGetDcName(u"sales", platform::kDsReturnDnsName, &info), 0u);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(std::u16string(info->domainName), u"sales.example.com");
    EXPECT_EQ(std::u16string(info->domainControllerName), u"\\\\DC1.sales.example.com");
    EXPECT_EQ(std::u16string(info->dnsForestName), u"sales.example.com");
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 1u);
    EXPECT_EQ(network().NetApiBufferFree(info), 0u);

    // DS_RETURN_FLAT_NAME gives the NetBIOS name; no name, the own domain.
    ASSERT_EQ(network().DsGetDcName(u"sales.example.com", 0x80000000, &info), 0u);
    EXPECT_EQ(std::u16string(info->domainName), u"SALES");
    EXPECT_EQ(network().NetApiBufferFree(info), 0u);
    EXPECT_EQ(network().DsGetDcName(nullptr, platform::kDsReturnDnsName, &info), 1355u);
    ASSERT_EQ(Join(), 0u);
    ASSERT_EQ(network().DsGetDcName(nullptr, platform::kDsReturnDnsName, &info), 0u);
    EXPECT_EQ(network().NetApiBufferFree(info), 0u);
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 0u);
}

TEST_F(SimNetworkTest, JoinInformationBufferIsTracked) {
    char16_t* name = nullptr;
    JoinStatus status = JoinStatus::Unknown;
    ASSERT_EQ(network().NetGetJoinInformation(&name, &status), 0u);
    EXPECT_EQ(std::u16string(name), u"WORKGROUP");
    EXPECT_EQ(status, JoinStatus::Workgroup);
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 1u); // a leak shows here
    EXPECT_EQ(network().NetApiBufferFree(name), 0u);
    EXPECT_EQ(world_.OutstandingNetApiBuffers(), 0u);
    int local = 0;
    EXPECT_EQ(network().NetApiBufferFree(&local), 87u);
    EXPECT_EQ(network().NetApiBufferFree(nullptr), 0u);
}

} // namespace
} // namespace corvane::sim
