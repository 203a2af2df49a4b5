// Fixed-capacity, always-terminated text buffers.
//
// Every text the program keeps in its shared state has a fixed capacity that
// counts the terminating zero. Writers never store more than capacity - 1
// characters; CopyTruncated is the one place where that cut happens.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace corvane {

// Copies src into dst, which holds `capacity` characters including the
// terminator: at most capacity - 1 characters are copied, the rest is cut and
// the result is always terminated. Returns the number of characters copied.
// A src that holds a zero ends there, as it would for a C string.
template <typename Char>
std::size_t CopyTruncated(Char* dst, std::size_t capacity, std::basic_string_view<Char> src) {
    if (capacity == 0) {
        return 0;
    }
    const std::size_t zero = src.find(Char{});
    if (zero != std::basic_string_view<Char>::npos) {
        src = src.substr(0, zero);
    }
    const std::size_t count = std::min(src.size(), capacity - 1);
    std::copy_n(src.data(), count, dst);
    dst[count] = Char{};
    return count;
}

// Length of a terminated text in a buffer of `capacity` characters; a buffer
// without a terminator counts as capacity - 1 long (the last slot is reserved
// for the terminator), so no read ever goes past the buffer.
template <typename Char>
std::size_t BoundedLength(const Char* text, std::size_t capacity) {
    if (text == nullptr || capacity == 0) {
        return 0;
    }
    const Char* end = std::find(text, text + capacity, Char{});
    return std::min(static_cast<std::size_t>(end - text), capacity - 1);
}

template <std::size_t Capacity, typename Char = char16_t>
class FixedText {
    static_assert(Capacity > 0, "a text needs room for its terminator");

public:
    using View = std::basic_string_view<Char>;
    static constexpr std::size_t kCapacity = Capacity;

    FixedText() = default;
    explicit FixedText(View text) { Assign(text); }

    // Replaces the content, cut at capacity - 1 characters.
    std::size_t Assign(View text) { return CopyTruncated(chars_.data(), Capacity, text); }
    void Clear() { chars_.fill(Char{}); }

    View view() const { return View(chars_.data(), size()); }
    const Char* c_str() const { return chars_.data(); }
    std::size_t size() const { return BoundedLength(chars_.data(), Capacity); }
    bool empty() const { return chars_[0] == Char{}; }

    // Raw access for platform calls that write into the buffer; call
    // Terminate() afterwards so that the text stays bounded.
    Char* data() { return chars_.data(); }
    void Terminate() { chars_[Capacity - 1] = Char{}; }

    // Exact, case-sensitive comparison of the texts (not of the bytes behind).
    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
    bool operator==(View other) const { return view() == other; }

private:
    std::array<Char, Capacity> chars_{};
};

} // namespace corvane
