// The dialog runtime over real windows: the dialog procedure's translation
// of messages, the view over the controls, the
// owner-drawn surface, and the program's authentication and progress dialogs
// in both languages, each captured into build/screenshots.
#include "dialog_driver.h"
#include "model/setup_state.h"
#include "platform/win32/dialog_procedure.h"
#include "platform/win32/user_interface.h"
#include "platform/win32/win32_platform.h"
#include "support/interface_language.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"
#include "ui/progress_dialog.h"
#include "ui/string_resources.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace corvane::win32 {
namespace {

using dialog_testing::CaptureWindow;
using dialog_testing::CurrentDialog;
using dialog_testing::DialogDriver;
using dialog_testing::WindowText;

namespace auth = ui::auth_dialog;

// Sets the calling thread's locale for one test.
class ThreadLocale {
public:
    explicit ThreadLocale(LCID locale) : previous_(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocale() { SetThreadLocale(previous_); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

private:
    LCID previous_;
};

class DialogWindows : public ::testing::Test {
protected:
    void SetUp() override {
        if (!dialog_testing::CanShowWindows()) {
            GTEST_SKIP() << "no display: run inside scripts/wine-session";
        }
    }
    Win32Platform platform;
};

// A logic that notes what reached it.
class NotingLogic final : public platform::DialogLogic {
public:
    void OnMessage(platform::DialogView&) override {
        ++messages;
        if (!initialised) {
            ++messagesBeforeInit;
        }
    }
    bool OnInitDialog(platform::DialogView& dialog, std::intptr_t initParameter) override {
        initialised = true;
        view = &dialog;
        parameter = initParameter;
        dialog.LimitText(auth::kAccount, 4);
        return true;
    }
    void OnCommand(platform::DialogView&, int id, int notification) override {
        if (id == auth::kAccount && notification == platform::kEnChange) {
            changeThreads.push_back(GetCurrentThreadId());
        }
        if (id == ui::kItemCancel && notification == platform::kBnClicked) {
            ++cancelClicks;
        }
    }
    void OnDestroy(platform::DialogView&) override { destroyed = true; }

    platform::DialogView* view = nullptr;
    std::intptr_t parameter = 0;
    bool initialised = false;
    bool destroyed = false;
    int messages = 0;
    int messagesBeforeInit = 0;
    int cancelClicks = 0;
    std::vector<DWORD> changeThreads;
};

TEST_F(DialogWindows, TheProcedureTranslatesMessagesAndTheViewReachesTheControls) {
    NotingLogic logic;
    std::u16string readBack;
    HWND seen = nullptr;
    DialogDriver driver({
        [&](HWND dialog) {
            seen = dialog;
            // The first tab-stop item took the focus (the logic returned true).
            EXPECT_EQ(GetDlgItem(dialog, ui::kItemCancel), GetFocus());
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ui::kItemCancel, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, ui::kItemCancel)));
            logic.view->SetItemText(auth::kAccount, u"user@corp");
            readBack = logic.view->ItemText(auth::kAccount);
            logic.view->EnableItem(ui::kItemOk, true);
        },
        [&](HWND dialog) {
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ui::kItemOk)));
            EXPECT_EQ(L"user@corp", WindowText(GetDlgItem(dialog, auth::kAccount)));
            // The typing limit holds for the keyboard only.
            EXPECT_EQ(4, SendDlgItemMessageW(dialog, auth::kAccount, EM_GETLIMITTEXT, 0, 0));
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        },
    });
    const int end = platform.Os().ui.RunModalDialog(ui::kDialogAuthentication, ui::kLanguageEnglish,
                                                    0, logic, 1326);
    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_EQ(platform::kDialogCancel, end); // the default close
    EXPECT_EQ(1326, logic.parameter);
    EXPECT_GT(logic.messagesBeforeInit, 0); // WM_SETFONT comes first
    EXPECT_EQ(1, logic.cancelClicks);
    EXPECT_TRUE(logic.destroyed);
    EXPECT_EQ(u"user@corp", readBack);
    // The view's write notified the logic, once.
    ASSERT_EQ(1u, logic.changeThreads.size());
    EXPECT_EQ(GetCurrentThreadId(), logic.changeThreads[0]);
    EXPECT_FALSE(IsWindow(seen));
}

TEST_F(DialogWindows, AMissingTemplateFails) {
    NotingLogic logic;
    EXPECT_EQ(platform::kDialogFailed,
              platform.Os().ui.RunModalDialog(999, ui::kLanguageEnglish, 0, logic, 0));
    EXPECT_FALSE(logic.initialised);
}

// A logic that asks the runtime for icons, a bold item and a background.
class DecoratedLogic final : public platform::DialogLogic {
public:
    bool OnInitDialog(platform::DialogView&, std::intptr_t) override { return false; }
    platform::DialogDecoration Decoration() const override {
        platform::DialogDecoration decoration;
        decoration.windowIcon = ui::kIconCredentials;
        decoration.iconButton = auth::kDomainBrowser;
        decoration.buttonIcon = ui::kIconCredentials;
        decoration.boldItems = bold;
        return decoration;
    }
    bool OnStaticColors(platform::DialogView&, int id, platform::StaticColors& colors) override {
        colors.background = platform::SystemColor::Window;
        colors.backgroundOnly = true;
        return id == auth::kDomain;
    }
    static constexpr int bold[] = {auth::kAccount};
};

TEST_F(DialogWindows, TheRuntimeSetsUpTheDecorationAndBackgroundOnlyColours) {
    DecoratedLogic logic;
    DialogDriver driver({[&](HWND dialog) {
        EXPECT_NE(0, SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
        EXPECT_NE(0, SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
        EXPECT_NE(0, SendDlgItemMessageW(dialog, auth::kDomainBrowser, BM_GETIMAGE, IMAGE_ICON, 0));
        LOGFONTW face{};
        const auto font =
            reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, auth::kAccount, WM_GETFONT, 0, 0));
        ASSERT_EQ(static_cast<int>(sizeof face), GetObjectW(font, sizeof face, &face));
        EXPECT_EQ(FW_BOLD, face.lfWeight);
        const auto other =
            reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, auth::kPassword, WM_GETFONT, 0, 0));
        ASSERT_EQ(static_cast<int>(sizeof face), GetObjectW(other, sizeof face, &face));
        EXPECT_NE(FW_BOLD, face.lfWeight);

        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, RGB(1, 2, 3));
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)),
                  SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(GetDlgItem(dialog, auth::kDomain))));
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
        DeleteDC(dc);
        EndDialog(dialog, 1);
    }});
    EXPECT_EQ(1, platform.Os().ui.RunModalDialog(ui::kDialogAuthentication, ui::kLanguageEnglish, 0,
                                                 logic, 0));
    EXPECT_FALSE(driver.WatchdogFired());
}

TEST(GdiDrawSurface, DrawsTheStripeBlockAsTheGeometrySays) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 6);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT rect{0, 0, 120, 6};
    GdiDrawSurface surface(dc, rect);
    StripeMotion motion{8, StripeDirection::Right};
    DrawStripeBlock(surface, motion);

    const COLORREF face = GetNearestColor(dc, GetSysColor(COLOR_BTNFACE));
    const COLORREF highlight = GetNearestColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    ASSERT_NE(face, highlight);
    for (int x = 0; x < 120; ++x) {
        const bool stripe = x >= 8 && x < 68 && (x - 8) % 4 < 2;
        for (const int y : {0, 5}) {
            EXPECT_EQ(stripe ? highlight : face, GetPixel(dc, x, y)) << x << "," << y;
        }
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// The thread locale is set to the other language, so that only the language
// asked for can have chosen the template.
struct Language {
    LCID otherLocale;
    std::u16string_view forcedTag;
    platform::LanguageId language;
    const wchar_t* tag;
    const wchar_t* authenticationCaption;
    const wchar_t* progressCaption;
};
const Language kLanguages[] = {
    {0x0409, u"de", 0x0407, L"de", L"Authentifizierung", L"\u00dcbernehmen der \u00c4nderungen..."},
    {0x0407, u"en", 0x0409, L"en", L"Authentification", L"Saving changes..."},
};

TEST_F(DialogWindows, TheAuthenticationDialogInBothLanguages) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.tag);
        const ThreadLocale locale(GetThreadLocale());
        SetupState state;
        ApplyForcedLanguage(platform.Os(), state, language.forcedTag);
        SetThreadLocale(language.otherLocale);
        state.DialogInitialised.store(true);
        state.Account.Assign(u"installer@SALES");
        state.Password.Assign(u"old");
        wchar_t expectedError[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 86, 0,
                       expectedError, 512, nullptr);
        DialogDriver driver({
            [&](HWND dialog) {
                EXPECT_EQ(language.authenticationCaption, WindowText(dialog));
                EXPECT_EQ(L"installer@SALES", WindowText(GetDlgItem(dialog, auth::kAccount)));
                EXPECT_EQ(L"SALES", WindowText(GetDlgItem(dialog, auth::kDomain)));
                EXPECT_EQ(expectedError, WindowText(GetDlgItem(dialog, auth::kErrorText)));
                EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ui::kItemOk)));
                // Code 86: the password field has the focus, its text selected.
                EXPECT_EQ(GetDlgItem(dialog, auth::kPassword), GetFocus());
                DWORD start = 1;
                DWORD end = 0;
                SendDlgItemMessageW(dialog, auth::kPassword, EM_GETSEL,
                                    reinterpret_cast<WPARAM>(&start),
                                    reinterpret_cast<LPARAM>(&end));
                EXPECT_EQ(0u, start);
                EXPECT_EQ(3u, end);
                EXPECT_TRUE(
                    CaptureWindow(dialog, std::wstring(L"authentication-105-") + language.tag));
            },
            [&](HWND dialog) {
                // The error text is red on the button face; other fields keep
                // the default colours.
                HDC dc = CreateCompatibleDC(nullptr);
                SetTextColor(dc, RGB(0, 0, 0));
                const LRESULT brush =
                    SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, auth::kErrorText)));
                EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)), brush);
                EXPECT_EQ(0x004C3EBFu, GetTextColor(dc));
                EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetBkColor(dc));
                SetTextColor(dc, RGB(0, 0, 0));
                SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, auth::kDomain)));
                EXPECT_NE(0x004C3EBFu, GetTextColor(dc));
                DeleteDC(dc);

                // The user types a down-level account: the domain follows.
                SetDlgItemTextW(dialog, auth::kAccount, L"DC\\");
                EXPECT_EQ(L"DC", WindowText(GetDlgItem(dialog, auth::kDomain)));
                EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, ui::kItemOk)));
                SetDlgItemTextW(dialog, auth::kAccount, L"DC\\admin");
                EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ui::kItemOk)));
                SetDlgItemTextW(dialog, auth::kPassword, L"n\u00e9w");
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ui::kItemOk, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, ui::kItemOk)));
            },
        });
        EXPECT_EQ(platform::kDialogOk, RunAuthenticationDialog(platform.Os(), state, 0,
                                                               platform::error::kInvalidPassword));
        EXPECT_FALSE(driver.WatchdogFired());
        EXPECT_EQ(u"admin@DC", state.Account.view());
        EXPECT_EQ(u"n\u00e9w", state.Password.view());
    }
}

TEST_F(DialogWindows, TheAuthenticationDialogRefusesWhileTheMainDialogInitialises) {
    SetupState state;
    DialogDriver driver({});
    EXPECT_EQ(platform::error::kCancelled,
              PromptForCredentials(platform.Os(), state, 0, platform::error::kLogonFailure));
    EXPECT_FALSE(driver.SawDialog());
}

TEST_F(DialogWindows, TheProgressDialogInBothLanguages) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.tag);
        const ThreadLocale locale(language.otherLocale);
        AutoResetEvent done;
        HWND seen = nullptr;
        DialogDriver driver({
            [&](HWND dialog) {
                seen = dialog;
                EXPECT_EQ(language.progressCaption, WindowText(dialog));
                // Escape and Enter go to the dialog and do nothing.
                PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
            },
            [&](HWND) {}, // a few ticks of the bar
            [&](HWND dialog) {
                EXPECT_EQ(seen, dialog);
                EXPECT_TRUE(CaptureWindow(dialog, std::wstring(L"progress-106-") + language.tag));
                done.Set();
            },
        });
        EXPECT_EQ(ProgressEnd::Finished,
                  RunProgressDialog(platform.Os(), language.language, 0, done));
        EXPECT_FALSE(driver.WatchdogFired());
        EXPECT_FALSE(done.TryWait());
    }
}

TEST_F(DialogWindows, TheProgressDialogClosedOrAlreadyDone) {
    AutoResetEvent done;
    DialogDriver closing({[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(ProgressEnd::Closed, RunProgressDialog(platform.Os(), ui::kLanguageEnglish, 0, done));
    EXPECT_FALSE(closing.WatchdogFired());

    done.Set();
    DialogDriver never({});
    EXPECT_EQ(ProgressEnd::Finished,
              RunProgressDialog(platform.Os(), ui::kLanguageEnglish, 0, done));
    EXPECT_FALSE(never.SawDialog()); // ended by its first message, never shown
}

TEST_F(DialogWindows, TheDomainBrowserFailsCleanlyWhereItIsMissing) {
    if (!dialog_testing::RunsUnderWine()) {
        GTEST_SKIP() << "Windows has the browser, which would wait for a user";
    }
    std::u16string domain = u"unchanged";
    EXPECT_NE(0, platform.Os().ui.BrowseDomainTree(0, domain));
    EXPECT_EQ(u"unchanged", domain);
    // COM was left as it was found: this thread can still initialise it.
    const HRESULT again = CoInitialize(nullptr);
    EXPECT_TRUE(again == S_OK || again == S_FALSE) << std::hex << again;
    if (SUCCEEDED(again)) {
        CoUninitialize();
    }
}

TEST_F(DialogWindows, MessageBoxesAreRealBoxes) {
    EXPECT_TRUE(platform.Os().ui.HasMessageBoxTimeout());
    DialogDriver driver({[](HWND box) {
        EXPECT_EQ(L"Hinweis", WindowText(box));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }});
    EXPECT_EQ(IDOK, platform.Os().ui.MessageBox(0, u"Text", u"Hinweis", MB_OK));
    EXPECT_FALSE(driver.WatchdogFired());
}

} // namespace
} // namespace corvane::win32
