// The tokens of a scenario line: blanks separate them, double quotes hold a
// token with blanks or quotes (a doubled quote inside stands for one).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

// Splits a line into its tokens; false with `error` set for an unterminated
// quote or a quoted token not followed by a blank.
bool TokenizeScenarioLine(std::string_view line, std::vector<std::string>& tokens,
                          std::string& error);

// A token as a scenario line writes it: quoted when it is empty, holds
// blanks or quotes, or starts with '#'; plain otherwise.
std::string QuoteScenarioToken(std::string_view text);

} // namespace corvane::sim
