#pragma once

#include <cstdint>

namespace corvane::platform {

// INI files read with the Win32 private-profile rules: section and key names
// match without regard to case; values are trimmed of surrounding blanks and
// of one pair of surrounding quotes; a missing file, section or key gives the
// default; a value that does not fit is cut to size - 1 characters. Files may
// be UTF-16LE with a byte-order mark, UTF-8 with a byte-order mark, or text
// in the system code page.
class PrivateProfile {
public:
    virtual ~PrivateProfile() = default;

    // GetPrivateProfileStringW with a section and a key: the characters
    // copied without the terminator (size - 1 when cut).
    virtual std::uint32_t GetString(const char16_t* section, const char16_t* key,
                                    const char16_t* defaultValue, char16_t* buffer,
                                    std::uint32_t size, const char16_t* file) = 0;
    // GetPrivateProfileSectionW: the section's "key=value" entries, each
    // terminated, the list ended by a second terminator; returns the
    // characters copied without the final terminator, size - 2 when cut, 0
    // when the section is missing or empty.
    virtual std::uint32_t GetSection(const char16_t* section, char16_t* buffer, std::uint32_t size,
                                     const char16_t* file) = 0;
    // GetPrivateProfileIntW: the value's leading decimal number (a value that
    // does not start with one reads as 0), or the default when the key is
    // missing.
    virtual std::uint32_t GetInt(const char16_t* section, const char16_t* key,
                                 std::int32_t defaultValue, const char16_t* file) = 0;
};

} // namespace corvane::platform
