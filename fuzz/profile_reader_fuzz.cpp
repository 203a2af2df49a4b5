// The private-profile reading the program relies on, on a workstation kept
// for the whole run (only the file changes per input): any file bytes, any
// section and key, any buffer size and the sizes the program reads with.
#include "fuzz_input.h"
#include "platform/sim/world.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

constexpr const char16_t* kPath = u"C:\\Deploy\\corvane.ini";

std::size_t Terminated(const std::vector<char16_t>& buffer) {
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (buffer[i] == u'\0') {
            return i;
        }
    }
    return buffer.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    std::u16string section = input.Wide(20);
    std::u16string key = input.Wide(20);
    // The sizes of the settings file's values, or any size up to 300.
    constexpr std::uint32_t kProgramSizes[] = {16, 128, 129, 256};
    const std::uint8_t sizeChoice = input.Byte();
    const std::uint32_t capacity =
        sizeChoice < 64 ? kProgramSizes[sizeChoice % 4] : 1 + input.Byte() % 300;
    const std::uint8_t names = input.Byte();
    const std::string file = input.RestNarrow();

    static sim::World world;
    world.PutFile(kPath, std::vector<std::uint8_t>(file.begin(), file.end()));
    platform::PrivateProfile& profile = world.profile();
    // One section and one key per input, the fuzzed names or the
    // program's, so that each input parses the file only a few times.
    const char16_t* sections[] = {section.c_str(), u"settings", u"general"};
    const char16_t* keys[] = {key.c_str(), u"computer", u"account", u"dhcp"};
    const char16_t* sectionName = sections[names % 3];
    const char16_t* keyName = keys[names / 3 % 4];
    // The buffer exactly as large as stated, so any overrun is caught.
    std::vector<char16_t> buffer(capacity, u'#');
    const std::uint32_t copied =
        profile.GetString(sectionName, keyName, u"", buffer.data(), capacity, kPath);
    FUZZ_ASSERT(copied < capacity);
    // Terminated right after what was copied (a NUL inside the file's line
    // may end the text earlier).
    FUZZ_ASSERT(buffer[copied] == u'\0');
    FUZZ_ASSERT(Terminated(buffer) <= copied);
    profile.GetInt(sectionName, keyName, -1, kPath);
    std::vector<char16_t> list(capacity + 1, u'#');
    const std::uint32_t listed = profile.GetSection(sectionName, list.data(), capacity + 1, kPath);
    FUZZ_ASSERT(listed <= capacity);
    world.ClearJournal();
    return 0;
}
