#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane::platform {

// Domain membership, the computer's name and the domain-controller look-up,
// all for the local computer. Buffers that these calls return are released
// with NetApiBufferFree. Account and password are passed together, both null
// for "no explicit credentials".
class NetworkManagement {
public:
    virtual ~NetworkManagement() = default;

    // NetGetJoinInformation: 0 with the workgroup or domain name in *name.
    virtual ErrorCode NetGetJoinInformation(char16_t** name, JoinStatus* status) = 0;
    // NetJoinDomain: options 0x23 join a domain, 0 a workgroup.
    virtual ErrorCode NetJoinDomain(const char16_t* domain, const char16_t* organizationUnit,
                                    const char16_t* account, const char16_t* password,
                                    std::uint32_t options) = 0;
    // NetUnjoinDomain: 2692 when the computer was not joined to a domain.
    virtual ErrorCode NetUnjoinDomain(const char16_t* account, const char16_t* password,
                                      std::uint32_t options) = 0;
    // NetRenameMachineInDomain: 2697 when the computer has no account.
    virtual ErrorCode NetRenameMachineInDomain(const char16_t* newName, const char16_t* account,
                                               const char16_t* password, std::uint32_t options) = 0;
    // NetGetJoinableOUs: 0 with *count distinguished names in *units (one
    // buffer, released with NetApiBufferFree).
    virtual ErrorCode NetGetJoinableOUs(const char16_t* domain, const char16_t* account,
                                        const char16_t* password, std::uint32_t* count,
                                        char16_t*** units) = 0;
    // NetApiBufferFree.
    virtual ErrorCode NetApiBufferFree(void* buffer) = 0;
    // DsGetDcNameW for the local computer, no domain GUID, no site.
    virtual ErrorCode DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                  DomainControllerInfo** info) = 0;

    // GetComputerNameW: true with the NetBIOS name; *size is the buffer size
    // on entry and the length without the terminator on return (false with
    // 111, buffer overflow, and the size needed when the buffer is too small).
    virtual bool GetComputerName(char16_t* buffer, std::uint32_t* size) = 0;
    // SetComputerNameExW: the name takes effect at the next start. On
    // failure *error, when given, receives the call's GetLastError code.
    virtual bool SetComputerNameEx(ComputerNameFormat format, const char16_t* name,
                                   ErrorCode* error) = 0;
    bool SetComputerNameEx(ComputerNameFormat format, const char16_t* name) {
        return SetComputerNameEx(format, name, nullptr);
    }
};

} // namespace corvane::platform
