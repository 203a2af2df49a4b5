#include "ui/account_name.h"

#include <gtest/gtest.h>
#include <optional>

namespace corvane {
namespace {

TEST(NormalizeAccountName, JoinsUserAndDomain) {
    struct Case {
        std::u16string_view account;
        std::optional<std::u16string_view> domain;
        std::u16string_view normalized;
    };
    const Case cases[] = {
        {u"SALES\\installer", std::nullopt, u"installer@SALES"},
        {u"installer@sales.example.com", std::nullopt, u"installer@sales.example.com"},
        {u"installer", std::nullopt, u"installer"},
        {u"", std::nullopt, u""},
        {u"user@", std::nullopt, u"user@"},  // ends in "@": unchanged
        {u"\\user", std::nullopt, u"user@"}, // an empty domain is still a domain
        {u"DOM\\", std::nullopt, u"@DOM"},
        {u"a\\b@c", std::nullopt, u"a\\b@c"}, // "@" wins over the backslash
        {u"x@y@z", std::nullopt, u"x@y@z"},   // the first "@" splits
        {u"DC\\user", u"corp.example.com", u"user@corp.example.com"},
        {u"user@old", u"new", u"user@new"},
        {u"", u"picked.example.com", u"@picked.example.com"},
        {u"user", u"", u"user@"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.normalized, NormalizedAccountName(c.account, c.domain))
            << std::string(c.account.begin(), c.account.end());
        AccountText account(c.account);
        EXPECT_TRUE(NormalizeAccountName(account, c.domain));
        EXPECT_EQ(c.normalized, account.view());
    }
}

TEST(NormalizeAccountName, AResultBeyondTheCapacityLeavesTheAccountAlone) {
    AccountText account(u"DC\\" + std::u16string(100, u'u'));
    const std::u16string longDomain = std::u16string(40, u'd') + u".example.com";
    EXPECT_FALSE(NormalizeAccountName(account, longDomain));
    EXPECT_EQ(u"DC\\" + std::u16string(100, u'u'), account.view());

    AccountText fits(u"DC\\" + std::u16string(100, u'u'));
    EXPECT_TRUE(NormalizeAccountName(fits, std::u16string(26, u'd'))); // 100 + 1 + 26 = 127
    EXPECT_EQ(127u, fits.size());
}

} // namespace
} // namespace corvane
