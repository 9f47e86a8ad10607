// The worker of the sector generator: which cells hold a system, where in the
// cell it lies, and what it contains.  The draws of the thread's own seed are
// one per tested cell and three per placed cell, x outermost and z innermost;
// a seed therefore always gives the same sector.
#include "generation/SectorGenerator.h"

#include "base/NumberFormat.h"
#include "base/Rounding.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/ZentRand.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <string>

namespace kalvion {

namespace {

std::int32_t WholeSize(double size)
{
    if (!std::isfinite(size))
        return 0;
    return static_cast<std::int32_t>(Round(std::clamp(size, 0.0, 2.0e9)));
}

// Noise coordinates of a cell; a zero size gives the centre, not a NaN.
double Ratio(std::int32_t v, std::int32_t size)
{
    return size != 0 ? static_cast<double>(v) / static_cast<double>(size) : 0.0;
}

} // namespace

TVexaGeneratorThread::TVexaGeneratorThread(TVexaGenThreadMgr &mgr, const TVexaSector &sector,
                                           const TSectorGenerateParams &params, std::int32_t threadCount,
                                           std::int32_t threadIndex, std::int32_t seed)
    : SizeX(WholeSize(sector.SizeX)), SizeY(WholeSize(sector.SizeY)), SizeZ(WholeSize(sector.SizeZ)),
      TotalSystems(params.TotalSystems), Spherical(sector.Spherical), Distribution(params.Distribution),
      Frequency(sector.Frequency), SystemData(params.SystemData), Populations(params.Populations),
      ThreadCount(threadCount), ThreadIndex(threadIndex), NoiseSeed(seed), Seed(static_cast<std::uint32_t>(seed)),
      Noise(seed), LabelColor(params.LabelColor), PopulatedColor(params.PopulatedColor),
      SubsectorColor(params.SubsectorColor), NameTable(params.NameTable), OrganicNaming(params.OrganicNaming),
      Frequencies(params.Frequencies), TerraformingLevel(params.TerraformingLevel), FMgr(mgr)
{
    Noise.SetPersistence(0.5);
    Noise.SetOctaves(8);
    Pending.reserve(static_cast<std::size_t>(SECTOR_GEN_HANDOVER_AT));
}

void TVexaGeneratorThread::Execute()
{
    try {
        Run();
        Completed.store(!Terminated());
    } catch (const std::bad_alloc &) {
        Error = "Out of memory while generating the sector";
    } catch (const std::exception &e) {
        Error = std::string("The sector generator failed: ") + e.what();
    } catch (...) {
        Error = "The sector generator failed";
    }
    if (!Error.empty())
        Terminate();
    try {
        HandOver(true);
    } catch (...) {
        // Only the queue's own allocation can fail here; what it held is lost
        // but the sector's thread must still learn that the run ended.
        Pending.clear();
        TSectorHandOver last;
        last.Final = true;
        FMgr.Post(*this, std::move(last));
    }
    Finished.store(true);
}

void TVexaGeneratorThread::Run()
{
    Generator = std::make_unique<TSystemGenerator>();
    TSystemGenerator &gen = *Generator;
    gen.Seed = static_cast<std::uint32_t>(SeedRandomInt(Seed, 2000000000));
    gen.NameTableFile = NameTable;
    gen.OrganicNaming = OrganicNaming;
    gen.SystemLabelColor = LabelColor;
    gen.PopulatedLabelColor = PopulatedColor;
    gen.SubsectorColor = SubsectorColor;
    gen.Frequencies = Frequencies;
    // Populations are always allowed (terraforming depends on it); the option
    // only decides whether GeneratePopulations runs.
    gen.WithPopulations = true;
    gen.SetPickLists();
    gen.SetTerraformingLevel(TerraformingLevel);

    const std::int32_t largest = std::max({SizeX, SizeY, SizeZ});
    PadPattern.assign(std::to_string(largest).size(), '0');

    if (TotalSystems <= 0)
        BoxFill();
    else
        ShellGrowth();
}

bool TVexaGeneratorThread::PlacementTest(std::int32_t x, std::int32_t y, std::int32_t z)
{
    if (Distribution == DISTRIBUTION_EVEN)
        return SeedRandomFloat(Seed) < Frequency / 200.0;
    const double n = Noise.FractalNoise(Ratio(x, SizeX), Ratio(y, SizeY), Ratio(z, SizeZ));
    return SeedRandomFloat(Seed) < n / Frequency;
}

void TVexaGeneratorThread::PlaceCell(std::int32_t x, std::int32_t y, std::int32_t z)
{
    auto body = TStellarBody::Create();
    body->X = RoundToDecimals(6, static_cast<double>(x) + SeedRandomFloat(Seed) - 0.5);
    body->Y = RoundToDecimals(6, static_cast<double>(y) + SeedRandomFloat(Seed) - 0.5);
    body->Z = RoundToDecimals(6, static_cast<double>(z) + SeedRandomFloat(Seed) - 0.5);
    body->LabelColor = LabelColor;
    if (SystemData == GENERATE_STARS || SystemData == GENERATE_EXTENDED) {
        TSystemGenerator &gen = *Generator;
        if (SystemData == GENERATE_STARS)
            gen.StarsOnly = true;
        gen.GenerateSystemInfo(*body);
        if (Populations)
            gen.GeneratePopulations(*body);
        gen.GenerateNames(*body, static_cast<double>(SizeX));
        body->UpdateRootBody();
    } else {
        // Appended piece by piece: GCC 12 misreads "S" + std::string (-Wrestrict).
        std::string &name = body->Name;
        name.assign(1, 'S').append(FormatFloat(PadPattern, x)).append(1, ' ');
        name.append(FormatFloat(PadPattern, y)).append(1, ' ').append(FormatFloat(PadPattern, z));
        // The roll-up counts the lone root, so sector totals stay right.
        body->UpdateRootBody();
    }
    body->Modified = true;
    body->Loaded = true;
    Pending.push_back(std::move(body));
    ++Count;
    if (Pending.size() >= static_cast<std::size_t>(SECTOR_GEN_HANDOVER_AT))
        HandOver(false);
}

void TVexaGeneratorThread::TestCell(std::int32_t x, std::int32_t y, std::int32_t z)
{
    if (PlacementTest(x, y, z))
        PlaceCell(x, y, z);
}

void TVexaGeneratorThread::BoxFill()
{
    FShell = false;
    SizeX += SizeX % 2;
    SizeY += SizeY % 2;
    SizeZ += SizeZ % 2;
    const std::int32_t hx = SizeX / 2;
    const std::int32_t hy = Spherical ? hx : SizeY / 2;
    const std::int32_t hz = Spherical ? hx : SizeZ / 2;
    const std::int64_t radius2 = static_cast<std::int64_t>(hx) * hx;
    FDone = 0;
    HandOver(false);
    std::int32_t shown = 0;
    for (std::int32_t x = -hx; x <= hx && !Terminated(); ++x) {
        FDone = x + hx;
        // The placement pass reports itself as it goes, even where it places
        // too few systems for a batch to fill.
        if (ProgressPercent() != shown) {
            shown = ProgressPercent();
            ReportProgress();
        }
        for (std::int32_t y = -hy; y <= hy && !Terminated(); ++y)
            for (std::int32_t z = -hz; z <= hz && !Terminated(); ++z) {
                if (Spherical) {
                    const std::int64_t d2 = static_cast<std::int64_t>(x) * x + static_cast<std::int64_t>(y) * y +
                                            static_cast<std::int64_t>(z) * z;
                    if (d2 > radius2)
                        continue;
                }
                TestCell(x, y, z);
            }
    }
    FDone = Terminated() ? FDone : SizeX;
}

void TVexaGeneratorThread::ShellGrowth()
{
    FShell = true;
    FTarget = Spherical ? 2 * TotalSystems : TotalSystems;
    TestCell(0, 0, 0);
    const auto reached = [this] { return Count >= FTarget || Terminated(); };
    for (std::int32_t i = 1; !Terminated(); ++i) {
        SizeX = SizeY = SizeZ = 2 * i;
        bool stop = reached();
        // The faces x = ±i, then y = ±i, then z = ±i; a cell on an edge is
        // tested once for each face it lies on.
        for (std::int32_t a = -i; a <= i && !stop; ++a)
            for (std::int32_t b = -i; b <= i && !stop; ++b) {
                TestCell(i, a, b);
                if ((stop = reached()))
                    break;
                TestCell(-i, a, b);
                stop = reached();
            }
        for (std::int32_t a = -i; a <= i && !stop; ++a)
            for (std::int32_t b = -i; b <= i && !stop; ++b) {
                TestCell(a, i, b);
                if ((stop = reached()))
                    break;
                TestCell(a, -i, b);
                stop = reached();
            }
        for (std::int32_t a = -i; a <= i && !stop; ++a)
            for (std::int32_t b = -i; b <= i && !stop; ++b) {
                TestCell(a, b, i);
                if ((stop = reached()))
                    break;
                TestCell(a, b, -i);
                stop = reached();
            }
        if (Terminated())
            break;
        if (Count < FTarget)
            continue;
        if (!Spherical)
            break;
        HandOver(false);
        if (FMgr.RequestTrim(*this, i, TotalSystems))
            break;
        FTarget += 8;
    }
}

std::int32_t TVexaGeneratorThread::ProgressPercent() const
{
    double p = 0;
    if (!FShell)
        p = SizeX > 0 ? 100.0 * FDone / SizeX : 100.0;
    else if (Spherical)
        p = TotalSystems > 0 ? 100.0 * Count / (2.0 * TotalSystems) : 100.0;
    else
        p = TotalSystems > 0 ? 100.0 * Count / TotalSystems : 100.0;
    return static_cast<std::int32_t>(Round(std::clamp(p, 0.0, 1.0e9)));
}

// Progress alone: the systems waiting for a full batch stay with the worker,
// so batches (and the checkpoints that follow them) keep their sizes.
void TVexaGeneratorThread::ReportProgress()
{
    TSectorHandOver item;
    item.Shell = FShell;
    item.SizeX = SizeX;
    item.SizeY = SizeY;
    item.SizeZ = SizeZ;
    item.Percent = ProgressPercent();
    FMgr.Post(*this, std::move(item));
}

void TVexaGeneratorThread::HandOver(bool final)
{
    TSectorHandOver item;
    item.Bodies = std::move(Pending);
    Pending.clear();
    if (!final)
        Pending.reserve(static_cast<std::size_t>(SECTOR_GEN_HANDOVER_AT));
    item.Shell = FShell;
    item.SizeX = SizeX;
    item.SizeY = SizeY;
    item.SizeZ = SizeZ;
    item.Percent = ProgressPercent();
    item.Final = final;
    FMgr.Post(*this, std::move(item));
}

} // namespace kalvion
