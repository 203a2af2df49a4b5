// The Windows SDK headers for the win32 platform and its tests, with the
// character-set macros removed that share a name with a platform-interface
// member (the SDK maps GetLocaleInfo to GetLocaleInfoW and so on, which
// would rename the members in some translation units and not in others).
// Code here always calls the wide functions by their W names.
#pragma once

// Order matters: winsock2 before windows, windows before the rest.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <dsgetdc.h>
#include <iphlpapi.h>
#include <lm.h>
#include <shlwapi.h>
// clang-format on

#undef DsGetDcName
#undef EnumSystemLocales
#undef GetComputerName
#undef GetCurrentDirectory
#undef GetLocaleInfo
#undef GetModuleFileName
#undef GetSystemWindowsDirectory
#undef GetTempPath
#undef LoadString
#undef MessageBox
#undef PathFileExists
#undef SetComputerNameEx
