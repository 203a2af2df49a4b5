// One bound connection to a domain controller over the OpenLDAP client
// library: simple bind with an account and a password, and the requests the
// directory service needs. Statuses are the HRESULTs the platform's
// directory calls would return for the same LDAP results.
#pragma once

#include "platform/types.h"

#include <memory>
#include <string>
#include <vector>

struct ldap;
struct ldapmsg;

namespace corvane::ldap {

struct LdapDirectoryConfig {
    // "ldap://host[:port]" or "ldaps://host[:port]".
    std::string uri;
    // The domain's DNS and NetBIOS names: the server part of "LDAP://" paths
    // and the domain of "WinNT://" paths must name this domain.
    std::u16string dnsName;
    std::u16string netbiosName;
    // LDAPS against a server whose certificate no local authority signed
    // (a test domain controller's own).
    bool acceptAnyCertificate = false;
    // What a bind without an account binds as: Linux has no Windows logon
    // to hand over, so the calling thread's logon is this account, or an
    // anonymous bind when it is empty.
    std::u16string ownAccount;
    std::u16string ownPassword;
};

class LdapConnection {
public:
    // Connects and binds. `user` null binds as the configured own logon; a
    // user with an empty password is refused here (1326) and never sent: the
    // server would take it for an anonymous bind.
    static platform::HResult Open(const LdapDirectoryConfig& config, const char16_t* user,
                                  const char16_t* password,
                                  std::shared_ptr<LdapConnection>& connection);
    ~LdapConnection();
    LdapConnection(const LdapConnection&) = delete;
    LdapConnection& operator=(const LdapConnection&) = delete;

    ::ldap* Handle() const { return handle_; }
    // The domain's root DN as the server names it (defaultNamingContext).
    const std::string& RootDn() const { return rootDn_; }

    // The status for an LDAP result code, with the server's diagnostic text.
    platform::HResult Status(int result) const;
    // Whether the object exists: S_OK, or the status of the base read.
    platform::HResult ReadBase(const std::string& dn) const;
    // The values of one attribute of one object (S_OK with none when it has
    // none).
    platform::HResult ReadValues(const std::string& dn, const char* attribute,
                                 std::vector<std::string>& values) const;

private:
    LdapConnection() = default;
    ::ldap* handle_ = nullptr;
    std::string rootDn_;
};

// UTF-16 to UTF-8 and back.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

} // namespace corvane::ldap
