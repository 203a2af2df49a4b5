// The main dialog's list of organisational units a computer account may be
// placed in, with the unit that holds the account now selected.
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"
#include "platform/platform.h"

namespace corvane {

// Fills the OU list of `dialog` from the domain named in `domain` (replaced
// with the domain's DNS name). True when the last listing succeeded (and
// when the DNS name cannot be determined); false otherwise, and false at once
// while a fill runs or after one succeeded.
bool FillJoinableOrganizationUnits(platform::Platform& os, SetupState& state,
                                   platform::DialogView& dialog, DomainText& domain);

} // namespace corvane
