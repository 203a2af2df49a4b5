// The authentication dialog (template 105): asks for the account and
// password of a domain administrator when the domain refused the ones it was
// given, and stores them in the setup state for the next attempt.
#pragma once

#include "model/credential_prompt.h"
#include "model/setup_state.h"
#include "platform/dialog_logic.h"
#include "platform/platform.h"

#include <cstdint>
#include <string_view>

namespace corvane {

// The error text's colour: red 191, green 62, blue 76 on the button face.
inline constexpr std::uint32_t kAuthenticationErrorTextColor = 0x004C3EBF;
// Characters of the account and password fields that are read and kept.
inline constexpr int kCredentialFieldLimit = static_cast<int>(AccountText::kCapacity - 1);
// Room for the system's message text of the refusal.
inline constexpr std::uint32_t kSystemMessageCapacity = 512;

class AuthenticationDialog final : public platform::DialogLogic {
public:
    AuthenticationDialog(platform::Platform& os, SetupState& state) : os_(os), state_(state) {}

    // The parameter is the refused operation's error code (0 from the
    // credentials button).
    bool OnInitDialog(platform::DialogView& dialog, std::intptr_t parameter) override;
    void OnCommand(platform::DialogView& dialog, int itemId, int notification) override;
    bool OnStaticColors(platform::DialogView& dialog, int itemId,
                        platform::StaticColors& colors) override;

private:
    // Writes the account field and derives the domain field and the OK
    // state from it.
    void ShowAccount(platform::DialogView& dialog, std::u16string_view account);
    void AccountChanged(platform::DialogView& dialog);
    void Confirm(platform::DialogView& dialog);
    void BrowseForDomain(platform::DialogView& dialog);

    platform::Platform& os_;
    SetupState& state_;
};

// Runs the dialog modally, owned by `owner`: 1 when the user confirmed (the
// credentials are stored), 2 when the user cancelled or closed it, when it
// refused to open because the main dialog is still initialising, or when it
// could not be shown at all.
int RunAuthenticationDialog(platform::Platform& os, SetupState& state, platform::WindowId owner,
                            platform::ErrorCode code);

// For an operation the domain refused with `refusal`: 1223 (cancelled) when
// the user gave up, 1237 (retry) when new credentials were stored.
platform::ErrorCode PromptForCredentials(platform::Platform& os, SetupState& state,
                                         platform::WindowId owner, platform::ErrorCode refusal);

// The prompt that the apply run and the OU listing ask through: the
// authentication dialog, as PromptForCredentials runs it.
class AuthenticationPrompt final : public CredentialPrompt {
public:
    AuthenticationPrompt(platform::Platform& os, SetupState& state) : os_(os), state_(state) {}

    platform::ErrorCode AskAfterRefusal(platform::WindowId owner,
                                        platform::ErrorCode refusal) override {
        return PromptForCredentials(os_, state_, owner, refusal);
    }

private:
    platform::Platform& os_;
    SetupState& state_;
};

} // namespace corvane
