#include "directory/joinable_organization_units.h"

#include "directory/computer_account.h"
#include "directory/distinguished_name.h"
#include "directory/domain_lookups.h"
#include "model/credentials.h"
#include "platform/net_buffer.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

namespace {

namespace error = platform::error;

// The codes with which NetGetJoinableOUs refuses the credentials it was
// given; each one asks the user for others.
bool IsRefusedListing(platform::ErrorCode status) {
    switch (status) {
    case error::kAccessDenied:
    case error::kInvalidPassword:
    case error::kWrongPassword:
    case error::kLogonFailure:
    case error::kAccountDisabled:
        return true;
    default:
        return false;
    }
}

// The order in which a sorted combo box (CBS_SORT) keeps its entries, as far
// as OU paths need it: letters without regard to case, everything else by
// its code.
std::u16string ListOrderKey(std::u16string_view path) {
    std::u16string key(path);
    for (char16_t& c : key) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            c = static_cast<char16_t>(c + 0x20);
        }
    }
    return key;
}

// One unit's entry: its sort key, its place in the listing, its OU path.
struct Entry {
    std::u16string key;
    std::uint32_t position = 0;
    std::u16string path;
};

// Adds every unit's OU path to the list and selects the entries that show
// the unit holding the computer's account. The control sorts each entry in
// wherever it comes, but one sorted in ahead of others moves all of them, so
// that a listing in no order costs time growing with the square of its size;
// added in the control's own order each entry goes to the end. Paths that
// compare equal keep the order returned, so that the control ends with the
// same entries in the same places as when they are added as returned.
void AddUnits(platform::DialogView& dialog, int list, char16_t* const* units, std::uint32_t count,
              std::u16string_view located) {
    if (units == nullptr) {
        return;
    }
    std::vector<Entry> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (units[i] != nullptr) {
            std::u16string path = ExtractNamePath(units[i], u"OU", u'\\');
            entries.push_back(Entry{ListOrderKey(path), i, std::move(path)});
        }
    }
    // The sort moves 32-bit places, not the entries with their two texts.
    std::vector<std::uint32_t> order(entries.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&entries](std::uint32_t a, std::uint32_t b) {
        const int compared = entries[a].key.compare(entries[b].key);
        return compared != 0 ? compared < 0 : entries[a].position < entries[b].position;
    });
    for (const std::uint32_t place : order) {
        const Entry& entry = entries[place];
        const int index = dialog.AddListItem(list, entry.path);
        if (index != platform::kNoListSelection && entry.path == located) {
            dialog.SetListSelection(list, index);
        }
    }
}

// One successful listing: where the account lives now, then the list.
void ShowUnits(platform::Platform& os, SetupState& state, platform::DialogView& dialog, int list,
               const DomainText& domain, char16_t* const* units, std::uint32_t count) {
    OrganizationUnitText located;
    located.Clear();
    if (GetComputerAccountOrganizationUnit(os, state, domain.view(),
                                           state.CurrentComputerName.view(), located)) {
        state.CurrentOrganizationUnit = located;
    }
    AddUnits(dialog, list, units, count, located.view());
}

} // namespace

bool FillJoinableOrganizationUnits(platform::Platform& os, SetupState& state,
                                   platform::DialogView& dialog, int list, DomainText& domain,
                                   CredentialPrompt& prompt) {
    // Above 0 while a fill runs (for instance behind its authentication
    // dialog, when the list drops down again) and after one succeeded.
    if (state.OrganizationUnitListLoaded.fetch_add(1) + 1 > 1) {
        state.OrganizationUnitListLoaded.fetch_sub(1);
        return false;
    }
    dialog.ResetList(list);

    platform::ErrorCode status = error::kSuccess;
    if (GetDomainDnsName(os, state, domain) == error::kSuccess) {
        do {
            const Credentials credentials = StoredCredentials(state);
            std::uint32_t count = 0;
            platform::NetBuffer<char16_t*> units(os.network);
            status = os.network.NetGetJoinableOUs(domain.c_str(), credentials.account,
                                                  credentials.password, &count, units.Receive());
            if (status == error::kSuccess) {
                // Stays loaded once this call has given back its own count.
                state.OrganizationUnitListLoaded.fetch_add(1);
                ShowUnits(os, state, dialog, list, domain, units.get(), count);
            } else if (IsRefusedListing(status)) {
                status = prompt.AskAfterRefusal(dialog.Window(), status);
            }
        } while (status == error::kRetry);
    }

    state.OrganizationUnitListLoaded.fetch_sub(1);
    return status == error::kSuccess;
}

} // namespace corvane
