// corvane-sim: the whole program, from its command line to its exit code, on
// an in-memory workstation and domain. An administrator can rehearse a
// settings file against a described machine before a roll-out; the tests
// run whole programs with it. docs/corvane-sim.md describes the options.
#include "app/program.h"
#include "model/setup_state.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/desktop/transcript.h"
#include "platform/sim/scenario/scenario.h"
#include "platform/sim/text.h"
#include "platform/sim/world.h"
#include "ui/account_name.h"
#include "ui/machine_inventory.h"
#include "ui/settings_file.h"
#ifdef CORVANE_WITH_LDAP
#include "platform/sim/scenario/runner/directory_rehearsal.h"
#endif

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using corvane::sim::Utf16ToUtf8;
using corvane::sim::Utf8ToUtf16;

// A scenario, settings, languages or action file that cannot be read or has
// errors. The program itself ends with 0, 1, 2 or -1 (255), so 65 never
// passes for one of its results.
constexpr int kBadInputFile = 65;

constexpr const char* kUsage =
    "usage: corvane-sim [--scenario FILE] [--settings FILE] [--inventory FILE]\n"
    "                   [--languages FILE]\n"
    "                   [--actions FILE] [--log-out FILE] [--state-out FILE] [--quiet]\n"
    "                   [--] [PROGRAM ARGUMENTS...]\n"
    "       corvane-sim --directory ldap[s]://HOST[:PORT] --domain DNS-NAME\n"
    "                   [--account USER --password PASSWORD] [--computer NAME]\n"
    "                   [--unit OU-PATH] [--write-directory] [--accept-any-certificate]\n"
    "                   [--scenario FILE] [--settings FILE]\n"
    "Runs corvane on a simulated workstation; prints the log it wrote. With\n"
    "--directory, runs only the directory steps against a real domain's\n"
    "directory instead (read-only unless --write-directory).\n";

struct Options {
    std::optional<std::string> scenario;
    std::optional<std::string> settings;
    std::optional<std::string> inventory;
    std::optional<std::string> languages;
    std::optional<std::string> actions;
    std::optional<std::string> logOut;
    std::optional<std::string> stateOut;
    bool quiet = false;
    std::vector<std::string> programArguments;
    // The directory rehearsal.
    std::optional<std::string> directory;
    std::optional<std::string> domain;
    std::optional<std::string> account;
    std::optional<std::string> password;
    std::optional<std::string> computer;
    std::optional<std::string> unit;
    bool writeDirectory = false;
    bool acceptAnyCertificate = false;
};

bool ReadHostFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteHostFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// 2 on a usage error, else 0.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&](std::optional<std::string>& target) {
            if (i + 1 >= argc) {
                return false;
            }
            target = argv[++i];
            return true;
        };
        bool ok = true;
        if (argument == "--scenario") {
            ok = value(options.scenario);
        } else if (argument == "--settings") {
            ok = value(options.settings);
        } else if (argument == "--inventory") {
            ok = value(options.inventory);
        } else if (argument == "--languages") {
            ok = value(options.languages);
        } else if (argument == "--actions") {
            ok = value(options.actions);
        } else if (argument == "--log-out") {
            ok = value(options.logOut);
        } else if (argument == "--state-out") {
            ok = value(options.stateOut);
        } else if (argument == "--quiet") {
            options.quiet = true;
        } else if (argument == "--directory") {
            ok = value(options.directory);
        } else if (argument == "--domain") {
            ok = value(options.domain);
        } else if (argument == "--account") {
            ok = value(options.account);
        } else if (argument == "--password") {
            ok = value(options.password);
        } else if (argument == "--computer") {
            ok = value(options.computer);
        } else if (argument == "--unit") {
            ok = value(options.unit);
        } else if (argument == "--write-directory") {
            options.writeDirectory = true;
        } else if (argument == "--accept-any-certificate") {
            options.acceptAnyCertificate = true;
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (argument == "--") {
            options.programArguments.assign(argv + i + 1, argv + argc);
            break;
        } else if (argument.rfind("--", 0) == 0) {
            std::cerr << "corvane-sim: unknown option " << argument << "\n" << kUsage;
            return 2;
        } else {
            options.programArguments.assign(argv + i, argv + argc);
            break;
        }
        if (!ok) {
            std::cerr << "corvane-sim: " << argument << " needs a value\n" << kUsage;
            return 2;
        }
    }
    return 0;
}

// The command line as the program would get it behind its name: arguments
// with blanks or quotes are quoted again.
std::u16string JoinArguments(const std::vector<std::string>& arguments) {
    std::u16string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) {
            line.push_back(u' ');
        }
        const std::u16string wide = Utf8ToUtf16(argument);
        if (!wide.empty() && wide.find_first_of(u" \t\"") == std::u16string::npos) {
            line += wide;
            continue;
        }
        line.push_back(u'"');
        std::size_t backslashes = 0;
        for (char16_t c : wide) {
            if (c == u'\\') {
                ++backslashes;
                continue;
            }
            line.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
            backslashes = 0;
            line.push_back(c);
        }
        line.append(backslashes * 2, u'\\');
        line.push_back(u'"');
    }
    return line;
}

std::u16string Directory(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

// The log file's text, decoded from its UTF-16LE bytes.
std::string LogText(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return Utf16ToUtf8(text);
}

int Finish(corvane::sim::World& world, const Options& options, const std::u16string& logPath,
           int exitCode) {
    const auto lock = world.Lock();
    const std::optional<std::vector<std::uint8_t>> log =
        logPath.empty() ? std::nullopt : world.FileBytes(logPath);
    if (options.logOut) {
        const std::vector<std::uint8_t> bytes = log.value_or(std::vector<std::uint8_t>{});
        WriteHostFile(*options.logOut, std::string(bytes.begin(), bytes.end()));
    }
    if (options.stateOut) {
        WriteHostFile(*options.stateOut, corvane::sim::DumpWorld(world));
    }
    if (!options.quiet) {
        for (const std::string& line : corvane::sim::TranscriptLines(world.Desktop().Journal())) {
            std::cout << line << "\n";
        }
        std::cout << (log ? LogText(*log) : std::string());
        std::cout << "exit code: " << exitCode << "\n";
    }
    std::cout.flush();
    return exitCode;
}

// The directory steps alone, against a real directory. 2 on a usage error.
int RunDirectory(corvane::sim::World& world, corvane::SetupState& state, const Options& options) {
    if (!options.domain) {
        std::cerr << "corvane-sim: --directory needs --domain\n" << kUsage;
        return 2;
    }
#ifdef CORVANE_WITH_LDAP
    corvane::SettingsFileTexts texts;
    corvane::ReadSettingsFile(world.platform(), state, texts);
    if (options.account) {
        state.Account.Assign(Utf8ToUtf16(*options.account));
        corvane::NormalizeAccountName(state.Account);
        state.Password.Assign(Utf8ToUtf16(options.password.value_or("")));
    }
    corvane::rehearsal::DirectoryRehearsal plan;
    plan.uri = *options.directory;
    plan.domain = Utf8ToUtf16(*options.domain);
    plan.computer = options.computer ? Utf8ToUtf16(*options.computer) : world.ComputerName();
    if (options.unit) {
        plan.unit = Utf8ToUtf16(*options.unit);
    }
    plan.write = options.writeDirectory;
    plan.acceptAnyCertificate = options.acceptAnyCertificate;
    const std::u16string logPath = world.FullPath(corvane::LogFilePath(world.platform()));
    state.Log.Open(world.platform(), logPath);
    const int code = corvane::rehearsal::RunDirectoryRehearsal(world, state, plan, std::cout);
    state.Log.Close();
    state.Password.Clear();
    return Finish(world, options, logPath, code);
#else
    static_cast<void>(world);
    static_cast<void>(state);
    std::cerr << "corvane-sim: built without the OpenLDAP client library; --directory is not "
                 "available (scripts/setup.sh installs libldap-dev)\n";
    return 2;
#endif
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (ParseOptions(argc, argv, options) != 0) {
        return 2;
    }
    // Everything the program touches lives to the end of the process: an
    // abandoned apply worker may still be using it when the program ends.
    auto* world = new corvane::sim::World();
    auto* state = new corvane::SetupState();

    std::string text;
    if (options.scenario) {
        if (!ReadHostFile(*options.scenario, text)) {
            std::cerr << "corvane-sim: cannot read " << *options.scenario << "\n";
            return kBadInputFile;
        }
        const corvane::sim::ScenarioResult result = corvane::sim::LoadScenario(text, *world);
        if (!result.ok()) {
            std::cerr << *options.scenario << ":\n" << result.Text();
            return kBadInputFile;
        }
    }
    if (options.settings) {
        if (!ReadHostFile(*options.settings, text)) {
            std::cerr << "corvane-sim: cannot read " << *options.settings << "\n";
            return kBadInputFile;
        }
        world->PutFile(corvane::SettingsFilePath(world->platform()),
                       std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    if (options.inventory) {
        // The fleet's inventory lies beside the settings file.
        if (!ReadHostFile(*options.inventory, text)) {
            std::cerr << "corvane-sim: cannot read " << *options.inventory << "\n";
            return 2;
        }
        world->PutFile(corvane::InventoryPath(corvane::SettingsFilePath(world->platform())),
                       std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    if (options.languages) {
        if (!ReadHostFile(*options.languages, text)) {
            std::cerr << "corvane-sim: cannot read " << *options.languages << "\n";
            return kBadInputFile;
        }
        world->PutFile(Directory(world->ModulePath()) + u"\\languages.ini",
                       std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    if (options.actions) {
        if (!ReadHostFile(*options.actions, text)) {
            std::cerr << "corvane-sim: cannot read " << *options.actions << "\n";
            return kBadInputFile;
        }
        std::vector<std::string> errors;
        if (!world->Desktop().LoadText(text, errors)) {
            for (const std::string& error : errors) {
                std::cerr << *options.actions << ": " << error << "\n";
            }
            return kBadInputFile;
        }
    }

    if (options.directory) {
        const int code = RunDirectory(*world, *state, options);
        delete state;
        delete world;
        return code & 0xFF;
    }
    const int exitCode =
        corvane::RunProgram(world->platform(), *state, JoinArguments(options.programArguments));
    // Where the log went: the first place that could be opened.
    const std::u16string logPath =
        world->FullPath(state->Log.Path().empty() ? corvane::LogFilePath(world->platform())
                                                  : std::u16string(state->Log.Path()));
    const int code = Finish(*world, options, logPath, exitCode);
    if (state->ApplyWorkerStillRunning.load()) {
        // Do not wait for the abandoned worker, nor destroy what it uses.
        std::_Exit(code & 0xFF);
    }
    delete state;
    delete world;
    return code & 0xFF;
}
