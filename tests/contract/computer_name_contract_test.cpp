// The computer's NetBIOS name as the main dialog reads it into a buffer of
// 16, and the rename that waits for the next start.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

std::u16string CurrentName(platform::NetworkManagement& network) {
    std::array<char16_t, 16> buffer{};
    std::uint32_t size = 16;
    EXPECT_TRUE(network.GetComputerName(buffer.data(), &size));
    return Terminated(buffer.data());
}

TEST_P(PlatformContract, ComputerNameFitsSixteenAndReportsNeededSize) {
    platform::NetworkManagement& network = Os().network;
    std::array<char16_t, 16> buffer;
    buffer.fill(u'#');
    std::uint32_t size = 16;
    ASSERT_TRUE(network.GetComputerName(buffer.data(), &size));
    const std::u16string name = Terminated(buffer.data());
    EXPECT_EQ(name.size(), size);
    EXPECT_GE(size, 1u);
    EXPECT_LE(size, 15u);
    EXPECT_EQ(name.find_first_of(u"abcdefghijklmnopqrstuvwxyz"), std::u16string::npos)
        << "NetBIOS names are upper case";

    const std::uint32_t length = size;
    struct Case {
        std::uint32_t size;
        bool ok;
        std::uint32_t sizeAfter;
    };
    const Case cases[] = {
        {length, false, length + 1}, // ERROR_BUFFER_OVERFLOW with the size needed
        {0, false, length + 1},
        {length + 1, true, length},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::array<char16_t, 16> again{};
        std::uint32_t inOut = c.size;
        EXPECT_EQ(network.GetComputerName(again.data(), &inOut), c.ok);
        EXPECT_EQ(inOut, c.sizeAfter);
        if (c.ok) {
            EXPECT_EQ(Terminated(again.data()), name);
        }
    }
}

TEST_P(PlatformContract, ComputerNameChangeWaitsForTheNextStart) {
    // Changes the machine: run only where the domain operations run (a
    // disposable machine).
    if (!Target().HasDomainOperations()) {
        GTEST_SKIP();
    }
    platform::NetworkManagement& network = Os().network;
    const std::u16string before = CurrentName(network);
    EXPECT_TRUE(network.SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname,
                                          u"corvane-ct01"));
    EXPECT_EQ(CurrentName(network), before);
    EXPECT_TRUE(network.SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname,
                                          before.c_str()));
}

} // namespace
} // namespace corvane::contract
