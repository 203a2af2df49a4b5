// The scenario format of the in-memory workstation: any text loads line by
// line with errors reported, and the world can always be dumped.
#include "fuzz_input.h"
#include "platform/sim/scenario.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::World world;
    const sim::ScenarioResult result = sim::LoadScenario(text, world);
    for (const sim::ScenarioError& error : result.errors) {
        FUZZ_ASSERT(error.line >= 1);
    }
    const std::string dump = sim::DumpWorld(world);
    FUZZ_ASSERT(!dump.empty());
    return 0;
}
