// Scenario files: a line-based text that configures a whole World
// (docs/sim-scenario.md describes the format), and a text dump of a
// world's state for the headless runner and for test failure messages.
#pragma once

#include "platform/sim/world.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

struct ScenarioError {
    std::size_t line = 0; // 1-based
    std::string message;
    std::string Text() const; // "line 12: unknown key 'nmae'"
};

struct ScenarioResult {
    std::vector<ScenarioError> errors;
    bool ok() const { return errors.empty(); }
    std::string Text() const; // every error on its own line
};

// Applies a scenario (UTF-8 text) to the world, line by line; a line with
// an error is skipped and reported, the rest still applies. Takes the
// registry baseline at the end.
ScenarioResult LoadScenario(std::string_view text, World& world);

// The state as text (UTF-8): workstation, pending name, membership,
// adapters, domains with their directory trees, files, registry values
// changed since the baseline, pending failures, and the journal.
std::string DumpWorld(const World& world);

} // namespace corvane::sim
