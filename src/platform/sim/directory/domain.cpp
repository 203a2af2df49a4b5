#include "platform/sim/directory/domain.h"

#include "platform/sim/text.h"

namespace corvane::sim {

namespace {

constexpr std::string_view kOperationNames[kDomainOperationCount] = {
    "join", "unjoin", "rename", "ous", "directory",
};

} // namespace

std::string_view DomainOperationName(DomainOperation operation) {
    return kOperationNames[static_cast<std::size_t>(operation)];
}

bool ParseDomainOperation(std::string_view name, DomainOperation& operation) {
    for (std::size_t i = 0; i < kDomainOperationCount; ++i) {
        if (kOperationNames[i] == name) {
            operation = static_cast<DomainOperation>(i);
            return true;
        }
    }
    return false;
}

void SplitAccount(std::u16string_view account, std::u16string& user, std::u16string& domain) {
    const std::size_t at = account.find(u'@');
    if (at != std::u16string_view::npos) {
        user.assign(account.substr(0, at));
        domain.assign(account.substr(at + 1));
        return;
    }
    const std::size_t slash = account.find(u'\\');
    if (slash != std::u16string_view::npos) {
        domain.assign(account.substr(0, slash));
        user.assign(account.substr(slash + 1));
        return;
    }
    user.assign(account);
    domain.clear();
}

Domain::Domain(std::u16string_view netbiosName, std::u16string_view dnsName)
    : netbiosName_(netbiosName), dnsName_(dnsName.empty() ? netbiosName : dnsName),
      directory_(dnsName_) {
    refusals_.fill(platform::error::kLogonFailure);
}

bool Domain::Matches(std::u16string_view name) const {
    return !name.empty() && (EqualsNoCase(name, netbiosName_) || EqualsNoCase(name, dnsName_));
}

void Domain::AddCredential(std::u16string_view account, std::u16string_view password, bool disabled,
                           bool directoryReadOnly) {
    credentials_.push_back(
        Credential{std::u16string(account), std::u16string(password), disabled, directoryReadOnly});
}

platform::ErrorCode Domain::RefusalCode(DomainOperation operation) const {
    return refusals_[static_cast<std::size_t>(operation)];
}

void Domain::SetRefusalCode(DomainOperation operation, platform::ErrorCode code) {
    refusals_[static_cast<std::size_t>(operation)] = code;
}

const Credential* Domain::MatchCredential(const char16_t* account, const char16_t* password) const {
    std::u16string user;
    std::u16string domain;
    SplitAccount(View(account), user, domain);
    if (user.empty() || (!domain.empty() && !Matches(domain))) {
        return nullptr;
    }
    const std::u16string_view given = View(password);
    for (const Credential& credential : credentials_) {
        std::u16string knownUser;
        std::u16string knownDomain;
        SplitAccount(credential.account, knownUser, knownDomain);
        if (!EqualsNoCase(knownUser, user) || credential.password != given) {
            continue;
        }
        if (!knownDomain.empty() && !Matches(knownDomain)) {
            continue;
        }
        return &credential;
    }
    return nullptr;
}

bool Domain::MayChangeDirectory(const char16_t* account, const char16_t* password) const {
    if (account == nullptr) {
        return acceptsOwnLogon_;
    }
    const Credential* credential = MatchCredential(account, password);
    return credential != nullptr && !credential->disabled && !credential->directoryReadOnly;
}

platform::ErrorCode Domain::CheckCredentials(DomainOperation operation, const char16_t* account,
                                             const char16_t* password) const {
    if (account == nullptr) {
        return acceptsOwnLogon_ ? platform::error::kSuccess : RefusalCode(operation);
    }
    const Credential* credential = MatchCredential(account, password);
    if (credential == nullptr) {
        return RefusalCode(operation);
    }
    return credential->disabled ? platform::error::kAccountDisabled : platform::error::kSuccess;
}

ObjectId Domain::FindComputer(std::u16string_view name) const {
    const std::vector<ObjectId> found =
        directory_.FindByClassAndName(directory_class::kComputer, name);
    return found.empty() ? kNoObject : found.front();
}

std::vector<std::u16string> Domain::ComputerAccounts() const {
    std::vector<std::u16string> accounts;
    directory_.VisitSubtree(directory_.Root(), DirectoryTree::Scope::Subtree, [&](ObjectId object) {
        if (EqualsNoCase(directory_.Class(object), directory_class::kComputer)) {
            accounts.push_back(directory_.DistinguishedName(object));
        }
        return true;
    });
    return accounts;
}

std::u16string Domain::AbsoluteDn(std::u16string_view dn) const {
    if (dn.empty()) {
        return {};
    }
    std::vector<RelativeName> given;
    std::vector<RelativeName> root;
    if (!ParseDistinguishedName(dn, given) || !ParseDistinguishedName(directory_.RootDn(), root)) {
        return std::u16string(dn);
    }
    if (given.size() >= root.size()) {
        bool endsInRoot = true;
        for (std::size_t i = 0; i < root.size(); ++i) {
            const RelativeName& part = given[given.size() - root.size() + i];
            if (!EqualsNoCase(part.type, root[i].type) ||
                !EqualsNoCase(part.value, root[i].value)) {
                endsInRoot = false;
                break;
            }
        }
        if (endsInRoot) {
            return std::u16string(dn);
        }
    }
    return std::u16string(dn) + u"," + directory_.RootDn();
}

ObjectId Domain::AddComputer(std::u16string_view name, std::u16string_view containerDn) {
    const ObjectId container = containerDn.empty() ? directory_.DefaultComputerContainer()
                                                   : directory_.Find(AbsoluteDn(containerDn));
    ObjectId created = kNoObject;
    if (container == kNoObject ||
        directory_.Create(container, directory_class::kComputer, name, &created) != 0) {
        return kNoObject;
    }
    std::u16string account(name);
    account.push_back(u'$');
    directory_.SetAttribute(created, u"sAMAccountName", account);
    return created;
}

} // namespace corvane::sim
