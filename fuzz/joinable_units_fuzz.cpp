// The joinable-OU result list as the domain might hand it out: any count,
// null entries, distinguished names of any content, or no buffer at all,
// and a failing listing. The list shows exactly each named unit's OU path
// in order, selects only the unit that holds the account, and the result
// buffer is released exactly once.
#include "directory/distinguished_name.h"
#include "directory/joinable_organization_units.h"
#include "fuzz_input.h"
#include "model/credential_prompt.h"
#include "platform/sim/world.h"
#include "ui/dialog_ids.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;
namespace error = platform::error;

namespace {

constexpr int kList = ui::main_dialog::kOrganizationUnitList;

// The world's network management, except that the joinable units come
// from the input.
class AnsweringNetwork : public platform::NetworkManagement {
public:
    AnsweringNetwork(platform::NetworkManagement& real, FuzzInput& input)
        : real_(real), input_(input) {}

    platform::ErrorCode NetGetJoinInformation(char16_t** name,
                                              platform::JoinStatus* status) override {
        return real_.NetGetJoinInformation(name, status);
    }
    platform::ErrorCode NetJoinDomain(const char16_t* domain, const char16_t* unit,
                                      const char16_t* account, const char16_t* password,
                                      std::uint32_t options) override {
        return real_.NetJoinDomain(domain, unit, account, password, options);
    }
    platform::ErrorCode NetUnjoinDomain(const char16_t* account, const char16_t* password,
                                        std::uint32_t options) override {
        return real_.NetUnjoinDomain(account, password, options);
    }
    platform::ErrorCode NetRenameMachineInDomain(const char16_t* newName, const char16_t* account,
                                                 const char16_t* password,
                                                 std::uint32_t options) override {
        return real_.NetRenameMachineInDomain(newName, account, password, options);
    }
    platform::ErrorCode NetGetJoinableOUs(const char16_t*, const char16_t*, const char16_t*,
                                          std::uint32_t* count, char16_t*** units) override {
        ++listings;
        const std::uint8_t choice = input_.Byte();
        if (choice % 16 == 0) {
            // Failures that ask for nothing (no prompt for credentials).
            constexpr platform::ErrorCode kCodes[] = {31, 1355, 2453, 1722};
            return kCodes[choice / 16 % 4];
        }
        const std::size_t entries = input_.Byte() % 12;
        texts_.clear();
        pointers_.clear();
        for (std::size_t i = 0; i < entries; ++i) {
            std::u16string dn = input_.Wide(120);
            dn.resize(std::min(dn.size(), dn.find(u'\0')));
            texts_.push_back(std::move(dn));
        }
        for (std::size_t i = 0; i < entries; ++i) {
            const bool null = (input_.Byte() & 7) == 0;
            pointers_.push_back(null ? nullptr : texts_[i].data());
        }
        expected.clear();
        for (const char16_t* unit : pointers_) {
            if (unit != nullptr) {
                expected.push_back(ExtractNamePath(unit, u"OU", u'\\'));
            }
        }
        *count = static_cast<std::uint32_t>(entries);
        if (choice % 16 == 1) {
            *units = nullptr; // success without a buffer: nothing to show
            expected.clear();
        } else {
            *units = pointers_.data();
            handedOut = pointers_.data();
        }
        return error::kSuccess;
    }
    platform::ErrorCode NetApiBufferFree(void* buffer) override {
        if (buffer != nullptr && buffer == handedOut) {
            ++freed;
            return error::kSuccess;
        }
        return real_.NetApiBufferFree(buffer);
    }
    platform::ErrorCode DsGetDcName(const char16_t* domain, std::uint32_t flags,
                                    platform::DomainControllerInfo** info) override {
        return real_.DsGetDcName(domain, flags, info);
    }
    bool GetComputerName(char16_t* buffer, std::uint32_t* size) override {
        return real_.GetComputerName(buffer, size);
    }
    using platform::NetworkManagement::SetComputerNameEx;
    bool SetComputerNameEx(platform::ComputerNameFormat format, const char16_t* name,
                           platform::ErrorCode* error) override {
        return real_.SetComputerNameEx(format, name, error);
    }

    int listings = 0;
    int freed = 0;
    const void* handedOut = nullptr;
    std::vector<std::u16string> expected;

private:
    platform::NetworkManagement& real_;
    FuzzInput& input_;
    std::vector<std::u16string> texts_;
    std::vector<char16_t*> pointers_;
};

// A dialog with nothing but the unit list (unsorted: entries in the order
// added).
class UnitListDialog : public platform::DialogView {
public:
    std::u16string ItemText(int) override { return {}; }
    void SetItemText(int, std::u16string_view) override {}
    void SetCaption(std::u16string_view) override {}
    bool IsChecked(int) override { return false; }
    void SetChecked(int, bool) override {}
    void EnableItem(int, bool) override {}
    bool IsItemEnabled(int) override { return true; }
    void FocusItem(int) override {}
    void SelectAllText(int) override {}
    void LimitText(int, int) override {}
    void ResetList(int id) override {
        FUZZ_ASSERT(id == kList);
        entries.clear();
        selection = platform::kNoListSelection;
    }
    int AddListItem(int id, std::u16string_view text) override {
        FUZZ_ASSERT(id == kList);
        entries.emplace_back(text);
        return static_cast<int>(entries.size()) - 1;
    }
    int ListCount(int) override { return static_cast<int>(entries.size()); }
    int ListSelection(int) override { return selection; }
    void SetListSelection(int id, int index) override {
        FUZZ_ASSERT(id == kList && index >= 0 && index < static_cast<int>(entries.size()));
        selection = index;
    }
    std::u16string ListItemText(int, int index) override {
        return entries.at(static_cast<std::size_t>(index));
    }
    void SetListItemData(int, int, std::uintptr_t) override {}
    std::uintptr_t ListItemData(int, int) override { return 0; }
    std::uint32_t IpAddress(int) override { return 0; }
    void SetIpAddress(int, std::uint32_t) override {}
    void ClearIpAddress(int) override {}
    void EndDialog(int) override {}
    platform::WindowId Window() override { return 1; }
    void StartTimer(std::uintptr_t, std::uint32_t) override {}
    void StopTimer(std::uintptr_t) override {}
    void InvalidateItem(int) override {}

    std::vector<std::u16string> entries;
    int selection = platform::kNoListSelection;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    static const bool prepared = [] {
        world.AddDomain(u"SALES", u"sales.example.com");
        return true;
    }();
    FUZZ_ASSERT(prepared);

    FuzzInput input(data, size);
    AnsweringNetwork network(world.network(), input);
    platform::Platform& real = world.platform();
    platform::Platform os{real.clock,     real.locale,    real.environment, real.files,
                          real.profile,   real.registry,  network,          real.ipHelper,
                          real.resources, real.directory, real.ui};
    SetupState state;
    UnitListDialog dialog;
    DomainText domain(u"SALES");
    // Nobody answers a prompt: a refusal ends the listing.
    class GivingUp final : public CredentialPrompt {
    public:
        platform::ErrorCode AskAfterRefusal(platform::WindowId, platform::ErrorCode) override {
            return 1223; // ERROR_CANCELLED
        }
    } prompt;

    const bool listed = FillJoinableOrganizationUnits(
        os, state, dialog, ui::main_dialog::kOrganizationUnitList, domain, prompt);
    FUZZ_ASSERT(network.listings == 1);
    // The one buffer handed out is released once, whatever it held.
    FUZZ_ASSERT(network.freed == (network.handedOut != nullptr ? 1 : 0));
    if (!listed) {
        FUZZ_ASSERT(dialog.entries.empty());
        FUZZ_ASSERT(state.OrganizationUnitListLoaded.load() == 0);
        world.ClearJournal();
        return 0;
    }
    FUZZ_ASSERT(state.OrganizationUnitListLoaded.load() == 1);
    // The list control sorts its entries itself, so the fill may add them
    // in any order: the same paths, each as often as listed.
    std::vector<std::u16string> shown = dialog.entries;
    std::vector<std::u16string> listedPaths = network.expected;
    std::sort(shown.begin(), shown.end());
    std::sort(listedPaths.begin(), listedPaths.end());
    FUZZ_ASSERT(shown == listedPaths);
    if (dialog.selection != platform::kNoListSelection) {
        FUZZ_ASSERT(dialog.entries[static_cast<std::size_t>(dialog.selection)] ==
                    state.CurrentOrganizationUnit.view());
    }
    // Loaded: a second fill does nothing.
    FUZZ_ASSERT(!FillJoinableOrganizationUnits(
        os, state, dialog, ui::main_dialog::kOrganizationUnitList, domain, prompt));
    FUZZ_ASSERT(network.listings == 1);
    world.ClearJournal();
    return 0;
}
