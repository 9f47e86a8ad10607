// Routes, waypoints, subsectors, display fields and streams through scripts.
#include "ScriptRun.h"

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::testing_names;

TEST(ModelPartsNames, RoutesTakeWaypointsAndSystemsOnce)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set s = CreateSector()
Set a = CreateBody("Star") : a.Name = "A" : s.AddSystem a
Set b = CreateBody("Star") : b.Name = "B" : b.X = 3 : s.AddSystem b
Set rt = CreateRoute()
rt.AddSystem a
Set w = CreateWaypoint()
w.X = 7
rt.AddWaypoint w
rt.AddSystem b
s.AddRoute rt
MsgBox rt.WaypointCount & "|" & rt.GetWaypoint(1).X & "|" & rt.OnRoute(b) & "|" & s.RouteCount & "|" & s.GetRoute(0).Name
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "3|7|True|1|");
    // A route already in a sector cannot be added again, nor a waypoint twice.
    EXPECT_FALSE(r.Run("Set s = CreateSector()\nSet rt = CreateRoute()\ns.AddRoute rt\ns.AddRoute rt"));
    EXPECT_NE(r.LastError().find("AddRoute"), std::string::npos);
    EXPECT_FALSE(r.Run("Set rt = CreateRoute()\nSet w = CreateWaypoint()\nrt.AddWaypoint w\nrt.AddWaypoint w"));
    EXPECT_NE(r.LastError().find("AddWaypoint"), std::string::npos);
    // A deleted waypoint and a deleted route are gone for the script.
    EXPECT_FALSE(r.Run("Set rt = CreateRoute()\nrt.AddWaypoint CreateWaypoint()\nSet w = rt.GetWaypoint(0)\n"
                       "rt.DeleteWaypoint 0\nx = w.X"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
    EXPECT_FALSE(r.Run("Set s = CreateSector()\ns.AddRoute CreateRoute()\nSet rt = s.GetRoute(0)\ns.DeleteRoute 0\nx = rt.Name"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
}

TEST(ModelPartsNames, SubsectorsAndDisplayFields)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set s = CreateSector()
Set ss = CreateSubsector()
ss.Name = "Core"
ss.Shape = VEXA_SUBSECTOR_SPHERE
s.AddSubsector ss
Set c = CreateSystemDataConfig()
c.AddField "Mass", "mass", "", False
c.AddField "Temp", "temp", "", True
Set h = s.GetSystemDataConfigHolder()
h.SetConfigForType c, BODY_TYPE_STAR
MsgBox s.GetSubsectorIndexByName("core") & "|" & s.GetSubsector(0).Shape & "|" & c.Count & "|" & c.FindField("Temp")
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "0|1|2|1");
    EXPECT_FALSE(r.Run("Set s = CreateSector()\ns.AddSubsector CreateSubsector()\nSet x = s.GetSubsector(0)\n"
                       "s.DeleteSubsector 0\ny = x.Name"));
    EXPECT_NE(r.LastError().find("Object required"), std::string::npos) << r.LastError();
    EXPECT_FALSE(r.Run("Set c = CreateSystemDataConfig()\nc.SetFieldArrayLength 2000000000"));
    EXPECT_NE(r.LastError().find("SetFieldArrayLength"), std::string::npos);
}

TEST(ModelPartsNames, BodiesRoundTripThroughStreamsAndDamagedStreamsFailQuietly)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set b = CreateBody("Star")
b.Name = "Vega"
b.SetField "Class", "A0"
b.AddChild CreateBody("Terrestrial")
Set st = TAppFileStream.Create
b.SaveToStream st, False
st.Position = 0
Set c = CreateBody("")
c.LoadFromStream st
MsgBox c.Name & "|" & c.GetField("class") & "|" & c.ChildrenCount & "|" & (st.Size > 0)
' An empty stream and a short one leave the body as it was read so far.
Set e = TAppFileStream.Create
Set d = CreateBody("")
d.Name = "kept"
d.LoadFromStream e
st.Position = 3
d.LoadFromStream st
MsgBox "survived"
)")) << r.LastError();
    ASSERT_EQ(r.Printed.size(), 2u);
    EXPECT_EQ(r.Printed[0], "Vega|A0|1|True");
    EXPECT_EQ(r.Printed[1], "survived");
}

TEST(ModelPartsNames, StringListsSplitTheirText)
{
    TScriptRunner r;
    ASSERT_TRUE(r.Run(R"(
Set l = TStringList.Create
l.Text = "one" & vbCrLf & "two" & vbLf & "three"
l.Delete 0
MsgBox l.Count & "|" & l.Items(0) & "|" & l.IndexOf("three") & "|" & l.IndexOf("none")
GetBodyTypeList l
MsgBox (l.Count > 20)
)")) << r.LastError();
    EXPECT_EQ(r.Printed.at(0), "2|two|1|-1");
    EXPECT_EQ(r.Printed.at(1), "True");
    EXPECT_FALSE(r.Run("Set l = TStringList.Create\nl.Delete 5"));
    EXPECT_NE(r.LastError().find("Delete"), std::string::npos);
}
