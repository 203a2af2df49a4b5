#include "app/start_with_windows.h"
#include "apply/change_detection.h"
#include "support/text_format.h"
#include "ui/main_dialog.h"
#include "ui/main_dialog_harness.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using testing_support::kMachineName;
using testing_support::kRunKey;
using testing_support::MainDialogHarness;
namespace id = ui::main_dialog;
namespace error = platform::error;
using platform::JoinStatus;

constexpr std::u16string_view kDefaultHeader =
    u"Changing settings like Computer name, Domain-/Workgroup membership and IP settings for all "
    u"network connections.";

// Domain SALES (sales.example.com) with OU=Sales and OU=Berlin below it,
// accepting the administrator's own logon.
sim::Domain& AddSalesDomain(sim::World& world) {
    sim::Domain& domain = world.AddDomain(u"SALES", u"sales.example.com");
    domain.SetAcceptsOwnLogon(true);
    const std::u16string path[] = {u"Sales", u"Berlin"};
    domain.Directory().EnsureOrganizationalUnits(path);
    return domain;
}

// This computer as a member of SALES, its account in OU=Sales.
void JoinSales(sim::World& world) {
    sim::Domain& domain = AddSalesDomain(world);
    domain.AddComputer(kMachineName, u"OU=Sales");
    world.SetJoinState(JoinStatus::Domain, u"SALES");
}

void AddAdapter(sim::World& world) {
    sim::AdapterConfig adapter;
    adapter.name = "{4D36E972}";
    adapter.description = "Intel(R) PRO/1000 MT Network Connection";
    adapter.index = 2;
    adapter.address = "192.168.1.20";
    adapter.mask = "255.255.255.0";
    adapter.gateway = "192.168.1.1";
    world.AddAdapter(adapter);
}

std::vector<std::u16string> Entries(MainDialogHarness& h, int list) {
    std::vector<std::u16string> texts;
    for (const auto& entry : h.dialog.item(list).list) {
        texts.push_back(entry.text);
    }
    return texts;
}

std::size_t Calls(MainDialogHarness& h, std::string_view operation) {
    return h.world.JournalLines(operation).size();
}

// The first text argument of every call of the operation.
std::vector<std::string> Subjects(MainDialogHarness& h, std::string_view operation) {
    std::vector<std::string> subjects;
    for (const sim::JournalEntry& entry : h.world.Journal()) {
        if (entry.operation == operation && !entry.arguments.empty()) {
            subjects.push_back(entry.arguments[0]);
        }
    }
    return subjects;
}

// --- Initialisation ------------------------------------------------------------

struct Shown {
    std::u16string caption, header, computer, domain, workgroup;
    bool domainTicked, workgroupTicked;
    bool domainEnabled, workgroupEnabled, unitsEnabled;
    bool ok;
    bool operator==(const Shown&) const = default;
};

Shown ShownBy(MainDialogHarness& h) {
    return {h.dialog.caption(),
            h.Text(id::kHeaderText),
            h.Text(id::kComputerName),
            h.Text(id::kDomain),
            h.Text(id::kWorkgroup),
            h.Checked(id::kMemberOfDomain),
            h.Checked(id::kMemberOfWorkgroup),
            h.Enabled(id::kDomain),
            h.Enabled(id::kWorkgroup),
            h.Enabled(id::kOrganizationUnitList),
            h.OkEnabled()};
}

struct FileCase {
    const char* name;
    std::u16string file; // empty: no settings file
    std::function<void(sim::World&)> machine;
    Shown shown;
};

std::vector<FileCase> FileCases() {
    const auto workgroupMachine = [](sim::World&) {};
    const std::u16string name(kMachineName);
    return {
        {"no file on a workgroup computer",
         u"",
         workgroupMachine,
         {u"Network settings", std::u16string(kDefaultHeader), name, u"", u"WORKGROUP", false, true,
          false, true, false, false}},
        {"caption, header and computer name",
         u"[general]\r\ntitle=Workstation set-up\r\nheader=Please check the network settings of "
         u"this workstation.\r\n[settings]\r\ncomputer=WS-0815\r\n",
         workgroupMachine,
         {u"Workstation set-up", u"Please check the network settings of this workstation.",
          u"WS-0815", u"", u"WORKGROUP", false, true, false, true, false, true}},
        {"an empty title leaves the caption empty",
         u"[general]\r\ntitle=\r\n",
         workgroupMachine,
         {u"", std::u16string(kDefaultHeader), name, u"", u"WORKGROUP", false, true, false, true,
          false, false}},
        {"a computer name of 16 characters is cut to 15",
         u"[settings]\r\ncomputer=ABCDEFGHIJKLMNOP\r\n",
         workgroupMachine,
         {u"Network settings", std::u16string(kDefaultHeader), u"ABCDEFGHIJKLMNO", u"",
          u"WORKGROUP", false, true, false, true, false, true}},
        {"a domain and a workgroup: the domain wins, the workgroup is not shown",
         u"[settings]\r\ndomain=SALES\r\nworkgroup=TEAM\r\n",
         workgroupMachine,
         {u"Network settings", std::u16string(kDefaultHeader), name, u"SALES", u"WORKGROUP", true,
          false, true, false, true, true}},
        {"another workgroup",
         u"[settings]\r\nworkgroup=TEAM\r\n",
         workgroupMachine,
         {u"Network settings", std::u16string(kDefaultHeader), name, u"", u"TEAM", false, true,
          false, true, false, true}},
        {"a domain member without a file",
         u"",
         JoinSales,
         {u"Network settings", std::u16string(kDefaultHeader), name, u"sales.example.com", u"",
          true, false, true, false, true, false}},
        {"a domain member with a file naming only a workgroup",
         u"[settings]\r\nworkgroup=TEAM\r\n",
         JoinSales,
         {u"Network settings", std::u16string(kDefaultHeader), name, u"sales.example.com", u"TEAM",
          false, true, false, true, false, true}},
        {"an unjoined computer: neither option, OK for the membership change",
         u"",
         [](sim::World& world) { world.SetJoinState(JoinStatus::Unjoined, u""); },
         {u"Network settings", std::u16string(kDefaultHeader), name, u"", u"", false, false, true,
          true, false, true}},
    };
}

void Prepare(MainDialogHarness& h, const FileCase& c) {
    c.machine(h.world);
    if (!c.file.empty()) {
        h.WriteSettings(c.file);
    }
}

TEST(MainDialogInitTest, ShowsTheSettingsFileOverTheMachine) {
    for (const FileCase& c : FileCases()) {
        SCOPED_TRACE(c.name);
        MainDialogHarness h;
        Prepare(h, c);
        h.Open();
        EXPECT_EQ(ShownBy(h), c.shown);
        EXPECT_TRUE(h.state.DialogInitialised);
        EXPECT_EQ(h.dialog.endResult(), 0);
        EXPECT_EQ(h.world.OutstandingNetApiBuffers(), 0u);
        EXPECT_TRUE(h.dialog.undeclaredItems().empty());
    }
}

TEST(MainDialogInitTest, OkStateIsRightAlsoWhereProgrammaticChangesDoNotNotify) {
    for (const FileCase& c : FileCases()) {
        SCOPED_TRACE(c.name);
        MainDialogHarness h;
        Prepare(h, c);
        // The logic hears nothing while it initialises, nor while it looks
        // the domain up after the first paint.
        h.logic.OnInitDialog(h.dialog, 0);
        h.opened = true;
        h.RunLookUpTimer();
        EXPECT_EQ(h.OkEnabled(), c.shown.ok);
        EXPECT_EQ(h.Text(id::kDomain), c.shown.domain);
        EXPECT_EQ(h.Text(id::kWorkgroup), c.shown.workgroup);
    }
}

TEST(MainDialogInitTest, FillsTheSetupStateFromFileAndMachine) {
    MainDialogHarness h;
    JoinSales(h.world);
    h.world.FindDomain(u"SALES")->AddCredential(u"installer@SALES", u"secret");
    h.WriteSettings(u"[settings]\r\naccount=SALES\\installer\r\npassword=secret\r\n"
                    u"computer=WS-0815\r\ndomain=OTHER\r\n");
    h.Open();
    EXPECT_EQ(h.state.Account.view(), u"installer@SALES");
    EXPECT_EQ(h.state.Password.view(), u"secret");
    EXPECT_EQ(h.state.CurrentComputerName.view(), kMachineName);
    EXPECT_EQ(h.state.DesiredComputerName.view(), u"WS-0815");
    EXPECT_EQ(h.state.JoinStatusAtStart, JoinStatus::Domain);
    // The joined name is replaced by its DNS name.
    EXPECT_EQ(h.state.CurrentDomain.view(), u"sales.example.com");
    EXPECT_EQ(h.state.DesiredDomain.view(), u"OTHER");
    EXPECT_TRUE(h.state.CurrentWorkgroup.empty());
    EXPECT_EQ(h.state.CurrentOrganizationUnit.view(), u"\\Sales");
    EXPECT_EQ(h.state.DesiredOrganizationUnit.view(), u"\\Sales");
    // The list still holds the current domain's units, with the account's
    // unit selected.
    EXPECT_EQ(Entries(h, id::kOrganizationUnitList),
              (std::vector<std::u16string>{u"", u"\\Sales", u"\\Sales\\Berlin"}));
    EXPECT_EQ(h.dialog.ListSelection(id::kOrganizationUnitList), 1);
    EXPECT_EQ(h.state.OrganizationUnitListLoaded.load(), 1);
    EXPECT_EQ(Subjects(h, "NetGetJoinableOUs"), (std::vector<std::string>{"sales.example.com"}));
}

// The address controls start blank: each is written at most once, with the
// adapter's own address, and a blank one is left alone.
TEST(MainDialogInitTest, TheAddressControlsAreWrittenOnceAtStart) {
    struct Case {
        const char* name;
        std::string address, mask, gateway;
        std::size_t notifications; // four per control written
        std::uint32_t shownAddress;
    };
    const Case cases[] = {
        {"an adapter with its addresses", "192.168.1.20", "255.255.255.0", "192.168.1.1", 12,
         0xC0A80114},
        {"an adapter without a gateway", "192.168.1.20", "255.255.255.0", "0.0.0.0", 8, 0xC0A80114},
        {"an adapter without addresses", "0.0.0.0", "0.0.0.0", "0.0.0.0", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainDialogHarness h;
        sim::AdapterConfig adapter;
        adapter.name = "{4D36E972}";
        adapter.description = "Intel(R) PRO/1000 MT Network Connection";
        adapter.address = c.address;
        adapter.mask = c.mask;
        adapter.gateway = c.gateway;
        h.world.AddAdapter(adapter);
        h.Open();
        std::size_t fromAddressControls = 0;
        for (const auto& notification : h.dialog.notifications()) {
            const int item = notification.first;
            if (item == id::kIpAddress || item == id::kSubnetMask || item == id::kDefaultGateway) {
                ++fromAddressControls;
            }
        }
        EXPECT_EQ(fromAddressControls, c.notifications);
        EXPECT_EQ(h.dialog.IpAddress(id::kIpAddress), c.shownAddress);
    }
}

TEST(MainDialogInitTest, KeepsTheTypingLimitsAndTheStartWithWindowsChoice) {
    for (const bool registered : {false, true}) {
        SCOPED_TRACE(registered);
        MainDialogHarness h;
        if (registered) {
            h.world.SetRegistryString(platform::RegistryRoot::LocalMachine, kRunKey, u"quendle",
                                      u"\"C:\\Tools\\corvane.exe\"");
        }
        h.Open();
        EXPECT_EQ(h.Checked(id::kStartWithWindows), registered);
        EXPECT_EQ(h.state.StartWithWindowsAtStart, registered);
        EXPECT_EQ(h.state.StartWithWindowsChosen, registered);
        EXPECT_EQ(h.dialog.item(id::kComputerName).limit, 15);
        EXPECT_EQ(h.dialog.item(id::kWorkgroup).limit, 15);
        EXPECT_EQ(h.dialog.item(id::kDomain).limit, 64);
        EXPECT_FALSE(h.OkEnabled()); // the hidden check box agrees with the registry
    }
}

TEST(MainDialogInitTest, FailedMachineLookUpsLeaveTheirValuesEmpty) {
    MainDialogHarness h;
    JoinSales(h.world);
    ASSERT_TRUE(h.world.InjectFailure("NetGetJoinInformation", error::kAccessDenied));
    ASSERT_TRUE(h.world.InjectFailure("GetComputerName", error::kAccessDenied));
    h.Open();
    EXPECT_EQ(h.state.JoinStatusAtStart, JoinStatus::Unknown);
    EXPECT_TRUE(h.state.CurrentDomain.empty());
    EXPECT_TRUE(h.state.CurrentComputerName.empty());
    EXPECT_FALSE(h.Checked(id::kMemberOfDomain));
    EXPECT_FALSE(h.Checked(id::kMemberOfWorkgroup));
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 0u);
    // Nothing but the empty computer name field differs from the (empty)
    // current values.
    EXPECT_FALSE(h.OkEnabled());

    // A settings file can still choose a membership.
    MainDialogHarness withFile;
    ASSERT_TRUE(withFile.world.InjectFailure("NetGetJoinInformation", error::kAccessDenied));
    withFile.WriteSettings(u"[settings]\r\nworkgroup=TEAM\r\n");
    withFile.Open();
    EXPECT_TRUE(withFile.Checked(id::kMemberOfWorkgroup));
    EXPECT_EQ(withFile.Text(id::kWorkgroup), u"TEAM");
    EXPECT_TRUE(withFile.OkEnabled());
}

TEST(MainDialogInitTest, AFailedUnitListingLeavesTheUnitsEmpty) {
    MainDialogHarness h;
    JoinSales(h.world);
    ASSERT_TRUE(h.world.InjectFailure("NetGetJoinableOUs", error::kNoSuchDomain));
    h.Open();
    EXPECT_EQ(h.dialog.ListCount(id::kOrganizationUnitList), 0);
    EXPECT_TRUE(h.state.CurrentOrganizationUnit.empty());
    EXPECT_TRUE(h.state.DesiredOrganizationUnit.empty());
    EXPECT_EQ(h.state.OrganizationUnitListLoaded.load(), 0);
    EXPECT_FALSE(h.OkEnabled());
}

// --- Look-ups after the first paint ---------------------------------------------

constexpr std::u16string_view kLog = u"C:\\Tools\\corvane.log";

std::vector<std::uint8_t> Utf16Le(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::vector<std::uint8_t> LogBytes(MainDialogHarness& h) {
    h.state.Log.Close();
    return h.world.FileBytes(kLog).value_or(std::vector<std::uint8_t>{});
}

// The member's two DNS look-ups of its domain: the joined name's, then the
// list fill's.
std::u16string InitialLookUpLines() {
    const std::u16string line =
        FormatText(u"Info(%08d): 3/21/2009, 9:15:43 AM - GetDomainDnsName: Status\r\n", 0);
    return line + line;
}

// A domain member on a network that takes seconds to answer: the dialog is
// painted before anything asks the network, with the OU list waiting
// disabled and OK as it will be once the list is loaded; the look-ups then
// run and leave the dialog and the log as an initialisation that waited for
// them would have.
TEST(MainDialogLookUpTest, ADomainMemberIsShownBeforeTheNetworkAnswers) {
    constexpr auto kSlow = std::chrono::milliseconds(1000);
    MainDialogHarness h;
    JoinSales(h.world);
    AddAdapter(h.world);
    h.state.Log.Open(h.os, kLog);
    h.world.InjectDelay("DsGetDcName", kSlow);
    h.world.InjectDelay("NetGetJoinableOUs", kSlow);

    const auto start = std::chrono::steady_clock::now();
    h.OpenUntilPainted();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kSlow);
    EXPECT_EQ(Calls(h, "DsGetDcName"), 0u);
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 0u);
    EXPECT_TRUE(h.Checked(id::kMemberOfDomain));
    EXPECT_EQ(h.Text(id::kDomain), u"SALES");
    EXPECT_FALSE(h.Enabled(id::kOrganizationUnitList));
    EXPECT_EQ(h.dialog.ListCount(id::kOrganizationUnitList), 0);
    EXPECT_FALSE(h.OkEnabled());
    EXPECT_FALSE(h.state.DialogInitialised);
    // The waiting list cannot drop down.
    h.dialog.DropDown(id::kOrganizationUnitList);
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 0u);

    h.RunLookUpTimer();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * kSlow);
    EXPECT_TRUE(h.dialog.timers().empty());
    EXPECT_EQ(h.Text(id::kDomain), u"sales.example.com");
    EXPECT_EQ(h.state.CurrentDomain.view(), u"sales.example.com");
    EXPECT_TRUE(h.Enabled(id::kOrganizationUnitList));
    EXPECT_EQ(Entries(h, id::kOrganizationUnitList),
              (std::vector<std::u16string>{u"", u"\\Sales", u"\\Sales\\Berlin"}));
    EXPECT_EQ(h.dialog.ListSelection(id::kOrganizationUnitList), 1);
    EXPECT_EQ(h.state.CurrentOrganizationUnit.view(), u"\\Sales");
    EXPECT_FALSE(h.OkEnabled());
    EXPECT_TRUE(h.state.DialogInitialised);
    EXPECT_EQ(h.dialogs.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(LogBytes(h), Utf16Le(InitialLookUpLines()));
}

// What the user does in the moment between the first paint and the
// look-ups is kept: the membership chosen, a domain typed or from the file,
// and an OK that runs the look-ups first so that the log keeps its order.
TEST(MainDialogLookUpTest, WhatHappensBeforeTheLookUpsIsKept) {
    struct Case {
        const char* name;
        std::u16string file;
        std::function<void(MainDialogHarness&)> act;
        std::u16string domainShown;
        bool listEnabled;
    };
    const Case cases[] = {
        {"nothing", u"", [](MainDialogHarness&) {}, u"sales.example.com", true},
        {"the workgroup option clicked", u"",
         [](MainDialogHarness& h) {
             h.dialog.Click(id::kMemberOfWorkgroup);
             h.dialog.Click(id::kMemberOfDomain);
             h.dialog.Click(id::kMemberOfWorkgroup);
         },
         u"sales.example.com", false},
        {"the domain option clicked again", u"",
         [](MainDialogHarness& h) { h.dialog.Click(id::kMemberOfDomain); }, u"sales.example.com",
         true},
        {"another domain typed", u"",
         [](MainDialogHarness& h) { h.dialog.Type(id::kDomain, u"OTHER"); }, u"OTHER", true},
        {"a domain from the settings file", u"[settings]\r\ndomain=SALES\r\n",
         [](MainDialogHarness&) {}, u"SALES", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MainDialogHarness h;
        JoinSales(h.world);
        if (!c.file.empty()) {
            h.WriteSettings(c.file);
        }
        h.OpenUntilPainted();
        c.act(h);
        EXPECT_FALSE(h.Enabled(id::kOrganizationUnitList)); // still waiting
        h.RunLookUpTimer();
        EXPECT_EQ(h.Text(id::kDomain), c.domainShown);
        EXPECT_EQ(h.Enabled(id::kOrganizationUnitList), c.listEnabled);
        EXPECT_EQ(h.dialog.ListCount(id::kOrganizationUnitList), 3);
        EXPECT_EQ(h.state.OrganizationUnitListLoaded.load(), 1);
        EXPECT_EQ(Subjects(h, "NetGetJoinableOUs"),
                  (std::vector<std::string>{"sales.example.com"}));
    }

    MainDialogHarness h;
    JoinSales(h.world);
    h.state.Log.Open(h.os, kLog);
    h.OpenUntilPainted();
    h.dialog.Type(id::kComputerName, u"WS-0815");
    h.dialog.Click(ui::kItemOk);
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 1u);
    const std::vector<std::uint8_t> log = LogBytes(h);
    const std::vector<std::uint8_t> first = Utf16Le(InitialLookUpLines());
    ASSERT_GT(log.size(), first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), log.begin()));
}

// Unattended, the look-ups stay inside the initialisation, before the run.
TEST(MainDialogLookUpTest, AutoModeLooksUpBeforeItsRun) {
    MainDialogHarness h;
    JoinSales(h.world);
    h.state.AutoMode = true;
    h.WriteSettings(u"[settings]\r\ncomputer=WS-0815\r\n");
    std::size_t listingsBeforeRun = 0;
    h.dialogs.onProgress = [&] { listingsBeforeRun = Calls(h, "NetGetJoinableOUs"); };
    h.OpenUntilPainted();
    EXPECT_EQ(listingsBeforeRun, 1u);
    EXPECT_TRUE(h.dialog.timers().empty());
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
}

// --- Editing -------------------------------------------------------------------

TEST(MainDialogEditTest, OkFollowsPendingChangesAndValidity) {
    MainDialogHarness h;
    AddAdapter(h.world);
    h.Open();
    const std::u16string name(kMachineName);
    std::u16string lowerName = name;
    for (char16_t& c : lowerName) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    struct Step {
        const char* name;
        std::function<void()> act;
        bool ok;
    };
    auto& d = h.dialog;
    const Step steps[] = {
        {"a new computer name", [&] { d.Type(id::kComputerName, u"NEWPC"); }, true},
        {"the old name again", [&] { d.Type(id::kComputerName, name); }, false},
        {"only the letter case differs", [&] { d.Type(id::kComputerName, lowerName); }, true},
        {"back", [&] { d.Type(id::kComputerName, name); }, false},
        {"domain chosen, no name", [&] { d.Click(id::kMemberOfDomain); }, false},
        {"a domain name", [&] { d.Type(id::kDomain, u"SALES"); }, true},
        {"the domain name removed", [&] { d.Type(id::kDomain, u""); }, false},
        {"the workgroup again: nothing pending", [&] { d.Click(id::kMemberOfWorkgroup); }, false},
        {"workgroup emptied", [&] { d.Type(id::kWorkgroup, u""); }, false},
        {"another workgroup", [&] { d.Type(id::kWorkgroup, u"TEAM"); }, true},
        {"the old workgroup", [&] { d.Type(id::kWorkgroup, u"WORKGROUP"); }, false},
        {"an adapter address",
         [&] {
             d.TypeAddress(id::kIpAddress, {192, 168, 1, 21});
         },
         true},
        {"the address restored",
         [&] {
             d.TypeAddress(id::kIpAddress, {192, 168, 1, 20});
         },
         false},
        {"automatic addressing", [&] { d.Click(id::kAddressAutomatic); }, true},
        {"fixed again", [&] { d.Click(id::kAddressFixed); }, false},
    };
    ASSERT_FALSE(h.OkEnabled());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(h.OkEnabled(), step.ok);
    }
    EXPECT_TRUE(h.dialog.undeclaredItems().empty());
}

TEST(MainDialogEditTest, TypingIsLimitedButLongerNamesFromElsewhereStand) {
    MainDialogHarness h;
    const std::u16string longDomain(100, u'd');
    h.WriteSettings(u"[settings]\r\ndomain=" + longDomain + u"\r\n");
    h.Open();
    EXPECT_EQ(h.Text(id::kDomain), longDomain);
    EXPECT_EQ(h.state.DesiredDomain.view(), longDomain);
    h.dialog.Type(id::kDomain, longDomain);
    EXPECT_EQ(h.Text(id::kDomain), std::u16string(64, u'd'));
    h.dialog.Type(id::kComputerName, u"ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(h.Text(id::kComputerName), u"ABCDEFGHIJKLMNO");
}

TEST(MainDialogEditTest, MembershipOptionsSwitchTheirFields) {
    MainDialogHarness h;
    h.Open();
    struct Expect {
        bool domainTicked, workgroupTicked, domainEnabled, unitsEnabled, workgroupEnabled;
        int focus;
        bool operator==(const Expect&) const = default;
    };
    const auto now = [&] {
        return Expect{h.Checked(id::kMemberOfDomain), h.Checked(id::kMemberOfWorkgroup),
                      h.Enabled(id::kDomain),         h.Enabled(id::kOrganizationUnitList),
                      h.Enabled(id::kWorkgroup),      h.dialog.focused()};
    };
    h.dialog.Click(id::kMemberOfDomain);
    EXPECT_EQ(now(), (Expect{true, false, true, true, false, id::kDomain}));
    EXPECT_TRUE(h.Enabled(id::kCredentials));
    h.dialog.Click(id::kMemberOfWorkgroup);
    EXPECT_EQ(now(), (Expect{false, true, false, false, true, id::kWorkgroup}));
    EXPECT_TRUE(h.Enabled(id::kCredentials));
    // Choosing the option already chosen changes nothing.
    h.dialog.Click(id::kMemberOfWorkgroup);
    EXPECT_EQ(now(), (Expect{false, true, false, false, true, id::kWorkgroup}));
}

TEST(MainDialogEditTest, UnitListLoadsOnceUntilTheDomainChanges) {
    MainDialogHarness h;
    JoinSales(h.world);
    sim::Domain& other = h.world.AddDomain(u"OTHER", u"other.example.com");
    other.SetAcceptsOwnLogon(true);
    const std::u16string lab[] = {u"Lab"};
    other.Directory().EnsureOrganizationalUnits(lab);
    h.Open();
    ASSERT_EQ(Calls(h, "NetGetJoinableOUs"), 1u);

    // Loaded after the first paint, under the wait cursor; a drop-down
    // lists nothing anew, under the wait cursor too.
    EXPECT_EQ(h.dialogs.waitCursor, (std::vector<bool>{true, false}));
    h.dialog.DropDown(id::kOrganizationUnitList);
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 1u);
    EXPECT_EQ(h.dialog.ListSelection(id::kOrganizationUnitList), 1);
    EXPECT_EQ(h.dialogs.waitCursor, (std::vector<bool>{true, false, true, false}));

    // Another domain: the next drop-down lists that domain's units, once.
    h.dialog.Type(id::kDomain, u"OTHER");
    EXPECT_EQ(h.state.OrganizationUnitListLoaded.load(), 0);
    h.dialog.DropDown(id::kOrganizationUnitList);
    h.dialog.DropDown(id::kOrganizationUnitList);
    EXPECT_EQ(Subjects(h, "NetGetJoinableOUs"),
              (std::vector<std::string>{"sales.example.com", "other.example.com"}));
    EXPECT_EQ(Entries(h, id::kOrganizationUnitList), (std::vector<std::u16string>{u"", u"\\Lab"}));
    EXPECT_EQ(h.dialogs.waitCursor,
              (std::vector<bool>{true, false, true, false, true, false, true, false}));
    // A unit of the other domain is now wanted.
    h.dialog.Choose(id::kOrganizationUnitList, 1);
    EXPECT_EQ(h.state.DesiredOrganizationUnit.view(), u"\\Lab");
    EXPECT_TRUE(h.OkEnabled());
}

TEST(MainDialogEditTest, AFileDomainOnAWorkgroupComputerListsOnDropDown) {
    MainDialogHarness h;
    AddSalesDomain(h.world);
    h.WriteSettings(u"[settings]\r\ndomain=SALES\r\n");
    h.Open();
    EXPECT_TRUE(h.Enabled(id::kOrganizationUnitList));
    EXPECT_EQ(h.dialog.ListCount(id::kOrganizationUnitList), 0);
    EXPECT_EQ(Calls(h, "NetGetJoinableOUs"), 0u);
    h.dialog.DropDown(id::kOrganizationUnitList);
    EXPECT_EQ(Entries(h, id::kOrganizationUnitList),
              (std::vector<std::u16string>{u"", u"\\Sales", u"\\Sales\\Berlin"}));
}

TEST(MainDialogEditTest, CredentialsButtonOpensTheAuthenticationDialogWithCodeZero) {
    MainDialogHarness h;
    h.Open();
    h.dialogs.Script([](fakes::FakeDialogView& view, platform::DialogLogic& logic) {
        logic.OnCommand(view, ui::kItemCancel, platform::kBnClicked);
    });
    h.dialog.Click(id::kCredentials);
    ASSERT_EQ(h.dialogs.openings().size(), 1u);
    const auto& opening = h.dialogs.openings()[0];
    EXPECT_EQ(opening.templateId, ui::kDialogAuthentication);
    EXPECT_EQ(opening.owner, h.dialog.Window());
    EXPECT_EQ(opening.parameter, 0);
    EXPECT_TRUE(opening.shown);
    EXPECT_EQ(h.dialog.endResult(), 0);
}

// --- Ending --------------------------------------------------------------------

TEST(MainDialogEndTest, OkRunsTheApplyAndEndsWithOk) {
    MainDialogHarness h;
    AddSalesDomain(h.world);
    h.Open();
    h.dialog.Type(id::kComputerName, u"WS-0815");
    h.dialog.item(id::kStartWithWindows).checked = true; // as if it could be ticked
    h.world.ClearJournal();
    h.dialog.Click(ui::kItemOk);

    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
    EXPECT_FALSE(h.OkEnabled());
    EXPECT_EQ(h.dialogs.progressOwners, (std::vector<platform::WindowId>{h.dialog.Window()}));
    EXPECT_EQ(h.world.PendingComputerName(), std::optional<std::u16string>(u"WS-0815"));
    EXPECT_TRUE(h.state.StartWithWindowsChosen);
    // The domain field is looked up whichever membership is chosen (here
    // the empty field of a workgroup computer), before the worker runs.
    const std::vector<std::string> lookedUp = Subjects(h, "DsGetDcName");
    ASSERT_FALSE(lookedUp.empty());
    EXPECT_EQ(lookedUp.front(), "\"\"");
}

TEST(MainDialogEndTest, ConfirmingANameThePlatformWouldRefuseSaysWhyAndReturnsToTheField) {
    MainDialogHarness h;
    h.Open();
    h.dialog.Type(id::kComputerName, u"4711");
    EXPECT_TRUE(h.OkEnabled()); // the OK rule does not look at the name
    h.world.ClearJournal();
    h.dialog.Click(ui::kItemOk);

    EXPECT_EQ(h.dialog.endResult(), 0);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].owner, h.dialog.Window());
    EXPECT_EQ(h.dialogs.boxes[0].caption, u"Invalid computer name");
    EXPECT_EQ(h.dialogs.boxes[0].text, u"The computer name may not consist of digits only.");
    EXPECT_EQ(h.dialogs.boxes[0].style, 0x30u);
    EXPECT_EQ(h.dialog.focused(), id::kComputerName);
    EXPECT_TRUE(h.OkEnabled());
    EXPECT_TRUE(h.dialogs.progressOwners.empty());
    EXPECT_TRUE(h.world.JournalLines("SetComputerNameEx").empty());

    // Put right, the same OK applies it.
    h.dialog.Type(id::kComputerName, u"WS-4711");
    h.dialog.Click(ui::kItemOk);
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
    EXPECT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.world.PendingComputerName(), std::optional<std::u16string>(u"WS-4711"));
}

TEST(MainDialogEndTest, AnUnchangedNameIsNotJudged) {
    MainDialogHarness h;
    h.world.SetComputerName(u"LAB_PC");
    h.Open();
    h.dialog.Type(id::kWorkgroup, u"LAB");
    h.dialog.Click(ui::kItemOk);
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

TEST(MainDialogEndTest, OkLooksUpTheTypedDomain) {
    MainDialogHarness h;
    AddSalesDomain(h.world);
    h.Open();
    h.dialog.Click(id::kMemberOfDomain);
    h.dialog.Type(id::kDomain, u"sales");
    h.world.ClearJournal();
    h.logic.OnCommand(h.dialog, ui::kItemOk, platform::kBnClicked);
    const std::vector<std::string> lookedUp = Subjects(h, "DsGetDcName");
    ASSERT_FALSE(lookedUp.empty());
    EXPECT_EQ(lookedUp.front(), "sales");
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
}

TEST(MainDialogEndTest, ClosingTheProgressDialogStillEndsWithOk) {
    MainDialogHarness h;
    h.Open();
    h.dialog.Type(id::kComputerName, u"WS-0815");
    h.dialogs.closeProgressWhenDone = true;
    h.dialog.Click(ui::kItemOk);
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
    EXPECT_FALSE(h.state.StartWithWindowsChosen);
    // Once confirmed, neither Cancel nor the close box changes the end.
    h.logic.OnCommand(h.dialog, ui::kItemCancel, platform::kBnClicked);
    h.dialog.CloseBox();
    EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
}

TEST(MainDialogEndTest, CancelAndTheCloseBoxEndWithCancelAndApplyNothing) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        MainDialogHarness h;
        h.Open();
        h.dialog.Type(id::kComputerName, u"WS-0815");
        if (closeBox) {
            h.dialog.CloseBox();
        } else {
            h.dialog.Click(ui::kItemCancel);
        }
        EXPECT_EQ(h.dialog.endResult(), platform::kDialogCancel);
        EXPECT_TRUE(h.dialogs.progressOwners.empty());
        EXPECT_EQ(Calls(h, "SetComputerNameEx"), 0u);
    }
}

TEST(MainDialogEndTest, AutoModeConfirmsItselfBeforeItIsInitialised) {
    struct AutoCase {
        const char* name;
        std::u16string file;
        std::size_t renames;
    };
    const AutoCase cases[] = {
        {"a prepared rename", u"[settings]\r\ncomputer=WS-0815\r\n", 1},
        {"nothing to change", u"", 0},
    };
    for (const AutoCase& c : cases) {
        SCOPED_TRACE(c.name);
        MainDialogHarness h;
        h.state.AutoMode = true;
        if (!c.file.empty()) {
            h.WriteSettings(c.file);
        }
        // The run happens before the dialog counts as initialised, so an
        // authentication dialog it asked for would refuse to open.
        bool initialisedDuringRun = true;
        h.dialogs.onProgress = [&] { initialisedDuringRun = h.state.DialogInitialised; };
        h.Open();
        EXPECT_EQ(h.dialog.endResult(), platform::kDialogOk);
        EXPECT_EQ(h.dialogs.progressOwners.size(), 1u);
        EXPECT_EQ(Calls(h, "SetComputerNameEx") > 0, c.renames > 0);
        EXPECT_TRUE(h.state.DialogInitialised);
        EXPECT_FALSE(h.OkEnabled());
        h.dialog.Click(id::kCredentials);
        EXPECT_TRUE(h.dialogs.openings().empty()); // ended: further commands do nothing
        EXPECT_FALSE(initialisedDuringRun);
    }
}

TEST(MainDialogEndTest, DestroyReleasesTheAdapterListsUnlessAWorkerMayStillReadThem) {
    for (const bool workerRunning : {false, true}) {
        SCOPED_TRACE(workerRunning);
        MainDialogHarness h;
        AddAdapter(h.world);
        h.Open();
        h.state.ApplyWorkerStillRunning = workerRunning;
        h.logic.OnDestroy(h.dialog);
        EXPECT_EQ(h.state.AdaptersAsEdited.empty(), !workerRunning);
        EXPECT_EQ(h.state.AdaptersAsFound.empty(), !workerRunning);
    }
}

// --- Painting and the entry point ----------------------------------------------

TEST(MainDialogLookTest, HeaderOnTheWindowColourAndDecorations) {
    MainDialogHarness h;
    for (const int item : {id::kHeaderBand, id::kHeaderText, id::kAdapterHeading,
                           id::kIpAddressLabel, ui::kItemUnaddressed}) {
        SCOPED_TRACE(item);
        platform::StaticColors colors;
        const bool painted = h.logic.OnStaticColors(h.dialog, item, colors);
        const bool header = item == id::kHeaderBand || item == id::kHeaderText;
        EXPECT_EQ(painted, header);
        if (header) {
            EXPECT_EQ(colors.background, platform::SystemColor::Window);
            EXPECT_TRUE(colors.backgroundOnly);
        }
    }
    const platform::DialogDecoration decoration = h.logic.Decoration();
    EXPECT_EQ(decoration.windowIcon, ui::kIconApplication);
    EXPECT_EQ(decoration.iconButton, id::kCredentials);
    EXPECT_EQ(decoration.buttonIcon, ui::kIconCredentials);
    EXPECT_EQ(std::vector<int>(decoration.boldItems.begin(), decoration.boldItems.end()),
              (std::vector<int>{id::kAdapterHeading, id::kComputerNameHeading,
                                id::kMembershipHeading, id::kOrganizationUnitHeading}));
}

TEST(RunMainDialogTest, OpensTemplate101OwnedByTheDesktopAndReturnsItsEnd) {
    MainDialogHarness h;
    h.dialogs.Script([](fakes::FakeDialogView& view, platform::DialogLogic& logic) {
        logic.OnCommand(view, ui::kItemCancel, platform::kBnClicked);
    });
    EXPECT_EQ(RunMainDialog(h.os, h.state, IsStartWithWindowsEnabled), platform::kDialogCancel);
    ASSERT_EQ(h.dialogs.openings().size(), 1u);
    EXPECT_EQ(h.dialogs.openings()[0].templateId, ui::kDialogMain);
    EXPECT_EQ(h.dialogs.openings()[0].owner, platform::kDesktopWindow);
    EXPECT_EQ(h.dialogs.openings()[0].parameter, 0);
    EXPECT_TRUE(h.state.DialogInitialised);
}

} // namespace
} // namespace corvane
