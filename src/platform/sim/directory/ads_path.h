// ADSI path strings of the two providers the program uses:
// "LDAP://server/DN", "LDAP://server", "LDAP://DN" (serverless),
// "WinNT://domain" and "WinNT://domain/object". Provider names are
// case-sensitive, as ADSI's are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::sim {

enum class AdsProvider { Ldap, WinNt };

struct AdsPath {
    AdsProvider provider = AdsProvider::Ldap;
    // The server as written (LDAP, possibly with ":port"; empty when
    // serverless) or the domain (WinNT).
    std::u16string server;
    // LDAP: the DN as written, with ADSI's "\/" escapes; empty for the
    // server's default naming context. WinNT: the object below the domain.
    std::u16string object;
};

// Nothing for an unknown provider or a path without its server or domain.
std::optional<AdsPath> ParseAdsPath(std::u16string_view path);

// The server part without a ":port" suffix.
std::u16string_view ServerHost(std::u16string_view server);

// An LDAP ADsPath as the search returns it: "LDAP://server/DN" (or
// "LDAP://DN" serverless), slashes in the DN escaped as "\/".
std::u16string FormatLdapPath(std::u16string_view server, std::u16string_view dn);

} // namespace corvane::sim
