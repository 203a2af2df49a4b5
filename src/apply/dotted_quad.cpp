#include "apply/dotted_quad.h"

#include <cstdio>
#include <limits>

namespace corvane {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

// strtol(text + at, &end, 0) with a 32-bit long, as on Windows. Returns the
// value and sets `at` to the end of the number; with no number `at` stays.
std::int32_t ReadLong(std::string_view text, std::size_t& at) {
    std::size_t i = at;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '0') {
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            DigitValue(text[i + 2]) < 16) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        magnitude = std::min(magnitude * base + DigitValue(text[i]), kLimit);
    }
    if (i == digitsStart) {
        return 0; // no conversion: the end is where the text started
    }
    at = i;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::uint32_t ParseDottedQuad(std::string_view text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        text = text.substr(0, zero);
    }
    std::uint32_t value = 0;
    std::size_t at = 0;
    while (true) {
        const std::size_t start = at;
        value |= static_cast<std::uint32_t>(ReadLong(text, at));
        if (at >= text.size()) {
            return value;
        }
        // Move on to the next decimal digit (an octal number stops at an 8
        // or 9, which then starts the next number). Where nothing was read,
        // step over one character so that every round makes progress.
        if (at == start) {
            ++at;
        }
        while (at < text.size() && !IsDecimalDigit(text[at])) {
            ++at;
        }
        value <<= 8;
    }
}

char* FormatDottedQuad(std::uint32_t number, char (&buffer)[kDottedQuadCapacity]) {
    (void)std::snprintf(buffer, kDottedQuadCapacity, "%u.%u.%u.%u", (number >> 24) & 0xFFu,
                        (number >> 16) & 0xFFu, (number >> 8) & 0xFFu, number & 0xFFu);
    return buffer;
}

std::uint32_t ToNetworkOrder(std::uint32_t number) {
    return ((number & 0xFFu) << 24) | ((number & 0xFF00u) << 8) | ((number >> 8) & 0xFF00u) |
           (number >> 24);
}

} // namespace corvane
