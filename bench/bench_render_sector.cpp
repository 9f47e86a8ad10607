// Frame time of the 3D sector view (offscreen, Mesa's software renderer,
// 1280 × 800) for generated sectors of 10,000 and 100,000 systems with
// labels, routes and the grid on, against the floor of this renderer: the
// same number of points drawn in one glBegin/glEnd batch.  Needs an X display
// (scripts/with-display.sh gives one).
#include "BenchFolder.h"
#include "OffscreenTarget.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"

#include <benchmark/benchmark.h>

#include <QOpenGLFramebufferObject>

#include <map>
#include <memory>
#include <sstream>

namespace {

using namespace kalvion;

constexpr int Width = 1280, Height = 800;

std::filesystem::path g_folder;

QOpenGLFramebufferObject &Target() { return bench::Target(Width, Height); }

// A generated sector (stars, names, populations) with proximity routes,
// made once per size through the command-line program.
TVexaSector &Sector(int systems)
{
    static std::map<int, std::unique_ptr<TVexaSector>> made;
    auto &slot = made[systems];
    if (!slot) {
        const std::string file = (g_folder / ("sector" + std::to_string(systems) + ".VexaDB")).string();
        std::ostringstream out, err;
        cli::RunCli({"kalvion-cli", "--seed", "2026", "generate", file, "--systems", std::to_string(systems),
                     "--data", "stars", "--no-subsectors"},
                    out, err);
        cli::RunCli({"kalvion-cli", "routes", file, "--proximity", "--max", "3", "--per-system", "1"}, out, err);
        slot = TVexaSector::Create();
        if (!LoadFromFile(*slot, file, nullptr))
            throw std::runtime_error("cannot generate the benchmark sector: " + err.str());
        slot->UpdateRouteBodies();
        slot->GridsEnabled = true;
        slot->GridStyle = GRID_STYLE_CUBE;
        // A grid of about a thousand cells, as a user would set it.
        slot->GridX = slot->GridY = slot->GridZ = std::max(1.0, slot->SizeX / 10);
    }
    return *slot;
}

void BM_SectorFrame(benchmark::State &state)
{
    TVexaSector &sector = Sector(static_cast<int>(state.range(0)));
    sector.GridsEnabled = state.range(1) != 0;
    Target();
    TRenderSectorOGL renderer;
    renderer.NoRaster = false;  // screen data on, as with the pointer tool
    renderer.Render(sector, nullptr, nullptr, Height, Width);  // fonts made outside the timing
    glFinish();
    double setup = 0, routes = 0, systems = 0, grid = 0;
    for (auto _ : state) {
        renderer.Render(sector, nullptr, nullptr, Height, Width);
        glFinish();
        setup += renderer.Timings[0];
        routes += renderer.Timings[1] - renderer.Timings[0];
        systems += renderer.Timings[2] - renderer.Timings[1];
        grid += renderer.Timings[3] - renderer.Timings[2];
    }
    renderer.ReleaseAll();
    // Where a frame's time goes before the GL finishes drawing, per frame.
    const double n = static_cast<double>(state.iterations());
    state.counters["setup_ms"] = setup / n;
    state.counters["routes_ms"] = routes / n;
    state.counters["systems_ms"] = systems / n;
    state.counters["grid_ms"] = grid / n;
    state.counters["systems"] = static_cast<double>(sector.SystemCount());
    state.counters["routes"] = static_cast<double>(sector.RouteCount());
}
// Second argument: the sector grid on (1) or off (0).
BENCHMARK(BM_SectorFrame)
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same number of points, coloured, in one glBegin/glEnd batch under the
// same camera: what this renderer cannot go below.
void BM_PointBatchBaseline(benchmark::State &state)
{
    TVexaSector &sector = Sector(static_cast<int>(state.range(0)));
    Target();
    const TMatrix4 projection = PerspectiveMatrix(45, static_cast<double>(Width) / Height, 0.1, 1000000);
    const TMatrix4 modelview = LookAtMatrix(sector.Camera, sector.Target, {0, 1, 0});
    for (auto _ : state) {
        glViewport(0, 0, Width, Height);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(modelview.data());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glBegin(GL_POINTS);
        for (const auto &root : sector.Systems) {
            glColor3d(0.8, 0.8, 0.8);
            glVertex3d(root->X, root->Y, root->Z);
        }
        glEnd();
        glFinish();
    }
}
BENCHMARK(BM_PointBatchBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    g_folder = kalvion::bench::MakeBenchFolder("render");
    return kalvion::bench::RunBenchmarksThenRemove(argc, argv, g_folder);
}
