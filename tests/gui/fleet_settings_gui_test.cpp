// The real corvane.exe under Wine with a fleet's settings file: the section
// of the machine's own adapter address overrides the computer name of the
// section "settings" in an unattended rename. The adapter is the stand-in
// IP Helper's, so that its address is known.
#include "program_under_test.h"
#include "stand_in_ip_helper.h"

#include <cwchar>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::gui {
namespace {

// The stand-in adapter's hardware address, in the colon form.
constexpr const wchar_t* kStandInAddress = L"02:00:00:00:00:15";

std::wstring LogText() {
    wchar_t temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    std::wstring text;
    ReadUtf16File(std::wstring(temp) + L"\\corvane.log", text);
    return text;
}

std::wstring DnsHostName() {
    wchar_t name[64] = {};
    DWORD size = 64;
    GetComputerNameExW(ComputerNamePhysicalDnsHostname, name, &size);
    return name;
}

std::wstring NetbiosName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &size);
    return name;
}

// A name that neither the running system nor a rename pending from an
// earlier run has.
std::wstring FreshName() {
    const std::wstring running = NetbiosName();
    const std::wstring pending = DnsHostName();
    for (const wchar_t* candidate : {L"WS-FLEET-A", L"WS-FLEET-B", L"WS-FLEET-C"}) {
        if (_wcsicmp(candidate, running.c_str()) != 0 &&
            _wcsicmp(candidate, pending.c_str()) != 0) {
            return candidate;
        }
    }
    return L"WS-FLEET-D";
}

// Each line's level and code, and its message after the date and time.
std::vector<std::wstring> AddedShapes(const std::wstring& before) {
    const std::wstring log = LogText();
    std::vector<std::wstring> shapes;
    if (log.size() < before.size() || log.compare(0, before.size(), before) != 0) {
        return shapes;
    }
    const std::wstring added = log.substr(before.size());
    for (std::size_t start = 0, end; (end = added.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        const std::wstring line = added.substr(start, end - start);
        const std::size_t close = line.find(L"): ");
        const std::size_t dash = line.find(L" - ");
        shapes.push_back(close == std::wstring::npos || dash == std::wstring::npos
                             ? line
                             : line.substr(0, close + 1) + line.substr(dash));
    }
    return shapes;
}

TEST(FleetSettingsUnderWine, TheAdaptersSectionRenamesTheComputer) {
    StandInIpHelper ipHelper;
    ASSERT_TRUE(ipHelper.Installed());
    const std::wstring before = LogText();
    const std::wstring newName = FreshName();
    const std::wstring section = std::wstring(L"machine ") + kStandInAddress;
    const std::wstring settings = L"[settings]\r\ncomputer=WS-NOT-THIS\r\n"
                                  L"[machine 02-00-00-00-00-99]\r\ncomputer=WS-NOT-THIS\r\n[" +
                                  section + L"]\r\ncomputer=" + newName + L"\r\n";
    ProgramUnderTest program(L"fleet-rename", &settings);
    ASSERT_TRUE(program.Start(L"/auto /language=en", ipHelper.Environment()));
    // Wine ignores the notice's time-out: answer it.
    HWND notice = program.WaitForDialog(L"Restart needed");
    ASSERT_NE(notice, nullptr);
    PressButton(notice, IDOK);
    EXPECT_EQ(program.WaitForExit(), 1u);

    const std::vector<std::wstring> lines = AddedShapes(before);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Info(00000000) - ReadSettingsFile: Section [" + section +
                            L"] applies to this computer");
    EXPECT_NE(lines[1].find(L" - GetDomainDnsName: Status"), std::wstring::npos);
    EXPECT_EQ(DnsHostName(), newName);
    // The name alone changed: no adapter was touched.
    EXPECT_EQ(ipHelper.Calls(), std::vector<std::string>{});
}

} // namespace
} // namespace corvane::gui
