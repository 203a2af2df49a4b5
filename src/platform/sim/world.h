// The simulated workstation and its domains: one object that owns every
// piece of state and serves it through the platform interface.
//
// A test builds a World (a freshly installed workstation in the workgroup
// WORKGROUP, see the defaults below), configures it through the methods
// here or a scenario (scenario.h), hands platform() to the code under test
// and inspects the outcome: the state, the journal of calls and the leak
// counters. Every method locks the world, so the program's dialog thread and
// worker thread can call the platform while a test thread watches.
#pragma once

#include "platform/platform.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/directory/directory_tree.h"
#include "platform/sim/directory/domain.h"
#include "platform/sim/machine/journal.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

// How a text file is stored.
enum class TextEncoding {
    Ansi, // Windows-1252, the system code page
    Utf8, // without byte-order mark
    Utf8Bom,
    Utf16Le, // without byte-order mark
    Utf16LeBom,
};
std::vector<std::uint8_t> EncodeText(std::u16string_view text, TextEncoding encoding);

// One entry of the locale table.
struct LocaleDefinition {
    platform::LocaleId id = 0;
    std::u16string language;   // ISO 639 name, "de"
    std::u16string country;    // ISO 3166 name, "DE"
    std::u16string shortDate;  // short date picture, "dd.MM.yyyy"
    std::u16string timeFormat; // time picture, "HH:mm:ss"
    std::u16string am = u"AM";
    std::u16string pm = u"PM";
};

// One network adapter. Address texts are kept as given (empty and
// "0.0.0.0" both occur on real machines).
struct AdapterConfig {
    std::string name; // "{GUID}"
    std::string description;
    std::uint32_t index = 0;
    std::uint32_t type = 6; // MIB_IF_TYPE_ETHERNET
    std::vector<std::uint8_t> mac = {0x00, 0x15, 0x5D, 0x00, 0x00, 0x01};
    std::uint32_t dhcpEnabled = 0;
    std::string address = "0.0.0.0";
    std::string mask = "0.0.0.0";
    std::string gateway = "0.0.0.0";
    // Further addresses (address, mask) and gateways behind the first ones.
    std::vector<std::pair<std::string, std::string>> moreAddresses;
    std::vector<std::string> moreGateways;
    // What the DHCP server hands out on a renew or a switch to DHCP.
    std::string dhcpServer = "192.168.1.1";
    std::string leaseAddress = "192.168.1.100";
    std::string leaseMask = "255.255.255.0";
    std::string leaseGateway = "192.168.1.1";
    // The adapter's own DNS servers, in search order; empty: those of its
    // DHCP lease, if any. A switch of the address mode keeps them.
    std::vector<std::string> dnsServers;
};

struct JoinState {
    platform::JoinStatus status = platform::JoinStatus::Unknown;
    std::u16string name;
};

enum class RegistryAccess {
    Full,
    ReadOnly, // opens, but values cannot be set or deleted (5)
    Denied,   // cannot be opened or created (5)
};

struct RegistryValueRecord {
    platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
    std::u16string key;  // path below the root, as created
    std::u16string name; // empty for the key's default value
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// A value that differs from the baseline: before or after missing means
// added or deleted.
struct RegistryChange {
    std::optional<RegistryValueRecord> before;
    std::optional<RegistryValueRecord> after;
};

class World {
public:
    // The defaults of a fresh workstation:
    // - computer "WIN-7K2P9QX4T1M" in the workgroup "WORKGROUP"; no domain,
    //   no adapter; the SetAdapterIpAddress export present;
    // - clock 2009-03-21 09:15:43.000 (a Saturday), not advancing;
    // - user locale en-US (0x0409); the locale table of DefaultLocales();
    // - TEMP and TMP "C:\Users\Administrator\AppData\Local\Temp", USERPROFILE,
    //   SystemRoot, windir, USERNAME;
    // - directories C:\, C:\Windows, C:\Windows\System32, the user profile
    //   with its Temp, C:\Tools; the module "C:\Tools\corvane.exe"; current
    //   directory "C:\Users\Administrator";
    // - registry keys of a fresh Windows: the machine's Run key,
    //   Tcpip\Parameters (Hostname, NV Hostname), ComputerName\ComputerName
    //   and ComputerName\ActiveComputerName (ComputerName), HKCU\Software.
    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    platform::Platform& platform();
    platform::Clock& clock();
    platform::Locale& locale();
    platform::Environment& environment();
    platform::FileSystem& files();
    platform::PrivateProfile& profile();
    platform::Registry& registry();
    platform::NetworkManagement& network();
    platform::IpHelper& ipHelper();
    platform::Resources& resources();
    // The simulated user at the dialogs and message boxes: scripts, answers
    // and the journal of every window the program opened (desktop.h).
    sim::Desktop& Desktop();
    platform::DirectoryService& directory();

    // For code that works on the state directly (for instance a directory
    // service over Domain::Directory()): hold this lock meanwhile. The lock
    // is recursive, so world methods can be called while it is held.
    std::unique_lock<std::recursive_mutex> Lock() const;

    // --- Clock
    void SetLocalTime(const platform::SystemTime& time);
    // Each reading advances the clock by this many milliseconds (0: fixed).
    void SetClockStep(std::int64_t milliseconds);
    platform::SystemTime LocalTime() const; // without advancing

    // --- Locale
    static std::vector<LocaleDefinition> DefaultLocales();
    // Adds or replaces a table entry (kept in ascending identifier order).
    void AddLocale(const LocaleDefinition& locale);
    // False, and no change, for a locale not in the table.
    bool SetUserDefaultLocale(platform::LocaleId locale);
    platform::LocaleId UserDefaultLocale() const;
    // The user's user-interface language, which the resource look-up follows
    // (0: that of the user's default locale).
    void SetUserInterfaceLanguage(platform::LanguageId language);
    platform::LanguageId UserInterfaceLanguage() const;

    // --- Environment (a null value removes the variable)
    void SetEnvironmentVariable(std::u16string_view name, const char16_t* value);
    std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) const;

    // --- Files. Paths are Windows paths, resolved like the platform's.
    void CreateDirectory(std::u16string_view path); // with its parents
    // Creates or replaces a file; missing parent directories are created.
    void PutFile(std::u16string_view path, std::vector<std::uint8_t> bytes);
    void PutTextFile(std::u16string_view path, std::u16string_view text, TextEncoding encoding);
    bool RemoveFile(std::u16string_view path);
    std::optional<std::vector<std::uint8_t>> FileBytes(std::u16string_view path) const;
    // A locked file or directory refuses write access: no OpenForAppend on
    // it, and no new file in a locked directory.
    void SetLocked(std::u16string_view path, bool locked);
    void SetCurrentDirectory(std::u16string_view path); // created when missing
    void SetModulePath(std::u16string_view path);       // the file is created
    std::u16string CurrentDirectory() const;
    std::u16string ModulePath() const;
    // The full path as the platform resolves it ("" for an empty path).
    std::u16string FullPath(std::u16string_view path) const;
    std::vector<std::u16string> FilePaths() const; // sorted without regard to case
    std::size_t OpenFileCount() const;

    // --- Registry (key paths below the root, backslashes)
    void SetRegistryValue(platform::RegistryRoot root, std::u16string_view key,
                          std::u16string_view name, std::uint32_t type,
                          std::vector<std::uint8_t> data);
    // REG_SZ with the terminator, as the program writes it.
    void SetRegistryString(platform::RegistryRoot root, std::u16string_view key,
                           std::u16string_view name, std::u16string_view text);
    void SetRegistryDword(platform::RegistryRoot root, std::u16string_view key,
                          std::u16string_view name, std::uint32_t value);
    bool DeleteRegistryValue(platform::RegistryRoot root, std::u16string_view key,
                             std::u16string_view name);
    void CreateRegistryKey(platform::RegistryRoot root, std::u16string_view key);
    void SetRegistryKeyAccess(platform::RegistryRoot root, std::u16string_view key,
                              RegistryAccess access); // the key is created
    std::optional<RegistryValueRecord> RegistryValue(platform::RegistryRoot root,
                                                     std::u16string_view key,
                                                     std::u16string_view name) const;
    std::vector<RegistryValueRecord> RegistryValues() const; // every value, tree order
    std::size_t OpenRegistryKeyCount() const;
    // Takes the present registry as the baseline of RegistryChanges(); the
    // constructor and the scenario loader take one.
    void MarkRegistryBaseline();
    std::vector<RegistryChange> RegistryChanges() const;

    // --- Computer name and membership
    // The name the computer has now (as after a restart); the NetBIOS form
    // is the name upper-cased and cut to 15 characters, the DNS host name
    // keeps the case given. Clears a pending name.
    void SetComputerName(std::u16string_view name);
    std::u16string ComputerName() const;
    // The name that takes effect at the next start, if one was set.
    std::optional<std::u16string> PendingComputerName() const;
    // A restart: the pending name becomes the name, open files and keys are
    // closed, thread locales are forgotten.
    void Restart();
    void SetJoinState(platform::JoinStatus status, std::u16string_view name);
    JoinState GetJoinState() const;

    // --- Domains
    // Adds a domain (the DNS name defaults to the NetBIOS name). The
    // reference stays valid for the world's life.
    Domain& AddDomain(std::u16string_view netbiosName, std::u16string_view dnsName);
    // By NetBIOS or DNS name, without regard to case.
    Domain* FindDomain(std::u16string_view name);
    const Domain* FindDomain(std::u16string_view name) const;
    std::vector<Domain*> Domains();
    std::vector<const Domain*> Domains() const;
    // Buffers that NetGetJoinInformation, NetGetJoinableOUs and DsGetDcName
    // handed out and NetApiBufferFree has not released yet.
    std::size_t OutstandingNetApiBuffers() const;
    // NetApiBufferFree calls with a pointer the world never handed out (or
    // released already).
    std::size_t InvalidNetApiFrees() const;
    // The domain's directory service records its calls here too.
    void Record(JournalEntry entry);

    // --- Directory service (ADSI over the domains' directories)
    // Interface references handed out and not released yet.
    std::size_t LiveDirectoryInterfaces() const;
    // CoInitialize calls not yet paired with CoUninitialize, on all threads.
    std::size_t OpenComBrackets() const;
    // Searches not closed with CloseSearchHandle; columns not freed.
    std::size_t OpenDirectorySearches() const;
    std::size_t HeldSearchColumns() const;
    // Calls on interfaces, searches or columns that are not live (released,
    // never handed out, or of another kind), and CoUninitialize calls
    // without a CoInitialize.
    std::size_t InvalidDirectoryCalls() const;
    // Result pages the directory's searches have fetched from the server.
    std::size_t DirectorySearchPages() const;

    // --- Adapters
    void AddAdapter(const AdapterConfig& adapter);
    std::vector<AdapterConfig> Adapters() const; // present state, platform order
    std::optional<AdapterConfig> Adapter(std::string_view name) const;
    void SetSetAdapterIpAddressAvailable(bool available);

    // --- Failures and journal
    // Makes `operation` (a name of FailurePlan::Operations()) return `code`
    // for its next `times` calls (kAlways: every call), optionally only for
    // calls on `subject`. False for an unknown operation.
    bool InjectFailure(std::string_view operation, platform::ErrorCode code, int times = kAlways,
                       std::u16string_view subject = {});
    void ClearFailures();
    // Makes every call of `operation` (NetGetJoinInformation, DsGetDcName,
    // NetGetJoinableOUs or NetJoinDomain) wait `delay` first, as over a slow or absent network;
    // zero removes the delay. Only the calling thread waits.
    void InjectDelay(std::string_view operation, std::chrono::milliseconds delay);
    // For services built on the world (the directory service): the result
    // planned for this call of `operation`, if any, used up as by the
    // platform's own calls.
    std::optional<platform::ErrorCode> TakeFailure(std::string_view operation,
                                                   std::u16string_view subject = {});
    std::vector<Failure> PendingFailures() const;
    std::vector<JournalEntry> Journal() const;
    std::vector<std::string> JournalLines() const; // JournalEntry::Text() of each
    // The entries of one operation only.
    std::vector<std::string> JournalLines(std::string_view operation) const;
    void ClearJournal();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace corvane::sim
