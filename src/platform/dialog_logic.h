// What a dialog does on each message, written against DialogView so that it
// runs natively. The Win32 dialog procedure and the in-memory dialog of the
// sim platform both translate their messages into these calls.
#pragma once

#include "platform/dialog_view.h"

#include <cstdint>
#include <span>

namespace corvane::platform {

// Notification codes of WM_COMMAND, as Windows numbers them.
inline constexpr int kBnClicked = 0;
inline constexpr int kEnChange = 0x0300;
inline constexpr int kCbnSelChange = 1;
inline constexpr int kCbnDropDown = 7;

// Results of a modal dialog.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;
inline constexpr int kDialogFailed = -1;

// System colours the dialogs paint with (GetSysColor indexes).
enum class SystemColor : int { Window = 5, Highlight = 13, ButtonFace = 15 };

// The owner-drawn item's surface (WM_DRAWITEM): its rectangle and the few
// drawing operations the progress bar needs.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;
    virtual int Width() = 0;
    virtual int Height() = 0;
    virtual void Fill(SystemColor color) = 0;
    // A one-pixel vertical line at x from y = 0 to the bottom.
    virtual void VerticalLine(int x, SystemColor color) = 0;
};

// Colours of a static control or read-only edit (WM_CTLCOLORSTATIC): text
// colour as a COLORREF (0x00BBGGRR), background and brush a system colour.
struct StaticColors {
    std::uint32_t text = 0;
    SystemColor background = SystemColor::ButtonFace;
    // True: only the background brush is returned; the control keeps its
    // text colour and background mode (`text` is then not used).
    bool backgroundOnly = false;
};

// What the dialog's window wears besides its template, set up by the
// runtime when the dialog initialises: the window's icons, an icon on a
// push button and a bold face for some items.
struct DialogDecoration {
    // Icon resource for the small (SM_CXSMICON) and the big (SM_CXICON)
    // window icon, followed by DM_REPOSITION; 0 for none.
    std::uint16_t windowIcon = 0;
    // Push button that shows an icon (BM_SETIMAGE, IMAGE_ICON) of the
    // small-icon size, and that icon; 0 for none.
    int iconButton = 0;
    std::uint16_t buttonIcon = 0;
    // Items given a bold copy of the dialog's font (or of DEFAULT_GUI_FONT
    // when the dialog has none), without redrawing; the copy lives until
    // WM_DESTROY.
    std::span<const int> boldItems;
};

class DialogLogic {
public:
    virtual ~DialogLogic() = default;

    // Called first for every message the dialog receives, before it is
    // handled (the progress dialog polls its event here).
    virtual void OnMessage(DialogView& /*dialog*/) {}
    // WM_INITDIALOG with the dialog's parameter. Return true to let the
    // platform give the focus to the first item, false when the logic set it.
    virtual bool OnInitDialog(DialogView& dialog, std::intptr_t parameter) = 0;
    // WM_COMMAND from an item.
    virtual void OnCommand(DialogView& /*dialog*/, int /*itemId*/, int /*notification*/) {}
    // WM_CLOSE (close box, Alt+F4).
    virtual void OnClose(DialogView& dialog) { dialog.EndDialog(kDialogCancel); }
    // WM_TIMER.
    virtual void OnTimer(DialogView& /*dialog*/, std::uintptr_t /*timerId*/) {}
    // WM_DRAWITEM for an owner-drawn item.
    virtual void OnDrawItem(DialogView& /*dialog*/, int /*itemId*/, DrawSurface& /*surface*/) {}
    // WM_DESTROY.
    virtual void OnDestroy(DialogView& /*dialog*/) {}
    // WM_CTLCOLORSTATIC: true, with the colours filled in, for an item the
    // logic paints itself; false leaves the item to the default colours.
    virtual bool OnStaticColors(DialogView& /*dialog*/, int /*itemId*/, StaticColors& /*colors*/) {
        return false;
    }
    // Icons and fonts for the runtime to set up at WM_INITDIALOG.
    virtual DialogDecoration Decoration() const { return {}; }
};

} // namespace corvane::platform
