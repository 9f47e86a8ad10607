// The single-threaded sector generation that scripts call.  It keeps its own
// placement rules (a density ten times that of the threaded generator, cells
// counted from 1) because scripts written for it rely on them.
#include "generation/SectorGenerator.h"

#include "base/NumberFormat.h"
#include "base/Rounding.h"
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <chrono>
#include <cmath>
#include <filesystem>

namespace kalvion {

namespace {

std::int32_t TruncSize(double size)
{
    if (!std::isfinite(size) || size <= 0)
        return 0;
    return static_cast<std::int32_t>(std::trunc(std::min(size, 2.0e9)));
}

} // namespace

bool GenerateSector(TVexaSector &sector, std::int32_t distribution, std::int32_t systemData, bool populations,
                    TColor labelColour, TColor populatedColour, TColor subsectorColour, const std::string &nameTable,
                    const std::function<bool(const std::string &, double)> &progress, std::string *error)
{
    TSystemGenerator gen;
    gen.NameTableFile = nameTable;
    gen.WithPopulations = populations;
    gen.SystemLabelColor = labelColour;
    gen.PopulatedLabelColor = populatedColour;
    gen.SubsectorColor = subsectorColour;
    gen.StarsOnly = systemData == GENERATE_STARS;

    if (sector.RandomSeed == 0)
        sector.RandomSeed = SharedRandomInt(1000000000);
    TPerlinNoiseGenerator noise(sector.RandomSeed);
    noise.SetPersistence(0.5);
    if (!(sector.Frequency >= 1))
        sector.Frequency = 1;

    const std::size_t step = static_cast<std::size_t>(SECTOR_GEN_CACHE_AT) *
                             (systemData == GENERATE_NONE ? 500u : systemData == GENERATE_STARS ? 5u : 1u);
    std::size_t threshold = step;
    bool cached = false;
    const std::string tempFile = GenerateTempFile();
    const auto cache = [&](const char *status) {
        sector.RenderStatus = status;
        if (!cached) {
            std::error_code ec;
            if (!SameFilePath(sector.FileName, tempFile)) {
                std::filesystem::remove(tempFile, ec);
                std::filesystem::remove(tempFile + "-journal", ec);
            }
            cached = true;
        }
        const bool ok = SaveToFile(sector, tempFile, true, error);
        sector.RenderStatus.clear();
        return ok;
    };

    const std::int32_t nx = TruncSize(sector.SizeX), ny = TruncSize(sector.SizeY), nz = TruncSize(sector.SizeZ);
    const double cx = sector.SizeX / 2, cy = sector.SizeY / 2, cz = sector.SizeZ / 2;
    const double radius2 = cx * cx;
    auto lastReport = std::chrono::steady_clock::now();
    bool reported = false;
    bool stop = false;
    for (std::int32_t i = 1; i <= nx && !stop; ++i)
        for (std::int32_t j = 1; j <= ny && !stop; ++j) {
            const double done = static_cast<double>(i) / nx;
            sector.RenderMessageBig = "Generating Sector: " + std::to_string(static_cast<int>(Round(100 * done))) +
                                      "% complete.  Hit Escape to cancel";
            sector.RenderMessageSmall = std::to_string(sector.Systems.size()) + " systems generated";
            const auto now = std::chrono::steady_clock::now();
            if (!reported || now - lastReport >= std::chrono::milliseconds(SECTOR_GEN_UPDATETIME)) {
                reported = true;
                lastReport = now;
                if (progress) {
                    if (progress("Generating Positions", done)) {
                        stop = true;
                        break;
                    }
                } else if (sector.OnProgress) {
                    sector.OnProgress("Generating Positions", done);
                }
            }
            for (std::int32_t k = 1; k <= nz; ++k) {
                if (sector.Spherical) {
                    const double dx = i - cx, dy = j - cy, dz = k - cz;
                    if (dx * dx + dy * dy + dz * dz > radius2)
                        continue;
                }
                bool place;
                if (distribution == DISTRIBUTION_EVEN) {
                    place = SharedRandomFloat() < sector.Frequency / 20;
                } else {
                    const double n = noise.FractalNoise(i / sector.SizeX, j / sector.SizeY, k / sector.SizeZ);
                    place = SharedRandomFloat() < n / sector.Frequency;
                }
                if (!place)
                    continue;
                auto body = TStellarBody::Create();
                body->LabelColor = labelColour;
                body->X = RoundToDecimals(6, SharedRandomFloat() - 0.5 + i - cx);
                body->Y = RoundToDecimals(6, SharedRandomFloat() - 0.5 + j - cy);
                body->Z = RoundToDecimals(6, SharedRandomFloat() - 0.5 + k - cz);
                if (systemData == GENERATE_STARS || systemData == GENERATE_EXTENDED) {
                    gen.GenerateSystemInfo(*body);
                    if (populations)
                        gen.GeneratePopulations(*body);
                    gen.GenerateNames(*body, sector.SizeX);
                    body->UpdateRootBody();
                } else {
                    body->Name.assign(1, 'S').append(FormatFloat("00", i));
                    body->Name.append(FormatFloat("00", j)).append(FormatFloat("00", k));
                    body->UpdateRootBody();
                }
                body->Modified = true;
                body->Loaded = true;
                sector.AddSystem(std::move(body));
                if (sector.Systems.size() > threshold) {
                    threshold += step;
                    if (!cache("Caching...")) {
                        sector.RenderMessageBig.clear();
                        sector.RenderMessageSmall.clear();
                        return false;
                    }
                }
            }
        }
    sector.RenderMessageBig.clear();
    sector.RenderMessageSmall.clear();
    sector.UpdateVisibleCount();
    if (cached && !cache("Saving..."))
        return false;
    if (error)
        error->clear();
    return true;
}

} // namespace kalvion
