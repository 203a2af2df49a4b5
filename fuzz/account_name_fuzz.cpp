// Account normalisation: never past the account's capacity, and the result
// names the same user of the same domain, in the joined form that reads
// back as itself.
#include "fuzz_input.h"
#include "ui/account_name.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

// Who an account names, read independently of the normaliser: "user@domain"
// (the first '@' ends the user), "DOMAIN\user" (the first backslash ends
// the domain), or a bare user without a domain.
struct Principal {
    std::u16string user;
    std::optional<std::u16string> domain;
};

Principal PrincipalOf(std::u16string_view account) {
    if (const std::size_t at = account.find(u'@'); at != std::u16string_view::npos) {
        return {std::u16string(account.substr(0, at)), std::u16string(account.substr(at + 1))};
    }
    if (const std::size_t slash = account.find(u'\\'); slash != std::u16string_view::npos) {
        return {std::u16string(account.substr(slash + 1)),
                std::u16string(account.substr(0, slash))};
    }
    return {std::u16string(account), std::nullopt};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool withDomain = (input.Byte() & 1) != 0;
    // Callers give the domain as a terminated text: it ends at a NUL.
    std::u16string domain = input.Wide(200);
    domain.resize(std::min(domain.size(), domain.find(u'\0')));
    const std::u16string account = input.Wide(200);
    const std::optional<std::u16string_view> given =
        withDomain ? std::optional<std::u16string_view>(domain) : std::nullopt;

    AccountText text;
    text.Assign(account);
    const AccountText before = text;
    const bool changed = NormalizeAccountName(text, given);
    FUZZ_ASSERT(text.size() < AccountText::kCapacity);
    FUZZ_ASSERT(text.c_str()[text.size()] == u'\0');

    // The same user, with the given domain or else the account's own.
    Principal expected = PrincipalOf(before.view());
    if (given) {
        expected.domain = std::u16string(*given);
    }
    std::u16string joined = expected.user;
    if (expected.domain) {
        joined += u'@';
        joined += *expected.domain;
    }
    FUZZ_ASSERT(NormalizedAccountName(before.view(), given) == joined);

    if (!changed) {
        // Refused only when the joined form does not fit; the account stays.
        FUZZ_ASSERT(joined.size() >= AccountText::kCapacity);
        FUZZ_ASSERT(text.view() == before.view());
        return 0;
    }
    FUZZ_ASSERT(text.view() == joined);
    const Principal result = PrincipalOf(text.view());
    FUZZ_ASSERT(result.user == expected.user);
    if (expected.domain) {
        FUZZ_ASSERT(result.domain == expected.domain);
    }
    // Stable: the joined form normalises to itself.
    FUZZ_ASSERT(NormalizedAccountName(text.view()) == text.view());
    // The down-level spelling of the same user gives the same joined form
    // (a domain with '@' or a backslash has no down-level spelling).
    if (expected.domain && expected.domain->find_first_of(u"@\\") == std::u16string::npos) {
        const std::u16string downLevel = *expected.domain + u"\\" + expected.user;
        FUZZ_ASSERT(NormalizedAccountName(downLevel) == text.view());
    }
    return 0;
}
