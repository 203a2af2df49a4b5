// corvane.exe started as an administrator would start it, from a folder of
// its own with its settings file, and watched through its windows.
#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace corvane::gui {

class ProgramUnderTest {
public:
    // A fresh folder holding a copy of corvane.exe and, when given, the
    // settings file "corvane.ini" with `settings` as its UTF-16LE content.
    explicit ProgramUnderTest(const std::wstring& folderName,
                              const std::wstring* settings = nullptr);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    const std::wstring& Folder() const { return folder_; }
    // Copies a file of the test exe's folder into the program's folder.
    bool Place(const std::wstring& sourceName, const std::wstring& targetName) const;

    // Starts the program with the command line behind its name; `environment`
    // entries ("NAME=value") are added to the inherited environment.
    bool Start(const std::wstring& arguments, const std::vector<std::wstring>& environment = {});

    // The first visible top-level dialog of the process whose caption is
    // `caption` (any caption when empty), waited for up to `timeoutMs`.
    HWND WaitForDialog(const std::wstring& caption, DWORD timeoutMs = 20000) const;

    // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs = 30000);

private:
    std::wstring folder_;
    PROCESS_INFORMATION process_{};
};

// Text of a window or of a dialog item.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// Sets an item's text as typing would end up (WM_SETTEXT raises EN_CHANGE).
void SetItemText(HWND dialog, int id, const std::wstring& text);
// Presses a button of the dialog as a click would.
void PressButton(HWND dialog, int id);
bool IsItemEnabled(HWND dialog, int id);

// The folder of the test exe.
std::wstring TestExeFolder();
// The contents of a file as UTF-16LE text (no byte-order mark expected).
bool ReadUtf16File(const std::wstring& path, std::wstring& text);

} // namespace corvane::gui
