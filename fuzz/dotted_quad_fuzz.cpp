// Address texts: parsing reads only within the field, and formatting the
// result and parsing it again gives the same number.
#include "apply/dotted_quad.h"
#include "fuzz_input.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text as an exact-size heap block: any read past it is caught.
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t number = ParseDottedQuad(text);
    char field[kDottedQuadCapacity];
    std::memset(field, 'X', sizeof field);
    FormatDottedQuad(number, field);
    const std::size_t length = strnlen(field, sizeof field);
    FUZZ_ASSERT(length < sizeof field);
    FUZZ_ASSERT(length >= 7);
    FUZZ_ASSERT(ParseDottedQuad(std::string_view(field, length)) == number);
    FUZZ_ASSERT(ToNetworkOrder(ToNetworkOrder(number)) == number);
    return 0;
}
