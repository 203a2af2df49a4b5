// Carves typed values out of a fuzzer's bytes: the targets draw texts and
// numbers from the front of the input until it runs out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace corvane::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return size_ == 0; }

    std::uint8_t Byte() {
        if (size_ == 0) {
            return 0;
        }
        --size_;
        return *data_++;
    }

    std::uint32_t Number() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | Byte();
        }
        return value;
    }

    // Up to `limit` bytes (a length byte first).
    std::string Narrow(std::size_t limit = 255) {
        std::size_t length = Byte();
        length = length < limit ? length : limit;
        length = length < size_ ? length : size_;
        std::string text(reinterpret_cast<const char*>(data_), length);
        data_ += length;
        size_ -= length;
        return text;
    }

    // UTF-16 text of up to `limit` code units, two bytes each (any values,
    // unpaired surrogates and NULs included).
    std::u16string Wide(std::size_t limit = 300) {
        std::size_t length =
            static_cast<std::size_t>(Byte()) | (static_cast<std::size_t>(Byte() & 1) << 8);
        length = length < limit ? length : limit;
        std::u16string text;
        for (std::size_t i = 0; i < length && size_ >= 2; ++i) {
            const auto low = Byte();
            text.push_back(static_cast<char16_t>(low | (Byte() << 8)));
        }
        return text;
    }

    // Everything left, as UTF-16 code units.
    std::u16string RestWide() {
        std::u16string text;
        while (size_ >= 2) {
            const auto low = Byte();
            text.push_back(static_cast<char16_t>(low | (Byte() << 8)));
        }
        return text;
    }

    std::string RestNarrow() {
        std::string text(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A hash of the whole input (FNV-1a, its bits mixed at the end), to pick
// the few inputs that take a slow path: mutations of such an input mostly
// take the fast one again.
inline std::uint32_t InputHash(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    hash ^= hash >> 15;
    hash *= 0x2C1B3C6Du;
    hash ^= hash >> 12;
    return hash;
}

// A property that must hold: report it and stop, so the fuzzer keeps the input.
#define FUZZ_ASSERT(condition)                                                                     \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::fflush(stderr);                                                                   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

} // namespace corvane::fuzz
