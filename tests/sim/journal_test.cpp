// The failure plan and the journal texts, through the calls tests make.
#include "platform/sim/machine/journal.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>
#include <thread>

namespace corvane::sim {
namespace {

TEST(FailurePlan, CountsSubjectsAndOrder) {
    FailurePlan plan;
    EXPECT_FALSE(plan.Add("NoSuchCall", 5));
    EXPECT_FALSE(plan.Add("NetJoinDomain", 5, 0));
    EXPECT_FALSE(plan.Add("NetJoinDomain", 5, -7));
    ASSERT_TRUE(plan.Add("NetJoinDomain", 1326, 2, u"SALES"));
    ASSERT_TRUE(plan.Add("NetJoinDomain", 5, 1));
    ASSERT_TRUE(plan.Add("RegOpenKey", 5));

    EXPECT_EQ(plan.Take("NetJoinDomain", u"sales"), 1326u);
    EXPECT_EQ(plan.Take("NetJoinDomain", u"OTHER"), 5u); // the unspecific one
    EXPECT_EQ(plan.Take("NetJoinDomain", u"OTHER"), std::nullopt);
    EXPECT_EQ(plan.Take("NetJoinDomain", u"SALES"), 1326u);
    EXPECT_EQ(plan.Take("NetJoinDomain", u"SALES"), std::nullopt);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plan.Take("RegOpenKey", u"HKLM\\x"), 5u); // always
    }
    EXPECT_EQ(plan.Pending().size(), 1u);
    EXPECT_EQ(plan.Take("RegCreateKey"), std::nullopt);
}

TEST(Journal, TextsHideEveryPassword) {
    World world;
    Domain& domain = world.AddDomain(u"SALES", u"sales.example.com");
    domain.AddCredential(u"installer@SALES", u"");
    platform::NetworkManagement& network = world.network();
    network.NetJoinDomain(u"SALES", nullptr, u"installer@SALES", u"", 0x23);
    network.NetRenameMachineInDomain(u"WS-0815", u"installer@SALES", u"", 2);
    network.NetUnjoinDomain(nullptr, u"ignored", 0);
    std::uint32_t count = 0;
    char16_t** units = nullptr;
    network.NetGetJoinableOUs(u"sales.example.com", u"installer@SALES", u"s3cret!", &count, &units);
    network.NetJoinDomain(u"", u"", nullptr, nullptr, 0);
    EXPECT_EQ(world.JournalLines(),
              (std::vector<std::string>{
                  "NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0",
                  "NetRenameMachineInDomain(WS-0815, installer@SALES, ***, 0x2) = 0",
                  "NetUnjoinDomain(-, ***, 0x0) = 1326",
                  "NetGetJoinableOUs(sales.example.com, installer@SALES, ***) = 1326",
                  "NetJoinDomain(\"\", \"\", -, -, 0x0) = 87",
              }));
    for (const std::string& line : world.JournalLines()) {
        EXPECT_EQ(line.find("s3cret"), std::string::npos);
    }
    world.ClearJournal();
    EXPECT_TRUE(world.JournalLines().empty());
}

TEST(Journal, InjectedResultsAreMarkedAndHaveNoEffect) {
    struct Case {
        const char* operation;
        int times;
        std::vector<platform::ErrorCode> results;
    };
    const Case cases[] = {
        {"NetJoinDomain", 1, {1326, 0, 0}},
        {"NetJoinDomain", 2, {1326, 1326, 0}},
        {"NetJoinDomain", kAlways, {1326, 1326, 1326}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.times);
        World world;
        world.AddDomain(u"SALES", u"").SetAcceptsOwnLogon(true);
        ASSERT_TRUE(world.InjectFailure(c.operation, 1326, c.times));
        for (platform::ErrorCode expected : c.results) {
            EXPECT_EQ(world.network().NetJoinDomain(u"SALES", nullptr, nullptr, nullptr, 0x23),
                      expected);
            // An injected refusal leaves the machine as it was.
            EXPECT_EQ(world.GetJoinState().status, expected == 0 ? platform::JoinStatus::Domain
                                                                 : platform::JoinStatus::Workgroup);
        }
        EXPECT_EQ(world.JournalLines().front(),
                  "NetJoinDomain(SALES, -, -, -, 0x23) = 1326 [injected]");
    }
}

TEST(Journal, FailuresReachEveryService) {
    struct Case {
        const char* operation;
        std::function<bool(World&)> failed; // true when the call failed
    };
    const Case cases[] = {
        {"GetComputerName",
         [](World& w) {
             char16_t name[16];
             std::uint32_t size = 16;
             return !w.network().GetComputerName(name, &size);
         }},
        {"RegOpenKey",
         [](World& w) {
             platform::RegistryKey key = 0;
             return w.registry().OpenKey(platform::RegistryRoot::CurrentUser, u"Software", &key) ==
                    5;
         }},
        {"GetEnvironmentVariable",
         [](World& w) {
             char16_t value[64];
             return w.environment().GetVariable(u"TEMP", value, 64) == 0;
         }},
        {"CreateFile",
         [](World& w) {
             return w.files().OpenForAppend(u"C:\\Tools\\x.log") == platform::kInvalidFile;
         }},
        {"SetThreadLocale", [](World& w) { return !w.locale().SetThreadLocale(0x0407); }},
        {"GetDateFormat",
         [](World& w) {
             char16_t text[64];
             return w.locale().GetShortDate(w.LocalTime(), text, 64) == 0;
         }},
        {"LoadString",
         [](World& w) {
             char16_t text[64];
             return w.resources().LoadString(108, text, 64) == 0;
         }},
        {"GetInterfaceInfo",
         [](World& w) {
             std::uint32_t size = 0;
             return w.ipHelper().GetInterfaceInfo(nullptr, &size) == 5;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        World world;
        ASSERT_TRUE(world.InjectFailure(c.operation, 5, 1));
        EXPECT_TRUE(c.failed(world));
        EXPECT_FALSE(c.failed(world)); // once only
        ASSERT_FALSE(world.Journal().empty());
        EXPECT_EQ(world.Journal().front().operation, c.operation);
        EXPECT_TRUE(world.Journal().front().injected);
    }
}

TEST(Journal, ConcurrentCallersSeeAConsistentWorld) {
    World world;
    world.AddDomain(u"SALES", u"sales.example.com").SetAcceptsOwnLogon(true);
    world.CreateDirectory(u"C:\\Temp");
    auto worker = [&](int id) {
        for (int i = 0; i < 200; ++i) {
            char16_t* name = nullptr;
            platform::JoinStatus status;
            if (world.network().NetGetJoinInformation(&name, &status) == 0) {
                world.network().NetApiBufferFree(name);
            }
            const platform::FileHandle file =
                world.files().OpenForAppend(id == 0 ? u"C:\\Temp\\a.log" : u"C:\\Temp\\b.log");
            if (file != platform::kInvalidFile) {
                world.files().Write(file, "x", 1);
                world.files().Close(file);
            }
            world.locale().SetThreadLocale(id == 0 ? 0x0407 : 0x0409);
        }
    };
    std::thread first(worker, 0);
    std::thread second(worker, 1);
    first.join();
    second.join();
    EXPECT_EQ(world.OutstandingNetApiBuffers(), 0u);
    EXPECT_EQ(world.OpenFileCount(), 0u);
    EXPECT_EQ(world.FileBytes(u"C:\\Temp\\a.log")->size(), 200u);
    EXPECT_EQ(world.FileBytes(u"C:\\Temp\\b.log")->size(), 200u);
    EXPECT_EQ(world.JournalLines("NetGetJoinInformation").size(), 400u);
}

} // namespace
} // namespace corvane::sim
