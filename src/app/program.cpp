#include "app/program.h"

#include "app/command_line.h"
#include "app/start_with_windows.h"
#include "support/interface_language.h"
#include "support/wipe_memory.h"
#include "ui/main_dialog.h"

#include <array>

namespace corvane {

namespace {

constexpr std::u16string_view kLogFileName = u"corvane.log";
constexpr std::size_t kPathCapacity = 260;

std::u16string ProgramPath(platform::Platform& os) {
    std::array<char16_t, 261> buffer{};
    const std::uint32_t length =
        os.files.GetModuleFileName(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    return std::u16string(buffer.data(), length < buffer.size() ? length : 0);
}

} // namespace

std::u16string LogFilePath(platform::Platform& os) {
    std::array<char16_t, kPathCapacity> temp{};
    const std::uint32_t length =
        os.environment.GetVariable(u"TEMP", temp.data(), static_cast<std::uint32_t>(temp.size()));
    // Unset, or too long for the buffer (which then holds nothing): the file
    // name alone, in the current directory.
    if (length == 0 || length >= temp.size()) {
        return std::u16string(kLogFileName);
    }
    std::u16string path(temp.data(), length);
    if (path.back() != u'\\') {
        path.push_back(u'\\');
    }
    path.append(kLogFileName);
    if (path.size() >= kPathCapacity) {
        return {};
    }
    return path;
}

int RunProgram(platform::Platform& os, SetupState& state, std::u16string_view commandLine,
               const std::function<void()>& prepareProcess) {
    const std::vector<std::u16string> arguments = SplitCommandLine(commandLine, ProgramPath(os));
    for (const std::u16string& argument : arguments) {
        const Option option = RecogniseOption(argument);
        switch (option.kind) {
        case OptionKind::Auto:
            state.AutoMode = true;
            state.MessageBoxTimeout = kAutoModeTimeoutMs;
            break;
        case OptionKind::Language:
            ApplyForcedLanguage(os, state, option.languageTag);
            break;
        case OptionKind::Help: {
            const std::u16string text(kHelpText);
            os.ui.MessageBox(platform::kDesktopWindow, text.c_str(), u"Help", kHelpStyle);
            return 0;
        }
        case OptionKind::None:
            break;
        }
    }

    if (prepareProcess) {
        prepareProcess();
    }
    state.Log.Open(os, LogFilePath(os));
    const int end = RunMainDialog(os, state);

    if (end == platform::kDialogOk && state.StartWithWindowsChosen) {
        SetStartWithWindows(os);
    }
    state.Log.Close();
    WipeMemory(state.Password.data(), sizeof(char16_t) * PasswordText::kCapacity);
    return end;
}

} // namespace corvane
