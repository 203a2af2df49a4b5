// The real corvane.exe under Wine: the main dialog with the values of a
// settings file and with its own default texts in both languages, every
// mnemonic pressed in both languages, the OK rule as the user types, the
// help box, and an unattended rename with its log lines and notice.
#include "program_under_test.h"
#include "window_capture.h"

#include <cwctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::gui {
namespace {

using win32::dialog_testing::CaptureWindow;

constexpr int kComputerName = 1003;
constexpr int kDomain = 1004;
constexpr int kWorkgroup = 1005;
constexpr int kHeaderText = 1006;
constexpr int kMemberOfDomain = 1015;
constexpr int kMemberOfWorkgroup = 1016;
constexpr int kOrganizationUnitList = 1034;
constexpr int kAddressAutomatic = 1009;
constexpr int kAddressFixed = 1010;
constexpr int kIpAddress = 1011;
constexpr int kSubnetMask = 1012;
constexpr int kDefaultGateway = 1013;
constexpr int kAdapterList = 1014;

bool IsChecked(HWND dialog, int id) {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &size);
    return name;
}

std::wstring TempLogPath() {
    wchar_t temp[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
    return std::wstring(temp) + L"\\corvane.log";
}

std::wstring LogText() {
    std::wstring text;
    ReadUtf16File(TempLogPath(), text);
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

struct LanguageCase {
    const wchar_t* option;
    const wchar_t* name;
    const wchar_t* cancelText;
    const wchar_t* domainOption;
};

TEST(MainDialogUnderWine, ComesUpWithTheSettingsFileInBothLanguages) {
    const LanguageCase cases[] = {
        {L"/language=de", L"de", L"&Abbrechen", L"Dom\u00E4ne"},
        {L"/language=en", L"en", L"Cancel", L"Domain"},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const std::wstring settings = L"[general]\r\ntitle=Workstation set-up\r\n"
                                      L"header=Please check the network settings of this "
                                      L"workstation.\r\n[settings]\r\ncomputer=WS-0815\r\n"
                                      L"workgroup=TESTGROUP\r\n";
        ProgramUnderTest program(std::wstring(L"main-") + c.name, &settings);
        ASSERT_TRUE(program.Start(c.option));
        HWND dialog = program.WaitForDialog(L"Workstation set-up");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ItemText(dialog, kHeaderText),
                  L"Please check the network settings of this workstation.");
        EXPECT_EQ(ItemText(dialog, kComputerName), L"WS-0815");
        EXPECT_EQ(ItemText(dialog, kWorkgroup), L"TESTGROUP");
        EXPECT_EQ(ItemText(dialog, IDCANCEL), c.cancelText);
        EXPECT_EQ(ItemText(dialog, kMemberOfDomain), c.domainOption);
        EXPECT_TRUE(IsChecked(dialog, kMemberOfWorkgroup));
        EXPECT_FALSE(IsChecked(dialog, kMemberOfDomain));
        EXPECT_FALSE(IsItemEnabled(dialog, kDomain));
        EXPECT_FALSE(IsItemEnabled(dialog, kOrganizationUnitList));
        // A new name and a new workgroup are pending.
        EXPECT_TRUE(IsItemEnabled(dialog, IDOK));
        EXPECT_TRUE(CaptureWindow(dialog, std::wstring(L"main-dialog-") + c.name));
        PressButton(dialog, IDCANCEL);
        EXPECT_EQ(program.WaitForExit(), 2u);
    }
}

// Without a title or header in the settings file the dialog shows its own
// default texts, in the same language as its template.
TEST(MainDialogUnderWine, ShowsItsDefaultTitleAndHeaderInTheForcedLanguage) {
    struct Case {
        const wchar_t* option;
        const wchar_t* name;
        const wchar_t* title;
        const wchar_t* header;
        const wchar_t* domainOption;
    };
    const Case cases[] = {
        {L"/language=de", L"de", L"Netzwerkeinstellungen",
         L"\u00C4ndern der Einstellungen wie Computernamen, Dom\u00E4nen-/"
         L"Arbeitsgruppenzugeh\u00F6rigkeit und IP Adressen der Netzwerkverbindungen.",
         L"Dom\u00E4ne"},
        {L"/language=en", L"en", L"Network settings",
         L"Changing settings like Computer name, Domain-/Workgroup membership and IP settings "
         L"for all network connections.",
         L"Domain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const std::wstring settings = L"[settings]\r\nworkgroup=TESTGROUP\r\n";
        ProgramUnderTest program(std::wstring(L"defaults-") + c.name, &settings);
        ASSERT_TRUE(program.Start(c.option));
        HWND dialog = program.WaitForDialog(c.title);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), c.title);
        EXPECT_EQ(ItemText(dialog, kHeaderText), c.header);
        EXPECT_EQ(ItemText(dialog, kMemberOfDomain), c.domainOption);
        PressButton(dialog, IDCANCEL);
        EXPECT_EQ(program.WaitForExit(), 2u);
    }
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) == 0) {
        return nullptr;
    }
    return info.hwndFocus;
}

// The focus is on the item or inside it (an IP address control passes it to
// its first field).
bool FocusIsOn(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    HWND focus = FocusOf(dialog);
    return item != nullptr && focus != nullptr && (focus == item || IsChild(item, focus) != 0);
}

// Alt+letter pressed on the keyboard: the dialog is brought to the front
// and the key strokes go through the system's input queue, so that the
// program's own message loop turns them into the messages a user's keys
// give.
void PressAlt(HWND dialog, wchar_t letter) {
    SetForegroundWindow(dialog);
    const auto key = static_cast<WORD>(towupper(letter));
    INPUT strokes[4] = {};
    for (INPUT& stroke : strokes) {
        stroke.type = INPUT_KEYBOARD;
    }
    strokes[0].ki.wVk = VK_MENU;
    strokes[1].ki.wVk = key;
    strokes[2].ki.wVk = key;
    strokes[2].ki.dwFlags = KEYEVENTF_KEYUP;
    strokes[3].ki.wVk = VK_MENU;
    strokes[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, strokes, sizeof(INPUT));
}

bool WaitForFocus(HWND dialog, int id) {
    const ULONGLONG deadline = GetTickCount64() + 3000;
    while (!FocusIsOn(dialog, id)) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

// Every label's mnemonic moves the focus to the control the label names,
// from wherever the focus is, and none ends the dialog.
TEST(MainDialogUnderWine, EveryMnemonicReachesItsOwnControl) {
    struct Mnemonic {
        wchar_t letter;
        int item;
    };
    struct Case {
        const wchar_t* option;
        const wchar_t* name;
        const wchar_t* title;
        std::vector<Mnemonic> mnemonics;
    };
    // Fixed addresses first, so that the address fields are enabled; the
    // automatic option last, since it disables them again.
    const Case cases[] = {
        {L"/language=de",
         L"de",
         L"Netzwerkeinstellungen",
         {{L'f', kAddressFixed},
          {L'i', kIpAddress},
          {L's', kSubnetMask},
          {L'g', kDefaultGateway},
          {L'c', kComputerName},
          {L'p', kAdapterList},
          {L'S', kSubnetMask},
          {L'c', kComputerName},
          {L'u', kAddressAutomatic}}},
        {L"/language=en",
         L"en",
         L"Network settings",
         {{L'u', kAddressFixed},
          {L'i', kIpAddress},
          {L's', kSubnetMask},
          {L'g', kDefaultGateway},
          {L'c', kComputerName},
          {L'p', kAdapterList},
          {L'S', kSubnetMask},
          {L'c', kComputerName},
          {L'm', kAddressAutomatic}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        const std::wstring settings = L"[settings]\r\nworkgroup=TESTGROUP\r\ndhcp=0\r\n";
        ProgramUnderTest program(std::wstring(L"keyboard-") + c.name, &settings);
        ASSERT_TRUE(program.Start(c.option));
        HWND dialog = program.WaitForDialog(c.title);
        ASSERT_NE(dialog, nullptr);
        for (const Mnemonic& m : c.mnemonics) {
            SCOPED_TRACE(static_cast<char>(m.letter));
            PressAlt(dialog, m.letter);
            EXPECT_TRUE(WaitForFocus(dialog, m.item))
                << "focus on " << GetDlgCtrlID(FocusOf(dialog));
            ASSERT_TRUE(IsWindow(dialog)) << "the mnemonic ended the dialog";
            ASSERT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
        }
        EXPECT_TRUE(IsChecked(dialog, kAddressAutomatic));
        EXPECT_FALSE(IsChecked(dialog, kAddressFixed));
        PressButton(dialog, IDCANCEL);
        EXPECT_EQ(program.WaitForExit(), 2u);
    }
}

TEST(MainDialogUnderWine, TypingANewComputerNameEnablesOk) {
    // Without a settings file the dialog shows the machine as it is: nothing
    // is pending until the user changes something.
    ProgramUnderTest program(L"typing");
    ASSERT_TRUE(program.Start(L"/language=en"));
    HWND dialog = program.WaitForDialog(L"Network settings");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, kComputerName), ComputerName());
    EXPECT_FALSE(IsItemEnabled(dialog, IDOK));
    SetItemText(dialog, kComputerName, L"WS-NEW-NAME");
    EXPECT_TRUE(IsItemEnabled(dialog, IDOK));
    SetItemText(dialog, kComputerName, ComputerName());
    EXPECT_FALSE(IsItemEnabled(dialog, IDOK));
    // Leaving the workgroup without a name is not valid either.
    SetItemText(dialog, kComputerName, L"WS-NEW-NAME");
    SetItemText(dialog, kWorkgroup, L"");
    EXPECT_FALSE(IsItemEnabled(dialog, IDOK));
    PressButton(dialog, IDCANCEL);
    EXPECT_EQ(program.WaitForExit(), 2u);
}

TEST(MainDialogUnderWine, HelpShowsTheLanguageOptionAndWritesNoLog) {
    const std::wstring logBefore = LogText();
    ProgramUnderTest program(L"help");
    ASSERT_TRUE(program.Start(L"/language=de /?"));
    HWND box = program.WaitForDialog(L"Help");
    ASSERT_NE(box, nullptr);
    // The message box's text is its static item 0xFFFF.
    EXPECT_EQ(ItemText(box, 0xFFFF).find(L"/language=language"), 0u);
    EXPECT_TRUE(CaptureWindow(box, L"help-box"));
    PressButton(box, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(LogText(), logBefore);
}

std::wstring DnsHostName() {
    wchar_t name[64] = {};
    DWORD size = 64;
    GetComputerNameExW(ComputerNamePhysicalDnsHostname, name, &size);
    return name;
}

// A name that neither the running system nor a rename still pending from an
// earlier run in this prefix has: with either one the run has nothing to do.
std::wstring NameNoRunHasGiven() {
    const std::wstring running = ComputerName();
    const std::wstring pending = DnsHostName();
    for (const wchar_t* candidate : {L"WS-RENAMED-A", L"WS-RENAMED-B", L"WS-RENAMED-C"}) {
        if (_wcsicmp(candidate, running.c_str()) != 0 &&
            _wcsicmp(candidate, pending.c_str()) != 0) {
            return candidate;
        }
    }
    return L"WS-RENAMED-D";
}

TEST(MainDialogUnderWine, AnUnattendedRenameWritesItsLogLines) {
    const std::wstring before = LogText();
    const std::wstring newName = NameNoRunHasGiven();
    const std::wstring settings = L"[settings]\r\ncomputer=" + newName + L"\r\n";
    ProgramUnderTest program(L"auto-rename", &settings);
    ASSERT_TRUE(program.Start(L"/auto /language=en"));
    // Wine shows the restart notice but ignores its time-out: answer it.
    HWND notice = program.WaitForDialog(L"Restart needed");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(ItemText(notice, 0xFFFF),
              L"The computer need to be restarted to apply new settings.");
    PressButton(notice, IDOK);
    EXPECT_EQ(program.WaitForExit(), 1u);

    const std::wstring log = LogText();
    ASSERT_GE(log.size(), before.size());
    ASSERT_EQ(log.compare(0, before.size(), before), 0) << "earlier runs' lines must stay";
    const std::wstring added = log.substr(before.size());
    // One line: the DNS look-up of the (empty) domain field at OK. A rename
    // within a workgroup logs nothing of its own.
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end; (end = added.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        lines.push_back(added.substr(start, end - start));
    }
    ASSERT_EQ(lines.size(), 1u) << Narrow(added);
    EXPECT_EQ(lines[0].rfind(L"Info(", 0), 0u) << Narrow(lines[0]);
    EXPECT_NE(lines[0].find(L" - GetDomainDnsName: Status"), std::wstring::npos)
        << Narrow(lines[0]);

    // The rename reached the system: the DNS host name is the new one.
    EXPECT_EQ(DnsHostName(), newName);
}

// The real exe reads "/exitcode=result" from its command line: an unattended
// run with nothing to change ends with 1 by default and with 0 in that mode,
// whose last log line states the outcome.
TEST(MainDialogUnderWine, TheResultExitCodeIsAskedForOnTheCommandLine) {
    const struct {
        const wchar_t* folder;
        const wchar_t* arguments;
        DWORD exitCode;
    } runs[] = {{L"exit-code-default", L"/auto", 1u},
                {L"exit-code-result", L"/auto /ExitCode=Result", 0u}};
    for (const auto& run : runs) {
        SCOPED_TRACE(Narrow(run.arguments));
        const std::wstring before = LogText();
        ProgramUnderTest program(run.folder);
        ASSERT_TRUE(program.Start(run.arguments));
        EXPECT_EQ(program.WaitForExit(), run.exitCode);
        const std::wstring log = LogText();
        ASSERT_GE(log.size(), before.size());
        const std::wstring added = log.substr(before.size());
        const std::wstring stated = L" - RunProgram: Exit code 0: every step succeeded\r\n";
        const bool endsStated =
            added.size() >= stated.size() &&
            added.compare(added.size() - stated.size(), stated.size(), stated) == 0;
        EXPECT_EQ(endsStated, run.exitCode == 0u) << Narrow(added);
    }
}

} // namespace
} // namespace corvane::gui
