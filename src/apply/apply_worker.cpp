#include "apply/apply_worker.h"

#include "apply/apply_sequence.h"
#include "apply/change_detection.h"
#include "support/interface_language.h"

namespace corvane {

void ApplyWorker(platform::Platform& os, SetupState& state, const AdministratorChoice& choice,
                 platform::WindowId owner, CredentialPrompt& prompt,
                 const std::atomic<bool>& abandoned) {
    ReapplyForcedLanguage(os, state);
    const ChangeMask mask = ComputeChangeMask(choice, state);
    SaveSettings(os, state, choice, owner, prompt, mask, abandoned);
}

} // namespace corvane
