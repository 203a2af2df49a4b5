// The action scripts of corvane-sim: any text either loads or is refused
// with numbered errors and nothing loaded; what loads prints back as a
// script that parses to the same actions.
#include "fuzz_input.h"
#include "platform/sim/desktop/desktop.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;

namespace {

// The dialog parts of a script in the text form.
std::string DialogText(const sim::DesktopScript& script) {
    std::string text;
    for (const sim::DialogScript& dialog : script.dialogs) {
        text += "dialog " + std::to_string(dialog.templateId) + "\n";
        for (const sim::DialogAction& action : dialog.actions) {
            text += action.Text() + "\n";
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::DesktopScript script;
    std::vector<std::string> errors;
    if (!sim::ParseDesktopScript(text, script, errors)) {
        FUZZ_ASSERT(!errors.empty());
        FUZZ_ASSERT(script.dialogs.empty() && script.messageBoxAnswers.empty() &&
                    script.browserAnswers.empty());
        for (const std::string& error : errors) {
            FUZZ_ASSERT(error.rfind("line ", 0) == 0);
        }
        return 0;
    }
    FUZZ_ASSERT(errors.empty());
    const std::string printed = DialogText(script);
    sim::DesktopScript again;
    FUZZ_ASSERT(sim::ParseDesktopScript(printed, again, errors));
    FUZZ_ASSERT(DialogText(again) == printed);
    return 0;
}
