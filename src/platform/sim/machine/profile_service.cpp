// INI files read with the private-profile rules of Windows.
#include "platform/ascii_text.h"
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <memory>
#include <optional>

namespace corvane::sim {

struct ProfileEntry {
    std::u16string key;
    std::optional<std::u16string> value; // none: a line without '='
};

struct ProfileSection {
    std::u16string name;
    std::vector<ProfileEntry> entries;
};

// A file's sections as parsed from exactly these bytes.
struct ParsedProfile {
    std::u16string path;
    std::vector<std::uint8_t> bytes;
    std::vector<ProfileSection> sections;
};

namespace {

std::u16string DecodeProfile(const std::vector<std::uint8_t>& bytes) {
    auto utf16 = [&](std::size_t start, bool bigEndian) {
        std::u16string text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<char16_t>(bytes[i]);
            const auto second = static_cast<char16_t>(bytes[i + 1]);
            text.push_back(bigEndian ? static_cast<char16_t>(first << 8 | second)
                                     : static_cast<char16_t>(second << 8 | first));
        }
        return text;
    };
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        return utf16(2, false);
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        return utf16(2, true);
    }
    const std::string_view narrow(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (narrow.starts_with("\xEF\xBB\xBF")) {
        return Utf8ToUtf16(narrow.substr(3));
    }
    // No byte-order mark: the system code page, even for UTF-8 text.
    return Cp1252ToUtf16(narrow);
}

std::u16string_view TrimEnd(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<ProfileSection> ParseProfile(const std::vector<std::uint8_t>& bytes) {
    const std::u16string text = DecodeProfile(bytes);
    std::vector<ProfileSection> sections;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        const std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == u';') {
            continue; // blank or comment
        }
        if (line.front() == u'[') {
            const std::size_t close = line.rfind(u']');
            if (close != std::u16string_view::npos && close > 0) {
                sections.push_back({std::u16string(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        if (sections.empty()) {
            sections.push_back({}); // lines before the first section header
        }
        ProfileEntry entry;
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos) {
            entry.key = std::u16string(line);
        } else {
            entry.key = std::u16string(TrimEnd(line.substr(0, equals)));
            entry.value = std::u16string(Trim(line.substr(equals + 1)));
        }
        sections.back().entries.push_back(std::move(entry));
    }
    return sections;
}

// A value without one pair of surrounding quotes (double or single).
std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Copies a text cut to size - 1 and returns the characters copied.
std::uint32_t CopyCut(std::u16string_view text, char16_t* buffer, std::uint32_t size) {
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    text.copy(buffer, count);
    buffer[count] = u'\0';
    return static_cast<std::uint32_t>(count);
}

// Copies a list of terminated entries and a final terminator; a list that
// does not fit is cut to size - 2 characters and ended by two terminators.
std::uint32_t CopyList(const std::u16string& list, char16_t* buffer, std::uint32_t size) {
    if (list.size() + 1 <= size) {
        list.copy(buffer, list.size());
        buffer[list.size()] = u'\0';
        return static_cast<std::uint32_t>(list.size());
    }
    if (size < 2) {
        buffer[0] = u'\0';
        return 0;
    }
    list.copy(buffer, size - 2);
    buffer[size - 2] = u'\0';
    buffer[size - 1] = u'\0';
    return size - 2;
}

const ProfileSection* FindSection(const std::vector<ProfileSection>& sections,
                                  std::u16string_view name) {
    for (const ProfileSection& section : sections) {
        if (EqualsNoCase(section.name, name)) {
            return &section; // the first section of that name wins
        }
    }
    return nullptr;
}

// Reads the file as the profile functions see it: a name without a path
// lies in the Windows directory; a missing or failing file has no sections.
// `parsed` keeps the last file parsed; the result lives until the next call.
const std::vector<ProfileSection>& LoadProfile(State& state,
                                               std::shared_ptr<const ParsedProfile>& parsed,
                                               std::string_view operation, const char16_t* file) {
    static const std::vector<ProfileSection> kNoSections;
    std::u16string path = file == nullptr ? std::u16string(u"win.ini") : std::u16string(file);
    if (path.find_first_of(u"\\/") == std::u16string::npos) {
        path = u"C:\\Windows\\" + path;
    }
    const std::u16string full = state.ResolvePath(path);
    if (auto code = state.Fail(operation, full)) {
        state.Record(std::string(operation), {JournalText(full)}, *code, true);
        return kNoSections;
    }
    const FileEntry* entry = state.FindFile(full);
    if (entry == nullptr) {
        return kNoSections;
    }
    if (parsed == nullptr || parsed->path != full || parsed->bytes != entry->bytes) {
        parsed = std::make_shared<const ParsedProfile>(
            ParsedProfile{full, entry->bytes, ParseProfile(entry->bytes)});
    }
    return parsed->sections;
}

// RtlUnicodeStringToInteger with base 0: blanks, a sign, then "0x", "0o"
// or "0b" for hexadecimal, octal or binary, else decimal digits; stops at
// the first other character and wraps around at 32 bits.
std::uint32_t ParseInteger(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] <= u' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == u'0') {
        const char16_t prefix = text[i + 1];
        if (prefix == u'x' || prefix == u'X') {
            base = 16;
        } else if (prefix == u'o' || prefix == u'O') {
            base = 8;
        } else if (prefix == u'b' || prefix == u'B') {
            base = 2;
        }
        if (base != 10) {
            i += 2;
        }
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        const int digit = HexDigitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            break;
        }
        value = value * base + static_cast<unsigned>(digit);
    }
    return negative ? 0u - value : value;
}

} // namespace

std::uint32_t SimPrivateProfile::GetString(const char16_t* section, const char16_t* key,
                                           const char16_t* defaultValue, char16_t* buffer,
                                           std::uint32_t size, const char16_t* file) {
    std::lock_guard lock(state_.mutex);
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::vector<ProfileSection>& sections =
        LoadProfile(state_, parsed_, "GetPrivateProfileString", file);
    if (section == nullptr) {
        // Every section name.
        std::u16string list;
        for (const ProfileSection& entry : sections) {
            list += entry.name;
            list.push_back(u'\0');
        }
        return CopyList(list, buffer, size);
    }
    const ProfileSection* found = FindSection(sections, section);
    if (key == nullptr) {
        // Every key of the section that has a value.
        std::u16string list;
        if (found != nullptr) {
            for (const ProfileEntry& entry : found->entries) {
                if (entry.value) {
                    list += entry.key;
                    list.push_back(u'\0');
                }
            }
        }
        return CopyList(list, buffer, size);
    }
    if (found != nullptr) {
        for (const ProfileEntry& entry : found->entries) {
            // A line without '=' is no key for this call.
            if (entry.value && EqualsNoCase(entry.key, key)) {
                return CopyCut(Unquote(*entry.value), buffer, size);
            }
        }
    }
    // The default loses its trailing blanks.
    std::u16string_view fallback = View(defaultValue);
    while (!fallback.empty() && fallback.back() == u' ') {
        fallback.remove_suffix(1);
    }
    return CopyCut(fallback, buffer, size);
}

std::uint32_t SimPrivateProfile::GetSection(const char16_t* section, char16_t* buffer,
                                            std::uint32_t size, const char16_t* file) {
    std::lock_guard lock(state_.mutex);
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::vector<ProfileSection>& sections =
        LoadProfile(state_, parsed_, "GetPrivateProfileSection", file);
    const ProfileSection* found = section == nullptr ? nullptr : FindSection(sections, section);
    std::u16string list;
    if (found != nullptr) {
        for (const ProfileEntry& entry : found->entries) {
            // Entries as they stand in the file: trimmed, quotes kept.
            list += entry.key;
            if (entry.value) {
                list.push_back(u'=');
                list += *entry.value;
            }
            list.push_back(u'\0');
        }
    }
    if (list.empty()) {
        buffer[0] = u'\0';
        if (size > 1) {
            buffer[1] = u'\0';
        }
        return 0;
    }
    return CopyList(list, buffer, size);
}

std::uint32_t SimPrivateProfile::GetInt(const char16_t* section, const char16_t* key,
                                        std::int32_t defaultValue, const char16_t* file) {
    char16_t text[30];
    {
        std::lock_guard lock(state_.mutex);
        if (auto code = state_.Fail("GetPrivateProfileInt", View(key))) {
            state_.Record("GetPrivateProfileInt", {JournalText(section), JournalText(key)}, *code,
                          true);
            return static_cast<std::uint32_t>(defaultValue);
        }
    }
    // A key that is missing or empty gives the default.
    if (GetString(section, key, u"", text, 30, file) == 0) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return ParseInteger(text);
}

} // namespace corvane::sim
