#include "platform/win32/user_interface.h"

#include "platform/win32/windows_api.h"

namespace corvane::win32 {

int Win32UserInterface::RunModalDialog(std::uint16_t, platform::WindowId, platform::DialogLogic&,
                                       std::intptr_t) {
    return platform::kDialogFailed;
}

int Win32UserInterface::MessageBox(platform::WindowId, const char16_t*, const char16_t*,
                                   std::uint32_t) {
    return 1;
}

bool Win32UserInterface::HasMessageBoxTimeout() {
    return false;
}

int Win32UserInterface::MessageBoxTimeout(platform::WindowId, const char16_t*, const char16_t*,
                                          std::uint32_t, platform::LanguageId, std::uint32_t) {
    return 1;
}

platform::HResult Win32UserInterface::BrowseDomainTree(platform::WindowId, std::u16string&) {
    return static_cast<platform::HResult>(0x80004005u);
}

void Win32UserInterface::ShowWaitCursor(bool) {}

} // namespace corvane::win32
