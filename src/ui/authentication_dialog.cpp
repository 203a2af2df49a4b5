#include "ui/authentication_dialog.h"

#include "platform/net_buffer.h"
#include "support/interface_language.h"
#include "support/wipe_memory.h"
#include "ui/account_name.h"
#include "ui/dialog_ids.h"

#include <array>
#include <string>

namespace corvane {

namespace {

namespace ids = ui::auth_dialog;

// The field's text as OK stores it: at most the field limit.
std::u16string FieldText(platform::DialogView& dialog, int itemId) {
    std::u16string text = dialog.ItemText(itemId);
    if (text.size() > static_cast<std::size_t>(kCredentialFieldLimit)) {
        WipeMemory(text.data() + kCredentialFieldLimit,
                   (text.size() - static_cast<std::size_t>(kCredentialFieldLimit)) *
                       sizeof(char16_t));
        text.resize(static_cast<std::size_t>(kCredentialFieldLimit));
    }
    return text;
}

void Wipe(std::u16string& text) {
    WipeMemory(text.data(), text.size() * sizeof(char16_t));
    text.clear();
}

} // namespace

bool AuthenticationDialog::OnInitDialog(platform::DialogView& dialog, std::intptr_t parameter) {
    // Opened while the main dialog initialises (and so during a whole /auto
    // run): refused before anything is shown.
    if (!state_.DialogInitialised.load()) {
        dialog.EndDialog(platform::kDialogCancel);
        return false;
    }
    const auto code = static_cast<platform::ErrorCode>(parameter);

    // The fields take no more than OK keeps, so what is stored is what the
    // user sees.
    dialog.LimitText(ids::kAccount, kCredentialFieldLimit);
    dialog.LimitText(ids::kPassword, kCredentialFieldLimit);
    ShowAccount(dialog, state_.Account.view());
    dialog.SetItemText(ids::kPassword, state_.Password.view());

    // A domain member shows its domain; the account written once more then
    // puts the domain it names in its place (nothing when it names none).
    platform::NetBuffer<char16_t> name(os_.network);
    platform::JoinStatus status = platform::JoinStatus::Unknown;
    if (os_.network.NetGetJoinInformation(name.Receive(), &status) == platform::error::kSuccess &&
        status == platform::JoinStatus::Domain && name) {
        dialog.SetItemText(ids::kDomain, name.get());
        ShowAccount(dialog, state_.Account.view());
    }
    name.Reset();

    // Focus after the last write of the account: writing a field's text drops
    // its selection.
    if (code == platform::error::kInvalidPassword) {
        dialog.FocusItem(ids::kPassword);
        dialog.SelectAllText(ids::kPassword);
    } else {
        dialog.FocusItem(ids::kAccount);
        if (code == platform::error::kAccessDenied) {
            dialog.SelectAllText(ids::kAccount);
        }
    }

    if (code > 0) {
        std::array<char16_t, kSystemMessageCapacity> text{};
        const std::uint32_t length =
            os_.resources.FormatSystemMessage(code, text.data(), kSystemMessageCapacity);
        if (length > 0 && length < kSystemMessageCapacity) {
            dialog.SetItemText(ids::kErrorText, std::u16string_view(text.data(), length));
        }
    }
    return false;
}

void AuthenticationDialog::OnCommand(platform::DialogView& dialog, int itemId, int notification) {
    if (itemId == ids::kAccount && notification == platform::kEnChange) {
        AccountChanged(dialog);
        return;
    }
    if (notification != platform::kBnClicked) {
        return;
    }
    switch (itemId) {
    case ui::kItemOk:
        Confirm(dialog);
        break;
    case ui::kItemCancel:
        dialog.EndDialog(platform::kDialogCancel);
        break;
    case ids::kDomainBrowser:
        BrowseForDomain(dialog);
        break;
    default:
        break;
    }
}

bool AuthenticationDialog::OnStaticColors(platform::DialogView& /*dialog*/, int itemId,
                                          platform::StaticColors& colors) {
    if (itemId != ids::kErrorText) {
        return false;
    }
    colors.text = kAuthenticationErrorTextColor;
    colors.background = platform::SystemColor::ButtonFace;
    return true;
}

void AuthenticationDialog::ShowAccount(platform::DialogView& dialog, std::u16string_view account) {
    dialog.SetItemText(ids::kAccount, account);
    // Windows raises the change notification for this write itself; running
    // the handling here too keeps the outcome independent of whether a view
    // notifies programmatic changes. It only derives state from the text, so
    // running it twice changes nothing.
    AccountChanged(dialog);
}

void AuthenticationDialog::AccountChanged(platform::DialogView& dialog) {
    // OK only when the account names a user together with a domain: a "@"
    // that is not the first character, or else a backslash followed by at
    // least one character.
    const std::u16string account = dialog.ItemText(ids::kAccount);
    bool complete = false;
    const std::size_t at = account.find(u'@');
    if (at != std::u16string::npos) {
        dialog.SetItemText(ids::kDomain, std::u16string_view(account).substr(at + 1));
        complete = at != 0;
    } else if (const std::size_t backslash = account.find(u'\\');
               backslash != std::u16string::npos) {
        dialog.SetItemText(ids::kDomain, std::u16string_view(account).substr(0, backslash));
        complete = backslash + 1 < account.size();
    } else {
        dialog.SetItemText(ids::kDomain, u"");
    }
    dialog.EnableItem(ui::kItemOk, complete);
}

void AuthenticationDialog::Confirm(platform::DialogView& dialog) {
    std::u16string account = FieldText(dialog, ids::kAccount);
    std::u16string password = FieldText(dialog, ids::kPassword);
    state_.Account.Assign(account);
    state_.Password.Assign(password);
    Wipe(password);
    Wipe(account);
    NormalizeAccountName(state_.Account);
    dialog.EndDialog(platform::kDialogOk);
}

void AuthenticationDialog::BrowseForDomain(platform::DialogView& dialog) {
    std::u16string domain;
    if (os_.ui.BrowseDomainTree(dialog.Window(), domain) != 0) {
        return; // unavailable or cancelled: nothing changes
    }
    const std::u16string account =
        NormalizedAccountName(FieldText(dialog, ids::kAccount), std::u16string_view(domain));
    // A long domain can make the joined account longer than the account may
    // be; the pick is then refused rather than cut into another account.
    if (account.size() > static_cast<std::size_t>(kCredentialFieldLimit)) {
        return;
    }
    dialog.SetItemText(ids::kDomain, domain);
    ShowAccount(dialog, account);
}

int RunAuthenticationDialog(platform::Platform& os, SetupState& state, platform::WindowId owner,
                            platform::ErrorCode code) {
    AuthenticationDialog logic(os, state);
    const int end = os.ui.RunModalDialog(ui::kDialogAuthentication, InterfaceLanguage(os, state),
                                         owner, logic, static_cast<std::intptr_t>(code));
    // A dialog that could not be shown was not confirmed: reporting it as a
    // retry would repeat the refused step for ever.
    return end == platform::kDialogOk ? platform::kDialogOk : platform::kDialogCancel;
}

platform::ErrorCode PromptForCredentials(platform::Platform& os, SetupState& state,
                                         platform::WindowId owner, platform::ErrorCode refusal) {
    return RunAuthenticationDialog(os, state, owner, refusal) == platform::kDialogCancel
               ? platform::error::kCancelled
               : platform::error::kRetry;
}

} // namespace corvane
