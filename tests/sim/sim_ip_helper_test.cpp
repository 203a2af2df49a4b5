// The sim's IP Helper: record contents, the effects of release, renew and
// fixed addresses, and the missing export.
#include "platform/sim/world.h"

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

AdapterConfig Wired() {
    AdapterConfig adapter;
    adapter.name = "{11111111-2222-3333-4444-555555555555}";
    adapter.description = "Intel(R) PRO/1000 MT \xC4thernet"; // Windows-1252 text
    adapter.index = 7;
    adapter.address = "10.0.0.5";
    adapter.mask = "255.255.255.0";
    adapter.gateway = "10.0.0.1";
    adapter.moreAddresses = {{"10.0.0.6", "255.255.255.0"}, {"10.0.0.7", "255.0.0.0"}};
    adapter.moreGateways = {"10.0.0.254"};
    return adapter;
}

AdapterConfig Wireless() {
    AdapterConfig adapter;
    adapter.name = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
    adapter.description = "Wireless";
    adapter.index = 12;
    adapter.dhcpEnabled = 1;
    adapter.address = "192.168.1.40";
    adapter.mask = "255.255.255.0";
    adapter.gateway = "192.168.1.1";
    adapter.leaseAddress = "192.168.1.41";
    return adapter;
}

std::vector<std::uint64_t> ReadAdapters(World& world, std::uint32_t& size) {
    size = 0;
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, &size), 111u);
    std::vector<std::uint64_t> words(size / 8 + 1);
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(
                  reinterpret_cast<platform::AdapterRecord*>(words.data()), &size),
              0u);
    return words;
}

platform::AdapterIndexMap Entry(std::uint32_t index, std::u16string_view name) {
    platform::AdapterIndexMap entry{};
    entry.index = index;
    name.copy(entry.name, name.size());
    return entry;
}

TEST(SimIpHelper, RecordsCarryTheConfiguredAdapters) {
    World world;
    world.AddAdapter(Wired());
    world.AddAdapter(Wireless());
    std::uint32_t size = 0;
    std::vector<std::uint64_t> words = ReadAdapters(world, size);
    EXPECT_EQ(size, 2 * sizeof(platform::AdapterRecord) + 3 * sizeof(platform::IpAddrString));
    const auto* first = reinterpret_cast<const platform::AdapterRecord*>(words.data());
    const platform::AdapterRecord* second = first->next;
    ASSERT_EQ(second, first + 1);
    EXPECT_EQ(second->next, nullptr);

    EXPECT_STREQ(first->adapterName, "{11111111-2222-3333-4444-555555555555}");
    EXPECT_STREQ(first->description, "Intel(R) PRO/1000 MT \xC4thernet");
    EXPECT_EQ(first->index, 7u);
    EXPECT_EQ(first->comboIndex, 7u);
    EXPECT_EQ(first->type, 6u);
    EXPECT_EQ(first->addressLength, 6u);
    EXPECT_EQ(first->dhcpEnabled, 0u);
    EXPECT_EQ(first->currentIpAddress, &first->ipAddressList);
    EXPECT_STREQ(first->ipAddressList.ipAddress.text, "10.0.0.5");
    EXPECT_STREQ(first->ipAddressList.ipMask.text, "255.255.255.0");
    ASSERT_NE(first->ipAddressList.next, nullptr);
    EXPECT_STREQ(first->ipAddressList.next->ipAddress.text, "10.0.0.6");
    ASSERT_NE(first->ipAddressList.next->next, nullptr);
    EXPECT_STREQ(first->ipAddressList.next->next->ipMask.text, "255.0.0.0");
    EXPECT_EQ(first->ipAddressList.next->next->next, nullptr);
    EXPECT_STREQ(first->gatewayList.ipAddress.text, "10.0.0.1");
    ASSERT_NE(first->gatewayList.next, nullptr);
    EXPECT_STREQ(first->gatewayList.next->ipAddress.text, "10.0.0.254");
    EXPECT_STREQ(first->dhcpServer.ipAddress.text, "");
    EXPECT_EQ(first->leaseObtained, 0);

    EXPECT_EQ(second->dhcpEnabled, 1u);
    EXPECT_STREQ(second->dhcpServer.ipAddress.text, "192.168.1.1");
    EXPECT_EQ(second->leaseObtained, 1237626943); // 2009-03-21 09:15:43
    EXPECT_EQ(second->leaseExpires - second->leaseObtained, 8 * 24 * 3600);
}

TEST(SimIpHelper, OverlongTextsAreCutToTheirFields) {
    World world;
    AdapterConfig adapter = Wired();
    adapter.description = std::string(200, 'd');
    adapter.address = "1234567890.1234567890";
    world.AddAdapter(adapter);
    std::uint32_t size = 0;
    std::vector<std::uint64_t> words = ReadAdapters(world, size);
    const auto* record = reinterpret_cast<const platform::AdapterRecord*>(words.data());
    EXPECT_EQ(std::strlen(record->description), sizeof(record->description) - 1);
    EXPECT_STREQ(record->ipAddressList.ipAddress.text, "1234567890.1234");
}

TEST(SimIpHelper, NoAdaptersAndInjectedFailures) {
    World world;
    std::uint32_t size = 0;
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, &size), 232u);
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, nullptr), 87u);
    EXPECT_EQ(world.ipHelper().GetInterfaceInfo(nullptr, &size), 122u);
    EXPECT_EQ(size, 4u);
    platform::InterfaceInfo table{};
    EXPECT_EQ(world.ipHelper().GetInterfaceInfo(&table, &size), 0u);
    EXPECT_EQ(table.numAdapters, 0);

    world.AddAdapter(Wired());
    ASSERT_TRUE(world.InjectFailure("GetAdaptersInfo", 31, 2));
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, &size), 31u);
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, &size), 31u);
    EXPECT_EQ(world.ipHelper().GetAdaptersInfo(nullptr, &size), 111u);
}

TEST(SimIpHelper, InterfaceTableNamesTheAdapters) {
    World world;
    world.AddAdapter(Wired());
    world.AddAdapter(Wireless());
    std::uint32_t size = 0;
    ASSERT_EQ(world.ipHelper().GetInterfaceInfo(nullptr, &size), 122u);
    EXPECT_EQ(size, 4 + 2 * sizeof(platform::AdapterIndexMap));
    std::vector<std::uint64_t> words(size / 8 + 1);
    auto* table = reinterpret_cast<platform::InterfaceInfo*>(words.data());
    ASSERT_EQ(world.ipHelper().GetInterfaceInfo(table, &size), 0u);
    ASSERT_EQ(table->numAdapters, 2);
    const auto* entries = reinterpret_cast<const platform::AdapterIndexMap*>(
        reinterpret_cast<const std::byte*>(table) + offsetof(platform::InterfaceInfo, adapter));
    EXPECT_EQ(entries[0].index, 7u);
    EXPECT_EQ(std::u16string(entries[0].name),
              u"\\DEVICE\\TCPIP_{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(entries[1].index, 12u);
}

TEST(SimIpHelper, FixedAddressesAndDhcpChangeTheAdapter) {
    World world;
    world.AddAdapter(Wired());
    world.AddAdapter(Wireless());
    platform::IpHelper& ipHelper = world.ipHelper();
    // Network order: the first number in the lowest byte.
    EXPECT_EQ(ipHelper.SetAdapterIpAddress("{11111111-2222-3333-4444-555555555555}", 0, 0x0600000A,
                                           0x00FFFFFF, 0x0100000A),
              0u);
    AdapterConfig wired = *world.Adapter("{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(wired.dhcpEnabled, 0u);
    EXPECT_EQ(wired.address, "10.0.0.6");
    EXPECT_EQ(wired.mask, "255.255.255.0");
    EXPECT_EQ(wired.gateway, "10.0.0.1");

    // To DHCP: the lease is handed out at once.
    EXPECT_EQ(ipHelper.SetAdapterIpAddress("{11111111-2222-3333-4444-555555555555}", 1, 0, 0, 0),
              0u);
    wired = *world.Adapter("{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(wired.dhcpEnabled, 1u);
    EXPECT_EQ(wired.address, "192.168.1.100");

    platform::AdapterIndexMap wireless =
        Entry(12, u"\\DEVICE\\TCPIP_{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
    EXPECT_EQ(ipHelper.IpReleaseAddress(&wireless), 0u);
    EXPECT_EQ(world.Adapter("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}")->address, "0.0.0.0");
    EXPECT_EQ(ipHelper.IpRenewAddress(&wireless), 0u);
    EXPECT_EQ(world.Adapter("{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}")->address, "192.168.1.41");

    platform::AdapterIndexMap unknown = Entry(99, u"\\DEVICE\\TCPIP_{X}");
    EXPECT_EQ(ipHelper.IpReleaseAddress(&unknown), 87u);
    platform::AdapterIndexMap wrongName = Entry(12, u"\\DEVICE\\TCPIP_{X}");
    EXPECT_EQ(ipHelper.IpRenewAddress(&wrongName), 87u);
    EXPECT_EQ(ipHelper.SetAdapterIpAddress("{nope}", 0, 1, 2, 3), 87u);
    ASSERT_EQ(ipHelper.SetAdapterIpAddress("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", 0, 0, 0, 0),
              0u);
    EXPECT_EQ(ipHelper.IpReleaseAddress(&wireless), 50u); // no lease on a fixed address

    EXPECT_EQ(
        world.JournalLines(),
        (std::vector<std::string>{
            "SetAdapterIpAddress({11111111-2222-3333-4444-555555555555}, 0, 10.0.0.6, "
            "255.255.255.0, 10.0.0.1) = 0",
            "SetAdapterIpAddress({11111111-2222-3333-4444-555555555555}, 1, 0.0.0.0, "
            "0.0.0.0, 0.0.0.0) = 0",
            "IpReleaseAddress(12, \\DEVICE\\TCPIP_{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}) = 0",
            "IpRenewAddress(12, \\DEVICE\\TCPIP_{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}) = 0",
            "IpReleaseAddress(99, \\DEVICE\\TCPIP_{X}) = 87",
            "IpRenewAddress(12, \\DEVICE\\TCPIP_{X}) = 87",
            "SetAdapterIpAddress({nope}, 0, 1.0.0.0, 2.0.0.0, 3.0.0.0) = 87",
            "SetAdapterIpAddress({AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}, 0, 0.0.0.0, "
            "0.0.0.0, 0.0.0.0) = 0",
            "IpReleaseAddress(12, \\DEVICE\\TCPIP_{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}) = 50",
        }));
}

TEST(SimIpHelper, MissingExportChangesNothing) {
    World world;
    world.AddAdapter(Wired());
    world.SetSetAdapterIpAddressAvailable(false);
    EXPECT_FALSE(world.ipHelper().HasSetAdapterIpAddress());
    EXPECT_EQ(
        world.ipHelper().SetAdapterIpAddress("{11111111-2222-3333-4444-555555555555}", 1, 0, 0, 0),
        127u);
    EXPECT_EQ(world.Adapter("{11111111-2222-3333-4444-555555555555}")->dhcpEnabled, 0u);
    EXPECT_EQ(world.Adapter("{11111111-2222-3333-4444-555555555555}")->address, "10.0.0.5");
}

} // namespace
} // namespace corvane::sim
