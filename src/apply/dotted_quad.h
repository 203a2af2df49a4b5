// Conversions between dotted-quad address texts and 32-bit numbers.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

inline constexpr std::size_t kDottedQuadCapacity = 16;

// The host-order number of an 8-bit dotted quad: the first number in the
// most significant byte. Each number is read as the Windows strtol reads it
// with base 0 (blanks and a sign allowed; 0x for hexadecimal, a leading 0 for
// octal; clamped to the 32-bit range) and ORed in; between numbers the value
// shifts left by 8 bits. An empty text gives 0. The text is read only within
// the view, so a fixed-width field without a terminator is safe.
std::uint32_t ParseDottedQuad(std::string_view text);

// Writes the number as "%d.%d.%d.%d", most significant byte first, into a
// 16-byte field (at most 15 characters and a terminator); returns the field.
char* FormatDottedQuad(std::uint32_t number, char (&buffer)[kDottedQuadCapacity]);

// Reverses the four bytes: host order to the network order the platform's
// address calls take (first number in the lowest-addressed byte).
std::uint32_t ToNetworkOrder(std::uint32_t number);

} // namespace corvane
