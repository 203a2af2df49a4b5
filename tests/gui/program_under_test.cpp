#include "program_under_test.h"

namespace corvane::gui {

namespace {

struct Search {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770") {
        return TRUE;
    }
    if (!search->caption->empty() && WindowText(window) != *search->caption) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

bool WriteFileBytes(const std::wstring& path, const void* data, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

} // namespace

std::wstring TestExeFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& folderName, const std::wstring* settings) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"corvane-gui-" + folderName;
    CreateDirectoryW(folder_.c_str(), nullptr);
    DeleteFileW((folder_ + L"\\corvane.ini").c_str());
    Place(L"corvane.exe", L"corvane.exe");
    if (settings != nullptr) {
        std::wstring bytes = L"\xFEFF" + *settings;
        WriteFileBytes(folder_ + L"\\corvane.ini", bytes.data(),
                       static_cast<DWORD>(bytes.size() * sizeof(wchar_t)));
    }
}

ProgramUnderTest::~ProgramUnderTest() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 0xDEAD);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool ProgramUnderTest::Place(const std::wstring& sourceName, const std::wstring& targetName) const {
    return CopyFileW((TestExeFolder() + L"\\" + sourceName).c_str(),
                     (folder_ + L"\\" + targetName).c_str(), FALSE) != 0;
}

bool ProgramUnderTest::Start(const std::wstring& arguments,
                             const std::vector<std::wstring>& environment) {
    std::wstring block;
    if (!environment.empty()) {
        // A given entry replaces the inherited one of its name: with both in
        // the block, which one a look-up finds is left to the platform.
        auto nameOf = [](const std::wstring& entry) {
            std::wstring name = entry.substr(0, entry.find(L'=', 1));
            CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
            return name;
        };
        wchar_t* inherited = GetEnvironmentStringsW();
        for (const wchar_t* entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
            bool replaced = false;
            for (const std::wstring& given : environment) {
                replaced = replaced || nameOf(given) == nameOf(entry);
            }
            if (!replaced) {
                block.append(entry);
                block.push_back(L'\0');
            }
        }
        FreeEnvironmentStringsW(inherited);
        for (const std::wstring& entry : environment) {
            block.append(entry);
            block.push_back(L'\0');
        }
        block.push_back(L'\0');
    }
    const std::wstring exe = folder_ + L"\\corvane.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : block.data(),
                          folder_.c_str(), &startup, &process_) != 0;
}

HWND ProgramUnderTest::WaitForDialog(const std::wstring& caption, DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        Search search{process_.dwProcessId, &caption, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

DWORD ProgramUnderTest::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        nullptr);
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND dialog, int id) {
    // What a click on an enabled button sends its dialog.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool IsItemEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

bool ReadUtf16File(const std::wstring& path, std::wstring& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const DWORD size = GetFileSize(file, nullptr);
    text.assign(size / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    const bool ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                             &read, nullptr) != 0;
    CloseHandle(file);
    return ok;
}

} // namespace corvane::gui
