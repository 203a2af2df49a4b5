// "dns" end to end on the sim: which adapters get the servers, in which
// order the calls come, what the log says, and what a refused value leaves.
#include "platform/sim/scenario/scenario.h"
#include "program_run.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using program_test::Ansi;
using program_test::InjectedFailure;
using program_test::ProgramInput;
using program_test::ProgramRun;

constexpr std::string_view kNow = "3/21/2009, 9:15:43 AM";
constexpr std::string_view kWired = "{11111111-1111-1111-1111-111111111111}";
constexpr std::string_view kWireless = "{22222222-2222-2222-2222-222222222222}";

std::string Info(std::int32_t code, std::string_view message) {
    return program_test::LogLine("Info", code, kNow, message);
}

std::string DnsLine(std::int32_t code, std::string_view adapter, std::string_view servers) {
    return Info(code, "SaveSettings: SetDNSServerSearchOrder \"" + std::string(adapter) + "\" " +
                          std::string(servers));
}

std::string DnsCall(std::string_view adapter, std::string_view servers, int injected = 0) {
    return "SetDNSServerSearchOrder(" + std::string(adapter) + ", " + std::string(servers) +
           ") = " + (injected == 0 ? "0" : std::to_string(injected) + " [injected]");
}

const std::string& kMachine = program_test::kWorkgroupMachineBesideSales;
constexpr std::string_view kJoin = program_test::kJoinSalesSettings;

struct DnsCase {
    const char* name;
    std::string settings; // appended to the join of SALES
    std::vector<InjectedFailure> failures;
    std::vector<std::string> lines;
    std::vector<std::string> changes;
    std::vector<std::string> wiredServers;
    std::vector<std::string> wirelessServers;
};

void PrintTo(const DnsCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kJoinLines[] = {
    Info(0, "GetDomainDnsName: Status"),
    Info(0, "SaveSettings: NetJoinDomain with Account \"installer@SALES\""),
};
const std::string kJoinCall = "NetJoinDomain(SALES, -, installer@SALES, ***, 0x23) = 0";
const std::string kWirelessFixed = "SetAdapterIpAddress(" + std::string(kWireless) +
                                   ", 0, 192.168.1.41, 255.255.255.0, 192.168.1.1) = 0";

std::vector<DnsCase> DnsCases() {
    const std::string lookup = Info(0, "GetDomainDnsName: Status");
    return {
        // The servers go to both adapters before the domain is looked for:
        // the wireless one is still on DHCP then, and ends the run fixed.
        {"EveryAdapterFixed",
         "dhcp=0\r\ndns=10.0.0.2, 10.0.0.3\r\n",
         {},
         {lookup, DnsLine(0, kWired, "10.0.0.2,10.0.0.3"),
          DnsLine(0, kWireless, "10.0.0.2,10.0.0.3"), kJoinLines[0], kJoinLines[1]},
         {DnsCall(kWired, "10.0.0.2 10.0.0.3"), DnsCall(kWireless, "10.0.0.2 10.0.0.3"), kJoinCall,
          kWirelessFixed},
         {"10.0.0.2", "10.0.0.3"},
         {"10.0.0.2", "10.0.0.3"}},
        // Without "dhcp" each adapter keeps its mode: only the fixed one.
        {"OnlyTheFixedAdapter",
         "dns=10.0.0.2\r\n",
         {},
         {lookup, DnsLine(0, kWired, "10.0.0.2"), kJoinLines[0], kJoinLines[1]},
         {DnsCall(kWired, "10.0.0.2"), kJoinCall},
         {"10.0.0.2"},
         {}},
        {"NoAdapterEndsFixed",
         "dhcp=1\r\ndns=10.0.0.2\r\n",
         {},
         {lookup, kJoinLines[0], kJoinLines[1]},
         {kJoinCall, "IpReleaseAddress(7, \\DEVICE\\TCPIP_" + std::string(kWired) + ") = 50",
          "SetAdapterIpAddress(" + std::string(kWired) +
              ", 1, 10.0.0.5, 255.255.255.0, 10.0.0.1) = 0"},
         {},
         {}},
        // One adapter refuses; the other still gets the list, and the run
        // goes on.
        {"OneAdapterRefuses",
         "dhcp=0\r\ndns=10.0.0.2\r\n",
         {{"SetDNSServerSearchOrder", 70, 1}},
         {lookup, DnsLine(70, kWired, "10.0.0.2"), DnsLine(0, kWireless, "10.0.0.2"), kJoinLines[0],
          kJoinLines[1]},
         {DnsCall(kWired, "10.0.0.2", 70), DnsCall(kWireless, "10.0.0.2"), kJoinCall,
          kWirelessFixed},
         {},
         {"10.0.0.2"}},
        // A list that is not one applies nothing, and the rest of the run
        // goes on as if the key were missing.
        {"Refused",
         "dhcp=0\r\ndns=10.0.0.2;10.0.0.3\r\n",
         {},
         {program_test::LogLine("Warning", 13, kNow,
                                "ReadSettingsFile: Settings file value dns=\"10.0.0.2;10.0.0.3\" "
                                "is not a list of up to three IPv4 addresses and is ignored"),
          lookup, kJoinLines[0], kJoinLines[1]},
         {kJoinCall, kWirelessFixed},
         {},
         {}},
    };
}

class NameServersRun : public testing::TestWithParam<DnsCase> {};

TEST_P(NameServersRun, SetsTheListOnEveryAdapterThatEndsFixed) {
    const DnsCase& c = GetParam();
    ProgramInput input;
    input.scenario = kMachine;
    input.settings = Ansi(std::string(kJoin) + c.settings);
    input.failures = c.failures;
    input.commandLine = u"/auto";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_EQ(run.LogLines(), c.lines);
    EXPECT_EQ(run.Changes(), c.changes);
    EXPECT_EQ(run.World().Adapter(kWired)->dnsServers, c.wiredServers);
    EXPECT_EQ(run.World().Adapter(kWireless)->dnsServers, c.wirelessServers);
}

INSTANTIATE_TEST_SUITE_P(NameServers, NameServersRun, testing::ValuesIn(DnsCases()),
                         [](const testing::TestParamInfo<DnsCase>& param) {
                             return std::string(param.param.name);
                         });

// The value is read into a buffer of 256 characters. One that fills it may
// have been cut, and the cut can leave a list that looks whole: here the
// third server 10.0.0.33 would become 10.0.0.3.
TEST(NameServers, AValueThatFillsTheBufferIsRefused) {
    const std::string value = "10.0.0.2" + std::string(238, ' ') + ",10.0.0.33";
    ASSERT_EQ(value.size(), 256u);
    ProgramInput input;
    input.scenario = kMachine;
    input.settings = Ansi("[settings]\r\ndns=" + value + "\r\n");
    input.commandLine = u"/auto /exitcode=result";
    ProgramRun run(input);
    ASSERT_TRUE(run.Finished());
    EXPECT_EQ(run.ExitCode(), 13);
    EXPECT_EQ(run.Changes(), std::vector<std::string>{});
    EXPECT_TRUE(run.World().Adapter(kWired)->dnsServers.empty());
}

// The sim's scenario gives an adapter its own servers, and the dump shows
// them; an adapter without any shows no line.
TEST(NameServers, TheScenarioAndTheDumpCarryTheList) {
    sim::World world;
    const sim::ScenarioResult loaded = sim::LoadScenario(
        "[adapter {11111111-1111-1111-1111-111111111111}]\ndns 10.0.0.9 10.0.0.10\n"
        "[adapter {22222222-2222-2222-2222-222222222222}]\ndhcp 1\n"
        "[adapter {33333333-3333-3333-3333-333333333333}]\ndns\n",
        world);
    ASSERT_EQ(loaded.errors.size(), 1u);
    EXPECT_EQ(loaded.errors[0].Text(), "line 6: 'dns' takes one or more addresses");
    EXPECT_EQ(world.Adapter(kWired)->dnsServers,
              (std::vector<std::string>{"10.0.0.9", "10.0.0.10"}));
    const std::string dump = sim::DumpWorld(world);
    EXPECT_NE(dump.find("gateway 0.0.0.0\ndns 10.0.0.9 10.0.0.10\n"), std::string::npos) << dump;
    EXPECT_EQ(dump.find("dns", dump.find(std::string(kWireless))), std::string::npos) << dump;
}

} // namespace
} // namespace corvane
