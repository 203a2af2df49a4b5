#pragma once

#include "platform/types.h"

#include <cstdint>
#include <string_view>

namespace corvane::platform {

// An adapter name as GetAdaptersInfo gives it: a GUID in braces,
// "{01234567-89AB-CDEF-0123-456789ABCDEF}".
constexpr bool IsAdapterGuidName(std::string_view name) {
    if (name.size() != 38 || name.front() != '{' || name.back() != '}') {
        return false;
    }
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        const char c = name[i];
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (dash ? c != '-' : !hex) {
            return false;
        }
    }
    return true;
}

// The IP Helper operations on the adapters.
class IpHelper {
public:
    virtual ~IpHelper() = default;

    // GetAdaptersInfo: 111 (buffer overflow) with the size needed in *size;
    // 0 with the chain of records in the buffer, linked through `next`.
    virtual ErrorCode GetAdaptersInfo(AdapterRecord* buffer, std::uint32_t* size) = 0;
    // GetInterfaceInfo: 122 (insufficient buffer) with the size needed in
    // *size; 0 with the interface table in the buffer.
    virtual ErrorCode GetInterfaceInfo(InterfaceInfo* buffer, std::uint32_t* size) = 0;
    // IpReleaseAddress and IpRenewAddress for one adapter of that table.
    virtual ErrorCode IpReleaseAddress(AdapterIndexMap* adapter) = 0;
    virtual ErrorCode IpRenewAddress(AdapterIndexMap* adapter) = 0;

    // The undocumented export SetAdapterIpAddress, looked up at run time:
    // 8-bit adapter name, 1 for automatic or 0 for fixed addressing, and the
    // address, mask and gateway in network byte order. Returns 127 (procedure
    // not found) without doing anything when the export is missing.
    virtual bool HasSetAdapterIpAddress() = 0;
    virtual ErrorCode SetAdapterIpAddress(const char* adapterName, std::uint32_t dhcp,
                                          std::uint32_t address, std::uint32_t mask,
                                          std::uint32_t gateway) = 0;

    // The adapter's own DNS server list, as the WMI method
    // Win32_NetworkAdapterConfiguration.SetDNSServerSearchOrder sets it on
    // the instance whose SettingID is `adapterName` (the GUID that
    // GetAdaptersInfo reports as the adapter's name): `count` dotted-quad
    // texts in search order. Returns the method's ReturnValue (0 done, 1 done
    // once the computer restarts, 64 and up its failures, 70 for an invalid
    // address), or the failing HRESULT when WMI cannot be reached or knows no
    // such adapter (0x80041002, WBEM_E_NOT_FOUND). A name that is no braced
    // GUID, or a null server, gives 87 without a call.
    virtual ErrorCode SetDnsServerSearchOrder(const char* adapterName,
                                              const char16_t* const* servers,
                                              std::uint32_t count) = 0;
};

} // namespace corvane::platform
