// What the administrator chose in the main dialog, as one plain value: the
// computer's new name, the workgroup, the domain, which of the two the
// computer is to be a member of, the organisational unit of its account and
// whether the program starts at log-on. The dialog collects it; change
// detection and the apply run only read it.
#pragma once

#include "model/setup_state.h"
#include "platform/types.h"

#include <optional>

namespace corvane {

struct AdministratorChoice {
    ComputerNameText computerName;
    WorkgroupText workgroup;
    DomainText domain;
    // Domain when the domain option is ticked, else Workgroup when the
    // workgroup option is, else Unknown (no membership chosen).
    platform::JoinStatus membership = platform::JoinStatus::Unknown;
    // The unit picked in the OU list. Absent with nothing picked, and when
    // the entry is too long for the text: cut, it would name another unit.
    std::optional<OrganizationUnitText> organizationUnit;
    bool startWithWindows = false;
};

} // namespace corvane
