// The real corvane.exe under Wine with input it must refuse: a computer name
// the platform would rewrite, an address mode other than 0 or 1, and TEMP
// unset or naming a missing folder. Runs that change an adapter go through a
// stand-in IP Helper installed into the prefix's system directory, because
// Wine's own SetAdapterIpAddress ends the process.
#include "program_under_test.h"

#include <cstddef>
#include <cwchar>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::gui {
namespace {

constexpr const wchar_t* kWineOverrides = L"WINEDLLOVERRIDES=mscoree,mshtml=;winedbg.exe=d";

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    return temp;
}

std::wstring LogText() {
    std::wstring text;
    ReadUtf16File(TempFolder() + L"\\corvane.log", text);
    return text;
}

// The lines added to the log since `before` was read.
std::vector<std::wstring> AddedLines(const std::wstring& before) {
    const std::wstring log = LogText();
    std::vector<std::wstring> lines;
    if (log.size() < before.size() || log.compare(0, before.size(), before) != 0) {
        return lines;
    }
    const std::wstring added = log.substr(before.size());
    for (std::size_t start = 0, end; (end = added.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        lines.push_back(added.substr(start, end - start));
    }
    return lines;
}

// The line's level and code, and its message after the date and time.
std::wstring Shape(const std::wstring& line) {
    const std::size_t dash = line.find(L" - ");
    const std::size_t close = line.find(L"): ");
    if (dash == std::wstring::npos || close == std::wstring::npos) {
        return line;
    }
    return line.substr(0, close + 1) + line.substr(dash);
}

std::vector<std::wstring> Shapes(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> shapes;
    for (const std::wstring& line : lines) {
        shapes.push_back(Shape(line));
    }
    return shapes;
}

std::wstring DnsHostName() {
    wchar_t name[64] = {};
    DWORD size = 64;
    GetComputerNameExW(ComputerNamePhysicalDnsHostname, name, &size);
    return name;
}

// Puts the stand-in IP Helper in place of the prefix's own file for the
// test's duration, and has Wine load that file, not its built-in copy, into
// corvane.exe (the per-program override of the registry).
class StandInIpHelper {
    static constexpr const wchar_t* kOverrideKey =
        L"Software\\Wine\\AppDefaults\\corvane.exe\\DllOverrides";

public:
    StandInIpHelper() {
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        target_ = std::wstring(system) + L"\\iphlpapi.dll";
        saved_ = target_ + L".corvane-saved";
        record_ = TestExeFolder() + L"\\ip-helper-calls.txt";
        DeleteFileW(record_.c_str());
        installed_ = MoveFileExW(target_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
                     CopyFileW((TestExeFolder() + L"\\corvane_ip_helper_stub.dll").c_str(),
                               target_.c_str(), FALSE);
        // Only corvane.exe prefers the file to Wine's built-in copy.
        HKEY key = nullptr;
        installed_ =
            installed_ && RegCreateKeyExW(HKEY_CURRENT_USER, kOverrideKey, 0, nullptr, 0,
                                          KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS;
        if (key != nullptr) {
            const wchar_t native[] = L"native";
            installed_ = installed_ && RegSetValueExW(key, L"iphlpapi", 0, REG_SZ,
                                                      reinterpret_cast<const BYTE*>(native),
                                                      sizeof native) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~StandInIpHelper() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kOverrideKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueW(key, L"iphlpapi");
            RegCloseKey(key);
        }
        DeleteFileW(target_.c_str());
        MoveFileExW(saved_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    StandInIpHelper(const StandInIpHelper&) = delete;
    StandInIpHelper& operator=(const StandInIpHelper&) = delete;

    bool Installed() const { return installed_; }
    std::vector<std::wstring> Environment() const {
        return {L"CORVANE_IP_HELPER_STUB_LOG=" + record_};
    }
    // The calls recorded so far, one per line.
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        HANDLE file = CreateFileW(record_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return calls;
        }
        std::string text(4096, '\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        text.resize(read);
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            calls.push_back(text.substr(start, end - start));
        }
        return calls;
    }

private:
    std::wstring target_;
    std::wstring saved_;
    std::wstring record_;
    bool installed_ = false;
};

TEST(RefusedInputUnderWine, AComputerNameThePlatformWouldRewriteRenamesNothing) {
    const std::wstring before = LogText();
    const std::wstring hostName = DnsHostName();
    const std::wstring settings = L"[settings]\r\ncomputer=a b\r\n";
    ProgramUnderTest program(L"refused-name", &settings);
    ASSERT_TRUE(program.Start(L"/auto /language=en"));
    // The name counts as a change, so the restart notice still comes.
    HWND notice = program.WaitForDialog(L"Restart needed");
    ASSERT_NE(notice, nullptr);
    PressButton(notice, IDOK);
    EXPECT_EQ(program.WaitForExit(), 1u);

    const std::vector<std::wstring> lines = Shapes(AddedLines(before));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind(L"Info(", 0), 0u);
    EXPECT_NE(lines[0].find(L" - GetDomainDnsName: Status"), std::wstring::npos);
    EXPECT_EQ(lines[1], L"Info(00009560) - SaveSettings: Computer name \"a b\" not valid");
    EXPECT_EQ(DnsHostName(), hostName);
}

TEST(RefusedInputUnderWine, OnlyZeroOrOneChangeTheAdapters) {
    StandInIpHelper ipHelper;
    ASSERT_TRUE(ipHelper.Installed());
    struct Case {
        const wchar_t* value;
        std::vector<std::string> calls;
        const wchar_t* refusal; // the log line's shape, or null
    };
    const Case cases[] = {
        {L"yes",
         {},
         L"Warning(00000013) - ReadSettingsFile: Settings file value dhcp=\"yes\" is "
         L"neither 0 nor 1 and is ignored"},
        {L"7",
         {},
         L"Warning(00000013) - ReadSettingsFile: Settings file value dhcp=\"7\" is "
         L"neither 0 nor 1 and is ignored"},
        {L"0",
         {"SetAdapterIpAddress({5E3C2A10-0000-4000-8000-00000000C0DE}, 0, 10.0.0.5, "
          "255.255.255.0, 10.0.0.1)"},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value, c.value + wcslen(c.value)));
        const std::vector<std::string> callsBefore = ipHelper.Calls();
        const std::wstring before = LogText();
        const std::wstring settings = std::wstring(L"[settings]\r\ndhcp=") + c.value + L"\r\n";
        ProgramUnderTest program(std::wstring(L"dhcp-") + c.value, &settings);
        ASSERT_TRUE(program.Start(L"/auto /language=en", ipHelper.Environment()));
        EXPECT_EQ(program.WaitForExit(), 1u);

        const std::vector<std::string> calls = ipHelper.Calls();
        EXPECT_EQ(std::vector<std::string>(
                      calls.begin() + static_cast<std::ptrdiff_t>(callsBefore.size()), calls.end()),
                  c.calls);
        const std::vector<std::wstring> lines = Shapes(AddedLines(before));
        ASSERT_FALSE(lines.empty());
        if (c.refusal != nullptr) {
            EXPECT_EQ(lines[0], c.refusal);
        } else {
            EXPECT_EQ(lines[0].find(L"ReadSettingsFile"), std::wstring::npos);
        }
    }
}

TEST(RefusedInputUnderWine, TheLogFallsBackWhenTempIsUnsetOrMissing) {
    for (const wchar_t* temp : {L"TEMP=", L"TEMP=C:\\corvane-no-such-folder"}) {
        SCOPED_TRACE(std::string(temp, temp + wcslen(temp)));
        const std::wstring before = LogText();
        ProgramUnderTest program(L"log-fallback");
        // Nothing to change: the run logs the look-up of the empty domain
        // field and ends.
        ASSERT_TRUE(program.Start(L"/auto /language=en", {kWineOverrides, temp}));
        EXPECT_EQ(program.WaitForExit(), 1u);
        // TMP names the same folder as TEMP in the prefix: the platform's
        // temporary directory takes the log.
        const std::vector<std::wstring> lines = Shapes(AddedLines(before));
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(L" - GetDomainDnsName: Status"), std::wstring::npos);
        const std::wstring inFolder = program.Folder() + L"\\corvane.log";
        EXPECT_EQ(GetFileAttributesW(inFolder.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

} // namespace
} // namespace corvane::gui
