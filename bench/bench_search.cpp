// Searching a generated sector of 10,000 systems saved to its file and
// reopened with no system in memory, with three queries: a selective one, an
// unselective one and one scoped to the parent star.  Each is timed
//  - from the unloaded state (the sector reopened before every run, outside
//    the timing), with the database test that skips systems that cannot match,
//  - the same without that test (every system loaded and tested): the
//    baseline for what the test saves,
//  - with every system in memory.
// The search that answers from the file is timed from the same unloaded
// state, next to the plain statement of the same conditions over the same
// file (its rows read, nothing more): the ratio of the two is the cost of
// giving the bodies in the searcher's order.
// The searchers have no result limit.  Files go to a fresh folder under the
// system's temporary folder and are removed at exit.
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/SystemGenerator.h"
#include "model/VexaSector.h"
#include "files/ZentDatabaseSQLite.h"
#include "search/SearchFileSQL.h"
#include "search/SectorSearch.h"
#include "search/Searcher.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

constexpr int kSystems = 10000;

const char *const kQueries[] = {
    "terrestrial population > 1000000",
    "star",
    "parent star temp > 5000 population > 0",
};

struct GeneratedFile {
    fs::path Dir;
    std::string File;
    std::int64_t Bodies = 0;

    GeneratedFile()
    {
        std::random_device rd;
        Dir = fs::temp_directory_path() / ("kalvion-bench-search-" + std::to_string(rd()));
        fs::create_directories(Dir);
        File = (Dir / "generated.VexaDB").string();
        SetSharedRandomSeed(20261209);
        TSystemGenerator gen;
        gen.Seed = 987654321u;
        gen.SetTerraformingLevel(10);
        TVexaSector sector;
        for (int i = 0; i < kSystems; ++i) {
            auto root = TStellarBody::Create();
            gen.GenerateSystemInfo(*root);
            gen.GeneratePopulations(*root);
            root->UpdateRootBody();
            root->Name = "System " + std::to_string(i + 1);
            root->X = SharedRandomFloat() * 200 - 100;
            root->Y = SharedRandomFloat() * 200 - 100;
            root->Z = SharedRandomFloat() * 200 - 100;
            Bodies += root->GetBodyCount() + 1;
            sector.AddSystem(std::move(root));
        }
        std::string error;
        if (!SaveToFile(sector, File, false, &error))
            throw std::runtime_error("cannot save the generated sector: " + error);
    }
    ~GeneratedFile()
    {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }
};

GeneratedFile &Generated()
{
    static GeneratedFile file;
    return file;
}

void Reopen(TVexaSector &sector)
{
    sector.clear();
    if (!LoadFromFile(sector, Generated().File))
        throw std::runtime_error("cannot reopen the generated sector");
}

void SearchUnloaded(benchmark::State &state, bool prefilter)
{
    const char *query = kQueries[state.range(0)];
    TVexaSector sector;
    std::int64_t loaded = 0, skipped = 0, results = 0;
    // Timed by hand around the search alone: the reopening outside it is
    // many times longer, and paused time still leaks into the figures.
    for (auto _ : state) {
        Reopen(sector);
        auto searcher = CreateVexaSearcher(&sector);
        searcher->UsePrefilter = prefilter;
        const auto start = std::chrono::steady_clock::now();
        searcher->Search(query);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        loaded = searcher->SystemsLoaded;
        skipped = searcher->SystemsSkipped;
        results = searcher->GetResultCount();
        searcher.reset();
        sector.clear();
    }
    state.SetLabel(query);
    state.counters["results"] = static_cast<double>(results);
    state.counters["loaded"] = static_cast<double>(loaded);
    state.counters["skipped"] = static_cast<double>(skipped);
    state.counters["bodies"] = static_cast<double>(Generated().Bodies);
}

void BM_SearchUnloaded(benchmark::State &state) { SearchUnloaded(state, true); }
void BM_SearchUnloadedWithoutPrefilter(benchmark::State &state) { SearchUnloaded(state, false); }

void BM_SectorSearchUnloaded(benchmark::State &state)
{
    const char *query = kQueries[state.range(0)];
    TVexaSector sector;
    std::int64_t answered = 0, loaded = 0, results = 0, trees = 0;
    for (auto _ : state) {
        Reopen(sector);
        TSectorSearch search(&sector);
        const auto start = std::chrono::steady_clock::now();
        search.Search(query);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        answered = search.SystemsAnswered;
        loaded = search.SystemsLoaded;
        trees = search.TreesRead;
        results = static_cast<std::int64_t>(search.Hits.size());
        sector.clear();
    }
    state.SetLabel(query);
    state.counters["results"] = static_cast<double>(results);
    state.counters["answered"] = static_cast<double>(answered);
    state.counters["trees"] = static_cast<double>(trees);
    state.counters["loaded"] = static_cast<double>(loaded);
}

// The yardstick: the conditions as one plain statement on a connection of
// its own, as a search opens one, every row stepped.
void BM_PlainQuery(benchmark::State &state)
{
    const char *query = kQueries[state.range(0)];
    TVexaQueryLanguage parser;
    parser.Parse(query);
    const TSearchFileSQL sql = BuildSearchFileSQL(parser.Params);
    if (!sql.Answerable) {
        state.SkipWithError("no plain statement");
        return;
    }
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        TZentSqliteInterface db(Generated().File, std::string(), std::string(), std::string(),
                                TZentOpenMode::ExistingOnly);
        if (!db.Open()) {
            state.SkipWithError("cannot open the generated sector");
            return;
        }
        {
            TZentStatement st(db, sql.Candidates);
            while (st.Step())
                ++rows;
            if (!sql.ParentStars.empty()) {
                TZentStatement stars(db, sql.ParentStars);
                while (stars.Step())
                    ++rows;
            }
        }
        db.Close();
    }
    state.SetLabel(query);
    state.counters["rows"] = static_cast<double>(rows);
}

const char *const kWithinQueries[] = {
    "within 10",
    "within 10 terrestrial population > 1000000",
};

// "within" of the first system, selected; range(1): 1 with every system in
// memory, 0 with none.
void BM_SectorSearchWithin(benchmark::State &state)
{
    const char *query = kWithinQueries[state.range(0)];
    const bool loaded = state.range(1) != 0;
    TVexaSector sector;
    std::int64_t results = 0, answered = 0, loadedHere = 0;
    // Timed by hand: what is paused here (loading every system) dwarfs the
    // search, and the pauses themselves would be measured.
    for (auto _ : state) {
        Reopen(sector);
        if (loaded)
            sector.DynaLoadAll();
        sector.SelectBody(sector.Systems.front().get());
        TSectorSearch search(&sector);
        const auto start = std::chrono::steady_clock::now();
        search.Search(query);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        results = static_cast<std::int64_t>(search.Hits.size());
        answered = search.SystemsAnswered;
        loadedHere = search.SystemsLoaded;
        sector.clear();
    }
    state.SetLabel(std::string(query) + (loaded ? ", loaded" : ", unloaded"));
    state.counters["results"] = static_cast<double>(results);
    state.counters["answered"] = static_cast<double>(answered);
    state.counters["loaded"] = static_cast<double>(loadedHere);
}

void BM_SectorSearchLoaded(benchmark::State &state)
{
    const char *query = kQueries[state.range(0)];
    TVexaSector sector;
    Reopen(sector);
    sector.DynaLoadAll();
    TSectorSearch search(&sector);
    for (auto _ : state) {
        search.Search(query);
        benchmark::DoNotOptimize(search.Hits.data());
    }
    state.SetLabel(query);
    state.counters["results"] = static_cast<double>(search.Hits.size());
}

void BM_SearchLoaded(benchmark::State &state)
{
    const char *query = kQueries[state.range(0)];
    static TVexaSector *sector = [] {
        auto *s = new TVexaSector;
        Reopen(*s);
        s->DynaLoadAll();
        return s;
    }();
    auto searcher = CreateVexaSearcher(sector);
    for (auto _ : state) {
        searcher->Search(query);
        benchmark::DoNotOptimize(searcher->Results.data());
    }
    state.SetLabel(query);
    state.counters["results"] = static_cast<double>(searcher->GetResultCount());
}

} // namespace

BENCHMARK(BM_SearchUnloaded)->DenseRange(0, 2)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchUnloadedWithoutPrefilter)->DenseRange(0, 2)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectorSearchUnloaded)->DenseRange(0, 2)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQuery)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectorSearchWithin)->ArgsProduct({{0, 1}, {0, 1}})->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectorSearchLoaded)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLoaded)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
