// Locating and moving one computer account in sim directories of growing
// size: 10, 1,000 and 100,000 computers spread over 1,000 units (10 top
// units of 100 units each). The search goes through the directory's index
// of objects by class and name, so the cost should follow the rows the
// search returns, not the size of the tree; the second benchmark varies
// those rows.
#include "directory/computer_account.h"
#include "model/setup_state.h"
#include "platform/sim/world.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string>

namespace corvane {
namespace {

constexpr int kTopUnits = 10;
constexpr int kUnitsPerTop = 100;

std::u16string Number(int value, int digits) {
    std::u16string text(static_cast<std::size_t>(digits), u'0');
    for (int i = digits - 1; i >= 0 && value > 0; --i, value /= 10) {
        text[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'0' + value % 10);
    }
    return text;
}

// Two units that hold no computer of their own: the move goes back and
// forth between them, so that every call moves and none meets a namesake.
constexpr std::u16string_view kDestinations[] = {u"\\Dest\\A", u"\\Dest\\B"};

class BenchScene {
public:
    // `computers` accounts, of which `sameName` (at least 1) bear the name
    // of the one that is moved.
    BenchScene(int computers, int sameName) : domain_(world_.AddDomain(u"SALES", u"a.b.c")) {
        domain_.SetAcceptsOwnLogon(true);
        world_.SetJoinState(platform::JoinStatus::Domain, u"SALES");
        sim::DirectoryTree& tree = domain_.Directory();
        std::vector<sim::ObjectId> units;
        for (int top = 0; top < kTopUnits; ++top) {
            sim::ObjectId parent = sim::kNoObject;
            tree.Create(tree.Root(), sim::directory_class::kOrganizationalUnit,
                        u"T" + Number(top, 2), &parent);
            for (int sub = 0; sub < kUnitsPerTop; ++sub) {
                sim::ObjectId unit = sim::kNoObject;
                tree.Create(parent, sim::directory_class::kOrganizationalUnit,
                            u"U" + Number(sub, 3), &unit);
                units.push_back(unit);
            }
        }
        const std::u16string destinations[] = {u"Dest", u"A"};
        tree.EnsureOrganizationalUnits(destinations);
        tree.Create(tree.Find(u"OU=Dest,DC=a,DC=b,DC=c"), sim::directory_class::kOrganizationalUnit,
                    u"B");
        for (int i = 0; i < computers; ++i) {
            const std::u16string name =
                i < sameName ? std::u16string(u"TARGET") : u"PC" + Number(i, 6);
            sim::ObjectId computer = sim::kNoObject;
            tree.Create(units[static_cast<std::size_t>(i) % units.size()],
                        sim::directory_class::kComputer, name, &computer);
            tree.SetAttribute(computer, u"sAMAccountName", name + u"$");
        }
    }

    platform::Platform& os() { return world_.platform(); }
    SetupState& state() { return state_; }
    sim::World& world() { return world_; }

private:
    sim::World world_;
    sim::Domain& domain_;
    SetupState state_;
};

BenchScene& SceneFor(int computers, int sameName) {
    static std::map<std::pair<int, int>, std::unique_ptr<BenchScene>> scenes;
    auto& scene = scenes[{computers, sameName}];
    if (!scene) {
        scene = std::make_unique<BenchScene>(computers, sameName);
    }
    return *scene;
}

void LocateAndMove(benchmark::State& run, BenchScene& scene) {
    const std::size_t pagesBefore = scene.world().DirectorySearchPages();
    int iteration = 0;
    for (auto _ : run) {
        OrganizationUnitText located;
        benchmark::DoNotOptimize(GetComputerAccountOrganizationUnit(scene.os(), scene.state(),
                                                                    u"a.b.c", u"TARGET", located));
        const platform::ErrorCode moved = MoveComputerAccountToOrganizationUnit(
            scene.os(), scene.state(), u"a.b.c", u"TARGET", kDestinations[iteration % 2]);
        if (moved != 0) {
            run.SkipWithError("the move failed");
            break;
        }
        if (++iteration % 256 == 0) {
            scene.world().ClearJournal(); // keeps the sim's call record small
        }
    }
    // Result pages fetched per locate-and-move (two searches).
    run.counters["pages"] =
        benchmark::Counter(static_cast<double>(scene.world().DirectorySearchPages() - pagesBefore),
                           benchmark::Counter::kAvgIterations);
}

void BM_LocateAndMoveByDirectorySize(benchmark::State& run) {
    LocateAndMove(run, SceneFor(static_cast<int>(run.range(0)), 1));
}
BENCHMARK(BM_LocateAndMoveByDirectorySize)->Arg(10)->Arg(1000)->Arg(100000);

void BM_LocateAndMoveByRowsFound(benchmark::State& run) {
    LocateAndMove(run, SceneFor(100000, static_cast<int>(run.range(0))));
}
BENCHMARK(BM_LocateAndMoveByRowsFound)->Arg(1)->Arg(10)->Arg(100)->Arg(1000);

} // namespace
} // namespace corvane

BENCHMARK_MAIN();
