// Filling the organisational-unit list of a large domain: the listing, the
// look-up of the computer's unit and one entry per unit.
#include "directory/joinable_organization_units.h"
#include "fakes/fake_dialog_view.h"
#include "model/setup_state.h"
#include "platform/sim/world.h"
#include "support/text_format.h"
#include "ui/authentication_dialog.h"
#include "ui/dialog_ids.h"

#include <benchmark/benchmark.h>
#include <string>

namespace corvane {
namespace {

constexpr int kList = ui::main_dialog::kOrganizationUnitList;

// A member of a.b.c whose directory holds `units` OUs: a region per hundred
// and the rest below them, not in sorted order, with the computer's account
// in the last one.
void BuildDomain(sim::World& world, int units) {
    sim::Domain& domain = world.AddDomain(u"A", u"a.b.c");
    world.SetJoinState(platform::JoinStatus::Domain, u"A");
    domain.SetAcceptsOwnLogon(true);
    const int regions = units / 100 + 1;
    std::u16string last;
    for (int i = 0; i < units - regions; ++i) {
        const std::u16string path[] = {FormatText(u"Region%04d", i % regions),
                                       FormatText(u"Unit%05d", (i * 7919) % units)};
        domain.Directory().EnsureOrganizationalUnits(path);
        last = u"OU=" + path[1] + u",OU=" + path[0];
    }
    domain.AddComputer(u"PC1", last);
}

void FillList(benchmark::State& run, bool sorted) {
    const int units = static_cast<int>(run.range(0));
    sim::World world;
    BuildDomain(world, units);
    SetupState setup;
    setup.CurrentComputerName.Assign(u"PC1");
    for (auto _ : run) {
        fakes::FakeDialogView dialog;
        dialog.item(kList).sorted = sorted;
        DomainText domain(u"A");
        setup.OrganizationUnitListLoaded = 0;
        AuthenticationPrompt prompt(world.platform(), setup);
        const bool filled =
            FillJoinableOrganizationUnits(world.platform(), setup, dialog, kList, domain, prompt);
        benchmark::DoNotOptimize(filled);
        // Every unit and the default computer container, one selected.
        if (!filled || dialog.ListCount(kList) != units + 1 ||
            dialog.ListSelection(kList) == platform::kNoListSelection) {
            run.SkipWithError("the list was not filled");
            break;
        }
    }
    run.SetItemsProcessed(run.iterations() * units);
}

// The list appends: what the fill itself costs, over the sim's listing.
void BM_FillJoinableOrganizationUnits(benchmark::State& run) {
    FillList(run, false);
}

// The list sorts every entry in, as the combo box does.
void BM_FillJoinableOrganizationUnitsSortedList(benchmark::State& run) {
    FillList(run, true);
}

BENCHMARK(BM_FillJoinableOrganizationUnits)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillJoinableOrganizationUnitsSortedList)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane
