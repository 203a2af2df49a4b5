#include "platform/ldap/ldap_directory_service.h"

#include "platform/ascii_text.h"
#include "platform/ldap/ldap_status.h"
#include "platform/sim/directory/ads_path.h"
#include "platform/sim/directory/directory_tree.h"
#include "platform/sim/text.h"

#include <algorithm>
#include <ldap.h>
#include <vector>

namespace corvane::ldap {

using platform::DirectoryInterface;
using platform::DirectoryInterfaceKind;
using platform::DirectorySearchHandle;
using platform::HResult;
namespace hresult = platform::hresult;
using sim::AdsProvider;

namespace {

constexpr platform::ErrorCode kInvalidName = 123;   // ERROR_INVALID_NAME
constexpr platform::ErrorCode kUserNotFound = 2221; // NERR_UserNotFound
constexpr platform::ErrorCode kUserExists = 2224;   // NERR_UserExists
constexpr platform::ErrorCode kServerDown = 8250;   // ERROR_DS_SERVER_DOWN
constexpr platform::ErrorCode kNoSuchObject = 8240; // ERROR_DS_NO_SUCH_OBJECT
constexpr platform::ErrorCode kUnwilling = 8245;    // ERROR_DS_UNWILLING_TO_PERFORM
constexpr HResult kObjectUnbound = static_cast<HResult>(0x80005009u); // E_ADS_OBJECT_UNBOUND
constexpr std::uint32_t kAllAttributes = 0xFFFFFFFFu;
constexpr std::uintptr_t kInterfaceBase = 0x10000000u;
constexpr std::uintptr_t kSearchBase = 0x30000000u;

// userAccountControl of an account made for a workstation to join with:
// WORKSTATION_TRUST_ACCOUNT (0x1000) | PASSWD_NOTREQD (0x20); the join sets
// the machine password.
constexpr const char* kWorkstationAccountControl = "4128";
// The GUID of the default computer container in wellKnownObjects.
constexpr std::string_view kComputersContainerGuid = "B:32:AA312825768811D1ADED00C04FD8D5CD:";
// LDAP_SERVER_TREE_DELETE_OID: remove an account with what hangs below it.
constexpr const char* kTreeDeleteControl = "1.2.840.113556.1.4.805";

// Characters Windows refuses in computer names.
bool IsValidAccountName(std::u16string_view name) {
    constexpr std::u16string_view kForbidden = u"\"/\\[]:|<>+=;,?*";
    if (name.empty() || name.size() > 15) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [&](char16_t c) {
        return c < 0x20 || kForbidden.find(c) != std::u16string_view::npos;
    });
}

// ADSI writes a slash inside a DN as "\/"; LDAP wants it plain.
std::string DnFromPath(std::u16string_view object) {
    std::u16string dn;
    dn.reserve(object.size());
    for (std::size_t i = 0; i < object.size(); ++i) {
        if (object[i] == u'\\' && i + 1 < object.size() && object[i + 1] == u'/') {
            continue;
        }
        dn.push_back(object[i]);
    }
    return ToUtf8(dn);
}

// The leading component of a DN as written ("CN=PC1" of "CN=PC1,OU=x").
std::string LeafComponent(const std::string& dn) {
    bool escaped = false;
    for (std::size_t i = 0; i < dn.size(); ++i) {
        if (escaped) {
            escaped = false;
        } else if (dn[i] == '\\') {
            escaped = true;
        } else if (dn[i] == ',' || dn[i] == ';') {
            return dn.substr(0, i);
        }
    }
    return dn;
}

// A value for an equality filter: RFC 4515 escapes.
std::string FilterValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
            constexpr char kHex[] = "0123456789abcdef";
            out.push_back('\\');
            out.push_back(kHex[(static_cast<unsigned char>(c) >> 4) & 0xF]);
            out.push_back(kHex[static_cast<unsigned char>(c) & 0xF]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

bool ContainsNoCase(const std::vector<std::string>& values, std::string_view wanted) {
    return std::any_of(values.begin(), values.end(), [&](const std::string& value) {
        return EqualsIgnoringAsciiCase(FromUtf8(value), FromUtf8(wanted));
    });
}

// Adds one entry; `attributes` are name and values pairs.
int AddEntry(::ldap* handle, const std::string& dn,
             const std::vector<std::pair<std::string, std::vector<std::string>>>& attributes) {
    std::vector<std::vector<char*>> valueLists(attributes.size());
    std::vector<LDAPMod> mods(attributes.size());
    std::vector<LDAPMod*> modPointers;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        std::vector<char*>& values = valueLists[i];
        for (const std::string& value : attributes[i].second) {
            values.push_back(const_cast<char*>(value.c_str()));
        }
        values.push_back(nullptr);
        mods[i].mod_op = LDAP_MOD_ADD;
        mods[i].mod_type = const_cast<char*>(attributes[i].first.c_str());
        mods[i].mod_values = values.data();
        modPointers.push_back(&mods[i]);
    }
    modPointers.push_back(nullptr);
    return ldap_add_ext_s(handle, dn.c_str(), modPointers.data(), nullptr, nullptr);
}

} // namespace

// One directory object as the interfaces on it see it.
struct LdapDirectoryService::Binding {
    AdsProvider provider = AdsProvider::Ldap;
    std::u16string server; // as bound; the ADsPaths of search rows carry it
    std::shared_ptr<LdapConnection> connection;
    std::string dn;           // the object (the domain root for WinNT://domain)
    bool winNtDomain = false; // WinNT://domain: the domain's accounts
    std::uint32_t pageSize = 0;
    // A created object that SetInfo has not committed yet.
    bool pending = false;
    std::string className;
    std::string component;      // LDAP: "CN=name" as given
    std::u16string accountName; // WinNT: the computer's name
};

struct LdapDirectoryService::Search {
    DirectoryInterface owner = platform::kNoDirectoryInterface;
    std::shared_ptr<Binding> binding;
    std::string filter;
    std::vector<std::string> wireAttributes; // what the server is asked for
    std::vector<std::u16string> requested;   // what the caller may read
    bool allAttributes = false;
    std::uint32_t pageSize = 0;
    std::string cookie;
    bool lastPage = false;
    LDAPMessage* page = nullptr;
    LDAPMessage* entry = nullptr;
    bool started = false;

    ~Search() { ldap_msgfree(page); }
};

LdapDirectoryService::LdapDirectoryService(LdapDirectoryConfig config)
    : config_(std::move(config)) {}

LdapDirectoryService::~LdapDirectoryService() = default;

LdapDirectoryService::Usage LdapDirectoryService::CurrentUsage() const {
    std::lock_guard lock(mutex_);
    Usage usage;
    for (const auto& entry : interfaces_) {
        usage.liveInterfaces += entry.second.references;
    }
    usage.openSearches = searches_.size();
    usage.heldColumns = columns_.size();
    usage.pagesFetched = pagesFetched_;
    return usage;
}

DirectoryInterface LdapDirectoryService::AddInterface(DirectoryInterfaceKind kind,
                                                      std::shared_ptr<Binding> binding) {
    const DirectoryInterface value = kInterfaceBase + (nextInterface_++ << 4);
    interfaces_.emplace(value, Interface{kind, std::move(binding), 1});
    return value;
}

LdapDirectoryService::Interface* LdapDirectoryService::Use(DirectoryInterface object,
                                                           DirectoryInterfaceKind kind) {
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end() || it->second.kind != kind) {
        return nullptr;
    }
    return &it->second;
}

LdapDirectoryService::Search* LdapDirectoryService::UseSearch(DirectoryInterface search,
                                                              DirectorySearchHandle handle) {
    if (Use(search, DirectoryInterfaceKind::DirectorySearch) == nullptr) {
        return nullptr;
    }
    const auto it = searches_.find(handle);
    if (it == searches_.end() || it->second->owner != search) {
        return nullptr;
    }
    return it->second.get();
}

// --- COM

HResult LdapDirectoryService::CoInitialize() {
    std::lock_guard lock(mutex_);
    const std::size_t depth = ++apartments_[std::this_thread::get_id()];
    return depth == 1 ? hresult::kOk : hresult::kFalse;
}

void LdapDirectoryService::CoUninitialize() {
    std::lock_guard lock(mutex_);
    const auto it = apartments_.find(std::this_thread::get_id());
    if (it != apartments_.end() && --it->second == 0) {
        apartments_.erase(it);
    }
}

// --- Binding

bool LdapDirectoryService::NamesThisDomain(std::u16string_view server, bool netbiosToo) const {
    const std::u16string_view host = sim::ServerHost(server);
    return sim::EqualsNoCase(host, config_.dnsName) ||
           (netbiosToo && !config_.netbiosName.empty() &&
            sim::EqualsNoCase(host, config_.netbiosName));
}

HResult LdapDirectoryService::Bind(const char16_t* path, const char16_t* user,
                                   const char16_t* password, DirectoryInterfaceKind kind,
                                   std::shared_ptr<Binding>& binding) {
    const std::optional<sim::AdsPath> parsed = sim::ParseAdsPath(sim::View(path));
    if (!parsed) {
        return hresult::kBadPathName;
    }
    const bool ldapPath = parsed->provider == AdsProvider::Ldap;
    // Serverless LDAP paths name the domain the computer is a member of:
    // the one this service talks to.
    if (!(ldapPath && parsed->server.empty()) && !NamesThisDomain(parsed->server, !ldapPath)) {
        return hresult::FromWin32(ldapPath ? kServerDown : platform::error::kNoSuchDomain);
    }
    if (!ldapPath && (kind == DirectoryInterfaceKind::DirectorySearch ||
                      (kind == DirectoryInterfaceKind::Container && !parsed->object.empty()))) {
        return hresult::kNoInterface;
    }
    auto bound = std::make_shared<Binding>();
    bound->provider = parsed->provider;
    bound->server = parsed->server;
    if (const HResult opened = LdapConnection::Open(config_, user, password, bound->connection);
        hresult::Failed(opened)) {
        return opened;
    }
    const LdapConnection& connection = *bound->connection;
    if (ldapPath) {
        bound->dn = parsed->object.empty() ? connection.RootDn() : DnFromPath(parsed->object);
    } else if (parsed->object.empty()) {
        bound->dn = connection.RootDn();
        bound->winNtDomain = true;
    } else {
        // WinNT://domain/NAME: the computer account NAME$.
        std::vector<std::string> found;
        LDAPMessage* result = nullptr;
        const std::string filter =
            "(&(objectCategory=computer)(sAMAccountName=" + FilterValue(ToUtf8(parsed->object)) +
            "$))";
        char noAttributes[] = "1.1";
        char* attributes[] = {noAttributes, nullptr};
        const int searched =
            ldap_search_ext_s(connection.Handle(), connection.RootDn().c_str(), LDAP_SCOPE_SUBTREE,
                              filter.c_str(), attributes, 0, nullptr, nullptr, nullptr, 1, &result);
        LDAPMessage* entry = searched == LDAP_SUCCESS || searched == LDAP_SIZELIMIT_EXCEEDED
                                 ? ldap_first_entry(connection.Handle(), result)
                                 : nullptr;
        if (entry != nullptr) {
            char* dn = ldap_get_dn(connection.Handle(), entry);
            bound->dn = dn == nullptr ? std::string() : std::string(dn);
            ldap_memfree(dn);
        }
        ldap_msgfree(result);
        if (bound->dn.empty()) {
            return hresult::FromWin32(kUserNotFound);
        }
    }
    // ADSI reads the object it binds: a missing object fails the bind.
    if (const HResult read = connection.ReadBase(bound->dn); hresult::Failed(read)) {
        return read;
    }
    binding = std::move(bound);
    return hresult::kOk;
}

HResult LdapDirectoryService::OpenObject(const char16_t* path, const char16_t* user,
                                         const char16_t* password, std::uint32_t /*flags*/,
                                         DirectoryInterfaceKind kind, DirectoryInterface* object) {
    if (object == nullptr) {
        return hresult::kPointer;
    }
    *object = platform::kNoDirectoryInterface;
    {
        std::lock_guard lock(mutex_);
        if (apartments_.find(std::this_thread::get_id()) == apartments_.end()) {
            return hresult::kNotInitialized;
        }
    }
    if (path == nullptr) {
        return hresult::kPointer;
    }
    // The network round trips run outside the lock.
    std::shared_ptr<Binding> binding;
    const HResult status = Bind(path, user, password, kind, binding);
    if (status == hresult::kOk) {
        std::lock_guard lock(mutex_);
        *object = AddInterface(kind, std::move(binding));
    }
    return status;
}

// --- IUnknown

HResult LdapDirectoryService::QueryInterface(DirectoryInterface object, DirectoryInterfaceKind kind,
                                             DirectoryInterface* result) {
    std::lock_guard lock(mutex_);
    if (result == nullptr) {
        return hresult::kPointer;
    }
    *result = platform::kNoDirectoryInterface;
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end()) {
        return hresult::kPointer;
    }
    const Binding& binding = *it->second.binding;
    bool supported = true;
    if (kind == DirectoryInterfaceKind::DirectorySearch) {
        supported = binding.provider == AdsProvider::Ldap && !binding.pending;
    } else if (kind == DirectoryInterfaceKind::Container) {
        supported =
            !binding.pending && (binding.provider == AdsProvider::Ldap || binding.winNtDomain);
    }
    if (!supported) {
        return hresult::kNoInterface;
    }
    *result = AddInterface(kind, it->second.binding);
    return hresult::kOk;
}

std::uint32_t LdapDirectoryService::Release(DirectoryInterface object) {
    std::lock_guard lock(mutex_);
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end()) {
        return 0;
    }
    const std::uint32_t left = --it->second.references;
    if (left == 0) {
        interfaces_.erase(it);
    }
    return left;
}

// --- IDirectorySearch

HResult
LdapDirectoryService::SetSearchPreference(DirectoryInterface search,
                                          const platform::DirectorySearchPreference* preferences,
                                          std::uint32_t count) {
    std::lock_guard lock(mutex_);
    Interface* entry = Use(search, DirectoryInterfaceKind::DirectorySearch);
    if (entry == nullptr || (preferences == nullptr && count != 0)) {
        return hresult::kPointer;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (preferences[i].preference != platform::kAdsSearchPrefPageSize) {
            continue;
        }
        if (preferences[i].valueType != platform::kAdsTypeInteger) {
            return hresult::kBadParameter;
        }
        entry->binding->pageSize = preferences[i].integer;
    }
    return hresult::kOk;
}

HResult LdapDirectoryService::FetchPage(Search& search) {
    const LdapConnection& connection = *search.binding->connection;
    ::ldap* handle = connection.Handle();
    ldap_msgfree(search.page);
    search.page = nullptr;
    search.entry = nullptr;
    search.started = false;

    std::vector<char*> attributes;
    for (const std::string& name : search.wireAttributes) {
        attributes.push_back(const_cast<char*>(name.c_str()));
    }
    attributes.push_back(nullptr);
    LDAPControl* paging = nullptr;
    if (search.pageSize != 0) {
        berval cookie{static_cast<ber_len_t>(search.cookie.size()), search.cookie.data()};
        const int made =
            ldap_create_page_control(handle, static_cast<ber_int_t>(search.pageSize),
                                     search.cookie.empty() ? nullptr : &cookie, 0, &paging);
        if (made != LDAP_SUCCESS) {
            return connection.Status(made);
        }
    }
    LDAPControl* serverControls[] = {paging, nullptr};
    const int searched = ldap_search_ext_s(
        handle, search.binding->dn.c_str(), LDAP_SCOPE_SUBTREE, search.filter.c_str(),
        search.allAttributes ? nullptr : attributes.data(), 0,
        paging == nullptr ? nullptr : serverControls, nullptr, nullptr, 0, &search.page);
    if (paging != nullptr) {
        ldap_control_free(paging);
    }
    // A search that is not paged ends at the server's size limit with the
    // rows it got, as ADSI's does.
    if (searched != LDAP_SUCCESS && searched != LDAP_SIZELIMIT_EXCEEDED) {
        ldap_msgfree(search.page);
        search.page = nullptr;
        return connection.Status(searched);
    }
    ++pagesFetched_;
    search.lastPage = true;
    search.cookie.clear();
    LDAPControl** controls = nullptr;
    if (search.pageSize != 0 && ldap_parse_result(handle, search.page, nullptr, nullptr, nullptr,
                                                  nullptr, &controls, 0) == LDAP_SUCCESS) {
        if (LDAPControl* response =
                ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, controls, nullptr)) {
            ber_int_t estimate = 0;
            berval cookie{0, nullptr};
            if (ldap_parse_pageresponse_control(handle, response, &estimate, &cookie) ==
                LDAP_SUCCESS) {
                if (cookie.bv_len != 0) {
                    search.cookie.assign(cookie.bv_val, cookie.bv_len);
                    search.lastPage = false;
                }
                ber_memfree(cookie.bv_val);
            }
        }
        ldap_controls_free(controls);
    }
    return hresult::kOk;
}

HResult LdapDirectoryService::ExecuteSearch(DirectoryInterface search, const char16_t* filter,
                                            const char16_t* const* attributes, std::uint32_t count,
                                            DirectorySearchHandle* handle) {
    std::lock_guard lock(mutex_);
    if (handle == nullptr) {
        return hresult::kPointer;
    }
    *handle = platform::kNoDirectorySearch;
    Interface* entry = Use(search, DirectoryInterfaceKind::DirectorySearch);
    if (entry == nullptr || filter == nullptr ||
        (attributes == nullptr && count != 0 && count != kAllAttributes)) {
        return hresult::kPointer;
    }
    auto running = std::make_unique<Search>();
    running->owner = search;
    running->binding = entry->binding;
    running->filter = ToUtf8(sim::View(filter));
    running->pageSize = entry->binding->pageSize;
    running->allAttributes = count == kAllAttributes;
    for (std::uint32_t i = 0; !running->allAttributes && i < count; ++i) {
        const std::u16string_view name = sim::View(attributes[i]);
        running->requested.emplace_back(name);
        // ADsPath is made here from the row's DN; the server has no such
        // attribute.
        if (!sim::EqualsNoCase(name, u"ADsPath")) {
            running->wireAttributes.push_back(ToUtf8(name));
        }
    }
    if (!running->allAttributes && running->wireAttributes.empty()) {
        running->wireAttributes.emplace_back("1.1"); // no attributes
    }
    // The first page is asked for now, so that a filter the server refuses
    // or a base that is gone fails the search itself.
    if (const HResult fetched = FetchPage(*running); hresult::Failed(fetched)) {
        return fetched;
    }
    const DirectorySearchHandle value = kSearchBase + (nextSearch_++ << 4);
    searches_.emplace(value, std::move(running));
    *handle = value;
    return hresult::kOk;
}

HResult LdapDirectoryService::GetNextRow(DirectoryInterface search, DirectorySearchHandle handle) {
    std::lock_guard lock(mutex_);
    Search* running = UseSearch(search, handle);
    if (running == nullptr) {
        return hresult::kBadParameter;
    }
    ::ldap* connection = running->binding->connection->Handle();
    for (;;) {
        if (running->page != nullptr) {
            running->entry = running->started ? ldap_next_entry(connection, running->entry)
                                              : ldap_first_entry(connection, running->page);
            running->started = true;
            if (running->entry != nullptr) {
                return hresult::kOk;
            }
        }
        if (running->lastPage) {
            // The walk stays at its end: the page is no longer needed.
            ldap_msgfree(running->page);
            running->page = nullptr;
            return hresult::kNoMoreRows;
        }
        if (const HResult fetched = FetchPage(*running); hresult::Failed(fetched)) {
            running->lastPage = true;
            return fetched;
        }
    }
}

HResult LdapDirectoryService::GetColumn(DirectoryInterface search, DirectorySearchHandle handle,
                                        const char16_t* name,
                                        platform::DirectorySearchColumn* column) {
    std::lock_guard lock(mutex_);
    if (column == nullptr || name == nullptr) {
        return hresult::kPointer;
    }
    *column = {};
    Search* running = UseSearch(search, handle);
    if (running == nullptr) {
        return hresult::kBadParameter;
    }
    if (running->entry == nullptr) {
        return hresult::kColumnNotSet;
    }
    const std::u16string_view attribute = sim::View(name);
    const bool requested =
        running->allAttributes || std::any_of(running->requested.begin(), running->requested.end(),
                                              [&](const std::u16string& wanted) {
                                                  return sim::EqualsNoCase(wanted, attribute);
                                              });
    if (!requested) {
        return hresult::kColumnNotSet;
    }
    ::ldap* connection = running->binding->connection->Handle();
    std::u16string first;
    std::uint32_t valueCount = 0;
    if (sim::EqualsNoCase(attribute, u"ADsPath")) {
        char* dn = ldap_get_dn(connection, running->entry);
        if (dn == nullptr) {
            return hresult::kColumnNotSet;
        }
        first = sim::FormatLdapPath(running->binding->server, FromUtf8(dn));
        ldap_memfree(dn);
        valueCount = 1;
    } else {
        const std::string wire = ToUtf8(attribute);
        berval** values = ldap_get_values_len(connection, running->entry, wire.c_str());
        if (values == nullptr) {
            return hresult::kColumnNotSet;
        }
        valueCount = static_cast<std::uint32_t>(ldap_count_values_len(values));
        if (valueCount != 0) {
            first = FromUtf8(std::string_view(values[0]->bv_val, values[0]->bv_len));
        }
        ldap_value_free_len(values);
        if (valueCount == 0) {
            return hresult::kColumnNotSet;
        }
    }
    const std::uintptr_t token = nextColumn_++;
    auto text = std::make_unique<std::u16string>(std::move(first));
    column->text = text->c_str();
    column->valueCount = valueCount;
    column->token = token;
    columns_.emplace(token, std::move(text));
    return hresult::kOk;
}

HResult LdapDirectoryService::FreeColumn(DirectoryInterface search,
                                         platform::DirectorySearchColumn* column) {
    std::lock_guard lock(mutex_);
    if (column == nullptr || Use(search, DirectoryInterfaceKind::DirectorySearch) == nullptr) {
        return hresult::kPointer;
    }
    if (columns_.erase(column->token) == 0) {
        return hresult::kBadParameter;
    }
    *column = {};
    return hresult::kOk;
}

HResult LdapDirectoryService::CloseSearchHandle(DirectoryInterface search,
                                                DirectorySearchHandle handle) {
    std::lock_guard lock(mutex_);
    if (UseSearch(search, handle) == nullptr) {
        return hresult::kBadParameter;
    }
    searches_.erase(handle);
    return hresult::kOk;
}

// --- IADsContainer

HResult LdapDirectoryService::MoveHere(DirectoryInterface container, const char16_t* sourcePath,
                                       const char16_t* newName, DirectoryInterface* moved) {
    std::lock_guard lock(mutex_);
    if (moved != nullptr) {
        *moved = platform::kNoDirectoryInterface;
    }
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr || sourcePath == nullptr) {
        return hresult::kPointer;
    }
    const std::shared_ptr<Binding> target = entry->binding;
    if (target->provider != AdsProvider::Ldap) {
        return hresult::kNotImplemented;
    }
    const std::optional<sim::AdsPath> source = sim::ParseAdsPath(sim::View(sourcePath));
    if (!source || source->provider != AdsProvider::Ldap || source->object.empty()) {
        return hresult::kBadPathName;
    }
    if (!source->server.empty() && !NamesThisDomain(source->server, false)) {
        // Across domains a move takes the cross-domain move tool.
        return hresult::FromWin32(kUnwilling);
    }
    const std::string sourceDn = DnFromPath(source->object);
    const bool renaming = newName != nullptr && *newName != u'\0';
    const std::string component = renaming ? ToUtf8(sim::View(newName)) : LeafComponent(sourceDn);
    const LdapConnection& connection = *target->connection;
    const int renamed = ldap_rename_s(connection.Handle(), sourceDn.c_str(), component.c_str(),
                                      target->dn.c_str(), 1, nullptr, nullptr);
    if (renamed != LDAP_SUCCESS) {
        return connection.Status(renamed);
    }
    if (moved != nullptr) {
        auto binding = std::make_shared<Binding>();
        binding->provider = AdsProvider::Ldap;
        binding->server = target->server;
        binding->connection = target->connection;
        binding->dn = component + "," + target->dn;
        *moved = AddInterface(DirectoryInterfaceKind::Dispatch, std::move(binding));
    }
    return hresult::kOk;
}

HResult LdapDirectoryService::Create(DirectoryInterface container, const char* className,
                                     const char16_t* relativeName, DirectoryInterface* created) {
    std::lock_guard lock(mutex_);
    if (created == nullptr) {
        return hresult::kPointer;
    }
    *created = platform::kNoDirectoryInterface;
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr || className == nullptr || relativeName == nullptr) {
        return hresult::kPointer;
    }
    const std::shared_ptr<Binding> parent = entry->binding;
    auto binding = std::make_shared<Binding>(*parent);
    binding->pending = true;
    binding->winNtDomain = false;
    binding->className = sim::Utf16ToUtf8(sim::Cp1252ToUtf16(className));
    if (parent->provider == AdsProvider::WinNt) {
        if (!sim::EqualsNoCase(sim::Cp1252ToUtf16(className), u"computer")) {
            return hresult::kUnknownObject;
        }
        binding->accountName = relativeName;
    } else {
        binding->component = ToUtf8(relativeName);
        if (binding->component.find('=') == std::string::npos) {
            return hresult::FromWin32(8242); // ERROR_DS_INVALID_DN_SYNTAX
        }
    }
    *created = AddInterface(DirectoryInterfaceKind::Dispatch, std::move(binding));
    return hresult::kOk;
}

HResult LdapDirectoryService::Delete(DirectoryInterface container, const char* className,
                                     const char16_t* relativeName) {
    std::lock_guard lock(mutex_);
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr || className == nullptr || relativeName == nullptr) {
        return hresult::kPointer;
    }
    const Binding& parent = *entry->binding;
    const LdapConnection& connection = *parent.connection;
    const std::string objectClass = sim::Utf16ToUtf8(sim::Cp1252ToUtf16(className));
    std::string victim;
    LDAPControl* controls[] = {nullptr, nullptr};
    LDAPControl treeDelete{const_cast<char*>(kTreeDeleteControl), {0, nullptr}, 1};
    if (parent.provider == AdsProvider::WinNt) {
        if (!sim::EqualsNoCase(sim::Cp1252ToUtf16(className), u"computer")) {
            return hresult::kUnknownObject;
        }
        LDAPMessage* result = nullptr;
        const std::string filter =
            "(&(objectCategory=computer)(sAMAccountName=" + FilterValue(ToUtf8(relativeName)) +
            "$))";
        char noAttributes[] = "1.1";
        char* attributes[] = {noAttributes, nullptr};
        const int searched =
            ldap_search_ext_s(connection.Handle(), connection.RootDn().c_str(), LDAP_SCOPE_SUBTREE,
                              filter.c_str(), attributes, 0, nullptr, nullptr, nullptr, 1, &result);
        if (searched != LDAP_SUCCESS && searched != LDAP_SIZELIMIT_EXCEEDED) {
            ldap_msgfree(result);
            return connection.Status(searched);
        }
        if (LDAPMessage* found = ldap_first_entry(connection.Handle(), result)) {
            char* dn = ldap_get_dn(connection.Handle(), found);
            victim = dn == nullptr ? std::string() : std::string(dn);
            ldap_memfree(dn);
        }
        ldap_msgfree(result);
        if (victim.empty()) {
            return hresult::FromWin32(kUserNotFound);
        }
        // The WinNT provider removes an account with what hangs below it.
        controls[0] = &treeDelete;
    } else {
        victim = ToUtf8(relativeName) + "," + parent.dn;
        std::vector<std::string> classes;
        if (const HResult read = connection.ReadValues(victim, "objectClass", classes);
            hresult::Failed(read)) {
            return read;
        }
        if (!ContainsNoCase(classes, objectClass)) {
            return hresult::FromWin32(kNoSuchObject);
        }
    }
    const int removed = ldap_delete_ext_s(connection.Handle(), victim.c_str(),
                                          controls[0] == nullptr ? nullptr : controls, nullptr);
    return removed == LDAP_SUCCESS ? hresult::kOk : connection.Status(removed);
}

// --- IADs

HResult LdapDirectoryService::Commit(Binding& binding) {
    const LdapConnection& connection = *binding.connection;
    std::string dn;
    std::vector<std::pair<std::string, std::vector<std::string>>> attributes;
    if (binding.provider == AdsProvider::WinNt) {
        if (!IsValidAccountName(binding.accountName)) {
            return hresult::FromWin32(kInvalidName);
        }
        // Where the domain puts new computer accounts: its well-known
        // computer container, which an administrator may have redirected.
        std::string container = "CN=Computers," + connection.RootDn();
        std::vector<std::string> wellKnown;
        if (!hresult::Failed(
                connection.ReadValues(connection.RootDn(), "wellKnownObjects", wellKnown))) {
            for (const std::string& value : wellKnown) {
                if (value.size() > kComputersContainerGuid.size() &&
                    EqualsIgnoringAsciiCase(
                        FromUtf8(std::string_view(value).substr(0, kComputersContainerGuid.size())),
                        FromUtf8(kComputersContainerGuid))) {
                    container = value.substr(kComputersContainerGuid.size());
                }
            }
        }
        const std::string name = ToUtf8(binding.accountName);
        dn = "CN=" + ToUtf8(sim::EscapeDnValue(binding.accountName)) + "," + container;
        attributes = {{"objectClass", {"computer"}},
                      {"sAMAccountName", {name + "$"}},
                      {"userAccountControl", {kWorkstationAccountControl}}};
    } else {
        dn = binding.component + "," + binding.dn;
        attributes = {{"objectClass", {binding.className}}};
        if (EqualsIgnoringAsciiCase(FromUtf8(binding.className), u"computer")) {
            std::vector<sim::RelativeName> components;
            if (sim::ParseDistinguishedName(FromUtf8(binding.component), components) &&
                components.size() == 1) {
                attributes.push_back({"sAMAccountName", {ToUtf8(components[0].value) + "$"}});
            }
        }
    }
    const int added = AddEntry(connection.Handle(), dn, attributes);
    if (added == LDAP_ALREADY_EXISTS && binding.provider == AdsProvider::WinNt) {
        return hresult::FromWin32(kUserExists);
    }
    if (added != LDAP_SUCCESS) {
        return connection.Status(added);
    }
    binding.dn = dn;
    binding.pending = false;
    return hresult::kOk;
}

HResult LdapDirectoryService::SetInfo(DirectoryInterface object) {
    std::lock_guard lock(mutex_);
    Interface* entry = Use(object, DirectoryInterfaceKind::Ads);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    Binding& binding = *entry->binding;
    if (!binding.pending) {
        // Nothing changed on a bound object: nothing to write.
        return hresult::Failed(binding.connection->ReadBase(binding.dn)) ? kObjectUnbound
                                                                         : hresult::kOk;
    }
    return Commit(binding);
}

} // namespace corvane::ldap
