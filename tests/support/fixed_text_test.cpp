#include "support/fixed_text.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(FixedText, CutsAtCapacityMinusOneAndStaysTerminated) {
    struct Case {
        std::u16string_view input;
        std::u16string_view stored;
    };
    const Case cases[] = {
        {u"", u""},
        {u"PC1", u"PC1"},
        {u"ABCDEFGHIJKLMNO", u"ABCDEFGHIJKLMNO"},  // 15 fit a capacity of 16
        {u"ABCDEFGHIJKLMNOP", u"ABCDEFGHIJKLMNO"}, // the 16th is cut
        {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"ABCDEFGHIJKLMNO"},
        {std::u16string_view(u"AB\0CD", 5), u"AB"}, // an embedded zero ends the text
    };
    for (const Case& c : cases) {
        FixedText<16> text;
        text.Assign(u"previous content that is long");
        text.Assign(c.input);
        EXPECT_EQ(c.stored, text.view());
        EXPECT_EQ(u'\0', text.c_str()[text.size()]);
    }
}

TEST(FixedText, ComparisonIsExactAndCaseSensitive) {
    EXPECT_EQ(FixedText<16>(u"pc1"), FixedText<16>(u"pc1"));
    EXPECT_FALSE(FixedText<16>(u"pc1") == FixedText<16>(u"PC1"));
    EXPECT_TRUE(FixedText<16>(u"x").empty() == false);
    EXPECT_TRUE(FixedText<16>().empty());
}

TEST(FixedText, UnterminatedRawBufferReadsBounded) {
    FixedText<4> text;
    char16_t* raw = text.data();
    raw[0] = u'a';
    raw[1] = u'b';
    raw[2] = u'c';
    raw[3] = u'd'; // a platform call that forgot the terminator
    EXPECT_EQ(3u, text.size());
    text.Terminate();
    EXPECT_EQ(u"abc", text.view());
}

TEST(CopyTruncated, ZeroCapacityWritesNothing) {
    char16_t sentinel = u'x';
    EXPECT_EQ(0u, CopyTruncated<char16_t>(&sentinel, 0, u"abc"));
    EXPECT_EQ(u'x', sentinel);
}

TEST(CopyTruncated, NarrowFieldsUseTheSameRule) {
    char field[16];
    EXPECT_EQ(15u, CopyTruncated<char>(field, sizeof field, "255.255.255.255X"));
    EXPECT_STREQ("255.255.255.255", field);
}

} // namespace
} // namespace corvane
