#include "graphics/AtmosphereTextures.h"

#include "GraphicsFixtures.h"
#include "graphics/ZentImages.h"
#include "model/BodyTextureNames.h"
#include "surface/GexGenerateThread.h"

#include <gtest/gtest.h>

#include <set>

namespace kalvion {
namespace {

std::unique_ptr<TStellarBody> GasGiant(std::int32_t seed, double albedo = 0.5)
{
    auto body = TStellarBody::Create();
    body->Name = "Jovian";
    body->TypeID = BODY_TYPE_GASGIANT;
    body->RandomSeed = seed;
    body->Albedo = albedo;
    return body;
}

TEST(AtmosphereTextures, TheSameSeedGivesTheSamePixelsAndAnotherSeedOthers)
{
    auto a = GasGiant(1234), b = GasGiant(1234), c = GasGiant(98765);
    SetSharedRandomSeed(55);
    const QImage ia = GenerateGasGiantAtmTexture(nullptr, *a, 128, 64);
    // The texture keeps its own random state: the shared one is untouched.
    EXPECT_EQ(SharedRandomSeed(), 55);
    const QImage ib = GenerateGasGiantAtmTexture(nullptr, *b, 128, 64);
    const QImage ic = GenerateGasGiantAtmTexture(nullptr, *c, 128, 64);
    ASSERT_EQ(ia.size(), QSize(128, 64));
    EXPECT_EQ(ia, ib);
    EXPECT_NE(ia, ic);
}

TEST(AtmosphereTextures, TheBaseColourKeepsItsChannelOrder)
{
    auto body = GasGiant(20240611, 0.5);
    const QImage img = GenerateGasGiantAtmTexture(nullptr, *body, 256, 128);
    TRandomState r;
    r.State = static_cast<std::uint32_t>(body->RandomSeed);
    const int d = GasGiantColourOffset(0.5);
    EXPECT_EQ(d, 60);
    const int x1 = static_cast<int>(r.Random(100)), x2 = static_cast<int>(r.Random(100)),
              x3 = static_cast<int>(r.Random(100));
    ASSERT_NE(x1, x3);
    const TColor base = ColorRGB((x3 + d) & 255, (x2 + d) & 255, x1 + d);
    int baseCount = 0, brighter = 0;
    std::set<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const TColor p = ColorFromQRgb(img.pixel(x, y));
            colours.insert(img.pixel(x, y));
            baseCount += p == base;
            // Bands blend towards colours of at least 155 per channel.
            brighter += ColorRed(p) + ColorGreen(p) + ColorBlue(p) >
                        ColorRed(base) + ColorGreen(base) + ColorBlue(base);
        }
    EXPECT_GT(baseCount, 0);
    EXPECT_GT(brighter, img.width() * img.height() / 4);
    EXPECT_GT(colours.size(), 50u);
}

TEST(AtmosphereTextures, ExtremeAlbedoStaysWithinTheChannels)
{
    for (double albedo : {1.0e9, -1.0e9, std::nan(""), 5.0}) {
        auto body = GasGiant(7, albedo);
        const QImage img = GenerateGasGiantAtmTexture(nullptr, *body, 32, 16);
        EXPECT_EQ(img.size(), QSize(32, 16));
    }
    EXPECT_EQ(GasGiantColourOffset(std::nan("")), 30);
    EXPECT_EQ(GasGiantColourOffset(1.0e300), 1000);
}

TEST(AtmosphereTextures, GasGiantTexturesAreStoredUnderTheTextureName)
{
    TVexaSector sector;
    auto body = GasGiant(31337);
    GenerateGasGiantAtmTexture(&sector, *body, 64, 32);
    const std::string name = TextureName(*body);
    EXPECT_EQ(body->PreviewImageFile, name);
    const int index = sector.ImageResources.FindResource(name);
    ASSERT_GE(index, 0);
    const auto stream = sector.ImageResources.GetResourceStream(index);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(ImageSize(*stream), QSize(64, 32));
}

TEST(AtmosphereTextures, CloudLayersNeedAirAndKeepTheirMinimumOpacity)
{
    auto body = TStellarBody::Create();
    body->TypeID = BODY_TYPE_TERRESTRIAL;
    body->RandomSeed = 99;
    body->Atmosphere = 0.004;
    TVexaSector sector;
    EXPECT_TRUE(GenerateTransAtmLayer(&sector, *body, ColorRGB(255, 255, 255), nullptr).isNull());
    EXPECT_EQ(sector.ImageResources.Count(), 0);

    body->Atmosphere = 2.5;
    const TColor tint = ColorRGB(240, 200, 20);
    const QImage layer = GenerateTransAtmLayer(&sector, *body, tint, nullptr);
    ASSERT_EQ(layer.size(), QSize(512, 256));
    int minAlpha = 255, maxAlpha = 0;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb p = layer.pixel(x, y);
            minAlpha = std::min(minAlpha, qAlpha(p));
            maxAlpha = std::max(maxAlpha, qAlpha(p));
            ASSERT_EQ(ColorFromQRgb(p), tint);
        }
    EXPECT_GE(minAlpha, 2);
    EXPECT_GT(maxAlpha, 100);
    EXPECT_GE(sector.ImageResources.FindResource(AtmLayerName(*body)), 0);
    EXPECT_NE(AtmLayerName(*body).find(".atm.png"), std::string::npos);

    // Drawn onto a bitmap it tints the picture and stores nothing more.
    QImage ground(100, 50, QImage::Format_RGB32);
    ground.fill(Qt::black);
    const int before = sector.ImageResources.Count();
    GenerateTransAtmLayer(&sector, *body, tint, &ground);
    EXPECT_EQ(sector.ImageResources.Count(), before);
    bool tinted = false;
    for (int y = 0; y < 50 && !tinted; ++y)
        for (int x = 0; x < 100 && !tinted; ++x)
            tinted = QColor(ground.pixel(x, y)).red() > 100;
    EXPECT_TRUE(tinted);
}

TEST(AtmosphereTextures, ALayerPaintsOnlyWhereItsNoiseIsAboveZeroWithTheMapUpsideDown)
{
    constexpr int W = 60, H = 30;
    const std::int32_t seed = 31337;
    const TColor base = ColorRGB(10, 20, 30), band = ColorRGB(200, 150, 100);
    // The layer's grid, filled by one worker for comparison with four.
    TIntegerMatrix grid(W, H, -ATM_NOISE_RANGE, ATM_NOISE_RANGE);
    FillGridInBands(grid, 1, [&](TGexGenerateThread &t) {
        t.NoiseKind = GEX_NOISE_SIMPLEX;
        t.Seed = seed;
        t.Octaves = 8;
        t.BaseFrequency = 0.01;
        t.Scale = ATM_NOISE_RANGE;
        t.Stretch = {1.0, 0.125, 0.125};
    });
    grid.Rescale(-255, 255);
    QImage img(W, H, QImage::Format_RGB32);
    const QRgb background = qRgb(1, 2, 3);
    img.fill(background);
    PaintAtmLayer(img, base, band, seed);
    int painted = 0, kept = 0;
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c) {
            const int v = grid.Get(c, r);
            const QRgb p = img.pixel(c, H - 1 - r);
            if (v <= 0) {
                EXPECT_EQ(p, background) << c << "," << r;
                ++kept;
            } else {
                ++painted;
                EXPECT_NE(p, background) << c << "," << r;
                if (v == 255) {
                    EXPECT_EQ(ColorFromQRgb(p), band);
                }
            }
        }
    EXPECT_GT(painted, 0);
    EXPECT_GT(kept, 0);
}

TEST(AtmosphereTextures, GasGiantPicture)
{
    auto body = GasGiant(424242, 0.35);
    const QImage img = GenerateGasGiantAtmTexture(nullptr, *body, ATM_DEFAULT_WIDTH, ATM_DEFAULT_HEIGHT);
    ASSERT_TRUE(SaveBitmapToFile(img, test::PictureDir() + "/gas-giant.png"));
    auto planet = TStellarBody::Create();
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->RandomSeed = 5150;
    planet->Atmosphere = 1.0;
    QImage ground(512, 256, QImage::Format_RGB32);
    ground.fill(QColor(30, 60, 120));
    GenerateTransAtmLayer(nullptr, *planet, ColorRGB(255, 255, 255), &ground);
    ASSERT_TRUE(SaveBitmapToFile(ground, test::PictureDir() + "/clouds.png"));
}

} // namespace
} // namespace kalvion
