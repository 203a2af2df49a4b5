// Drives a modal dialog from inside its own modal loop, for the tests of the
// real dialogs: a thread timer runs one step per tick on the dialog's thread,
// and a watchdog ends whatever dialog is still open when the steps are over
// or the time is up, so that no test can wait in a modal loop for ever.
#pragma once

#include "platform/win32/windows_api.h" // <windows.h> without the names the platform interfaces use
#include "window_capture.h"

#include <functional>
#include <string>
#include <vector>

namespace corvane::win32::dialog_testing {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    // Each step runs on a tick at which this thread shows a dialog (the
    // innermost, enabled one); `periodMs` apart.
    explicit DialogDriver(std::vector<Step> steps, UINT periodMs = 150, DWORD watchdogMs = 15000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Whether a dialog was seen at all, and whether the watchdog had to end
    // one.
    bool SawDialog() const { return sawDialog_; }
    bool WatchdogFired() const { return watchdogFired_; }
    std::size_t StepsRun() const { return next_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
    DWORD deadline_ = 0;
    int idleTicks_ = 0;
    bool sawDialog_ = false;
    bool watchdogFired_ = false;
    DialogDriver* previous_ = nullptr;
};

// The visible, enabled dialog window of this thread, or null.
HWND CurrentDialog();

// Whether windows can be shown: always on Windows; under Wine only with a
// display (scripts/wine-session).
bool CanShowWindows();
bool RunsUnderWine();

std::wstring WindowText(HWND window);

} // namespace corvane::win32::dialog_testing
