// An event that wakes one waiter and resets itself, like a Win32 auto-reset
// event: the apply worker sets it when its run is over and the progress
// dialog tests it at every message it receives.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace corvane {

class AutoResetEvent {
public:
    void Set() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            signalled_ = true;
        }
        changed_.notify_one();
    }

    // True, and reset, when the event was set; false at once otherwise.
    bool TryWait() { return Wait(0); }

    // Waits up to `milliseconds` for the event; true, and reset, when it was set.
    bool Wait(std::uint32_t milliseconds) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                               [this] { return signalled_; })) {
            return false;
        }
        signalled_ = false;
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

} // namespace corvane
