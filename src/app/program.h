// The program from its command line to its exit code, on any platform: the
// options, the log, the main dialog and the finishing steps.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::u16string_view kHelpText =
    u"/language=language\n\tForce Language to use like de-de, de-at, en (Windows 2000/XP/2003 "
    u"only) ...\n";
inline constexpr std::uint32_t kHelpStyle = 0x2040; // OK, information icon, task-modal

// Runs the program with `commandLine`, the text behind the program name, and
// returns the exit code. `prepareProcess` runs once the options are read and
// the program goes on (not after "/?"): the platform's own set-up, such as
// registering window classes. The exit code is 0 after "/?", else the main dialog's end value (1
// OK, 2 cancelled, -1 when the dialog cannot be created), or with "/exitcode=result" the
// run's outcome (app/result_exit_code.h). When state.ApplyWorkerStillRunning is set
// afterwards, the caller must end the process at once instead of returning normally.
int RunProgram(platform::Platform& os, SetupState& state, std::u16string_view commandLine,
               const std::function<void()>& prepareProcess = {});

// Where the log may go, in the order tried: the folder named by TEMP, the
// platform's temporary directory (GetTempPathW), then the Windows temporary
// folder, each with "corvane.log" appended. Only absolute folders count,
// and only paths that fit the log's 260 characters.
std::vector<std::u16string> LogFileCandidates(platform::Platform& os);

// The first of those places, where the log normally is; empty when none.
std::u16string LogFilePath(platform::Platform& os);

// Opens the log on the first candidate that can be opened. When none can,
// an interactive run says so once; an unattended one runs on without a log.
bool OpenDiagnosticLog(platform::Platform& os, SetupState& state);

} // namespace corvane
