// printf-style formatting of UTF-16 text with the meaning that the Windows
// wide-character printf family gives its conversions: "%s" takes a wide
// (UTF-16) string, "%S" a narrow (8-bit) one. Both builds format through this
// one function, so the log is byte-identical whatever the C library does.
//
// Supported: flags '-', '0', '#', '+', ' '; a width and a precision, given as
// digits or '*' (the latter taken from the arguments); length modifiers h, l,
// ll, I64, I32, z, j, t (accepted and ignored, every integer argument is kept
// at full width); conversions d i u o x X c C s S p and "%%".
//
// Defined results for bad input: a missing or mismatched argument formats as
// an empty text (s, S, c, C) or as 0 (numbers, p); a null string as "(null)";
// an unknown conversion or a format that ends inside a conversion is copied
// as it stands. Narrow text is widened byte by byte (each byte its own code
// point), which is exact for the ASCII operation names the log uses.
#pragma once

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace corvane {

class FormatArg {
public:
    enum class Kind { Wide, Narrow, Signed, Unsigned, Pointer };

    FormatArg(const char16_t* text)
        : kind_(Kind::Wide), isNull_(text == nullptr), wide_(text, text ? Length(text) : 0) {}
    FormatArg(std::u16string_view text) : kind_(Kind::Wide), wide_(text) {}
    FormatArg(const std::u16string& text) : kind_(Kind::Wide), wide_(text) {}
    FormatArg(const char* text)
        : kind_(Kind::Narrow), isNull_(text == nullptr), narrow_(text, text ? Length(text) : 0) {}
    FormatArg(std::string_view text) : kind_(Kind::Narrow), narrow_(text) {}
    FormatArg(const std::string& text) : kind_(Kind::Narrow), narrow_(text) {}
    template <typename Text>
    requires requires(const Text& t) {
        { t.view() } -> std::convertible_to<std::u16string_view>;
    }
    FormatArg(const Text& text) : FormatArg(std::u16string_view(text.view())) {}
    template <typename Text>
    requires requires(const Text& t) {
        { t.view() } -> std::convertible_to<std::string_view>;
    }
    FormatArg(const Text& text) : FormatArg(std::string_view(text.view())) {}
    FormatArg(std::nullptr_t) : kind_(Kind::Pointer) {}
    FormatArg(const void* pointer)
        : kind_(Kind::Pointer), unsigned_(reinterpret_cast<std::uintptr_t>(pointer)) {}

    template <typename Int>
    requires(std::is_integral_v<Int> && !std::is_same_v<Int, bool> && !std::is_same_v<Int, char> &&
             !std::is_same_v<Int, char16_t>) FormatArg(Int value) {
        if constexpr (std::is_signed_v<Int>) {
            kind_ = Kind::Signed;
            signed_ = value;
        } else {
            kind_ = Kind::Unsigned;
            unsigned_ = value;
        }
    }

    Kind kind() const { return kind_; }
    bool isNull() const { return isNull_; }
    std::u16string_view wide() const { return wide_; }
    std::string_view narrow() const { return narrow_; }
    std::int64_t asSigned() const;
    std::uint64_t asUnsigned() const;

private:
    template <typename Char>
    static std::size_t Length(const Char* text) {
        return std::char_traits<Char>::length(text);
    }

    Kind kind_ = Kind::Signed;
    bool isNull_ = false;
    std::u16string_view wide_;
    std::string_view narrow_;
    std::int64_t signed_ = 0;
    std::uint64_t unsigned_ = 0;
};

std::u16string FormatTextArgs(std::u16string_view format, std::span<const FormatArg> args);

template <typename... Args>
std::u16string FormatText(std::u16string_view format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return FormatTextArgs(format, {});
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return FormatTextArgs(format, list);
    }
}

} // namespace corvane
