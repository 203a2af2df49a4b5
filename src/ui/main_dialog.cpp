#include "ui/main_dialog.h"

#include "apply/change_detection.h"
#include "apply/computer_name_rules.h"
#include "directory/domain_lookups.h"
#include "directory/joinable_organization_units.h"
#include "platform/net_buffer.h"
#include "support/interface_language.h"
#include "ui/adapter_panel.h"
#include "ui/administrator_choice_reading.h"
#include "ui/apply_with_progress.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"
#include "ui/organization_unit_setting.h"
#include "ui/settings_file.h"
#include "ui/string_resources.h"

#include <array>
#include <string_view>

namespace corvane {

namespace {

namespace id = ui::main_dialog;
using platform::JoinStatus;

constexpr std::array<int, 4> kHeadings = {id::kAdapterHeading, id::kComputerNameHeading,
                                          id::kMembershipHeading, id::kOrganizationUnitHeading};
constexpr std::uint32_t kComputerNameNoticeStyle = 0x30; // OK, warning icon

} // namespace

bool MainDialog::OnInitDialog(platform::DialogView& dialog, std::intptr_t /*parameter*/) {
    initialising_ = true;
    SettingsFileTexts texts;
    ReadSettingsFile(os_, state_, texts);
    // Every text written into a field below notifies, and each notification
    // collects all fields into the desired values: the file's workgroup and
    // domain are kept aside until their own fields show them.
    const WorkgroupText fileWorkgroup = state_.DesiredWorkgroup;
    const DomainText fileDomain = state_.DesiredDomain;
    domainFromFile_ = fileDomain;
    fileGaveDomain_ = !fileDomain.empty();
    settingsUnit_ = texts.organizationUnit;

    dialog.SetCaption(texts.title.view());
    dialog.SetItemText(id::kHeaderText, texts.header.view());

    const bool startsWithWindows = startsWithWindows_(os_);
    state_.StartWithWindowsAtStart = startsWithWindows;
    state_.StartWithWindowsChosen = startsWithWindows;
    if (startsWithWindows) {
        dialog.SetChecked(id::kStartWithWindows, true);
    }

    dialog.LimitText(id::kComputerName, kComputerNameTypingLimit);
    dialog.LimitText(id::kWorkgroup, kWorkgroupTypingLimit);
    dialog.LimitText(id::kDomain, kDomainTypingLimit);

    std::array<char16_t, ComputerNameText::kCapacity> computerName{};
    std::uint32_t length = static_cast<std::uint32_t>(computerName.size());
    if (os_.network.GetComputerName(computerName.data(), &length)) {
        const std::size_t bounded = BoundedLength(computerName.data(), computerName.size());
        state_.CurrentComputerName.Assign(
            std::u16string_view(computerName.data(), length < bounded ? length : bounded));
    }
    dialog.SetItemText(id::kComputerName, state_.DesiredComputerName.empty()
                                              ? state_.CurrentComputerName.view()
                                              : state_.DesiredComputerName.view());

    ShowMachineState(dialog);

    // The file's choice of membership wins over the machine's; a domain
    // over a workgroup.
    if (!fileDomain.empty()) {
        dialog.SetItemText(id::kDomain, fileDomain.view());
        SelectMembership(dialog, JoinStatus::Domain);
    } else if (!fileWorkgroup.empty()) {
        dialog.SetItemText(id::kWorkgroup, fileWorkgroup.view());
        SelectMembership(dialog, JoinStatus::Workgroup);
    }

    FillAdapterList(os_, state_, dialog, texts.dhcp);

    // The fields' notifications have collected the fields as they came; the
    // OK state is set once, here, from all of them (each update reads every
    // field, and the IP address fields alone notify a dozen times). This is
    // also right where the platform raises no notifications for programmatic
    // changes.
    initialising_ = false;
    UpdateOkState(dialog);

    if (state_.AutoMode) {
        // The whole apply run happens here, before the dialog is ever shown.
        OnCommand(dialog, ui::kItemOk, platform::kBnClicked);
    }
    if (lookUpsPending_) {
        // The OU list waits for its units: disabled, so it cannot be
        // changed, until the look-ups after the first paint have run.
        dialog.EnableItem(id::kOrganizationUnitList, false);
        dialog.StartTimer(kInitialLookupTimer, kInitialLookupDelayMs);
        return true;
    }
    state_.DialogInitialised = true;
    return true;
}

void MainDialog::OnTimer(platform::DialogView& dialog, std::uintptr_t timerId) {
    if (timerId == kInitialLookupTimer) {
        dialog.StopTimer(kInitialLookupTimer);
        FinishDeferredLookUps(dialog);
    }
}

void MainDialog::FinishDeferredLookUps(platform::DialogView& dialog) {
    if (!lookUpsPending_) {
        return;
    }
    lookUpsPending_ = false;
    os_.ui.ShowWaitCursor(true);
    LookUpJoinedDomain(dialog, true);
    os_.ui.ShowWaitCursor(false);
    // The list belongs to the domain option, whatever was clicked meanwhile.
    dialog.EnableItem(id::kOrganizationUnitList, dialog.IsChecked(id::kMemberOfDomain));
    UpdateOkState(dialog);
    // Only now: until here an authentication prompt ends at once as
    // cancelled and a change of the domain field keeps the list, as while
    // the dialog initialises.
    state_.DialogInitialised = true;
}

void MainDialog::ShowMachineState(platform::DialogView& dialog) {
    platform::NetBuffer<char16_t> name(os_.network);
    JoinStatus status = JoinStatus::Unknown;
    if (os_.network.NetGetJoinInformation(name.Receive(), &status) != platform::error::kSuccess) {
        // Nothing is known about the membership; the settings file may
        // still choose one.
        state_.JoinStatusAtStart = JoinStatus::Unknown;
        return;
    }
    state_.JoinStatusAtStart = status;
    if (name) {
        ShowJoinedName(dialog, status, name.get());
    }
}

void MainDialog::ShowJoinedName(platform::DialogView& dialog, JoinStatus status,
                                std::u16string_view name) {
    SelectMembership(dialog, status);
    if (status == JoinStatus::Workgroup) {
        dialog.SetChecked(id::kMemberOfWorkgroup, true);
        dialog.SetItemText(id::kWorkgroup, name);
        state_.CurrentWorkgroup.Assign(name);
        dialog.EnableItem(id::kOrganizationUnitList, false);
    } else if (status == JoinStatus::Domain) {
        dialog.SetChecked(id::kMemberOfDomain, true);
        state_.CurrentDomain.Assign(name);
        state_.CurrentDomainJoinedName.Assign(name);
        if (!state_.AutoMode) {
            // The domain's name as the join information gives it until its
            // DNS name is known: the look-ups may wait on the network, and
            // the dialog is shown first.
            lookUpsPending_ = true;
            dialog.SetItemText(id::kDomain, state_.CurrentDomain.view());
            domainShownBeforeLookUps_ = state_.CurrentDomain;
            return;
        }
        LookUpJoinedDomain(dialog, false);
    }
}

void MainDialog::LookUpJoinedDomain(platform::DialogView& dialog, bool deferred) {
    GetDomainDnsName(os_, state_, state_.CurrentDomain);
    if (!deferred) {
        dialog.SetItemText(id::kDomain, state_.CurrentDomain.view());
        dialog.EnableItem(id::kOrganizationUnitList, true);
    } else if (!fileGaveDomain_ &&
               dialog.ItemText(id::kDomain) == domainShownBeforeLookUps_.view()) {
        // Put off, the look-up leaves a domain from the settings file, or
        // one the user typed meanwhile, in the field.
        dialog.SetItemText(id::kDomain, state_.CurrentDomain.view());
    }
    if (FillJoinableOrganizationUnits(os_, state_, dialog, id::kOrganizationUnitList,
                                      state_.CurrentDomain, prompt_)) {
        // The unit selected now is where the account lives: it is both
        // what was found and, until the user picks another, what is
        // wanted.
        GetSelectedOrganizationUnit(dialog, id::kOrganizationUnitList,
                                    state_.DesiredOrganizationUnit);
        state_.CurrentOrganizationUnit = state_.DesiredOrganizationUnit;
        // The settings file's unit, when it belongs to this domain; the
        // units of another one cannot hold it.
        if (!fileGaveDomain_ || NamesCurrentDomain(state_, domainFromFile_.view())) {
            PreselectSettingsUnit(dialog, state_.CurrentDomain.view());
        }
    }
}

void MainDialog::PreselectSettingsUnit(platform::DialogView& dialog, std::u16string_view domain) {
    if (settingsUnit_.empty() || dialog.ListCount(id::kOrganizationUnitList) <= 0) {
        return;
    }
    PreselectOrganizationUnit(state_, dialog, settingsUnit_.view(), domain);
    // Matched or not, the listed units have decided.
    settingsUnitSettled_ = true;
}

void MainDialog::SettleSettingsUnit(platform::DialogView& dialog, AdministratorChoice& choice) {
    if (settingsUnit_.empty() || settingsUnitSettled_ || !dialog.IsChecked(id::kMemberOfDomain)) {
        return;
    }
    OrganizationUnitText path;
    const UnitCheck check = CheckOrganizationUnitSetting(os_, state_, state_.DesiredDomain.view(),
                                                         settingsUnit_.view(), path);
    if (check == UnitCheck::NotJoinable) {
        return;
    }
    // A list of another domain's units says nothing about this one's; with
    // it emptied the unit stays as chosen here.
    dialog.ResetList(id::kOrganizationUnitList);
    state_.DesiredOrganizationUnit = path;
    choice.organizationUnit = path;
}

void MainDialog::SelectMembership(platform::DialogView& dialog, JoinStatus kind) {
    if (kind == JoinStatus::Workgroup) {
        dialog.SetChecked(id::kMemberOfWorkgroup, true);
        dialog.SetChecked(id::kMemberOfDomain, false);
        dialog.EnableItem(id::kWorkgroup, true);
        dialog.EnableItem(id::kDomain, false);
        dialog.EnableItem(id::kOrganizationUnitList, false);
    } else if (kind == JoinStatus::Domain) {
        dialog.SetChecked(id::kMemberOfDomain, true);
        dialog.SetChecked(id::kMemberOfWorkgroup, false);
        dialog.EnableItem(id::kDomain, true);
        // A list still waiting for its units stays disabled.
        dialog.EnableItem(id::kOrganizationUnitList, !lookUpsPending_);
        dialog.EnableItem(id::kWorkgroup, false);
    }
}

void MainDialog::OnCommand(platform::DialogView& dialog, int itemId, int notification) {
    if (confirmed_) {
        return;
    }
    switch (itemId) {
    case ui::kItemOk:
        ConfirmAndApply(dialog);
        return; // the dialog has ended; OK stays disabled
    case ui::kItemCancel:
        dialog.EndDialog(platform::kDialogCancel);
        break;
    case id::kDomain:
        if (notification == platform::kEnChange) {
            state_.DesiredDomain.Assign(dialog.ItemText(id::kDomain));
            // Another domain has other units: the next drop-down lists anew.
            // While initialising, the list of the current domain stays.
            if (state_.DialogInitialised) {
                state_.OrganizationUnitListLoaded.store(0);
                settingsUnitSettled_ = false;
            }
        }
        break;
    case id::kAddressAutomatic:
    case id::kAddressFixed:
        if (notification == platform::kBnClicked) {
            if (dialog.IsChecked(id::kAddressAutomatic)) {
                EnableStaticAddressControls(dialog, true);
            } else if (dialog.IsChecked(id::kAddressFixed)) {
                EnableStaticAddressControls(dialog, false);
            }
            StoreAdapterSettings(state_, dialog, dialog.ListSelection(id::kAdapterList));
        }
        break;
    case id::kIpAddress:
    case id::kSubnetMask:
    case id::kDefaultGateway:
        if (notification == platform::kEnChange) {
            StoreAdapterSettings(state_, dialog, dialog.ListSelection(id::kAdapterList));
        }
        break;
    case id::kAdapterList:
        if (notification == platform::kCbnSelChange) {
            ShowAdapterSettings(state_, dialog, dialog.ListSelection(id::kAdapterList));
        }
        break;
    case id::kMemberOfDomain:
    case id::kMemberOfWorkgroup:
        if (notification == platform::kBnClicked) {
            if (dialog.IsChecked(id::kMemberOfDomain)) {
                SelectMembership(dialog, JoinStatus::Domain);
                dialog.FocusItem(id::kDomain);
            } else if (dialog.IsChecked(id::kMemberOfWorkgroup)) {
                SelectMembership(dialog, JoinStatus::Workgroup);
                dialog.FocusItem(id::kWorkgroup);
            }
        }
        break;
    case id::kCredentials:
        if (notification == platform::kBnClicked) {
            RunAuthenticationDialog(os_, state_, dialog.Window(), platform::error::kSuccess);
        }
        break;
    case id::kOrganizationUnitList:
        if (notification == platform::kCbnDropDown) {
            FillOrganizationUnitList(dialog);
        }
        break;
    default:
        break;
    }
    if (!initialising_) {
        UpdateOkState(dialog);
    }
}

void MainDialog::UpdateOkState(platform::DialogView& dialog) {
    AdministratorChoice choice = ReadAdministratorChoice(dialog);
    const ChangeMask mask = ComputeChangeMask(choice, state_);
    const bool enable = mask != 0 && ValidateInputs(choice, state_);
    dialog.EnableItem(ui::kItemOk, enable);
}

void MainDialog::FillOrganizationUnitList(platform::DialogView& dialog) {
    // The listing asks the domain on this thread.
    os_.ui.ShowWaitCursor(true);
    if (FillJoinableOrganizationUnits(os_, state_, dialog, id::kOrganizationUnitList,
                                      state_.DesiredDomain, prompt_)) {
        PreselectSettingsUnit(dialog, state_.DesiredDomain.view());
    }
    os_.ui.ShowWaitCursor(false);
}

bool MainDialog::ComputerNameRefused(platform::DialogView& dialog) {
    if (state_.AutoMode) {
        return false; // the rename step refuses it and logs why
    }
    ComputerNameText name;
    name.Assign(dialog.ItemText(id::kComputerName));
    const ComputerNameFault fault = CheckComputerName(name.view());
    if (name == state_.CurrentComputerName || fault == ComputerNameFault::None) {
        return false;
    }
    std::u16string text;
    std::u16string caption;
    LoadInterfaceString(os_, state_, ComputerNameFaultText(fault), text);
    LoadInterfaceString(os_, state_, ui::kStringComputerNameCaption, caption);
    os_.ui.MessageBox(dialog.Window(), text.c_str(), caption.c_str(), kComputerNameNoticeStyle);
    dialog.FocusItem(id::kComputerName);
    return true;
}

void MainDialog::ConfirmAndApply(platform::DialogView& dialog) {
    if (ComputerNameRefused(dialog)) {
        return;
    }
    // Also when OK is disabled: auto mode confirms whatever the state, and
    // the worker's own change mask decides what is applied.
    // Confirmed before the look-ups after the first paint ran: they run
    // first, so that the log shows them in their place.
    FinishDeferredLookUps(dialog);
    confirmed_ = true;
    dialog.EnableItem(ui::kItemOk, false);

    // The dialog stays disabled under the progress dialog: what it shows now
    // is what the run applies.
    AdministratorChoice choice = ReadAdministratorChoice(dialog);
    state_.DesiredWorkgroup.Assign(choice.workgroup.view());
    state_.DesiredDomain.Assign(choice.domain.view());
    state_.DesiredComputerName.Assign(choice.computerName.view());
    if (choice.organizationUnit) {
        state_.DesiredOrganizationUnit.Assign(choice.organizationUnit->view());
    }
    // Logs whether the domain can be found, whichever membership is chosen;
    // the run itself takes the domain as chosen.
    GetDomainDnsName(os_, state_, state_.DesiredDomain);
    SettleSettingsUnit(dialog, choice);

    RunApplyWithProgress(os_, state_, choice, dialog.Window());

    state_.StartWithWindowsChosen = choice.startWithWindows;
    // OK also after the user closed the progress dialog: what was applied
    // so far stays applied.
    dialog.EndDialog(platform::kDialogOk);
}

void MainDialog::OnClose(platform::DialogView& dialog) {
    if (!confirmed_) {
        dialog.EndDialog(platform::kDialogCancel);
    }
}

void MainDialog::OnDestroy(platform::DialogView& /*dialog*/) {
    // An abandoned worker may still be reading the adapter lists; they are
    // then left to the end of the process.
    if (!state_.ApplyWorkerStillRunning) {
        ReleaseAdapterLists(state_);
    }
}

bool MainDialog::OnStaticColors(platform::DialogView& /*dialog*/, int itemId,
                                platform::StaticColors& colors) {
    // The header band and its text on the window colour; the text keeps
    // the control's own colours.
    if (itemId != id::kHeaderBand && itemId != id::kHeaderText) {
        return false;
    }
    colors.background = platform::SystemColor::Window;
    colors.backgroundOnly = true;
    return true;
}

platform::DialogDecoration MainDialog::Decoration() const {
    platform::DialogDecoration decoration;
    decoration.windowIcon = ui::kIconApplication;
    decoration.iconButton = id::kCredentials;
    decoration.buttonIcon = ui::kIconCredentials;
    decoration.boldItems = kHeadings;
    return decoration;
}

int RunMainDialog(platform::Platform& os, SetupState& state,
                  StartWithWindowsQuery startsWithWindows) {
    MainDialog logic(os, state, startsWithWindows);
    return os.ui.RunModalDialog(ui::kDialogMain, InterfaceLanguage(os, state),
                                platform::kDesktopWindow, logic, 0);
}

} // namespace corvane
