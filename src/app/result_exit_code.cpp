#include "app/result_exit_code.h"

#include "platform/dialog_logic.h"

namespace corvane {

namespace {

constexpr const char* kOperation = "RunProgram";

struct Outcome {
    int code;
    std::u16string_view text;
};

Outcome OutcomeOf(int dialogEnd, const RunResult& result) {
    if (dialogEnd == platform::kDialogCancel) {
        return {kExitCancelled, u"the dialog was cancelled"};
    }
    if (dialogEnd != platform::kDialogOk) {
        return {dialogEnd, u"the dialog could not be created"};
    }
    if (result.Abandoned()) {
        return {kExitCancelled, u"the run was abandoned"};
    }
    if (const platform::ErrorCode failure = result.FirstFailure();
        failure != platform::error::kSuccess) {
        return {static_cast<int>(failure), u"the code of the first step that failed"};
    }
    if (result.RestartNeeded()) {
        return {kExitRestartNeeded, u"every step succeeded, the computer needs to be restarted"};
    }
    return {0, u"every step succeeded"};
}

} // namespace

int ResultExitCode(int dialogEnd, const RunResult& result) {
    return OutcomeOf(dialogEnd, result).code;
}

int LogResultExitCode(SetupState& state, int dialogEnd) {
    const Outcome outcome = OutcomeOf(dialogEnd, state.Result);
    const bool succeeded = outcome.code == 0 || outcome.code == kExitRestartNeeded;
    state.Log.Log(succeeded ? LogLevel::Info : LogLevel::Error, outcome.code,
                  u"%S: Exit code %d: %s", kOperation, outcome.code, outcome.text);
    return outcome.code;
}

} // namespace corvane
