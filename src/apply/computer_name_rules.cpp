#include "apply/computer_name_rules.h"

#include "apply/apply_sequence.h"
#include "support/interface_language.h"
#include "support/string_ids.h"

#include <string>

namespace corvane {

namespace {

constexpr const char* kOperation = "SaveSettings";

// Codes of the refusal lines: ERROR_INVALID_COMPUTERNAME, and the statuses
// DnsValidateName returns for a host label.
constexpr platform::ErrorCode kInvalidComputerName = 1210;
constexpr platform::ErrorCode kInvalidName = 123;
constexpr platform::ErrorCode kDnsNonRfcName = 9556;
constexpr platform::ErrorCode kDnsInvalidNameCharacter = 9560;
constexpr platform::ErrorCode kDnsNumericName = 9561;

bool IsAsciiLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

ComputerNameFault CheckComputerName(std::u16string_view name) {
    if (name.empty() || name.size() > kLongestComputerName) {
        return ComputerNameFault::Length;
    }
    if (name.find(u'.') != std::u16string_view::npos) {
        return ComputerNameFault::Dot;
    }
    bool digitsOnly = true;
    for (const char16_t c : name) {
        digitsOnly = digitsOnly && IsDigit(c);
    }
    if (digitsOnly) {
        return ComputerNameFault::DigitsOnly;
    }
    for (const char16_t c : name) {
        if (c == u'_' || c > 0x7F) {
            return ComputerNameFault::NonStandardCharacter;
        }
    }
    for (const char16_t c : name) {
        if (!IsAsciiLetter(c) && !IsDigit(c) && c != u'-') {
            return ComputerNameFault::InvalidCharacter;
        }
    }
    return ComputerNameFault::None;
}

platform::ErrorCode ComputerNameFaultCode(ComputerNameFault fault) {
    switch (fault) {
    case ComputerNameFault::None:
        return platform::error::kSuccess;
    case ComputerNameFault::Length:
        return kInvalidComputerName;
    case ComputerNameFault::Dot:
        return kInvalidName;
    case ComputerNameFault::DigitsOnly:
        return kDnsNumericName;
    case ComputerNameFault::NonStandardCharacter:
        return kDnsNonRfcName;
    case ComputerNameFault::InvalidCharacter:
        return kDnsInvalidNameCharacter;
    }
    return kInvalidComputerName;
}

std::uint32_t ComputerNameFaultText(ComputerNameFault fault) {
    switch (fault) {
    case ComputerNameFault::Length:
        return kStringComputerNameLength;
    case ComputerNameFault::DigitsOnly:
        return kStringComputerNameDigitsOnly;
    default:
        return kStringComputerNameCharacters;
    }
}

bool AcceptDesiredComputerName(platform::Platform& os, SetupState& state,
                               platform::WindowId owner) {
    const ComputerNameFault fault = CheckComputerName(state.DesiredComputerName.view());
    if (fault == ComputerNameFault::None) {
        return true;
    }
    state.Log.Log(LogLevel::Info, static_cast<std::int32_t>(ComputerNameFaultCode(fault)),
                  u"%S: Computer name \"%s\" not valid", kOperation, state.DesiredComputerName);
    if (!state.AutoMode) {
        std::u16string text;
        std::u16string caption;
        LoadInterfaceString(os, state, ComputerNameFaultText(fault), text);
        LoadInterfaceString(os, state, kStringComputerNameCaption, caption);
        ShowTimedNotice(os, state, owner, text, caption, kNoticeWarningStyle);
    }
    return false;
}

bool SetLocalComputerName(platform::Platform& os, SetupState& state, platform::ErrorCode* failure) {
    platform::ErrorCode error = platform::error::kSuccess;
    if (os.network.SetComputerNameEx(platform::ComputerNameFormat::PhysicalDnsHostname,
                                     state.DesiredComputerName.c_str(), &error)) {
        return true;
    }
    if (failure != nullptr) {
        *failure = error;
    }
    state.Log.Log(LogLevel::Info, static_cast<std::int32_t>(error), u"%S: SetComputerNameExW",
                  kOperation);
    return false;
}

} // namespace corvane
