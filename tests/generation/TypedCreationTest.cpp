// Typed creation (the New System dialog's list) and quick regeneration with
// its confirmation questions.
#include "base/SharedRandom.h"
#include "generation/QuickGenerate.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"

#include <gtest/gtest.h>

#include <vector>

namespace kalvion {
namespace {

struct TQuestion {
    std::string Text, Caption;
};

// Records every question and gives a fixed answer.
struct TAnswer {
    bool Yes;
    std::vector<TQuestion> Asked;
    TConfirmFunc Func()
    {
        return [this](const std::string &text, const std::string &caption) {
            Asked.push_back({text, caption});
            return Yes;
        };
    }
};

std::unique_ptr<TStellarBody> Typed(const std::string &text, std::uint32_t seed)
{
    SetSharedRandomSeed(static_cast<std::int32_t>(seed));
    auto body = TStellarBody::Create();
    TSystemGenerator gen;
    gen.Seed = seed;
    TSystemGeneratorOptions options;
    EXPECT_TRUE(CreateSystemOfType(gen, *body, text, options)) << text;
    return body;
}

TEST(TypedCreation, ListIsTheDialogsInOrder)
{
    std::vector<std::string> list{"kept"};
    AddSystemBodyList(list);
    const std::vector<std::string> expected = {
        "kept", "Star, Yellow", "Star, Red Dwarf", "Star, White / Blue", "Star, Red Giant", "Star, Blue Giant",
        "Star, White Dwarf", "Star, Brown Dwarf", "Star, Blank", "Multiple Star System", "Close Multiple",
        "Black Hole", "Station", "Free Planet", "Free Planet, Blank", "Free Gas Giant", "Free Gas Giant, Blank",
        "Neutron Star", "Nebula", "Asteroid Belt", "Free Planetoid", "Free Planet System", "Small Body",
        "Mega Structure", "Deep Space Object", "Fleet", "Ship", "Marker", "Unassigned",
    };
    EXPECT_EQ(list, expected);
    EXPECT_EQ(SystemTypeIDFromText("Star, Yellow"), 0);
    EXPECT_EQ(SystemTypeIDFromText("anything"), 0);
}

TEST(TypedCreation, PlainRowsSetTheTypeOnly)
{
    const std::pair<const char *, int> rows[] = {
        {"Star, Blank", BODY_TYPE_STAR},          {"Multiple Star System", BODY_TYPE_MULT},
        {"Close Multiple", BODY_TYPE_CLOSEMULT},   {"Station", BODY_TYPE_STATION},
        {"Free Planet, Blank", BODY_TYPE_TERRESTRIAL}, {"Free Gas Giant, Blank", BODY_TYPE_GASGIANT},
        {"Planet, Blank", BODY_TYPE_TERRESTRIAL},  {"Gas Giant, Blank", BODY_TYPE_GASGIANT},
        {"Neutron Star", BODY_TYPE_NEUTRON},       {"Nebula", BODY_TYPE_NEBULA},
        {"Asteroid Belt", BODY_TYPE_ASTEROIDBELT}, {"Free Planetoid", BODY_TYPE_PLANETOID},
        {"Free Planet System", BODY_TYPE_PLANETSYSTEM}, {"Small Body", BODY_TYPE_SMALLBODY},
        {"Mega Structure", BODY_TYPE_MEGASTRUCTURE}, {"Deep Space Object", BODY_TYPE_DSO},
        {"Fleet", BODY_TYPE_FLEET},                {"Ship", BODY_TYPE_SHIP},
        {"Marker", BODY_TYPE_MARKER},              {"Unassigned", BODY_TYPE_NOTASSIGNED},
    };
    for (const auto &[text, type] : rows) {
        auto body = TStellarBody::Create();
        body->TypeID = 55;
        EXPECT_TRUE(CreateSystemOfType(*body, text, TSystemGeneratorOptions())) << text;
        EXPECT_EQ(body->TypeID, type) << text;
        EXPECT_EQ(body->Name, "") << text;
        EXPECT_EQ(body->Mass, 0) << text;
        EXPECT_TRUE(body->Children.empty()) << text;
    }
    auto hole = TStellarBody::Create();
    EXPECT_TRUE(CreateSystemOfType(*hole, "Black Hole", TSystemGeneratorOptions()));
    EXPECT_EQ(hole->TypeID, BODY_TYPE_BLACKHOLE);
    EXPECT_EQ(hole->Mass, 100);
    EXPECT_EQ(hole->Name, "");

    // Texts are compared exactly; an unknown one fills nothing.
    for (const char *text : {"star, yellow", "Star,Yellow", "Planet", ""}) {
        auto body = TStellarBody::Create();
        body->TypeID = 55;
        EXPECT_FALSE(CreateSystemOfType(*body, text, TSystemGeneratorOptions())) << text;
        EXPECT_EQ(body->TypeID, 55);
    }
}

TEST(TypedCreation, StarRowsKeepTheirClassesAndPlane)
{
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        auto yellow = Typed("Star, Yellow", seed);
        EXPECT_EQ(yellow->TypeID, BODY_TYPE_STAR);
        const char cls = yellow->Spectral.empty() ? '?' : yellow->Spectral[0];
        EXPECT_TRUE(cls == 'K' || cls == 'G' || cls == 'F') << yellow->Spectral;
        EXPECT_GE(yellow->Mass, 0.5);
        EXPECT_LE(yellow->Mass, 2);
        EXPECT_GT(yellow->Luminosity, 0);
        EXPECT_NE(yellow->Rotation, 0);
        EXPECT_EQ(yellow->OrbitalPlaneX, 0);
        EXPECT_EQ(yellow->OrbitalPlaneY, 0);
        EXPECT_EQ(yellow->OrbitalPlaneZ, 0);
        EXPECT_FALSE(yellow->Name.empty());
        for (const auto &p : yellow->Children)
            EXPECT_FALSE(p->Name.empty()) << "every planet has at least a designation";

        auto red = Typed("Star, Red Dwarf", seed);
        EXPECT_EQ(red->Spectral, "MV");
        EXPECT_GE(red->Mass, 0.08);
        EXPECT_LE(red->Mass, 0.5);
        EXPECT_EQ(red->OrbitalPlaneX, 0);

        auto blue = Typed("Star, White / Blue", seed);
        const char bcls = blue->Spectral.empty() ? '?' : blue->Spectral[0];
        EXPECT_TRUE(bcls == 'A' || bcls == 'B' || bcls == 'O') << blue->Spectral;
        EXPECT_GE(blue->Mass, 2);
        EXPECT_LE(blue->Mass, 100);

        auto brown = Typed("Star, Brown Dwarf", seed);
        EXPECT_EQ(brown->TypeID, BODY_TYPE_STAR);
        EXPECT_EQ(brown->Spectral, "L");
        EXPECT_EQ(brown->BodyType, "Brown Dwarf");
        EXPECT_GE(brown->Mass, 0.02);
        EXPECT_LE(brown->Mass, 0.075);
        EXPECT_GE(brown->Radius, 0.05);
        EXPECT_LE(brown->Radius, 0.15);
        EXPECT_FALSE(brown->Name.empty());
    }
    auto giant = Typed("Star, Red Giant", 9);
    EXPECT_EQ(giant->TypeID, BODY_TYPE_STAR);
    EXPECT_EQ(giant->BodyType, "Red Giant");
    EXPECT_GE(giant->Mass, 2);
    EXPECT_TRUE(giant->Children.empty());
    auto blueGiant = Typed("Star, Blue Giant", 9);
    EXPECT_EQ(blueGiant->BodyType, "Giant");
    EXPECT_GE(blueGiant->Mass, 100);
    auto white = Typed("Star, White Dwarf", 9);
    EXPECT_EQ(white->TypeID, BODY_TYPE_WHITEDWARF);
    EXPECT_FALSE(white->Name.empty());
}

TEST(TypedCreation, BrownDwarfRowRunsPopulations)
{
    // Some seed must give a populated world around a brown dwarf; a star row
    // without populations never does.
    bool populated = false;
    for (std::uint32_t seed = 1; seed <= 300 && !populated; ++seed)
        populated = Typed("Star, Brown Dwarf", seed)->GetChildPopulation() > 0;
    EXPECT_TRUE(populated);
    for (std::uint32_t seed = 1; seed <= 60; ++seed)
        EXPECT_EQ(Typed("Star, Yellow", seed)->GetChildPopulation(), 0);
}

TEST(TypedCreation, FreeWorldRowsUseTheTemplates)
{
    auto planet = TStellarBody::Create();
    EXPECT_TRUE(CreateSystemOfType(*planet, "Free Planet", TSystemGeneratorOptions()));
    EXPECT_EQ(planet->TypeID, BODY_TYPE_TERRESTRIAL);
    EXPECT_GT(planet->Radius, 0);
    auto giant = TStellarBody::Create();
    EXPECT_TRUE(CreateSystemOfType(*giant, "Free Gas Giant", TSystemGeneratorOptions()));
    EXPECT_EQ(giant->TypeID, BODY_TYPE_GASGIANT);
    EXPECT_GT(giant->Radius, 0);
}

std::unique_ptr<TStellarBody> StarWithPlanets(std::uint32_t seed)
{
    auto star = Typed("Star, Yellow", seed);
    star->Modified = false;
    return star;
}

TEST(QuickGeneration, ChildrenAnsweredNoChangesNothing)
{
    std::uint32_t seed = 1;
    auto star = StarWithPlanets(seed);
    while (star->Children.empty())
        star = StarWithPlanets(++seed);
    const std::string name = star->Name;
    const std::size_t count = star->Children.size();
    const std::string firstChild = star->Children[0]->IDString;
    const double mass = star->Mass;

    TSystemGenerator gen;
    gen.Seed = 5;
    const std::uint32_t seedBefore = gen.Seed;
    TAnswer no{false, {}};
    EXPECT_FALSE(QuickGenerateChildren(gen, *star, true, no.Func()));
    ASSERT_EQ(no.Asked.size(), 1u);
    EXPECT_EQ(no.Asked[0].Text, "Regenerate a completely new star system?  All child bodies will be removed");
    EXPECT_EQ(no.Asked[0].Caption, "Regenerate System?");
    EXPECT_FALSE(star->Modified);
    EXPECT_EQ(star->Name, name);
    EXPECT_EQ(star->Mass, mass);
    EXPECT_EQ(star->Children.size(), count);
    EXPECT_EQ(star->Children[0]->IDString, firstChild);
    EXPECT_EQ(gen.Seed, seedBefore);

    // Without anyone to ask, the answer is No.
    EXPECT_FALSE(QuickGenerateChildren(*star, true, nullptr));
    EXPECT_FALSE(star->Modified);

    TAnswer yes{true, {}};
    EXPECT_TRUE(QuickGenerateChildren(gen, *star, true, yes.Func()));
    EXPECT_EQ(yes.Asked.size(), 1u);
    EXPECT_TRUE(star->Modified);
    EXPECT_FALSE(star->Name.empty());
    ASSERT_FALSE(star->Children.empty());
    EXPECT_NE(star->Children[0]->IDString, firstChild);
}

TEST(QuickGeneration, UnassignedBodyIsGeneratedWithoutAQuestion)
{
    auto body = TStellarBody::Create();
    body->Modified = false;
    TSystemGenerator gen;
    gen.Seed = 21;
    TAnswer no{false, {}};
    EXPECT_TRUE(QuickGenerateChildren(gen, *body, false, no.Func()));
    EXPECT_TRUE(no.Asked.empty());
    EXPECT_NE(body->TypeID, BODY_TYPE_NOTASSIGNED);
    EXPECT_TRUE(body->Modified);
    EXPECT_FALSE(body->Name.empty());
}

TEST(QuickGeneration, SystemContentsAskOnlyWhenThereAreChildren)
{
    auto star = StarWithPlanets(3);
    while (star->Children.empty())
        star->AddChild(TStellarBody::Create());
    const std::size_t count = star->Children.size();
    TAnswer no{false, {}};
    EXPECT_FALSE(QuickGenerateSystemContents(*star, true, no.Func()));
    ASSERT_EQ(no.Asked.size(), 1u);
    EXPECT_EQ(no.Asked[0].Text, "Generate new system contents?  Any existing child bodies will be removed");
    EXPECT_EQ(no.Asked[0].Caption, "Generate System Contents");
    EXPECT_EQ(star->Children.size(), count);
    EXPECT_FALSE(star->Modified);

    TSystemGenerator gen;
    gen.Seed = 8;
    TAnswer yes{true, {}};
    EXPECT_TRUE(QuickGenerateSystemContents(gen, *star, true, yes.Func()));
    EXPECT_EQ(yes.Asked.size(), 1u);
    EXPECT_TRUE(star->Modified);
    EXPECT_EQ(star->Mass > 0, true);  // the star itself is kept
    for (const auto &c : star->Children)
        EXPECT_FALSE(c->Name.empty());

    // An empty body is filled without a question.
    auto empty = TStellarBody::Create();
    empty->TypeID = BODY_TYPE_MULT;
    TAnswer never{false, {}};
    EXPECT_TRUE(QuickGenerateSystemContents(gen, *empty, false, never.Func()));
    EXPECT_TRUE(never.Asked.empty());
    EXPECT_GE(empty->Children.size(), 2u);
}

TEST(QuickGeneration, DesignatedVariantKeepsGeneratedNames)
{
    auto giant = TStellarBody::Create();
    giant->TypeID = BODY_TYPE_GASGIANT;
    giant->Name = "Tor";
    giant->Radius = 70000;
    giant->Mass = 300;
    TSystemGenerator gen;
    gen.Seed = 12;
    EXPECT_TRUE(QuickGenerateSystemContentsDesignated(gen, *giant, false, nullptr));
    ASSERT_FALSE(giant->Children.empty());
    for (std::size_t i = 0; i < giant->Children.size(); ++i) {
        const TStellarBody &c = *giant->Children[i];
        if (c.TypeID == BODY_TYPE_TERRESTRIAL) {
            EXPECT_EQ(c.Name, "Tor." + std::to_string(i + 1));
        } else if (c.TypeID == BODY_TYPE_RING) {
            EXPECT_EQ(c.Name, "Ring");
        }
    }
}

TEST(QuickGeneration, DispatchByType)
{
    TSystemGenerator gen;
    gen.Seed = 31;
    auto station = TStellarBody::Create();
    station->TypeID = BODY_TYPE_STATION;
    QuickGenerateDispatch(gen, *station);
    EXPECT_TRUE(station->Children.empty());

    auto ps = TStellarBody::Create();
    ps->TypeID = BODY_TYPE_PLANETSYSTEM;
    QuickGenerateDispatch(gen, *ps);
    EXPECT_GE(ps->Children.size(), 2u);

    auto cm = TStellarBody::Create();
    cm->TypeID = BODY_TYPE_CLOSEMULT;
    QuickGenerateDispatch(gen, *cm);
    EXPECT_GE(cm->Children.size(), 2u);
    for (const auto &c : cm->Children)
        EXPECT_EQ(c->TypeID, BODY_TYPE_STAR);
}

TEST(QuickGeneration, RandomSystemReplacesContentsAndNames)
{
    auto star = StarWithPlanets(4);
    star->Name = "Keep";
    auto old = TStellarBody::Create();
    const std::string oldId = old->IDString;
    star->AddChild(std::move(old));
    TSystemGenerator gen;
    gen.Seed = 44;
    RandomSystem(gen, *star, false);
    EXPECT_TRUE(star->Modified);
    EXPECT_FALSE(gen.WithPopulations);
    for (const auto &c : star->Children) {
        EXPECT_NE(c->IDString, oldId);
        EXPECT_FALSE(c->Name.empty());
        EXPECT_EQ(c->Population, 0);
    }
}

} // namespace
} // namespace kalvion
