// The main dialog's list of organisational units a computer account may be
// placed in, with the unit that holds the account now selected.
#pragma once

#include "model/credential_prompt.h"
#include "model/setup_state.h"
#include "platform/dialog_view.h"
#include "platform/platform.h"

namespace corvane {

// Fills the list `list` of `dialog` from the domain named in `domain`
// (replaced with the domain's DNS name), asking through `prompt` for other
// credentials while the domain refuses the stored ones. True when the last listing succeeded (and
// when the DNS name cannot be determined); false otherwise, and false at once
// while a fill runs or after one succeeded.
bool FillJoinableOrganizationUnits(platform::Platform& os, SetupState& state,
                                   platform::DialogView& dialog, int list, DomainText& domain,
                                   CredentialPrompt& prompt);

} // namespace corvane
