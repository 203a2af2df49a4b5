// The yardstick for corvane.exe's start-up: corvane's own main dialog
// (template 101, with the same resources and the same manifest, so common
// controls version 6 and the IP address control) shown by an exe without
// any of corvane's logic. What corvane takes beyond this is what its own
// work before the first paint costs.
#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

namespace {

constexpr WORD kMainDialog = 101;

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// The IP address class, registered as corvane registers it: comctl32 from
// the system directory, its entry looked up at run time.
void RegisterIpAddressControl() {
    HMODULE commonControls = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (commonControls == nullptr) {
        return;
    }
    using InitFunction = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
    auto* init = reinterpret_cast<InitFunction*>(
        reinterpret_cast<void*>(GetProcAddress(commonControls, "InitCommonControlsEx")));
    if (init == nullptr) {
        return;
    }
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_INTERNET_CLASSES;
    init(&classes);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RegisterIpAddressControl();
    return static_cast<int>(
        DialogBoxParamW(instance, MAKEINTRESOURCEW(kMainDialog), nullptr, DialogProcedure, 0));
}
