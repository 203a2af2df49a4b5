#include "platform/win32/sdk_layouts.h"
#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"

namespace corvane::win32 {

namespace {

using platform::ErrorCode;

} // namespace

// Each export is looked up at its call: a name look-up in a module that is
// already loaded, and nothing is kept that could go stale.
Win32NetworkManagement::Win32NetworkManagement(const SystemLibrary& netapi) : netapi_(netapi) {}

ErrorCode Win32NetworkManagement::NetGetJoinInformation(char16_t** name,
                                                        platform::JoinStatus* status) {
    if (name == nullptr || status == nullptr) {
        return platform::error::kInvalidParameter;
    }
    decltype(&::NetGetJoinInformation) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetGetJoinInformation", call)) {
        return missing;
    }
    LPWSTR joined = nullptr;
    NETSETUP_JOIN_STATUS joinStatus = NetSetupUnknownStatus;
    const ErrorCode result = call(nullptr, &joined, &joinStatus);
    *name = Utf16(joined);
    *status = static_cast<platform::JoinStatus>(joinStatus);
    return result;
}

ErrorCode Win32NetworkManagement::NetJoinDomain(const char16_t* domain,
                                                const char16_t* organizationUnit,
                                                const char16_t* account, const char16_t* password,
                                                std::uint32_t options) {
    decltype(&::NetJoinDomain) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetJoinDomain", call)) {
        return missing;
    }
    return call(nullptr, Wide(domain), Wide(organizationUnit), Wide(account), Wide(password),
                options);
}

ErrorCode Win32NetworkManagement::NetUnjoinDomain(const char16_t* account, const char16_t* password,
                                                  std::uint32_t options) {
    decltype(&::NetUnjoinDomain) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetUnjoinDomain", call)) {
        return missing;
    }
    return call(nullptr, Wide(account), Wide(password), options);
}

ErrorCode Win32NetworkManagement::NetRenameMachineInDomain(const char16_t* newName,
                                                           const char16_t* account,
                                                           const char16_t* password,
                                                           std::uint32_t options) {
    decltype(&::NetRenameMachineInDomain) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetRenameMachineInDomain", call)) {
        return missing;
    }
    return call(nullptr, Wide(newName), Wide(account), Wide(password), options);
}

ErrorCode Win32NetworkManagement::NetGetJoinableOUs(const char16_t* domain, const char16_t* account,
                                                    const char16_t* password, std::uint32_t* count,
                                                    char16_t*** units) {
    if (count == nullptr || units == nullptr) {
        return platform::error::kInvalidParameter;
    }
    *count = 0;
    *units = nullptr;
    decltype(&::NetGetJoinableOUs) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetGetJoinableOUs", call)) {
        return missing;
    }
    DWORD unitCount = 0;
    LPWSTR* names = nullptr;
    const ErrorCode result =
        call(nullptr, Wide(domain), Wide(account), Wide(password), &unitCount, &names);
    if (result == platform::error::kSuccess) {
        *count = unitCount;
        *units = reinterpret_cast<char16_t**>(names);
    }
    return result;
}

ErrorCode Win32NetworkManagement::NetApiBufferFree(void* buffer) {
    decltype(&::NetApiBufferFree) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("NetApiBufferFree", call)) {
        return missing;
    }
    return call(buffer);
}

ErrorCode Win32NetworkManagement::DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                              platform::DomainControllerInfo** info) {
    if (info == nullptr) {
        return platform::error::kInvalidParameter;
    }
    *info = nullptr;
    // netapi32 forwards this export to logoncli.dll on newer systems; the
    // loader resolves the forwarder along the restricted search path.
    decltype(&::DsGetDcNameW) call = nullptr;
    if (const ErrorCode missing = netapi_.Find("DsGetDcNameW", call)) {
        return missing;
    }
    PDOMAIN_CONTROLLER_INFOW record = nullptr;
    const ErrorCode result = call(nullptr, Wide(domain), nullptr, nullptr, flags, &record);
    *info = reinterpret_cast<platform::DomainControllerInfo*>(record);
    return result;
}

bool Win32NetworkManagement::GetComputerName(char16_t* buffer, std::uint32_t* size) {
    if (size == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    DWORD length = *size;
    const BOOL ok = ::GetComputerNameW(Wide(buffer), &length);
    *size = length;
    return ok != FALSE;
}

bool Win32NetworkManagement::SetComputerNameEx(platform::ComputerNameFormat format,
                                               const char16_t* name, platform::ErrorCode* error) {
    if (::SetComputerNameExW(static_cast<COMPUTER_NAME_FORMAT>(format), Wide(name)) != FALSE) {
        return true;
    }
    if (error != nullptr) {
        *error = ::GetLastError();
    }
    return false;
}

} // namespace corvane::win32
