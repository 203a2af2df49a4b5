#include "platform/sim/scenario/scenario.h"

#include "platform/sim/line_tokens.h"
#include "platform/sim/machine/state.h"
#include "platform/sim/text.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace corvane::sim {

namespace {

using Tokens = std::vector<std::string>;

bool ParseNumber(std::string_view text, std::uint64_t& value, std::uint64_t limit = 0xFFFFFFFFu) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && value <= limit;
}

bool ParseCode(std::string_view text, std::uint32_t& value) {
    std::uint64_t number = 0;
    if (!ParseNumber(text, number)) {
        return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool ParseBool(std::string_view text, bool& value) {
    if (text == "yes" || text == "true" || text == "1" || text == "accepted" || text == "present") {
        value = true;
        return true;
    }
    if (text == "no" || text == "false" || text == "0" || text == "refused" || text == "missing") {
        value = false;
        return true;
    }
    return false;
}

bool ParseEncoding(std::string_view text, TextEncoding& encoding) {
    static constexpr std::pair<std::string_view, TextEncoding> kNames[] = {
        {"ansi", TextEncoding::Ansi},
        {"utf8", TextEncoding::Utf8},
        {"utf8-bom", TextEncoding::Utf8Bom},
        {"utf16le", TextEncoding::Utf16Le},
        {"utf16le-bom", TextEncoding::Utf16LeBom},
    };
    for (const auto& [name, value] : kNames) {
        if (name == text) {
            encoding = value;
            return true;
        }
    }
    return false;
}

bool ParseHexBytes(const Tokens& tokens, std::size_t from, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::string digits;
    for (std::size_t i = from; i < tokens.size(); ++i) {
        for (char c : tokens[i]) {
            if (c == ' ' || c == '-' || c == ',') {
                continue;
            }
            if (!std::isxdigit(static_cast<unsigned char>(c))) {
                return false;
            }
            digits.push_back(c);
        }
    }
    if (digits.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        std::uint64_t value = 0;
        ParseNumber("0x" + digits.substr(i, 2), value);
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}

bool ParseRegistryPath(std::string_view text, platform::RegistryRoot& root, std::u16string& key) {
    const std::size_t slash = text.find('\\');
    const std::string_view head = text.substr(0, slash);
    if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE") {
        root = platform::RegistryRoot::LocalMachine;
    } else if (head == "HKCU" || head == "HKEY_CURRENT_USER") {
        root = platform::RegistryRoot::CurrentUser;
    } else {
        return false;
    }
    key = slash == std::string_view::npos ? std::u16string() : Utf8ToUtf16(text.substr(slash + 1));
    return true;
}

bool ParseTime(std::string_view date, std::string_view time, platform::SystemTime& out) {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    unsigned millis = 0;
    const std::string dateText(date);
    const std::string timeText(time);
    char tail = 0;
    // Field widths bound every number, so no conversion can overflow.
    // NOLINTNEXTLINE(cert-err34-c)
    if (std::sscanf(dateText.c_str(), "%4u-%2u-%2u%c", &year, &month, &day, &tail) != 3) {
        return false;
    }
    const int fields =
        // NOLINTNEXTLINE(cert-err34-c)
        std::sscanf(timeText.c_str(), "%2u:%2u:%2u.%3u%c", &hour, &minute, &second, &millis, &tail);
    if (fields != 3 && fields != 4) {
        return false;
    }
    out = platform::SystemTime{static_cast<std::uint16_t>(year),
                               static_cast<std::uint16_t>(month),
                               0,
                               static_cast<std::uint16_t>(day),
                               static_cast<std::uint16_t>(hour),
                               static_cast<std::uint16_t>(minute),
                               static_cast<std::uint16_t>(second),
                               static_cast<std::uint16_t>(millis)};
    return IsValidDate(out) && IsValidTime(out);
}

// The objects of a DN below the domain root, created where missing: OU
// components as organisational units, CN components as containers.
ObjectId EnsureDn(Domain& domain, std::u16string_view dn, std::u16string_view leafType,
                  std::string& error) {
    std::vector<RelativeName> components;
    if (!ParseDistinguishedName(domain.AbsoluteDn(dn), components)) {
        error = "not a distinguished name";
        return kNoObject;
    }
    DirectoryTree& directory = domain.Directory();
    std::vector<RelativeName> root;
    ParseDistinguishedName(directory.RootDn(), root);
    if (components.size() <= root.size()) {
        error = "the distinguished name names no object below the domain";
        return kNoObject;
    }
    if (!EqualsNoCase(components.front().type, leafType)) {
        error = "the distinguished name must start with " + Utf16ToUtf8(leafType) + "=";
        return kNoObject;
    }
    ObjectId current = directory.Root();
    for (std::size_t k = components.size() - root.size(); k > 0; --k) {
        const RelativeName& part = components[k - 1];
        ObjectId next = directory.FindChild(current, part.type, part.value);
        if (next == kNoObject) {
            std::u16string_view objectClass;
            if (EqualsNoCase(part.type, u"OU")) {
                objectClass = directory_class::kOrganizationalUnit;
            } else if (EqualsNoCase(part.type, u"CN")) {
                objectClass = directory_class::kContainer;
            } else {
                error = "only OU and CN components can be created";
                return kNoObject;
            }
            if (directory.Create(current, objectClass, part.value, &next, part.type) != 0) {
                error = "cannot create " + Utf16ToUtf8(part.type) + "=" + Utf16ToUtf8(part.value);
                return kNoObject;
            }
        }
        current = next;
    }
    return current;
}

class Loader {
public:
    Loader(World& world, ScenarioResult& result) : world_(world), result_(result) {}

    void Run(std::string_view text) {
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        std::vector<std::string_view> lines;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            lines.push_back(line);
            start = end + 1;
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            line_ = i + 1;
            std::string_view line = lines[i];
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
                line.remove_prefix(1);
            }
            if (!line.empty() && line.front() == '[') {
                Header(WithoutComment(line));
                continue;
            }
            Tokens tokens;
            std::string error;
            if (!TokenizeLine(line, tokens, error)) {
                Error(error);
                continue;
            }
            if (tokens.empty()) {
                continue; // blank or a comment
            }
            switch (section_) {
            case Section::None:
                Error("a line outside any section");
                break;
            case Section::Workstation:
                Workstation(tokens, lines, i);
                break;
            case Section::Adapter:
                AdapterLine(tokens);
                break;
            case Section::Domain:
                DomainLine(tokens);
                break;
            case Section::Failures:
                FailureLine(tokens);
                break;
            }
        }
        for (const AdapterConfig& adapter : adapters_) {
            world_.AddAdapter(adapter);
        }
        world_.MarkRegistryBaseline();
    }

private:
    enum class Section { None, Workstation, Adapter, Domain, Failures };

    void Error(std::string message) { result_.errors.push_back({line_, std::move(message)}); }

    bool Count(const Tokens& tokens, std::size_t least, std::size_t most) {
        if (tokens.size() >= least && tokens.size() <= most) {
            return true;
        }
        const std::string range =
            least == most ? std::to_string(least - 1)
                          : std::to_string(least - 1) + " to " + std::to_string(most - 1);
        Error("'" + tokens[0] + "' takes " + range + (most == 2 ? " value" : " values"));
        return false;
    }

    void Header(std::string_view line) {
        section_ = Section::None;
        domain_ = nullptr;
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos) {
            Error("a section header needs a closing ']'");
            return;
        }
        std::string trailing(line.substr(close + 1));
        if (trailing.find_first_not_of(" \t") != std::string::npos) {
            Error("text after the section header");
            return;
        }
        Tokens tokens;
        std::string error;
        if (!TokenizeLine(line.substr(1, close - 1), tokens, error)) {
            Error(error);
            return;
        }
        if (tokens.empty()) {
            Error("an empty section header");
            return;
        }
        const std::string& kind = tokens[0];
        if (kind == "workstation" && tokens.size() == 1) {
            section_ = Section::Workstation;
        } else if (kind == "failures" && tokens.size() == 1) {
            section_ = Section::Failures;
        } else if (kind == "adapter" && tokens.size() == 2) {
            AdapterConfig adapter;
            adapter.name = tokens[1];
            adapter.index = static_cast<std::uint32_t>(adapters_.size() + 1);
            adapter.description = "Network adapter " + std::to_string(adapters_.size() + 1);
            adapter.mac.back() = static_cast<std::uint8_t>(adapters_.size() + 1);
            adapters_.push_back(std::move(adapter));
            addresses_ = 0;
            gateways_ = 0;
            section_ = Section::Adapter;
        } else if (kind == "domain" && (tokens.size() == 2 || tokens.size() == 3)) {
            const std::u16string netbios = Utf8ToUtf16(tokens[1]);
            const std::u16string dns = tokens.size() == 3 ? Utf8ToUtf16(tokens[2]) : netbios;
            if (world_.FindDomain(netbios) != nullptr || world_.FindDomain(dns) != nullptr) {
                Error("the domain " + tokens[1] + " exists already");
                return;
            }
            domain_ = &world_.AddDomain(netbios, dns);
            section_ = Section::Domain;
        } else {
            Error("unknown section [" + std::string(line.substr(1, close - 1)) + "]");
        }
    }

    void Workstation(const Tokens& t, const std::vector<std::string_view>& lines, std::size_t& i) {
        const std::string& key = t[0];
        if (key == "name") {
            if (Count(t, 2, 2)) {
                world_.SetComputerName(Utf8ToUtf16(t[1]));
            }
        } else if (key == "join") {
            JoinLine(t);
        } else if (key == "locale") {
            if (Count(t, 2, 2)) {
                LocaleLine(t[1]);
            }
        } else if (key == "ui-language") {
            std::uint64_t language = 0;
            if (Count(t, 2, 2)) {
                if (ParseNumber(t[1], language, 0xFFFFu)) {
                    world_.SetUserInterfaceLanguage(static_cast<platform::LanguageId>(language));
                } else {
                    Error("ui-language is a language identifier such as 0x0407");
                }
            }
        } else if (key == "clock") {
            platform::SystemTime time;
            if (Count(t, 3, 3)) {
                if (ParseTime(t[1], t[2], time)) {
                    world_.SetLocalTime(time);
                } else {
                    Error("a clock is YYYY-MM-DD HH:MM:SS[.mmm]");
                }
            }
        } else if (key == "clock-step") {
            std::uint64_t step = 0;
            if (Count(t, 2, 2)) {
                if (ParseNumber(t[1], step, 86400000ull * 365)) {
                    world_.SetClockStep(static_cast<std::int64_t>(step));
                } else {
                    Error("a clock step is a number of milliseconds");
                }
            }
        } else if (key == "env") {
            if (Count(t, 2, 3)) {
                const std::u16string value = t.size() == 3 ? Utf8ToUtf16(t[2]) : std::u16string();
                world_.SetEnvironmentVariable(Utf8ToUtf16(t[1]),
                                              t.size() == 3 ? value.c_str() : nullptr);
            }
        } else if (key == "cwd") {
            if (Count(t, 2, 2)) {
                world_.SetCurrentDirectory(Utf8ToUtf16(t[1]));
            }
        } else if (key == "module") {
            if (Count(t, 2, 2)) {
                world_.SetModulePath(Utf8ToUtf16(t[1]));
            }
        } else if (key == "dir") {
            if (Count(t, 2, 2)) {
                world_.CreateDirectory(Utf8ToUtf16(t[1]));
            }
        } else if (key == "locked") {
            if (Count(t, 2, 2)) {
                world_.SetLocked(Utf8ToUtf16(t[1]), true);
            }
        } else if (key == "file") {
            FileLine(t, lines, i);
        } else if (key == "registry") {
            RegistryLine(t);
        } else if (key == "registry-key") {
            platform::RegistryRoot root{};
            std::u16string path;
            if (Count(t, 2, 2)) {
                if (ParseRegistryPath(t[1], root, path)) {
                    world_.CreateRegistryKey(root, path);
                } else {
                    Error("a registry key starts with HKLM\\ or HKCU\\");
                }
            }
        } else if (key == "registry-access") {
            platform::RegistryRoot root{};
            std::u16string path;
            if (!Count(t, 3, 3)) {
                return;
            }
            if (!ParseRegistryPath(t[1], root, path)) {
                Error("a registry key starts with HKLM\\ or HKCU\\");
                return;
            }
            if (t[2] == "full") {
                world_.SetRegistryKeyAccess(root, path, RegistryAccess::Full);
            } else if (t[2] == "readonly") {
                world_.SetRegistryKeyAccess(root, path, RegistryAccess::ReadOnly);
            } else if (t[2] == "denied") {
                world_.SetRegistryKeyAccess(root, path, RegistryAccess::Denied);
            } else {
                Error("registry access is full, readonly or denied");
            }
        } else if (key == "set-adapter-ip-address") {
            bool present = false;
            if (Count(t, 2, 2)) {
                if (ParseBool(t[1], present)) {
                    world_.SetSetAdapterIpAddressAvailable(present);
                } else {
                    Error("set-adapter-ip-address is present or missing");
                }
            }
        } else {
            Error("unknown workstation key '" + key + "'");
        }
    }

    void JoinLine(const Tokens& t) {
        if (t.size() == 2 && t[1] == "unjoined") {
            world_.SetJoinState(platform::JoinStatus::Unjoined, u"");
        } else if (t.size() == 2 && t[1] == "unknown") {
            world_.SetJoinState(platform::JoinStatus::Unknown, u"");
        } else if (t.size() == 3 && t[1] == "workgroup") {
            world_.SetJoinState(platform::JoinStatus::Workgroup, Utf8ToUtf16(t[2]));
        } else if (t.size() == 3 && t[1] == "domain") {
            world_.SetJoinState(platform::JoinStatus::Domain, Utf8ToUtf16(t[2]));
        } else {
            Error("join is 'workgroup NAME', 'domain NAME', 'unjoined' or 'unknown'");
        }
    }

    void LocaleLine(const std::string& text) {
        std::uint64_t number = 0;
        if (ParseNumber(text, number, 0xFFFFFFFFu)) {
            if (!world_.SetUserDefaultLocale(static_cast<platform::LocaleId>(number))) {
                Error("locale " + text + " is not in the locale table");
            }
            return;
        }
        // A tag: the first locale whose language-country name matches.
        const std::u16string tag = Utf8ToUtf16(text);
        platform::LocaleId found = 0;
        platform::Locale& locale = world_.locale();
        locale.EnumSystemLocales([&](const char16_t* hex) {
            std::uint64_t lcid = 0;
            ParseNumber("0x" + Utf16ToUtf8(hex), lcid);
            char16_t language[9] = {};
            char16_t country[9] = {};
            const auto id = static_cast<platform::LocaleId>(lcid);
            locale.GetLocaleInfo(id, platform::LocaleInfoType::Iso639LanguageName, language, 9);
            locale.GetLocaleInfo(id, platform::LocaleInfoType::Iso3166CountryName, country, 9);
            if (EqualsNoCase(std::u16string(language) + u"-" + country, tag)) {
                found = id;
                return false;
            }
            return true;
        });
        if (found == 0 || !world_.SetUserDefaultLocale(found)) {
            Error("locale " + text + " is not in the locale table");
        }
    }

    void FileLine(const Tokens& t, const std::vector<std::string_view>& lines, std::size_t& i) {
        if (t.size() < 3) {
            Error("file takes a path, an encoding and the content");
            return;
        }
        const std::u16string path = Utf8ToUtf16(t[1]);
        if (t[2] == "hex") {
            std::vector<std::uint8_t> bytes;
            if (ParseHexBytes(t, 3, bytes)) {
                world_.PutFile(path, std::move(bytes));
            } else {
                Error("hex content is pairs of hexadecimal digits");
            }
            return;
        }
        TextEncoding encoding{};
        if (!ParseEncoding(t[2], encoding)) {
            Error("unknown encoding '" + t[2] +
                  "' (ansi, utf8, utf8-bom, utf16le, utf16le-bom, hex)");
            return;
        }
        std::size_t next = 3;
        std::u16string newline = u"\r\n";
        if (next < t.size() && (t[next] == "crlf" || t[next] == "lf")) {
            newline = t[next] == "lf" ? u"\n" : u"\r\n";
            ++next;
        }
        if (next + 1 != t.size()) {
            Error("file takes one content: a quoted text or <<END");
            return;
        }
        const std::string& content = t[next];
        if (!content.starts_with("<<")) {
            world_.PutTextFile(path, Utf8ToUtf16(content), encoding);
            return;
        }
        const std::string_view tag = std::string_view(content).substr(2);
        if (tag.empty()) {
            Error("a here-document needs an end tag after <<");
            return;
        }
        std::u16string text;
        const std::size_t first = i + 1;
        for (std::size_t k = first; k < lines.size(); ++k) {
            if (lines[k] == tag) {
                world_.PutTextFile(path, text, encoding);
                i = k;
                return;
            }
            text += Utf8ToUtf16(lines[k]) + newline;
        }
        Error("the here-document has no end line '" + std::string(tag) + "'");
        i = lines.size();
    }

    void RegistryLine(const Tokens& t) {
        if (t.size() < 4) {
            Error("registry takes a key, a value name, a type and the data");
            return;
        }
        platform::RegistryRoot root{};
        std::u16string key;
        if (!ParseRegistryPath(t[1], root, key)) {
            Error("a registry key starts with HKLM\\ or HKCU\\");
            return;
        }
        const std::u16string name = Utf8ToUtf16(t[2]);
        const std::string& type = t[3];
        if (type == "sz" || type == "expand-sz") {
            if (!Count(t, 5, 5)) {
                return;
            }
            world_.SetRegistryValue(root, key, name, type == "sz" ? 1u : 2u,
                                    Utf16Bytes(Utf8ToUtf16(t[4]), true));
        } else if (type == "dword") {
            std::uint32_t value = 0;
            if (Count(t, 5, 5)) {
                if (ParseCode(t[4], value)) {
                    world_.SetRegistryDword(root, key, name, value);
                } else {
                    Error("a dword is a number");
                }
            }
        } else if (type == "binary" || type == "none") {
            std::vector<std::uint8_t> bytes;
            if (ParseHexBytes(t, 4, bytes)) {
                world_.SetRegistryValue(root, key, name, type == "binary" ? 3u : 0u,
                                        std::move(bytes));
            } else {
                Error("binary data is pairs of hexadecimal digits");
            }
        } else {
            Error("unknown registry type '" + type + "' (sz, expand-sz, dword, binary, none)");
        }
    }

    void AdapterLine(const Tokens& t) {
        AdapterConfig& adapter = adapters_.back();
        const std::string& key = t[0];
        std::uint32_t number = 0;
        if (key == "description") {
            if (Count(t, 2, 2)) {
                adapter.description = Utf16ToCp1252(Utf8ToUtf16(t[1]));
            }
        } else if (key == "index" || key == "type" || key == "dhcp") {
            if (!Count(t, 2, 2)) {
                return;
            }
            if (!ParseCode(t[1], number)) {
                Error("'" + key + "' takes a number");
                return;
            }
            (key == "index"  ? adapter.index
             : key == "type" ? adapter.type
                             : adapter.dhcpEnabled) = number;
        } else if (key == "mac") {
            std::vector<std::uint8_t> bytes;
            if (Count(t, 2, 2)) {
                if (ParseHexBytes(t, 1, bytes) &&
                    bytes.size() <= platform::kMaxAdapterAddressLength) {
                    adapter.mac = std::move(bytes);
                } else {
                    Error("a MAC address is up to 8 hexadecimal pairs");
                }
            }
        } else if (key == "address") {
            if (!Count(t, 3, 3)) {
                return;
            }
            if (addresses_++ == 0) {
                adapter.address = t[1];
                adapter.mask = t[2];
            } else {
                adapter.moreAddresses.emplace_back(t[1], t[2]);
            }
        } else if (key == "gateway") {
            if (!Count(t, 2, 2)) {
                return;
            }
            if (gateways_++ == 0) {
                adapter.gateway = t[1];
            } else {
                adapter.moreGateways.push_back(t[1]);
            }
        } else if (key == "dns") {
            // The adapter's own DNS servers, in search order.
            if (t.size() < 2) {
                Error("'dns' takes one or more addresses");
                return;
            }
            adapter.dnsServers.assign(t.begin() + 1, t.end());
        } else if (key == "dhcp-server") {
            if (Count(t, 2, 2)) {
                adapter.dhcpServer = t[1];
            }
        } else if (key == "lease") {
            if (Count(t, 4, 4)) {
                adapter.leaseAddress = t[1];
                adapter.leaseMask = t[2];
                adapter.leaseGateway = t[3];
            }
        } else {
            Error("unknown adapter key '" + key + "'");
        }
    }

    void DomainLine(const Tokens& t) {
        Domain& domain = *domain_;
        const std::string& key = t[0];
        if (key == "reachable") {
            bool value = false;
            if (Count(t, 2, 2)) {
                if (ParseBool(t[1], value)) {
                    domain.SetReachable(value);
                } else {
                    Error("reachable is yes or no");
                }
            }
        } else if (key == "credential") {
            if (!Count(t, 3, 4)) {
                return;
            }
            if (t.size() == 4 && t[3] != "disabled") {
                Error("a credential ends with its password or 'disabled'");
                return;
            }
            domain.AddCredential(Utf8ToUtf16(t[1]), Utf8ToUtf16(t[2]), t.size() == 4);
        } else if (key == "own-logon") {
            bool value = false;
            if (Count(t, 2, 2)) {
                if (ParseBool(t[1], value)) {
                    domain.SetAcceptsOwnLogon(value);
                } else {
                    Error("own-logon is accepted or refused");
                }
            }
        } else if (key == "refuse") {
            DomainOperation operation{};
            std::uint32_t code = 0;
            if (!Count(t, 3, 3)) {
                return;
            }
            if (!ParseDomainOperation(t[1], operation)) {
                Error("unknown operation '" + t[1] + "' (join, unjoin, rename, ous, directory)");
            } else if (!ParseCode(t[2], code)) {
                Error("a refusal code is a number");
            } else {
                domain.SetRefusalCode(operation, code);
            }
        } else if (key == "ou" || key == "container") {
            if (!Count(t, 2, 2)) {
                return;
            }
            const std::u16string text = Utf8ToUtf16(t[1]);
            std::string error;
            if (key == "ou" && text.starts_with(u"\\")) {
                std::vector<std::u16string> path;
                std::size_t start = 0;
                while (start < text.size()) {
                    std::size_t end = text.find(u'\\', start);
                    if (end == std::u16string::npos) {
                        end = text.size();
                    }
                    if (end > start) {
                        path.push_back(text.substr(start, end - start));
                    }
                    start = end + 1;
                }
                if (path.empty() ||
                    domain.Directory().EnsureOrganizationalUnits(path) == kNoObject) {
                    Error("cannot create the OU path " + t[1]);
                }
            } else if (EnsureDn(domain, text, key == "ou" ? u"OU" : u"CN", error) == kNoObject) {
                Error(error);
            }
        } else if (key == "computer") {
            if (Count(t, 2, 3)) {
                const std::u16string container =
                    t.size() == 3 ? Utf8ToUtf16(t[2]) : std::u16string();
                if (domain.AddComputer(Utf8ToUtf16(t[1]), container) == kNoObject) {
                    Error("cannot add computer " + t[1] +
                          " (missing container, or the name is taken there)");
                }
            }
        } else {
            Error("unknown domain key '" + key + "'");
        }
    }

    void FailureLine(const Tokens& t) {
        if (!Count(t, 2, 4)) {
            return;
        }
        if (!FailurePlan::IsKnownOperation(t[0])) {
            Error("unknown operation '" + t[0] + "'");
            return;
        }
        std::uint32_t code = 0;
        if (!ParseCode(t[1], code)) {
            Error("a failure code is a number");
            return;
        }
        int times = kAlways;
        if (t.size() >= 3) {
            std::uint64_t count = 0;
            if (t[2] == "once") {
                times = 1;
            } else if (t[2] == "always") {
                times = kAlways;
            } else if (ParseNumber(t[2], count, 1000000) && count > 0) {
                times = static_cast<int>(count);
            } else {
                Error("a failure count is once, always or a positive number");
                return;
            }
        }
        const std::u16string subject = t.size() == 4 ? Utf8ToUtf16(t[3]) : std::u16string();
        world_.InjectFailure(t[0], code, times, subject);
    }

    World& world_;
    ScenarioResult& result_;
    std::size_t line_ = 0;
    Section section_ = Section::None;
    Domain* domain_ = nullptr;
    std::vector<AdapterConfig> adapters_;
    std::size_t addresses_ = 0;
    std::size_t gateways_ = 0;
};

std::string Quote(std::string_view text) {
    return QuoteToken(text);
}

std::string Quote(std::u16string_view text) {
    return Quote(Utf16ToUtf8(text));
}

std::string TimeText(const platform::SystemTime& time) {
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u.%03u",
                  static_cast<unsigned>(time.year), static_cast<unsigned>(time.month),
                  static_cast<unsigned>(time.day), static_cast<unsigned>(time.hour),
                  static_cast<unsigned>(time.minute), static_cast<unsigned>(time.second),
                  static_cast<unsigned>(time.milliseconds));
    return text;
}

std::string JoinText(const JoinState& join) {
    switch (join.status) {
    case platform::JoinStatus::Workgroup:
        return "workgroup " + Quote(join.name);
    case platform::JoinStatus::Domain:
        return "domain " + Quote(join.name);
    case platform::JoinStatus::Unjoined:
        return "unjoined";
    default:
        return "unknown";
    }
}

std::string ValueText(const RegistryValueRecord& value) {
    return RegistryTypeName(value.type) + " " + RegistryDataText(value.type, value.data);
}

void DumpTree(const DirectoryTree& tree, std::string& out) {
    std::vector<std::pair<ObjectId, std::size_t>> stack = {{tree.Root(), 0}};
    while (!stack.empty()) {
        const auto [object, depth] = stack.back();
        stack.pop_back();
        const std::u16string component =
            object == tree.Root()
                ? tree.RootDn()
                : std::u16string(tree.RdnType(object)) + u"=" + EscapeDnValue(tree.Name(object));
        out += std::string(2 * depth, ' ') + Utf16ToUtf8(component) + " " +
               Utf16ToUtf8(tree.Class(object)) + "\n";
        const std::vector<ObjectId> children = tree.Children(object);
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            stack.emplace_back(*it, depth + 1);
        }
    }
}

} // namespace

std::string ScenarioError::Text() const {
    return "line " + std::to_string(line) + ": " + message;
}

std::string ScenarioResult::Text() const {
    std::string text;
    for (const ScenarioError& error : errors) {
        text += error.Text() + "\n";
    }
    return text;
}

ScenarioResult LoadScenario(std::string_view text, World& world) {
    ScenarioResult result;
    auto lock = world.Lock();
    Loader(world, result).Run(text);
    return result;
}

std::string DumpWorld(const World& world) {
    auto lock = world.Lock();
    std::string out = "[workstation]\n";
    out += "name " + Quote(world.ComputerName()) + "\n";
    const std::optional<std::u16string> pending = world.PendingComputerName();
    out += "pending-name " + (pending ? Quote(*pending) : std::string("-")) + "\n";
    out += "join " + JoinText(world.GetJoinState()) + "\n";
    out += "locale " + Hex(world.UserDefaultLocale(), 4) + "\n";
    out += "clock " + TimeText(world.LocalTime()) + "\n";
    out += "cwd " + Quote(world.CurrentDirectory()) + "\n";
    out += "module " + Quote(world.ModulePath()) + "\n";
    out += "open-files " + std::to_string(world.OpenFileCount()) + "\n";
    out += "open-registry-keys " + std::to_string(world.OpenRegistryKeyCount()) + "\n";
    out += "netapi-buffers " + std::to_string(world.OutstandingNetApiBuffers()) + "\n";
    out += "invalid-netapi-frees " + std::to_string(world.InvalidNetApiFrees()) + "\n";

    out += "\n[files]\n";
    for (const std::u16string& path : world.FilePaths()) {
        const auto bytes = world.FileBytes(path);
        out += Quote(path) + " " + std::to_string(bytes ? bytes->size() : 0) + " bytes\n";
    }

    for (const AdapterConfig& adapter : world.Adapters()) {
        out += "\n[adapter " + Quote(adapter.name) + "]\n";
        out += "description " + Quote(Cp1252ToUtf16(adapter.description)) + "\n";
        out += "index " + std::to_string(adapter.index) + "\n";
        out += "dhcp " + std::to_string(adapter.dhcpEnabled) + "\n";
        out += "address " + Quote(adapter.address) + " " + Quote(adapter.mask) + "\n";
        for (const auto& [address, mask] : adapter.moreAddresses) {
            out += "address " + Quote(address) + " " + Quote(mask) + "\n";
        }
        out += "gateway " + Quote(adapter.gateway) + "\n";
        for (const std::string& gateway : adapter.moreGateways) {
            out += "gateway " + Quote(gateway) + "\n";
        }
        if (!adapter.dnsServers.empty()) {
            out += "dns";
            for (const std::string& server : adapter.dnsServers) {
                out += " " + Quote(server);
            }
            out += "\n";
        }
    }

    for (const Domain* domain : world.Domains()) {
        out += "\n[domain " + Quote(domain->NetbiosName()) + " " + Quote(domain->DnsName()) + "]\n";
        out += std::string("reachable ") + (domain->Reachable() ? "yes" : "no") + "\n";
        DumpTree(domain->Directory(), out);
    }

    out += "\n[registry changes]\n";
    for (const RegistryChange& change : world.RegistryChanges()) {
        const RegistryValueRecord& any = change.after ? *change.after : *change.before;
        out += RootName(any.root) + "\\" + Utf16ToUtf8(any.key) + ": " +
               (any.name.empty() ? std::string("(default)") : Quote(any.name)) + " ";
        if (change.before && change.after) {
            out += ValueText(*change.before) + " -> " + ValueText(*change.after) + "\n";
        } else if (change.after) {
            out += "added " + ValueText(*change.after) + "\n";
        } else {
            out += "deleted, was " + ValueText(*change.before) + "\n";
        }
    }

    out += "\n[failures pending]\n";
    for (const Failure& failure : world.PendingFailures()) {
        out += failure.operation + " " + std::to_string(failure.code) + " " +
               (failure.remaining == kAlways ? std::string("always")
                                             : std::to_string(failure.remaining)) +
               (failure.subject.empty() ? std::string() : " " + Quote(failure.subject)) + "\n";
    }

    out += "\n[journal]\n";
    for (const std::string& line : world.JournalLines()) {
        out += line + "\n";
    }
    return out;
}

} // namespace corvane::sim
