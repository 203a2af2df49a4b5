#include "apply/change_detection.h"

#include "platform/ascii_text.h"

#include <cstddef>
#include <cstring>

namespace corvane {

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

ChangeMask ComputeChangeMask(const AdministratorChoice& choice, SetupState& state) {
    state.DesiredComputerName.Assign(choice.computerName.view());
    state.DesiredWorkgroup.Assign(choice.workgroup.view());
    state.DesiredDomain.Assign(choice.domain.view());
    if (choice.organizationUnit) {
        state.DesiredOrganizationUnit.Assign(choice.organizationUnit->view());
    }

    ChangeMask mask = 0;
    if (choice.membership == platform::JoinStatus::Domain) {
        if (!NamesCurrentDomain(state, state.DesiredDomain.view())) {
            mask |= ChangeDomain;
        }
    } else if (choice.membership == platform::JoinStatus::Workgroup) {
        if (!(state.CurrentWorkgroup == state.DesiredWorkgroup)) {
            mask |= ChangeWorkgroup;
        }
    }
    if (choice.membership != state.JoinStatusAtStart) {
        mask |= ChangeMembershipType;
    }
    if (AdapterListsDiffer(state.AdaptersAsEdited, state.AdaptersAsFound)) {
        mask |= ChangeAdapters;
    }
    if (!(state.CurrentComputerName == state.DesiredComputerName)) {
        mask |= ChangeComputerName;
    }
    if (choice.startWithWindows != state.StartWithWindowsAtStart) {
        mask |= ChangeStartWithWindows;
    }
    if (!(state.CurrentOrganizationUnit == state.DesiredOrganizationUnit)) {
        mask |= ChangeOrganizationUnit;
    }
    return mask;
}

bool ValidateInputs(const AdministratorChoice& choice, SetupState& state) {
    state.DesiredWorkgroup.Assign(choice.workgroup.view());
    state.DesiredDomain.Assign(choice.domain.view());
    switch (choice.membership) {
    case platform::JoinStatus::Domain:
        return !state.DesiredDomain.empty();
    case platform::JoinStatus::Workgroup:
        return !state.DesiredWorkgroup.empty();
    default:
        return true;
    }
}

} // namespace corvane
