// One apply run on a worker thread while the progress dialog shows.
//
// Closing the progress dialog abandons the run. The worker is not stopped
// wherever it is (that could leave the heap, the loader or the log locked
// for the finishing steps): it is told to start no further change, works on
// a copy of the dialog's items so that it never reaches the closing dialog,
// and is left to finish or to end with the process.
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"
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

// Starts the worker, runs the progress dialog owned by the main dialog and
// returns when the worker signalled that it is done or the user closed the
// progress dialog. `os` and `state` must outlive an abandoned worker: they
// live as long as the process.
ApplyOutcome RunApplyWithProgress(platform::Platform& os, SetupState& state,
                                  platform::DialogView& mainDialog);

} // namespace corvane
