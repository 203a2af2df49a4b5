// The adapter step of an apply run: every adapter whose edited record
// differs from the record as found gets its addressing changed to follow
// the edit (DHCP release and renew, or a fixed address, mask and gateway).
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

namespace corvane {

// Returns the first failure among the adapters (0 when every one follows its
// edit); the run goes on with the other adapters all the same, and nothing of
// it is logged.
platform::ErrorCode ApplyAdapterAddresses(platform::Platform& os, SetupState& state);

} // namespace corvane
