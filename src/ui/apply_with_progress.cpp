#include "ui/apply_with_progress.h"

#include "apply/apply_worker.h"
#include "support/auto_reset_event.h"
#include "support/interface_language.h"
#include "support/wipe_memory.h"
#include "ui/authentication_dialog.h"
#include "ui/progress_dialog.h"

#include <memory>
#include <thread>

namespace corvane {

namespace {

// What the dialog thread and the worker share for one run. Held by both, so
// that an abandoned worker still has it after the dialog thread has moved on.
struct SharedRun {
    SharedRun(platform::Platform& os, SetupState& state, const AdministratorChoice& chosen,
              platform::WindowId mainDialog)
        : choice(chosen), owner(mainDialog), prompt(os, state) {}

    const AdministratorChoice choice;
    const platform::WindowId owner;
    AuthenticationPrompt prompt;
    std::atomic<bool> abandoned{false};
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
    AutoResetEvent done;
};

} // namespace

ApplyOutcome RunApplyWithProgress(platform::Platform& os, SetupState& state,
                                  const AdministratorChoice& choice,
                                  platform::WindowId mainDialog) {
    auto run = std::make_shared<SharedRun>(os, state, choice, mainDialog);
    // Taken before the worker starts: it sets the forced language again for
    // itself, and the state is not read by both threads at once.
    const platform::LanguageId language = InterfaceLanguage(os, state);
    std::thread worker([&os, &state, run] {
        ApplyWorker(os, state, run->choice, run->owner, run->prompt, run->abandoned);
        if (run->abandoned.load()) {
            // The program has wiped the password when it ended; a prompt
            // that was still open then may have stored a new one since.
            WipeMemory(state.Password.data(), sizeof(char16_t) * PasswordText::kCapacity);
        }
        run->finished->store(true);
        run->done.Set();
    });

    const ProgressEnd end = RunProgressDialog(os, language, mainDialog, run->done);

    ApplyOutcome outcome;
    outcome.workerFinished = run->finished;
    if (end == ProgressEnd::Finished) {
        // The event is set as the worker's very last act: the join is short.
        worker.join();
        outcome.completed = true;
        return outcome;
    }
    run->abandoned.store(true);
    state.Result.MarkAbandoned();
    if (run->finished->load()) {
        worker.join();
    } else {
        worker.detach();
        outcome.workerStillRunning = true;
        state.ApplyWorkerStillRunning.store(true);
    }
    return outcome;
}

} // namespace corvane
