#include "app/start_with_windows.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using platform::RegistryRoot;

constexpr std::u16string_view kRunKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::u16string_view kValueName = u"quendle";

// REG_SZ data as Windows stores it: UTF-16LE with the terminator.
std::vector<std::uint8_t> RegSzBytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

// A module path of exactly `length` characters.
std::u16string ModulePathOfLength(std::size_t length) {
    const std::u16string prefix = u"C:\\Program Files\\";
    const std::u16string suffix = u"\\corvane.exe";
    return prefix + std::u16string(length - prefix.size() - suffix.size(), u'd') + suffix;
}

class StartWithWindowsTest : public testing::Test {
protected:
    std::optional<sim::RegistryValueRecord> Value() const {
        return world.RegistryValue(RegistryRoot::LocalMachine, kRunKey, kValueName);
    }
    void PutValue(std::uint32_t type, std::vector<std::uint8_t> data) {
        world.SetRegistryValue(RegistryRoot::LocalMachine, kRunKey, kValueName, type,
                               std::move(data));
    }

    sim::World world;
};

TEST_F(StartWithWindowsTest, AnyValueOfThatNameCountsAsRegistered) {
    EXPECT_FALSE(IsStartWithWindowsEnabled(world.platform()));

    struct Case {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {platform::kRegSz, RegSzBytes(u"C:\\Tools\\corvane.exe")},
        {platform::kRegSz, RegSzBytes(u"")},
        {platform::kRegSz, RegSzBytes(u"C:\\Other\\program.exe /quiet")},
        {platform::kRegSz, {}},
        {platform::kRegDword, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        PutValue(c.type, c.data);
        EXPECT_TRUE(IsStartWithWindowsEnabled(world.platform()));
    }
    // Another value under the Run key is not ours.
    ASSERT_TRUE(world.DeleteRegistryValue(RegistryRoot::LocalMachine, kRunKey, kValueName));
    world.SetRegistryString(RegistryRoot::LocalMachine, kRunKey, u"quendle2", u"x");
    EXPECT_FALSE(IsStartWithWindowsEnabled(world.platform()));
    EXPECT_EQ(0u, world.OpenRegistryKeyCount());
}

TEST_F(StartWithWindowsTest, ARunKeyThatCannotBeOpenedReadsAsAbsent) {
    PutValue(platform::kRegSz, RegSzBytes(u"C:\\Tools\\corvane.exe"));
    world.SetRegistryKeyAccess(RegistryRoot::LocalMachine, kRunKey, sim::RegistryAccess::Denied);
    EXPECT_FALSE(IsStartWithWindowsEnabled(world.platform()));
    EXPECT_EQ(0u, world.OpenRegistryKeyCount());
}

TEST_F(StartWithWindowsTest, WritesTheQuotedExecutablePathByteExact) {
    struct Case {
        std::u16string_view module;
        std::u16string_view command;
    };
    const Case cases[] = {
        {u"C:\\Program Files\\Corvane\\corvane.exe",
         u"\"C:\\Program Files\\Corvane\\corvane.exe\""},
        {u"C:\\Tools\\corvane.exe", u"\"C:\\Tools\\corvane.exe\""},
    };
    for (const Case& c : cases) {
        world.SetModulePath(c.module);
        SetStartWithWindows(world.platform());
        const auto value = Value();
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(platform::kRegSz, value->type);
        EXPECT_EQ(RegSzBytes(c.command), value->data); // size counts quotes and terminator
        EXPECT_EQ((c.command.size() + 1) * 2, value->data.size());
    }
    EXPECT_EQ(0u, world.OpenRegistryKeyCount());
}

TEST_F(StartWithWindowsTest, AnEarlierValueOfAnyTypeIsReplacedWithThePresentPath) {
    PutValue(platform::kRegDword, {7, 0, 0, 0});
    world.SetModulePath(u"D:\\Moved\\corvane.exe");
    SetStartWithWindows(world.platform());
    const auto value = Value();
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(platform::kRegSz, value->type);
    EXPECT_EQ(RegSzBytes(u"\"D:\\Moved\\corvane.exe\""), value->data);
    // Nothing else under the machine changed.
    const auto changes = world.RegistryChanges();
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(kValueName, changes[0].after->name);
}

TEST_F(StartWithWindowsTest, APathThatDoesNotFitWithItsQuotesKeepsTheExistingValue) {
    const std::vector<std::uint8_t> earlier = RegSzBytes(u"\"C:\\Tools\\corvane.exe\"");
    struct Case {
        std::size_t pathLength;
        bool written;
    };
    // Quotes and terminator make 261 code units for a path of 258.
    const Case cases[] = {{257, true}, {258, true}, {259, false}, {260, false}, {300, false}};
    for (const Case& c : cases) {
        PutValue(platform::kRegSz, earlier);
        const std::u16string module = ModulePathOfLength(c.pathLength);
        ASSERT_EQ(c.pathLength, module.size());
        world.SetModulePath(module);
        SetStartWithWindows(world.platform());
        const auto value = Value();
        ASSERT_TRUE(value.has_value());
        if (c.written) {
            EXPECT_EQ(RegSzBytes(u"\"" + module + u"\""), value->data) << c.pathLength;
        } else {
            EXPECT_EQ(earlier, value->data) << c.pathLength;
        }
        EXPECT_EQ(0u, world.OpenRegistryKeyCount());
    }
}

TEST_F(StartWithWindowsTest, WritesNothingWithoutTheExecutablesPath) {
    ASSERT_TRUE(world.InjectFailure("GetModuleFileName", platform::error::kAccessDenied));
    SetStartWithWindows(world.platform());
    EXPECT_FALSE(Value().has_value());
    EXPECT_EQ(0u, world.OpenRegistryKeyCount());
}

TEST_F(StartWithWindowsTest, ARefusedKeyOrWriteChangesNothingAndIsNotReported) {
    for (sim::RegistryAccess access :
         {sim::RegistryAccess::Denied, sim::RegistryAccess::ReadOnly}) {
        world.SetRegistryKeyAccess(RegistryRoot::LocalMachine, kRunKey, access);
        world.MarkRegistryBaseline();
        SetStartWithWindows(world.platform());
        EXPECT_TRUE(world.RegistryChanges().empty());
        EXPECT_EQ(0u, world.OpenRegistryKeyCount());
    }
}

} // namespace
} // namespace corvane
