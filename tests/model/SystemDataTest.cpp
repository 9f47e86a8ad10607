#include "RecordingTree.h"
#include "model/SystemDataDisplay.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

using namespace kalvion;
using kalvion::test::TRecordingTree;

namespace {

std::unique_ptr<TStellarBody> SunLike()
{
    auto sun = TStellarBody::Create();
    sun->Name = "Sol";
    sun->TypeID = BODY_TYPE_STAR;
    sun->Spectral = "G2V";
    sun->Mass = 1;
    sun->Radius = 1;
    sun->Luminosity = 1;
    return sun;
}

std::unique_ptr<TStellarBody> EarthLike()
{
    auto earth = TStellarBody::Create();
    earth->Name = "Terra";
    earth->TypeID = BODY_TYPE_TERRESTRIAL;
    earth->Distance = 149597890;
    earth->Radius = 6378.14;
    earth->Density = 1;
    earth->Rotation = 23.93;
    earth->Temp = 288;
    earth->AtmosphereNotes = "Nitrogen, Oxygen";
    earth->Water = 0.7;
    earth->Habitability = HAB_HOSPITABLE;
    earth->Population = 1234567;
    earth->PoliticalAffiliation = "Union";
    return earth;
}

std::vector<std::string> Lines(TStellarBody &body, const TSystemDataConfigHolder &holder, TRecordingTree &tree)
{
    const int top = tree.AddNode(TTreeSink::ROOT, body.Name, &body);
    FillSystemDataTree(body, tree, top, &holder);
    return tree.ChildTexts(top);
}

} // namespace

TEST(SystemDataConfig, DefaultsFill25SlotsWith110Records)
{
    TSystemDataConfigHolder holder;
    SetDefaultSystemDataConfig(holder);
    int slots = 0, records = 0;
    for (std::size_t i = 0; i < TSystemDataConfigHolder::SLOT_COUNT; ++i) {
        if (!holder.Configs[i])
            continue;
        ++slots;
        records += holder.Configs[i]->Count();
        EXPECT_EQ(holder.Configs[i]->TypeID, static_cast<int>(i));
        EXPECT_TRUE(IsKnownBodyType(static_cast<int>(i))) << i;
    }
    EXPECT_EQ(slots, 25);
    EXPECT_EQ(records, 110);
    const TSystemDataConfig *ship = holder.GetConfigForType(BODY_TYPE_SHIP);
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->Records[3].DisplayText, "Crew");
    EXPECT_EQ(ship->Records[3].Field, "ship_crew");
    EXPECT_TRUE(holder.GetConfigForType(BODY_TYPE_SMALLBODY)->Records[0].HideIfEmpty);

    // A sector starts with them, and they come back after edits.
    TVexaSector sector;
    EXPECT_EQ(sector.GetSystemDataConfigHolder()->GetConfigForType(BODY_TYPE_RING)->Records[2].DisplayText,
              "Ring Width");
    sector.SystemDataDefaults.GetConfigForType(BODY_TYPE_STAR)->Clear();
    sector.SystemDataDefaults.SetConfigForType(TSystemDataConfig::CreateSystemDataConfig(), 250);
    SetDefaultSystemDataConfig(sector.SystemDataDefaults);
    EXPECT_EQ(sector.SystemDataDefaults.GetConfigForType(BODY_TYPE_STAR)->Count(), 6);
    EXPECT_EQ(sector.SystemDataDefaults.GetConfigForType(250), nullptr);
}

TEST(SystemDataConfig, HolderSlotsAndCopies)
{
    TSystemDataConfigHolder a;
    a.SetConfigForType(TSystemDataConfig::CreateSystemDataConfig(), 300); // refused
    EXPECT_EQ(a.GetConfigForType(300), nullptr);
    a.SetConfigForType(TSystemDataConfig::CreateSystemDataConfig(), 299);
    a.GetConfigForType(299)->AddField("Cargo", "custom field", "cargo", true);

    TSystemDataConfigHolder b;
    SetDefaultSystemDataConfig(b);
    b.CopyFrom(a);
    EXPECT_EQ(b.GetConfigForType(BODY_TYPE_STAR), nullptr);
    ASSERT_NE(b.GetConfigForType(299), nullptr);
    EXPECT_NE(b.GetConfigForType(299), a.GetConfigForType(299));
    EXPECT_EQ(b.GetConfigForType(299)->Records[0].Field, "cargo");

    TSystemDataConfig c;
    c.TypeID = 7;
    c.CopyFrom(nullptr);
    EXPECT_EQ(c.TypeID, 7);
    c.CopyFrom(a.GetConfigForType(299));
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.TypeID, 0);
}

TEST(SystemDataConfig, EditingRecords)
{
    TSystemDataConfig c;
    c.AddField("Mass", "mass", "", true);
    c.AddField("Radius", "radius", "", true);
    c.AddField("MASS", "solradius", "x", false);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Records[0].DisplayText, "Mass");
    EXPECT_EQ(c.Records[0].Source, "solradius");
    EXPECT_EQ(c.Records[0].Field, "x");
    EXPECT_FALSE(c.Records[0].HideIfEmpty);

    c.Records[0].HideIfEmpty = true;
    c.Insert("Heading", "", "", 0);
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Records[0].DisplayText, "Heading");
    EXPECT_FALSE(c.Records[0].HideIfEmpty);
    EXPECT_TRUE(c.Records[1].HideIfEmpty);
    c.Insert("radius", "mass", "", 0); // caption present
    c.Insert("Tail", "", "", 4);       // beyond the end
    EXPECT_EQ(c.Count(), 3);
    c.Insert("Tail", "", "", 3);
    EXPECT_EQ(c.Records[3].DisplayText, "Tail");

    c.MoveUpDown(0, -1);
    c.MoveUpDown(3, 1);
    c.MoveUpDown(9, 1);
    EXPECT_EQ(c.Records[0].DisplayText, "Heading");
    EXPECT_EQ(c.Records[3].DisplayText, "Tail");
    c.MoveUpDown(0, 1);
    EXPECT_EQ(c.Records[0].DisplayText, "Mass");
    EXPECT_EQ(c.Records[1].DisplayText, "Heading");
    c.MoveUpDown(3, -1);
    EXPECT_EQ(c.Records[2].DisplayText, "Tail");

    EXPECT_EQ(c.FindField("TAIL"), 2);
    c.DeleteField("heading");
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.FindField("Heading"), -1);
    EXPECT_EQ(c.Records[1].DisplayText, "Tail");
    c.SetFieldArrayLength(-1);
    EXPECT_EQ(c.Count(), 0);

    std::vector<std::string> sources;
    SystemDataGetSourceTypeList(sources);
    ASSERT_EQ(sources.size(), 27u);
    EXPECT_EQ(sources.front(), "");
    EXPECT_EQ(sources[1], "angleperiapsis");
    EXPECT_EQ(sources.back(), "custom field");
}

TEST(SystemDataDisplay, SunAndEarthUnderTheDefaults)
{
    TSystemDataConfigHolder holder;
    SetDefaultSystemDataConfig(holder);
    auto sun = SunLike();
    auto far = EarthLike();
    far->Name = "";
    far->Distance = 3e8;
    sun->AddChild(std::move(far));
    sun->AddChild(EarthLike());
    TStellarBody &earth = *sun->Children[1];
    const std::string period = earth.FormatYearLength();

    TRecordingTree tree;
    std::vector<std::string> lines = Lines(*sun, holder, tree);
    EXPECT_EQ(lines, (std::vector<std::string>{"Spectral Class: G2V", "Mass: 1 sol", "Radius: 1 sol",
                                               "Luminosity: 1 sol", "Planets"}));
    // The children come sorted by distance, the unnamed one last here.
    const int planets = tree.Find("Planets");
    EXPECT_EQ(tree.ChildTexts(planets), (std::vector<std::string>{"Terra", "(Unnamed)"}));
    EXPECT_EQ(sun->Children[0]->Name, "Terra");

    const int terra = tree.Find("Terra");
    EXPECT_EQ(tree.Nodes[static_cast<std::size_t>(terra)].Body, sun->Children[0].get());
    EXPECT_EQ(tree.ChildTexts(terra),
              (std::vector<std::string>{"Distance: 149,597,890 km", "Radius: 6,378.14 km", "Gravity: 1G",
                                        "Orbit Period: " + period, "Rotation: 23.9 hrs", "Mean Temp: 288K/15C",
                                        "Atmosphere: Nitrogen, Oxygen", "Water / Ice Index: 70", "Hospitable",
                                        "Population: 1,234,567", "Political: Union"}));
}

TEST(SystemDataDisplay, HideFlagsAndSpecialSources)
{
    TSystemDataConfigHolder holder;
    SetDefaultSystemDataConfig(holder);
    auto sun = SunLike();
    sun->Luminosity = 0;
    sun->Spectral = "";
    TRecordingTree tree;
    // Spectral class is not hidden for a star; luminosity is.
    EXPECT_EQ(Lines(*sun, holder, tree),
              (std::vector<std::string>{"Spectral Class: ", "Mass: 1 sol", "Radius: 1 sol"}));
    holder.GetConfigForType(BODY_TYPE_STAR)->AddField("Luminosity", "luminosity", "", false);
    tree.Clear();
    EXPECT_EQ(Lines(*sun, holder, tree)[3], "Luminosity: 0 sol");

    // Bare planet: the sources that ignore the hide flag still show.
    auto rock = TStellarBody::Create();
    rock->TypeID = BODY_TYPE_TERRESTRIAL;
    rock->RetrogradeOrbit = true;
    tree.Clear();
    EXPECT_EQ(Lines(*rock, holder, tree),
              (std::vector<std::string>{"Distance: 0 km", "Radius: 0 km", "Gravity: 0G",
                                        "Orbit Period: -" + rock->FormatYearLength(), "Rotation: 0 hrs",
                                        "Mean Temp: 0K/-273C", "Atmosphere: "}));

    // Luminosity keeps all its digits and is not grouped.
    TStellarBody lamp;
    lamp.Luminosity = 12345.6789;
    lamp.Distance = 149597890.0 * 2.5;
    lamp.Eccentricity = 0.0167;
    lamp.TimeOffset = 12.5;
    lamp.SetField("Owner", "Guild");
    lamp.Habitability = 0;
    std::string text;
    EXPECT_TRUE(SystemDataLineText(lamp, {"L", "luminosity", "", true}, text));
    EXPECT_EQ(text, "L: 12345.6789 sol");
    EXPECT_TRUE(SystemDataLineText(lamp, {"D", "distance-au", "", true}, text));
    EXPECT_EQ(text, "D: 2.5 AU");
    EXPECT_TRUE(SystemDataLineText(lamp, {"E", "eccentricity", "", true}, text));
    EXPECT_EQ(text, "E: 0.0167 deg");
    EXPECT_TRUE(SystemDataLineText(lamp, {"T", "pastperiapsis", "", true}, text));
    EXPECT_EQ(text, "T: 12.5 days");
    EXPECT_TRUE(SystemDataLineText(lamp, {"Owner", "custom field", "owner", true}, text));
    EXPECT_EQ(text, "Owner: Guild");
    EXPECT_FALSE(SystemDataLineText(lamp, {"Crew", "custom field", "crew", true}, text));
    EXPECT_TRUE(SystemDataLineText(lamp, {"Crew", "custom field", "crew", false}, text));
    EXPECT_EQ(text, "Crew: ");
    EXPECT_FALSE(SystemDataLineText(lamp, {"", "habitability", "", true}, text));
    EXPECT_TRUE(SystemDataLineText(lamp, {"Hab: ", "habitability", "", false}, text));
    EXPECT_EQ(text, "Hab: Inhospitable");
    EXPECT_TRUE(SystemDataLineText(lamp, {"S", "systempopulation", "", true}, text));
    EXPECT_FALSE(SystemDataLineText(lamp, {"?", "nonsense", "", false}, text));
}

TEST(SystemDataDisplay, OwnConfigurationReplacesTheDefaults)
{
    TSystemDataConfigHolder holder;
    SetDefaultSystemDataConfig(holder);
    auto earth = EarthLike();
    auto own = TSystemDataConfig::CreateSystemDataConfig();
    own->AddField("Only", "population", "", true);
    earth->SetSystemDataConfig(std::move(own));
    TRecordingTree tree;
    EXPECT_EQ(Lines(*earth, holder, tree), (std::vector<std::string>{"Only: 1,234,567"}));

    // No configuration at all: nothing.
    auto odd = TStellarBody::Create();
    odd->TypeID = 55;
    tree.Clear();
    EXPECT_TRUE(Lines(*odd, holder, tree).empty());
    tree.Clear();
    const int top = tree.AddNode(TTreeSink::ROOT, "x", odd.get());
    FillSystemDataTree(*earth, tree, top, nullptr);
    EXPECT_EQ(tree.ChildTexts(top).size(), 1u);
}

TEST(SystemDataDisplay, SelectedTreeShowsAtMostTwentySystems)
{
    TVexaSector sector;
    for (int i = 0; i < 3; ++i) {
        auto sun = SunLike();
        sun->Name = i == 1 ? "" : "Star " + std::to_string(i);
        sun->AddChild(EarthLike());
        sector.AddSystem(std::move(sun));
    }
    sector.SelectBody(sector.GetSystem(2));
    sector.SelectBody(sector.GetSystem(1));
    TRecordingTree tree;
    sector.FillTreeSelected(tree);
    EXPECT_EQ(tree.Clears, 1);
    // Sector order, not selection order.
    EXPECT_EQ(tree.ChildTexts(TTreeSink::ROOT), (std::vector<std::string>{"(Unnamed)", "Star 2"}));
    EXPECT_EQ(tree.Collapses, 1);
    // The top nodes and their lines are expanded, deeper nodes are not.
    const auto &root = tree.Nodes[0];
    EXPECT_TRUE(root.Expanded);
    const int planets = tree.Find("Planets");
    EXPECT_TRUE(tree.Nodes[static_cast<std::size_t>(planets)].Expanded);
    const int terra = tree.Find("Terra");
    EXPECT_FALSE(tree.Nodes[static_cast<std::size_t>(terra)].Expanded);

    for (int i = 0; i < 25; ++i)
        sector.AddSystem(SunLike());
    sector.SelectAll(true);
    sector.FillTreeSelected(tree);
    EXPECT_EQ(tree.ChildTexts(TTreeSink::ROOT).size(), static_cast<std::size_t>(MAX_BODIES_IN_TREE));
    EXPECT_EQ(tree.Collapses, 1);
    for (const auto &n : tree.Nodes)
        EXPECT_FALSE(n.Expanded);
}
