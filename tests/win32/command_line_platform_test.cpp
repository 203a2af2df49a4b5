// The program's command-line split against the system's own
// CommandLineToArgvW on lines that exercise every rule.
#include "app/command_line.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <string>
#include <vector>

namespace corvane {
namespace {

std::vector<std::u16string> SystemSplit(const std::wstring& line) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::u16string> result;
    if (arguments == nullptr) {
        return result;
    }
    for (int i = 0; i < count; ++i) {
        const std::wstring argument(arguments[i]);
        result.emplace_back(argument.begin(), argument.end());
    }
    LocalFree(arguments);
    return result;
}

std::u16string ModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    const std::wstring text(path);
    return std::u16string(text.begin(), text.end());
}

TEST(CommandLineSplitOnWindows, MatchesCommandLineToArgvW) {
    const wchar_t* const lines[] = {
        L"",
        L" ",
        L"  \t ",
        L"/auto",
        L"  /auto\t\t/?  ",
        L"\"a b\\\" c",
        L"\"C:\\Program Files\\corvane.exe\"/auto",
        L"x \"/language=de AT\"",
        L"x a\\\\b",
        L"x a\\\\\"b c\"",
        L"x a\\\\\\\"b",
        L"x \"a\"\"b\"",
        L"x \"a\"\"b\" /auto",
        L"x \"a\"\"b /auto",
        L"x \"\"\" /auto",
        L"x \"\"\"\" /auto",
        L"x \"a\\\"\"\" b",
        L"x \\\"\" y \"",
        L"x \"unterminated group",
        L"x \"\"",
        L"x a\"b\"c\"\"d\"\"\"e",
        L"x \\\\\\\\\" a b\"",
    };
    const std::u16string program = ModulePath();
    for (const wchar_t* line : lines) {
        const std::wstring text(line);
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        EXPECT_EQ(SplitCommandLine(std::u16string(text.begin(), text.end()), program),
                  SystemSplit(text));
    }
}

} // namespace
} // namespace corvane
