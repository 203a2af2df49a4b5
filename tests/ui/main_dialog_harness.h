// A workstation of the sim platform with the main dialog open on a
// notifying fake of template 101: the test configures the world and the
// settings file, opens the dialog and then plays the user.
#pragma once

#include "app/start_with_windows.h"
#include "fakes/notifying_dialog_view.h"
#include "fakes/scripted_user_interface.h"
#include "model/setup_state.h"
#include "platform/sim/world.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_templates.h"
#include "ui/main_dialog.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace corvane::testing_support {

namespace id = ui::main_dialog;

// The scripted dialogs, except that the progress dialog runs its own logic
// until the worker's done event ends it, as the real modal loop would; the
// test can make the user close it at the moment the run ends. Records the
// wait cursor.
class MainDialogUserInterface : public fakes::ScriptedUserInterface {
public:
    int RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                       platform::WindowId owner, platform::DialogLogic& logic,
                       std::intptr_t parameter) override {
        if (templateId != ui::kDialogProgress) {
            return ScriptedUserInterface::RunModalDialog(templateId, language, owner, logic,
                                                         parameter);
        }
        progressOwners.push_back(owner);
        if (onProgress) {
            onProgress();
        }
        fakes::FakeDialogView view;
        logic.OnInitDialog(view, parameter);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (view.endResult() == 0 && std::chrono::steady_clock::now() < deadline) {
            logic.OnMessage(view);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (view.endResult() == 0) {
            logic.OnClose(view); // the run hangs: give up, the test fails on its result
        }
        logic.OnDestroy(view);
        return closeProgressWhenDone ? platform::kDialogCancel : view.endResult();
    }
    void ShowWaitCursor(bool waiting) override { waitCursor.push_back(waiting); }
    int MessageBox(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                   std::uint32_t style) override {
        boxes.push_back({owner, text, caption, style});
        return platform::kDialogOk;
    }

    struct Box {
        platform::WindowId owner = 0;
        std::u16string text;
        std::u16string caption;
        std::uint32_t style = 0;
    };
    // The plain message boxes, in order.
    std::vector<Box> boxes;

    bool closeProgressWhenDone = false;
    // Runs as the progress dialog opens, while the worker may be running.
    std::function<void()> onProgress;
    std::vector<platform::WindowId> progressOwners;
    std::vector<bool> waitCursor;
};

inline platform::Platform WithUserInterface(platform::Platform& base, platform::UserInterface& ui) {
    return platform::Platform{base.clock,
                              base.locale,
                              base.environment,
                              base.files,
                              base.profile,
                              base.registry,
                              base.network,
                              base.ipHelper,
                              base.resources,
                              base.directory,
                              ui};
}

inline constexpr std::u16string_view kSettingsPath = u"C:\\Tools\\corvane.ini";
inline constexpr std::u16string_view kRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The sim's fresh workstation.
inline constexpr std::u16string_view kMachineName = u"WIN-7K2P9QX4T1M";

struct MainDialogHarness {
    MainDialogHarness() : os(WithUserInterface(world.platform(), dialogs)) {}
    ~MainDialogHarness() {
        if (opened) {
            logic.OnDestroy(dialog);
        }
    }

    void WriteSettings(std::u16string_view text) {
        world.PutTextFile(kSettingsPath, text, sim::TextEncoding::Utf16LeBom);
    }

    // WM_INITDIALOG with the notifications attached, as the dialog manager
    // runs it, then the first paint and the message loop's first idle
    // moment, in which the look-ups put off until the dialog shows run.
    void Open() {
        OpenUntilPainted();
        RunLookUpTimer();
    }
    // Only WM_INITDIALOG and the first paint.
    void OpenUntilPainted() {
        dialog.Attach(logic);
        logic.OnInitDialog(dialog, 0);
        opened = true;
    }
    // The look-up timer's message, when the initialisation started it.
    void RunLookUpTimer() {
        if (dialog.timers().contains(kInitialLookupTimer)) {
            logic.OnTimer(dialog, kInitialLookupTimer);
        }
    }

    bool OkEnabled() { return dialog.item(ui::kItemOk).enabled; }
    std::u16string Text(int item) { return dialog.item(item).text; }
    bool Checked(int item) { return dialog.item(item).checked; }
    bool Enabled(int item) { return dialog.item(item).enabled; }

    sim::World world;
    MainDialogUserInterface dialogs;
    platform::Platform os;
    SetupState state;
    fakes::NotifyingDialogView dialog{
        *ui::FindDialogTemplate(ui::kDialogMain, ui::kLanguageEnglish)};
    MainDialog logic{os, state, IsStartWithWindowsEnabled};
    bool opened = false;
};

} // namespace corvane::testing_support
