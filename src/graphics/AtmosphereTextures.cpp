#include "graphics/AtmosphereTextures.h"

#include "base/Rounding.h"
#include "graphics/ZentImages.h"
#include "model/BodyTextureNames.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "surface/GexGenerateThread.h"
#include "surface/IntegerMatrix.h"
#include "surface/PerlinNoise.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

int Clamp255(std::int64_t v) noexcept { return static_cast<int>(std::clamp<std::int64_t>(v, 0, 255)); }

int ClampDimension(int v) noexcept { return std::clamp(v, 1, ATM_MAX_DIMENSION); }

// Channel by channel from a (at 0) to b (at 255) at v.
TColor BlendAt(TColor a, TColor b, int v) noexcept
{
    const double x = v / 255.0;
    auto channel = [x](int ca, int cb) { return Clamp255(static_cast<std::int64_t>(Round(ca + (cb - ca) * x))); };
    return ColorRGB(channel(ColorRed(a), ColorRed(b)), channel(ColorGreen(a), ColorGreen(b)),
                    channel(ColorBlue(a), ColorBlue(b)));
}

TColor BandColour(TRandomState &random, int d) noexcept
{
    const int r = Clamp255(std::int64_t{static_cast<std::int32_t>(random.Random(100))} + d + 95);
    const int g = Clamp255(std::int64_t{static_cast<std::int32_t>(random.Random(100))} + d + 95);
    const int b = Clamp255(std::int64_t{static_cast<std::int32_t>(random.Random(100))} + d + 95);
    return ColorRGB(r, g, b);
}

TColor Lighten(TColor c, int n) noexcept
{
    return ColorRGB(Clamp255(ColorRed(c) + n), Clamp255(ColorGreen(c) + n), Clamp255(ColorBlue(c) + n));
}

} // namespace

int GasGiantColourOffset(double albedo) noexcept
{
    double v = albedo * 60.0 + 30.0;
    if (!std::isfinite(v))
        v = 30.0;
    // Any albedo beyond a few units saturates every channel anyway.
    return static_cast<int>(std::trunc(std::clamp(v, -1000.0, 1000.0)));
}

void GenerateAtmLayer(QImage &bitmap, TColor base, TColor band, TRandomState &random, int workers)
{
    PaintAtmLayer(bitmap, base, band, static_cast<std::int32_t>(random.Random(1000000)), workers);
}

void PaintAtmLayer(QImage &bitmap, TColor base, TColor band, std::int32_t layerSeed, int workers)
{
    const int w = bitmap.width(), h = bitmap.height();
    if (w <= 0 || h <= 0)
        return;
    TIntegerMatrix grid(w, h, -ATM_NOISE_RANGE, ATM_NOISE_RANGE, 0, workers);
    FillGridInBands(grid, workers, [&](TGexGenerateThread &t) {
        t.NoiseKind = GEX_NOISE_SIMPLEX;
        t.Seed = layerSeed;
        t.Octaves = 8;
        t.BaseFrequency = 0.01;
        t.Scale = ATM_NOISE_RANGE;
        // Squashing the two axes around the pole axis stretches the features
        // east-west into bands.
        t.Stretch = {1.0, 0.125, 0.125};
    });
    grid.Rescale(-255, 255, workers);
    if (bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
    for (int r = 0; r < h; ++r) {
        const std::int32_t *row = grid.RowData(r);
        auto *out = reinterpret_cast<QRgb *>(bitmap.scanLine(h - 1 - r));
        for (int c = 0; c < w; ++c) {
            const int v = row[c];
            if (v > 0)
                out[c] = ColorToQRgb(BlendAt(base, band, v));
        }
    }
}

QImage GenerateGasGiantAtmTexture(TVexaSector *sector, TStellarBody &body, int width, int height)
{
    TRandomState random;
    random.State = static_cast<std::uint32_t>(body.RandomSeed);
    const int d = GasGiantColourOffset(body.Albedo);
    const int x1 = static_cast<int>(random.Random(100));
    const int x2 = static_cast<int>(random.Random(100));
    const int x3 = static_cast<int>(random.Random(100));
    // Red and green wrap as the colour always has; blue is held to a channel.
    const TColor base = ColorRGB((x3 + d) & 255, (x2 + d) & 255, Clamp255(x1 + d));
    QImage bitmap(ClampDimension(width), ClampDimension(height), QImage::Format_RGB32);
    bitmap.fill(QColor::fromRgb(ColorToQRgb(base)));

    TColor band = BandColour(random, d);
    const int layers = static_cast<int>(random.Random(3)) + 2;
    for (int i = 1; i <= layers; ++i) {
        if (i == layers)
            band = Lighten(band, 100);
        GenerateAtmLayer(bitmap, base, band, random);
        band = BandColour(random, d);
    }

    if (sector != nullptr) {
        const std::string name = TextureName(body);
        std::vector<std::uint8_t> bytes;
        if (SaveBitmapToStream(bitmap, bytes, name)) {
            sector->ImageResources.AddResourceStream(name, bytes, true);
            body.PreviewImageFile = name;
        }
    }
    return bitmap;
}

std::string AtmLayerName(const TStellarBody &body)
{
    std::string name = TextureName(body);
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        name.erase(dot);
    return name + ".atm.png";
}

QImage GenerateTransAtmLayer(TVexaSector *sector, TStellarBody &body, TColor colour, QImage *bitmap)
{
    const double a = body.Atmosphere;
    if (!(a >= 0.005))
        return {};
    const int minOpacity = a >= 255.0 ? 255 : static_cast<int>(std::trunc(a));

    constexpr int W = ATM_DEFAULT_WIDTH, H = ATM_DEFAULT_HEIGHT;
    TRandomState random;
    random.State = static_cast<std::uint32_t>(body.RandomSeed);
    TPerlinNoiseGenerator noise(static_cast<std::int32_t>(random.Random(1000000)));
    noise.SetBaseFrequency(0.01);
    noise.SetOctaves(8);
    TIntegerMatrix grid(W, H, -ATM_NOISE_RANGE, ATM_NOISE_RANGE);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const TSpherePoint p = SpherePoint(180.0 * y / H, 360.0 * x / W, 100.0);
            const double v = noise.FractalNoise(p.X + 100.0, 0.5 * p.Y + 100.0, p.Z + 100.0) * 100.0;
            grid.SetClamped(x, y, std::isfinite(v) ? static_cast<std::int64_t>(std::trunc(v)) : 0);
        }
    grid.Rescale(-255, 255);
    grid.Smooth({1.0, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 1.0}, 8.0);

    QImage layer(W, H, QImage::Format_ARGB32);
    for (int y = 0; y < H; ++y) {
        auto *out = reinterpret_cast<QRgb *>(layer.scanLine(y));
        const std::int32_t *row = grid.RowData(y);
        for (int x = 0; x < W; ++x)
            out[x] = ColorToQRgb(colour, Clamp255(std::max<std::int64_t>(row[x], minOpacity)));
    }

    if (bitmap != nullptr) {
        // A given bitmap takes the layer, even an empty one (which then shows
        // nothing): the sector is only written when no bitmap was given.
        if (!bitmap->isNull()) {
            QPainter p(bitmap);
            p.setRenderHint(QPainter::SmoothPixmapTransform, false);
            p.drawImage(QRect(0, 0, bitmap->width(), bitmap->height()), layer);
        }
    } else if (sector != nullptr) {
        std::vector<std::uint8_t> bytes;
        const std::string name = AtmLayerName(body);
        if (SaveBitmapToStream(layer, bytes, name))
            sector->ImageResources.AddResourceStream(name, bytes, true);
    }
    return layer;
}

void GenerateAtmTexture(TStellarBody &) {}

} // namespace kalvion
