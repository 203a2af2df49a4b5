#include "platform/sim/desktop/sim_dialog.h"

#include "platform/sim/text.h"

#include <algorithm>

namespace corvane::sim {

namespace {

// What the user may type into an edit control before EM_LIMITTEXT, and what
// EM_LIMITTEXT 0 allows.
constexpr int kDefaultEditLimit = 32767;
constexpr int kLargestEditLimit = 0x7FFFFFFE;
// Windows' shortest timer period.
constexpr std::uint32_t kShortestTimerPeriod = 10;

// Dialog units to pixels for "MS Shell Dlg" 8 at 96 dpi (base units 6 x 13),
// rounded like MulDiv.
int UnitsToPixels(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}

// What the item's frame takes from each side of its client area.
int FrameWidth(const ui::DialogItem& item) {
    if ((item.exStyle & ui::kWsExClientEdge) != 0) {
        return 2;
    }
    if ((item.exStyle & ui::kWsExStaticEdge) != 0 || (item.style & ui::kWsBorder) != 0) {
        return 1;
    }
    return 0;
}

// The client area of an owner-drawn item; drawing itself leaves no trace.
class SimDrawSurface final : public platform::DrawSurface {
public:
    explicit SimDrawSurface(const ui::DialogItem& item) {
        const int frame = FrameWidth(item);
        width_ = std::max(0, UnitsToPixels(item.rect.width, 6, 4) - 2 * frame);
        height_ = std::max(0, UnitsToPixels(item.rect.height, 13, 8) - 2 * frame);
    }
    int Width() override { return width_; }
    int Height() override { return height_; }
    void Fill(platform::SystemColor) override {}
    void VerticalLine(int, platform::SystemColor) override {}

private:
    int width_ = 0;
    int height_ = 0;
};

bool LessNoCase(std::u16string_view a, std::u16string_view b) {
    return Fold(a) < Fold(b);
}

std::u16string DottedText(std::uint32_t address) {
    std::string text = std::to_string(address >> 24) + "." +
                       std::to_string((address >> 16) & 0xFF) + "." +
                       std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
    return Widen(text);
}

} // namespace

SimDialog::SimDialog(const ui::DialogTemplate& dialog, platform::DialogLogic& logic,
                     platform::WindowId window, ThreadQueues& queues)
    : logic_(logic), window_(window), queues_(queues), ownerQueue_(queues.Enter()),
      owner_(std::this_thread::get_id()), caption_(dialog.caption) {
    items_.reserve(dialog.items.size());
    for (const ui::DialogItem& source : dialog.items) {
        Item item;
        item.source = &source;
        item.text = source.text;
        item.visible = source.IsVisible();
        item.enabled = (source.style & ui::kWsDisabled) == 0;
        if (source.windowClass == ui::kClassButton) {
            switch (source.style & ui::kBsTypeMask) {
            case ui::kBsPushButton:
            case ui::kBsDefPushButton:
                item.kind = Kind::PushButton;
                break;
            case ui::kBsCheckBox:
            case 0x5: // 3-state
                item.kind = Kind::CheckBox;
                break;
            case ui::kBsAutoCheckBox:
            case 0x6: // auto 3-state
                item.kind = Kind::AutoCheckBox;
                break;
            case ui::kBsRadioButton:
                item.kind = Kind::RadioButton;
                break;
            case ui::kBsAutoRadioButton:
                item.kind = Kind::AutoRadioButton;
                break;
            case ui::kBsGroupBox:
                item.kind = Kind::GroupBox;
                break;
            case ui::kBsOwnerDraw:
                item.kind = Kind::OtherButton;
                item.ownerDrawn = true;
                break;
            default:
                item.kind = Kind::OtherButton;
                break;
            }
        } else if (source.windowClass == ui::kClassEdit) {
            item.kind = Kind::Edit;
            item.multiline = (source.style & ui::kEsMultiline) != 0;
            item.readOnly = (source.style & ui::kEsReadOnly) != 0;
            item.limit = kDefaultEditLimit;
        } else if (source.windowClass == ui::kClassStatic) {
            item.kind = Kind::Static;
            item.ownerDrawn = (source.style & ui::kSsTypeMask) == ui::kSsOwnerDraw;
        } else if (source.windowClass == ui::kClassComboBox) {
            item.kind = Kind::ComboBox;
            item.dropDownList = (source.style & ui::kCbsTypeMask) == ui::kCbsDropDownList;
            item.sorted = (source.style & ui::kCbsSort) != 0;
            item.text.clear();
        } else if (source.windowClass == ui::kClassIpAddress) {
            item.kind = Kind::IpAddress;
            item.text.clear();
        }
        items_.push_back(std::move(item));
    }
}

SimDialog::~SimDialog() {
    if (!destroyed_) {
        ownerQueue_->Bury(life_);
    }
    queues_.Leave();
}

template <typename Result, typename Body>
Result SimDialog::OnOwner(Result fallback, Body&& body) {
    if (std::this_thread::get_id() == owner_) {
        return body();
    }
    Result result = fallback;
    const std::shared_ptr<ThreadQueue> own = queues_.Current();
    ownerQueue_->Call(
        life_, [&] { result = body(); }, own.get());
    return result;
}

template <typename Body>
void SimDialog::OnOwner(Body&& body) {
    if (std::this_thread::get_id() == owner_) {
        body();
        return;
    }
    const std::shared_ptr<ThreadQueue> own = queues_.Current();
    ownerQueue_->Call(
        life_, [&] { body(); }, own.get());
}

SimDialog::Item* SimDialog::Find(int id) {
    // GetDlgItem: the first child with the id.
    for (Item& item : items_) {
        if (item.source->id == id) {
            return &item;
        }
    }
    return nullptr;
}

const SimDialog::Item* SimDialog::Find(int id) const {
    for (const Item& item : items_) {
        if (item.source->id == id) {
            return &item;
        }
    }
    return nullptr;
}

std::size_t SimDialog::IndexOf(const Item& item) const {
    return static_cast<std::size_t>(&item - items_.data());
}

std::u16string SimDialog::TextOf(const Item& item) const {
    switch (item.kind) {
    case Kind::ComboBox:
        // A drop-down list shows its selected entry as its window text.
        if (item.dropDownList) {
            return item.selection >= 0 ? item.list[static_cast<std::size_t>(item.selection)].text
                                       : std::u16string();
        }
        return item.text;
    case Kind::IpAddress:
        return item.address ? DottedText(*item.address) : std::u16string();
    default:
        return item.text;
    }
}

void SimDialog::Command(int id, int notification) {
    logic_.OnMessage(*this);
    logic_.OnCommand(*this, id, notification);
}

std::u16string SimDialog::ItemText(int id) {
    return OnOwner(std::u16string(), [&] {
        const Item* item = Find(id);
        return item != nullptr ? TextOf(*item) : std::u16string();
    });
}

void SimDialog::SetItemText(int id, std::u16string_view text) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item == nullptr) {
            return;
        }
        switch (item->kind) {
        case Kind::Edit:
            // WM_SETTEXT ignores read-only state and the typing limit and
            // drops the selection; a single-line edit reports the change.
            item->text = text;
            item->selected = false;
            if (!item->multiline) {
                Command(id, platform::kEnChange);
            }
            break;
        case Kind::ComboBox:
            if (!item->dropDownList) {
                item->text = text;
            }
            break;
        case Kind::IpAddress:
            break;
        default:
            item->text = text;
            break;
        }
    });
}

void SimDialog::SetCaption(std::u16string_view text) {
    OnOwner([&] { caption_ = text; });
}

bool SimDialog::IsChecked(int id) {
    return OnOwner(false, [&] {
        const Item* item = Find(id);
        return item != nullptr && item->checked;
    });
}

void SimDialog::SetChecked(int id, bool checked) {
    OnOwner([&] {
        Item* item = Find(id);
        // BM_SETCHECK: only check boxes and radio buttons keep a state, and
        // a radio button does not untick its group this way.
        if (item != nullptr &&
            (item->kind == Kind::CheckBox || item->kind == Kind::AutoCheckBox ||
             item->kind == Kind::RadioButton || item->kind == Kind::AutoRadioButton)) {
            item->checked = checked;
        }
    });
}

void SimDialog::EnableItem(int id, bool enabled) {
    OnOwner([&] {
        if (Item* item = Find(id)) {
            item->enabled = enabled;
        }
    });
}

bool SimDialog::IsItemEnabled(int id) {
    return OnOwner(false, [&] {
        const Item* item = Find(id);
        return item != nullptr && item->enabled;
    });
}

void SimDialog::FocusItem(int id) {
    OnOwner([&] {
        if (Find(id) != nullptr) {
            focus_ = id;
        }
    });
}

void SimDialog::SelectAllText(int id) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && item->kind == Kind::Edit) {
            item->selected = true;
        }
    });
}

void SimDialog::LimitText(int id, int maxCharacters) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && item->kind == Kind::Edit) {
            item->limit = maxCharacters > 0 ? maxCharacters : kLargestEditLimit;
        }
    });
}

void SimDialog::ResetList(int id) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && item->kind == Kind::ComboBox) {
            item->list.clear();
            item->selection = platform::kNoListSelection;
        }
    });
}

int SimDialog::AddListItem(int id, std::u16string_view text) {
    return OnOwner(platform::kNoListSelection, [&] {
        Item* item = Find(id);
        if (item == nullptr || item->kind != Kind::ComboBox) {
            return platform::kNoListSelection;
        }
        auto at = item->list.end();
        if (item->sorted) {
            // CBS_SORT compares without regard to case; equal texts keep the
            // order they came in.
            at = std::upper_bound(item->list.begin(), item->list.end(), text,
                                  [](std::u16string_view t, const ListEntry& entry) {
                                      return LessNoCase(t, entry.text);
                                  });
        }
        const int index = static_cast<int>(at - item->list.begin());
        item->list.insert(at, ListEntry{std::u16string(text), 0});
        if (item->selection >= index) {
            ++item->selection;
        }
        return index;
    });
}

int SimDialog::ListCount(int id) {
    return OnOwner(0, [&] {
        const Item* item = Find(id);
        return item != nullptr && item->kind == Kind::ComboBox ? static_cast<int>(item->list.size())
                                                               : 0;
    });
}

int SimDialog::ListSelection(int id) {
    return OnOwner(platform::kNoListSelection, [&] {
        const Item* item = Find(id);
        return item != nullptr && item->kind == Kind::ComboBox ? item->selection
                                                               : platform::kNoListSelection;
    });
}

void SimDialog::SetListSelection(int id, int index) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item == nullptr || item->kind != Kind::ComboBox) {
            return;
        }
        // CB_SETCURSEL out of range removes the selection.
        item->selection = index >= 0 && index < static_cast<int>(item->list.size())
                              ? index
                              : platform::kNoListSelection;
    });
}

std::u16string SimDialog::ListItemText(int id, int index) {
    return OnOwner(std::u16string(), [&] {
        const Item* item = Find(id);
        if (item == nullptr || index < 0 || index >= static_cast<int>(item->list.size())) {
            return std::u16string();
        }
        return item->list[static_cast<std::size_t>(index)].text;
    });
}

void SimDialog::SetListItemData(int id, int index, std::uintptr_t data) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && index >= 0 && index < static_cast<int>(item->list.size())) {
            item->list[static_cast<std::size_t>(index)].data = data;
        }
    });
}

std::uintptr_t SimDialog::ListItemData(int id, int index) {
    return OnOwner(std::uintptr_t{0}, [&] {
        const Item* item = Find(id);
        if (item == nullptr || index < 0 || index >= static_cast<int>(item->list.size())) {
            return std::uintptr_t{0};
        }
        return item->list[static_cast<std::size_t>(index)].data;
    });
}

std::uint32_t SimDialog::IpAddress(int id) {
    return OnOwner(std::uint32_t{0}, [&] {
        const Item* item = Find(id);
        return item != nullptr && item->kind == Kind::IpAddress ? item->address.value_or(0) : 0u;
    });
}

void SimDialog::SetIpAddress(int id, std::uint32_t address) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && item->kind == Kind::IpAddress) {
            // The control rewrites its fields and reports the change.
            item->address = address;
            Command(id, platform::kEnChange);
        }
    });
}

void SimDialog::ClearIpAddress(int id) {
    OnOwner([&] {
        Item* item = Find(id);
        if (item != nullptr && item->kind == Kind::IpAddress) {
            item->address.reset();
            Command(id, platform::kEnChange);
        }
    });
}

void SimDialog::EndDialog(int result) {
    // The last call before the modal loop looks again wins, as on Windows.
    OnOwner([&] {
        ended_ = true;
        endValue_ = result;
    });
}

void SimDialog::StartTimer(std::uintptr_t timerId, std::uint32_t periodMs) {
    OnOwner([&] {
        const std::uint32_t period = std::max(periodMs, kShortestTimerPeriod);
        timers_[timerId] = Timer{period, clock_ + period};
    });
}

void SimDialog::StopTimer(std::uintptr_t timerId) {
    OnOwner([&] { timers_.erase(timerId); });
}

void SimDialog::InvalidateItem(int id) {
    OnOwner([&] {
        if (Item* item = Find(id)) {
            item->invalid = true;
        }
    });
}

void SimDialog::Paint() {
    // WM_PAINT comes before the next timer message, so an invalidated bar is
    // drawn between two ticks.
    for (Item& item : items_) {
        if (!item.invalid) {
            continue;
        }
        item.invalid = false;
        if (item.ownerDrawn && item.visible) {
            SimDrawSurface surface(*item.source);
            ++draws_;
            logic_.OnMessage(*this);
            logic_.OnDrawItem(*this, item.source->id, surface);
        }
    }
}

void SimDialog::Initialise(std::intptr_t parameter) {
    logic_.OnMessage(*this);
    if (logic_.OnInitDialog(*this, parameter)) {
        // The dialog manager focuses the first item that takes the tab key
        // and selects an edit field's text.
        for (Item& item : items_) {
            if (item.visible && item.enabled && (item.source->style & ui::kWsTabStop) != 0) {
                focus_ = item.source->id;
                item.selected = item.kind == Kind::Edit;
                break;
            }
        }
    }
    if (ended_) {
        return; // never shown
    }
    for (Item& item : items_) {
        item.invalid = item.invalid || item.ownerDrawn;
    }
    Paint();
    // Then the message loop goes idle for the first time: a timer that the
    // initialisation started with the shortest period fires now, before any
    // user could act on the dialog it has painted.
    std::optional<std::uint64_t> first;
    for (const auto& [id, timer] : timers_) {
        first = first ? std::min(*first, timer.due) : timer.due;
    }
    if (first && *first <= clock_ + kShortestTimerPeriod) {
        RunTimers(*first - clock_, std::chrono::microseconds(0));
    }
}

std::string SimDialog::Refusal(const Item* item, Kind wanted) const {
    if (item == nullptr) {
        return "no such item";
    }
    const bool fits = item->kind == wanted ||
                      (wanted == Kind::PushButton &&
                       (item->kind == Kind::CheckBox || item->kind == Kind::AutoCheckBox ||
                        item->kind == Kind::RadioButton || item->kind == Kind::AutoRadioButton ||
                        item->kind == Kind::OtherButton));
    if (!fits) {
        return "not that kind of control";
    }
    if (!item->visible) {
        return "hidden";
    }
    if (!item->enabled) {
        return "disabled";
    }
    return {};
}

int SimDialog::DefaultButton() const {
    // A focused push button is the default one; otherwise the template's
    // default push button, otherwise IDOK.
    if (const Item* focused = Find(focus_);
        focused != nullptr && focused->kind == Kind::PushButton) {
        return focus_;
    }
    for (const Item& item : items_) {
        if (item.kind == Kind::PushButton &&
            (item.source->style & ui::kBsTypeMask) == ui::kBsDefPushButton) {
            return item.source->id;
        }
    }
    return ui::kItemOk;
}

void SimDialog::Click(Item& item) {
    focus_ = item.source->id;
    if (item.kind == Kind::AutoCheckBox) {
        item.checked = !item.checked;
    } else if (item.kind == Kind::AutoRadioButton) {
        // The other automatic radio buttons of its group (from the item with
        // WS_GROUP at or before it up to the next one) lose their tick.
        const std::size_t self = IndexOf(item);
        std::size_t first = self;
        while (first > 0 && (items_[first].source->style & ui::kWsGroup) == 0) {
            --first;
        }
        std::size_t last = self + 1;
        while (last < items_.size() && (items_[last].source->style & ui::kWsGroup) == 0) {
            ++last;
        }
        for (std::size_t i = first; i < last; ++i) {
            if (items_[i].kind == Kind::AutoRadioButton) {
                items_[i].checked = i == self;
            }
        }
    }
    Command(item.source->id, platform::kBnClicked);
}

std::string SimDialog::Perform(const DialogAction& action, std::chrono::microseconds tickPause) {
    Item* item = Find(action.item);
    std::string refusal;
    switch (action.kind) {
    case DialogActionKind::Type:
        if (!(refusal = Refusal(item, Kind::Edit)).empty()) {
            return refusal;
        }
        if (item->readOnly) {
            return "read-only";
        }
        item->text = action.text.substr(0, static_cast<std::size_t>(item->limit));
        item->selected = false;
        focus_ = action.item;
        Command(action.item, platform::kEnChange);
        break;
    case DialogActionKind::Press:
        if (!(refusal = Refusal(item, Kind::PushButton)).empty()) {
            return refusal;
        }
        if (item->kind == Kind::GroupBox) {
            return "not that kind of control";
        }
        Click(*item);
        break;
    case DialogActionKind::Check:
    case DialogActionKind::Uncheck: {
        if (!(refusal = Refusal(item, Kind::PushButton)).empty()) {
            return refusal;
        }
        const bool radio = item->kind == Kind::RadioButton || item->kind == Kind::AutoRadioButton;
        const bool box = item->kind == Kind::CheckBox || item->kind == Kind::AutoCheckBox;
        if (!radio && !box) {
            return "not that kind of control";
        }
        const bool wanted = action.kind == DialogActionKind::Check;
        if (!wanted && radio) {
            return "a radio button is unticked by ticking another";
        }
        if (item->checked != wanted) {
            Click(*item);
        }
        break;
    }
    case DialogActionKind::Pick: {
        if (!(refusal = Refusal(item, Kind::ComboBox)).empty()) {
            return refusal;
        }
        int index = action.index;
        if (index < 0) {
            const auto found =
                std::find_if(item->list.begin(), item->list.end(),
                             [&](const ListEntry& e) { return e.text == action.text; });
            if (found == item->list.end()) {
                return "no such entry";
            }
            index = static_cast<int>(found - item->list.begin());
        }
        if (index >= static_cast<int>(item->list.size())) {
            return "no such entry";
        }
        item->selection = index;
        focus_ = action.item;
        Command(action.item, platform::kCbnSelChange);
        break;
    }
    case DialogActionKind::DropDown:
        if (!(refusal = Refusal(item, Kind::ComboBox)).empty()) {
            return refusal;
        }
        focus_ = action.item;
        Command(action.item, platform::kCbnDropDown);
        break;
    case DialogActionKind::Address:
        if (!(refusal = Refusal(item, Kind::IpAddress)).empty()) {
            return refusal;
        }
        item->address = action.address;
        focus_ = action.item;
        Command(action.item, platform::kEnChange);
        break;
    case DialogActionKind::Enter: {
        // IsDialogMessage: the default button's command, unless that button
        // is disabled.
        const int button = DefaultButton();
        const Item* target = Find(button);
        if (target != nullptr && !target->enabled) {
            return "the default button is disabled";
        }
        Command(button, platform::kBnClicked);
        break;
    }
    case DialogActionKind::Escape: {
        // IDCANCEL, whether or not the dialog has such a button, unless it
        // has one that is disabled.
        const Item* cancel = Find(ui::kItemCancel);
        if (cancel != nullptr && !cancel->enabled) {
            return "the cancel button is disabled";
        }
        Command(ui::kItemCancel, platform::kBnClicked);
        break;
    }
    case DialogActionKind::Wait:
        RunTimers(action.milliseconds, tickPause);
        return {};
    case DialogActionKind::Close:
        Close();
        break;
    }
    Paint();
    return {};
}

void SimDialog::Pause(std::chrono::microseconds tickPause) {
    ownerQueue_->Serve(tickPause);
}

void SimDialog::RunTimers(std::uint64_t milliseconds, std::chrono::microseconds tickPause) {
    const std::uint64_t until = clock_ + milliseconds;
    while (!ended_) {
        std::optional<std::uint64_t> next;
        for (const auto& [id, timer] : timers_) {
            next = next ? std::min(*next, timer.due) : timer.due;
        }
        Pause(tickPause);
        if (!next || *next > until) {
            clock_ = until;
            return;
        }
        clock_ = *next;
        // Every timer due now, in the order of their ids; a handler may stop
        // or restart timers, so each is looked up afresh.
        std::vector<std::uintptr_t> due;
        for (const auto& [id, timer] : timers_) {
            if (timer.due == clock_) {
                due.push_back(id);
            }
        }
        for (const std::uintptr_t id : due) {
            const auto found = timers_.find(id);
            if (found == timers_.end() || found->second.due != clock_) {
                continue;
            }
            found->second.due = clock_ + found->second.period;
            ++timerTicks_;
            logic_.OnMessage(*this);
            logic_.OnTimer(*this, id);
            Paint();
        }
    }
}

bool SimDialog::RunNextTimer(std::chrono::microseconds tickPause) {
    if (timers_.empty()) {
        return false;
    }
    std::uint64_t next = UINT64_MAX;
    for (const auto& [id, timer] : timers_) {
        next = std::min(next, timer.due);
    }
    RunTimers(next - clock_, tickPause);
    return true;
}

void SimDialog::Close() {
    logic_.OnMessage(*this);
    logic_.OnClose(*this);
}

void SimDialog::Destroy() {
    if (destroyed_) {
        return;
    }
    logic_.OnMessage(*this);
    logic_.OnDestroy(*this);
    timers_.clear();
    destroyed_ = true;
    ownerQueue_->Bury(life_);
}

void SimDialog::ServeCalls() {
    ownerQueue_->Serve(std::chrono::microseconds(0));
}

std::vector<DialogItemState> SimDialog::Snapshot() const {
    std::vector<DialogItemState> states;
    states.reserve(items_.size());
    for (const Item& item : items_) {
        DialogItemState state;
        state.id = item.source->id;
        state.windowClass = item.source->windowClass;
        state.text = TextOf(item);
        state.visible = item.visible;
        state.enabled = item.enabled;
        state.checked = item.checked;
        state.textSelected = item.selected;
        state.limit = item.kind == Kind::Edit ? item.limit : 0;
        for (const ListEntry& entry : item.list) {
            state.list.push_back(entry.text);
        }
        state.selection = item.selection;
        state.address = item.address;
        states.push_back(std::move(state));
    }
    return states;
}

} // namespace corvane::sim
