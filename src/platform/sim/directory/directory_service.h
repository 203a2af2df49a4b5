// The directory operations of the sim, over the domains of the world: the
// LDAP provider on each domain's directory tree, the WinNT provider on its
// computer accounts. Interfaces, searches, columns and COM brackets are
// counted, so that tests can see every one of them released.
#pragma once

#include "platform/directory_service.h"
#include "platform/sim/machine/state.h"

#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace corvane::sim {

class SimDirectoryService final : public platform::DirectoryService {
public:
    explicit SimDirectoryService(State& state);
    ~SimDirectoryService() override;
    SimDirectoryService(const SimDirectoryService&) = delete;
    SimDirectoryService& operator=(const SimDirectoryService&) = delete;

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

    // What the world reports; call with the state's lock held.
    struct Usage {
        std::size_t liveInterfaces = 0; // references not released
        std::size_t openComBrackets = 0;
        std::size_t openSearches = 0;
        std::size_t heldColumns = 0;
        // Calls with an interface, search or column that is not live (or of
        // the wrong kind), and CoUninitialize without CoInitialize.
        std::size_t invalidCalls = 0;
        std::size_t pagesFetched = 0;
    };
    Usage CurrentUsage() const;

    // A domain controller hands out at most this many rows per page, and
    // this many in all to a search that is not paged.
    static constexpr std::size_t kServerPageLimit = 1000;

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
    // The live interface of that kind, or null (counted as an invalid call).
    Interface* Use(platform::DirectoryInterface object, platform::DirectoryInterfaceKind kind);
    Search* UseSearch(platform::DirectoryInterface search, platform::DirectorySearchHandle handle);
    platform::HResult Bind(const char16_t* path, const char16_t* user, const char16_t* password,
                           platform::DirectoryInterfaceKind kind,
                           std::shared_ptr<Binding>& binding);
    Domain* ServerDomain(std::u16string_view server);
    std::u16string ObjectPath(const Binding& binding) const;
    void FetchPage(Search& search);
    platform::HResult Commit(Binding& binding);

    State& state_;
    std::unordered_map<platform::DirectoryInterface, Interface> interfaces_;
    std::unordered_map<platform::DirectorySearchHandle, std::unique_ptr<Search>> searches_;
    std::unordered_map<std::uintptr_t, std::unique_ptr<std::u16string>> columns_;
    std::unordered_map<std::thread::id, std::size_t> apartments_;
    // Interfaces are numbered in the order handed out (the first is
    // 0x10000010), so that tests can tell which one a log line shows.
    std::uintptr_t nextInterface_ = 1;
    std::uintptr_t nextSearch_ = 1;
    std::uintptr_t nextColumn_ = 1;
    std::size_t invalidCalls_ = 0;
    std::size_t pagesFetched_ = 0;
};

} // namespace corvane::sim
