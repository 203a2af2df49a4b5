// The apply worker on a real thread with the progress dialog of the sim:
// a run that ends by itself, and a run abandoned by closing the dialog.
#include "fakes/fake_dialog_view.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/scenario/scenario.h"
#include "platform/sim/text.h"
#include "platform/sim/world.h"
#include "ui/administrator_choice_reading.h"
#include "ui/apply_with_progress.h"
#include "ui/dialog_ids.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace corvane {
namespace {

namespace id = ui::main_dialog;
using sim::DialogAction;

constexpr std::u16string_view kLogPath =
    u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";

class ApplyWorkerTest : public testing::Test {
protected:
    ApplyWorkerTest() {
        const sim::ScenarioResult loaded = sim::LoadScenario(R"(
[workstation]
name WS-OLD
join workgroup WORKGROUP
[domain SALES sales.example.com]
credential SALES\installer s3cret
)",
                                                             world);
        EXPECT_TRUE(loaded.ok()) << loaded.Text();
        state.Log.Open(world.platform(), kLogPath);
        state.CurrentComputerName.Assign(u"WS-OLD");
        state.CurrentWorkgroup.Assign(u"WORKGROUP");
        state.JoinStatusAtStart = platform::JoinStatus::Workgroup;
        state.DialogInitialised = true;
        dialog.item(id::kComputerName).text = u"WS-OLD";
        dialog.item(id::kDomain).text = u"SALES";
        dialog.item(id::kMemberOfDomain).checked = true;
    }

    static bool WaitFor(const ApplyOutcome& outcome) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!outcome.workerFinished->load()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    std::vector<std::string> LogMessages() {
        const std::vector<std::uint8_t> bytes =
            world.FileBytes(kLogPath).value_or(std::vector<std::uint8_t>{});
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
             start = end + 2) {
            const std::u16string line = text.substr(start, end - start);
            const std::size_t code = line.find(u'(');
            const std::size_t message = line.find(u" - ");
            // "Level(code) message", without the date and time.
            lines.push_back(sim::Utf16ToUtf8(line.substr(0, line.find(u':', code)) + u" " +
                                             line.substr(message + 3)));
        }
        return lines;
    }

    sim::World world;
    SetupState state;
    fakes::FakeDialogView dialog;
};

TEST_F(ApplyWorkerTest, AFinishedRunEndsTheProgressDialogByItself) {
    state.Account.Assign(u"installer@SALES");
    state.Password.Assign(u"s3cret");
    const ApplyOutcome outcome = RunApplyWithProgress(
        world.platform(), state, ReadAdministratorChoice(dialog), dialog.Window());
    EXPECT_TRUE(outcome.completed);
    EXPECT_FALSE(outcome.workerStillRunning);
    EXPECT_TRUE(outcome.workerFinished->load());
    const std::vector<sim::DialogRecord> progress = world.Desktop().Dialogs(106);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].endValue, 1);
    EXPECT_FALSE(progress[0].closedBySim);
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Domain);
}

TEST_F(ApplyWorkerTest, ClosingTheProgressDialogAbandonsTheRunAtOnce) {
    state.Account.Assign(u"installer@SALES");
    state.Password.Assign(u"wrong");
    // The join is refused; while the prompt is open the user closes the
    // progress dialog, then confirms the prompt with good credentials.
    // Every pause of a sim dialog takes 100 ms of real time here: the prompt
    // stays open for a second, the progress dialog closes after its first tick.
    world.Desktop().SetTickPause(std::chrono::milliseconds(100));
    world.Desktop().ScriptDialog(106, {DialogAction::Wait(100), DialogAction::Close()});
    std::vector<DialogAction> prompt(10, DialogAction::Wait(1));
    prompt.push_back(DialogAction::Type(ui::auth_dialog::kAccount, u"SALES\\installer"));
    prompt.push_back(DialogAction::Type(ui::auth_dialog::kPassword, u"s3cret"));
    prompt.push_back(DialogAction::Press(1));
    world.Desktop().ScriptDialog(105, prompt);
    const auto started = std::chrono::steady_clock::now();
    const ApplyOutcome outcome = RunApplyWithProgress(
        world.platform(), state, ReadAdministratorChoice(dialog), dialog.Window());
    const auto returned = std::chrono::steady_clock::now();

    EXPECT_FALSE(outcome.completed);
    // The dialog ended without waiting for the prompt the worker was in.
    EXPECT_LT(returned - started, std::chrono::milliseconds(700));
    EXPECT_TRUE(outcome.workerStillRunning);
    EXPECT_TRUE(state.ApplyWorkerStillRunning.load());
    ASSERT_TRUE(WaitFor(outcome));

    const std::vector<sim::DialogRecord> progress = world.Desktop().Dialogs(106);
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].endValue, 2);
    // Every line written before the close stays; no change was started after
    // it: no second join, no restart notice.
    EXPECT_EQ(LogMessages(),
              (std::vector<std::string>{
                  "Info(00000000) GetDomainDnsName: Status",
                  "Info(00001326) SaveSettings: NetJoinDomain with Account \"installer@SALES\"",
              }));
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Workgroup);
    EXPECT_TRUE(world.Desktop().MessageBoxes().empty());
}

} // namespace
} // namespace corvane
