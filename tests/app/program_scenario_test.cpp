// The whole program on the sim, from its command line to its exit code:
// unattended runs for each kind of change, an interactive edit of the main
// dialog, the help box, the interface languages and settings files of every
// shape. Checked against the exit code, the log lines byte for byte, the
// calls that changed the machine, and the dialogs as the user saw them.
#include "app/program.h"
#include "bundled_example.h"
#include "program_run.h"
#include "ui/dialog_ids.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using program_test::Ansi;
using program_test::ProgramInput;
using program_test::ProgramRun;
using program_test::Utf16LeBom;
namespace id = ui::main_dialog;

// The sim's clock stands still at its default under the en-US user locale.
constexpr std::string_view kNow = "3/21/2009, 9:15:43 AM";

std::string Info(std::int32_t code, std::string_view message) {
    return program_test::LogLine("Info", code, kNow, message);
}

constexpr std::string_view kInWorkgroup = R"(
[workstation]
name WS-OLD
join workgroup WORKGROUP
[domain SALES sales.example.com]
credential SALES\installer s3cret
ou \Workstations\Berlin
[domain OTHER other.example.com]
credential admin pa55
)";

// A member of SALES whose account lives in OU=Workstations; the same
// administrator account is known in both domains.
constexpr std::string_view kInSales = R"(
[workstation]
name WS-0815
join domain SALES
[domain SALES sales.example.com]
credential admin pa55
ou \Workstations\Berlin
computer WS-0815 OU=Workstations
[domain OTHER other.example.com]
credential admin pa55
)";

std::string Machine(std::string_view machine) {
    return std::string(machine) + std::string(program_test::kTwoAdapters);
}

constexpr std::string_view kTcpip = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::string_view kActiveName =
    "HKLM\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";

// The three host-name values a successful rename writes.
std::vector<std::string> HostNameWrites(std::string_view name) {
    const std::string data = ", REG_SZ, \"" + std::string(name) + "\") = 0";
    return {"RegSetValue(" + std::string(kTcpip) + ", NV Hostname" + data,
            "RegSetValue(" + std::string(kTcpip) + ", Hostname" + data,
            "RegSetValue(" + std::string(kActiveName) + ", Computername" + data};
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::u16string> NoticeCaptions(sim::World& world) {
    std::vector<std::u16string> captions;
    for (const sim::MessageBoxRecord& box : world.Desktop().MessageBoxes()) {
        captions.push_back(box.caption);
    }
    return captions;
}

// The parent container of a computer's account, as a DN.
std::u16string AccountContainer(sim::World& world, std::u16string_view domain,
                                std::u16string_view computer) {
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

// Test names from the cases' own.
template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// --- Every kind of change, confirmed ---------------------------------------------

struct ChangeCase {
    const char* name;
    std::string machine;
    std::optional<std::string> settings; // none: no settings file
    std::string actions;                 // empty: /auto
    std::vector<std::string> lines;
    std::vector<std::string> changes;
    std::vector<std::u16string> notices;
    sim::JoinState join;
    std::optional<std::u16string> pendingName;
    // The account's container in the joined domain; empty: not checked.
    std::u16string container;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramScenarioChange : public testing::TestWithParam<ChangeCase> {};

const std::u16string kRestart = u"Restart needed";
constexpr std::string_view kMoveIntoBerlin =
    "MoveHere(LDAP://sales.example.com/OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com, "
    "LDAP://sales.example.com/CN=WS-OLD,CN=Computers,DC=sales,DC=example,DC=com, -) = 0";

sim::JoinState Membership(platform::JoinStatus status, std::u16string_view name) {
    sim::JoinState join;
    join.status = status;
    join.name = name;
    return join;
}

// Built on demand, the memberships by a function: MinGW's optimiser misreads
// the braced initialisation of this table as reading strings before they exist.
std::vector<ChangeCase> ChangeCases() {
    return {
        {"RenameOnly",
         Machine(kInWorkgroup),
         "[settings]\r\ncomputer=WS-0815\r\n",
         "",
         {Info(1355, "GetDomainDnsName: Status")},
         Concat({"SetComputerNameEx(5, WS-0815) = 0"}, HostNameWrites("WS-0815")),
         {kRestart},
         Membership(platform::JoinStatus::Workgroup, u"WORKGROUP"),
         u"WS-0815",
         u""},
        {"WorkgroupChange",
         Machine(kInWorkgroup),
         "[settings]\r\nworkgroup=LAB\r\n",
         "",
         {Info(1355, "GetDomainDnsName: Status"),
          Info(2692, "SaveSettings: Workgroup: NetUnjoinDomain")},
         {"NetUnjoinDomain(-, -, 0x0) = 2692", "NetJoinDomain(LAB, -, -, -, 0x0) = 0"},
         {kRestart},
         Membership(platform::JoinStatus::Workgroup, u"LAB"),
         std::nullopt,
         u""},
        {"JoinDomain",
         Machine(kInWorkgroup),
         "[settings]\r\ndomain=SALES\r\naccount=SALES\\installer\r\npassword=s3cret\r\n",
         "",
         {Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\"")},
         {"NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0"},
         {kRestart},
         Membership(platform::JoinStatus::Domain, u"SALES"),
         std::nullopt,
         u"CN=Computers,DC=sales,DC=example,DC=com"},
        {"RenameAndJoinDomain",
         Machine(kInWorkgroup),
         "[settings]\r\ncomputer=WS-0815\r\ndomain=SALES\r\naccount=SALES\\installer\r\n"
         "password=s3cret\r\n",
         "",
         {Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\"")},
         Concat(Concat({"SetComputerNameEx(5, WS-0815) = 0"}, HostNameWrites("WS-0815")),
                {"NetJoinDomain(SALES, -, installer@SALES, ***, 0x423) = 0"}),
         {kRestart},
         Membership(platform::JoinStatus::Domain, u"SALES"),
         u"WS-0815",
         u"CN=Computers,DC=sales,DC=example,DC=com"},
        {"JoinDomainIntoUnit",
         Machine(kInWorkgroup),
         "[settings]\r\ndomain=SALES\r\naccount=SALES\\installer\r\npassword=s3cret\r\n",
         "dialog 101\n  dropdown 1034\n  pick 1034 \"\\Workstations\\Berlin\"\n  press 1\n",
         {Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "GetDomainDnsName: Status"),
          Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
          Info(0, "MoveComputerAccountToOrganizationUnit: ADsOpenObject(IDirectorySearch) = "
                  "<pointer>"),
          Info(0, "MoveComputerAccountToOrganizationUnit: SetSearchPreference"),
          Info(0, "MoveComputerAccountToOrganizationUnit: Path = "
                  "LDAP://sales.example.com/OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"),
          Info(0, "MoveComputerAccountToOrganizationUnit: ADsOpenObject(IADsContainer) = "
                  "<pointer>"),
          Info(0, "MoveComputerAccountToOrganizationUnit: MoveHere(Source: "
                  "LDAP://sales.example.com/CN=WS-OLD,CN=Computers,DC=sales,DC=example,DC=com)"),
          Info(0, "MoveComputerAccountToOrganizationUnit: QueryInterface(IADs)"),
          Info(0, "MoveComputerAccountToOrganizationUnit:IADs.SetInfo"),
          Info(0, "SaveSettings: MoveComputerAccountToOrganizationUnit")},
         {"NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0", std::string(kMoveIntoBerlin)},
         {kRestart},
         Membership(platform::JoinStatus::Domain, u"SALES"),
         std::nullopt,
         u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"},
        {"DomainChange",
         Machine(kInSales),
         "[settings]\r\ndomain=OTHER\r\naccount=admin\r\npassword=pa55\r\n",
         "",
         {Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "SaveSettings: NetUnjoinDomain with Account \"admin\""),
          Info(0, "SaveSettings: NetJoinDomain with Account \"admin\"")},
         {"NetUnjoinDomain(admin, ***, 0x0) = 0", "NetJoinDomain(OTHER, -, admin, ***, 0x23) = 0"},
         {}, // a domain change alone needs no restart notice
         Membership(platform::JoinStatus::Domain, u"OTHER"),
         std::nullopt,
         u"CN=Computers,DC=other,DC=example,DC=com"},
        {"RenameInDomain",
         Machine(kInSales),
         "[settings]\r\ncomputer=WS-4711\r\naccount=admin\r\npassword=pa55\r\n",
         "",
         {Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "GetDomainDnsName: Status"), Info(0, "GetDomainDnsName: Status"),
          Info(0, "SaveSettings: NetRenameMachineInDomain")},
         Concat({"SetComputerNameEx(5, WS-4711) = 0",
                 "NetRenameMachineInDomain(WS-4711, admin, ***, 0x2) = 0"},
                HostNameWrites("WS-4711")),
         {kRestart},
         Membership(platform::JoinStatus::Domain, u"SALES"),
         u"WS-4711",
         u"OU=Workstations,DC=sales,DC=example,DC=com"},
        {"AdapterToFixedAddress",
         Machine(kInWorkgroup),
         "[settings]\r\ndhcp=0\r\n",
         "",
         {Info(1355, "GetDomainDnsName: Status")},
         // The address the lease gave stays as the fixed one.
         {"SetAdapterIpAddress({22222222-2222-2222-2222-222222222222}, 0, 192.168.1.41, "
          "255.255.255.0, 192.168.1.1) = 0"},
         {},
         Membership(platform::JoinStatus::Workgroup, u"WORKGROUP"),
         std::nullopt,
         u""},
        {"AdapterToDhcp",
         Machine(kInWorkgroup),
         "[settings]\r\ndhcp=1\r\n",
         "",
         {Info(1355, "GetDomainDnsName: Status")},
         // A fixed adapter has no lease to release (50); the switch goes on.
         {"IpReleaseAddress(7, \\DEVICE\\TCPIP_{11111111-1111-1111-1111-111111111111}) = 50",
          "SetAdapterIpAddress({11111111-1111-1111-1111-111111111111}, 1, 10.0.0.5, 255.255.255.0, "
          "10.0.0.1) = 0"},
         {},
         Membership(platform::JoinStatus::Workgroup, u"WORKGROUP"),
         std::nullopt,
         u""},
        {"NothingToChange",
         Machine(kInWorkgroup),
         std::nullopt,
         "",
         {Info(1355, "GetDomainDnsName: Status")},
         {},
         {},
         Membership(platform::JoinStatus::Workgroup, u"WORKGROUP"),
         std::nullopt,
         u""},
    };
}

TEST_P(ProgramScenarioChange, AppliesTheChangeAndEndsWithOk) {
    const ChangeCase& c = GetParam();
    ProgramInput input;
    input.scenario = c.machine;
    if (c.settings) {
        input.settings = Ansi(*c.settings);
    }
    input.actions = c.actions;
    input.commandLine = c.actions.empty() ? u"/auto" : u"";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    sim::World& world = run.World();

    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.LogLines(), c.lines);
    EXPECT_EQ(run.Changes(), c.changes);
    EXPECT_EQ(NoticeCaptions(world), c.notices) << run.Windows();
    EXPECT_EQ(world.GetJoinState().status, c.join.status);
    EXPECT_TRUE(sim::EqualsNoCase(world.GetJoinState().name, c.join.name))
        << sim::Utf16ToUtf8(world.GetJoinState().name);
    EXPECT_EQ(world.PendingComputerName(), c.pendingName);
    if (!c.container.empty()) {
        const std::u16string computer = c.pendingName.value_or(world.ComputerName());
        EXPECT_EQ(AccountContainer(world, c.join.name, computer), c.container);
    }
    for (const sim::MessageBoxRecord& box : world.Desktop().MessageBoxes()) {
        EXPECT_TRUE(box.timed);
        // Unattended notices close by themselves; the interactive run waits.
        EXPECT_EQ(box.timeoutMs, c.actions.empty() ? 10000u : kInfiniteTimeout);
    }
    // Unattended, the main dialog is never shown: it confirms itself while
    // initialising.
    const std::vector<sim::DialogRecord> mains = world.Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains[0].shown, !c.actions.empty());
    EXPECT_EQ(mains[0].endValue, 1);
    const std::vector<sim::DialogRecord> progress = world.Desktop().Dialogs(ui::kDialogProgress);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].endValue, 1);
    EXPECT_FALSE(progress[0].closedBySim);
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
    EXPECT_TRUE(run.PasswordWiped());
}

INSTANTIATE_TEST_SUITE_P(ProgramScenarioRuns, ProgramScenarioChange,
                         testing::ValuesIn(ChangeCases()), CaseName<ChangeCase>);

// --- The roll-out run again ---------------------------------------------------------

// Every computer account of a domain, by distinguished name.
std::vector<std::u16string> ComputerAccounts(sim::World& world, std::u16string_view domain) {
    const sim::Domain* found = world.FindDomain(domain);
    return found == nullptr ? std::vector<std::u16string>{} : found->ComputerAccounts();
}

struct RerunCase {
    const char* name;
    std::string firstActions; // empty: the first run is unattended too
    std::vector<std::u16string> accounts;
};

void PrintTo(const RerunCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramScenarioRerun : public testing::TestWithParam<RerunCase> {};

const RerunCase kRerunCases[] = {
    {"AsTheExampleShowsIt",
     kBundledExampleActions,
     {u"CN=WS-0815,OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"}},
    {"Unattended", "", {u"CN=WS-0815,CN=Computers,DC=sales,DC=example,DC=com"}},
};

// The bundled example's workstation is renamed and joins SALES; the same
// settings file, run again unattended on the machine the first run left
// (after its restart), finds everything as wanted: the domain named by its
// NetBIOS name is the one the computer is a member of, the name and the
// unit are those it has. Nothing is changed, unjoined or asked a second time.
TEST_P(ProgramScenarioRerun, ASecondRunChangesNothing) {
    const RerunCase& c = GetParam();
    ProgramInput input;
    input.scenario = kBundledMachine;
    input.settingsPath = u"C:\\Deploy\\corvane.ini";
    input.settings = Ansi(kBundledSettings);
    input.actions = c.firstActions;
    input.commandLine = c.firstActions.empty() ? u"/auto" : u"";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    sim::World& world = run.World();
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_NE(run.Changes(), std::vector<std::string>{});
    EXPECT_EQ(world.JournalLines("NetRenameMachineInDomain"), std::vector<std::string>{});
    EXPECT_EQ(ComputerAccounts(world, u"SALES"), c.accounts);
    EXPECT_EQ(NoticeCaptions(world), std::vector<std::u16string>{kRestart}) << run.Windows();
    const std::size_t firstRunLines = run.LogLines().size();

    run.RunAgainAfterRestart("", u"/auto");
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(world.ComputerName(), u"WS-0815");
    EXPECT_EQ(run.Changes(), std::vector<std::string>{});
    EXPECT_EQ(NoticeCaptions(world), std::vector<std::u16string>{}) << run.Windows();
    EXPECT_EQ(world.Desktop().Dialogs(ui::kDialogAuthentication).size(), 0u);
    EXPECT_EQ(ComputerAccounts(world, u"SALES"), c.accounts);
    // The second run's own lines: the look-ups of the dialog and of OK, and
    // the domain check of the run; no step.
    const std::vector<std::string> lines = run.LogLines();
    for (std::size_t i = firstRunLines; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find(" - SaveSettings: "), std::string::npos) << lines[i];
    }
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(ProgramScenarioRollOut, ProgramScenarioRerun,
                         testing::ValuesIn(kRerunCases), CaseName<RerunCase>);

// --- Editing the main dialog -------------------------------------------------------

struct EditCase {
    const char* name;
    std::string actions; // played in the main dialog, which the sim then closes
    bool okEnabled;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramScenarioEdit : public testing::TestWithParam<EditCase> {};

const EditCase kEditCases[] = {
    {"NewComputerName", "type 1003 \"WS-0815\"", true},
    {"NameTypedBack", "type 1003 \"WS-0815\"\ntype 1003 \"WS-OLD\"", false},
    // Only the letter case differs: still a new name.
    {"NameInOtherCase", "type 1003 \"ws-old\"", true},
    // The computer name is not validated: an empty one is a change like any.
    {"NameCleared", "type 1003 \"\"", true},
    {"DomainChosenWithoutName", "press 1015", false},
    {"DomainNamed", "press 1015\ntype 1004 \"SALES\"", true},
    {"DomainNameCleared", "press 1015\ntype 1004 \"SALES\"\ntype 1004 \"\"", false},
    {"WorkgroupCleared", "type 1005 \"\"", false},
    {"WorkgroupRenamed", "type 1005 \"LAB\"", true},
    {"AdapterAddressTyped", "address 1011 10.0.0.6", true},
    {"AdapterAddressTypedBack", "address 1011 10.0.0.6\naddress 1011 10.0.0.5", false},
};

TEST_P(ProgramScenarioEdit, OkFollowsThePendingChange) {
    const EditCase& c = GetParam();
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup);
    input.actions = "dialog 101\n" + c.actions + "\n";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());

    const std::vector<sim::DialogRecord> mains = run.World().Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    const sim::DialogItemState* okAtStart = mains[0].ItemAfterInit(ui::kItemOk);
    const sim::DialogItemState* okAtEnd = mains[0].ItemAtEnd(ui::kItemOk);
    ASSERT_NE(okAtStart, nullptr);
    ASSERT_NE(okAtEnd, nullptr);
    // Nothing differs from the machine when the dialog opens.
    EXPECT_FALSE(okAtStart->enabled);
    EXPECT_EQ(okAtEnd->enabled, c.okEnabled);
    for (const std::string& action : mains[0].actions) {
        EXPECT_EQ(action.find("refused"), std::string::npos) << action;
    }
    // The sim closed the dialog when the script ran out: cancelled, nothing
    // applied.
    EXPECT_TRUE(mains[0].closedBySim);
    EXPECT_EQ(run.ExitCode(), 2);
    EXPECT_EQ(run.Changes(), std::vector<std::string>{});
    EXPECT_TRUE(run.World().Desktop().Dialogs(ui::kDialogProgress).empty());
}

INSTANTIATE_TEST_SUITE_P(ProgramScenarioFields, ProgramScenarioEdit, testing::ValuesIn(kEditCases),
                         CaseName<EditCase>);

TEST(ProgramScenario, ADisabledOkRefusesTheClickUntilTheDomainHasAName) {
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup);
    input.settings = Ansi("[settings]\r\naccount=SALES\\installer\r\npassword=s3cret\r\n");
    input.actions = "dialog 101\n"
                    "  press 1015\n"
                    "  press 1\n" // refused: the domain field is empty
                    "  type 1004 \"SALES\"\n"
                    "  press 1\n";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());

    const std::vector<sim::DialogRecord> mains = run.World().Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains[0].actions,
              (std::vector<std::string>{"press 1015", "press 1: refused (disabled)",
                                        "type 1004 \"SALES\"", "press 1"}));
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.World().GetJoinState().status, platform::JoinStatus::Domain);
}

// --- Help and languages ----------------------------------------------------------

TEST(ProgramScenario, HelpShowsTheOptionsAndEndsBeforeAnythingElse) {
    for (const std::u16string& commandLine :
         {std::u16string(u"/?"), std::u16string(u"/auto /?"), std::u16string(u"/language=de /?")}) {
        SCOPED_TRACE(sim::Utf16ToUtf8(commandLine));
        ProgramInput input;
        input.scenario = Machine(kInWorkgroup);
        input.settings = Ansi("[settings]\r\ncomputer=WS-0815\r\n");
        input.commandLine = commandLine;
        ProgramRun run(input);
        ASSERT_TRUE(run.Finished());

        EXPECT_EQ(run.ExitCode(), 0);
        const std::vector<sim::MessageBoxRecord> boxes = run.World().Desktop().MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, u"/language=language\n\tForce Language to use like de-de, de-at, "
                                 u"en (Windows 2000/XP/2003 only) ...\n");
        EXPECT_EQ(boxes[0].caption, u"Help");
        EXPECT_EQ(boxes[0].style, 0x2040u);
        EXPECT_FALSE(boxes[0].timed);
        EXPECT_EQ(boxes[0].owner, platform::kDesktopWindow);
        // No dialog, no log file, nothing changed.
        EXPECT_TRUE(run.World().Desktop().Dialogs().empty());
        EXPECT_FALSE(run.LogExists());
        EXPECT_EQ(run.World().JournalLines("CreateFile"), std::vector<std::string>{});
        EXPECT_EQ(run.Changes(), std::vector<std::string>{});
    }
}

struct LanguageCase {
    const char* name;
    std::u16string option;
    platform::LanguageId language;         // the locale's language, for the notices
    platform::LanguageId templateLanguage; // the dialogs carry German and English only
    std::u16string domainOption, workgroupOption, cancel, header;
    std::u16string restartCaption, restartText;
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramScenarioLanguage : public testing::TestWithParam<LanguageCase> {};

const LanguageCase kLanguageCases[] = {
    {"German", u"/language=de", 0x0407, 0x0407, u"Domäne", u"Arbeitsgruppe", u"&Abbrechen",
     u"Ändern der Einstellungen wie Computernamen, Domänen-/Arbeitsgruppenzugehörigkeit und IP "
     u"Adressen der Netzwerkverbindungen.",
     u"Neustart erforderlich",
     u"Der Computer muss neu gestartet werden um die Änderungen vollständig zu übernehmen."},
    {"GermanAustria", u"/LANGUAGE=de-AT", 0x0C07, 0x0407, u"Domäne", u"Arbeitsgruppe",
     u"&Abbrechen",
     u"Ändern der Einstellungen wie Computernamen, Domänen-/Arbeitsgruppenzugehörigkeit und IP "
     u"Adressen der Netzwerkverbindungen.",
     u"Neustart erforderlich",
     u"Der Computer muss neu gestartet werden um die Änderungen vollständig zu übernehmen."},
    {"English", u"/language=en", 0x0409, 0x0409, u"Domain", u"Workgroup", u"Cancel",
     u"Changing settings like Computer name, Domain-/Workgroup membership and IP settings for all "
     u"network connections.",
     u"Restart needed", u"The computer need to be restarted to apply new settings."},
};

TEST_P(ProgramScenarioLanguage, DialogsAndNoticesFollowTheForcedLanguage) {
    const LanguageCase& c = GetParam();
    // The user's own locale is the other language, so only the option can
    // have chosen it.
    const std::string userLocale = c.language == 0x0409 ? "de-DE" : "en-US";
    const std::string dateTime =
        c.language == 0x0409 ? "21.03.2009, 09:15:43" : "3/21/2009, 9:15:43 AM";
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup) + "\n[workstation]\nlocale " + userLocale + "\n";
    input.settings = Ansi("[settings]\r\ncomputer=WS-0815\r\n");
    input.commandLine = c.option + u" /auto";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 1);

    const std::vector<sim::DialogRecord> mains = run.World().Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains[0].language, c.templateLanguage);
    auto text = [&](int item) {
        const sim::DialogItemState* state = mains[0].ItemAfterInit(item);
        return state == nullptr ? std::u16string(u"(missing)") : state->text;
    };
    EXPECT_EQ(text(id::kMemberOfDomain), c.domainOption);
    EXPECT_EQ(text(id::kMemberOfWorkgroup), c.workgroupOption);
    EXPECT_EQ(text(ui::kItemCancel), c.cancel);
    EXPECT_EQ(text(id::kHeaderText), c.header);

    // The worker takes the same language for its notices; the log keeps the
    // user's own date and time format.
    const std::vector<sim::MessageBoxRecord> boxes = run.World().Desktop().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, c.restartCaption);
    EXPECT_EQ(boxes[0].text, c.restartText);
    EXPECT_EQ(boxes[0].language, c.language);
    const std::vector<sim::DialogRecord> progress =
        run.World().Desktop().Dialogs(ui::kDialogProgress);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].language, mains[0].language);
    EXPECT_EQ(run.LogLines(), std::vector<std::string>{program_test::LogLine(
                                  "Info", 1355, dateTime, "GetDomainDnsName: Status")});
}

INSTANTIATE_TEST_SUITE_P(ProgramScenarioOptions, ProgramScenarioLanguage,
                         testing::ValuesIn(kLanguageCases), CaseName<LanguageCase>);

// Without the option every text is in the user's display language, as the
// platform's own resource look-up picks it, even where the regional format
// is of another language.
TEST(ProgramScenarioLanguageDefault, EveryTextFollowsTheDisplayLanguage) {
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup) + "\n[workstation]\nlocale en-US\nui-language 0x0407\n";
    input.settings = Ansi("[settings]\r\ncomputer=WS-0815\r\n");
    input.commandLine = u"/auto";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());

    const std::vector<sim::DialogRecord> mains = run.World().Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    EXPECT_EQ(mains[0].language, 0x0407);
    const sim::DialogItemState* header = mains[0].ItemAfterInit(id::kHeaderText);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text,
              u"Ändern der Einstellungen wie Computernamen, Domänen-/Arbeitsgruppenzugehörigkeit "
              u"und IP Adressen der Netzwerkverbindungen.");
    const std::vector<sim::DialogRecord> progress =
        run.World().Desktop().Dialogs(ui::kDialogProgress);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].language, 0x0407);
    const std::vector<sim::MessageBoxRecord> boxes = run.World().Desktop().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Neustart erforderlich");
    EXPECT_EQ(boxes[0].text,
              u"Der Computer muss neu gestartet werden um die Änderungen vollständig zu "
              u"übernehmen.");
    EXPECT_EQ(boxes[0].language, 0x0C00); // no forced locale: the custom default
}

TEST(ProgramScenario, TheLanguageFileReplacesTheNoticeTextsOfItsLanguage) {
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup);
    input.settings = Ansi("[settings]\r\ncomputer=WS-0815\r\n");
    // [de] holds the restart caption only; its text comes from the resources.
    input.languages =
        Utf16LeBom(u"[de]\r\n115=Bitte neu starten\\nJetzt\r\n[en]\r\n115=Reboot\r\n");
    input.commandLine = u"/language=de-DE /auto";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());

    const std::vector<sim::MessageBoxRecord> boxes = run.World().Desktop().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Bitte neu starten\nJetzt");
    EXPECT_EQ(
        boxes[0].text,
        u"Der Computer muss neu gestartet werden um die Änderungen vollständig zu übernehmen.");
}

// --- Settings files of every shape ---------------------------------------------

// What the main dialog showed once initialised.
struct Shown {
    std::u16string computer, domain, workgroup, header;
    bool domainTicked = false;
    bool fixedAddressTicked = false; // for the adapter selected at the end
    bool okEnabled = false;
};

struct SettingsCase {
    const char* name;
    std::optional<std::vector<std::uint8_t>> bytes;
    Shown shown;
    std::string actions; // after initialisation, before the sim closes the dialog
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramScenarioSettings : public testing::TestWithParam<SettingsCase> {};

const std::u16string kEnglishHeader = u"Changing settings like Computer name, Domain-/Workgroup "
                                      u"membership and IP settings for all network connections.";

std::string Repeat(char c, std::size_t count) {
    return std::string(count, c);
}
std::u16string Repeat16(char16_t c, std::size_t count) {
    return std::u16string(count, c);
}

const SettingsCase kSettingsCases[] = {
    {"Missing",
     std::nullopt,
     {u"WS-OLD", u"", u"WORKGROUP", kEnglishHeader, false, true, false},
     ""},
    {"Empty", Ansi(""), {u"WS-OLD", u"", u"WORKGROUP", kEnglishHeader, false, true, false}, ""},
    {"Utf16WithByteOrderMark",
     Utf16LeBom(u"[general]\r\nheader=Prüfung für Ärzte ✓\r\n[settings]\r\ncomputer=WS-Ü1\r\n"
                u"workgroup=LAB\r\n"),
     {u"WS-Ü1", u"", u"LAB", u"Prüfung für Ärzte ✓", false, true, true},
     ""},
    {"AnsiCodePage",
     Ansi("[general]\r\nheader=Ger\xE4t f\xFCr \x80 5\r\n[settings]\r\nworkgroup=B\xDCRO\r\n"),
     {u"WS-OLD", u"", u"BÜRO", u"Gerät für € 5", false, true, true},
     ""},
    {"UnknownKeysAndSections",
     Ansi("[settings]\r\ncolour=blue\r\ncomputer=WS-1\r\n[other]\r\ncomputer=WS-2\r\n"
          "domain=NOWHERE\r\n[general]\r\nfont=Comic\r\n"),
     {u"WS-1", u"", u"WORKGROUP", kEnglishHeader, false, true, true},
     ""},
    {"DomainWinsOverWorkgroup",
     Ansi("[settings]\r\nworkgroup=LAB\r\ndomain=SALES\r\n"),
     {u"WS-OLD", u"SALES", u"WORKGROUP", kEnglishHeader, true, true, true},
     ""},
    {"LongerThanEveryCapacity",
     Ansi("[general]\r\ntitle=" + Repeat('t', 300) + "\r\nheader=" + Repeat('h', 300) +
          "\r\n[settings]\r\ncomputer=" + Repeat('C', 20) + "\r\ndomain=" + Repeat('d', 200) +
          "\r\n"),
     {Repeat16(u'C', 15), Repeat16(u'd', 128), u"WORKGROUP", Repeat16(u'h', 255), true, true, true},
     ""},
    {"LongWorkgroup",
     Ansi("[settings]\r\nworkgroup=" + Repeat('W', 40) + "\r\n"),
     {u"WS-OLD", u"", Repeat16(u'W', 15), kEnglishHeader, false, true, true},
     ""},
    // "yes" is refused and counts as missing: every adapter stays as found.
    {"DhcpNotANumber",
     Ansi("[settings]\r\ndhcp=yes\r\n"),
     {u"WS-OLD", u"", u"WORKGROUP", kEnglishHeader, false, false, false},
     "pick 1014 \"Wireless\""},
    {"DhcpMinusOneAsIfMissing",
     Ansi("[settings]\r\ndhcp=-1\r\n"),
     {u"WS-OLD", u"", u"WORKGROUP", kEnglishHeader, false, false, false},
     "pick 1014 \"Wireless\""},
};

TEST_P(ProgramScenarioSettings, TheDialogShowsWhatTheFileGives) {
    const SettingsCase& c = GetParam();
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup);
    input.settings = c.bytes;
    input.actions = "dialog 101\n" + c.actions + "\n";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 2);

    const std::vector<sim::DialogRecord> mains = run.World().Desktop().Dialogs(ui::kDialogMain);
    ASSERT_EQ(mains.size(), 1u);
    auto item = [&](int itemId) {
        const sim::DialogItemState* state = mains[0].ItemAtEnd(itemId);
        return state == nullptr ? sim::DialogItemState{} : *state;
    };
    EXPECT_EQ(item(id::kComputerName).text, c.shown.computer);
    EXPECT_EQ(item(id::kDomain).text, c.shown.domain);
    EXPECT_EQ(item(id::kWorkgroup).text, c.shown.workgroup);
    EXPECT_EQ(item(id::kHeaderText).text, c.shown.header);
    EXPECT_EQ(item(id::kMemberOfDomain).checked, c.shown.domainTicked);
    EXPECT_EQ(item(id::kMemberOfWorkgroup).checked, !c.shown.domainTicked);
    EXPECT_EQ(item(id::kDomain).enabled, c.shown.domainTicked);
    EXPECT_EQ(item(id::kWorkgroup).enabled, !c.shown.domainTicked);
    EXPECT_EQ(item(id::kAddressFixed).checked, c.shown.fixedAddressTicked);
    EXPECT_EQ(item(id::kAddressAutomatic).checked, !c.shown.fixedAddressTicked);
    EXPECT_EQ(item(ui::kItemOk).enabled, c.shown.okEnabled);
    EXPECT_TRUE(run.PasswordWiped());
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(ProgramScenarioFiles, ProgramScenarioSettings,
                         testing::ValuesIn(kSettingsCases), CaseName<SettingsCase>);

TEST(ProgramScenario, OverLongCredentialsAreCutAndShownInTheAuthenticationDialog) {
    ProgramInput input;
    input.scenario = Machine(kInWorkgroup);
    input.settings = Ansi("[settings]\r\naccount=" + Repeat('a', 200) +
                          "@SALES\r\npassword=" + Repeat('p', 200) + "\r\n");
    input.actions = "dialog 101\n  press 1025\n";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());

    const std::vector<sim::DialogRecord> prompts =
        run.World().Desktop().Dialogs(ui::kDialogAuthentication);
    ASSERT_EQ(prompts.size(), 1u);
    const sim::DialogItemState* account = prompts[0].ItemAfterInit(ui::auth_dialog::kAccount);
    const sim::DialogItemState* password = prompts[0].ItemAfterInit(ui::auth_dialog::kPassword);
    ASSERT_NE(account, nullptr);
    ASSERT_NE(password, nullptr);
    // Cut at 127 before the account is normalised: its "@SALES" is gone.
    EXPECT_EQ(account->text, Repeat16(u'a', 127));
    EXPECT_EQ(password->text, Repeat16(u'p', 127));
    EXPECT_EQ(run.ExitCode(), 2);
    EXPECT_TRUE(run.PasswordWiped());
}

} // namespace
} // namespace corvane
