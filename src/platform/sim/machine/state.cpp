#include "platform/sim/machine/state.h"

#include "platform/sim/text.h"

#include <algorithm>

namespace corvane::sim {

AdapterConfig* State::FindAdapter(std::u16string_view name) {
    for (AdapterConfig& candidate : adapters) {
        if (EqualsNoCase(Cp1252ToUtf16(candidate.name), name)) {
            return &candidate;
        }
    }
    return nullptr;
}

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

bool IsLeap(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

void CollectValues(const RegistryNode& node, platform::RegistryRoot root,
                   const std::u16string& path, std::vector<RegistryValueRecord>& out) {
    for (const RegistryValueData& value : node.values) {
        out.push_back(RegistryValueRecord{root, path, value.name, value.type, value.data});
    }
    for (const auto& [folded, child] : node.children) {
        CollectValues(*child, root, path.empty() ? child->name : path + u"\\" + child->name, out);
    }
}

} // namespace

RegistryValueData* RegistryNode::FindValue(std::u16string_view valueName) {
    for (RegistryValueData& value : values) {
        if (EqualsNoCase(value.name, valueName)) {
            return &value;
        }
    }
    return nullptr;
}

std::optional<platform::ErrorCode> State::Fail(std::string_view operation,
                                               std::u16string_view subject) {
    return failures.Take(operation, subject);
}

void State::WaitAsPlanned(std::string_view operation) {
    std::chrono::milliseconds delay{0};
    {
        std::lock_guard lock(delayMutex);
        const auto found = delays.find(operation);
        if (found == delays.end()) {
            return;
        }
        delay = found->second;
    }
    std::this_thread::sleep_for(delay);
}

void State::Record(std::string operation, std::vector<std::string> arguments,
                   platform::ErrorCode result, bool injected) {
    journal.Record(JournalEntry{std::move(operation), std::move(arguments), result, injected});
}

std::u16string State::ResolvePath(std::u16string_view input) const {
    if (input.empty()) {
        return {};
    }
    std::u16string path(input);
    for (char16_t& c : path) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    if (path.starts_with(u"\\\\?\\")) {
        path.erase(0, 4);
    }
    auto isDrive = [](std::u16string_view text) {
        return text.size() >= 2 && text[1] == u':' &&
               ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= u'a' && text[0] <= u'z'));
    };
    std::u16string root;
    std::u16string rest;
    if (path.starts_with(u"\\\\")) {
        // \\server\share\...: the share is the root.
        std::size_t server = path.find(u'\\', 2);
        std::size_t share = server == std::u16string::npos ? server : path.find(u'\\', server + 1);
        root = path.substr(0, share);
        rest = share == std::u16string::npos ? std::u16string() : path.substr(share);
    } else if (isDrive(path)) {
        root = path.substr(0, 2);
        root[0] = FoldChar(root[0]);
        rest = path.substr(2);
        if (rest.empty() || rest[0] != u'\\') {
            // "C:name" is relative to the current directory of that drive;
            // only one current directory is kept, on its own drive.
            if (isDrive(currentDirectory) && FoldChar(currentDirectory[0]) == root[0]) {
                rest = currentDirectory.substr(2) + u"\\" + rest;
            } else {
                rest = u"\\" + rest;
            }
        }
    } else if (path[0] == u'\\') {
        root = currentDirectory.substr(0, 2);
        rest = path;
    } else {
        root = currentDirectory.substr(0, 2);
        rest = currentDirectory.substr(2) + u"\\" + path;
    }
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(u'\\', start);
        if (end == std::u16string::npos) {
            end = rest.size();
        }
        std::u16string part = rest.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == u".") {
            continue;
        }
        if (part == u"..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
            continue;
        }
        // Windows drops trailing dots and blanks of a path component.
        while (!part.empty() && (part.back() == u'.' || part.back() == u' ')) {
            part.pop_back();
        }
        if (!part.empty()) {
            parts.push_back(std::move(part));
        }
    }
    std::u16string full = root;
    for (const std::u16string& part : parts) {
        full += u"\\" + part;
    }
    if (parts.empty()) {
        full += u"\\";
    }
    return full;
}

std::u16string State::ParentPath(std::u16string_view fullPath) {
    const std::size_t slash = fullPath.rfind(u'\\');
    if (slash == std::u16string_view::npos) {
        return {};
    }
    if (slash + 1 == fullPath.size()) {
        return {}; // a root has no parent
    }
    std::u16string parent(fullPath.substr(0, slash));
    if (parent.size() == 2 && parent[1] == u':') {
        parent.push_back(u'\\');
    }
    if (parent.starts_with(u"\\\\") && parent.find(u'\\', 2) == std::u16string::npos) {
        return {}; // "\\server" is no directory
    }
    return parent;
}

bool State::DirectoryExists(std::u16string_view fullPath) const {
    return directories.count(Fold(fullPath)) != 0;
}

void State::EnsureDirectory(std::u16string_view fullPath) {
    std::u16string path(fullPath);
    std::vector<std::u16string> missing;
    while (!path.empty() && !DirectoryExists(path)) {
        missing.push_back(path);
        path = ParentPath(path);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        directories.emplace(Fold(*it), DirectoryEntry{*it, false});
    }
}

FileEntry* State::FindFile(std::u16string_view fullPath) {
    const auto it = files.find(Fold(fullPath));
    return it == files.end() ? nullptr : &it->second;
}

const LocaleDefinition* State::FindLocale(platform::LocaleId locale) const {
    for (const LocaleDefinition& entry : locales) {
        if (entry.id == locale) {
            return &entry;
        }
    }
    return nullptr;
}

platform::LocaleId State::ResolveLocale(platform::LocaleId locale) const {
    switch (locale) {
    case 0:      // LOCALE_NEUTRAL
    case 0x0400: // LOCALE_USER_DEFAULT
    case 0x0800: // LOCALE_SYSTEM_DEFAULT
    case 0x0C00: // LOCALE_CUSTOM_DEFAULT
        return userLocale;
    default:
        return locale;
    }
}

platform::LanguageId State::UserInterfaceLanguage() const {
    return uiLanguage != 0 ? uiLanguage : static_cast<platform::LanguageId>(userLocale & 0xFFFFu);
}

platform::LanguageId State::DefaultResourceLanguage() const {
    constexpr platform::LanguageId kPrimaryLanguageMask = 0x3FF;
    constexpr platform::LanguageId kGerman = 0x0407;
    constexpr platform::LanguageId kEnglish = 0x0409;
    return (UserInterfaceLanguage() & kPrimaryLanguageMask) == (kGerman & kPrimaryLanguageMask)
               ? kGerman
               : kEnglish;
}

platform::LocaleId State::ThreadLocale() const {
    const auto it = threadLocales.find(std::this_thread::get_id());
    return it == threadLocales.end() ? userLocale : it->second;
}

RegistryNode& State::Root(platform::RegistryRoot root) {
    return root == platform::RegistryRoot::LocalMachine ? machine : user;
}

const RegistryNode& State::Root(platform::RegistryRoot root) const {
    return root == platform::RegistryRoot::LocalMachine ? machine : user;
}

bool State::SplitKeyPath(std::u16string_view path, std::vector<std::u16string>& parts) {
    parts.clear();
    if (path.empty()) {
        return true;
    }
    if (path.front() == u'\\') {
        return false;
    }
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = path.size();
        }
        if (end == start) {
            return false;
        }
        parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

RegistryNode* State::FindKey(platform::RegistryRoot root, std::u16string_view path) {
    std::vector<std::u16string> parts;
    if (!SplitKeyPath(path, parts)) {
        return nullptr;
    }
    RegistryNode* node = &Root(root);
    for (const std::u16string& part : parts) {
        const auto it = node->children.find(Fold(part));
        if (it == node->children.end()) {
            return nullptr;
        }
        node = it->second.get();
    }
    return node;
}

const RegistryNode* State::FindKey(platform::RegistryRoot root, std::u16string_view path) const {
    return const_cast<State*>(this)->FindKey(root, path);
}

RegistryNode* State::CreateKeyPath(platform::RegistryRoot root, std::u16string_view path) {
    std::vector<std::u16string> parts;
    if (!SplitKeyPath(path, parts)) {
        return nullptr;
    }
    RegistryNode* node = &Root(root);
    for (const std::u16string& part : parts) {
        std::unique_ptr<RegistryNode>& child = node->children[Fold(part)];
        if (!child) {
            child = std::make_unique<RegistryNode>();
            child->name = part;
        }
        node = child.get();
    }
    return node;
}

void State::SetValue(platform::RegistryRoot root, std::u16string_view key, std::u16string_view name,
                     std::uint32_t type, std::vector<std::uint8_t> data) {
    RegistryNode* node = CreateKeyPath(root, key);
    if (node == nullptr) {
        return;
    }
    if (RegistryValueData* value = node->FindValue(name)) {
        value->type = type;
        value->data = std::move(data);
        return;
    }
    node->values.push_back(RegistryValueData{std::u16string(name), type, std::move(data)});
}

std::vector<RegistryValueRecord> State::AllRegistryValues() const {
    std::vector<RegistryValueRecord> out;
    CollectValues(machine, platform::RegistryRoot::LocalMachine, {}, out);
    CollectValues(user, platform::RegistryRoot::CurrentUser, {}, out);
    return out;
}

std::u16string State::NetbiosForm(std::u16string_view name) {
    std::u16string form = Fold(name.substr(0, std::min<std::size_t>(name.size(), 15)));
    return form;
}

void State::SetPendingName(std::u16string_view dnsName) {
    pendingDnsHostname = std::u16string(dnsName);
    pendingName = NetbiosForm(dnsName);
    SetValue(platform::RegistryRoot::LocalMachine, kTcpipParametersKey, u"NV Hostname",
             platform::kRegSz, Utf16Bytes(dnsName, true));
    SetValue(platform::RegistryRoot::LocalMachine, kComputerNameKey, u"ComputerName",
             platform::kRegSz, Utf16Bytes(*pendingName, true));
}

std::u16string State::EffectiveComputerName() const {
    return pendingName ? *pendingName : computerName;
}

Domain* State::FindDomain(std::u16string_view name) {
    for (const std::unique_ptr<Domain>& domain : domains) {
        if (domain->Matches(name)) {
            return domain.get();
        }
    }
    return nullptr;
}

ObjectId State::ComputerAccount(const Domain& domain) const {
    const DirectoryTree& directory = domain.Directory();
    if (accountDomain == &domain && directory.Exists(accountObject) &&
        EqualsNoCase(directory.Class(accountObject), directory_class::kComputer)) {
        return accountObject;
    }
    return domain.FindComputer(computerName);
}

void* State::AllocateNetApiBuffer(std::size_t size) {
    auto block = std::make_unique<std::byte[]>(size == 0 ? 1 : size);
    void* pointer = block.get();
    netApiBuffers.emplace(pointer, std::move(block));
    return pointer;
}

std::string RootName(platform::RegistryRoot root) {
    return root == platform::RegistryRoot::LocalMachine ? "HKLM" : "HKCU";
}

std::string RegistryTypeName(std::uint32_t type) {
    switch (type) {
    case 0:
        return "REG_NONE";
    case 1:
        return "REG_SZ";
    case 2:
        return "REG_EXPAND_SZ";
    case 3:
        return "REG_BINARY";
    case 4:
        return "REG_DWORD";
    case 7:
        return "REG_MULTI_SZ";
    case 11:
        return "REG_QWORD";
    default:
        return "type " + Decimal(type);
    }
}

std::string RegistryDataText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if ((type == 1 || type == 2) && data.size() % 2 == 0) {
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
        std::string shown(1, '"');
        shown += Utf16ToUtf8(text.substr(0, text.find(u'\0')));
        shown.push_back('"');
        if (text.empty() || text.back() != u'\0' || text.find(u'\0') + 1 != text.size()) {
            shown += " (" + Decimal(data.size()) + " bytes)"; // not one terminated text
        }
        return shown;
    }
    if (type == 4 && data.size() == 4) {
        std::uint32_t value = 0;
        for (std::size_t i = 4; i > 0; --i) {
            value = (value << 8) | data[i - 1];
        }
        return Decimal(value);
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex = "hex:";
    for (std::size_t i = 0; i < data.size(); ++i) {
        hex += i == 0 ? "" : " ";
        hex.push_back(kDigits[data[i] >> 4]);
        hex.push_back(kDigits[data[i] & 0xF]);
    }
    return hex;
}

platform::SystemTime AddMilliseconds(const platform::SystemTime& time, std::int64_t milliseconds) {
    const std::int64_t days = DaysFromCivil(time.year, time.month, time.day);
    std::int64_t total = ((days * 24 + time.hour) * 60 + time.minute) * 60 + time.second;
    total = total * 1000 + time.milliseconds + milliseconds;
    std::int64_t dayCount = total / 86400000;
    std::int64_t rest = total % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --dayCount;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(dayCount, year, month, day);
    platform::SystemTime out;
    out.year = static_cast<std::uint16_t>(year);
    out.month = static_cast<std::uint16_t>(month);
    out.day = static_cast<std::uint16_t>(day);
    // 1970-01-01 was a Thursday (4).
    out.dayOfWeek = static_cast<std::uint16_t>(((dayCount % 7) + 7 + 4) % 7);
    out.hour = static_cast<std::uint16_t>(rest / 3600000);
    out.minute = static_cast<std::uint16_t>(rest / 60000 % 60);
    out.second = static_cast<std::uint16_t>(rest / 1000 % 60);
    out.milliseconds = static_cast<std::uint16_t>(rest % 1000);
    return out;
}

std::int64_t ToUnixSeconds(const platform::SystemTime& time) {
    const std::int64_t days = DaysFromCivil(time.year, time.month, time.day);
    return ((days * 24 + time.hour) * 60 + time.minute) * 60 + time.second;
}

bool IsValidDate(const platform::SystemTime& time) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 ||
        time.day < 1) {
        return false;
    }
    unsigned limit = kDays[time.month - 1];
    if (time.month == 2 && IsLeap(time.year)) {
        limit = 29;
    }
    return time.day <= limit;
}

bool IsValidTime(const platform::SystemTime& time) {
    return time.hour < 24 && time.minute < 60 && time.second < 60 && time.milliseconds < 1000;
}

} // namespace corvane::sim
