// The settings-file reading path of the in-memory workstation: any file
// bytes, any section and key, every buffer size the program uses.
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
    const std::uint32_t capacity = 1 + input.Byte() % 300;
    const std::string file = input.RestNarrow();

    sim::World world;
    world.PutFile(kPath, std::vector<std::uint8_t>(file.begin(), file.end()));
    platform::PrivateProfile& profile = world.profile();
    for (const char16_t* sectionName : {section.c_str(), u"settings", u"general"}) {
        for (const char16_t* keyName : {key.c_str(), u"computer", u"account", u"dhcp"}) {
            // The buffer exactly as large as stated, so any overrun is caught.
            std::vector<char16_t> buffer(capacity, u'#');
            const std::uint32_t copied =
                profile.GetString(sectionName, keyName, u"", buffer.data(), capacity, kPath);
            FUZZ_ASSERT(copied < capacity);
            // Terminated right after what was copied (a NUL inside the file's
            // line may end the text earlier).
            FUZZ_ASSERT(buffer[copied] == u'\0');
            FUZZ_ASSERT(Terminated(buffer) <= copied);
            profile.GetInt(sectionName, keyName, -1, kPath);
        }
        std::vector<char16_t> list(capacity + 1, u'#');
        const std::uint32_t listed =
            profile.GetSection(sectionName, list.data(), capacity + 1, kPath);
        FUZZ_ASSERT(listed <= capacity);
    }
    return 0;
}
