// The real corvane.exe under Wine with input it must refuse: a computer name
// the platform would rewrite, an address mode other than 0 or 1, and TEMP
// unset or naming a missing folder. Runs that change an adapter go through a
// stand-in IP Helper installed into the prefix's system directory, because
// Wine's own SetAdapterIpAddress ends the process.
#include "program_under_test.h"
#include "stand_in_ip_helper.h"

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
