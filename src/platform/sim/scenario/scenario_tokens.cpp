#include "platform/sim/scenario/scenario_tokens.h"

namespace corvane::sim {

// Splits a line at blanks; a token in double quotes may hold blanks, and a
// doubled quote inside stands for one. Backslashes are plain characters,
// so Windows paths need no escaping.
bool TokenizeScenarioLine(std::string_view line, std::vector<std::string>& tokens,
                          std::string& error) {
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string token;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        token.push_back('"');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                token.push_back(line[i++]);
            }
            if (!closed) {
                error = "unterminated quote";
                return false;
            }
            if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                error = "a quoted text must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                token.push_back(line[i++]);
            }
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

// A token as the scenario format writes it: quoted when it holds blanks or
// quotes or is empty.
std::string QuoteScenarioToken(std::string_view text) {
    if (!text.empty() && text.find_first_of(" \t\"") == std::string_view::npos &&
        text.front() != '#') {
        return std::string(text);
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += "\"\"";
        } else {
            out.push_back(c);
        }
    }
    return out + "\"";
}

} // namespace corvane::sim
