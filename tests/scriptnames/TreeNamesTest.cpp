// Trees a script makes and fills: the selected systems as the window shows
// them, the short list of a system, a body's fixed layout, and what the
// script can do with the nodes afterwards.
#include "ScriptRun.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::testing_names;

namespace {

struct TreeNames : ::testing::Test {
    void SetUp() override
    {
        auto star = TStellarBody::Create();
        star->Name = "Sol";
        star->TypeID = BODY_TYPE_STAR;
        star->Spectral = "G2V";
        for (auto [name, type, distance] : {std::tuple{"Far", BODY_TYPE_DSO, 5.0}, std::tuple{"Near", BODY_TYPE_DSO, 1.0},
                                            std::tuple{"Dust", BODY_TYPE_RING, 2.0}}) {
            auto c = TStellarBody::Create();
            c->Name = name;
            c->TypeID = type;
            c->Distance = distance;
            star->AddChild(std::move(c));
        }
        // The window shows the body's own display fields: one heading.
        auto own = std::make_unique<TSystemDataConfig>();
        own->Records.push_back({"Own heading", "", "", false});
        star->SetSystemDataConfig(std::move(own));
        Star = star.get();
        Sector->AddSystem(std::move(star));
        auto other = TStellarBody::Create();
        other->Name = "Unselected";
        Sector->AddSystem(std::move(other));
        Sector->SelectBody(Star);
        R.Host.Sector = Sector.get();
    }
    std::unique_ptr<TVexaSector> Sector = TVexaSector::Create();
    TStellarBody *Star = nullptr;
    TScriptRunner R;
};

} // namespace

TEST_F(TreeNames, AScriptFillsItsOwnTreesAndWalksThem)
{
    ASSERT_TRUE(R.Run(R"(
Set s = GetCurrentSector()
Set sol = s.GetSystem(0)
' The short list: name and type, rings left out.
Set t = TTreeView.Create
s.FillTreeShort t, Nothing, sol
MsgBox t.GetText()
' The fixed layout, under a node of the script's own.
Set u = TTreeView.Create
Set top = u.AddChild(Nothing, "Report")
sol.FillTree u, top
MsgBox u.GetText()
MsgBox sol.GetChild(0).Name & "|" & top.Count & "|" & top.GetChild(0).GetBody().Name & "|" & top.GetChild(0).Level
' The selected systems as the window shows them: the body's own fields.
s.FillTreeSelected t
Set n = t.GetNode(0)
MsgBox t.Count & "|" & n.Text & "|" & n.Expanded & "|" & n.GetChild(0).Text & "|" & n.GetBody().Name & "|" & isNull(t.GetNode(1))
)")) << R.LastError();
    ASSERT_EQ(R.Printed.size(), 4u);
    EXPECT_EQ(R.Printed[0], "Sol (" + NameFromBodyType(BODY_TYPE_STAR) + ")\r\n  Far (" + NameFromBodyType(BODY_TYPE_DSO) +
                                ")\r\n  Near (" + NameFromBodyType(BODY_TYPE_DSO) + ")\r\n");
    // Nearest first, the built-in fields whatever the body has configured.
    EXPECT_EQ(R.Printed[1], "Report\r\n  Sol\r\n    Spectral Class: G2V\r\n    Planets\r\n      Near\r\n        Deep Space Object\r\n"
                            "      Dust\r\n        Ring\r\n        Distance: 2 km\r\n        Ring Width: 0 km\r\n"
                            "      Far\r\n        Deep Space Object\r\n");
    // FillTree leaves the body's children in their order.
    EXPECT_EQ(R.Printed[2], "Far|1|Sol|1");
    EXPECT_EQ(R.Printed[3], "1|Sol|True|Own heading|Sol|True");
}

TEST_F(TreeNames, NodesAreCheckedAndFreedWithTheirSubtree)
{
    ASSERT_TRUE(R.Run(R"(
Set t = TTreeView.Create
Set a = t.AddChild(Nothing, "a")
Set b = t.AddChild(a, "b")
Set c = t.AddChild(b, "c")
t.AddChild Nothing, "d"
c.Text = "c2"
MsgBox t.NodeCount & "|" & c.GetParent().Text & "|" & isNull(a.GetParent()) & "|" & isNull(c.GetBody())
FreeObject b
MsgBox t.NodeCount & "|" & isNull(b) & "|" & isNull(c) & "|" & a.Count & "|" & t.GetText()
t.Clear
MsgBox t.Count & "|" & isNull(a)
FreeObject t
)")) << R.LastError();
    ASSERT_EQ(R.Printed.size(), 3u);
    EXPECT_EQ(R.Printed[0], "4|b|True|True");
    EXPECT_EQ(R.Printed[1], "2|True|True|0|a\r\nd\r\n");
    EXPECT_EQ(R.Printed[2], "0|True");

    // A node of another tree, no tree, a tree that is gone: script errors.
    for (const char *script :
         {"Set t = TTreeView.Create\nSet u = TTreeView.Create\nSet n = u.AddChild(Nothing, \"x\")\n"
          "GetCurrentSector().GetSystem(0).FillTree t, n",
          "GetCurrentSector().FillTreeSelected Nothing",
          "Set t = TTreeView.Create\nFreeObject t\nGetCurrentSector().FillTreeShort t, Nothing, GetCurrentSector().GetSystem(0)"}) {
        EXPECT_FALSE(R.Run(script)) << script;
        EXPECT_NE(R.LastError().find("Fill"), std::string::npos) << R.LastError();
    }
}

TEST_F(TreeNames, AVeryDeepBodyTreeIsRefusedNotFollowed)
{
    // Bodies from files are at most 256 levels deep; a script can build more.
    ASSERT_FALSE(R.Run(R"(
Set top = CreateBody("")
Set b = top
For i = 1 To 300
  Set c = CreateBody("")
  b.AddChild c
  Set b = c
Next
Set t = TTreeView.Create
top.FillTree t, Nothing
)"));
    EXPECT_NE(R.LastError().find("FillTree: the body's tree is more than 256 levels deep"), std::string::npos)
        << R.LastError();
}
