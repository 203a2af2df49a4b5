// The progress dialog as the sim runs it, with a real worker thread.
#include "platform/sim/world.h"
#include "ui/dialog_ids.h"
#include "ui/progress_dialog.h"
#include "ui/string_resources.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace corvane {
namespace {

using sim::DialogAction;

class ProgressDialogRun : public testing::Test {
protected:
    sim::DialogRecord Last() { return world.Desktop().Dialogs(ui::kDialogProgress).back(); }

    sim::World world;
    AutoResetEvent done;
};

TEST_F(ProgressDialogRun, AWorkerDoneBeforeTheFirstDrawEndsItAtOnce) {
    done.Set();
    EXPECT_EQ(ProgressEnd::Finished,
              RunProgressDialog(world.platform(), ui::kLanguageEnglish, 0x300, done));
    const sim::DialogRecord record = Last();
    EXPECT_FALSE(record.shown);
    EXPECT_EQ(0, record.draws);
    EXPECT_EQ(0, record.timerTicks);
    EXPECT_EQ(platform::kDialogOk, record.endValue);
    EXPECT_EQ(0x300u, record.owner);
}

TEST_F(ProgressDialogRun, ClosingMidRunEndsItAsClosedAtOnce) {
    world.Desktop().ScriptDialog(
        ui::kDialogProgress,
        {DialogAction::Wait(300), DialogAction::Close(), DialogAction::Wait(1000)});
    EXPECT_EQ(ProgressEnd::Closed,
              RunProgressDialog(world.platform(), ui::kLanguageEnglish, 0, done));
    const sim::DialogRecord record = Last();
    EXPECT_TRUE(record.shown);
    EXPECT_FALSE(record.closedBySim);
    EXPECT_EQ(3, record.timerTicks);
    EXPECT_EQ(4, record.draws);           // on showing, then after each tick
    EXPECT_EQ(2u, record.actions.size()); // nothing after the close
    EXPECT_FALSE(done.TryWait());
}

TEST_F(ProgressDialogRun, EndsWhenTheWorkerSignalsWhileEscapeAndEnterDoNothing) {
    world.Desktop().ScriptDialog(
        ui::kDialogProgress,
        {DialogAction::Escape(), DialogAction::Enter(), DialogAction::Wait(200)});
    // The worker finishes a little after the dialog is up: a machine under
    // load may start the dialog's thread late, and a worker done before the
    // first draw ends the dialog unseen, which is another test's case.
    std::thread worker([this] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while ((world.Desktop().Dialogs(ui::kDialogProgress).empty() ||
                !world.Desktop().Dialogs(ui::kDialogProgress).back().shown) &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        done.Set();
    });
    EXPECT_EQ(ProgressEnd::Finished,
              RunProgressDialog(world.platform(), ui::kLanguageEnglish, 0, done));
    worker.join();
    const sim::DialogRecord record = Last();
    EXPECT_FALSE(record.closedBySim);
    EXPECT_GE(record.timerTicks, 2); // the wait ran out before the worker was done
    EXPECT_EQ(platform::kDialogOk, record.endValue);
}

TEST_F(ProgressDialogRun, TheSimsBarIsTheTemplatesBarInPixels) {
    // 232 x 11 dialog units of "MS Shell Dlg" 8, less the client edge.
    class Probe final : public platform::DialogLogic {
    public:
        bool OnInitDialog(platform::DialogView&, std::intptr_t) override { return false; }
        void OnDrawItem(platform::DialogView& dialog, int id,
                        platform::DrawSurface& surface) override {
            EXPECT_EQ(ui::progress_dialog::kBar, id);
            width = surface.Width();
            height = surface.Height();
            dialog.EndDialog(1);
        }
        int width = 0;
        int height = 0;
    } probe;
    world.platform().ui.RunModalDialog(ui::kDialogProgress, ui::kLanguageEnglish, 0, probe, 0);
    EXPECT_EQ(344, probe.width);
    EXPECT_EQ(14, probe.height);
}

} // namespace
} // namespace corvane
