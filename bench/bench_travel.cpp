// Proximity routes on a large sector: 10,000 systems in a 200 ly cube, a 10 ly
// limit and 2 routes per system.  Baseline in the same run: the same routes
// found by measuring every pair of systems.
#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "travel/ProximityRoutes.h"
#include "travel/TravelCalculator.h"

#include <benchmark/benchmark.h>

using namespace kalvion;

namespace {

constexpr int kSystems = 10000;
constexpr double kSpan = 200;

TVexaSector &LargeSector()
{
    static TVexaSector *sector = [] {
        auto *s = new TVexaSector;
        std::int32_t seed = 2024;
        auto next = [&] {
            seed = NextRandomSeed(seed);
            return RandomFloatFromSeed(seed) * kSpan - kSpan / 2;
        };
        for (int i = 0; i < kSystems; ++i) {
            auto b = TStellarBody::Create();
            b->Name = std::to_string(i);
            b->X = next();
            b->Y = next();
            b->Z = next();
            s->AddSystem(std::move(b));
        }
        return s;
    }();
    return *sector;
}

void RunProximity(benchmark::State &state, bool indexed)
{
    TVexaSector &sector = LargeSector();
    TProximityRouteOptions o;
    o.Style = PROXIMITY_ROUTES_ALL;
    o.MaxLength = 10;
    o.MaxRoutes = 2;
    o.RouteType = "Lane";
    o.UseSpatialIndex = indexed;
    int made = 0;
    for (auto _ : state) {
        made = CreateProximityRoutes(sector, o);
        state.PauseTiming();
        sector.Routes.clear();
        state.ResumeTiming();
    }
    state.counters["routes"] = made;
}

void BM_ProximityRoutesGrid(benchmark::State &state) { RunProximity(state, true); }
void BM_ProximityRoutesAllPairs(benchmark::State &state) { RunProximity(state, false); }

void BM_TravelRecalculate(benchmark::State &state)
{
    TVexaSector &sector = LargeSector();
    TTravelCalculator calc(sector);
    calc.Inputs.StartBody = sector.GetSystem(0);
    calc.Inputs.EndBody = sector.GetSystem(1);
    calc.Inputs.StartBoundary = "150000000";
    calc.Inputs.EndBoundary = "150000000";
    for (auto _ : state)
        benchmark::DoNotOptimize(calc.Recalculate().TravelTime);
}

BENCHMARK(BM_ProximityRoutesGrid)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ProximityRoutesAllPairs)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_TravelRecalculate)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
