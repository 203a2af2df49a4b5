// char16_t and wchar_t are both UTF-16 code units on Windows. The core speaks
// char16_t; the Win32 calls take wchar_t. These casts are the one crossing.
#pragma once

#include <cstddef>

namespace corvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t) && alignof(wchar_t) == alignof(char16_t),
              "wchar_t must be a UTF-16 code unit");

inline const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* Wide(char16_t* text) {
    return reinterpret_cast<wchar_t*>(text);
}
inline const char16_t* Utf16(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}
inline char16_t* Utf16(wchar_t* text) {
    return reinterpret_cast<char16_t*>(text);
}

} // namespace corvane::win32
