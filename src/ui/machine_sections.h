// The settings file's own sections for single machines: "[machine ID]",
// where ID is the hardware address of one of the machine's adapters (in the
// dash or the colon form) or the computer's current name, both without
// regard to case.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// What tells this machine from the others of a fleet.
struct MachineIdentity {
    std::u16string computerName;
    AdapterList adapters; // their hardware addresses
};

// The computer's name as the platform reports it and its adapters.
MachineIdentity ReadMachineIdentity(platform::Platform& os);

struct HardwareAddress {
    std::array<std::uint8_t, platform::kMaxAdapterAddressLength> bytes{};
    std::size_t length = 0;
};

// A hardware address written as pairs of hexadecimal digits, all joined by
// dashes or all by colons ("00-15-5D-01-02-03", "00:15:5d:01:02:03"); false
// for any other text.
bool ParseHardwareAddress(std::u16string_view text, HardwareAddress& address);

// Whether `id` (surrounding blanks ignored) names this machine: one of its
// hardware addresses, or else its computer name.
bool NamesMachine(std::u16string_view id, const MachineIdentity& machine);

// The ID of a "[machine ID]" section name; empty for another section.
std::u16string_view MachineSectionId(std::u16string_view sectionName);

// A list of names as the private-profile reading gives it: each name
// terminated. `section` null: every section name of `file`; otherwise every
// key name of that section. The platform cuts a list that does not fit, so
// the buffer grows until it does; false when the list would not fit the
// largest one.
bool ReadNameList(platform::Platform& os, const char16_t* section, const std::u16string& file,
                  std::u16string& list);

// The first "[machine ID]" section of a section-name list, in file order,
// that names this machine; empty when none does.
std::u16string FindMachineSection(std::u16string_view names, const MachineIdentity& machine);

// Calls `visit` with each name of such a list, in order, until it returns
// true; whether one did.
template <typename Visit>
bool AnyListedName(std::u16string_view list, Visit visit) {
    for (std::size_t at = 0; at < list.size();) {
        std::size_t end = list.find(u'\0', at);
        if (end == std::u16string_view::npos) {
            end = list.size();
        }
        if (visit(list.substr(at, end - at))) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

} // namespace corvane
