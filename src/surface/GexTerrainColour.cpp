// Colouring a terrain: sea and ice by depth and temperature, land blended
// from lowland to highland (and towards desert where it is dry), slope
// shading, and the cloud overlay.
#include "surface/GexTerrain.h"

#include "surface/BandWorkers.h"
#include "surface/SurfaceRounding.h"

#include <algorithm>

namespace kalvion {

namespace {

// Blend from a (at lo) to b (at hi) at v, channel by channel.
TColor Blend(TColor a, TColor b, double lo, double hi, double v) noexcept
{
    const double x = hi == lo ? 0.0 : (v - lo) / (hi - lo);
    auto channel = [x](int ca, int cb) {
        return static_cast<int>(RoundToInt64Safe(ca + (cb - ca) * x) & 255);
    };
    return ColorRGB(channel(ColorRed(a), ColorRed(b)), channel(ColorGreen(a), ColorGreen(b)),
                    channel(ColorBlue(a), ColorBlue(b)));
}

int ClampChannel(int v) noexcept { return v < 0 ? 0 : (v > 255 ? 255 : v); }

TColor Lighten(TColor c, int n) noexcept
{
    return ColorRGB(ClampChannel(ColorRed(c) + n), ClampChannel(ColorGreen(c) + n), ClampChannel(ColorBlue(c) + n));
}

} // namespace

double TGexTerrain::Slope(int column, int row) const noexcept
{
    const double cellWidth = 40000.0 / Width_ * 1000.0 * 100.0;
    return (static_cast<double>(Elevation_.Get(column, row)) - Elevation_.Get(column - 1, row)) / cellWidth;
}

TColor TGexTerrain::Colour(int column, int row) const noexcept
{
    // 64-bit throughout: a world file may hold any 32-bit values.
    const std::int64_t e = Elevation_.Get(column, row);
    std::int64_t t = Temperature_.Get(column, row);
    const std::int64_t w = Rainfall_.Get(column, row);
    const std::int64_t k = IceOffset;

    if (e > 0)
        t -= RoundToInt64Safe(e / 100.0 * 0.00648); // 6.48 °C colder per km of height
    TColor colour;
    if (e < -10000) {
        colour = t < k - 20 ? Ice : DeepWater;
    } else if (e < 0) {
        // Deeper water needs more cold to freeze.
        const double metres = static_cast<double>(RoundToInt64Safe(e / 100.0));
        colour = (t < 0 && t < k - RoundToInt64Safe(metres * -15.0 / 100.0) - 5) ? Ice : ShallowWater;
    } else if (e < 100) {
        colour = t < k - 12 ? Ice : Beach;
    } else {
        if (e <= 400000) {
            colour = Blend(Lowland, Highland, 0.0, 400000.0, static_cast<double>(e));
            if (w < 100)
                colour = Blend(Desert, colour, 0.0, 100.0, static_cast<double>(w));
        } else {
            colour = Highland;
        }
        if (t < k - 5)
            colour = Ice;

        const double s = Slope(column, row);
        const double d = ShadingDivisor;
        if (s > 0.0) {
            int n = 0;
            if (s > 0.17125 / d)
                n += 10;
            if (s > 0.3425 / d)
                n += 10;
            if (s > 0.51375 / d)
                n += 10;
            if (s > 0.688 / d)
                n += 10;
            colour = Lighten(colour, n);
        } else if (s < 0.0) {
            if (s < -0.17125 / d)
                colour = Lighten(colour, -10);
            if (s < -0.3425 / d)
                colour = Lighten(colour, -30);
            if (s < -0.51375 / d)
                colour = Lighten(colour, -20);
            if (s < -0.688 / d)
                colour = Lighten(colour, -40);
        }
    }

    std::int64_t f = std::int64_t{Clouds_.Get(column, row)} + CloudOffset;
    if (f > 0) {
        if (f > 255)
            f = 255;
        const int fi = static_cast<int>(f);
        auto mix = [fi](int ch, int cloud) { return (ch * (255 - fi) + fi * cloud) / 255; };
        colour = ColorRGB(mix(ColorRed(colour), ColorRed(CloudColor)), mix(ColorGreen(colour), ColorGreen(CloudColor)),
                          mix(ColorBlue(colour), ColorBlue(CloudColor)));
    }
    return colour;
}

void TGexTerrain::Render(TRgbImage &bitmap, int firstColumn, int lastRow, int lastColumn, int firstRow) const
{
    const int maxColumn = std::min(Width_, bitmap.Width) - 1;
    const int maxRow = std::min(Height_, bitmap.Height) - 1;
    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, maxColumn);
    lastRow = std::min(lastRow, maxRow);
    if (firstRow > lastRow || firstColumn > lastColumn)
        return;
    ForEachChunk(lastRow - firstRow + 1, WorkerCount, [&](int first, int last) {
        for (int r = firstRow + first; r <= firstRow + last; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c)
                bitmap.SetPixel(c, r, Colour(c, r));
    });
}

} // namespace kalvion
