#include "dialog_driver.h"

#include <cstdint>
#include <vector>

namespace corvane::win32::dialog_testing {

namespace {

thread_local DialogDriver* activeDriver = nullptr;

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

DialogDriver::DialogDriver(std::vector<Step> steps, UINT periodMs, DWORD watchdogMs)
    : steps_(std::move(steps)), deadline_(GetTickCount() + watchdogMs), previous_(activeDriver) {
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, periodMs, &DialogDriver::Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    activeDriver = previous_;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeDriver != nullptr) {
        activeDriver->OnTick();
    }
}

void DialogDriver::OnTick() {
    HWND dialog = CurrentDialog();
    if (dialog == nullptr) {
        return;
    }
    sawDialog_ = true;
    const bool late = static_cast<std::int32_t>(GetTickCount() - deadline_) >= 0;
    if (next_ < steps_.size() && !late) {
        // A step may run a nested modal loop; the next tick must not re-enter it.
        const std::size_t step = next_++;
        steps_[step](dialog);
        return;
    }
    // Every step has run: the dialog had a few ticks to end by itself.
    if (late || ++idleTicks_ > 20) {
        watchdogFired_ = true;
        EndDialog(dialog, -2);
    }
}

HWND CurrentDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialogWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool CanShowWindows() {
    if (!RunsUnderWine()) {
        return true;
    }
    wchar_t display[64] = {};
    return GetEnvironmentVariableW(L"DISPLAY", display, 64) > 0;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace corvane::win32::dialog_testing
