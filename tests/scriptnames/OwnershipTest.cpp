// References scripts hold across the program's own removals end with
// "Object required"; what the program owns cannot be freed by a script.
#include "ScriptRun.h"

#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "scriptnames/ScriptObjectPool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

class Ownership : public ::testing::Test {
protected:
    void SetUp() override
    {
        R.Host.Sector = &Sector;
        ASSERT_TRUE(R.Run(R"(
Set s = GetCurrentSector()
For i = 1 To 3
    Set b = CreateBody("Star")
    b.Name = "Sys" & i
    Set p = CreateBody("Terrestrial")
    p.Name = "Sys" & i & " I"
    b.AddChild p
    s.AddSystem b
Next
)")) << R.LastError();
        ASSERT_EQ(Sector.SystemCount(), 3);
    }
    // Runs a script that keeps references, does something, and uses them.
    void ExpectObjectRequired(const std::string &keep, const std::string &action, const std::string &use)
    {
        R.Errors.clear();
        EXPECT_FALSE(R.Run("Set s = GetCurrentSector()\n" + keep + "\n" + action + "\n" + use)) << action;
        EXPECT_NE(R.LastError().find("Object required"), std::string::npos) << action << ": " << R.LastError();
    }

    TVexaSector Sector;
    TScriptRunner R;
};

} // namespace

TEST_F(Ownership, ClearMapEndsReferencesToTheSectorsBodies)
{
    ExpectObjectRequired("Set b = s.GetSystem(0)", "ClearMap", "x = b.Name");
    EXPECT_EQ(Sector.SystemCount(), 0);
}

TEST_F(Ownership, DeleteRootBodyEndsReferencesToTheSystemAndItsChildren)
{
    ExpectObjectRequired("Set b = s.GetSystem(0)\nSet c = b.GetChild(0)", "s.DeleteRootBody b", "x = c.Name");
    ExpectObjectRequired("Set b = s.GetSystem(0)", "s.DeleteRootBody b", "x = b.Name");
    EXPECT_EQ(Sector.SystemCount(), 1);
}

TEST_F(Ownership, DeleteChildrenAndDynaUnloadEndChildReferences)
{
    ExpectObjectRequired("Set b = s.GetSystem(0)\nSet c = b.GetChild(0)", "b.DeleteChildren", "x = c.Name");
    ExpectObjectRequired("Set b = s.GetSystem(1)\nSet c = b.GetChild(0)", "s.DynaUnload b", "x = c.Name");
}

TEST_F(Ownership, LoadFromFileEndsReferencesToTheOldContents)
{
    const auto file = std::filesystem::temp_directory_path() / ("kalvion_own_" + std::to_string(::getpid()) + ".VexaDB");
    std::string error;
    ASSERT_TRUE(SaveToFile(Sector, file.string(), false, &error)) << error;
    ExpectObjectRequired("Set b = s.GetSystem(0)", "s.LoadFromFile \"" + file.string() + "\"", "x = b.Name");
    EXPECT_EQ(Sector.SystemCount(), 3);
    std::filesystem::remove(file);
}

TEST_F(Ownership, TheCurrentSectorAndBodiesInATreeCannotBeFreed)
{
    EXPECT_FALSE(R.Run("FreeObject GetCurrentSector()"));
    EXPECT_NE(R.LastError().find("FreeObject"), std::string::npos) << R.LastError();
    // The sector is still there and usable.
    ASSERT_TRUE(R.Run("MsgBox GetCurrentSector().SystemCount")) << R.LastError();
    EXPECT_EQ(R.Printed.back(), "3");
    EXPECT_FALSE(R.Run("FreeObject GetCurrentSector().GetSystem(0)"));
    EXPECT_EQ(Sector.SystemCount(), 3);
}

TEST_F(Ownership, ObjectsTheScriptMadeAreFreedWithTheRunsEnd)
{
    ASSERT_TRUE(R.Run("Set b = CreateBody(\"\")\nSet l = TList.Create\nl.Add b\nSet o = TOrbit.Create")) << R.LastError();
    EXPECT_EQ(R.Host.ScriptObjects().Count(), 3u);
    R.Host.ReleaseScriptObjects();
    EXPECT_EQ(R.Host.ScriptObjects().Count(), 0u);
}

TEST_F(Ownership, ListsHoldCheckedReferences)
{
    ASSERT_TRUE(R.Run(R"(
Set s = GetCurrentSector()
Set l = TList.Create
' The body itself comes first, then its tree.
s.GetSystem(0).GetAllChildren l
Set t = TStringList.Create
t.Add "a" : t.Add "b"
MsgBox l.Count & "|" & l.Items(0).Name & "|" & t.IndexOf("b") & "|" & Replace(t.Text, vbCrLf, ",")
)")) << R.LastError();
    EXPECT_EQ(R.Printed.back(), "2|Sys1|1|a,b,");
    EXPECT_FALSE(R.Run("Set l = TList.Create\nx = l.Items(0)"));
    EXPECT_NE(R.LastError().find("Items"), std::string::npos) << R.LastError();
}
