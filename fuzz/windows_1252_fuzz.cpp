// Windows-1252 decoding of the IP Helper records' 8-bit texts: one character
// per byte, exactly the character the C library's own CP1252 table gives,
// and the five bytes the code page leaves undefined kept as their value.
#include "fuzz_input.h"
#include "support/windows_1252.h"

#include <cstddef>
#include <cstdint>
#include <iconv.h>
#include <string>

using namespace corvane;

namespace {

bool IsUndefined(unsigned char byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The reference's decoding of one byte; the conversion is opened once.
char16_t Reference(unsigned char byte) {
    static iconv_t converter = iconv_open("UTF-16LE", "CP1252");
    FUZZ_ASSERT(converter != reinterpret_cast<iconv_t>(-1));
    char in[1] = {static_cast<char>(byte)};
    char out[4] = {};
    char* inCursor = in;
    char* outCursor = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    const std::size_t converted = iconv(converter, &inCursor, &inLeft, &outCursor, &outLeft);
    FUZZ_ASSERT(converted != static_cast<std::size_t>(-1) && outLeft == 2);
    return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                 static_cast<unsigned char>(out[1]) << 8);
}

const std::u16string& ReferenceTable() {
    static const std::u16string table = [] {
        std::u16string all(256, u'\0');
        for (unsigned byte = 0; byte < 256; ++byte) {
            all[byte] = IsUndefined(static_cast<unsigned char>(byte))
                            ? static_cast<char16_t>(byte)
                            : Reference(static_cast<unsigned char>(byte));
        }
        return all;
    }();
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = Windows1252ToUtf16(text);
    FUZZ_ASSERT(wide.size() == text.size());
    const std::u16string& table = ReferenceTable();
    for (std::size_t i = 0; i < text.size(); ++i) {
        FUZZ_ASSERT(wide[i] == table[static_cast<unsigned char>(text[i])]);
    }
    return 0;
}
