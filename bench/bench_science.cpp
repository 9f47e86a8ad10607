// Throughput of the science layer: random draws, dice, the calculator and the
// closest-approach search between two orbits.  Each group carries a baseline
// measured in the same run.
#include "base/SharedRandom.h"
#include "science/CalcExpress.h"
#include "science/Dice.h"
#include "science/Orbits.h"
#include "science/ZentRand.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace kalvion;

namespace {

// Baseline: the recurrence on a plain local seed, no shared state.
void BM_RandomPlainStep(benchmark::State &state)
{
    std::int32_t seed = 1;
    for (auto _ : state) {
        seed = NextRandomSeed(seed);
        benchmark::DoNotOptimize(RandomIntFromSeed(seed, 100));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomPlainStep);

void BM_SharedRandomInt(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedRandomInt(100));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SharedRandomInt);

void BM_SharedRandomFloat(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(SharedRandomFloat());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SharedRandomFloat);

void BM_SeedRandomFloat(benchmark::State &state)
{
    std::uint32_t seed = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(SeedRandomFloat(seed));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SeedRandomFloat);

void BM_WMin(benchmark::State &state)
{
    std::uint32_t seed = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(WMin(seed, 8, 5));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WMin);

// Baseline for the dice: the same three dice rolled without parsing.
void BM_RollDice(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(RollDice(3, 6, 2));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RollDice);

void BM_EvalDice(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(EvalDice("3d6+2"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvalDice);

void BM_EvalDiceInString(benchmark::State &state)
{
    SetSharedRandomSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(EvalDiceInString("You find {2d6} coins and {1d100/10} gems"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvalDiceInString);

// Baseline for the calculator: the same arithmetic compiled in.
void BM_CalcCompiled(benchmark::State &state)
{
    double x = 16;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(1 + 2 * std::pow(3.0, 2) - std::sqrt(x) / 4 + std::cos(0.5) * 10);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalcCompiled);

void BM_CalcExpression(benchmark::State &state)
{
    double v = 0;
    std::string msg;
    for (auto _ : state) {
        CalcExpression("1+2*3^2-sqrt(16)/4+cos(0.5)*10", v, msg);
        benchmark::DoNotOptimize(v);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalcExpression);

TOrbit SampleOrbit(double axis, double period, double e, double incl)
{
    TOrbit o;
    o.SemiMajorAxis = axis;
    o.Period = period;
    o.Eccentricity = e;
    o.Inclination = incl;
    return o;
}

// Baseline: both orbits solved for every one of the 129,600 pairs.
void BM_OrbitGetExtremesPairwise(benchmark::State &state)
{
    TOrbit a = SampleOrbit(149597870, 365.25, 0.0167, 0), b = SampleOrbit(227939200, 686.98, 0.0934, 1.85);
    for (auto _ : state) {
        double lo = 0, hi = 0;
        bool first = true;
        for (int i = 1; i <= ORBIT_EXTREMES_PRECISION; ++i) {
            a.SetTime(static_cast<double>(i) / ORBIT_EXTREMES_PRECISION * a.Period);
            for (int j = 1; j <= ORBIT_EXTREMES_PRECISION; ++j) {
                b.SetTime(static_cast<double>(j) / ORBIT_EXTREMES_PRECISION * b.Period);
                const double dx = a.PositionX - b.PositionX, dy = a.PositionY - b.PositionY,
                             dz = a.PositionZ - b.PositionZ;
                const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
                if (first || d < lo)
                    lo = d;
                if (first || d > hi)
                    hi = d;
                first = false;
            }
        }
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    }
}
BENCHMARK(BM_OrbitGetExtremesPairwise)->Unit(benchmark::kMillisecond);

void BM_OrbitGetExtremes(benchmark::State &state)
{
    TOrbit a = SampleOrbit(149597870, 365.25, 0.0167, 0), b = SampleOrbit(227939200, 686.98, 0.0934, 1.85);
    for (auto _ : state) {
        double lo = 0, hi = 0;
        OrbitGetExtremes(a, b, lo, hi);
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    }
}
BENCHMARK(BM_OrbitGetExtremes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
