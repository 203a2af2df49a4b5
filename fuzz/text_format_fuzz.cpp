// The log formatter with any format and any arguments: a defined text,
// never a read past an argument or the format.
#include "fuzz_input.h"
#include "support/text_format.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string format = input.Wide(120);
    std::vector<std::u16string> wides;
    std::vector<std::string> narrows;
    std::vector<FormatArg> args;
    const int count = input.Byte() % 8;
    wides.reserve(8);
    narrows.reserve(8);
    for (int i = 0; i < count; ++i) {
        switch (input.Byte() % 6) {
        case 0:
            wides.push_back(input.Wide(64));
            args.emplace_back(std::u16string_view(wides.back()));
            break;
        case 1:
            narrows.push_back(input.Narrow(64));
            args.emplace_back(std::string_view(narrows.back()));
            break;
        case 2:
            args.emplace_back(static_cast<std::int32_t>(input.Number()));
            break;
        case 3:
            args.emplace_back(static_cast<std::uint64_t>(input.Number()) << 32 | input.Number());
            break;
        case 4:
            args.emplace_back(
                reinterpret_cast<const void*>(static_cast<std::uintptr_t>(input.Number())));
            break;
        default:
            args.emplace_back(static_cast<const char16_t*>(nullptr));
            break;
        }
    }
    const std::u16string text = FormatTextArgs(format, args);
    // Widths and precisions come from the format or the arguments and are
    // bounded: the result cannot explode.
    FUZZ_ASSERT(text.size() < 64 * 1024 * 1024);
    if (format.find(u'%') == std::u16string::npos) {
        FUZZ_ASSERT(text == format);
    }
    return 0;
}
