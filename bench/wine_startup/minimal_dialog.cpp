// The yardstick for corvane.exe's start-up: a dialog exe built the same way
// (static, same compiler and flags) that shows one dialog from an in-memory
// template and does nothing else.
#include <cstdint>
#include <vector>
#include <windows.h>

namespace {

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

void Append(std::vector<WORD>& words, const wchar_t* text) {
    do {
        words.push_back(static_cast<WORD>(*text));
    } while (*text++ != L'\0');
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // DLGTEMPLATE with one OK button, as small as a dialog gets.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    header->cdit = 1;
    header->cx = 200;
    header->cy = 80;
    words.push_back(0); // no menu
    words.push_back(0); // default class
    Append(words, L"Minimal dialog");
    words.push_back(8);
    Append(words, L"MS Shell Dlg");
    while (words.size() % 2 != 0) {
        words.push_back(0); // items start on a DWORD boundary
    }
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    item.x = 75;
    item.y = 55;
    item.cx = 50;
    item.cy = 14;
    item.id = IDOK;
    const auto* itemWords = reinterpret_cast<const WORD*>(&item);
    words.insert(words.end(), itemWords, itemWords + sizeof item / sizeof(WORD));
    words.push_back(0xFFFF);
    words.push_back(0x0080); // button class
    Append(words, L"OK");
    words.push_back(0); // no creation data
    return static_cast<int>(DialogBoxIndirectParamW(
        instance, reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr, DialogProcedure, 0));
}
