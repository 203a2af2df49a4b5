// The settings file beside the executable: the defaults of the main dialog,
// the credentials, the dialog's caption and header text, and the address
// mode for every adapter. Read once; never written.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"
#include "support/fixed_text.h"

#include <cstdint>
#include <string>

namespace corvane {

// What the file gives the dialog itself rather than the setup state.
struct SettingsFileTexts {
    FixedText<128> title;   // caption; string 108 when the key is missing
    FixedText<256> header;  // header text; string 109 when the key is missing
    std::int32_t dhcp = -1; // "dhcp": 1 or 0; -1 when missing, empty or refused
    // "ou": the unit to place the account in, as an OU path or a DN below
    // the domain; empty when missing.
    OrganizationUnitText organizationUnit;
};

// The executable's path with its last extension replaced by ".ini".
std::u16string SettingsFilePath(platform::Platform& os);

// Reads every key into the setup state (credentials normalised) and `texts`.
// The keys of "settings" come from this machine's own section or inventory
// row where those give them (ui/machine_settings.h). Reports no failure: a
// missing file, section or key gives the defaults.
void ReadSettingsFile(platform::Platform& os, SetupState& state, SettingsFileTexts& texts);

} // namespace corvane
