// The contract suite states what the program relies on from its platform
// and runs it against every implementation that can be reached: the sim
// platform in every build, the real Windows platform in the Windows build
// (under Wine there). Each implementation provides a ContractTarget.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corvane::contract {

// A domain that the target's workstation can join, for the tests of the
// domain operations. The workstation starts in a workgroup, without an
// account in this domain; `account` and `password` are accepted for every
// operation, and `organizationalUnit` is the DN of an OU of the domain.
struct ContractDomain {
    std::u16string netbiosName;
    std::u16string dnsName;
    std::u16string account;
    std::u16string password;
    std::u16string organizationalUnit;
};

class ContractTarget {
public:
    virtual ~ContractTarget() = default;

    virtual platform::Platform& Os() = 0;

    // A fresh, empty directory for this test (no trailing separator), and a
    // way to put a file there: the program itself writes no files but its
    // log, so set-up goes around the platform interface.
    virtual std::u16string ScratchDirectory() = 0;
    virtual void WriteTestFile(const std::u16string& path,
                               const std::vector<std::uint8_t>& bytes) = 0;

    // Operations that some real platforms lack (Wine has no domain join, no
    // rename in the domain, no joinable OUs, no domain-controller look-up
    // that succeeds). A test of such an operation runs only where it is
    // supported; on the others it is skipped and the operation never called.
    virtual bool HasDomainOperations() const = 0;
    // The domain for those tests; only asked where HasDomainOperations().
    virtual ContractDomain Domain() const { return {}; }

    // Fixes the user's default locale for date and time texts, so that both
    // builds can be held to the same bytes.
    virtual void SetUserLocale(platform::LocaleId locale) = 0;
};

struct ContractTargetFactory {
    std::string name;
    std::function<std::unique_ptr<ContractTarget>()> make;
};

// Names the target in test listings instead of dumping the factory's bytes.
inline void PrintTo(const ContractTargetFactory& factory, std::ostream* out) {
    *out << factory.name;
}

inline std::string ContractTargetName(const testing::TestParamInfo<ContractTargetFactory>& info) {
    return info.param.name;
}

class PlatformContract : public testing::TestWithParam<ContractTargetFactory> {
protected:
    void SetUp() override { target_ = GetParam().make(); }
    void TearDown() override { target_.reset(); }

    ContractTarget& Target() { return *target_; }
    platform::Platform& Os() { return target_->Os(); }

private:
    std::unique_ptr<ContractTarget> target_;
};

// Instantiates the suite for one implementation, in that implementation's
// own test file: CORVANE_CONTRACT_TARGET(Sim, MakeSimTarget).
#define CORVANE_CONTRACT_TARGET(Name, Factory)                                                     \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Name, PlatformContract,                                                                    \
        testing::Values(::corvane::contract::ContractTargetFactory{#Name, Factory}),               \
        ::corvane::contract::ContractTargetName)

} // namespace corvane::contract
