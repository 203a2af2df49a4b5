#include "platform/sim/machine/journal.h"

#include "platform/sim/text.h"

#include <algorithm>

namespace corvane::sim {

namespace {

constexpr std::string_view kOperations[] = {
    // Locale
    "SetThreadLocale",
    "EnumSystemLocales",
    "GetLocaleInfo",
    "GetDateFormat",
    "GetTimeFormat",
    // Environment
    "GetEnvironmentVariable",
    "SetEnvironmentVariable",
    "ExpandEnvironmentStrings",
    // Files
    "CreateFile",
    "WriteFile",
    "CloseHandle",
    "PathFileExists",
    "GetCurrentDirectory",
    "GetModuleFileName",
    "GetTempPath",
    // Private profile: a failure reads as a missing file
    "GetPrivateProfileString",
    "GetPrivateProfileSection",
    "GetPrivateProfileInt",
    // Registry
    "RegOpenKey",
    "RegCreateKey",
    "RegQueryValue",
    "RegSetValue",
    "RegDeleteValue",
    "RegCloseKey",
    // Network management
    "NetGetJoinInformation",
    "NetJoinDomain",
    "NetUnjoinDomain",
    "NetRenameMachineInDomain",
    "NetGetJoinableOUs",
    "DsGetDcName",
    "GetComputerName",
    "SetComputerNameEx",
    // IP Helper
    "GetAdaptersInfo",
    "GetInterfaceInfo",
    "IpReleaseAddress",
    "IpRenewAddress",
    "SetAdapterIpAddress",
    "SetDNSServerSearchOrder",
    // Resources
    "LoadString",
    "FormatMessage",
    // Directory operations of the domain's directory service
    "ADsOpenObject",
    "ExecuteSearch",
    "MoveHere",
    "Create",
    "Delete",
    "SetInfo",
    "CoInitialize",
    "SetSearchPreference",
    "GetNextRow",
    "GetColumn",
    "QueryInterface",
};

} // namespace

std::string JournalEntry::Text() const {
    std::string text = operation + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i != 0) {
            text += ", ";
        }
        text += arguments[i];
    }
    text += ") = " + Decimal(result);
    if (injected) {
        text += " [injected]";
    }
    return text;
}

std::string JournalText(const char16_t* text) {
    return text == nullptr ? std::string("-") : JournalText(std::u16string_view(text));
}

std::string JournalText(std::u16string_view text) {
    return text.empty() ? std::string("\"\"") : Utf16ToUtf8(text);
}

std::string JournalSecret(const char16_t* password) {
    return password == nullptr ? "-" : "***";
}

std::span<const std::string_view> FailurePlan::Operations() {
    return kOperations;
}

bool FailurePlan::IsKnownOperation(std::string_view operation) {
    return std::find(std::begin(kOperations), std::end(kOperations), operation) !=
           std::end(kOperations);
}

bool FailurePlan::Add(std::string_view operation, platform::ErrorCode code, int times,
                      std::u16string_view subject) {
    if (!IsKnownOperation(operation) || times == 0 || times < kAlways) {
        return false;
    }
    failures_.push_back(Failure{std::string(operation), code, times, std::u16string(subject)});
    return true;
}

std::optional<platform::ErrorCode> FailurePlan::Take(std::string_view operation,
                                                     std::u16string_view subject) {
    for (auto it = failures_.begin(); it != failures_.end(); ++it) {
        if (it->operation != operation) {
            continue;
        }
        if (!it->subject.empty() && !EqualsNoCase(it->subject, subject)) {
            continue;
        }
        const platform::ErrorCode code = it->code;
        if (it->remaining != kAlways && --it->remaining == 0) {
            failures_.erase(it);
        }
        return code;
    }
    return std::nullopt;
}

} // namespace corvane::sim
