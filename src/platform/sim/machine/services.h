// The platform services of the sim, each a thin layer over the shared
// State (internal to the sim library). Every call takes the state's lock.
#pragma once

#include "platform/platform.h"
#include "platform/sim/machine/state.h"

#include <memory>

namespace corvane::sim {

class SimClock final : public platform::Clock {
public:
    explicit SimClock(State& state) : state_(state) {}
    platform::SystemTime GetLocalTime() override;

private:
    State& state_;
};

class SimLocale final : public platform::Locale {
public:
    explicit SimLocale(State& state) : state_(state) {}
    platform::LocaleId GetUserDefaultLocale() override;
    bool SetThreadLocale(platform::LocaleId locale) override;
    platform::LocaleId GetThreadLocale() override;
    bool EnumSystemLocales(const std::function<bool(const char16_t*)>& visit) override;
    int GetLocaleInfo(platform::LocaleId locale, platform::LocaleInfoType type, char16_t* buffer,
                      int size) override;
    int GetShortDate(const platform::SystemTime& time, char16_t* buffer, int size) override;
    int GetTimeText(const platform::SystemTime& time, char16_t* buffer, int size) override;

private:
    State& state_;
};

// Formats a date or time picture with the Windows picture semantics.
std::u16string FormatDatePicture(std::u16string_view picture, const platform::SystemTime& time);
std::u16string FormatTimePicture(std::u16string_view picture, const platform::SystemTime& time,
                                 const LocaleDefinition& locale);

class SimEnvironment final : public platform::Environment {
public:
    explicit SimEnvironment(State& state) : state_(state) {}
    std::uint32_t GetVariable(const char16_t* name, char16_t* buffer, std::uint32_t size) override;
    bool SetVariable(const char16_t* name, const char16_t* value) override;
    std::uint32_t ExpandStrings(const char16_t* source, char16_t* buffer,
                                std::uint32_t size) override;

private:
    State& state_;
};

class SimFileSystem final : public platform::FileSystem {
public:
    explicit SimFileSystem(State& state) : state_(state) {}
    platform::FileHandle OpenForAppend(const char16_t* path) override;
    bool Write(platform::FileHandle file, const void* data, std::uint32_t size) override;
    bool Close(platform::FileHandle file) override;
    bool PathFileExists(const char16_t* path) override;
    std::uint32_t GetCurrentDirectory(std::uint32_t size, char16_t* buffer) override;
    std::uint32_t GetTempPath(std::uint32_t size, char16_t* buffer) override;
    std::uint32_t GetSystemWindowsDirectory(char16_t* buffer, std::uint32_t size) override;
    std::uint32_t GetModuleFileName(char16_t* buffer, std::uint32_t size) override;
    bool ReadFileBytes(const char16_t* path, std::vector<std::uint8_t>& bytes) override;

private:
    State& state_;
};

struct ParsedProfile;

class SimPrivateProfile final : public platform::PrivateProfile {
public:
    explicit SimPrivateProfile(State& state) : state_(state) {}
    std::uint32_t GetString(const char16_t* section, const char16_t* key,
                            const char16_t* defaultValue, char16_t* buffer, std::uint32_t size,
                            const char16_t* file) override;
    std::uint32_t GetSection(const char16_t* section, char16_t* buffer, std::uint32_t size,
                             const char16_t* file) override;
    std::uint32_t GetInt(const char16_t* section, const char16_t* key, std::int32_t defaultValue,
                         const char16_t* file) override;

private:
    State& state_;
    // The file parsed last, as Windows keeps recently read profiles: parsed
    // again only when another file is read or its bytes have changed.
    std::shared_ptr<const ParsedProfile> parsed_;
};

class SimRegistry final : public platform::Registry {
public:
    explicit SimRegistry(State& state) : state_(state) {}
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

private:
    platform::ErrorCode Open(platform::RegistryRoot root, const char16_t* subKey,
                             platform::RegistryKey* key, bool create);
    State& state_;
};

class SimNetworkManagement final : public platform::NetworkManagement {
public:
    explicit SimNetworkManagement(State& state) : state_(state) {}
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
    platform::ErrorCode Join(const char16_t* domain, const char16_t* organizationUnit,
                             const char16_t* account, const char16_t* password,
                             std::uint32_t options);
    platform::ErrorCode Unjoin(const char16_t* account, const char16_t* password,
                               std::uint32_t options);
    platform::ErrorCode Rename(const char16_t* newName, const char16_t* account,
                               const char16_t* password);
    platform::ErrorCode JoinableOUs(const char16_t* domain, const char16_t* account,
                                    const char16_t* password, std::uint32_t* count,
                                    char16_t*** units);
    platform::ErrorCode DcName(const char16_t* domain, std::uint32_t flags,
                               platform::DomainControllerInfo** info);
    State& state_;
};

class SimIpHelper final : public platform::IpHelper {
public:
    explicit SimIpHelper(State& state) : state_(state) {}
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
    platform::ErrorCode SetDnsServerSearchOrder(const char* adapterName,
                                                const char16_t* const* servers,
                                                std::uint32_t count) override;

private:
    platform::ErrorCode Lease(platform::AdapterIndexMap* adapter, bool renew);
    State& state_;
};

// "10.0.0.6" from a value in network order (first number in the lowest byte).
std::string NetworkOrderText(std::uint32_t address);

class SimResources final : public platform::Resources {
public:
    explicit SimResources(State& state) : state_(state) {}
    int LoadString(std::uint32_t id, char16_t* buffer, int size) override;
    platform::LanguageId DefaultLanguage() override;
    int LoadStringInLanguage(std::uint32_t id, platform::LanguageId language, char16_t* buffer,
                             int size) override;
    std::uint32_t FormatSystemMessage(platform::ErrorCode code, char16_t* buffer,
                                      std::uint32_t size) override;

private:
    State& state_;
};

// The English system message for a code, or empty.
std::u16string_view SystemMessageText(platform::ErrorCode code);

} // namespace corvane::sim
