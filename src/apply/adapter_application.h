// The adapter step of an apply run: every adapter whose edited record
// differs from the record as found gets its addressing changed to follow
// the edit (DHCP release and renew, or a fixed address, mask and gateway).
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

namespace corvane {

void ApplyAdapterAddresses(platform::Platform& os, SetupState& state);

} // namespace corvane
