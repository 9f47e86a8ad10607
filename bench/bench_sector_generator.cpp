// Sector generation from start to closed file, as "kalvion-cli generate"
// runs it: extended system data, names, populations and subsectors, the
// worker handing over to this thread, checkpoint saves every 10,000 systems,
// the final save and the move from the scratch file.  Reported per run:
// systems and bodies per second, the share of the time spent saving and the
// process's peak resident memory so far (run 10k first: the 100k figure then
// shows what the larger sector adds).  Against each run, the same body rows
// inserted plainly (see BaselineInsert.h) into a new file in one transaction,
// systems loaded one at a time from the generated file with only the inserts
// timed: save_vs_insert is the run's saving time over that, and
// main_cpu_vs_insert_cpu the saving thread's CPU time over the insert's
// (both CPU times are reported too, as main_cpu_s and plain_cpu_s).
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/NewSectorOptions.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include "BaselineInsert.h"
#include "BenchFolder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
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

// CPU seconds of the calling thread: on a shared machine the saving thread's
// own work, apart from what the worker and other processes take.
double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double PeakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// Seconds the plain insert of every body of the sector takes; systems are
// loaded from its file one at a time outside the timing.  Negative on failure.
// cpu receives the thread's CPU seconds of the same timed parts.
double PlainInsertSeconds(TVexaSector &sector, const std::string &file, double &cpu)
{
    cpu = 0;
    using Clock = std::chrono::steady_clock;
    const kalvion::bench::TBaselineInsert baseline;
    fs::remove(file);
    TZentSqliteInterface db(file);
    db.Execute(baseline.CreateSql());
    Clock::duration timed{};
    auto t0 = Clock::now();
    double c0 = ThreadCpuSeconds();
    db.Execute("begin transaction");
    TZentStatement st(db, baseline.InsertSql());
    timed += Clock::now() - t0;
    cpu += ThreadCpuSeconds() - c0;
    for (const auto &root : sector.Systems) {
        sector.DynaLoad(root.get());
        t0 = Clock::now();
        c0 = ThreadCpuSeconds();
        kalvion::bench::InsertTree(st, db, *root, 0);
        timed += Clock::now() - t0;
        cpu += ThreadCpuSeconds() - c0;
        sector.DynaUnload(root.get());
    }
    t0 = Clock::now();
    c0 = ThreadCpuSeconds();
    db.Execute("commit transaction");
    timed += Clock::now() - t0;
    cpu += ThreadCpuSeconds() - c0;
    const bool ok = !db.HasError;
    db.Close();
    fs::remove(file);
    return ok ? std::chrono::duration<double>(timed).count() : -1.0;
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
        const double cpuStarted = ThreadCpuSeconds();

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
        // This thread only applies hand-overs and saves: its CPU time bounds
        // the saving's from above.
        const double mainCpu = ThreadCpuSeconds() - cpuStarted;
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
        state.counters["save_s"] = saving;
        double plainCpu = 0;
        const double plain = PlainInsertSeconds(sector, (BenchFolder() / "plain.db").string(), plainCpu);
        if (plain <= 0) {
            state.SkipWithError("the plain insert failed");
            return;
        }
        state.counters["plain_insert_s"] = plain;
        state.counters["plain_cpu_s"] = plainCpu;
        state.counters["main_cpu_s"] = mainCpu;
        state.counters["save_vs_insert"] = saving / plain;
        state.counters["main_cpu_vs_insert_cpu"] = plainCpu > 0 ? mainCpu / plainCpu : 0.0;
        fs::remove(target);
    }
}

} // namespace

BENCHMARK(GenerateAndSave)->Arg(10000)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, BenchFolder());
}
