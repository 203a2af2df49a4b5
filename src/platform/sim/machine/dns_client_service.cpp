// The per-adapter DNS server list, as the WMI method
// Win32_NetworkAdapterConfiguration.SetDNSServerSearchOrder sets it.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"

#include <charconv>
#include <string>
#include <vector>

namespace corvane::sim {

namespace {

// WMI's "Invalid IP address" and "not found" (WBEM_E_NOT_FOUND, no instance
// of the class has that SettingID).
constexpr platform::ErrorCode kInvalidIpAddress = 70;
constexpr platform::ErrorCode kWbemNotFound = 0x80041002u;

// Four decimal numbers of 0 to 255, separated by points: the form the
// method takes a server in.
bool IsDottedQuad(std::string_view text) {
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return false;
            }
            text.remove_prefix(1);
        }
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        const auto digits = static_cast<std::size_t>(end - text.data());
        if (error != std::errc() || digits == 0 || digits > 3 || value > 255) {
            return false;
        }
        text.remove_prefix(digits);
    }
    return text.empty();
}

} // namespace

platform::ErrorCode SimIpHelper::SetDnsServerSearchOrder(const char* adapterName,
                                                         const char16_t* const* servers,
                                                         std::uint32_t count) {
    std::lock_guard lock(state_.mutex);
    if (adapterName == nullptr || !platform::IsAdapterGuidName(adapterName) ||
        (count > 0 && servers == nullptr)) {
        return platform::error::kInvalidParameter;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (servers[i] == nullptr) {
            return platform::error::kInvalidParameter;
        }
    }
    const std::string name(adapterName);
    std::vector<std::string> list;
    std::string listText;
    for (std::uint32_t i = 0; i < count; ++i) {
        list.push_back(Utf16ToUtf8(servers[i]));
        listText += (i == 0 ? "" : " ") + list.back();
    }
    std::vector<std::string> arguments = {name, count == 0 ? std::string("-") : listText};
    const std::u16string subject = Cp1252ToUtf16(name);
    if (auto code = state_.Fail("SetDNSServerSearchOrder", subject)) {
        state_.Record("SetDNSServerSearchOrder", std::move(arguments), *code, true);
        return *code;
    }
    AdapterConfig* adapter = state_.FindAdapter(subject);
    platform::ErrorCode result = platform::error::kSuccess;
    if (adapter == nullptr) {
        result = kWbemNotFound;
    } else {
        for (const std::string& server : list) {
            if (!IsDottedQuad(server)) {
                result = kInvalidIpAddress;
            }
        }
        if (result == platform::error::kSuccess) {
            adapter->dnsServers = std::move(list);
        }
    }
    state_.Record("SetDNSServerSearchOrder", std::move(arguments), result);
    return result;
}

} // namespace corvane::sim
