// Network management with the joinable organisational units read from a
// real domain controller: NetGetJoinableOUs lists the units (and the
// default computer container) in which the account may create computer
// objects, as the platform itself finds them, through the effective
// allowed child classes of each. Every other call goes to the wrapped
// implementation.
#pragma once

#include "platform/ldap/ldap_connection.h"
#include "platform/network_management.h"

#include <mutex>
#include <unordered_set>

namespace corvane::ldap {

class LdapJoinableUnits final : public platform::NetworkManagement {
public:
    LdapJoinableUnits(LdapDirectoryConfig config, platform::NetworkManagement& rest);

    platform::ErrorCode NetGetJoinableOUs(const char16_t* domain, const char16_t* account,
                                          const char16_t* password, std::uint32_t* count,
                                          char16_t*** units) override;
    platform::ErrorCode NetApiBufferFree(void* buffer) override;

    platform::ErrorCode NetGetJoinInformation(char16_t** name,
                                              platform::JoinStatus* status) override {
        return rest_.NetGetJoinInformation(name, status);
    }
    platform::ErrorCode NetJoinDomain(const char16_t* domain, const char16_t* organizationUnit,
                                      const char16_t* account, const char16_t* password,
                                      std::uint32_t options) override {
        return rest_.NetJoinDomain(domain, organizationUnit, account, password, options);
    }
    platform::ErrorCode NetUnjoinDomain(const char16_t* account, const char16_t* password,
                                        std::uint32_t options) override {
        return rest_.NetUnjoinDomain(account, password, options);
    }
    platform::ErrorCode NetRenameMachineInDomain(const char16_t* newName, const char16_t* account,
                                                 const char16_t* password,
                                                 std::uint32_t options) override {
        return rest_.NetRenameMachineInDomain(newName, account, password, options);
    }
    platform::ErrorCode DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                    platform::DomainControllerInfo** info) override {
        return rest_.DsGetDcName(domain, flags, info);
    }
    bool GetComputerName(char16_t* buffer, std::uint32_t* size) override {
        return rest_.GetComputerName(buffer, size);
    }
    using platform::NetworkManagement::SetComputerNameEx;
    bool SetComputerNameEx(platform::ComputerNameFormat format, const char16_t* name,
                           platform::ErrorCode* error) override {
        return rest_.SetComputerNameEx(format, name, error);
    }

    // Buffers handed out and not yet freed, for tests.
    std::size_t LiveBuffers() const;

private:
    LdapDirectoryConfig config_;
    platform::NetworkManagement& rest_;
    mutable std::mutex mutex_;
    std::unordered_set<void*> buffers_;
};

} // namespace corvane::ldap
