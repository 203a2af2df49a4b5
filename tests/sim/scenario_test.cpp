#include "platform/sim/scenario/scenario.h"
#include "platform/sim/text.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace corvane::sim {
namespace {

using platform::RegistryRoot;

// The example of docs/sim-scenario.md, which a test below keeps in step.
constexpr std::string_view kExample =
    R"(# Workstation WS-OLD in a workgroup, about to join SALES as WS-0815.
[workstation]
name WS-OLD
join workgroup WORKGROUP
locale de-DE
clock 2009-03-21 09:15:43.000
clock-step 250
module C:\Deploy\corvane.exe
cwd C:\Deploy
file C:\Deploy\corvane.ini utf16le-bom <<END
[general]
title=Workstation set-up
[settings]
computer=WS-0815
domain=SALES
account=SALES\installer
password=s3cret
dhcp=1
END
file C:\Deploy\languages.ini ansi "[de]\r\n"
registry HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run quendle sz "C:\Old Place\corvane.exe"

[adapter {4D36E972-E325-11CE-BFC1-08002BE10318}]
description "Intel(R) PRO/1000 MT Network Connection"
index 7
dhcp 0
address 10.0.0.5 255.255.255.0
gateway 10.0.0.1

[adapter {9A1F0C3B-77D2-4E0A-9C61-2B5E8F40D1A7}]
description "Wireless Network Adapter"
dhcp 1
lease 192.168.1.41 255.255.255.0 192.168.1.1

[domain SALES sales.example.com]
credential SALES\installer s3cret
own-logon refused
refuse ous 86
ou \Workstations\Berlin
computer WS-0815 OU=Workstations

[failures]
NetJoinDomain 1326 once SALES
)";

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

#ifdef CORVANE_DOCS_DIR
TEST(Scenario, DocumentedExampleIsTheTestedOne) {
    std::ifstream file(CORVANE_DOCS_DIR "/sim-scenario.md");
    ASSERT_TRUE(file.good());
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    const std::size_t begin = text.find("<!-- scenario example begin -->\n```\n");
    const std::size_t end = text.find("```\n<!-- scenario example end -->");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::size_t start =
        begin + std::string_view("<!-- scenario example begin -->\n```\n").size();
    EXPECT_EQ(text.substr(start, end - start), kExample);
}
#endif

TEST(Scenario, ExampleConfiguresTheWholeWorld) {
    World world;
    const ScenarioResult result = LoadScenario(kExample, world);
    ASSERT_TRUE(result.ok()) << result.Text();

    EXPECT_EQ(world.ComputerName(), u"WS-OLD");
    EXPECT_EQ(world.GetJoinState().status, platform::JoinStatus::Workgroup);
    EXPECT_EQ(world.GetJoinState().name, u"WORKGROUP");
    EXPECT_EQ(world.UserDefaultLocale(), 0x0407u);
    EXPECT_EQ(world.ModulePath(), u"C:\\Deploy\\corvane.exe");
    EXPECT_EQ(world.CurrentDirectory(), u"C:\\Deploy");
    world.clock().GetLocalTime();
    EXPECT_EQ(world.LocalTime().milliseconds, 250);

    // The settings file: UTF-16 with its mark, CR LF behind every line.
    std::array<char16_t, 64> buffer{};
    EXPECT_EQ(world.profile().GetString(u"settings", u"account", u"", buffer.data(), 64,
                                        u"C:\\Deploy\\corvane.ini"),
              15u);
    EXPECT_EQ(std::u16string(buffer.data()), u"SALES\\installer");
    const auto ini = world.FileBytes(u"C:\\Deploy\\corvane.ini");
    ASSERT_TRUE(ini.has_value());
    EXPECT_EQ(ini->size(),
              2 + 2 * std::u16string_view(u"[general]\r\ntitle=Workstation set-up\r\n"
                                          u"[settings]\r\ncomputer=WS-0815\r\n"
                                          u"domain=SALES\r\naccount=SALES\\installer\r\n"
                                          u"password=s3cret\r\ndhcp=1\r\n")
                          .size());
    EXPECT_EQ(world.FileBytes(u"C:\\Deploy\\languages.ini"), Bytes("[de]\\r\\n"));
    const auto run =
        world.RegistryValue(RegistryRoot::LocalMachine,
                            u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", u"quendle");
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->data, Utf16Bytes(u"C:\\Old Place\\corvane.exe", true));
    EXPECT_TRUE(world.RegistryChanges().empty()); // the scenario is the baseline

    const std::vector<AdapterConfig> adapters = world.Adapters();
    ASSERT_EQ(adapters.size(), 2u);
    EXPECT_EQ(adapters[0].name, "{4D36E972-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(adapters[0].index, 7u);
    EXPECT_EQ(adapters[0].address, "10.0.0.5");
    EXPECT_EQ(adapters[0].gateway, "10.0.0.1");
    EXPECT_EQ(adapters[1].index, 2u);
    EXPECT_EQ(adapters[1].dhcpEnabled, 1u);
    EXPECT_EQ(adapters[1].leaseAddress, "192.168.1.41");

    const Domain* domain = world.FindDomain(u"sales.example.com");
    ASSERT_NE(domain, nullptr);
    EXPECT_EQ(domain->RefusalCode(DomainOperation::JoinableOUs), 86u);
    EXPECT_EQ(domain->RefusalCode(DomainOperation::Join), 1326u);
    EXPECT_FALSE(domain->AcceptsOwnLogon());
    EXPECT_NE(domain->Directory().Find(u"OU=Berlin,OU=Workstations,DC=sales,DC=example,DC=com"),
              kNoObject);
    EXPECT_EQ(domain->Directory().DistinguishedName(domain->FindComputer(u"WS-0815")),
              u"CN=WS-0815,OU=Workstations,DC=sales,DC=example,DC=com");

    // The planned refusal, then the real credential check.
    platform::NetworkManagement& network = world.network();
    EXPECT_EQ(network.NetJoinDomain(u"SALES", nullptr, u"installer@SALES", u"s3cret", 0x23), 1326u);
    EXPECT_EQ(network.NetJoinDomain(u"SALES", nullptr, u"installer@SALES", u"s3cret", 0x23), 0u);
}

TEST(Scenario, ReportsEveryBadLineWithItsNumber) {
    struct Case {
        std::string_view text;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"name WS\n", {"line 1: a line outside any section"}},
        {"[workstation]\nnmae WS\nname\n",
         {"line 2: unknown workstation key 'nmae'", "line 3: 'name' takes 1 value"}},
        {"[workstation\n", {"line 1: a section header needs a closing ']'"}},
        {"[laptop]\nname x\n",
         {"line 1: unknown section [laptop]", "line 2: a line outside any section"}},
        {"[workstation] x\n", {"line 1: text after the section header"}},
        {"[workstation]\nenv A \"open\n", {"line 2: unterminated quoted text"}},
        {"[workstation]\nenv A \"x\"y\n", {"line 2: a quoted text must be followed by a blank"}},
        {"[workstation]\nlocale 0x9999\nlocale xx-YY\n",
         {"line 2: locale 0x9999 is not in the locale table",
          "line 3: locale xx-YY is not in the locale table"}},
        {"[workstation]\nclock 2009-02-30 10:00:00\nclock-step soon\n",
         {"line 2: a clock is YYYY-MM-DD HH:MM:SS[.mmm]",
          "line 3: a clock step is a number of milliseconds"}},
        {"[workstation]\njoin domain\n",
         {"line 2: join is 'workgroup NAME', 'domain NAME', 'unjoined' or 'unknown'"}},
        {"[workstation]\nfile C:\\a.ini utf7 \"x\"\nfile C:\\a.ini ansi <<END\nline\n",
         {"line 2: unknown encoding 'utf7' (ansi, utf8, utf8-bom, utf16le, utf16le-bom, hex)",
          "line 3: the here-document has no end line 'END'"}},
        {"[workstation]\nfile C:\\a.bin hex 0G\nfile C:\\b.ini ansi\n",
         {"line 2: hex content is pairs of hexadecimal digits",
          "line 3: file takes one content: a quoted text or <<END"}},
        {"[workstation]\nregistry HKXX\\Software v sz x\nregistry HKLM\\Software v qword 1\n"
         "registry HKLM\\Software v dword many\nregistry-access HKLM\\Software locked\n",
         {"line 2: a registry key starts with HKLM\\ or HKCU\\",
          "line 3: unknown registry type 'qword' (sz, expand-sz, dword, binary, none)",
          "line 4: a dword is a number", "line 5: registry access is full, readonly or denied"}},
        {"[adapter {A}]\nindex seven\nmac 00-11-22-33-44-55-66-77-88\nspeed 1000\n",
         {"line 2: 'index' takes a number", "line 3: a MAC address is up to 8 hexadecimal pairs",
          "line 4: unknown adapter key 'speed'"}},
        {"[domain SALES]\nreachable maybe\ncredential a\nrefuse merge 5\nrefuse join x\n",
         {"line 2: reachable is yes or no", "line 3: 'credential' takes 2 to 3 values",
          "line 4: unknown operation 'merge' (join, unjoin, rename, ous, directory)",
          "line 5: a refusal code is a number"}},
        {"[domain SALES]\ncomputer PC OU=Missing\nou CN=Servers\nou OU=x,DC=other\n[domain "
         "sales]\n",
         {"line 2: cannot add computer PC (missing container, or the name is taken there)",
          "line 3: the distinguished name must start with OU=",
          "line 4: only OU and CN components can be created",
          "line 5: the domain sales exists already"}},
        {"[failures]\nNetJoin 5\nNetJoinDomain x\nNetJoinDomain 5 twice\n",
         {"line 2: unknown operation 'NetJoin'", "line 3: a failure code is a number",
          "line 4: a failure count is once, always or a positive number"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        World world;
        const ScenarioResult result = LoadScenario(c.text, world);
        std::vector<std::string> texts;
        for (const ScenarioError& error : result.errors) {
            texts.push_back(error.Text());
        }
        EXPECT_EQ(texts, c.errors);
    }
}

TEST(Scenario, GoodLinesApplyAroundBadOnes) {
    World world;
    const ScenarioResult result =
        LoadScenario("[workstation]\nname FIRST\nbogus\nenv CORVANE yes\r\n", world);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].line, 3u);
    EXPECT_EQ(world.ComputerName(), u"FIRST");
    EXPECT_EQ(world.EnvironmentVariable(u"corvane"), u"yes");
}

TEST(Scenario, NeverCrashesOnMangledInput) {
    // Every prefix of the example, and the example with bytes overwritten
    // at random: whatever the loader reports, it stays within the text.
    std::mt19937 random(20090321);
    std::vector<std::string> inputs;
    for (std::size_t cut = 0; cut <= kExample.size(); cut += 7) {
        inputs.emplace_back(kExample.substr(0, cut));
    }
    const std::string_view noise = "[]\"<>#\\ \t\r\n=x0\xC3\xFF";
    for (int round = 0; round < 300; ++round) {
        std::string text(kExample);
        for (int k = 0; k < 8; ++k) {
            text[random() % text.size()] = noise[random() % noise.size()];
        }
        inputs.push_back(std::move(text));
    }
    for (const std::string& text : inputs) {
        World world;
        const ScenarioResult result = LoadScenario(text, world);
        const std::size_t lines =
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        for (const ScenarioError& error : result.errors) {
            EXPECT_GE(error.line, 1u);
            EXPECT_LE(error.line, lines);
        }
        DumpWorld(world);
    }
}

TEST(Scenario, DumpShowsTheOutcome) {
    World world;
    ASSERT_TRUE(LoadScenario("[workstation]\n"
                             "name WS-OLD\n"
                             "join domain SALES\n"
                             "[domain SALES sales.example.com]\n"
                             "ou \\Sales\n"
                             "computer WS-OLD OU=Sales\n"
                             "credential installer@SALES pw\n"
                             "[adapter {A}]\n"
                             "index 3\n"
                             "address 10.0.0.5 255.0.0.0\n"
                             "[failures]\n"
                             "RegOpenKey 5 2 HKLM\\SOFTWARE\\Policies\n",
                             world)
                    .ok());
    platform::NetworkManagement& network = world.network();
    ASSERT_EQ(network.NetRenameMachineInDomain(u"WS-NEW", u"installer@SALES", u"pw", 2), 0u);
    ASSERT_EQ(world.ipHelper().SetAdapterIpAddress("{A}", 0, 0x0600000A, 0x00FFFFFF, 0x0100000A),
              0u);
    char16_t* name = nullptr;
    platform::JoinStatus status;
    ASSERT_EQ(network.NetGetJoinInformation(&name, &status), 0u); // left unfreed on purpose

    EXPECT_EQ(DumpWorld(world),
              "[workstation]\n"
              "name WS-OLD\n"
              "pending-name WS-NEW\n"
              "join domain SALES\n"
              "locale 0x0409\n"
              "clock 2009-03-21 09:15:43.000\n"
              "cwd C:\\Users\\Administrator\n"
              "module C:\\Tools\\corvane.exe\n"
              "open-files 0\n"
              "open-registry-keys 0\n"
              "netapi-buffers 1\n"
              "invalid-netapi-frees 0\n"
              "\n"
              "[files]\n"
              "C:\\Tools\\corvane.exe 0 bytes\n"
              "\n"
              "[adapter {A}]\n"
              "description \"Network adapter 1\"\n"
              "index 3\n"
              "dhcp 0\n"
              "address 10.0.0.6 255.255.255.0\n"
              "gateway 10.0.0.1\n"
              "\n"
              "[domain SALES sales.example.com]\n"
              "reachable yes\n"
              "DC=sales,DC=example,DC=com domainDNS\n"
              "  CN=Computers container\n"
              "  OU=Sales organizationalUnit\n"
              "    CN=WS-NEW computer\n"
              "\n"
              "[registry changes]\n"
              "HKLM\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName: ComputerName "
              "REG_SZ \"WS-OLD\" -> REG_SZ \"WS-NEW\"\n"
              "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters: \"NV Hostname\" "
              "REG_SZ \"WS-OLD\" -> REG_SZ \"WS-NEW\"\n"
              "\n"
              "[failures pending]\n"
              "RegOpenKey 5 2 HKLM\\SOFTWARE\\Policies\n"
              "\n"
              "[journal]\n"
              "NetRenameMachineInDomain(WS-NEW, installer@SALES, ***, 0x2) = 0\n"
              "SetAdapterIpAddress({A}, 0, 10.0.0.6, 255.255.255.0, 10.0.0.1) = 0\n"
              "NetGetJoinInformation() = 0\n");
    network.NetApiBufferFree(name);
}

} // namespace
} // namespace corvane::sim
