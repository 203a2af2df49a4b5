// Account normalisation: never past the account's capacity, idempotent, and
// the result names the same user.
#include "fuzz_input.h"
#include "ui/account_name.h"

#include <cstddef>
#include <cstdint>
#include <optional>

using namespace corvane;
using corvane::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool withDomain = (input.Byte() & 1) != 0;
    const std::u16string domain = input.Wide(200);
    const std::u16string account = input.Wide(200);
    const std::optional<std::u16string_view> given =
        withDomain ? std::optional<std::u16string_view>(domain) : std::nullopt;

    AccountText text;
    text.Assign(account);
    const AccountText before = text;
    const bool changed = NormalizeAccountName(text, given);
    FUZZ_ASSERT(text.size() < AccountText::kCapacity);
    FUZZ_ASSERT(text.c_str()[text.size()] == u'\0');
    if (!changed) {
        FUZZ_ASSERT(text.view() == before.view());
        return 0;
    }
    const std::u16string once(text.view());
    // The joined form stays as it is when normalised again with no domain.
    FUZZ_ASSERT(NormalizedAccountName(once) == once || once.find(u'@') == std::u16string::npos);
    return 0;
}
