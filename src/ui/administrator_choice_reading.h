// Reading the administrator's choice from the main dialog's items: the one
// place where change detection and the apply run get their inputs from.
#pragma once

#include "model/administrator_choice.h"
#include "platform/dialog_view.h"

#include <optional>

namespace corvane {

// Reads the computer-name, workgroup and domain fields (each cut to its
// text's capacity), the OU list's selection, the membership options and the
// start-with-Windows check box, in that order.
AdministratorChoice ReadAdministratorChoice(platform::DialogView& mainDialog);

// The membership the dialog's options choose: Domain when the domain option
// is ticked, else Workgroup when the workgroup option is, else Unknown.
platform::JoinStatus ChosenMembership(platform::DialogView& mainDialog);

// The list's selected item; nothing with no selection or with an item too
// long for the text (which would be another OU once cut).
std::optional<OrganizationUnitText> SelectedOrganizationUnit(platform::DialogView& dialog,
                                                             int listId);

// Copies the list's selected item into `buffer`; with no selection, or an
// item too long for the buffer (which would be another OU once cut), the
// buffer keeps what it held.
OrganizationUnitText& GetSelectedOrganizationUnit(platform::DialogView& dialog, int listId,
                                                  OrganizationUnitText& buffer);

} // namespace corvane
