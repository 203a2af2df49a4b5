#include "platform/win32/dialog_view.h"

#include "platform/win32/wide_text.h"
#include "support/wipe_memory.h"

#include <commctrl.h>
#include <string>

namespace corvane::win32 {

namespace {

std::wstring Terminated(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string WindowText(HWND window) {
    if (window == nullptr) {
        return {};
    }
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) {
        return {};
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, Wide(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace

template <typename Result, typename Body>
Result Win32DialogView::WhileOpen(Result fallback, Body&& body) {
    if (dialog_ == nullptr || !::IsWindow(dialog_)) {
        return fallback;
    }
    return body();
}

template <typename Body>
void Win32DialogView::WhileOpen(Body&& body) {
    WhileOpen(0, [&] {
        body();
        return 0;
    });
}

std::u16string Win32DialogView::ItemText(int id) {
    return WhileOpen(std::u16string(), [&] { return WindowText(::GetDlgItem(dialog_, id)); });
}

void Win32DialogView::SetItemText(int id, std::u16string_view text) {
    std::wstring terminated = Terminated(text);
    WhileOpen([&] { ::SetDlgItemTextW(dialog_, id, terminated.c_str()); });
    // The text may be a password: the copy does not outlive the call.
    WipeMemory(terminated.data(), terminated.size() * sizeof(wchar_t));
}

void Win32DialogView::SetCaption(std::u16string_view text) {
    const std::wstring terminated = Terminated(text);
    WhileOpen([&] { ::SetWindowTextW(dialog_, terminated.c_str()); });
}

bool Win32DialogView::IsChecked(int id) {
    return WhileOpen(false, [&] { return ::IsDlgButtonChecked(dialog_, id) == BST_CHECKED; });
}

void Win32DialogView::SetChecked(int id, bool checked) {
    WhileOpen([&] { ::CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED); });
}

void Win32DialogView::EnableItem(int id, bool enabled) {
    WhileOpen([&] {
        if (HWND item = ::GetDlgItem(dialog_, id)) {
            ::EnableWindow(item, enabled ? TRUE : FALSE);
        }
    });
}

bool Win32DialogView::IsItemEnabled(int id) {
    return WhileOpen(false, [&] {
        HWND item = ::GetDlgItem(dialog_, id);
        return item != nullptr && ::IsWindowEnabled(item) != FALSE;
    });
}

void Win32DialogView::FocusItem(int id) {
    WhileOpen([&] {
        if (HWND item = ::GetDlgItem(dialog_, id)) {
            ::SetFocus(item);
        }
    });
}

void Win32DialogView::SelectAllText(int id) {
    WhileOpen([&] { ::SendDlgItemMessageW(dialog_, id, EM_SETSEL, 0, -1); });
}

void Win32DialogView::LimitText(int id, int maxCharacters) {
    WhileOpen([&] {
        ::SendDlgItemMessageW(dialog_, id, EM_LIMITTEXT,
                              static_cast<WPARAM>(maxCharacters > 0 ? maxCharacters : 0), 0);
    });
}

void Win32DialogView::ResetList(int id) {
    WhileOpen([&] { ::SendDlgItemMessageW(dialog_, id, CB_RESETCONTENT, 0, 0); });
}

int Win32DialogView::AddListItem(int id, std::u16string_view text) {
    const std::wstring terminated = Terminated(text);
    return WhileOpen(platform::kNoListSelection, [&] {
        const LRESULT index = ::SendDlgItemMessageW(dialog_, id, CB_ADDSTRING, 0,
                                                    reinterpret_cast<LPARAM>(terminated.c_str()));
        return index >= 0 ? static_cast<int>(index) : platform::kNoListSelection;
    });
}

int Win32DialogView::ListCount(int id) {
    return WhileOpen(0, [&] {
        const LRESULT count = ::SendDlgItemMessageW(dialog_, id, CB_GETCOUNT, 0, 0);
        return count > 0 ? static_cast<int>(count) : 0;
    });
}

int Win32DialogView::ListSelection(int id) {
    return WhileOpen(platform::kNoListSelection, [&] {
        const LRESULT index = ::SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
        return index >= 0 ? static_cast<int>(index) : platform::kNoListSelection;
    });
}

void Win32DialogView::SetListSelection(int id, int index) {
    WhileOpen(
        [&] { ::SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0); });
}

std::u16string Win32DialogView::ListItemText(int id, int index) {
    return WhileOpen(std::u16string(), [&] {
        const auto position = static_cast<WPARAM>(index);
        const LRESULT length = ::SendDlgItemMessageW(dialog_, id, CB_GETLBTEXTLEN, position, 0);
        if (index < 0 || length <= 0) {
            return std::u16string();
        }
        std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
        const LRESULT copied = ::SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, position,
                                                     reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
        return text;
    });
}

void Win32DialogView::SetListItemData(int id, int index, std::uintptr_t data) {
    WhileOpen([&] {
        ::SendDlgItemMessageW(dialog_, id, CB_SETITEMDATA, static_cast<WPARAM>(index),
                              static_cast<LPARAM>(data));
    });
}

std::uintptr_t Win32DialogView::ListItemData(int id, int index) {
    return WhileOpen(std::uintptr_t{0}, [&] {
        const LRESULT data =
            ::SendDlgItemMessageW(dialog_, id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        return data == CB_ERR ? std::uintptr_t{0} : static_cast<std::uintptr_t>(data);
    });
}

std::uint32_t Win32DialogView::IpAddress(int id) {
    return WhileOpen(std::uint32_t{0}, [&] {
        if (::SendDlgItemMessageW(dialog_, id, IPM_ISBLANK, 0, 0) != 0) {
            return std::uint32_t{0};
        }
        DWORD address = 0;
        ::SendDlgItemMessageW(dialog_, id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
        return static_cast<std::uint32_t>(address);
    });
}

void Win32DialogView::SetIpAddress(int id, std::uint32_t address) {
    WhileOpen([&] {
        ::SendDlgItemMessageW(dialog_, id, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    });
}

void Win32DialogView::ClearIpAddress(int id) {
    WhileOpen([&] { ::SendDlgItemMessageW(dialog_, id, IPM_CLEARADDRESS, 0, 0); });
}

void Win32DialogView::EndDialog(int result) {
    WhileOpen([&] { ::EndDialog(dialog_, result); });
}

platform::WindowId Win32DialogView::Window() {
    return reinterpret_cast<platform::WindowId>(dialog_);
}

void Win32DialogView::StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) {
    WhileOpen([&] { ::SetTimer(dialog_, timerId, periodMs, nullptr); });
}

void Win32DialogView::StopTimer(std::uintptr_t timerId) {
    WhileOpen([&] { ::KillTimer(dialog_, timerId); });
}

void Win32DialogView::InvalidateItem(int id) {
    WhileOpen([&] {
        if (HWND item = ::GetDlgItem(dialog_, id)) {
            ::InvalidateRect(item, nullptr, TRUE);
        }
    });
}

} // namespace corvane::win32
