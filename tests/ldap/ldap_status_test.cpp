// LDAP result codes as the platform's directory calls report them.
#include "platform/directory_service.h"
#include "platform/ldap/ldap_status.h"

#include <gtest/gtest.h>
#include <string>

namespace corvane::ldap {
namespace {

TEST(LdapStatus, ResultCodesBecomeThePlatformsCodes) {
    struct Case {
        int result;
        std::string diagnostic;
        platform::ErrorCode win32;
    };
    const Case cases[] = {
        {0, "", 0},
        {32, "", 8240},                                      // no such object
        {50, "acl: unable to get access", 5},                // missing rights
        {68, "samldb: samAccountName already in use", 5010}, // already exists
        {34, "", 8242},                                      // bad DN
        {53, "", 8245},                                      // unwilling to perform
        {66, "", 8213},                                      // not a leaf
        {1, "00002020: Operation unavailable without authentication", 8224},
        {-1, "", 8250},  // no server
        {-7, "", 8254},  // bad filter
        {999, "", 8224}, // unknown: a directory failure
        // A refused bind: the Active Directory sub-code decides.
        {49,
         "80090308: LdapErr: DSID-0C0903A9, comment: AcceptSecurityContext error, data 52e, v1db1",
         1326},
        {49,
         "80090308: LdapErr: DSID-0C0903A9, comment: AcceptSecurityContext error, data 533, v1db1",
         1331},
        {49,
         "80090308: LdapErr: DSID-0C0903A9, comment: AcceptSecurityContext error, data 775, v1db1",
         1909},
        {49,
         "80090308: LdapErr: DSID-0C0903A9, comment: AcceptSecurityContext error, data 525, v1db1",
         1326},
        {49, "", 1326},
        {49, "data zz", 1326},
        {49, "data 12345678", 1326},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.result) + " " + c.diagnostic);
        EXPECT_EQ(Win32FromLdap(c.result, c.diagnostic), c.win32);
        EXPECT_EQ(HResultFromLdap(c.result, c.diagnostic), platform::hresult::FromWin32(c.win32));
    }
    EXPECT_EQ(static_cast<std::uint32_t>(HResultFromLdap(32, "")), 0x80072030u);
    EXPECT_EQ(static_cast<std::uint32_t>(HResultFromLdap(50, "")), 0x80070005u);
    EXPECT_EQ(static_cast<std::uint32_t>(HResultFromLdap(68, "")), 0x80071392u);
    EXPECT_EQ(static_cast<std::uint32_t>(HResultFromLdap(49, "")), 0x8007052Eu);
}

} // namespace
} // namespace corvane::ldap
