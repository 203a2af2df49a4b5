// The apply run: every pending change in a fixed order — domain check,
// computer name, membership, organisational unit, restart notice, adapters —
// each step logged and run whatever the earlier ones achieved.
#pragma once

#include "apply/change_detection.h"
#include "model/administrator_choice.h"
#include "model/credential_prompt.h"
#include "model/setup_state.h"
#include "platform/platform.h"

#include <atomic>

namespace corvane {

// Runs the steps the mask selects on the calling thread (the apply worker).
// The choice's membership decides the domain and workgroup steps; `owner`
// (the main dialog) owns every notice, and `prompt` asks for other
// credentials when the domain refuses. Once `abandoned` is set no further
// change is started: the run returns at its next step boundary, retry or
// prompt.
void SaveSettings(platform::Platform& os, SetupState& state, const AdministratorChoice& choice,
                  platform::WindowId owner, CredentialPrompt& prompt, ChangeMask mask,
                  const std::atomic<bool>& abandoned);

// A notice of the apply run: a timed message box in the language and with
// the time-out of the setup state. Where the timed box is not available a
// plain one stands in — except when a time-out is set (an unattended run),
// which must never wait for a click: the notice is then left out.
void ShowTimedNotice(platform::Platform& os, const SetupState& state, platform::WindowId owner,
                     const std::u16string& text, const std::u16string& caption,
                     std::uint32_t style);

inline constexpr std::uint32_t kNoticeErrorStyle = 0x42010;   // topmost, task-modal, error, OK
inline constexpr std::uint32_t kNoticeWarningStyle = 0x42030; // topmost, task-modal, warning, OK

} // namespace corvane
