// Whole scripts through kalvion-cli: a sector made, filled, generated,
// searched, linked by routes, measured, reported and saved, then read back
// by "kalvion-cli info"; and the current sector of --sector.
#include "cli/CliApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Scenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("kalvion_scriptnames_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string &name, const std::string &text)
    {
        const fs::path p = Dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    int Cli(std::vector<std::string> args)
    {
        Out.str("");
        Err.str("");
        args.insert(args.begin(), "kalvion-cli");
        return kalvion::cli::RunCli(args, Out, Err);
    }

    fs::path Dir;
    std::ostringstream Out, Err;
};

const char *kBuildSector = R"(
Set s = GetCurrentSector()
s.Name = "Scripted"
' Two systems by hand, one generated.
Set a = CreateBody("Star")
a.Name = "Alpha"
a.X = 1 : a.Y = 2 : a.Z = 3
Set p = CreateBody("Terrestrial")
p.Name = "Alpha I"
p.Population = 5000
p.Distance = 150000000
a.AddChild p
s.AddSystem a
Set b = TStellarBody.Create
b.Name = "Beta"
b.TypeID = BODY_TYPE_STAR
b.X = 4
s.AddSystem b
Set g = CreateBody("")
g.Name = "Gamma"
g.Z = -5
s.AddSystem g
QuickGenerateChildren g, True
g.Name = "Gamma"
s.UpdateRootAttribs
' Search for the populated world.
Set q = CreateVexaSearcher(s)
q.Search "population = 5000"
found = q.GetResultCount()
' Routes: one by hand, one between two systems.
Set r = CreateRoute()
r.Name = "Trade"
r.AddSystem a
r.AddSystem b
s.AddRoute r
s.CreateRouteSegment b, g, "Lane", "B-G", 255, ROUTE_LINE_DASH, 1.5
' Travel: the orbit and a distance, a planned trip and a travel time.
Set o = p.GetOrbit()
o.GetPosition 10, x, y, z
d = Sqr(x * x + y * y + z * z)
ok = s.ExportToHTML(ScriptArg(1), REPORTSTYLE_ALL, False, False, False)
s.SaveToFile ScriptArg(0), False
MsgBox Join(Split(PlanRoute("Alpha", "Gamma", 10, PLAN_ROUTE_SHORTEST), vbCrLf), ">")
SetTravelCalcTime 1.5, ""
MsgBox TravelCalcTravelTime & "|" & (TravelCalcErrorMsg = "")
MsgBox s.SystemCount & "|" & s.RouteCount & "|" & found & "|" & (d > 0) & "|" & ok & "|" & (g.TypeID <> 0)
)";

} // namespace

TEST_F(Scenario, AScriptBuildsASectorThatInfoReadsBack)
{
    const std::string script = Write("build.vbs", kBuildSector);
    const std::string sector = (Dir / "made.VexaDB").string();
    const std::string report = (Dir / "report" / "index.html").string();
    fs::create_directories(Dir / "report");
    ASSERT_EQ(Cli({"--seed", "7", "script", script, sector, report}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "Alpha>Gamma\n129600|True\n3|2|1|True|True|True\n");
    EXPECT_TRUE(fs::exists(report));

    ASSERT_EQ(Cli({"--json", "info", sector}), 0) << Err.str();
    const std::string info = Out.str();
    EXPECT_NE(info.find("\"systems\":3"), std::string::npos) << info;
    EXPECT_NE(info.find("\"routes\":2"), std::string::npos) << info;
}

TEST_F(Scenario, TheCurrentSectorIsTheOneNamedAndItsOwnSaveWritesIt)
{
    const std::string sector = (Dir / "current.VexaDB").string();
    ASSERT_EQ(Cli({"script", Write("make.vbs", kBuildSector), sector, (Dir / "r.html").string()}), 0) << Err.str();
    const std::string add = Write("add.vbs", R"(
Set s = GetCurrentSector()
Set d = CreateBody("Red Dwarf")
d.Name = "Delta"
s.AddSystem d
s.SaveToFile s.FileName, False
MsgBox s.SystemCount & "|" & s.FindRootBodyByName("alpha").Name
)");
    ASSERT_EQ(Cli({"script", "--sector", sector, add}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "4|Alpha\n");
    ASSERT_EQ(Cli({"--json", "info", sector}), 0) << Err.str();
    EXPECT_NE(Out.str().find("\"systems\":4"), std::string::npos) << Out.str();
}

TEST_F(Scenario, WindowOnlyRoutinesAreClearErrorsOnTheCommandLine)
{
    ASSERT_EQ(Cli({"script", Write("edit.vbs", "EditBody CreateBody(\"\")\n")}), 1);
    EXPECT_NE(Err.str().find("EditBody: needs the main window"), std::string::npos) << Err.str();
    ASSERT_EQ(Cli({"script", Write("key.vbs", "MsgBox GetKey()\n")}), 0) << Err.str();
    EXPECT_EQ(Out.str(), "-1\n");
}

TEST_F(Scenario, HeadlessScriptsKnowTheDialogNamesAndOnlyShowingNeedsTheWindow)
{
    // A plug-in's dialog is described, filled, read and freed without a window.
    ASSERT_EQ(Cli({"script", Write("dialog.vbs", R"vbs(
MsgBox ZSUI_FILEOPEN & "|" & ZSUI_COLOR & "|" & ZSUI_MSG_FILESELECT & "|" & ZSUI_SIZE_BROWSEBUTTONWIDTH
ZSUI_WindowCaption = "Namer (Plugin)"
Set d = NewDialogWindow()
Set f = d.AddFileOpen()
f.FileMask = "Stars|*.stars"
d.BuildComponents
d.GatherComponentValues
MsgBox d.Caption & "|" & f.FileMask
FreeObject d
MsgBox isNull(d) & "|" & isNull(f)
)vbs")}),
              0)
        << Err.str();
    EXPECT_EQ(Out.str(), "101|103|browse...|90\nNamer (Plugin)|Stars|*.stars\nTrue|True\n");
    // What must show something says that it needs the window.
    for (const std::string call :
         {"NewDialogWindow().ShowModal", "ShowSystemDiagram CreateBody(\"\")",
          "CreateSector().Print False, 1, 0, True, True, True, 1, 1, 0", "StartMovie \"a.mp4\", 64, 64"}) {
        EXPECT_EQ(Cli({"script", Write("window.vbs", call + "\n")}), 1) << call;
        EXPECT_NE(Err.str().find("needs the main window"), std::string::npos) << call << ": " << Err.str();
    }
    EXPECT_FALSE(fs::exists("a.mp4"));
}

TEST_F(Scenario, AMissingSectorFileIsAFailure)
{
    EXPECT_EQ(Cli({"script", "--sector", (Dir / "none.VexaDB").string(), Write("x.vbs", "x = 1\n")}), 1);
    EXPECT_NE(Err.str().find("sector file not found"), std::string::npos) << Err.str();
}
