#include "platform/sim/desktop/desktop.h"

#include "platform/sim/text.h"

namespace corvane::sim {

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (const char c : Utf16ToUtf8(text)) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

namespace {

std::string AddressText(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

const DialogItemState* FindState(const std::vector<DialogItemState>& items, int id) {
    for (const DialogItemState& item : items) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

std::string Signed(std::intptr_t value) {
    return std::to_string(static_cast<long long>(value));
}

} // namespace

DialogAction DialogAction::Type(int item, std::u16string_view text) {
    DialogAction action;
    action.kind = DialogActionKind::Type;
    action.item = item;
    action.text = text;
    return action;
}

DialogAction DialogAction::Press(int item) {
    DialogAction action;
    action.kind = DialogActionKind::Press;
    action.item = item;
    return action;
}

DialogAction DialogAction::Check(int item) {
    DialogAction action;
    action.kind = DialogActionKind::Check;
    action.item = item;
    return action;
}

DialogAction DialogAction::Uncheck(int item) {
    DialogAction action;
    action.kind = DialogActionKind::Uncheck;
    action.item = item;
    return action;
}

DialogAction DialogAction::Pick(int item, int index) {
    DialogAction action;
    action.kind = DialogActionKind::Pick;
    action.item = item;
    action.index = index;
    return action;
}

DialogAction DialogAction::Pick(int item, std::u16string_view text) {
    DialogAction action;
    action.kind = DialogActionKind::Pick;
    action.item = item;
    action.text = text;
    return action;
}

DialogAction DialogAction::DropDown(int item) {
    DialogAction action;
    action.kind = DialogActionKind::DropDown;
    action.item = item;
    return action;
}

DialogAction DialogAction::Address(int item, std::optional<std::uint32_t> address) {
    DialogAction action;
    action.kind = DialogActionKind::Address;
    action.item = item;
    action.address = address;
    return action;
}

DialogAction DialogAction::Enter() {
    DialogAction action;
    action.kind = DialogActionKind::Enter;
    return action;
}

DialogAction DialogAction::Escape() {
    DialogAction action;
    action.kind = DialogActionKind::Escape;
    return action;
}

DialogAction DialogAction::Wait(std::uint32_t milliseconds) {
    DialogAction action;
    action.kind = DialogActionKind::Wait;
    action.milliseconds = milliseconds;
    return action;
}

DialogAction DialogAction::Close() {
    return DialogAction{};
}

std::string DialogAction::Text() const {
    const std::string target = std::to_string(item);
    switch (kind) {
    case DialogActionKind::Type:
        return "type " + target + " " + Quoted(text);
    case DialogActionKind::Press:
        return "press " + target;
    case DialogActionKind::Check:
        return "check " + target;
    case DialogActionKind::Uncheck:
        return "uncheck " + target;
    case DialogActionKind::Pick:
        return "pick " + target + " " + (index >= 0 ? std::to_string(index) : Quoted(text));
    case DialogActionKind::DropDown:
        return "dropdown " + target;
    case DialogActionKind::Address:
        return "address " + target + " " + (address ? AddressText(*address) : "blank");
    case DialogActionKind::Enter:
        return "key enter";
    case DialogActionKind::Escape:
        return "key escape";
    case DialogActionKind::Wait:
        return "wait " + std::to_string(milliseconds);
    case DialogActionKind::Close:
        break;
    }
    return "close";
}

DomainBrowserAnswer DomainBrowserAnswer::Pick(std::u16string_view domain) {
    return DomainBrowserAnswer{Kind::Pick, std::u16string(domain)};
}

DomainBrowserAnswer DomainBrowserAnswer::Cancel() {
    return DomainBrowserAnswer{Kind::Cancel, {}};
}

DomainBrowserAnswer DomainBrowserAnswer::Unavailable() {
    return DomainBrowserAnswer{Kind::Unavailable, {}};
}

const DialogItemState* DialogRecord::ItemAfterInit(int id) const {
    return FindState(afterInit, id);
}

const DialogItemState* DialogRecord::ItemAtEnd(int id) const {
    return FindState(atEnd, id);
}

std::string RecordText(const DesktopRecord& record) {
    if (const auto* dialog = std::get_if<DialogRecord>(&record)) {
        std::string line = "dialog " + std::to_string(dialog->templateId);
        if (dialog->language == 0) {
            return line + " -> -1 (no template)";
        }
        line += " " + Hex(dialog->language, 4) + " parameter " + Signed(dialog->parameter);
        if (!dialog->ended) {
            return line + " (open)";
        }
        line += " -> " + std::to_string(dialog->endValue);
        if (!dialog->shown) {
            line += " (not shown)";
        } else if (dialog->closedBySim) {
            line += " (closed by the sim)";
        }
        return line;
    }
    if (const auto* box = std::get_if<MessageBoxRecord>(&record)) {
        std::string line = (box->timed ? "notice " : "messagebox ") + Quoted(box->text) + " " +
                           Quoted(box->caption) + " style " + Hex(box->style, 8);
        if (box->timed) {
            line += " language " + Hex(box->language, 4) + " timeout " +
                    (box->timeoutMs == 0xFFFFFFFFu ? std::string("none")
                                                   : std::to_string(box->timeoutMs));
        }
        return line + " -> " + std::to_string(box->answer);
    }
    if (const auto* browser = std::get_if<DomainBrowserRecord>(&record)) {
        std::string line = "browse -> " + Hex(static_cast<std::uint32_t>(browser->result), 8);
        if (browser->result == 0) {
            line += " " + Quoted(browser->domain);
        }
        return line;
    }
    const auto& cursor = std::get<WaitCursorRecord>(record);
    return cursor.waiting ? "cursor wait" : "cursor arrow";
}

void Desktop::ScriptDialog(std::uint16_t templateId, std::vector<DialogAction> actions) {
    const std::lock_guard lock(mutex_);
    dialogScripts_[templateId].push_back(std::move(actions));
}

void Desktop::AnswerMessageBox(int button) {
    const std::lock_guard lock(mutex_);
    messageBoxAnswers_.push_back(button);
}

void Desktop::AnswerDomainBrowser(DomainBrowserAnswer answer) {
    const std::lock_guard lock(mutex_);
    browserAnswers_.push_back(std::move(answer));
}

void Desktop::Load(const DesktopScript& script) {
    const std::lock_guard lock(mutex_);
    for (const DialogScript& dialog : script.dialogs) {
        dialogScripts_[dialog.templateId].push_back(dialog.actions);
    }
    messageBoxAnswers_.insert(messageBoxAnswers_.end(), script.messageBoxAnswers.begin(),
                              script.messageBoxAnswers.end());
    browserAnswers_.insert(browserAnswers_.end(), script.browserAnswers.begin(),
                           script.browserAnswers.end());
}

bool Desktop::LoadText(std::string_view text, std::vector<std::string>& errors) {
    DesktopScript script;
    if (!ParseDesktopScript(text, script, errors)) {
        return false;
    }
    Load(script);
    return true;
}

void Desktop::ClearScript() {
    const std::lock_guard lock(mutex_);
    dialogScripts_.clear();
    messageBoxAnswers_.clear();
    browserAnswers_.clear();
}

std::size_t Desktop::UnusedDialogScripts() const {
    const std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const auto& [id, scripts] : dialogScripts_) {
        count += scripts.size();
    }
    return count;
}

std::size_t Desktop::UnusedMessageBoxAnswers() const {
    const std::lock_guard lock(mutex_);
    return messageBoxAnswers_.size();
}

std::size_t Desktop::UnusedBrowserAnswers() const {
    const std::lock_guard lock(mutex_);
    return browserAnswers_.size();
}

void Desktop::SetMessageBoxTimeoutAvailable(bool available) {
    const std::lock_guard lock(mutex_);
    messageBoxTimeoutAvailable_ = available;
}

bool Desktop::MessageBoxTimeoutAvailable() const {
    const std::lock_guard lock(mutex_);
    return messageBoxTimeoutAvailable_;
}

void Desktop::SetPatience(std::chrono::milliseconds patience) {
    const std::lock_guard lock(mutex_);
    patience_ = patience;
}

std::chrono::milliseconds Desktop::Patience() const {
    const std::lock_guard lock(mutex_);
    return patience_;
}

void Desktop::SetTickPause(std::chrono::microseconds pause) {
    const std::lock_guard lock(mutex_);
    tickPause_ = pause;
}

std::chrono::microseconds Desktop::TickPause() const {
    const std::lock_guard lock(mutex_);
    return tickPause_;
}

std::vector<DesktopRecord> Desktop::Journal() const {
    const std::lock_guard lock(mutex_);
    return journal_;
}

std::vector<std::string> Desktop::JournalLines() const {
    std::vector<std::string> lines;
    for (const DesktopRecord& record : Journal()) {
        lines.push_back(RecordText(record));
    }
    return lines;
}

std::vector<DialogRecord> Desktop::Dialogs(std::uint16_t templateId) const {
    std::vector<DialogRecord> dialogs;
    for (const DesktopRecord& record : Journal()) {
        if (const auto* dialog = std::get_if<DialogRecord>(&record)) {
            if (templateId == 0 || dialog->templateId == templateId) {
                dialogs.push_back(*dialog);
            }
        }
    }
    return dialogs;
}

std::vector<MessageBoxRecord> Desktop::MessageBoxes() const {
    std::vector<MessageBoxRecord> boxes;
    for (const DesktopRecord& record : Journal()) {
        if (const auto* box = std::get_if<MessageBoxRecord>(&record)) {
            boxes.push_back(*box);
        }
    }
    return boxes;
}

void Desktop::ClearJournal() {
    const std::lock_guard lock(mutex_);
    journal_.clear();
    ++journalGeneration_;
}

bool Desktop::WaitCursorShown() const {
    const std::lock_guard lock(mutex_);
    return waitCursor_;
}

std::vector<DialogAction> Desktop::TakeDialogScript(std::uint16_t templateId) {
    const std::lock_guard lock(mutex_);
    const auto found = dialogScripts_.find(templateId);
    if (found == dialogScripts_.end() || found->second.empty()) {
        return {};
    }
    std::vector<DialogAction> actions = std::move(found->second.front());
    found->second.pop_front();
    return actions;
}

std::optional<int> Desktop::TakeMessageBoxAnswer() {
    const std::lock_guard lock(mutex_);
    if (messageBoxAnswers_.empty()) {
        return std::nullopt;
    }
    const int answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

std::optional<DomainBrowserAnswer> Desktop::TakeBrowserAnswer() {
    const std::lock_guard lock(mutex_);
    if (browserAnswers_.empty()) {
        return std::nullopt;
    }
    DomainBrowserAnswer answer = std::move(browserAnswers_.front());
    browserAnswers_.pop_front();
    return answer;
}

platform::WindowId Desktop::NextWindow() {
    const std::lock_guard lock(mutex_);
    const platform::WindowId window = nextWindow_;
    nextWindow_ += 0x10;
    return window;
}

Desktop::RecordSlot Desktop::Append(DesktopRecord record) {
    const std::lock_guard lock(mutex_);
    journal_.push_back(std::move(record));
    return RecordSlot{journal_.size() - 1, journalGeneration_};
}

void Desktop::UpdateDialog(RecordSlot slot, const DialogRecord& record) {
    const std::lock_guard lock(mutex_);
    if (slot.generation == journalGeneration_ && slot.index < journal_.size()) {
        journal_[slot.index] = record;
    }
}

void Desktop::SetWaitCursor(bool waiting) {
    {
        const std::lock_guard lock(mutex_);
        if (waitCursor_ == waiting) {
            return;
        }
        waitCursor_ = waiting;
    }
    Append(WaitCursorRecord{waiting});
}

} // namespace corvane::sim
