// The sim's registry: access control for failure tests, the open-key count,
// the journal of changes and the comparison with the baseline.
#include "platform/sim/text.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>

namespace corvane::sim {
namespace {

using platform::RegistryRoot;

constexpr std::u16string_view kTcpip = u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

TEST(SimRegistry, FreshWindowsValues) {
    World world;
    world.SetComputerName(u"ws-old");
    struct Case {
        std::u16string_view key;
        std::u16string_view name;
        std::u16string_view text;
    };
    const Case cases[] = {
        {kTcpip, u"Hostname", u"ws-old"},
        {kTcpip, u"NV Hostname", u"ws-old"},
        {u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", u"ComputerName",
         u"WS-OLD"},
        {u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName", u"ComputerName",
         u"WS-OLD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.name));
        const auto value = world.RegistryValue(RegistryRoot::LocalMachine, c.key, c.name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, platform::kRegSz);
        EXPECT_EQ(value->data, Utf16Bytes(c.text, true));
    }
}

TEST(SimRegistry, DeniedAndReadOnlyKeys) {
    World world;
    platform::Registry& registry = world.registry();
    world.SetRegistryKeyAccess(RegistryRoot::LocalMachine, kTcpip, RegistryAccess::Denied);
    world.SetRegistryKeyAccess(RegistryRoot::LocalMachine, u"SOFTWARE\\Locked",
                               RegistryAccess::ReadOnly);
    platform::RegistryKey key = 0;
    EXPECT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, kTcpip.data(), &key), 5u);
    EXPECT_EQ(registry.CreateKey(RegistryRoot::LocalMachine, kTcpip.data(), &key), 5u);
    // No subkey can be made below a key without write access.
    EXPECT_EQ(registry.CreateKey(RegistryRoot::LocalMachine, u"SOFTWARE\\Locked\\Sub", &key), 5u);
    ASSERT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, u"SOFTWARE\\Locked", &key), 0u);
    const std::uint8_t data[] = {1, 0, 0, 0};
    EXPECT_EQ(registry.SetValue(key, u"v", platform::kRegDword, data, 4), 5u);
    EXPECT_EQ(registry.DeleteValue(key, u"v"), 5u);
    EXPECT_EQ(registry.QueryValue(key, u"v", nullptr, nullptr, nullptr), 2u);
    EXPECT_EQ(world.OpenRegistryKeyCount(), 1u);
    EXPECT_EQ(registry.CloseKey(key), 0u);
    EXPECT_EQ(world.OpenRegistryKeyCount(), 0u);
}

TEST(SimRegistry, PathsAndParameters) {
    World world;
    platform::Registry& registry = world.registry();
    platform::RegistryKey key = 0;
    EXPECT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, u"\\SOFTWARE", &key), 161u);
    EXPECT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, u"SOFTWARE\\\\Microsoft", &key), 161u);
    EXPECT_EQ(registry.OpenKey(RegistryRoot::LocalMachine, u"SOFTWARE", nullptr), 87u);
    // No subkey opens the root itself.
    ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, nullptr, &key), 0u);
    std::uint8_t buffer[4];
    EXPECT_EQ(registry.QueryValue(key, u"x", nullptr, buffer, nullptr), 87u);
    EXPECT_EQ(registry.SetValue(key, u"x", platform::kRegSz, nullptr, 2), 87u);
    EXPECT_EQ(registry.SetValue(key, nullptr, platform::kRegSz, nullptr, 0), 0u); // default value
    EXPECT_EQ(registry.QueryValue(key, u"", nullptr, nullptr, nullptr), 0u);
    EXPECT_EQ(registry.CloseKey(key), 0u);
}

TEST(SimRegistry, ChangesAreJournaledAndComparedWithTheBaseline) {
    World world;
    world.SetRegistryString(RegistryRoot::LocalMachine,
                            u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", u"quendle",
                            u"C:\\Old\\corvane.exe");
    world.SetRegistryDword(RegistryRoot::CurrentUser, u"Software\\Corvane", u"gone", 7);
    world.MarkRegistryBaseline();

    platform::Registry& registry = world.registry();
    platform::RegistryKey key = 0;
    ASSERT_EQ(registry.OpenKey(RegistryRoot::LocalMachine,
                               u"software\\microsoft\\windows\\currentversion\\run", &key),
              0u);
    const std::vector<std::uint8_t> path = Utf16Bytes(u"C:\\Tools\\corvane.exe", true);
    ASSERT_EQ(registry.SetValue(key, u"quendle", platform::kRegSz, path.data(),
                                static_cast<std::uint32_t>(path.size())),
              0u);
    ASSERT_EQ(registry.CloseKey(key), 0u);
    ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, u"Software\\Corvane\\New", &key), 0u);
    const std::uint8_t raw[] = {0xDE, 0xAD};
    ASSERT_EQ(registry.SetValue(key, u"blob", 3, raw, 2), 0u);
    ASSERT_EQ(registry.CloseKey(key), 0u);
    ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, u"Software\\Corvane", &key), 0u);
    ASSERT_EQ(registry.DeleteValue(key, u"GONE"), 0u);
    ASSERT_EQ(registry.CloseKey(key), 0u);

    EXPECT_EQ(world.JournalLines(),
              (std::vector<std::string>{
                  "RegSetValue(HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run, quendle, "
                  "REG_SZ, \"C:\\Tools\\corvane.exe\") = 0",
                  "RegCreateKey(HKCU\\Software\\Corvane\\New) = 0",
                  "RegSetValue(HKCU\\Software\\Corvane\\New, blob, REG_BINARY, hex:DE AD) = 0",
                  "RegDeleteValue(HKCU\\Software\\Corvane, GONE) = 0"}));

    const std::vector<RegistryChange> changes = world.RegistryChanges();
    ASSERT_EQ(changes.size(), 3u);
    ASSERT_TRUE(changes[0].before && changes[0].after);
    EXPECT_EQ(changes[0].before->data, Utf16Bytes(u"C:\\Old\\corvane.exe", true));
    EXPECT_EQ(changes[0].after->data, path);
    EXPECT_FALSE(changes[1].before);
    EXPECT_EQ(changes[1].after->name, u"blob");
    EXPECT_FALSE(changes[2].after);
    EXPECT_EQ(changes[2].before->name, u"gone");
}

} // namespace
} // namespace corvane::sim
