#include "directory/directory_status.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ReduceHResult, GivesTheWin32CodeOfAFailure) {
    struct Case {
        std::uint32_t status;
        platform::ErrorCode reduced;
        std::int32_t lowWord;
    };
    const Case cases[] = {
        {0x00000000u, 0, 0},
        {0x00000001u, 0, 1},           // S_FALSE is a success
        {0x00005012u, 0, 0x5012},      // S_ADS_NOMORE_ROWS too
        {0x80070005u, 5, 5},           // ERROR_ACCESS_DENIED
        {0x8007052Eu, 1326, 1326},     // ERROR_LOGON_FAILURE
        {0x80070533u, 1331, 1331},     // ERROR_ACCOUNT_DISABLED
        {0x80072030u, 8240, 8240},     // ERROR_DS_NO_SUCH_OBJECT
        {0x80004005u, 0x4005, 0x4005}, // E_FAIL
        {0x80005000u, 0x5000, 0x5000}, // E_ADS_BAD_PATHNAME
        // A failure with nothing in its low bits must not read as success.
        {0x80040000u, 0x80040000u, 0},
        {0x80000000u, 0x80000000u, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.status);
        const auto status = static_cast<platform::HResult>(c.status);
        EXPECT_EQ(ReduceHResult(status), c.reduced);
        EXPECT_EQ(LowWord(status), c.lowWord);
    }
}

} // namespace
} // namespace corvane
