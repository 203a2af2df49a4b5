// Network management: membership, the computer's name, joinable OUs and the
// domain-controller look-up, with NetApi buffers the sim tracks until freed.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <new>

namespace corvane::sim {

namespace {

constexpr platform::ErrorCode kDuplicateName = 52;          // ERROR_DUP_NAME
constexpr platform::ErrorCode kNoTrustSamAccount = 1787;    // ERROR_NO_TRUST_SAM_ACCOUNT
constexpr platform::ErrorCode kInvalidWorkgroupName = 2695; // NERR_InvalidWorkgroupName
constexpr std::uint32_t kReturnFlatName = 0x80000000;       // DS_RETURN_FLAT_NAME
constexpr std::uint32_t kDcFlags = 0xE000017D;              // PDC, GC, DS, KDC, ... DNS flags

// Characters Windows refuses in computer and workgroup names.
constexpr std::u16string_view kNameForbidden = u"\"/\\[]:|<>+=;,?*";

bool HasForbidden(std::u16string_view name, std::u16string_view extra) {
    for (char16_t c : name) {
        if (c < 0x20 || kNameForbidden.find(c) != std::u16string_view::npos ||
            extra.find(c) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

// A DNS host name label: 1 to 63 characters, no blanks or dots.
bool IsValidHostName(std::u16string_view name) {
    return !name.empty() && name.size() <= 63 && !HasForbidden(name, u" .");
}

bool IsValidNetbiosName(std::u16string_view name) {
    return !name.empty() && name.size() <= 15 && !HasForbidden(name, {});
}

std::string OptionsText(std::uint32_t options) {
    return Hex(options);
}

} // namespace

platform::ErrorCode SimNetworkManagement::NetGetJoinInformation(char16_t** name,
                                                                platform::JoinStatus* status) {
    state_.WaitAsPlanned("NetGetJoinInformation");
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("NetGetJoinInformation")) {
        if (name != nullptr) {
            *name = nullptr;
        }
        state_.Record("NetGetJoinInformation", {}, *code, true);
        return *code;
    }
    if (name == nullptr || status == nullptr) {
        state_.Record("NetGetJoinInformation", {}, platform::error::kInvalidParameter);
        return platform::error::kInvalidParameter;
    }
    const std::u16string& text = state_.join.name;
    auto* buffer =
        static_cast<char16_t*>(state_.AllocateNetApiBuffer((text.size() + 1) * sizeof(char16_t)));
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    *name = buffer;
    *status = state_.join.status;
    state_.Record("NetGetJoinInformation", {}, platform::error::kSuccess);
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::NetJoinDomain(const char16_t* domain,
                                                        const char16_t* organizationUnit,
                                                        const char16_t* account,
                                                        const char16_t* password,
                                                        std::uint32_t options) {
    state_.WaitAsPlanned("NetJoinDomain");
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(domain), JournalText(organizationUnit),
                                          JournalText(account), JournalSecret(password),
                                          OptionsText(options)};
    if (auto code = state_.Fail("NetJoinDomain", View(domain))) {
        state_.Record("NetJoinDomain", std::move(arguments), *code, true);
        return *code;
    }
    const platform::ErrorCode result = Join(domain, organizationUnit, account, password, options);
    state_.Record("NetJoinDomain", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimNetworkManagement::Join(const char16_t* domain,
                                               const char16_t* organizationUnit,
                                               const char16_t* account, const char16_t* password,
                                               std::uint32_t options) {
    const std::u16string_view name = View(domain);
    if (name.empty()) {
        return platform::error::kInvalidParameter;
    }
    if ((options & platform::netsetup::kJoinDomain) == 0) {
        // A workgroup: only from outside a domain.
        if (!IsValidNetbiosName(name)) {
            return kInvalidWorkgroupName;
        }
        if (state_.join.status == platform::JoinStatus::Domain) {
            return platform::error::kNerrSetupAlreadyJoined;
        }
        state_.join = {platform::JoinStatus::Workgroup, std::u16string(name)};
        return platform::error::kSuccess;
    }
    Domain* target = state_.FindDomain(name);
    if (target == nullptr || !target->Reachable()) {
        return platform::error::kNoSuchDomain;
    }
    if (state_.join.status == platform::JoinStatus::Domain &&
        (options & platform::netsetup::kDomainJoinIfJoined) == 0) {
        return platform::error::kNerrSetupAlreadyJoined;
    }
    if (const platform::ErrorCode refused =
            target->CheckCredentials(DomainOperation::Join, account, password)) {
        return refused;
    }
    DirectoryTree& directory = target->Directory();
    ObjectId container = directory.DefaultComputerContainer();
    if (organizationUnit != nullptr) {
        container = directory.Find(organizationUnit);
        if (container == kNoObject) {
            return directory_error::kNoSuchObject;
        }
    }
    // The account is the one of the name the computer runs under, unless
    // the join asks for the name pending until the next start.
    const std::u16string computer = (options & platform::netsetup::kJoinWithNewName) != 0
                                        ? state_.EffectiveComputerName()
                                        : state_.computerName;
    ObjectId object = target->FindComputer(computer);
    if (object == kNoObject) {
        if ((options & platform::netsetup::kAccountCreate) == 0) {
            return kNoTrustSamAccount;
        }
        if (container == kNoObject) {
            return directory_error::kNoSuchObject;
        }
        object = target->AddComputer(computer, directory.DistinguishedName(container));
        if (object == kNoObject) {
            return directory_error::kObjectExists;
        }
    } else {
        directory.SetAttribute(object, u"accountDisabled", u"FALSE");
    }
    state_.join = {platform::JoinStatus::Domain, target->NetbiosName()};
    state_.accountDomain = target;
    state_.accountObject = object;
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::NetUnjoinDomain(const char16_t* account,
                                                          const char16_t* password,
                                                          std::uint32_t options) {
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(account), JournalSecret(password),
                                          OptionsText(options)};
    if (auto code = state_.Fail("NetUnjoinDomain", state_.join.name)) {
        state_.Record("NetUnjoinDomain", std::move(arguments), *code, true);
        return *code;
    }
    const platform::ErrorCode result = Unjoin(account, password, options);
    state_.Record("NetUnjoinDomain", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimNetworkManagement::Unjoin(const char16_t* account, const char16_t* password,
                                                 std::uint32_t options) {
    if (state_.join.status != platform::JoinStatus::Domain) {
        return platform::error::kNerrSetupNotJoined;
    }
    Domain* domain = state_.FindDomain(state_.join.name);
    const bool deleteAccount = (options & platform::netsetup::kAccountDelete) != 0;
    if (domain != nullptr && domain->Reachable()) {
        if (const platform::ErrorCode refused =
                domain->CheckCredentials(DomainOperation::Unjoin, account, password)) {
            return refused;
        }
        const ObjectId object = state_.ComputerAccount(*domain);
        if (deleteAccount && object != kNoObject) {
            // Windows disables the account rather than deleting it.
            domain->Directory().SetAttribute(object, u"accountDisabled", u"TRUE");
        }
    } else if (deleteAccount) {
        return platform::error::kNoSuchDomain;
    }
    // Without a domain controller the computer leaves locally.
    state_.join = {platform::JoinStatus::Workgroup, u"WORKGROUP"};
    state_.accountDomain = nullptr;
    state_.accountObject = kNoObject;
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::NetRenameMachineInDomain(const char16_t* newName,
                                                                   const char16_t* account,
                                                                   const char16_t* password,
                                                                   std::uint32_t options) {
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(newName), JournalText(account),
                                          JournalSecret(password), OptionsText(options)};
    if (auto code = state_.Fail("NetRenameMachineInDomain", View(newName))) {
        state_.Record("NetRenameMachineInDomain", std::move(arguments), *code, true);
        return *code;
    }
    platform::ErrorCode result = platform::error::kSuccess;
    if (state_.join.status != platform::JoinStatus::Domain) {
        result = platform::error::kNerrSetupNotJoined;
    } else if ((options & platform::netsetup::kAccountCreate) != 0) {
        result = Rename(newName, account, password);
    } else {
        // Without NETSETUP_ACCT_CREATE only the local name changes.
        const std::u16string name =
            newName ? std::u16string(newName) : state_.EffectiveComputerName();
        if (!IsValidHostName(name)) {
            result = platform::error::kInvalidParameter;
        } else {
            state_.SetPendingName(name);
        }
    }
    state_.Record("NetRenameMachineInDomain", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimNetworkManagement::Rename(const char16_t* newName, const char16_t* account,
                                                 const char16_t* password) {
    const std::u16string name = newName ? std::u16string(newName) : state_.EffectiveComputerName();
    if (!IsValidHostName(name)) {
        return platform::error::kInvalidParameter;
    }
    Domain* domain = state_.FindDomain(state_.join.name);
    if (domain == nullptr || !domain->Reachable()) {
        return platform::error::kNoSuchDomain;
    }
    if (const platform::ErrorCode refused =
            domain->CheckCredentials(DomainOperation::Rename, account, password)) {
        return refused;
    }
    const ObjectId object = state_.ComputerAccount(*domain);
    if (object == kNoObject) {
        return platform::error::kNerrComputerAccountNotFound;
    }
    const std::u16string netbios = State::NetbiosForm(name);
    const ObjectId holder = domain->FindComputer(netbios);
    if (holder != kNoObject && holder != object) {
        return kDuplicateName;
    }
    DirectoryTree& directory = domain->Directory();
    if (const platform::ErrorCode renamed = directory.Rename(object, netbios)) {
        return renamed;
    }
    directory.SetAttribute(object, u"sAMAccountName", netbios + u"$");
    state_.SetPendingName(name);
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::NetGetJoinableOUs(const char16_t* domain,
                                                            const char16_t* account,
                                                            const char16_t* password,
                                                            std::uint32_t* count,
                                                            char16_t*** units) {
    state_.WaitAsPlanned("NetGetJoinableOUs");
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(domain), JournalText(account),
                                          JournalSecret(password)};
    if (count != nullptr) {
        *count = 0;
    }
    if (units != nullptr) {
        *units = nullptr;
    }
    if (auto code = state_.Fail("NetGetJoinableOUs", View(domain))) {
        state_.Record("NetGetJoinableOUs", std::move(arguments), *code, true);
        return *code;
    }
    const platform::ErrorCode result = JoinableOUs(domain, account, password, count, units);
    state_.Record("NetGetJoinableOUs", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimNetworkManagement::JoinableOUs(const char16_t* domain,
                                                      const char16_t* account,
                                                      const char16_t* password,
                                                      std::uint32_t* count, char16_t*** units) {
    if (count == nullptr || units == nullptr || View(domain).empty()) {
        return platform::error::kInvalidParameter;
    }
    Domain* target = state_.FindDomain(domain);
    if (target == nullptr || !target->Reachable()) {
        return platform::error::kNoSuchDomain;
    }
    if (const platform::ErrorCode refused =
            target->CheckCredentials(DomainOperation::JoinableOUs, account, password)) {
        return refused;
    }
    const DirectoryTree& directory = target->Directory();
    std::vector<std::u16string> names;
    // A domain controller lists the units in which the logon may create
    // computer objects: none for a logon that may change nothing.
    const bool mayCreate = target->MayChangeDirectory(account, password);
    directory.VisitSubtree(directory.Root(), DirectoryTree::Scope::Subtree, [&](ObjectId object) {
        if (mayCreate &&
            (object == directory.DefaultComputerContainer() ||
             EqualsNoCase(directory.Class(object), directory_class::kOrganizationalUnit))) {
            names.push_back(directory.DistinguishedName(object));
        }
        return true;
    });
    // One buffer: the pointer array, then the texts it points to.
    std::size_t bytes = names.size() * sizeof(char16_t*);
    for (const std::u16string& name : names) {
        bytes += (name.size() + 1) * sizeof(char16_t);
    }
    auto* block = static_cast<std::byte*>(state_.AllocateNetApiBuffer(bytes));
    auto** array = reinterpret_cast<char16_t**>(block);
    auto* text = reinterpret_cast<char16_t*>(block + names.size() * sizeof(char16_t*));
    for (std::size_t i = 0; i < names.size(); ++i) {
        array[i] = text;
        names[i].copy(text, names[i].size());
        text[names[i].size()] = u'\0';
        text += names[i].size() + 1;
    }
    *count = static_cast<std::uint32_t>(names.size());
    *units = array;
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::NetApiBufferFree(void* buffer) {
    std::lock_guard lock(state_.mutex);
    if (buffer == nullptr) {
        return platform::error::kSuccess;
    }
    if (state_.netApiBuffers.erase(buffer) == 0) {
        ++state_.invalidNetApiFrees;
        return platform::error::kInvalidParameter;
    }
    return platform::error::kSuccess;
}

platform::ErrorCode SimNetworkManagement::DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                                      platform::DomainControllerInfo** info) {
    state_.WaitAsPlanned("DsGetDcName");
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {JournalText(domain), Hex(flags)};
    if (info != nullptr) {
        *info = nullptr;
    }
    if (auto code = state_.Fail("DsGetDcName", View(domain))) {
        state_.Record("DsGetDcName", std::move(arguments), *code, true);
        return *code;
    }
    const platform::ErrorCode result = DcName(domain, flags, info);
    state_.Record("DsGetDcName", std::move(arguments), result);
    return result;
}

platform::ErrorCode SimNetworkManagement::DcName(const char16_t* domain, std::uint32_t flags,
                                                 platform::DomainControllerInfo** info) {
    if (info == nullptr) {
        return platform::error::kInvalidParameter;
    }
    // Without a name, the domain the computer is a member of.
    std::u16string name(View(domain));
    if (domain == nullptr && state_.join.status == platform::JoinStatus::Domain) {
        name = state_.join.name;
    }
    Domain* target = state_.FindDomain(name);
    if (target == nullptr || !target->Reachable()) {
        return platform::error::kNoSuchDomain;
    }
    const std::u16string texts[] = {
        u"\\\\DC1." + target->DnsName(),
        u"\\\\192.0.2.10",
        (flags & kReturnFlatName) != 0 ? target->NetbiosName() : target->DnsName(),
        target->DnsName(),
        u"Default-First-Site-Name",
        u"Default-First-Site-Name",
    };
    std::size_t bytes = sizeof(platform::DomainControllerInfo);
    for (const std::u16string& text : texts) {
        bytes += (text.size() + 1) * sizeof(char16_t);
    }
    auto* block = static_cast<std::byte*>(state_.AllocateNetApiBuffer(bytes));
    auto* record = new (block) platform::DomainControllerInfo();
    auto* cursor = reinterpret_cast<char16_t*>(block + sizeof(platform::DomainControllerInfo));
    char16_t* placed[6] = {};
    for (std::size_t i = 0; i < 6; ++i) {
        placed[i] = cursor;
        texts[i].copy(cursor, texts[i].size());
        cursor[texts[i].size()] = u'\0';
        cursor += texts[i].size() + 1;
    }
    record->domainControllerName = placed[0];
    record->domainControllerAddress = placed[1];
    record->domainControllerAddressType = 1; // DS_INET_ADDRESS
    record->domainName = placed[2];
    record->dnsForestName = placed[3];
    record->flags = kDcFlags;
    record->dcSiteName = placed[4];
    record->clientSiteName = placed[5];
    *info = record;
    return platform::error::kSuccess;
}

bool SimNetworkManagement::GetComputerName(char16_t* buffer, std::uint32_t* size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetComputerName")) {
        state_.Record("GetComputerName", {}, *code, true);
        return false;
    }
    if (size == nullptr) {
        return false;
    }
    const std::u16string& name = state_.computerName;
    const auto length = static_cast<std::uint32_t>(name.size());
    if (buffer == nullptr || *size < length + 1) {
        *size = length + 1; // ERROR_BUFFER_OVERFLOW
        return false;
    }
    name.copy(buffer, name.size());
    buffer[name.size()] = u'\0';
    *size = length;
    return true;
}

bool SimNetworkManagement::SetComputerNameEx(platform::ComputerNameFormat format,
                                             const char16_t* name, platform::ErrorCode* error) {
    std::lock_guard lock(state_.mutex);
    std::vector<std::string> arguments = {Decimal(static_cast<std::uint32_t>(format)),
                                          JournalText(name)};
    if (auto code = state_.Fail("SetComputerNameEx", View(name))) {
        state_.Record("SetComputerNameEx", std::move(arguments), *code, true);
        if (error != nullptr) {
            *error = *code;
        }
        return false;
    }
    const std::u16string_view text = View(name);
    bool done = false;
    switch (format) {
    case platform::ComputerNameFormat::DnsHostname:
    case platform::ComputerNameFormat::PhysicalDnsHostname:
        if (IsValidHostName(text)) {
            state_.SetPendingName(text);
            done = true;
        }
        break;
    case platform::ComputerNameFormat::NetBios:
    case platform::ComputerNameFormat::PhysicalNetBios:
        if (IsValidNetbiosName(text)) {
            state_.pendingName = State::NetbiosForm(text);
            state_.SetValue(platform::RegistryRoot::LocalMachine, kComputerNameKey, u"ComputerName",
                            platform::kRegSz, Utf16Bytes(*state_.pendingName, true));
            done = true;
        }
        break;
    }
    state_.Record("SetComputerNameEx", std::move(arguments),
                  done ? platform::error::kSuccess : platform::error::kInvalidParameter);
    if (!done && error != nullptr) {
        *error = platform::error::kInvalidParameter;
    }
    return done;
}

} // namespace corvane::sim
