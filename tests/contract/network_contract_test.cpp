// Membership and domain look-ups. The join information and a failing
// domain-controller look-up run everywhere; join, unjoin, rename, the
// joinable OUs and a successful look-up need a domain (HasDomainOperations).
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

using platform::JoinStatus;

struct JoinInformation {
    platform::ErrorCode result = 0;
    JoinStatus status = JoinStatus::Unknown;
    std::u16string name;
};

JoinInformation ReadJoinInformation(platform::NetworkManagement& network) {
    JoinInformation info;
    char16_t* name = nullptr;
    info.result = network.NetGetJoinInformation(&name, &info.status);
    if (info.result == 0) {
        EXPECT_NE(name, nullptr);
        if (name != nullptr) {
            info.name = name;
        }
        EXPECT_EQ(network.NetApiBufferFree(name), 0u);
    }
    return info;
}

// Leaves the machine as it was found, in a workgroup, however a test ends.
class LeaveDomainAtEnd {
public:
    LeaveDomainAtEnd(platform::NetworkManagement& network, const ContractDomain& domain)
        : network_(network), domain_(domain) {}
    ~LeaveDomainAtEnd() {
        if (ReadJoinInformation(network_).status == JoinStatus::Domain) {
            network_.NetUnjoinDomain(domain_.account.c_str(), domain_.password.c_str(), 0);
        }
    }

private:
    platform::NetworkManagement& network_;
    const ContractDomain& domain_;
};

platform::ErrorCode Join(platform::NetworkManagement& network, const ContractDomain& domain,
                         const std::u16string& name, const char16_t* password) {
    return network.NetJoinDomain(name.c_str(), nullptr, domain.account.c_str(), password, 0x23);
}

TEST_P(PlatformContract, NetworkJoinInformationNamesTheWorkgroupOrDomain) {
    const JoinInformation info = ReadJoinInformation(Os().network);
    ASSERT_EQ(info.result, 0u);
    EXPECT_TRUE(info.status == JoinStatus::Workgroup || info.status == JoinStatus::Domain);
    EXPECT_FALSE(info.name.empty());
    EXPECT_EQ(Os().network.NetApiBufferFree(nullptr), 0u);
}

TEST_P(PlatformContract, NetworkDcLookupOfAnUnknownDomainFails) {
    platform::DomainControllerInfo* info = nullptr;
    EXPECT_NE(Os().network.DsGetDcName(u"corvane-contract-no-such-domain.invalid",
                                       platform::kDsReturnDnsName, &info),
              0u);
    EXPECT_EQ(info, nullptr);
}

TEST_P(PlatformContract, NetworkDcLookupGivesTheDnsNameForEitherName) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    for (const std::u16string& name : {lab.netbiosName, lab.dnsName}) {
        SCOPED_TRACE(Narrow(name));
        platform::DomainControllerInfo* info = nullptr;
        ASSERT_EQ(Os().network.DsGetDcName(name.c_str(), platform::kDsReturnDnsName, &info), 0u);
        ASSERT_NE(info, nullptr);
        ASSERT_NE(info->domainName, nullptr);
        EXPECT_TRUE(EqualsIgnoringAsciiCase(info->domainName, lab.dnsName));
        EXPECT_EQ(Os().network.NetApiBufferFree(info), 0u);
    }
    platform::DomainControllerInfo* info = nullptr;
    EXPECT_EQ(Os().network.DsGetDcName(u"corvane-contract-no-such-domain.invalid",
                                       platform::kDsReturnDnsName, &info),
              platform::error::kNoSuchDomain);
}

TEST_P(PlatformContract, NetworkJoinAndUnjoin) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    platform::NetworkManagement& network = Os().network;
    const LeaveDomainAtEnd leave(network, lab);
    ASSERT_EQ(ReadJoinInformation(network).status, JoinStatus::Workgroup);
    EXPECT_EQ(network.NetUnjoinDomain(nullptr, nullptr, 0), platform::error::kNerrSetupNotJoined);

    ASSERT_EQ(Join(network, lab, lab.netbiosName, lab.password.c_str()), 0u);
    JoinInformation info = ReadJoinInformation(network);
    EXPECT_EQ(info.status, JoinStatus::Domain);
    EXPECT_TRUE(EqualsIgnoringAsciiCase(info.name, lab.netbiosName));
    // NETSETUP_DOMAIN_JOIN_IF_JOINED: joining again while joined is allowed.
    EXPECT_EQ(Join(network, lab, lab.dnsName, lab.password.c_str()), 0u);

    EXPECT_EQ(network.NetUnjoinDomain(lab.account.c_str(), lab.password.c_str(), 0), 0u);
    info = ReadJoinInformation(network);
    EXPECT_EQ(info.status, JoinStatus::Workgroup);
    EXPECT_EQ(network.NetUnjoinDomain(lab.account.c_str(), lab.password.c_str(), 0),
              platform::error::kNerrSetupNotJoined);
}

TEST_P(PlatformContract, NetworkJoinRefusesWrongCredentialsAndUnknownDomains) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    platform::NetworkManagement& network = Os().network;
    const LeaveDomainAtEnd leave(network, lab);
    const std::u16string wrong = lab.password + u"-wrong";
    EXPECT_EQ(Join(network, lab, lab.netbiosName, wrong.c_str()), platform::error::kLogonFailure);
    EXPECT_EQ(Join(network, lab, u"corvane-contract-no-such-domain.invalid", lab.password.c_str()),
              platform::error::kNoSuchDomain);
    EXPECT_EQ(ReadJoinInformation(network).status, JoinStatus::Workgroup);
}

TEST_P(PlatformContract, NetworkWorkgroupJoinOnlyOutsideADomain) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    platform::NetworkManagement& network = Os().network;
    const LeaveDomainAtEnd leave(network, lab);
    EXPECT_EQ(network.NetJoinDomain(u"CORVANEWG", nullptr, nullptr, nullptr, 0), 0u);
    JoinInformation info = ReadJoinInformation(network);
    EXPECT_EQ(info.status, JoinStatus::Workgroup);
    EXPECT_TRUE(EqualsIgnoringAsciiCase(info.name, u"CORVANEWG"));

    ASSERT_EQ(Join(network, lab, lab.netbiosName, lab.password.c_str()), 0u);
    EXPECT_EQ(network.NetJoinDomain(u"CORVANEWG", nullptr, nullptr, nullptr, 0),
              platform::error::kNerrSetupAlreadyJoined);
    EXPECT_EQ(ReadJoinInformation(network).status, JoinStatus::Domain);
}

TEST_P(PlatformContract, NetworkRenameInTheDomainWaitsForTheNextStart) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    platform::NetworkManagement& network = Os().network;
    const LeaveDomainAtEnd leave(network, lab);
    std::array<char16_t, 16> before{};
    std::uint32_t size = 16;
    ASSERT_TRUE(network.GetComputerName(before.data(), &size));
    EXPECT_EQ(network.NetRenameMachineInDomain(u"CORVANE-CT02", lab.account.c_str(),
                                               lab.password.c_str(), 2),
              platform::error::kNerrSetupNotJoined);

    ASSERT_EQ(Join(network, lab, lab.netbiosName, lab.password.c_str()), 0u);
    EXPECT_EQ(network.NetRenameMachineInDomain(u"CORVANE-CT02", lab.account.c_str(),
                                               lab.password.c_str(), 2),
              0u);
    std::array<char16_t, 16> after{};
    size = 16;
    ASSERT_TRUE(network.GetComputerName(after.data(), &size));
    EXPECT_EQ(Terminated(after.data()), Terminated(before.data()));
    // Back to the old name, in the domain too.
    EXPECT_EQ(network.NetRenameMachineInDomain(before.data(), lab.account.c_str(),
                                               lab.password.c_str(), 2),
              0u);
}

TEST_P(PlatformContract, NetworkJoinableOusComeInOneBuffer) {
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    const ContractDomain lab = Target().Domain();
    platform::NetworkManagement& network = Os().network;
    const LeaveDomainAtEnd leave(network, lab);
    std::uint32_t count = 0;
    char16_t** units = nullptr;
    ASSERT_EQ(network.NetGetJoinableOUs(lab.dnsName.c_str(), lab.account.c_str(),
                                        lab.password.c_str(), &count, &units),
              0u);
    ASSERT_NE(units, nullptr);
    bool hasUnit = false;
    bool hasComputers = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::u16string dn(units[i]);
        hasUnit = hasUnit || EqualsIgnoringAsciiCase(dn, lab.organizationalUnit);
        hasComputers = hasComputers || dn.starts_with(u"CN=Computers,");
    }
    EXPECT_TRUE(hasUnit);
    EXPECT_TRUE(hasComputers);
    EXPECT_EQ(network.NetApiBufferFree(units), 0u);

    const std::u16string wrong = lab.password + u"-wrong";
    units = nullptr;
    EXPECT_EQ(network.NetGetJoinableOUs(lab.dnsName.c_str(), lab.account.c_str(), wrong.c_str(),
                                        &count, &units),
              platform::error::kLogonFailure);
    EXPECT_EQ(units, nullptr);
}

} // namespace

} // namespace corvane::contract
