#include "platform/sim/world.h"

#include "platform/sim/desktop/user_interface_service.h"
#include "platform/sim/directory/directory_service.h"
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <algorithm>

namespace corvane::sim {

struct World::Impl {
    State state;
    SimClock clock{state};
    SimLocale locale{state};
    SimEnvironment environment{state};
    SimFileSystem files{state};
    SimPrivateProfile profile{state};
    SimRegistry registry{state};
    SimNetworkManagement network{state};
    SimIpHelper ipHelper{state};
    SimResources resources{state};
    SimDirectoryService directory{state};
    SimUserInterface ui{state};
    platform::Platform platform{clock,   locale,   environment, files,     profile, registry,
                                network, ipHelper, resources,   directory, ui};
};

namespace {

constexpr std::u16string_view kProfile = u"C:\\Users\\Administrator";
constexpr std::u16string_view kTemp = u"C:\\Users\\Administrator\\AppData\\Local\\Temp";

std::vector<std::uint8_t> NameBytes(std::u16string_view name) {
    return Utf16Bytes(name, true);
}

} // namespace

std::vector<std::uint8_t> EncodeText(std::u16string_view text, TextEncoding encoding) {
    std::vector<std::uint8_t> bytes;
    switch (encoding) {
    case TextEncoding::Ansi: {
        const std::string narrow = Utf16ToCp1252(text);
        bytes.assign(narrow.begin(), narrow.end());
        break;
    }
    case TextEncoding::Utf8Bom:
        bytes = {0xEF, 0xBB, 0xBF};
        [[fallthrough]];
    case TextEncoding::Utf8: {
        const std::string narrow = Utf16ToUtf8(text);
        bytes.insert(bytes.end(), narrow.begin(), narrow.end());
        break;
    }
    case TextEncoding::Utf16LeBom:
        bytes = {0xFF, 0xFE};
        [[fallthrough]];
    case TextEncoding::Utf16Le: {
        const std::vector<std::uint8_t> wide = Utf16Bytes(text, false);
        bytes.insert(bytes.end(), wide.begin(), wide.end());
        break;
    }
    }
    return bytes;
}

std::vector<LocaleDefinition> World::DefaultLocales() {
    // The pictures of current Windows versions.
    return {
        {0x0407, u"de", u"DE", u"dd.MM.yyyy", u"HH:mm:ss", u"", u""},
        {0x0409, u"en", u"US", u"M/d/yyyy", u"h:mm:ss tt", u"AM", u"PM"},
        {0x040C, u"fr", u"FR", u"dd/MM/yyyy", u"HH:mm:ss", u"", u""},
        {0x0410, u"it", u"IT", u"dd/MM/yyyy", u"HH:mm:ss", u"", u""},
        {0x0413, u"nl", u"NL", u"d-M-yyyy", u"HH:mm:ss", u"", u""},
        {0x0807, u"de", u"CH", u"dd.MM.yyyy", u"HH:mm:ss", u"", u""},
        {0x0809, u"en", u"GB", u"dd/MM/yyyy", u"HH:mm:ss", u"AM", u"PM"},
        {0x0C07, u"de", u"AT", u"dd.MM.yyyy", u"HH:mm:ss", u"", u""},
        {0x0C09, u"en", u"AU", u"d/MM/yyyy", u"h:mm:ss tt", u"AM", u"PM"},
        {0x1007, u"de", u"LU", u"dd.MM.yyyy", u"HH:mm:ss", u"", u""},
        {0x1009, u"en", u"CA", u"yyyy-MM-dd", u"h:mm:ss tt", u"a.m.", u"p.m."},
        {0x1407, u"de", u"LI", u"dd.MM.yyyy", u"HH:mm:ss", u"", u""},
    };
}

World::World() : impl_(std::make_unique<Impl>()) {
    State& s = impl_->state;
    s.now = platform::SystemTime{2009, 3, 6, 21, 9, 15, 43, 0};
    s.locales = DefaultLocales();
    s.userLocale = platform::kLocaleEnglishUS;

    s.directories.emplace(Fold(u"C:\\"), DirectoryEntry{u"C:\\", false});
    s.currentDirectory = u"C:\\";
    for (std::u16string_view directory :
         {std::u16string_view(u"C:\\Windows"), std::u16string_view(u"C:\\Windows\\System32"),
          std::u16string_view(u"C:\\Windows\\Temp"), kProfile, kTemp,
          std::u16string_view(u"C:\\Tools")}) {
        s.EnsureDirectory(directory);
    }
    s.currentDirectory = std::u16string(kProfile);
    s.modulePath = u"C:\\Tools\\corvane.exe";
    s.files.emplace(Fold(s.modulePath), FileEntry{s.modulePath, {}, false});

    const std::pair<std::u16string_view, std::u16string_view> variables[] = {
        {u"TEMP", kTemp},
        {u"TMP", kTemp},
        {u"USERPROFILE", kProfile},
        {u"USERNAME", u"Administrator"},
        {u"SystemRoot", u"C:\\Windows"},
        {u"windir", u"C:\\Windows"},
        {u"SystemDrive", u"C:"},
    };
    for (const auto& [name, value] : variables) {
        s.environment[Fold(name)] = {std::u16string(name), std::u16string(value)};
    }

    s.CreateKeyPath(platform::RegistryRoot::LocalMachine, kRunKey);
    s.CreateKeyPath(platform::RegistryRoot::CurrentUser, u"Software");
    s.join = {platform::JoinStatus::Workgroup, u"WORKGROUP"};
    SetComputerName(u"WIN-7K2P9QX4T1M");
    s.registryBaseline = s.AllRegistryValues();
}

World::~World() = default;

platform::Platform& World::platform() {
    return impl_->platform;
}
sim::Desktop& World::Desktop() {
    return impl_->ui.Desktop();
}
platform::Clock& World::clock() {
    return impl_->clock;
}
platform::Locale& World::locale() {
    return impl_->locale;
}
platform::Environment& World::environment() {
    return impl_->environment;
}
platform::FileSystem& World::files() {
    return impl_->files;
}
platform::PrivateProfile& World::profile() {
    return impl_->profile;
}
platform::Registry& World::registry() {
    return impl_->registry;
}
platform::NetworkManagement& World::network() {
    return impl_->network;
}
platform::IpHelper& World::ipHelper() {
    return impl_->ipHelper;
}
platform::Resources& World::resources() {
    return impl_->resources;
}
platform::DirectoryService& World::directory() {
    return impl_->directory;
}

std::unique_lock<std::recursive_mutex> World::Lock() const {
    return std::unique_lock(impl_->state.mutex);
}

// --- Clock

void World::SetLocalTime(const platform::SystemTime& time) {
    auto lock = Lock();
    // Normalises the fields and recomputes the day of the week.
    impl_->state.now = AddMilliseconds(time, 0);
}

void World::SetClockStep(std::int64_t milliseconds) {
    auto lock = Lock();
    impl_->state.clockStepMs = milliseconds;
}

platform::SystemTime World::LocalTime() const {
    auto lock = Lock();
    return impl_->state.now;
}

// --- Locale

void World::AddLocale(const LocaleDefinition& locale) {
    auto lock = Lock();
    std::vector<LocaleDefinition>& locales = impl_->state.locales;
    const auto it = std::lower_bound(
        locales.begin(), locales.end(), locale.id,
        [](const LocaleDefinition& entry, platform::LocaleId id) { return entry.id < id; });
    if (it != locales.end() && it->id == locale.id) {
        *it = locale;
    } else {
        locales.insert(it, locale);
    }
}

bool World::SetUserDefaultLocale(platform::LocaleId locale) {
    auto lock = Lock();
    if (impl_->state.FindLocale(locale) == nullptr) {
        return false;
    }
    impl_->state.userLocale = locale;
    return true;
}

platform::LocaleId World::UserDefaultLocale() const {
    auto lock = Lock();
    return impl_->state.userLocale;
}

void World::SetUserInterfaceLanguage(platform::LanguageId language) {
    auto lock = Lock();
    impl_->state.uiLanguage = language;
}

platform::LanguageId World::UserInterfaceLanguage() const {
    auto lock = Lock();
    return impl_->state.UserInterfaceLanguage();
}

// --- Environment

void World::SetEnvironmentVariable(std::u16string_view name, const char16_t* value) {
    auto lock = Lock();
    if (value == nullptr) {
        impl_->state.environment.erase(Fold(name));
    } else {
        impl_->state.environment[Fold(name)] = {std::u16string(name), std::u16string(value)};
    }
}

std::optional<std::u16string> World::EnvironmentVariable(std::u16string_view name) const {
    auto lock = Lock();
    const auto it = impl_->state.environment.find(Fold(name));
    if (it == impl_->state.environment.end()) {
        return std::nullopt;
    }
    return it->second.second;
}

// --- Files

void World::CreateDirectory(std::u16string_view path) {
    auto lock = Lock();
    const std::u16string full = impl_->state.ResolvePath(path);
    if (!full.empty()) {
        impl_->state.EnsureDirectory(full);
    }
}

void World::PutFile(std::u16string_view path, std::vector<std::uint8_t> bytes) {
    auto lock = Lock();
    State& s = impl_->state;
    const std::u16string full = s.ResolvePath(path);
    if (full.empty() || full.back() == u'\\') {
        return;
    }
    s.EnsureDirectory(State::ParentPath(full));
    if (FileEntry* file = s.FindFile(full)) {
        file->bytes = std::move(bytes);
        return;
    }
    s.files.emplace(Fold(full), FileEntry{full, std::move(bytes), false});
}

void World::PutTextFile(std::u16string_view path, std::u16string_view text, TextEncoding encoding) {
    PutFile(path, EncodeText(text, encoding));
}

bool World::RemoveFile(std::u16string_view path) {
    auto lock = Lock();
    State& s = impl_->state;
    const std::u16string key = Fold(s.ResolvePath(path));
    for (const auto& [handle, open] : s.openFiles) {
        if (open.key == key) {
            return false; // open files cannot be deleted
        }
    }
    return s.files.erase(key) != 0;
}

std::optional<std::vector<std::uint8_t>> World::FileBytes(std::u16string_view path) const {
    auto lock = Lock();
    State& s = impl_->state;
    const FileEntry* file = s.FindFile(s.ResolvePath(path));
    if (file == nullptr) {
        return std::nullopt;
    }
    return file->bytes;
}

void World::SetLocked(std::u16string_view path, bool locked) {
    auto lock = Lock();
    State& s = impl_->state;
    const std::u16string full = s.ResolvePath(path);
    const std::u16string key = Fold(full);
    if (FileEntry* file = s.FindFile(full)) {
        file->locked = locked;
        return;
    }
    const auto directory = s.directories.find(key);
    if (directory != s.directories.end()) {
        directory->second.locked = locked;
        return;
    }
    // A path that does not exist yet is taken for a file to come.
    s.EnsureDirectory(State::ParentPath(full));
    s.files.emplace(key, FileEntry{full, {}, locked});
}

void World::SetCurrentDirectory(std::u16string_view path) {
    auto lock = Lock();
    State& s = impl_->state;
    const std::u16string full = s.ResolvePath(path);
    if (full.empty()) {
        return;
    }
    s.EnsureDirectory(full);
    s.currentDirectory = s.directories.find(Fold(full))->second.path;
}

void World::SetModulePath(std::u16string_view path) {
    auto lock = Lock();
    State& s = impl_->state;
    const std::u16string full = s.ResolvePath(path);
    if (full.empty()) {
        return;
    }
    s.EnsureDirectory(State::ParentPath(full));
    if (s.FindFile(full) == nullptr) {
        s.files.emplace(Fold(full), FileEntry{full, {}, false});
    }
    s.modulePath = full;
}

std::u16string World::CurrentDirectory() const {
    auto lock = Lock();
    return impl_->state.currentDirectory;
}

std::u16string World::ModulePath() const {
    auto lock = Lock();
    return impl_->state.modulePath;
}

std::u16string World::FullPath(std::u16string_view path) const {
    auto lock = Lock();
    return impl_->state.ResolvePath(path);
}

std::vector<std::u16string> World::FilePaths() const {
    auto lock = Lock();
    std::vector<std::u16string> paths;
    for (const auto& [key, file] : impl_->state.files) {
        paths.push_back(file.path);
    }
    return paths;
}

std::size_t World::OpenFileCount() const {
    auto lock = Lock();
    return impl_->state.openFiles.size();
}

// --- Registry

void World::SetRegistryValue(platform::RegistryRoot root, std::u16string_view key,
                             std::u16string_view name, std::uint32_t type,
                             std::vector<std::uint8_t> data) {
    auto lock = Lock();
    impl_->state.SetValue(root, key, name, type, std::move(data));
}

void World::SetRegistryString(platform::RegistryRoot root, std::u16string_view key,
                              std::u16string_view name, std::u16string_view text) {
    SetRegistryValue(root, key, name, platform::kRegSz, Utf16Bytes(text, true));
}

void World::SetRegistryDword(platform::RegistryRoot root, std::u16string_view key,
                             std::u16string_view name, std::uint32_t value) {
    SetRegistryValue(root, key, name, platform::kRegDword,
                     {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value >> 16),
                      static_cast<std::uint8_t>(value >> 24)});
}

bool World::DeleteRegistryValue(platform::RegistryRoot root, std::u16string_view key,
                                std::u16string_view name) {
    auto lock = Lock();
    RegistryNode* node = impl_->state.FindKey(root, key);
    if (node == nullptr) {
        return false;
    }
    const auto it = std::find_if(node->values.begin(), node->values.end(),
                                 [&](const auto& value) { return EqualsNoCase(value.name, name); });
    if (it == node->values.end()) {
        return false;
    }
    node->values.erase(it);
    return true;
}

void World::CreateRegistryKey(platform::RegistryRoot root, std::u16string_view key) {
    auto lock = Lock();
    impl_->state.CreateKeyPath(root, key);
}

void World::SetRegistryKeyAccess(platform::RegistryRoot root, std::u16string_view key,
                                 RegistryAccess access) {
    auto lock = Lock();
    if (RegistryNode* node = impl_->state.CreateKeyPath(root, key)) {
        node->access = access;
    }
}

std::optional<RegistryValueRecord> World::RegistryValue(platform::RegistryRoot root,
                                                        std::u16string_view key,
                                                        std::u16string_view name) const {
    auto lock = Lock();
    RegistryNode* node = impl_->state.FindKey(root, key);
    if (node == nullptr) {
        return std::nullopt;
    }
    const RegistryValueData* value = node->FindValue(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return RegistryValueRecord{root, std::u16string(key), value->name, value->type, value->data};
}

std::vector<RegistryValueRecord> World::RegistryValues() const {
    auto lock = Lock();
    return impl_->state.AllRegistryValues();
}

std::size_t World::OpenRegistryKeyCount() const {
    auto lock = Lock();
    return impl_->state.openKeys.size();
}

void World::MarkRegistryBaseline() {
    auto lock = Lock();
    impl_->state.registryBaseline = impl_->state.AllRegistryValues();
}

std::vector<RegistryChange> World::RegistryChanges() const {
    auto lock = Lock();
    auto same = [](const RegistryValueRecord& a, const RegistryValueRecord& b) {
        return a.root == b.root && EqualsNoCase(a.key, b.key) && EqualsNoCase(a.name, b.name);
    };
    const std::vector<RegistryValueRecord> now = impl_->state.AllRegistryValues();
    const std::vector<RegistryValueRecord>& before = impl_->state.registryBaseline;
    std::vector<RegistryChange> changes;
    for (const RegistryValueRecord& value : now) {
        const auto old = std::find_if(before.begin(), before.end(),
                                      [&](const auto& entry) { return same(entry, value); });
        if (old == before.end()) {
            changes.push_back({std::nullopt, value});
        } else if (old->type != value.type || old->data != value.data) {
            changes.push_back({*old, value});
        }
    }
    for (const RegistryValueRecord& value : before) {
        if (std::none_of(now.begin(), now.end(),
                         [&](const auto& entry) { return same(entry, value); })) {
            changes.push_back({value, std::nullopt});
        }
    }
    return changes;
}

// --- Computer name and membership

void World::SetComputerName(std::u16string_view name) {
    auto lock = Lock();
    State& s = impl_->state;
    s.computerName = State::NetbiosForm(name);
    s.dnsHostname = std::u16string(name);
    s.pendingName.reset();
    s.pendingDnsHostname.reset();
    const auto machine = platform::RegistryRoot::LocalMachine;
    s.SetValue(machine, kTcpipParametersKey, u"Hostname", platform::kRegSz, NameBytes(name));
    s.SetValue(machine, kTcpipParametersKey, u"NV Hostname", platform::kRegSz, NameBytes(name));
    s.SetValue(machine, kComputerNameKey, u"ComputerName", platform::kRegSz,
               NameBytes(s.computerName));
    s.SetValue(machine, kActiveComputerNameKey, u"ComputerName", platform::kRegSz,
               NameBytes(s.computerName));
}

std::u16string World::ComputerName() const {
    auto lock = Lock();
    return impl_->state.computerName;
}

std::optional<std::u16string> World::PendingComputerName() const {
    auto lock = Lock();
    return impl_->state.pendingName;
}

void World::Restart() {
    auto lock = Lock();
    State& s = impl_->state;
    if (s.pendingName) {
        s.computerName = *s.pendingName;
        if (s.pendingDnsHostname) {
            s.dnsHostname = *s.pendingDnsHostname;
        }
        const auto machine = platform::RegistryRoot::LocalMachine;
        s.SetValue(machine, kTcpipParametersKey, u"Hostname", platform::kRegSz,
                   NameBytes(s.dnsHostname));
        s.SetValue(machine, kActiveComputerNameKey, u"ComputerName", platform::kRegSz,
                   NameBytes(s.computerName));
        s.pendingName.reset();
        s.pendingDnsHostname.reset();
    }
    s.openFiles.clear();
    s.openKeys.clear();
    s.threadLocales.clear();
}

void World::SetJoinState(platform::JoinStatus status, std::u16string_view name) {
    auto lock = Lock();
    impl_->state.join = {status, std::u16string(name)};
    impl_->state.accountDomain = nullptr;
    impl_->state.accountObject = kNoObject;
}

JoinState World::GetJoinState() const {
    auto lock = Lock();
    return impl_->state.join;
}

// --- Domains

Domain& World::AddDomain(std::u16string_view netbiosName, std::u16string_view dnsName) {
    auto lock = Lock();
    impl_->state.domains.push_back(std::make_unique<Domain>(netbiosName, dnsName));
    return *impl_->state.domains.back();
}

Domain* World::FindDomain(std::u16string_view name) {
    auto lock = Lock();
    return impl_->state.FindDomain(name);
}

const Domain* World::FindDomain(std::u16string_view name) const {
    auto lock = Lock();
    return impl_->state.FindDomain(name);
}

std::vector<Domain*> World::Domains() {
    auto lock = Lock();
    std::vector<Domain*> out;
    for (const auto& domain : impl_->state.domains) {
        out.push_back(domain.get());
    }
    return out;
}

std::vector<const Domain*> World::Domains() const {
    auto lock = Lock();
    std::vector<const Domain*> out;
    for (const auto& domain : impl_->state.domains) {
        out.push_back(domain.get());
    }
    return out;
}

std::size_t World::OutstandingNetApiBuffers() const {
    auto lock = Lock();
    return impl_->state.netApiBuffers.size();
}

std::size_t World::InvalidNetApiFrees() const {
    auto lock = Lock();
    return impl_->state.invalidNetApiFrees;
}

void World::Record(JournalEntry entry) {
    auto lock = Lock();
    impl_->state.journal.Record(std::move(entry));
}

// --- Directory service

std::size_t World::LiveDirectoryInterfaces() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().liveInterfaces;
}

std::size_t World::OpenComBrackets() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().openComBrackets;
}

std::size_t World::OpenDirectorySearches() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().openSearches;
}

std::size_t World::HeldSearchColumns() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().heldColumns;
}

std::size_t World::InvalidDirectoryCalls() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().invalidCalls;
}

std::size_t World::DirectorySearchPages() const {
    auto lock = Lock();
    return impl_->directory.CurrentUsage().pagesFetched;
}

// --- Adapters

void World::AddAdapter(const AdapterConfig& adapter) {
    auto lock = Lock();
    impl_->state.adapters.push_back(adapter);
}

std::vector<AdapterConfig> World::Adapters() const {
    auto lock = Lock();
    return impl_->state.adapters;
}

std::optional<AdapterConfig> World::Adapter(std::string_view name) const {
    auto lock = Lock();
    for (const AdapterConfig& adapter : impl_->state.adapters) {
        if (EqualsNoCase(Cp1252ToUtf16(adapter.name), Cp1252ToUtf16(name))) {
            return adapter;
        }
    }
    return std::nullopt;
}

void World::SetSetAdapterIpAddressAvailable(bool available) {
    auto lock = Lock();
    impl_->state.hasSetAdapterIpAddress = available;
}

// --- Failures and journal

bool World::InjectFailure(std::string_view operation, platform::ErrorCode code, int times,
                          std::u16string_view subject) {
    auto lock = Lock();
    return impl_->state.failures.Add(operation, code, times, subject);
}

std::optional<platform::ErrorCode> World::TakeFailure(std::string_view operation,
                                                      std::u16string_view subject) {
    auto lock = Lock();
    return impl_->state.failures.Take(operation, subject);
}

void World::InjectDelay(std::string_view operation, std::chrono::milliseconds delay) {
    State& state = impl_->state;
    std::lock_guard lock(state.delayMutex);
    if (delay.count() <= 0) {
        state.delays.erase(std::string(operation));
    } else {
        state.delays[std::string(operation)] = delay;
    }
}

void World::ClearFailures() {
    auto lock = Lock();
    impl_->state.failures.Clear();
}

std::vector<Failure> World::PendingFailures() const {
    auto lock = Lock();
    return impl_->state.failures.Pending();
}

std::vector<JournalEntry> World::Journal() const {
    auto lock = Lock();
    return impl_->state.journal.Entries();
}

std::vector<std::string> World::JournalLines() const {
    auto lock = Lock();
    std::vector<std::string> lines;
    for (const JournalEntry& entry : impl_->state.journal.Entries()) {
        lines.push_back(entry.Text());
    }
    return lines;
}

std::vector<std::string> World::JournalLines(std::string_view operation) const {
    auto lock = Lock();
    std::vector<std::string> lines;
    for (const JournalEntry& entry : impl_->state.journal.Entries()) {
        if (entry.operation == operation) {
            lines.push_back(entry.Text());
        }
    }
    return lines;
}

void World::ClearJournal() {
    auto lock = Lock();
    impl_->state.journal.Clear();
}

} // namespace corvane::sim
