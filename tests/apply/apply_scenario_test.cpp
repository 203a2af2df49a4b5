// Whole apply runs on the sim: a starting workstation and domain, the values
// the administrator chose, the answers to the dialogs and notices; checked
// against the log lines in order, the final workstation, directory and
// registry, and the windows that opened.
#include "apply/apply_worker.h"
#include "apply/change_detection.h"
#include "directory/domain_lookups.h"
#include "fakes/fake_dialog_view.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/scenario/scenario.h"
#include "platform/sim/text.h"
#include "platform/sim/world.h"
#include "ui/administrator_choice_reading.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

namespace id = ui::main_dialog;
namespace auth = ui::auth_dialog;
using sim::DialogAction;

constexpr std::u16string_view kLogPath =
    u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";

// The machines the scenarios start from.
constexpr std::string_view kInWorkgroup = R"(
[workstation]
name WS-OLD
join workgroup WORKGROUP
[domain SALES sales.example.com]
credential SALES\installer s3cret
ou \Workstations\Berlin
[domain OTHER other.example.com]
credential OTHER\admin pa55
)";

constexpr std::string_view kInSales = R"(
[workstation]
name WS-0815
join domain SALES
[domain SALES sales.example.com]
credential SALES\installer s3cret
ou \Workstations\Berlin
computer WS-0815
[domain OTHER other.example.com]
credential OTHER\admin pa55
)";

// What the administrator left in the main dialog when confirming it.
struct Choice {
    std::u16string computerName;
    std::u16string workgroup;
    std::u16string domain;
    bool memberOfDomain = false;
    std::u16string organizationUnit; // selected OU list entry; empty: none
};

class ApplyScenario : public testing::Test {
protected:
    void Start(std::string_view machine, std::u16string_view account = u"",
               std::u16string_view password = u"") {
        const sim::ScenarioResult loaded = sim::LoadScenario(machine, world);
        ASSERT_TRUE(loaded.ok()) << loaded.Text();
        state.Log.Open(world.platform(), kLogPath);
        state.Account.Assign(account);
        state.Password.Assign(password);
        state.DialogInitialised = true;
        // The current values as the main dialog's initialisation finds them.
        state.CurrentComputerName.Assign(world.ComputerName());
        const sim::JoinState join = world.GetJoinState();
        state.JoinStatusAtStart = join.status;
        if (join.status == platform::JoinStatus::Workgroup) {
            state.CurrentWorkgroup.Assign(join.name);
        } else if (join.status == platform::JoinStatus::Domain) {
            state.CurrentDomain.Assign(join.name);
            GetDomainDnsName(world.platform(), state, state.CurrentDomain);
        }
    }

    void Choose(const Choice& choice) {
        dialog.item(id::kComputerName).text = choice.computerName;
        dialog.item(id::kWorkgroup).text = choice.workgroup;
        dialog.item(id::kDomain).text = choice.domain;
        dialog.item(id::kMemberOfDomain).checked = choice.memberOfDomain;
        dialog.item(id::kMemberOfWorkgroup).checked = !choice.memberOfDomain;
        dialog.item(id::kStartWithWindows).checked = false;
        if (!choice.organizationUnit.empty()) {
            dialog.AddListItem(id::kOrganizationUnitList, choice.organizationUnit);
            dialog.SetListSelection(id::kOrganizationUnitList, 0);
        }
    }

    // Runs the apply worker on what the dialog holds, as the OK path hands it
    // over; returns the change mask the worker applied.
    ChangeMask Apply() {
        world.ClearJournal();
        const std::size_t logBefore = LogLines().size();
        const AdministratorChoice choice = ReadAdministratorChoice(dialog);
        // The mask the worker will compute: computing it only refreshes the
        // desired values from the choice, as the worker does again.
        const ChangeMask mask = ComputeChangeMask(choice, state);
        std::atomic<bool> abandoned{false};
        AuthenticationPrompt prompt(world.platform(), state);
        ApplyWorker(world.platform(), state, choice, dialog.Window(), prompt, abandoned);
        linesBefore_ = logBefore;
        return mask;
    }

    // The log's lines since the run started, without their CR LF.
    std::vector<std::u16string> LogLines() {
        const std::vector<std::uint8_t> bytes =
            world.FileBytes(kLogPath).value_or(std::vector<std::uint8_t>{});
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        std::vector<std::u16string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
             start = end + 2) {
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }

    // The run's own lines and the domain look-ups, whole; the directory
    // operations' step lines are left to their own tests.
    std::vector<std::string> RunLines() {
        std::vector<std::string> lines;
        const std::vector<std::u16string> all = LogLines();
        for (std::size_t i = linesBefore_; i < all.size(); ++i) {
            if (all[i].find(u" - SaveSettings: ") != std::u16string::npos ||
                all[i].find(u" - GetDomainDnsName: ") != std::u16string::npos) {
                lines.push_back(sim::Utf16ToUtf8(all[i]));
            }
        }
        return lines;
    }

    std::vector<std::string> Notices() {
        std::vector<std::string> notices;
        for (const sim::MessageBoxRecord& box : world.Desktop().MessageBoxes()) {
            notices.push_back(sim::Utf16ToUtf8(box.caption) + " | " + sim::Utf16ToUtf8(box.text));
        }
        return notices;
    }

    std::u16string ComputerContainer(std::u16string_view domain, std::u16string_view computer) {
        const sim::Domain* found = world.FindDomain(domain);
        if (found == nullptr) {
            return u"(no domain)";
        }
        const sim::ObjectId object = found->FindComputer(computer);
        if (object == sim::kNoObject) {
            return u"(no account)";
        }
        return found->Directory().DistinguishedName(found->Directory().Parent(object));
    }

    // Every computer account of the domain, by distinguished name.
    std::vector<std::u16string> ComputerAccounts(std::u16string_view domain) {
        const sim::Domain* found = world.FindDomain(domain);
        return found == nullptr ? std::vector<std::u16string>{} : found->ComputerAccounts();
    }

    std::optional<std::u16string> RegistryText(std::u16string_view key, std::u16string_view value) {
        const auto record = world.RegistryValue(platform::RegistryRoot::LocalMachine, key, value);
        if (!record) {
            return std::nullopt;
        }
        std::u16string text;
        for (std::size_t i = 0; i + 1 < record->data.size(); i += 2) {
            text.push_back(static_cast<char16_t>(record->data[i] | (record->data[i + 1] << 8)));
        }
        return text;
    }

    static std::string Line(std::string_view level, std::int32_t code, std::string_view message) {
        char number[16];
        std::snprintf(number, sizeof number, code < 0 ? "%#08x" : "%08d", code);
        return std::string(level) + "(" + number + "): 3/21/2009, 9:15:43 AM - " +
               std::string(message);
    }
    static std::string Info(std::int32_t code, std::string_view message) {
        return Line("Info", code, message);
    }

    // The host-name values the rename step writes, as they stand.
    std::vector<std::optional<std::u16string>> HostNames() {
        constexpr std::u16string_view kTcpipKey =
            u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
        return {RegistryText(kTcpipKey, u"NV Hostname"), RegistryText(kTcpipKey, u"Hostname"),
                RegistryText(u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\"
                             u"ActiveComputerName",
                             u"Computername")};
    }
    bool Called(std::string_view operation) { return !world.JournalLines(operation).empty(); }

    sim::World world;
    SetupState state;
    fakes::FakeDialogView dialog;

private:
    std::size_t linesBefore_ = 0;
};

constexpr std::string_view kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

TEST_F(ApplyScenario, RenameInAWorkgroupWritesTheHostNameValuesAndAsksForARestart) {
    Start(kInWorkgroup);
    Choose({u"WS-0815", u"WORKGROUP", u"", false, u""});
    EXPECT_EQ(Apply(), ChangeComputerName);

    EXPECT_EQ(RunLines(), std::vector<std::string>{});
    EXPECT_EQ(world.PendingComputerName(), std::optional<std::u16string>(u"WS-0815"));
    for (const auto& [key, value] :
         {std::pair{u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"NV Hostname"},
          std::pair{u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"Hostname"},
          std::pair{u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName",
                    u"Computername"}}) {
        const auto record = world.RegistryValue(platform::RegistryRoot::LocalMachine, key, value);
        ASSERT_TRUE(record.has_value()) << sim::Utf16ToUtf8(value);
        EXPECT_EQ(record->type, platform::kRegSz);
        // The name with its terminator, byte for byte.
        EXPECT_EQ(record->data, (std::vector<std::uint8_t>{'W', 0, 'S', 0, '-', 0, '0', 0, '8', 0,
                                                           '1', 0, '5', 0, 0, 0}));
    }
    const std::vector<sim::MessageBoxRecord> boxes = world.Desktop().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Restart needed");
    EXPECT_EQ(boxes[0].text, u"The computer need to be restarted to apply new settings.");
    EXPECT_EQ(boxes[0].style, 0x42030u);
    EXPECT_TRUE(boxes[0].timed);
    EXPECT_EQ(boxes[0].timeoutMs, kInfiniteTimeout);
    EXPECT_EQ(boxes[0].language, 0x0C00);
}

TEST_F(ApplyScenario, WorkgroupToDomainJoinsAndMovesTheAccountIntoTheChosenUnit) {
    Start(kInWorkgroup, u"installer@SALES", u"s3cret");
    Choose({u"WS-OLD", u"", u"SALES", true, u"\\Workstations\\Berlin"});
    EXPECT_EQ(Apply(), ChangeDomain | ChangeMembershipType | ChangeOrganizationUnit);

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
                  Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit"),
              }));
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
    EXPECT_EQ(ComputerContainer(u"SALES", u"WS-OLD"),
              u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com");
    EXPECT_EQ(Notices(),
              std::vector<std::string>{
                  "Restart needed | The computer need to be restarted to apply new settings."});
}

TEST_F(ApplyScenario, DomainToWorkgroupUnjoinsAndJoinsTheWorkgroup) {
    Start(kInSales, u"installer@SALES", u"s3cret");
    Choose({u"WS-0815", u"LAB", u"", false, u""});
    EXPECT_EQ(Apply(), ChangeWorkgroup | ChangeMembershipType);

    EXPECT_EQ(RunLines(),
              std::vector<std::string>{Info(0, "SaveSettings: Workgroup: NetUnjoinDomain")});
    const sim::JoinState join = world.GetJoinState();
    EXPECT_EQ(join.status, platform::JoinStatus::Workgroup);
    EXPECT_EQ(join.name, u"LAB");
    EXPECT_EQ(Notices().size(), 1u);
}

TEST_F(ApplyScenario, DomainToAnotherDomainNeedsNoRestartNotice) {
    // One account of the same name in both domains: the unjoin from SALES and
    // the join of OTHER run with the same credentials.
    Start(kInSales, u"admin", u"pa55");
    world.FindDomain(u"SALES")->AddCredential(u"admin", u"pa55");
    world.FindDomain(u"OTHER")->AddCredential(u"admin", u"pa55");
    Choose({u"WS-0815", u"", u"OTHER", true, u""});
    EXPECT_EQ(Apply(), ChangeDomain);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(0, "SaveSettings: NetUnjoinDomain with Account \"admin\""),
                              Info(0, "SaveSettings: NetJoinDomain with Account \"admin\""),
                          }));
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
    EXPECT_TRUE(sim::EqualsNoCase(world.GetJoinState().name, u"OTHER") ||
                sim::EqualsNoCase(world.GetJoinState().name, u"other.example.com"));
    EXPECT_EQ(Notices(), std::vector<std::string>{});
}

TEST_F(ApplyScenario, AnExistingAccountIsMovedIntoTheChosenUnit) {
    Start(kInSales, u"installer@SALES", u"s3cret");
    Choose({u"WS-0815", u"", u"sales.example.com", true, u"\\Workstations\\Berlin"});
    EXPECT_EQ(Apply(), ChangeOrganizationUnit);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit"),
                          }));
    EXPECT_EQ(ComputerContainer(u"SALES", u"WS-0815"),
              u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com");
    EXPECT_EQ(Notices(), std::vector<std::string>{});
}

TEST_F(ApplyScenario, AMissingAccountIsCreatedInTheChosenUnit) {
    Start(kInSales, u"installer@SALES", u"s3cret");
    sim::Domain& sales = *world.FindDomain(u"SALES");
    ASSERT_EQ(sales.Directory().Delete(sales.FindComputer(u"WS-0815")), 0u);
    Choose({u"WS-0815", u"", u"sales.example.com", true, u"\\Workstations\\Berlin"});
    EXPECT_EQ(Apply(), ChangeOrganizationUnit);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit"),
                          }));
    EXPECT_EQ(ComputerContainer(u"SALES", u"WS-0815"),
              u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com");
}

// A workstation that is renamed and joins a domain in one run: the new name
// is set locally and the join takes it, so that the one account the domain
// gets carries the name the computer has from its next start on.
TEST_F(ApplyScenario, RenameAndJoinFromAWorkgroupGiveOneAccountOfTheNewNameInTheUnit) {
    Start(kInWorkgroup, u"installer@SALES", u"s3cret");
    Choose({u"WS-0815", u"", u"SALES", true, u"\\Workstations\\Berlin"});
    EXPECT_EQ(Apply(),
              ChangeComputerName | ChangeDomain | ChangeMembershipType | ChangeOrganizationUnit);

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
                  Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit"),
              }));
    EXPECT_EQ(world.JournalLines("NetRenameMachineInDomain"), std::vector<std::string>{});
    EXPECT_EQ(world.JournalLines("SetComputerNameEx"),
              std::vector<std::string>{"SetComputerNameEx(5, WS-0815) = 0"});
    EXPECT_EQ(world.JournalLines("NetJoinDomain"),
              std::vector<std::string>{"NetJoinDomain(SALES, -, installer@SALES, ***, 0x423) = 0"});
    EXPECT_EQ(ComputerAccounts(u"SALES"),
              std::vector<std::u16string>{
                  u"CN=WS-0815,OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"});
    EXPECT_EQ(world.PendingComputerName(), std::optional<std::u16string>(u"WS-0815"));
    EXPECT_EQ(RegistryText(u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"Hostname"),
              std::optional<std::u16string>(std::u16string(u"WS-0815") + u'\0'));
    EXPECT_EQ(Notices(),
              std::vector<std::string>{
                  "Restart needed | The computer need to be restarted to apply new settings."});

    // After the restart the computer runs under the name of its account.
    world.Restart();
    EXPECT_EQ(world.ComputerName(), u"WS-0815");
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
}

// A member that is renamed in its domain and then moves to another one
// joins the new domain under its new name as well.
TEST_F(ApplyScenario, ARenamedMemberJoinsTheNextDomainUnderItsNewName) {
    Start(kInSales, u"admin", u"pa55");
    world.FindDomain(u"SALES")->AddCredential(u"admin", u"pa55");
    world.FindDomain(u"OTHER")->AddCredential(u"admin", u"pa55");
    Choose({u"WS-4711", u"", u"OTHER", true, u""});
    EXPECT_EQ(Apply(), ChangeComputerName | ChangeDomain);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(0, "SaveSettings: NetRenameMachineInDomain"),
                              Info(0, "SaveSettings: NetUnjoinDomain with Account \"admin\""),
                              Info(0, "SaveSettings: NetJoinDomain with Account \"admin\""),
                          }));
    EXPECT_EQ(world.JournalLines("NetJoinDomain"),
              std::vector<std::string>{"NetJoinDomain(OTHER, -, admin, ***, 0x423) = 0"});
    EXPECT_EQ(ComputerAccounts(u"OTHER"),
              std::vector<std::u16string>{u"CN=WS-4711,CN=Computers,DC=other,DC=example,DC=com"});
}

// Where the join fails, the computer is no member of the domain: the unit
// step creates no account that no computer would ever use.
TEST_F(ApplyScenario, AFailedJoinCreatesNoAccountInTheChosenUnit) {
    Start(kInWorkgroup, u"installer@SALES", u"wrong");
    world.Desktop().ScriptDialog(105, {DialogAction::Press(2)});
    Choose({u"WS-0815", u"", u"SALES", true, u"\\Workstations\\Berlin"});
    Apply();

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(1326, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
                  Info(1223, "SaveSettings: Joining to Workgroup/Domain not possible"),
                  Info(2692, "SaveSettings: Organization unit not possible, the computer is not "
                             "a member of the domain"),
              }));
    EXPECT_EQ(ComputerAccounts(u"SALES"), std::vector<std::u16string>{});
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Workgroup);
    // The local rename stands: it needs no domain.
    EXPECT_EQ(world.PendingComputerName(), std::optional<std::u16string>(u"WS-0815"));
}

// A member whose rename in the domain fails keeps its old name: the unit
// step moves the account of that name instead of creating one for a name
// the computer never gets.
TEST_F(ApplyScenario, AFailedRenameMovesTheAccountOfTheOldName) {
    Start(kInSales, u"installer@SALES", u"s3cret");
    ASSERT_TRUE(world.InjectFailure("NetRenameMachineInDomain", 2224));
    Choose({u"WS-4711", u"", u"sales.example.com", true, u"\\Workstations\\Berlin"});
    EXPECT_EQ(Apply(), ChangeComputerName | ChangeOrganizationUnit);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(2224, "SaveSettings: NetRenameMachineInDomain"),
                              Info(2224, "SaveSettings: Settings Computer name not possible."),
                              Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit"),
                          }));
    EXPECT_EQ(ComputerAccounts(u"SALES"),
              std::vector<std::u16string>{
                  u"CN=WS-0815,OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"});
}

TEST_F(ApplyScenario, RefusedCredentialsAreAskedForOnceAndTheJoinRepeats) {
    Start(kInWorkgroup, u"installer@SALES", u"wrong");
    world.Desktop().ScriptDialog(105, {DialogAction::Type(auth::kAccount, u"SALES\\installer"),
                                       DialogAction::Type(auth::kPassword, u"s3cret"),
                                       DialogAction::Press(1)});
    Choose({u"WS-OLD", u"", u"SALES", true, u""});
    Apply();

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(1326, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
                  Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
              }));
    const std::vector<sim::DialogRecord> prompts = world.Desktop().Dialogs(105);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].parameter, 1326);
    EXPECT_EQ(prompts[0].endValue, 1);
    EXPECT_EQ(state.Account.view(), u"installer@SALES");
    EXPECT_EQ(state.Password.view(), u"s3cret");
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
}

TEST_F(ApplyScenario, ACancelledPromptEndsTheMembershipStepAsCancelled) {
    Start(kInWorkgroup, u"installer@SALES", u"wrong");
    world.Desktop().ScriptDialog(105, {DialogAction::Press(2)});
    Choose({u"WS-OLD", u"", u"SALES", true, u""});
    Apply();

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(1326, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
                  Info(1223, "SaveSettings: Joining to Workgroup/Domain not possible"),
              }));
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Workgroup);
    // The membership type changed all the same: the restart notice follows.
    EXPECT_EQ(Notices().size(), 1u);
}

TEST_F(ApplyScenario, AFailedRenameInTheDomainRestoresTheLocalName) {
    Start(kInSales, u"installer@SALES", u"s3cret");
    ASSERT_TRUE(world.InjectFailure("NetRenameMachineInDomain", 2224));
    Choose({u"WS-4711", u"", u"sales.example.com", true, u""});
    EXPECT_EQ(Apply(), ChangeComputerName);

    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(0, "GetDomainDnsName: Status"),
                              Info(2224, "SaveSettings: NetRenameMachineInDomain"),
                              Info(2224, "SaveSettings: Settings Computer name not possible."),
                          }));
    EXPECT_EQ(world.PendingComputerName().value_or(u"WS-0815"), u"WS-0815");
    EXPECT_EQ(
        RegistryText(u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"NV Hostname"),
        RegistryText(u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"Hostname"));
    EXPECT_NE(RegistryText(u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", u"Hostname"),
              std::optional<std::u16string>(u"WS-4711"));
    EXPECT_EQ(Notices(),
              (std::vector<std::string>{
                  "Changing computer name failed | Computer name can not be changed within "
                  "domain. Local name will also not changed!",
                  "Restart needed | The computer need to be restarted to apply new settings.",
              }));
}

TEST_F(ApplyScenario, UnattendedRunsTakeNoPromptAndTimeTheirNotices) {
    Start(kInWorkgroup, u"installer@SALES", u"wrong");
    state.DialogInitialised = false; // an /auto run confirms before it is set
    state.AutoMode = true;
    state.MessageBoxTimeout = kAutoModeTimeoutMs;
    Choose({u"WS-0815", u"", u"SALES", true, u""});
    Apply();

    const std::vector<std::string> lines = RunLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Info(1223, "SaveSettings: Joining to Workgroup/Domain not possible"));
    for (const sim::DialogRecord& prompt : world.Desktop().Dialogs(105)) {
        EXPECT_FALSE(prompt.shown);
        EXPECT_EQ(prompt.endValue, 2);
    }
    const std::vector<sim::MessageBoxRecord> boxes = world.Desktop().MessageBoxes();
    ASSERT_FALSE(boxes.empty());
    for (const sim::MessageBoxRecord& box : boxes) {
        EXPECT_TRUE(box.timed);
        EXPECT_EQ(box.timeoutMs, 10000u);
    }
}

TEST_F(ApplyScenario, AnUnknownDomainIsReportedFirstAndTheOtherStepsStillRun) {
    Start(kInWorkgroup);
    Choose({u"WS-0815", u"", u"NOSUCH", true, u""});
    Apply();
    EXPECT_EQ(Notices(),
              (std::vector<std::string>{
                  "Domain Error | DsGetDcName: Error 1355\nThe specified domain \"NOSUCH\" "
                  "either does not exist or could not be contacted.\r\nHint: Please try to use "
                  "FQDN.",
                  "Restart needed | The computer need to be restarted to apply new settings.",
              }));
    EXPECT_EQ(RunLines(), (std::vector<std::string>{
                              Info(1355, "GetDomainDnsName: Status"),
                              Info(1355, "SaveSettings: NetJoinDomain without Account"),
                              Info(1355, "SaveSettings: Joining to Workgroup/Domain not possible"),
                          }));
    // The workgroup computer's rename is local and needs no domain: it
    // stands, while the join of the unknown domain failed.
    EXPECT_EQ(world.PendingComputerName(), std::optional<std::u16string>(u"WS-0815"));
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Workgroup);
}

TEST_F(ApplyScenario, NothingChangedChangesNothing) {
    Start(kInWorkgroup);
    Choose({u"WS-OLD", u"WORKGROUP", u"", false, u""});
    EXPECT_EQ(Apply(), ChangeMask{0});
    EXPECT_EQ(RunLines(), std::vector<std::string>{});
    EXPECT_EQ(Notices(), std::vector<std::string>{});
    EXPECT_FALSE(world.PendingComputerName().has_value());
    EXPECT_EQ(world.GetJoinState().name, u"WORKGROUP");
}

struct RefusalCase {
    std::u16string name;
    std::int32_t code;
    std::string_view text;
};

constexpr std::string_view kOnlyLettersDigitsHyphens =
    "The computer name may contain only the letters A to Z, the digits 0 to 9 and hyphens.";

class RefusedComputerName : public ApplyScenario,
                            public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedComputerName, ChangesNothingAndTheJoinStillRuns) {
    const RefusalCase& c = GetParam();
    Start(kInWorkgroup, u"installer@SALES", u"s3cret");
    const auto hostNamesBefore = HostNames();
    Choose({c.name, u"", u"SALES", true, u""});
    EXPECT_EQ(Apply(), ChangeComputerName | ChangeDomain | ChangeMembershipType);

    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(c.code, "SaveSettings: Computer name \"" + sim::Utf16ToUtf8(c.name) +
                                   "\" not valid"),
                  Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
              }));
    EXPECT_FALSE(Called("SetComputerNameEx"));
    EXPECT_FALSE(Called("NetRenameMachineInDomain"));
    EXPECT_EQ(HostNames(), hostNamesBefore);
    EXPECT_FALSE(world.PendingComputerName().has_value());
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
    EXPECT_EQ(Notices(),
              (std::vector<std::string>{
                  "Invalid computer name | " + std::string(c.text),
                  "Restart needed | The computer need to be restarted to apply new settings.",
              }));
}

INSTANTIATE_TEST_SUITE_P(
    NamesThePlatformWouldRefuseOrRewrite, RefusedComputerName,
    testing::Values(RefusalCase{u"a b", 9560, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"x*y", 9560, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"..", 123, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"ws.sales", 123, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"4711", 9561, "The computer name may not consist of digits only."},
                    RefusalCase{u"W\u00d6RK-01", 9556, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"WS_0815", 9556, kOnlyLettersDigitsHyphens},
                    RefusalCase{u"", 1210, "The computer name must have 1 to 15 characters."}));

TEST_F(ApplyScenario, AnUnattendedRunLogsARefusedComputerNameWithoutANotice) {
    Start(kInWorkgroup);
    state.AutoMode = true;
    state.MessageBoxTimeout = kAutoModeTimeoutMs;
    Choose({u"a b", u"WORKGROUP", u"", false, u""});
    EXPECT_EQ(Apply(), ChangeComputerName);
    EXPECT_EQ(RunLines(), std::vector<std::string>{
                              Info(9560, "SaveSettings: Computer name \"a b\" not valid")});
    EXPECT_EQ(Notices(), std::vector<std::string>{"Restart needed | The computer need to be "
                                                  "restarted to apply new settings."});
}

TEST_F(ApplyScenario, AFailedLocalRenameIsLoggedAndWritesNoHostNameValue) {
    Start(kInWorkgroup, u"installer@SALES", u"s3cret");
    const auto hostNamesBefore = HostNames();
    ASSERT_TRUE(world.InjectFailure("SetComputerNameEx", platform::error::kAccessDenied));
    Choose({u"WS-0815", u"", u"SALES", true, u""});
    Apply();
    EXPECT_EQ(RunLines(),
              (std::vector<std::string>{
                  Info(0, "GetDomainDnsName: Status"),
                  Info(5, "SaveSettings: SetComputerNameExW"),
                  Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
              }));
    EXPECT_FALSE(Called("NetRenameMachineInDomain"));
    EXPECT_EQ(HostNames(), hostNamesBefore);
    EXPECT_FALSE(world.PendingComputerName().has_value());
}

} // namespace
} // namespace corvane
