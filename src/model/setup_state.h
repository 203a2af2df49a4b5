// The one process-wide record through which the dialog thread and the apply
// worker exchange what was found on the machine, what the administrator
// wants, the credentials and the few handles and flags they share.
//
// Texts have fixed capacities that count the terminating zero; every writer
// goes through FixedText::Assign, which cuts at capacity - 1.
#pragma once

#include "model/name_server_list.h"
#include "model/run_result.h"
#include "platform/types.h"
#include "support/diagnostic_log.h"
#include "support/fixed_text.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

using ComputerNameText = FixedText<16>;
using WorkgroupText = FixedText<16>;
using DomainText = FixedText<129>;
using OrganizationUnitText = FixedText<128>; // an OU path
using AccountText = FixedText<128>;
using PasswordText = FixedText<128>;

using AdapterRecord = platform::AdapterRecord;
using AdapterList = std::vector<AdapterRecord>;

inline constexpr std::uint32_t kInfiniteTimeout = 0xFFFFFFFFu;
inline constexpr std::uint32_t kAutoModeTimeoutMs = 10000;

struct SetupState {
    ComputerNameText CurrentComputerName;
    ComputerNameText DesiredComputerName;
    WorkgroupText CurrentWorkgroup;
    WorkgroupText DesiredWorkgroup;
    DomainText CurrentDomain;
    // The domain's name as the join information gave it (its NetBIOS name),
    // kept beside CurrentDomain's DNS form: a domain field naming the current
    // domain either way is no change.
    DomainText CurrentDomainJoinedName;
    DomainText DesiredDomain;
    OrganizationUnitText CurrentOrganizationUnit;
    OrganizationUnitText DesiredOrganizationUnit;
    AccountText Account;
    PasswordText Password;
    platform::JoinStatus JoinStatusAtStart = platform::JoinStatus::Unknown;
    AdapterList AdaptersAsEdited;
    AdapterList AdaptersAsFound;
    bool AutoMode = false;
    std::uint32_t MessageBoxTimeout = kInfiniteTimeout;
    platform::LocaleId MessageBoxLanguage = platform::kLocaleCustomDefault;
    std::u16string ForcedLanguageTag;
    bool StartWithWindowsAtStart = false;
    bool StartWithWindowsChosen = false;
    platform::EventHandle ApplyDoneEvent = 0;
    DiagnosticLog Log;
    std::atomic<bool> DialogInitialised{false};
    std::atomic<std::int32_t> OrganizationUnitListLoaded{0};
    // Set when an abandoned apply worker was still running as the progress
    // dialog closed: the program then ends without waiting for it.
    std::atomic<bool> ApplyWorkerStillRunning{false};
    // "dns" of the settings file, for every adapter that ends the run fixed.
    NameServerList DesiredNameServers;
    // "/exitcode=result": the exit code tells the run's outcome.
    bool ExitCodeFromResult = false;
    RunResult Result;
};

} // namespace corvane
