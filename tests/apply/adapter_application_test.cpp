#include "apply/adapter_application.h"
#include "platform/sim/world.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Reads the adapter records as the dialog does and gives both lists.
void ReadAdapters(platform::Platform& os, SetupState& state) {
    std::uint32_t size = 0;
    std::vector<AdapterRecord> buffer;
    if (os.ipHelper.GetAdaptersInfo(nullptr, &size) == platform::error::kBufferOverflow) {
        buffer = std::vector<AdapterRecord>(size / sizeof(AdapterRecord) + 1);
    }
    ASSERT_EQ(0u, os.ipHelper.GetAdaptersInfo(buffer.data(), &size));
    for (const AdapterRecord* r = buffer.data(); r != nullptr; r = r->next) {
        AdapterRecord copy = *r;
        copy.next = nullptr;
        copy.currentIpAddress = nullptr;
        copy.ipAddressList.next = nullptr;
        copy.gatewayList.next = nullptr;
        state.AdaptersAsEdited.push_back(copy);
    }
    state.AdaptersAsFound = state.AdaptersAsEdited;
}

void SetText(platform::IpAddressText& field, const char* text) {
    std::memset(field.text, 0, sizeof field.text);
    std::strncpy(field.text, text, sizeof field.text - 1);
}

struct Case {
    const char* name;
    std::uint32_t foundDhcp;
    std::function<void(AdapterRecord&)> edit;
    std::vector<std::string> calls; // the IP Helper calls made, in order
};

TEST(AdapterApplication, FollowsTheDecisionTable) {
    const Case cases[] = {
        {"fixed address changed",
         0,
         [](AdapterRecord& e) { SetText(e.ipAddressList.ipAddress, "10.0.0.6"); },
         {"SetAdapterIpAddress({A1}, 0, 10.0.0.6, 255.255.255.0, 10.0.0.1) = 0"}},
        {"only the gateway changed",
         0,
         [](AdapterRecord& e) { SetText(e.gatewayList.ipAddress, "10.0.0.254"); },
         {"SetAdapterIpAddress({A1}, 0, 10.0.0.5, 255.255.255.0, 10.0.0.254) = 0"}},
        {"fixed switched to automatic: release, then automatic, no renew",
         0,
         [](AdapterRecord& e) { e.dhcpEnabled = 1; },
         {"IpReleaseAddress(1, \\DEVICE\\TCPIP_{A1}) = 50", // a fixed adapter holds no lease
          "SetAdapterIpAddress({A1}, 1, 10.0.0.5, 255.255.255.0, 10.0.0.1) = 0"}},
        {"automatic switched to fixed: no release",
         1,
         [](AdapterRecord& e) { e.dhcpEnabled = 0; },
         {"SetAdapterIpAddress({A1}, 0, 10.0.0.5, 255.255.255.0, 10.0.0.1) = 0"}},
        {"automatic with other numbers: release and renew",
         1,
         [](AdapterRecord& e) { SetText(e.ipAddressList.ipAddress, "10.0.0.9"); },
         {"IpReleaseAddress(1, \\DEVICE\\TCPIP_{A1}) = 0",
          "IpRenewAddress(1, \\DEVICE\\TCPIP_{A1}) = 0"}},
        {"a dhcp value of 5 on an automatic adapter",
         1,
         [](AdapterRecord& e) { e.dhcpEnabled = 5; },
         {"IpReleaseAddress(1, \\DEVICE\\TCPIP_{A1}) = 0",
          "SetAdapterIpAddress({A1}, 1, 10.0.0.5, 255.255.255.0, 10.0.0.1) = 0"}},
        {"empty gateway and 0.0.0.0 are the same number",
         0,
         [](AdapterRecord& e) { SetText(e.gatewayList.ipAddress, "10.0.0.1"); },
         {}},
        {"bytes behind a terminator change nothing",
         0,
         [](AdapterRecord& e) { e.ipAddressList.ipAddress.text[12] = 'x'; },
         {}},
    };
    for (const Case& c : cases) {
        sim::World world;
        sim::AdapterConfig adapter;
        adapter.name = "{A1}";
        adapter.description = "Ethernet";
        adapter.index = 1;
        adapter.dhcpEnabled = c.foundDhcp;
        adapter.address = "10.0.0.5";
        adapter.mask = "255.255.255.0";
        adapter.gateway = "10.0.0.1";
        world.AddAdapter(adapter);
        SetupState state;
        ReadAdapters(world.platform(), state);
        c.edit(state.AdaptersAsEdited[0]);
        world.ClearJournal();
        ApplyAdapterAddresses(world.platform(), state);
        std::vector<std::string> calls;
        for (const std::string& line : world.JournalLines()) {
            if (line.rfind("Ip", 0) == 0 || line.rfind("SetAdapter", 0) == 0) {
                calls.push_back(line);
            }
        }
        EXPECT_EQ(c.calls, calls) << c.name;
    }
}

class TwoAdapters : public testing::Test {
protected:
    TwoAdapters() {
        for (int i = 1; i <= 2; ++i) {
            sim::AdapterConfig adapter;
            adapter.name = "{A" + std::to_string(i) + "}";
            adapter.index = static_cast<std::uint32_t>(i);
            adapter.address = "10.0.0." + std::to_string(i);
            adapter.mask = "255.0.0.0";
            world.AddAdapter(adapter);
        }
        ReadAdapters(world.platform(), state);
        world.ClearJournal();
    }
    std::vector<std::string> Calls(std::string_view operation) {
        return world.JournalLines(operation);
    }

    sim::World world;
    SetupState state;
};

TEST_F(TwoAdapters, OnlyTheEditedAdapterIsTouchedAgainstItsOwnRecord) {
    SetText(state.AdaptersAsEdited[1].ipAddressList.ipAddress, "10.0.0.22");
    ApplyAdapterAddresses(world.platform(), state);
    EXPECT_EQ(
        std::vector<std::string>{"SetAdapterIpAddress({A2}, 0, 10.0.0.22, 255.0.0.0, 0.0.0.0) = 0"},
        Calls("SetAdapterIpAddress"));
    EXPECT_EQ("10.0.0.22", world.Adapter("{A2}")->address);
}

TEST_F(TwoAdapters, AnAdapterMissingFromTheInterfaceTableIsSkipped) {
    std::strcpy(state.AdaptersAsEdited[0].adapterName, "{GONE}");
    state.AdaptersAsFound[0] = state.AdaptersAsEdited[0];
    state.AdaptersAsEdited[0].dhcpEnabled = 1;
    state.AdaptersAsEdited[1].dhcpEnabled = 1;
    ApplyAdapterAddresses(world.platform(), state);
    EXPECT_EQ(1u, Calls("SetAdapterIpAddress").size());
    EXPECT_EQ(1u, world.Adapter("{A2}")->dhcpEnabled);
}

TEST_F(TwoAdapters, AnEmptyAdapterNameMatchesNoInterface) {
    std::memset(state.AdaptersAsEdited[0].adapterName, 0,
                sizeof state.AdaptersAsEdited[0].adapterName);
    state.AdaptersAsFound[0] = state.AdaptersAsEdited[0];
    state.AdaptersAsEdited[0].dhcpEnabled = 1;
    ApplyAdapterAddresses(world.platform(), state);
    EXPECT_TRUE(Calls("SetAdapterIpAddress").empty());
    EXPECT_TRUE(Calls("IpReleaseAddress").empty());
}

TEST_F(TwoAdapters, AnUnreadableInterfaceTableAppliesNothing) {
    world.InjectFailure("GetInterfaceInfo", platform::error::kNotSupported);
    state.AdaptersAsEdited[0].dhcpEnabled = 1;
    ApplyAdapterAddresses(world.platform(), state);
    EXPECT_TRUE(Calls("SetAdapterIpAddress").empty());
}

// The world's IP Helper, except that the interface table claims to need
// more than any machine has.
class OversizedInterfaceTable : public platform::IpHelper {
public:
    explicit OversizedInterfaceTable(platform::IpHelper& real) : real_(real) {}
    platform::ErrorCode GetAdaptersInfo(AdapterRecord* buffer, std::uint32_t* size) override {
        return real_.GetAdaptersInfo(buffer, size);
    }
    platform::ErrorCode GetInterfaceInfo(platform::InterfaceInfo*, std::uint32_t* size) override {
        offered.push_back(*size);
        *size = 0xFFFFFFF0u;
        return platform::error::kInsufficientBuffer;
    }
    platform::ErrorCode IpReleaseAddress(platform::AdapterIndexMap* adapter) override {
        return real_.IpReleaseAddress(adapter);
    }
    platform::ErrorCode IpRenewAddress(platform::AdapterIndexMap* adapter) override {
        return real_.IpRenewAddress(adapter);
    }
    bool HasSetAdapterIpAddress() override { return real_.HasSetAdapterIpAddress(); }
    platform::ErrorCode SetAdapterIpAddress(const char* name, std::uint32_t dhcp,
                                            std::uint32_t address, std::uint32_t mask,
                                            std::uint32_t gateway) override {
        return real_.SetAdapterIpAddress(name, dhcp, address, mask, gateway);
    }
    platform::ErrorCode SetDnsServerSearchOrder(const char* name, const char16_t* const* servers,
                                                std::uint32_t count) override {
        return real_.SetDnsServerSearchOrder(name, servers, count);
    }
    std::vector<std::uint32_t> offered;

private:
    platform::IpHelper& real_;
};

TEST_F(TwoAdapters, AnInterfaceTableOfAnImpossibleSizeIsNotAllocated) {
    OversizedInterfaceTable ipHelper(world.ipHelper());
    platform::Platform& real = world.platform();
    platform::Platform os{real.clock,     real.locale,    real.environment, real.files,
                          real.profile,   real.registry,  real.network,     ipHelper,
                          real.resources, real.directory, real.ui};
    state.AdaptersAsEdited[0].dhcpEnabled = 1;
    ApplyAdapterAddresses(os, state);
    // Asked once for the size, never with a buffer of it; nothing applied.
    EXPECT_EQ(std::vector<std::uint32_t>{264}, ipHelper.offered);
    EXPECT_TRUE(Calls("IpReleaseAddress").empty());
    EXPECT_TRUE(Calls("SetAdapterIpAddress").empty());
}

TEST_F(TwoAdapters, AMissingExportChangesNothingAndDoesNotCrash) {
    world.SetSetAdapterIpAddressAvailable(false);
    state.AdaptersAsEdited[0].dhcpEnabled = 1;
    ApplyAdapterAddresses(world.platform(), state);
    EXPECT_EQ(0u, world.Adapter("{A1}")->dhcpEnabled);
}

} // namespace
} // namespace corvane
