// The sim's desktop: what the simulated user does in the program's dialogs
// and message boxes, and the journal of every window the program opened.
//
// A test (or the headless runner, through the text form in
// docs/sim-actions.md) scripts each opening of a dialog in advance: the
// openings of one template take the scripts given for it in order. The
// dialogs themselves run headless in the sim's user-interface service;
// message boxes and the domain browser take their answers from queues here.
// Every method locks the desktop, so the dialog thread, the apply worker and
// a watching test can use it at once.
#pragma once

#include "platform/types.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane::sim {

// One thing the user does in an open dialog.
enum class DialogActionKind {
    Type,     // replaces an edit field's text, as typed (EN_CHANGE)
    Press,    // clicks a button; check boxes and radio buttons change (BN_CLICKED)
    Check,    // clicks a check box or radio button unless it is ticked already
    Uncheck,  // clicks a check box if it is ticked
    Pick,     // picks an entry of a combo box by index or text (CBN_SELCHANGE)
    DropDown, // opens a combo box's list (CBN_DROPDOWN)
    Address,  // types an IP address control's fields, or clears them (EN_CHANGE)
    Enter,    // the Enter key: the default button
    Escape,   // the Escape key: IDCANCEL
    Wait,     // lets the dialog's timers run for a while
    Close,    // the close box (WM_CLOSE)
};

struct DialogAction {
    DialogActionKind kind = DialogActionKind::Close;
    int item = 0;
    std::u16string text;                  // Type; Pick by text
    int index = -1;                       // Pick by index; -1 picks by text
    std::optional<std::uint32_t> address; // Address, host order; none clears
    std::uint32_t milliseconds = 0;       // Wait

    static DialogAction Type(int item, std::u16string_view text);
    static DialogAction Press(int item);
    static DialogAction Check(int item);
    static DialogAction Uncheck(int item);
    static DialogAction Pick(int item, int index);
    static DialogAction Pick(int item, std::u16string_view text);
    static DialogAction DropDown(int item);
    static DialogAction Address(int item, std::optional<std::uint32_t> address);
    static DialogAction Enter();
    static DialogAction Escape();
    static DialogAction Wait(std::uint32_t milliseconds);
    static DialogAction Close();

    // The action in the script's text form, for instance `type 1021 "x"`.
    std::string Text() const;
};

// The script of one opening of a dialog template.
struct DialogScript {
    std::uint16_t templateId = 0;
    std::vector<DialogAction> actions;
};

// Message-box results (IDOK ... IDCONTINUE) and the time-out's.
inline constexpr int kMessageBoxTimedOut = 32000;

// What the domain browser does when the program opens it.
struct DomainBrowserAnswer {
    enum class Kind { Pick, Cancel, Unavailable };
    Kind kind = Kind::Cancel;
    std::u16string domain; // Pick

    static DomainBrowserAnswer Pick(std::u16string_view domain);
    static DomainBrowserAnswer Cancel();
    static DomainBrowserAnswer Unavailable();
};

// Every scripted part in one: what the text form holds.
struct DesktopScript {
    std::vector<DialogScript> dialogs;
    std::vector<int> messageBoxAnswers;
    std::vector<DomainBrowserAnswer> browserAnswers;
};

// Parses the text form (docs/sim-actions.md). On any error nothing is
// added to `script` and `errors` holds one "line N: ..." entry per bad line.
bool ParseDesktopScript(std::string_view text, DesktopScript& script,
                        std::vector<std::string>& errors);

// --- Journal

// One dialog item as it stood at a moment of the dialog's life.
struct DialogItemState {
    int id = 0;
    std::u16string windowClass;
    std::u16string text; // a drop-down list shows its selected entry
    bool visible = false;
    bool enabled = false;
    bool checked = false;
    bool textSelected = false; // EM_SETSEL 0, -1 since the last change
    int limit = 0;             // characters the user can type
    std::vector<std::u16string> list;
    int selection = -1;
    std::optional<std::uint32_t> address; // none while blank
};

struct DialogRecord {
    std::uint16_t templateId = 0;
    platform::LanguageId language = 0; // 0: no such template
    platform::WindowId owner = 0;
    platform::WindowId window = 0;
    std::intptr_t parameter = 0;
    bool ended = false; // false while the dialog is still open
    bool shown = false; // false when it ended during its initialisation
    // The script ran out with the dialog still open, so the sim closed it.
    bool closedBySim = false;
    int endValue = 0;
    std::vector<std::string> actions; // each action, with ": refused (why)" when refused
    std::string caption;              // the window's title once initialised
    struct Refusal {
        DialogAction action;
        std::string reason;
    };
    std::vector<Refusal> refusals; // the actions the dialog refused, in order
    std::vector<DialogItemState> afterInit;
    std::vector<DialogItemState> atEnd;
    int focusAfterInit = 0; // item id; 0 for none
    int focusAtEnd = 0;
    int timerTicks = 0;
    int draws = 0; // WM_DRAWITEM of owner-drawn items

    // The first item with this id in afterInit or atEnd; null if none.
    const DialogItemState* ItemAfterInit(int id) const;
    const DialogItemState* ItemAtEnd(int id) const;
};

struct MessageBoxRecord {
    platform::WindowId owner = 0;
    std::u16string text;
    std::u16string caption;
    std::uint32_t style = 0;
    bool timed = false; // shown through MessageBoxTimeoutW (a notice)
    platform::LanguageId language = 0;
    std::uint32_t timeoutMs = 0;
    int answer = 0;
};

struct DomainBrowserRecord {
    platform::WindowId owner = 0;
    platform::HResult result = 0;
    std::u16string domain;
};

struct WaitCursorRecord {
    bool waiting = false;
};

using DesktopRecord =
    std::variant<DialogRecord, MessageBoxRecord, DomainBrowserRecord, WaitCursorRecord>;

// A text in the script's quoting: double quotes, a quote doubled inside, a
// line feed as \n and a carriage return as \r.
std::string Quoted(std::u16string_view text);

// One line per record, for instance
// `dialog 105 0x0409 parameter 86 -> 2 (closed by the sim)`.
std::string RecordText(const DesktopRecord& record);

class Desktop {
public:
    // The first window id a dialog gets; each further one is 0x10 higher.
    static constexpr platform::WindowId kFirstWindow = 0x00010000;

    // --- Script
    void ScriptDialog(std::uint16_t templateId, std::vector<DialogAction> actions);
    void AnswerMessageBox(int button);
    void AnswerDomainBrowser(DomainBrowserAnswer answer);
    void Load(const DesktopScript& script);
    // Parses and loads the text form; nothing is loaded when it has errors.
    bool LoadText(std::string_view text, std::vector<std::string>& errors);
    void ClearScript();
    // Scripts and answers that no opening or box has used yet.
    std::size_t UnusedDialogScripts() const;
    std::size_t UnusedMessageBoxAnswers() const;
    std::size_t UnusedBrowserAnswers() const;

    // --- Settings
    // Whether user32 has MessageBoxTimeoutW (default: yes). Without it a
    // notice is shown as a plain message box.
    void SetMessageBoxTimeoutAvailable(bool available);
    bool MessageBoxTimeoutAvailable() const;
    // How long (real time) a dialog whose script ran out keeps its timers
    // running, waiting to end by itself, before the sim closes it.
    void SetPatience(std::chrono::milliseconds patience);
    std::chrono::milliseconds Patience() const;
    // Real time spent per timer tick; the dialog serves calls from other
    // threads meanwhile.
    void SetTickPause(std::chrono::microseconds pause);
    std::chrono::microseconds TickPause() const;

    // --- Journal, in the order the windows opened
    std::vector<DesktopRecord> Journal() const;
    std::vector<std::string> JournalLines() const;
    // The dialog records only, optionally of one template.
    std::vector<DialogRecord> Dialogs(std::uint16_t templateId = 0) const;
    // Message boxes and notices.
    std::vector<MessageBoxRecord> MessageBoxes() const;
    void ClearJournal();
    bool WaitCursorShown() const;

    // --- For the sim's user-interface service
    // The script of the next opening of `templateId` (empty when none is left).
    std::vector<DialogAction> TakeDialogScript(std::uint16_t templateId);
    std::optional<int> TakeMessageBoxAnswer();
    std::optional<DomainBrowserAnswer> TakeBrowserAnswer();
    platform::WindowId NextWindow();
    // Where an appended record lives; it outlives a ClearJournal harmlessly.
    struct RecordSlot {
        std::size_t index = 0;
        std::uint64_t generation = 0;
    };
    RecordSlot Append(DesktopRecord record);
    // Replaces the dialog record in `slot` (ignored once the journal was
    // cleared).
    void UpdateDialog(RecordSlot slot, const DialogRecord& record);
    void SetWaitCursor(bool waiting);

private:
    mutable std::mutex mutex_;
    std::map<std::uint16_t, std::deque<std::vector<DialogAction>>> dialogScripts_;
    std::deque<int> messageBoxAnswers_;
    std::deque<DomainBrowserAnswer> browserAnswers_;
    bool messageBoxTimeoutAvailable_ = true;
    std::chrono::milliseconds patience_{20000};
    std::chrono::microseconds tickPause_{1000};
    std::vector<DesktopRecord> journal_;
    std::uint64_t journalGeneration_ = 0;
    platform::WindowId nextWindow_ = kFirstWindow;
    bool waitCursor_ = false;
};

} // namespace corvane::sim
