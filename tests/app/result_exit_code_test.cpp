// "/exitcode=result" on the sim: the exit code that tells a deployment tool
// how the run went, and the log line that states it last. Without the
// option the exit code stays the main dialog's end value.
#include "app/result_exit_code.h"
#include "program_run.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using program_test::Ansi;
using program_test::InjectedFailure;
using program_test::ProgramInput;
using program_test::ProgramRun;

constexpr std::string_view kNow = "3/21/2009, 9:15:43 AM";

std::string Line(std::string_view level, std::int32_t code, std::string_view message) {
    return program_test::LogLine(level, code, kNow, message);
}

const std::string& kMachine = program_test::kWorkgroupMachineBesideSales;
constexpr std::string_view kJoinSales = program_test::kJoinSalesSettings;

struct ResultCase {
    const char* name;
    std::string settings;
    std::vector<InjectedFailure> failures;
    std::string actions; // empty: unattended
    int exitCode;
    std::string lastLine;
    std::vector<std::pair<std::string, std::chrono::milliseconds>> delays = {};
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<ResultCase> ResultCases() {
    const std::string succeeded = "RunProgram: Exit code 0: every step succeeded";
    return {
        {"NothingToChange", "", {}, "", 0, Line("Info", 0, succeeded)},
        {"AdaptersOnly", "[settings]\r\ndhcp=0\r\n", {}, "", 0, Line("Info", 0, succeeded)},
        // The fixed adapter holds no lease to release (50) before it turns
        // automatic: the switch itself is what counts.
        {"AdapterSwitchedToAutomatic",
         "[settings]\r\ndhcp=1\r\n",
         {},
         "",
         0,
         Line("Info", 0, succeeded)},
        {"RenameNeedsARestart",
         "[settings]\r\ncomputer=WS-0815\r\n",
         {},
         "",
         3010,
         Line("Info", 3010,
              "RunProgram: Exit code 3010: every step succeeded, the computer needs to be "
              "restarted")},
        {"JoinRefusedByTheDomain",
         std::string(kJoinSales),
         {{"NetJoinDomain", 1789}},
         "",
         1789,
         Line("Error", 1789, "RunProgram: Exit code 1789: the code of the first step that failed")},
        // The refused name comes first; the join that fails later does not
        // replace it.
        {"FirstFailureWins",
         "[settings]\r\ncomputer=WS_0815\r\ndomain=SALES\r\naccount=SALES\\installer\r\n"
         "password=s3cret\r\n",
         {{"NetJoinDomain", 1789}},
         "",
         9556,
         Line("Error", 9556, "RunProgram: Exit code 9556: the code of the first step that failed")},
        {"DomainNotFound",
         "[settings]\r\ndomain=NOWHERE\r\n",
         {},
         "",
         1355,
         Line("Error", 1355, "RunProgram: Exit code 1355: the code of the first step that failed")},
        // Unattended, refused credentials cancel their prompt: the step
        // fails with 1223.
        {"CredentialsRefusedUnattended",
         "[settings]\r\ndomain=SALES\r\naccount=SALES\\installer\r\npassword=wrong\r\n",
         {},
         "",
         1223,
         Line("Error", 1223, "RunProgram: Exit code 1223: the code of the first step that failed")},
        // The adapter calls are not logged, but a failure among them is a
        // failed step all the same.
        {"AdapterCallFails",
         "[settings]\r\ndhcp=1\r\n",
         {{"SetAdapterIpAddress", 31}},
         "",
         31,
         Line("Error", 31, "RunProgram: Exit code 31: the code of the first step that failed")},
        {"NameServersRefused",
         "[settings]\r\ndhcp=0\r\ndns=10.0.0.300\r\n",
         {},
         "",
         13,
         Line("Error", 13, "RunProgram: Exit code 13: the code of the first step that failed")},
        {"NameServersNeedARestart",
         "[settings]\r\ndns=10.0.0.2\r\n",
         {{"SetDNSServerSearchOrder", 1}},
         "",
         3010,
         Line("Info", 3010,
              "RunProgram: Exit code 3010: every step succeeded, the computer needs to be "
              "restarted")},
        {"DialogCancelled",
         "[settings]\r\ncomputer=WS-0815\r\n",
         {},
         "dialog 101\n  press 2\n",
         1223,
         Line("Error", 1223, "RunProgram: Exit code 1223: the dialog was cancelled")},
        // The progress dialog closed while the join still waits for the
        // network: whatever the join returns later, the run was abandoned.
        {"RunAbandoned",
         std::string(kJoinSales),
         {},
         "dialog 101\n  press 1\ndialog 106\n  wait 100\n  close\n",
         1223,
         Line("Error", 1223, "RunProgram: Exit code 1223: the run was abandoned"),
         {{"NetJoinDomain", std::chrono::milliseconds(2000)}}},
    };
}

class ResultExitCodeRun : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultExitCodeRun, TellsTheOutcomeInTheExitCodeAndTheLastLogLine) {
    const ResultCase& c = GetParam();
    ProgramInput input;
    input.scenario = kMachine;
    if (!c.settings.empty()) {
        input.settings = Ansi(c.settings);
    }
    input.failures = c.failures;
    input.delays = c.delays;
    input.actions = c.actions;
    input.commandLine = c.actions.empty() ? u"/auto /exitcode=result" : u"/EXITCODE=result";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), c.exitCode);
    const std::vector<std::string> lines = run.LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.lastLine);
    // Stated once, at the end.
    std::size_t stated = 0;
    for (const std::string& line : lines) {
        if (line.find("RunProgram:") != std::string::npos) {
            ++stated;
        }
    }
    EXPECT_EQ(stated, 1u);
}

INSTANTIATE_TEST_SUITE_P(ResultExitCode, ResultExitCodeRun, testing::ValuesIn(ResultCases()),
                         [](const testing::TestParamInfo<ResultCase>& param) {
                             return std::string(param.param.name);
                         });

// The default is unchanged: 1 for a confirmed run whatever its steps did, 2
// for a cancelled dialog, and no outcome line.
TEST(ResultExitCode, WithoutTheOptionTheExitCodeIsTheDialogsEndValue) {
    for (const auto& [actions, expected] :
         std::vector<std::pair<std::string, int>>{{"", 1}, {"dialog 101\n  press 2\n", 2}}) {
        SCOPED_TRACE(actions);
        ProgramInput input;
        input.scenario = kMachine;
        input.settings = Ansi(kJoinSales);
        input.failures = {{"NetJoinDomain", 1789}};
        input.actions = actions;
        input.commandLine = actions.empty() ? u"/auto" : u"";
        ProgramRun run(input);
        ASSERT_TRUE(run.Finished());
        EXPECT_EQ(run.ExitCode(), expected);
        for (const std::string& line : run.LogLines()) {
            EXPECT_EQ(line.find("RunProgram:"), std::string::npos) << line;
        }
    }
}

// The help box ends with 0 in either mode, before anything is logged.
TEST(ResultExitCode, HelpStillEndsWithZero) {
    ProgramInput input;
    input.scenario = kMachine;
    input.commandLine = u"/exitcode=result /?";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_FALSE(run.LogExists());
}

// A dialog that could not be created keeps its -1: no step ran, so no step
// code can stand for it.
TEST(ResultExitCode, ADialogThatCouldNotBeCreatedKeepsItsEndValue) {
    RunResult result;
    EXPECT_EQ(ResultExitCode(-1, result), -1);
    result.Record(5);
    result.NeedRestart();
    EXPECT_EQ(ResultExitCode(-1, result), -1);
    EXPECT_EQ(ResultExitCode(1, result), 5);
}

} // namespace
} // namespace corvane
