// One settings file for a whole fleet, run unattended on the sim: the
// sections for single machines, the inventory beside the file and how they
// combine with "settings", and the "ou" key, checked against the log line
// by line, the calls that changed the machine, and where the account ends.
#include "app/program.h"
#include "program_run.h"

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

using program_test::Ansi;
using program_test::ProgramInput;
using program_test::ProgramRun;

constexpr std::string_view kNow = "3/21/2009, 9:15:43 AM";

std::string Line(std::string_view level, std::int32_t code, std::string_view message) {
    return program_test::LogLine(level, code, kNow, message);
}

// WS-OLD with two adapters; SALES has the units the fleet goes to.
constexpr std::string_view kWorkstation = R"(
[workstation]
name WS-OLD
)";
constexpr std::string_view kAdaptersAndSales = R"(
[adapter {11111111-1111-1111-1111-111111111111}]
description "Wired"
mac 00-15-5D-01-02-03
dhcp 1
lease 10.0.0.5 255.255.255.0 10.0.0.1
address 10.0.0.5 255.255.255.0
[adapter {22222222-2222-2222-2222-222222222222}]
description "Wireless"
mac 00-15-5D-0A-0B-0C
dhcp 1
lease 192.168.1.41 255.255.255.0 192.168.1.1
address 192.168.1.41 255.255.255.0
[domain SALES sales.example.com]
credential SALES\installer s3cret
credential admin pa55
ou \Workstations\Berlin
ou \Workstations\Hamburg
)";

// The machine in a workgroup, with further workstation lines.
std::string InWorkgroup(std::string_view workstationLines = {}) {
    return std::string(kWorkstation) + "join workgroup WORKGROUP\n" +
           std::string(workstationLines) + std::string(kAdaptersAndSales);
}

// The machine already in SALES, its account in \Workstations\Hamburg.
std::string MemberOfSales() {
    return std::string(kWorkstation) + "join domain SALES\n" + std::string(kAdaptersAndSales) +
           "computer WS-OLD OU=Hamburg,OU=Workstations\n";
}

constexpr std::u16string_view kInventoryPath = u"C:\\Tools\\corvane.csv";

const std::string kNoDomain = Line("Info", 1355, "GetDomainDnsName: Status");

std::string SectionApplies(std::string_view section) {
    return Line("Info", 0,
                "ReadSettingsFile: Section [" + std::string(section) +
                    "] applies to this computer");
}

std::string RowApplies(int line) {
    return Line("Info", 0,
                "ReadSettingsFile: Inventory \"C:\\Tools\\corvane.csv\" line " +
                    std::to_string(line) + " applies to this computer");
}

struct FleetCase {
    const char* name;
    std::string settings;
    std::optional<std::string> inventory; // corvane.csv; none: no file
    std::vector<std::string> lines;
    std::optional<std::u16string> pendingName;
    std::u16string workgroup;
};

void PrintTo(const FleetCase& c, std::ostream* os) {
    *os << c.name;
}

class FleetSettings : public testing::TestWithParam<FleetCase> {};

TEST_P(FleetSettings, TheMachinesOwnValuesApplyKeyByKey) {
    const FleetCase& c = GetParam();
    ProgramInput input;
    std::string inventory;
    if (c.inventory) {
        // Its bytes as the scenario writes them, so that it lies there
        // before the run.
        inventory = "file C:\\Tools\\corvane.csv hex";
        for (const char byte : *c.inventory) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X",
                          static_cast<unsigned>(static_cast<unsigned char>(byte)));
            inventory += hex;
        }
        inventory += "\n";
    }
    input.scenario = InWorkgroup(inventory);
    input.settings = Ansi(c.settings);
    input.commandLine = u"/auto";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    sim::World& world = run.World();
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.LogLines(), c.lines);
    EXPECT_EQ(world.PendingComputerName(), c.pendingName);
    EXPECT_TRUE(sim::EqualsNoCase(world.GetJoinState().name, c.workgroup))
        << sim::Utf16ToUtf8(world.GetJoinState().name);
    // The program only reads what the share holds.
    EXPECT_EQ(world.FileBytes(run.SettingsPath()), Ansi(c.settings));
    if (c.inventory) {
        EXPECT_EQ(world.FileBytes(std::u16string(kInventoryPath)), Ansi(*c.inventory));
    }
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
    EXPECT_TRUE(run.PasswordWiped());
}

const std::string kRenamed = Line("Info", 1355, "GetDomainDnsName: Status");
const std::string kWorkgroupJoin = Line("Info", 2692, "SaveSettings: Workgroup: NetUnjoinDomain");

// Sections of other machines around the ones that name this one.
const std::string kOtherMachines = "[machine 00-15-5D-77-77-77]\r\ncomputer=WS-NOT-ME\r\n"
                                   "[machine WS-NEW]\r\ncomputer=WS-NOT-ME\r\n";

// `count` sections for other machines, by address.
std::string ManyOtherMachines(int count) {
    std::string sections;
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name,
                      "[machine 00-15-5D-77-%02X-%02X]\r\ncomputer=WS-NOT-ME\r\n",
                      static_cast<unsigned>(i / 256), static_cast<unsigned>(i % 256));
        sections += name;
    }
    return sections;
}

std::vector<FleetCase> FleetCases() {
    return {
        {"NoSectionForThisMachine",
         "[settings]\r\ncomputer=WS-DEFAULT\r\n" + kOtherMachines,
         std::nullopt,
         {kNoDomain},
         u"WS-DEFAULT",
         u"WORKGROUP"},
        // The second adapter's address, in the colon form and lower case.
        {"AnyAdaptersAddress",
         "[settings]\r\ncomputer=WS-DEFAULT\r\n" + kOtherMachines +
             "[machine 00:15:5d:0a:0b:0c]\r\ncomputer=WS-MAC\r\n",
         std::nullopt,
         {SectionApplies("machine 00:15:5d:0a:0b:0c"), kNoDomain},
         u"WS-MAC",
         u"WORKGROUP"},
        {"FirstMatchInFileOrder",
         "[machine ws-old]\r\ncomputer=WS-NAME\r\n[settings]\r\ncomputer=WS-DEFAULT\r\n"
         "[machine 00-15-5D-01-02-03]\r\ncomputer=WS-MAC\r\n",
         std::nullopt,
         {SectionApplies("machine ws-old"), kNoDomain},
         u"WS-NAME",
         u"WORKGROUP"},
        // Only the keys the section holds; an empty one too, which keeps
        // the computer's name here.
        {"KeyByKey",
         "[settings]\r\ncomputer=WS-DEFAULT\r\nworkgroup=LAB\r\n"
         "[machine 00-15-5D-01-02-03]\r\ncomputer=\r\n",
         std::nullopt,
         {SectionApplies("machine 00-15-5D-01-02-03"), kNoDomain, kWorkgroupJoin},
         std::nullopt,
         u"LAB"},
        // More section names than a first read of the list holds.
        {"ManySectionsBeforeThisMachines",
         "[settings]\r\ncomputer=WS-DEFAULT\r\n" + ManyOtherMachines(800) +
             "[machine 00-15-5D-0A-0B-0C]\r\ncomputer=WS-LAST\r\n",
         std::nullopt,
         {SectionApplies("machine 00-15-5D-0A-0B-0C"), kNoDomain},
         u"WS-LAST",
         u"WORKGROUP"},
        // A value too long for its key is cut as in "settings", in a
        // section as in a cell.
        {"LongValueInSection",
         "[machine WS-OLD]\r\ncomputer=WS-ABCDEFGHIJKLMNOP\r\n",
         std::nullopt,
         {SectionApplies("machine WS-OLD"), kNoDomain},
         u"WS-ABCDEFGHIJKL",
         u"WORKGROUP"},
        {"LongValueInRow",
         "[settings]\r\n",
         "machine,computer\r\nWS-OLD,WS-ABCDEFGHIJKLMNOP\r\n",
         {RowApplies(2), kNoDomain},
         u"WS-ABCDEFGHIJKL",
         u"WORKGROUP"},
        {"InventoryRow",
         "[settings]\r\ncomputer=WS-DEFAULT\r\nworkgroup=LAB\r\n",
         "machine,computer,workgroup\r\n00-15-5D-77-77-77,WS-NOT-ME,\r\n"
         "00-15-5d-0a-0b-0c,WS-CSV,\r\n",
         {RowApplies(3), kNoDomain, kWorkgroupJoin},
         u"WS-CSV",
         u"LAB"},
        // A section of the settings file over a row of the inventory over
        // "settings", key by key.
        {"SectionOverRowOverSettings",
         "[settings]\r\ncomputer=WS-DEFAULT\r\nworkgroup=LAB\r\n"
         "[machine WS-OLD]\r\nworkgroup=HR\r\n",
         "machine,workgroup,computer\r\nWS-OLD,FINANCE,WS-CSV\r\n",
         {SectionApplies("machine WS-OLD"), RowApplies(2), kNoDomain, kWorkgroupJoin},
         u"WS-CSV",
         u"HR"},
        // A malformed inventory applies nothing, not even "settings".
        {"MalformedInventory",
         "[settings]\r\ncomputer=WS-DEFAULT\r\nworkgroup=LAB\r\n[machine "
         "WS-OLD]\r\nworkgroup=HR\r\n",
         "machine,computer\r\nWS-OLD,WS-CSV\r\nWS-2,\"WS-\"3\r\n",
         {Line("Error", 13,
               "ReadSettingsFile: Inventory \"C:\\Tools\\corvane.csv\" refused at line 3: text "
               "after a closing quote; no setting of the settings file applies"),
          kNoDomain},
         std::nullopt,
         u"WORKGROUP"},
        {"InventoryWithUnknownColumn",
         "[settings]\r\ncomputer=WS-DEFAULT\r\n",
         "machine,name\r\nWS-OLD,WS-CSV\r\n",
         {Line("Error", 13,
               "ReadSettingsFile: Inventory \"C:\\Tools\\corvane.csv\" refused at line 1: the "
               "column \"name\" names no settings key; no setting of the settings file applies"),
          kNoDomain},
         std::nullopt,
         u"WORKGROUP"},
    };
}

INSTANTIATE_TEST_SUITE_P(FleetRollOut, FleetSettings, testing::ValuesIn(FleetCases()),
                         CaseName<FleetCase>);

// --- The OU, unattended and preselected -------------------------------------------

const std::u16string kBerlin = u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com";
const std::u16string kComputers = u"CN=Computers,DC=sales,DC=example,DC=com";

std::u16string AccountContainer(sim::World& world, std::u16string_view domainName,
                                std::u16string_view computer) {
    const sim::Domain* domain = world.FindDomain(domainName);
    const sim::ObjectId object = domain->FindComputer(computer);
    if (object == sim::kNoObject) {
        return u"(no account)";
    }
    return domain->Directory().DistinguishedName(domain->Directory().Parent(object));
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::size_t CountOf(const std::vector<std::string>& lines, std::string_view text) {
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
        return l.find(text) != std::string::npos;
    }));
}

struct UnitCase {
    const char* name;
    std::string machine;
    std::string settings;
    std::string actions; // empty: /auto
    std::vector<program_test::InjectedFailure> failures;
    std::string line; // the line the "ou" check writes
    std::u16string container;
    std::size_t moves;
    std::u16string domain = u"SALES"; // where the account is looked for
};

void PrintTo(const UnitCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsUnit : public testing::TestWithParam<UnitCase> {};

TEST_P(SettingsUnit, PlacesTheAccountOnlyInAJoinableUnit) {
    const UnitCase& c = GetParam();
    ProgramInput input;
    input.scenario = c.machine;
    input.settings = Ansi(c.settings);
    input.actions = c.actions;
    input.commandLine = c.actions.empty() ? u"/auto" : u"";
    input.failures = c.failures;
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    sim::World& world = run.World();
    const std::vector<std::string> lines = run.LogLines();
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_TRUE(Contains(lines, c.line)) << testing::PrintToString(lines);
    EXPECT_EQ(CountOf(lines, "Settings file ou") + CountOf(lines, "cannot be listed"), 1u)
        << testing::PrintToString(lines);
    EXPECT_EQ(world.JournalLines("MoveHere").size(), c.moves);
    EXPECT_EQ(AccountContainer(world, c.domain, world.ComputerName()), c.container);
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
}

constexpr std::string_view kJoinSales =
    "[settings]\r\ndomain=SALES\r\naccount=SALES\\installer\r\npassword=s3cret\r\n";

std::string JoinInto(std::string_view unit) {
    return std::string(kJoinSales) + "ou=" + std::string(unit) + "\r\n";
}

const std::string kJoinable =
    Line("Info", 0,
         "SaveSettings: Settings file ou \"\\workstations\\BERLIN\" is the joinable "
         "organization unit \"\\Workstations\\Berlin\"");

std::vector<UnitCase> UnitCases() {
    return {
        {"PathInAnyCase",
         InWorkgroup(),
         JoinInto("\\workstations\\BERLIN"),
         "",
         {},
         kJoinable,
         kBerlin,
         1},
        {"DistinguishedName",
         InWorkgroup(),
         JoinInto("OU=Berlin,OU=Workstations"),
         "",
         {},
         Line("Info", 0,
              "SaveSettings: Settings file ou \"OU=Berlin,OU=Workstations\" is the joinable "
              "organization unit \"\\Workstations\\Berlin\""),
         kBerlin,
         1},
        {"NoJoinableUnit",
         InWorkgroup(),
         JoinInto("\\Workstations\\Paris"),
         "",
         {},
         Line("Warning", 1168,
              "SaveSettings: Settings file ou \"\\Workstations\\Paris\" names no joinable "
              "organization unit of \"sales.example.com\"; the account is not moved"),
         kComputers,
         0},
        {"NotAUnit",
         InWorkgroup(),
         JoinInto("CN=Computers"),
         "",
         {},
         Line("Warning", 13,
              "SaveSettings: Settings file ou \"CN=Computers\" is neither an OU path nor a "
              "distinguished name of organization units; the account is not moved"),
         kComputers,
         0},
        // The units cannot be listed: the value is used as given.
        {"ListingFails",
         InWorkgroup(),
         JoinInto("\\Workstations\\Berlin"),
         "",
         {{"NetGetJoinableOUs", 1722, sim::kAlways}},
         Line("Warning", 1722,
              "SaveSettings: Joinable organization units of \"sales.example.com\" cannot be "
              "listed; settings file ou \"\\Workstations\\Berlin\" is used as given"),
         kBerlin,
         1},
        // A member's list is filled as the dialog opens: the unit is picked
        // from it, and the account moves from Hamburg.
        {"MemberMovesUnattended",
         MemberOfSales(),
         "[settings]\r\naccount=SALES\\installer\r\npassword=s3cret\r\nou="
         "\\workstations\\BERLIN\r\n",
         "",
         {},
         kJoinable,
         kBerlin,
         1},
        {"MemberInNoJoinableUnit",
         MemberOfSales(),
         "[settings]\r\naccount=SALES\\installer\r\npassword=s3cret\r\nou=\\Paris\r\n",
         "",
         {},
         Line("Warning", 1168,
              "SaveSettings: Settings file ou \"\\Paris\" names no joinable organization unit "
              "of \"sales.example.com\"; the account is not moved"),
         u"OU=Hamburg,OU=Workstations,DC=sales,DC=example,DC=com",
         0},
        // The list filled as the dialog opens holds SALES's units; the
        // file's unit is one of OTHER's, which the run lists itself.
        {"MemberMovesToAnotherDomain",
         MemberOfSales() + "[domain OTHER other.example.com]\n"
                           "credential admin pa55\n"
                           "ou \\Branches\\Paris\n",
         "[settings]\r\ndomain=OTHER\r\naccount=admin\r\npassword=pa55\r\nou=\\Branches\\Paris\r\n",
         "",
         {},
         Line("Info", 0,
              "SaveSettings: Settings file ou \"\\Branches\\Paris\" is the joinable "
              "organization unit \"\\Branches\\Paris\""),
         u"OU=Paris,OU=Branches,DC=other,DC=example,DC=com",
         1,
         u"OTHER"},
        // Interactive: the list, dropped down, shows the file's unit
        // selected, and OK takes it.
        {"PreselectedInTheDialog",
         InWorkgroup(),
         JoinInto("\\workstations\\BERLIN"),
         "dialog 101\n  dropdown 1034\n  press 1\n",
         {},
         kJoinable,
         kBerlin,
         1},
    };
}

INSTANTIATE_TEST_SUITE_P(FleetRollOut, SettingsUnit, testing::ValuesIn(UnitCases()),
                         CaseName<UnitCase>);

} // namespace
} // namespace corvane
