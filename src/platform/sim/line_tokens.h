// The tokens of one line of the sim's text files (scenarios and action
// scripts): blanks separate words; double quotes hold a text with blanks or
// quotes (a doubled quote inside stands for one); a '#' where a word could
// start, outside quotes, begins a comment that runs to the end of the line.
// A '#' inside a word ("C:\Build#2") is an ordinary character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

struct LineToken {
    std::string text;
    bool quoted = false; // written in double quotes
};

// Splits a line into its tokens; false with `error` set for an unterminated
// quote or a quoted text not followed by a blank.
bool TokenizeLine(std::string_view line, std::vector<LineToken>& tokens, std::string& error);
// The same, keeping the texts only.
bool TokenizeLine(std::string_view line, std::vector<std::string>& tokens, std::string& error);

// The line without its comment (the '#' that begins it and all after it).
std::string_view WithoutComment(std::string_view line);

// A text as a token that reads back as itself: quoted when it is empty,
// holds blanks or quotes, or starts with '#'; plain otherwise.
std::string QuoteToken(std::string_view text);

} // namespace corvane::sim
