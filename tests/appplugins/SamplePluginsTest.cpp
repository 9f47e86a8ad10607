// The plug-ins that ship in data/Plugins, each run the way the window runs
// it.
#include "PluginWindowFixture.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "generation/SectorGenerator.h"
#include "plugins/PluginMgr.h"
#include "app/edit/NewSystemDialog.h"
#include "travel/TravelCalculator.h"

#include <QAction>

#include <algorithm>
#include <map>

namespace kalvion::app::test {
namespace {

TStellarBody *AddSystem(TVexaSector &s, int type, const std::string &name, double population,
                        double childPopulation)
{
    TStellarBody *root = s.NewSystem(type);
    root->Name = name;
    root->Population = population;
    if (childPopulation > 0) {
        auto child = TStellarBody::Create();
        child->TypeID = BODY_TYPE_TERRESTRIAL;
        child->Name = name + " I";
        child->Population = childPopulation;
        root->AddChild(std::move(child));
    }
    return root;
}

struct SamplePlugins : PluginWindow {
    void SetUp() override
    {
        PluginWindow::SetUp();
        CopySamples();
        Open();
    }
};

TEST_F(SamplePlugins, AllShipWithTheirKinds)
{
    std::map<std::string, int> kinds;
    for (const auto &p : window->PluginMgr().Plugins)
        kinds[p.PluginName] = p.Kind;
    EXPECT_EQ(kinds["List Populated Systems"], PLUGIN_KIND_FEATURE);
    EXPECT_EQ(kinds["Binary Star Generator"], PLUGIN_KIND_BODYGEN);
    EXPECT_EQ(kinds["Jump Drive"], PLUGIN_KIND_TRAVELCALC);
    EXPECT_EQ(kinds["Multiple Star Systems Only"], PLUGIN_KIND_FILTER);
    EXPECT_EQ(kinds["Star List Reader"], PLUGIN_KIND_FILEHANDLER);
    EXPECT_TRUE(window->PluginMgr().ScanMessages.empty());
    EXPECT_EQ(window->BodyGeneratorNames(),
              (std::vector<std::string>{"Kalvion Standard Generator", "Binary Star Generator"}));
}

TEST_F(SamplePlugins, ListPopulatedSystemsMostPopulousFirst)
{
    TVexaSector &s = window->Sector();
    AddSystem(s, BODY_TYPE_STAR, "Empty", 0, 0);
    AddSystem(s, BODY_TYPE_STAR, "Small", 10, 0);
    AddSystem(s, BODY_TYPE_MULT, "Big", 0, 2500000);
    AddSystem(s, BODY_TYPE_STAR, "Middle", 5000, 1000);
    const auto from = LogSize();
    MenuActions(QStringLiteral("List Populated Systems")).value(0)->trigger();
    EXPECT_EQ(Told(from), QStringList{QStringLiteral(
                              "Populated Systems: 3 populated systems\nBig: 2,500,000\nMiddle: 6,000\nSmall: 10")});
}

TEST_F(SamplePlugins, BinaryStarGeneratorFollowsTheContentsChoice)
{
    TVexaGenerateOptions o;
    o.GenContents = true;
    const auto from = LogSize();
    ASSERT_TRUE(window->RunBodyGenerator("Binary Star Generator", o));
    EXPECT_TRUE(Told(from).isEmpty()) << Told(from).join(QLatin1Char('\n')).toStdString();
    o.GenContents = false;
    ASSERT_TRUE(window->RunBodyGenerator("Binary Star Generator", o));
    EXPECT_FALSE(window->RunBodyGenerator("No Such Generator", o));
    TVexaSector &s = window->Sector();
    ASSERT_EQ(s.SystemCount(), 2);
    const TStellarBody *full = s.GetSystem(0);
    EXPECT_EQ(full->Name, "Binary 1");
    EXPECT_EQ(full->TypeID, BODY_TYPE_MULT);
    ASSERT_EQ(full->ChildrenCount(), 2);
    EXPECT_EQ(full->GetChild(0)->Name, "Binary 1 A");
    EXPECT_EQ(full->GetChild(0)->ChildrenCount(), 1);
    EXPECT_EQ(full->GetChild(0)->Spectral, "K3");
    EXPECT_EQ(full->GetBodyCount(), 5);
    const TStellarBody *bare = s.GetSystem(1);
    EXPECT_EQ(bare->Name, "Binary 2");
    EXPECT_EQ(bare->GetBodyCount(), 3);
}

TEST_F(SamplePlugins, NewSystemWithAPluginGeneratorRunsIt)
{
    const auto names = window->BodyGeneratorNames();
    const auto at = std::find(names.begin(), names.end(), std::string("Binary Star Generator"));
    ASSERT_NE(at, names.end());
    TNewSystemChoice choice;
    choice.Generator = static_cast<int>(at - names.begin());
    choice.GenerateContents = false;
    const auto from = LogSize();
    EXPECT_EQ(window->PlaceNewSystem(choice), nullptr);
    EXPECT_TRUE(Told(from).isEmpty()) << Told(from).join(QLatin1Char('\n')).toStdString();
    TVexaSector &s = window->Sector();
    ASSERT_EQ(s.SystemCount(), 1);
    EXPECT_EQ(s.GetSystem(0)->TypeID, BODY_TYPE_MULT);
    // Without contents: the pair and nothing around them.
    EXPECT_EQ(s.GetSystem(0)->GetBodyCount(), 3);
    // A place past the list runs nothing.
    choice.Generator = static_cast<int>(names.size());
    EXPECT_EQ(window->PlaceNewSystem(choice), nullptr);
    EXPECT_EQ(s.SystemCount(), 1);
}

TEST_F(SamplePlugins, JumpDriveCountsWeeksPerJumpAndRefusesInsideASystem)
{
    const auto methods = window->TravelMethods();
    ASSERT_EQ(methods.size(), 1u);
    EXPECT_EQ(methods[0]->Name(), "Jump Drive");
    TTravelCalcRequest r;
    r.Distance = 7.5;
    r.DistanceUnit = "ly";
    r.InterstellarSpeed = 1;
    r.SublightSpeed = "1";
    methods[0]->Run(r);
    EXPECT_EQ(r.ErrorMsg, "");
    EXPECT_DOUBLE_EQ(r.TravelTime, 3 * 7 * 86400.0);
    r.Distance = 6;
    methods[0]->Run(r);
    EXPECT_DOUBLE_EQ(r.TravelTime, 2 * 7 * 86400.0);
    r.DistanceUnit = "km";
    r.Distance = 1e9;
    methods[0]->Run(r);
    EXPECT_EQ(r.ErrorMsg, "Jump drives need open space between systems");
    EXPECT_DOUBLE_EQ(r.TravelTime, 0);
}

TEST_F(SamplePlugins, TheTravelCalculatorOffersTheJumpDrive)
{
    TVexaSector &s = window->Sector();
    TStellarBody *a = AddSystem(s, BODY_TYPE_STAR, "A", 0, 0);
    TStellarBody *b = AddSystem(s, BODY_TYPE_STAR, "B", 0, 0);
    a->X = a->Y = a->Z = 0;
    b->X = 4;
    b->Y = b->Z = 0;
    TTravelCalculator calc(s);
    calc.SetMethods(window->TravelMethods());
    EXPECT_EQ(calc.MethodNames(), (std::vector<std::string>{"Light Speed", "Jump Drive"}));
    calc.Inputs.StartBody = a;
    calc.Inputs.EndBody = b;
    calc.Inputs.Method = "Jump Drive";
    EXPECT_DOUBLE_EQ(calc.Recalculate().TravelTime, 2 * 7 * 86400.0);
}

TEST_F(SamplePlugins, MultipleStarFilterHidesSingleStarsUntilTurnedOff)
{
    TVexaSector &s = window->Sector();
    AddSystem(s, BODY_TYPE_STAR, "Single", 0, 0);
    AddSystem(s, BODY_TYPE_MULT, "Double", 0, 0);
    AddSystem(s, BODY_TYPE_CLOSEMULT, "Close", 0, 0);
    QAction *filter = MenuActions(QStringLiteral("Multiple Star Systems Only")).value(0);
    ASSERT_TRUE(filter);
    filter->trigger();
    EXPECT_TRUE(filter->isChecked());
    EXPECT_FALSE(s.GetSystem(0)->Visible);
    EXPECT_TRUE(s.GetSystem(1)->Visible);
    EXPECT_TRUE(s.GetSystem(2)->Visible);
    filter->trigger();
    EXPECT_FALSE(filter->isChecked());
    EXPECT_TRUE(s.GetSystem(0)->Visible);
}

TEST_F(SamplePlugins, StarListReaderOpensAListAndCountsBadLines)
{
    const QString list = Write(QStringLiteral("maps/Near.STARS"),
                               QStringLiteral("# name, x, y, z, type\r\n"
                                              "Sol, 0, 0, 0\r\n"
                                              "Alpha Centauri, -1.6, -1.4, -3.8, Multiple Star System\r\n"
                                              "\r\n"
                                              "Broken, 1, two, 3\r\n"
                                              "Barnard's Star, -0.1, -5.9, 0.5\r\n"
                                              "Short line\r\n"));
    window->Sector().NewSystem(BODY_TYPE_STAR)->Name = "Replaced";
    window->Sector().Modified = false;
    const auto from = LogSize();
    ASSERT_TRUE(window->OpenSectorFile(list));
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Star List: 3 systems read, 2 lines skipped")});
    TVexaSector &s = window->Sector();
    ASSERT_EQ(s.SystemCount(), 3);
    EXPECT_EQ(s.GetSystem(0)->Name, "Sol");
    EXPECT_EQ(s.GetSystem(1)->Name, "Alpha Centauri");
    EXPECT_EQ(s.GetSystem(1)->TypeID, BODY_TYPE_MULT);
    EXPECT_DOUBLE_EQ(s.GetSystem(1)->Z, -3.8);
    EXPECT_EQ(s.GetSystem(2)->Name, "Barnard's Star");
    EXPECT_EQ(s.GetSystem(2)->TypeID, BODY_TYPE_STAR);
    EXPECT_DOUBLE_EQ(s.GetSystem(2)->Y, -5.9);
}

} // namespace
} // namespace kalvion::app::test
