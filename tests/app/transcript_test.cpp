// The transcript corvane-sim prints before the log, over whole runs of the
// bundled example machine: what an administrator rehearsing a roll-out sees
// of the dialogs, the refused actions and the notices.
#include "app/program_run.h"
#include "bundled_example.h"
#include "platform/sim/desktop/transcript.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using program_test::Ansi;
using program_test::ProgramInput;
using program_test::ProgramRun;

constexpr std::string_view kWrongPassword = "[general]\n"
                                            "[settings]\n"
                                            "computer=WS-0815\n"
                                            "domain=SALES\n"
                                            "account=SALES\\installer\n"
                                            "password=wrong\n";

struct TranscriptCase {
    std::string_view name;
    std::string_view settings;
    std::string_view actions;
    std::string_view transcript;
};

const TranscriptCase kCases[] = {
    {"BundledJoin", kBundledSettings, kBundledExampleActions,
     "dialog main \"Workstation set-up\"\n"
     "notice \"Restart needed\" \"The computer need to be restarted to apply new settings.\" "
     "-> ok\n"},
    // A mistyped unit is refused, and the run goes on without it.
    {"MistypedUnit", kBundledSettings,
     "dialog main\n"
     "  dropdown ou\n"
     "  pick ou \"\\Workstations\\Berln\"\n"
     "  press ok\n"
     "dialog progress\n"
     "  wait 60000\n"
     "messagebox ok\n",
     "dialog main \"Workstation set-up\"\n"
     "  refused: pick ou \"\\Workstations\\Berln\" (no such entry)\n"
     "notice \"Restart needed\" \"The computer need to be restarted to apply new settings.\" "
     "-> ok\n"},
    // The domain refuses the password: the prompt shows why; with the
    // account cleared its OK is disabled, and the sim closes the prompt.
    {"DisabledOk", kWrongPassword,
     "dialog main\n"
     "  press ok\n"
     "dialog credentials\n"
     "  type account \"\"\n"
     "  press ok\n",
     "dialog main \"Network settings\"\n"
     "dialog credentials \"Authentification\" error \"The user name or password is "
     "incorrect.\\r\\n\"\n"
     "  refused: press ok (disabled)\n"
     "  closed by the sim: no actions left for it\n"
     "notice \"Restart needed\" \"The computer need to be restarted to apply new settings.\" "
     "-> ok\n"},
};

class Transcript : public testing::TestWithParam<TranscriptCase> {};

TEST_P(Transcript, ShowsWhatTheUserSawInOrder) {
    const TranscriptCase& c = GetParam();
    ProgramInput input;
    input.scenario = kBundledMachine;
    input.settingsPath = u"C:\\Deploy\\corvane.ini";
    input.settings = Ansi(c.settings);
    input.actions = std::string(c.actions);
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    std::string transcript;
    for (const std::string& line : sim::TranscriptLines(run.World().Desktop().Journal())) {
        // Whether the progress dialog gets on the screen depends on how soon
        // the worker is done, on Windows as here.
        if (!line.starts_with("dialog progress ")) {
            transcript += line + "\n";
        }
    }
    EXPECT_EQ(transcript, c.transcript);
}

INSTANTIATE_TEST_SUITE_P(BundledMachine, Transcript, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TranscriptCase>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
} // namespace corvane
