#include "platform/win32/win32_platform.h"

namespace corvane::win32 {

Win32Platform::Win32Platform()
    : netapi_(L"netapi32.dll"), iphlpapi_(L"iphlpapi.dll"), network_(netapi_),
      ipHelper_(iphlpapi_), platform_{clock_,     locale_,    environment_, files_,
                                      profile_,   registry_,  network_,     ipHelper_,
                                      resources_, directory_, ui_} {}

} // namespace corvane::win32
