// What Windows accepts as a computer name set with SetComputerNameExW
// (ComputerNamePhysicalDnsHostname): a DNS host label that is also the
// NetBIOS name unchanged. A name the platform would refuse or rewrite is
// caught here, before anything on the machine is changed.
#pragma once

#include "model/setup_state.h"
#include "platform/platform.h"

#include <cstdint>
#include <string_view>

namespace corvane {

// The first fault found, in the order DnsValidateName looks for them.
enum class ComputerNameFault : std::uint8_t {
    None,
    Length,               // empty, or more than the 15 characters of a NetBIOS name
    Dot,                  // a dot: not a single DNS label
    DigitsOnly,           // only digits: DNS refuses numeric host names
    NonStandardCharacter, // underscore or a character beyond ASCII
    InvalidCharacter,     // a blank, a control character or a symbol
};

inline constexpr std::size_t kLongestComputerName = 15;

ComputerNameFault CheckComputerName(std::u16string_view name);

// The code logged with a refusal: the status DnsValidateName gives for the
// fault (1210, ERROR_INVALID_COMPUTERNAME, for the length).
platform::ErrorCode ComputerNameFaultCode(ComputerNameFault fault);

// The string resource that tells the administrator what is wrong.
std::uint32_t ComputerNameFaultText(ComputerNameFault fault);

// The rename step's guard: true when the desired name may be set. A refused
// name is logged in the manner of the rename step's own lines and, in an
// interactive run, shown as a notice owned by `owner`.
bool AcceptDesiredComputerName(platform::Platform& os, SetupState& state, platform::WindowId owner);

// SetComputerNameExW for the desired name; a failure is logged with the
// platform's code, which also goes to `error` when one is given. True when
// the name was set.
bool SetLocalComputerName(platform::Platform& os, SetupState& state,
                          platform::ErrorCode* error = nullptr);

} // namespace corvane
