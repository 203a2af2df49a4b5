// The directory operations over the ADSI COM interfaces. ADsOpenObject comes
// from activeds.dll, which is not a known DLL and is therefore loaded from
// the system directory at run time; COM itself (ole32, oleaut32) is linked.
#pragma once

#include "platform/directory_service.h"
#include "platform/win32/system_library.h"

namespace corvane::win32 {

class Win32DirectoryService final : public platform::DirectoryService {
public:
    Win32DirectoryService();

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

private:
    SystemLibrary activeds_;
};

} // namespace corvane::win32
