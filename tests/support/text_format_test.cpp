#include "support/text_format.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Case {
    const char* name;
    std::u16string expected;
    std::u16string actual;
};

TEST(TextFormat, ConversionsFollowTheWidePrintfMeaning) {
    const char16_t* wide = u"Wide \u00e4";
    const Case cases[] = {
        {"plain text", u"no conversions", FormatText(u"no conversions")},
        {"%s is wide", u"Wide \u00e4", FormatText(u"%s", wide)},
        {"%S is narrow", u"SaveSettings: x", FormatText(u"%S: x", "SaveSettings")},
        {"%s accepts a view", u"[ab]", FormatText(u"[%s]", std::u16string_view(u"abc", 2))},
        {"null wide string", u"(null)", FormatText(u"%s", static_cast<const char16_t*>(nullptr))},
        {"null narrow string", u"(null)", FormatText(u"%S", static_cast<const char*>(nullptr))},
        {"%d", u"-42 7", FormatText(u"%d %d", -42, 7u)},
        {"%08d pads zero", u"00000005", FormatText(u"%08d", 5)},
        {"%08d nine digits", u"123456789", FormatText(u"%08d", 123456789)},
        {"%#08x of -1", u"0xffffffff", FormatText(u"%#08x", -1)},
        {"%#08x of E_FAIL", u"0x80004005",
         FormatText(u"%#08x", static_cast<std::int32_t>(0x80004005u))},
        {"%#x of zero has no prefix", u"0", FormatText(u"%#x", 0)},
        {"%X", u"BEEF", FormatText(u"%X", 0xBEEFu)},
        {"%x of unsigned 64", u"ffffffffff", FormatText(u"%llx", 0xFFFFFFFFFFull)},
        {"%o", u"017", FormatText(u"%#o", 15)},
        {"%#o of zero", u"0", FormatText(u"%#o", 0)},
        {"%#.0o of zero keeps its 0", u"0", FormatText(u"%#.0o", 0)},
        {"%#.0x of zero is empty", u"", FormatText(u"%#.0x", 0)},
        {"%#.4o already starts with 0", u"0017", FormatText(u"%#.4o", 15)},
        {"%u of a negative 32-bit int", u"4294967295", FormatText(u"%u", -1)},
        {"%5d right", u"   42", FormatText(u"%5d", 42)},
        {"%-5d| left", u"42   |", FormatText(u"%-5d|", 42)},
        {"%+d", u"+3", FormatText(u"%+d", 3)},
        {"%.3d precision", u"007", FormatText(u"%.3d", 7)},
        {"%*d star width", u"  9", FormatText(u"%*d", 3, 9)},
        {"%.2s cuts", u"ab", FormatText(u"%.2s", u"abc")},
        {"%6s pads", u"    ab", FormatText(u"%6s", u"ab")},
        {"%p of null", u"0000000000000000", FormatText(u"%p", nullptr)},
        {"%p of a value", u"00000000DEADBEEF",
         FormatText(u"%p", reinterpret_cast<const void*>(std::uintptr_t{0xDEADBEEF}))},
        {"%%", u"100%", FormatText(u"100%%")},
        {"%c", u"A", FormatText(u"%c", 65)},
        {"length modifiers ignored", u"5 6 7", FormatText(u"%ld %I64d %hd", 5, 6, 7)},
        {"missing string argument", u"[]", FormatText(u"[%s]")},
        {"missing number argument", u"0", FormatText(u"%d")},
        {"mismatched string for %d", u"0", FormatText(u"%d", u"text")},
        {"mismatched number for %s", u"", FormatText(u"%s", 5)},
        {"unknown conversion kept", u"%q", FormatText(u"%q")},
        {"unfinished conversion kept", u"abc %08", FormatText(u"abc %08")},
        {"line breaks pass unchanged", u"a\r\nb", FormatText(u"a\r\n%s", u"b")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, c.actual) << c.name;
    }
}

TEST(TextFormat, HugeWidthsAreClamped) {
    const std::u16string text = FormatText(u"%999999999d", 1);
    EXPECT_LE(text.size(), 4096u);
    EXPECT_EQ(u'1', text.back());
    // Widths and precisions from arguments, of any size and sign: a 64-bit
    // value must not wrap into a huge int width.
    const std::int64_t starValues[] = {-3267543854LL, 3267543854LL, INT64_MIN, INT64_MAX,
                                       -2147483648LL};
    for (std::int64_t value : starValues) {
        SCOPED_TRACE(value);
        const std::u16string padded =
            FormatText(u"%*d|%.*s|%-*s", value, 7, value, u"abc", value, u"x");
        EXPECT_LE(padded.size(), 3u * 4096u + 8u);
        EXPECT_NE(padded.find(u'7'), std::u16string::npos);
    }
    const std::uint64_t unsignedWidth = 0xC2C2C2C2C2ull;
    EXPECT_EQ(FormatText(u"%*d", unsignedWidth, 5).size(), 4096u);
}

TEST(TextFormat, ArgumentsAreConsumedInOrder) {
    EXPECT_EQ(u"SaveSettings: NetJoinDomain with Account \"user@dom\"",
              FormatText(u"%S: NetJoinDomain with Account \"%s\"", "SaveSettings", u"user@dom"));
    EXPECT_EQ(u"DsGetDcName: Error 1355\nThe specified domain \"X\"",
              FormatText(u"DsGetDcName: Error %d\nThe specified domain \"%s\"", 1355, u"X"));
}

} // namespace
} // namespace corvane
