#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"

namespace corvane::win32 {

namespace {

HKEY RootKey(platform::RegistryRoot root) {
    switch (root) {
    case platform::RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    }
    return nullptr;
}

HKEY ToKey(platform::RegistryKey key) {
    return reinterpret_cast<HKEY>(key);
}

platform::ErrorCode ToCode(LONG status) {
    return static_cast<platform::ErrorCode>(status);
}

} // namespace

platform::ErrorCode Win32Registry::OpenKey(platform::RegistryRoot root, const char16_t* subKey,
                                           platform::RegistryKey* key) {
    HKEY rootKey = RootKey(root);
    if (rootKey == nullptr || key == nullptr) {
        return platform::error::kInvalidParameter;
    }
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyW(rootKey, Wide(subKey), &opened);
    *key = status == ERROR_SUCCESS ? reinterpret_cast<platform::RegistryKey>(opened) : 0;
    return ToCode(status);
}

platform::ErrorCode Win32Registry::CreateKey(platform::RegistryRoot root, const char16_t* subKey,
                                             platform::RegistryKey* key) {
    HKEY rootKey = RootKey(root);
    if (rootKey == nullptr || key == nullptr) {
        return platform::error::kInvalidParameter;
    }
    HKEY created = nullptr;
    const LONG status = ::RegCreateKeyW(rootKey, Wide(subKey), &created);
    *key = status == ERROR_SUCCESS ? reinterpret_cast<platform::RegistryKey>(created) : 0;
    return ToCode(status);
}

platform::ErrorCode Win32Registry::QueryValue(platform::RegistryKey key, const char16_t* name,
                                              std::uint32_t* type, std::uint8_t* data,
                                              std::uint32_t* size) {
    if (key == 0) {
        return platform::error::kInvalidHandle;
    }
    if (data != nullptr && size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    DWORD valueType = 0;
    DWORD valueSize = size != nullptr ? *size : 0;
    const LONG status =
        ::RegQueryValueExW(ToKey(key), Wide(name), nullptr, type != nullptr ? &valueType : nullptr,
                           data, size != nullptr ? &valueSize : nullptr);
    if (type != nullptr) {
        *type = valueType;
    }
    if (size != nullptr) {
        *size = valueSize;
    }
    return ToCode(status);
}

platform::ErrorCode Win32Registry::SetValue(platform::RegistryKey key, const char16_t* name,
                                            std::uint32_t type, const std::uint8_t* data,
                                            std::uint32_t size) {
    if (key == 0) {
        return platform::error::kInvalidHandle;
    }
    if (data == nullptr && size != 0) {
        return platform::error::kInvalidParameter;
    }
    return ToCode(::RegSetValueExW(ToKey(key), Wide(name), 0, type, data, size));
}

platform::ErrorCode Win32Registry::DeleteValue(platform::RegistryKey key, const char16_t* name) {
    if (key == 0) {
        return platform::error::kInvalidHandle;
    }
    return ToCode(::RegDeleteValueW(ToKey(key), Wide(name)));
}

platform::ErrorCode Win32Registry::CloseKey(platform::RegistryKey key) {
    if (key == 0) {
        return platform::error::kInvalidHandle;
    }
    return ToCode(::RegCloseKey(ToKey(key)));
}

} // namespace corvane::win32
