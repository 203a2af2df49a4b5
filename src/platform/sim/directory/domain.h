// One simulated domain: its names, whether it can be reached, whose
// credentials it accepts, the code with which each kind of operation refuses
// the others, and its directory.
#pragma once

#include "platform/sim/directory/directory_tree.h"
#include "platform/types.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

// The kinds of domain operation that check credentials.
enum class DomainOperation : std::uint32_t {
    Join,        // NetJoinDomain
    Unjoin,      // NetUnjoinDomain
    Rename,      // NetRenameMachineInDomain
    JoinableOUs, // NetGetJoinableOUs
    Directory,   // binds of the directory service
};
inline constexpr std::size_t kDomainOperationCount = 5;
// "join", "unjoin", "rename", "ous", "directory".
std::string_view DomainOperationName(DomainOperation operation);
bool ParseDomainOperation(std::string_view name, DomainOperation& operation);

struct Credential {
    std::u16string account; // "user@domain", "DOMAIN\\user" or "user"
    std::u16string password;
    bool disabled = false; // a matching logon is refused with 1331
    // The logon binds and reads the directory, but every change it asks of
    // the directory (move, create, delete) is refused with 5.
    bool directoryReadOnly = false;
};

class Domain {
public:
    Domain(std::u16string_view netbiosName, std::u16string_view dnsName);

    const std::u16string& NetbiosName() const { return netbiosName_; }
    const std::u16string& DnsName() const { return dnsName_; }
    // Either name, without regard to case.
    bool Matches(std::u16string_view name) const;

    bool Reachable() const { return reachable_; }
    void SetReachable(bool reachable) { reachable_ = reachable; }

    void AddCredential(std::u16string_view account, std::u16string_view password,
                       bool disabled = false, bool directoryReadOnly = false);
    const std::vector<Credential>& Credentials() const { return credentials_; }
    // Whether a call without explicit credentials (the calling thread's own
    // logon) is accepted.
    bool AcceptsOwnLogon() const { return acceptsOwnLogon_; }
    void SetAcceptsOwnLogon(bool accepted) { acceptsOwnLogon_ = accepted; }
    // The code an operation returns when it refuses the credentials it was
    // given (1326, ERROR_LOGON_FAILURE, unless set).
    platform::ErrorCode RefusalCode(DomainOperation operation) const;
    void SetRefusalCode(DomainOperation operation, platform::ErrorCode code);

    // 0 when the account and password are accepted for the operation; the
    // operation's refusal code otherwise, or 1331 for a disabled account.
    // A null account stands for the own logon (the password is then
    // ignored); a null password with an account counts as empty. Accounts
    // match in any of the three forms: the user names without regard to case,
    // and a domain part, where given, must name this domain.
    platform::ErrorCode CheckCredentials(DomainOperation operation, const char16_t* account,
                                         const char16_t* password) const;
    // Whether an accepted logon may change the directory: the own logon
    // may, a credential unless it is directory-read-only.
    bool MayChangeDirectory(const char16_t* account, const char16_t* password) const;

    DirectoryTree& Directory() { return directory_; }
    const DirectoryTree& Directory() const { return directory_; }
    // The computer object of that name anywhere in the directory (the
    // oldest when there are several), or kNoObject.
    ObjectId FindComputer(std::u16string_view name) const;
    // The distinguished name of every computer object, in directory order.
    std::vector<std::u16string> ComputerAccounts() const;
    // Adds a computer object below the container with this DN (or the
    // default computer container when the DN is empty); a relative DN
    // ("OU=Sales") is completed with the domain's root DN. kNoObject when
    // the container does not exist or the name is taken there.
    ObjectId AddComputer(std::u16string_view name, std::u16string_view containerDn = {});
    // Completes a relative DN with the root DN; a DN that already ends in
    // it, and the empty text, come back unchanged.
    std::u16string AbsoluteDn(std::u16string_view dn) const;

private:
    // The credential that account and password name, or null.
    const Credential* MatchCredential(const char16_t* account, const char16_t* password) const;

    std::u16string netbiosName_;
    std::u16string dnsName_;
    bool reachable_ = true;
    bool acceptsOwnLogon_ = false;
    std::vector<Credential> credentials_;
    std::array<platform::ErrorCode, kDomainOperationCount> refusals_;
    DirectoryTree directory_;
};

// Splits an account into user and domain part: "user@domain" and
// "DOMAIN\\user" give both, "user" an empty domain part.
void SplitAccount(std::u16string_view account, std::u16string& user, std::u16string& domain);

} // namespace corvane::sim
