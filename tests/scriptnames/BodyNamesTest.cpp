// Bodies through the script names: creation, properties, trees, ownership.
#include "ScriptRun.h"

#include "model/StellarBody.h"
#include "scriptnames/ScriptObjectPool.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::testing_names;

TEST(BodyNames, CreateSetPropertiesAndBuildATree)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set b = TStellarBody.Create
b.Name = "Sol"
b.TypeID = BODY_TYPE_STAR
b.TempC = 27
Set p = CreateBody("Terrestrial")
p.Name = "Terra"
i = b.AddChild(p)
MsgBox b.ChildrenCount & "|" & b.GetChild(0).Name & "|" & p.Parent.Name & "|" & b.Temp & "|" & p.TypeID & "|" & i
)")) << r.LastError();
    ASSERT_EQ(r.Printed.size(), 1u);
    EXPECT_EQ(r.Printed[0], "1|Terra|Sol|300|100|1");
}

TEST(BodyNames, EmptyTypeNameGivesAnUnassignedBody)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Set b = CreateBody(\"\")\nMsgBox b.TypeID")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "0");
}

TEST(BodyNames, AddingABodyTwiceOrIntoItselfIsAScriptError)
{
    TScriptRunner r;
    EXPECT_FALSE(r.Run("Set a = CreateBody(\"\")\nSet b = CreateBody(\"\")\na.AddChild b\na.AddChild b"));
    EXPECT_NE(r.LastError().find("AddChild"), std::string::npos) << r.LastError();
    TScriptRunner r2;
    EXPECT_FALSE(r2.Run("Set a = CreateBody(\"\")\nSet b = CreateBody(\"\")\na.AddChild b\nb.AddChild a"));
}

TEST(BodyNames, FreeObjectFreesWhatTheScriptOwnsOnly)
{
    TScriptRunner r;
    // A free body is freed; the reference then is nil to isNull and an
    // error on use.
    EXPECT_FALSE(r.Run("Set a = CreateBody(\"\")\nFreeObject a\nMsgBox isNull(a)\nMsgBox a.Name"));
    ASSERT_EQ(r.Printed.size(), 1u);
    EXPECT_EQ(r.Printed[0], "True");
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
    EXPECT_EQ(r.Host.ScriptObjects().Count(), 0u);
    // A body in a tree belongs to its parent.
    TScriptRunner r2;
    EXPECT_FALSE(r2.Run("Set a = CreateBody(\"\")\nSet b = CreateBody(\"\")\na.AddChild b\nFreeObject b"));
    EXPECT_NE(r2.LastError().find("FreeObject"), std::string::npos) << r2.LastError();
    // nil is ignored.
    TScriptRunner r3;
    EXPECT_TRUE(r3.Run("FreeObject Nothing")) << r3.LastError();
}

TEST(BodyNames, DeleteChildrenEndsReferencesToTheChildren)
{
    TScriptRunner r;
    EXPECT_FALSE(r.Run(R"(
Set a = CreateBody("")
Set b = CreateBody("")
a.AddChild b
a.DeleteChildren
MsgBox a.ChildrenCount
MsgBox b.Name
)"));
    ASSERT_EQ(r.Printed.size(), 1u);
    EXPECT_EQ(r.Printed[0], "0");
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
}

TEST(BodyNames, IsNullAnswersForNilObjectsAndNull)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run("Dim e\nMsgBox isNull(Nothing) & isNull(Null) & isNull(5) & isNull(\"\") & isNull(CreateBody(\"\"))"))
        << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "TrueTrueFalseFalseFalse");
}

TEST(ScienceNames, DiceCountsAreCappedLikeTheTableEngines)
{
    TScriptRunner r;
    EXPECT_FALSE(r.Run("x = RollDice(2000000000, 6, 0)"));
    EXPECT_NE(r.LastError().find("RollDice"), std::string::npos) << r.LastError();
    EXPECT_FALSE(r.Run("x = RollDiceOpen(20000, 6, 0, True)"));
    EXPECT_NE(r.LastError().find("RollDiceOpen"), std::string::npos) << r.LastError();
    EXPECT_FALSE(r.Run("x = EvalDice(\"999999d6\")"));
    EXPECT_NE(r.LastError().find("EvalDice"), std::string::npos) << r.LastError();
    ASSERT_TRUE(r.Run("x = RollDice(3, 6, 1)\nIf x < 4 Or x > 19 Then Err.Raise 5")) << r.LastError();
}

TEST(ScienceNames, VarParametersWriteBack)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set a = TOrbit.Create
a.SemiMajorAxis = 1000
a.Period = 10
Set b = TOrbit.Create
b.SemiMajorAxis = 3000
b.Period = 30
lo = -1 : hi = -1
OrbitGetExtremes a, b, lo, hi
a.GetPosition 0, x, y, z
ok = FullEvalExpression("2+3", v, msg)
ok2 = SplitAtTag("left|right", "|", l, rt)
MsgBox (lo >= 1999 And lo <= 2001) & "|" & (hi >= 3999 And hi <= 4001) & "|" & x & "|" & v & "|" & l & "," & rt
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "True|True|1000|5|left,right");
}

TEST(ScienceNames, ABadArgumentTypeIsAScriptErrorNamingTheRoutine)
{
    TScriptRunner r;
    EXPECT_FALSE(r.Run("x = RollDice(\"many\", 6, 0)"));
    EXPECT_NE(r.LastError().find("RollDice"), std::string::npos) << r.LastError();
    EXPECT_FALSE(r.Run("Set s = CreateSector()\ns.AddSystem CreateRoute()"));
    EXPECT_NE(r.LastError().find("AddSystem"), std::string::npos) << r.LastError();
}

TEST(BodyNames, OneCallSiteServesObjectsOfDifferentClasses)
{
    // The same ".Name" and ".Count" sites meet a body, a route, a subsector
    // and lists: each must find its own class's member.
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Function N(o)
    N = o.Name
End Function
Function C(o)
    C = o.Count
End Function
Set b = CreateBody("") : b.Name = "body"
Set rt = CreateRoute() : rt.Name = "route"
Set ss = CreateSubsector() : ss.Name = "sub"
Set l = TList.Create : l.Add b
Set t = TStringList.Create : t.Add "x" : t.Add "y"
Set cfg = CreateSystemDataConfig()
MsgBox N(b) & N(rt) & N(ss) & N(b) & "|" & C(l) & C(t) & C(cfg) & C(l)
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "bodyroutesubbody|1201");
}

TEST(BodyNames, CompactTextPropertiesReadAndWriteByName)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set b = CreateBody("Terrestrial")
MsgBox "[" & b.Notes & "|" & b.GMNotes & "|" & b.ModelFile & "|" & b.PoliticalAffiliation & "]"
b.Notes = "Dusty"
b.GMNotes = "Pirate base under the ice"
b.AtmosphereNotes = "None"
b.PoliticalAffiliation = "League"
b.BodyType = "Desert World"
b.Spectral = "K2V"
b.PreviewImageFile = "maps/dune.png"
b.BlazonImageFile = "blazons/league.png"
b.ModelFile = "Models/station.3ds"
MsgBox b.Notes & "|" & b.GMNotes & "|" & b.AtmosphereNotes & "|" & b.PoliticalAffiliation & "|" & b.BodyType
MsgBox b.Spectral & "|" & b.PreviewImageFile & "|" & b.BlazonImageFile & "|" & b.ModelFile
b.GMNotes = ""
MsgBox "[" & b.GMNotes & "]" & Len(b.IDString) & Left(b.IDString, 1) & Right(b.IDString, 1)
)")) << r.LastError();
    ASSERT_EQ(r.Printed.size(), 4u);
    EXPECT_EQ(r.Printed[0], "[|||]");
    EXPECT_EQ(r.Printed[1], "Dusty|Pirate base under the ice|None|League|Desert World");
    EXPECT_EQ(r.Printed[2], "K2V|maps/dune.png|blazons/league.png|Models/station.3ds");
    EXPECT_EQ(r.Printed[3], "[]38{}");
}
