// 2D output: a 2000-pixel map of a 10,000-system sector with labels, grid and
// routes, and a 512 x 256 gas-giant texture.
#include "base/SharedRandom.h"
#include "graphics/AtmosphereTextures.h"
#include "graphics/RenderSectorNG.h"
#include "graphics/ZentGraphics.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <string>

namespace {

using namespace kalvion;

std::unique_ptr<TVexaSector> BigSector(int count)
{
    SetSharedRandomSeed(2024);
    auto sector = TVexaSector::Create();
    sector->SizeX = sector->SizeY = sector->SizeZ = 100;
    for (int i = 0; i < count; ++i) {
        auto b = TStellarBody::Create();
        b->Name = "System ";
        b->Name += std::to_string(i);
        b->TypeID = BODY_TYPE_STAR;
        b->X = (SharedRandomFloat() - 0.5) * 100;
        b->Y = (SharedRandomFloat() - 0.5) * 100;
        b->Z = (SharedRandomFloat() - 0.5) * 100;
        b->Color = ColorRGB(255, 220, 120);
        sector->AddSystem(std::move(b));
    }
    for (int r = 0; r + 4 < count && r < 2000; r += 4) {
        auto route = TStellarRoute::Create();
        route->Name = "Lane";
        route->Green = 1;
        for (int k = 0; k < 4; ++k)
            route->AddSystem(sector->GetSystem(r + k));
        sector->Routes.push_back(std::move(route));
    }
    return sector;
}

void BM_SectorMap10k(benchmark::State &state)
{
    EnsureGuiApplication();
    auto sector = BigSector(10000);
    for (auto _ : state) {
        TRenderSectorNG r(*sector);
        r.ColorMode = MAP_MODE_COLOR_BLACK;
        r.PageWidth = r.PageHeight = 2000;
        QImage img(2000, 2000, QImage::Format_RGB32);
        img.fill(Qt::white);
        TZentGraphics g(&img);
        r.Draw(g);
        g.Finish();
        benchmark::DoNotOptimize(img.bits());
        state.counters["labels"] = r.PlacedLabels.Count();
    }
}
BENCHMARK(BM_SectorMap10k)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_GasGiant512(benchmark::State &state)
{
    auto body = TStellarBody::Create();
    body->TypeID = BODY_TYPE_GASGIANT;
    body->RandomSeed = 77;
    body->Albedo = 0.4;
    for (auto _ : state) {
        QImage img = GenerateGasGiantAtmTexture(nullptr, *body, 512, 256);
        benchmark::DoNotOptimize(img.bits());
    }
}
BENCHMARK(BM_GasGiant512)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

BENCHMARK_MAIN();
