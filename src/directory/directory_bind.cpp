#include "directory/directory_bind.h"

#include "model/credentials.h"

namespace corvane {

namespace {

platform::HResult Open(platform::DirectoryService& directory, const std::u16string& path,
                       const char16_t* account, const char16_t* password,
                       platform::DirectoryInterfaceKind kind, DirectoryReference& object) {
    const platform::HResult status =
        directory.OpenObject(path.c_str(), account, password, platform::kAdsSecureAuthentication,
                             kind, object.Receive());
    if (platform::hresult::Failed(status)) {
        return status;
    }
    // A success without an interface would be called through later.
    return object ? status : platform::hresult::kPointer;
}

} // namespace

platform::HResult BindWithStoredCredentials(platform::DirectoryService& directory,
                                            const SetupState& state, const std::u16string& path,
                                            platform::DirectoryInterfaceKind kind,
                                            DirectoryReference& object) {
    const Credentials credentials = StoredCredentials(state);
    return Open(directory, path, credentials.account, credentials.password, kind, object);
}

platform::HResult BindWithOwnLogonFirst(platform::DirectoryService& directory,
                                        const SetupState& state, const std::u16string& path,
                                        platform::DirectoryInterfaceKind kind,
                                        DirectoryReference& object) {
    const platform::HResult own = Open(directory, path, nullptr, nullptr, kind, object);
    if (!platform::hresult::Failed(own)) {
        return own;
    }
    return Open(directory, path, state.Account.c_str(), state.Password.c_str(), kind, object);
}

} // namespace corvane
