// The log's path from any TEMP value, and the log opened on it: a whole
// file name "corvane.log" in a folder, never a cut path, never beyond the
// path capacity.
#include "app/program.h"
#include "fuzz_input.h"
#include "platform/sim/world.h"
#include "support/diagnostic_log.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

constexpr std::u16string_view kFileName = u"corvane.log";
constexpr std::u16string_view kTemp = u"C:\\Users\\Administrator\\AppData\\Local\\Temp";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    FuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    std::u16string temp = input.Wide(300);
    temp.resize(std::min(temp.size(), temp.find(u'\0')));
    if (choice % 4 == 0) {
        temp = std::u16string(kTemp) + (choice & 4 ? u"\\" : u""); // the real folder
    } else if (choice % 4 == 1) {
        temp = std::u16string(kTemp) + temp; // below or beside it
    }
    const bool unset = choice % 8 == 7;
    world.SetEnvironmentVariable(u"TEMP", unset ? nullptr : temp.c_str());

    const std::u16string path = LogFilePath(world.platform());
    FUZZ_ASSERT(path.size() < DiagnosticLog::kPathCapacity);
    FUZZ_ASSERT(path.find(u'\0') == std::u16string::npos);
    if (!path.empty()) {
        // The whole file name, alone or behind a folder's backslash.
        FUZZ_ASSERT(path.ends_with(kFileName));
        const std::u16string_view folder =
            std::u16string_view(path).substr(0, path.size() - kFileName.size());
        FUZZ_ASSERT(folder.empty() || folder.back() == u'\\');
    }
    if (choice % 4 == 0 && !unset) {
        FUZZ_ASSERT(path == std::u16string(kTemp) + u"\\" + std::u16string(kFileName));
    }
    if (!unset && !temp.empty() && temp.back() != u'\\') {
        // A folder and the file name are never glued together without the
        // backslash between them.
        FUZZ_ASSERT(path != temp + std::u16string(kFileName));
    }

    DiagnosticLog log;
    log.Open(world.platform(), path);
    FUZZ_ASSERT(log.Path().size() < DiagnosticLog::kPathCapacity);
    if (log.IsOpen()) {
        FUZZ_ASSERT(!log.Path().empty());
    }
    log.Close();
    world.ClearJournal();
    return 0;
}
