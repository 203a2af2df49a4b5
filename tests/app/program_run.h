// One whole run of the program on a sim world, as corvane-sim makes it: a
// scenario, the settings file's bytes, an optional languages.ini, the
// user's actions and the command line in; the exit code, the log, the final
// world and the setup state out.
//
// The run happens on a thread of its own with a deadline, so that a hang
// fails the test instead of stopping the suite. A world that an abandoned or
// hung run may still use is kept alive to the end of the process.
#pragma once

#include "app/program.h"
#include "fakes/pointer_text.h"
#include "model/setup_state.h"
#include "platform/sim/desktop/desktop.h"
#include "platform/sim/machine/journal.h"
#include "platform/sim/scenario/scenario.h"
#include "platform/sim/text.h"
#include "platform/sim/world.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace corvane::program_test {

struct InjectedFailure {
    std::string operation;
    platform::ErrorCode code = 0;
    int times = sim::kAlways;
};

struct ProgramInput {
    std::string scenario;                               // sim scenario text
    std::optional<std::vector<std::uint8_t>> settings;  // corvane.ini's bytes; none: no file
    std::optional<std::vector<std::uint8_t>> languages; // languages.ini beside the executable
    std::string actions;                                // the desktop script's text form
    std::u16string commandLine;                         // the text behind the program name
    // Planned after the set-up has read the log and settings paths, so that
    // a failure counted "once" meets the program's own first call.
    std::vector<InjectedFailure> failures;
    // Calls that take this long, as over a slow network.
    std::vector<std::pair<std::string, std::chrono::milliseconds>> delays;
    // How long a dialog whose script ran out waits for itself (the progress
    // dialog waits for the worker this long), and the real time per tick.
    std::chrono::milliseconds patience{15000};
    std::chrono::microseconds tickPause{1000};
    // Where the program is expected to find its settings file and write its
    // log: beside the sim's default module, and in its default TEMP.
    std::u16string settingsPath = u"C:\\Tools\\corvane.ini";
    std::u16string logPath = u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";
};

// Bytes of a text in the settings file's encodings.
// The two adapters the whole-run machines have: a fixed wired one and a
// wireless one on DHCP with a lease.
constexpr std::string_view kTwoAdapters = R"(
[adapter {11111111-1111-1111-1111-111111111111}]
description "Wired"
index 7
dhcp 0
address 10.0.0.5 255.255.255.0
gateway 10.0.0.1
[adapter {22222222-2222-2222-2222-222222222222}]
description "Wireless"
index 9
dhcp 1
address 192.168.1.41 255.255.255.0
gateway 192.168.1.1
lease 192.168.1.41 255.255.255.0 192.168.1.1
)";

// A workgroup machine with those adapters, beside the domain SALES that
// accepts its installer account; and the settings that join it there.
inline const std::string kWorkgroupMachineBesideSales = std::string(R"(
[workstation]
name WS-OLD
join workgroup WORKGROUP
[domain SALES sales.example.com]
credential SALES\installer s3cret
)") + std::string(kTwoAdapters);

constexpr std::string_view kJoinSalesSettings =
    "[settings]\r\ndomain=SALES\r\naccount=SALES\\installer\r\npassword=s3cret\r\n";

inline std::vector<std::uint8_t> Ansi(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}
inline std::vector<std::uint8_t> Utf16LeBom(std::u16string_view text) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    const std::vector<std::uint8_t> body = sim::Utf16Bytes(text, false);
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// The change-making calls of the journal: what a run did to the machine and
// the domain.
inline bool IsChangeOperation(std::string_view operation) {
    for (std::string_view change :
         {"NetJoinDomain", "NetUnjoinDomain", "NetRenameMachineInDomain", "SetComputerNameEx",
          "RegSetValue", "RegCreateKey", "RegDeleteValue", "MoveHere", "Create", "Delete",
          "SetInfo", "IpReleaseAddress", "IpRenewAddress", "SetAdapterIpAddress",
          "SetDNSServerSearchOrder"}) {
        if (operation == change) {
            return true;
        }
    }
    return false;
}

class ProgramRun {
public:
    static constexpr std::chrono::seconds kDeadline{60};

    explicit ProgramRun(const ProgramInput& input) : shared_(std::make_shared<Shared>()) {
        sim::World& world = shared_->world;
        const sim::ScenarioResult loaded = sim::LoadScenario(input.scenario, world);
        EXPECT_TRUE(loaded.ok()) << loaded.Text();
        world.Desktop().SetPatience(input.patience);
        world.Desktop().SetTickPause(input.tickPause);
        settingsPath_ = input.settingsPath;
        if (input.settings) {
            world.PutFile(settingsPath_, *input.settings);
        }
        if (input.languages) {
            const std::u16string module = world.ModulePath();
            world.PutFile(module.substr(0, module.find_last_of(u'\\')) + u"\\languages.ini",
                          *input.languages);
        }
        if (!input.actions.empty()) {
            std::vector<std::string> errors;
            EXPECT_TRUE(world.Desktop().LoadText(input.actions, errors))
                << (errors.empty() ? std::string() : errors.front());
        }
        logPath_ = input.logPath;
        for (const InjectedFailure& failure : input.failures) {
            EXPECT_TRUE(world.InjectFailure(failure.operation, failure.code, failure.times))
                << failure.operation;
        }
        for (const auto& [operation, delay] : input.delays) {
            world.InjectDelay(operation, delay);
        }
        Run(input.commandLine);
    }

    // The program once more, on the machine as this run left it after a
    // restart: a new process with a fresh setup state, the same files, the
    // user acting as `actions` says. The journal and the desktop's records
    // start anew; the log file goes on.
    void RunAgainAfterRestart(const std::string& actions, const std::u16string& commandLine) {
        ASSERT_TRUE(finished_ && !shared_->state->ApplyWorkerStillRunning.load())
            << "the first run is still going on";
        sim::World& world = shared_->world;
        world.Restart();
        world.Desktop().ClearScript();
        world.Desktop().ClearJournal();
        if (!actions.empty()) {
            std::vector<std::string> errors;
            EXPECT_TRUE(world.Desktop().LoadText(actions, errors))
                << (errors.empty() ? std::string() : errors.front());
        }
        shared_->state = std::make_unique<SetupState>();
        shared_->done = false;
        Run(commandLine);
    }

    ~ProgramRun() {
        if (!finished_ || shared_->state->ApplyWorkerStillRunning.load()) {
            // Still in use by a thread that was left running: kept to the
            // end of the process, reachable from here.
            static auto* kept = new std::vector<std::shared_ptr<Shared>>();
            kept->push_back(shared_);
        }
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Finished() const { return finished_; }
    int ExitCode() const { return exitCode_; }
    sim::World& World() { return shared_->world; }
    SetupState& State() { return *shared_->state; }
    // Whether every code unit of the password buffer was zero when the
    // program returned, and whether it is now (an abandoned worker may have
    // gone on meanwhile).
    bool PasswordWiped() const { return passwordWiped_; }
    bool PasswordZeroNow() const {
        const SetupState& state = *shared_->state;
        for (std::size_t i = 0; i < PasswordText::kCapacity; ++i) {
            if (state.Password.c_str()[i] != u'\0') {
                return false;
            }
        }
        return true;
    }
    // Where the settings file lies, as found before the run.
    const std::u16string& SettingsPath() const { return settingsPath_; }

    std::vector<std::uint8_t> LogBytes() const {
        if (logPath_.empty()) {
            return {};
        }
        return shared_->world.FileBytes(logPath_).value_or(std::vector<std::uint8_t>{});
    }
    bool LogExists() const {
        return !logPath_.empty() && shared_->world.FileBytes(logPath_).has_value();
    }
    // The log's lines as UTF-8, without their CR LF, each pointer masked
    // (fakes/pointer_text.h).
    std::vector<std::string> LogLines() const {
        const std::vector<std::uint8_t> bytes = LogBytes();
        std::u16string text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        }
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
             start = end + 2) {
            lines.push_back(fakes::MaskPointers(
                std::string_view(sim::Utf16ToUtf8(text.substr(start, end - start)))));
        }
        return lines;
    }
    // Whether the log holds the text in its UTF-16LE form anywhere.
    bool LogContains(std::u16string_view text) const {
        const std::vector<std::uint8_t> bytes = LogBytes();
        const std::vector<std::uint8_t> needle = sim::Utf16Bytes(text, false);
        return !needle.empty() &&
               std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
    }

    // The journal lines of the calls that changed the machine or the domain.
    std::vector<std::string> Changes() const {
        std::vector<std::string> lines;
        for (const sim::JournalEntry& entry : shared_->world.Journal()) {
            if (IsChangeOperation(entry.operation)) {
                lines.push_back(entry.Text());
            }
        }
        return lines;
    }

    // What the run left open or released wrongly; empty when clean.
    std::vector<std::string> Leaks() const {
        const sim::World& world = shared_->world;
        std::vector<std::string> leaks;
        auto count = [&](const char* what, std::size_t value) {
            if (value != 0) {
                leaks.push_back(std::string(what) + " " + std::to_string(value));
            }
        };
        count("open files", world.OpenFileCount());
        count("open registry keys", world.OpenRegistryKeyCount());
        count("NetApi buffers", world.OutstandingNetApiBuffers());
        count("invalid NetApi frees", world.InvalidNetApiFrees());
        count("directory interfaces", world.LiveDirectoryInterfaces());
        count("open COM brackets", world.OpenComBrackets());
        count("open searches", world.OpenDirectorySearches());
        count("held search columns", world.HeldSearchColumns());
        count("invalid directory calls", world.InvalidDirectoryCalls());
        return leaks;
    }

    // The dialogs and boxes the run opened, one line each.
    std::string Windows() const {
        std::string text;
        for (const std::string& line : shared_->world.Desktop().JournalLines()) {
            text += line + "\n";
        }
        return text;
    }

private:
    void Run(const std::u16string& commandLine) {
        shared_->world.ClearJournal();
        std::thread runner([shared = shared_, commandLine] {
            const int exitCode = RunProgram(shared->world.platform(), *shared->state, commandLine);
            const std::lock_guard lock(shared->mutex);
            shared->exitCode = exitCode;
            shared->done = true;
            shared->doneChanged.notify_all();
        });
        std::unique_lock lock(shared_->mutex);
        finished_ = shared_->doneChanged.wait_for(lock, kDeadline, [&] { return shared_->done; });
        lock.unlock();
        if (finished_) {
            runner.join();
            exitCode_ = shared_->exitCode;
        } else {
            runner.detach();
            ADD_FAILURE() << "the program did not end within " << kDeadline.count() << " s";
        }
        // Right at the program's end.
        passwordWiped_ = finished_ && PasswordZeroNow();
    }

    struct Shared {
        sim::World world;
        std::unique_ptr<SetupState> state = std::make_unique<SetupState>();
        std::mutex mutex;
        std::condition_variable doneChanged;
        bool done = false;
        int exitCode = 0;
    };

    std::shared_ptr<Shared> shared_;
    std::u16string logPath_;
    std::u16string settingsPath_;
    bool finished_ = false;
    int exitCode_ = 0;
    bool passwordWiped_ = false;
};

// "Level(code): date, time - message" as the log writes it.
inline std::string LogLine(std::string_view level, std::int32_t code, std::string_view dateTime,
                           std::string_view message) {
    char number[16];
    std::snprintf(number, sizeof number, code < 0 ? "%#08x" : "%08d", code);
    return std::string(level) + "(" + number + "): " + std::string(dateTime) + " - " +
           std::string(message);
}

} // namespace corvane::program_test
