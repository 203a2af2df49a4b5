// A text without the blanks (spaces and tabs) around it, as the settings
// file's values and names are compared.
#pragma once

#include <string_view>

namespace corvane {

constexpr std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace corvane
