// The LDAP search filter that finds a computer object by its name.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Escapes an assertion value of an LDAP filter: '*', '(', ')', '\' and NUL
// become "\2a", "\28", "\29", "\5c" and "\00", so that the value is matched
// as it stands and never read as a wildcard or as filter syntax.
std::u16string EscapeFilterValue(std::u16string_view value);

// "(&(objectClass=computer)(name=NAME))" with the name escaped.
std::u16string ComputerSearchFilter(std::u16string_view computerName);

} // namespace corvane
