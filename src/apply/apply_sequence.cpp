#include "apply/apply_sequence.h"

#include "apply/adapter_application.h"
#include "apply/computer_name_rules.h"
#include "apply/name_servers.h"
#include "directory/computer_account.h"
#include "directory/domain_lookups.h"
#include "model/credentials.h"
#include "platform/net_buffer.h"
#include "platform/registry_key.h"
#include "support/interface_language.h"
#include "support/string_ids.h"

#include <string>

namespace corvane {

namespace {

namespace error = platform::error;

constexpr const char* kOperation = "SaveSettings";
// The line of the unjoin failure report, kept as the log has always shown it.
constexpr int kUnjoinFailureLine = 921;

constexpr std::u16string_view kTcpipParameters =
    u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::u16string_view kActiveComputerName =
    u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";

bool IsRefusedCredentials(platform::ErrorCode code) {
    return code == error::kAccessDenied || code == error::kLogonFailure ||
           code == error::kAccountDisabled;
}

class ApplyRun {
public:
    ApplyRun(platform::Platform& os, SetupState& state, const AdministratorChoice& choice,
             platform::WindowId owner, CredentialPrompt& prompt, const std::atomic<bool>& abandoned)
        : os_(os), state_(state), choice_(choice), owner_(owner), prompt_(prompt),
          abandoned_(abandoned), joinName_(os.network) {}

    void Run(ChangeMask mask) {
        ReadJoinInformation();
        directoryDomain_ = state_.DesiredDomain;
        if (!Abandoned()) {
            ApplyNameServers(os_, state_);
        }
        CheckDomain();
        if ((mask & kRenameStepMask) != 0 && !Abandoned()) {
            RenameStep();
        }
        if ((mask & kMembershipStepMask) != 0 && !Abandoned()) {
            MembershipStep();
        }
        if ((mask & kOrganizationUnitStepMask) != 0 && !Abandoned()) {
            OrganizationUnitStep();
        }
        if ((mask & kRestartNoticeMask) != 0 && !Abandoned()) {
            state_.Result.NeedRestart();
            Notice(LocalizedText(kStringRestartText), LocalizedText(kStringRestartCaption),
                   kNoticeWarningStyle);
        }
        joinName_.Reset();
        if ((mask & kAdapterStepMask) != 0 && !Abandoned()) {
            state_.Result.Record(ApplyAdapterAddresses(os_, state_));
        }
    }

private:
    bool Abandoned() const { return abandoned_.load(); }

    void Log(platform::ErrorCode code, std::u16string_view format) {
        state_.Log.Log(LogLevel::Info, static_cast<std::int32_t>(code), format, kOperation);
    }
    template <typename Arg>
    void Log(platform::ErrorCode code, std::u16string_view format, const Arg& arg) {
        state_.Log.Log(LogLevel::Info, static_cast<std::int32_t>(code), format, kOperation, arg);
    }

    bool DomainChosen() const { return choice_.membership == platform::JoinStatus::Domain; }
    bool WorkgroupChosen() const { return choice_.membership == platform::JoinStatus::Workgroup; }

    void Notice(const std::u16string& text, const std::u16string& caption, std::uint32_t style) {
        ShowTimedNotice(os_, state_, owner_, text, caption, style);
    }

    std::u16string LocalizedText(std::uint32_t id) {
        std::u16string text;
        LoadLocalizedString(os_, state_, id, text);
        return text;
    }

    // A refusal of the credentials asks for others: the step repeats after
    // OK (1237) and ends as cancelled (1223) otherwise.
    platform::ErrorCode PromptIfRefused(platform::ErrorCode result) {
        if (!IsRefusedCredentials(result) || Abandoned()) {
            return result;
        }
        return prompt_.AskAfterRefusal(owner_, result);
    }

    bool Retrying(platform::ErrorCode result) const {
        return result == error::kRetry && !Abandoned();
    }

    void ReadJoinInformation() {
        if (os_.network.NetGetJoinInformation(joinName_.Receive(), &joinStatus_) !=
            error::kSuccess) {
            joinStatus_ = platform::JoinStatus::Unknown;
            joinName_.Reset();
        }
        // Unless the membership step says otherwise; with the membership
        // unknown the directory itself decides.
        memberOfChosenDomain_ = joinStatus_ != platform::JoinStatus::Unjoined &&
                                joinStatus_ != platform::JoinStatus::Workgroup;
    }

    void CheckDomain() {
        if (!DomainChosen()) {
            return;
        }
        const platform::ErrorCode status = GetDomainDnsName(os_, state_, directoryDomain_);
        state_.Result.Record(status);
        if (status != error::kSuccess) {
            Notice(FormatText(
                       u"DsGetDcName: Error %d\nThe specified domain \"%s\" either does not exist "
                       u"or could not be contacted.\r\nHint: Please try to use FQDN.",
                       status, state_.DesiredDomain),
                   u"Domain Error", kNoticeErrorStyle);
        }
    }

    // A member of a domain is renamed in its domain. Any other computer is
    // renamed locally, and a domain join of the same run then takes the new
    // name, so that the account it creates or uses is the one of the name the
    // computer carries from its next start on.
    void RenameStep() {
        // A name the platform would refuse or rewrite changes nothing; a
        // local name that could not be set is not written anywhere else.
        platform::ErrorCode refusal = error::kSuccess;
        if (!AcceptDesiredComputerName(os_, state_, owner_) ||
            !SetLocalComputerName(os_, state_, &refusal)) {
            const ComputerNameFault fault = CheckComputerName(state_.DesiredComputerName.view());
            state_.Result.Record(fault != ComputerNameFault::None ? ComputerNameFaultCode(fault)
                                                                  : refusal);
            renameFailed_ = true;
            return;
        }
        platform::ErrorCode result = error::kSuccess;
        if (DomainChosen() && joinStatus_ == platform::JoinStatus::Domain) {
            do {
                const Credentials credentials = StoredCredentials(state_);
                result = os_.network.NetRenameMachineInDomain(
                    state_.DesiredComputerName.c_str(), credentials.account, credentials.password,
                    platform::netsetup::kAccountCreate);
                Log(result, u"%S: NetRenameMachineInDomain");
                if (result == error::kNerrComputerAccountNotFound && !Abandoned()) {
                    result = CreateComputerAccount(os_, state_, directoryDomain_.view(),
                                                   state_.DesiredComputerName.view(), std::nullopt);
                    Log(result, u"%S: CreateComputerAccount");
                }
                result = PromptIfRefused(result);
            } while (Retrying(result));
        }
        if (Abandoned()) {
            return;
        }
        if (result != error::kSuccess) {
            state_.Result.Record(result);
            Log(result, u"%S: Settings Computer name not possible.");
            os_.network.SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname,
                                          state_.CurrentComputerName.c_str());
            Notice(LocalizedText(kStringRenameFailedText),
                   LocalizedText(kStringRenameFailedCaption), kNoticeWarningStyle);
            renameFailed_ = true;
            return;
        }
        WriteHostNameValues();
        newNamePending_ = true;
    }

    // The name the computer carries at the end of the run: the new one,
    // unless its rename failed and the old one was restored.
    const ComputerNameText& FinalComputerName() const {
        return renameFailed_ ? state_.CurrentComputerName : state_.DesiredComputerName;
    }

    void WriteHostNameValues() {
        const std::u16string_view name = state_.DesiredComputerName.view();
        const auto* data =
            reinterpret_cast<const std::uint8_t*>(state_.DesiredComputerName.c_str());
        const auto size = static_cast<std::uint32_t>((name.size() + 1) * sizeof(char16_t));
        auto writeValues = [&](std::u16string_view keyPath,
                               std::initializer_list<const char16_t*> values) {
            platform::OpenedRegistryKey key(os_.registry);
            const std::u16string path(keyPath);
            if (key.Open(platform::RegistryRoot::LocalMachine, path.c_str()) != error::kSuccess) {
                return;
            }
            for (const char16_t* value : values) {
                os_.registry.SetValue(key.get(), value, platform::kRegSz, data, size);
            }
        };
        writeValues(kTcpipParameters, {u"NV Hostname", u"Hostname"});
        writeValues(kActiveComputerName, {u"Computername"});
    }

    void LogWithOrWithoutAccount(platform::ErrorCode result, const Credentials& credentials,
                                 std::u16string_view withAccount,
                                 std::u16string_view withoutAccount) {
        if (credentials.account != nullptr) {
            Log(result, withAccount, credentials.account);
        } else {
            Log(result, withoutAccount);
        }
    }

    platform::ErrorCode JoinDomainAttempt() {
        platform::ErrorCode result = error::kSuccess;
        if (joinStatus_ == platform::JoinStatus::Domain) {
            const Credentials credentials = StoredCredentials(state_);
            result = os_.network.NetUnjoinDomain(credentials.account, credentials.password, 0);
            LogWithOrWithoutAccount(result, credentials, u"%S: NetUnjoinDomain with Account \"%s\"",
                                    u"%S: NetUnjoinDomain without Account");
            if (result == error::kNerrSetupNotJoined) {
                result = error::kSuccess;
            }
        }
        if (result != error::kSuccess) {
            Log(result, u"%S: In Zeile %d", kUnjoinFailureLine);
            return result;
        }
        if (Abandoned()) {
            return error::kCancelled;
        }
        const Credentials credentials = StoredCredentials(state_);
        std::uint32_t options = platform::netsetup::kJoinDomain |
                                platform::netsetup::kAccountCreate |
                                platform::netsetup::kDomainJoinIfJoined;
        if (newNamePending_) {
            options |= platform::netsetup::kJoinWithNewName;
        }
        result = os_.network.NetJoinDomain(state_.DesiredDomain.c_str(), nullptr,
                                           credentials.account, credentials.password, options);
        LogWithOrWithoutAccount(result, credentials, u"%S: NetJoinDomain with Account \"%s\"",
                                u"%S: NetJoinDomain without Account");
        return result;
    }

    platform::ErrorCode JoinWorkgroupAttempt() {
        const Credentials credentials = StoredCredentials(state_);
        platform::ErrorCode result =
            os_.network.NetUnjoinDomain(credentials.account, credentials.password, 0);
        Log(result, u"%S: Workgroup: NetUnjoinDomain");
        // A computer that is in a workgroup already is not joined to a domain
        // (2692): it can go straight on to the new workgroup.
        if (result != error::kSuccess && result != error::kNerrSetupNotJoined) {
            return result;
        }
        if (Abandoned()) {
            return error::kCancelled;
        }
        return os_.network.NetJoinDomain(state_.DesiredWorkgroup.c_str(), nullptr, nullptr, nullptr,
                                         0);
    }

    void MembershipStep() {
        platform::ErrorCode result = error::kSuccess;
        do {
            result = error::kSuccess;
            if (DomainChosen()) {
                result = JoinDomainAttempt();
            } else if (WorkgroupChosen()) {
                result = JoinWorkgroupAttempt();
            }
            result = PromptIfRefused(result);
        } while (Retrying(result));
        memberOfChosenDomain_ = result == error::kSuccess && DomainChosen();
        state_.Result.Record(result);
        if (result != error::kSuccess && !Abandoned()) {
            Log(result, u"%S: Joining to Workgroup/Domain not possible");
        }
    }

    // The account moved or created is the one of the name the computer
    // carries at the end of the run, and only in a domain it is a member of:
    // an account for any other name, or for a computer whose join failed,
    // would be one that no computer ever uses.
    void OrganizationUnitStep() {
        if (!memberOfChosenDomain_) {
            state_.Result.Record(error::kNerrSetupNotJoined);
            Log(error::kNerrSetupNotJoined,
                u"%S: Organization unit not possible, the computer is not a member of the "
                u"domain");
            return;
        }
        const std::u16string_view computer = FinalComputerName().view();
        platform::ErrorCode result = error::kSuccess;
        do {
            result = MoveComputerAccountToOrganizationUnit(os_, state_, directoryDomain_.view(),
                                                           computer,
                                                           state_.DesiredOrganizationUnit.view());
            if (result == error::kNerrComputerAccountNotFound && !Abandoned()) {
                result = CreateComputerAccount(os_, state_, directoryDomain_.view(), computer,
                                               state_.DesiredOrganizationUnit.view());
            }
            Log(result, u"%S: MoveComputerAccountToOrganizationUnit");
            result = PromptIfRefused(result);
        } while (Retrying(result));
        state_.Result.Record(result);
    }

    platform::Platform& os_;
    SetupState& state_;
    const AdministratorChoice& choice_;
    platform::WindowId owner_;
    CredentialPrompt& prompt_;
    const std::atomic<bool>& abandoned_;
    platform::NetBuffer<char16_t> joinName_;
    platform::JoinStatus joinStatus_ = platform::JoinStatus::Unknown;
    DomainText directoryDomain_;
    bool renameFailed_ = false;         // the old name was restored
    bool newNamePending_ = false;       // renamed in this run, effective at the next start
    bool memberOfChosenDomain_ = false; // as far as this run knows
};

} // namespace

void ShowTimedNotice(platform::Platform& os, const SetupState& state, platform::WindowId owner,
                     const std::u16string& text, const std::u16string& caption,
                     std::uint32_t style) {
    if (os.ui.HasMessageBoxTimeout()) {
        os.ui.MessageBoxTimeout(
            owner, text.c_str(), caption.c_str(), style,
            static_cast<platform::LanguageId>(state.MessageBoxLanguage & 0xFFFFu),
            state.MessageBoxTimeout);
    } else if (state.MessageBoxTimeout == kInfiniteTimeout) {
        os.ui.MessageBox(owner, text.c_str(), caption.c_str(), style);
    }
}

void SaveSettings(platform::Platform& os, SetupState& state, const AdministratorChoice& choice,
                  platform::WindowId owner, CredentialPrompt& prompt, ChangeMask mask,
                  const std::atomic<bool>& abandoned) {
    ApplyRun(os, state, choice, owner, prompt, abandoned).Run(mask);
}

} // namespace corvane
