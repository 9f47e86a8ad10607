// How much a threaded generation will make, worked out before it starts, so
// that a request the machine cannot hold is refused instead of running for
// hours and then failing.
#include "generation/SectorGenerator.h"

#include "model/VexaSector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace kalvion {

namespace {

// The box fill's cells: each size made whole and even, plus one per axis.
double BoxCells(const TVexaSector &sector)
{
    auto cellsAcross = [](double size) {
        double whole = std::trunc(size);
        whole += std::fmod(whole, 2.0);
        return whole + 1;
    };
    const double x = cellsAcross(sector.SizeX);
    if (sector.Spherical)
        return x * x * x * 0.5236; // the ball's share of its cube (pi / 6)
    return x * cellsAcross(sector.SizeY) * cellsAcross(sector.SizeZ);
}

} // namespace

double ExpectedGeneratedSystems(const TVexaSector &sector, const TSectorGenerateParams &params)
{
    if (params.TotalSystems > 0)
        return sector.Spherical ? 2.0 * params.TotalSystems : params.TotalSystems;
    const double frequency = std::max(sector.Frequency, 1.0);
    // Even: Frequency / 200 of the cells; clustered: the noise (about one half
    // on average) over Frequency.
    const double share = params.Distribution == DISTRIBUTION_EVEN ? frequency / 200.0 : 0.5 / frequency;
    return BoxCells(sector) * std::min(share, 1.0);
}

double GeneratedSystemBytes(std::int32_t systemData)
{
    switch (systemData) {
    case GENERATE_NONE: return 2.0 * 1024;
    case GENERATE_STARS: return 4.0 * 1024;
    default: return 16.0 * 1024;
    }
}

double MaxGeneratedSystems(std::int32_t systemData)
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const double memory = pages > 0 && pageSize > 0 ? static_cast<double>(pages) * static_cast<double>(pageSize)
                                                    : 4.0 * 1024 * 1024 * 1024;
    return memory / 2 / GeneratedSystemBytes(systemData);
}

std::string CheckGenerationSize(const TVexaSector &sector, const TSectorGenerateParams &params)
{
    const double expected = ExpectedGeneratedSystems(sector, params);
    const double limit = MaxGeneratedSystems(params.SystemData);
    if (expected <= limit)
        return {};
    char text[320];
    std::snprintf(text, sizeof text,
                  "This generation would make about %.3g systems, needing about %.3g GB of memory while it runs; "
                  "this machine can hold about %.3g systems.  Choose a smaller size, a lower frequency or a "
                  "total number of systems.",
                  expected, expected * GeneratedSystemBytes(params.SystemData) / 1.0e9, limit);
    return text;
}

} // namespace kalvion
