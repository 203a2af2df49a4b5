// A FakeDialogView that behaves like a dialog built from one of the
// program's templates and that notifies its dialog logic the way the
// Windows controls notify their dialog:
//
// - Items exist only as the template declares them, with its initial text,
//   enabled state and list sorting; every id the logic touches is recorded,
//   so that a test can check that no id outside the template was used.
// - WM_SETTEXT on a single-line edit sends EN_CHANGE, also for a programmatic
//   change (SetDlgItemText): SetItemText on an EDIT item notifies at once,
//   inside the call, as the synchronous SendMessage does.
// - The IP address control sets or clears its four fields one at a time,
//   and each field's edit forwards its EN_CHANGE through the control:
//   SetIpAddress and ClearIpAddress notify four times, each time with the
//   fields changed so far (this is how the common controls behave under
//   Wine; it is the most demanding order for code that reads all three
//   controls on each notification).
// - BM_SETCHECK, CB_SETCURSEL, CB_ADDSTRING, EnableWindow and EM_LIMITTEXT
//   notify nothing.
// - The user's actions (typing, clicking, choosing, dropping a list down)
//   send the notifications the controls send for them, and do nothing on a
//   disabled item. Typing honours the limit of EM_LIMITTEXT.
#pragma once

#include "fakes/fake_dialog_view.h"
#include "platform/dialog_logic.h"
#include "ui/dialog_templates.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane::fakes {

class NotifyingDialogView : public FakeDialogView {
public:
    enum class Kind { Other, Edit, IpAddress, AutoRadio, AutoCheckBox, PushButton, ComboBox };

    explicit NotifyingDialogView(const ui::DialogTemplate& dialogTemplate) {
        int group = 0;
        for (const ui::DialogItem& templateItem : dialogTemplate.items) {
            if ((templateItem.style & ui::kWsGroup) != 0) {
                ++group;
            }
            if (templateItem.id == ui::kItemUnaddressed) {
                continue;
            }
            declared_.insert(templateItem.id);
            Item& it = item(templateItem.id);
            it.text = templateItem.text;
            it.enabled = (templateItem.style & ui::kWsDisabled) == 0;
            kinds_[templateItem.id] = KindOf(templateItem);
            groups_[templateItem.id] = group;
            if (kinds_[templateItem.id] == Kind::ComboBox) {
                it.sorted = (templateItem.style & ui::kCbsSort) != 0;
            }
        }
    }

    // The logic that receives the notifications; none until attached.
    void Attach(platform::DialogLogic& logic) { logic_ = &logic; }

    // Ids used by the logic that the template does not declare.
    std::vector<int> undeclaredItems() const {
        return std::vector<int>(undeclaredUses_.begin(), undeclaredUses_.end());
    }
    // Notifications sent so far, as (item, code).
    const std::vector<std::pair<int, int>>& notifications() const { return notifications_; }

    // --- what the logic calls
    std::u16string ItemText(int id) override {
        Use(id);
        return FakeDialogView::ItemText(id);
    }
    void SetItemText(int id, std::u16string_view text) override {
        Use(id);
        FakeDialogView::SetItemText(id, text);
        if (KindOf(id) == Kind::Edit) {
            Notify(id, platform::kEnChange);
        }
    }
    bool IsChecked(int id) override {
        Use(id);
        return FakeDialogView::IsChecked(id);
    }
    void SetChecked(int id, bool checked) override {
        Use(id);
        FakeDialogView::SetChecked(id, checked);
    }
    void EnableItem(int id, bool enabled) override {
        Use(id);
        FakeDialogView::EnableItem(id, enabled);
    }
    bool IsItemEnabled(int id) override {
        Use(id);
        return FakeDialogView::IsItemEnabled(id);
    }
    void FocusItem(int id) override {
        Use(id);
        FakeDialogView::FocusItem(id);
    }
    void SelectAllText(int id) override {
        Use(id);
        FakeDialogView::SelectAllText(id);
    }
    void LimitText(int id, int maxCharacters) override {
        Use(id);
        FakeDialogView::LimitText(id, maxCharacters);
    }
    void ResetList(int id) override {
        Use(id);
        FakeDialogView::ResetList(id);
    }
    int AddListItem(int id, std::u16string_view text) override {
        Use(id);
        return FakeDialogView::AddListItem(id, text);
    }
    int ListCount(int id) override {
        Use(id);
        return FakeDialogView::ListCount(id);
    }
    int ListSelection(int id) override {
        Use(id);
        return FakeDialogView::ListSelection(id);
    }
    void SetListSelection(int id, int index) override {
        Use(id);
        FakeDialogView::SetListSelection(id, index);
    }
    std::u16string ListItemText(int id, int index) override {
        Use(id);
        return FakeDialogView::ListItemText(id, index);
    }
    void SetListItemData(int id, int index, std::uintptr_t data) override {
        Use(id);
        FakeDialogView::SetListItemData(id, index, data);
    }
    std::uintptr_t ListItemData(int id, int index) override {
        Use(id);
        return FakeDialogView::ListItemData(id, index);
    }
    std::uint32_t IpAddress(int id) override {
        Use(id);
        return FakeDialogView::IpAddress(id);
    }
    void SetIpAddress(int id, std::uint32_t address) override {
        Use(id);
        for (int field = 0; field < 4; ++field) {
            SetField(id, field, static_cast<int>((address >> (24 - 8 * field)) & 0xFFu));
            Notify(id, platform::kEnChange);
        }
    }
    void ClearIpAddress(int id) override {
        Use(id);
        for (int field = 0; field < 4; ++field) {
            SetField(id, field, kBlank);
            Notify(id, platform::kEnChange);
        }
    }

    // Fields of an IP address control: 0 to 255, or kBlank.
    static constexpr int kBlank = -1;
    std::array<int, 4> fields(int id) {
        return fields_.try_emplace(id, kBlankFields).first->second;
    }
    bool isBlank(int id) { return fields(id) == kBlankFields; }

    // --- what the user does
    // Replaces the whole text of an edit as typing over a selection does,
    // cut to the typing limit; one EN_CHANGE.
    void Type(int id, std::u16string_view text) {
        if (!IsItemEnabled(id)) {
            return;
        }
        const int limit = item(id).limit;
        if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) {
            text = text.substr(0, static_cast<std::size_t>(limit));
        }
        FakeDialogView::SetItemText(id, text);
        Notify(id, platform::kEnChange);
    }
    // Types into the fields of an IP address control; one EN_CHANGE per
    // field that changes.
    void TypeAddress(int id, std::array<int, 4> newFields) {
        if (!IsItemEnabled(id)) {
            return;
        }
        for (int field = 0; field < 4; ++field) {
            if (fields(id)[static_cast<std::size_t>(field)] !=
                newFields[static_cast<std::size_t>(field)]) {
                SetField(id, field, newFields[static_cast<std::size_t>(field)]);
                Notify(id, platform::kEnChange);
            }
        }
    }
    // A click: an automatic radio button ticks itself and unticks the rest
    // of its group, an automatic check box toggles; then BN_CLICKED.
    void Click(int id) {
        if (!IsItemEnabled(id)) {
            return;
        }
        if (KindOf(id) == Kind::AutoRadio) {
            for (const auto& [other, group] : groups_) {
                if (group == groups_[id] && KindOf(other) == Kind::AutoRadio) {
                    item(other).checked = other == id;
                }
            }
        } else if (KindOf(id) == Kind::AutoCheckBox) {
            item(id).checked = !item(id).checked;
        }
        Notify(id, platform::kBnClicked);
    }
    // Picks an entry of a drop-down list: CBN_SELCHANGE.
    void Choose(int id, int index) {
        if (!IsItemEnabled(id)) {
            return;
        }
        FakeDialogView::SetListSelection(id, index);
        Notify(id, platform::kCbnSelChange);
    }
    // Opens a drop-down list: CBN_DROPDOWN.
    void DropDown(int id) {
        if (!IsItemEnabled(id)) {
            return;
        }
        Notify(id, platform::kCbnDropDown);
    }
    // The close box: WM_CLOSE.
    void CloseBox() {
        if (logic_ != nullptr) {
            logic_->OnClose(*this);
        }
    }

private:
    static constexpr std::array<int, 4> kBlankFields = {kBlank, kBlank, kBlank, kBlank};

    static Kind KindOf(const ui::DialogItem& templateItem) {
        if (templateItem.windowClass == ui::kClassEdit) {
            return Kind::Edit;
        }
        if (templateItem.windowClass == ui::kClassIpAddress) {
            return Kind::IpAddress;
        }
        if (templateItem.windowClass == ui::kClassComboBox) {
            return Kind::ComboBox;
        }
        if (templateItem.windowClass == ui::kClassButton) {
            switch (templateItem.style & ui::kBsTypeMask) {
            case ui::kBsAutoRadioButton:
                return Kind::AutoRadio;
            case ui::kBsAutoCheckBox:
                return Kind::AutoCheckBox;
            case ui::kBsPushButton:
            case ui::kBsDefPushButton:
                return Kind::PushButton;
            default:
                return Kind::Other;
            }
        }
        return Kind::Other;
    }
    Kind KindOf(int id) const {
        const auto found = kinds_.find(id);
        return found == kinds_.end() ? Kind::Other : found->second;
    }

    void Use(int id) {
        if (declared_.count(id) == 0) {
            undeclaredUses_.insert(id);
        }
    }

    void SetField(int id, int field, int value) {
        std::array<int, 4>& all = fields_.try_emplace(id, kBlankFields).first->second;
        all[static_cast<std::size_t>(field)] = value;
        // IPM_GETADDRESS: blank fields read as 0.
        std::uint32_t address = 0;
        for (const int v : all) {
            address = (address << 8) | static_cast<std::uint32_t>(v == kBlank ? 0 : v);
        }
        FakeDialogView::SetIpAddress(id, address);
    }

    void Notify(int id, int code) {
        notifications_.emplace_back(id, code);
        if (logic_ != nullptr) {
            logic_->OnCommand(*this, id, code);
        }
    }

    platform::DialogLogic* logic_ = nullptr;
    std::set<int> declared_;
    std::set<int> undeclaredUses_;
    std::map<int, Kind> kinds_;
    std::map<int, int> groups_;
    std::map<int, std::array<int, 4>> fields_;
    std::vector<std::pair<int, int>> notifications_;
};

} // namespace corvane::fakes
