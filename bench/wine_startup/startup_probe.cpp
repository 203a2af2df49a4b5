// Measures how long exes take from their start to their first painted
// dialog, paired and interleaved: every round starts each exe once, in an
// order that rotates from round to round, so that a burst of load on a shared
// machine falls on all of them alike. An exe counts as shown once a visible
// dialog of its process exists and has been painted (it answers a message
// sent after its first paint); the probe then closes it.
//
//   startup_probe.exe ROUNDS EXE [EXE...]
//
// Prints each round's times and the ratios of the first exe to each other
// one in that round, then per exe the median and the minimum, and the ratios
// of the medians, of the minima and the median of the per-round ratios.
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

// One start of `exe` to its first painted dialog; negative when none came.
double TimeToFirstPaint(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + exe + L"\"";
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
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
    return search.found == nullptr ? -1 : Milliseconds(start, shown);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::wstring NameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: startup_probe ROUNDS EXE [EXE...]\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));
    const std::vector<std::wstring> exes(argv + 2, argv + argc);
    const std::size_t count = exes.size();
    std::vector<std::vector<double>> times(count);
    std::vector<std::vector<double>> ratios(count);
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> these(count);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t which = (k + static_cast<std::size_t>(round)) % count;
            these[which] = TimeToFirstPaint(exes[which]);
            if (these[which] < 0) {
                std::fwprintf(stderr, L"no dialog of %ls appeared\n", exes[which].c_str());
                return 1;
            }
        }
        std::wprintf(L"round %2d:", round + 1);
        for (std::size_t i = 0; i < count; ++i) {
            times[i].push_back(these[i]);
            std::wprintf(L" %ls %.1f ms%ls", NameOf(exes[i]).c_str(), these[i],
                         i + 1 < count ? L"," : L"");
        }
        for (std::size_t i = 1; i < count; ++i) {
            ratios[i].push_back(these[0] / these[i]);
            std::wprintf(L"; %ls/%ls %.2f", NameOf(exes[0]).c_str(), NameOf(exes[i]).c_str(),
                         these[0] / these[i]);
        }
        std::wprintf(L"\n");
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::wprintf(L"%ls: median %.1f ms, min %.1f ms over %d rounds\n", NameOf(exes[i]).c_str(),
                     Median(times[i]), *std::min_element(times[i].begin(), times[i].end()), rounds);
    }
    const double firstMin = *std::min_element(times[0].begin(), times[0].end());
    for (std::size_t i = 1; i < count; ++i) {
        const double otherMin = *std::min_element(times[i].begin(), times[i].end());
        std::wprintf(L"%ls/%ls: %.2f (medians), %.2f (minima), %.2f (median of the rounds' "
                     L"ratios)\n",
                     NameOf(exes[0]).c_str(), NameOf(exes[i]).c_str(),
                     Median(times[0]) / Median(times[i]), firstMin / otherMin, Median(ratios[i]));
    }
    return 0;
}
