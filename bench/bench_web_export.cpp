// Exporting a generated 10,000-system sector as a web page, and the time the
// page takes in headless Chromium (software WebGL) to draw its first frame.
#include "BenchFolder.h"

#include "cli/CliApp.h"
#include "exchange/WebExport.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <sstream>

#include <unistd.h>

namespace {

using namespace kalvion;

std::filesystem::path g_folder;

TVexaSector &Sector()
{
    static std::unique_ptr<TVexaSector> sector;
    if (!sector) {
        const std::string file = (g_folder / "web.VexaDB").string();
        std::ostringstream out, err;
        cli::RunCli({"kalvion-cli", "--seed", "2026", "generate", file, "--systems", "10000", "--no-subsectors"}, out,
                    err);
        cli::RunCli({"kalvion-cli", "routes", file, "--proximity", "--max", "3", "--per-system", "1"}, out, err);
        sector = TVexaSector::Create();
        if (!LoadFromFile(*sector, file, nullptr))
            throw std::runtime_error("cannot generate the benchmark sector: " + err.str());
        sector->UpdateRouteBodies();
    }
    return *sector;
}

void BM_WebExport10k(benchmark::State &state)
{
    TVexaSector &sector = Sector();
    TWebExportResult r;
    for (auto _ : state)
        r = ExportSectorWebPage(sector, (g_folder / "page").string(), {});
    state.counters["systems"] = r.Systems;
    state.counters["bodies"] = r.Bodies;
    state.counters["data_MB"] =
        static_cast<double>(std::filesystem::file_size(g_folder / "page" / WEB_EXPORT_DATA_FILE)) / 1e6;
}
BENCHMARK(BM_WebExport10k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The page's own clock: navigation start to the end of the first frame.
void BM_WebFirstFrame10k(benchmark::State &state)
{
    if (::access("/usr/bin/chromium", X_OK) != 0) {
        state.SkipWithError("Chromium is not installed");
        return;
    }
    const std::filesystem::path page = g_folder / "page" / "index.html";
    if (!std::filesystem::exists(page))
        ExportSectorWebPage(Sector(), (g_folder / "page").string(), {});
    double total = 0;
    for (auto _ : state) {
        const std::string command =
            "chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader "
            "--user-data-dir=" + (g_folder / "profile").string() +
            " --window-size=1280,800 --dump-dom file://" + page.string() + " 2>/dev/null";
        std::string dom;
        if (FILE *pipe = ::popen(command.c_str(), "r")) {
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
                dom.append(buf, n);
            ::pclose(pipe);
        }
        const auto at = dom.find("data-first-frame-ms=\"");
        if (at == std::string::npos) {
            state.SkipWithError("the page did not report its first frame");
            return;
        }
        total += std::stod(dom.substr(at + 21));
    }
    state.counters["first_frame_ms"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WebFirstFrame10k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    g_folder = kalvion::bench::MakeBenchFolder("web");
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, g_folder);
}
