// Noise sampling rates and the cost of a planet's surface map.  The map
// benchmarks cover seed to pixels (generation, craters, clouds, colouring);
// PNG encoding is timed through kalvion-cli terrain.
#include "surface/PerlinNoise.h"
#include "surface/PlanetTerrain.h"
#include "surface/SimplexNoise.h"

#include <benchmark/benchmark.h>

using namespace kalvion;

namespace {

constexpr int SAMPLES = 1 << 16;

// Points spread over a sphere of radius 100 around (100, 100, 100), like the
// terrain's samples, scaled by a typical octave frequency.
std::vector<double> SamplePoints()
{
    std::vector<double> p;
    p.reserve(SAMPLES * 3);
    TRandomState r{77u};
    for (int i = 0; i < SAMPLES; ++i)
        for (int k = 0; k < 3; ++k)
            p.push_back((r.Random(200000) / 1000.0) * 0.04);
    return p;
}

void BM_SimplexNoise3(benchmark::State &state)
{
    TSimplexNoiseGenerator s;
    s.SetSeed(1234);
    s.Initialize();
    const auto pts = SamplePoints();
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < pts.size(); i += 3)
            sum += s.Noise3(pts[i], pts[i + 1], pts[i + 2]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * SAMPLES);
}
BENCHMARK(BM_SimplexNoise3);

void BM_PerlinNoise3(benchmark::State &state)
{
    const TPerlinNoiseGenerator p(1234);
    const auto pts = SamplePoints();
    for (auto _ : state) {
        double sum = 0;
        for (std::size_t i = 0; i < pts.size(); i += 3)
            sum += p.Noise3(pts[i], pts[i + 1], pts[i + 2]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * SAMPLES);
}
BENCHMARK(BM_PerlinNoise3);

// A 1024 x 512 Earth-like map from the seed to its pixels, by worker count.
void BM_PlanetMap1024(benchmark::State &state)
{
    TPlanetTerrainInput planet;
    planet.RandomSeed = 42;
    const int workers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto terrain = SetupPlanetTerrain(planet, 1024, 512, workers);
        TRgbImage image = RenderTerrainMap(*terrain);
        benchmark::DoNotOptimize(image.Pixels.data());
    }
}
BENCHMARK(BM_PlanetMap1024)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
