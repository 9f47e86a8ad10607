// Names of generated systems: table variables, coordinate codes, the naming
// chances, multiple systems and the shipped name tables.
#include "base/AsciiText.h"
#include "base/Paths.h"
#include "base/SharedRandom.h"
#include "tables/ClassTKTable.h"
#include "generation/SystemGenerator.h"
#include "generation/SystemNames.h"
#include "model/StellarBody.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

namespace kalvion {
namespace {

const std::string kData = KALVION_TEST_DATA_DIR;

TStellarBody &AddBody(TStellarBody &parent, int type, double population = 0)
{
    auto b = TStellarBody::Create();
    b->TypeID = type;
    b->Population = population;
    TStellarBody &ref = *b;
    parent.AddChild(std::move(b));
    return ref;
}

// A star at (x, y, z) with two planets, the first with two moons.
std::unique_ptr<TStellarBody> SmallSystem(double x, double y, double z)
{
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STAR;
    root->X = x;
    root->Y = y;
    root->Z = z;
    TStellarBody &p1 = AddBody(*root, BODY_TYPE_TERRESTRIAL);
    AddBody(p1, BODY_TYPE_TERRESTRIAL);
    AddBody(p1, BODY_TYPE_TERRESTRIAL);
    AddBody(*root, BODY_TYPE_GASGIANT);
    return root;
}

// A namer with fixed answers per body, for the rules alone.
class TFixedNamer final : public TSystemNamer {
public:
    std::map<const TStellarBody *, std::string> Names;
    std::string Fallback;
    int Calls = 0;
    std::string RandomSystemName(TSystemGenerator &, TStellarBody *body, bool, const std::string &) override
    {
        ++Calls;
        const auto it = Names.find(body);
        return it == Names.end() ? Fallback : it->second;
    }
    void GenerateNames(TSystemGenerator &, TStellarBody &, double) override {}
    void ReGenerateNames(TSystemGenerator &, TStellarBody &, double) override {}
};

TFixedNamer &InstallFixed(TSystemGenerator &g)
{
    auto namer = std::make_unique<TFixedNamer>();
    TFixedNamer &ref = *namer;
    g.Namer = std::move(namer);
    return ref;
}

TEST(SystemNames, CoordinateCodesWhenTheTableGivesNothing)
{
    TSystemGenerator g;
    g.Seed = 11;
    g.NameTableFile = kData + "/empty_names.ilt";
    auto root = SmallSystem(5, -3, 12);
    g.GenerateNames(*root, 50);
    EXPECT_EQ(root->Name, "S05-0312");
    EXPECT_EQ(root->Children[0]->Name, "S05-0312 I");
    EXPECT_EQ(root->Children[0]->Children[0]->Name, "S05-0312 I.1");
    EXPECT_EQ(root->Children[0]->Children[1]->Name, "S05-0312 I.2");
    EXPECT_EQ(root->Children[1]->Name, "S05-0312 II");

    // The pad pattern rounds where the position variables cut.
    auto rounded = SmallSystem(5.2, -3.7, 12.9);
    g.GenerateNames(*rounded, 50);
    EXPECT_EQ(rounded->Name, "S05-0413");

    auto wide = SmallSystem(5, -3, 12);
    g.GenerateNames(*wide, 100);
    EXPECT_EQ(wide->Name, "S005-003012");
    EXPECT_EQ(CoordinateCodeWidth(99.9), 2);
    EXPECT_EQ(CoordinateCodeWidth(999), 3);
    EXPECT_EQ(CoordinateCodeWidth(1000), 4);
    EXPECT_EQ(CoordinateCodeWidth(9999), 4);
    EXPECT_EQ(CoordinateCodeWidth(10000), 5);
    EXPECT_EQ(CoordinateCodeWidth(100000), 6);
}

TEST(SystemNames, CodeLettersByRootType)
{
    const std::pair<int, char> cases[] = {
        {BODY_TYPE_BLACKHOLE, 'V'}, {BODY_TYPE_STATION, 'T'},  {BODY_TYPE_FREEOBJECT, 'F'},
        {BODY_TYPE_TERRESTRIAL, 'F'}, {BODY_TYPE_GASGIANT, 'F'}, {BODY_TYPE_NEUTRON, 'R'},
        {BODY_TYPE_NEBULA, 'N'},     {BODY_TYPE_WHITEDWARF, 'W'}, {BODY_TYPE_MULT, 'S'},
        {BODY_TYPE_CLOSEMULT, 'S'},  {BODY_TYPE_DSO, 'S'},       {BODY_TYPE_NOTASSIGNED, 'S'},
    };
    TSystemGenerator g;
    g.NameTableFile = kData + "/empty_names.ilt";
    for (const auto &[type, letter] : cases) {
        auto root = TStellarBody::Create();
        root->TypeID = type;
        root->X = -120;
        root->Y = 7;
        g.GenerateNames(*root, 500);
        EXPECT_EQ(root->Name, std::string(1, letter) + "-120007000") << type;
    }
}

TEST(SystemNames, TableSeesOnlyTheNamersVariables)
{
    TSystemGenerator g;
    g.NameTableFile = kData + "/echo_names.ilt";
    auto root = SmallSystem(-3.7, 12.4, 0);
    root->Population = 5;
    EXPECT_EQ(g.RandomSystemName(root.get(), true, "00"), "Star/Inhospitable/Populated/DefaultName/-3/12/-04/12/");
    TStellarBody &planet = *root->Children[0];
    planet.Habitability = HAB_HOSPITABLE;
    // No position for a body below the root; no built-ins such as "app".
    EXPECT_EQ(g.RandomSystemName(&planet, false, "00"), "Terrestrial/Hospitable/NotPopulated/SystemName/////");
    EXPECT_EQ(g.RandomSystemName(nullptr, false, "00"), "////////");

    // The tables are loaded once: a later change of file is not seen.
    g.NameTableFile = kData + "/empty_names.ilt";
    EXPECT_FALSE(g.RandomSystemName(&planet).empty());
}

TEST(SystemNames, TableLookupFallsBackToTheStandardTable)
{
    const std::string folder = ProgramSubfolder("LangData");
    if (!FileExists(JoinPath(folder, VEXA_DEFAULT_NAME_TABLE)))
        GTEST_SKIP() << "no LangData next to the test";
    EXPECT_EQ(NameTablePath("No Such Names.ilt"), JoinPath(folder, VEXA_DEFAULT_NAME_TABLE));
    EXPECT_EQ(NameTablePath(""), JoinPath(folder, VEXA_DEFAULT_NAME_TABLE));
    EXPECT_EQ(NameTablePath("Kalvion Frontier Names.ilt"), JoinPath(folder, "Kalvion Frontier Names.ilt"));
    EXPECT_EQ(NameTablePath(kData + "/echo_names.ilt"), kData + "/echo_names.ilt");
}

TEST(SystemNames, MultipleSystemTakesTheLastMemberName)
{
    TSystemGenerator g;
    g.Seed = 5;
    TFixedNamer &namer = InstallFixed(g);
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_MULT;
    TStellarBody &a = AddBody(*root, BODY_TYPE_STAR);
    TStellarBody &b = AddBody(*root, BODY_TYPE_STAR);
    a.Name = "Alpha";
    namer.Names[&a] = "Alpha";
    g.GenerateMultNames(*root);
    EXPECT_EQ(root->Name, "Alpha");
    EXPECT_EQ(a.Name, "Alpha");
    EXPECT_EQ(b.Name, "Alpha B");

    // The last named member wins.
    auto two = TStellarBody::Create();
    two->TypeID = BODY_TYPE_MULT;
    TStellarBody &c = AddBody(*two, BODY_TYPE_STAR);
    TStellarBody &d = AddBody(*two, BODY_TYPE_STAR);
    TStellarBody &e = AddBody(*two, BODY_TYPE_STAR);
    c.Name = namer.Names[&c] = "Gamma";
    e.Name = namer.Names[&e] = "Epsilon";
    g.GenerateMultNames(*two);
    EXPECT_EQ(two->Name, "Epsilon");
    EXPECT_EQ(c.Name, "Gamma");
    EXPECT_EQ(d.Name, "Epsilon B");

    // Nobody named: the system stays unnamed and so do its members.
    auto none = TStellarBody::Create();
    none->TypeID = BODY_TYPE_MULT;
    AddBody(*none, BODY_TYPE_STAR);
    g.GenerateMultNames(*none);
    EXPECT_EQ(none->Name, "");
    EXPECT_EQ(none->Children[0]->Name, "");
}

TEST(SystemNames, CloseMultipleNumbersItsMembers)
{
    TSystemGenerator g;
    g.Seed = 6;
    TFixedNamer &namer = InstallFixed(g);
    auto cm = TStellarBody::Create();
    cm->TypeID = BODY_TYPE_CLOSEMULT;
    AddBody(*cm, BODY_TYPE_STAR);
    TStellarBody &second = AddBody(*cm, BODY_TYPE_STAR);
    AddBody(*cm, BODY_TYPE_STAR);
    second.Name = namer.Names[&second] = "Beta";
    g.GenerateCloseMultNames(*cm);
    EXPECT_EQ(cm->Name, "Beta");
    EXPECT_EQ(cm->Children[0]->Name, "Beta-1");
    EXPECT_EQ(cm->Children[1]->Name, "Beta");
    EXPECT_EQ(cm->Children[2]->Name, "Beta-3");

    // Inside a multiple system the close multiple is named as a member.
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_MULT;
    TStellarBody &inner = AddBody(*root, BODY_TYPE_CLOSEMULT);
    TStellarBody &s = AddBody(inner, BODY_TYPE_STAR);
    AddBody(inner, BODY_TYPE_STAR);
    AddBody(*root, BODY_TYPE_STAR);
    s.Name = namer.Names[&s] = "Delta";
    g.GenerateMultNames(*root);
    EXPECT_EQ(root->Name, "Delta");
    EXPECT_EQ(inner.Name, "Delta");
    EXPECT_EQ(inner.Children[1]->Name, "Delta-2");
    EXPECT_EQ(root->Children[1]->Name, "Delta B");
}

// How often a lone world of this population is named, over many systems.
double NamedShare(double population, bool organic, int runs = 2000)
{
    TSystemGenerator g;
    g.Seed = 424242;
    g.OrganicNaming = organic;
    InstallFixed(g).Fallback = "N";
    int named = 0;
    for (int i = 0; i < runs; ++i) {
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        AddBody(*star, BODY_TYPE_TERRESTRIAL, population);
        g.GenerateSolarSystemNames(*star);
        named += star->Children[0]->Name.empty() ? 0 : 1;
    }
    return static_cast<double>(named) / runs;
}

TEST(SystemNames, PopulousWorldsAreUsuallyNamed)
{
    EXPECT_NEAR(NamedShare(1e6, false), 0.99, 0.01);   // 90 %, then another 90 %
    EXPECT_NEAR(NamedShare(5000, false), 0.90, 0.025);  // one chance only
    EXPECT_NEAR(NamedShare(100, false), 0.20, 0.025);
    EXPECT_NEAR(NamedShare(0, false), 0.20, 0.025);
}

TEST(SystemNames, OrganicNamingSpreadsBetweenPlanetsAndMoons)
{
    auto moonNamedShare = [](bool organic) {
        TSystemGenerator g;
        g.Seed = 77;
        g.OrganicNaming = organic;
        TFixedNamer &namer = InstallFixed(g);
        int planetNamed = 0, runs = 2000;
        for (int i = 0; i < runs; ++i) {
            auto star = TStellarBody::Create();
            star->TypeID = BODY_TYPE_STAR;
            TStellarBody &planet = AddBody(*star, BODY_TYPE_GASGIANT);
            TStellarBody &moon = AddBody(planet, BODY_TYPE_TERRESTRIAL, 1e6);
            namer.Names.clear();
            namer.Names[&moon] = "Moon";
            namer.Names[&planet] = "Planet";
            g.GenerateSolarSystemNames(*star);
            if (!moon.Name.empty() && !planet.Name.empty())
                ++planetNamed;
        }
        return static_cast<double>(planetNamed) / runs;
    };
    // Without organic naming the empty giant is named by its own 20 %.
    EXPECT_NEAR(moonNamedShare(false), 0.99 * 0.20, 0.03);
    // With it, a named moon names its planet with 75 % more.
    EXPECT_NEAR(moonNamedShare(true), 0.99 * (0.20 + 0.80 * 0.75), 0.03);
}

TEST(SystemNames, SystemTakesItsMostPopulousWorldsName)
{
    TSystemGenerator g;
    g.Seed = 99;
    g.OrganicNaming = false;
    TFixedNamer &namer = InstallFixed(g);
    int took = 0, runs = 1000;
    for (int i = 0; i < runs; ++i) {
        auto star = TStellarBody::Create();
        star->TypeID = BODY_TYPE_STAR;
        AddBody(*star, BODY_TYPE_TERRESTRIAL, 50);
        TStellarBody &big = AddBody(*star, BODY_TYPE_TERRESTRIAL, 1e9);
        namer.Names.clear();
        namer.Names[&big] = "Capital";
        g.GenerateSolarSystemNames(*star);
        took += star->Name == "Capital" ? 1 : 0;
    }
    // The star names itself (75 %, here with an empty name) or takes the world's name.
    EXPECT_NEAR(static_cast<double>(took) / runs, 0.99 * 0.75, 0.04);
}

TEST(SystemNames, PlanetSystemNamesItsMembers)
{
    TSystemGenerator g;
    g.Seed = 3;
    TFixedNamer &namer = InstallFixed(g);
    auto ps = TStellarBody::Create();
    ps->TypeID = BODY_TYPE_PLANETSYSTEM;
    TStellarBody &first = AddBody(*ps, BODY_TYPE_TERRESTRIAL);
    AddBody(*ps, BODY_TYPE_TERRESTRIAL);
    ps->Name = "Twins";
    g.GeneratePlanetSystemName(*ps);
    EXPECT_EQ(first.Name, "Twins A");
    EXPECT_EQ(ps->Children[1]->Name, "Twins B");
    EXPECT_EQ(namer.Calls, 0);
}

TEST(SystemNames, SubsectorNamesComeFromTheTable)
{
    TSubsectorNameSource echo(kData + "/echo_names.ilt");
    EXPECT_EQ(echo.Next(), "Subsector///SystemName/////");
    TSubsectorNameSource empty(kData + "/empty_names.ilt");
    EXPECT_EQ(empty.Next(), "");
}

// The names must read well: letters, blanks, apostrophes and digits only,
// capitalised, and rarely repeated.
TEST(SystemNames, ShippedTablesGiveVariedReadableNames)
{
    const std::string folder = ProgramSubfolder("LangData");
    if (!FileExists(JoinPath(folder, VEXA_DEFAULT_NAME_TABLE)))
        GTEST_SKIP() << "no LangData next to the test";
    const char *files[] = {"Kalvion Standard Names.ilt", "Kalvion Classical Names.ilt", "Kalvion Frontier Names.ilt"};
    struct TKind {
        int type, hab;
        double population;
        bool def;
    };
    const TKind kinds[] = {
        {BODY_TYPE_STAR, HAB_INHOSPITABLE, 0, false},       {BODY_TYPE_TERRESTRIAL, HAB_HOSPITABLE, 1e6, false},
        {BODY_TYPE_TERRESTRIAL, HAB_INHOSPITABLE, 0, false}, {BODY_TYPE_GASGIANT, HAB_HABITABLE, 0, false},
        {BODY_TYPE_MULT, HAB_INHOSPITABLE, 0, true},
    };
    SetSharedRandomSeed(2024);
    for (const char *file : files) {
        TSystemGenerator g;
        g.NameTableFile = file;
        std::set<std::string> seen;
        int draws = 0;
        for (const auto &k : kinds) {
            auto body = TStellarBody::Create();
            body->TypeID = k.type;
            body->Habitability = k.hab;
            body->Population = k.population;
            body->X = 12;
            for (int i = 0; i < 400; ++i, ++draws) {
                const std::string name = g.RandomSystemName(body.get(), k.def, "00");
                ASSERT_FALSE(name.empty()) << file;
                EXPECT_TRUE(name[0] >= 'A' && name[0] <= 'Z') << file << ": " << name;
                for (char ch : name)
                    ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(ch)) || ch == ' ' || ch == '\'' || ch == '-' || (ch >= '0' && ch <= '9'))
                        << file << ": " << name;
                seen.insert(name);
            }
        }
        TSubsectorNameSource subsectors(file);
        for (int i = 0; i < 50; ++i)
            EXPECT_FALSE(subsectors.Next().empty()) << file;
        EXPECT_GE(static_cast<double>(seen.size()) / draws, 0.85) << file;
    }
}

} // namespace
} // namespace kalvion
