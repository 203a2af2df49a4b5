// Locating and moving one computer account in a real directory: the Samba
// test domain of domain_controller.sh, filled by real_directory_load.sh
// with 1,000 and 10,000 computer accounts spread over 100 units each. The
// wall time includes the server's work; the CPU time is the program's own
// (this thread: filter, row walk, paths, the LDAP client library). A second
// benchmark walks every computer of a unit's subtree, so that the program's
// cost per row returned can be read off for both sizes.
//
//   CORVANE_DC_ENV=build/host/bench-domain-controller/directory.env real_directory_bench
#include "directory/computer_account.h"
#include "directory/computer_search.h"
#include "domain_controller_file.h"
#include "model/setup_state.h"
#include "platform/ldap/ldap_directory_service.h"
#include "platform/ldap/ldap_joinable_units.h"
#include "platform/sim/world.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <string>

namespace corvane {
namespace {

std::map<std::string, std::string> g_server;

class RealScene {
public:
    RealScene()
        : config_(Config()), directory_(config_),
          units_(config_, world_.platform().network), os_{world_.platform().clock,
                                                          world_.platform().locale,
                                                          world_.platform().environment,
                                                          world_.platform().files,
                                                          world_.platform().profile,
                                                          world_.platform().registry,
                                                          units_,
                                                          world_.platform().ipHelper,
                                                          world_.platform().resources,
                                                          directory_,
                                                          world_.platform().ui} {
        world_.AddDomain(config_.netbiosName, config_.dnsName);
        world_.SetJoinState(platform::JoinStatus::Domain, config_.netbiosName);
        state_.Account.Assign(ldap::FromUtf8(g_server.at("admin")));
        state_.Password.Assign(ldap::FromUtf8(g_server.at("admin_password")));
    }

    platform::Platform& os() { return os_; }
    SetupState& state() { return state_; }
    const std::u16string& domain() const { return config_.dnsName; }
    ldap::LdapDirectoryService& directory() { return directory_; }

private:
    static ldap::LdapDirectoryConfig Config() {
        ldap::LdapDirectoryConfig config;
        config.uri = g_server.at("uri");
        config.dnsName = ldap::FromUtf8(g_server.at("domain"));
        config.netbiosName = ldap::FromUtf8(g_server.at("netbios"));
        return config;
    }

    ldap::LdapDirectoryConfig config_;
    sim::World world_;
    ldap::LdapDirectoryService directory_;
    ldap::LdapJoinableUnits units_;
    platform::Platform os_;
    SetupState state_;
};

RealScene& Scene() {
    static RealScene scene;
    return scene;
}

std::u16string Decimal(long long value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

void BM_RealLocateAndMove(benchmark::State& run) {
    RealScene& scene = Scene();
    const std::u16string n = Decimal(run.range(0));
    const std::u16string target = u"TARGET" + n;
    const std::u16string destinations[] = {u"\\Dest" + n + u"\\A", u"\\Dest" + n + u"\\B"};
    int iteration = 0;
    for (auto _ : run) {
        OrganizationUnitText located;
        benchmark::DoNotOptimize(GetComputerAccountOrganizationUnit(
            scene.os(), scene.state(), scene.domain(), target, located));
        const platform::ErrorCode moved = MoveComputerAccountToOrganizationUnit(
            scene.os(), scene.state(), scene.domain(), target, destinations[iteration++ % 2]);
        if (moved != 0) {
            run.SkipWithError("the move failed (is the directory loaded?)");
            break;
        }
    }
}
BENCHMARK(BM_RealLocateAndMove)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every computer below OU=BenchN, page by page (100 rows each), with the
// ADsPath of each row read: the program's cost should grow with the rows.
void BM_RealSearchRows(benchmark::State& run) {
    RealScene& scene = Scene();
    platform::DirectoryService& directory = scene.directory();
    const std::u16string path = u"LDAP://" + scene.domain() + u"/OU=Bench" + Decimal(run.range(0)) +
                                u",DC=sales,DC=example,DC=com";
    std::size_t rows = 0;
    directory.CoInitialize();
    for (auto _ : run) {
        platform::DirectoryInterface search = platform::kNoDirectoryInterface;
        if (directory.OpenObject(path.c_str(), scene.state().Account.c_str(),
                                 scene.state().Password.c_str(), platform::kAdsSecureAuthentication,
                                 platform::DirectoryInterfaceKind::DirectorySearch, &search) != 0) {
            run.SkipWithError("the bind failed (is the directory loaded?)");
            break;
        }
        SetPagedSearch(directory, search);
        const char16_t* attributes[] = {u"ADsPath"};
        platform::DirectorySearchHandle handle = platform::kNoDirectorySearch;
        directory.ExecuteSearch(search, u"(objectClass=computer)", attributes, 1, &handle);
        while (directory.GetNextRow(search, handle) == platform::hresult::kOk) {
            platform::DirectorySearchColumn column;
            if (directory.GetColumn(search, handle, u"ADsPath", &column) == 0) {
                benchmark::DoNotOptimize(column.text);
                directory.FreeColumn(search, &column);
                ++rows;
            }
        }
        directory.CloseSearchHandle(search, handle);
        directory.Release(search);
    }
    directory.CoUninitialize();
    run.counters["rows"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
    run.SetItemsProcessed(static_cast<std::int64_t>(rows));
}
BENCHMARK(BM_RealSearchRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    corvane::g_server =
        corvane::ldap_fixture::ReadDomainControllerFile(std::getenv("CORVANE_DC_ENV"));
    if (corvane::g_server.count("uri") == 0) {
        std::cout << "real_directory_bench: no domain controller (set CORVANE_DC_ENV to the "
                     "directory.env that tests/ldap/domain_controller.sh writes); skipped\n";
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
