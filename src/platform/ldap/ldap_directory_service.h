// The directory service over a real domain controller, through the OpenLDAP
// client library: the same ADSI-shaped calls as on Windows, mapped onto
// LDAP. "LDAP://server/DN" binds the object (simple bind, then a base read,
// as ADSI confirms the object it binds); searches run with the
// paged-results control at the page size the caller sets; MoveHere is a
// modify-DN; Create and SetInfo add the object; Delete removes it.
// "WinNT://domain" stands for the domain's accounts: computers are created
// in, and deleted from, the default computer container with the attributes
// the domain's own account creation gives a workstation account.
#pragma once

#include "platform/directory_service.h"
#include "platform/ldap/ldap_connection.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace corvane::ldap {

class LdapDirectoryService final : public platform::DirectoryService {
public:
    explicit LdapDirectoryService(LdapDirectoryConfig config);
    ~LdapDirectoryService() override;
    LdapDirectoryService(const LdapDirectoryService&) = delete;
    LdapDirectoryService& operator=(const LdapDirectoryService&) = delete;

    platform::HResult CoInitialize() override;
    void CoUninitialize() override;
    platform::HResult OpenObject(const char16_t* path, const char16_t* user,
                                 const char16_t* password, std::uint32_t flags,
                                 platform::DirectoryInterfaceKind kind,
                                 platform::DirectoryInterface* object) override;
    platform::HResult QueryInterface(platform::DirectoryInterface object,
                                     platform::DirectoryInterfaceKind kind,
                                     platform::DirectoryInterface* result) override;
    std::uint32_t Release(platform::DirectoryInterface object) override;
    platform::HResult SetSearchPreference(platform::DirectoryInterface search,
                                          const platform::DirectorySearchPreference* preferences,
                                          std::uint32_t count) override;
    platform::HResult ExecuteSearch(platform::DirectoryInterface search, const char16_t* filter,
                                    const char16_t* const* attributes, std::uint32_t count,
                                    platform::DirectorySearchHandle* handle) override;
    platform::HResult GetNextRow(platform::DirectoryInterface search,
                                 platform::DirectorySearchHandle handle) override;
    platform::HResult GetColumn(platform::DirectoryInterface search,
                                platform::DirectorySearchHandle handle, const char16_t* name,
                                platform::DirectorySearchColumn* column) override;
    platform::HResult FreeColumn(platform::DirectoryInterface search,
                                 platform::DirectorySearchColumn* column) override;
    platform::HResult CloseSearchHandle(platform::DirectoryInterface search,
                                        platform::DirectorySearchHandle handle) override;
    platform::HResult MoveHere(platform::DirectoryInterface container, const char16_t* sourcePath,
                               const char16_t* newName,
                               platform::DirectoryInterface* moved) override;
    platform::HResult Create(platform::DirectoryInterface container, const char* className,
                             const char16_t* relativeName,
                             platform::DirectoryInterface* created) override;
    platform::HResult Delete(platform::DirectoryInterface container, const char* className,
                             const char16_t* relativeName) override;
    platform::HResult SetInfo(platform::DirectoryInterface object) override;

    // Interfaces, searches and columns not yet released, for tests.
    struct Usage {
        std::size_t liveInterfaces = 0;
        std::size_t openSearches = 0;
        std::size_t heldColumns = 0;
        std::size_t pagesFetched = 0;
    };
    Usage CurrentUsage() const;

private:
    struct Binding;
    struct Interface {
        platform::DirectoryInterfaceKind kind;
        std::shared_ptr<Binding> binding;
        std::uint32_t references = 1;
    };
    struct Search;

    platform::DirectoryInterface AddInterface(platform::DirectoryInterfaceKind kind,
                                              std::shared_ptr<Binding> binding);
    Interface* Use(platform::DirectoryInterface object, platform::DirectoryInterfaceKind kind);
    Search* UseSearch(platform::DirectoryInterface search, platform::DirectorySearchHandle handle);
    platform::HResult Bind(const char16_t* path, const char16_t* user, const char16_t* password,
                           platform::DirectoryInterfaceKind kind,
                           std::shared_ptr<Binding>& binding);
    bool NamesThisDomain(std::u16string_view server, bool netbiosToo) const;
    platform::HResult FetchPage(Search& search);
    platform::HResult Commit(Binding& binding);

    LdapDirectoryConfig config_;
    mutable std::mutex mutex_;
    std::unordered_map<platform::DirectoryInterface, Interface> interfaces_;
    std::unordered_map<platform::DirectorySearchHandle, std::unique_ptr<Search>> searches_;
    std::unordered_map<std::uintptr_t, std::unique_ptr<std::u16string>> columns_;
    std::unordered_map<std::thread::id, std::size_t> apartments_;
    std::uintptr_t nextInterface_ = 1;
    std::uintptr_t nextSearch_ = 1;
    std::uintptr_t nextColumn_ = 1;
    std::size_t pagesFetched_ = 0;
};

} // namespace corvane::ldap
