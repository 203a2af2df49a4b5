// The real platform: every service over the Win32 calls, with the two
// run-time-loaded system DLLs that the services need.
#pragma once

#include "platform/platform.h"
#include "platform/win32/directory_service.h"
#include "platform/win32/services.h"
#include "platform/win32/system_library.h"
#include "platform/win32/user_interface.h"

namespace corvane::win32 {

class Win32Platform {
public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    platform::Platform& Os() { return platform_; }
    Win32Locale& Locale() { return locale_; }

private:
    SystemLibrary netapi_;
    SystemLibrary iphlpapi_;
    Win32Clock clock_;
    Win32Locale locale_;
    Win32Environment environment_;
    Win32FileSystem files_;
    Win32PrivateProfile profile_;
    Win32Registry registry_;
    Win32NetworkManagement network_;
    Win32IpHelper ipHelper_;
    Win32Resources resources_;
    Win32DirectoryService directory_;
    Win32UserInterface ui_;
    platform::Platform platform_;
};

} // namespace corvane::win32
