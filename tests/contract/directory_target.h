// The directory contract runs the program's directory steps (locate, move,
// create and delete a computer account, the joinable units, paged search)
// against every directory that can be reached: the sim's in every host
// build, a real domain controller where one runs (the Samba domain the
// test run provisions). Each provides a DirectoryTarget: a platform whose
// directory and joinable units are that directory's, a workstation that is
// a member of its domain, and set-up and read-back around the interface.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace corvane::contract {

// Logons of the directory's domain. `admin` may change everything; `reader`
// may bind and read but create, move and delete nothing; `disabled` is a
// disabled account with its right password.
struct DirectoryLogons {
    std::u16string admin;
    std::u16string adminPassword;
    std::u16string reader;
    std::u16string readerPassword;
    std::u16string disabled;
    std::u16string disabledPassword;
};

class DirectoryTarget {
public:
    virtual ~DirectoryTarget() = default;

    virtual platform::Platform& Os() = 0;
    // An implementation's own count of interfaces, searches and columns not
    // given back (0 when all were released).
    virtual std::size_t UnreleasedDirectoryObjects() = 0;

    virtual std::u16string DnsName() const = 0;
    virtual DirectoryLogons Logons() const = 0;

    // Set-up and read-back with administrator rights, around the interface.
    // DNs here are relative to the domain's root ("OU=Berlin,OU=Sales").
    virtual void AddUnit(const std::u16string& relativeDn) = 0;
    // In the default computer container when `containerRelativeDn` is empty.
    virtual void AddComputer(const std::u16string& name,
                             const std::u16string& containerRelativeDn) = 0;
    // Many computers at once in one container (names as given).
    virtual void AddComputers(const std::vector<std::u16string>& names,
                              const std::u16string& containerRelativeDn) = 0;
    // The relative DN of the container that holds the computer account
    // NAME$ ("CN=Computers", "OU=Berlin,OU=Sales"), or "-" without one.
    virtual std::u16string ComputerContainer(const std::u16string& name) = 0;
    // The values of one attribute of the computer account NAME$, in the
    // directory's order (lower-case attribute names are fine).
    virtual std::vector<std::u16string> ComputerAttribute(const std::u16string& name,
                                                          const std::u16string& attribute) = 0;
    // Removes a unit with everything below it, and computer accounts
    // wherever they are; what does not exist is skipped.
    virtual void RemoveUnit(const std::u16string& relativeDn) = 0;
    virtual void RemoveComputer(const std::u16string& name) = 0;
};

struct DirectoryTargetFactory {
    std::string name;
    // Null with `skipReason` set when this directory cannot be reached here.
    std::function<std::unique_ptr<DirectoryTarget>(std::string& skipReason)> make;
};

inline void PrintTo(const DirectoryTargetFactory& factory, std::ostream* out) {
    *out << factory.name;
}

inline std::string DirectoryTargetName(const testing::TestParamInfo<DirectoryTargetFactory>& info) {
    return info.param.name;
}

inline std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

// The fixture of the directory contract: a unit of the test's own, the
// stored logon the administrator's.
class DirectoryContract : public testing::TestWithParam<DirectoryTargetFactory> {
protected:
    void SetUp() override {
        std::string reason;
        target_ = GetParam().make(reason);
        if (!target_) {
            GTEST_SKIP() << reason;
        }
        // A name of this test's own: units and computers of different tests
        // never meet on a shared server.
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        const auto hash = static_cast<std::uint32_t>(std::hash<std::string>{}(test));
        constexpr char kDigits[] = "0123456789ABCDEF";
        for (int shift = 20; shift >= 0; shift -= 4) {
            tag_.push_back(static_cast<char16_t>(kDigits[(hash >> shift) & 0xF]));
        }
        unit_ = u"OU=T" + tag_;
        CleanUp();
        target_->AddUnit(unit_);
        const DirectoryLogons logons = target_->Logons();
        state_.Account.Assign(logons.admin);
        state_.Password.Assign(logons.adminPassword);
    }

    void TearDown() override {
        if (target_) {
            CleanUp();
            EXPECT_EQ(target_->UnreleasedDirectoryObjects(), 0u);
        }
    }

    void CleanUp() {
        target_->RemoveUnit(unit_);
        for (const std::u16string& name : computers_) {
            target_->RemoveComputer(name);
        }
    }

    // A computer name of this test (at most 15 characters), removed at the
    // end wherever it went.
    std::u16string Computer(std::u16string_view suffix) {
        std::u16string name = u"C" + tag_ + std::u16string(suffix);
        if (std::find(computers_.begin(), computers_.end(), name) == computers_.end()) {
            computers_.push_back(name);
            target_->RemoveComputer(name);
        }
        return name;
    }

    // The test's unit as an OU path ("\T1A2B3C") and below it.
    std::u16string UnitPath(std::u16string_view below = {}) const {
        std::u16string path = u"\\T" + tag_;
        if (!below.empty()) {
            path += u"\\";
            path += below;
        }
        return path;
    }
    std::u16string UnitDn(std::u16string_view below = {}) const {
        return below.empty() ? unit_ : std::u16string(below) + u"," + unit_;
    }

    void UseLogon(std::u16string_view account, std::u16string_view password) {
        state_.Account.Assign(account);
        state_.Password.Assign(password);
    }

    platform::Platform& Os() { return target_->Os(); }
    std::u16string Domain() const { return target_->DnsName(); }
    // "DC=a,DC=b" for the domain a.b.
    std::u16string RootDn() const {
        const std::u16string domain = Domain();
        std::u16string root;
        std::size_t start = 0;
        while (start <= domain.size()) {
            const std::size_t dot = std::min(domain.find(u'.', start), domain.size());
            root += (root.empty() ? u"DC=" : u",DC=") + domain.substr(start, dot - start);
            start = dot + 1;
        }
        return root;
    }

    std::unique_ptr<DirectoryTarget> target_;
    SetupState state_;
    std::u16string tag_;
    std::u16string unit_;
    std::vector<std::u16string> computers_;
};

// Instantiates the directory contract for one directory:
// CORVANE_DIRECTORY_TARGET(Sim, MakeSimDirectory).
#define CORVANE_DIRECTORY_TARGET(Name, Factory)                                                    \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Name, DirectoryContract,                                                                   \
        testing::Values(::corvane::contract::DirectoryTargetFactory{#Name, Factory}),              \
        ::corvane::contract::DirectoryTargetName)

} // namespace corvane::contract
