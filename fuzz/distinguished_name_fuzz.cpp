// Distinguished names from display forms and back: composing escapes every
// special character of a piece, so extracting the same type gives the pieces
// again in root-first order; extracting never reads outside the name.
#include "directory/distinguished_name.h"
#include "fuzz_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

std::vector<std::u16string> Pieces(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) {
            pieces.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return pieces;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool reversed = (input.Byte() & 1) != 0;
    const std::u16string text = input.Wide(200);
    const std::u16string dn = input.Wide(300);

    // Arbitrary names: the extraction only has to stay within them.
    const std::u16string extracted = ExtractNamePath(dn, u"OU", u'\\');
    FUZZ_ASSERT(extracted.size() <= dn.size() + dn.size() / 3 + 1);

    // An OU path whose pieces hold no '=' (an "OU=" inside a piece would be
    // found again as a component, by design of the substring search).
    if (text.find(u'=') != std::u16string::npos) {
        return 0;
    }
    const std::u16string composed = ComposeDistinguishedName(text, u"OU", u'\\', reversed);
    std::vector<std::u16string> pieces = Pieces(text, u'\\');
    if (pieces.empty()) {
        FUZZ_ASSERT(composed.empty());
        return 0;
    }
    if (!reversed) {
        // Not reversed the components keep the path's order, so read back
        // they come out last piece first.
        std::reverse(pieces.begin(), pieces.end());
    }
    std::u16string expected;
    for (const std::u16string& piece : pieces) {
        expected += u'\\';
        expected += piece;
    }
    FUZZ_ASSERT(ExtractNamePath(composed, u"OU", u'\\') == expected);
    return 0;
}
