// corvane.exe runs elevated, often from a share: a DLL placed beside it under
// the name of a system DLL must never be loaded, even where the loader is
// told to prefer such files.
#include "program_under_test.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane::gui {
namespace {

constexpr const wchar_t* kPlantedNames[] = {
    L"iphlpapi.dll", L"netapi32.dll", L"comctl32.dll", L"activeds.dll",
    L"uxtheme.dll",  L"version.dll",  L"dsrole.dll",   L"winmm.dll",
};

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(PlantedLibrary, TheMarkerShowsWhenItIsLoaded) {
    // The marker itself works: loaded by its full path, it leaves its file.
    ProgramUnderTest program(L"marker-check");
    ASSERT_TRUE(program.Place(L"corvane_marker.dll", L"planted.dll"));
    const std::wstring planted = program.Folder() + L"\\planted.dll";
    DeleteFileW((planted + L".loaded").c_str());
    HMODULE module = LoadLibraryW(planted.c_str());
    ASSERT_NE(module, nullptr);
    FreeLibrary(module);
    EXPECT_TRUE(Exists(planted + L".loaded"));
}

TEST(PlantedLibrary, IsNeverLoadedByTheProgram) {
    ProgramUnderTest program(L"planted");
    std::wstring overrides = L"WINEDLLOVERRIDES=mscoree,mshtml=;winedbg.exe=d;";
    for (const wchar_t* name : kPlantedNames) {
        ASSERT_TRUE(program.Place(L"corvane_marker.dll", name));
        DeleteFileW((program.Folder() + L"\\" + name + L".loaded").c_str());
        std::wstring base(name);
        overrides += base.substr(0, base.size() - 4) + L"=n,b;";
    }
    // Cancelling the dialog after it came up: by then every library of the
    // start-up, the dialog and the adapter reading has been loaded.
    ASSERT_TRUE(program.Start(L"", {overrides}));
    HWND dialog = program.WaitForDialog(L"");
    ASSERT_NE(dialog, nullptr);
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(program.WaitForExit(), 2u);
    for (const wchar_t* name : kPlantedNames) {
        EXPECT_FALSE(Exists(program.Folder() + L"\\" + name + L".loaded"))
            << "planted " << std::string(name, name + wcslen(name)) << " was loaded";
    }
}

} // namespace
} // namespace corvane::gui
