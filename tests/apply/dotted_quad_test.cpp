#include "apply/dotted_quad.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

TEST(ParseDottedQuad, ReadsEachNumberAsStrtolDoesAndShiftsByEightBits) {
    struct Case {
        std::string_view text;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"0.0.0.0", 0},
        {"10.0.0.5", 0x0A000005},
        {"255.255.255.0", 0xFFFFFF00},
        {"192.168.1.1", 0xC0A80101},
        {"1.2.3", 0x00010203},      // three numbers: no shift for a fourth
        {"256.1.1.1", 0x00010101},  // 256 ORs a bit that the shifts push out
        {"1.2.3.4.5", 0x02030405},  // the first number is shifted out
        {" 1.2.3.4", 0x01020304},   // strtol passes over leading blanks
        {"1.2.3.4 ", 0x02030400},   // a trailing blank starts an empty fifth number
        {"010.1.1.1", 0x08010101},  // leading zero: octal
        {"0x0A.1.1.1", 0x0A010101}, // 0x: hexadecimal
        {"08.1", 0x00000801},       // octal stops at 8, which starts the next number
        {"+1.2.3.4", 0x01020304},
        {"-1.2.3.4", 0xFF020304}, // -1 sets every bit; the shifts push most out
        {"abc", 0},
        {"1..2", 0x00000102},
        {"99999999999.1", 0xFFFFFF01}, // clamped to LONG_MAX as a 32-bit long
        {std::string_view("1.2.3.4\0garbage", 15), 0x01020304},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, ParseDottedQuad(c.text)) << std::string(c.text);
    }
}

TEST(ParseDottedQuad, NeverReadsPastAnUnterminatedField) {
    char field[16];
    for (char& c : field) {
        c = '7';
    }
    // 16 digits and no terminator: the value is clamped, nothing behind the
    // field is looked at (the sanitizer build checks the bounds).
    EXPECT_EQ(0x7FFFFFFFu, ParseDottedQuad(std::string_view(field, sizeof field)));
}

TEST(FormatDottedQuad, WritesMostSignificantByteFirstAndRoundTrips) {
    const std::uint32_t values[] = {0, 0x0A000005, 0xFFFFFFFF, 0xC0A80101, 0x01020304};
    for (std::uint32_t value : values) {
        char buffer[kDottedQuadCapacity];
        FormatDottedQuad(value, buffer);
        EXPECT_EQ(value, ParseDottedQuad(buffer));
    }
    char buffer[kDottedQuadCapacity];
    EXPECT_STREQ("255.255.255.255", FormatDottedQuad(0xFFFFFFFF, buffer));
    EXPECT_STREQ("10.0.0.5", FormatDottedQuad(0x0A000005, buffer));
}

TEST(ToNetworkOrder, ReversesTheBytes) {
    EXPECT_EQ(0x0500000Au, ToNetworkOrder(0x0A000005));
    EXPECT_EQ(0x04030201u, ToNetworkOrder(0x01020304));
    EXPECT_EQ(0x01020304u, ToNetworkOrder(ToNetworkOrder(0x01020304)));
}

} // namespace
} // namespace corvane
