#include "apply/change_detection.h"
#include "support/fixed_text.h"
#include "support/windows_1252.h"
#include "ui/adapter_panel.h"
#include "ui/administrator_choice_reading.h"
#include "ui/main_dialog_harness.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

using testing_support::MainDialogHarness;
namespace id = ui::main_dialog;
namespace error = platform::error;

constexpr std::uint32_t kRecordBytes = sizeof(AdapterRecord);

// --- Reading the records -----------------------------------------------------

// An IP Helper whose GetAdaptersInfo answers as the test says; it records
// the size each call was offered.
class ScriptedIpHelper : public platform::IpHelper {
public:
    using Answer = std::function<platform::ErrorCode(AdapterRecord*, std::uint32_t*, int call)>;
    explicit ScriptedIpHelper(Answer answer) : answer_(std::move(answer)) {}

    platform::ErrorCode GetAdaptersInfo(AdapterRecord* buffer, std::uint32_t* size) override {
        offered.push_back(*size);
        return answer_(buffer, size, static_cast<int>(offered.size()) - 1);
    }
    platform::ErrorCode GetInterfaceInfo(platform::InterfaceInfo*, std::uint32_t*) override {
        return error::kNotSupported;
    }
    platform::ErrorCode IpReleaseAddress(platform::AdapterIndexMap*) override { return 0; }
    platform::ErrorCode IpRenewAddress(platform::AdapterIndexMap*) override { return 0; }
    bool HasSetAdapterIpAddress() override { return false; }
    platform::ErrorCode SetAdapterIpAddress(const char*, std::uint32_t, std::uint32_t,
                                            std::uint32_t, std::uint32_t) override {
        return error::kProcNotFound;
    }
    platform::ErrorCode SetDnsServerSearchOrder(const char*, const char16_t* const*,
                                                std::uint32_t) override {
        return error::kNotSupported;
    }

    std::vector<std::uint32_t> offered;

private:
    Answer answer_;
};

// Writes `count` linked records named "Adapter 0", "Adapter 1"... into the
// buffer when it is large enough, as the platform does.
platform::ErrorCode WriteChain(AdapterRecord* buffer, std::uint32_t* size, std::uint32_t count) {
    if (*size < count * kRecordBytes) {
        *size = count * kRecordBytes;
        return error::kBufferOverflow;
    }
    std::memset(static_cast<void*>(buffer), 0, count * kRecordBytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string description = "Adapter " + std::to_string(i);
        std::memcpy(buffer[i].description, description.c_str(), description.size() + 1);
        buffer[i].index = i + 1;
        buffer[i].next = i + 1 < count ? &buffer[i + 1] : nullptr;
        buffer[i].currentIpAddress = &buffer[i].ipAddressList;
        buffer[i].ipAddressList.next = &buffer[i].gatewayList;
    }
    return error::kSuccess;
}

struct ReadCase {
    const char* name;
    ScriptedIpHelper::Answer answer;
    std::vector<std::uint32_t> offered; // sizes of the calls, in order
    std::size_t records;
};

TEST(ReadAdapterRecordsTest, ProbesTheSizeThenReadsOnce) {
    const ReadCase cases[] = {
        {"too small at first: the reported size",
         [](AdapterRecord* b, std::uint32_t* s, int) { return WriteChain(b, s, 3); },
         {kRecordBytes, 3 * kRecordBytes},
         3},
        {"one record fits at once: asked again with the same block",
         [](AdapterRecord* b, std::uint32_t* s, int) { return WriteChain(b, s, 1); },
         {kRecordBytes, kRecordBytes},
         1},
        {"a size between whole records is rounded up",
         [](AdapterRecord* b, std::uint32_t* s, int call) {
             if (call == 0) {
                 *s = 2 * kRecordBytes + 48; // two records and one further address
                 return error::kBufferOverflow;
             }
             return WriteChain(b, s, 2);
         },
         {kRecordBytes, 3 * kRecordBytes},
         2},
        {"no adapters",
         [](AdapterRecord*, std::uint32_t*, int) { return error::kNoData; },
         {kRecordBytes, kRecordBytes},
         0},
        {"the second call fails",
         [](AdapterRecord* b, std::uint32_t* s, int call) {
             return call == 0 ? WriteChain(b, s, 2) : error::kNotEnoughMemory;
         },
         {kRecordBytes, 2 * kRecordBytes},
         0},
        {"an absurd size is not allocated",
         [](AdapterRecord*, std::uint32_t* s, int) {
             *s = 0xFFFFFFFFu;
             return error::kBufferOverflow;
         },
         {kRecordBytes},
         0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedIpHelper ipHelper(c.answer);
        const AdapterList records = ReadAdapterRecords(ipHelper);
        EXPECT_EQ(ipHelper.offered, c.offered);
        ASSERT_EQ(records.size(), c.records);
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_STREQ(records[i].description, ("Adapter " + std::to_string(i)).c_str());
            EXPECT_EQ(records[i].index, i + 1);
        }
    }
}

TEST(ReadAdapterRecordsTest, KeepsRecordsWholeWithTheirBufferLinksCleared) {
    ScriptedIpHelper ipHelper([](AdapterRecord* b, std::uint32_t* s, int) {
        const platform::ErrorCode status = WriteChain(b, s, 2);
        if (status == error::kSuccess) {
            std::memcpy(b[1].adapterName, "{B}", 4);
            b[1].dhcpEnabled = 1;
            std::memcpy(b[1].ipAddressList.ipAddress.text, "10.1.2.3\0junk", 14);
            b[1].leaseExpires = 1234567;
        }
        return status;
    });
    const AdapterList records = ReadAdapterRecords(ipHelper);
    ASSERT_EQ(records.size(), 2u);
    const AdapterRecord& record = records[1];
    EXPECT_STREQ(record.adapterName, "{B}");
    EXPECT_EQ(record.dhcpEnabled, 1u);
    // The whole field, bytes behind the terminator included.
    EXPECT_EQ(std::memcmp(record.ipAddressList.ipAddress.text, "10.1.2.3\0junk", 14), 0);
    EXPECT_EQ(record.leaseExpires, 1234567);
    for (const AdapterRecord& r : records) {
        EXPECT_EQ(r.next, nullptr);
        EXPECT_EQ(r.currentIpAddress, nullptr);
        EXPECT_EQ(r.ipAddressList.next, nullptr);
    }
}

TEST(ReadAdapterRecordsTest, FollowsLinksOnlyWithinTheBlock) {
    struct LinkCase {
        const char* name;
        std::function<void(AdapterRecord*)> corrupt;
        std::size_t records;
    };
    static AdapterRecord elsewhere{};
    const LinkCase cases[] = {
        {"a link out of the block", [](AdapterRecord* b) { b[0].next = &elsewhere; }, 1},
        {"a link into the middle of a record",
         [](AdapterRecord* b) {
             b[0].next = reinterpret_cast<AdapterRecord*>(reinterpret_cast<char*>(&b[1]) + 1);
         },
         1},
        {"a link that would read past the block's end",
         [](AdapterRecord* b) {
             b[1].next = reinterpret_cast<AdapterRecord*>(reinterpret_cast<char*>(&b[2]) + 8);
         },
         2},
        {"a circle", [](AdapterRecord* b) { b[2].next = &b[0]; }, 3},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedIpHelper ipHelper([&c](AdapterRecord* b, std::uint32_t* s, int) {
            const platform::ErrorCode status = WriteChain(b, s, 3);
            if (status == error::kSuccess) {
                c.corrupt(b);
            }
            return status;
        });
        EXPECT_EQ(ReadAdapterRecords(ipHelper).size(), c.records);
    }
}

// --- The panel in the main dialog --------------------------------------------

sim::AdapterConfig Adapter(std::string name, std::string description, std::uint32_t dhcp,
                           std::string address, std::string mask, std::string gateway) {
    sim::AdapterConfig adapter;
    adapter.name = std::move(name);
    adapter.description = std::move(description);
    adapter.index = static_cast<std::uint32_t>(adapter.name.size());
    adapter.dhcpEnabled = dhcp;
    adapter.address = std::move(address);
    adapter.mask = std::move(mask);
    adapter.gateway = std::move(gateway);
    return adapter;
}

std::uint32_t Quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return (a << 24) | (b << 16) | (c << 8) | d;
}

std::string Field(const platform::IpAddressText& text) {
    return std::string(text.text, BoundedLength(text.text, sizeof text.text));
}

bool AllZero(const platform::IpAddressText& text) {
    const platform::IpAddressText zero{};
    return std::memcmp(text.text, zero.text, sizeof zero.text) == 0;
}

class AdapterPanelTest : public testing::Test {
protected:
    // Platform order Zeta, Alpha, Mid; the list sorts them Alpha, Mid, Zeta.
    void AddThreeAdapters() {
        h.world.AddAdapter(
            Adapter("{Z}", "Zeta Ethernet", 0, "192.168.10.5", "255.255.255.0", "192.168.10.1"));
        h.world.AddAdapter(
            Adapter("{A}", "Alpha Wireless", 1, "10.0.0.7", "255.0.0.0", "10.0.0.1"));
        h.world.AddAdapter(Adapter("{M}", "Mid Virtual", 0, "172.16.3.4", "255.255.0.0", ""));
    }
    std::vector<std::u16string> Entries() {
        std::vector<std::u16string> texts;
        for (const auto& entry : h.dialog.item(id::kAdapterList).list) {
            texts.push_back(entry.text);
        }
        return texts;
    }
    struct Shown {
        bool automatic;
        bool fixed;
        std::uint32_t address, mask, gateway;
        bool addressesEnabled;
        bool operator==(const Shown&) const = default;
    };
    Shown Panel() {
        return {h.Checked(id::kAddressAutomatic),        h.Checked(id::kAddressFixed),
                h.dialog.IpAddress(id::kIpAddress),      h.dialog.IpAddress(id::kSubnetMask),
                h.dialog.IpAddress(id::kDefaultGateway), h.Enabled(id::kIpAddress)};
    }
    bool AdaptersPending() {
        return (ComputeChangeMask(ReadAdministratorChoice(h.dialog), h.state) & ChangeAdapters) !=
               0;
    }

    MainDialogHarness h;
};

TEST_F(AdapterPanelTest, EveryEntryShowsTheAdapterWhoseDescriptionItShows) {
    AddThreeAdapters();
    h.Open();
    EXPECT_EQ(Entries(),
              (std::vector<std::u16string>{u"Alpha Wireless", u"Mid Virtual", u"Zeta Ethernet"}));
    // Entry 0 is selected and shown at start.
    EXPECT_EQ(h.dialog.ListSelection(id::kAdapterList), 0);
    EXPECT_EQ(Panel(), (Shown{true, false, Quad(10, 0, 0, 7), Quad(255, 0, 0, 0), Quad(10, 0, 0, 1),
                              false}));

    const Shown expected[] = {
        {true, false, Quad(10, 0, 0, 7), Quad(255, 0, 0, 0), Quad(10, 0, 0, 1), false},
        {false, true, Quad(172, 16, 3, 4), Quad(255, 255, 0, 0), 0, true},
        {false, true, Quad(192, 168, 10, 5), Quad(255, 255, 255, 0), Quad(192, 168, 10, 1), true},
    };
    for (const int entry : {2, 1, 0, 2, 1}) {
        SCOPED_TRACE(entry);
        h.dialog.Choose(id::kAdapterList, entry);
        EXPECT_EQ(Panel(), expected[entry]);
        EXPECT_EQ(h.Enabled(id::kIpAddressLabel), !expected[entry].automatic);
        EXPECT_EQ(h.Enabled(id::kSubnetMaskLabel), !expected[entry].automatic);
        EXPECT_EQ(h.Enabled(id::kDefaultGatewayLabel), !expected[entry].automatic);
        EXPECT_TRUE(h.dialog.isBlank(id::kDefaultGateway) == (expected[entry].gateway == 0));
    }
    // Showing stores the controls back into the shown record while they
    // still hold parts of the previous adapter's addresses; what remains is
    // the shown text with nothing behind its terminator, so a record in the
    // form the controls give back stays as found.
    EXPECT_FALSE(AdaptersPending());
    EXPECT_TRUE(h.dialog.undeclaredItems().empty());
}

TEST_F(AdapterPanelTest, BothListsHoldEveryRecordInPlatformOrderWithoutSharedStorage) {
    AddThreeAdapters();
    h.Open();
    ASSERT_EQ(h.state.AdaptersAsEdited.size(), 3u);
    ASSERT_EQ(h.state.AdaptersAsFound.size(), 3u);
    const char* platformOrder[] = {"{Z}", "{A}", "{M}"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_STREQ(h.state.AdaptersAsFound[i].adapterName, platformOrder[i]);
        EXPECT_FALSE(AdapterRecordsDiffer(h.state.AdaptersAsEdited[i], h.state.AdaptersAsFound[i]));
    }
    EXPECT_NE(h.state.AdaptersAsEdited.data(), h.state.AdaptersAsFound.data());
    // The entries are bound to the records' positions.
    EXPECT_EQ(h.dialog.item(id::kAdapterList).list[0].data, 1u);
    EXPECT_EQ(h.dialog.item(id::kAdapterList).list[1].data, 2u);
    EXPECT_EQ(h.dialog.item(id::kAdapterList).list[2].data, 0u);
}

TEST_F(AdapterPanelTest, TwoAdaptersWithOneDescriptionKeepTheirOwnRecords) {
    h.world.AddAdapter(Adapter("{1}", "Same NIC", 0, "10.1.1.1", "255.0.0.0", "10.1.1.254"));
    h.world.AddAdapter(Adapter("{22}", "Same NIC", 0, "10.2.2.2", "255.0.0.0", "10.2.2.254"));
    h.Open();
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"Same NIC", u"Same NIC"}));
    std::vector<std::uint32_t> shown;
    for (const int entry : {0, 1}) {
        h.dialog.Choose(id::kAdapterList, entry);
        shown.push_back(h.dialog.IpAddress(id::kIpAddress));
    }
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{Quad(10, 1, 1, 1), Quad(10, 2, 2, 2)}));

    // An edit of one reaches its record only.
    h.dialog.Choose(id::kAdapterList, 1);
    const auto edited = h.dialog.ListItemData(id::kAdapterList, 1);
    h.dialog.TypeAddress(id::kIpAddress, {10, 9, 9, 9});
    EXPECT_EQ(Field(h.state.AdaptersAsEdited[edited].ipAddressList.ipAddress), "10.9.9.9");
    EXPECT_FALSE(AdapterRecordsDiffer(h.state.AdaptersAsEdited[1 - edited],
                                      h.state.AdaptersAsFound[1 - edited]));
}

TEST_F(AdapterPanelTest, EditsGoIntoTheSelectedRecordAndSurviveSwitching) {
    AddThreeAdapters();
    h.Open();
    AdapterRecord& zeta = h.state.AdaptersAsEdited[0];
    AdapterRecord& alpha = h.state.AdaptersAsEdited[1];

    // Zeta (entry 2) is fixed: a new address, a partly filled mask and a
    // cleared gateway.
    h.dialog.Choose(id::kAdapterList, 2);
    h.dialog.TypeAddress(id::kIpAddress, {192, 168, 10, 77});
    h.dialog.TypeAddress(id::kSubnetMask, {255, 255, -1, -1});
    h.dialog.TypeAddress(id::kDefaultGateway, {-1, -1, -1, -1});
    EXPECT_EQ(zeta.dhcpEnabled, 0u);
    EXPECT_EQ(Field(zeta.ipAddressList.ipAddress), "192.168.10.77");
    EXPECT_EQ(Field(zeta.ipAddressList.ipMask), "255.255.0.0");
    EXPECT_TRUE(AllZero(zeta.gatewayList.ipAddress));
    EXPECT_TRUE(AdaptersPending());
    EXPECT_TRUE(h.OkEnabled());

    // Automatic keeps the typed addresses, greyed; fixed again shows them.
    h.dialog.Click(id::kAddressAutomatic);
    EXPECT_EQ(zeta.dhcpEnabled, 1u);
    EXPECT_EQ(Field(zeta.ipAddressList.ipAddress), "192.168.10.77");
    EXPECT_FALSE(h.Enabled(id::kIpAddress));
    EXPECT_FALSE(h.Enabled(id::kDefaultGatewayLabel));
    h.dialog.Click(id::kAddressFixed);
    EXPECT_EQ(zeta.dhcpEnabled, 0u);
    EXPECT_TRUE(h.Enabled(id::kIpAddress));

    // Over to Alpha and back: Zeta's edits are where they were.
    h.dialog.Choose(id::kAdapterList, 0);
    EXPECT_EQ(h.dialog.IpAddress(id::kIpAddress), Quad(10, 0, 0, 7));
    EXPECT_FALSE(AdapterRecordsDiffer(alpha, h.state.AdaptersAsFound[1]));
    h.dialog.Choose(id::kAdapterList, 2);
    EXPECT_EQ(Panel(), (Shown{false, true, Quad(192, 168, 10, 77), Quad(255, 255, 0, 0), 0, true}));

    // Typing the found values back, also over a longer address, makes the
    // records equal again.
    h.dialog.TypeAddress(id::kIpAddress, {192, 168, 100, 123});
    h.dialog.TypeAddress(id::kIpAddress, {192, 168, 10, 5});
    h.dialog.TypeAddress(id::kSubnetMask, {255, 255, 255, 0});
    h.dialog.TypeAddress(id::kDefaultGateway, {192, 168, 10, 1});
    EXPECT_FALSE(AdaptersPending());
    // A shorter address typed over a longer one leaves no trace behind it.
    const char expected[16] = "192.168.10.5";
    EXPECT_EQ(std::memcmp(zeta.ipAddressList.ipAddress.text, expected, sizeof expected), 0);
    // The found list never changed.
    EXPECT_EQ(Field(h.state.AdaptersAsFound[0].ipAddressList.ipAddress), "192.168.10.5");
    EXPECT_EQ(Field(h.state.AdaptersAsFound[0].gatewayList.ipAddress), "192.168.10.1");
}

TEST_F(AdapterPanelTest, AGatewayOfFourZerosShowsBlankAndIsNoChangeWhenStoredBack) {
    // A fixed adapter without a gateway, reported as four zeros.
    h.world.AddAdapter(Adapter("{N}", "No Gateway", 0, "10.0.0.9", "255.0.0.0", "0.0.0.0"));
    h.Open();
    EXPECT_TRUE(h.dialog.isBlank(id::kDefaultGateway));
    // Showing the fixed adapter stores the controls back; the blank gateway
    // is the address the field already holds, so its bytes stay as found.
    EXPECT_EQ(Field(h.state.AdaptersAsEdited[0].gatewayList.ipAddress), "0.0.0.0");
    EXPECT_FALSE(AdaptersPending());
    // A gateway typed and then cleared again is stored as an empty text.
    h.dialog.TypeAddress(id::kDefaultGateway, {10, 0, 0, 1});
    EXPECT_TRUE(AdaptersPending());
    h.dialog.TypeAddress(id::kDefaultGateway, {0, 0, 0, 0});
    EXPECT_TRUE(AllZero(h.state.AdaptersAsEdited[0].gatewayList.ipAddress));
    EXPECT_TRUE(AdaptersPending());
}

TEST_F(AdapterPanelTest, TheSettingsFileDhcpValueSetsEveryEditedRecord) {
    struct DhcpCase {
        const char* line;
        std::uint32_t zeta, alpha; // DhcpEnabled of the edited records
        bool pending;
    };
    const DhcpCase cases[] = {
        {"", 0, 1, false},
        {"dhcp=-1\r\n", 0, 1, false},
        {"dhcp=1\r\n", 1, 1, true},
        {"dhcp=0\r\n", 0, 0, true},
        // Any other value is refused and counts as missing: nothing is
        // switched or released for it.
        {"dhcp=5\r\n", 0, 1, false},
        {"dhcp=yes\r\n", 0, 1, false},
    };
    for (const DhcpCase& c : cases) {
        SCOPED_TRACE(c.line);
        MainDialogHarness fresh;
        fresh.world.AddAdapter(
            Adapter("{Z}", "Zeta Ethernet", 0, "192.168.10.5", "255.255.255.0", "192.168.10.1"));
        fresh.world.AddAdapter(
            Adapter("{A}", "Alpha Wireless", 1, "10.0.0.7", "255.0.0.0", "10.0.0.1"));
        fresh.WriteSettings(u"[settings]\r\n" +
                            std::u16string(c.line, c.line + std::strlen(c.line)));
        fresh.Open();
        EXPECT_EQ(fresh.state.AdaptersAsEdited[0].dhcpEnabled, c.zeta);
        EXPECT_EQ(fresh.state.AdaptersAsEdited[1].dhcpEnabled, c.alpha);
        EXPECT_EQ(fresh.state.AdaptersAsFound[0].dhcpEnabled, 0u);
        EXPECT_EQ(fresh.state.AdaptersAsFound[1].dhcpEnabled, 1u);
        EXPECT_EQ((ComputeChangeMask(ReadAdministratorChoice(fresh.dialog), fresh.state) &
                   ChangeAdapters) != 0,
                  c.pending);
        // The addresses each adapter has now are shown in either mode.
        fresh.dialog.Choose(id::kAdapterList, 1);
        EXPECT_EQ(fresh.dialog.IpAddress(id::kIpAddress), Quad(192, 168, 10, 5));
        EXPECT_EQ(fresh.Enabled(id::kIpAddress), c.zeta == 0);
    }
}

TEST_F(AdapterPanelTest, WithoutAdapterInformationThePanelIsEmptyAndInert) {
    h.world.AddAdapter(Adapter("{Z}", "Zeta Ethernet", 0, "192.168.10.5", "255.255.255.0", ""));
    ASSERT_TRUE(h.world.InjectFailure("GetAdaptersInfo", error::kNotEnoughMemory));
    h.Open();
    EXPECT_TRUE(h.state.AdaptersAsEdited.empty());
    EXPECT_TRUE(h.state.AdaptersAsFound.empty());
    EXPECT_EQ(h.dialog.ListCount(id::kAdapterList), 0);
    EXPECT_FALSE(h.Checked(id::kAddressAutomatic));
    EXPECT_FALSE(h.Checked(id::kAddressFixed));
    // The controls keep their template state: enabled and blank.
    EXPECT_TRUE(h.Enabled(id::kIpAddress));
    EXPECT_TRUE(h.dialog.isBlank(id::kIpAddress));

    // Edits find no record.
    h.dialog.Click(id::kAddressFixed);
    h.dialog.TypeAddress(id::kIpAddress, {1, 2, 3, 4});
    h.dialog.Choose(id::kAdapterList, 0);
    EXPECT_TRUE(h.state.AdaptersAsEdited.empty());
    EXPECT_FALSE(AdaptersPending());
}

TEST_F(AdapterPanelTest, EntriesBoundToNoRecordAreIgnored) {
    AddThreeAdapters();
    h.Open();
    const std::vector<AdapterRecord> before = h.state.AdaptersAsEdited;
    h.dialog.item(id::kAdapterList).list[1].data = 7; // no such record
    h.dialog.Choose(id::kAdapterList, 1);
    h.dialog.Click(id::kAddressFixed);
    ShowAdapterSettings(h.state, h.dialog, platform::kNoListSelection);
    StoreAdapterSettings(h.state, h.dialog, 3);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_FALSE(AdapterRecordsDiffer(h.state.AdaptersAsEdited[i], before[i]));
    }
}

TEST_F(AdapterPanelTest, DescriptionsAreReadInTheSystemCodePage) {
    // 0x99 is the trade mark sign and 0xAE the registered sign in
    // Windows-1252.
    h.world.AddAdapter(Adapter("{W}", "Fast\x99 NIC\xAE", 0, "10.0.0.1", "255.0.0.0", ""));
    h.Open();
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"Fast\u2122 NIC\u00AE"}));
    // The range that differs from Latin-1, its undefined bytes kept as they are.
    EXPECT_EQ(Windows1252ToUtf16("\x7F\x80\x81\x9F\xA0\xFF"),
              (std::u16string{0x7F, 0x20AC, 0x81, 0x178, 0xA0, 0xFF}));
}

TEST_F(AdapterPanelTest, ReleasingGivesBackBothLists) {
    AddThreeAdapters();
    h.Open();
    ReleaseAdapterLists(h.state);
    EXPECT_TRUE(h.state.AdaptersAsEdited.empty());
    EXPECT_TRUE(h.state.AdaptersAsFound.empty());
    EXPECT_EQ(h.state.AdaptersAsEdited.capacity(), 0u);
    EXPECT_EQ(h.state.AdaptersAsFound.capacity(), 0u);
}

} // namespace
} // namespace corvane
