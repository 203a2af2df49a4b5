// The settings file's own sections for single machines: "[machine ID]",
// where ID is the hardware address of one of the machine's adapters (in the
// dash or the colon form) or the computer's current name, both without
// regard to case.
#pragma once

#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What tells this machine from the others of a fleet.
struct MachineIdentity {
    std::u16string computerName;
    std::vector<std::vector<std::uint8_t>> hardwareAddresses; // one per adapter
};

// The computer's name as the platform reports it and every adapter's
// hardware address.
MachineIdentity ReadMachineIdentity(platform::Platform& os);

// A hardware address written as pairs of hexadecimal digits, all joined by
// dashes or all by colons ("00-15-5D-01-02-03", "00:15:5d:01:02:03");
// nothing for any other text.
std::optional<std::vector<std::uint8_t>> ParseHardwareAddress(std::u16string_view text);

// Whether `id` (surrounding blanks ignored) names this machine: one of its
// hardware addresses, or else its computer name.
bool NamesMachine(std::u16string_view id, const MachineIdentity& machine);

// The ID of a "[machine ID]" section name, or nothing for another section.
std::optional<std::u16string_view> MachineSectionId(std::u16string_view sectionName);

// Every section name of `file`, in file order; false when they could not all
// be read.
bool ReadSectionNames(platform::Platform& os, const std::u16string& file,
                      std::vector<std::u16string>& names);

// The first "[machine ID]" section among `names` that names this machine.
std::optional<std::u16string> FindMachineSection(const std::vector<std::u16string>& names,
                                                 const MachineIdentity& machine);

} // namespace corvane
