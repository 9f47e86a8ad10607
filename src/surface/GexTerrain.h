#pragma once
// The world model of one planet's surface: elevation (cm, 0 = sea level),
// temperature (°C), rainfall and a cloud overlay over an equirectangular map,
// the palette that colours it, and the values that produced it.  Saved and
// read as world files (".gex").
#include "base/Colour.h"
#include "model/GexColorGroup.h"
#include "surface/IntegerMatrix.h"
#include "surface/RgbImage.h"
#include "surface/TerrainRandom.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvion {

inline constexpr int GEX_ORIGIN_EDITED = 1;    // made or edited by hand
inline constexpr int GEX_ORIGIN_GENERATED = 2; // generated from a planet, never edited
inline constexpr int GEX_FILE_VERSION = 7;
inline constexpr int GEX_HEADER_SIZE = 139;    // version-7 header up to the grids
inline constexpr int GEX_MAX_DIMENSION = 16384;

class TGexTerrain {
public:
    // The grids are filled by `workers` threads, as every later pass is.
    TGexTerrain(int width, int height, int workers = 1);

    int OriginFlag = GEX_ORIGIN_EDITED;
    // Threads for every per-cell pass (noise, smoothing, craters, colouring).
    int WorkerCount = 1;
    double Circumference = 40000.0; // km
    std::int32_t Seed = 0;

    TColor DeepWater = ColorRGB(0, 1, 49);
    TColor ShallowWater = ColorRGB(0, 36, 96);
    TColor Beach = ColorRGB(254, 238, 188);
    TColor Lowland = ColorRGB(52, 78, 22);
    TColor Highland = ColorRGB(150, 140, 100);
    TColor Ice = ColorRGB(255, 255, 255);
    TColor Desert = ColorRGB(254, 203, 138);
    TColor CloudColor = ColorRGB(255, 255, 255);
    std::int32_t CloudOffset = 0;

    // Shifts every freezing threshold (°C); ICE_OFFSET_NONE disables ice.
    static constexpr std::int32_t ICE_OFFSET_NONE = -500;
    std::int32_t IceOffset = 0;
    std::int32_t ShadingDivisor = 1000;
    std::int32_t CraterCount = 0;
    // Total subtracted from the elevations after generation.
    std::int32_t SeaLevelShift = 0;
    // Travel through world files unchanged; nothing else reads them.
    std::array<std::int32_t, 8> StoredSettings{200000, 0, 0, 128, 200000, ColorRGB(0, 0, 255), 0,
                                               ColorRGB(0, 0, 128)};
    std::array<bool, 2> StoredSwitches{false, true};

    int Width() const noexcept { return Width_; }
    int Height() const noexcept { return Height_; }
    std::size_t CellCount() const noexcept { return CellCount_; }

    // Each range setter also sets the clamp range of its grid (without
    // re-clamping what is stored).
    std::int32_t ElevationMin() const noexcept { return ElevationMin_; }
    std::int32_t ElevationMax() const noexcept { return ElevationMax_; }
    std::int32_t TemperatureMin() const noexcept { return TemperatureMin_; }
    std::int32_t TemperatureMax() const noexcept { return TemperatureMax_; }
    std::int32_t RainfallMin() const noexcept { return RainfallMin_; }
    std::int32_t RainfallMax() const noexcept { return RainfallMax_; }
    void SetElevationRange(std::int32_t lo, std::int32_t hi) noexcept;
    void SetTemperatureRange(std::int32_t lo, std::int32_t hi) noexcept;
    void SetRainfallRange(std::int32_t lo, std::int32_t hi) noexcept;

    TIntegerMatrix &Elevation() noexcept { return Elevation_; }
    const TIntegerMatrix &Elevation() const noexcept { return Elevation_; }
    TIntegerMatrix &Temperature() noexcept { return Temperature_; }
    const TIntegerMatrix &Temperature() const noexcept { return Temperature_; }
    TIntegerMatrix &Rainfall() noexcept { return Rainfall_; }
    const TIntegerMatrix &Rainfall() const noexcept { return Rainfall_; }
    TIntegerMatrix &Clouds() noexcept { return Clouds_; }
    const TIntegerMatrix &Clouds() const noexcept { return Clouds_; }

    // The terrain's own random state (craters and the cloud seed).
    TRandomState &RandomState() noexcept { return Random_; }

    void SetColors(const TGexColorGroup &group) noexcept;

    // Re-creates the grids (elevation, temperature and rainfall zeroed, clouds
    // -255) and re-applies the ranges.  Grids of the same size keep their
    // memory and are only filled again.
    void SetSize(int width, int height);
    // Fills elevation, temperature and rainfall from the seed.
    void Generate(int width, int height);
    void AddCraters(int count);
    void ShiftElevation(std::int32_t amount);
    void AddClouds();

    // The colour (0x00BBGGRR) of one cell: water, beach, land, ice, shading, clouds.
    TColor Colour(int column, int row) const noexcept;
    // East-west elevation difference over one cell width of a 40,000 km world.
    double Slope(int column, int row) const noexcept;
    // Writes Colour of every cell of the rectangle (clamped to the map and the
    // bitmap) into the bitmap, row r into bitmap row r, split over WorkerCount
    // threads.  Note the argument order.
    void Render(TRgbImage &bitmap, int firstColumn, int lastRow, int lastColumn, int firstRow) const;

    // World files.  SaveToStream appends a version-7 file.
    void SaveToStream(std::vector<std::uint8_t> &out) const;
    // Writes through a temporary file and a rename; false with ErrorMessage on failure.
    bool SaveToFile(const std::string &path);
    // Reads any version 1 … 10 (others count as 1).  Reading stops at the first
    // short or damaged field and keeps what was read; the result says whether
    // the whole file was read.
    bool LoadFromBytes(const std::uint8_t *data, std::size_t size);
    // A missing file is ignored (false, nothing changed).
    bool LoadFromFile(const std::string &path);
    const std::string &ErrorMessage() const noexcept { return ErrorMessage_; }

private:
    void ApplyRanges() noexcept;
    void FillNoise(TIntegerMatrix &grid, int noiseKind, std::int32_t seed, int octaves, double baseFrequency,
                   double scale);

    int Width_ = 0;
    int Height_ = 0;
    std::size_t CellCount_ = 0;
    TIntegerMatrix Elevation_;
    TIntegerMatrix Temperature_;
    TIntegerMatrix Rainfall_;
    TIntegerMatrix Clouds_;
    std::int32_t ElevationMin_ = -1000000;
    std::int32_t ElevationMax_ = 1000000;
    std::int32_t TemperatureMin_ = -30;
    std::int32_t TemperatureMax_ = 30;
    std::int32_t RainfallMin_ = 0;
    std::int32_t RainfallMax_ = 300;
    TRandomState Random_;
    std::string ErrorMessage_;
};

} // namespace kalvion
