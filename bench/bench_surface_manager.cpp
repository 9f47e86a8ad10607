// The surface map manager against the terrain code alone: 20 terrestrial
// planets of a generated sector at resolution level 3, made one after another
// by the terrain code (set-up, colouring, PNG), then by the manager with one
// worker (its own cost: queue, threads, reports through the event loop) and
// with two (the same work spread), in the same run.  Counters:
//   overhead_1_worker  manager with one worker / plain - 1 (target < 0.10)
//   speedup_2_workers  plain / manager with two workers
//   max_stall_ms       the longest the event loop waited between two turns
//                      while the two workers ran (target < 20)
#include "base/SharedRandom.h"
#include "generation/SystemGenerator.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfaceMapMgr.h"
#include "surface/manager/SurfacePalette.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <memory>
#include <vector>

using namespace kalvion;

namespace {

constexpr int PLANETS = 20;
using Clock = std::chrono::steady_clock;

struct TPlanets {
    std::vector<std::unique_ptr<TStellarBody>> Roots;
    std::vector<TSurfaceMapJob> Jobs;
};

const TPlanets &GeneratedPlanets()
{
    static TPlanets p = [] {
        TPlanets out;
        TSystemGenerator gen;
        gen.Seed = 123456789u;
        gen.SetTerraformingLevel(10);
        while (static_cast<int>(out.Jobs.size()) < PLANETS) {
            auto root = TStellarBody::Create();
            gen.GenerateSystemInfo(*root);
            TStellarBodyList all;
            root->GetAllChildren(all);
            for (TStellarBody *b : all)
                if (b->TypeID == BODY_TYPE_TERRESTRIAL && static_cast<int>(out.Jobs.size()) < PLANETS) {
                    TGexColorGroup palette = DefaultVexaColorGroup();
                    ApplyManagerPalette(palette, *b);
                    TSurfaceMapJob job = SurfaceMapJobFor(*b, palette, 512, 256);
                    job.IDString = b->IDString;
                    out.Jobs.push_back(job);
                }
            out.Roots.push_back(std::move(root));
        }
        return out;
    }();
    return p;
}

double PlainSeconds(const std::vector<TSurfaceMapJob> &jobs)
{
    const auto t0 = Clock::now();
    for (const TSurfaceMapJob &job : jobs) {
        const auto terrain = SetupJobTerrain(job);
        TMapBytes png;
        EncodeMapPng(RenderTerrainMap(*terrain), png);
        benchmark::DoNotOptimize(png.data());
    }
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Seconds for the manager to make every map; the longest wait between two
// turns of the event loop meanwhile in *maxStallMs.
double ManagerSeconds(const std::vector<TSurfaceMapJob> &jobs, int workers, double *maxStallMs)
{
    TSurfaceMapMgr mgr;
    mgr.SetMaxWorkers(workers);
    mgr.SetResolution(3);
    const auto t0 = Clock::now();
    for (const TSurfaceMapJob &job : jobs)
        mgr.RequestJob(job);
    auto last = Clock::now();
    double stall = 0;
    while (mgr.FinishedCount() < static_cast<int>(jobs.size()) && (mgr.ActiveCount() > 0 || mgr.QueuedCount() > 0)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const auto now = Clock::now();
        stall = std::max(stall, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    if (maxStallMs)
        *maxStallMs = stall;
    return seconds;
}

void BM_SurfaceManager20Planets(benchmark::State &state)
{
    const auto &jobs = GeneratedPlanets().Jobs;
    double plain = 0, one = 0, two = 0, stall = 0;
    for (auto _ : state) {
        plain = PlainSeconds(jobs);
        one = ManagerSeconds(jobs, 1, nullptr);
        two = ManagerSeconds(jobs, 2, &stall);
    }
    state.counters["plain_s"] = plain;
    state.counters["manager_1_worker_s"] = one;
    state.counters["manager_2_workers_s"] = two;
    state.counters["overhead_1_worker"] = plain > 0 ? one / plain - 1.0 : 0.0;
    state.counters["speedup_2_workers"] = two > 0 ? plain / two : 0.0;
    state.counters["max_stall_ms"] = stall;
}
BENCHMARK(BM_SurfaceManager20Planets)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
