#include "apply/adapter_application.h"

#include "apply/dotted_quad.h"
#include "support/fixed_text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace corvane {

namespace {

constexpr std::uint32_t kFirstInterfaceTableSize = 264;
// No machine has anywhere near this many interfaces (over 4000 entries); a
// larger size is not a size to allocate.
constexpr std::uint32_t kMostInterfaceTableBytes = 1u << 20;
constexpr std::size_t kMaxWidenedName = 127;

// The interface table in storage aligned for its entries. When it cannot be
// read it is empty: entries the platform did not fill are never used.
class InterfaceTable {
public:
    explicit InterfaceTable(platform::IpHelper& ipHelper) {
        std::uint32_t size = kFirstInterfaceTableSize;
        Reserve(size);
        if (ipHelper.GetInterfaceInfo(Table(), &size) == platform::error::kInsufficientBuffer) {
            if (size > kMostInterfaceTableBytes) {
                count_ = 0;
                return;
            }
            Reserve(size);
        }
        size = Bytes();
        if (ipHelper.GetInterfaceInfo(Table(), &size) != platform::error::kSuccess) {
            count_ = 0;
            return;
        }
        const std::size_t room = (Bytes() - offsetof(platform::InterfaceInfo, adapter)) /
                                 sizeof(platform::AdapterIndexMap);
        const std::int32_t reported = Table()->numAdapters;
        count_ = reported > 0 ? std::min<std::size_t>(static_cast<std::size_t>(reported), room) : 0;
    }

    // The first entry whose name ends with `name`, or null.
    platform::AdapterIndexMap* FindEndingWith(std::u16string_view name) {
        if (name.empty()) {
            return nullptr; // an empty name would match any entry
        }
        for (std::size_t i = 0; i < count_; ++i) {
            platform::AdapterIndexMap& entry = Table()->adapter[i];
            const std::u16string_view entryName(
                entry.name, BoundedLength(entry.name, platform::kMaxAdapterIndexMapName));
            if (entryName.size() >= name.size() &&
                entryName.substr(entryName.size() - name.size()) == name) {
                return &entry;
            }
        }
        return nullptr;
    }

private:
    void Reserve(std::uint32_t bytes) {
        const std::size_t needed = std::max<std::size_t>(bytes, sizeof(platform::InterfaceInfo));
        storage_.assign((needed + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    }
    std::uint32_t Bytes() const {
        return static_cast<std::uint32_t>(storage_.size() * sizeof(std::uint64_t));
    }
    platform::InterfaceInfo* Table() {
        return reinterpret_cast<platform::InterfaceInfo*>(storage_.data());
    }

    std::vector<std::uint64_t> storage_;
    std::size_t count_ = 0;
};

std::string_view FieldText(const char* field, std::size_t capacity) {
    return std::string_view(field, BoundedLength(field, capacity));
}

std::uint32_t AddressOf(const platform::IpAddressText& text) {
    return ParseDottedQuad(FieldText(text.text, platform::kIpAddressTextSize));
}

struct Addresses {
    std::uint32_t address;
    std::uint32_t mask;
    std::uint32_t gateway;
    bool operator==(const Addresses&) const = default;
};

Addresses AddressesOf(const AdapterRecord& record) {
    return {AddressOf(record.ipAddressList.ipAddress), AddressOf(record.ipAddressList.ipMask),
            AddressOf(record.gatewayList.ipAddress)};
}

// Adapter names are ASCII; each byte becomes its own character.
std::u16string WidenAdapterName(const AdapterRecord& record) {
    const std::string_view name = FieldText(record.adapterName, sizeof record.adapterName);
    std::u16string wide;
    for (char c : name.substr(0, kMaxWidenedName)) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

// The result that tells whether the adapter now follows the edit: that of
// the call that sets the addressing, or of the renew. A release before a
// switch to automatic addressing may find no lease to give back.
platform::ErrorCode ApplyOne(platform::IpHelper& ipHelper, platform::AdapterIndexMap& entry,
                             const AdapterRecord& edited, const AdapterRecord& found) {
    const Addresses wanted = AddressesOf(edited);
    const bool toAutomatic = edited.dhcpEnabled != 0;
    // The name handed to the platform is the record's own, terminated copy.
    char name[sizeof edited.adapterName];
    CopyTruncated<char>(name, sizeof name,
                        FieldText(edited.adapterName, sizeof edited.adapterName));
    auto setAddresses = [&](std::uint32_t dhcp) {
        return ipHelper.SetAdapterIpAddress(name, dhcp, ToNetworkOrder(wanted.address),
                                            ToNetworkOrder(wanted.mask),
                                            ToNetworkOrder(wanted.gateway));
    };

    if (edited.dhcpEnabled != found.dhcpEnabled) {
        if (toAutomatic) {
            ipHelper.IpReleaseAddress(&entry);
            return setAddresses(1);
        }
        return setAddresses(0);
    }
    if (wanted == AddressesOf(found)) {
        return platform::error::kSuccess;
    }
    if (toAutomatic) {
        ipHelper.IpReleaseAddress(&entry);
        return ipHelper.IpRenewAddress(&entry);
    }
    return setAddresses(0);
}

} // namespace

platform::ErrorCode ApplyAdapterAddresses(platform::Platform& os, SetupState& state) {
    platform::ErrorCode firstFailure = platform::error::kSuccess;
    InterfaceTable table(os.ipHelper);
    const std::size_t count = std::min(state.AdaptersAsEdited.size(), state.AdaptersAsFound.size());
    for (std::size_t i = 0; i < count; ++i) {
        const AdapterRecord& edited = state.AdaptersAsEdited[i];
        platform::AdapterIndexMap* entry = table.FindEndingWith(WidenAdapterName(edited));
        if (entry != nullptr) {
            const platform::ErrorCode result =
                ApplyOne(os.ipHelper, *entry, edited, state.AdaptersAsFound[i]);
            if (firstFailure == platform::error::kSuccess) {
                firstFailure = result;
            }
        }
    }
    return firstFailure;
}

} // namespace corvane
