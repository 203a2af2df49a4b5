#include "platform/win32/sdk_layouts.h"
#include "platform/win32/services.h"
#include "support/fixed_text.h"

namespace corvane::win32 {

namespace {

using platform::ErrorCode;

// Undocumented iphlpapi export; the SDK does not declare it. Addresses in
// network byte order, dhcp 1 for automatic and 0 for fixed addressing.
using SetAdapterIpAddressFunction = DWORD(WINAPI*)(LPSTR adapterName, DWORD dhcp, DWORD address,
                                                   DWORD mask, DWORD gateway);

} // namespace

Win32IpHelper::Win32IpHelper(const SystemLibrary& iphlpapi) : iphlpapi_(iphlpapi) {}

ErrorCode Win32IpHelper::GetAdaptersInfo(platform::AdapterRecord* buffer, std::uint32_t* size) {
    if (size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    decltype(&::GetAdaptersInfo) call = nullptr;
    if (const ErrorCode missing = iphlpapi_.Find("GetAdaptersInfo", call)) {
        return missing;
    }
    ULONG length = *size;
    const ErrorCode result = call(reinterpret_cast<IP_ADAPTER_INFO*>(buffer), &length);
    *size = length;
    return result;
}

ErrorCode Win32IpHelper::GetInterfaceInfo(platform::InterfaceInfo* buffer, std::uint32_t* size) {
    if (size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    decltype(&::GetInterfaceInfo) call = nullptr;
    if (const ErrorCode missing = iphlpapi_.Find("GetInterfaceInfo", call)) {
        return missing;
    }
    ULONG length = *size;
    const ErrorCode result = call(reinterpret_cast<IP_INTERFACE_INFO*>(buffer), &length);
    *size = length;
    return result;
}

ErrorCode Win32IpHelper::IpReleaseAddress(platform::AdapterIndexMap* adapter) {
    if (adapter == nullptr) {
        return platform::error::kInvalidParameter;
    }
    decltype(&::IpReleaseAddress) call = nullptr;
    if (const ErrorCode missing = iphlpapi_.Find("IpReleaseAddress", call)) {
        return missing;
    }
    return call(reinterpret_cast<IP_ADAPTER_INDEX_MAP*>(adapter));
}

ErrorCode Win32IpHelper::IpRenewAddress(platform::AdapterIndexMap* adapter) {
    if (adapter == nullptr) {
        return platform::error::kInvalidParameter;
    }
    decltype(&::IpRenewAddress) call = nullptr;
    if (const ErrorCode missing = iphlpapi_.Find("IpRenewAddress", call)) {
        return missing;
    }
    return call(reinterpret_cast<IP_ADAPTER_INDEX_MAP*>(adapter));
}

bool Win32IpHelper::HasSetAdapterIpAddress() {
    SetAdapterIpAddressFunction call = nullptr;
    return iphlpapi_.Find("SetAdapterIpAddress", call) == platform::error::kSuccess;
}

ErrorCode Win32IpHelper::SetAdapterIpAddress(const char* adapterName, std::uint32_t dhcp,
                                             std::uint32_t address, std::uint32_t mask,
                                             std::uint32_t gateway) {
    if (adapterName == nullptr) {
        return platform::error::kInvalidParameter;
    }
    SetAdapterIpAddressFunction call = nullptr;
    if (const ErrorCode missing = iphlpapi_.Find("SetAdapterIpAddress", call)) {
        return missing;
    }
    // The export takes a writable name; hand it a copy bounded like the
    // adapter record's own name field.
    FixedText<platform::kMaxAdapterNameLength + 4, char> name;
    name.Assign(adapterName);
    return call(name.data(), dhcp, address, mask, gateway);
}

} // namespace corvane::win32
