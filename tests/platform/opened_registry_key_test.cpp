// The registry key guard: every key it opened is closed exactly once, in
// order, and a key that failed to open is never closed.
#include "platform/registry_key.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvane::platform {
namespace {

// A registry that hands out keys 101, 102, ... and notes every call.
class NotingRegistry final : public Registry {
public:
    ErrorCode OpenKey(RegistryRoot, const char16_t* subKey, RegistryKey* key) override {
        if (std::u16string_view(subKey) == u"missing") {
            calls.emplace_back("open failed");
            return error::kFileNotFound;
        }
        *key = ++lastKey;
        calls.push_back("open " + std::to_string(*key));
        return error::kSuccess;
    }
    ErrorCode CreateKey(RegistryRoot, const char16_t*, RegistryKey*) override {
        return error::kAccessDenied;
    }
    ErrorCode QueryValue(RegistryKey, const char16_t*, std::uint32_t*, std::uint8_t*,
                         std::uint32_t*) override {
        return error::kFileNotFound;
    }
    ErrorCode SetValue(RegistryKey key, const char16_t*, std::uint32_t, const std::uint8_t*,
                       std::uint32_t) override {
        calls.push_back("set " + std::to_string(key));
        return error::kSuccess;
    }
    ErrorCode DeleteValue(RegistryKey, const char16_t*) override { return error::kFileNotFound; }
    ErrorCode CloseKey(RegistryKey key) override {
        calls.push_back("close " + std::to_string(key));
        return error::kSuccess;
    }

    RegistryKey lastKey = 100;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(OpenedRegistryKey, ClosesWhatItOpenedOnceAndNothingElse) {
    struct Case {
        const char* name;
        void (*use)(OpenedRegistryKey& key);
        Calls calls;
    };
    const Case cases[] = {
        {"never opened", [](OpenedRegistryKey&) {}, {}},
        {"open failed",
         [](OpenedRegistryKey& key) {
             EXPECT_EQ(error::kFileNotFound, key.Open(RegistryRoot::LocalMachine, u"missing"));
             EXPECT_EQ(0u, key.get());
         },
         {"open failed"}},
        {"opened and used",
         [](OpenedRegistryKey& key) {
             ASSERT_EQ(error::kSuccess, key.Open(RegistryRoot::LocalMachine, u"Run"));
             key.get();
         },
         {"open 101", "close 101"}},
        {"opened again",
         [](OpenedRegistryKey& key) {
             key.Open(RegistryRoot::LocalMachine, u"Run");
             key.Open(RegistryRoot::LocalMachine, u"Other");
         },
         {"open 101", "close 101", "open 102", "close 102"}},
        {"opened, then a failed open",
         [](OpenedRegistryKey& key) {
             key.Open(RegistryRoot::LocalMachine, u"Run");
             key.Open(RegistryRoot::LocalMachine, u"missing");
         },
         {"open 101", "close 101", "open failed"}},
        {"closed early",
         [](OpenedRegistryKey& key) {
             key.Open(RegistryRoot::LocalMachine, u"Run");
             key.Close();
             key.Close();
         },
         {"open 101", "close 101"}},
    };
    for (const Case& c : cases) {
        NotingRegistry registry;
        {
            OpenedRegistryKey key(registry);
            c.use(key);
        }
        EXPECT_EQ(c.calls, registry.calls) << c.name;
    }
}

TEST(OpenedRegistryKey, TheKeyStaysOpenWhileItIsUsed) {
    NotingRegistry registry;
    {
        OpenedRegistryKey key(registry);
        key.Open(RegistryRoot::LocalMachine, u"Run");
        registry.SetValue(key.get(), u"value", kRegSz, nullptr, 0);
    }
    EXPECT_EQ((Calls{"open 101", "set 101", "close 101"}), registry.calls);
}

} // namespace
} // namespace corvane::platform
