// The in-memory sector model at scale: 10,000 systems of 25 bodies each.
// Baseline in the same run: a flat std::vector of 250,000 plain structs of the
// same numeric payload, summed the same way.
#include "model/VexaSector.h"

#include "TenThousandSystems.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace kalvion;

namespace {

using bench::kBodiesPerSystem;
using bench::kSystems;
using bench::MakeSystem;

void BuildSector(TVexaSector &s)
{
    for (int i = 0; i < kSystems; ++i)
        s.AddSystem(MakeSystem(i));
}

void BM_BuildSector(benchmark::State &state)
{
    for (auto _ : state) {
        const auto before = mallinfo2().uordblks;
        auto s = TVexaSector::Create();
        BuildSector(*s);
        const auto after = mallinfo2().uordblks;
        state.counters["bytes_per_body"] =
            static_cast<double>(after - before) / (static_cast<double>(kSystems) * kBodiesPerSystem);
        benchmark::DoNotOptimize(s->SystemCount());
    }
}
BENCHMARK(BM_BuildSector)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UpdateRootAttribs(benchmark::State &state)
{
    auto s = TVexaSector::Create();
    BuildSector(*s);
    for (auto _ : state) {
        s->UpdateRootAttribs();
        benchmark::DoNotOptimize(s->GetSectorBodyCount());
    }
    state.counters["bodies"] = s->GetSectorBodyCount();
}
BENCHMARK(BM_UpdateRootAttribs)->Unit(benchmark::kMillisecond);

void BM_GetSectorBodyCount(benchmark::State &state)
{
    auto s = TVexaSector::Create();
    BuildSector(*s);
    s->UpdateRootAttribs();
    for (auto _ : state)
        benchmark::DoNotOptimize(s->GetSectorBodyCount());
}
BENCHMARK(BM_GetSectorBodyCount)->Unit(benchmark::kMicrosecond);

void BM_SetFilters(benchmark::State &state)
{
    auto s = TVexaSector::Create();
    BuildSector(*s);
    s->UpdateRootAttribs();
    s->BuildPoliticalList(true);
    s->FilterPopulation = 5000;
    s->FilterHabitable = 1;
    auto sub = TVexaSubsector::Create();
    sub->SizeX = sub->SizeY = sub->SizeZ = 40;
    sub->RotateZ = 30;
    sub->Visible = false;
    s->AddSubsector(std::move(sub));
    for (auto _ : state) {
        s->SetFilters();
        benchmark::DoNotOptimize(s->VisibleCount);
    }
    state.counters["visible"] = s->VisibleCount;
}
BENCHMARK(BM_SetFilters)->Unit(benchmark::kMicrosecond);

// Baseline: the same roll-up over a flat array of plain values.
struct FlatBody {
    double population;
    int habitability;
    int parentIndex;
};

void BM_BaselineFlatRollUp(benchmark::State &state)
{
    std::vector<FlatBody> bodies(static_cast<std::size_t>(kSystems) * kBodiesPerSystem);
    for (std::size_t i = 0; i < bodies.size(); ++i)
        bodies[i] = {static_cast<double>(i % 5), static_cast<int>(i % 3), static_cast<int>(i / kBodiesPerSystem)};
    std::vector<double> pop(kSystems);
    std::vector<int> hab(kSystems), count(kSystems);
    for (auto _ : state) {
        std::fill(pop.begin(), pop.end(), 0.0);
        std::fill(hab.begin(), hab.end(), 0);
        std::fill(count.begin(), count.end(), 0);
        for (const FlatBody &b : bodies) {
            pop[static_cast<std::size_t>(b.parentIndex)] += b.population;
            hab[static_cast<std::size_t>(b.parentIndex)] = std::max(hab[static_cast<std::size_t>(b.parentIndex)], b.habitability);
            ++count[static_cast<std::size_t>(b.parentIndex)];
        }
        benchmark::DoNotOptimize(pop.data());
    }
}
BENCHMARK(BM_BaselineFlatRollUp)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
