// The text form of a desktop script (docs/sim-actions.md). The parser is
// total: every input ends in a script or in errors with line numbers.
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/desktop/dialog_item_names.h"
#include "platform/sim/line_tokens.h"
#include "platform/sim/text.h"
#include "ui/dialog_templates.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace corvane::sim {

namespace {

constexpr std::uint32_t kLongestWait = 24u * 60u * 60u * 1000u; // a day

using Token = LineToken;

// A whole word as a number: decimal, or hexadecimal with 0x.
template <typename Number>
std::optional<Number> ParseNumber(const Token& token) {
    if (token.quoted || token.text.empty()) {
        return std::nullopt;
    }
    std::string_view digits = token.text;
    int base = 10;
    bool negative = false;
    if (digits.front() == '-') {
        negative = true;
        digits.remove_prefix(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty() || digits.front() == '-' || digits.front() == '+') {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, status] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (status != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (negative) {
        if constexpr (std::is_signed_v<Number>) {
            if (value > static_cast<std::uint64_t>(std::numeric_limits<Number>::max()) + 1) {
                return std::nullopt;
            }
            return static_cast<Number>(-static_cast<std::int64_t>(value));
        } else {
            return std::nullopt;
        }
    }
    if (value > static_cast<std::uint64_t>(std::numeric_limits<Number>::max())) {
        return std::nullopt;
    }
    return static_cast<Number>(value);
}

std::optional<std::uint32_t> ParseAddress(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view field = text.substr(0, dot);
        std::uint32_t value = 0;
        const auto [end, status] =
            std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || field.size() > 3 || status != std::errc() ||
            end != field.data() + field.size() || value > 255) {
            return std::nullopt;
        }
        address = (address << 8) | value;
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    return address;
}

// Message-box buttons by name, as the IDOK ... IDCONTINUE values.
std::optional<int> ButtonByName(std::string_view name) {
    struct Named {
        std::string_view name;
        int value;
    };
    static constexpr Named kButtons[] = {
        {"ok", 1},        {"cancel", 2},
        {"abort", 3},     {"retry", 4},
        {"ignore", 5},    {"yes", 6},
        {"no", 7},        {"tryagain", 10},
        {"continue", 11}, {"timeout", kMessageBoxTimedOut},
    };
    for (const Named& button : kButtons) {
        if (button.name == name) {
            return button.value;
        }
    }
    return std::nullopt;
}

// The item of the current template that an action addresses, in either
// language (both have the same items).
const ui::DialogItem* FindItem(std::uint16_t templateId, int id) {
    if (id == ui::kItemUnaddressed) {
        return nullptr;
    }
    for (const ui::DialogTemplate& dialog : ui::DialogTemplates()) {
        if (dialog.id == templateId) {
            if (const ui::DialogItem* item = dialog.FindItem(id)) {
                return item;
            }
        }
    }
    return nullptr;
}

bool IsCheckable(const ui::DialogItem& item) {
    const std::uint32_t type = item.style & ui::kBsTypeMask;
    return type == ui::kBsCheckBox || type == ui::kBsAutoCheckBox || type == 0x5 /*3-state*/ ||
           type == 0x6 /*auto 3-state*/ || type == ui::kBsRadioButton ||
           type == ui::kBsAutoRadioButton;
}

bool IsRadio(const ui::DialogItem& item) {
    const std::uint32_t type = item.style & ui::kBsTypeMask;
    return type == ui::kBsRadioButton || type == ui::kBsAutoRadioButton;
}

class LineParser {
public:
    LineParser(DesktopScript& script, std::optional<std::size_t>& current)
        : script_(script), current_(current) {}

    // "" when the line was taken, else what is wrong with it.
    std::string Parse(const std::vector<Token>& tokens) {
        tokens_ = &tokens;
        const std::string& verb = tokens[0].text;
        if (tokens[0].quoted) {
            return "a line must start with an action";
        }
        if (verb == "dialog") {
            return ParseDialog();
        }
        if (verb == "messagebox") {
            return ParseMessageBox();
        }
        if (verb == "browse") {
            return ParseBrowse();
        }
        DialogAction action;
        std::string error = ParseAction(verb, action);
        if (!error.empty()) {
            return error;
        }
        script_.dialogs[*current_].actions.push_back(std::move(action));
        return {};
    }

private:
    std::size_t Count() const { return tokens_->size(); }
    const Token& At(std::size_t i) const { return (*tokens_)[i]; }

    std::string Expect(std::size_t count, std::string_view form) const {
        if (Count() != count) {
            return "expected '" + std::string(form) + "'";
        }
        return {};
    }

    std::string ParseDialog() {
        if (std::string error = Expect(2, "dialog TEMPLATE"); !error.empty()) {
            return error;
        }
        auto id = At(1).quoted ? std::nullopt : DialogByName(At(1).text);
        if (!id) {
            id = ParseNumber<std::uint16_t>(At(1));
        }
        if (!id || ui::FindDialogTemplate(*id, ui::kLanguageEnglish) == nullptr) {
            return "no dialog template '" + At(1).text + "'";
        }
        script_.dialogs.push_back(DialogScript{*id, {}});
        current_ = script_.dialogs.size() - 1;
        return {};
    }

    std::string ParseMessageBox() {
        if (std::string error = Expect(2, "messagebox BUTTON"); !error.empty()) {
            return error;
        }
        std::optional<int> button = ButtonByName(At(1).text);
        if (!button) {
            button = ParseNumber<int>(At(1));
        }
        if (At(1).quoted || !button || *button <= 0) {
            return "no message-box button '" + At(1).text + "'";
        }
        script_.messageBoxAnswers.push_back(*button);
        return {};
    }

    std::string ParseBrowse() {
        if (std::string error = Expect(2, "browse \"DOMAIN\"|cancel|unavailable"); !error.empty()) {
            return error;
        }
        if (At(1).quoted) {
            script_.browserAnswers.push_back(DomainBrowserAnswer::Pick(Utf8ToUtf16(At(1).text)));
        } else if (At(1).text == "cancel") {
            script_.browserAnswers.push_back(DomainBrowserAnswer::Cancel());
        } else if (At(1).text == "unavailable") {
            script_.browserAnswers.push_back(DomainBrowserAnswer::Unavailable());
        } else {
            return "a domain must be quoted: '" + At(1).text + "'";
        }
        return {};
    }

    // The addressed item, checked against the template and the class the
    // action needs.
    std::string Item(std::u16string_view windowClass, int& id, const ui::DialogItem*& item) const {
        const std::uint16_t templateId = script_.dialogs[*current_].templateId;
        std::optional<int> number;
        if (Count() > 1) {
            number = At(1).quoted ? std::nullopt : DialogItemByName(templateId, At(1).text);
            if (!number.has_value()) {
                number = ParseNumber<int>(At(1));
            }
        }
        if (!number.has_value()) {
            return Count() > 1 ? "dialog " + std::to_string(templateId) + " has no item '" +
                                     At(1).text + "'"
                               : "missing item";
        }
        const int found = number.value();
        item = FindItem(templateId, found);
        if (item == nullptr) {
            return "dialog " + std::to_string(templateId) + " has no item " + At(1).text;
        }
        if (item->windowClass != windowClass) {
            return "item " + At(1).text + " is no " + Utf16ToUtf8(windowClass) + " control";
        }
        id = found;
        return {};
    }

    std::string ParseAction(const std::string& verb, DialogAction& action) {
        const bool known = verb == "type" || verb == "press" || verb == "check" ||
                           verb == "uncheck" || verb == "pick" || verb == "dropdown" ||
                           verb == "address" || verb == "key" || verb == "wait" || verb == "close";
        if (!known) {
            return "unknown action '" + verb + "'";
        }
        if (!current_) {
            return "'" + verb + "' before the first 'dialog' line";
        }
        int id = 0;
        const ui::DialogItem* item = nullptr;
        std::string error;
        if (verb == "type") {
            if (!(error = Expect(3, "type ITEM \"TEXT\"")).empty() ||
                !(error = Item(ui::kClassEdit, id, item)).empty()) {
                return error;
            }
            if (!At(2).quoted) {
                return "the text must be quoted";
            }
            action = DialogAction::Type(id, Utf8ToUtf16(At(2).text));
        } else if (verb == "press" || verb == "check" || verb == "uncheck") {
            if (!(error = Expect(2, verb + " ITEM")).empty() ||
                !(error = Item(ui::kClassButton, id, item)).empty()) {
                return error;
            }
            if (verb == "press") {
                action = DialogAction::Press(id);
            } else if (!IsCheckable(*item)) {
                return "item " + At(1).text + " is neither a check box nor a radio button";
            } else if (verb == "check") {
                action = DialogAction::Check(id);
            } else if (IsRadio(*item)) {
                return "radio button " + At(1).text + " cannot be unticked; tick another one";
            } else {
                action = DialogAction::Uncheck(id);
            }
        } else if (verb == "pick") {
            if (!(error = Expect(3, "pick ITEM INDEX|\"TEXT\"")).empty() ||
                !(error = Item(ui::kClassComboBox, id, item)).empty()) {
                return error;
            }
            if (At(2).quoted) {
                action = DialogAction::Pick(id, Utf8ToUtf16(At(2).text));
            } else if (const auto index = ParseNumber<int>(At(2)); index && *index >= 0) {
                action = DialogAction::Pick(id, *index);
            } else {
                return "no list index '" + At(2).text + "'";
            }
        } else if (verb == "dropdown") {
            if (!(error = Expect(2, "dropdown ITEM")).empty() ||
                !(error = Item(ui::kClassComboBox, id, item)).empty()) {
                return error;
            }
            action = DialogAction::DropDown(id);
        } else if (verb == "address") {
            if (!(error = Expect(3, "address ITEM A.B.C.D|blank")).empty() ||
                !(error = Item(ui::kClassIpAddress, id, item)).empty()) {
                return error;
            }
            if (!At(2).quoted && At(2).text == "blank") {
                action = DialogAction::Address(id, std::nullopt);
            } else if (const auto address =
                           At(2).quoted ? std::nullopt : ParseAddress(At(2).text)) {
                action = DialogAction::Address(id, address);
            } else {
                return "no IP address '" + At(2).text + "'";
            }
        } else if (verb == "key") {
            if (!(error = Expect(2, "key enter|escape")).empty()) {
                return error;
            }
            if (At(1).text == "enter" && !At(1).quoted) {
                action = DialogAction::Enter();
            } else if (At(1).text == "escape" && !At(1).quoted) {
                action = DialogAction::Escape();
            } else {
                return "no key '" + At(1).text + "'";
            }
        } else if (verb == "wait") {
            if (!(error = Expect(2, "wait MILLISECONDS")).empty()) {
                return error;
            }
            const auto milliseconds = ParseNumber<std::uint32_t>(At(1));
            if (!milliseconds || *milliseconds > kLongestWait) {
                return "no waiting time '" + At(1).text + "' (0 to 86400000 ms)";
            }
            action = DialogAction::Wait(*milliseconds);
        } else {
            if (!(error = Expect(1, "close")).empty()) {
                return error;
            }
            action = DialogAction::Close();
        }
        return {};
    }

    DesktopScript& script_;
    std::optional<std::size_t>& current_;
    const std::vector<Token>* tokens_ = nullptr;
};

} // namespace

bool ParseDesktopScript(std::string_view text, DesktopScript& script,
                        std::vector<std::string>& errors) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    DesktopScript parsed;
    std::optional<std::size_t> current;
    LineParser parser(parsed, current);
    const std::size_t errorsBefore = errors.size();
    std::size_t lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::vector<Token> tokens;
        std::string error;
        if (!TokenizeLine(line, tokens, error)) {
            errors.push_back("line " + std::to_string(lineNumber) + ": " + error);
            continue;
        }
        if (tokens.empty()) {
            continue;
        }
        error = parser.Parse(tokens);
        if (!error.empty()) {
            errors.push_back("line " + std::to_string(lineNumber) + ": " + error);
        }
    }
    if (errors.size() != errorsBefore) {
        return false;
    }
    script.dialogs.insert(script.dialogs.end(), parsed.dialogs.begin(), parsed.dialogs.end());
    script.messageBoxAnswers.insert(script.messageBoxAnswers.end(),
                                    parsed.messageBoxAnswers.begin(),
                                    parsed.messageBoxAnswers.end());
    script.browserAnswers.insert(script.browserAnswers.end(), parsed.browserAnswers.begin(),
                                 parsed.browserAnswers.end());
    return true;
}

} // namespace corvane::sim
