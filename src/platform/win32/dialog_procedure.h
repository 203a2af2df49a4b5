// The one dialog procedure of every program dialog: it translates window
// messages into calls of the dialog's DialogLogic and decides nothing itself.
#pragma once

#include "platform/dialog_logic.h"
#include "platform/win32/dialog_view.h"
#include "platform/win32/windows_api.h"

#include <cstdint>

namespace corvane::win32 {

// What the procedure of one running dialog needs; lives on the stack of the
// call that runs the dialog.
struct DialogContext {
    DialogContext(platform::DialogLogic& dialogLogic, std::intptr_t initParameter,
                  HMODULE resourceModule)
        : logic(dialogLogic), parameter(initParameter), module(resourceModule) {}

    platform::DialogLogic& logic;
    std::intptr_t parameter;
    // Where the decoration's icons come from.
    HMODULE module;
    Win32DialogView view;
    // What the decoration created; the window does not own it, so it is
    // released at WM_DESTROY.
    HICON smallIcon = nullptr;
    HICON bigIcon = nullptr;
    HICON buttonIcon = nullptr;
    HFONT boldFont = nullptr;
};

// Makes `context` the one the next dialog created on this thread adopts
// with its first message (which comes before WM_INITDIALOG), so that the
// logic sees every message. Returns the previous one for restoring.
DialogContext* ExpectDialog(DialogContext* context);

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The owner-drawn item's device context and rectangle as a DrawSurface.
class GdiDrawSurface final : public platform::DrawSurface {
public:
    GdiDrawSurface(HDC dc, const RECT& rect) : dc_(dc), rect_(rect) {}
    int Width() override { return rect_.right - rect_.left; }
    int Height() override { return rect_.bottom - rect_.top; }
    void Fill(platform::SystemColor color) override;
    void VerticalLine(int x, platform::SystemColor color) override;

private:
    HDC dc_;
    RECT rect_;
};

} // namespace corvane::win32
