// The dialogs and message boxes of the sim: run headless against scripted
// answers.
#pragma once

#include "platform/sim/state.h"
#include "platform/user_interface.h"

namespace corvane::sim {

class SimUserInterface final : public platform::UserInterface {
public:
    explicit SimUserInterface(State& state) : state_(state) {}

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

private:
    [[maybe_unused]] State& state_;
};

} // namespace corvane::sim
