// The log formatter with any format and any arguments: a defined, bounded
// text. Formats made of the conversions the log uses (integers with flags,
// width and precision; wide and narrow strings) must give exactly what the
// C library's snprintf gives for the same format.
#include "fuzz_input.h"
#include "support/text_format.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

// Each byte its own code point, as the log widens narrow text.
std::u16string Widen(std::string_view text) {
    std::u16string wide;
    for (const char c : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

// Any format, any arguments: bounded, and a format without '%' unchanged.
void FormatAnything(FuzzInput& input) {
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
}

// Printable ASCII without '%', so the reference sees the same literal text.
std::string Literal(FuzzInput& input) {
    std::string text = input.Narrow(12);
    for (char& c : text) {
        c = static_cast<char>(' ' + static_cast<unsigned char>(c) % 95);
        if (c == '%') {
            c = '_';
        }
    }
    return text;
}

// One conversion the log uses: its directive for both formatters, its argument
// for ours, and the text snprintf makes of it.
struct Piece {
    std::string directive;
    std::string expected;
};

Piece Conversion(FuzzInput& input, std::vector<std::u16string>& wides,
                 std::vector<std::string>& narrows, std::vector<FormatArg>& args) {
    const std::uint8_t kind = input.Byte() % 9;
    const std::uint8_t flagBits = input.Byte();
    const bool text = kind >= 6;
    std::string directive = "%";
    const char* flags = "-0#+ ";
    for (int bit = 0; bit < 5; ++bit) {
        // '0' with a string is undefined in C (the Windows library pads with
        // zeros): not compared.
        if ((flagBits >> bit & 1) != 0 && !(text && flags[bit] == '0')) {
            directive += flags[bit];
        }
    }
    const std::uint8_t width = input.Byte();
    if (width % 2 != 0) {
        directive += std::to_string(width / 2 % 40);
    }
    const std::uint8_t precision = input.Byte();
    if (precision % 2 != 0) {
        directive += '.';
        if (precision % 4 == 3) {
            directive += std::to_string(precision / 4 % 40);
        }
    }
    std::string printfDirective = directive;
    char buffer[256];
    int written = 0;
    if (!text) {
        const char conversion = "diuxXo"[kind];
        directive += conversion;
        printfDirective += conversion;
        const std::uint32_t bits = input.Number();
        if (conversion == 'd' || conversion == 'i' || (input.Byte() & 1) != 0) {
            // The log's codes: 32-bit signed values, for every conversion.
            args.emplace_back(static_cast<std::int32_t>(bits));
            written = conversion == 'd' || conversion == 'i'
                          ? std::snprintf(buffer, sizeof buffer, printfDirective.c_str(),
                                          static_cast<int>(static_cast<std::int32_t>(bits)))
                          : std::snprintf(buffer, sizeof buffer, printfDirective.c_str(), bits);
        } else {
            args.emplace_back(bits);
            written = std::snprintf(buffer, sizeof buffer, printfDirective.c_str(), bits);
        }
    } else {
        std::string value = Literal(input);
        if (kind == 6) {
            directive += 's'; // wide
            wides.push_back(Widen(value));
            args.emplace_back(std::u16string_view(wides.back()));
        } else {
            directive += 'S'; // narrow
            narrows.push_back(value);
            args.emplace_back(std::string_view(narrows.back()));
        }
        printfDirective += 's';
        written = std::snprintf(buffer, sizeof buffer, printfDirective.c_str(), value.c_str());
    }
    FUZZ_ASSERT(written >= 0 && static_cast<std::size_t>(written) < sizeof buffer);
    return {directive, std::string(buffer, static_cast<std::size_t>(written))};
}

void CompareWithReference(FuzzInput& input) {
    std::vector<std::u16string> wides;
    std::vector<std::string> narrows;
    std::vector<FormatArg> args;
    wides.reserve(8);
    narrows.reserve(8);
    std::string format;
    std::string expected;
    const int pieces = 1 + input.Byte() % 8;
    for (int i = 0; i < pieces; ++i) {
        const std::string literal = Literal(input);
        format += literal;
        expected += literal;
        if ((input.Byte() & 3) == 0) {
            format += "%%";
            expected += '%';
        }
        const Piece piece = Conversion(input, wides, narrows, args);
        format += piece.directive;
        expected += piece.expected;
    }
    const std::u16string text = FormatTextArgs(Widen(format), args);
    if (text != Widen(expected)) {
        std::fprintf(stderr, "format \"%s\": expected \"%s\"\n", format.c_str(), expected.c_str());
    }
    FUZZ_ASSERT(text == Widen(expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    if ((input.Byte() & 1) != 0) {
        CompareWithReference(input);
    } else {
        FormatAnything(input);
    }
    return 0;
}
