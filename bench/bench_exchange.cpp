// Import and export at scale.
//  - CSV import of 100,000 star lines into an empty sector, including the
//    save into a new sector file; the baseline in the same run is the plain
//    read and line split of the same file.
//  - CSV import of 100,000 lines of which 10,000 are routes between systems
//    named earlier in the file (no save); the baseline is the read and split
//    of the same file, and for comparison the cost of finding the same
//    20,000 route ends by scanning the systems one by one (the former way).
//  - The HTML report (style 0) of a stored sector of 10,000 systems of a
//    star and 8 planets, every system unloaded (loaded once each by the
//    report); the baseline is DynaLoad and DynaUnload of every system.
// Files go to a fresh folder under the system's temporary folder.
#include "base/AsciiText.h"
#include "exchange/SectorReport.h"
#include "exchange/VexaImportCSV.h"
#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include "BenchFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

using namespace kalvion;
namespace fs = std::filesystem;

namespace {

fs::path BenchFolder()
{
    static const fs::path dir = kalvion::bench::MakeBenchFolder("exchange");
    return dir;
}

const std::string &CsvFile()
{
    static const std::string file = [] {
        const std::string path = (BenchFolder() / "stars.csv").string();
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 100000; ++i)
            out << "star," << (i % 7 == 0 ? i - 1 : i) << ",Star " << i << "," << (i % 1000) * 0.0137 << ","
                << (i / 1000) * 0.021 << "," << i * 0.0001 << ",0." << (1 + i % 9) << ",,,G" << i % 10 << "V,#FFEEDD,n\n";
        return path;
    }();
    return file;
}

void BM_CsvReadBaseline(benchmark::State &state)
{
    const std::string &file = CsvFile();
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::string line;
        std::vector<std::string_view> fields;
        std::size_t n = 0;
        while (std::getline(in, line)) {
            TVexaImportCSV::SplitFields(line, fields);
            n += fields.size();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_CsvReadBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

const std::string &RouteCsvFile()
{
    static const std::string file = [] {
        const std::string path = (BenchFolder() / "routes.csv").string();
        std::ofstream out(path, std::ios::binary);
        constexpr int stars = 90000;
        for (int i = 0; i < stars; ++i)
            out << "star," << i << ",Star " << i << "," << (i % 1000) * 0.0137 << "," << (i / 1000) * 0.021 << ","
                << i * 0.0001 << ",1,,,G2V\n";
        // Ends spread over the whole list, later systems included, written
        // in another case than the stars' names.
        for (int r = 0; r < 10000; ++r)
            out << "route,STAR " << (r * 7919) % stars << ",star " << (stars - 1 - (r * 104729) % stars)
                << ",Trade,Lane " << r << ",#00FF00,0,1\n";
        return path;
    }();
    return file;
}

void BM_CsvRoutesReadBaseline(benchmark::State &state)
{
    const std::string &file = RouteCsvFile();
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::string line;
        std::vector<std::string_view> fields;
        std::size_t n = 0;
        while (std::getline(in, line)) {
            TVexaImportCSV::SplitFields(line, fields);
            n += fields.size();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_CsvRoutesReadBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CsvImport100kWith10kRoutes(benchmark::State &state)
{
    const std::string &file = RouteCsvFile();
    for (auto _ : state) {
        TVexaSector sector;
        int errors = 0;
        ImportCSVWithReport(sector, file, false, &errors);
        if (errors != 0 || sector.RouteCount() != 10000)
            state.SkipWithError("routes not imported");
    }
}
BENCHMARK(BM_CsvImport100kWith10kRoutes)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_CsvRouteEndsByScan(benchmark::State &state)
{
    TVexaSector sector;
    ImportCSVWithReport(sector, RouteCsvFile(), false);
    std::vector<std::string> names;
    for (const auto &route : sector.Routes)
        for (const auto &wp : route->Waypoints)
            names.push_back(AsciiUpper(wp->Body->Name));
    for (auto _ : state) {
        std::size_t found = 0;
        for (const std::string &name : names)
            found += sector.FindRootBodyByName(name) != nullptr;
        if (found != names.size())
            state.SkipWithError("route end not found");
    }
}
BENCHMARK(BM_CsvRouteEndsByScan)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_CsvImport100kWithSave(benchmark::State &state)
{
    const std::string &file = CsvFile();
    const std::string target = (BenchFolder() / "imported.VexaDB").string();
    for (auto _ : state) {
        TVexaSector sector;
        ImportCSVWithReport(sector, file, false);
        if (!SaveToFile(sector, target, false))
            state.SkipWithError("save failed");
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CsvImport100kWithSave)->Unit(benchmark::kMillisecond)->Iterations(2);

const std::string &ReportSectorFile()
{
    static const std::string file = [] {
        const std::string path = (BenchFolder() / "report.VexaDB").string();
        TVexaSector sector;
        for (int i = 0; i < 10000; ++i) {
            auto star = TStellarBody::Create();
            star->TypeID = BODY_TYPE_STAR;
            star->Name = "System " + std::to_string(i);
            star->Spectral = "G2V";
            star->Mass = 1 + i % 3;
            star->X = i * 0.01;
            for (int p = 0; p < 8; ++p) {
                auto planet = TStellarBody::Create();
                planet->TypeID = p % 3 == 0 ? BODY_TYPE_GASGIANT : BODY_TYPE_TERRESTRIAL;
                planet->Name = star->Name + " " + std::to_string(p + 1);
                planet->Distance = 5e7 * (p + 1);
                planet->Radius = 3000 + p * 1000;
                planet->Density = 1;
                planet->Temp = 200 + p;
                planet->Population = p == 2 ? 1e6 : 0;
                star->AddChild(std::move(planet));
            }
            star->UpdateRootBody();
            sector.AddSystem(std::move(star));
        }
        SaveToFile(sector, path, false);
        return path;
    }();
    return file;
}

void BM_ReportLoadBaseline(benchmark::State &state)
{
    for (auto _ : state) {
        TVexaSector sector;
        LoadFromFile(sector, ReportSectorFile());
        for (auto &root : sector.Systems) {
            sector.DynaLoad(root.get());
            sector.DynaUnload(root.get());
        }
    }
}
BENCHMARK(BM_ReportLoadBaseline)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Report10kStyle0(benchmark::State &state)
{
    const std::string page = (BenchFolder() / "report.html").string();
    for (auto _ : state) {
        TVexaSector sector;
        LoadFromFile(sector, ReportSectorFile());
        if (!ExportToHTML(sector, page, REPORTSTYLE_ALL, false, true, false, nullptr))
            state.SkipWithError("report failed");
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(page));
}
BENCHMARK(BM_Report10kStyle0)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, BenchFolder());
}
