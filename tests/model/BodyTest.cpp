#include "base/SharedRandom.h"
#include "model/StellarBody.h"
#include "base/PhysicalFormulas.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

namespace {

std::unique_ptr<TStellarBody> Body(int type, std::string name = "", double distance = 0)
{
    auto b = TStellarBody::Create();
    b->TypeID = type;
    b->Name = std::move(name);
    b->Distance = distance;
    return b;
}

TStellarBody *Add(TStellarBody &parent, std::unique_ptr<TStellarBody> child)
{
    TStellarBody *raw = child.get();
    parent.AddChild(std::move(child));
    return raw;
}

} // namespace

TEST(Body, Defaults)
{
    auto b = TStellarBody::Create();
    EXPECT_TRUE(b->Loaded);
    EXPECT_TRUE(b->Modified);
    EXPECT_EQ(b->RecordID, 0);
    EXPECT_EQ(b->IDString.size(), 38u);
    EXPECT_EQ(b->Color, ColorRGB(250, 250, 255));
    EXPECT_EQ(b->LabelColor, ColorRGB(255, 0, 0));
    EXPECT_EQ(b->SphereInfluenceColor, ColorRGB(192, 192, 192));
    EXPECT_EQ(b->OrbitColor, ColorRGB(0, 0, 255));
    EXPECT_DOUBLE_EQ(b->SphereInfluenceSize, 0.5);
    EXPECT_DOUBLE_EQ(b->RenderDistance, 30);
    EXPECT_DOUBLE_EQ(b->LabelDistance, 20);
    EXPECT_DOUBLE_EQ(b->RouteDistance, 40);
    EXPECT_TRUE(b->Visible);
    EXPECT_FALSE(b->Selected);
    EXPECT_GE(b->RandomSeed, 0);
    EXPECT_LT(b->RandomSeed, 1000000000);
    EXPECT_EQ(b->SystemDataConfig(), nullptr);
    EXPECT_EQ(b->ColorGroup(), nullptr);
    EXPECT_EQ(b->RenderInfo(), nullptr);
    EXPECT_EQ(b->DeletedChildren(), nullptr);
}

TEST(Body, RandomSeedComesFromSharedGenerator)
{
    SetSharedRandomSeed(0);
    auto b = TStellarBody::Create();
    // seed 0 steps to 1; 1 * 1e9 >> 32 = 0.  The next step gives 134775814.
    EXPECT_EQ(b->RandomSeed, 0);
    auto c = TStellarBody::Create();
    EXPECT_EQ(c->RandomSeed, RandomIntFromSeed(134775814, 1000000000));
}

TEST(BodyFields, LowerCaseKeysAndEmptyValues)
{
    auto b = TStellarBody::Create();
    b->Modified = false;
    b->SetField("Capital", "Nova Roma");
    EXPECT_TRUE(b->Modified);
    EXPECT_EQ(b->GetField("CAPITAL"), "Nova Roma");
    EXPECT_EQ(b->GetFieldNameByIndex(0), "capital");
    b->SetField("Founded", "");
    EXPECT_EQ(b->GetFieldCount(), 1);
    EXPECT_EQ(b->GetFieldIndex("founded"), -1);
    b->Modified = false;
    b->SetField("capital", "");
    EXPECT_EQ(b->GetFieldCount(), 1);
    EXPECT_EQ(b->GetField("Capital"), "");
    EXPECT_TRUE(b->Modified);
    EXPECT_EQ(b->GetFieldByIndex(5), "");
    EXPECT_EQ(b->GetFieldNameByIndex(-1), "");
    b->Modified = false;
    b->ClearFields();
    EXPECT_EQ(b->GetFieldCount(), 0);
    EXPECT_FALSE(b->Modified);
}

TEST(BodyFields, LongNamesAreCutTo256)
{
    auto b = TStellarBody::Create();
    const std::string longName = std::string(200, 'A') + std::string(100, 'B');
    b->SetField(longName, "1");
    b->SetField(longName, "2");
    ASSERT_EQ(b->GetFieldCount(), 1);
    EXPECT_EQ(b->GetFieldNameByIndex(0), std::string(200, 'a') + std::string(56, 'b'));
    EXPECT_EQ(b->GetField(longName), "2");
}

TEST(BodyAtmosphere, GasNamesTrimmedAndUpperCased)
{
    auto b = TStellarBody::Create();
    b->SetAtmElement("  n2 ", 78);
    EXPECT_DOUBLE_EQ(b->GetAtmElementPercentByName("N2"), 78);
    b->SetAtmElement("N2", 77);
    EXPECT_EQ(b->GetAtmElementCount(), 1);
    EXPECT_DOUBLE_EQ(b->GetAtmElementPercent(0), 77);
    b->SetAtmElement("   ", 5);
    EXPECT_EQ(b->GetAtmElementCount(), 1);
    EXPECT_EQ(b->GetAtmElement(1), "");
    EXPECT_DOUBLE_EQ(b->GetAtmElementPercent(-1), 0);
    EXPECT_DOUBLE_EQ(b->GetAtmElementPercentByName(""), 0);
    b->ResetAtmElements();
    EXPECT_EQ(b->GetAtmElementCount(), 0);
}

TEST(BodyTree, NavigationAndInsert)
{
    auto sol = Body(BODY_TYPE_STAR, "Sol");
    TStellarBody *p1 = Add(*sol, Body(BODY_TYPE_TERRESTRIAL, "", 100));
    TStellarBody *p2 = Add(*sol, Body(BODY_TYPE_TERRESTRIAL, "", 300));
    TStellarBody *moon = Add(*p2, Body(BODY_TYPE_TERRESTRIAL, "", 10));
    EXPECT_EQ(sol->ChildrenCount(), 2);
    EXPECT_EQ(sol->GetChild(2), nullptr);
    EXPECT_EQ(moon->GetRootBody(), sol.get());
    EXPECT_EQ(moon->GetParentStar(), sol.get());
    EXPECT_EQ(sol->GetParentStar(), nullptr);
    EXPECT_EQ(sol->FindChildIndex(p2), 1);
    EXPECT_EQ(sol->FindChildIndex(moon), -1);

    std::unique_ptr<TStellarBody> ins = Body(BODY_TYPE_TERRESTRIAL);
    TStellarBody *insRaw = ins.get();
    EXPECT_EQ(p2->InsertBefore(ins), 1);
    EXPECT_EQ(ins, nullptr);
    EXPECT_DOUBLE_EQ(insRaw->Distance, 200);
    EXPECT_EQ(insRaw->Parent, sol.get());
    std::unique_ptr<TStellarBody> first = Body(BODY_TYPE_TERRESTRIAL);
    EXPECT_EQ(p1->InsertBefore(first), 0);
    EXPECT_DOUBLE_EQ(sol->GetChild(0)->Distance, 50);
    std::unique_ptr<TStellarBody> orphan = Body(BODY_TYPE_TERRESTRIAL);
    EXPECT_EQ(sol->InsertBefore(orphan), -1);
    EXPECT_NE(orphan, nullptr);

    TStellarBodyList all;
    sol->GetAllChildren(all);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[0], sol.get());
    EXPECT_EQ(all[4], p2);
    EXPECT_EQ(all[5], moon);
    EXPECT_GE(all.capacity(), 1000u);
}

TEST(BodyTree, ParentBodyAndOrbitalParent)
{
    auto star = Body(BODY_TYPE_STAR);
    TStellarBody *ps = Add(*star, Body(BODY_TYPE_PLANETSYSTEM));
    TStellarBody *planet = Add(*ps, Body(BODY_TYPE_TERRESTRIAL));
    TStellarBody *ring = Add(*planet, Body(BODY_TYPE_RING));
    TStellarBody *ship = Add(*ring, Body(BODY_TYPE_SHIP));
    EXPECT_EQ(planet->GetParentBody(), star.get());
    EXPECT_EQ(ring->GetParentBody(), planet);
    EXPECT_EQ(planet->GetOrbitalParent(), star.get());
    EXPECT_EQ(ship->GetOrbitalParent(), planet);
    EXPECT_EQ(star->GetOrbitalParent(), nullptr);
}

TEST(BodyTree, DeleteAndUnloadChildren)
{
    auto root = Body(BODY_TYPE_STAR);
    TStellarBody *planet = Add(*root, Body(BODY_TYPE_TERRESTRIAL));
    TStellarBody *moon = Add(*planet, Body(BODY_TYPE_TERRESTRIAL));
    root->Modified = false;
    planet->Modified = false;
    EXPECT_TRUE(root->SystemModified()); // the new moon is still unsaved
    moon->Modified = false;
    EXPECT_FALSE(root->SystemModified());
    planet->DeleteChildren();
    EXPECT_TRUE(planet->Modified);
    EXPECT_TRUE(root->Modified);
    EXPECT_EQ(planet->ChildrenCount(), 0);
    ASSERT_NE(planet->DeletedChildren(), nullptr);
    EXPECT_EQ(planet->DeletedChildren()->size(), 1u);
    root->Modified = false;
    planet->Modified = false;
    planet->DeleteChildren(); // nothing to delete: flags untouched
    EXPECT_FALSE(root->Modified);
    planet->Modified = true;
    EXPECT_TRUE(root->SystemModified());
    root->UnloadChildren();
    EXPECT_EQ(root->ChildrenCount(), 0);
}

TEST(BodyTree, SortChildrenKeepsGroupingOrder)
{
    auto star = Body(BODY_TYPE_STAR);
    Add(*star, Body(BODY_TYPE_TERRESTRIAL, "far", 300));
    Add(*star, Body(BODY_TYPE_TERRESTRIAL, "near", 100));
    star->SortChildrenByDistance();
    EXPECT_EQ(star->GetChild(0)->Name, "near");
    auto mult = Body(BODY_TYPE_MULT);
    Add(*mult, Body(BODY_TYPE_STAR, "b", 300));
    Add(*mult, Body(BODY_TYPE_STAR, "a", 100));
    mult->SortChildrenByDistance();
    EXPECT_EQ(mult->GetChild(0)->Name, "b");
}

TEST(Designations, StylesFollowTheNamingParent)
{
    auto sol = Body(BODY_TYPE_STAR);
    for (int i = 0; i < 3; ++i)
        Add(*sol, Body(BODY_TYPE_TERRESTRIAL));
    TStellarBody *third = sol->GetChild(2);
    Add(*third, Body(BODY_TYPE_TERRESTRIAL));
    Add(*third, Body(BODY_TYPE_TERRESTRIAL));
    sol->SetChildDesignations("Sol");
    EXPECT_EQ(sol->GetChild(0)->Name, "Sol I");
    EXPECT_EQ(sol->GetChild(1)->Name, "Sol II");
    EXPECT_EQ(third->Name, "Sol III");
    EXPECT_EQ(third->GetChild(0)->Name, "Sol III.1");
    EXPECT_EQ(third->GetChild(1)->Name, "Sol III.2");

    auto mult = Body(BODY_TYPE_MULT);
    for (int i = 0; i < 3; ++i)
        Add(*mult, Body(BODY_TYPE_STAR));
    mult->SetChildDesignations("Sol");
    EXPECT_EQ(mult->GetChild(0)->Name, "Sol A");
    EXPECT_EQ(mult->GetChild(2)->Name, "Sol C");

    auto close = Body(BODY_TYPE_CLOSEMULT);
    Add(*close, Body(BODY_TYPE_STAR));
    Add(*close, Body(BODY_TYPE_STAR));
    close->SetChildDesignations("Vega");
    EXPECT_EQ(close->GetChild(1)->Name, "Vega-2");
}

TEST(Designations, NamedChildrenKeepTheirNameButCountTheirPlace)
{
    auto star = Body(BODY_TYPE_STAR);
    Add(*star, Body(BODY_TYPE_TERRESTRIAL, "Home"));
    Add(*star, Body(BODY_TYPE_GASGIANT));
    TStellarBody *home = star->GetChild(0);
    Add(*home, Body(BODY_TYPE_TERRESTRIAL));
    Add(*star, Body(BODY_TYPE_ASTEROIDBELT));
    TStellarBody *belt = star->GetChild(2);
    Add(*belt, Body(BODY_TYPE_PLANETOID));
    star->SetChildDesignations("Tau");
    EXPECT_EQ(home->Name, "Home");
    EXPECT_EQ(star->GetChild(1)->Name, "Tau II");
    EXPECT_EQ(home->GetChild(0)->Name, "Home.1");
    EXPECT_EQ(belt->Name, "Tau III");
    // An asteroid belt does not name its children.
    EXPECT_EQ(belt->GetChild(0)->Name, "");

    star->ClearChildrenNames();
    star->Name = "Tau";
    EXPECT_EQ(home->Name, "");
    EXPECT_EQ(home->GetChild(0)->Name, "");
    EXPECT_EQ(star->Name, "Tau");
}

TEST(Designations, RomanNumerals)
{
    EXPECT_EQ(RomanNumeral(4), "IV");
    EXPECT_EQ(RomanNumeral(9), "IX");
    EXPECT_EQ(RomanNumeral(14), "XIV");
    EXPECT_EQ(RomanNumeral(1994), "MCMXCIV");
    EXPECT_EQ(RomanNumeral(9999), "MMMMMMMMMCMXCIX");
    EXPECT_EQ(RomanNumeral(0), "");
    EXPECT_EQ(RomanNumeral(10000), "");
}

TEST(BodyRollUps, PopulationHabitabilityAndCount)
{
    auto root = Body(BODY_TYPE_STAR);
    root->Population = 10;
    TStellarBody *a = Add(*root, Body(BODY_TYPE_TERRESTRIAL));
    a->Population = 100;
    a->Habitability = HAB_HABITABLE;
    TStellarBody *b = Add(*root, Body(BODY_TYPE_TERRESTRIAL));
    b->Population = 1000;
    EXPECT_DOUBLE_EQ(root->GetChildPopulation(), 1110);
    EXPECT_DOUBLE_EQ(b->GetSystemPopulation(), 1110);
    EXPECT_DOUBLE_EQ(b->GetChildPopulation(), 1000);
    EXPECT_EQ(root->GetBodyCount(), 3);
    EXPECT_EQ(b->GetMaxHabitability(), HAB_HABITABLE);
    EXPECT_EQ(b->GetMaxChildHabitability(), 0);
    b->UpdateRootBody();
    EXPECT_DOUBLE_EQ(root->ChildPopulation, 1110);
    EXPECT_EQ(root->ChildHabitability, HAB_HABITABLE);
    EXPECT_EQ(root->BodyCount, 3);
    EXPECT_EQ(b->BodyCount, 0); // only the root holds the totals
    EXPECT_EQ(root->FormatChildPopulation(), "1,110");
    EXPECT_EQ(a->FormatPopulation(), "100");
    EXPECT_EQ(a->FormatSystemPopulation(), "1,110");
}

TEST(BodyYear, FormulaFollowsTheParent)
{
    auto sun = Body(BODY_TYPE_STAR);
    sun->Mass = 1;
    TStellarBody *earth = Add(*sun, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    earth->Radius = 6378.14;
    earth->Mass = 1;
    EXPECT_DOUBLE_EQ(earth->YearLength(), 365);
    EXPECT_EQ(earth->FormatYearLength(), "365 days");
    TStellarBody *moon = Add(*earth, Body(BODY_TYPE_TERRESTRIAL, "", 384800 - 6378.14));
    EXPECT_NEAR(moon->YearLength(), 27.32, 1e-9);
    EXPECT_EQ(sun->YearLength(), 0);

    TStellarBody *far = Add(*sun, Body(BODY_TYPE_GASGIANT, "", AU * std::cbrt(1000.0 / 365 * 1000.0 / 365)));
    EXPECT_NEAR(far->YearLength(), 1000, 1e-6);
    EXPECT_EQ(far->FormatYearLength(), "2.74 years");

    TStellarBody *ps = Add(*sun, Body(BODY_TYPE_PLANETSYSTEM, "", 5 * AU));
    TStellarBody *member = Add(*ps, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    EXPECT_DOUBLE_EQ(member->YearLength(), 365);

    auto lonelyPs = Body(BODY_TYPE_PLANETSYSTEM);
    TStellarBody *lost = Add(*lonelyPs, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    EXPECT_EQ(lost->YearLength(), 0);
}

TEST(BodyYear, DaysUpTo730ThenYears)
{
    auto sun = Body(BODY_TYPE_STAR);
    sun->Mass = 1;
    const double d730 = AU * std::cbrt(2.0 * 2.0);
    TStellarBody *p = Add(*sun, Body(BODY_TYPE_TERRESTRIAL, "", d730));
    EXPECT_NEAR(p->YearLength(), 730, 1e-9);
    EXPECT_EQ(p->FormatYearLength().substr(p->FormatYearLength().size() - 5), " days");
    p->Distance = AU * std::cbrt(1.25 * 1.25);
    EXPECT_EQ(p->FormatYearLength(), "456.25 days");
}

TEST(BodyYear, BlackHolesAndStellarRemnantsUseSolarMasses)
{
    auto hole = Body(BODY_TYPE_BLACKHOLE);
    TStellarBody *p = Add(*hole, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    EXPECT_DOUBLE_EQ(p->YearLength(), 36.5); // mass 0 counts as 100 solar masses
    hole->Mass = 4;
    EXPECT_DOUBLE_EQ(p->YearLength(), 182.5);
    for (int type : {BODY_TYPE_NEUTRON, BODY_TYPE_WHITEDWARF, BODY_TYPE_REDGIANT, BODY_TYPE_BLUEGIANT,
                     BODY_TYPE_BROWNDWARF}) {
        auto star = Body(type);
        star->Mass = 1;
        TStellarBody *planet = Add(*star, Body(BODY_TYPE_TERRESTRIAL, "", AU));
        EXPECT_DOUBLE_EQ(planet->YearLength(), 365) << type;
    }
}

TEST(BodyOrbit, RadiusFromTheSurfaceOfSolidParents)
{
    auto planet = Body(BODY_TYPE_TERRESTRIAL);
    planet->Radius = 6378.14;
    TStellarBody *moon = Add(*planet, Body(BODY_TYPE_TERRESTRIAL, "", 1000));
    EXPECT_DOUBLE_EQ(moon->GetOrbitRadius(), 7378.14);
    auto belt = Body(BODY_TYPE_ASTEROIDBELT);
    belt->Radius = 6378.14;
    TStellarBody *rock = Add(*belt, Body(BODY_TYPE_PLANETOID, "", 1000));
    EXPECT_DOUBLE_EQ(rock->GetOrbitRadius(), 1000);
}

TEST(BodyOrbit, DirectionStopsAtTheFirstNonCarrier)
{
    auto star = Body(BODY_TYPE_STAR);
    TStellarBody *planet = Add(*star, Body(BODY_TYPE_TERRESTRIAL));
    TStellarBody *moon = Add(*planet, Body(BODY_TYPE_TERRESTRIAL));
    EXPECT_EQ(star->GetOrbitDirection(), 1);
    star->RetrogradeOrbit = true;
    EXPECT_EQ(star->GetOrbitDirection(), -1);
    planet->Rotation = -10;
    EXPECT_EQ(moon->GetOrbitDirection(), -1);
    star->Rotation = -5;
    EXPECT_EQ(moon->GetOrbitDirection(), 1);
    moon->RetrogradeOrbit = true;
    EXPECT_EQ(moon->GetOrbitDirection(), -1);

    auto mult = Body(BODY_TYPE_MULT);
    mult->Rotation = -1;
    TStellarBody *s = Add(*mult, Body(BODY_TYPE_STAR));
    s->Rotation = -1;
    TStellarBody *belt = Add(*s, Body(BODY_TYPE_ASTEROIDBELT));
    belt->Rotation = -1;
    TStellarBody *rock = Add(*belt, Body(BODY_TYPE_PLANETOID));
    // The belt is not a rotation carrier: the walk stops before the star.
    EXPECT_EQ(rock->GetOrbitDirection(), 1);
    TStellarBody *p = Add(*s, Body(BODY_TYPE_TERRESTRIAL));
    EXPECT_EQ(p->GetOrbitDirection(), -1); // the star flips, the multiple system ends the walk
}

TEST(BodyPhysics, DistancesToTheParentStar)
{
    auto root = Body(BODY_TYPE_MULT);
    EXPECT_EQ(root->DistanceToParentStar(), 0);
    EXPECT_EQ(root->DistanceFromParentStar(), -1);
    TStellarBody *star = Add(*root, Body(BODY_TYPE_STAR, "", 5));
    TStellarBody *planet = Add(*star, Body(BODY_TYPE_TERRESTRIAL, "", 1e8));
    TStellarBody *moon = Add(*planet, Body(BODY_TYPE_TERRESTRIAL, "", 4e5));
    EXPECT_DOUBLE_EQ(moon->DistanceToParentStar(), 1e8);
    EXPECT_DOUBLE_EQ(moon->DistanceFromParentStar(), 1e8);
    EXPECT_EQ(star->DistanceToParentStar(), -1);
    EXPECT_EQ(star->DistanceFromParentStar(), -1);

    // A chain deeper than 20 levels gives -1 from the limited walk only.
    TStellarBody *deep = planet;
    for (int i = 0; i < 25; ++i)
        deep = Add(*deep, Body(BODY_TYPE_TERRESTRIAL, "", 1));
    EXPECT_EQ(deep->DistanceToParentStar(), -1);
    EXPECT_DOUBLE_EQ(deep->DistanceFromParentStar(), 1e8);
}

TEST(BodyPhysics, TemperaturesGravityAndMetrics)
{
    auto star = Body(BODY_TYPE_STAR);
    star->Mass = 1;
    star->SetStarMetrics();
    EXPECT_DOUBLE_EQ(star->Luminosity, 1);
    EXPECT_DOUBLE_EQ(star->Radius, 1);
    TStellarBody *planet = Add(*star, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    planet->Albedo = 0.3;
    EXPECT_NEAR(star->TempAt(AU, 0.3), 258.4, 0.1);
    planet->Temp = 288;
    EXPECT_DOUBLE_EQ(planet->GetTempC(), 15);
    planet->SetTempC(0);
    EXPECT_DOUBLE_EQ(planet->Temp, 273);
    planet->Temp = 288;
    EXPECT_NEAR(planet->GreenhouseEffectK(), 288 - 258.4, 0.1);
    EXPECT_NEAR(planet->GreenhouseRatio(), 288 / 258.4, 0.001);
    planet->Temp = 0;
    EXPECT_EQ(planet->GreenhouseRatio(), 1);
    planet->Temp = 288;
    star->Luminosity = 0;
    EXPECT_EQ(planet->GreenhouseRatio(), 1);
    EXPECT_EQ(star->GreenhouseEffectK(), 0);
    planet->Radius = 6378.14;
    planet->Density = 1;
    EXPECT_DOUBLE_EQ(planet->Gravity(), 1);
}

TEST(BodyPhysics, TemperatureInACloseMultipleSystem)
{
    auto close = Body(BODY_TYPE_CLOSEMULT);
    close->Distance = AU / 2;
    TStellarBody *a = Add(*close, Body(BODY_TYPE_STAR));
    a->Luminosity = 1;
    TStellarBody *b = Add(*close, Body(BODY_TYPE_WHITEDWARF));
    b->Luminosity = 16;
    TStellarBody *planet = Add(*a, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    const double own = a->TempAt(AU, 0.3);
    const double brightest = b->TempAt(AU / 2, 0.3);
    EXPECT_GT(brightest, own);
    EXPECT_DOUBLE_EQ(planet->GetSurfaceTempInMultSystem(AU, 0.3), brightest);
    auto lone = Body(BODY_TYPE_TERRESTRIAL);
    EXPECT_EQ(lone->GetSurfaceTempInMultSystem(AU, 0.3), 0);
}

TEST(BodyPhysics, HillSphereAndGeostationaryOrbit)
{
    auto sun = Body(BODY_TYPE_STAR);
    sun->Mass = 1;
    TStellarBody *earth = Add(*sun, Body(BODY_TYPE_TERRESTRIAL, "", AU));
    earth->Mass = 1;
    earth->Radius = 6378.14;
    earth->Density = 1;
    earth->Rotation = 23.9345;
    EXPECT_NEAR(earth->GetHillSphere(), 1.5e6, 1e4);
    EXPECT_NEAR(earth->GetGeostationary(), 42200, 60);
    earth->Rotation = -23.9345;
    EXPECT_NEAR(earth->GetGeostationary(), 42200, 60);
    earth->Rotation = 0;
    EXPECT_EQ(earth->GetGeostationary(), 0);
    // A slow spin puts the stationary orbit outside the Hill sphere.
    earth->Rotation = 24 * 365;
    EXPECT_EQ(earth->GetGeostationary(), -1);
    earth->Distance = 0.5;
    EXPECT_EQ(earth->GetHillSphere(), 0);
    sun->Mass = 0;
    earth->Distance = AU;
    EXPECT_EQ(earth->GetHillSphere(), 0);
}

TEST(BodyPhysics, FarthestChildOrbit)
{
    auto mult = Body(BODY_TYPE_MULT);
    EXPECT_EQ(mult->GetFarthestChildOrbit(), 0);
    TStellarBody *a = Add(*mult, Body(BODY_TYPE_STAR, "", 99));
    a->X = 3;
    a->Y = 4;
    EXPECT_DOUBLE_EQ(mult->GetFarthestChildOrbit(), 5);
    Add(*a, Body(BODY_TYPE_TERRESTRIAL, "", 10));
    Add(*a, Body(BODY_TYPE_TERRESTRIAL, "", 30));
    EXPECT_DOUBLE_EQ(a->GetFarthestChildOrbit(), 30);
}

TEST(BodyCopy, DeepCopyKeepsIdentityButNotStorage)
{
    auto root = Body(BODY_TYPE_STAR, "Sol");
    root->RecordID = 17;
    root->SetField("Capital", "Rome");
    root->SetAtmElement("N2", 5);
    root->SetSystemDataConfig(std::make_unique<TSystemDataConfig>());
    root->SystemDataConfig()->Records.push_back({"Mass", "mass", "", true});
    root->SetGexColorGroup(TGexColorGroup{});
    root->InitRenderInfo();
    TStellarBody *planet = Add(*root, Body(BODY_TYPE_TERRESTRIAL, "Earth"));
    planet->RecordID = 18;
    Add(*planet, Body(BODY_TYPE_TERRESTRIAL, "Moon"));
    planet->DeleteChildren();
    Add(*planet, Body(BODY_TYPE_TERRESTRIAL, "Luna"));

    auto parentOfCopy = Body(BODY_TYPE_MULT);
    auto copy = TStellarBody::Create();
    copy->Parent = parentOfCopy.get();
    root->CopyTo(*copy);
    EXPECT_EQ(copy->IDString, root->IDString);
    EXPECT_EQ(copy->RecordID, 0);
    EXPECT_EQ(copy->Parent, parentOfCopy.get());
    EXPECT_EQ(copy->GetField("capital"), "Rome");
    EXPECT_DOUBLE_EQ(copy->GetAtmElementPercentByName("N2"), 5);
    ASSERT_NE(copy->SystemDataConfig(), nullptr);
    EXPECT_NE(copy->SystemDataConfig(), root->SystemDataConfig());
    EXPECT_EQ(copy->SystemDataConfig()->Records.size(), 1u);
    ASSERT_NE(copy->ColorGroup(), nullptr);
    EXPECT_NE(copy->ColorGroup(), root->ColorGroup());
    EXPECT_EQ(copy->RenderInfo(), nullptr);
    EXPECT_EQ(copy->RandomSeed, root->RandomSeed);
    ASSERT_EQ(copy->ChildrenCount(), 1);
    TStellarBody *copiedPlanet = copy->GetChild(0);
    EXPECT_EQ(copiedPlanet->Parent, copy.get());
    EXPECT_EQ(copiedPlanet->IDString, planet->IDString);
    EXPECT_EQ(copiedPlanet->RecordID, 0);
    EXPECT_EQ(copiedPlanet->DeletedChildren(), nullptr);
    ASSERT_EQ(copiedPlanet->ChildrenCount(), 1);
    EXPECT_EQ(copiedPlanet->GetChild(0)->Name, "Luna");
    // Changing the copy leaves the source alone.
    copiedPlanet->Name = "Terra";
    EXPECT_EQ(planet->Name, "Earth");
}

TEST(BodyOther, LaunchParamSortersAndLifetime)
{
    auto t = Body(BODY_TYPE_TERRESTRIAL, "b");
    t->RecordID = 42;
    EXPECT_EQ(t->GexSurfaceMapLaunchParam(), "vexadb:42");
    auto g = Body(BODY_TYPE_GASGIANT, "a");
    EXPECT_EQ(g->GexSurfaceMapLaunchParam(), "");
    EXPECT_EQ(SortOnName(g.get(), t.get()), -1);
    EXPECT_EQ(SortOnType(g.get(), t.get()), -1); // "Gas Giant" < "Terrestrial"
    t->Population = 5;
    EXPECT_EQ(SortOnPopulation(t.get(), g.get()), -1);
    t->Habitability = 2;
    EXPECT_EQ(SortOnHabitability(t.get(), g.get()), -1);
    EXPECT_EQ(SortOnDistance(t.get(), g.get()), 0);

    TObjectRef<TStellarBody> ref(t.get());
    EXPECT_EQ(ref.Get(), t.get());
    t.reset();
    EXPECT_EQ(ref.Get(), nullptr);
}
