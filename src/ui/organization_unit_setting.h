// The settings key "ou": the organisational unit to place the computer's
// account in, written as an OU path ("\Workstations\Berlin") or as a
// distinguished name below the domain ("OU=Berlin,OU=Workstations"). It
// must name one of the units the domain lets the computer join, compared
// without regard to case; when the domain cannot list them, it is used as
// given.
#pragma once

#include "model/setup_state.h"
#include "platform/dialog_view.h"
#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The OU path a value stands for: a DN's OU components root first (its DC
// components ignored), or a path with a leading backslash and without a
// trailing one. Nothing for a DN with any other component, or a path with
// an empty level.
std::optional<std::u16string> OrganizationUnitPathOf(std::u16string_view value);

// OU paths compared as the directory compares names: without regard to the
// case of the letters of the Latin-1 range.
bool SameOrganizationUnit(std::u16string_view a, std::u16string_view b);

// Selects the entry of the filled OU list that `value` names. When none
// does, logs so and leaves the selection as it is. True when one matched.
bool PreselectOrganizationUnit(SetupState& state, platform::DialogView& dialog,
                               std::u16string_view value, std::u16string_view domain);

enum class UnitCheck {
    Joinable,    // `path` is the listed unit's OU path
    NotJoinable, // logged; no OU step
    Unverified,  // the units could not be listed: `path` is the value's own
};

// Checks `value` against the units the domain lists for the stored
// credentials (no prompt), and logs the outcome.
UnitCheck CheckOrganizationUnitSetting(platform::Platform& os, SetupState& state,
                                       std::u16string_view domain, std::u16string_view value,
                                       OrganizationUnitText& path);

} // namespace corvane
