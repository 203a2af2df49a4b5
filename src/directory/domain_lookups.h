// The two look-ups several steps share: a domain's DNS name through a domain
// controller, and whether this computer is a domain member.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

namespace corvane {

// Asks for a domain controller of `domain` and, on success, replaces the text
// with the domain's DNS name. Logs the status on every call and returns it
// (0 = found). A DNS name that does not fit the text is not cut into another
// name: the text is left as it was.
platform::ErrorCode GetDomainDnsName(platform::Platform& os, SetupState& state, DomainText& domain);

// True when the join information reads and says "joined to a domain".
bool IsDomainMember(platform::Platform& os);

} // namespace corvane
