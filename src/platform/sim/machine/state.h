// The sim's state behind the services (internal to the sim library).
#pragma once

#include "platform/sim/directory/domain.h"
#include "platform/sim/machine/journal.h"
#include "platform/sim/world.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

namespace corvane::sim {

struct FileEntry {
    std::u16string path; // full path as first created
    std::vector<std::uint8_t> bytes;
    bool locked = false;
};

struct DirectoryEntry {
    std::u16string path;
    bool locked = false;
};

struct OpenFile {
    std::u16string key; // folded full path
    std::size_t position = 0;
};

struct RegistryValueData {
    std::u16string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct RegistryNode {
    std::u16string name;
    std::map<std::u16string, std::unique_ptr<RegistryNode>> children; // by folded name
    std::vector<RegistryValueData> values;                            // in creation order
    RegistryAccess access = RegistryAccess::Full;

    RegistryValueData* FindValue(std::u16string_view valueName);
};

struct OpenRegistryKey {
    platform::RegistryRoot root;
    RegistryNode* node;
    std::u16string path; // below the root, as created
};

struct State {
    mutable std::recursive_mutex mutex;

    // Clock
    platform::SystemTime now;
    std::int64_t clockStepMs = 0;

    // Locale
    std::vector<LocaleDefinition> locales; // ascending identifiers
    platform::LocaleId userLocale = platform::kLocaleEnglishUS;
    std::unordered_map<std::thread::id, platform::LocaleId> threadLocales;
    // The user's user-interface language (GetUserDefaultUILanguage); 0: that
    // of the user's default locale, as on a machine installed in its language.
    platform::LanguageId uiLanguage = 0;

    // Environment: folded name -> (name, value)
    std::map<std::u16string, std::pair<std::u16string, std::u16string>> environment;

    // Files, by folded full path
    std::map<std::u16string, FileEntry> files;
    std::map<std::u16string, DirectoryEntry> directories;
    std::u16string currentDirectory;
    std::u16string windowsDirectory = u"C:\\Windows";
    std::u16string modulePath;
    std::map<platform::FileHandle, OpenFile> openFiles;
    platform::FileHandle nextFile = 0x100;

    // Registry
    RegistryNode machine;
    RegistryNode user;
    std::map<platform::RegistryKey, OpenRegistryKey> openKeys;
    platform::RegistryKey nextKey = 0x2000;
    std::vector<RegistryValueRecord> registryBaseline;

    // Computer name and membership
    std::u16string computerName; // NetBIOS form
    std::u16string dnsHostname;
    std::optional<std::u16string> pendingName; // NetBIOS form
    std::optional<std::u16string> pendingDnsHostname;
    JoinState join;
    // The account this computer joined with: the domain finds it by its
    // identity, whatever it is named by now.
    const Domain* accountDomain = nullptr;
    ObjectId accountObject = kNoObject;
    std::vector<std::unique_ptr<Domain>> domains;
    std::unordered_map<const void*, std::unique_ptr<std::byte[]>> netApiBuffers;
    std::size_t invalidNetApiFrees = 0;

    // Adapters
    std::vector<AdapterConfig> adapters;
    bool hasSetAdapterIpAddress = true;
    // The adapter the IP Helper and WMI calls name (its GUID, in any case);
    // null when there is none.
    AdapterConfig* FindAdapter(std::u16string_view name);

    Journal journal;

    // Calls that take long, as over a slow network: the calling thread waits
    // this long before the call does anything, without holding `mutex`, so
    // that other threads' calls go on meanwhile. Guarded by `delayMutex`.
    std::mutex delayMutex;
    std::map<std::string, std::chrono::milliseconds, std::less<>> delays;
    void WaitAsPlanned(std::string_view operation);
    FailurePlan failures;

    // An injected result for this call, if one is planned.
    std::optional<platform::ErrorCode> Fail(std::string_view operation,
                                            std::u16string_view subject = {});
    void Record(std::string operation, std::vector<std::string> arguments,
                platform::ErrorCode result, bool injected = false);

    // Paths
    std::u16string ResolvePath(std::u16string_view path) const;
    static std::u16string ParentPath(std::u16string_view fullPath);
    bool DirectoryExists(std::u16string_view fullPath) const;
    void EnsureDirectory(std::u16string_view fullPath);
    FileEntry* FindFile(std::u16string_view fullPath);

    // Locale
    const LocaleDefinition* FindLocale(platform::LocaleId locale) const;
    // Maps the default identifiers (0, 0x0400, 0x0800, 0x0C00) to the user's.
    platform::LocaleId ResolveLocale(platform::LocaleId locale) const;
    platform::LocaleId ThreadLocale() const;
    platform::LanguageId UserInterfaceLanguage() const;
    // The program's language (German or English) that the platform's own
    // resource look-up picks: the user-interface language's, English for
    // every other language. The thread locale plays no part.
    platform::LanguageId DefaultResourceLanguage() const;

    // Registry
    RegistryNode& Root(platform::RegistryRoot root);
    const RegistryNode& Root(platform::RegistryRoot root) const;
    // Splits "A\\B" into components; false for an empty component inside
    // or a leading backslash.
    static bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string>& parts);
    RegistryNode* FindKey(platform::RegistryRoot root, std::u16string_view path);
    const RegistryNode* FindKey(platform::RegistryRoot root, std::u16string_view path) const;
    RegistryNode* CreateKeyPath(platform::RegistryRoot root, std::u16string_view path);
    void SetValue(platform::RegistryRoot root, std::u16string_view key, std::u16string_view name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    std::vector<RegistryValueRecord> AllRegistryValues() const;

    // Computer name
    static std::u16string NetbiosForm(std::u16string_view name);
    // What SetComputerNameEx(PhysicalDnsHostname) leaves behind.
    void SetPendingName(std::u16string_view dnsHostname);
    // The name under which the computer joins a domain: the pending one if
    // a rename waits for the restart.
    std::u16string EffectiveComputerName() const;

    // Domains and NetApi buffers
    Domain* FindDomain(std::u16string_view name);
    // This computer's account in the domain: the one it joined with, else
    // the computer object that bears its present name; kNoObject if none.
    ObjectId ComputerAccount(const Domain& domain) const;
    void* AllocateNetApiBuffer(std::size_t size);
};

inline constexpr std::u16string_view kTcpipParametersKey =
    u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
inline constexpr std::u16string_view kComputerNameKey =
    u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr std::u16string_view kActiveComputerNameKey =
    u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
inline constexpr std::u16string_view kRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string RootName(platform::RegistryRoot root); // "HKLM", "HKCU"
std::string RegistryTypeName(std::uint32_t type);  // "REG_SZ", ...
// A value's data for the journal and the dump: texts quoted, numbers
// decimal, anything else as hexadecimal bytes.
std::string RegistryDataText(std::uint32_t type, const std::vector<std::uint8_t>& data);

// Windows-style time arithmetic for the clock and DHCP leases.
platform::SystemTime AddMilliseconds(const platform::SystemTime& time, std::int64_t milliseconds);
std::int64_t ToUnixSeconds(const platform::SystemTime& time);
bool IsValidDate(const platform::SystemTime& time);
bool IsValidTime(const platform::SystemTime& time);

} // namespace corvane::sim
