#include "directory/distinguished_name.h"

namespace corvane {

namespace {

// The characters that a DN value must carry escaped. The backslash is left
// out on purpose: in an OU path it is the level separator and never part of
// a piece.
constexpr std::u16string_view kSpecialCharacters = u",+=\"\r\n<>#;";

} // namespace

std::u16string ComposeDistinguishedName(std::u16string_view text, std::u16string_view type,
                                        char16_t separator, bool reversed) {
    std::u16string result;
    std::u16string piece;
    auto addComponent = [&] {
        if (piece.empty()) {
            return;
        }
        std::u16string component(type);
        component.push_back(u'=');
        component += piece;
        if (reversed) {
            if (!result.empty()) {
                component.push_back(u',');
            }
            result.insert(0, component);
        } else {
            if (!result.empty()) {
                result.push_back(u',');
            }
            result += component;
        }
        piece.clear();
    };
    for (const char16_t c : text) {
        if (c == separator) {
            addComponent();
        } else if (kSpecialCharacters.find(c) != std::u16string_view::npos) {
            piece.push_back(u'\\');
            piece.push_back(c);
        } else {
            piece.push_back(c);
        }
    }
    addComponent();
    return result;
}

std::u16string ExtractNamePath(std::u16string_view dn, std::u16string_view type,
                               char16_t separator) {
    std::u16string result;
    std::u16string key(type);
    key.push_back(u'=');
    std::size_t position = 0;
    while (position <= dn.size()) {
        const std::size_t found = dn.find(key, position);
        if (found == std::u16string_view::npos) {
            break;
        }
        std::u16string value;
        bool escaped = false;
        std::size_t i = found + key.size();
        for (;; ++i) {
            if (i == dn.size()) {
                break;
            }
            const char16_t c = dn[i];
            if (c == u'\\') {
                if (escaped) {
                    value.push_back(u'\\');
                }
                escaped = !escaped;
            } else if (escaped) {
                value.push_back(c);
                escaped = false;
            } else if (c == u',' || c == u';') {
                break;
            } else {
                value.push_back(c);
            }
        }
        value.insert(value.begin(), separator);
        result.insert(0, value);
        position = i + 1;
    }
    return result;
}

} // namespace corvane
