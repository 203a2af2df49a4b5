#include "platform/win32/dialog_procedure.h"

#include <cstdint>

namespace corvane::win32 {

namespace {

thread_local DialogContext* expectedDialog = nullptr;

int SystemColorIndex(platform::SystemColor color) {
    return static_cast<int>(color);
}

DialogContext* ContextOf(HWND dialog, UINT message, LPARAM lParam) {
    auto* context = reinterpret_cast<DialogContext*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (context != nullptr) {
        return context;
    }
    if (message == WM_INITDIALOG) {
        context = reinterpret_cast<DialogContext*>(lParam);
    } else {
        context = expectedDialog;
    }
    if (context != nullptr) {
        expectedDialog = nullptr;
        context->view.Attach(dialog);
        ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
    }
    return context;
}

HICON IconOfSize(HMODULE module, std::uint16_t id, int sizeMetric) {
    const int size = ::GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The window icons, a push button's icon and bold items, before the logic
// initialises.
void Decorate(HWND dialog, DialogContext& context) {
    const platform::DialogDecoration decoration = context.logic.Decoration();
    if (decoration.windowIcon != 0) {
        context.smallIcon = IconOfSize(context.module, decoration.windowIcon, SM_CXSMICON);
        context.bigIcon = IconOfSize(context.module, decoration.windowIcon, SM_CXICON);
        ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(context.smallIcon));
        ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(context.bigIcon));
        ::SendMessageW(dialog, DM_REPOSITION, 0, 0);
    }
    if (decoration.iconButton != 0 && decoration.buttonIcon != 0) {
        context.buttonIcon = IconOfSize(context.module, decoration.buttonIcon, SM_CXSMICON);
        ::SendDlgItemMessageW(dialog, decoration.iconButton, BM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(context.buttonIcon));
    }
    if (!decoration.boldItems.empty()) {
        auto font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
        if (font == nullptr) {
            font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        }
        LOGFONTW face{};
        if (::GetObjectW(font, sizeof face, &face) == sizeof face) {
            face.lfWeight = FW_BOLD;
            context.boldFont = ::CreateFontIndirectW(&face);
        }
        for (const int item : decoration.boldItems) {
            if (context.boldFont != nullptr) {
                ::SendDlgItemMessageW(dialog, item, WM_SETFONT,
                                      reinterpret_cast<WPARAM>(context.boldFont), FALSE);
            }
        }
    }
}

void ReleaseDecoration(DialogContext& context) {
    for (HICON* icon : {&context.smallIcon, &context.bigIcon, &context.buttonIcon}) {
        if (*icon != nullptr) {
            ::DestroyIcon(*icon);
            *icon = nullptr;
        }
    }
    if (context.boldFont != nullptr) {
        ::DeleteObject(context.boldFont);
        context.boldFont = nullptr;
    }
}

} // namespace

DialogContext* ExpectDialog(DialogContext* context) {
    DialogContext* previous = expectedDialog;
    expectedDialog = context;
    return previous;
}

void GdiDrawSurface::Fill(platform::SystemColor color) {
    ::FillRect(dc_, &rect_, ::GetSysColorBrush(SystemColorIndex(color)));
}

void GdiDrawSurface::VerticalLine(int x, platform::SystemColor color) {
    HGDIOBJ previous = ::SelectObject(dc_, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc_, ::GetSysColor(SystemColorIndex(color)));
    ::MoveToEx(dc_, rect_.left + x, rect_.top, nullptr);
    ::LineTo(dc_, rect_.left + x, rect_.bottom);
    ::SelectObject(dc_, previous);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogContext* context = ContextOf(dialog, message, lParam);
    if (context == nullptr) {
        return FALSE;
    }
    platform::DialogLogic& logic = context->logic;
    platform::DialogView& view = context->view;
    logic.OnMessage(view);
    switch (message) {
    case WM_INITDIALOG:
        Decorate(dialog, *context);
        return logic.OnInitDialog(view, context->parameter) ? TRUE : FALSE;
    case WM_COMMAND:
        // Control ids travel as 16 bits; -1 comes back as 0xFFFF.
        logic.OnCommand(view, static_cast<short>(LOWORD(wParam)), HIWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        // Handled here: the default handling would post IDCANCEL besides.
        logic.OnClose(view);
        return TRUE;
    case WM_TIMER:
        logic.OnTimer(view, static_cast<std::uintptr_t>(wParam));
        return FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item == nullptr) {
            return FALSE;
        }
        GdiDrawSurface surface(item->hDC, item->rcItem);
        logic.OnDrawItem(view, static_cast<int>(item->CtlID), surface);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        platform::StaticColors colors;
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (!logic.OnStaticColors(view, id, colors)) {
            return FALSE;
        }
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int background = SystemColorIndex(colors.background);
        if (!colors.backgroundOnly) {
            ::SetTextColor(dc, colors.text);
            ::SetBkColor(dc, ::GetSysColor(background));
        }
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(background));
    }
    case WM_DESTROY:
        logic.OnDestroy(view);
        return FALSE;
    case WM_NCDESTROY:
        // The items are gone by now, so their icons and font can go.
        ReleaseDecoration(*context);
        ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
        context->view.Attach(nullptr);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace corvane::win32
