// corvane.exe: the Windows entry. Everything but the process set-up is the
// portable program.
#include "app/program.h"
#include "model/setup_state.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

#include <commctrl.h>

namespace {

// The IP address control of the main dialog. comctl32 is not one of the
// system's known DLLs, so it is loaded from the system directory (the
// manifest's activation context redirects it to version 6) instead of being
// imported.
void RegisterIpAddressControl() {
    static corvane::win32::SystemLibrary commonControls(L"comctl32.dll");
    using InitFunction = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
    InitFunction* init = nullptr;
    if (commonControls.Find("InitCommonControlsEx", init) != corvane::platform::error::kSuccess) {
        return;
    }
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_INTERNET_CLASSES;
    init(&classes);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    corvane::win32::RestrictDllSearchToSystemDirectory();
    // Both live as long as the process: an abandoned apply worker may still
    // use them while the program ends.
    auto* platform = new corvane::win32::Win32Platform();
    auto* state = new corvane::SetupState();

    const int exitCode = corvane::RunProgram(
        platform->Os(), *state, corvane::win32::Utf16(commandLine), RegisterIpAddressControl);
    if (state->ApplyWorkerStillRunning.load()) {
        // The worker may hold a lock of the heap or the loader: end here,
        // without the runtime's exit handlers or DLL detach notifications.
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    }
    delete state;
    delete platform;
    return exitCode;
}
