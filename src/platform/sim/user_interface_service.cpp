#include "platform/sim/user_interface_service.h"

namespace corvane::sim {

int SimUserInterface::RunModalDialog(std::uint16_t, platform::WindowId, platform::DialogLogic&,
                                     std::intptr_t) {
    return platform::kDialogFailed;
}

int SimUserInterface::MessageBox(platform::WindowId, const char16_t*, const char16_t*,
                                 std::uint32_t) {
    return 1;
}

bool SimUserInterface::HasMessageBoxTimeout() {
    return true;
}

int SimUserInterface::MessageBoxTimeout(platform::WindowId, const char16_t*, const char16_t*,
                                        std::uint32_t, platform::LanguageId, std::uint32_t) {
    return 1;
}

platform::HResult SimUserInterface::BrowseDomainTree(platform::WindowId, std::u16string&) {
    return static_cast<platform::HResult>(0x80004005u);
}

void SimUserInterface::ShowWaitCursor(bool) {}

} // namespace corvane::sim
