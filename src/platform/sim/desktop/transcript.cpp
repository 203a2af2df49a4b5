#include "platform/sim/desktop/transcript.h"

#include "platform/sim/desktop/dialog_item_names.h"
#include "platform/sim/text.h"
#include "ui/dialog_ids.h"

#include <string_view>

namespace corvane::sim {

namespace {

std::string DialogName(std::uint16_t templateId) {
    switch (templateId) {
    case ui::kDialogMain:
        return "main";
    case ui::kDialogAuthentication:
        return "credentials";
    case ui::kDialogProgress:
        return "progress";
    default:
        return std::to_string(templateId);
    }
}

// The action as a script writes it, its item by name where it has one.
std::string ActionText(std::uint16_t templateId, const DialogAction& action) {
    std::string text = action.Text();
    const std::string_view name = DialogItemName(templateId, action.item);
    const std::size_t verbEnd = text.find(' ');
    if (name.empty() || verbEnd == std::string::npos) {
        return text;
    }
    const std::string id = std::to_string(action.item);
    if (text.compare(verbEnd + 1, id.size(), id) == 0 &&
        (verbEnd + 1 + id.size() == text.size() || text[verbEnd + 1 + id.size()] == ' ')) {
        text.replace(verbEnd + 1, id.size(), name);
    }
    return text;
}

std::string AnswerText(int answer) {
    switch (answer) {
    case 1:
        return "ok";
    case 2:
        return "cancel";
    case 3:
        return "abort";
    case 4:
        return "retry";
    case 5:
        return "ignore";
    case 6:
        return "yes";
    case 7:
        return "no";
    case 10:
        return "tryagain";
    case 11:
        return "continue";
    case kMessageBoxTimedOut:
        return "timed out";
    default:
        return std::to_string(answer);
    }
}

void AddDialog(const DialogRecord& dialog, std::vector<std::string>& lines) {
    if (dialog.language == 0 || !dialog.shown) {
        return; // never on the screen
    }
    std::string line =
        "dialog " + DialogName(dialog.templateId) + " " + Quoted(Utf8ToUtf16(dialog.caption));
    if (dialog.templateId == ui::kDialogAuthentication) {
        const DialogItemState* error = dialog.ItemAfterInit(ui::auth_dialog::kErrorText);
        if (error != nullptr && !error->text.empty()) {
            line += " error " + Quoted(error->text);
        }
    }
    lines.push_back(std::move(line));
    for (const DialogRecord::Refusal& refusal : dialog.refusals) {
        lines.push_back("  refused: " + ActionText(dialog.templateId, refusal.action) + " (" +
                        refusal.reason + ")");
    }
    if (dialog.closedBySim) {
        lines.push_back("  closed by the sim: no actions left for it");
    }
}

} // namespace

std::vector<std::string> TranscriptLines(const std::vector<DesktopRecord>& journal) {
    std::vector<std::string> lines;
    for (const DesktopRecord& record : journal) {
        if (const auto* dialog = std::get_if<DialogRecord>(&record)) {
            AddDialog(*dialog, lines);
        } else if (const auto* box = std::get_if<MessageBoxRecord>(&record)) {
            lines.push_back(std::string(box->timed ? "notice " : "message box ") +
                            Quoted(box->caption) + " " + Quoted(box->text) + " -> " +
                            AnswerText(box->answer));
        } else if (const auto* browser = std::get_if<DomainBrowserRecord>(&record)) {
            std::string outcome = "cancelled";
            if (browser->result == 0) {
                outcome = Quoted(browser->domain);
            } else if (browser->result != 1) {
                outcome = "unavailable";
            }
            lines.push_back("domain browser -> " + outcome);
        }
    }
    return lines;
}

} // namespace corvane::sim
