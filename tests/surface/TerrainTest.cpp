#include "surface/GexTerrain.h"
#include "surface/PlanetTerrain.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

namespace {

TPlanetTerrainInput Planet(std::int32_t seed, double water, double temp, double atmosphere)
{
    TPlanetTerrainInput p;
    p.RandomSeed = seed;
    p.Radius = 6000;
    p.Water = water;
    p.Temp = temp;
    p.Atmosphere = atmosphere;
    return p;
}

// A flat, warm, wet, cloudless terrain whose cells a test sets one by one.
TGexTerrain FlatTerrain(int w, int h, std::int32_t elevation)
{
    TGexTerrain t(w, h);
    t.Elevation().Fill(elevation);
    t.Temperature().Fill(20);
    t.Rainfall().Fill(150);
    return t;
}

} // namespace

TEST(GexTerrain, ConstructionDefaults)
{
    const TGexTerrain t(8, 4);
    EXPECT_EQ(t.CellCount(), 32u);
    EXPECT_EQ(t.Elevation().Get(3, 2), -100);
    EXPECT_EQ(t.Temperature().Get(3, 2), 0);
    EXPECT_EQ(t.Rainfall().Get(3, 2), 100);
    EXPECT_EQ(t.Clouds().Get(3, 2), -255);
    EXPECT_EQ(t.Elevation().MinRange(), -1000000);
    EXPECT_EQ(t.Temperature().MaxRange(), 30);
    EXPECT_EQ(t.Rainfall().MaxRange(), 300);
    EXPECT_EQ(t.ShadingDivisor, 1000);
    EXPECT_EQ(t.StoredSettings[3], 128);
    EXPECT_EQ(t.StoredSettings[7], static_cast<std::int32_t>(ColorRGB(0, 0, 128)));
}

TEST(GexTerrain, SameGridsForOneTwoAndFourWorkers)
{
    // An odd width leaves a remainder for the last band; 70 columns over 16
    // workers gives most of them 4 columns and the last one 10.
    for (auto [w, h] : {std::pair{64, 32}, std::pair{70, 35}}) {
        std::unique_ptr<TGexTerrain> ref;
        for (int workers : {1, 2, 4, 16}) {
            auto t = SetupPlanetTerrain(Planet(4242, 0.6, 290, 0.8), w, h, workers);
            if (!ref) {
                ref = std::move(t);
                continue;
            }
            EXPECT_EQ(t->Elevation().Cells(), ref->Elevation().Cells()) << w << " " << workers;
            EXPECT_EQ(t->Temperature().Cells(), ref->Temperature().Cells()) << w << " " << workers;
            EXPECT_EQ(t->Clouds().Cells(), ref->Clouds().Cells()) << w << " " << workers;
        }
    }
    // More workers than columns: the last one takes them all.
    const auto many = SetupPlanetTerrain(Planet(4242, 0.6, 290, 0.8), 8, 4, 16);
    const auto one = SetupPlanetTerrain(Planet(4242, 0.6, 290, 0.8), 8, 4, 1);
    EXPECT_EQ(many->Elevation().Cells(), one->Elevation().Cells());
}

TEST(GexTerrain, SameMapPixelsForAnyWorkerCount)
{
    // Craters (0.8 atmospheres), clouds, and a dry world whose lowest point is
    // raised to sea level: every pass after the noise runs in bands too.
    for (const auto &planet : {Planet(4242, 0.6, 290, 0.8), Planet(-77, 0.01, 300, 0.3)}) {
        const auto ref = SetupPlanetTerrain(planet, 70, 35, 1);
        const TRgbImage refImage = RenderTerrainMap(*ref);
        for (int workers : {2, 3, 16}) {
            const auto t = SetupPlanetTerrain(planet, 70, 35, workers);
            EXPECT_EQ(t->Elevation().Cells(), ref->Elevation().Cells()) << workers;
            EXPECT_EQ(t->Temperature().Cells(), ref->Temperature().Cells()) << workers;
            EXPECT_EQ(t->Clouds().Cells(), ref->Clouds().Cells()) << workers;
            EXPECT_EQ(RenderTerrainMap(*t).Pixels, refImage.Pixels) << workers;
        }
    }
    // A part of the map renders the same pixels as the whole, and nothing outside it.
    auto t = SetupPlanetTerrain(Planet(4242, 0.6, 290, 0.8), 70, 35, 3);
    const TRgbImage whole = RenderTerrainMap(*t);
    TRgbImage part(70, 35);
    t->Render(part, 10, 30, 60, 5);
    for (int r = 0; r < 35; ++r)
        for (int c = 0; c < 70; ++c) {
            const bool inside = c >= 10 && c <= 60 && r >= 5 && r <= 30;
            ASSERT_EQ(part.Pixel(c, r), inside ? whole.Pixel(c, r) : ColorRGB(0, 0, 0)) << c << " " << r;
        }
}

TEST(GexTerrain, ResizingToTheSameSizeStartsAfreshLikeANewTerrain)
{
    for (int workers : {1, 3}) {
        auto used = SetupPlanetTerrain(Planet(99, 0.4, 300, 1.5), 48, 24, workers);
        used->SetSize(48, 24);
        const TGexTerrain fresh(48, 24, workers);
        for (int r = 0; r < 24; ++r)
            for (int c = 0; c < 48; ++c) {
                ASSERT_EQ(used->Elevation().Get(c, r), 0) << c << "," << r;
                ASSERT_EQ(used->Temperature().Get(c, r), 0);
                ASSERT_EQ(used->Rainfall().Get(c, r), 0);
                ASSERT_EQ(used->Clouds().Get(c, r), -255);
                ASSERT_EQ(fresh.Elevation().Get(c, r), -100);
                ASSERT_EQ(fresh.Rainfall().Get(c, r), 100);
                ASSERT_EQ(fresh.Clouds().Get(c, r), -255);
            }
        EXPECT_EQ(used->Elevation().MinRange(), -1000000);
        EXPECT_EQ(used->Clouds().MaxRange(), 255);
        // Generating over used grids gives what a new terrain gives.
        used->Generate(48, 24);
        auto direct = std::make_unique<TGexTerrain>(48, 24, workers);
        direct->Seed = used->Seed;
        direct->CraterCount = used->CraterCount;
        direct->SeaLevelShift = used->SeaLevelShift;
        direct->SetTemperatureRange(used->TemperatureMin(), used->TemperatureMax());
        direct->Generate(48, 24);
        EXPECT_EQ(used->Elevation().Cells(), direct->Elevation().Cells()) << workers;
        EXPECT_EQ(used->Temperature().Cells(), direct->Temperature().Cells()) << workers;
        EXPECT_EQ(used->Rainfall().Cells(), direct->Rainfall().Cells()) << workers;
    }
}

TEST(GexTerrain, SamePlanetSameMap)
{
    for (double atmosphere : {1.0, 20.0}) { // with craters, and without any
        const auto a = SetupPlanetTerrain(Planet(-123456, 0.7, 288, atmosphere), 64, 32);
        const auto b = SetupPlanetTerrain(Planet(-123456, 0.7, 288, atmosphere), 64, 32);
        EXPECT_EQ(RenderTerrainMap(*a).Pixels, RenderTerrainMap(*b).Pixels) << atmosphere;
        EXPECT_EQ(a->Clouds().Cells(), b->Clouds().Cells()) << atmosphere;
    }
    const auto c = SetupPlanetTerrain(Planet(-123455, 0.7, 288, 1.0), 64, 32);
    const auto d = SetupPlanetTerrain(Planet(-123456, 0.7, 288, 1.0), 64, 32);
    EXPECT_NE(c->Elevation().Cells(), d->Elevation().Cells());
}

TEST(GexTerrain, CloudSeedComesFromTheTerrainStateEvenWithoutCraters)
{
    // 20 atmospheres make no craters; the cloud seed is then the first draw
    // after the state was set to seed + 4, exactly as after the crater step.
    const auto t = SetupPlanetTerrain(Planet(1000, 0.7, 288, 20.0), 16, 8);
    EXPECT_EQ(t->CraterCount, 0);
    TRandomState expected{1004u};
    expected.Random(1000000);
    EXPECT_EQ(t->RandomState().State, expected.State);

    // With craters the draw continues after them: 5 craters take 15 draws.
    const auto c = SetupPlanetTerrain(Planet(1000, 0.7, 288, 2.0), 16, 8);
    EXPECT_EQ(c->CraterCount, 5);
    TRandomState after{1004u};
    for (int i = 0; i < 16; ++i)
        after.Random(1000);
    EXPECT_EQ(c->RandomState().State, after.State);
}

TEST(GexTerrain, CraterCounts)
{
    EXPECT_EQ(PlanetCraterCount(2.0), 5);
    EXPECT_EQ(PlanetCraterCount(0.4), 20);
    EXPECT_EQ(PlanetCraterCount(0.5), 20);
    EXPECT_EQ(PlanetCraterCount(0.6), 16);
    EXPECT_EQ(PlanetCraterCount(10.0), 1);
    EXPECT_EQ(PlanetCraterCount(10.5), 0);
    EXPECT_EQ(PlanetCraterCount(0.0), 20);
}

TEST(GexTerrain, CratersDigBowlsWithRaisedRims)
{
    TGexTerrain t = FlatTerrain(360, 180, 0);
    t.Seed = 77;
    t.SetElevationRange(-2000000, 2000000);
    t.AddCraters(1);
    // The one crater's place and size, drawn from seed + 4.
    TRandomState r{81u};
    const int phi = static_cast<int>(r.Random(360));
    const int theta = static_cast<int>(r.Random(180));
    const double radius = (r.Random(100) + 25) / 100.0;
    const auto depth = static_cast<std::int32_t>(radius * 40000.0);
    // One cell per degree: the cell at the centre is at the bottom of the bowl.
    EXPECT_EQ(t.Elevation().Get(phi, theta), -depth);
    EXPECT_GT(t.Elevation().Max(), 0); // the rim
    EXPECT_EQ(t.Elevation().Max(), static_cast<std::int32_t>(std::nearbyint(0.2 * depth)));
    // The antipode is untouched.
    EXPECT_EQ(t.Elevation().Get((phi + 180) % 360, 179 - theta), 0);
}

TEST(GexTerrain, WaterShiftsSeaLevel)
{
    const auto half = SetupPlanetTerrain(Planet(31, 0.5, 288, 1.0), 48, 24);
    const auto full = SetupPlanetTerrain(Planet(31, 1.0, 288, 1.0), 48, 24);
    EXPECT_EQ(half->SeaLevelShift, 0);
    EXPECT_EQ(full->SeaLevelShift, 500000);
    for (std::size_t i = 0; i < half->CellCount(); ++i)
        ASSERT_EQ(full->Elevation().Cells()[i], half->Elevation().Cells()[i] - 500000) << i;
    // The range is back to ±10 km without re-clamping.
    EXPECT_EQ(full->Elevation().MinRange(), -1000000);
    EXPECT_EQ(full->Elevation().MaxRange(), 1000000);
}

TEST(GexTerrain, DryAndHotWorldsHaveNoSeaAndNoIce)
{
    for (auto [water, temp] : {std::pair{0.0, 250.0}, std::pair{0.019, 200.0}, std::pair{0.6, 400.0}}) {
        TPlanetTerrainInput p = Planet(555, water, temp, 0.3);
        p.Colors.CloudsEnabled = false;
        p.Colors.Ice = ColorRGB(255, 0, 255);
        const auto t = SetupPlanetTerrain(p, 64, 32);
        EXPECT_EQ(t->IceOffset, TGexTerrain::ICE_OFFSET_NONE);
        EXPECT_GE(t->Elevation().Min(), 0) << water << " " << temp;
        const TRgbImage img = RenderTerrainMap(*t);
        for (int y = 0; y < img.Height; ++y)
            for (int x = 0; x < img.Width; ++x) {
                const TColor c = img.Pixel(x, y);
                ASSERT_FALSE(ColorRed(c) > 200 && ColorGreen(c) < 60 && ColorBlue(c) > 200) << x << "," << y;
            }
    }
    // A wet, cold world keeps its sea and has ice.
    const auto cold = SetupPlanetTerrain(Planet(555, 0.7, 230, 1.0), 64, 32);
    EXPECT_EQ(cold->IceOffset, 0);
    EXPECT_LT(cold->Elevation().Min(), 0);
}

TEST(GexTerrain, GeneratedGridsKeepTheirRules)
{
    auto t = SetupPlanetTerrain(Planet(9, 0.5, 288, 1.0), 64, 32);
    EXPECT_EQ(t->TemperatureMin(), 288 - 273 - 55);
    EXPECT_EQ(t->TemperatureMax(), 288 - 273 + 25);
    EXPECT_EQ(t->Circumference, 37699.0); // round(6000 * 2 pi)
    EXPECT_EQ(t->OriginFlag, GEX_ORIGIN_GENERATED);
    EXPECT_EQ(t->ShadingDivisor, 40);
    // Poles coldest, equator warmest, north and south mirrored (up to noise of ±5).
    const auto &temp = t->Temperature();
    EXPECT_LE(temp.Get(10, 0), -33 + 5);
    EXPECT_GE(temp.Get(10, 15), 40 - 5 - 1);
    EXPECT_LE(std::abs(temp.Get(10, 0) - temp.Get(10, 31)), 10);
    EXPECT_EQ(t->Rainfall().Min(), 150);
    EXPECT_EQ(t->Rainfall().Max(), 150);
    EXPECT_GE(t->Clouds().Min(), -255);
    EXPECT_LE(t->Clouds().Max(), 255);

    // Before the sea-level shift no land lies within a metre of the sea.
    TGexTerrain raw(64, 32);
    raw.Seed = 9;
    raw.Generate(64, 32);
    for (std::int32_t e : raw.Elevation().Cells())
        ASSERT_FALSE(e >= 0 && e <= 100) << e;
}

TEST(GexTerrain, ColourOfWaterBeachLandAndIce)
{
    TGexTerrain t = FlatTerrain(4, 2, 0);
    auto colourAt = [&t](std::int32_t e, std::int32_t temp, std::int32_t rain = 150) {
        t.Elevation().Fill(e);
        t.Temperature().Fill(temp);
        t.Rainfall().Fill(rain);
        return t.Colour(1, 1);
    };
    EXPECT_EQ(colourAt(100, 20), t.Lowland);
    EXPECT_EQ(colourAt(99, 20), t.Beach);
    EXPECT_EQ(colourAt(0, 20), t.Beach);
    EXPECT_EQ(colourAt(-1, 20), t.ShallowWater);
    EXPECT_EQ(colourAt(-10000, 20), t.ShallowWater);
    EXPECT_EQ(colourAt(-10001, 20), t.DeepWater);
    EXPECT_EQ(colourAt(500000, 50), t.Highland);
    EXPECT_EQ(colourAt(200000, 20), ColorRGB(101, 109, 61)); // halfway between lowland and highland
    // Dry land turns towards desert.
    EXPECT_EQ(colourAt(100, 20, 0), t.Desert);
    EXPECT_EQ(colourAt(100, 20, 50), ColorRGB(153, 140, 80));

    // Freezing thresholds.
    EXPECT_EQ(colourAt(-20000, -21), t.Ice);
    EXPECT_EQ(colourAt(-20000, -20), t.DeepWater);
    EXPECT_EQ(colourAt(50, -13), t.Ice);
    EXPECT_EQ(colourAt(50, -12), t.Beach);
    EXPECT_EQ(colourAt(100, -6), t.Ice);
    EXPECT_EQ(colourAt(100, -5), t.Lowland);
    // 50 m deep: round(-50 * -15 / 100) = round(7.5) = 8, so ice below -13.
    EXPECT_EQ(colourAt(-5000, -14), t.Ice);
    EXPECT_EQ(colourAt(-5000, -13), t.ShallowWater);
    // Height cools: 1 km up is round(6.48) = 6 degrees colder.
    EXPECT_EQ(colourAt(100000, 0), t.Ice);
    EXPECT_NE(colourAt(100000, 1), t.Ice);
    // The ice offset moves every threshold; -500 means never.
    t.IceOffset = TGexTerrain::ICE_OFFSET_NONE;
    EXPECT_EQ(colourAt(-20000, -200), t.DeepWater);
    EXPECT_EQ(colourAt(100, -200), t.Lowland);
}

TEST(GexTerrain, SlopeShadingAndClouds)
{
    TGexTerrain t = FlatTerrain(4, 2, 100);
    // One cell is 40,000 km / 4 = 1e9 cm wide.
    t.Elevation().SetRaw(2, 0, 200000);
    EXPECT_DOUBLE_EQ(t.Slope(2, 0), 199900.0 / 1e9);
    EXPECT_DOUBLE_EQ(t.Slope(3, 0), -199900.0 / 1e9);
    EXPECT_EQ(t.Slope(0, 1), 0.0);
    // Facing east: lightened by 10 (one threshold of 0.17125 / 1000 passed).
    EXPECT_EQ(t.Colour(2, 0), ColorRGB(111, 119, 71));
    // Facing away: darkened by 10.
    EXPECT_EQ(t.Colour(3, 0), ColorRGB(42, 68, 12));
    // A larger divisor lowers the thresholds: all passed, +40 and -100.
    t.ShadingDivisor = 1000000;
    EXPECT_EQ(t.Colour(2, 0), ColorRGB(141, 149, 101));
    EXPECT_EQ(t.Colour(3, 0), ColorRGB(0, 0, 0));
    // Slope wraps: column 0 compares with the last column.
    t.Elevation().SetRaw(3, 1, 300000);
    EXPECT_LT(t.Slope(0, 1), 0.0);

    TGexTerrain c = FlatTerrain(2, 1, -20000);
    c.CloudColor = ColorRGB(255, 255, 255);
    c.Clouds().Fill(-255);
    EXPECT_EQ(c.Colour(0, 0), c.DeepWater);
    c.Clouds().Fill(300); // capped at 255: pure cloud
    EXPECT_EQ(c.Colour(0, 0), ColorRGB(255, 255, 255));
    c.Clouds().Fill(0);
    c.CloudOffset = 51; // (0 * 204 + 51 * 255) / 255 = 51, (49 * 204 + 51 * 255) / 255 = 90.2
    EXPECT_EQ(c.Colour(0, 0), ColorRGB(51, 51, 90));
}

TEST(GexTerrain, RenderTakesItsArgumentsInItsOwnOrder)
{
    TGexTerrain t = FlatTerrain(4, 3, -20000);
    TRgbImage img(4, 3);
    // first column 1, last row 1, last column 2, first row 0
    t.Render(img, 1, 1, 2, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && x <= 2 && y <= 1;
            EXPECT_EQ(img.Pixel(x, y), inside ? t.DeepWater : 0u) << x << "," << y;
        }
    // Clamped to the map and to the bitmap.
    TRgbImage small(2, 2);
    t.Render(small, -5, 99, 99, -5);
    EXPECT_EQ(small.Pixel(1, 1), t.DeepWater);
}
