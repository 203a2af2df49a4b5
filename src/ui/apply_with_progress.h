// One apply run on a worker thread while the progress dialog shows.
//
// Closing the progress dialog abandons the run. The worker is not stopped
// wherever it is (that could leave the heap, the loader or the log locked
// for the finishing steps): it is told to start no further change, works on
// its own copy of the administrator's choice and never calls into the
// closing dialog, and is left to finish or to end with the process.
#pragma once

#include "model/administrator_choice.h"
#include "model/setup_state.h"
#include "platform/platform.h"

#include <atomic>
#include <memory>

namespace corvane {

struct ApplyOutcome {
    // The worker finished and the progress dialog ended by itself.
    bool completed = false;
    // The run was abandoned while the worker was still inside it; the
    // program must then end the process without waiting for the thread.
    bool workerStillRunning = false;
    // Becomes true when the worker has left the run, abandoned or not.
    std::shared_ptr<const std::atomic<bool>> workerFinished;
};

// Starts the worker on a copy of `choice`, runs the progress dialog owned by
// the main dialog (which also owns the run's notices and prompts) and
// returns when the worker signalled that it is done or the user closed the
// progress dialog. `os` and `state` must outlive an abandoned worker: they
// live as long as the process.
ApplyOutcome RunApplyWithProgress(platform::Platform& os, SetupState& state,
                                  const AdministratorChoice& choice, platform::WindowId mainDialog);

} // namespace corvane
