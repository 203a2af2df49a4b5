// The IP Helper records as a platform might hand them out: any size asked
// for, any bytes, links to anywhere (null, another record, inside a record,
// past the end, in a circle), interface tables with any count and
// unterminated names. Reading the adapters and applying their edits must
// stay inside what the platform filled and address only real entries.
#include "apply/adapter_application.h"
#include "fuzz_input.h"
#include "platform/sim/world.h"
#include "ui/adapter_panel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;
namespace error = platform::error;

namespace {

std::uintptr_t Address(const void* pointer) {
    return reinterpret_cast<std::uintptr_t>(pointer);
}

template <typename T>
T* At(std::uintptr_t address) {
    return reinterpret_cast<T*>(address);
}

AdapterRecord WithoutLinks(AdapterRecord record) {
    record.next = nullptr;
    record.currentIpAddress = nullptr;
    record.ipAddressList.next = nullptr;
    record.gatewayList.next = nullptr;
    record.dhcpServer.next = nullptr;
    record.primaryWinsServer.next = nullptr;
    record.secondaryWinsServer.next = nullptr;
    return record;
}

class HostileIpHelper : public platform::IpHelper {
public:
    explicit HostileIpHelper(FuzzInput& input) : input_(input) {}

    platform::ErrorCode GetAdaptersInfo(AdapterRecord* buffer, std::uint32_t* size) override {
        if (adapterCalls_++ == 0) {
            adapterNeed_ = Size(sizeof(AdapterRecord));
        }
        if (*size < adapterNeed_) {
            *size = adapterNeed_;
            return error::kBufferOverflow;
        }
        reachable.clear();
        if ((input_.Byte() & 15) == 0) {
            return 31; // a device that fails
        }
        const std::size_t records = *size / sizeof(AdapterRecord);
        Fill(buffer, records * sizeof(AdapterRecord));
        const std::uintptr_t first = Address(buffer);
        for (std::size_t i = 0; i < records; ++i) {
            AdapterRecord& record = buffer[i];
            record.next = At<AdapterRecord>(
                Link(first, records * sizeof(AdapterRecord), sizeof(AdapterRecord)));
            // The address lists lead anywhere: never to be followed.
            record.currentIpAddress = At<platform::IpAddrString>(0x10 + input_.Byte());
            record.ipAddressList.next = At<platform::IpAddrString>(0x20 + input_.Byte());
        }
        // A link read from the filled bytes can be anything, up to just below
        // the top of the address space: measured from the block's start, so
        // that no sum wraps.
        const std::uintptr_t lastStart = (records - 1) * sizeof(AdapterRecord);
        std::uintptr_t at = first;
        while (at != 0 && reachable.size() < records && at >= first && at - first <= lastStart &&
               at % alignof(AdapterRecord) == 0) {
            AdapterRecord copy;
            std::memcpy(&copy, At<const AdapterRecord>(at), sizeof copy);
            at = Address(copy.next);
            reachable.push_back(WithoutLinks(copy));
        }
        return error::kSuccess;
    }

    platform::ErrorCode GetInterfaceInfo(platform::InterfaceInfo* buffer,
                                         std::uint32_t* size) override {
        if (interfaceCalls_++ == 0) {
            interfaceNeed_ = Size(sizeof(platform::AdapterIndexMap));
        }
        if (*size < interfaceNeed_) {
            *size = interfaceNeed_;
            return error::kInsufficientBuffer;
        }
        if ((input_.Byte() & 15) == 0) {
            return 31;
        }
        Fill(buffer, *size);
        const std::uint8_t count = input_.Byte();
        buffer->numAdapters = count < 200   ? count % 8
                              : count < 250 ? -static_cast<std::int32_t>(count)
                                            : static_cast<std::int32_t>(input_.Number());
        table_ = buffer;
        tableBytes_ = *size;
        return error::kSuccess;
    }

    platform::ErrorCode IpReleaseAddress(platform::AdapterIndexMap* adapter) override {
        CheckEntry(adapter);
        return input_.Byte() % 2 == 0 ? error::kSuccess : 31;
    }
    platform::ErrorCode IpRenewAddress(platform::AdapterIndexMap* adapter) override {
        CheckEntry(adapter);
        return input_.Byte() % 2 == 0 ? error::kSuccess : 31;
    }
    bool HasSetAdapterIpAddress() override { return true; }
    platform::ErrorCode SetAdapterIpAddress(const char* adapterName, std::uint32_t dhcp,
                                            std::uint32_t, std::uint32_t, std::uint32_t) override {
        // A terminated name of at most the record's capacity.
        FUZZ_ASSERT(std::strlen(adapterName) < platform::kMaxAdapterNameLength + 4);
        FUZZ_ASSERT(dhcp == 0 || dhcp == 1);
        namesSet.emplace_back(adapterName);
        return error::kSuccess;
    }
    platform::ErrorCode SetDnsServerSearchOrder(const char* adapterName, const char16_t* const*,
                                                std::uint32_t count) override {
        FUZZ_ASSERT(std::strlen(adapterName) < platform::kMaxAdapterNameLength + 4);
        FUZZ_ASSERT(count <= 3);
        return error::kSuccess;
    }

    // What the chain walk may give back, taken while the block is alive:
    // the records reachable from the first through whole, aligned records
    // of the block, at most as many as the block holds, links cleared.
    std::vector<AdapterRecord> reachable;

    std::vector<std::string> namesSet;
    std::vector<std::u16string> entriesTouched;

private:
    // A size the platform says it needs: a few entries, none, or anything.
    std::uint32_t Size(std::size_t entry) {
        const std::uint8_t choice = input_.Byte();
        if (choice < 250) {
            return static_cast<std::uint32_t>(choice % 8 * entry + input_.Byte() % 3 * 4);
        }
        return input_.Number();
    }

    void Fill(void* buffer, std::size_t bytes) {
        auto* out = static_cast<std::uint8_t*>(buffer);
        const std::string pattern = input_.Narrow(64);
        if (pattern.empty() || bytes == 0) {
            std::memset(out, 0, bytes);
            return;
        }
        // The pattern repeated, doubling what is written so far.
        std::size_t filled = std::min(bytes, pattern.size());
        std::memcpy(out, pattern.data(), filled);
        while (filled < bytes) {
            const std::size_t more = std::min(filled, bytes - filled);
            std::memcpy(out + filled, out, more);
            filled += more;
        }
    }

    std::uintptr_t Link(std::uintptr_t first, std::size_t bytes, std::size_t record) {
        const std::uint8_t choice = input_.Byte();
        const std::uint8_t target = input_.Byte();
        switch (choice % 6) {
        case 0:
            return 0;
        case 1: // a record of the block, the same one or an earlier one too
            return bytes == 0 ? 0 : first + target % (bytes / record) * record;
        case 2: // inside a record
            return first + target;
        case 3: // just past the block
            return first + bytes;
        case 4: // before it
            return first - record;
        default:
            return static_cast<std::uintptr_t>(input_.Number()) << 8;
        }
    }

    void CheckEntry(platform::AdapterIndexMap* adapter) {
        FUZZ_ASSERT(table_ != nullptr);
        const std::uintptr_t first = Address(&table_->adapter[0]);
        const std::uintptr_t at = Address(adapter);
        // A whole entry the platform filled, among those it counted.
        FUZZ_ASSERT(at >= first && (at - first) % sizeof(platform::AdapterIndexMap) == 0);
        FUZZ_ASSERT(at + sizeof(platform::AdapterIndexMap) <= Address(table_) + tableBytes_);
        FUZZ_ASSERT((at - first) / sizeof(platform::AdapterIndexMap) <
                    static_cast<std::size_t>(table_->numAdapters));
        entriesTouched.emplace_back(
            adapter->name, BoundedLength(adapter->name, platform::kMaxAdapterIndexMapName));
    }

    FuzzInput& input_;
    int adapterCalls_ = 0;
    int interfaceCalls_ = 0;
    std::uint32_t adapterNeed_ = 0;
    std::uint32_t interfaceNeed_ = 0;
    const platform::InterfaceInfo* table_ = nullptr;
    std::uint32_t tableBytes_ = 0;
};

bool SameBytes(const AdapterRecord& a, const AdapterRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    FuzzInput input(data, size);
    HostileIpHelper ipHelper(input);

    SetupState state;
    state.AdaptersAsFound = ReadAdapterRecords(ipHelper);
    // Each record kept is a whole record of the chain, in its order, with
    // its links cleared.
    FUZZ_ASSERT(state.AdaptersAsFound.size() == ipHelper.reachable.size());
    for (std::size_t i = 0; i < ipHelper.reachable.size(); ++i) {
        FUZZ_ASSERT(SameBytes(state.AdaptersAsFound[i], ipHelper.reachable[i]));
    }

    // Edits: a mode switch, or another address typed in.
    state.AdaptersAsEdited = state.AdaptersAsFound;
    for (AdapterRecord& record : state.AdaptersAsEdited) {
        const std::uint8_t edit = input.Byte();
        if (edit % 3 == 0) {
            record.dhcpEnabled = record.dhcpEnabled != 0 ? 0 : 1;
        } else if (edit % 3 == 1) {
            const std::string text = input.Narrow(platform::kIpAddressTextSize - 1);
            std::memset(record.ipAddressList.ipAddress.text, 0, platform::kIpAddressTextSize);
            std::memcpy(record.ipAddressList.ipAddress.text, text.data(), text.size());
        }
    }

    sim::World& w = world;
    platform::Platform os{w.clock(),     w.locale(),    w.environment(), w.files(),
                          w.profile(),   w.registry(),  w.network(),     ipHelper,
                          w.resources(), w.directory(), w.platform().ui};
    ApplyAdapterAddresses(os, state);

    // Only adapters of the lists are changed, each through an entry whose
    // name ends with the adapter's name.
    for (const std::string& name : ipHelper.namesSet) {
        bool known = false;
        for (const AdapterRecord& record : state.AdaptersAsEdited) {
            known = known || name == std::string(record.adapterName,
                                                 BoundedLength(record.adapterName,
                                                               sizeof record.adapterName));
        }
        FUZZ_ASSERT(known);
    }
    for (const std::u16string& entry : ipHelper.entriesTouched) {
        bool matched = false;
        for (const AdapterRecord& record : state.AdaptersAsEdited) {
            const std::string name(record.adapterName,
                                   BoundedLength(record.adapterName, sizeof record.adapterName));
            std::u16string wide;
            for (const char c : name) {
                wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
            }
            matched = matched || (!wide.empty() && entry.ends_with(wide.substr(0, 127)));
        }
        FUZZ_ASSERT(matched);
    }
    return 0;
}
