// Account names for domain operations: the down-level form "DOMAIN\user"
// becomes the joined form "user@DOMAIN".
#pragma once

#include "model/setup_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The normalised form: the user part, then "@" and the domain when a domain
// is given (which replaces the one the account names) or found in the
// account (even an empty one). "@" wins over the backslash.
std::u16string NormalizedAccountName(std::u16string_view account,
                                     std::optional<std::u16string_view> domain = std::nullopt);

// Normalises the account in place and returns it. A result longer than the
// account's capacity is not cut into another account: the account is left
// as it was and the result is false.
bool NormalizeAccountName(AccountText& account,
                          std::optional<std::u16string_view> domain = std::nullopt);

} // namespace corvane
