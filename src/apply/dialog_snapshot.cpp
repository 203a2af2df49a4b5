#include "apply/dialog_snapshot.h"

#include "ui/dialog_ids.h"

namespace corvane {

namespace id = ui::main_dialog;

DialogSnapshot DialogSnapshot::OfMainDialog(platform::DialogView& dialog) {
    DialogSnapshot snapshot;
    snapshot.window_ = dialog.Window();
    for (int item : {id::kComputerName, id::kDomain, id::kWorkgroup}) {
        snapshot.texts_[item] = dialog.ItemText(item);
    }
    for (int item : {id::kMemberOfDomain, id::kMemberOfWorkgroup, id::kAddressAutomatic,
                     id::kAddressFixed, id::kStartWithWindows}) {
        snapshot.checks_[item] = dialog.IsChecked(item);
    }
    List& units = snapshot.lists_[id::kOrganizationUnitList];
    units.count = dialog.ListCount(id::kOrganizationUnitList);
    units.selection = dialog.ListSelection(id::kOrganizationUnitList);
    if (units.selection != platform::kNoListSelection) {
        units.items[units.selection] =
            dialog.ListItemText(id::kOrganizationUnitList, units.selection);
    }
    return snapshot;
}

std::u16string DialogSnapshot::ItemText(int id) {
    const auto found = texts_.find(id);
    return found != texts_.end() ? found->second : std::u16string();
}

void DialogSnapshot::SetItemText(int id, std::u16string_view text) {
    texts_[id] = std::u16string(text);
}

bool DialogSnapshot::IsChecked(int id) {
    const auto found = checks_.find(id);
    return found != checks_.end() && found->second;
}

void DialogSnapshot::SetChecked(int id, bool checked) {
    checks_[id] = checked;
}

void DialogSnapshot::EnableItem(int id, bool enabled) {
    enabled_[id] = enabled;
}

bool DialogSnapshot::IsItemEnabled(int id) {
    const auto found = enabled_.find(id);
    return found == enabled_.end() || found->second;
}

void DialogSnapshot::ResetList(int id) {
    lists_[id] = List{};
}

int DialogSnapshot::AddListItem(int id, std::u16string_view text) {
    List& list = lists_[id];
    list.items[list.count] = std::u16string(text);
    return list.count++;
}

int DialogSnapshot::ListCount(int id) {
    const auto found = lists_.find(id);
    return found != lists_.end() ? found->second.count : 0;
}

int DialogSnapshot::ListSelection(int id) {
    const auto found = lists_.find(id);
    return found != lists_.end() ? found->second.selection : platform::kNoListSelection;
}

void DialogSnapshot::SetListSelection(int id, int index) {
    List& list = lists_[id];
    list.selection = index >= 0 && index < list.count ? index : platform::kNoListSelection;
}

std::u16string DialogSnapshot::ListItemText(int id, int index) {
    const auto list = lists_.find(id);
    if (list == lists_.end()) {
        return {};
    }
    const auto item = list->second.items.find(index);
    return item != list->second.items.end() ? item->second : std::u16string();
}

} // namespace corvane
