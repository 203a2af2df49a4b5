// Measures how long an exe takes from its start to its first painted dialog:
// starts it, waits until a visible dialog of the process exists and has been
// painted (it answers a message sent after its first paint), closes it, and
// repeats. Prints the median and the spread in milliseconds.
//
//   startup_probe.exe RUNS EXE [ARGUMENTS]
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>
#include <windows.h>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: startup_probe RUNS EXE [ARGUMENTS]\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    for (int i = 3; i < argc; ++i) {
        commandLine += L" " + std::wstring(argv[i]);
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring line = commandLine;
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            std::fwprintf(stderr, L"cannot start %ls\n", argv[2]);
            return 1;
        }
        Search search{process.dwProcessId, nullptr};
        const ULONGLONG deadline = GetTickCount64() + 30000;
        while (search.found == nullptr && GetTickCount64() < deadline) {
            EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
            if (search.found == nullptr) {
                Sleep(1);
            }
        }
        if (search.found != nullptr) {
            // Sent messages are served after the pending paint: the answer
            // comes once the dialog has drawn itself.
            UpdateWindow(search.found);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
        }
        LARGE_INTEGER shown;
        QueryPerformanceCounter(&shown);
        if (search.found == nullptr) {
            TerminateProcess(process.hProcess, 1);
        } else {
            PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
            if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
                TerminateProcess(process.hProcess, 1);
            }
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (search.found == nullptr) {
            std::fwprintf(stderr, L"no dialog appeared\n");
            return 1;
        }
        times.push_back(Milliseconds(start, shown));
    }
    std::sort(times.begin(), times.end());
    std::wprintf(L"median %.1f ms, min %.1f ms, max %.1f ms over %d runs\n",
                 times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
