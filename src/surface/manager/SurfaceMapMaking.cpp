#include "surface/manager/SurfaceMapMaking.h"

#include "graphics/AtmosphereTextures.h"
#include "model/StellarBody.h"
#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"
#include "surface/SurfaceRounding.h"
#include "surface/TerrainRandom.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

// zlib level 1: a noisy map encodes several times faster than at the default
// level for a file only a few percent larger.
constexpr int PNG_QUALITY = 80;

int Clamp255(int v) noexcept { return std::clamp(v, 0, 255); }

TColor BandColour(TRandomState &random, int g) noexcept
{
    const int r = Clamp255(static_cast<int>(random.Random(100)) + g);
    const int gr = Clamp255(static_cast<int>(random.Random(100)) + g);
    const int b = Clamp255(static_cast<int>(random.Random(100)) + g);
    return ColorRGB(r, gr, b);
}

// Draws the three numbers of the base colour from `random`.
TColor BaseColour(TRandomState &random, int d) noexcept
{
    const int a = static_cast<int>(random.Random(100));
    const int b = static_cast<int>(random.Random(100));
    const int c = static_cast<int>(random.Random(100));
    // Red and green wrap as the colour always has; blue, which would spill
    // into the next byte, is held to a channel.
    return ColorRGB((c + d) & 255, (b + d) & 255, Clamp255(a + d));
}

TColor Lighten(TColor c, int n) noexcept
{
    return ColorRGB(Clamp255(ColorRed(c) + n), Clamp255(ColorGreen(c) + n), Clamp255(ColorBlue(c) + n));
}

} // namespace

int SurfaceMapWidthForLevel(int level) noexcept
{
    static constexpr int WIDTHS[] = {256, 360, 512, 720, 1024};
    return level >= 1 && level <= 5 ? WIDTHS[level - 1] : 0;
}

TSurfaceMapJob SurfaceMapJobFor(const TStellarBody &body, const TGexColorGroup &palette, int width, int height)
{
    TSurfaceMapJob job;
    job.IDString = body.IDString;
    job.TypeID = body.TypeID;
    job.RandomSeed = body.RandomSeed;
    job.Albedo = body.Albedo;
    job.Water = body.Water;
    job.Temp = body.Temp;
    job.Atmosphere = body.Atmosphere;
    job.Radius = body.Radius;
    job.Habitability = body.Habitability;
    job.Colors = body.ColorGroup() ? *body.ColorGroup() : palette;
    job.Width = width;
    job.Height = height;
    job.Distance = body.Distance;
    if (const TStellarBody *star = body.GetParentStar())
        job.StarLuminosity = star->Luminosity;
    job.GreenhouseRatio = body.GreenhouseRatio();
    return job;
}

int ManagerGasGiantOffset(double albedo) noexcept
{
    double v = albedo * 60.0 + 30.0;
    if (!std::isfinite(v))
        v = 30.0;
    // Beyond a few units every channel saturates anyway.
    return static_cast<int>(std::nearbyint(std::clamp(v, -1000.0, 1000.0)));
}

TColor GasGiantMapBaseColour(std::int32_t seed, double albedo) noexcept
{
    TRandomState random;
    random.State = static_cast<std::uint32_t>(seed);
    return BaseColour(random, ManagerGasGiantOffset(albedo));
}

QImage MakeGasGiantMap(std::int32_t seed, double albedo, int width, int height, const std::atomic<bool> *stop,
                       int workers)
{
    TRandomState random;
    random.State = static_cast<std::uint32_t>(seed);
    const int d = ManagerGasGiantOffset(albedo);
    const TColor base = BaseColour(random, d);
    QImage bitmap(std::clamp(width, 1, ATM_MAX_DIMENSION), std::clamp(height, 1, ATM_MAX_DIMENSION),
                  QImage::Format_RGB32);
    bitmap.fill(QColor::fromRgb(ColorToQRgb(base)));
    const int g = d + 95;
    TColor band = BandColour(random, g);
    const int layers = static_cast<int>(random.Random(3)) + 2;
    for (int i = 1; i <= layers; ++i) {
        if (stop && stop->load(std::memory_order_relaxed))
            break;
        if (i == layers)
            band = Lighten(band, 100);
        GenerateAtmLayer(bitmap, base, band, random, workers);
        band = BandColour(random, g);
    }
    return bitmap;
}

std::unique_ptr<TGexTerrain> SetupJobTerrain(const TSurfaceMapJob &job, int workers)
{
    TPlanetTerrainInput planet;
    planet.RandomSeed = job.RandomSeed;
    planet.Radius = job.Radius;
    planet.Water = job.Water;
    planet.Temp = job.Temp;
    planet.Atmosphere = job.Atmosphere;
    planet.Colors = job.Colors;
    return SetupPlanetTerrain(planet, job.Width, job.Height, workers);
}

bool EncodeMapPng(const QImage &image, TMapBytes &out)
{
    out.clear();
    if (image.isNull())
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(PNG_QUALITY);
    if (!writer.write(image))
        return false;
    out.assign(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
               reinterpret_cast<const std::uint8_t *>(bytes.constData()) + bytes.size());
    return !out.empty();
}

bool EncodeMapPng(const TRgbImage &image, TMapBytes &out)
{
    if (image.Width <= 0 || image.Height <= 0) {
        out.clear();
        return false;
    }
    const QImage view(image.Pixels.data(), image.Width, image.Height, image.Width * 3, QImage::Format_RGB888);
    return EncodeMapPng(view, out);
}

} // namespace kalvion
