// Environment variables: the log path is built from TEMP and expanded with
// ExpandEnvironmentStringsW, so the size results must be exact.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

constexpr const char16_t* kName = u"CorvaneContractValue";

class VariableScope {
public:
    VariableScope(platform::Environment& environment, const char16_t* value)
        : environment_(environment) {
        EXPECT_TRUE(environment_.SetVariable(kName, value));
    }
    ~VariableScope() { environment_.SetVariable(kName, nullptr); }

private:
    platform::Environment& environment_;
};

TEST_P(PlatformContract, EnvironmentGetVariableReportsLengthOrNeededSize) {
    VariableScope scope(Os().environment, u"abc");
    struct Case {
        std::uint32_t size;
        std::uint32_t result;
        const char16_t* text; // null: the buffer holds nothing usable
    };
    const Case cases[] = {
        {0, 4, nullptr}, // size probe: length plus terminator
        {3, 4, nullptr}, // one short of the terminator
        {4, 3, u"abc"},  // exact fit: the length without terminator
        {64, 3, u"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::array<char16_t, 64> buffer{};
        const std::uint32_t result =
            Os().environment.GetVariable(kName, c.size == 0 ? nullptr : buffer.data(), c.size);
        EXPECT_EQ(result, c.result);
        if (c.text != nullptr) {
            EXPECT_EQ(Terminated(buffer.data()), c.text);
        }
    }
}

TEST_P(PlatformContract, EnvironmentNamesIgnoreCaseAndNullRemoves) {
    platform::Environment& environment = Os().environment;
    {
        VariableScope scope(environment, u"C:\\Temp");
        std::array<char16_t, 32> buffer{};
        EXPECT_EQ(environment.GetVariable(u"CORVANECONTRACTVALUE", buffer.data(), 32), 7u);
        EXPECT_EQ(Terminated(buffer.data()), u"C:\\Temp");
        EXPECT_TRUE(environment.SetVariable(kName, nullptr));
        EXPECT_EQ(environment.GetVariable(kName, buffer.data(), 32), 0u);
    }
    std::array<char16_t, 8> buffer{};
    EXPECT_EQ(environment.GetVariable(u"CorvaneContractNeverSet", buffer.data(), 8), 0u);
}

TEST_P(PlatformContract, EnvironmentExpandsSetVariablesAndKeepsOthers) {
    VariableScope scope(Os().environment, u"C:\\Temp");
    struct Case {
        const char16_t* source;
        const char16_t* expanded;
    };
    const Case cases[] = {
        {u"%CorvaneContractValue%\\corvane.log", u"C:\\Temp\\corvane.log"},
        {u"%corvanecontractvalue%%CORVANECONTRACTVALUE%", u"C:\\TempC:\\Temp"},
        {u"%CorvaneContractUnset%\\corvane.log", u"%CorvaneContractUnset%\\corvane.log"},
        {u"corvane.log", u"corvane.log"},
        {u"100%", u"100%"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.source));
        std::array<char16_t, 128> buffer{};
        const std::uint32_t result = Os().environment.ExpandStrings(c.source, buffer.data(), 128);
        EXPECT_EQ(result, std::u16string_view(c.expanded).size() + 1);
        EXPECT_EQ(Terminated(buffer.data()), c.expanded);
    }
}

TEST_P(PlatformContract, EnvironmentExpandReportsNeededSizeWhenBufferIsShort) {
    VariableScope scope(Os().environment, u"C:\\Temp");
    const char16_t* source = u"%CorvaneContractValue%\\x"; // "C:\Temp\x": 9 + terminator
    EXPECT_EQ(Os().environment.ExpandStrings(source, nullptr, 0), 10u);
    std::array<char16_t, 16> buffer{};
    EXPECT_EQ(Os().environment.ExpandStrings(source, buffer.data(), 9), 10u);
    EXPECT_EQ(Os().environment.ExpandStrings(source, buffer.data(), 10), 10u);
    EXPECT_EQ(Terminated(buffer.data()), u"C:\\Temp\\x");
}

// The log falls back to the platform's temporary directory: TMP first,
// always with a final backslash, unchecked, with the usual size results.
TEST_P(PlatformContract, TempPathFollowsTmpAndEndsInABackslash) {
    platform::Environment& environment = Os().environment;
    std::array<char16_t, 260> saved{};
    const std::uint32_t savedLength = environment.GetVariable(u"TMP", saved.data(), 260);
    ASSERT_TRUE(environment.SetVariable(u"TMP", u"C:\\CorvaneContractTmp"));
    std::array<char16_t, 64> buffer{};
    EXPECT_EQ(Os().files.GetTempPath(64, buffer.data()), 22u);
    EXPECT_EQ(Terminated(buffer.data()), u"C:\\CorvaneContractTmp\\");
    EXPECT_EQ(Os().files.GetTempPath(10, buffer.data()), 23u);
    environment.SetVariable(u"TMP", savedLength == 0 ? nullptr : saved.data());

    std::array<char16_t, 260> windows{};
    const std::uint32_t length = Os().files.GetSystemWindowsDirectory(windows.data(), 260);
    ASSERT_GT(length, 2u);
    EXPECT_EQ(windows[1], u':');
    EXPECT_NE(windows[length - 1], u'\\');
    EXPECT_EQ(Os().files.GetSystemWindowsDirectory(windows.data(), 2), length + 1);
}

} // namespace
} // namespace corvane::contract
