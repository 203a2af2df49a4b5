// The DNS servers of the settings file ("dns") and the step that gives them
// to every adapter that ends the run with a fixed address. An adapter with a
// fixed address gets no servers from DHCP; without its own list it cannot
// find the domain's controllers by name, so the step runs before the domain
// check and the join.
#pragma once

#include "model/name_server_list.h"
#include "model/setup_state.h"
#include "platform/platform.h"

#include <string>
#include <string_view>

namespace corvane {

// Reads a list of one to three IPv4 addresses separated by commas, blanks
// allowed around each. An address is four decimal numbers of 0 to 255
// without leading zeros (a leading zero would read as octal elsewhere), and
// its first number is 1 to 223: a unicast address a server can have. An empty
// text is an empty list. False, with `list` empty, for anything else.
bool ParseNameServerList(std::u16string_view text, NameServerList& list);

// The list as the log shows it: "10.0.0.2,10.0.0.3".
std::u16string NameServerListText(const NameServerList& list);

// Sets the list on every adapter whose edited record is fixed, logging one
// line per adapter with the platform's result, and records each result in the
// run's result. A refused list applies nothing and counts as a failed step
// (ERROR_INVALID_DATA); an empty one does nothing.
void ApplyNameServers(platform::Platform& os, SetupState& state);

// The code of a refused list.
inline constexpr platform::ErrorCode kNameServersRefused = 13; // ERROR_INVALID_DATA

} // namespace corvane
