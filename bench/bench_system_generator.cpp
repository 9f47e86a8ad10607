// The star-system generator on one core, without names: systems and bodies
// per second, and the memory a generated body takes.  Baseline in the same
// run: creating the same number of empty bodies and freeing them, which is
// the part of the work that no generation step can avoid.
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

using namespace kalvion;

namespace {

std::unique_ptr<TStellarBody> GenerateOne(TSystemGenerator &gen)
{
    auto root = TStellarBody::Create();
    gen.GenerateSystemInfo(*root);
    gen.GeneratePopulations(*root);
    root->UpdateRootBody();
    return root;
}

TSystemGenerator &SectorLikeGenerator()
{
    static TSystemGenerator gen;
    gen.Seed = 123456789u;
    gen.SetTerraformingLevel(10);  // the New Star Sector default
    return gen;
}

void BM_GenerateSystems(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    TSystemGenerator &gen = SectorLikeGenerator();
    std::int64_t bodies = 0;
    for (auto _ : state) {
        auto root = GenerateOne(gen);
        bodies += root->BodyCount;
        benchmark::DoNotOptimize(root.get());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["systems/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bodies/s"] = benchmark::Counter(static_cast<double>(bodies), benchmark::Counter::kIsRate);
    state.counters["bodies/system"] = static_cast<double>(bodies) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GenerateSystems);

// Baseline: the same average number of bodies, created empty and freed.
void BM_CreateEmptyBodies(benchmark::State &state)
{
    const int perSystem = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto root = TStellarBody::Create();
        for (int i = 1; i < perSystem; ++i)
            root->AddChild(TStellarBody::Create());
        benchmark::DoNotOptimize(root.get());
    }
    state.counters["systems/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CreateEmptyBodies)->Arg(24);

void BM_MemoryPerBody(benchmark::State &state)
{
    for (auto _ : state) {
        SetSharedRandomSeed(1);
        TSystemGenerator &gen = SectorLikeGenerator();
        std::vector<std::unique_ptr<TStellarBody>> roots;
        roots.reserve(10000);
        const auto before = mallinfo2().uordblks;
        std::int64_t bodies = 0;
        for (int i = 0; i < 10000; ++i) {
            roots.push_back(GenerateOne(gen));
            bodies += roots.back()->BodyCount;
        }
        const auto after = mallinfo2().uordblks;
        state.counters["bytes/body"] = static_cast<double>(after - before) / static_cast<double>(bodies);
        state.counters["sizeof(body)"] = sizeof(TStellarBody);
        state.counters["bodies"] = static_cast<double>(bodies);
    }
}
BENCHMARK(BM_MemoryPerBody)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
