// A rehearsal's directory steps against a real domain's directory: the
// units the dialog would offer, the computer's account the program would
// find, and the move (or creation) the apply run would make. Read-only
// unless writing is allowed.
#pragma once

#include "model/setup_state.h"
#include "platform/sim/world.h"

#include <optional>
#include <ostream>
#include <string>

namespace corvane::rehearsal {

struct DirectoryRehearsal {
    std::string uri;                    // ldap://host[:port] or ldaps://host[:port]
    std::u16string domain;              // the domain's DNS name
    std::u16string computer;            // the computer's name in the directory
    std::optional<std::u16string> unit; // the OU path to move the account to
    bool write = false;                 // move or create for real
    bool acceptAnyCertificate = false;
};

// Runs the steps with the state's account and password, writing a report
// to `out` and the program's log entries to the state's log. 0 when every
// step succeeded, else the first failing code.
int RunDirectoryRehearsal(sim::World& world, SetupState& state, const DirectoryRehearsal& plan,
                          std::ostream& out);

} // namespace corvane::rehearsal
