#include "directory/directory_paths.h"

#include "directory/distinguished_name.h"

namespace corvane {

std::u16string SearchBindPath(std::u16string_view domainDnsName) {
    std::u16string path(u"LDAP://");
    return path.append(domainDnsName);
}

std::u16string OrganizationUnitBindPath(std::u16string_view domainDnsName,
                                        std::u16string_view organizationUnitPath) {
    const std::u16string domainPart = ComposeDistinguishedName(domainDnsName, u"DC", u'.', false);
    std::u16string path = SearchBindPath(domainDnsName) + u"/";
    if (organizationUnitPath.empty()) {
        path += u"CN=Computers";
    } else {
        path += ComposeDistinguishedName(organizationUnitPath, u"OU", u'\\', true);
    }
    return path + u"," + domainPart;
}

std::u16string AccountDomainBindPath(std::u16string_view domainName) {
    std::u16string path(u"WinNT://");
    return path.append(domainName);
}

} // namespace corvane
