#include "platform/sim/line_tokens.h"

namespace corvane::sim {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

// Backslashes are plain characters, so Windows paths need no escaping.
bool TokenizeLine(std::string_view line, std::vector<LineToken>& tokens, std::string& error) {
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') {
            break;
        }
        LineToken token;
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        token.text.push_back('"');
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                token.text.push_back(line[i++]);
            }
            if (!closed) {
                error = "unterminated quoted text";
                return false;
            }
            if (i < line.size() && !IsBlank(line[i])) {
                error = "a quoted text must be followed by a blank";
                return false;
            }
        } else {
            while (i < line.size() && !IsBlank(line[i])) {
                token.text.push_back(line[i++]);
            }
        }
        tokens.push_back(std::move(token));
    }
    return true;
}

bool TokenizeLine(std::string_view line, std::vector<std::string>& tokens, std::string& error) {
    std::vector<LineToken> parsed;
    tokens.clear();
    if (!TokenizeLine(line, parsed, error)) {
        return false;
    }
    for (LineToken& token : parsed) {
        tokens.push_back(std::move(token.text));
    }
    return true;
}

std::string_view WithoutComment(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') {
            return line.substr(0, i);
        }
        if (line[i] == '"') {
            // To the closing quote, over doubled ones.
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
            }
        }
        while (i < line.size() && !IsBlank(line[i])) {
            ++i;
        }
    }
    return line;
}

std::string QuoteToken(std::string_view text) {
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
