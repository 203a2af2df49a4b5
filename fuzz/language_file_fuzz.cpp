// languages.ini on the in-memory workstation: any file content, any forced
// language, every string id; the escape decoding on any value.
#include "apply/setup_state.h"
#include "fuzz_input.h"
#include "platform/sim/world.h"
#include "support/interface_language.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace corvane;
using corvane::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string tag = input.Wide(40);
    const std::u16string value = input.Wide(200);
    const std::string file = input.RestNarrow();

    const std::u16string decoded = DecodeLanguageFileEscapes(value);
    FUZZ_ASSERT(decoded.size() <= value.size());
    if (value.find(u'\\') == std::u16string::npos) {
        FUZZ_ASSERT(decoded == value);
    }

    sim::World world;
    world.PutFile(u"C:\\Users\\Administrator\\languages.ini",
                  std::vector<std::uint8_t>(file.begin(), file.end()));
    world.SetCurrentDirectory(u"C:\\Users\\Administrator");
    SetupState state;
    ApplyForcedLanguage(world.platform(), state, tag);
    for (std::uint32_t id : {113u, 114u, 115u, 116u, 108u, 0u}) {
        std::u16string text;
        const bool found = LoadLocalizedString(world.platform(), id, text);
        FUZZ_ASSERT(found || text.empty());
        FUZZ_ASSERT(text.size() < 8192);
    }
    return 0;
}
