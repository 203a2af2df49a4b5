// What the platform's directory calls return for an LDAP result: the Win32
// code that Windows maps each LDAP result code to (ERROR_DS_* for most),
// refined for a refused bind by the Active Directory sub-code that the
// server puts in its diagnostic message ("... data 52e, ..."), as ADSI
// reports it.
#pragma once

#include "platform/types.h"

#include <string_view>

namespace corvane::ldap {

// The Win32 code for an LDAP result code and the server's diagnostic text
// (may be empty). 0 for LDAP_SUCCESS.
platform::ErrorCode Win32FromLdap(int ldapResult, std::string_view diagnostic);

// The same as an HRESULT (HRESULT_FROM_WIN32).
platform::HResult HResultFromLdap(int ldapResult, std::string_view diagnostic);

} // namespace corvane::ldap
