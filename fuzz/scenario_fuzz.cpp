// The scenario format of the in-memory workstation. Most inputs go to the
// line syntax alone: every line either splits into tokens or is refused,
// and tokens written back as a line split into the same tokens. One input
// in sixteen (by a hash of the whole input, so that a mutation of a loading
// input mostly does not load) goes into a whole new world: errors carry
// line numbers and the world can always be dumped.
#include "fuzz_input.h"
#include "platform/sim/line_tokens.h"
#include "platform/sim/scenario/scenario.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

std::string Joined(const std::vector<std::string>& tokens) {
    std::string line;
    for (const std::string& token : tokens) {
        line += line.empty() ? "" : " ";
        line += sim::QuoteToken(token);
    }
    return line;
}

void CheckRoundTrip(const std::vector<std::string>& tokens) {
    std::vector<std::string> again;
    std::string error;
    FUZZ_ASSERT(sim::TokenizeLine(Joined(tokens), again, error));
    FUZZ_ASSERT(again == tokens);
}

void CheckLines(std::string_view text) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        std::vector<std::string> tokens;
        std::string error;
        if (!sim::TokenizeLine(line, tokens, error)) {
            FUZZ_ASSERT(!error.empty());
            continue;
        }
        for (const std::string& token : tokens) {
            FUZZ_ASSERT(token.size() <= line.size());
        }
        CheckRoundTrip(tokens);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const std::string text = input.RestNarrow();
    if (corvane::fuzz::InputHash(data, size) % 16 != 0) {
        CheckLines(text);
        // The text's pieces as tokens of any content.
        std::vector<std::string> tokens;
        for (std::size_t at = 0; at < text.size(); at += 1 + mode % 7) {
            tokens.push_back(text.substr(at, mode % 11));
        }
        CheckRoundTrip(tokens);
        return 0;
    }
    sim::World world;
    const sim::ScenarioResult result = sim::LoadScenario(text, world);
    for (const sim::ScenarioError& error : result.errors) {
        FUZZ_ASSERT(error.line >= 1);
    }
    const std::string dump = sim::DumpWorld(world);
    FUZZ_ASSERT(!dump.empty());
    return 0;
}
