// The dialogs and message boxes of the sim: dialogs run headless on
// in-memory items, played by the desktop's script; message boxes and the
// domain browser take the desktop's queued answers. See docs/sim-actions.md.
#pragma once

#include "platform/sim/desktop/desktop.h"
#include "platform/sim/desktop/thread_queue.h"
#include "platform/sim/machine/state.h"
#include "platform/user_interface.h"

namespace corvane::sim {

class SimUserInterface final : public platform::UserInterface {
public:
    explicit SimUserInterface(State& state) : state_(state) {}

    int RunModalDialog(std::uint16_t templateId, platform::LanguageId language,
                       platform::WindowId owner, platform::DialogLogic& logic,
                       std::intptr_t parameter) override;
    int MessageBox(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                   std::uint32_t style) override;
    bool HasMessageBoxTimeout() override;
    int MessageBoxTimeout(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                          std::uint32_t style, platform::LanguageId language,
                          std::uint32_t timeoutMs) override;
    platform::HResult BrowseDomainTree(platform::WindowId owner, std::u16string& domain) override;
    void ShowWaitCursor(bool waiting) override;

    sim::Desktop& Desktop() { return desktop_; }

private:
    int ShowBox(platform::WindowId owner, const char16_t* text, const char16_t* caption,
                std::uint32_t style, bool timed, platform::LanguageId language,
                std::uint32_t timeoutMs);

    State& state_;
    sim::Desktop desktop_;
    ThreadQueues queues_;
};

} // namespace corvane::sim
