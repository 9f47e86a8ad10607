// The in-memory sector model at scale: 10,000 systems of 25 bodies each.
// Baseline in the same run: a flat std::vector of 250,000 plain structs of the
// same numeric payload, summed the same way.
#include "model/VexaSector.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace kalvion;

namespace {

constexpr int kSystems = 10000;
constexpr int kBodiesPerSystem = 25;

std::unique_ptr<TStellarBody> MakeSystem(int i)
{
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STAR;
    root->Name = "System " + std::to_string(i);
    root->X = (i % 100) - 50;
    root->Y = (i / 100) - 50;
    root->Z = (i % 7) - 3;
    root->PoliticalAffiliation = (i % 3 == 0) ? "League" : "";
    int made = 1;
    for (int p = 0; made < kBodiesPerSystem; ++p) {
        auto planet = TStellarBody::Create();
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Distance = 1e7 * (p + 1);
        planet->Population = (p == 2) ? 1000.0 * i : 0;
        planet->Habitability = (p == 2 && i % 2) ? HAB_HABITABLE : 0;
        ++made;
        for (int m = 0; m < 3 && made < kBodiesPerSystem; ++m, ++made) {
            auto moon = TStellarBody::Create();
            moon->TypeID = BODY_TYPE_TERRESTRIAL;
            moon->Distance = 1e5 * (m + 1);
            planet->AddChild(std::move(moon));
        }
        root->AddChild(std::move(planet));
    }
    root->SetChildDesignations(root->Name);
    return root;
}

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
