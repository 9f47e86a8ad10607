// Land palettes: the manager's seeded choice and the script routine's.
#include "base/SharedRandom.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "surface/manager/SurfacePalette.h"

#include <gtest/gtest.h>

namespace kalvion {
namespace {

TEST(SurfacePalette, TheSeedChoosesTheLandPairAndWhichOfItLiesLow)
{
    TGexColorGroup g = DefaultVexaColorGroup();
    ChooseSeededLandColours(g, 1000, HAB_HABITABLE);  // k = 3, second draw 6: as listed
    EXPECT_EQ(g.Lowland, ColorRGB(212, 120, 57));
    EXPECT_EQ(g.Highland, ColorRGB(229, 212, 156));
    g = DefaultVexaColorGroup();
    ChooseSeededLandColours(g, 1002, HAB_INHOSPITABLE);  // k = 4, second draw 3: swapped
    EXPECT_EQ(g.Lowland, ColorRGB(142, 128, 127));
    EXPECT_EQ(g.Highland, ColorRGB(81, 47, 38));
    // Seed 0 is a seed like any other: the same planet keeps its palette.
    TGexColorGroup a = DefaultVexaColorGroup(), b = DefaultVexaColorGroup();
    ChooseSeededLandColours(a, 0, HAB_HABITABLE);
    ChooseSeededLandColours(b, 0, HAB_HABITABLE);
    EXPECT_EQ(a.Lowland, b.Lowland);
    EXPECT_NE(a.Lowland, DefaultVexaColorGroup().Lowland);
}

TEST(SurfacePalette, AHospitablePlanetKeepsThePalettesOwnLandColours)
{
    TStellarBody body;
    body.RandomSeed = 1000;
    body.Habitability = HAB_HOSPITABLE;
    body.SetAtmElement("N2", 100);
    TGexColorGroup g = DefaultVexaColorGroup();
    g.Lowland = ColorRGB(1, 2, 3);
    ApplyManagerPalette(g, body);
    EXPECT_EQ(g.Lowland, ColorRGB(1, 2, 3));
    EXPECT_EQ(g.Highland, DefaultVexaColorGroup().Highland);

    SetSharedRandomSeed(77);
    DerivePlanetColors(body, g);
    EXPECT_EQ(g.Lowland, ColorRGB(1, 2, 3));
    EXPECT_EQ(SharedRandomSeed(), 77);  // nothing drawn
}

TEST(SurfacePalette, TheScriptRoutineDrawsFromTheSharedGeneratorWithoutSwapping)
{
    TStellarBody body;
    body.Habitability = HAB_INHOSPITABLE;
    // Seed 1002 steps to a state whose draw of 10 is 4.
    SetSharedRandomSeed(1002);
    TGexColorGroup g = DefaultVexaColorGroup();
    DerivePlanetColors(body, g);
    EXPECT_EQ(g.Lowland, ColorRGB(81, 47, 38));
    EXPECT_EQ(g.Highland, ColorRGB(142, 128, 127));
    EXPECT_EQ(g.AtmosphereColor, ColorRGB(255, 255, 255));  // no gases: white
}

TEST(SurfacePalette, TablesWrapAroundTheirTenEntries)
{
    EXPECT_EQ(PaletteLowland(10), PaletteLowland(0));
    EXPECT_EQ(PaletteHighland(-1), PaletteHighland(9));
}

} // namespace
} // namespace kalvion
