// Log lines show interface pointers as %p writes them: 16 hexadecimal
// digits. Which numbers the sim hands out is its own affair, so the tests
// compare every non-null pointer as one placeholder and the rest of each
// line byte for byte. A null pointer stays as it is: it tells a failed bind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane::fakes {

inline constexpr std::string_view kAnyPointer = "<pointer>";
inline constexpr std::u16string_view kAnyPointer16 = u"<pointer>";

// Replaces every run of exactly 16 upper-case hexadecimal digits that is not
// all zeros, and stands apart from other letters and digits, by kAnyPointer.
template <typename Char>
std::basic_string<Char> MaskPointers(std::basic_string_view<Char> text) {
    auto isHex = [](Char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
    auto isWord = [](Char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    constexpr std::size_t kDigits = 16;
    std::basic_string<Char> masked;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && isHex(text[end])) {
            ++end;
        }
        const bool standsApart =
            (i == 0 || !isWord(text[i - 1])) && (end == text.size() || !isWord(text[end]));
        if (end - i == kDigits && standsApart &&
            text.substr(i, kDigits).find_first_not_of(Char('0')) !=
                std::basic_string_view<Char>::npos) {
            for (const char c : kAnyPointer) {
                masked.push_back(static_cast<Char>(c));
            }
            i = end;
        } else if (end > i) {
            masked.append(text.substr(i, end - i));
            i = end;
        } else {
            masked.push_back(text[i++]);
        }
    }
    return masked;
}

} // namespace corvane::fakes
