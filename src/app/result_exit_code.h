// The exit code of "/exitcode=result", which tells a deployment tool how the
// run went, and the log line that states it last:
//   0     every step that ran succeeded, no restart needed;
//   3010  every step succeeded, a restart is needed (ERROR_SUCCESS_REBOOT_REQUIRED);
//   1223  the dialog was cancelled or the run abandoned (ERROR_CANCELLED);
//   else  the code of the first step that failed.
// A dialog that could not be created keeps its -1.
#pragma once

#include "model/setup_state.h"

#include <string_view>

namespace corvane {

inline constexpr int kExitRestartNeeded = 3010;
inline constexpr int kExitCancelled = 1223;

// The code for a main dialog that ended with `dialogEnd` after the run that
// `result` describes.
int ResultExitCode(int dialogEnd, const RunResult& result);

// Writes the line that ends the log in this mode, and returns the exit code.
int LogResultExitCode(SetupState& state, int dialogEnd);

} // namespace corvane
