// Dialogs, message boxes and the domain picker over the Windows user
// interface.
#pragma once

#include "platform/user_interface.h"
#include "platform/win32/windows_api.h"

namespace corvane::win32 {

class Win32UserInterface final : public platform::UserInterface {
public:
    int RunModalDialog(std::uint16_t templateId, platform::WindowId owner,
                       platform::DialogLogic& logic, std::intptr_t parameter) override;
    int MessageBox(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                   std::uint32_t style) override;
    bool HasMessageBoxTimeout() override;
    int MessageBoxTimeout(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                          std::uint32_t style, platform::LanguageId language,
                          std::uint32_t timeoutMs) override;
    platform::HResult BrowseDomainTree(platform::WindowId owner, std::u16string& domain) override;
    void ShowWaitCursor(bool waiting) override;
};

} // namespace corvane::win32
