#include "model/SectorStore.h"
#include "model/TreeSink.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

using namespace kalvion;

namespace {

TStellarBody *AddRoot(TVexaSector &s, const std::string &name, double x = 0, double y = 0, double z = 0)
{
    auto b = TStellarBody::Create();
    b->TypeID = BODY_TYPE_STAR;
    b->Name = name;
    b->X = x;
    b->Y = y;
    b->Z = z;
    TStellarBody *raw = b.get();
    s.AddSystem(std::move(b));
    return raw;
}

TStellarBody *AddChild(TStellarBody &parent, int type, double population = 0)
{
    auto b = TStellarBody::Create();
    b->TypeID = type;
    b->Population = population;
    TStellarBody *raw = b.get();
    parent.AddChild(std::move(b));
    return raw;
}

TStellarRoute *AddRoute(TVexaSector &s, std::initializer_list<TStellarBody *> bodies, const std::string &type = "")
{
    auto r = TStellarRoute::Create();
    r->RouteType = type;
    for (TStellarBody *b : bodies)
        r->AddSystem(b);
    TStellarRoute *raw = r.get();
    s.AddRoute(std::move(r));
    return raw;
}

void SetHit(TStellarBody *b, int left, int top, int right, int bottom, double depth)
{
    b->HitRect = {left, top, right, bottom};
    b->Depth = depth;
}

// A store that serves one fixed child for every root it is asked about.
class CountingStore : public TSectorStore {
public:
    int loads = 0;
    bool fail = false;
    bool LoadSystemChildren(TVexaSector &, TStellarBody &root) override
    {
        ++loads;
        if (fail)
            return false;
        auto child = TStellarBody::Create();
        child->PoliticalAffiliation = "Stored League";
        root.AddChild(std::move(child));
        return true;
    }
    bool LoadResourceData(TVexaSector &, TVexaImageResource &) override { return true; }
};

} // namespace

TEST(Sector, Defaults)
{
    TVexaSector s;
    EXPECT_FALSE(s.Modified);
    EXPECT_TRUE(s.TVexaBase::Modified);
    EXPECT_EQ(s.EpochYear, 2000);
    EXPECT_EQ(s.DateFormat, "dd mmm y h:n:s");
    EXPECT_EQ(s.UnitStarMeasureName, "Light Years");
    EXPECT_DOUBLE_EQ(s.SizeX, 20);
    EXPECT_EQ(s.GridStyle, GRID_STYLE_CUBE);
    EXPECT_EQ(s.BaseFont, "Verdana");
    EXPECT_EQ(s.GridColor, ColorRGB(128, 128, 128));
    ASSERT_EQ(s.PoliticalList.size(), 1u);
    EXPECT_EQ(s.PoliticalList[0].Name, "");
    ASSERT_EQ(s.RouteTypeList.size(), 1u);
    EXPECT_EQ(s.OriginCamera, (TVexaPoint{10, 0, 60}));
    EXPECT_EQ(s.Camera, s.OriginCamera);
    EXPECT_EQ(s.Target, (TVexaPoint{0, 0, 0}));
    EXPECT_GE(s.Systems.capacity(), 10000u);
}

TEST(Sector, NewSystemLiesNinetyPercentTowardsTheTarget)
{
    TVexaSector s;
    s.Camera = {0, 0, 10};
    s.Target = {0, 0, 0};
    TStellarBody *b = s.NewSystem(BODY_TYPE_STATION);
    EXPECT_EQ(s.SystemCount(), 1);
    EXPECT_EQ(b->TypeID, BODY_TYPE_STATION);
    EXPECT_DOUBLE_EQ(b->Z, 1);
    EXPECT_EQ(s.GetSystem(0), b);
    EXPECT_EQ(s.GetSystem(1), nullptr);
    EXPECT_EQ(s.GetSystem(-1), nullptr);
}

TEST(Sector, UnitsAndDistances)
{
    TVexaSector s;
    s.UnitStarMeasureName = "Parsecs";
    s.UpdateUnits();
    EXPECT_DOUBLE_EQ(s.UnitStarMeasureRatio, 3.2616);
    EXPECT_EQ(s.UnitStarMeasureAbbrev, "pc");
    EXPECT_EQ(s.DistanceString(32.616, true), "10.0 pc");
    EXPECT_EQ(s.DistanceString(32.616, false), "10.0");
    s.UnitStarMeasureName = "Furlongs";
    s.UpdateUnits();
    EXPECT_EQ(s.UnitStarMeasureAbbrev, "pc");
    s.UnitStarMeasureName = "Light Years";
    s.UpdateUnits();
    EXPECT_EQ(s.DistanceString(4.37, true), "4.4 ly");
}

TEST(Sector, PoliticalList)
{
    TVexaSector s;
    EXPECT_EQ(s.FindPolitical(""), 0);
    EXPECT_EQ(s.AddPolitical(""), -1);
    EXPECT_EQ(s.AddPolitical("Free Worlds"), -1);
    EXPECT_EQ(s.AddPolitical("FREE worlds"), 1);
    EXPECT_EQ(s.PoliticalList.size(), 2u);
    EXPECT_EQ(s.FindPolitical("free Worlds"), 1);
    EXPECT_EQ(s.FindPolitical("Empire"), -1);
}

TEST(Sector, TotalsRelyOnRollUps)
{
    TVexaSector s;
    EXPECT_EQ(s.GetSectorPopulation(), 0);
    EXPECT_EQ(s.GetSectorBodyCount(), 0);
    TStellarBody *a = AddRoot(s, "A");
    AddChild(*a, BODY_TYPE_TERRESTRIAL, 500);
    TStellarBody *b = AddRoot(s, "B");
    b->Population = 7;
    EXPECT_EQ(s.GetSectorPopulation(), 0); // roll-ups not yet current
    s.UpdateRootAttribs();
    EXPECT_DOUBLE_EQ(s.GetSectorPopulation(), 507);
    EXPECT_DOUBLE_EQ(s.GetSectorBodyCount(), 3);
}

TEST(SectorFilters, PopulationAndHabitability)
{
    TVexaSector s;
    TStellarBody *small = AddRoot(s, "small");
    small->Population = 999;
    TStellarBody *big = AddRoot(s, "big");
    big->Population = 1000;
    TStellarBody *hab = AddRoot(s, "hab");
    AddChild(*hab, BODY_TYPE_TERRESTRIAL, 5000)->Habitability = HAB_HOSPITABLE;
    s.UpdateRootAttribs();
    s.FilterPopulation = 1000;
    s.SetFilters();
    EXPECT_FALSE(small->Visible);
    EXPECT_TRUE(big->Visible);
    EXPECT_TRUE(hab->Visible);
    EXPECT_EQ(s.VisibleCount, 2);
    s.FilterHabitable = HAB_HABITABLE;
    s.SetFilters();
    EXPECT_FALSE(big->Visible);
    EXPECT_TRUE(hab->Visible);
    EXPECT_EQ(s.VisibleCount, 1);
    s.ShowAll();
    EXPECT_TRUE(small->Visible);
    EXPECT_EQ(s.FilterPopulation, 0);
    EXPECT_EQ(s.VisibleCount, 1); // ShowAll does not recount
    s.UpdateVisibleCount();
    EXPECT_EQ(s.VisibleCount, 3);
}

TEST(SectorFilters, PoliticalEntriesDecideLast)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    a->PoliticalAffiliation = "Empire";
    TStellarBody *b = AddRoot(s, "b");
    s.BuildPoliticalList(true);
    ASSERT_EQ(s.FindPolitical("empire"), 1);
    s.PoliticalList[1].Visible = false;
    s.SetFilters();
    EXPECT_FALSE(a->Visible);
    EXPECT_TRUE(b->Visible);
    s.PoliticalList[0].Visible = false;
    s.SetFilters();
    EXPECT_FALSE(b->Visible);
    // An affiliation unknown to the list leaves the root as the filters made it.
    a->PoliticalAffiliation = "Rebels";
    s.SetFilters();
    EXPECT_TRUE(a->Visible);
}

TEST(SectorFilters, SubsectorsHideTheirSystems)
{
    TVexaSector s;
    TStellarBody *outside = AddRoot(s, "out", 50, 50, 50);
    TStellarBody *inA = AddRoot(s, "inA", 0, 0, 0);
    TStellarBody *inBoth = AddRoot(s, "inBoth", 4, 0, 0);
    auto a = TVexaSubsector::Create();
    a->Shape = VEXA_SUBSECTOR_RECT;
    a->SizeX = a->SizeY = a->SizeZ = 10;
    a->Visible = false;
    auto b = TVexaSubsector::Create();
    b->Shape = VEXA_SUBSECTOR_SPHERE;
    b->X = 5;
    b->SizeX = 2;
    b->Visible = true;
    s.AddSubsector(std::move(a));
    s.AddSubsector(std::move(b));
    s.SetFilters();
    EXPECT_TRUE(outside->Visible);
    EXPECT_FALSE(inA->Visible);
    EXPECT_TRUE(inBoth->Visible); // the later subsector decides
    s.GetSubsector(0)->Visible = true;
    s.FilterHideUnassignedSubsector = true;
    s.SetFilters();
    EXPECT_FALSE(outside->Visible);
    EXPECT_TRUE(inA->Visible);
    EXPECT_EQ(s.VisibleCount, 2);
}

TEST(SectorFilters, RoutesTakeTheirTypeVisibility)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    TStellarBody *b = AddRoot(s, "b");
    TStellarRoute *trade = AddRoute(s, {a, b}, "Trade");
    TStellarRoute *plain = AddRoute(s, {a, b});
    TStellarRoute *unknown = AddRoute(s, {a, b}, "Smuggling");
    s.AddRouteType("trade");
    ASSERT_EQ(s.FindRouteType("TRADE"), 1);
    s.RouteTypeList[1].Visible = false;
    unknown->Visible = false;
    s.SetFilters();
    EXPECT_FALSE(trade->Visible);
    EXPECT_TRUE(plain->Visible);
    EXPECT_FALSE(unknown->Visible); // not in the list: untouched
}

TEST(SectorFilters, HiddenSystemsArePickableOnlyWithoutLabelStyle)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    SetHit(a, 0, 0, 10, 10, 5);
    a->Visible = false;
    EXPECT_EQ(s.BodyAtXY(5, 5), nullptr);
    s.FilterStyle = SECTOR_FILTER_NOLABEL;
    EXPECT_EQ(s.BodyAtXY(5, 5), a);
}

TEST(SectorSelection, PickingPrefersTheNearestRoot)
{
    TVexaSector s;
    TStellarBody *far = AddRoot(s, "far");
    TStellarBody *near = AddRoot(s, "near");
    TStellarBody *tie = AddRoot(s, "tie");
    SetHit(far, 0, 0, 10, 10, 9);
    SetHit(near, 5, 5, 20, 20, 3);
    SetHit(tie, 5, 5, 20, 20, 3);
    EXPECT_EQ(s.BodyAtXY(2, 2), far);
    EXPECT_EQ(s.BodyAtXY(10, 10), near); // edges count, first of equal depths wins
    EXPECT_EQ(s.BodyAtXY(21, 21), nullptr);
}

TEST(SectorSelection, OrderAndAddMode)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    TStellarBody *b = AddRoot(s, "b");
    TStellarBody *c = AddRoot(s, "c");
    SetHit(a, 0, 0, 10, 10, 1);
    SetHit(b, 20, 0, 30, 10, 1);
    SetHit(c, 40, 0, 50, 10, 1);
    EXPECT_EQ(s.SelectBodies(45, 5, false), -1);
    s.SelectBodies(5, 5, true);
    s.SelectBodies(25, 5, true);
    ASSERT_EQ(s.SelectedCount(), 3);
    EXPECT_EQ(s.GetSelected(0), c);
    EXPECT_EQ(s.GetSelected(1), a);
    EXPECT_EQ(s.GetSelected(2), b);
    EXPECT_EQ(s.GetSelected(3), nullptr);
    s.SelectBodies(5, 5, true); // already selected: nothing changes
    EXPECT_EQ(s.SelectedCount(), 3);
    s.SelectBodies(100, 100, true); // empty space with add keeps the selection
    EXPECT_EQ(s.SelectedCount(), 3);
    s.SelectBodies(25, 5, false); // already selected, add false: kept as it is
    EXPECT_EQ(s.SelectedCount(), 3);
    s.SelectBodies(100, 100, false);
    EXPECT_EQ(s.SelectedCount(), 0);
    EXPECT_FALSE(a->Selected);
    s.SelectBodies(5, 5, true);
    s.SelectBodies(45, 5, false);
    ASSERT_EQ(s.SelectedCount(), 1);
    EXPECT_EQ(s.GetSelected(0), c);
    EXPECT_FALSE(a->Selected);

    s.SelectAll(true);
    ASSERT_EQ(s.SelectedCount(), 3);
    EXPECT_EQ(s.GetSelected(0), a); // sector order
    s.SelectAll(false);
    EXPECT_EQ(s.SelectedCount(), 0);
}

TEST(SectorSelection, RoutesArePickedOnlyWhenNoRootIsHit)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    TStellarBody *b = AddRoot(s, "b");
    TStellarRoute *r = AddRoute(s, {a, b});
    r->Waypoints[0]->RasterX = 0;
    r->Waypoints[0]->RasterY = 100;
    r->Waypoints[1]->RasterX = 200;
    r->Waypoints[1]->RasterY = 100;
    SetHit(a, 0, 0, 10, 10, 1);
    s.SelectBodies(100, 102, false);
    EXPECT_TRUE(r->Selected);
    EXPECT_EQ(s.SelectedCount(), 0);
    s.SelectBodies(5, 5, false); // a root is hit: the route selection is cleared by SelectAll(false)
    EXPECT_FALSE(r->Selected);
    EXPECT_EQ(s.SelectedCount(), 1);
    s.SelectBodies(100, 104, false);
    EXPECT_FALSE(r->Selected);
    r->Selected = true;
    s.SelectAll(false);
    EXPECT_FALSE(r->Selected);
}

TEST(SectorSelection, SelectBodyAndHabitable)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a");
    TStellarBody *b = AddRoot(s, "b");
    b->ChildHabitability = HAB_HOSPITABLE;
    TStellarBody stranger;
    s.SelectBody(&stranger);
    EXPECT_EQ(s.SelectedCount(), 0);
    s.SelectBody(a);
    EXPECT_EQ(s.SelectedCount(), 1);
    s.SelectAllHabitable(HAB_HABITABLE);
    EXPECT_TRUE(b->Selected);
    EXPECT_EQ(s.SelectedCount(), 1); // flags only
}

TEST(SectorSelection, EditingTheSelectedRoots)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "a", 1, 2, 3);
    TStellarBody *b = AddRoot(s, "b");
    s.SelectBody(a);
    a->TVexaBase::Modified = false;
    b->TVexaBase::Modified = false;
    s.MoveSelected(1, 1, 1);
    EXPECT_DOUBLE_EQ(a->X, 2);
    EXPECT_TRUE(a->TVexaBase::Modified);
    EXPECT_FALSE(b->TVexaBase::Modified);
    s.MoveSelectedAxis(3, -3);
    EXPECT_DOUBLE_EQ(a->Z, 1);
    s.MoveSelectedAxis(4, 100);
    EXPECT_DOUBLE_EQ(a->X, 2);
    s.SetDisplayStyleSelected(ColorRGB(1, 2, 3), ColorRGB(4, 5, 6), true, true);
    EXPECT_EQ(a->FontStyle, LABEL_FONT_BOLDUNDERLINE);
    s.SetDisplayStyleSelected(0, 0, true, false);
    EXPECT_EQ(a->FontStyle, LABEL_FONT_UNDERLINE);
    s.SetDisplayStyleSelected(0, 0, false, true);
    EXPECT_EQ(a->FontStyle, LABEL_FONT_BOLD);
    s.SetPoliticalSelected("Union");
    EXPECT_EQ(a->PoliticalAffiliation, "Union");
    EXPECT_EQ(s.FindPolitical("union"), 1);
    s.SetSphereStyleSelected(SPHERE_INFLUENCE_CUBE, ColorRGB(9, 9, 9), 2.5);
    EXPECT_EQ(a->SphereInfluence, SPHERE_INFLUENCE_CUBE);
    s.ChangeBodyTypeSelected(BODY_TYPE_NEBULA);
    EXPECT_EQ(a->TypeID, BODY_TYPE_NEBULA);
    EXPECT_EQ(b->TypeID, BODY_TYPE_STAR);
    s.SetLabelDistanceSelected(55, 44);
    EXPECT_DOUBLE_EQ(a->RouteDistance, 55);
    EXPECT_DOUBLE_EQ(a->LabelDistance, 44);
    s.SelectAll(false);
    s.SetPoliticalSelected("Nobody");
    EXPECT_EQ(s.FindPolitical("Nobody"), -1);
}

TEST(SectorDelete, SelectedSystemsLeaveRoutesAndSelection)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *b = AddRoot(s, "B");
    TStellarBody *c = AddRoot(s, "C");
    TStellarRoute *abc = AddRoute(s, {a, b, c});
    s.SelectBody(b);
    s.DeleteSelectedSystems();
    EXPECT_EQ(s.SystemCount(), 2);
    EXPECT_EQ(s.SelectedCount(), 0);
    ASSERT_EQ(abc->WaypointCount(), 2);
    EXPECT_EQ(abc->GetWaypoint(0)->Body, a);
    EXPECT_EQ(abc->GetWaypoint(1)->Body, c);
    EXPECT_EQ(s.DeletedObjects.size(), 1u);
    s.SelectBody(a);
    s.DeleteSelectedSystems();
    EXPECT_EQ(s.RouteCount(), 0); // one waypoint left: the route goes too
    EXPECT_EQ(s.DeletedObjects.size(), 3u);
}

TEST(SectorDelete, SelectedRouteGoesWhenNoRootIsSelected)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *b = AddRoot(s, "B");
    AddRoute(s, {a, b})->Selected = true;
    AddRoute(s, {b, a});
    s.DeleteSelectedSystems();
    EXPECT_EQ(s.SystemCount(), 2);
    EXPECT_EQ(s.RouteCount(), 1);
    EXPECT_EQ(s.DeletedObjects.size(), 1u);
}

TEST(SectorDelete, RemovedRootsLeaveNoReferenceBehind)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *b = AddRoot(s, "B");
    TStellarRoute *r = AddRoute(s, {a, b});
    s.SelectBody(a);
    s.SelectBody(b);
    s.DeleteRootBody(a);
    ASSERT_EQ(s.SelectedCount(), 1);
    EXPECT_EQ(s.GetSelected(0), b);
    EXPECT_EQ(r->GetWaypoint(0)->Body, nullptr);
    EXPECT_EQ(r->GetWaypoint(0)->id, a->IDString); // still by identity, rows go on save
    EXPECT_EQ(r->GetWaypoint(1)->Body, b);
    s.ClearDeleted(); // frees a; nothing may point at it now
    EXPECT_EQ(r->GetWaypoint(0)->Body, nullptr);

    auto extracted = s.ExtractSystem(b);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(s.SelectedCount(), 0);
    EXPECT_EQ(r->GetWaypoint(1)->Body, nullptr);
    EXPECT_EQ(s.ExtractSystem(b), nullptr);
}

TEST(SectorDelete, ChildBodies)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *p = AddChild(*a, BODY_TYPE_TERRESTRIAL);
    a->TVexaBase::Modified = false;
    s.DeleteChildBody(a, p);
    EXPECT_EQ(a->ChildrenCount(), 0);
    EXPECT_TRUE(a->TVexaBase::Modified);
    EXPECT_EQ(s.DeletedObjects.size(), 1u);
    s.DeleteChildBody(nullptr, a);
    EXPECT_EQ(s.SystemCount(), 0);
    EXPECT_EQ(s.DeletedObjects.size(), 2u);
}

TEST(SectorReassign, ChildBecomesASystem)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 7, 8, 9);
    TStellarBody *p = AddChild(*a, BODY_TYPE_TERRESTRIAL, 100);
    a->UpdateRootBody();
    a->TVexaBase::Modified = false;
    s.ReassignChild(p, nullptr);
    ASSERT_EQ(s.SystemCount(), 2);
    EXPECT_EQ(s.GetSystem(1), p);
    EXPECT_EQ(p->Parent, nullptr);
    EXPECT_DOUBLE_EQ(p->X, 7);
    EXPECT_DOUBLE_EQ(p->Z, 9);
    EXPECT_EQ(a->BodyCount, 1);
    EXPECT_DOUBLE_EQ(a->ChildPopulation, 0);
    EXPECT_TRUE(a->TVexaBase::Modified);
}

TEST(SectorReassign, SystemBecomesAChildAsNewRows)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *b = AddRoot(s, "B");
    AddChild(*b, BODY_TYPE_TERRESTRIAL, 40);
    b->RecordID = 12;
    b->GetChild(0)->RecordID = 13;
    const std::string bId = b->IDString, childId = b->GetChild(0)->IDString;
    TStellarRoute *r = AddRoute(s, {a, b});
    s.SelectBody(b);
    s.ReassignChild(b, a);
    ASSERT_EQ(s.SystemCount(), 1);
    ASSERT_EQ(a->ChildrenCount(), 1);
    TStellarBody *moved = a->GetChild(0);
    EXPECT_EQ(moved->IDString, bId);
    EXPECT_EQ(moved->RecordID, 0);
    EXPECT_EQ(moved->GetChild(0)->IDString, childId);
    EXPECT_EQ(moved->GetChild(0)->RecordID, 0);
    EXPECT_EQ(moved->Parent, a);
    EXPECT_EQ(a->BodyCount, 3);
    EXPECT_DOUBLE_EQ(a->ChildPopulation, 40);
    EXPECT_EQ(s.SelectedCount(), 0);
    // The route still goes through B, now to the system that holds it.
    EXPECT_EQ(r->GetWaypoint(1)->id, bId);
    EXPECT_EQ(r->GetWaypoint(1)->Body, a);
    EXPECT_DOUBLE_EQ(r->GetWaypoint(1)->X, a->X);
    ASSERT_EQ(s.DeletedObjects.size(), 1u);
    EXPECT_EQ(static_cast<TStellarBody *>(s.DeletedObjects[0].get())->RecordID, 12);
}

TEST(SectorReassign, MovesBetweenSystemsAndRefusesCycles)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *b = AddRoot(s, "B");
    TStellarBody *planet = AddChild(*a, BODY_TYPE_TERRESTRIAL, 10);
    TStellarBody *moon = AddChild(*planet, BODY_TYPE_TERRESTRIAL, 5);
    s.UpdateRootAttribs();
    a->TVexaBase::Modified = b->TVexaBase::Modified = false;

    s.ReassignChild(planet, moon); // under its own descendant
    s.ReassignChild(planet, planet); // under itself
    s.ReassignChild(a, moon); // a system under its own descendant
    EXPECT_EQ(planet->Parent, a);
    EXPECT_EQ(moon->Parent, planet);
    EXPECT_EQ(s.SystemCount(), 2);
    EXPECT_FALSE(a->TVexaBase::Modified);

    s.ReassignChild(planet, b);
    EXPECT_EQ(planet->Parent, b);
    EXPECT_EQ(a->ChildrenCount(), 0);
    EXPECT_DOUBLE_EQ(a->ChildPopulation, 0);
    EXPECT_DOUBLE_EQ(b->ChildPopulation, 15);
    EXPECT_EQ(b->BodyCount, 3);
    EXPECT_TRUE(a->TVexaBase::Modified);
    EXPECT_TRUE(b->TVexaBase::Modified);
    s.ReassignChild(nullptr, b);
    s.ReassignChild(a, nullptr); // a root without a parent stays where it is
    EXPECT_EQ(s.SystemCount(), 2);
}

TEST(SectorLookup, FindByIdAndName)
{
    TVexaSector s;
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID("{X}", s.BuildRootIdIndex()), nullptr);
    TStellarBody *only = AddRoot(s, "Only");
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID(only->IDString, s.BuildRootIdIndex()), only);
    for (int i = 0; i < 200; ++i)
        AddRoot(s, "S" + std::to_string(i));
    const TRootIdIndex index = s.BuildRootIdIndex();
    ASSERT_EQ(index.size(), 201u);
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID(index.front().first, index), index.front().second);
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID(index.back().first, index), index.back().second);
    for (const auto &root : s.Systems)
        ASSERT_EQ(TVexaSector::FastFindRootBodyByID(root->IDString, index), root.get());
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID("{00000000-0000-0000-0000-000000000000}", index), nullptr);
    EXPECT_EQ(TVexaSector::FastFindRootBodyByID("~", index), nullptr);
    EXPECT_EQ(s.FindRootBodyById(only->IDString), only);
    std::string lower = only->IDString;
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != only->IDString) {
        EXPECT_EQ(s.FindRootBodyById(lower), nullptr);
    }
    EXPECT_EQ(s.FindRootBodyByName("oNLY"), only);
    EXPECT_EQ(s.FindRootBodyByName("none"), nullptr);
}

TEST(SectorRoutes, ResolvingWaypoints)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 1, 2, 3);
    TStellarBody *b = AddRoot(s, "B");
    TStellarRoute *r = AddRoute(s, {a, b});
    auto ghost = std::make_unique<TRouteWaypoint>();
    ghost->id = "{GONE}";
    r->AddWaypoint(std::move(ghost));
    r->Waypoints[0]->Body = nullptr;
    a->X = 10;
    s.UpdateRouteBodies();
    ASSERT_EQ(r->WaypointCount(), 2);
    EXPECT_EQ(r->GetWaypoint(0)->Body, a);
    EXPECT_DOUBLE_EQ(r->GetWaypoint(0)->X, 10);
    b->Y = 5;
    s.UpdateRoutesForBody(b);
    EXPECT_DOUBLE_EQ(r->GetWaypoint(1)->Y, 5);
}

TEST(SectorLists, BuildPoliticalListLoadsOnlyWhenKept)
{
    TVexaSector s;
    CountingStore store;
    s.Store = &store;
    s.FileName = "/tmp/never-opened.VexaDB";
    TStellarBody *stored = AddRoot(s, "stored");
    stored->Loaded = false;
    stored->TVexaBase::Modified = false;
    TStellarBody *inMemory = AddRoot(s, "mem");
    AddChild(*inMemory, BODY_TYPE_TERRESTRIAL)->PoliticalAffiliation = "Guild";

    s.BuildPoliticalList(true);
    EXPECT_EQ(store.loads, 0);
    EXPECT_EQ(s.FindPolitical("guild"), 1);
    EXPECT_EQ(s.FindPolitical("Stored League"), -1);

    s.PoliticalList[1].Visible = false;
    s.BuildPoliticalList(false);
    EXPECT_EQ(store.loads, 1);
    EXPECT_EQ(s.FindPolitical("stored league"), 2);
    EXPECT_FALSE(s.PoliticalList[1].Visible); // names already known keep their flag
    EXPECT_FALSE(stored->Loaded); // unloaded again after the scan
    EXPECT_EQ(stored->ChildrenCount(), 0);
    s.Store = nullptr;
}

TEST(SectorLists, DynamicLoading)
{
    TVexaSector s;
    CountingStore store;
    TStellarBody *root = AddRoot(s, "stored");
    root->Loaded = false;
    root->TVexaBase::Modified = false; // as read from its file
    s.DynaLoad(root); // no store, no file: stays unloaded
    EXPECT_FALSE(root->Loaded);
    s.Store = &store;
    s.DynaLoad(root); // still no file name
    EXPECT_FALSE(root->Loaded);
    s.FileName = "/tmp/x.VexaDB";
    store.fail = true;
    s.DynaLoad(root);
    EXPECT_FALSE(root->Loaded);
    EXPECT_EQ(root->ChildrenCount(), 0);
    store.fail = false;
    s.DynaLoad(root);
    EXPECT_TRUE(root->Loaded);
    EXPECT_FALSE(root->TVexaBase::Modified);
    EXPECT_EQ(root->ChildrenCount(), 1);
    s.DynaLoad(root);
    EXPECT_EQ(store.loads, 2);
    root->TVexaBase::Modified = true;
    s.DynaUnload(root); // modified roots stay
    EXPECT_TRUE(root->Loaded);
    root->TVexaBase::Modified = false;
    s.DynaUnload(root);
    EXPECT_FALSE(root->Loaded);
    EXPECT_EQ(root->ChildrenCount(), 0);

    // With a taker set, the unloaded tree is handed over whole instead of
    // being freed.
    s.DynaLoad(root);
    ASSERT_EQ(root->ChildrenCount(), 1);
    const TStellarBody *child = root->Children[0].get();
    std::vector<std::unique_ptr<TStellarBody>> taken;
    s.OnChildrenUnloaded = [&taken](std::vector<std::unique_ptr<TStellarBody>> &&children) {
        taken = std::move(children);
    };
    s.DynaUnload(root);
    s.OnChildrenUnloaded = nullptr;
    EXPECT_FALSE(root->Loaded);
    EXPECT_EQ(root->ChildrenCount(), 0);
    ASSERT_EQ(taken.size(), 1u);

    // A root changed while its bodies were in the file (a script's rename)
    // keeps its change when they are read in: the next save writes it.
    root->Name = "renamed";
    root->TVexaBase::Modified = true;
    s.DynaLoad(root);
    EXPECT_TRUE(root->Loaded);
    EXPECT_TRUE(root->TVexaBase::Modified);
    EXPECT_EQ(taken[0].get(), child);
    s.Store = nullptr;
}

TEST(SectorLifeCycle, ClearKeepsSettingsNewDropsTheFile)
{
    TVexaSector s;
    s.Name = "Core";
    s.FileName = "/maps/core.VexaDB";
    s.SetField("Author", "me");
    s.BaseFont = "Arial";
    s.RandomSeed = 5;
    s.GridsEnabled = false;
    s.Modified = true;
    s.SizeX = 40;
    TStellarBody *a = AddRoot(s, "A");
    s.SelectBody(a);
    AddRoute(s, {a, AddRoot(s, "B")});
    s.AddSubsector(TVexaSubsector::Create());
    s.Views.push_back(std::make_unique<TVexaView>());
    s.AddPolitical("Guild");
    s.ImageResources.Resources.push_back(std::make_unique<TVexaImageResource>());
    s.DeleteRoute(0);
    s.clear();
    EXPECT_EQ(s.SystemCount(), 0);
    EXPECT_EQ(s.SelectedCount(), 0);
    EXPECT_EQ(s.RouteCount(), 0);
    EXPECT_EQ(s.SubsectorCount(), 0);
    EXPECT_TRUE(s.Views.empty());
    EXPECT_TRUE(s.DeletedObjects.empty());
    EXPECT_EQ(s.PoliticalList.size(), 1u);
    EXPECT_EQ(s.RouteTypeList.size(), 1u);
    EXPECT_EQ(s.ImageResources.Count(), 0);
    EXPECT_FALSE(s.Modified);
    EXPECT_EQ(s.RandomSeed, 0);
    EXPECT_TRUE(s.GridsEnabled);
    EXPECT_EQ(s.OriginCamera, (TVexaPoint{20, 0, 60}));
    EXPECT_EQ(s.Name, "Core");
    EXPECT_EQ(s.FileName, "/maps/core.VexaDB");
    EXPECT_EQ(s.GetField("author"), "me");
    EXPECT_EQ(s.BaseFont, "Arial");
    s.New();
    EXPECT_EQ(s.FileName, "");
}

TEST(SectorSubmap, CopiesVisibleRootsAndSplitsRoutes)
{
    TVexaSector s;
    TStellarBody *c = AddRoot(s, "centre", 10, 10, 10);
    TStellarBody *near = AddRoot(s, "near", 12, 10, 10);
    TStellarBody *corner = AddRoot(s, "corner", 13, 13, 13);
    TStellarBody *far = AddRoot(s, "far", 30, 10, 10);
    TStellarBody *hidden = AddRoot(s, "hidden", 11, 10, 10);
    hidden->Visible = false;
    TStellarRoute *r = AddRoute(s, {c, near, far, corner}, "Trade");
    r->Red = 0.5;
    s.SelectBody(c);
    s.SelectBody(far);

    TVexaSector box;
    s.CreateSubmapFromSelected(box, 3, 0);
    ASSERT_EQ(box.SystemCount(), 3);
    EXPECT_FALSE(box.Spherical);
    EXPECT_DOUBLE_EQ(box.SizeX, 6);
    EXPECT_DOUBLE_EQ(box.GetSystem(1)->X, 2);
    EXPECT_EQ(box.GetSystem(1)->IDString, near->IDString);
    EXPECT_FALSE(box.GetSystem(0)->Selected);
    ASSERT_EQ(box.RouteCount(), 1); // only the centre-near pair survives
    EXPECT_EQ(box.GetRoute(0)->RouteType, "Trade");
    EXPECT_DOUBLE_EQ(box.GetRoute(0)->Red, 0.5);
    EXPECT_EQ(box.GetRoute(0)->GetWaypoint(1)->Body, box.GetSystem(1));
    EXPECT_DOUBLE_EQ(box.GetRoute(0)->GetWaypoint(1)->X, 2);

    TVexaSector sphere;
    s.GridStyle = GRID_STYLE_SPHERE;
    s.CreateSubmapFromSelected(sphere, 3, 1);
    EXPECT_TRUE(sphere.Spherical);
    EXPECT_EQ(sphere.GridStyle, GRID_STYLE_SPHERE);
    EXPECT_DOUBLE_EQ(sphere.GridX, 6);
    EXPECT_EQ(sphere.SystemCount(), 2); // the corner lies outside the sphere

    TVexaSector none;
    s.SelectAll(false);
    s.CreateSubmapFromSelected(none, 3, 0);
    EXPECT_EQ(none.SystemCount(), 0);
    EXPECT_DOUBLE_EQ(none.SizeX, 20);
}

TEST(SectorIds, ResetRecordIdsMarksEverything)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A");
    TStellarBody *p = AddChild(*a, BODY_TYPE_TERRESTRIAL);
    TStellarBody *stored = AddRoot(s, "stored");
    stored->Loaded = false;
    stored->RecordID = 9;
    a->RecordID = 1;
    p->RecordID = 2;
    p->TVexaBase::Modified = false;
    TStellarRoute *r = AddRoute(s, {a, stored});
    r->RecordID = 3;
    s.ResetRecordIDs();
    EXPECT_EQ(a->RecordID, 0);
    EXPECT_EQ(p->RecordID, 0);
    EXPECT_TRUE(p->TVexaBase::Modified);
    EXPECT_EQ(r->RecordID, 0);
    EXPECT_TRUE(r->TVexaBase::Modified);
    EXPECT_EQ(stored->RecordID, 9); // its contents are not in memory
}

namespace {

class RecordingTree : public TTreeSink {
public:
    std::vector<std::pair<int, std::string>> nodes;
    void Clear() override { nodes.clear(); }
    NodeId AddNode(NodeId parent, const std::string &text, TStellarBody *) override
    {
        nodes.emplace_back(parent, text);
        return static_cast<NodeId>(nodes.size()) - 1;
    }
    void CollapseAll() override {}
    void Expand(NodeId) override {}
};

} // namespace

TEST(SectorTree, ShortTreeSkipsRingsAndSmallBodies)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "Sol");
    TStellarBody *p = AddChild(*a, BODY_TYPE_GASGIANT);
    p->Name = "Jove";
    AddChild(*p, BODY_TYPE_RING);
    AddChild(*a, BODY_TYPE_SMALLBODY);
    RecordingTree tree;
    s.FillTreeShort(tree, TTreeSink::ROOT, a);
    ASSERT_EQ(tree.nodes.size(), 2u);
    EXPECT_EQ(tree.nodes[0].second, "Sol (Star)");
    EXPECT_EQ(tree.nodes[1], (std::pair<int, std::string>{0, "Jove (Gas Giant)"}));
}
