// A plain in-memory dialog for tests of dialog logic: items hold a text, a
// check state, an enabled state, a list and an address; nothing is notified.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_view.h"

namespace corvane::fakes {

class FakeDialogView : public platform::DialogView {
public:
    struct ListItem {
        std::u16string text;
        std::uintptr_t data = 0;
    };
    struct Item {
        std::u16string text;
        bool checked = false;
        bool enabled = true;
        bool selectAll = false;
        int limit = 0;
        std::vector<ListItem> list;
        bool sorted = false;
        int selection = platform::kNoListSelection;
        std::uint32_t address = 0;
    };

    Item& item(int id) { return items_[id]; }
    int focused() const { return focused_; }
    int endResult() const { return endResult_; }
    const std::u16string& caption() const { return caption_; }

    std::u16string ItemText(int id) override { return items_[id].text; }
    void SetItemText(int id, std::u16string_view text) override { items_[id].text = text; }
    void SetCaption(std::u16string_view text) override { caption_ = text; }
    bool IsChecked(int id) override { return items_[id].checked; }
    void SetChecked(int id, bool checked) override { items_[id].checked = checked; }
    void EnableItem(int id, bool enabled) override { items_[id].enabled = enabled; }
    bool IsItemEnabled(int id) override { return items_[id].enabled; }
    void FocusItem(int id) override { focused_ = id; }
    void SelectAllText(int id) override { items_[id].selectAll = true; }
    void LimitText(int id, int maxCharacters) override { items_[id].limit = maxCharacters; }
    void ResetList(int id) override {
        items_[id].list.clear();
        items_[id].selection = platform::kNoListSelection;
    }
    int AddListItem(int id, std::u16string_view text) override {
        Item& it = items_[id];
        auto at = it.list.end();
        if (it.sorted) {
            at = std::upper_bound(it.list.begin(), it.list.end(), text,
                                  [](std::u16string_view t, const ListItem& e) { return t < e.text; });
        }
        at = it.list.insert(at, ListItem{std::u16string(text), 0});
        return static_cast<int>(at - it.list.begin());
    }
    int ListCount(int id) override { return static_cast<int>(items_[id].list.size()); }
    int ListSelection(int id) override { return items_[id].selection; }
    void SetListSelection(int id, int index) override {
        Item& it = items_[id];
        it.selection = (index >= 0 && index < static_cast<int>(it.list.size())) ? index
                                                                               : platform::kNoListSelection;
    }
    std::u16string ListItemText(int id, int index) override {
        Item& it = items_[id];
        return valid(it, index) ? it.list[static_cast<std::size_t>(index)].text : std::u16string();
    }
    void SetListItemData(int id, int index, std::uintptr_t data) override {
        Item& it = items_[id];
        if (valid(it, index)) {
            it.list[static_cast<std::size_t>(index)].data = data;
        }
    }
    std::uintptr_t ListItemData(int id, int index) override {
        Item& it = items_[id];
        return valid(it, index) ? it.list[static_cast<std::size_t>(index)].data : 0;
    }
    std::uint32_t IpAddress(int id) override { return items_[id].address; }
    void SetIpAddress(int id, std::uint32_t address) override { items_[id].address = address; }
    void ClearIpAddress(int id) override { items_[id].address = 0; }
    void EndDialog(int result) override { endResult_ = result; }
    platform::WindowId Window() override { return 0x1000; }
    void StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) override { timers_[timerId] = periodMs; }
    void StopTimer(std::uintptr_t timerId) override { timers_.erase(timerId); }
    void InvalidateItem(int id) override { ++invalidated_[id]; }

    const std::map<std::uintptr_t, std::uint32_t>& timers() const { return timers_; }
    int invalidations(int id) { return invalidated_[id]; }

private:
    static bool valid(const Item& it, int index) {
        return index >= 0 && index < static_cast<int>(it.list.size());
    }

    std::map<int, Item> items_;
    std::map<std::uintptr_t, std::uint32_t> timers_;
    std::map<int, int> invalidated_;
    std::u16string caption_;
    int focused_ = 0;
    int endResult_ = 0;
};

} // namespace corvane::fakes
