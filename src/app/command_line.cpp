#include "app/command_line.h"

#include "platform/ascii_text.h"

namespace corvane {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// The first argument: a program name, which knows no escapes.
std::size_t ReadProgramName(std::u16string_view text, std::u16string& argument) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == u'"') {
        ++i;
        while (i < text.size() && text[i] != u'"') {
            argument.push_back(text[i++]);
        }
        if (i < text.size()) {
            ++i; // the closing quote
        }
    } else {
        while (i < text.size() && !IsBlank(text[i])) {
            argument.push_back(text[i++]);
        }
    }
    return i;
}

// Any later argument, with the backslash and quote rules.
std::size_t ReadArgument(std::u16string_view text, std::size_t i, std::u16string& argument) {
    bool quoted = false;
    while (i < text.size() && (quoted || !IsBlank(text[i]))) {
        if (text[i] == u'\\') {
            std::size_t backslashes = 0;
            while (i < text.size() && text[i] == u'\\') {
                ++backslashes;
                ++i;
            }
            if (i < text.size() && text[i] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument.push_back(u'"');
                    ++i;
                }
                // An even count leaves the quote to the grouping below.
            } else {
                argument.append(backslashes, u'\\');
            }
            continue;
        }
        if (text[i] == u'"') {
            // Inside a group a doubled quote is one literal quote, and the
            // group ends with it: "a""b" c is the two arguments a"b and c.
            if (quoted && i + 1 < text.size() && text[i + 1] == u'"') {
                argument.push_back(u'"');
                i += 2;
                quoted = false;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        argument.push_back(text[i++]);
    }
    return i;
}

} // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view text,
                                             std::u16string_view programPath) {
    // The text ends at the first NUL, as a C string would.
    text = text.substr(0, text.find(u'\0'));
    if (text.empty()) {
        return {std::u16string(programPath)};
    }
    // The first argument starts at once: a leading blank makes it empty.
    std::vector<std::u16string> arguments;
    std::u16string first;
    std::size_t i = ReadProgramName(text, first);
    arguments.push_back(std::move(first));
    for (;;) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        std::u16string argument;
        i = ReadArgument(text, i, argument);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

Option RecogniseOption(std::u16string_view argument) {
    constexpr std::u16string_view kLanguage = u"/language=";
    if (EqualsIgnoringAsciiCase(argument, u"/auto")) {
        return {OptionKind::Auto, {}};
    }
    if (argument.size() >= kLanguage.size() &&
        EqualsIgnoringAsciiCase(argument.substr(0, kLanguage.size()), kLanguage)) {
        return {OptionKind::Language, argument.substr(kLanguage.size())};
    }
    if (argument == u"/?") {
        return {OptionKind::Help, {}};
    }
    if (EqualsIgnoringAsciiCase(argument, u"/exitcode=result")) {
        return {OptionKind::ExitCodeResult, {}};
    }
    return {};
}

} // namespace corvane
