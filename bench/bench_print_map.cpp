// Printing the 2D map of a 10,000-system sector 2.5 pages across to PDF,
// against exporting the same map once as a PNG of the same total pixel
// size: the sheets redraw the map once each, clipped to their page, and
// should stay within a small multiple of the single picture.
#include "graphics/RenderSectorNG.h"
#include "graphics/SectorPrint.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <benchmark/benchmark.h>

#include <QPrinter>
#include <QTemporaryDir>

#include <memory>
#include <random>

namespace {

using namespace kalvion;

constexpr double PagesAcross = 2.5;

TVexaSector &Sector()
{
    static std::unique_ptr<TVexaSector> sector = [] {
        auto s = TVexaSector::Create();
        s->Name = "Bench";
        s->SizeX = s->SizeY = s->SizeZ = 100;
        std::mt19937 rng(2026);
        std::uniform_real_distribution<double> at(-50, 50);
        for (int i = 0; i < 10000; ++i) {
            auto b = TStellarBody::Create();
            b->Name = "Star " + std::to_string(i);
            b->TypeID = 1;
            b->X = at(rng);
            b->Y = at(rng);
            b->Z = at(rng);
            s->AddSystem(std::move(b));
        }
        return s;
    }();
    return *sector;
}

QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    return dir;
}

void PrintToPdf(benchmark::State &state)
{
    EnsureGuiApplication();
    TVexaSector &s = Sector();
    int sheets = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(Folder().filePath(QStringLiteral("map.pdf")));
        sheets = PrintSector(s, TMapOptions{}, PagesAcross, printer);
    }
    state.counters["sheets"] = sheets;
}

void ExportPng(benchmark::State &state)
{
    EnsureGuiApplication();
    TVexaSector &s = Sector();
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const TPrintLayout layout =
        PrintLayout(100, 100, TPrintPage{printer.width(), printer.height(), printer.logicalDpiX()}, PagesAcross);
    const std::string file = Folder().filePath(QStringLiteral("map.png")).toStdString();
    for (auto _ : state)
        Export2D(s, file, 0, 0, layout.MapWidth, 1, 1, true, true, true);
    state.counters["pixels"] = static_cast<double>(layout.MapWidth) * layout.MapHeight;
}

BENCHMARK(PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ExportPng)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
