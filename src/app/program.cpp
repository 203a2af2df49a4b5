#include "app/program.h"

#include "app/command_line.h"
#include "app/result_exit_code.h"
#include "app/start_with_windows.h"
#include "support/interface_language.h"
#include "support/wipe_memory.h"
#include "ui/main_dialog.h"
#include "ui/string_resources.h"

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

// A folder the log may be placed in: a drive or network path, never one
// relative to the current folder, which is often the deployment share.
bool IsAbsoluteFolder(std::u16string_view folder) {
    const bool drive =
        folder.size() >= 3 && folder[1] == u':' && (folder[2] == u'\\' || folder[2] == u'/');
    const bool network = folder.size() >= 3 && folder[0] == u'\\' && folder[1] == u'\\';
    return drive || network;
}

// `folder` with "corvane.log" appended, when both fit the log's path.
void AddCandidate(std::vector<std::u16string>& candidates, std::u16string folder) {
    if (!IsAbsoluteFolder(folder)) {
        return;
    }
    if (folder.back() != u'\\') {
        folder.push_back(u'\\');
    }
    folder.append(kLogFileName);
    if (folder.size() >= kPathCapacity) {
        return; // a cut path could name another file
    }
    for (const std::u16string& known : candidates) {
        if (known == folder) {
            return;
        }
    }
    candidates.push_back(std::move(folder));
}

// A directory query with the Win32 size conventions: the text, or nothing
// when it fails or does not fit.
template <typename Query>
std::u16string QueryFolder(Query query) {
    std::array<char16_t, kPathCapacity> buffer{};
    const std::uint32_t length = query(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    if (length == 0 || length >= buffer.size()) {
        return {};
    }
    return std::u16string(buffer.data(), length);
}

constexpr std::uint32_t kNoLogStyle = 0x2030; // OK, warning icon, task-modal

} // namespace

std::vector<std::u16string> LogFileCandidates(platform::Platform& os) {
    std::vector<std::u16string> candidates;
    AddCandidate(candidates, QueryFolder([&](char16_t* buffer, std::uint32_t size) {
                     return os.environment.GetVariable(u"TEMP", buffer, size);
                 }));
    // GetTempPathW starts from TMP, else TEMP; a relative value there would
    // be taken against the current folder.
    std::u16string basis = QueryFolder([&](char16_t* buffer, std::uint32_t size) {
        return os.environment.GetVariable(u"TMP", buffer, size);
    });
    if (basis.empty()) {
        basis = QueryFolder([&](char16_t* buffer, std::uint32_t size) {
            return os.environment.GetVariable(u"TEMP", buffer, size);
        });
    }
    if (basis.empty() || IsAbsoluteFolder(basis)) {
        AddCandidate(candidates, QueryFolder([&](char16_t* buffer, std::uint32_t size) {
                         return os.files.GetTempPath(size, buffer);
                     }));
    }
    std::u16string windows = QueryFolder([&](char16_t* buffer, std::uint32_t size) {
        return os.files.GetSystemWindowsDirectory(buffer, size);
    });
    if (!windows.empty()) {
        if (windows.back() != u'\\') {
            windows.push_back(u'\\');
        }
        AddCandidate(candidates, windows + u"Temp");
    }
    return candidates;
}

std::u16string LogFilePath(platform::Platform& os) {
    std::vector<std::u16string> candidates = LogFileCandidates(os);
    return candidates.empty() ? std::u16string() : std::move(candidates.front());
}

bool OpenDiagnosticLog(platform::Platform& os, SetupState& state) {
    for (const std::u16string& path : LogFileCandidates(os)) {
        state.Log.Open(os, path);
        if (state.Log.IsOpen()) {
            return true;
        }
    }
    if (!state.AutoMode) {
        std::u16string text;
        std::u16string caption;
        LoadInterfaceString(os, state, ui::kStringNoLogText, text);
        LoadInterfaceString(os, state, ui::kStringNoLogCaption, caption);
        os.ui.MessageBox(platform::kDesktopWindow, text.c_str(), caption.c_str(), kNoLogStyle);
    }
    return false;
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
        case OptionKind::ExitCodeResult:
            state.ExitCodeFromResult = true;
            break;
        case OptionKind::None:
            break;
        }
    }

    if (prepareProcess) {
        prepareProcess();
    }
    OpenDiagnosticLog(os, state);
    const int end = RunMainDialog(os, state, IsStartWithWindowsEnabled);

    if (end == platform::kDialogOk && state.StartWithWindowsChosen) {
        SetStartWithWindows(os);
    }
    const int exitCode = state.ExitCodeFromResult ? LogResultExitCode(state, end) : end;
    state.Log.Close();
    WipeMemory(state.Password.data(), sizeof(char16_t) * PasswordText::kCapacity);
    return exitCode;
}

} // namespace corvane
