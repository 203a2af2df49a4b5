#include "ui/administrator_choice_reading.h"

#include "ui/dialog_ids.h"

namespace corvane {

namespace id = ui::main_dialog;

platform::JoinStatus ChosenMembership(platform::DialogView& mainDialog) {
    if (mainDialog.IsChecked(id::kMemberOfDomain)) {
        return platform::JoinStatus::Domain;
    }
    if (mainDialog.IsChecked(id::kMemberOfWorkgroup)) {
        return platform::JoinStatus::Workgroup;
    }
    return platform::JoinStatus::Unknown;
}

std::optional<OrganizationUnitText> SelectedOrganizationUnit(platform::DialogView& dialog,
                                                             int listId) {
    const int selected = dialog.ListSelection(listId);
    if (selected == platform::kNoListSelection) {
        return std::nullopt;
    }
    const std::u16string text = dialog.ListItemText(listId, selected);
    if (text.size() >= OrganizationUnitText::kCapacity) {
        return std::nullopt;
    }
    OrganizationUnitText unit;
    unit.Assign(text);
    return unit;
}

OrganizationUnitText& GetSelectedOrganizationUnit(platform::DialogView& dialog, int listId,
                                                  OrganizationUnitText& buffer) {
    if (const auto unit = SelectedOrganizationUnit(dialog, listId)) {
        buffer.Assign(unit->view());
    }
    return buffer;
}

AdministratorChoice ReadAdministratorChoice(platform::DialogView& mainDialog) {
    AdministratorChoice choice;
    choice.computerName.Assign(mainDialog.ItemText(id::kComputerName));
    choice.workgroup.Assign(mainDialog.ItemText(id::kWorkgroup));
    choice.domain.Assign(mainDialog.ItemText(id::kDomain));
    choice.organizationUnit = SelectedOrganizationUnit(mainDialog, id::kOrganizationUnitList);
    choice.membership = ChosenMembership(mainDialog);
    choice.startWithWindows = mainDialog.IsChecked(id::kStartWithWindows);
    return choice;
}

} // namespace corvane
