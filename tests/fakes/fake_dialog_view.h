// A plain in-memory dialog for tests of dialog logic: items hold a text, a
// check state, an enabled state, a list and an address; nothing is notified.
#pragma once

#include "platform/dialog_view.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

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
    // A sorted list (CBS_SORT) sorts the entry in as the list box does:
    // without regard to case, before entries that compare equal. Entries
    // behind it move down one place and the selection moves with its entry.
    int AddListItem(int id, std::u16string_view text) override {
        Item& it = items_[id];
        auto at = it.list.end();
        // An entry that sorts after the last one goes to the end: one
        // comparison, so that a list filled in its own order costs the
        // filling code's time and not the search's.
        if (it.sorted && !it.list.empty() && CompareWithoutCase(it.list.back().text, text) >= 0) {
            at = std::lower_bound(it.list.begin(), it.list.end(), text,
                                  [](const ListItem& e, std::u16string_view t) {
                                      return CompareWithoutCase(e.text, t) < 0;
                                  });
        }
        at = it.list.insert(at, ListItem{std::u16string(text), 0});
        const int index = static_cast<int>(at - it.list.begin());
        if (it.selection != platform::kNoListSelection && index <= it.selection) {
            ++it.selection;
        }
        return index;
    }

    // Letters compared in lower case (so that punctuation such as the
    // backslash of an OU path sorts before letters, as lstrcmpi sorts it);
    // covers ASCII and Latin-1, which is what the tests list.
    static int CompareWithoutCase(std::u16string_view a, std::u16string_view b) {
        const auto fold = [](char16_t c) {
            if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
                return static_cast<char16_t>(c + 0x20);
            }
            return c;
        };
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            const char16_t x = fold(a[i]);
            const char16_t y = fold(b[i]);
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    int ListCount(int id) override { return static_cast<int>(items_[id].list.size()); }
    int ListSelection(int id) override { return items_[id].selection; }
    void SetListSelection(int id, int index) override {
        Item& it = items_[id];
        it.selection = (index >= 0 && index < static_cast<int>(it.list.size()))
                           ? index
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
    void StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) override {
        timers_[timerId] = periodMs;
    }
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
