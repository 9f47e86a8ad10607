// The undo history at scale: a sector of 10,000 systems of 25 bodies.
// Baselines in the same run: the operation itself without a history, and
// the sector's own memory.
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "BenchFolder.h"
#include "TenThousandSystems.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace kalvion;

namespace {

using bench::kSystems;
using bench::MakeSystem;
constexpr int kEdited = 1000;

// The sector in memory; returns the bytes it took.
std::size_t BuildSector(TVexaSector &s)
{
    const auto before = mallinfo2().uordblks;
    for (int i = 0; i < kSystems; ++i)
        s.AddSystem(MakeSystem(i));
    return mallinfo2().uordblks - before;
}

void SelectEvery(TVexaSector &s, int step)
{
    s.SelectAll(false);
    for (int i = 0; i < s.SystemCount(); i += step)
        s.SelectBody(s.GetSystem(i));
}

std::filesystem::path &Folder()
{
    static std::filesystem::path folder = bench::MakeBenchFolder("history");
    return folder;
}

// The same sector saved and opened again: its systems are not loaded.
void OpenStoredSector(TVexaSector &s)
{
    static const std::string file = [] {
        const std::string f = (Folder() / "sector.VexaDB").string();
        TVexaSector made;
        BuildSector(made);
        SaveToFile(made, f, false);
        return f;
    }();
    LoadFromFile(s, file);
}

// Deleting 1,000 of the 10,000 systems: the operation alone, then within
// a step, then its undo.  arg 0: all in memory; 1: stored and not loaded.
void DeleteSystems(benchmark::State &state, bool recorded, bool undo)
{
    const bool stored = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = TVexaSector::Create();
        if (stored)
            OpenStoredSector(*s);
        else
            BuildSector(*s);
        SelectEvery(*s, kSystems / kEdited);
        if (!undo)
            state.ResumeTiming();
        if (recorded) {
            TEditStep step(s->History(), "Delete Systems");
            s->DeleteSelectedSystems();
        } else {
            s->DeleteSelectedSystems();
        }
        if (undo) {
            state.ResumeTiming();
            s->History().Undo();
            state.PauseTiming();
            if (s->SystemCount() != kSystems)
                state.SkipWithError("the undo did not bring the systems back");
            state.ResumeTiming();
        }
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}

void BM_DeleteSystems_Plain(benchmark::State &state) { DeleteSystems(state, false, false); }
void BM_DeleteSystems_InStep(benchmark::State &state) { DeleteSystems(state, true, false); }
void BM_DeleteSystems_Undo(benchmark::State &state) { DeleteSystems(state, true, true); }
BENCHMARK(BM_DeleteSystems_Plain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteSystems_InStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteSystems_Undo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// 100 steps of a mass edit over 1,000 systems: what the history holds
// against what the sector takes, and the time of a step against the edit.
void BM_MassEditSteps(benchmark::State &state)
{
    const bool recorded = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = TVexaSector::Create();
        const std::size_t sectorBytes = BuildSector(*s);
        SelectEvery(*s, kSystems / kEdited);
        const auto heapBefore = mallinfo2().uordblks;
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) {
            if (recorded) {
                TEditStep step(s->History(), "Political Affiliations");
                s->SetPoliticalSelected("Affiliation " + std::to_string(i));
            } else {
                s->SetPoliticalSelected("Affiliation " + std::to_string(i));
            }
        }
        state.PauseTiming();
        state.counters["history_bytes"] = static_cast<double>(s->History().BytesHeld());
        state.counters["heap_growth"] = static_cast<double>(mallinfo2().uordblks - heapBefore);
        state.counters["sector_bytes"] = static_cast<double>(sectorBytes);
        state.counters["history_share_pct"] =
            100.0 * static_cast<double>(s->History().BytesHeld()) / static_cast<double>(sectorBytes);
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MassEditSteps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) { return bench::RunBenchmarksThenRemove(argc, argv, Folder()); }
