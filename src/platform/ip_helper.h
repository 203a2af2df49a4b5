#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane::platform {

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
};

} // namespace corvane::platform
