// ASCII helpers shared by the core and every platform: case folding of the
// names Windows treats without regard to case (domain, computer and
// workgroup names, option words, locale tags, LDAP attribute and class
// names), where only A to Z equal a to z, and the value of a hexadecimal
// digit. They sit beside the platform interface so that platform code can
// use them without including the core.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

template <typename Char>
constexpr Char FoldAsciiCase(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a,
                                       std::basic_string_view<Char> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return EqualsIgnoringAsciiCase<char16_t>(a, b);
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase<char>(a, b);
}

// 0 to 15 for 0-9, a-f and A-F; -1 for any other character.
template <typename Char>
constexpr int HexDigitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) {
        return static_cast<int>(c - Char('0'));
    }
    if (c >= Char('a') && c <= Char('f')) {
        return static_cast<int>(c - Char('a')) + 10;
    }
    if (c >= Char('A') && c <= Char('F')) {
        return static_cast<int>(c - Char('A')) + 10;
    }
    return -1;
}

} // namespace corvane
