// Loading DLLs from the system directory only, with a probe DLL lying beside
// the test exe as the planted file that must never be picked up.
#include "platform/win32/system_library.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane::win32 {
namespace {

using ProbeMarker = DWORD(WINAPI*)();
constexpr DWORD kProbeValue = 0x50524F42u;

std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

TEST(Win32SystemLibrary, FindsExportsAndReportsMissingOnes) {
    struct Case {
        const char* name;
        const wchar_t* library;
        const char* exportName;
        platform::ErrorCode expected;
    };
    const Case cases[] = {
        {"kernel32 export", L"kernel32.dll", "GetTickCount", 0},
        {"iphlpapi export", L"iphlpapi.dll", "GetAdaptersInfo", 0},
        {"netapi32 export", L"netapi32.dll", "NetApiBufferFree", 0},
        {"missing export", L"netapi32.dll", "CorvaneNoSuchExport", platform::error::kProcNotFound},
        {"null export name", L"kernel32.dll", nullptr, platform::error::kProcNotFound},
        {"missing DLL", L"corvane_no_such_library.dll", "GetTickCount",
         platform::error::kProcNotFound},
        {"name with a folder", L".\\kernel32.dll", "GetTickCount", platform::error::kProcNotFound},
        {"absolute path", L"C:\\windows\\system32\\kernel32.dll", "GetTickCount",
         platform::error::kProcNotFound},
    };
    for (const Case& c : cases) {
        SystemLibrary library(c.library);
        DWORD(WINAPI * function)() = &GetTickCount;
        EXPECT_EQ(c.expected, library.Find(c.exportName, function)) << c.name;
        EXPECT_EQ(c.expected == 0, function != nullptr) << c.name;
    }
}

TEST(Win32SystemLibrary, LoadErrorNamesTheCause) {
    struct Case {
        const char* name;
        const wchar_t* library;
        bool loaded;
        platform::ErrorCode error;
    };
    const Case cases[] = {
        {"system DLL", L"netapi32.dll", true, 0},
        {"missing DLL", L"corvane_no_such_library.dll", false, ERROR_MOD_NOT_FOUND},
        {"name with a folder", L"sub\\netapi32.dll", false, platform::error::kInvalidParameter},
        {"empty name", L"", false, platform::error::kInvalidParameter},
        {"null name", nullptr, false, platform::error::kInvalidParameter},
    };
    for (const Case& c : cases) {
        SystemLibrary library(c.library);
        EXPECT_EQ(c.loaded, library.IsLoaded()) << c.name;
        EXPECT_EQ(c.error, library.LoadError()) << c.name;
    }
}

TEST(Win32SystemLibrary, MovedFromLibraryGivesUpItsModule) {
    SystemLibrary first(L"netapi32.dll");
    ASSERT_TRUE(first.IsLoaded());
    SystemLibrary second(std::move(first));
    EXPECT_FALSE(first.IsLoaded());
    ProbeMarker function = nullptr;
    EXPECT_EQ(platform::error::kProcNotFound, first.Find("NetApiBufferFree", function));
    EXPECT_EQ(0u, second.Find("NetApiBufferFree", function));
}

// For one test, the loader's default search as it is without the start-up
// restriction: the exe folder first, then System32.
class WidenedDefaultSearch {
public:
    WidenedDefaultSearch() {
        widened_ = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS) != FALSE;
    }
    ~WidenedDefaultSearch() { RestrictDllSearchToSystemDirectory(); }
    WidenedDefaultSearch(const WidenedDefaultSearch&) = delete;
    WidenedDefaultSearch& operator=(const WidenedDefaultSearch&) = delete;
    bool widened() const { return widened_; }

private:
    bool widened_ = false;
};

// The probe lies beside the exe. After the start-up restriction a plain
// LoadLibraryW does not find it; with the default search widened again it
// does (so the probe is really there to be found), and SystemLibrary still
// does not: it must not rely on the process-wide setting.
TEST(Win32SystemLibrary, IgnoresADllBesideTheExecutable) {
    const std::wstring probe = ExeDirectory() + L"\\corvane_probe.dll";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(probe.c_str())) << "probe DLL missing";
    EXPECT_EQ(nullptr, LoadLibraryW(L"corvane_probe.dll")) << "the test main restricts the search";

    {
        WidenedDefaultSearch widened;
        ASSERT_TRUE(widened.widened());
        HMODULE beside = LoadLibraryW(L"corvane_probe.dll");
        ASSERT_NE(nullptr, beside) << "the probe cannot be loaded from the exe folder at all";
        auto marker = reinterpret_cast<ProbeMarker>(
            reinterpret_cast<void (*)()>(GetProcAddress(beside, "CorvaneProbeMarker")));
        ASSERT_NE(nullptr, marker);
        EXPECT_EQ(kProbeValue, marker());
        FreeLibrary(beside);
        ASSERT_EQ(nullptr, GetModuleHandleW(L"corvane_probe.dll"));

        SystemLibrary library(L"corvane_probe.dll");
        EXPECT_FALSE(library.IsLoaded());
        EXPECT_EQ(static_cast<platform::ErrorCode>(ERROR_MOD_NOT_FOUND), library.LoadError());
    }
    EXPECT_EQ(nullptr, LoadLibraryW(L"corvane_probe.dll")) << "the restriction is back";
}

bool RunsUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine prefers its built-in copy of a system DLL to a file of that name
// anywhere, so a planted namesake would never load and the test below would
// show nothing. For the test's duration the user's override makes Wine
// prefer a file it finds, as Windows does.
class PreferFoundDllUnderWine {
public:
    explicit PreferFoundDllUnderWine(const wchar_t* baseName) : name_(baseName) {
        if (RunsUnderWine() && RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides",
                                             &key_) == ERROR_SUCCESS) {
            static const wchar_t kOrder[] = L"native,builtin";
            RegSetValueExW(key_, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kOrder),
                           sizeof kOrder);
        }
    }
    ~PreferFoundDllUnderWine() {
        if (key_ != nullptr) {
            RegDeleteValueW(key_, name_.c_str());
            RegCloseKey(key_);
        }
    }
    PreferFoundDllUnderWine(const PreferFoundDllUnderWine&) = delete;
    PreferFoundDllUnderWine& operator=(const PreferFoundDllUnderWine&) = delete;

private:
    std::wstring name_;
    HKEY key_ = nullptr;
};

// A copy of the probe named like a system DLL and placed beside the exe: a
// search of the exe folder loads it, yet SystemLibrary loads the system's
// own copy, which lacks the probe's export and has the real one.
TEST(Win32SystemLibrary, PrefersTheSystemCopyOverAPlantedNamesake) {
    const wchar_t* systemName = L"msimg32.dll";
    ASSERT_EQ(nullptr, GetModuleHandleW(systemName))
        << "already loaded: a load by name would not search at all";
    const std::wstring folder = ExeDirectory();
    const std::wstring planted = folder + L"\\" + systemName;
    ASSERT_NE(FALSE, CopyFileW((folder + L"\\corvane_probe.dll").c_str(), planted.c_str(), FALSE));
    struct Removal {
        const std::wstring& path;
        ~Removal() { DeleteFileW(path.c_str()); }
    } removal{planted};
    PreferFoundDllUnderWine preferFound(L"msimg32");

    {
        SystemLibrary library(systemName);
        ASSERT_TRUE(library.IsLoaded());
        ProbeMarker marker = nullptr;
        EXPECT_EQ(platform::error::kProcNotFound, library.Find("CorvaneProbeMarker", marker));
        FARPROC real = nullptr;
        EXPECT_EQ(0u, library.Find("AlphaBlend", real));
    }
    ASSERT_EQ(nullptr, GetModuleHandleW(systemName)) << "the system copy stayed loaded";

    HMODULE beside = LoadLibraryExW(systemName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    ASSERT_NE(nullptr, beside);
    EXPECT_NE(nullptr, GetProcAddress(beside, "CorvaneProbeMarker"))
        << "the planted copy is not what a search of the exe folder loads";
    FreeLibrary(beside);
}

} // namespace
} // namespace corvane::win32
