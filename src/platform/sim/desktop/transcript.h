// What the simulated user saw and did, as an administrator reads it: every
// dialog shown (the credential prompt with its error text), every action a
// dialog refused and why, every message box and notice with its answer, and
// the domain browser's outcome, in the order they happened.
#pragma once

#include "platform/sim/desktop/desktop.h"

#include <string>
#include <vector>

namespace corvane::sim {

std::vector<std::string> TranscriptLines(const std::vector<DesktopRecord>& journal);

} // namespace corvane::sim
