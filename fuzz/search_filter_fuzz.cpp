// The computer search filter: whatever the name, the filter parses, asks for
// exactly that name and matches no other; an escaped value holds none of the
// filter's special characters.
#include "directory/search_filter.h"
#include "fuzz_input.h"
#include "platform/sim/directory/ldap_filter.h"
#include "platform/sim/text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

bool HasUnpairedSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string name = input.Wide(100);
    const std::u16string other = input.Wide(100);

    const std::u16string escaped = EscapeFilterValue(name);
    for (const char16_t c : escaped) {
        FUZZ_ASSERT(c != u'*' && c != u'(' && c != u')' && c != u'\0');
    }

    // The sim reads values as UTF-8, which an unpaired surrogate has no form in.
    if (HasUnpairedSurrogate(name) || HasUnpairedSurrogate(other)) {
        return 0;
    }
    const std::optional<sim::LdapFilter> filter =
        sim::LdapFilter::Parse(ComputerSearchFilter(name));
    FUZZ_ASSERT(filter.has_value());
    FUZZ_ASSERT(filter->RequiredValue(u"name") == name);

    auto object = [](std::u16string_view objectName) {
        return [objectName](std::u16string_view attribute) -> std::vector<std::u16string> {
            if (attribute == u"objectClass") {
                return {u"top", u"computer"};
            }
            if (attribute == u"name") {
                return {std::u16string(objectName)};
            }
            return {};
        };
    };
    FUZZ_ASSERT(filter->Matches(object(name)));
    // No wildcard or syntax in the name widens the search to another object.
    // (names compare without regard to case, as the directory's do).
    if (sim::Fold(name) != sim::Fold(other)) {
        FUZZ_ASSERT(!filter->Matches(object(other)));
    }
    return 0;
}
