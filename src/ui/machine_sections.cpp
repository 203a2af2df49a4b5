#include "ui/machine_sections.h"

#include "support/ascii_case.h"
#include "support/fixed_text.h"
#include "ui/adapter_panel.h"

namespace corvane {

namespace {

constexpr std::u16string_view kMachinePrefix = u"machine";

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// The platform cuts a list that does not fit to size - 2 characters, so the
// buffer grows until the list fits; a fleet's file with thousands of
// machines needs far less than the last size tried.
constexpr std::uint32_t kFirstNamesCapacity = 4096;
constexpr std::uint32_t kMostNamesCapacity = 1U << 23;

} // namespace

bool ReadSectionNames(platform::Platform& os, const std::u16string& file,
                      std::vector<std::u16string>& names) {
    for (std::uint32_t capacity = kFirstNamesCapacity; capacity <= kMostNamesCapacity;
         capacity *= 2) {
        std::vector<char16_t> buffer(capacity, u'\0');
        const std::uint32_t length =
            os.profile.GetString(nullptr, nullptr, u"", buffer.data(), capacity, file.c_str());
        if (length + 2 >= capacity) {
            continue; // cut
        }
        std::size_t at = 0;
        while (at < length) {
            const std::size_t end = BoundedLength(buffer.data() + at, length - at);
            names.emplace_back(buffer.data() + at, end);
            at += end + 1;
        }
        return true;
    }
    return false;
}

MachineIdentity ReadMachineIdentity(platform::Platform& os) {
    MachineIdentity machine;
    std::array<char16_t, 16> name{};
    std::uint32_t length = static_cast<std::uint32_t>(name.size());
    if (os.network.GetComputerName(name.data(), &length)) {
        const std::size_t bounded = BoundedLength(name.data(), name.size());
        machine.computerName.assign(name.data(), length < bounded ? length : bounded);
    }
    for (const AdapterRecord& record : ReadAdapterRecords(os.ipHelper)) {
        const std::size_t size = record.addressLength < sizeof record.address
                                     ? record.addressLength
                                     : sizeof record.address;
        if (size != 0) {
            machine.hardwareAddresses.emplace_back(record.address, record.address + size);
        }
    }
    return machine;
}

std::optional<std::vector<std::uint8_t>> ParseHardwareAddress(std::u16string_view text) {
    // Two digits, then a separator before every further pair.
    if (text.size() < 2 || (text.size() + 1) % 3 != 0) {
        return std::nullopt;
    }
    const char16_t separator = text.size() > 2 ? text[2] : u'-';
    if (separator != u'-' && separator != u':') {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at < text.size(); at += 3) {
        const int high = HexDigit(text[at]);
        const int low = HexDigit(text[at + 1]);
        if (high < 0 || low < 0 || (at + 2 < text.size() && text[at + 2] != separator)) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

bool NamesMachine(std::u16string_view id, const MachineIdentity& machine) {
    id = TrimBlanks(id);
    if (id.empty()) {
        return false;
    }
    if (const auto address = ParseHardwareAddress(id)) {
        for (const std::vector<std::uint8_t>& own : machine.hardwareAddresses) {
            if (own == *address) {
                return true;
            }
        }
        return false;
    }
    return !machine.computerName.empty() && EqualsIgnoringAsciiCase(id, machine.computerName);
}

std::optional<std::u16string_view> MachineSectionId(std::u16string_view sectionName) {
    sectionName = TrimBlanks(sectionName);
    if (sectionName.size() <= kMachinePrefix.size() ||
        !EqualsIgnoringAsciiCase(sectionName.substr(0, kMachinePrefix.size()), kMachinePrefix) ||
        !IsBlank(sectionName[kMachinePrefix.size()])) {
        return std::nullopt;
    }
    return TrimBlanks(sectionName.substr(kMachinePrefix.size()));
}

std::optional<std::u16string> FindMachineSection(const std::vector<std::u16string>& names,
                                                 const MachineIdentity& machine) {
    for (const std::u16string& name : names) {
        const auto id = MachineSectionId(name);
        if (id && NamesMachine(*id, machine)) {
            return name;
        }
    }
    return std::nullopt;
}

} // namespace corvane
