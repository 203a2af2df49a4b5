// The adapter records and the interface table: size probing, and records
// that link to each other only inside the caller's buffer.
#include "contract/contract_target.h"
#include "contract/contract_text.h"
#include "support/fixed_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace corvane::contract {
namespace {

// A buffer of `size` bytes aligned for the records.
class AlignedBuffer {
public:
    explicit AlignedBuffer(std::size_t size) : words_((size + 7) / 8 + 1), size_(size) {}
    template <typename T>
    T* as() {
        return reinterpret_cast<T*>(words_.data());
    }
    bool Contains(const void* pointer, std::size_t length) const {
        const auto* start = reinterpret_cast<const std::byte*>(words_.data());
        const auto* p = static_cast<const std::byte*>(pointer);
        return p >= start && p + length <= start + size_;
    }

private:
    std::vector<std::uint64_t> words_;
    std::size_t size_;
};

bool TerminatedWithin(const char* text, std::size_t capacity) {
    return std::memchr(text, 0, capacity) != nullptr;
}

std::vector<std::string> AdapterNames(platform::IpHelper& ipHelper) {
    std::uint32_t size = 0;
    std::vector<std::string> names;
    if (ipHelper.GetAdaptersInfo(nullptr, &size) != platform::error::kBufferOverflow) {
        return names;
    }
    AlignedBuffer buffer(size);
    if (ipHelper.GetAdaptersInfo(buffer.as<platform::AdapterRecord>(), &size) != 0) {
        return names;
    }
    for (auto* record = buffer.as<platform::AdapterRecord>(); record != nullptr;
         record = record->next) {
        names.emplace_back(record->adapterName);
    }
    return names;
}

TEST_P(PlatformContract, AdaptersInfoProbesSizeAndLinksRecordsInTheBuffer) {
    platform::IpHelper& ipHelper = Os().ipHelper;
    std::uint32_t size = 0;
    const platform::ErrorCode probe = ipHelper.GetAdaptersInfo(nullptr, &size);
    if (probe == platform::error::kNoData) {
        GTEST_SKIP() << "no adapters on this machine";
    }
    ASSERT_EQ(probe, platform::error::kBufferOverflow);
    ASSERT_GE(size, sizeof(platform::AdapterRecord));

    // One byte short is still too small, with the same size reported.
    std::uint32_t shortSize = size - 1;
    AlignedBuffer shortBuffer(shortSize);
    EXPECT_EQ(ipHelper.GetAdaptersInfo(shortBuffer.as<platform::AdapterRecord>(), &shortSize),
              platform::error::kBufferOverflow);
    EXPECT_EQ(shortSize, size);

    AlignedBuffer buffer(size);
    std::uint32_t fullSize = size;
    ASSERT_EQ(ipHelper.GetAdaptersInfo(buffer.as<platform::AdapterRecord>(), &fullSize), 0u);
    std::size_t count = 0;
    for (auto* record = buffer.as<platform::AdapterRecord>(); record != nullptr;
         record = record->next) {
        SCOPED_TRACE(count);
        ASSERT_TRUE(buffer.Contains(record, sizeof(*record)));
        ASSERT_LE(++count * sizeof(platform::AdapterRecord), size);
        ASSERT_TRUE(TerminatedWithin(record->adapterName, sizeof(record->adapterName)));
        ASSERT_TRUE(TerminatedWithin(record->description, sizeof(record->description)));
        const std::string name(record->adapterName);
        EXPECT_TRUE(name.size() > 2 && name.front() == '{' && name.back() == '}') << name;
        EXPECT_TRUE(record->currentIpAddress == nullptr ||
                    buffer.Contains(record->currentIpAddress, sizeof(platform::IpAddrString)));
        for (const platform::IpAddrString* entry : {&record->ipAddressList, &record->gatewayList}) {
            for (; entry != nullptr; entry = entry->next) {
                ASSERT_TRUE(buffer.Contains(entry, sizeof(*entry)));
                EXPECT_TRUE(TerminatedWithin(entry->ipAddress.text, platform::kIpAddressTextSize));
                EXPECT_TRUE(TerminatedWithin(entry->ipMask.text, platform::kIpAddressTextSize));
            }
        }
    }
    EXPECT_GE(count, 1u);
}

TEST_P(PlatformContract, InterfaceInfoProbesSizeAndNamesEveryAdapter) {
    platform::IpHelper& ipHelper = Os().ipHelper;
    std::uint32_t size = 0;
    ASSERT_EQ(ipHelper.GetInterfaceInfo(nullptr, &size), platform::error::kInsufficientBuffer);
    const std::size_t header = offsetof(platform::InterfaceInfo, adapter);
    ASSERT_GE(size, header);
    ASSERT_EQ((size - header) % sizeof(platform::AdapterIndexMap), 0u);

    std::uint32_t shortSize = size - 1;
    AlignedBuffer shortBuffer(shortSize);
    EXPECT_EQ(ipHelper.GetInterfaceInfo(shortBuffer.as<platform::InterfaceInfo>(), &shortSize),
              platform::error::kInsufficientBuffer);
    EXPECT_EQ(shortSize, size);

    AlignedBuffer buffer(size);
    ASSERT_EQ(ipHelper.GetInterfaceInfo(buffer.as<platform::InterfaceInfo>(), &size), 0u);
    const auto* table = buffer.as<platform::InterfaceInfo>();
    ASSERT_GE(table->numAdapters, 0);
    const auto count = static_cast<std::size_t>(table->numAdapters);
    ASSERT_LE(header + count * sizeof(platform::AdapterIndexMap), size);
    const auto* entries = reinterpret_cast<const platform::AdapterIndexMap*>(
        reinterpret_cast<const std::byte*>(table) + header);
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string name(
            entries[i].name, BoundedLength(entries[i].name, platform::kMaxAdapterIndexMapName));
        EXPECT_TRUE(name.starts_with(u"\\DEVICE\\TCPIP_")) << i;
        names.push_back(name);
    }
    // Each adapter's name ends one entry's name, which is how the adapter
    // step finds the entry to release or renew.
    for (const std::string& adapter : AdapterNames(ipHelper)) {
        const std::u16string wide(adapter.begin(), adapter.end());
        const bool found = std::any_of(names.begin(), names.end(),
                                       [&](const std::u16string& n) { return n.ends_with(wide); });
        EXPECT_TRUE(found) << adapter;
    }
}

// Only an adapter that no machine has, so that a real machine's settings are
// never touched: WMI finds no configuration with its SettingID. A name that
// is no GUID never reaches the query.
TEST_P(PlatformContract, DnsServerSearchOrderNamesItsAdapterByGuid) {
    platform::IpHelper& ipHelper = Os().ipHelper;
    const char16_t* servers[] = {u"10.0.0.2", u"10.0.0.3"};
    constexpr platform::ErrorCode kWbemNotFound = 0x80041002u;
    EXPECT_EQ(
        ipHelper.SetDnsServerSearchOrder("{0000C0DE-0000-0000-0000-0000000000D5}", servers, 2),
        kWbemNotFound);
    for (const char* name :
         {"", "10.0.0.2", "{0000C0DE-0000-0000-0000-0000000000D5",
          "{0000C0DE-0000-0000-0000-00000000G0D5}", "{0000C0DE-0000-0000-0000000000000000D5}",
          "{0000C0DE' OR SettingID <> '000000000}"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ipHelper.SetDnsServerSearchOrder(name, servers, 2),
                  platform::error::kInvalidParameter);
    }
    EXPECT_EQ(ipHelper.SetDnsServerSearchOrder(nullptr, servers, 2),
              platform::error::kInvalidParameter);
    const char16_t* missing[] = {u"10.0.0.2", nullptr};
    EXPECT_EQ(
        ipHelper.SetDnsServerSearchOrder("{0000C0DE-0000-0000-0000-0000000000D5}", missing, 2),
        platform::error::kInvalidParameter);
}

} // namespace
} // namespace corvane::contract
