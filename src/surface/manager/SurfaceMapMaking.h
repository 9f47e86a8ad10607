#pragma once
// Making one surface map from a planet's values: the recipes the background
// workers, the sector operations and the command line share, so a planet gets
// the same pixels whichever of them makes its map.
#include "model/GexColorGroup.h"
#include "surface/RgbImage.h"

#include <QImage>

#include <atomic>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TGexTerrain;

using TMapBytes = std::vector<std::uint8_t>;

// Map sizes by resolution level 1 … 5 (height = width div 2); levels outside
// that range give 0.
int SurfaceMapWidthForLevel(int level) noexcept;

// What a worker needs of a planet: a copy of its values, taken on the main
// thread, so that no worker ever touches the sector.
struct TSurfaceMapJob {
    std::string IDString;
    std::int32_t TypeID = 0;
    std::int32_t RandomSeed = 0;
    double Albedo = 0, Water = 0, Temp = 0, Atmosphere = 0, Radius = 0;
    std::int32_t Habitability = 0;
    TGexColorGroup Colors;
    int Width = 512, Height = 256;
    // For the external terrain program.
    double Distance = 0, StarLuminosity = 0, GreenhouseRatio = 1;
};

// The values of a body as a job of the given size (colours from the body's
// own group when it has one, else `palette` unchanged).
TSurfaceMapJob SurfaceMapJobFor(const TStellarBody &body, const TGexColorGroup &palette, int width, int height);

// The background maker's gas-giant offset: round(albedo * 60 + 30) (the
// stored texture truncates instead), held to a sane range.
int ManagerGasGiantOffset(double albedo) noexcept;

// The background colour of a gas giant's map: three draws from its seed
// offset by ManagerGasGiantOffset, red and green masked to a byte, blue held
// to 0 … 255.
TColor GasGiantMapBaseColour(std::int32_t seed, double albedo) noexcept;

// The banded map of a gas giant from its seed and albedo.  Stops between
// layers when *stop becomes true (the map is then incomplete).
QImage MakeGasGiantMap(std::int32_t seed, double albedo, int width, int height,
                       const std::atomic<bool> *stop = nullptr, int workers = 4);

// The terrain of a terrestrial planet set up from a job (Part of every
// generated world file), with `workers` threads for its passes.
std::unique_ptr<TGexTerrain> SetupJobTerrain(const TSurfaceMapJob &job, int workers = 1);

// PNG bytes of a map; false when the encoder fails.  Every map is encoded
// the same way, so equal pixels give equal files.
bool EncodeMapPng(const TRgbImage &image, TMapBytes &out);
bool EncodeMapPng(const QImage &image, TMapBytes &out);

} // namespace kalvion
