#pragma once

#include "platform/types.h"

#include <cstdint>

namespace corvane::platform {

// The registry, with Win32 result codes. Key paths use backslashes and match
// without regard to case.
class Registry {
public:
    virtual ~Registry() = default;

    // RegOpenKeyW: opens an existing key (2, file not found, when missing).
    virtual ErrorCode OpenKey(RegistryRoot root, const char16_t* subKey, RegistryKey* key) = 0;
    // RegCreateKeyW: opens the key, creating it and its parents when missing.
    virtual ErrorCode CreateKey(RegistryRoot root, const char16_t* subKey, RegistryKey* key) = 0;
    // RegQueryValueExW: type and data are optional; with data, *size is the
    // buffer size in bytes on entry and the value's size on return (234, more
    // data, when the buffer is too small).
    virtual ErrorCode QueryValue(RegistryKey key, const char16_t* name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) = 0;
    // RegSetValueExW.
    virtual ErrorCode SetValue(RegistryKey key, const char16_t* name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueW.
    virtual ErrorCode DeleteValue(RegistryKey key, const char16_t* name) = 0;
    // RegCloseKey.
    virtual ErrorCode CloseKey(RegistryKey key) = 0;
};

} // namespace corvane::platform
