#include "apply/name_servers.h"

#include "apply/dotted_quad.h"
#include "support/fixed_text.h"
#include "support/windows_1252.h"

#include <array>
#include <vector>

namespace corvane {

namespace {

constexpr const char* kOperation = "SaveSettings";

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One address, strictly: four numbers, each 1 to 3 digits without a
// leading zero, at most 255.
bool ParseAddress(std::u16string_view text, std::uint32_t& address) {
    std::uint32_t value = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != u'.') {
                return false;
            }
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        std::uint32_t number = 0;
        while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') {
            if (digits == 3) {
                return false;
            }
            number = number * 10 + static_cast<std::uint32_t>(text[digits] - u'0');
            ++digits;
        }
        if (digits == 0 || number > 255 || (digits > 1 && text.front() == u'0')) {
            return false;
        }
        value = (value << 8) | number;
        text.remove_prefix(digits);
    }
    const std::uint32_t first = value >> 24;
    if (!text.empty() || first == 0 || first > 223) {
        return false;
    }
    address = value;
    return true;
}

std::u16string AddressText(std::uint32_t address) {
    char narrow[kDottedQuadCapacity];
    FormatDottedQuad(address, narrow);
    return Windows1252ToUtf16(narrow);
}

} // namespace

bool ParseNameServerList(std::u16string_view text, NameServerList& list) {
    list = NameServerList{};
    text = Trimmed(text);
    if (text.empty()) {
        return true;
    }
    NameServerList parsed;
    for (;;) {
        const std::size_t comma = text.find(u',');
        const std::u16string_view item = Trimmed(text.substr(0, comma));
        if (parsed.count == NameServerList::kMostServers ||
            !ParseAddress(item, parsed.addresses[parsed.count])) {
            return false;
        }
        ++parsed.count;
        if (comma == std::u16string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    list = parsed;
    return true;
}

std::u16string NameServerListText(const NameServerList& list) {
    std::u16string text;
    for (std::size_t i = 0; i < list.count; ++i) {
        if (i > 0) {
            text.push_back(u',');
        }
        text += AddressText(list.addresses[i]);
    }
    return text;
}

void ApplyNameServers(platform::Platform& os, SetupState& state) {
    const NameServerList& list = state.DesiredNameServers;
    if (list.refused) {
        state.Result.Record(kNameServersRefused);
        return;
    }
    if (list.empty()) {
        return;
    }
    std::vector<std::u16string> texts;
    std::array<const char16_t*, NameServerList::kMostServers> servers{};
    for (std::size_t i = 0; i < list.count; ++i) {
        texts.push_back(AddressText(list.addresses[i]));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        servers[i] = texts[i].c_str();
    }
    const std::u16string shown = NameServerListText(list);
    for (const AdapterRecord& adapter : state.AdaptersAsEdited) {
        if (adapter.dhcpEnabled != 0) {
            continue;
        }
        // The name handed to the platform is the record's own, terminated copy.
        char name[sizeof adapter.adapterName];
        CopyTruncated<char>(
            name, sizeof name,
            std::string_view(adapter.adapterName,
                             BoundedLength(adapter.adapterName, sizeof adapter.adapterName)));
        const platform::ErrorCode result = os.ipHelper.SetDnsServerSearchOrder(
            name, servers.data(), static_cast<std::uint32_t>(list.count));
        state.Log.Log(LogLevel::Info, static_cast<std::int32_t>(result),
                      u"%S: SetDNSServerSearchOrder \"%S\" %s", kOperation, name, shown);
        // The method's 1: done, effective after the next start.
        constexpr platform::ErrorCode kDoneAfterRestart = 1;
        if (result == kDoneAfterRestart) {
            state.Result.NeedRestart();
        } else {
            state.Result.Record(result);
        }
    }
}

} // namespace corvane
