// languages.ini on a workstation kept for the whole run (only the file
// changes per input): any file content, any forced language, one of the
// string ids; the escape decoding on any value against its definition.
#include "fuzz_input.h"
#include "model/setup_state.h"
#include "platform/sim/world.h"
#include "support/interface_language.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

// Each escape replaced over the whole text before the next one.
std::u16string ReplaceEach(std::u16string text) {
    const std::u16string_view escapes[][2] = {
        {u"\\n", u"\n"}, {u"\\r", u"\r"}, {u"\\t", u"\t"}, {u"\\\\", u"\\"}};
    for (const auto& escape : escapes) {
        std::u16string out;
        std::size_t from = 0;
        for (std::size_t at = text.find(escape[0]); at != std::u16string::npos;
             at = text.find(escape[0], from)) {
            out.append(text, from, at - from);
            out.append(escape[1]);
            from = at + escape[0].size();
        }
        out.append(text, from);
        text = std::move(out);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static sim::World world;
    static const bool prepared = [] {
        world.SetCurrentDirectory(u"C:\\Users\\Administrator");
        return true;
    }();
    FUZZ_ASSERT(prepared);
    FuzzInput input(data, size);
    const std::u16string tag = input.Wide(40);
    const std::u16string value = input.Wide(200);
    // One string id per input: each look-up reads the whole file.
    constexpr std::uint32_t kIds[] = {113, 114, 115, 116, 108, 0};
    const std::uint32_t id = kIds[input.Byte() % 6];
    const std::string file = input.RestNarrow();

    const std::u16string decoded = DecodeLanguageFileEscapes(value);
    FUZZ_ASSERT(decoded == ReplaceEach(value));
    FUZZ_ASSERT(decoded.size() <= value.size());

    world.PutFile(u"C:\\Users\\Administrator\\languages.ini",
                  std::vector<std::uint8_t>(file.begin(), file.end()));
    SetupState state;
    ApplyForcedLanguage(world.platform(), state, tag);
    std::u16string text;
    const bool found = LoadLocalizedString(world.platform(), state, id, text);
    FUZZ_ASSERT(found || text.empty());
    FUZZ_ASSERT(text.size() < kLanguageFileValueCapacity);
    world.ClearJournal();
    return 0;
}
