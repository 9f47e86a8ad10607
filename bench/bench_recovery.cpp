// Recovery copies of a 10,000-system sector (25 bodies a system, as in
// bench_sector_files): the longest pause of the main thread for one copy
// (the longest slice of the snapshot, the last one handing it to the
// worker) against a plain save of the same sector, which the user waits for
// whole, in the same round.  The iteration time is that longest slice; the
// snapshot's whole time, its slices and the worker's time are counters.
//  /0  a sector in memory only, never saved: everything is copied.
//  /1  the sector's file holds every system; 100 systems were opened and
//      edited (the usual case: copy the edits, carry the rest over).
//  /2  the sector's file holds every system, and every one was edited.
#include "files/SectorFile.h"
#include "files/SectorRecovery.h"
#include "model/VexaSector.h"

#include "BenchFolder.h"
#include "TenThousandSystems.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

using kalvion::bench::kBodiesPerSystem;
using kalvion::bench::kSystems;

fs::path Folder()
{
    static const fs::path dir = kalvion::bench::MakeBenchFolder("recovery");
    return dir;
}

using kalvion::bench::MakeNamedSystem;

// The sector of a mode, ready to be copied and saved.
std::unique_ptr<TVexaSector> MakeSector(int mode, const std::string &file)
{
    auto s = std::make_unique<TVexaSector>();
    s->Systems.reserve(kSystems);
    for (int i = 0; i < kSystems; ++i)
        s->AddSystem(MakeNamedSystem(i));
    if (mode == 0)
        return s;
    fs::remove(file);
    if (!SaveToFile(*s, file, false))
        return nullptr;
    const int edited = mode == 1 ? 100 : kSystems;
    for (int i = 0; i < edited; ++i) {
        TStellarBody *root = s->GetSystem(i * (kSystems / edited));
        s->DynaLoad(root);
        if (!root->Children.empty())
            root->Children[0]->Name += " (edited)";
        root->ModifySystem();
    }
    s->Modified = true;
    return s;
}

void BM_RecoveryPauseVsSave(benchmark::State &state)
{
    const int mode = static_cast<int>(state.range(0));
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    const std::string sectorFile = (Folder() / ("sector" + std::to_string(mode) + ".VexaDB")).string();
    const std::string saveFile = (Folder() / ("saved" + std::to_string(mode) + ".VexaDB")).string();
    const std::string copyFolder = (Folder() / ("copy" + std::to_string(mode))).string() + "/";
    double longestPause = 0, pauses = 0, snapshots = 0, saves = 0, workers = 0;
    int rounds = 0, sliceCount = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = MakeSector(mode, sectorFile);
        if (!s) {
            state.SkipWithError("the sector file could not be written");
            break;
        }
        state.ResumeTiming();

        // What the window does on the main thread for one copy: slices of
        // the snapshot (each one event-loop turn), the last one handing the
        // snapshot to the worker.
        TRecoveryOrigin origin;
        origin.FileName = s->FileName;
        origin.Name = "Bench";
        TRecoverySnapshotBuilder builder(*s, origin);
        double roundLongest = 0, roundTotal = 0;
        int slices = 0;
        bool ok = false;
        std::thread worker;
        for (bool done = false; !done;) {
            const auto t0 = Clock::now();
            done = builder.Step(std::chrono::milliseconds(20));
            if (done) {
                worker = std::thread([&ok, &copyFolder, sn = builder.Take()]() mutable {
                    ok = sn && WriteRecoveryCopy(*sn, copyFolder);
                    sn.reset();
                });
            }
            const double slice = seconds(Clock::now() - t0);
            roundLongest = std::max(roundLongest, slice);
            roundTotal += slice;
            ++slices;
        }
        const auto t1 = Clock::now();
        worker.join();
        const auto t2 = Clock::now();
        if (!ok)
            state.SkipWithError("the recovery copy could not be written");
        sliceCount += slices;

        // The plain save of the same sector: into its own file where it has
        // one, else into a new file.
        fs::remove(saveFile);
        const auto t3 = Clock::now();
        if (!SaveToFile(*s, mode == 0 ? saveFile : sectorFile, false))
            state.SkipWithError("the sector could not be saved");
        const auto t4 = Clock::now();

        state.SetIterationTime(roundLongest);
        longestPause = std::max(longestPause, roundLongest);
        pauses += roundLongest;
        snapshots += roundTotal;
        workers += seconds(t2 - t1);
        saves += seconds(t4 - t3);
        ++rounds;
        state.PauseTiming();
        s.reset();
        RemoveRecoveryCopy(copyFolder);
        state.ResumeTiming();
    }
    if (rounds > 0) {
        state.counters["pause_max_ms"] = longestPause * 1000;
        state.counters["pause_mean_ms"] = pauses / rounds * 1000;
        state.counters["slices"] = static_cast<double>(sliceCount) / rounds;
        state.counters["snapshot_ms"] = snapshots / rounds * 1000;
        state.counters["worker_mean_ms"] = workers / rounds * 1000;
        state.counters["save_mean_ms"] = saves / rounds * 1000;
        state.counters["pause_per_save"] = longestPause / (saves / rounds);
    }
}

BENCHMARK(BM_RecoveryPauseVsSave)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) { return kalvion::bench::RunBenchmarksThenRemove(argc, argv, Folder()); }
