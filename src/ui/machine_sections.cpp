#include "ui/machine_sections.h"

#include "platform/ascii_text.h"
#include "support/fixed_text.h"
#include "support/trim_blanks.h"
#include "ui/adapter_panel.h"

#include <cstring>

namespace corvane {

namespace {

constexpr std::u16string_view kMachinePrefix = u"machine";

// A fleet's file with thousands of machines needs far less than the last
// size tried.
constexpr std::uint32_t kFirstListCapacity = 4096;
constexpr std::uint32_t kMostListCapacity = 1U << 23;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

int HexDigit(char16_t c) {
    const char16_t folded = FoldAsciiCase(c);
    if (folded >= u'0' && folded <= u'9') {
        return folded - u'0';
    }
    if (folded >= u'a' && folded <= u'f') {
        return folded - u'a' + 10;
    }
    return -1;
}

} // namespace

MachineIdentity ReadMachineIdentity(platform::Platform& os) {
    MachineIdentity machine;
    std::array<char16_t, ComputerNameText::kCapacity> name{};
    std::uint32_t length = static_cast<std::uint32_t>(name.size());
    if (os.network.GetComputerName(name.data(), &length)) {
        const std::size_t bounded = BoundedLength(name.data(), name.size());
        machine.computerName.assign(name.data(), length < bounded ? length : bounded);
    }
    machine.adapters = ReadAdapterRecords(os.ipHelper);
    return machine;
}

bool ParseHardwareAddress(std::u16string_view text, HardwareAddress& address) {
    // Two digits, then a separator before every further pair.
    const std::size_t pairs = (text.size() + 1) / 3;
    if (text.size() < 2 || (text.size() + 1) % 3 != 0 || pairs > address.bytes.size()) {
        return false;
    }
    const char16_t separator = text.size() > 2 ? text[2] : u'-';
    if (separator != u'-' && separator != u':') {
        return false;
    }
    for (std::size_t pair = 0; pair < pairs; ++pair) {
        const std::size_t at = pair * 3;
        const int high = HexDigit(text[at]);
        const int low = HexDigit(text[at + 1]);
        if (high < 0 || low < 0 || (at + 2 < text.size() && text[at + 2] != separator)) {
            return false;
        }
        address.bytes[pair] = static_cast<std::uint8_t>(high * 16 + low);
    }
    address.length = pairs;
    return true;
}

bool NamesMachine(std::u16string_view id, const MachineIdentity& machine) {
    id = TrimBlanks(id);
    if (id.empty()) {
        return false;
    }
    HardwareAddress address;
    if (ParseHardwareAddress(id, address)) {
        for (const AdapterRecord& adapter : machine.adapters) {
            if (adapter.addressLength == address.length &&
                std::memcmp(adapter.address, address.bytes.data(), address.length) == 0) {
                return true;
            }
        }
        return false;
    }
    return EqualsIgnoringAsciiCase(id, machine.computerName);
}

std::u16string_view MachineSectionId(std::u16string_view sectionName) {
    sectionName = TrimBlanks(sectionName);
    if (sectionName.size() <= kMachinePrefix.size() ||
        !EqualsIgnoringAsciiCase(sectionName.substr(0, kMachinePrefix.size()), kMachinePrefix) ||
        !IsBlank(sectionName[kMachinePrefix.size()])) {
        return {};
    }
    return TrimBlanks(sectionName.substr(kMachinePrefix.size()));
}

bool ReadNameList(platform::Platform& os, const char16_t* section, const std::u16string& file,
                  std::u16string& list) {
    for (std::uint32_t capacity = kFirstListCapacity; capacity <= kMostListCapacity;
         capacity *= 2) {
        list.assign(capacity, u'\0');
        const std::uint32_t length =
            os.profile.GetString(section, nullptr, u"", list.data(), capacity, file.c_str());
        // A cut list comes back as size - 2 characters.
        if (length + 2 < capacity) {
            list.resize(length);
            return true;
        }
    }
    list.clear();
    return false;
}

std::u16string FindMachineSection(std::u16string_view names, const MachineIdentity& machine) {
    std::u16string found;
    AnyListedName(names, [&](std::u16string_view name) {
        const std::u16string_view id = MachineSectionId(name);
        if (!id.empty() && NamesMachine(id, machine)) {
            found.assign(name);
            return true;
        }
        return false;
    });
    return found;
}

} // namespace corvane
