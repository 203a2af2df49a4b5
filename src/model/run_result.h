// What an apply run achieved, as far as an exit code can tell it: the code of
// the first step that failed, whether a restart is needed for the changes to
// take effect, and whether the run was abandoned before its end.
//
// The apply worker writes it and the main thread reads it once the run is
// over; an abandoned worker may still write while the program ends, so every
// part is atomic.
#pragma once

#include "platform/types.h"

#include <atomic>

namespace corvane {

class RunResult {
public:
    // Records a step's result; only the first failure is kept.
    void Record(platform::ErrorCode code) {
        if (code == platform::error::kSuccess) {
            return;
        }
        platform::ErrorCode none = platform::error::kSuccess;
        firstFailure_.compare_exchange_strong(none, code);
    }
    void NeedRestart() { restartNeeded_.store(true); }
    void MarkAbandoned() { abandoned_.store(true); }

    platform::ErrorCode FirstFailure() const { return firstFailure_.load(); }
    bool RestartNeeded() const { return restartNeeded_.load(); }
    bool Abandoned() const { return abandoned_.load(); }

private:
    std::atomic<platform::ErrorCode> firstFailure_{platform::error::kSuccess};
    std::atomic<bool> restartNeeded_{false};
    std::atomic<bool> abandoned_{false};
};

} // namespace corvane
