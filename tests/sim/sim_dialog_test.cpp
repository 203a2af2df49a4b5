// The sim's dialogs as a dialog logic meets them: the items of the template,
// the notifications Windows raises, what the scripted user may do, the
// journal, and calls from a second thread.
#include "platform/sim/world.h"
#include "ui/dialog_ids.h"
#include "ui/string_resources.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <utility>
#include <vector>

namespace corvane::sim {
namespace {

namespace m = ui::main_dialog;
namespace a = ui::auth_dialog;

// A logic that notes each command and lets a test act at init or on a command.
class RecordingLogic final : public platform::DialogLogic {
public:
    bool OnInitDialog(platform::DialogView& dialog, std::intptr_t parameter) override {
        initParameter = parameter;
        if (onInit) {
            onInit(dialog);
        }
        return focusFirst;
    }
    void OnCommand(platform::DialogView& dialog, int itemId, int notification) override {
        commands.emplace_back(itemId, notification);
        threads.push_back(std::this_thread::get_id());
        if (onCommand) {
            onCommand(dialog, itemId, notification);
        }
    }
    void OnMessage(platform::DialogView&) override { ++messages; }
    void OnTimer(platform::DialogView& dialog, std::uintptr_t timerId) override {
        ticks.push_back(timerId);
        if (onTimer) {
            onTimer(dialog, timerId);
        }
    }
    void OnClose(platform::DialogView& dialog) override {
        ++closes;
        if (!ignoreClose) {
            dialog.EndDialog(platform::kDialogCancel);
        }
    }

    bool focusFirst = false;
    bool ignoreClose = false;
    std::intptr_t initParameter = 0;
    int messages = 0;
    int closes = 0;
    std::vector<std::pair<int, int>> commands;
    std::vector<std::thread::id> threads;
    std::vector<std::uintptr_t> ticks;
    std::function<void(platform::DialogView&)> onInit;
    std::function<void(platform::DialogView&, int, int)> onCommand;
    std::function<void(platform::DialogView&, std::uintptr_t)> onTimer;
};

using Commands = std::vector<std::pair<int, int>>;

class SimDialogTest : public testing::Test {
protected:
    int Run(std::uint16_t templateId, std::vector<DialogAction> actions,
            std::intptr_t parameter = 0) {
        world.Desktop().ScriptDialog(templateId, std::move(actions));
        return world.platform().ui.RunModalDialog(templateId, ui::kLanguageEnglish, 0x77, logic,
                                                  parameter);
    }
    DialogRecord Last() { return world.Desktop().Dialogs().back(); }

    World world;
    RecordingLogic logic;
};

TEST_F(SimDialogTest, ItemsStartAsTheTemplateHasThem) {
    logic.focusFirst = true;
    EXPECT_EQ(platform::kDialogCancel, Run(ui::kDialogAuthentication, {}, 1326));
    EXPECT_EQ(1326, logic.initParameter);
    const DialogRecord record = Last();
    EXPECT_EQ(platform::LanguageId{0x0409}, record.language);
    EXPECT_EQ(0x77u, record.owner);
    EXPECT_EQ(u"&Cancel", record.ItemAfterInit(ui::kItemCancel)->text);
    EXPECT_FALSE(record.ItemAfterInit(ui::kItemOk)->enabled); // WS_DISABLED in the template
    EXPECT_TRUE(record.ItemAfterInit(ui::kItemCancel)->enabled);
    EXPECT_EQ(32767, record.ItemAfterInit(a::kAccount)->limit);
    // The first item that takes the tab key, with an edit's text selected.
    EXPECT_EQ(ui::kItemCancel, record.focusAfterInit);
    EXPECT_TRUE(record.closedBySim);
    EXPECT_EQ(1, logic.closes);
}

// The template is found by the language asked for, whatever the thread
// locale; a language the program lacks gets the platform's own pick, which
// follows the user-interface language.
TEST_F(SimDialogTest, TheGivenLanguagePicksTheTemplate) {
    struct Case {
        platform::LanguageId asked;
        platform::LanguageId uiLanguage;
        platform::LanguageId shown;
    };
    const Case cases[] = {
        {0x0407, 0x0409, 0x0407},
        {0x0409, 0x0407, 0x0409},
        {0x040C, 0x0407, 0x0407},
        {0x040C, 0x0409, 0x0409},
    };
    ASSERT_TRUE(world.locale().SetThreadLocale(0x0C07)); // German (Austria): plays no part
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        world.SetUserInterfaceLanguage(c.uiLanguage);
        world.Desktop().ScriptDialog(ui::kDialogProgress, {DialogAction::Close()});
        world.platform().ui.RunModalDialog(ui::kDialogProgress, c.asked, 0, logic, 0);
        EXPECT_EQ(c.shown, Last().language);
    }
}

TEST_F(SimDialogTest, WritesRaiseTheNotificationsWindowsRaises) {
    logic.onInit = [](platform::DialogView& dialog) {
        dialog.SetItemText(a::kAccount, u"a@b");    // single-line edit: EN_CHANGE
        dialog.SetItemText(a::kDomain, u"b");       // read-only, still takes it
        dialog.SetItemText(a::kErrorText, u"text"); // multi-line: no notification
        dialog.SetChecked(ui::kItemOk, true);       // a push button keeps no state
        dialog.SetItemText(ui::kItemOk, u"&Go");
        dialog.LimitText(a::kAccount, 3);
        dialog.SelectAllText(a::kPassword);
    };
    Run(ui::kDialogAuthentication, {});
    EXPECT_EQ((Commands{{a::kAccount, platform::kEnChange}, {a::kDomain, platform::kEnChange}}),
              logic.commands);
    const DialogRecord record = Last();
    EXPECT_EQ(u"a@b", record.ItemAtEnd(a::kAccount)->text); // the limit binds typing only
    EXPECT_EQ(u"b", record.ItemAtEnd(a::kDomain)->text);
    EXPECT_EQ(u"text", record.ItemAtEnd(a::kErrorText)->text);
    EXPECT_FALSE(record.ItemAtEnd(ui::kItemOk)->checked);
    EXPECT_EQ(u"&Go", record.ItemAtEnd(ui::kItemOk)->text);
    EXPECT_TRUE(record.ItemAtEnd(a::kPassword)->textSelected);
    EXPECT_EQ(3, record.ItemAtEnd(a::kAccount)->limit);
}

TEST_F(SimDialogTest, TheUserCanOnlyUseWhatIsVisibleEnabledAndEditable) {
    logic.onInit = [](platform::DialogView& dialog) {
        dialog.LimitText(a::kAccount, 5);
        dialog.SetItemText(a::kPassword, u"old");
        dialog.SelectAllText(a::kPassword);
    };
    Run(ui::kDialogAuthentication,
        {DialogAction::Press(ui::kItemOk), DialogAction::Type(a::kDomain, u"x"),
         DialogAction::Type(a::kAccount, u"abcdefgh"), DialogAction::Type(a::kPassword, u"new"),
         DialogAction::Press(a::kAccount), DialogAction::Press(a::kDomainBrowser),
         DialogAction::Pick(a::kAccount, 0), DialogAction::Press(4711)});
    const std::vector<std::string> expected = {
        "press 1: refused (disabled)",
        "type 1004 \"x\": refused (read-only)",
        "type 1021 \"abcdefgh\"",
        "type 1022 \"new\"",
        "press 1021: refused (not that kind of control)",
        "press 1026",
        "pick 1021 0: refused (not that kind of control)",
        "press 4711: refused (no such item)",
    };
    const DialogRecord record = Last();
    EXPECT_EQ(expected, record.actions);
    EXPECT_EQ(u"abcde", record.ItemAtEnd(a::kAccount)->text);
    EXPECT_FALSE(record.ItemAtEnd(a::kPassword)->textSelected); // typing replaced it
    EXPECT_EQ((Commands{{a::kPassword, platform::kEnChange},    // the logic's own write
                        {a::kAccount, platform::kEnChange},
                        {a::kPassword, platform::kEnChange},
                        {a::kDomainBrowser, platform::kBnClicked}}),
              logic.commands);
    EXPECT_EQ(a::kDomainBrowser, record.focusAtEnd);
}

TEST_F(SimDialogTest, RadioButtonsUntickTheirGroupAndCheckBoxesToggle) {
    logic.onInit = [](platform::DialogView& dialog) {
        dialog.SetChecked(m::kMemberOfDomain, true);
        dialog.SetChecked(m::kAddressAutomatic, true);
    };
    Run(ui::kDialogMain,
        {DialogAction::Check(m::kMemberOfWorkgroup), DialogAction::Check(m::kMemberOfWorkgroup),
         DialogAction::Press(m::kAddressFixed), DialogAction::Check(m::kStartWithWindows),
         DialogAction::Uncheck(m::kMemberOfDomain)});
    const DialogRecord record = Last();
    EXPECT_FALSE(record.ItemAtEnd(m::kMemberOfDomain)->checked);
    EXPECT_TRUE(record.ItemAtEnd(m::kMemberOfWorkgroup)->checked);
    EXPECT_FALSE(record.ItemAtEnd(m::kAddressAutomatic)->checked); // its own group
    EXPECT_TRUE(record.ItemAtEnd(m::kAddressFixed)->checked);
    // Ticking what is ticked clicks nothing; the hidden check box and
    // unticking a radio button are refused.
    EXPECT_EQ((Commands{{m::kMemberOfWorkgroup, platform::kBnClicked},
                        {m::kAddressFixed, platform::kBnClicked}}),
              logic.commands);
    EXPECT_EQ("check 1022: refused (hidden)", record.actions[3]);
    EXPECT_EQ("uncheck 1015: refused (a radio button is unticked by ticking another)",
              record.actions[4]);
}

TEST_F(SimDialogTest, ComboBoxesSortWithoutRegardToCaseAndPickByIndexOrText) {
    std::vector<int> added;
    logic.onInit = [&](platform::DialogView& dialog) {
        for (const std::u16string_view text : {u"\\Sales", u"\\admins", u"\\Berlin", u"\\ADMINS"}) {
            added.push_back(dialog.AddListItem(m::kAdapterList, text));
        }
        dialog.SetListItemData(m::kAdapterList, 1, 42);
        dialog.SetListSelection(m::kAdapterList, 9); // out of range: no selection
        dialog.AddListItem(m::kOrganizationUnitList, u"\\OU");
    };
    logic.onCommand = [](platform::DialogView& dialog, int id, int notification) {
        if (id == m::kAdapterList && notification == platform::kCbnSelChange) {
            EXPECT_EQ(42u, dialog.ListItemData(id, dialog.ListSelection(id)));
            EXPECT_EQ(u"\\ADMINS", dialog.ItemText(id));
        }
    };
    Run(ui::kDialogMain,
        {DialogAction::Pick(m::kAdapterList, u"\\ADMINS"), DialogAction::DropDown(m::kAdapterList),
         DialogAction::Pick(m::kAdapterList, 7), DialogAction::DropDown(m::kOrganizationUnitList)});
    EXPECT_EQ((std::vector<int>{0, 0, 1, 1}), added);
    const DialogRecord record = Last();
    EXPECT_EQ((std::vector<std::u16string>{u"\\admins", u"\\ADMINS", u"\\Berlin", u"\\Sales"}),
              record.ItemAtEnd(m::kAdapterList)->list);
    EXPECT_EQ(1, record.ItemAtEnd(m::kAdapterList)->selection);
    EXPECT_EQ((Commands{{m::kAdapterList, platform::kCbnSelChange},
                        {m::kAdapterList, platform::kCbnDropDown}}),
              logic.commands);
    EXPECT_EQ("pick 1014 7: refused (no such entry)", record.actions[2]);
    EXPECT_EQ("dropdown 1034: refused (disabled)", record.actions[3]);
}

TEST_F(SimDialogTest, AddressControlsReportEveryChange) {
    std::vector<std::uint32_t> seen;
    logic.onInit = [](platform::DialogView& dialog) {
        dialog.SetIpAddress(m::kIpAddress, 0x0A000001);
    };
    logic.onCommand = [&](platform::DialogView& dialog, int id, int) {
        seen.push_back(dialog.IpAddress(id));
    };
    Run(ui::kDialogMain, {DialogAction::Address(m::kIpAddress, 0xC0A80105u),
                          DialogAction::Address(m::kSubnetMask, std::nullopt)});
    EXPECT_EQ((std::vector<std::uint32_t>{0x0A000001, 0xC0A80105u, 0}), seen);
    EXPECT_EQ(u"192.168.1.5", Last().ItemAtEnd(m::kIpAddress)->text);
    EXPECT_FALSE(Last().ItemAtEnd(m::kSubnetMask)->address.has_value());
}

TEST_F(SimDialogTest, KeysFollowTheDialogManager) {
    // Escape sends IDCANCEL; Enter the default button's id, but not while
    // that button is disabled.
    logic.onInit = [](platform::DialogView& dialog) { dialog.EnableItem(ui::kItemCancel, false); };
    Run(ui::kDialogAuthentication, {DialogAction::Enter(), DialogAction::Escape()});
    EXPECT_EQ("key enter: refused (the default button is disabled)", Last().actions[0]);
    EXPECT_EQ("key escape: refused (the cancel button is disabled)", Last().actions[1]);
    EXPECT_TRUE(logic.commands.empty());

    RecordingLogic progress;
    world.Desktop().ScriptDialog(ui::kDialogProgress,
                                 {DialogAction::Escape(), DialogAction::Enter()});
    world.platform().ui.RunModalDialog(ui::kDialogProgress, ui::kLanguageEnglish, 0, progress, 0);
    EXPECT_EQ(
        (Commands{{ui::kItemCancel, platform::kBnClicked}, {ui::kItemOk, platform::kBnClicked}}),
        progress.commands);
}

TEST_F(SimDialogTest, AScriptThatRunsOutClosesTheDialog) {
    logic.ignoreClose = true;
    EXPECT_EQ(platform::kDialogCancel, Run(ui::kDialogAuthentication, {}));
    EXPECT_EQ(1, logic.closes);
    EXPECT_EQ((std::vector<std::string>{"close: ignored, ended by the sim"}), Last().actions);
}

TEST_F(SimDialogTest, EndingDuringInitialisationMeansNeverShown) {
    logic.onInit = [](platform::DialogView& dialog) { dialog.EndDialog(7); };
    EXPECT_EQ(7, Run(ui::kDialogAuthentication, {DialogAction::Press(ui::kItemCancel)}));
    const DialogRecord record = Last();
    EXPECT_FALSE(record.shown);
    EXPECT_TRUE(record.actions.empty());
    EXPECT_EQ(0, record.draws);

    // The user never saw it: the script waits for the next opening that
    // appears, which plays it.
    EXPECT_EQ(1u, world.Desktop().UnusedDialogScripts());
    logic.onInit = nullptr;
    EXPECT_EQ(platform::kDialogCancel,
              world.platform().ui.RunModalDialog(ui::kDialogAuthentication, ui::kLanguageEnglish,
                                                 0x77, logic, 0));
    EXPECT_EQ(std::vector<std::string>{"press 2"}, Last().actions);
    EXPECT_EQ(0u, world.Desktop().UnusedDialogScripts());
}

TEST_F(SimDialogTest, TimersTickInDialogTimeAndOwnerDrawnItemsRepaint) {
    logic.onInit = [](platform::DialogView& dialog) {
        dialog.StartTimer(1, 100);
        dialog.StartTimer(2, 250);
    };
    logic.onTimer = [](platform::DialogView& dialog, std::uintptr_t id) {
        if (id == 1) {
            dialog.InvalidateItem(ui::progress_dialog::kBar);
        } else {
            dialog.StopTimer(2);
        }
    };
    Run(ui::kDialogProgress, {DialogAction::Wait(500), DialogAction::Close()});
    // 100 ... 500 for timer 1; 250 once for timer 2, which then stops.
    EXPECT_EQ((std::vector<std::uintptr_t>{1, 1, 2, 1, 1, 1}), logic.ticks);
    EXPECT_EQ(6, Last().timerTicks);
    EXPECT_EQ(1 + 5, Last().draws); // the first paint, then one per invalidation
}

TEST_F(SimDialogTest, ADialogWithATimerWaitsForItselfBeforeItIsClosed) {
    int ticks = 0;
    logic.onInit = [](platform::DialogView& dialog) { dialog.StartTimer(1, 100); };
    logic.onTimer = [&](platform::DialogView& dialog, std::uintptr_t) {
        if (++ticks == 30) {
            dialog.EndDialog(platform::kDialogOk);
        }
    };
    EXPECT_EQ(platform::kDialogOk, Run(ui::kDialogProgress, {}));
    EXPECT_FALSE(Last().closedBySim);
    EXPECT_EQ(0, logic.closes);

    world.Desktop().SetPatience(std::chrono::milliseconds(30));
    RecordingLogic endless;
    endless.onInit = [](platform::DialogView& dialog) { dialog.StartTimer(1, 100); };
    EXPECT_EQ(platform::kDialogCancel,
              world.platform().ui.RunModalDialog(ui::kDialogProgress, ui::kLanguageEnglish, 0,
                                                 endless, 0));
    EXPECT_TRUE(Last().closedBySim);
    EXPECT_GT(Last().timerTicks, 0);
}

TEST_F(SimDialogTest, AnotherThreadsCallsRunOnTheDialogsThread) {
    // The main dialog's OK opens a nested dialog with a timer (as the OK
    // action runs the progress dialog); meanwhile a second thread reads and
    // writes the main dialog, which the nested dialog's loop serves.
    platform::DialogView* mainDialog = nullptr;
    std::u16string readBack;
    std::atomic<bool> workerDone{false};
    std::thread worker;
    logic.onInit = [&](platform::DialogView& dialog) {
        mainDialog = &dialog;
        dialog.SetItemText(m::kComputerName, u"PC-01");
    };
    RecordingLogic nested;
    nested.onInit = [](platform::DialogView& dialog) { dialog.StartTimer(1, 100); };
    nested.onTimer = [&](platform::DialogView& dialog, std::uintptr_t) {
        if (workerDone.load()) {
            dialog.EndDialog(platform::kDialogOk);
        }
    };
    logic.onCommand = [&](platform::DialogView& dialog, int id, int) {
        if (id != ui::kItemOk) {
            return;
        }
        worker = std::thread([&] {
            readBack = mainDialog->ItemText(m::kComputerName);
            mainDialog->SetItemText(m::kWorkgroup, u"SALES");
            workerDone.store(true);
        });
        world.platform().ui.RunModalDialog(ui::kDialogProgress, ui::kLanguageEnglish,
                                           dialog.Window(), nested, 0);
        dialog.EndDialog(platform::kDialogOk);
    };
    EXPECT_EQ(platform::kDialogOk, Run(ui::kDialogMain, {DialogAction::Press(ui::kItemOk)}));
    worker.join();
    EXPECT_EQ(u"PC-01", readBack);
    const DialogRecord main = world.Desktop().Dialogs(ui::kDialogMain).back();
    ASSERT_NE(nullptr, main.ItemAtEnd(m::kWorkgroup));
    EXPECT_EQ(u"SALES", main.ItemAtEnd(m::kWorkgroup)->text);
    // The worker's write raised EN_CHANGE, handled on the dialog's thread.
    ASSERT_EQ(3u, logic.commands.size());
    EXPECT_EQ(std::make_pair(m::kWorkgroup, platform::kEnChange), logic.commands[2]);
    EXPECT_EQ(std::this_thread::get_id(), logic.threads[2]);
}

TEST_F(SimDialogTest, MessageBoxesTakeTheirAnswersOrTheDefault) {
    platform::UserInterface& ui = world.platform().ui;
    world.Desktop().AnswerMessageBox(2);
    EXPECT_EQ(2, ui.MessageBox(0x10, u"Text", u"Caption", 0x1));
    EXPECT_EQ(1, ui.MessageBox(0x10, u"Text", u"Caption", 0x1));         // OK of OK/Cancel
    EXPECT_EQ(7, ui.MessageBox(0x10, u"Text", u"Caption", 0x4 | 0x100)); // MB_DEFBUTTON2 of Yes/No
    EXPECT_EQ(kMessageBoxTimedOut,
              ui.MessageBoxTimeout(0x10, u"Neustart", u"Hinweis", 0x42030, 0x0407, 10000));
    EXPECT_EQ(1, ui.MessageBoxTimeout(0x10, u"Wait", u"Box", 0x42010, 0x0409, 0xFFFFFFFFu));
    world.Desktop().SetMessageBoxTimeoutAvailable(false);
    EXPECT_FALSE(ui.HasMessageBoxTimeout());
    EXPECT_EQ(1, ui.MessageBoxTimeout(0x10, u"Plain", u"Box", 0x42010, 0x0409, 10000));
    ui.ShowWaitCursor(true);
    EXPECT_TRUE(world.Desktop().WaitCursorShown());
    ui.ShowWaitCursor(false);

    const std::vector<std::string> expected = {
        "messagebox \"Text\" \"Caption\" style 0x00000001 -> 2",
        "messagebox \"Text\" \"Caption\" style 0x00000001 -> 1",
        "messagebox \"Text\" \"Caption\" style 0x00000104 -> 7",
        "notice \"Neustart\" \"Hinweis\" style 0x00042030 language 0x0407 timeout 10000 -> 32000",
        "notice \"Wait\" \"Box\" style 0x00042010 language 0x0409 timeout none -> 1",
        "messagebox \"Plain\" \"Box\" style 0x00042010 -> 1",
        "cursor wait",
        "cursor arrow",
    };
    EXPECT_EQ(expected, world.Desktop().JournalLines());
    EXPECT_EQ(6u, world.Desktop().MessageBoxes().size());
}

TEST_F(SimDialogTest, TheJournalNamesEveryOpening) {
    Run(ui::kDialogAuthentication, {DialogAction::Close()}, 86);
    Run(ui::kDialogProgress, {});
    EXPECT_EQ(platform::kDialogFailed,
              world.platform().ui.RunModalDialog(999, ui::kLanguageEnglish, 0, logic, 0));
    std::u16string domain = u"before";
    EXPECT_EQ(1, world.platform().ui.BrowseDomainTree(0, domain));
    EXPECT_EQ(u"before", domain);
    const std::vector<std::string> expected = {
        "dialog 105 0x0409 parameter 86 -> 2",
        "dialog 106 0x0409 parameter 0 -> 2 (closed by the sim)",
        "dialog 999 -> -1 (no template)",
        "browse -> 0x00000001",
    };
    EXPECT_EQ(expected, world.Desktop().JournalLines());
    world.Desktop().ClearJournal();
    EXPECT_TRUE(world.Desktop().Journal().empty());
}

} // namespace
} // namespace corvane::sim
