// Comparison of names that the platform treats without regard to case:
// domain, computer and workgroup names, option words, locale tags. Only the
// ASCII letters fold, as in DNS names; every other character must match.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

constexpr char16_t FoldAsciiCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
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

} // namespace corvane
