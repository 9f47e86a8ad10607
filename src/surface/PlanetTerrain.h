#pragma once
// Setting up a terrain for a planet from its seed and physical values: the
// one recipe behind every generated terrestrial surface map, so the same
// planet always gets the same map.
#include "model/GexColorGroup.h"
#include "surface/GexTerrain.h"
#include "surface/RgbImage.h"

#include <cstdint>
#include <memory>

namespace kalvion {

struct TPlanetTerrainInput {
    std::int32_t RandomSeed = 0;
    double Radius = 6378.14; // km
    double Water = 0.7;      // fraction of the surface
    double Temp = 288.0;     // kelvin
    double Atmosphere = 1.0; // atmospheres
    TGexColorGroup Colors;
};

// Dry (water below 2 %) or hot (above 90 °C) worlds have neither sea nor ice.
bool IsDryOrHotWorld(const TPlanetTerrainInput &planet) noexcept;
// trunc(10 / atmosphere) above half an atmosphere, else 20.
int PlanetCraterCount(double atmosphere) noexcept;

// Worker threads for one map when nothing says otherwise: one per
// processor, at most 64.  The map comes out the same for any count.
int DefaultTerrainWorkers() noexcept;

// Generates and configures a width x height terrain for the planet (grids,
// craters, sea level, clouds), filling its grids with `workers` threads.
std::unique_ptr<TGexTerrain> SetupPlanetTerrain(const TPlanetTerrainInput &planet, int width, int height,
                                                int workers = 1);
// Renders the whole map of a terrain.
TRgbImage RenderTerrainMap(const TGexTerrain &terrain);

} // namespace kalvion
