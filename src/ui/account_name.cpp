#include "ui/account_name.h"

namespace corvane {

std::u16string NormalizedAccountName(std::u16string_view account,
                                     std::optional<std::u16string_view> domain) {
    std::u16string_view user = account;
    std::optional<std::u16string_view> found;
    if (const std::size_t at = account.find(u'@'); at != std::u16string_view::npos) {
        user = account.substr(0, at);
        found = account.substr(at + 1);
    } else if (const std::size_t slash = account.find(u'\\'); slash != std::u16string_view::npos) {
        user = account.substr(slash + 1);
        found = account.substr(0, slash);
    }
    if (domain) {
        found = domain;
    }
    std::u16string result(user);
    if (found) {
        result += u'@';
        result += *found;
    }
    return result;
}

bool NormalizeAccountName(AccountText& account, std::optional<std::u16string_view> domain) {
    const std::u16string normalized = NormalizedAccountName(account.view(), domain);
    if (normalized.size() >= AccountText::kCapacity) {
        return false;
    }
    account.Assign(normalized);
    return true;
}

} // namespace corvane
