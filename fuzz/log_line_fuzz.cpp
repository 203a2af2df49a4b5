// Log lines: any message, level and code formatted as a reference builds
// the line; one input in four (by a hash of the input, so that mutations of
// such an input mostly do not) also goes end to end through the log of a
// workstation kept for the whole run: the file must grow by exactly that
// line, as UTF-16LE without a terminator.
#include "fuzz_input.h"
#include "platform/sim/world.h"
#include "support/diagnostic_log.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

constexpr const char16_t* kLogPath = u"C:\\Users\\Administrator\\AppData\\Local\\Temp\\corvane.log";

// Each byte its own code point, as the log widens narrow text.
std::u16string Widen(std::string_view text) {
    std::u16string wide;
    for (const char c : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::u16string PlatformText(int (platform::Locale::*read)(const platform::SystemTime&, char16_t*,
                                                          int),
                            sim::World& world) {
    std::array<char16_t, 64> buffer{};
    const int written =
        (world.locale().*read)(world.LocalTime(), buffer.data(), static_cast<int>(buffer.size()));
    FUZZ_ASSERT(written > 0);
    return std::u16string(buffer.data());
}

// The line as the log's format describes it.
std::u16string ReferenceLine(std::u16string_view message, std::int32_t level, std::int32_t code,
                             std::u16string_view date, std::u16string_view time) {
    const char* word = level == 0 ? "Error" : level == 1 ? "Warning" : level == 2 ? "Info" : "";
    char codeText[32];
    if (code < 0) {
        std::snprintf(codeText, sizeof codeText, "%#08x", static_cast<unsigned>(code));
    } else {
        std::snprintf(codeText, sizeof codeText, "%08d", static_cast<int>(code));
    }
    std::u16string line = Widen(word) + u"(" + Widen(codeText) + u"): ";
    line += date;
    line += u", ";
    line += time;
    line += u" - ";
    line += message;
    line += u"\r\n";
    return line;
}

std::vector<std::uint8_t> LittleEndian(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    static const std::u16string date = PlatformText(&platform::Locale::GetShortDate, world);
    static const std::u16string time = PlatformText(&platform::Locale::GetTimeText, world);

    FuzzInput input(data, size);
    // Levels around the three named ones, and any other value.
    const std::uint8_t levelChoice = input.Byte();
    const std::int32_t level =
        levelChoice < 250 ? levelChoice % 5 - 1 : static_cast<std::int32_t>(input.Number());
    const auto code = static_cast<std::int32_t>(input.Number());
    const std::u16string operation = Widen(input.Narrow(40));
    const std::u16string message = input.RestWide();

    // The formatting alone.
    const std::u16string expected = ReferenceLine(message, level, code, date, time);
    FUZZ_ASSERT(DiagnosticLog::FormatLine(message, level, code, date, time) == expected);

    if (corvane::fuzz::InputHash(data, size) % 4 != 0) {
        return 0;
    }
    // And through the file, appended behind what is there.
    world.PutFile(kLogPath, {0x41, 0x00});
    {
        DiagnosticLog log;
        log.Open(world.platform(), kLogPath);
        FUZZ_ASSERT(log.IsOpen());
        log.WriteEntry(message, level, code);
        // The front end: the operation's name leads, narrow, then the text.
        const std::string narrowName(operation.begin(), operation.end());
        log.Log(level, code, u"%S: %s", narrowName.c_str(), message);
    }
    std::vector<std::uint8_t> wanted = {0x41, 0x00};
    const std::vector<std::uint8_t> first = LittleEndian(expected);
    wanted.insert(wanted.end(), first.begin(), first.end());
    const std::u16string named = operation.substr(0, operation.find(u'\0')) + u": " + message;
    const std::vector<std::uint8_t> second =
        LittleEndian(ReferenceLine(named, level, code, date, time));
    wanted.insert(wanted.end(), second.begin(), second.end());
    FUZZ_ASSERT(world.FileBytes(kLogPath) == wanted);
    world.ClearJournal();
    return 0;
}
