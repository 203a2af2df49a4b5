// DialogView over a dialog window and its controls.
//
// A view is used only on the thread that owns its dialog: the dialog
// procedure hands it to the logic. The apply worker never reaches the main
// dialog's view; the prompts it opens run dialogs, and views, of its own
// thread. Calls on a dialog that has been destroyed do nothing.
#pragma once

#include "platform/dialog_view.h"
#include "platform/win32/windows_api.h"

namespace corvane::win32 {

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
    // The body's result while the dialog exists, else the fallback.
    template <typename Result, typename Body>
    Result WhileOpen(Result fallback, Body&& body);
    template <typename Body>
    void WhileOpen(Body&& body);

    HWND dialog_;
};

} // namespace corvane::win32
