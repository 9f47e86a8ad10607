// Sector files at scale.
//  - Saving a new sector of 10,000 systems of 25 bodies, against a baseline in
//    the same run: the same 250,000 rows of the same 62 values inserted into a
//    plain table of the same columns with one prepared statement in one
//    transaction.
//  - Opening a sector of 100,000 systems (roots only), loading one system on
//    demand, and saving after one system changed.
// Files go to a fresh folder under the system's temporary folder.
#include "files/SectorFile.h"
#include "files/SectorSchema.h"
#include "files/VexaDBSQLite.h"
#include "files/ZentDatabaseSQLite.h"
#include "model/VexaSector.h"

#include "BaselineInsert.h"
#include "BenchFolder.h"
#include "TenThousandSystems.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

fs::path BenchFolder()
{
    static const fs::path dir = kalvion::bench::MakeBenchFolder("files");
    return dir;
}

using kalvion::bench::kBodiesPerSystem;
using kalvion::bench::MakeNamedSystem;

void FillSector(TVexaSector &s, int systems)
{
    s.Systems.reserve(static_cast<std::size_t>(systems));
    for (int i = 0; i < systems; ++i)
        s.AddSystem(MakeNamedSystem(i));
}

void BM_Save10kBaselineInsert(benchmark::State &state)
{
    TVexaSector s;
    FillSector(s, 10000);
    const kalvion::bench::TBaselineInsert baseline;
    const std::string file = (BenchFolder() / "baseline.db").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(file);
        state.ResumeTiming();
        std::string error;
        if (!baseline.Run(s, file, error))
            state.SkipWithError(error.c_str());
    }
    state.counters["rows"] = 10000.0 * kBodiesPerSystem;
}

void BM_Save10kSector(benchmark::State &state)
{
    const std::string file = (BenchFolder() / "save10k.VexaDB").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(file);
        auto s = std::make_unique<TVexaSector>();
        FillSector(*s, 10000);
        state.ResumeTiming();
        std::string error;
        if (!SaveToFile(*s, file, false, &error))
            state.SkipWithError(error.c_str());
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = 10000.0 * kBodiesPerSystem;
}

// The two saves above, alternated round by round so that both meet the same
// state of a shared machine; the counter is the median of the rounds'
// ratios (sector save / baseline).
void BM_Save10kPairedRatio(benchmark::State &state)
{
    const kalvion::bench::TBaselineInsert baseline;
    const std::string baseFile = (BenchFolder() / "paired-baseline.db").string();
    const std::string sectorFile = (BenchFolder() / "paired.VexaDB").string();
    std::vector<double> ratios;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        auto s = std::make_unique<TVexaSector>();
        FillSector(*s, 10000);
        fs::remove(baseFile);
        fs::remove(sectorFile);
        std::string error;
        // The baseline goes first: the sector save unloads what it wrote.
        const auto t0 = Clock::now();
        if (!baseline.Run(*s, baseFile, error))
            state.SkipWithError(error.c_str());
        const auto t1 = Clock::now();
        if (!SaveToFile(*s, sectorFile, false, &error))
            state.SkipWithError(error.c_str());
        const auto t2 = Clock::now();
        ratios.push_back(std::chrono::duration<double>(t2 - t1).count() /
                         std::chrono::duration<double>(t1 - t0).count());
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio_median"] = ratios.empty() ? 0.0 : ratios[ratios.size() / 2];
    state.counters["ratio_min"] = ratios.empty() ? 0.0 : ratios.front();
    state.counters["ratio_max"] = ratios.empty() ? 0.0 : ratios.back();
}

// The 100,000-system file, made once per run.
const std::string &File100k()
{
    static const std::string file = [] {
        const std::string f = (BenchFolder() / "sector100k.VexaDB").string();
        TVexaSector s;
        FillSector(s, 100000);
        std::string error;
        if (!SaveToFile(s, f, false, &error))
            std::fprintf(stderr, "could not make the 100k file: %s\n", error.c_str());
        return f;
    }();
    return file;
}

void BM_Open100kRootsOnly(benchmark::State &state)
{
    const std::string &file = File100k();
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<TVexaSector>();
        state.ResumeTiming();
        std::string error;
        if (!LoadFromFile(*s, file, &error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(s->SystemCount());
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}

TVexaSector &Opened100k()
{
    static TVexaSector s;
    static bool loaded = LoadFromFile(s, File100k());
    (void)loaded;
    return s;
}

void BM_DynaLoadOneOf100k(benchmark::State &state)
{
    TVexaSector &s = Opened100k();
    std::uint32_t x = 1;
    for (auto _ : state) {
        x = x * 134775813u + 1;
        TStellarBody *root = s.GetSystem(static_cast<int>(x % static_cast<std::uint32_t>(s.SystemCount())));
        s.DynaLoad(root);
        benchmark::DoNotOptimize(root->ChildrenCount());
        state.PauseTiming();
        s.DynaUnload(root);
        state.ResumeTiming();
    }
}

void BM_IncrementalSave100k(benchmark::State &state)
{
    TVexaSector &s = Opened100k();
    std::uint32_t x = 7;
    for (auto _ : state) {
        state.PauseTiming();
        x = x * 134775813u + 1;
        TStellarBody *root = s.GetSystem(static_cast<int>(x % static_cast<std::uint32_t>(s.SystemCount())));
        s.DynaLoad(root);
        root->Children[0]->Notes = "changed " + std::to_string(x);
        root->Children[0]->ModifySystem();
        state.ResumeTiming();
        std::string error;
        if (!SaveToFile(s, s.FileName, false, &error))
            state.SkipWithError(error.c_str());
    }
}

} // namespace

BENCHMARK(BM_Save10kBaselineInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Save10kSector)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Save10kPairedRatio)->Unit(benchmark::kMillisecond)->Iterations(9)->UseManualTime();
BENCHMARK(BM_Open100kRootsOnly)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DynaLoadOneOf100k)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_IncrementalSave100k)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, BenchFolder());
}
