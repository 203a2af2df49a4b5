// The ADSI paths the computer account operations bind.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// "LDAP://a.b.c": the domain, for the search of its computer objects.
std::u16string SearchBindPath(std::u16string_view domainDnsName);

// The unit of an OU path ("LDAP://a.b.c/OU=Berlin,OU=Sales,DC=a,DC=b,DC=c"),
// or the default computer container for the empty OU path
// ("LDAP://a.b.c/CN=Computers,DC=a,DC=b,DC=c").
std::u16string OrganizationUnitBindPath(std::u16string_view domainDnsName,
                                        std::u16string_view organizationUnitPath);

// "WinNT://a.b.c": the domain in which computer accounts are created and
// deleted.
std::u16string AccountDomainBindPath(std::u16string_view domainName);

} // namespace corvane
