// A dialog's items as the dialog logic sees them. The Win32 implementation
// wraps a dialog window and its controls; tests and the headless runner use
// an in-memory one. Item ids are the dialog template's control ids.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::platform {

inline constexpr int kNoListSelection = -1; // CB_ERR

class DialogView {
public:
    virtual ~DialogView() = default;

    // Texts of items (GetDlgItemTextW, whole text) and of the dialog itself.
    virtual std::u16string ItemText(int id) = 0;
    virtual void SetItemText(int id, std::u16string_view text) = 0;
    virtual void SetCaption(std::u16string_view text) = 0;

    // Check boxes and radio buttons.
    virtual bool IsChecked(int id) = 0;
    virtual void SetChecked(int id, bool checked) = 0;

    virtual void EnableItem(int id, bool enabled) = 0;
    virtual bool IsItemEnabled(int id) = 0;
    virtual void FocusItem(int id) = 0;

    // Edit fields: select the whole text (EM_SETSEL 0, -1); limit typing.
    virtual void SelectAllText(int id) = 0;
    virtual void LimitText(int id, int maxCharacters) = 0;

    // Combo-box lists. AddListItem returns the index the item took (sorted
    // lists sort it in) or kNoListSelection; every item can carry a value.
    virtual void ResetList(int id) = 0;
    virtual int AddListItem(int id, std::u16string_view text) = 0;
    virtual int ListCount(int id) = 0;
    virtual int ListSelection(int id) = 0;
    virtual void SetListSelection(int id, int index) = 0;
    virtual std::u16string ListItemText(int id, int index) = 0;
    virtual void SetListItemData(int id, int index, std::uintptr_t data) = 0;
    virtual std::uintptr_t ListItemData(int id, int index) = 0;

    // IP address controls, in host order (first field in the high byte);
    // blank fields read as 0.
    virtual std::uint32_t IpAddress(int id) = 0;
    virtual void SetIpAddress(int id, std::uint32_t address) = 0;
    virtual void ClearIpAddress(int id) = 0;

    // Ends the modal dialog with a result.
    virtual void EndDialog(int result) = 0;

    // The dialog's window, as the owner of dialogs and message boxes it opens.
    virtual WindowId Window() = 0;

    // Timers (WM_TIMER) and repainting of an item (InvalidateRect with erase).
    virtual void StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) = 0;
    virtual void StopTimer(std::uintptr_t timerId) = 0;
    virtual void InvalidateItem(int id) = 0;
};

} // namespace corvane::platform
