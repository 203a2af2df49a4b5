#include "apply/change_detection.h"

#include "platform/ascii_text.h"
#include "ui/dialog_ids.h"

#include <cstddef>
#include <cstring>

namespace corvane {

namespace id = ui::main_dialog;

platform::JoinStatus ChosenMembership(platform::DialogView& dialog) {
    if (dialog.IsChecked(id::kMemberOfDomain)) {
        return platform::JoinStatus::Domain;
    }
    if (dialog.IsChecked(id::kMemberOfWorkgroup)) {
        return platform::JoinStatus::Workgroup;
    }
    return platform::JoinStatus::Unknown;
}

OrganizationUnitText& GetSelectedOrganizationUnit(platform::DialogView& dialog, int listId,
                                                  OrganizationUnitText& buffer) {
    const int selected = dialog.ListSelection(listId);
    if (selected == platform::kNoListSelection) {
        return buffer;
    }
    const std::u16string text = dialog.ListItemText(listId, selected);
    if (text.size() < OrganizationUnitText::kCapacity) {
        buffer.Assign(text);
    }
    return buffer;
}

bool AdapterRecordsDiffer(const AdapterRecord& edited, const AdapterRecord& found) {
    // Everything after the list link, which differs between copies.
    constexpr std::size_t kAfterLink = offsetof(AdapterRecord, comboIndex);
    const auto* a = reinterpret_cast<const unsigned char*>(&edited);
    const auto* b = reinterpret_cast<const unsigned char*>(&found);
    return std::memcmp(a + kAfterLink, b + kAfterLink, sizeof(AdapterRecord) - kAfterLink) != 0;
}

bool AdapterListsDiffer(const AdapterList& edited, const AdapterList& found) {
    if (edited.size() != found.size()) {
        return true;
    }
    for (std::size_t i = 0; i < edited.size(); ++i) {
        if (AdapterRecordsDiffer(edited[i], found[i])) {
            return true;
        }
    }
    return false;
}

bool NamesCurrentDomain(const SetupState& state, std::u16string_view domain) {
    if (state.CurrentDomain.empty()) {
        return domain.empty();
    }
    return EqualsIgnoringAsciiCase(domain, state.CurrentDomain.view()) ||
           (!state.CurrentDomainJoinedName.empty() &&
            EqualsIgnoringAsciiCase(domain, state.CurrentDomainJoinedName.view()));
}

ChangeMask ComputeChangeMask(platform::DialogView& dialog, SetupState& state) {
    state.DesiredComputerName.Assign(dialog.ItemText(id::kComputerName));
    state.DesiredWorkgroup.Assign(dialog.ItemText(id::kWorkgroup));
    state.DesiredDomain.Assign(dialog.ItemText(id::kDomain));
    GetSelectedOrganizationUnit(dialog, id::kOrganizationUnitList, state.DesiredOrganizationUnit);

    ChangeMask mask = 0;
    const platform::JoinStatus membership = ChosenMembership(dialog);
    if (membership == platform::JoinStatus::Domain) {
        if (!NamesCurrentDomain(state, state.DesiredDomain.view())) {
            mask |= ChangeDomain;
        }
    } else if (membership == platform::JoinStatus::Workgroup) {
        if (!(state.CurrentWorkgroup == state.DesiredWorkgroup)) {
            mask |= ChangeWorkgroup;
        }
    }
    if (membership != state.JoinStatusAtStart) {
        mask |= ChangeMembershipType;
    }
    if (AdapterListsDiffer(state.AdaptersAsEdited, state.AdaptersAsFound)) {
        mask |= ChangeAdapters;
    }
    if (!(state.CurrentComputerName == state.DesiredComputerName)) {
        mask |= ChangeComputerName;
    }
    if (dialog.IsChecked(id::kStartWithWindows) != state.StartWithWindowsAtStart) {
        mask |= ChangeStartWithWindows;
    }
    if (!(state.CurrentOrganizationUnit == state.DesiredOrganizationUnit)) {
        mask |= ChangeOrganizationUnit;
    }
    return mask;
}

bool ValidateInputs(platform::DialogView& dialog, SetupState& state) {
    state.DesiredWorkgroup.Assign(dialog.ItemText(id::kWorkgroup));
    state.DesiredDomain.Assign(dialog.ItemText(id::kDomain));
    switch (ChosenMembership(dialog)) {
    case platform::JoinStatus::Domain:
        return !state.DesiredDomain.empty();
    case platform::JoinStatus::Workgroup:
        return !state.DesiredWorkgroup.empty();
    default:
        return true;
    }
}

} // namespace corvane
