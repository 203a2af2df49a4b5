// Text helpers shared by the sim services: Windows-style case folding,
// conversions between UTF-16, UTF-8 and the system code page
// (Windows-1252), and the small formatting the journal and the state dump
// need.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::sim {

// Upper-cases one UTF-16 unit the way Windows compares names without regard
// to case (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic basics).
char16_t FoldChar(char16_t c);
std::u16string Fold(std::u16string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Narrow text of the IP Helper records: every byte is one Windows-1252
// character.
std::u16string Cp1252ToUtf16(std::string_view bytes);
// The reverse; characters outside Windows-1252 become '?'.
std::string Utf16ToCp1252(std::u16string_view text);

std::u16string Widen(std::string_view ascii);
// Length of a terminated UTF-16 text; 0 for null.
std::size_t Length(const char16_t* text);
std::u16string_view View(const char16_t* text);

// "0x" followed by at least `digits` upper-case hexadecimal digits.
std::string Hex(std::uint64_t value, int digits = 1);
std::string Decimal(std::uint64_t value);

bool IsBlank(char16_t c);
std::u16string_view Trim(std::u16string_view text);

// UTF-16LE bytes of a text, optionally followed by the terminator.
std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminator);

} // namespace corvane::sim
