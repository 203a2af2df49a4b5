#include "platform/win32/services.h"
#include "platform/win32/wide_text.h"

#include <algorithm>
#include <cstddef>

namespace corvane::win32 {

namespace {

// String tables hold 16 strings per block; block n + 1 carries ids 16n to
// 16n + 15, each as a 16-bit length followed by that many code units
// (length 0 for an absent string).
constexpr std::uint32_t kStringsPerBlock = 16;
// The block that holds the default title (108) stands for every string: the
// platform picks the language of all blocks by the same rule.
constexpr std::uint32_t kProbeStringId = 108;
constexpr LANGID kGerman = 0x0407;
constexpr LANGID kEnglish = 0x0409;

LPCWSTR StringBlockName(std::uint32_t id) {
    return MAKEINTRESOURCEW(static_cast<ULONG_PTR>(id / kStringsPerBlock + 1));
}

} // namespace

Win32Resources::Win32Resources(HMODULE module)
    : module_(module != nullptr ? module : ::GetModuleHandleW(nullptr)) {}

int Win32Resources::LoadString(std::uint32_t id, char16_t* buffer, int size) {
    // Size 0 would make LoadStringW return a pointer into the resource
    // instead of copying.
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = u'\0';
    return ::LoadStringW(module_, id, Wide(buffer), size);
}

platform::LanguageId Win32Resources::DefaultLanguage() {
    // A resource found without a language and the same resource found in one
    // language are the same directory entry, so comparing the handles tells
    // which language the platform's own look-up chose.
    HRSRC chosen = ::FindResourceW(module_, StringBlockName(kProbeStringId), RT_STRING);
    if (chosen != nullptr &&
        chosen == ::FindResourceExW(module_, RT_STRING, StringBlockName(kProbeStringId), kGerman)) {
        return kGerman;
    }
    return kEnglish;
}

int Win32Resources::LoadStringInLanguage(std::uint32_t id, platform::LanguageId language,
                                         char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = u'\0';
    if (id > 0xFFFF) {
        return 0;
    }
    HRSRC found = ::FindResourceExW(module_, RT_STRING, StringBlockName(id), language);
    if (found == nullptr) {
        return 0;
    }
    HGLOBAL loaded = ::LoadResource(module_, found);
    const auto* units =
        loaded != nullptr ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (units == nullptr) {
        return 0;
    }
    // Every step is bounded by the block's size, so a damaged table cannot
    // lead the walk outside it.
    const std::size_t total = ::SizeofResource(module_, found) / sizeof(WORD);
    std::size_t position = 0;
    for (std::uint32_t skip = id % kStringsPerBlock; skip > 0; --skip) {
        if (position >= total) {
            return 0;
        }
        position += 1 + std::size_t{units[position]};
    }
    if (position >= total) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(units[position], total - position - 1);
    const std::size_t copied = std::min(length, static_cast<std::size_t>(size) - 1);
    std::copy_n(units + position + 1, copied, buffer);
    buffer[copied] = u'\0';
    return static_cast<int>(copied);
}

std::uint32_t Win32Resources::FormatSystemMessage(platform::ErrorCode code, char16_t* buffer,
                                                  std::uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    buffer[0] = u'\0';
    return ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            code, 0, Wide(buffer), size, nullptr);
}

} // namespace corvane::win32
