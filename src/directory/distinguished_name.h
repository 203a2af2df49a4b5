// Translation between the display forms the program uses (a domain's DNS
// name, an OU path such as "\Sales\Berlin") and the parts of an LDAP
// distinguished name ("DC=a,DC=b,DC=c", "OU=Berlin,OU=Sales").
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// One component `type`=piece for each `separator`-delimited piece of `text`;
// empty pieces give none. The characters , + = " CR LF < > # ; of a piece are
// escaped with a backslash. Not reversed, the components keep the order of
// the pieces; reversed, the last piece comes first (an OU path lists the
// root first, a DN the leaf first).
std::u16string ComposeDistinguishedName(std::u16string_view text, std::u16string_view type,
                                        char16_t separator, bool reversed);

// The values of every `type`= component of `dn` (found as a case-sensitive
// substring), root first, each preceded by `separator`: the OU path of
// "CN=PC1,OU=Berlin,OU=Sales,DC=a" is "\Sales\Berlin". A backslash makes the
// next character literal; hexadecimal escape pairs are not decoded.
std::u16string ExtractNamePath(std::u16string_view dn, std::u16string_view type,
                               char16_t separator);

} // namespace corvane
