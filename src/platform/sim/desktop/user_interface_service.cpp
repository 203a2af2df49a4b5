#include "platform/sim/desktop/user_interface_service.h"

#include "platform/sim/desktop/sim_dialog.h"
#include "platform/sim/text.h"
#include "ui/dialog_templates.h"
#include "ui/string_resources.h"

#include <chrono>

namespace corvane::sim {

namespace {

constexpr platform::HResult kSFalse = 1;
constexpr auto kClassNotRegistered = static_cast<platform::HResult>(0x80040154u);
constexpr std::uint32_t kNoTimeout = 0xFFFFFFFFu;

// The button Enter presses in a message box: the first of its buttons, or
// the one MB_DEFBUTTON2 to 4 name.
int DefaultAnswer(std::uint32_t style) {
    static constexpr int kButtons[][3] = {
        {1, 0, 0},   // MB_OK
        {1, 2, 0},   // MB_OKCANCEL
        {3, 4, 5},   // MB_ABORTRETRYIGNORE
        {6, 7, 2},   // MB_YESNOCANCEL
        {6, 7, 0},   // MB_YESNO
        {4, 2, 0},   // MB_RETRYCANCEL
        {2, 10, 11}, // MB_CANCELTRYCONTINUE
    };
    const std::uint32_t type = style & 0xF;
    if (type >= std::size(kButtons)) {
        return 1;
    }
    const std::uint32_t which = (style >> 8) & 0xF;
    const int* buttons = kButtons[type];
    if (which < 3 && buttons[which] != 0) {
        return buttons[which];
    }
    return buttons[0];
}

} // namespace

int SimUserInterface::RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                                     platform::WindowId owner, platform::DialogLogic& logic,
                                     std::intptr_t parameter) {
    const ui::DialogTemplate* dialogTemplate = ui::FindDialogTemplate(templateId, language);
    if (dialogTemplate == nullptr) {
        // As FindResourceW: the platform's own pick of language.
        platform::LanguageId fallback = ui::kLanguageEnglish;
        {
            const std::lock_guard lock(state_.mutex);
            fallback = state_.DefaultResourceLanguage();
        }
        dialogTemplate = ui::FindDialogTemplate(templateId, fallback);
    }
    if (dialogTemplate == nullptr) {
        // Any language the program has.
        for (const ui::DialogTemplate& candidate : ui::DialogTemplates()) {
            if (candidate.id == templateId) {
                dialogTemplate = &candidate;
                break;
            }
        }
    }
    DialogRecord record;
    record.templateId = templateId;
    record.owner = owner;
    record.parameter = parameter;
    if (dialogTemplate == nullptr) {
        record.ended = true;
        record.endValue = platform::kDialogFailed;
        desktop_.Append(record);
        return platform::kDialogFailed;
    }
    record.language = dialogTemplate->language;
    record.window = desktop_.NextWindow();
    const Desktop::RecordSlot slot = desktop_.Append(record);
    const auto tickPause = desktop_.TickPause();
    const auto patience = desktop_.Patience();

    SimDialog dialog(*dialogTemplate, logic, record.window, queues_);
    dialog.Initialise(parameter);
    record.shown = !dialog.Ended();
    record.afterInit = dialog.Snapshot();
    record.focusAfterInit = dialog.Focus();
    record.caption = Utf16ToUtf8(dialog.Caption());
    desktop_.UpdateDialog(slot, record);
    // A dialog that ended during its initialisation was never on the screen:
    // its script stays for the next opening that is.
    const std::vector<DialogAction> script =
        record.shown ? desktop_.TakeDialogScript(templateId) : std::vector<DialogAction>{};

    for (const DialogAction& action : script) {
        if (dialog.Ended()) {
            break;
        }
        dialog.ServeCalls();
        const std::string refusal = dialog.Perform(action, tickPause);
        record.actions.push_back(refusal.empty() ? action.Text()
                                                 : action.Text() + ": refused (" + refusal + ")");
        if (!refusal.empty()) {
            record.refusals.push_back({action, refusal});
        }
    }
    if (!dialog.Ended()) {
        // The script ran out. A dialog with a running timer may still end by
        // itself (the progress dialog waits for its event): its timers run
        // for as long as the patience lasts. Then, or at once for a dialog
        // without timers, the sim closes it.
        const auto giveUp = std::chrono::steady_clock::now() + patience;
        while (!dialog.Ended() && std::chrono::steady_clock::now() < giveUp &&
               dialog.RunNextTimer(tickPause)) {
        }
        if (!dialog.Ended()) {
            record.closedBySim = true;
            dialog.Close();
        }
        if (!dialog.Ended()) {
            // A logic that ignores WM_CLOSE would wait for ever on Windows;
            // here the dialog ends as cancelled.
            record.actions.push_back("close: ignored, ended by the sim");
            dialog.EndDialog(platform::kDialogCancel);
        }
    }
    dialog.Destroy();
    record.ended = true;
    record.endValue = dialog.EndValue();
    record.atEnd = dialog.Snapshot();
    record.focusAtEnd = dialog.Focus();
    record.timerTicks = dialog.TimerTicks();
    record.draws = dialog.Draws();
    desktop_.UpdateDialog(slot, record);
    return record.endValue;
}

int SimUserInterface::ShowBox(platform::WindowId owner, const char16_t* text,
                              const char16_t* caption, std::uint32_t style, bool timed,
                              platform::LanguageId language, std::uint32_t timeoutMs) {
    MessageBoxRecord record;
    record.owner = owner;
    record.text = View(text);
    record.caption = caption != nullptr ? View(caption) : std::u16string(u"Error");
    record.style = style;
    record.timed = timed;
    record.language = timed ? language : platform::LanguageId{0};
    record.timeoutMs = timed ? timeoutMs : 0;
    if (const std::optional<int> answer = desktop_.TakeMessageBoxAnswer()) {
        record.answer = *answer;
    } else if (timed && timeoutMs != kNoTimeout) {
        // Nobody is there: the notice closes by itself.
        record.answer = kMessageBoxTimedOut;
    } else {
        record.answer = DefaultAnswer(style);
    }
    desktop_.Append(record);
    return record.answer;
}

int SimUserInterface::MessageBox(platform::WindowId owner, const char16_t* text,
                                 const char16_t* caption, std::uint32_t style) {
    return ShowBox(owner, text, caption, style, false, 0, 0);
}

bool SimUserInterface::HasMessageBoxTimeout() {
    return desktop_.MessageBoxTimeoutAvailable();
}

int SimUserInterface::MessageBoxTimeout(platform::WindowId owner, const char16_t* text,
                                        const char16_t* caption, std::uint32_t style,
                                        platform::LanguageId language, std::uint32_t timeoutMs) {
    if (!desktop_.MessageBoxTimeoutAvailable()) {
        return ShowBox(owner, text, caption, style, false, 0, 0);
    }
    return ShowBox(owner, text, caption, style, true, language, timeoutMs);
}

platform::HResult SimUserInterface::BrowseDomainTree(platform::WindowId owner,
                                                     std::u16string& domain) {
    DomainBrowserRecord record;
    record.owner = owner;
    const std::optional<DomainBrowserAnswer> answer = desktop_.TakeBrowserAnswer();
    if (!answer || answer->kind == DomainBrowserAnswer::Kind::Cancel) {
        record.result = kSFalse;
    } else if (answer->kind == DomainBrowserAnswer::Kind::Unavailable) {
        record.result = kClassNotRegistered;
    } else {
        record.result = 0;
        record.domain = answer->domain;
        domain = answer->domain;
    }
    desktop_.Append(record);
    return record.result;
}

void SimUserInterface::ShowWaitCursor(bool waiting) {
    desktop_.SetWaitCursor(waiting);
}

} // namespace corvane::sim
