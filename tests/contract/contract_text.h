// Small text helpers for the contract tests: file contents in the encodings
// the platform reads, and views of terminated buffers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::contract {

enum class FileEncoding { Ansi, Utf16LeBom, Utf8Bom };

inline const char* EncodingName(FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Ansi:
        return "system code page";
    case FileEncoding::Utf16LeBom:
        return "UTF-16LE with byte-order mark";
    default:
        return "UTF-8 with byte-order mark";
    }
}

// Text of the Basic Multilingual Plane in the given encoding. The system
// code page is Windows-1252; of its upper half the tests use Latin-1
// letters and the euro sign only.
inline std::vector<std::uint8_t> EncodeFile(std::u16string_view text, FileEncoding encoding) {
    std::vector<std::uint8_t> bytes;
    switch (encoding) {
    case FileEncoding::Ansi:
        for (char16_t c : text) {
            bytes.push_back(c == u'\u20AC' ? std::uint8_t{0x80} : static_cast<std::uint8_t>(c));
        }
        break;
    case FileEncoding::Utf16LeBom:
        bytes = {0xFF, 0xFE};
        for (char16_t c : text) {
            bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        break;
    case FileEncoding::Utf8Bom:
        bytes = {0xEF, 0xBB, 0xBF};
        for (char16_t c : text) {
            if (c < 0x80) {
                bytes.push_back(static_cast<std::uint8_t>(c));
            } else if (c < 0x800) {
                bytes.push_back(static_cast<std::uint8_t>(0xC0 | (c >> 6)));
                bytes.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
            } else {
                bytes.push_back(static_cast<std::uint8_t>(0xE0 | (c >> 12)));
                bytes.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F)));
                bytes.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
            }
        }
        break;
    }
    return bytes;
}

inline std::vector<std::uint8_t> AsciiBytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// UTF-16LE bytes, optionally with the terminator (registry REG_SZ data).
inline std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminator) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminator) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

// UTF-8 for test messages.
inline std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// The text of a buffer up to its first terminator.
inline std::u16string Terminated(const char16_t* buffer) {
    return std::u16string(buffer);
}

// Letters A to Z equal a to z.
inline bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace corvane::contract
