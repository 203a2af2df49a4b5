#pragma once

#include "platform/dialog_logic.h"
#include "platform/types.h"

#include <cstdint>
#include <string>

namespace corvane::platform {

// Message-box styles the program uses.
namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kIconError = 0x10;
inline constexpr std::uint32_t kIconWarning = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr std::uint32_t kTaskModal = 0x2000;
inline constexpr std::uint32_t kTopmost = 0x40000;
} // namespace mb

// Modal dialogs from the program's templates, message boxes and the
// platform's domain picker.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // DialogBoxParamW with the template of that id in the given language (in
    // any language the program has when that one is missing): runs `logic`
    // modally until it ends the dialog; returns the end value, or
    // kDialogFailed when the dialog cannot be created.
    virtual int RunModalDialog(std::uint16_t templateId, LanguageId language, WindowId owner,
                               DialogLogic& logic, std::intptr_t parameter) = 0;
    // MessageBoxW.
    virtual int MessageBox(WindowId owner, const char16_t* text, const char16_t* caption,
                           std::uint32_t style) = 0;
    // The undocumented MessageBoxTimeoutW looked up at run time: a box that
    // closes by itself after the time-out (0xFFFFFFFF: never), in the given
    // language. HasMessageBoxTimeout tells whether the export was found.
    virtual bool HasMessageBoxTimeout() = 0;
    virtual int MessageBoxTimeout(WindowId owner, const char16_t* text, const char16_t* caption,
                                  std::uint32_t style, LanguageId language,
                                  std::uint32_t timeoutMs) = 0;
    // The platform's domain tree browser (BrowseTo with
    // DBDTF_RETURNINOUTBOUND): S_OK (0) with the chosen domain's name; any
    // other status when it is unavailable or the user cancelled.
    virtual HResult BrowseDomainTree(WindowId owner, std::u16string& domain) = 0;
    // The wait cursor while a long look-up runs on the interface thread.
    virtual void ShowWaitCursor(bool waiting) = 0;
};

} // namespace corvane::platform
