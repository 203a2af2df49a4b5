// Change detection: what the administrator chose compared with what was
// found when the main dialog opened, condensed into one bit per kind of change.
#pragma once

#include "model/administrator_choice.h"
#include "model/setup_state.h"

#include <cstdint>
#include <string_view>

namespace corvane {

using ChangeMask = std::uint32_t;

enum ChangeMaskBit : ChangeMask {
    ChangeAdapters = 0x01,
    ChangeWorkgroup = 0x02,
    ChangeDomain = 0x04,
    ChangeComputerName = 0x08,
    ChangeMembershipType = 0x10,
    ChangeStartWithWindows = 0x20,
    ChangeOrganizationUnit = 0x40,
};

// The combinations the apply sequence tests.
inline constexpr ChangeMask kRenameStepMask = ChangeComputerName;
inline constexpr ChangeMask kMembershipStepMask =
    ChangeWorkgroup | ChangeDomain | ChangeMembershipType;
inline constexpr ChangeMask kOrganizationUnitStepMask = ChangeOrganizationUnit;
inline constexpr ChangeMask kRestartNoticeMask =
    ChangeWorkgroup | ChangeComputerName | ChangeMembershipType;
inline constexpr ChangeMask kAdapterStepMask = ChangeAdapters;

// Whether `domain` names the domain the computer was a member of when the
// dialog opened: by its DNS name or by the name the join information gave,
// without regard to case.
bool NamesCurrentDomain(const SetupState& state, std::u16string_view domain);

// Refreshes the desired texts from the choice (the OU only when one is
// picked) and returns the pending changes.
ChangeMask ComputeChangeMask(const AdministratorChoice& choice, SetupState& state);

// Refreshes the desired workgroup and domain and tells whether the chosen
// membership has a name (with no membership chosen the inputs are valid).
bool ValidateInputs(const AdministratorChoice& choice, SetupState& state);

// Whether two adapter records differ in any byte but the link to the next
// record: fixed-width texts count over their full width, bytes behind a
// text's terminator included.
bool AdapterRecordsDiffer(const AdapterRecord& edited, const AdapterRecord& found);

// Whether the two lists differ record by record in list order.
bool AdapterListsDiffer(const AdapterList& edited, const AdapterList& found);

} // namespace corvane
