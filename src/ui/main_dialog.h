// The main settings dialog (template 101): shows what the settings file and
// the machine say, keeps OK enabled only while a valid change is pending,
// and on OK hands the run to the apply worker and the progress dialog.
#pragma once

#include "model/administrator_choice.h"
#include "model/setup_state.h"
#include "platform/dialog_logic.h"
#include "platform/platform.h"
#include "support/fixed_text.h"
#include "ui/authentication_dialog.h"

#include <cstdint>

namespace corvane {

// Characters the user may type into the name fields (EM_LIMITTEXT). Longer
// names can still stand there when they come from the settings file or the
// join information.
inline constexpr int kComputerNameTypingLimit = 15;
inline constexpr int kWorkgroupTypingLimit = 15;
inline constexpr int kDomainTypingLimit = 64;

// The timer that runs a domain member's look-ups of its domain once the
// dialog has painted itself (timer messages come after paint messages); the
// shortest period Windows has.
inline constexpr std::uintptr_t kInitialLookupTimer = 1;
inline constexpr std::uint32_t kInitialLookupDelayMs = 10;

// Whether the program is registered to start at log-on: asked once, as the
// dialog initialises.
using StartWithWindowsQuery = bool (*)(platform::Platform& os);

class MainDialog final : public platform::DialogLogic {
public:
    MainDialog(platform::Platform& os, SetupState& state, StartWithWindowsQuery startsWithWindows)
        : os_(os), state_(state), startsWithWindows_(startsWithWindows), prompt_(os, state) {}

    bool OnInitDialog(platform::DialogView& dialog, std::intptr_t parameter) override;
    void OnCommand(platform::DialogView& dialog, int itemId, int notification) override;
    void OnClose(platform::DialogView& dialog) override;
    void OnDestroy(platform::DialogView& dialog) override;
    void OnTimer(platform::DialogView& dialog, std::uintptr_t timerId) override;
    bool OnStaticColors(platform::DialogView& dialog, int itemId,
                        platform::StaticColors& colors) override;
    platform::DialogDecoration Decoration() const override;

private:
    // The membership options and the fields that belong to them: kind 2
    // (workgroup) or 3 (domain); any other kind changes nothing.
    void SelectMembership(platform::DialogView& dialog, platform::JoinStatus kind);
    // The machine's name, its membership and, for a domain member, the
    // domain's DNS name and organisational units.
    void ShowMachineState(platform::DialogView& dialog);
    void ShowJoinedName(platform::DialogView& dialog, platform::JoinStatus status,
                        std::u16string_view name);
    // OK enabled exactly while a change is pending and the chosen
    // membership has a name.
    void UpdateOkState(platform::DialogView& dialog);
    // Collects the fields, runs the apply worker under the progress dialog
    // and ends the dialog with OK.
    void ConfirmAndApply(platform::DialogView& dialog);
    // Confirming by hand a new computer name that the platform would refuse
    // says what is wrong and returns to the field instead of applying.
    bool ComputerNameRefused(platform::DialogView& dialog);
    void FillOrganizationUnitList(platform::DialogView& dialog);
    // A domain member's look-ups of its domain (DNS name, joinable units and
    // the unit holding the account), which may wait on the network. Outside
    // auto mode they run after the first paint; until they have run the OU
    // list waits disabled and the initialisation is not complete.
    void LookUpJoinedDomain(platform::DialogView& dialog, bool deferred);
    void FinishDeferredLookUps(platform::DialogView& dialog);
    // The settings file's "ou": selected in a freshly filled list of the
    // chosen domain's units; when no such list was filled, checked against
    // the domain's units once the dialog is confirmed.
    void PreselectSettingsUnit(platform::DialogView& dialog, std::u16string_view domain);
    void SettleSettingsUnit(platform::DialogView& dialog, AdministratorChoice& choice);

    platform::Platform& os_;
    SetupState& state_;
    StartWithWindowsQuery startsWithWindows_;
    // Asks for other credentials when the domain refuses its OU listing.
    AuthenticationPrompt prompt_;
    // Once the OK path has started the dialog only ends with OK: further
    // commands, Cancel and the close box do nothing.
    bool confirmed_ = false;
    // True from the start of WM_INITDIALOG until its explicit OK-state
    // update: the fields' notifications meanwhile leave the OK state alone.
    bool initialising_ = false;
    // The domain look-ups wait for the first paint.
    bool lookUpsPending_ = false;
    // What the domain field showed when the look-ups were put off: only
    // that text is replaced by the domain's DNS name.
    DomainText domainShownBeforeLookUps_;
    bool fileGaveDomain_ = false;
    DomainText domainFromFile_;
    OrganizationUnitText settingsUnit_;
    bool settingsUnitSettled_ = false;
};

// Runs the main dialog modally, owned by the desktop, and returns its end
// value: 1 after the apply run, 2 when cancelled, -1 when it cannot be shown.
int RunMainDialog(platform::Platform& os, SetupState& state,
                  StartWithWindowsQuery startsWithWindows);

} // namespace corvane
