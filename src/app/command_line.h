// The program's command line: split as CommandLineToArgvW splits it, and
// the options recognised in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Splits the text behind the program name into arguments with the rules of
// CommandLineToArgvW (shell32), which the C runtime's own splitting of
// Visual C++ 2008 and later differs from on doubled quotes. Blanks and tabs
// separate; double quotes group; 2n backslashes before a quote give n
// backslashes and a grouping quote, 2n+1 give n backslashes and a literal
// quote; other backslashes are literal; inside a group a doubled quote is a
// literal quote that also ends the group. The first argument is read like a
// program name from the very first character: up to the next blank (empty
// when the text begins with one), or between quotes without escapes. An
// empty text gives `programPath` alone.
std::vector<std::u16string> SplitCommandLine(std::u16string_view text,
                                             std::u16string_view programPath);

enum class OptionKind { None, Auto, Language, Help, ExitCodeResult };

struct Option {
    OptionKind kind = OptionKind::None;
    std::u16string_view languageTag; // for Language: the rest of the argument
};

// Recognises one argument: "/auto" (whole, letters without regard to case),
// "/language=" (first ten characters, likewise), "/?" (exactly) and
// "/exitcode=result" (whole, letters without regard to case).
Option RecogniseOption(std::u16string_view argument);

} // namespace corvane
