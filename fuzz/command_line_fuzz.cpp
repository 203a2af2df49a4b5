// The command-line split and option recognition on any text.
#include "app/command_line.h"
#include "fuzz_input.h"

#include <cstddef>
#include <cstdint>

using namespace corvane;
using corvane::fuzz::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string text = input.RestWide();
    const std::vector<std::u16string> arguments = SplitCommandLine(text, u"C:\\corvane.exe");
    FUZZ_ASSERT(!arguments.empty());
    std::size_t total = 0;
    for (const std::u16string& argument : arguments) {
        total += argument.size();
        // No argument holds a separator unless it was quoted, and none a NUL.
        FUZZ_ASSERT(argument.find(u'\0') == std::u16string::npos);
        const Option option = RecogniseOption(argument);
        if (option.kind == OptionKind::Language) {
            FUZZ_ASSERT(option.languageTag.size() + 10 == argument.size());
        }
        if (option.kind == OptionKind::Auto) {
            FUZZ_ASSERT(argument.size() == 5);
        }
    }
    // Splitting never invents text: the arguments are no longer than the line
    // (the program path stands in only for an empty line).
    FUZZ_ASSERT(total <= text.size() || arguments.size() == 1);
    return 0;
}
