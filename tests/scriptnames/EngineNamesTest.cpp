// Tables, the generator, the searcher and sector settings through scripts.
#include "ScriptRun.h"

#include "base/SharedRandom.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace kalvion;
using namespace kalvion::testing_names;
namespace fs = std::filesystem;

namespace {

std::string TableFile(const std::string &text)
{
    const fs::path p = fs::temp_directory_path() / ("kalvion_names_" + std::to_string(::getpid()) + ".ilt");
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
}

} // namespace

TEST(TableNames, LoadGoAndTablesThatEndWithClear)
{
    const std::string file = TableFile("table: colors\nred\nred\n");
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Set app = TTKTableApplication.Create\napp.Load \"" + file + "\", \"\"\n"
                      "Set t = app.GetTableByName(\"COLORS\")\n"
                      "MsgBox Replace(app.Go(2), vbCrLf, \",\") & \"|\" & t.RandomPick(False) & \"|\" & app.ProcessLine(\"[@colors]\", 0)"))
        << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "red,red,|red|red");
    // A table of an application that was cleared is gone.
    EXPECT_FALSE(r.Run("Set app = TTKTableApplication.Create\napp.Load \"" + file + "\", \"\"\n"
                       "Set t = app.GetTableByName(\"colors\")\napp.Clear\nx = t.RandomPick(False)"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
    // A missing file is a script error naming Load, and TK_LAST_ERROR says why.
    EXPECT_FALSE(r.Run("Set app = TTKTableApplication.Create\napp.Load \"/no/such.ilt\", \"\""));
    EXPECT_NE(r.LastError().find("Load"), std::string::npos) << r.LastError();
    ASSERT_TRUE(r.Run("MsgBox (TK_LAST_ERROR <> \"\")")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "True");
    // Repetitions are bounded like a table file's own.
    EXPECT_FALSE(r.Run("Set app = TTKTableApplication.Create\nx = app.Go(100000000)"));
    EXPECT_NE(r.LastError().find("Go"), std::string::npos) << r.LastError();
    fs::remove(file);
}

TEST(TableNames, TextRoutinesWithVarParameters)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
ok = SplitTags("a=1[do]yes[else]no", "", "", "", c, y, n, 0)
Set l = TStringList.Create
SplitEsc "a,b\,c", ",", l
MsgBox ok & "|" & c & "|" & y & "|" & n & "|" & l.Count & "|" & UnEsc(l.Items(1)) & "|" & EvalConditional("2>1")
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "True|a=1|yes|no|2|b,c|True");
}

TEST(GeneratorNames, AGeneratorFillsABodyAndRegeneratingEndsOldChildren)
{
    SetSharedRandomSeed(11);
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set g = TSystemGenerator.Create
g.Seed = 5
Set b = CreateBody("Star")
g.GenerateSystemInfo b
n1 = b.ChildrenCount
MsgBox (n1 >= 0) & "|" & (b.Mass > 0) & "|" & (g.NRandom(10) < 10)
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "True|True|True");
    EXPECT_FALSE(r.Run(R"(
Set b = CreateBody("Star")
Set c = CreateBody("Terrestrial")
b.AddChild c
RandomSystem b, False
x = c.Name
)"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
    // Options of a generation plug-in.
    ASSERT_TRUE(r.Run("Set o = GetGenerateOptions()\nMsgBox o.Generator & \"|\" & o.GenContents")) << r.LastError();
    EXPECT_EQ(r.Printed.back(), "Kalvion Standard Generator|True");
}

TEST(SearchNames, ASearcherFindsAndSortsAndForgetsAFreedSector)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set s = CreateSector()
For i = 1 To 3
    Set b = CreateBody("Star")
    b.Name = "S" & i
    b.Population = i * 100
    s.AddSystem b
Next
s.UpdateRootAttribs
Set q = CreateVexaSearcher(s)
q.Search "population > 150"
VexaSearch3SortPropertyName = "population"
MsgBox q.GetResultCount & "|" & VexaSearch3SortByProp(q.GetResult(1), q.GetResult(2)) * VexaSearch3SortByProp(q.GetResult(2), q.GetResult(1))
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "2|-1");
    EXPECT_FALSE(r.Run("Set s = CreateSector()\nSet q = CreateVexaSearcher(s)\nFreeObject s\nq.SearchAll"));
    EXPECT_NE(r.LastError().find("SearchAll"), std::string::npos) << r.LastError();
    // A bad query is a script error with the parser's text.
    EXPECT_FALSE(r.Run("Set q = CreateVexaSearcher(CreateSector())\nq.Search \"within\""));
    EXPECT_NE(r.LastError().find("Search"), std::string::npos) << r.LastError();
}

TEST(SectorNames, SizesFromScriptsStayWithinTheSectorLimits)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Set s = CreateSector()\ns.SizeX = 1E+300\ns.SizeY = -5\nMsgBox s.SizeX & \"|\" & s.SizeY"))
        << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "1000000|20");
    EXPECT_FALSE(r.Run("Set s = CreateSector()\ns.GenerateSubsectors 100000, 1, 1, 0, \"\""));
    EXPECT_NE(r.LastError().find("GenerateSubsectors"), std::string::npos) << r.LastError();
}

TEST(TableNames, CreateIloomTableReadsFromTheTableProgramsFolder)
{
    struct THost final : TScriptAppHost {
        std::string Folder;
        std::string IdealoomTablesFolder() const override { return Folder; }
    };
    const fs::path dir = fs::temp_directory_path() / ("kalvion_iloom_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "Moods.ilt", std::ios::binary) << "table: mood\ncalm\n";
    THost host;
    host.Folder = dir.string() + "/";
    TScriptRegistry reg;
    RegisterKalvionScriptNames(reg, host);
    TZentScripter s;
    s.Registry = &reg;
    std::string error;
    s.OnShowMessage = [&](const std::string &, const std::string &t) { error = t; };
    s.ScriptText = "Set app = CreateIloomTable(\"Moods.ilt\")\nIf app.Go(1) <> \"calm\" & vbCrLf Then Err.Raise 5";
    EXPECT_TRUE(s.Run()) << error;
    s.ScriptText = "Set app = CreateIloomTable(\"Missing.ilt\")";
    EXPECT_FALSE(s.Run());
    EXPECT_NE(error.find("CreateIloomTable"), std::string::npos) << error;
    fs::remove_all(dir);
}
