// The adapter part of the main dialog: the adapter list, the two address
// options and the three IP address controls. Every edit goes straight into
// the selected adapter's record of AdaptersAsEdited; nothing is applied here.
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"
#include "platform/ip_helper.h"
#include "platform/platform.h"

#include <cstdint>

namespace corvane {

// The "dhcp" value of the settings file that leaves every adapter's mode as
// found.
inline constexpr std::int32_t kKeepAdapterModes = -1;

// The adapters as GetAdaptersInfo reports them, in the platform's order,
// each record whole. Empty when the call fails. The links inside a record
// point into the platform's buffer, which is gone once this returns: they
// are cleared in every copy.
AdapterList ReadAdapterRecords(platform::IpHelper& ipHelper);

// Builds AdaptersAsEdited and an independent AdaptersAsFound from the
// platform, adds one entry per adapter to the adapter list (bound to its
// record through the entry's item data, the record's position), writes
// `dhcp` into every edited record unless it is kKeepAdapterModes, then
// selects entry 0 and shows it.
void FillAdapterList(platform::Platform& os, SetupState& state, platform::DialogView& dialog,
                     std::int32_t dhcp);

// Shows the record bound to the list entry at `position` in the address
// options and controls; nothing when no record is bound there.
void ShowAdapterSettings(SetupState& state, platform::DialogView& dialog, int position);

// Writes the address options and controls into the record bound to the list
// entry at `position`; nothing when no record is bound there.
void StoreAdapterSettings(SetupState& state, platform::DialogView& dialog, int position);

// Disables the fixed-address controls and their labels for automatic
// addressing, enables them otherwise.
void EnableStaticAddressControls(platform::DialogView& dialog, bool automatic);

// Gives back the storage of both adapter lists.
void ReleaseAdapterLists(SetupState& state);

} // namespace corvane
