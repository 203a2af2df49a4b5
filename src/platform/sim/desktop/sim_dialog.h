// One open dialog of the sim: its items, seeded from the template, behave as
// the Windows controls do towards the dialog logic (which writes raise which
// notifications, what a read-only or disabled item refuses, how a sorted
// list sorts). Internal to the sim library.
//
// The dialog belongs to the thread that runs it. Calls from any other thread
// are carried out on that thread while it waits in a modal loop, so the
// logic only ever runs on its own thread.
#pragma once

#include "platform/dialog_logic.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/desktop/thread_queue.h"
#include "ui/dialog_templates.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace corvane::sim {

class SimDialog final : public platform::DialogView {
public:
    SimDialog(const ui::DialogTemplate& dialog, platform::DialogLogic& logic,
              platform::WindowId window, ThreadQueues& queues);
    ~SimDialog() override;
    SimDialog(const SimDialog&) = delete;
    SimDialog& operator=(const SimDialog&) = delete;

    // --- DialogView
    std::u16string ItemText(int id) override;
    void SetItemText(int id, std::u16string_view text) override;
    void SetCaption(std::u16string_view text) override;
    bool IsChecked(int id) override;
    void SetChecked(int id, bool checked) override;
    void EnableItem(int id, bool enabled) override;
    bool IsItemEnabled(int id) override;
    void FocusItem(int id) override;
    void SelectAllText(int id) override;
    void LimitText(int id, int maxCharacters) override;
    void ResetList(int id) override;
    int AddListItem(int id, std::u16string_view text) override;
    int ListCount(int id) override;
    int ListSelection(int id) override;
    void SetListSelection(int id, int index) override;
    std::u16string ListItemText(int id, int index) override;
    void SetListItemData(int id, int index, std::uintptr_t data) override;
    std::uintptr_t ListItemData(int id, int index) override;
    std::uint32_t IpAddress(int id) override;
    void SetIpAddress(int id, std::uint32_t address) override;
    void ClearIpAddress(int id) override;
    void EndDialog(int result) override;
    platform::WindowId Window() override { return window_; }
    void StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) override;
    void StopTimer(std::uintptr_t timerId) override;
    void InvalidateItem(int id) override;

    // --- The modal run, on the owning thread
    // WM_INITDIALOG, the default focus, and the first paint when the dialog
    // is still open afterwards.
    void Initialise(std::intptr_t parameter);
    // Carries out one user action; "" when done, else why it was refused.
    std::string Perform(const DialogAction& action, std::chrono::microseconds tickPause);
    // Lets the timers run for `milliseconds` of dialog time, each tick after
    // a real pause in which calls from other threads are served.
    void RunTimers(std::uint64_t milliseconds, std::chrono::microseconds tickPause);
    // Fires the next due timer after a pause; false when no timer runs.
    bool RunNextTimer(std::chrono::microseconds tickPause);
    // WM_CLOSE.
    void Close();
    // WM_DESTROY; afterwards calls from other threads are refused.
    void Destroy();
    // Serves calls from other threads that are waiting.
    void ServeCalls();

    bool Ended() const { return ended_; }
    int EndValue() const { return endValue_; }
    bool HasTimers() const { return !timers_.empty(); }
    int TimerTicks() const { return timerTicks_; }
    int Draws() const { return draws_; }
    int Focus() const { return focus_; }
    const std::u16string& Caption() const { return caption_; }
    std::vector<DialogItemState> Snapshot() const;

private:
    enum class Kind {
        PushButton,
        CheckBox,
        AutoCheckBox,
        RadioButton,
        AutoRadioButton,
        GroupBox,
        OtherButton,
        Edit,
        Static,
        ComboBox,
        IpAddress,
        Other,
    };
    struct ListEntry {
        std::u16string text;
        std::uintptr_t data = 0;
    };
    struct Item {
        const ui::DialogItem* source = nullptr;
        Kind kind = Kind::Other;
        std::u16string text;
        bool visible = false;
        bool enabled = false;
        bool checked = false;
        bool selected = false;
        int limit = 0;
        bool multiline = false;
        bool readOnly = false;
        bool dropDownList = false;
        bool sorted = false;
        bool ownerDrawn = false;
        bool invalid = false;
        std::vector<ListEntry> list;
        int selection = platform::kNoListSelection;
        std::optional<std::uint32_t> address;
    };
    struct Timer {
        std::uint32_t period = 0;
        std::uint64_t due = 0;
    };

    template <typename Result, typename Body>
    Result OnOwner(Result fallback, Body&& body);
    template <typename Body>
    void OnOwner(Body&& body);

    Item* Find(int id);
    const Item* Find(int id) const;
    std::size_t IndexOf(const Item& item) const;
    // One message: the logic's OnMessage first, then its handler.
    void Command(int id, int notification);
    void Paint();
    void Click(Item& item);
    void Pause(std::chrono::microseconds tickPause);
    std::u16string TextOf(const Item& item) const;
    std::string Refusal(const Item* item, Kind wanted) const;
    int DefaultButton() const;

    platform::DialogLogic& logic_;
    const platform::WindowId window_;
    ThreadQueues& queues_;
    std::shared_ptr<ThreadQueue> ownerQueue_;
    const std::thread::id owner_;
    std::shared_ptr<DialogLife> life_ = std::make_shared<DialogLife>();

    std::u16string caption_;
    std::vector<Item> items_;
    std::map<std::uintptr_t, Timer> timers_;
    std::uint64_t clock_ = 0; // dialog time, milliseconds
    int focus_ = 0;
    bool ended_ = false;
    bool destroyed_ = false;
    int endValue_ = 0;
    int timerTicks_ = 0;
    int draws_ = 0;
};

} // namespace corvane::sim
