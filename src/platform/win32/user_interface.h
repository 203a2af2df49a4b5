// Dialogs, message boxes and the domain picker over the Windows user
// interface.
#pragma once

#include "platform/user_interface.h"
#include "platform/win32/system_library.h"
#include "platform/win32/windows_api.h"

namespace corvane::win32 {

class Win32UserInterface final : public platform::UserInterface {
public:
    // `module` holds the dialog templates (null: the executable).
    explicit Win32UserInterface(HMODULE module = nullptr);

    // The template in the given language, or in any language the module has.
    int RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                       platform::WindowId owner, platform::DialogLogic& logic,
                       std::intptr_t parameter) override;
    int MessageBox(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                   std::uint32_t style) override;
    bool HasMessageBoxTimeout() override;
    // Without the export a plain MessageBoxW, which waits for the user.
    int MessageBoxTimeout(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                          std::uint32_t style, platform::LanguageId language,
                          std::uint32_t timeoutMs) override;
    // CoInitialize and CoUninitialize around the browser's own use; fails
    // with the creation's status where the class is not registered.
    platform::HResult BrowseDomainTree(platform::WindowId owner, std::u16string& domain) override;
    void ShowWaitCursor(bool waiting) override;

private:
    using MessageBoxTimeoutFunction = int WINAPI(HWND, LPCWSTR, LPCWSTR, UINT, WORD, DWORD);

    HMODULE module_;
    SystemLibrary user32_;
    MessageBoxTimeoutFunction* messageBoxTimeout_ = nullptr;
};

} // namespace corvane::win32
