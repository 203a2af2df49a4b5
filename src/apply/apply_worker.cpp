#include "apply/apply_sequence.h"
#include "apply/apply_worker.h"
#include "apply/change_detection.h"
#include "support/interface_language.h"

namespace corvane {

void ApplyWorker(platform::Platform& os, SetupState& state, platform::DialogView& dialog,
                 const std::atomic<bool>& abandoned) {
    ReapplyForcedLanguage(os, state);
    const ChangeMask mask = ComputeChangeMask(dialog, state);
    SaveSettings(os, state, dialog, mask, abandoned);
}

} // namespace corvane
