// The tests' pointer mask: only what %p writes for a live pointer becomes
// the placeholder; codes, names and the null pointer stay byte for byte.
#include "fakes/pointer_text.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane::fakes {
namespace {

TEST(MaskPointers, MasksLivePointersOnly) {
    struct Case {
        std::string text;
        std::string masked;
    };
    const Case cases[] = {
        {"ADsOpenObject(IDirectorySearch) = 0000000010000010",
         "ADsOpenObject(IDirectorySearch) = <pointer>"},
        {"a 00000000DEADBEEF and b FFFFFFFF00000001.", "a <pointer> and b <pointer>."},
        {"ADsOpenObject(IADs) = 0000000000000000", "ADsOpenObject(IADs) = 0000000000000000"},
        {"Error(0x80072030): 3/21/2009", "Error(0x80072030): 3/21/2009"},
        {"Info(00001326) 000000001000001 00000000100000100",
         "Info(00001326) 000000001000001 00000000100000100"},
        {"0000000010000010", "<pointer>"},
        {"0000000010000010x PC0000000010000010 0000000010000010G",
         "0000000010000010x PC0000000010000010 0000000010000010G"},
        {"lower 000000001000abcd", "lower 000000001000abcd"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.masked, MaskPointers(std::string_view(c.text))) << c.text;
    }
    EXPECT_EQ(u"= <pointer>\r\n", MaskPointers(std::u16string_view(u"= 00000000ABCDEF01\r\n")));
}

} // namespace
} // namespace corvane::fakes
