// The registry: keys by path without regard to case, value size probing,
// handle validation, and the machine keys a fresh Windows has.
#include "contract/contract_target.h"
#include "contract/contract_text.h"

#include <array>

namespace corvane::contract {
namespace {

using platform::RegistryRoot;

constexpr const char16_t* kTestKey = u"Software\\CorvaneContract\\Registry";

class KeyScope {
public:
    KeyScope(platform::Registry& registry, RegistryRoot root, const char16_t* path, bool create)
        : registry_(registry) {
        result_ =
            create ? registry.CreateKey(root, path, &key_) : registry.OpenKey(root, path, &key_);
    }
    ~KeyScope() {
        if (result_ == 0) {
            registry_.CloseKey(key_);
        }
    }
    platform::ErrorCode result() const { return result_; }
    platform::RegistryKey key() const { return key_; }

private:
    platform::Registry& registry_;
    platform::RegistryKey key_ = 0;
    platform::ErrorCode result_ = 0;
};

TEST_P(PlatformContract, RegistryQueryProbesSizeAndReportsMoreData) {
    platform::Registry& registry = Os().registry;
    const KeyScope key(registry, RegistryRoot::CurrentUser, kTestKey, true);
    ASSERT_EQ(key.result(), 0u);
    const std::vector<std::uint8_t> data = Utf16Bytes(u"WS-0815", true); // 16 bytes
    ASSERT_EQ(registry.SetValue(key.key(), u"NV Hostname", platform::kRegSz, data.data(),
                                static_cast<std::uint32_t>(data.size())),
              0u);

    struct Case {
        bool withData;
        std::uint32_t size;
        platform::ErrorCode result;
        std::uint32_t sizeAfter;
    };
    const Case cases[] = {
        {false, 0, 0, 16},  // size probe without a buffer
        {true, 4, 234, 16}, // ERROR_MORE_DATA with the size needed
        {true, 15, 234, 16}, {true, 16, 0, 16}, {true, 64, 0, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::array<std::uint8_t, 64> buffer{};
        std::uint32_t type = 0;
        std::uint32_t size = c.size;
        EXPECT_EQ(registry.QueryValue(key.key(), u"nv hostname", &type,
                                      c.withData ? buffer.data() : nullptr, &size),
                  c.result);
        EXPECT_EQ(size, c.sizeAfter);
        EXPECT_EQ(type, platform::kRegSz);
        if (c.result == 0 && c.withData) {
            EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 16), data);
        }
    }
    // Existence alone: neither type nor data nor size.
    EXPECT_EQ(registry.QueryValue(key.key(), u"NV Hostname", nullptr, nullptr, nullptr), 0u);
    EXPECT_EQ(registry.QueryValue(key.key(), u"Missing", nullptr, nullptr, nullptr), 2u);
}

TEST_P(PlatformContract, RegistryValuesAreReplacedAndDeleted) {
    platform::Registry& registry = Os().registry;
    const KeyScope key(registry, RegistryRoot::CurrentUser, kTestKey, true);
    ASSERT_EQ(key.result(), 0u);
    const std::uint8_t number[] = {5, 0, 0, 0};
    ASSERT_EQ(registry.SetValue(key.key(), u"Counter", platform::kRegDword, number, 4), 0u);
    const std::vector<std::uint8_t> text = Utf16Bytes(u"C:\\Tools\\corvane.exe", true);
    ASSERT_EQ(registry.SetValue(key.key(), u"COUNTER", platform::kRegSz, text.data(),
                                static_cast<std::uint32_t>(text.size())),
              0u);

    std::array<std::uint8_t, 128> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = 128;
    EXPECT_EQ(registry.QueryValue(key.key(), u"counter", &type, buffer.data(), &size), 0u);
    EXPECT_EQ(type, platform::kRegSz);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + size), text);

    EXPECT_EQ(registry.DeleteValue(key.key(), u"Counter"), 0u);
    EXPECT_EQ(registry.DeleteValue(key.key(), u"Counter"), 2u);
    EXPECT_EQ(registry.QueryValue(key.key(), u"Counter", nullptr, nullptr, nullptr), 2u);
}

TEST_P(PlatformContract, RegistryKeysMatchWithoutCaseAndMissingKeysAreNotFound) {
    platform::Registry& registry = Os().registry;
    {
        const KeyScope created(registry, RegistryRoot::CurrentUser, kTestKey, true);
        ASSERT_EQ(created.result(), 0u);
    }
    const KeyScope reopened(registry, RegistryRoot::CurrentUser,
                            u"SOFTWARE\\corvanecontract\\REGISTRY", false);
    EXPECT_EQ(reopened.result(), 0u);
    const KeyScope missing(registry, RegistryRoot::CurrentUser,
                           u"Software\\CorvaneContract\\NoSuchKey", false);
    EXPECT_EQ(missing.result(), 2u);
}

TEST_P(PlatformContract, RegistryRefusesUnknownAndClosedHandles) {
    platform::Registry& registry = Os().registry;
    platform::RegistryKey key = 0;
    ASSERT_EQ(registry.CreateKey(RegistryRoot::CurrentUser, kTestKey, &key), 0u);
    ASSERT_EQ(registry.CloseKey(key), 0u);
    EXPECT_EQ(registry.QueryValue(key, u"anything", nullptr, nullptr, nullptr), 6u);
    EXPECT_EQ(registry.CloseKey(key), 6u);
    EXPECT_EQ(registry.CloseKey(0x7FFFFFF0), 6u);
}

TEST_P(PlatformContract, RegistryHasTheKeysOfAFreshWindows) {
    platform::Registry& registry = Os().registry;
    for (const char16_t* path :
         {u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
          u"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters",
          u"system\\currentcontrolset\\control\\computername\\activecomputername"}) {
        SCOPED_TRACE(Narrow(path));
        const KeyScope key(registry, RegistryRoot::LocalMachine, path, false);
        EXPECT_EQ(key.result(), 0u);
    }
    // The active name is the name the computer reports.
    const KeyScope active(registry, RegistryRoot::LocalMachine,
                          u"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName",
                          false);
    ASSERT_EQ(active.result(), 0u);
    std::array<char16_t, 64> value{};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof(value) - sizeof(char16_t);
    ASSERT_EQ(registry.QueryValue(active.key(), u"ComputerName", &type,
                                  reinterpret_cast<std::uint8_t*>(value.data()), &size),
              0u);
    EXPECT_EQ(type, platform::kRegSz);
    std::array<char16_t, 16> name{};
    std::uint32_t length = 16;
    ASSERT_TRUE(Os().network.GetComputerName(name.data(), &length));
    EXPECT_TRUE(EqualsIgnoringAsciiCase(Terminated(value.data()), Terminated(name.data())));
}

} // namespace
} // namespace corvane::contract
