// Change detection: what the main dialog's fields want compared with what
// was found when it opened, condensed into one bit per kind of change.
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"

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

// The membership the dialog's options choose: 3 (domain) when the domain
// option is ticked, else 2 (workgroup) when the workgroup option is, else 0.
platform::JoinStatus ChosenMembership(platform::DialogView& dialog);

// Whether `domain` names the domain the computer was a member of when the
// dialog opened: by its DNS name or by the name the join information gave,
// without regard to case.
bool NamesCurrentDomain(const SetupState& state, std::u16string_view domain);

// Refreshes the desired texts from the dialog and returns the pending changes.
ChangeMask ComputeChangeMask(platform::DialogView& dialog, SetupState& state);

// Refreshes the desired workgroup and domain and tells whether the chosen
// membership has a name (with no membership chosen the inputs are valid).
bool ValidateInputs(platform::DialogView& dialog, SetupState& state);

// Copies the OU list's selected item into `buffer`; with no selection, or an
// item too long for the buffer (which would be another OU once cut), the
// buffer keeps what it held.
OrganizationUnitText& GetSelectedOrganizationUnit(platform::DialogView& dialog, int listId,
                                                  OrganizationUnitText& buffer);

// Whether two adapter records differ in any byte but the link to the next
// record: fixed-width texts count over their full width, bytes behind a
// text's terminator included.
bool AdapterRecordsDiffer(const AdapterRecord& edited, const AdapterRecord& found);

// Whether the two lists differ record by record in list order.
bool AdapterListsDiffer(const AdapterList& edited, const AdapterList& found);

} // namespace corvane
