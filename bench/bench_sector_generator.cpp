// Sector generation from start to closed file, as "kalvion-cli generate"
// runs it: extended system data, names, populations and subsectors, the
// worker handing over to this thread, checkpoint saves every 10,000 systems,
// the final save and the move from the scratch file.  Reported per run:
// systems and bodies per second, the share of the time spent saving and the
// process's peak resident memory so far (run 10k first: the 100k figure then
// shows what the larger sector adds).
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/NewSectorOptions.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include "BenchFolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include <sys/resource.h>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

fs::path BenchFolder()
{
    static const fs::path dir = kalvion::bench::MakeBenchFolder("gen");
    return dir;
}

double PeakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void GenerateAndSave(benchmark::State &state)
{
    const int systems = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const std::string target = (BenchFolder() / ("gen" + std::to_string(systems) + ".VexaDB")).string();
        const std::string scratch = target + ".generating~";
        fs::remove(target);
        fs::remove(scratch);
        SetSharedRandomSeed(2026);
        const auto started = std::chrono::steady_clock::now();

        TVexaSector sector;
        TNewSectorOptions options;
        options.TotalSystems = systems;
        SetUpNewSector(sector, options);
        if (!SaveToFile(sector, scratch, false)) {
            state.SkipWithError("the scratch file could not be made");
            return;
        }
        TVexaGenThreadMgr &mgr = SectorGenThreadMgr(sector);
        mgr.Start(GenerateParamsFrom(options));
        while (mgr.ProcessHandOvers(std::chrono::milliseconds(50))) {
        }
        const auto finalStart = std::chrono::steady_clock::now();
        GenerateSubsectors(sector, options.SubsectorX, options.SubsectorY, options.NameTable,
                           options.ColorSubsector, options.SubsectorZ);
        if (!SaveGenerateTempFile(sector, target)) {
            state.SkipWithError("the sector could not be saved");
            return;
        }
        const auto ended = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(ended - started).count();
        const double saving =
            mgr.SaveSeconds() + std::chrono::duration<double>(ended - finalStart).count();
        double bodies = 0;
        for (const auto &root : sector.Systems)
            bodies += root->BodyCount;
        state.SetIterationTime(seconds);
        state.counters["systems"] = static_cast<double>(sector.SystemCount());
        state.counters["systems_per_s"] = sector.SystemCount() / seconds;
        state.counters["bodies_per_s"] = bodies / seconds;
        state.counters["save_share"] = saving / seconds;
        state.counters["peak_rss_MiB"] = PeakRssMiB();
        fs::remove(target);
    }
}

} // namespace

BENCHMARK(GenerateAndSave)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, BenchFolder());
}
