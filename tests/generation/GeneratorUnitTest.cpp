// Settings, picks and the individual generation steps.
#include "base/SharedRandom.h"
#include "generation/PlanetTemplates.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "science/Chemistry.h"
#include "base/PhysicalFormulas.h"
#include "science/ZentRand.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvion {
namespace {

const TPickEntry &EntryOf(const TPickList &list, int type)
{
    for (const auto &e : list.Entries)
        if (e.TypeID == type)
            return e;
    static const TPickEntry none;
    return none;
}

TEST(GeneratorPicks, WeightsFollowTheSliders)
{
    TSystemGenerator g;
    EXPECT_EQ(g.SystemTypePicks.Total, 1000);
    EXPECT_EQ(g.PlanetTypePicks.Total, 400);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_CLOSEMULT).First, 405);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_CLOSEMULT).Last, 584);

    g.Frequencies[BODY_TYPE_STAR] = 20;  // factor 4
    g.Frequencies[BODY_TYPE_MULT] = 5;   // factor 0.5: 112.5 rounds to even
    g.Frequencies[BODY_TYPE_BLACKHOLE] = 0;
    g.Frequencies[BODY_TYPE_NEBULA] = 15;  // 2.25 × 30 = 67.5 → 68
    g.SetPickLists();
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_STAR).Weight, 1620);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_MULT).Weight, 112);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_NEBULA).Weight, 68);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_BLACKHOLE).Weight, 0);
    EXPECT_EQ(EntryOf(g.SystemTypePicks, BODY_TYPE_BLACKHOLE).Last, -1);
}

TEST(GeneratorPicks, ZeroAndSingleFrequencies)
{
    TSystemGenerator g;
    g.Frequencies.fill(0);
    g.SetPickLists();
    const std::uint32_t before = g.Seed;
    EXPECT_EQ(g.PickSystemRootType(), BODY_TYPE_NOTASSIGNED);
    EXPECT_EQ(g.PickPlanetType(), BODY_TYPE_NOTASSIGNED);
    EXPECT_EQ(g.Seed, before) << "an empty list draws nothing";
    auto root = TStellarBody::Create();
    g.GenerateSystemInfo(*root);
    EXPECT_EQ(root->TypeID, BODY_TYPE_NOTASSIGNED);
    EXPECT_TRUE(root->Children.empty());

    g.Frequencies[BODY_TYPE_STATION] = 10;
    g.SetPickLists();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(g.PickSystemRootType(), BODY_TYPE_STATION);
        EXPECT_EQ(g.PickPlanetType(), BODY_TYPE_STATION);
    }
}

TEST(GeneratorSettings, TerraformingLevels)
{
    TSystemGenerator g;
    EXPECT_EQ(g.TerraformingChance, 20);
    const int expected[][3] = {{0, 0, 0}, {1, 10, 0}, {5, 50, 0}, {6, 60, 2}, {7, 70, 4},
                               {8, 80, 10}, {9, 90, 20}, {10, 100, 50}, {11, 0, 0}, {-1, 0, 0}};
    for (const auto &e : expected) {
        g.SetTerraformingLevel(e[0]);
        EXPECT_EQ(g.TerraformingLevel, e[0]);
        EXPECT_EQ(g.TerraformingChance, e[1]) << e[0];
        EXPECT_EQ(g.EarthlikeChance, e[2]) << e[0];
    }
}

TEST(GeneratorSettings, OptionsKeepDefaultsOrCopy)
{
    TSystemGenerator g;
    TSystemGeneratorOptions o;
    o.NameTableFile = "Other.ilt";
    o.WithPopulations = false;
    o.TerraformingLevel = 10;
    o.Frequencies[BODY_TYPE_STAR] = 0;
    g.ApplyOptions(o);
    EXPECT_EQ(g.NameTableFile, "Other.ilt");
    EXPECT_TRUE(g.WithPopulations);
    o.KeepDefaults = false;
    g.ApplyOptions(o);
    EXPECT_FALSE(g.WithPopulations);
    EXPECT_EQ(g.TerraformingLevel, 10);
    EXPECT_EQ(g.TerraformingChance, 20) << "the chances follow SetTerraformingLevel only";
    EXPECT_EQ(g.Frequencies[BODY_TYPE_STAR], 0);
}

TEST(GeneratorStars, LuminosityIsCut)
{
    EXPECT_DOUBLE_EQ(CutStarLuminosity(0.5678), 0.567);
    EXPECT_DOUBLE_EQ(CutStarLuminosity(5.68), 5.6);
    EXPECT_DOUBLE_EQ(CutStarLuminosity(123.9), 123);
    EXPECT_DOUBLE_EQ(CutStarLuminosity(0.0123456), 0.0123456);
}

TEST(GeneratorStars, RotationOfMasslessAndHeavyStars)
{
    TSystemGenerator g;
    TStellarBody b;
    b.Mass = 0;
    b.Rotation = 7;
    const std::uint32_t before = g.Seed;
    g.StarRotation(b);
    EXPECT_EQ(b.Rotation, 0);
    EXPECT_EQ(g.Seed, before);
    for (int i = 0; i < 200; ++i) {
        b.Mass = 2;
        g.StarRotation(b);
        const double hours = std::fabs(b.Rotation);
        EXPECT_GE(hours, 5 * 2 * 24 - 1e-9);  // 10^2 is e^(2 ln 10), a hair above 100
        EXPECT_LE(hours, 34 * 2 * 24);
    }
}

TEST(GeneratorStars, GiantsAndBlackHoles)
{
    SetSharedRandomSeed(3);
    TSystemGenerator g;
    g.Seed = 17;
    for (int i = 0; i < 300; ++i) {
        TStellarBody red;
        red.TypeID = BODY_TYPE_REDGIANT;
        g.GenerateSingle(red);
        EXPECT_EQ(red.TypeID, BODY_TYPE_STAR);
        EXPECT_EQ(red.BodyType, "Red Giant");
        EXPECT_EQ(red.Spectral.substr(0, 2), "gM");
        EXPECT_EQ(red.Luminosity, std::round(red.Luminosity));
        EXPECT_TRUE(red.Children.empty());

        TStellarBody blue;
        blue.TypeID = BODY_TYPE_BLUEGIANT;
        g.GenerateSingle(blue);
        EXPECT_EQ(blue.TypeID, BODY_TYPE_STAR);
        EXPECT_EQ(blue.BodyType, "Giant");
        const std::string s = blue.Spectral;
        EXPECT_TRUE(s == "gO" || s == "gB" || s == "gA" || s.substr(2) == "I" || s.substr(2) == "II" ||
                    s.substr(2) == "III")
            << s;
        EXPECT_GE(blue.Mass, 100);
    }
    TStellarBody hole;
    hole.TypeID = BODY_TYPE_BLACKHOLE;
    g.GenerateSingle(hole);
    EXPECT_EQ(hole.Mass, 100);
    TStellarBody nebula;
    nebula.TypeID = BODY_TYPE_NEBULA;
    const std::uint32_t before = g.Seed;
    g.GenerateSingle(nebula);
    EXPECT_EQ(g.Seed, before);
    EXPECT_EQ(nebula.Mass, 0);
}

TEST(GeneratorMultiples, SinglesOverwriteTheSeedWithThePositionStream)
{
    SetSharedRandomSeed(11);
    for (std::uint32_t seed = 1; seed < 40; ++seed) {
        TSystemGenerator g;
        g.Seed = seed;
        g.StarsOnly = true;
        TStellarBody sys;
        sys.TypeID = BODY_TYPE_MULT;
        g.GenerateMultSystem2(sys);
        bool allSingles = true;
        for (const auto &c : sys.Children)
            allSingles = allSingles && c->TypeID == BODY_TYPE_STAR;
        if (!allSingles)
            continue;
        // One step for the composition, then three position draws per star;
        // the stars' own draws are discarded.
        std::int32_t expected = NextRandomSeed(static_cast<std::int32_t>(seed));
        for (int i = 0; i < 3 * sys.ChildrenCount(); ++i)
            expected = NextRandomSeed(expected);
        EXPECT_EQ(static_cast<std::int32_t>(g.Seed), expected);
        EXPECT_GE(sys.ChildrenCount(), 2);
    }
}

TEST(GeneratorMultiples, CloseMultipleSeparationAndParentPosition)
{
    SetSharedRandomSeed(12);
    TSystemGenerator g;
    g.Seed = 99;
    for (int i = 0; i < 200; ++i) {
        TStellarBody cm;
        cm.TypeID = BODY_TYPE_CLOSEMULT;
        const std::uint32_t before = g.Seed;
        g.GenerateCloseMult(cm);
        EXPECT_NE(g.Seed, before);
        EXPECT_EQ(cm.X, 0) << "a close multiple at the root stays at the origin";
        double maxMass = 0;
        for (const auto &s : cm.Children)
            maxMass = std::max(maxMass, s->Mass);
        EXPECT_GE(cm.Distance, maxMass * AU * (1 - 1e-12));
        EXPECT_LE(cm.Distance, 5 * maxMass * AU * (1 + 1e-12));
    }
}

TEST(GeneratorPlanets, FreeBodyRotationAndOrbitBounds)
{
    TSystemGenerator g;
    g.Seed = 5;
    for (int i = 0; i < 500; ++i) {
        TStellarBody b;
        b.TypeID = BODY_TYPE_TERRESTRIAL;
        g.CalcPlanetRotation(b);
        EXPECT_GE(b.Rotation, 5);
        EXPECT_LE(b.Rotation, 44);
    }
    SetSharedRandomSeed(8);
    for (int i = 0; i < 500; ++i) {
        TStellarBody b;
        g.GenerateOrbitalInfo(b, 1);
        EXPECT_LT(b.Eccentricity, 1 / 26.0 + 1e-9);
        EXPECT_LT(b.Inclination, 60 / 26.0 + 1e-9);
        EXPECT_EQ(b.TimeOffset, 0) << "no parent, no year";
    }
}

TEST(GeneratorPlanets, EarthlikePlacementOnlyInTemperateOrbits)
{
    SetSharedRandomSeed(77);
    TSystemGenerator g;
    g.Seed = 1234;
    g.SetTerraformingLevel(10);
    // Only stations are picked, so every world below is a placed Earth-like one.
    g.Frequencies.fill(0);
    g.Frequencies[BODY_TYPE_STATION] = 10;
    g.SetPickLists();
    int earthlike = 0;
    for (int i = 0; i < 200; ++i) {
        TStellarBody star;
        star.TypeID = BODY_TYPE_STAR;
        star.Mass = 1;
        star.Luminosity = 1;
        star.Spectral = "G2V";
        g.GeneratePlanets(star);
        for (const auto &p : star.Children) {
            if (p->TypeID == BODY_TYPE_STATION)
                continue;
            ++earthlike;
            ASSERT_EQ(p->TypeID, BODY_TYPE_TERRESTRIAL);
            const double t = star.TempAt(p->Distance, EARTH_ALBEDO);
            EXPECT_GT(t, 222);
            EXPECT_LT(t, 334);
            EXPECT_GE(p->Habitability, HAB_HABITABLE);
            EXPECT_EQ(p->GetAtmElementCount(), 4);
            EXPECT_EQ(p->GetAtmElement(0), "N2");
        }
    }
    EXPECT_GT(earthlike, 0);
}

TEST(GeneratorAtmosphere, GreenhouseAndCandidates)
{
    EXPECT_DOUBLE_EQ(TSystemGenerator::CalcGreenhouseTemp(0, 250), 250);
    EXPECT_DOUBLE_EQ(TSystemGenerator::CalcGreenhouseTemp(10, 200), 200 * 1.5);
    TSystemGenerator g;
    TStellarBody b;
    b.Radius = EARTH_RADIUS_KM;
    b.Density = 1;
    b.Temp = 288;
    b.Rotation = 24;
    EXPECT_TRUE(g.isTerraformingCandidate(b));
    b.Rotation = -300;
    EXPECT_TRUE(g.isTerraformingCandidate(b)) << "retrograde values pass";
    b.Rotation = 0;
    EXPECT_FALSE(g.isTerraformingCandidate(b)) << "locked worlds are not candidates";
    b.Rotation = 201;
    EXPECT_FALSE(g.isTerraformingCandidate(b));
    b.Rotation = 24;
    b.Temp = 334;
    EXPECT_FALSE(g.isTerraformingCandidate(b));
}

TEST(GeneratorAtmosphere, TerraformingClearsTheHarmfulGases)
{
    // A candidate world with certain terraforming keeps only the harmless gases.
    int terraformed = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        TSystemGenerator g;
        g.Seed = seed;
        g.SetTerraformingLevel(10);
        TStellarBody b;
        b.Radius = EARTH_RADIUS_KM;
        b.Density = 1;
        b.Mass = 1;
        b.Temp = 280;
        b.Rotation = 24;
        g.GenerateAtmosphere(b);
        for (int i = 0; i < b.GetAtmElementCount(); ++i) {
            const std::string gas = b.GetAtmElement(i);
            EXPECT_TRUE(gas == "HE" || gas == "H2O" || gas == "NE" || gas == "N2" || gas == "O2" || gas == "AR" ||
                        gas == "KR" || gas == "XE")
                << gas;
        }
        terraformed += b.Habitability == HAB_HOSPITABLE;
    }
    EXPECT_GT(terraformed, 0);
}

TEST(GeneratorAtmosphere, RerunReplacesTheComposition)
{
    TSystemGenerator g;
    g.Seed = 11;
    g.WithPopulations = false;
    TStellarBody b;
    b.Radius = EARTH_RADIUS_KM;
    b.Density = 1;
    b.Mass = 1;
    b.Temp = 288;
    g.GenerateAtmosphere(b);
    const std::string first = b.AtmosphereNotes;
    b.Temp = 288;
    g.GenerateAtmosphere(b);
    EXPECT_EQ(b.AtmosphereNotes.find(first), std::string::npos) << "notes are not appended to";
    EXPECT_LE(b.GetAtmElementCount(), 4);
}

TEST(GeneratorPopulations, OnlyWithTheFlag)
{
    SetSharedRandomSeed(4);
    TSystemGenerator g;
    g.Seed = 3;
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STATION;
    g.WithPopulations = false;
    root->Population = 5;
    const std::uint32_t before = g.Seed;
    g.GeneratePopulations(*root);
    EXPECT_EQ(root->Population, 5);
    EXPECT_EQ(g.Seed, before);
    g.WithPopulations = true;
    g.GeneratePopulations(*root);
    // WMin(7, 2) and one NRandom(1000): two to four draws.
    EXPECT_NE(g.Seed, before);
    EXPECT_EQ(root->ChildPopulation, root->Population);
}

TEST(PlanetTemplates, FixedTextsAndRanges)
{
    SetSharedRandomSeed(21);
    TSystemGenerator g;
    g.Seed = 8;
    TStellarBody star;
    star.TypeID = BODY_TYPE_STAR;
    star.Mass = 1;
    star.Luminosity = 1;
    auto world = TStellarBody::Create();
    world->Distance = AU;
    TStellarBody &w = *star.Children.emplace_back(std::move(world));
    w.Parent = &star;

    FillPlanetLargeThickAtm(g, w);
    EXPECT_EQ(w.AtmosphereNotes.find(" atm (C02 "), 4u) << w.AtmosphereNotes;
    EXPECT_NE(w.AtmosphereNotes.find(" %, N2 "), std::string::npos);
    EXPECT_GE(w.Atmosphere, 2);
    EXPECT_GT(w.Temp, 250) << "thick air heats the world";

    FillPlanetMarslike(g, w);
    EXPECT_EQ(w.GetAtmElementCount(), 3);
    EXPECT_EQ(w.GetAtmElement(0), "CO2");
    EXPECT_LE(w.Atmosphere, 0.5);
    EXPECT_GE(w.Radius, 0.8 * 3398 - 1e-9);
    EXPECT_LT(w.Radius, 1.2 * 3398);

    FillPlanetLargeBarren(g, w);
    EXPECT_EQ(w.GetAtmElement(0), "CO2");
    EXPECT_EQ(w.GetAtmElementCount(), 4);
    EXPECT_EQ(w.Habitability, HAB_HABITABLE);

    FillGasGiant(g, w, 3);
    EXPECT_EQ(w.TypeID, BODY_TYPE_GASGIANT);
    EXPECT_GE(w.Radius, 100000);
    EXPECT_EQ(w.Habitability, HAB_INHOSPITABLE);

    FillPlanetEarthlike(g, w);
    EXPECT_EQ(w.TypeID, BODY_TYPE_TERRESTRIAL);
    EXPECT_GE(w.Habitability, HAB_HABITABLE);
    EXPECT_EQ(w.AtmosphereNotes.substr(w.AtmosphereNotes.find(" atm"), 9), " atm (N2 ");

    // A moon of a rocky world is small.
    auto moon = TStellarBody::Create();
    moon->Parent = &w;
    FillPlanetEarthlike(g, *moon);
    EXPECT_LT(moon->Radius, 0.5 * EARTH_RADIUS_KM);
    EXPECT_TRUE(moon->Children.empty()) << "moons of worlds get no moons";

    // Every draw of the shared generator, not one lucky seed: the pressure is
    // rounded to decimals, so the lower end may come out a hair below 0.8.
    for (std::int32_t seed : {0, 1, 12345, -7, 2000000000}) {
        SetSharedRandomSeed(seed);
        TStellarBody air;
        BreathableAir(air);
        EXPECT_EQ(air.GetAtmElementCount(), 4);
        double sum = 0;
        for (int i = 0; i < 4; ++i)
            sum += air.GetAtmElementPercent(i);
        EXPECT_LE(sum, 100.01);
        EXPECT_GE(air.Atmosphere, 0.8 - 1e-9) << seed;
        EXPECT_LT(air.Atmosphere, 1.2) << seed;
    }
}

} // namespace
} // namespace kalvion

namespace kalvion {
namespace {

TEST(GeneratorAtmosphere, DrawnGasesStandByRisingWeight)
{
    // The retention test stops at the first gas kept; that needs this order.
    const auto &table = GasTable();
    EXPECT_EQ(table[17].Name, "Xe");
    for (int i = 1; i < 18; ++i)
        EXPECT_GE(table[i].MolecularWeight, table[i - 1].MolecularWeight) << table[i].Name;
}

} // namespace
} // namespace kalvion
