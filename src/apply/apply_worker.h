// The apply worker's procedure, run on its own thread while the progress
// dialog shows (ui/apply_with_progress.h starts it).
#pragma once

#include "model/administrator_choice.h"
#include "model/credential_prompt.h"
#include "model/setup_state.h"
#include "platform/platform.h"

#include <atomic>

namespace corvane {

// The worker's procedure: the forced language for this thread, the change
// mask from the administrator's choice, then the apply sequence, with
// notices and prompts owned by `owner`.
void ApplyWorker(platform::Platform& os, SetupState& state, const AdministratorChoice& choice,
                 platform::WindowId owner, CredentialPrompt& prompt,
                 const std::atomic<bool>& abandoned);

} // namespace corvane
