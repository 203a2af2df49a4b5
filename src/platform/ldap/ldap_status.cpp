#include "platform/ldap/ldap_status.h"

#include "platform/directory_service.h"

#include <cstdlib>
#include <string>

namespace corvane::ldap {
namespace {

// LDAP result codes (RFC 4511, and the client library's own negative ones).
struct LdapToWin32 {
    int ldap;
    platform::ErrorCode win32;
};
constexpr LdapToWin32 kTable[] = {
    {1, 8224},   // operationsError -> ERROR_DS_OPERATIONS_ERROR
    {2, 8225},   // protocolError
    {3, 8226},   // timeLimitExceeded
    {4, 8227},   // sizeLimitExceeded
    {5, 8229},   // compareFalse
    {6, 8230},   // compareTrue
    {7, 8231},   // authMethodNotSupported
    {8, 8232},   // strongerAuthRequired
    {10, 8235},  // referral
    {11, 8228},  // adminLimitExceeded
    {12, 8236},  // unavailableCriticalExtension
    {13, 8237},  // confidentialityRequired
    {16, 8202},  // noSuchAttribute -> ERROR_DS_NO_ATTRIBUTE_OR_VALUE
    {17, 8204},  // undefinedAttributeType
    {18, 8238},  // inappropriateMatching
    {19, 8239},  // constraintViolation
    {20, 8205},  // attributeOrValueExists
    {21, 8203},  // invalidAttributeSyntax
    {32, 8240},  // noSuchObject -> ERROR_DS_NO_SUCH_OBJECT
    {33, 8241},  // aliasProblem
    {34, 8242},  // invalidDNSyntax
    {35, 8243},  // isLeaf
    {36, 8244},  // aliasDereferencingProblem
    {48, 8233},  // inappropriateAuthentication
    {49, 1326},  // invalidCredentials -> ERROR_LOGON_FAILURE
    {50, 5},     // insufficientAccessRights -> ERROR_ACCESS_DENIED
    {51, 8206},  // busy
    {52, 8207},  // unavailable
    {53, 8245},  // unwillingToPerform
    {54, 8246},  // loopDetect
    {64, 8247},  // namingViolation
    {65, 8212},  // objectClassViolation
    {66, 8213},  // notAllowedOnNonLeaf -> ERROR_DS_CANT_ON_NON_LEAF
    {67, 8214},  // notAllowedOnRDN
    {68, 5010},  // entryAlreadyExists -> ERROR_OBJECT_ALREADY_EXISTS
    {69, 8215},  // objectClassModsProhibited
    {70, 8248},  // resultsTooLarge
    {71, 8249},  // affectsMultipleDSAs
    {-1, 8250},  // LDAP_SERVER_DOWN -> ERROR_DS_SERVER_DOWN
    {-2, 8251},  // LDAP_LOCAL_ERROR
    {-3, 8252},  // LDAP_ENCODING_ERROR
    {-4, 8253},  // LDAP_DECODING_ERROR
    {-5, 1460},  // LDAP_TIMEOUT -> ERROR_TIMEOUT
    {-6, 8234},  // LDAP_AUTH_UNKNOWN
    {-7, 8254},  // LDAP_FILTER_ERROR -> ERROR_DS_FILTER_UNKNOWN
    {-8, 1223},  // LDAP_USER_CANCELLED -> ERROR_CANCELLED
    {-9, 8255},  // LDAP_PARAM_ERROR
    {-10, 8},    // LDAP_NO_MEMORY -> ERROR_NOT_ENOUGH_MEMORY
    {-11, 8250}, // LDAP_CONNECT_ERROR: no server to talk to
    {-12, 8256}, // LDAP_NOT_SUPPORTED
    {-13, 8258}, // LDAP_CONTROL_NOT_FOUND
    {-14, 8257}, // LDAP_NO_RESULTS_RETURNED
    {-16, 8259}, // LDAP_CLIENT_LOOP
    {-17, 8260}, // LDAP_REFERRAL_LIMIT_EXCEEDED
};

constexpr platform::ErrorCode kGeneralFailure = 8224; // ERROR_DS_OPERATIONS_ERROR

// The hexadecimal Win32 code behind "data " in an Active Directory bind
// refusal ("80090308: LdapErr: DSID-0C0903A9, comment: AcceptSecurityContext
// error, data 52e, v1db1"), or 0.
platform::ErrorCode BindSubCode(std::string_view diagnostic) {
    constexpr std::string_view kMarker = "data ";
    const std::size_t at = diagnostic.find(kMarker);
    if (at == std::string_view::npos) {
        return 0;
    }
    const std::string digits(diagnostic.substr(at + kMarker.size(), 8));
    char* end = nullptr;
    const unsigned long code = std::strtoul(digits.c_str(), &end, 16);
    if (end == digits.c_str() || code == 0 || code > 0xFFFFu) {
        return 0;
    }
    return static_cast<platform::ErrorCode>(code);
}

} // namespace

platform::ErrorCode Win32FromLdap(int ldapResult, std::string_view diagnostic) {
    if (ldapResult == 0) {
        return 0;
    }
    if (ldapResult == 49) {
        // 52e wrong password, 525 no such user, 530 logon hours, 531 not
        // from this workstation, 532 password expired, 533 disabled, 701
        // account expired, 773 must change the password, 775 locked out.
        if (const platform::ErrorCode sub = BindSubCode(diagnostic)) {
            return sub == 0x525 ? platform::error::kLogonFailure : sub;
        }
    }
    for (const LdapToWin32& entry : kTable) {
        if (entry.ldap == ldapResult) {
            return entry.win32;
        }
    }
    return kGeneralFailure;
}

platform::HResult HResultFromLdap(int ldapResult, std::string_view diagnostic) {
    return platform::hresult::FromWin32(Win32FromLdap(ldapResult, diagnostic));
}

} // namespace corvane::ldap
