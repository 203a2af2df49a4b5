#include "app/command_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

struct SplitCase {
    std::u16string_view text;
    std::vector<std::u16string> arguments;
};

TEST(CommandLineSplit, FollowsTheSystemRules) {
    const std::u16string program = u"C:\\Tools\\corvane.exe";
    const SplitCase cases[] = {
        {u"", {program}},
        // Only an empty text stands for the program; a leading blank ends
        // an empty first argument.
        {u"  \t ", {u""}},
        {u"/auto", {u"/auto"}},
        {u"/auto /language=de", {u"/auto", u"/language=de"}},
        {u"  /auto\t\t/?  ", {u"", u"/auto", u"/?"}},
        // The first argument is read like a program name: no escapes.
        {u"\"a b\\\" c", {u"a b\\", u"c"}},
        {u"x \"/language=de AT\"", {u"x", u"/language=de AT"}},
        {u"x a\\\\b", {u"x", u"a\\\\b"}},
        {u"x a\\\\\"b c\"", {u"x", u"a\\b c"}},
        {u"x a\\\\\\\"b", {u"x", u"a\\\"b"}},
        // A doubled quote inside a group is a literal quote that ends the
        // group: the rest stays in one argument only while a new group runs.
        {u"x \"a\"\"b\"", {u"x", u"a\"b"}},
        {u"x \"a\"\"b\" /auto", {u"x", u"a\"b /auto"}},
        {u"x \"a\"\"b /auto", {u"x", u"a\"b", u"/auto"}},
        {u"x \"\"\" /auto", {u"x", u"\"", u"/auto"}},
        {u"x \"\"\"\" /auto", {u"x", u"\" /auto"}},
        {u"x \"a\\\"\"\" b", {u"x", u"a\"\"", u"b"}},
        {u"x \"unterminated group", {u"x", u"unterminated group"}},
        {u"x \"\"", {u"x", u""}},
        {std::u16string_view(u"/auto\0/?", 8), {u"/auto"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(Narrow(std::u16string(c.text)));
        EXPECT_EQ(SplitCommandLine(c.text, program), c.arguments);
    }
}

struct OptionCase {
    std::u16string_view argument;
    OptionKind kind;
    std::u16string_view tag;
};

TEST(CommandLineOption, RecognisesItsOptionsOnly) {
    const OptionCase cases[] = {
        {u"/auto", OptionKind::Auto, {}},
        {u"/AUTO", OptionKind::Auto, {}},
        {u"/Auto", OptionKind::Auto, {}},
        {u"/auto:yes", OptionKind::None, {}},
        {u"/automatic", OptionKind::None, {}},
        {u"-auto", OptionKind::None, {}},
        {u"/language=de-AT", OptionKind::Language, u"de-AT"},
        {u"/LANGUAGE=de-AT", OptionKind::Language, u"de-AT"},
        {u"/language=", OptionKind::Language, u""},
        {u"/language", OptionKind::None, {}},
        {u"/languages=de", OptionKind::None, {}},
        {u"/?", OptionKind::Help, {}},
        {u"/??", OptionKind::None, {}},
        {u"/exitcode=result", OptionKind::ExitCodeResult, {}},
        {u"/EXITCODE=Result", OptionKind::ExitCodeResult, {}},
        {u"/exitcode=results", OptionKind::None, {}},
        {u"/exitcode=", OptionKind::None, {}},
        {u"/exitcode", OptionKind::None, {}},
        {u"/exitcode=result ", OptionKind::None, {}},
        {u"C:\\Tools\\corvane.exe", OptionKind::None, {}},
        // Only A-Z fold: a dotless capital I or a fullwidth letter is no match.
        {u"/\u0130uto", OptionKind::None, {}},
        {u"/\uFF41uto", OptionKind::None, {}},
        {u"", OptionKind::None, {}},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(Narrow(std::u16string(c.argument)));
        const Option option = RecogniseOption(c.argument);
        EXPECT_EQ(option.kind, c.kind);
        EXPECT_EQ(option.languageTag, c.tag);
    }
}

} // namespace
} // namespace corvane
