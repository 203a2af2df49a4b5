// DialogView over a dialog window and its controls.
//
// Every call runs on the thread that owns the dialog: from that thread it
// goes straight to the controls; from any other (the apply worker) it is
// sent to the dialog as a private message, which Windows delivers while the
// owning thread waits in a modal loop. No window data is touched from a
// foreign thread.
#pragma once

#include "platform/dialog_view.h"
#include "platform/win32/windows_api.h"

namespace corvane::win32 {

// A call waiting for a dialog's thread: `run` is called with `context`.
struct DialogThreadCall {
    void (*run)(void* context);
    void* context;
};

class Win32DialogView final : public platform::DialogView {
public:
    explicit Win32DialogView(HWND dialog = nullptr) : dialog_(dialog) {}

    void Attach(HWND dialog) { dialog_ = dialog; }
    HWND Handle() const { return dialog_; }

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
    platform::WindowId Window() override;
    void StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) override;
    void StopTimer(std::uintptr_t timerId) override;
    void InvalidateItem(int id) override;

private:
    enum class Reach { Gone, Here, Elsewhere };
    // Whether the dialog still exists, and whether it is the calling
    // thread's own.
    Reach Where() const;
    // Sends the call to the dialog's thread and waits until it has run.
    void RunOnDialogThread(const DialogThreadCall& call);
    template <typename Result, typename Body>
    Result OnDialogThread(Result fallback, Body&& body);
    template <typename Body>
    void OnDialogThread(Body&& body);

    HWND dialog_;
};

// The private message that carries a call to the dialog's thread.
UINT RunOnDialogThreadMessage();

// Called by the dialog procedure for that message: runs the call if `call`
// is one that a view of this process is waiting for (anything else, such as
// the message sent by another program, is ignored). True when it ran.
bool RunDialogThreadCall(LPARAM call);

} // namespace corvane::win32
