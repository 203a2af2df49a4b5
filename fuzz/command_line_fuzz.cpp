// The command-line split against a reference written the other way round:
// a character-by-character reading that counts runs of quotes, as the
// system's CommandLineToArgvW rules are usually stated, instead of the
// product's look-ahead at the next character. Any difference is a fault of
// one of the two. Option recognition is checked on every argument.
#include "app/command_line.h"
#include "fuzz_input.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace corvane;
using corvane::fuzz::FuzzInput;

namespace {

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t';
}

// CommandLineToArgvW: the program name first (quoted without escapes, or
// up to a blank), then arguments in which backslashes count only before a
// quote, and every quote of a run moves a counter: 1 means inside a group,
// the third quote of a run is a literal one and resets the counter, and a
// run that ends on 2 leaves the group.
std::vector<std::u16string> ReferenceSplit(std::u16string text, const std::u16string& program) {
    const std::size_t nul = text.find(u'\0');
    if (nul != std::u16string::npos) {
        text.resize(nul);
    }
    if (text.empty()) {
        return {program};
    }
    std::vector<std::u16string> arguments(1);
    std::size_t i = 0;
    if (text[0] == u'"') {
        for (i = 1; i < text.size() && text[i] != u'"'; ++i) {
            arguments[0].push_back(text[i]);
        }
        if (i < text.size()) {
            ++i;
        }
    } else {
        for (; i < text.size() && !IsSeparator(text[i]); ++i) {
            arguments[0].push_back(text[i]);
        }
    }
    while (i < text.size() && IsSeparator(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return arguments;
    }

    std::u16string current;
    int quotes = 0; // 1: inside a group
    std::size_t slashes = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsSeparator(c) && quotes == 0) {
            current.append(slashes, u'\\');
            slashes = 0;
            arguments.push_back(current);
            current.clear();
            while (i + 1 < text.size() && IsSeparator(text[i + 1])) {
                ++i;
            }
            if (i + 1 == text.size()) {
                return arguments;
            }
            continue;
        }
        if (c == u'\\') {
            ++slashes;
            continue;
        }
        if (c == u'"') {
            current.append(slashes / 2, u'\\');
            if (slashes % 2 == 1) {
                current.push_back(u'"');
            } else {
                ++quotes;
            }
            slashes = 0;
            while (i + 1 < text.size() && text[i + 1] == u'"') {
                ++i;
                if (++quotes == 3) {
                    current.push_back(u'"');
                    quotes = 0;
                }
            }
            if (quotes == 2) {
                quotes = 0;
            }
            continue;
        }
        current.append(slashes, u'\\');
        slashes = 0;
        current.push_back(c);
    }
    current.append(slashes, u'\\');
    arguments.push_back(current);
    return arguments;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string text = input.RestWide();
    const std::u16string program = u"C:\\corvane.exe";
    const std::vector<std::u16string> arguments = SplitCommandLine(text, program);
    FUZZ_ASSERT(arguments == ReferenceSplit(text, program));
    for (const std::u16string& argument : arguments) {
        FUZZ_ASSERT(argument.find(u'\0') == std::u16string::npos);
        const Option option = RecogniseOption(argument);
        if (option.kind == OptionKind::Language) {
            FUZZ_ASSERT(option.languageTag.size() + 10 == argument.size());
        }
        if (option.kind == OptionKind::Auto) {
            FUZZ_ASSERT(argument.size() == 5);
        }
    }
    return 0;
}
