#include "ui/adapter_panel.h"

#include "apply/dotted_quad.h"
#include "support/fixed_text.h"
#include "support/windows_1252.h"
#include "ui/dialog_ids.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace corvane {

namespace {

namespace id = ui::main_dialog;

// No machine reports anywhere near this much adapter information; a larger
// size is not a size to allocate (over 1400 records).
constexpr std::uint32_t kMostAdapterInfoBytes = 1u << 20;

constexpr std::array<int, 6> kStaticAddressItems = {
    id::kIpAddress,      id::kSubnetMask,      id::kDefaultGateway,
    id::kIpAddressLabel, id::kSubnetMaskLabel, id::kDefaultGatewayLabel,
};

std::size_t RecordsFor(std::uint32_t bytes) {
    return (std::size_t{bytes} + sizeof(AdapterRecord) - 1) / sizeof(AdapterRecord);
}

std::uint32_t BytesOf(const AdapterList& block) {
    return static_cast<std::uint32_t>(block.size() * sizeof(AdapterRecord));
}

// The links of a record lead into the platform's buffer; in a kept copy
// they would dangle. Both lists get the same cleared links, so the byte
// comparison of change detection is not affected.
void ClearLinks(AdapterRecord& record) {
    record.next = nullptr;
    record.currentIpAddress = nullptr;
    record.ipAddressList.next = nullptr;
    record.gatewayList.next = nullptr;
    record.dhcpServer.next = nullptr;
    record.primaryWinsServer.next = nullptr;
    record.secondaryWinsServer.next = nullptr;
}

// Whether `record` is a whole, aligned record inside the block: links are
// followed only within what the platform was given.
bool InsideBlock(const AdapterList& block, const AdapterRecord* record) {
    const auto first = reinterpret_cast<std::uintptr_t>(block.data());
    const auto at = reinterpret_cast<std::uintptr_t>(record);
    return at >= first && at - first <= BytesOf(block) - sizeof(AdapterRecord) &&
           at % alignof(AdapterRecord) == 0;
}

std::uint32_t AddressOf(const platform::IpAddressText& field) {
    return ParseDottedQuad(std::string_view(field.text, sizeof field.text));
}

// A field that already holds the address keeps its bytes: the platform
// reports a missing gateway as "0.0.0.0", which the blank control gives
// back as zero, and rewriting it as an empty text would show the byte
// comparison with the found record a change nobody made.
// Otherwise the field is wiped first: a shorter address typed over a longer
// one would leave the longer one's last characters behind the terminator.
void StoreAddress(platform::IpAddressText& field, std::uint32_t address) {
    if (AddressOf(field) == address) {
        return;
    }
    std::memset(field.text, 0, sizeof field.text);
    if (address != 0) {
        FormatDottedQuad(address, field.text);
    }
}

// A blank control that is to stay blank is left alone: clearing it would
// rewrite its four fields, each with a change notification.
void ShowAddress(platform::DialogView& dialog, int item, std::uint32_t address, bool blank) {
    if (address != 0) {
        dialog.SetIpAddress(item, address);
    } else if (!blank) {
        dialog.ClearIpAddress(item);
    }
}

// The record bound to the list entry at `position`, or null: no entry there
// (including the list's "no selection"), or an entry bound to nothing.
AdapterRecord* BoundRecord(SetupState& state, platform::DialogView& dialog, int position) {
    if (position < 0 || position >= dialog.ListCount(id::kAdapterList)) {
        return nullptr;
    }
    const std::uintptr_t bound = dialog.ListItemData(id::kAdapterList, position);
    if (bound >= state.AdaptersAsEdited.size()) {
        return nullptr;
    }
    return &state.AdaptersAsEdited[bound];
}

// Shows the record in the address controls; `fieldsBlank` when the controls
// are known to be blank (the dialog's first fill), so that each is written
// once, with its final value.
void ShowRecord(platform::DialogView& dialog, const AdapterRecord& record, bool fieldsBlank) {
    const bool automatic = record.dhcpEnabled != 0;
    EnableStaticAddressControls(dialog, automatic);
    dialog.SetChecked(id::kAddressAutomatic, automatic);
    dialog.SetChecked(id::kAddressFixed, !automatic);

    // All three are read before any control changes: each change notifies
    // and stores the controls back into this same record.
    const std::uint32_t address = AddressOf(record.ipAddressList.ipAddress);
    const std::uint32_t mask = AddressOf(record.ipAddressList.ipMask);
    const std::uint32_t gateway = AddressOf(record.gatewayList.ipAddress);
    ShowAddress(dialog, id::kIpAddress, address, fieldsBlank);
    ShowAddress(dialog, id::kSubnetMask, mask, fieldsBlank);
    ShowAddress(dialog, id::kDefaultGateway, gateway, fieldsBlank);
}

} // namespace

AdapterList ReadAdapterRecords(platform::IpHelper& ipHelper) {
    // First ask with room for one record; the platform reports the size it
    // needs when that is too small.
    AdapterList block(1);
    std::uint32_t size = BytesOf(block);
    if (ipHelper.GetAdaptersInfo(block.data(), &size) == platform::error::kBufferOverflow) {
        if (size > kMostAdapterInfoBytes) {
            return {};
        }
        // A fresh block rather than a resize: the records are plain data.
        block = AdapterList(RecordsFor(size) == 0 ? 1 : RecordsFor(size));
    }
    size = BytesOf(block);
    if (ipHelper.GetAdaptersInfo(block.data(), &size) != platform::error::kSuccess) {
        return {};
    }

    AdapterList records;
    const AdapterRecord* record = block.data();
    // Records cannot overlap, so a chain longer than the block can hold
    // runs in a circle.
    while (record != nullptr && records.size() < block.size() && InsideBlock(block, record)) {
        AdapterRecord copy;
        std::memcpy(&copy, record, sizeof copy);
        record = copy.next;
        ClearLinks(copy);
        records.push_back(copy);
    }
    return records;
}

void FillAdapterList(platform::Platform& os, SetupState& state, platform::DialogView& dialog,
                     std::int32_t dhcp) {
    state.AdaptersAsEdited = ReadAdapterRecords(os.ipHelper);
    state.AdaptersAsFound = state.AdaptersAsEdited;

    dialog.ResetList(id::kAdapterList);
    for (std::size_t position = 0; position < state.AdaptersAsEdited.size(); ++position) {
        AdapterRecord& record = state.AdaptersAsEdited[position];
        const std::string_view description(
            record.description, BoundedLength(record.description, sizeof record.description));
        // The list is sorted: the entry carries its record's position, as
        // its own place in the list moves while later entries are added.
        const int entry = dialog.AddListItem(id::kAdapterList, Windows1252ToUtf16(description));
        if (dhcp != kKeepAdapterModes) {
            record.dhcpEnabled = static_cast<std::uint32_t>(dhcp);
        }
        if (entry != platform::kNoListSelection) {
            dialog.SetListItemData(id::kAdapterList, entry, position);
        }
    }

    dialog.SetListSelection(id::kAdapterList, 0);
    // The address controls are still as the template made them: blank.
    if (const AdapterRecord* first = BoundRecord(state, dialog, 0)) {
        ShowRecord(dialog, *first, true);
    }
}

void ShowAdapterSettings(SetupState& state, platform::DialogView& dialog, int position) {
    if (const AdapterRecord* record = BoundRecord(state, dialog, position)) {
        ShowRecord(dialog, *record, false);
    }
}

void StoreAdapterSettings(SetupState& state, platform::DialogView& dialog, int position) {
    AdapterRecord* record = BoundRecord(state, dialog, position);
    if (record == nullptr) {
        return;
    }
    if (dialog.IsChecked(id::kAddressAutomatic)) {
        // The fixed addresses typed so far stay in the record for a switch
        // back.
        record->dhcpEnabled = 1;
        return;
    }
    record->dhcpEnabled = 0;
    const std::uint32_t address = dialog.IpAddress(id::kIpAddress);
    const std::uint32_t mask = dialog.IpAddress(id::kSubnetMask);
    const std::uint32_t gateway = dialog.IpAddress(id::kDefaultGateway);
    StoreAddress(record->ipAddressList.ipAddress, address);
    StoreAddress(record->ipAddressList.ipMask, mask);
    StoreAddress(record->gatewayList.ipAddress, gateway);
}

void EnableStaticAddressControls(platform::DialogView& dialog, bool automatic) {
    for (const int item : kStaticAddressItems) {
        dialog.EnableItem(item, !automatic);
    }
}

void ReleaseAdapterLists(SetupState& state) {
    AdapterList().swap(state.AdaptersAsEdited);
    AdapterList().swap(state.AdaptersAsFound);
}

} // namespace corvane
