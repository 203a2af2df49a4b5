// IP Helper: the adapter records and interface table built in the caller's
// buffer, DHCP release and renew, and fixed addresses.
#include "platform/sim/machine/services.h"
#include "platform/sim/text.h"
#include "support/fixed_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace corvane::sim {

namespace {

constexpr std::u16string_view kInterfacePrefix = u"\\DEVICE\\TCPIP_";
constexpr std::size_t kLeaseSeconds = std::size_t{8} * 24 * 3600;

void PutAddress(platform::IpAddressText& field, std::string_view text) {
    CopyTruncated(field.text, platform::kIpAddressTextSize, text);
}

void PutEntry(platform::IpAddrString& entry, std::string_view address, std::string_view mask,
              std::uint32_t context) {
    std::memset(&entry, 0, sizeof(entry));
    PutAddress(entry.ipAddress, address);
    PutAddress(entry.ipMask, mask);
    entry.context = context;
}

std::u16string InterfaceName(const AdapterConfig& adapter) {
    return std::u16string(kInterfacePrefix) + Cp1252ToUtf16(adapter.name);
}

AdapterConfig* FindByIndexMap(State& state, const platform::AdapterIndexMap& entry) {
    const std::u16string_view name(entry.name,
                                   BoundedLength(entry.name, platform::kMaxAdapterIndexMapName));
    for (AdapterConfig& adapter : state.adapters) {
        if (adapter.index == entry.index &&
            (name.empty() || EqualsNoCase(name, InterfaceName(adapter)))) {
            return &adapter;
        }
    }
    return nullptr;
}

} // namespace

std::string NetworkOrderText(std::uint32_t address) {
    return Decimal(address & 0xFF) + "." + Decimal((address >> 8) & 0xFF) + "." +
           Decimal((address >> 16) & 0xFF) + "." + Decimal(address >> 24);
}

platform::ErrorCode SimIpHelper::GetAdaptersInfo(platform::AdapterRecord* buffer,
                                                 std::uint32_t* size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetAdaptersInfo")) {
        state_.Record("GetAdaptersInfo", {}, *code, true);
        return *code;
    }
    if (size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    const std::vector<AdapterConfig>& adapters = state_.adapters;
    if (adapters.empty()) {
        return platform::error::kNoData;
    }
    // The records, then the further list entries of every adapter.
    std::size_t extra = 0;
    for (const AdapterConfig& adapter : adapters) {
        extra += adapter.moreAddresses.size() + adapter.moreGateways.size();
    }
    const std::size_t needed =
        adapters.size() * sizeof(platform::AdapterRecord) + extra * sizeof(platform::IpAddrString);
    if (buffer == nullptr || *size < needed) {
        *size = static_cast<std::uint32_t>(needed);
        return platform::error::kBufferOverflow;
    }
    std::memset(static_cast<void*>(buffer), 0, needed);
    auto* more = reinterpret_cast<platform::IpAddrString*>(buffer + adapters.size());
    const std::int64_t now = ToUnixSeconds(state_.now);
    for (std::size_t i = 0; i < adapters.size(); ++i) {
        const AdapterConfig& adapter = adapters[i];
        platform::AdapterRecord& record = buffer[i];
        record.next = i + 1 < adapters.size() ? &buffer[i + 1] : nullptr;
        record.comboIndex = adapter.index;
        CopyTruncated(record.adapterName, sizeof(record.adapterName),
                      std::string_view(adapter.name));
        CopyTruncated(record.description, sizeof(record.description),
                      std::string_view(adapter.description));
        const std::size_t macLength =
            std::min(adapter.mac.size(), platform::kMaxAdapterAddressLength);
        record.addressLength = static_cast<std::uint32_t>(macLength);
        std::memcpy(record.address, adapter.mac.data(), macLength);
        record.index = adapter.index;
        record.type = adapter.type;
        record.dhcpEnabled = adapter.dhcpEnabled != 0 ? 1u : 0u;
        record.currentIpAddress = &record.ipAddressList;
        const auto context = static_cast<std::uint32_t>(0x0100007F + (adapter.index << 24));
        PutEntry(record.ipAddressList, adapter.address, adapter.mask, context);
        platform::IpAddrString* tail = &record.ipAddressList;
        for (const auto& [address, mask] : adapter.moreAddresses) {
            PutEntry(*more, address, mask, context);
            tail->next = more;
            tail = more++;
        }
        PutEntry(record.gatewayList, adapter.gateway, "255.255.255.255", 0);
        tail = &record.gatewayList;
        for (const std::string& gateway : adapter.moreGateways) {
            PutEntry(*more, gateway, "255.255.255.255", 0);
            tail->next = more;
            tail = more++;
        }
        if (adapter.dhcpEnabled != 0) {
            PutEntry(record.dhcpServer, adapter.dhcpServer, "255.255.255.255", 0);
            record.leaseObtained = now;
            record.leaseExpires = now + static_cast<std::int64_t>(kLeaseSeconds);
        } else {
            PutEntry(record.dhcpServer, "", "", 0);
        }
        PutEntry(record.primaryWinsServer, "", "", 0);
        PutEntry(record.secondaryWinsServer, "", "", 0);
    }
    *size = static_cast<std::uint32_t>(needed);
    return platform::error::kSuccess;
}

platform::ErrorCode SimIpHelper::GetInterfaceInfo(platform::InterfaceInfo* buffer,
                                                  std::uint32_t* size) {
    std::lock_guard lock(state_.mutex);
    if (auto code = state_.Fail("GetInterfaceInfo")) {
        state_.Record("GetInterfaceInfo", {}, *code, true);
        return *code;
    }
    if (size == nullptr) {
        return platform::error::kInvalidParameter;
    }
    const std::vector<AdapterConfig>& adapters = state_.adapters;
    const std::size_t needed = offsetof(platform::InterfaceInfo, adapter) +
                               adapters.size() * sizeof(platform::AdapterIndexMap);
    if (buffer == nullptr || *size < needed) {
        *size = static_cast<std::uint32_t>(needed);
        return platform::error::kInsufficientBuffer;
    }
    std::memset(static_cast<void*>(buffer), 0, needed);
    buffer->numAdapters = static_cast<std::int32_t>(adapters.size());
    // The entries follow the count; the array of one in the type is the C
    // idiom for that tail, so address them through the byte offset.
    auto* entries = reinterpret_cast<platform::AdapterIndexMap*>(
        reinterpret_cast<std::byte*>(buffer) + offsetof(platform::InterfaceInfo, adapter));
    for (std::size_t i = 0; i < adapters.size(); ++i) {
        entries[i].index = adapters[i].index;
        CopyTruncated(entries[i].name, platform::kMaxAdapterIndexMapName,
                      std::u16string_view(InterfaceName(adapters[i])));
    }
    *size = static_cast<std::uint32_t>(needed);
    return platform::error::kSuccess;
}

platform::ErrorCode SimIpHelper::Lease(platform::AdapterIndexMap* entry, bool renew) {
    const char* operation = renew ? "IpRenewAddress" : "IpReleaseAddress";
    if (entry == nullptr) {
        state_.Record(operation, {"-"}, platform::error::kInvalidParameter);
        return platform::error::kInvalidParameter;
    }
    const std::u16string_view name(entry->name,
                                   BoundedLength(entry->name, platform::kMaxAdapterIndexMapName));
    std::vector<std::string> arguments = {Decimal(entry->index), JournalText(name)};
    if (auto code = state_.Fail(operation, name)) {
        state_.Record(operation, std::move(arguments), *code, true);
        return *code;
    }
    platform::ErrorCode result = platform::error::kSuccess;
    AdapterConfig* adapter = FindByIndexMap(state_, *entry);
    if (adapter == nullptr) {
        result = platform::error::kInvalidParameter;
    } else if (adapter->dhcpEnabled == 0) {
        result = platform::error::kNotSupported; // no lease on a fixed address
    } else if (renew) {
        adapter->address = adapter->leaseAddress;
        adapter->mask = adapter->leaseMask;
        adapter->gateway = adapter->leaseGateway;
    } else {
        adapter->address = "0.0.0.0";
        adapter->mask = "0.0.0.0";
        adapter->gateway = "0.0.0.0";
    }
    state_.Record(operation, std::move(arguments), result);
    return result;
}

platform::ErrorCode SimIpHelper::IpReleaseAddress(platform::AdapterIndexMap* adapter) {
    std::lock_guard lock(state_.mutex);
    return Lease(adapter, false);
}

platform::ErrorCode SimIpHelper::IpRenewAddress(platform::AdapterIndexMap* adapter) {
    std::lock_guard lock(state_.mutex);
    return Lease(adapter, true);
}

bool SimIpHelper::HasSetAdapterIpAddress() {
    std::lock_guard lock(state_.mutex);
    return state_.hasSetAdapterIpAddress;
}

platform::ErrorCode SimIpHelper::SetAdapterIpAddress(const char* adapterName, std::uint32_t dhcp,
                                                     std::uint32_t address, std::uint32_t mask,
                                                     std::uint32_t gateway) {
    std::lock_guard lock(state_.mutex);
    const std::string name = adapterName == nullptr ? std::string() : std::string(adapterName);
    std::vector<std::string> arguments = {adapterName == nullptr ? "-" : name, Decimal(dhcp),
                                          NetworkOrderText(address), NetworkOrderText(mask),
                                          NetworkOrderText(gateway)};
    if (!state_.hasSetAdapterIpAddress) {
        state_.Record("SetAdapterIpAddress", std::move(arguments), platform::error::kProcNotFound);
        return platform::error::kProcNotFound;
    }
    const std::u16string subject = Cp1252ToUtf16(name);
    if (auto code = state_.Fail("SetAdapterIpAddress", subject)) {
        state_.Record("SetAdapterIpAddress", std::move(arguments), *code, true);
        return *code;
    }
    AdapterConfig* adapter = state_.FindAdapter(subject);
    platform::ErrorCode result = platform::error::kSuccess;
    if (adapter == nullptr) {
        result = platform::error::kInvalidParameter;
    } else if (dhcp != 0) {
        // Automatic addressing: the DHCP server hands out its lease at once.
        adapter->dhcpEnabled = 1;
        adapter->address = adapter->leaseAddress;
        adapter->mask = adapter->leaseMask;
        adapter->gateway = adapter->leaseGateway;
    } else {
        adapter->dhcpEnabled = 0;
        adapter->address = NetworkOrderText(address);
        adapter->mask = NetworkOrderText(mask);
        adapter->gateway = NetworkOrderText(gateway);
    }
    state_.Record("SetAdapterIpAddress", std::move(arguments), result);
    return result;
}

} // namespace corvane::sim
