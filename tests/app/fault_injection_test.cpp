// Fault injection across whole runs of the program: two rich runs — the
// bundled example's workstation joining SALES into an OU with a rename and
// both adapters changed, and a member of SALES that is renamed and moved to
// another domain unattended — each repeated with one platform operation
// failing, once or always, with every code its callers tell apart and one
// they do not expect.
//
// Whatever fails, a run must end through the main dialog's OK, in time, log
// the failing step with its code where the step logs, leave nothing open,
// never write the password anywhere but the settings file, and wipe it from
// the setup state at the end. A run whose progress dialog is closed while
// the worker waits in a prompt must start no change afterwards.
#include "bundled_example.h"
#include "program_run.h"
#include "ui/dialog_ids.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace corvane {
namespace {

using platform::ErrorCode;
using program_test::Ansi;
using program_test::InjectedFailure;
using program_test::ProgramInput;
using program_test::ProgramRun;

enum class RunKind {
    // The bundled example, confirmed by hand: rename, join SALES, account
    // into \Workstations\Berlin, a new fixed address on the wired adapter and
    // a renewed lease on the wireless one.
    BundledJoin,
    // Unattended: a member of SALES, its account in OU=Workstations and
    // registered to start with Windows, renamed and moved to OTHER, every
    // adapter set to DHCP.
    DomainChange,
};

constexpr std::u16string_view kBundledPassword = u"s3cret";
constexpr std::u16string_view kDomainChangePassword = u"Pa55-w0rd!";

constexpr std::string_view kBundledActions = R"(
dialog 101
  type 1003 "WS-0815"
  dropdown 1034
  pick 1034 "\Workstations\Berlin"
  address 1011 10.0.0.50
  pick 1014 "Wireless Network Adapter"
  check 1010
  address 1011 192.168.1.77
  check 1009
  press 1
)";

// Every prompt for other credentials is cancelled.
constexpr std::string_view kCancelEveryPrompt = R"(
dialog 105
  press 2
dialog 105
  press 2
dialog 105
  press 2
dialog 105
  press 2
dialog 105
  press 2
dialog 105
  press 2
)";

// With program_test::kTwoAdapters behind it.
constexpr std::string_view kDomainChangeMachine = R"(
[workstation]
name WS-0815
join domain SALES
registry HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run quendle sz "C:\Old Place\corvane.exe"
[domain SALES sales.example.com]
credential admin "Pa55-w0rd!"
own-logon refused
ou \Workstations\Berlin
computer WS-0815 OU=Workstations
[domain OTHER other.example.com]
credential admin "Pa55-w0rd!"
)";

constexpr std::string_view kDomainChangeSettings = "[settings]\r\n"
                                                   "domain=OTHER\r\n"
                                                   "computer=WS-4711\r\n"
                                                   "account=admin\r\n"
                                                   "password=Pa55-w0rd!\r\n"
                                                   "dhcp=1\r\n";

const char* RunName(RunKind run) {
    return run == RunKind::BundledJoin ? "BundledJoin" : "DomainChange";
}

std::u16string_view Password(RunKind run) {
    return run == RunKind::BundledJoin ? kBundledPassword : kDomainChangePassword;
}

ProgramInput Input(RunKind run, std::vector<InjectedFailure> failures = {},
                   std::string_view promptAnswers = kCancelEveryPrompt) {
    ProgramInput input;
    if (run == RunKind::BundledJoin) {
        input.scenario = kBundledMachine;
        input.settingsPath = u"C:\\Deploy\\corvane.ini";
        input.settings = Ansi(kBundledSettings);
        input.actions = std::string(kBundledActions) + std::string(promptAnswers);
    } else {
        input.scenario =
            std::string(kDomainChangeMachine) + std::string(program_test::kTwoAdapters);
        input.settings = Ansi(kDomainChangeSettings);
        input.actions = std::string(promptAnswers);
        input.commandLine = u"/auto";
    }
    input.failures = std::move(failures);
    // A worker that hangs shows as a progress dialog the sim had to close.
    input.patience = std::chrono::milliseconds(10000);
    return input;
}

// --- The operations and their codes ----------------------------------------------

// The operations each run calls. Those the journal records in a clean run
// are checked against it below; the reads it records only when they fail
// (the computer name, adapter tables, registry and profile reads, files,
// locale, strings and the directory search's inner calls) are listed as the
// runs make them, and every case checks that its failure was met.
const std::vector<std::string> kCommonOperations = {
    "NetJoinDomain",
    "NetGetJoinableOUs",
    "NetGetJoinInformation",
    "DsGetDcName",
    "GetComputerName",
    "SetComputerNameEx",
    "GetAdaptersInfo",
    "GetInterfaceInfo",
    "IpReleaseAddress",
    "SetAdapterIpAddress",
    "RegOpenKey",
    "RegQueryValue",
    "RegSetValue",
    "RegCloseKey",
    "CreateFile",
    "WriteFile",
    "PathFileExists",
    "GetCurrentDirectory",
    "GetModuleFileName",
    "GetEnvironmentVariable",
    "ExpandEnvironmentStrings",
    "GetPrivateProfileString",
    "GetPrivateProfileSection",
    "SetThreadLocale",
    "GetLocaleInfo",
    "GetDateFormat",
    "GetTimeFormat",
    "LoadString",
    "ADsOpenObject",
    "ExecuteSearch",
    "CoInitialize",
    "SetSearchPreference",
    "GetNextRow",
    "GetColumn",
};
// Only the bundled join renews a lease and moves the account its join made.
const std::vector<std::string> kBundledJoinOnly = {"IpRenewAddress", "MoveHere", "SetInfo",
                                                   "QueryInterface"};
// Only the domain change renames in a domain and leaves it.
const std::vector<std::string> kDomainChangeOnly = {"NetRenameMachineInDomain", "NetUnjoinDomain"};
// Calls the sim carries out whatever is planned for them.
const std::set<std::string> kNeverFailing = {"CloseHandle"};

std::vector<std::string> Operations(RunKind run) {
    std::vector<std::string> operations = kCommonOperations;
    const std::vector<std::string>& own =
        run == RunKind::BundledJoin ? kBundledJoinOnly : kDomainChangeOnly;
    operations.insert(operations.end(), own.begin(), own.end());
    return operations;
}

constexpr ErrorCode kGenFailure = 31;               // ERROR_GEN_FAILURE: nobody expects it
constexpr ErrorCode kUnspecified = 0x80004005u;     // E_FAIL
constexpr ErrorCode kDirAccessDenied = 0x80070005u; // from ERROR_ACCESS_DENIED
constexpr ErrorCode kDirLogonFailure = 0x8007052Eu; // from ERROR_LOGON_FAILURE
constexpr ErrorCode kDirAccountDisabled = 0x80070533u;
constexpr ErrorCode kDirNoSuchObject = 0x80072030u; // LDAP_NO_SUCH_OBJECT

// The codes the callers of each operation tell apart, then one they do not.
std::vector<ErrorCode> Codes(std::string_view operation) {
    if (operation == "NetJoinDomain") {
        return {5, 1326, 1331, 1355, kGenFailure};
    }
    if (operation == "NetUnjoinDomain") {
        return {2692, 5, 1326, 1331, kGenFailure};
    }
    if (operation == "NetRenameMachineInDomain") {
        return {2697, 5, 1326, 1331, kGenFailure};
    }
    if (operation == "NetGetJoinableOUs") {
        return {5, 86, 1323, 1326, 1331, kGenFailure};
    }
    if (operation == "DsGetDcName") {
        return {1355, kGenFailure};
    }
    if (operation == "GetAdaptersInfo") {
        return {111, 232, kGenFailure};
    }
    if (operation == "GetInterfaceInfo") {
        return {122, kGenFailure};
    }
    if (operation == "RegOpenKey" || operation == "RegQueryValue") {
        return {2, 5};
    }
    if (operation == "RegSetValue") {
        return {5, kGenFailure};
    }
    if (operation == "CreateFile") {
        return {3, 5, 32};
    }
    if (operation == "WriteFile") {
        return {112, kGenFailure};
    }
    if (operation.rfind("GetPrivateProfile", 0) == 0 || operation == "PathFileExists") {
        return {2};
    }
    if (operation == "GetEnvironmentVariable") {
        return {203};
    }
    if (operation == "GetModuleFileName" || operation == "GetLocaleInfo" ||
        operation == "GetDateFormat" || operation == "GetTimeFormat") {
        return {122, kGenFailure};
    }
    if (operation == "SetThreadLocale") {
        return {87};
    }
    if (operation == "LoadString") {
        return {1814};
    }
    if (operation == "ADsOpenObject") {
        return {kDirAccessDenied, kDirLogonFailure, kDirAccountDisabled, kDirNoSuchObject,
                kUnspecified};
    }
    if (operation == "MoveHere" || operation == "Create" || operation == "SetInfo" ||
        operation == "ExecuteSearch") {
        return {kDirAccessDenied, kUnspecified};
    }
    if (operation == "CoInitialize") {
        return {0x80010106u /* RPC_E_CHANGED_MODE */, kUnspecified};
    }
    if (operation == "QueryInterface") {
        return {0x80004002u /* E_NOINTERFACE */, kUnspecified};
    }
    if (operation == "GetColumn") {
        return {0x8000500Du /* E_ADS_PROPERTY_NOT_FOUND */, kUnspecified};
    }
    if (operation == "SetSearchPreference" || operation == "GetNextRow") {
        return {kUnspecified};
    }
    return {kGenFailure};
}

bool IsRefusal(ErrorCode code) {
    return code == 5 || code == 1326 || code == 1331;
}

// What a directory code becomes for the apply sequence: its low 16 bits.
ErrorCode Reduced(ErrorCode code) {
    return (code & 0x80000000u) != 0 ? code & 0xFFFFu : code;
}

// A log line the run must show: its level, its code, and the message or
// the start of it (up to a pointer the message ends with).
struct ExpectedLine {
    std::string level;
    std::int32_t code = 0;
    std::string message;

    std::string Head() const {
        char number[16];
        std::snprintf(number, sizeof number, code < 0 ? "%#08x" : "%08d", code);
        return level + "(" + number + ")";
    }
};

ExpectedLine InfoLine(ErrorCode code, std::string message) {
    return {"Info", static_cast<std::int32_t>(code), std::move(message)};
}
ExpectedLine DirectoryLine(ErrorCode code, std::string message) {
    return {code == 0 ? "Info" : "Error", static_cast<std::int32_t>(code), std::move(message)};
}

constexpr const char* kMoveStep = "SaveSettings: MoveComputerAccountToOrganizationUnit";

// The lines that name the failing step with its code, where the step logs
// its failure. Operations whose failures no step logs (reads, the adapter
// calls, the list of units, the COM bracket) expect none.
std::vector<ExpectedLine> ExpectedLines(RunKind run, std::string_view operation, ErrorCode code) {
    const std::string account = run == RunKind::BundledJoin ? "\"installer@SALES\"" : "\"admin\"";
    // A refusal opens the prompt, which is cancelled.
    const ErrorCode stepResult = IsRefusal(code) ? 1223 : code;
    if (operation == "DsGetDcName") {
        return {InfoLine(code, "GetDomainDnsName: Status")};
    }
    if (operation == "NetJoinDomain") {
        return {InfoLine(code, "SaveSettings: NetJoinDomain with Account " + account),
                InfoLine(stepResult, "SaveSettings: Joining to Workgroup/Domain not possible")};
    }
    if (operation == "NetUnjoinDomain") {
        const ExpectedLine unjoin =
            InfoLine(code, "SaveSettings: NetUnjoinDomain with Account " + account);
        if (code == 2692) {
            // Not joined counts as left: the join goes ahead.
            return {unjoin, InfoLine(0, "SaveSettings: NetJoinDomain with Account " + account)};
        }
        return {unjoin, InfoLine(code, "SaveSettings: In Zeile 921"),
                InfoLine(stepResult, "SaveSettings: Joining to Workgroup/Domain not possible")};
    }
    if (operation == "NetRenameMachineInDomain") {
        const ExpectedLine rename = InfoLine(code, "SaveSettings: NetRenameMachineInDomain");
        if (code == 2697) {
            // No account for the old name: one is created under the new.
            return {rename, InfoLine(0, "SaveSettings: CreateComputerAccount")};
        }
        return {rename, InfoLine(stepResult, "SaveSettings: Settings Computer name not possible.")};
    }
    if (run != RunKind::BundledJoin) {
        // The domain change's directory calls only locate the account while
        // the dialog initialises, which logs nothing.
        return {};
    }
    if (operation == "ADsOpenObject") {
        return {DirectoryLine(code, "MoveComputerAccountToOrganizationUnit: "
                                    "ADsOpenObject(IDirectorySearch) = "),
                InfoLine(Reduced(code), kMoveStep)};
    }
    if (operation == "SetSearchPreference") {
        return {DirectoryLine(code, "MoveComputerAccountToOrganizationUnit: SetSearchPreference"),
                InfoLine(Reduced(code), kMoveStep)};
    }
    if (operation == "ExecuteSearch") {
        return {InfoLine(Reduced(code), kMoveStep)};
    }
    if (operation == "QueryInterface") {
        return {DirectoryLine(code, "MoveComputerAccountToOrganizationUnit: QueryInterface(IADs)"),
                InfoLine(Reduced(code), kMoveStep)};
    }
    if (operation == "SetInfo") {
        return {DirectoryLine(code, "MoveComputerAccountToOrganizationUnit:IADs.SetInfo"),
                InfoLine(Reduced(code), kMoveStep)};
    }
    if (operation == "MoveHere") {
        return {DirectoryLine(code, "MoveComputerAccountToOrganizationUnit: MoveHere(Source: "),
                InfoLine(Reduced(code), kMoveStep)};
    }
    return {};
}

// "Level(code)" and the message of each log line.
struct LoggedLine {
    std::string head;
    std::string message;
};

std::vector<LoggedLine> Logged(const ProgramRun& run) {
    std::vector<LoggedLine> lines;
    for (const std::string& line : run.LogLines()) {
        const std::size_t head = line.find("): ");
        const std::size_t message = line.find(" - ", head == std::string::npos ? 0 : head);
        if (head == std::string::npos || message == std::string::npos) {
            lines.push_back({line, ""});
            continue;
        }
        lines.push_back({line.substr(0, head + 1), line.substr(message + 3)});
    }
    return lines;
}

bool HasLine(const std::vector<LoggedLine>& lines, const ExpectedLine& expected) {
    for (const LoggedLine& line : lines) {
        if (line.head == expected.Head() && line.message.rfind(expected.message, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string LogText(const ProgramRun& run) {
    std::string text;
    for (const std::string& line : run.LogLines()) {
        text += line + "\n";
    }
    return text;
}

std::size_t Calls(ProgramRun& run, std::string_view operation) {
    return run.World().JournalLines(operation).size();
}

// Any file but the settings file that holds the password, as UTF-16LE or
// as ANSI text.
std::vector<std::string> FilesWithPassword(ProgramRun& run, std::u16string_view password) {
    sim::World& world = run.World();
    const std::u16string& settings = run.SettingsPath();
    const std::vector<std::uint8_t> wide = sim::Utf16Bytes(password, false);
    const std::string narrow = sim::Utf16ToCp1252(password);
    std::vector<std::string> found;
    for (const std::u16string& path : world.FilePaths()) {
        if (sim::EqualsNoCase(path, settings)) {
            continue;
        }
        const std::vector<std::uint8_t> bytes =
            world.FileBytes(path).value_or(std::vector<std::uint8_t>{});
        const bool hasWide =
            std::search(bytes.begin(), bytes.end(), wide.begin(), wide.end()) != bytes.end();
        const bool hasNarrow =
            std::search(bytes.begin(), bytes.end(), narrow.begin(), narrow.end()) != bytes.end();
        if (hasWide || hasNarrow) {
            found.push_back(sim::Utf16ToUtf8(path));
        }
    }
    return found;
}

// What every run must leave behind, failing or not. A key whose close was
// made to fail stays open in the sim: those are not the program's.
void ExpectEndedCleanly(ProgramRun& run, RunKind kind) {
    ASSERT_TRUE(run.Finished()) << run.Windows();
    EXPECT_EQ(run.ExitCode(), 1) << run.Windows();
    const std::vector<sim::DialogRecord> progress =
        run.World().Desktop().Dialogs(ui::kDialogProgress);
    ASSERT_EQ(progress.size(), 1u) << run.Windows();
    EXPECT_EQ(progress[0].endValue, 1);
    EXPECT_FALSE(progress[0].closedBySim) << "the worker did not finish";
    EXPECT_FALSE(run.State().ApplyWorkerStillRunning.load());
    const std::size_t unclosable = run.World().JournalLines("RegCloseKey").size();
    std::vector<std::string> expectedLeaks;
    if (unclosable != 0) {
        expectedLeaks.push_back("open registry keys " + std::to_string(unclosable));
    }
    EXPECT_EQ(run.Leaks(), expectedLeaks);
    EXPECT_EQ(FilesWithPassword(run, Password(kind)), std::vector<std::string>{});
    EXPECT_TRUE(run.PasswordWiped());
}

// --- Clean runs ------------------------------------------------------------------

class FaultInjectionClean : public testing::TestWithParam<RunKind> {};

TEST_P(FaultInjectionClean, RunsCleanAndCallsOnlyListedOperations) {
    const RunKind kind = GetParam();
    ProgramRun run(Input(kind));
    ExpectEndedCleanly(run, kind);
    const std::vector<std::string> listed = Operations(kind);
    std::set<std::string> called;
    for (const sim::JournalEntry& entry : run.World().Journal()) {
        EXPECT_FALSE(entry.injected) << entry.Text();
        if (sim::FailurePlan::IsKnownOperation(entry.operation) &&
            kNeverFailing.count(entry.operation) == 0) {
            called.insert(entry.operation);
        }
    }
    for (const std::string& operation : called) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), operation), listed.end())
            << operation << " is called but not injected";
    }
    // The runs reach every step they are meant to exercise.
    const std::vector<std::string> changes = run.Changes();
    auto changed = [&](std::string_view operation) {
        for (const std::string& change : changes) {
            if (change.rfind(std::string(operation) + "(", 0) == 0) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(changed("NetJoinDomain"));
    EXPECT_TRUE(changed("SetComputerNameEx"));
    EXPECT_TRUE(changed("SetAdapterIpAddress"));
    EXPECT_TRUE(changed("IpReleaseAddress"));
    if (kind == RunKind::BundledJoin) {
        // The join makes the account under the new name; the unit step
        // moves that one and creates none.
        EXPECT_FALSE(changed("Create"));
        EXPECT_TRUE(changed("MoveHere"));
        EXPECT_TRUE(changed("IpRenewAddress"));
    } else {
        EXPECT_TRUE(changed("NetRenameMachineInDomain"));
        EXPECT_TRUE(changed("NetUnjoinDomain"));
        // The start-with-Windows value is written again as the run's last
        // change, after the dialog has ended.
        ASSERT_FALSE(changes.empty());
        EXPECT_EQ(
            changes.back().rfind(
                "RegSetValue(HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run, quendle, ",
                0),
            0u)
            << changes.back();
        EXPECT_EQ(Calls(run, "ExecuteSearch"), 1u); // the account located at start
    }
}

INSTANTIATE_TEST_SUITE_P(FaultInjection, FaultInjectionClean,
                         testing::Values(RunKind::BundledJoin, RunKind::DomainChange),
                         [](const testing::TestParamInfo<RunKind>& param) {
                             return std::string(RunName(param.param));
                         });

// --- One operation failing -------------------------------------------------------

struct FaultCase {
    RunKind run;
    std::string operation;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << RunName(c.run) << " " << c.operation;
}

std::vector<FaultCase> FaultCases() {
    std::vector<FaultCase> cases;
    for (const RunKind run : {RunKind::BundledJoin, RunKind::DomainChange}) {
        for (const std::string& operation : Operations(run)) {
            cases.push_back({run, operation});
        }
    }
    return cases;
}

class FaultInjectionOperation : public testing::TestWithParam<FaultCase> {};

TEST_P(FaultInjectionOperation, EveryCodeOnceAndAlwaysEndsCleanly) {
    const FaultCase& c = GetParam();
    // The unexpected code comes last in the list and runs first: a refusal
    // whose prompt is cancelled must end its step just like it.
    std::vector<ErrorCode> codes = Codes(c.operation);
    std::rotate(codes.rbegin(), codes.rbegin() + 1, codes.rend());

    for (const int times : {1, sim::kAlways}) {
        std::optional<std::size_t> unexpectedCalls;
        for (const ErrorCode code : codes) {
            SCOPED_TRACE(c.operation + " " + std::to_string(code) + " " +
                         (times == 1 ? "once" : "always"));
            ProgramRun run(Input(c.run, {{c.operation, code, times}}));
            ExpectEndedCleanly(run, c.run);
            if (!run.Finished()) {
                continue;
            }
            sim::World& world = run.World();
            // The failure met the program's call.
            bool met = false;
            for (const sim::JournalEntry& entry : world.Journal()) {
                met = met || (entry.operation == c.operation && entry.injected);
            }
            EXPECT_TRUE(met) << c.operation << " was not called";
            if (times == 1) {
                EXPECT_TRUE(world.PendingFailures().empty());
            }
            const std::vector<LoggedLine> logged = Logged(run);
            for (const ExpectedLine& expected : ExpectedLines(c.run, c.operation, code)) {
                EXPECT_TRUE(HasLine(logged, expected))
                    << "no line " << expected.Head() << " ... " << expected.message << " in\n"
                    << LogText(run);
            }
            if (times == sim::kAlways && c.operation == "GetAdaptersInfo") {
                // No adapter list: no adapter is touched.
                EXPECT_EQ(Calls(run, "SetAdapterIpAddress") + Calls(run, "IpReleaseAddress") +
                              Calls(run, "IpRenewAddress"),
                          0u);
            }
            if (times == sim::kAlways && c.operation == "CreateFile") {
                EXPECT_FALSE(run.LogExists());
            }
            const std::size_t calls = Calls(run, c.operation);
            if (!unexpectedCalls) {
                unexpectedCalls = calls;
            } else if (IsRefusal(Reduced(code))) {
                // The refused call is not made again after the cancel.
                EXPECT_EQ(calls, *unexpectedCalls) << run.Windows();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FaultInjection, FaultInjectionOperation, testing::ValuesIn(FaultCases()),
                         [](const testing::TestParamInfo<FaultCase>& param) {
                             return std::string(RunName(param.param.run)) + "_" +
                                    param.param.operation;
                         });

// --- The progress dialog closed while the worker waits in a prompt ----------------

struct CancelCase {
    const char* name;
    RunKind run; // confirmed by hand in either case
    std::string operation;
    ErrorCode code;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultInjectionAbandoned : public testing::TestWithParam<CancelCase> {};

TEST_P(FaultInjectionAbandoned, NoChangeStartsAfterTheProgressDialogIsClosed) {
    const CancelCase& c = GetParam();
    // The prompt stays open for about a second, then is confirmed with good
    // credentials; the progress dialog is closed after its first tick. Every
    // pause of a sim dialog takes 100 ms here.
    std::string answers = "dialog 105\n";
    for (int i = 0; i < 10; ++i) {
        answers += "  wait 1\n";
    }
    answers += c.run == RunKind::BundledJoin
                   ? "  type 1021 \"SALES\\installer\"\n  type 1022 \"s3cret\"\n"
                   : "  type 1021 \"admin\"\n  type 1022 \"Pa55-w0rd!\"\n";
    answers += "  press 1\ndialog 106\n  wait 100\n  close\n";
    ProgramInput input = Input(c.run, {{c.operation, c.code, 1}}, answers);
    if (c.run == RunKind::DomainChange) {
        input.commandLine.clear();
        input.actions = "dialog 101\n  press 1\n" + answers;
    }
    input.tickPause = std::chrono::milliseconds(100);
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_TRUE(run.PasswordWiped());
    sim::World& world = run.World();
    const std::vector<sim::DialogRecord> progress = world.Desktop().Dialogs(ui::kDialogProgress);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].endValue, 2);

    // Let the worker leave its prompt and the run.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto promptOpen = [&] {
        for (const sim::DialogRecord& prompt : world.Desktop().Dialogs(ui::kDialogAuthentication)) {
            if (!prompt.ended) {
                return true;
            }
        }
        return false;
    };
    while (promptOpen() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(promptOpen());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const std::vector<sim::JournalEntry> journal = world.Journal();
    std::size_t refused = journal.size();
    for (std::size_t i = 0; i < journal.size(); ++i) {
        if (journal[i].operation == c.operation && journal[i].injected) {
            refused = i;
            break;
        }
    }
    ASSERT_LT(refused, journal.size());
    for (std::size_t i = refused + 1; i < journal.size(); ++i) {
        // The program's entry still refreshes an existing start-with-Windows
        // value once the dialog has ended; the worker changes nothing more.
        const bool startWithWindows =
            journal[i].Text().rfind(
                "RegSetValue(HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run, ", 0) == 0;
        EXPECT_FALSE(program_test::IsChangeOperation(journal[i].operation) && !startWithWindows)
            << "after the close: " << journal[i].Text();
    }
    // No notice either once the run was abandoned.
    const std::vector<sim::DesktopRecord> windows = world.Desktop().Journal();
    bool promptSeen = false;
    for (const sim::DesktopRecord& window : windows) {
        if (const auto* dialog = std::get_if<sim::DialogRecord>(&window)) {
            promptSeen = promptSeen || dialog->templateId == ui::kDialogAuthentication;
        } else if (std::holds_alternative<sim::MessageBoxRecord>(window)) {
            EXPECT_FALSE(promptSeen) << sim::RecordText(window);
        }
    }
    EXPECT_FALSE(run.LogContains(Password(c.run)));
    EXPECT_EQ(run.Leaks(), std::vector<std::string>{});
    // What the prompt took after the program had ended is not kept either.
    EXPECT_TRUE(run.PasswordZeroNow());
}

const CancelCase kCancelCases[] = {
    {"InTheRename", RunKind::DomainChange, "NetRenameMachineInDomain", 1326},
    {"InTheJoin", RunKind::BundledJoin, "NetJoinDomain", 1326},
    {"InTheMove", RunKind::BundledJoin, "ADsOpenObject", kDirLogonFailure},
};

INSTANTIATE_TEST_SUITE_P(FaultInjection, FaultInjectionAbandoned, testing::ValuesIn(kCancelCases),
                         [](const testing::TestParamInfo<CancelCase>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
} // namespace corvane
