#include "ui/machine_inventory.h"
#include "ui/machine_sections.h"
#include "ui/organization_unit_setting.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Test names from the cases' own.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

using Bytes = std::vector<std::uint8_t>;

std::optional<Bytes> AddressOf(std::u16string_view text) {
    HardwareAddress address;
    if (!ParseHardwareAddress(text, address)) {
        return std::nullopt;
    }
    return Bytes(address.bytes.begin(), address.bytes.begin() + static_cast<long>(address.length));
}

TEST(HardwareAddress, ReadsTheDashAndTheColonFormInAnyCase) {
    const Bytes expected = {0x00, 0x15, 0x5D, 0x01, 0x0A, 0xFF};
    EXPECT_EQ(AddressOf(u"00-15-5D-01-0A-FF"), expected);
    EXPECT_EQ(AddressOf(u"00:15:5d:01:0a:ff"), expected);
    for (const std::u16string_view text :
         {u"00-15-5D:01-0A-FF", u"0015.5D01.0AFF", u"00-15-5D-01-0A-F", u"00-15-5D-01-0A-FG",
          u"00--15", u"WS-0815", u"", u"0-15-5D-01-0A-FF", u"00-01-02-03-04-05-06-07-08"}) {
        EXPECT_EQ(AddressOf(text), std::nullopt) << std::string(text.begin(), text.end());
    }
}

AdapterRecord AdapterWithAddress(const Bytes& address) {
    AdapterRecord adapter{};
    adapter.addressLength = static_cast<std::uint32_t>(address.size());
    std::copy(address.begin(), address.end(), adapter.address);
    return adapter;
}

// WS-OLD with two adapters.
MachineIdentity TheMachine() {
    MachineIdentity machine;
    machine.computerName = u"WS-OLD";
    machine.adapters = {AdapterWithAddress({0x00, 0x15, 0x5D, 0x01, 0x02, 0x03}),
                        AdapterWithAddress({0x00, 0x15, 0x5D, 0x0A, 0x0B, 0x0C})};
    return machine;
}

TEST(MachineNames, MatchAnAdapterAddressOrTheComputerName) {
    MachineIdentity machine = TheMachine();
    EXPECT_TRUE(NamesMachine(u"00-15-5d-0a-0b-0c", machine));
    EXPECT_TRUE(NamesMachine(u" 00:15:5D:01:02:03 ", machine));
    EXPECT_TRUE(NamesMachine(u"ws-old", machine));
    EXPECT_FALSE(NamesMachine(u"00-15-5D-01-02-04", machine));
    // The same bytes as the start of a longer address are another address.
    EXPECT_FALSE(NamesMachine(u"00-15-5D-01-02", machine));
    EXPECT_FALSE(NamesMachine(u"WS-OLDER", machine));
    EXPECT_FALSE(NamesMachine(u"", machine));
    // A machine whose name could not be read is named by no empty ID.
    machine.computerName.clear();
    EXPECT_FALSE(NamesMachine(u" ", machine));

    EXPECT_EQ(MachineSectionId(u"machine 00-15-5D-01-02-03"), u"00-15-5D-01-02-03");
    EXPECT_EQ(MachineSectionId(u"MACHINE   WS-OLD "), u"WS-OLD");
    EXPECT_EQ(MachineSectionId(u"machines WS-OLD"), u"");
    EXPECT_EQ(MachineSectionId(u"machine"), u"");
    EXPECT_EQ(MachineSectionId(u"settings"), u"");
}

Bytes Utf8(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

struct InventoryCase {
    const char* name;
    Bytes bytes;
    MachineInventory::Outcome outcome;
    std::uint32_t line; // the row's line, or the fault's
    std::vector<std::pair<std::u16string, std::u16string>> values;
};

class InventoryRows : public testing::TestWithParam<InventoryCase> {};

TEST_P(InventoryRows, FindTheMachinesRowOrRefuseTheFile) {
    const InventoryCase& c = GetParam();
    const MachineInventory inventory = FindInventoryRow(c.bytes, TheMachine());
    EXPECT_EQ(inventory.outcome, c.outcome);
    if (c.outcome == MachineInventory::Outcome::Malformed) {
        EXPECT_EQ(inventory.faultLine, c.line);
        EXPECT_FALSE(inventory.fault.empty());
    } else {
        EXPECT_EQ(inventory.line, c.line);
    }
    for (const auto& [key, value] : c.values) {
        const std::u16string* cell = inventory.Find(key);
        ASSERT_NE(cell, nullptr) << std::string(key.begin(), key.end());
        EXPECT_EQ(*cell, value);
    }
    // Keys the case gives no value have none, "machine" among them.
    for (const std::u16string_view key :
         {u"computer", u"workgroup", u"domain", u"ou", u"machine"}) {
        const bool given = std::any_of(c.values.begin(), c.values.end(),
                                       [&](const auto& entry) { return entry.first == key; });
        EXPECT_EQ(inventory.Find(key) != nullptr, given) << std::string(key.begin(), key.end());
    }
}

using Outcome = MachineInventory::Outcome;

std::vector<InventoryCase> InventoryCases() {
    return {
        {"RowByAddress",
         Utf8("machine,computer,domain\r\n00-15-5D-99-99-99,WS-1,SALES\r\n"
              "00:15:5d:01:02:03,WS-2,SALES\r\n"),
         Outcome::Row,
         3,
         {{u"computer", u"WS-2"}, {u"domain", u"SALES"}}},
        // First row in file order; header names in any case and order;
        // empty cells give nothing; blanks around values go.
        {"FirstRowWinsEmptyCellsGiveNothing",
         Utf8("Computer, MACHINE ,ou\r\n WS-9 ,ws-old,\r\nWS-8,WS-OLD,\\X\r\n"),
         Outcome::Row,
         2,
         {{u"computer", u"WS-9"}}},
        {"NoRow", Utf8("machine,computer\r\nWS-OTHER,WS-1\r\n"), Outcome::NoRow, 0, {}},
        {"Utf16WithMark",
         Bytes{0xFF, 0xFE, 'm', 0, 'a', 0, 'c', 0, 'h',  0, 'i',  0, 'n',  0,
               'e',  0,    ',', 0, 'o', 0, 'u', 0, '\n', 0, 'W',  0, 'S',  0,
               '-',  0,    'O', 0, 'L', 0, 'D', 0, ',',  0, 0xDC, 0, '\n', 0},
         Outcome::Row,
         2,
         {{u"ou", u"\u00DC"}}},
        {"Utf8WithMark",
         Utf8("\xEF\xBB\xBFmachine,ou\nWS-OLD,M\xC3\xBCnchen\n"),
         Outcome::Row,
         2,
         {{u"ou", u"M\u00FCnchen"}}},
        // A broken row after this machine's still refuses the file.
        {"ShortRowAfterTheMachinesRow",
         Utf8("machine,computer\r\nWS-OLD,WS-1\r\nWS-2\r\n"),
         Outcome::Malformed,
         3,
         {}},
        {"LongRow", Utf8("machine,computer\r\nWS-OLD,WS-1,x\r\n"), Outcome::Malformed, 2, {}},
        {"NoMachineColumn", Utf8("computer\r\nWS-1\r\n"), Outcome::Malformed, 1, {}},
        {"UnknownColumn", Utf8("machine,computr\r\nWS-OLD,WS-1\r\n"), Outcome::Malformed, 1, {}},
        {"RepeatedColumn", Utf8("machine,ou,OU\r\nWS-OLD,a,b\r\n"), Outcome::Malformed, 1, {}},
        {"Empty", Utf8(""), Outcome::Malformed, 1, {}},
        {"BadQuoting", Utf8("machine,ou\r\nWS-OLD,\"a\r\n"), Outcome::Malformed, 2, {}},
        // Windows-1252 text without a mark is not UTF-8: refused, not guessed.
        {"NotUtf8", Utf8("machine,ou\r\nWS-OLD,M\xFCnchen\r\n"), Outcome::Malformed, 2, {}},
        {"OverlongUtf8", Utf8("machine,ou\r\nWS-OLD,\xC0\xAF\r\n"), Outcome::Malformed, 2, {}},
        {"CutUtf8", Utf8("machine,ou\r\nWS-OLD,\xE2\x82"), Outcome::Malformed, 2, {}},
    };
}

INSTANTIATE_TEST_SUITE_P(Inventory, InventoryRows, testing::ValuesIn(InventoryCases()),
                         CaseName<InventoryCase>);

TEST(InventoryPath, LiesBesideTheSettingsFile) {
    EXPECT_EQ(InventoryPath(u"\\\\deploy\\setup\\corvane.ini"), u"\\\\deploy\\setup\\corvane.csv");
    EXPECT_EQ(InventoryPath(u"C:\\Tools\\other.ini"), u"C:\\Tools\\corvane.csv");
}

TEST(OrganizationUnitValues, StandForTheirOuPath) {
    const std::pair<std::u16string_view, std::optional<std::u16string>> cases[] = {
        {u"\\Workstations\\Berlin", u"\\Workstations\\Berlin"},
        {u"Workstations\\Berlin\\", u"\\Workstations\\Berlin"},
        {u" \\Servers ", u"\\Servers"},
        {u"OU=Berlin,OU=Workstations", u"\\Workstations\\Berlin"},
        {u"ou=Berlin, OU=Workstations,DC=sales,DC=example,DC=com", u"\\Workstations\\Berlin"},
        {u"OU=Sales\\, Berlin,OU=Workstations", u"\\Workstations\\Sales, Berlin"},
        {u"CN=Computers", std::nullopt},
        {u"OU=,OU=Workstations", std::nullopt},
        {u"Berlin,OU=Workstations", std::nullopt},
        {u"\\Workstations\\\\Berlin", std::nullopt},
        {u"\\", std::nullopt},
    };
    for (const auto& [value, path] : cases) {
        EXPECT_EQ(OrganizationUnitPathOf(value), path) << std::string(value.begin(), value.end());
    }
    EXPECT_TRUE(
        SameOrganizationUnit(u"\\Workstations\\M\u00FCnchen", u"\\WORKSTATIONS\\M\u00DCNCHEN"));
    EXPECT_FALSE(SameOrganizationUnit(u"\\Workstations", u"\\Workstation"));
}

} // namespace
} // namespace corvane
