// ADSI over the directories of the world's domains.
//
// A bind resolves the path's server (LDAP) or domain (WinNT) against the
// world's domains, checks the credentials as the domain's directory binds do
// and hands out an interface on the object. Interfaces obtained from one
// another (QueryInterface) share the object. Created objects exist only in
// the interface until SetInfo commits them, as with the real providers.
#include "platform/sim/directory/directory_service.h"

#include "platform/sim/directory/ads_path.h"
#include "platform/sim/directory/directory_attributes.h"
#include "platform/sim/directory/ldap_filter.h"
#include "platform/sim/text.h"

#include <algorithm>
#include <mutex>

namespace corvane::sim {

using platform::DirectoryInterface;
using platform::DirectoryInterfaceKind;
using platform::DirectorySearchHandle;
using platform::HResult;
namespace hresult = platform::hresult;

namespace {

constexpr platform::ErrorCode kInvalidName = 123;                     // ERROR_INVALID_NAME
constexpr platform::ErrorCode kUserNotFound = 2221;                   // NERR_UserNotFound
constexpr platform::ErrorCode kUserExists = 2224;                     // NERR_UserExists
constexpr platform::ErrorCode kServerDown = 8250;                     // ERROR_DS_SERVER_DOWN
constexpr platform::ErrorCode kFilterUnknown = 8254;                  // ERROR_DS_FILTER_UNKNOWN
constexpr HResult kObjectUnbound = static_cast<HResult>(0x80005009u); // E_ADS_OBJECT_UNBOUND
constexpr std::uint32_t kAllAttributes = 0xFFFFFFFFu;

constexpr std::uintptr_t kInterfaceBase = 0x10000000u;
constexpr std::uintptr_t kSearchBase = 0x30000000u;

HResult FromWin32(platform::ErrorCode code) {
    return hresult::FromWin32(code);
}

std::string_view KindName(DirectoryInterfaceKind kind) {
    switch (kind) {
    case DirectoryInterfaceKind::DirectorySearch:
        return "IDirectorySearch";
    case DirectoryInterfaceKind::Container:
        return "IADsContainer";
    case DirectoryInterfaceKind::Ads:
        return "IADs";
    case DirectoryInterfaceKind::Dispatch:
        return "IDispatch";
    }
    return "?";
}

std::u16string KindText(DirectoryInterfaceKind kind) {
    return Widen(KindName(kind));
}

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

bool IsCreatableClass(std::u16string_view objectClass) {
    return EqualsNoCase(objectClass, directory_class::kComputer) ||
           EqualsNoCase(objectClass, directory_class::kOrganizationalUnit) ||
           EqualsNoCase(objectClass, directory_class::kContainer);
}

// One component "CN=name" of a relative name.
bool ParseRelativeName(std::u16string_view text, RelativeName& component) {
    std::vector<RelativeName> components;
    if (!ParseDistinguishedName(text, components) || components.size() != 1) {
        return false;
    }
    component = std::move(components.front());
    return true;
}

} // namespace

// One directory object as the interfaces on it see it.
struct SimDirectoryService::Binding {
    AdsProvider provider = AdsProvider::Ldap;
    Domain* domain = nullptr;
    std::u16string server; // as bound; the ADsPaths of search rows carry it
    ObjectId object = kNoObject;
    bool mayChange = false;
    // A created object that SetInfo has not committed yet.
    bool pending = false;
    ObjectId parent = kNoObject;
    std::u16string objectClass;
    std::u16string name;
    std::u16string rdnType;
    // The page size preference of a search interface (0: not paged).
    std::uint32_t pageSize = 0;
};

struct SimDirectoryService::Search {
    DirectoryInterface owner = platform::kNoDirectoryInterface;
    std::shared_ptr<Binding> binding;
    std::vector<ObjectId> matches;
    std::size_t nextMatch = 0;
    std::size_t delivered = 0;
    std::uint32_t pageSize = 0;
    // The rows of the current page: object and its ADsPath when fetched.
    std::vector<std::pair<ObjectId, std::u16string>> page;
    std::size_t row = 0;
    bool onRow = false;
    bool allAttributes = false;
    std::vector<std::u16string> attributes;
};

SimDirectoryService::SimDirectoryService(State& state) : state_(state) {}

SimDirectoryService::~SimDirectoryService() = default;

SimDirectoryService::Usage SimDirectoryService::CurrentUsage() const {
    Usage usage;
    for (const auto& entry : interfaces_) {
        usage.liveInterfaces += entry.second.references;
    }
    for (const auto& entry : apartments_) {
        usage.openComBrackets += entry.second;
    }
    usage.openSearches = searches_.size();
    usage.heldColumns = columns_.size();
    usage.invalidCalls = invalidCalls_;
    usage.pagesFetched = pagesFetched_;
    return usage;
}

DirectoryInterface SimDirectoryService::AddInterface(DirectoryInterfaceKind kind,
                                                     std::shared_ptr<Binding> binding) {
    const DirectoryInterface value = kInterfaceBase + (nextInterface_++ << 4);
    interfaces_.emplace(value, Interface{kind, std::move(binding), 1});
    return value;
}

SimDirectoryService::Interface* SimDirectoryService::Use(DirectoryInterface object,
                                                         DirectoryInterfaceKind kind) {
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end() || it->second.kind != kind) {
        ++invalidCalls_;
        return nullptr;
    }
    return &it->second;
}

SimDirectoryService::Search* SimDirectoryService::UseSearch(DirectoryInterface search,
                                                            DirectorySearchHandle handle) {
    if (Use(search, DirectoryInterfaceKind::DirectorySearch) == nullptr) {
        return nullptr;
    }
    const auto it = searches_.find(handle);
    if (it == searches_.end() || it->second->owner != search) {
        ++invalidCalls_;
        return nullptr;
    }
    return it->second.get();
}

// --- COM

HResult SimDirectoryService::CoInitialize() {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("CoInitialize")) {
        const auto status = static_cast<HResult>(*code);
        state_.Record("CoInitialize", {}, *code, true);
        if (hresult::Failed(status)) {
            return status;
        }
        ++apartments_[std::this_thread::get_id()];
        return status;
    }
    const std::size_t depth = ++apartments_[std::this_thread::get_id()];
    return depth == 1 ? hresult::kOk : hresult::kFalse;
}

void SimDirectoryService::CoUninitialize() {
    std::lock_guard lock(state_.mutex);
    const auto it = apartments_.find(std::this_thread::get_id());
    if (it == apartments_.end()) {
        ++invalidCalls_;
        return;
    }
    if (--it->second == 0) {
        apartments_.erase(it);
    }
}

// --- Binding

Domain* SimDirectoryService::ServerDomain(std::u16string_view server) {
    if (server.empty()) {
        // Serverless: the domain this computer is a member of.
        if (state_.join.status != platform::JoinStatus::Domain) {
            return nullptr;
        }
        return state_.FindDomain(state_.join.name);
    }
    return state_.FindDomain(ServerHost(server));
}

std::u16string SimDirectoryService::ObjectPath(const Binding& binding) const {
    const DirectoryTree& tree = binding.domain->Directory();
    if (binding.provider == AdsProvider::WinNt) {
        std::u16string path(u"WinNT://");
        path += binding.server;
        if (binding.pending || binding.object != tree.Root()) {
            path.push_back(u'/');
            path += binding.pending ? std::u16string_view(binding.name) : tree.Name(binding.object);
        }
        return path;
    }
    if (binding.pending) {
        std::u16string dn(binding.rdnType);
        dn.push_back(u'=');
        dn += EscapeDnValue(binding.name);
        dn.push_back(u',');
        dn += tree.DistinguishedName(binding.parent);
        return FormatLdapPath(binding.server, dn);
    }
    return FormatLdapPath(binding.server, tree.DistinguishedName(binding.object));
}

HResult SimDirectoryService::Bind(const char16_t* path, const char16_t* user,
                                  const char16_t* password, DirectoryInterfaceKind kind,
                                  std::shared_ptr<Binding>& binding) {
    const std::optional<AdsPath> parsed = ParseAdsPath(View(path));
    if (!parsed) {
        return hresult::kBadPathName;
    }
    auto bound = std::make_shared<Binding>();
    bound->provider = parsed->provider;
    bound->server = parsed->server;
    Domain* domain = ServerDomain(parsed->server);
    if (domain == nullptr || !domain->Reachable()) {
        return FromWin32(parsed->provider == AdsProvider::Ldap ? kServerDown
                                                               : platform::error::kNoSuchDomain);
    }
    if (const platform::ErrorCode refused =
            domain->CheckCredentials(DomainOperation::Directory, user, password)) {
        return FromWin32(refused);
    }
    bound->domain = domain;
    bound->mayChange = domain->MayChangeDirectory(user, password);
    const DirectoryTree& tree = domain->Directory();
    if (parsed->provider == AdsProvider::Ldap) {
        if (parsed->object.empty()) {
            bound->object = tree.Root();
        } else {
            std::vector<RelativeName> components;
            if (!ParseDistinguishedName(parsed->object, components)) {
                return FromWin32(directory_error::kInvalidDnSyntax);
            }
            bound->object = tree.Find(parsed->object);
            if (bound->object == kNoObject) {
                return FromWin32(directory_error::kNoSuchObject);
            }
        }
    } else {
        bound->object = parsed->object.empty() ? tree.Root() : domain->FindComputer(parsed->object);
        if (bound->object == kNoObject) {
            return FromWin32(kUserNotFound);
        }
        // A WinNT computer is no container and no provider of searches.
        const bool isDomain = bound->object == tree.Root();
        if (kind == DirectoryInterfaceKind::DirectorySearch ||
            (kind == DirectoryInterfaceKind::Container && !isDomain)) {
            return hresult::kNoInterface;
        }
    }
    binding = std::move(bound);
    return hresult::kOk;
}

HResult SimDirectoryService::OpenObject(const char16_t* path, const char16_t* user,
                                        const char16_t* password, std::uint32_t flags,
                                        DirectoryInterfaceKind kind, DirectoryInterface* object) {
    std::lock_guard lock(state_.mutex);
    if (object == nullptr) {
        return hresult::kPointer;
    }
    *object = platform::kNoDirectoryInterface;
    std::vector<std::string> arguments = {JournalText(path), JournalText(user),
                                          JournalSecret(password), Hex(flags),
                                          std::string(KindName(kind))};
    if (auto code = state_.Fail("ADsOpenObject", View(path))) {
        state_.Record("ADsOpenObject", std::move(arguments), *code, true);
        return static_cast<HResult>(*code);
    }
    HResult status = hresult::kOk;
    std::shared_ptr<Binding> binding;
    if (apartments_.find(std::this_thread::get_id()) == apartments_.end()) {
        status = hresult::kNotInitialized;
    } else if (path == nullptr) {
        status = hresult::kPointer;
    } else {
        status = Bind(path, user, password, kind, binding);
    }
    if (status == hresult::kOk) {
        *object = AddInterface(kind, std::move(binding));
    }
    state_.Record("ADsOpenObject", std::move(arguments), static_cast<platform::ErrorCode>(status));
    return status;
}

// --- IUnknown

HResult SimDirectoryService::QueryInterface(DirectoryInterface object, DirectoryInterfaceKind kind,
                                            DirectoryInterface* result) {
    std::lock_guard lock(state_.mutex);
    if (result == nullptr) {
        return hresult::kPointer;
    }
    *result = platform::kNoDirectoryInterface;
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end()) {
        ++invalidCalls_;
        return hresult::kPointer;
    }
    if (auto code = state_.Fail("QueryInterface", KindText(kind))) {
        state_.Record("QueryInterface", {std::string(KindName(kind))}, *code, true);
        return static_cast<HResult>(*code);
    }
    const Binding& binding = *it->second.binding;
    bool supported = true;
    if (kind == DirectoryInterfaceKind::DirectorySearch) {
        supported = binding.provider == AdsProvider::Ldap && !binding.pending;
    } else if (kind == DirectoryInterfaceKind::Container) {
        supported = !binding.pending && (binding.provider == AdsProvider::Ldap ||
                                         binding.object == binding.domain->Directory().Root());
    }
    if (!supported) {
        return hresult::kNoInterface;
    }
    *result = AddInterface(kind, it->second.binding);
    return hresult::kOk;
}

std::uint32_t SimDirectoryService::Release(DirectoryInterface object) {
    std::lock_guard lock(state_.mutex);
    const auto it = interfaces_.find(object);
    if (it == interfaces_.end()) {
        ++invalidCalls_;
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
SimDirectoryService::SetSearchPreference(DirectoryInterface search,
                                         const platform::DirectorySearchPreference* preferences,
                                         std::uint32_t count) {
    std::lock_guard lock(state_.mutex);
    Interface* entry = Use(search, DirectoryInterfaceKind::DirectorySearch);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    if (preferences == nullptr && count != 0) {
        return hresult::kPointer;
    }
    if (auto code = state_.Fail("SetSearchPreference")) {
        state_.Record("SetSearchPreference", {Decimal(count)}, *code, true);
        return static_cast<HResult>(*code);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (preferences[i].preference != platform::kAdsSearchPrefPageSize) {
            continue; // the others do not change what the sim returns
        }
        if (preferences[i].valueType != platform::kAdsTypeInteger) {
            return hresult::kBadParameter;
        }
        entry->binding->pageSize = preferences[i].integer;
    }
    return hresult::kOk;
}

HResult SimDirectoryService::ExecuteSearch(DirectoryInterface search, const char16_t* filter,
                                           const char16_t* const* attributes, std::uint32_t count,
                                           DirectorySearchHandle* handle) {
    std::lock_guard lock(state_.mutex);
    if (handle == nullptr) {
        return hresult::kPointer;
    }
    *handle = platform::kNoDirectorySearch;
    Interface* entry = Use(search, DirectoryInterfaceKind::DirectorySearch);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    if (filter == nullptr || (attributes == nullptr && count != 0 && count != kAllAttributes)) {
        return hresult::kPointer;
    }
    std::string attributeList;
    if (count != kAllAttributes) {
        for (std::uint32_t i = 0; i < count; ++i) {
            if (i != 0) {
                attributeList.push_back(' ');
            }
            attributeList += JournalText(attributes[i]);
        }
    } else {
        attributeList = "*";
    }
    std::vector<std::string> arguments = {JournalText(filter), attributeList};
    if (auto code = state_.Fail("ExecuteSearch", View(filter))) {
        state_.Record("ExecuteSearch", std::move(arguments), *code, true);
        return static_cast<HResult>(*code);
    }
    const std::shared_ptr<Binding>& binding = entry->binding;
    const DirectoryTree& tree = binding->domain->Directory();
    const std::optional<LdapFilter> parsed = LdapFilter::Parse(View(filter));
    HResult status = hresult::kOk;
    if (!binding->domain->Reachable()) {
        status = FromWin32(kServerDown);
    } else if (!tree.Exists(binding->object)) {
        status = FromWin32(directory_error::kNoSuchObject);
    } else if (!parsed) {
        status = FromWin32(kFilterUnknown);
    }
    if (status != hresult::kOk) {
        state_.Record("ExecuteSearch", std::move(arguments),
                      static_cast<platform::ErrorCode>(status));
        return status;
    }

    auto running = std::make_unique<Search>();
    running->owner = search;
    running->binding = binding;
    running->pageSize = binding->pageSize;
    running->allAttributes = count == kAllAttributes;
    for (std::uint32_t i = 0; !running->allAttributes && i < count; ++i) {
        running->attributes.emplace_back(View(attributes[i]));
    }
    const ObjectId base = binding->object;
    auto values = [&](ObjectId object) {
        return [&tree, object](std::u16string_view attribute) {
            return DirectoryAttributeValues(tree, object, attribute);
        };
    };
    const std::optional<std::u16string> objectClass = parsed->RequiredValue(u"objectClass");
    const std::optional<std::u16string> name = parsed->RequiredValue(u"name");
    if (objectClass && name && IsMostDerivedClass(*objectClass)) {
        // The directory's index of objects by class and name: the cost
        // follows the objects found, not the size of the tree.
        for (const ObjectId candidate : tree.FindByClassAndName(*objectClass, *name)) {
            if (tree.IsInSubtree(candidate, base) && parsed->Matches(values(candidate))) {
                running->matches.push_back(candidate);
            }
        }
    } else {
        tree.VisitSubtree(base, DirectoryTree::Scope::Subtree, [&](ObjectId candidate) {
            if (parsed->Matches(values(candidate))) {
                running->matches.push_back(candidate);
            }
            return true;
        });
    }
    const DirectorySearchHandle value = kSearchBase + (nextSearch_++ << 4);
    searches_.emplace(value, std::move(running));
    *handle = value;
    state_.Record("ExecuteSearch", std::move(arguments), platform::error::kSuccess);
    return hresult::kOk;
}

void SimDirectoryService::FetchPage(Search& search) {
    search.page.clear();
    search.row = 0;
    std::size_t limit = kServerPageLimit;
    if (search.pageSize != 0) {
        limit = std::min<std::size_t>(search.pageSize, kServerPageLimit);
    } else {
        // Not paged: the server stops at its limit, whatever is left.
        limit = search.delivered >= kServerPageLimit ? 0 : kServerPageLimit - search.delivered;
    }
    const DirectoryTree& tree = search.binding->domain->Directory();
    while (search.page.size() < limit && search.nextMatch < search.matches.size()) {
        const ObjectId object = search.matches[search.nextMatch++];
        if (!tree.Exists(object)) {
            continue; // deleted since the search ran
        }
        search.page.emplace_back(
            object, FormatLdapPath(search.binding->server, tree.DistinguishedName(object)));
    }
    if (!search.page.empty()) {
        search.delivered += search.page.size();
        ++pagesFetched_;
    }
}

HResult SimDirectoryService::GetNextRow(DirectoryInterface search, DirectorySearchHandle handle) {
    std::lock_guard lock(state_.mutex);
    Search* running = UseSearch(search, handle);
    if (running == nullptr) {
        return hresult::kBadParameter;
    }
    if (auto code = state_.Fail("GetNextRow")) {
        state_.Record("GetNextRow", {}, *code, true);
        return static_cast<HResult>(*code);
    }
    if (running->onRow) {
        ++running->row;
    }
    running->onRow = false;
    if (running->row >= running->page.size()) {
        if (!running->binding->domain->Reachable()) {
            return FromWin32(kServerDown);
        }
        FetchPage(*running);
    }
    if (running->row < running->page.size()) {
        running->onRow = true;
        return hresult::kOk;
    }
    return hresult::kNoMoreRows;
}

HResult SimDirectoryService::GetColumn(DirectoryInterface search, DirectorySearchHandle handle,
                                       const char16_t* name,
                                       platform::DirectorySearchColumn* column) {
    std::lock_guard lock(state_.mutex);
    if (column == nullptr || name == nullptr) {
        return hresult::kPointer;
    }
    *column = {};
    Search* running = UseSearch(search, handle);
    if (running == nullptr) {
        return hresult::kBadParameter;
    }
    const std::u16string_view attribute = View(name);
    if (auto code = state_.Fail("GetColumn", attribute)) {
        state_.Record("GetColumn", {JournalText(attribute)}, *code, true);
        return static_cast<HResult>(*code);
    }
    if (!running->onRow) {
        return hresult::kColumnNotSet;
    }
    const bool requested =
        running->allAttributes ||
        std::any_of(running->attributes.begin(), running->attributes.end(),
                    [&](const std::u16string& wanted) { return EqualsNoCase(wanted, attribute); });
    if (!requested) {
        return hresult::kColumnNotSet;
    }
    const auto& [object, adsPath] = running->page[running->row];
    std::vector<std::u16string> values;
    if (EqualsNoCase(attribute, u"ADsPath")) {
        values.push_back(adsPath);
    } else {
        values = DirectoryAttributeValues(running->binding->domain->Directory(), object, attribute);
    }
    if (values.empty()) {
        return hresult::kColumnNotSet;
    }
    const std::uintptr_t token = nextColumn_++;
    auto text = std::make_unique<std::u16string>(std::move(values.front()));
    column->text = text->c_str();
    column->valueCount = static_cast<std::uint32_t>(values.size());
    column->token = token;
    columns_.emplace(token, std::move(text));
    return hresult::kOk;
}

HResult SimDirectoryService::FreeColumn(DirectoryInterface search,
                                        platform::DirectorySearchColumn* column) {
    std::lock_guard lock(state_.mutex);
    if (column == nullptr) {
        return hresult::kPointer;
    }
    if (Use(search, DirectoryInterfaceKind::DirectorySearch) == nullptr) {
        return hresult::kPointer;
    }
    const auto it = columns_.find(column->token);
    if (it == columns_.end()) {
        ++invalidCalls_;
        return hresult::kBadParameter;
    }
    columns_.erase(it);
    *column = {};
    return hresult::kOk;
}

HResult SimDirectoryService::CloseSearchHandle(DirectoryInterface search,
                                               DirectorySearchHandle handle) {
    std::lock_guard lock(state_.mutex);
    if (UseSearch(search, handle) == nullptr) {
        return hresult::kBadParameter;
    }
    searches_.erase(handle);
    return hresult::kOk;
}

// --- IADsContainer

HResult SimDirectoryService::MoveHere(DirectoryInterface container, const char16_t* sourcePath,
                                      const char16_t* newName, DirectoryInterface* moved) {
    std::lock_guard lock(state_.mutex);
    if (moved != nullptr) {
        *moved = platform::kNoDirectoryInterface;
    }
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    if (sourcePath == nullptr) {
        return hresult::kPointer;
    }
    const std::shared_ptr<Binding> target = entry->binding;
    std::vector<std::string> arguments = {JournalText(ObjectPath(*target)), JournalText(sourcePath),
                                          JournalText(newName)};
    if (auto code = state_.Fail("MoveHere", View(sourcePath))) {
        state_.Record("MoveHere", std::move(arguments), *code, true);
        return static_cast<HResult>(*code);
    }
    DirectoryTree& tree = target->domain->Directory();
    ObjectId object = kNoObject;
    RelativeName rename;
    const bool renaming = newName != nullptr && *newName != u'\0';
    const std::optional<AdsPath> source = ParseAdsPath(View(sourcePath));
    HResult status = hresult::kOk;
    if (target->provider != AdsProvider::Ldap) {
        status = hresult::kNotImplemented;
    } else if (!source || source->provider != AdsProvider::Ldap) {
        status = hresult::kBadPathName;
    } else if (!target->domain->Reachable()) {
        status = FromWin32(kServerDown);
    } else if (ServerDomain(source->server) != target->domain) {
        // Across domains a move takes the cross-domain move tool.
        status = FromWin32(directory_error::kUnwillingToPerform);
    } else if (!tree.Exists(target->object)) {
        status = FromWin32(directory_error::kNoSuchObject);
    } else if (renaming && !ParseRelativeName(View(newName), rename)) {
        status = FromWin32(directory_error::kInvalidDnSyntax);
    } else {
        std::vector<RelativeName> components;
        if (!ParseDistinguishedName(source->object, components) || components.empty()) {
            status = FromWin32(directory_error::kInvalidDnSyntax);
        } else if ((object = tree.Find(source->object)) == kNoObject) {
            status = FromWin32(directory_error::kNoSuchObject);
        } else if (!target->mayChange) {
            status = FromWin32(platform::error::kAccessDenied);
        }
    }
    if (status == hresult::kOk && renaming) {
        const std::u16string oldName(tree.Name(object));
        if (const platform::ErrorCode renamed = tree.Rename(object, rename.value)) {
            status = FromWin32(renamed);
        } else if (const platform::ErrorCode failed = tree.Move(object, target->object)) {
            tree.Rename(object, oldName);
            status = FromWin32(failed);
        }
    } else if (status == hresult::kOk) {
        if (const platform::ErrorCode failed = tree.Move(object, target->object)) {
            status = FromWin32(failed);
        }
    }
    if (status == hresult::kOk && moved != nullptr) {
        auto binding = std::make_shared<Binding>();
        binding->provider = AdsProvider::Ldap;
        binding->domain = target->domain;
        binding->server = target->server;
        binding->object = object;
        binding->mayChange = target->mayChange;
        *moved = AddInterface(DirectoryInterfaceKind::Dispatch, std::move(binding));
    }
    state_.Record("MoveHere", std::move(arguments), static_cast<platform::ErrorCode>(status));
    return status;
}

HResult SimDirectoryService::Create(DirectoryInterface container, const char* className,
                                    const char16_t* relativeName, DirectoryInterface* created) {
    std::lock_guard lock(state_.mutex);
    if (created == nullptr) {
        return hresult::kPointer;
    }
    *created = platform::kNoDirectoryInterface;
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    if (className == nullptr || relativeName == nullptr) {
        return hresult::kPointer;
    }
    // The sim's ANSI code page is Windows-1252.
    const std::u16string objectClass = Cp1252ToUtf16(className);
    std::vector<std::string> arguments = {Utf16ToUtf8(objectClass), JournalText(relativeName)};
    if (auto code = state_.Fail("Create", View(relativeName))) {
        state_.Record("Create", std::move(arguments), *code, true);
        return static_cast<HResult>(*code);
    }
    const std::shared_ptr<Binding> parent = entry->binding;
    auto binding = std::make_shared<Binding>();
    binding->provider = parent->provider;
    binding->domain = parent->domain;
    binding->server = parent->server;
    binding->mayChange = parent->mayChange;
    binding->pending = true;
    binding->parent = parent->object;
    HResult status = hresult::kOk;
    if (parent->provider == AdsProvider::WinNt) {
        // The WinNT provider creates computer accounts in the domain only;
        // where the account goes is the domain's affair.
        if (!EqualsNoCase(objectClass, directory_class::kComputer)) {
            status = hresult::kUnknownObject;
        }
        binding->objectClass = std::u16string(directory_class::kComputer);
        binding->name = std::u16string(View(relativeName));
    } else {
        RelativeName component;
        if (!ParseRelativeName(View(relativeName), component)) {
            status = FromWin32(directory_error::kInvalidDnSyntax);
        } else if (!IsCreatableClass(objectClass)) {
            status = hresult::kUnknownObject;
        }
        binding->objectClass = objectClass;
        binding->name = std::move(component.value);
        binding->rdnType = std::move(component.type);
    }
    if (status == hresult::kOk) {
        *created = AddInterface(DirectoryInterfaceKind::Dispatch, std::move(binding));
    }
    state_.Record("Create", std::move(arguments), static_cast<platform::ErrorCode>(status));
    return status;
}

HResult SimDirectoryService::Delete(DirectoryInterface container, const char* className,
                                    const char16_t* relativeName) {
    std::lock_guard lock(state_.mutex);
    Interface* entry = Use(container, DirectoryInterfaceKind::Container);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    if (className == nullptr || relativeName == nullptr) {
        return hresult::kPointer;
    }
    const std::u16string objectClass = Cp1252ToUtf16(className);
    std::vector<std::string> arguments = {Utf16ToUtf8(objectClass), JournalText(relativeName)};
    if (auto code = state_.Fail("Delete", View(relativeName))) {
        state_.Record("Delete", std::move(arguments), *code, true);
        return static_cast<HResult>(*code);
    }
    const std::shared_ptr<Binding> parent = entry->binding;
    Domain& domain = *parent->domain;
    DirectoryTree& tree = domain.Directory();
    HResult status = hresult::kOk;
    ObjectId victim = kNoObject;
    if (!domain.Reachable()) {
        status = FromWin32(parent->provider == AdsProvider::Ldap ? kServerDown
                                                                 : platform::error::kNoSuchDomain);
    } else if (parent->provider == AdsProvider::WinNt) {
        if (!EqualsNoCase(objectClass, directory_class::kComputer)) {
            status = hresult::kUnknownObject;
        } else if ((victim = domain.FindComputer(View(relativeName))) == kNoObject) {
            status = FromWin32(kUserNotFound);
        }
    } else {
        RelativeName component;
        if (!ParseRelativeName(View(relativeName), component)) {
            status = FromWin32(directory_error::kInvalidDnSyntax);
        } else if ((victim = tree.FindChild(parent->object, component.type, component.value)) ==
                       kNoObject ||
                   !EqualsNoCase(tree.Class(victim), objectClass)) {
            status = FromWin32(directory_error::kNoSuchObject);
        }
    }
    if (status == hresult::kOk && !parent->mayChange) {
        status = FromWin32(platform::error::kAccessDenied);
    }
    if (status == hresult::kOk) {
        // The WinNT provider removes an account with what hangs below it;
        // LDAP removes leaves only.
        const platform::ErrorCode removed = parent->provider == AdsProvider::WinNt
                                                ? tree.DeleteSubtree(victim)
                                                : tree.Delete(victim);
        status = FromWin32(removed);
    }
    state_.Record("Delete", std::move(arguments), static_cast<platform::ErrorCode>(status));
    return status;
}

// --- IADs

HResult SimDirectoryService::Commit(Binding& binding) {
    Domain& domain = *binding.domain;
    DirectoryTree& tree = domain.Directory();
    if (!domain.Reachable()) {
        return FromWin32(binding.provider == AdsProvider::Ldap ? kServerDown
                                                               : platform::error::kNoSuchDomain);
    }
    if (!binding.mayChange) {
        return FromWin32(platform::error::kAccessDenied);
    }
    if (binding.provider == AdsProvider::WinNt) {
        if (!IsValidAccountName(binding.name)) {
            return FromWin32(kInvalidName);
        }
        if (domain.FindComputer(binding.name) != kNoObject) {
            return FromWin32(kUserExists);
        }
        if (!tree.Exists(tree.DefaultComputerContainer())) {
            return FromWin32(directory_error::kNoSuchObject);
        }
        const ObjectId object = domain.AddComputer(binding.name);
        if (object == kNoObject) {
            return FromWin32(directory_error::kObjectExists);
        }
        // A workstation trust account that needs no password until the
        // join sets one, as the domain makes it for an account created
        // ahead of the join.
        tree.SetAttribute(object, u"userAccountControl", u"4128");
        binding.object = object;
    } else {
        ObjectId object = kNoObject;
        if (const platform::ErrorCode failed = tree.Create(
                binding.parent, binding.objectClass, binding.name, &object, binding.rdnType)) {
            return FromWin32(failed);
        }
        if (EqualsNoCase(binding.objectClass, directory_class::kComputer)) {
            tree.SetAttribute(object, u"sAMAccountName", binding.name + u"$");
        }
        binding.object = object;
    }
    binding.pending = false;
    return hresult::kOk;
}

HResult SimDirectoryService::SetInfo(DirectoryInterface object) {
    std::lock_guard lock(state_.mutex);
    Interface* entry = Use(object, DirectoryInterfaceKind::Ads);
    if (entry == nullptr) {
        return hresult::kPointer;
    }
    Binding& binding = *entry->binding;
    const std::u16string path = ObjectPath(binding);
    if (auto code = state_.Fail("SetInfo", path)) {
        state_.Record("SetInfo", {JournalText(path)}, *code, true);
        return static_cast<HResult>(*code);
    }
    if (!binding.pending) {
        // Nothing changed on a bound object: nothing to write.
        return binding.domain->Directory().Exists(binding.object) ? hresult::kOk : kObjectUnbound;
    }
    const HResult status = Commit(binding);
    state_.Record("SetInfo", {JournalText(path)}, static_cast<platform::ErrorCode>(status));
    return status;
}

} // namespace corvane::sim
