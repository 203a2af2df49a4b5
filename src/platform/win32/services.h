// The platform services over the real wide Win32 calls. Each forwards to the
// function its interface names and keeps the Win32 result conventions; the
// only additions are guards that keep a bad argument from reaching a call
// that would write through it or read past it.
#pragma once

#include "platform/platform.h"
#include "platform/win32/system_library.h"
#include "platform/win32/windows_api.h"

#include <atomic>

namespace corvane::win32 {

class Win32Clock final : public platform::Clock {
public:
    platform::SystemTime GetLocalTime() override;
};

class Win32Locale final : public platform::Locale {
public:
    // Fixes the locale that stands for the user's default in this service
    // (GetUserDefaultLocale, the default identifiers of SetThreadLocale and
    // the date and time texts); 0 returns to the system's user default.
    void SetUserLocaleOverride(platform::LocaleId locale) { userLocale_.store(locale); }

    platform::LocaleId GetUserDefaultLocale() override;
    bool SetThreadLocale(platform::LocaleId locale) override;
    platform::LocaleId GetThreadLocale() override;
    bool EnumSystemLocales(const std::function<bool(const char16_t*)>& visit) override;
    int GetLocaleInfo(platform::LocaleId locale, platform::LocaleInfoType type, char16_t* buffer,
                      int size) override;
    int GetShortDate(const platform::SystemTime& time, char16_t* buffer, int size) override;
    int GetTimeText(const platform::SystemTime& time, char16_t* buffer, int size) override;

private:
    // The identifier passed for "the user's default" to the formatting calls.
    LCID FormattingLocale() const;

    std::atomic<platform::LocaleId> userLocale_{0};
};

class Win32Environment final : public platform::Environment {
public:
    std::uint32_t GetVariable(const char16_t* name, char16_t* buffer, std::uint32_t size) override;
    bool SetVariable(const char16_t* name, const char16_t* value) override;
    std::uint32_t ExpandStrings(const char16_t* source, char16_t* buffer,
                                std::uint32_t size) override;
};

class Win32FileSystem final : public platform::FileSystem {
public:
    platform::FileHandle OpenForAppend(const char16_t* path) override;
    bool Write(platform::FileHandle file, const void* data, std::uint32_t size) override;
    bool Close(platform::FileHandle file) override;
    bool PathFileExists(const char16_t* path) override;
    std::uint32_t GetCurrentDirectory(std::uint32_t size, char16_t* buffer) override;
    std::uint32_t GetTempPath(std::uint32_t size, char16_t* buffer) override;
    std::uint32_t GetSystemWindowsDirectory(char16_t* buffer, std::uint32_t size) override;
    std::uint32_t GetModuleFileName(char16_t* buffer, std::uint32_t size) override;
    bool ReadFileBytes(const char16_t* path, std::vector<std::uint8_t>& bytes) override;
};

class Win32PrivateProfile final : public platform::PrivateProfile {
public:
    std::uint32_t GetString(const char16_t* section, const char16_t* key,
                            const char16_t* defaultValue, char16_t* buffer, std::uint32_t size,
                            const char16_t* file) override;
    std::uint32_t GetSection(const char16_t* section, char16_t* buffer, std::uint32_t size,
                             const char16_t* file) override;
    std::uint32_t GetInt(const char16_t* section, const char16_t* key, std::int32_t defaultValue,
                         const char16_t* file) override;
};

class Win32Registry final : public platform::Registry {
public:
    platform::ErrorCode OpenKey(platform::RegistryRoot root, const char16_t* subKey,
                                platform::RegistryKey* key) override;
    platform::ErrorCode CreateKey(platform::RegistryRoot root, const char16_t* subKey,
                                  platform::RegistryKey* key) override;
    platform::ErrorCode QueryValue(platform::RegistryKey key, const char16_t* name,
                                   std::uint32_t* type, std::uint8_t* data,
                                   std::uint32_t* size) override;
    platform::ErrorCode SetValue(platform::RegistryKey key, const char16_t* name,
                                 std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) override;
    platform::ErrorCode DeleteValue(platform::RegistryKey key, const char16_t* name) override;
    platform::ErrorCode CloseKey(platform::RegistryKey key) override;
};

// Network management from netapi32.dll, loaded from the system directory;
// every call gives 127 when its export is missing. The computer name calls
// come from kernel32.
class Win32NetworkManagement final : public platform::NetworkManagement {
public:
    explicit Win32NetworkManagement(const SystemLibrary& netapi);

    platform::ErrorCode NetGetJoinInformation(char16_t** name,
                                              platform::JoinStatus* status) override;
    platform::ErrorCode NetJoinDomain(const char16_t* domain, const char16_t* organizationUnit,
                                      const char16_t* account, const char16_t* password,
                                      std::uint32_t options) override;
    platform::ErrorCode NetUnjoinDomain(const char16_t* account, const char16_t* password,
                                        std::uint32_t options) override;
    platform::ErrorCode NetRenameMachineInDomain(const char16_t* newName, const char16_t* account,
                                                 const char16_t* password,
                                                 std::uint32_t options) override;
    platform::ErrorCode NetGetJoinableOUs(const char16_t* domain, const char16_t* account,
                                          const char16_t* password, std::uint32_t* count,
                                          char16_t*** units) override;
    platform::ErrorCode NetApiBufferFree(void* buffer) override;
    platform::ErrorCode DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                    platform::DomainControllerInfo** info) override;
    bool GetComputerName(char16_t* buffer, std::uint32_t* size) override;
    using platform::NetworkManagement::SetComputerNameEx;
    bool SetComputerNameEx(platform::ComputerNameFormat format, const char16_t* name,
                           platform::ErrorCode* error) override;

private:
    const SystemLibrary& netapi_;
};

// IP Helper from iphlpapi.dll, loaded from the system directory; every call
// gives 127 when its export is missing.
class Win32IpHelper final : public platform::IpHelper {
public:
    explicit Win32IpHelper(const SystemLibrary& iphlpapi);

    platform::ErrorCode GetAdaptersInfo(platform::AdapterRecord* buffer,
                                        std::uint32_t* size) override;
    platform::ErrorCode GetInterfaceInfo(platform::InterfaceInfo* buffer,
                                         std::uint32_t* size) override;
    platform::ErrorCode IpReleaseAddress(platform::AdapterIndexMap* adapter) override;
    platform::ErrorCode IpRenewAddress(platform::AdapterIndexMap* adapter) override;
    bool HasSetAdapterIpAddress() override;
    platform::ErrorCode SetAdapterIpAddress(const char* adapterName, std::uint32_t dhcp,
                                            std::uint32_t address, std::uint32_t mask,
                                            std::uint32_t gateway) override;
    // Through WMI (dns_server_search_order.cpp), not iphlpapi.
    platform::ErrorCode SetDnsServerSearchOrder(const char* adapterName,
                                                const char16_t* const* servers,
                                                std::uint32_t count) override;

private:
    const SystemLibrary& iphlpapi_;
};

// String resources of one module (the process's executable by default) and
// the system's message table.
class Win32Resources final : public platform::Resources {
public:
    explicit Win32Resources(HMODULE module = nullptr);

    int LoadString(std::uint32_t id, char16_t* buffer, int size) override;
    // The language of the string block that FindResourceW finds for the
    // default title: the same pick LoadStringW makes.
    platform::LanguageId DefaultLanguage() override;
    int LoadStringInLanguage(std::uint32_t id, platform::LanguageId language, char16_t* buffer,
                             int size) override;
    std::uint32_t FormatSystemMessage(platform::ErrorCode code, char16_t* buffer,
                                      std::uint32_t size) override;

private:
    HMODULE module_;
};

} // namespace corvane::win32
