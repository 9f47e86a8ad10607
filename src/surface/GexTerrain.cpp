#include "surface/GexTerrain.h"

#include "surface/BandWorkers.h"
#include "surface/GexGenerateThread.h"
#include "surface/SurfaceRounding.h"

#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

constexpr double DEG_TO_RAD = std::numbers::pi / 180.0;
// More craters than this would bury the map many times over; a count read
// from a damaged world file must not turn into hours of work.
constexpr int MAX_CRATERS = 10000;
constexpr std::int64_t CRATER_HEADROOM = 1000000;

std::int32_t ClampToInt32(std::int64_t v) noexcept
{
    return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(v));
}

struct Crater {
    TSpherePoint Centre;
    double Radius;
    std::int32_t Depth;
};

} // namespace

TGexTerrain::TGexTerrain(int width, int height, int workers) : WorkerCount(workers < 1 ? 1 : workers)
{
    Random_.State = static_cast<std::uint32_t>(Seed) + 4u;
    SetSize(width, height);
    Elevation_.Fill(-100, WorkerCount);
    Rainfall_.Fill(100, WorkerCount);
}

void TGexTerrain::SetElevationRange(std::int32_t lo, std::int32_t hi) noexcept
{
    ElevationMin_ = lo;
    ElevationMax_ = hi;
    Elevation_.SetRange(lo, hi);
}

void TGexTerrain::SetTemperatureRange(std::int32_t lo, std::int32_t hi) noexcept
{
    TemperatureMin_ = lo;
    TemperatureMax_ = hi;
    Temperature_.SetRange(lo, hi);
}

void TGexTerrain::SetRainfallRange(std::int32_t lo, std::int32_t hi) noexcept
{
    RainfallMin_ = lo;
    RainfallMax_ = hi;
    Rainfall_.SetRange(lo, hi);
}

void TGexTerrain::ApplyRanges() noexcept
{
    Elevation_.SetRange(ElevationMin_, ElevationMax_);
    Temperature_.SetRange(TemperatureMin_, TemperatureMax_);
    Rainfall_.SetRange(RainfallMin_, RainfallMax_);
}

void TGexTerrain::SetColors(const TGexColorGroup &group) noexcept
{
    DeepWater = group.DeepWater;
    ShallowWater = group.ShallowWater;
    Beach = group.Beach;
    Lowland = group.Lowland;
    Highland = group.Highland;
    Ice = group.Ice;
    Desert = group.Desert;
}

void TGexTerrain::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        width = height = 0;
    Width_ = width;
    Height_ = height;
    CellCount_ = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // Grids of the same size keep their memory; new ones are first touched
    // by the workers that fill them, all four grids in one pass.
    auto remake = [=](TIntegerMatrix &grid, std::int32_t lo, std::int32_t hi) {
        if (grid.Width() == width && grid.Height() == height)
            grid.SetRange(lo, hi);
        else
            grid = TIntegerMatrix::Unfilled(width, height, lo, hi);
    };
    remake(Elevation_, ElevationMin_, ElevationMax_);
    remake(Temperature_, TemperatureMin_, TemperatureMax_);
    remake(Rainfall_, RainfallMin_, RainfallMax_);
    remake(Clouds_, -255, 255);
    ForEachChunk(Height_, WorkerCount, [this](int firstRow, int lastRow) {
        Elevation_.FillRows(firstRow, lastRow, 0);
        Temperature_.FillRows(firstRow, lastRow, 0);
        Rainfall_.FillRows(firstRow, lastRow, 0);
        Clouds_.FillRows(firstRow, lastRow, -255);
    });
}

void TGexTerrain::FillNoise(TIntegerMatrix &grid, int noiseKind, std::int32_t seed, int octaves,
                            double baseFrequency, double scale)
{
    FillGridInBands(grid, WorkerCount, [&](TGexGenerateThread &t) {
        t.NoiseKind = noiseKind;
        t.Seed = seed;
        t.Octaves = octaves;
        t.BaseFrequency = baseFrequency;
        t.Scale = scale;
        t.Stretch = {1.0, 1.0, 1.0};
    });
}

void TGexTerrain::Generate(int width, int height)
{
    // The cloud seed is drawn from this state after the craters.  Starting it
    // here exactly as the crater step does keeps a planet without craters
    // repeatable as well.
    Random_.State = static_cast<std::uint32_t>(Seed) + 4u;
    SetSize(width, height); // the elevation starts at 0

    FillNoise(Elevation_, GEX_NOISE_SIMPLEX, Seed, 12, 0.005, 100000.0);
    const double lo = ElevationMin_;
    const double hi = ElevationMax_;
    const double mid = (lo + hi) / 2.0;
    Elevation_.Rescale(TruncToInt32Safe(mid - 0.8 * (mid - lo)), TruncToInt32Safe(mid + 0.8 * (hi - mid)),
                       WorkerCount);
    Elevation_.ShapeCurve(WorkerCount);
    Elevation_.Smooth({0.125, 0.125, 0.125, 0.125, 0.0, 0.125, 0.125, 0.125, 0.125}, 1.0, WorkerCount);
    // No generated land lies within one metre of the sea.
    ForEachChunk(Height_, WorkerCount, [this](int firstRow, int lastRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            std::int32_t *row = Elevation_.RowData(r);
            for (int c = 0; c < Width_; ++c)
                if (row[c] >= 0 && row[c] <= 100)
                    row[c] = 101;
        }
    });

    Elevation_.SetRange(ClampToInt32(std::int64_t{ElevationMin_} - CRATER_HEADROOM),
                        ClampToInt32(std::int64_t{ElevationMax_} + CRATER_HEADROOM));
    if (CraterCount > 0)
        AddCraters(CraterCount);
    if (SeaLevelShift != 0)
        ShiftElevation(SeaLevelShift);
    Elevation_.SetRange(ElevationMin_, ElevationMax_);

    TIntegerMatrix noise(Width_, Height_, -100, 100, 0, WorkerCount);
    FillNoise(noise, GEX_NOISE_PERLIN, static_cast<std::int32_t>(static_cast<std::uint32_t>(Seed) + 1u), 4,
              1.0 / 150.0, 100.0);
    noise.Rescale(-5, 5, WorkerCount);
    const int h2 = Height_ / 2;
    const double t0 = TemperatureMin_;
    const double t1 = TemperatureMax_;
    // Each piece owns rows i and their mirrors, so no two workers share a row.
    ForEachChunk(h2, WorkerCount, [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            const std::int64_t base = RoundToInt64Safe((t1 - t0) * std::sin(90.0 * i / h2 * DEG_TO_RAD) + t0);
            const int mirror = Height_ - 1 - i;
            for (int c = 0; c < Width_; ++c) {
                Temperature_.Set(c, i, base + noise.Get(c, i));
                Temperature_.Set(c, mirror, base + noise.Get(c, mirror));
            }
        }
    });
    if (Height_ % 2 == 1) {
        // An odd map's equator row is as warm as the rows beside it may get.
        const std::int64_t base = RoundToInt64Safe((t1 - t0) + t0);
        for (int c = 0; c < Width_; ++c)
            Temperature_.Set(c, h2, base + noise.Get(c, h2));
    }

    Rainfall_.Fill(ClampToInt32((std::int64_t{RainfallMin_} + RainfallMax_) / 2), WorkerCount);
}

void TGexTerrain::AddCraters(int count)
{
    Random_.State = static_cast<std::uint32_t>(Seed) + 4u;
    if (count <= 0)
        return;
    if (count > MAX_CRATERS)
        count = MAX_CRATERS;
    std::vector<Crater> craters;
    craters.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double phi = Random_.Random(360);
        const double theta = Random_.Random(180);
        Crater k;
        k.Centre = SpherePoint(theta, phi, 10.0);
        k.Radius = (Random_.Random(100) + 25) / 100.0;
        k.Depth = static_cast<std::int32_t>(k.Radius * 40000.0);
        craters.push_back(k);
    }
    if (CellCount_ == 0)
        return;

    std::vector<double> sinPhi(static_cast<std::size_t>(Width_)), cosPhi(static_cast<std::size_t>(Width_));
    for (int c = 0; c < Width_; ++c) {
        const double phi = 360.0 * c / Width_ * DEG_TO_RAD;
        sinPhi[static_cast<std::size_t>(c)] = std::sin(phi);
        cosPhi[static_cast<std::size_t>(c)] = std::cos(phi);
    }
    ForEachChunk(Height_, WorkerCount, [&](int firstRow, int lastRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            const double theta = 180.0 * r / Height_ * DEG_TO_RAD;
            const double px = -10.0 * std::cos(theta);
            const double sinT = std::sin(theta);
            std::int32_t *row = Elevation_.RowData(r);
            for (int c = 0; c < Width_; ++c) {
                const double py = -10.0 * sinT * sinPhi[static_cast<std::size_t>(c)];
                const double pz = -10.0 * sinT * cosPhi[static_cast<std::size_t>(c)];
                std::int64_t e = row[c];
                for (const Crater &k : craters) {
                    const double dx = px - k.Centre.X, dy = py - k.Centre.Y, dz = pz - k.Centre.Z;
                    const double d2 = dx * dx + dy * dy + dz * dz;
                    // Well outside the rim: the square root would only confirm it.
                    if (d2 > k.Radius * k.Radius * 1.01)
                        continue;
                    const double d = std::sqrt(d2);
                    if (d < 0.9 * k.Radius)
                        e = Elevation_.Clamp(e - k.Depth);
                    else if (d <= 0.95 * k.Radius)
                        e = Elevation_.Clamp(e - k.Depth / 2);
                    else if (d < k.Radius)
                        e = Elevation_.Clamp(e + RoundToInt64Safe(0.2 * k.Depth));
                }
                row[c] = static_cast<std::int32_t>(e);
            }
        }
    });
}

void TGexTerrain::ShiftElevation(std::int32_t amount)
{
    ForEachChunk(Height_, WorkerCount, [this, amount](int firstRow, int lastRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            std::int32_t *row = Elevation_.RowData(r);
            for (int c = 0; c < Width_; ++c)
                row[c] = Elevation_.Clamp(std::int64_t{row[c]} - amount);
        }
    });
}

void TGexTerrain::AddClouds()
{
    Clouds_.SetRange(-100000, 100000);
    const auto cloudSeed = static_cast<std::int32_t>(Random_.Random(1000000));
    FillNoise(Clouds_, GEX_NOISE_SIMPLEX, cloudSeed, 8, 0.01, 100000.0);
    Clouds_.Rescale(-255, 255, WorkerCount);
    Clouds_.Smooth({1.0, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 1.0}, 8.0, WorkerCount);
}

} // namespace kalvion
