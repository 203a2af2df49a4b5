#include "app/result_exit_code.h"

#include "platform/dialog_logic.h"

namespace corvane {

namespace {

constexpr const char* kOperation = "RunProgram";

std::u16string_view OutcomeText(int dialogEnd, const RunResult& result) {
    if (dialogEnd == platform::kDialogCancel) {
        return u"the dialog was cancelled";
    }
    if (dialogEnd != platform::kDialogOk) {
        return u"the dialog could not be created";
    }
    if (result.Abandoned()) {
        return u"the run was abandoned";
    }
    if (result.FirstFailure() != platform::error::kSuccess) {
        return u"the code of the first step that failed";
    }
    if (result.RestartNeeded()) {
        return u"every step succeeded, the computer needs to be restarted";
    }
    return u"every step succeeded";
}

} // namespace

int ResultExitCode(int dialogEnd, const RunResult& result) {
    if (dialogEnd == platform::kDialogCancel) {
        return kExitCancelled;
    }
    if (dialogEnd != platform::kDialogOk) {
        return dialogEnd;
    }
    if (result.Abandoned()) {
        return kExitCancelled;
    }
    if (const platform::ErrorCode failure = result.FirstFailure();
        failure != platform::error::kSuccess) {
        return static_cast<int>(failure);
    }
    return result.RestartNeeded() ? kExitRestartNeeded : 0;
}

int LogResultExitCode(SetupState& state, int dialogEnd) {
    const int code = ResultExitCode(dialogEnd, state.Result);
    const bool succeeded = code == 0 || code == kExitRestartNeeded;
    state.Log.Log(succeeded ? LogLevel::Info : LogLevel::Error, code, u"%S: Exit code %d: %s",
                  kOperation, code, OutcomeText(dialogEnd, state.Result));
    return code;
}

} // namespace corvane
