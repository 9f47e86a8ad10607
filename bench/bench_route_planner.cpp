// The route planner on generated sectors of 10,000 and 100,000 systems with
// jumps of at most 5 ly: systems placed at random in a cube at the sector
// generator's density (a system in 40 cubic light years at the default
// frequency).  Baseline in the same run: Dijkstra's plain search over every
// pair of systems within 5 ly, the graph built beforehand (not timed).  Both
// answer the same queries; the setup checks that they agree.
#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "travel/RoutePlanner.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

using namespace kalvion;

namespace {

constexpr double kJump = 5;
constexpr double kDensity = 5.0 / 200.0; // systems per cubic ly, as the generator's even fill
constexpr int kQueries = 16;

struct TBenchSector {
    TVexaSector Sector;
    std::unique_ptr<TRoutePlanner> Planner;
    TPlanGraph Graph;
    std::vector<std::pair<int, int>> Queries;
    std::vector<char> Allowed;
    bool Agree = true;
};

TBenchSector &SectorOf(int systems)
{
    static std::map<int, std::unique_ptr<TBenchSector>> made;
    auto &slot = made[systems];
    if (slot)
        return *slot;
    slot = std::make_unique<TBenchSector>();
    TBenchSector &b = *slot;
    const double span = std::cbrt(systems / kDensity);
    std::int32_t seed = 1977 + systems;
    auto next = [&] {
        seed = NextRandomSeed(seed);
        return RandomFloatFromSeed(seed) * span - span / 2;
    };
    for (int i = 0; i < systems; ++i) {
        auto root = TStellarBody::Create();
        root->X = next();
        root->Y = next();
        root->Z = next();
        b.Sector.AddSystem(std::move(root));
    }
    b.Planner = std::make_unique<TRoutePlanner>(b.Sector);
    b.Graph = BuildJumpGraph(b.Planner->Points(), kJump, true);
    b.Allowed.assign(static_cast<std::size_t>(systems), 1);
    // Queries between systems about half the sector apart.
    while (static_cast<int>(b.Queries.size()) < kQueries) {
        seed = NextRandomSeed(seed);
        const int x = static_cast<int>(RandomIntFromSeed(seed, systems));
        seed = NextRandomSeed(seed);
        const int y = static_cast<int>(RandomIntFromSeed(seed, systems));
        const auto &p = b.Planner->Points();
        if (PlanDistance(p[static_cast<std::size_t>(x)], p[static_cast<std::size_t>(y)]) > span / 2)
            b.Queries.emplace_back(x, y);
    }
    for (const TPlanGoal goal : {TPlanGoal::FewestJumps, TPlanGoal::Shortest})
        for (const auto &[x, y] : b.Queries) {
            TRoutePlanOptions o;
            o.Goal = goal;
            o.MaxJump = kJump;
            const TRoutePlan plan = b.Planner->Plan(b.Sector.GetSystem(x), b.Sector.GetSystem(y), o);
            const TPlanPath plain = SearchPlanGraph(b.Graph, b.Allowed, x, y, goal);
            if (plan.Found != plain.Found ||
                (plan.Found && (plan.Jumps != plain.Jumps || std::abs(plan.TotalDistance - plain.Total) > 1e-9)))
                b.Agree = false;
        }
    return b;
}

void RunPlanner(benchmark::State &state, TPlanGoal goal)
{
    TBenchSector &b = SectorOf(static_cast<int>(state.range(0)));
    if (!b.Agree) {
        state.SkipWithError("the planner and the plain search disagree");
        return;
    }
    TRoutePlanOptions o;
    o.Goal = goal;
    o.MaxJump = kJump;
    std::size_t q = 0;
    int jumps = 0;
    for (auto _ : state) {
        const auto &[x, y] = b.Queries[q++ % b.Queries.size()];
        const TRoutePlan plan = b.Planner->Plan(b.Sector.GetSystem(x), b.Sector.GetSystem(y), o);
        jumps = plan.Jumps;
        benchmark::DoNotOptimize(jumps);
    }
    state.counters["edges"] = static_cast<double>(b.Graph.To.size());
}

void RunPlain(benchmark::State &state, TPlanGoal goal)
{
    TBenchSector &b = SectorOf(static_cast<int>(state.range(0)));
    std::size_t q = 0;
    for (auto _ : state) {
        const auto &[x, y] = b.Queries[q++ % b.Queries.size()];
        TPlanPath path = SearchPlanGraph(b.Graph, b.Allowed, x, y, goal);
        benchmark::DoNotOptimize(path.Jumps);
    }
}

void BM_PlannerFewestJumps(benchmark::State &state) { RunPlanner(state, TPlanGoal::FewestJumps); }
void BM_PlainDijkstraFewestJumps(benchmark::State &state) { RunPlain(state, TPlanGoal::FewestJumps); }
void BM_PlannerShortest(benchmark::State &state) { RunPlanner(state, TPlanGoal::Shortest); }
void BM_PlainDijkstraShortest(benchmark::State &state) { RunPlain(state, TPlanGoal::Shortest); }

BENCHMARK(BM_PlannerFewestJumps)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDijkstraFewestJumps)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlannerShortest)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDijkstraShortest)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
