// The apply worker's procedure, run on its own thread while the progress
// dialog shows (ui/apply_with_progress.h starts it).
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"
#include "platform/platform.h"

#include <atomic>

namespace corvane {

// The worker's procedure: the forced language for this thread, the change
// mask from the dialog's items, then the apply sequence.
void ApplyWorker(platform::Platform& os, SetupState& state, platform::DialogView& dialog,
                 const std::atomic<bool>& abandoned);

} // namespace corvane
