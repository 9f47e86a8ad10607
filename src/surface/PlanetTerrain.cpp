#include "surface/PlanetTerrain.h"

#include "surface/SurfaceRounding.h"

#include <algorithm>
#include <numbers>
#include <thread>

namespace kalvion {

bool IsDryOrHotWorld(const TPlanetTerrainInput &planet) noexcept
{
    return planet.Water < 0.02 || planet.Temp - 273.0 > 90.0;
}

int PlanetCraterCount(double atmosphere) noexcept
{
    return atmosphere > 0.5 ? TruncToInt32Safe(10.0 / atmosphere) : 20;
}

int DefaultTerrainWorkers() noexcept
{
    const unsigned n = std::thread::hardware_concurrency();  // 0 when unknown
    return static_cast<int>(std::clamp(n, 1u, 64u));
}

std::unique_ptr<TGexTerrain> SetupPlanetTerrain(const TPlanetTerrainInput &planet, int width, int height, int workers)
{
    auto terrain = std::make_unique<TGexTerrain>(width, height, workers);
    TGexTerrain &t = *terrain;
    t.OriginFlag = GEX_ORIGIN_GENERATED;
    t.Circumference = static_cast<double>(RoundToInt64Safe(planet.Radius * (2.0 * std::numbers::pi)));
    t.SetElevationRange(-1000000, 1000000);
    t.Seed = planet.RandomSeed;
    t.ShadingDivisor = 40;
    t.SetColors(planet.Colors);

    const bool dryOrHot = IsDryOrHotWorld(planet);
    if (dryOrHot)
        t.IceOffset = TGexTerrain::ICE_OFFSET_NONE;
    t.SetTemperatureRange(TruncToInt32Safe(planet.Temp - 273.0 - 55.0), TruncToInt32Safe(planet.Temp - 273.0 + 25.0));
    t.CraterCount = PlanetCraterCount(planet.Atmosphere);

    t.Generate(width, height);

    t.SetElevationRange(-2000000, 2000000);
    const std::int32_t shift = TruncToInt32Safe((planet.Water - 0.5) * 1000000.0);
    std::int64_t total = shift;
    t.ShiftElevation(shift);
    if (dryOrHot) {
        // Raise the lowest point to sea level so that no sea remains.
        const std::int32_t lowest = t.Elevation().MinMax(t.WorkerCount).first;
        if (lowest < 1000) {
            t.ShiftElevation(lowest);
            total += lowest;
        }
    }
    t.SeaLevelShift = static_cast<std::int32_t>(std::clamp<std::int64_t>(total, INT32_MIN, INT32_MAX));
    t.SetElevationRange(-1000000, 1000000);

    if (planet.Colors.CloudsEnabled) {
        t.CloudOffset = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(RoundToInt64Safe(planet.Atmosphere * 100.0 - 100.0), INT32_MIN, 100));
        t.AddClouds();
    }
    return terrain;
}

TRgbImage RenderTerrainMap(const TGexTerrain &terrain)
{
    TRgbImage image(terrain.Width(), terrain.Height());
    terrain.Render(image, 0, terrain.Height() - 1, terrain.Width() - 1, 0);
    return image;
}

} // namespace kalvion
