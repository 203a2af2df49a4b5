// Binding a directory object with the credentials of the setup state.
#pragma once

#include "directory/directory_reference.h"
#include "model/setup_state.h"
#include "platform/directory_service.h"

#include <string>

namespace corvane {

// Account and password when an account is stored, the calling thread's
// logon otherwise.
platform::HResult BindWithStoredCredentials(platform::DirectoryService& directory,
                                            const SetupState& state, const std::u16string& path,
                                            platform::DirectoryInterfaceKind kind,
                                            DirectoryReference& object);

// The calling thread's logon first; only if that bind fails, account and
// password as they stand (also when empty).
platform::HResult BindWithOwnLogonFirst(platform::DirectoryService& directory,
                                        const SetupState& state, const std::u16string& path,
                                        platform::DirectoryInterfaceKind kind,
                                        DirectoryReference& object);

} // namespace corvane
