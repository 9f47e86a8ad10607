#include "model/SectorDocumentSwap.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kalvion;

namespace {

struct RouteSector : ::testing::Test {
    TVexaSector sector;
    TStellarBody *A, *B, *C;

    TStellarBody *AddRoot(const char *name, double x, double y, double z)
    {
        auto b = TStellarBody::Create();
        b->Name = name;
        b->X = x;
        b->Y = y;
        b->Z = z;
        TStellarBody *raw = b.get();
        sector.AddSystem(std::move(b));
        return raw;
    }

    void SetUp() override
    {
        A = AddRoot("A", 1, 0, 0);
        B = AddRoot("B", 2, 0, 0);
        C = AddRoot("C", 3, 0, 0);
    }

    TStellarRoute *RouteABC()
    {
        sector.SelectBody(A);
        sector.SelectBody(B);
        sector.SelectBody(C);
        return sector.CreateRouteSelected("Trade", "Spice Run", 0.1, 0.2, 0.3, ROUTE_LINE_DASH, 2);
    }
};

} // namespace

TEST_F(RouteSector, CreateFromSelectionFollowsSelectionOrder)
{
    sector.SelectBody(C);
    EXPECT_EQ(sector.CreateRouteSelected("Trade", "x", 0, 0, 0, 0, 1), nullptr);
    EXPECT_EQ(sector.RouteCount(), 0);

    sector.SelectBody(A);
    TStellarRoute *r = sector.CreateRouteSelected("Trade", "Spice Run", 0.1, 0.2, 0.3, ROUTE_LINE_DASH, 2);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->WaypointCount(), 2);
    EXPECT_EQ(r->GetWaypoint(0)->id, C->IDString);
    EXPECT_EQ(r->GetWaypoint(0)->Body, C);
    EXPECT_EQ(r->GetWaypoint(0)->X, 3);
    EXPECT_EQ(r->GetWaypoint(1)->id, A->IDString);
    EXPECT_EQ(r->Name, "Spice Run");
    EXPECT_EQ(r->RouteType, "Trade");
    EXPECT_EQ(r->Blue, 0.3);
    EXPECT_EQ(r->LineStyle, ROUTE_LINE_DASH);
    EXPECT_EQ(r->LineWidth, 2);
    EXPECT_TRUE(r->TVexaBase::Modified);
    EXPECT_EQ(sector.FindRouteType("trade"), 1);
}

TEST_F(RouteSector, NewRouteIsNeitherLoadedNorModified)
{
    auto r = TStellarRoute::Create();
    EXPECT_FALSE(r->Loaded);
    EXPECT_FALSE(r->Modified);
    EXPECT_TRUE(r->Visible);
    EXPECT_EQ(r->GetWaypoint(0), nullptr);
    r->DeleteWaypoint(0); // ignored
}

TEST_F(RouteSector, SegmentTakesChannelsOver255)
{
    EXPECT_EQ(sector.CreateRouteSegment(A, nullptr, "", "", 0, 0, 1), nullptr);
    TStellarRoute *r = sector.CreateRouteSegment(A, B, "Jump", "Hop", ColorRGB(255, 51, 0), ROUTE_LINE_SOLID, 1.5);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Red, 1.0);
    EXPECT_EQ(r->Green, 0.2);
    EXPECT_EQ(r->Blue, 0.0);
    EXPECT_EQ(r->WaypointCount(), 2);
    EXPECT_EQ(sector.FindRouteType("JUMP"), 1);
}

TEST_F(RouteSector, DeletingMiddleThenEndSystem)
{
    RouteABC();
    sector.DeleteSystemFromRoutes(B);
    ASSERT_EQ(sector.RouteCount(), 1);
    TStellarRoute *r = sector.GetRoute(0);
    ASSERT_EQ(r->WaypointCount(), 2);
    EXPECT_EQ(r->GetWaypoint(0)->Body, A);
    EXPECT_EQ(r->GetWaypoint(1)->Body, C);

    sector.DeleteSystemFromRoutes(A);
    EXPECT_EQ(sector.RouteCount(), 0);
    ASSERT_EQ(sector.DeletedObjects.size(), 1u);
    EXPECT_NE(dynamic_cast<TStellarRoute *>(sector.DeletedObjects[0].get()), nullptr);
}

TEST_F(RouteSector, DeletingSelectedSystemsLeavesNoWaypointOnAFreedBody)
{
    RouteABC();
    sector.SelectAll(false);
    sector.SelectBody(B);
    sector.DeleteSelectedSystems();
    EXPECT_EQ(sector.SystemCount(), 2);
    ASSERT_EQ(sector.RouteCount(), 1);
    for (const auto &wp : sector.GetRoute(0)->Waypoints)
        EXPECT_NE(wp->Body, B);

    // A root leaving without the routes being told (DeleteRootBody) leaves
    // its waypoint unresolved rather than dangling.
    sector.DeleteRootBody(C);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(1)->Body, nullptr);
    TStellarBodyList list;
    sector.SelectBody(A);
    sector.GetAllOnRoutesWithSelected(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], A);
}

TEST_F(RouteSector, UpdateRouteBodiesDropsUnknownWaypointsButKeepsRoute)
{
    auto r = TStellarRoute::Create();
    for (const std::string &id : {A->IDString.str(), std::string("{00000000-0000-0000-0000-000000000000}")}) {
        auto wp = std::make_unique<TRouteWaypoint>();
        wp->id = id;
        r->AddWaypoint(std::move(wp));
    }
    A->X = 42;
    sector.AddRoute(std::move(r));
    sector.UpdateRouteBodies();
    ASSERT_EQ(sector.RouteCount(), 1);
    ASSERT_EQ(sector.GetRoute(0)->WaypointCount(), 1);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(0)->Body, A);
    EXPECT_EQ(sector.GetRoute(0)->GetWaypoint(0)->X, 42);
}

TEST_F(RouteSector, MovedSystemMovesEveryMatchingWaypoint)
{
    sector.SelectBody(A);
    sector.SelectBody(B);
    sector.SelectBody(A);
    TStellarRoute *r = sector.CreateRouteSelected("", "loop", 0, 0, 0, 0, 1);
    A->Y = 7;
    sector.UpdateRoutesForBody(A);
    EXPECT_EQ(r->GetWaypoint(0)->Y, 7);
    EXPECT_EQ(r->GetWaypoint(1)->Y, 0);
    EXPECT_EQ(r->GetWaypoint(2)->Y, 7);

    B->Z = -3;
    sector.UpdateRoutes();
    EXPECT_EQ(r->GetWaypoint(1)->Z, -3);
}

TEST_F(RouteSector, OnRouteIsExactButCollectingIgnoresCase)
{
    TStellarRoute *r = RouteABC();
    // B's waypoint refers to B in another letter case.
    std::string lower = B->IDString;
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    r->GetWaypoint(1)->id = lower;
    EXPECT_FALSE(r->OnRoute(B));
    EXPECT_TRUE(r->OnRoute(A));

    // A second route C-B: B must come once only, C once only.
    auto r2 = TStellarRoute::Create();
    r2->AddSystem(C);
    r2->AddSystem(B);
    sector.AddRoute(std::move(r2));

    sector.SelectAll(false);
    sector.SelectBody(C);
    TStellarBodyList list;
    sector.GetAllOnRoutesWithSelected(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], A);
    EXPECT_EQ(list[1], B);
    EXPECT_EQ(list[2], C);
}

TEST_F(RouteSector, PickBandIsThreePixelsWide)
{
    TStellarRoute *r = RouteABC();
    r->GetWaypoint(0)->RasterX = 0;
    r->GetWaypoint(0)->RasterY = 100;
    r->GetWaypoint(1)->RasterX = 200;
    r->GetWaypoint(1)->RasterY = 100;
    // The third point sits on the second: a segment without width.
    r->GetWaypoint(2)->RasterX = 200;
    r->GetWaypoint(2)->RasterY = 100;

    EXPECT_TRUE(r->ClickedOn(100, 102, false));
    EXPECT_TRUE(r->ClickedOn(100, 98, false));
    EXPECT_FALSE(r->ClickedOn(100, 104, false));
    EXPECT_FALSE(r->ClickedOn(210, 100, false));

    // A diagonal segment: the offset is rounded per component.
    r->GetWaypoint(1)->RasterX = 100;
    r->GetWaypoint(1)->RasterY = 200;
    EXPECT_TRUE(r->ClickedOn(51, 149, false));
    EXPECT_FALSE(r->ClickedOn(56, 144, false));

    // Hidden ends are skipped unless the filter style draws hidden systems.
    r->GetWaypoint(1)->RasterX = 200;
    r->GetWaypoint(1)->RasterY = 100;
    B->Visible = false;
    EXPECT_FALSE(r->ClickedOn(100, 101, false));
    EXPECT_TRUE(r->ClickedOn(100, 101, true));

    EXPECT_TRUE(r->SelectObject(100, 101, true));
    EXPECT_TRUE(r->Selected);
    EXPECT_FALSE(r->SelectObject(100, 150, true));
    EXPECT_FALSE(r->Selected);

    auto single = TStellarRoute::Create();
    single->AddSystem(A);
    EXPECT_FALSE(single->ClickedOn(0, 100, true));
}

TEST_F(RouteSector, SelectBodiesFallsBackToRoutes)
{
    TStellarRoute *r = RouteABC();
    sector.SelectAll(false);
    r->GetWaypoint(0)->RasterX = 0;
    r->GetWaypoint(0)->RasterY = 0;
    r->GetWaypoint(1)->RasterX = 100;
    r->GetWaypoint(1)->RasterY = 0;
    sector.FilterStyle = SECTOR_FILTER_NOLABEL;
    sector.SelectBodies(50, 1, false);
    EXPECT_TRUE(r->Selected);
    EXPECT_TRUE(sector.RoutesSelected());
    sector.DeleteSelectedSystems();
    EXPECT_EQ(sector.RouteCount(), 0);
    EXPECT_EQ(sector.SystemCount(), 3);
}

TEST_F(RouteSector, RouteTypeVisibilityComesFromTheTypeList)
{
    TStellarRoute *trade = RouteABC();
    TStellarRoute *jump = sector.CreateRouteSegment(A, C, "Jump", "", 0, 0, 1);
    sector.RouteTypeList[static_cast<std::size_t>(sector.FindRouteType("trade"))].Visible = false;
    sector.SetFilters();
    EXPECT_FALSE(trade->Visible);
    EXPECT_TRUE(jump->Visible);

    sector.DeleteRouteType("TRADE");
    EXPECT_EQ(sector.RouteCount(), 1);
    EXPECT_EQ(sector.GetRoute(0), jump);
    EXPECT_GE(sector.FindRouteType("Trade"), 0);
}

TEST_F(RouteSector, CopyToCopiesStyleAndUnresolvedWaypoints)
{
    TStellarRoute *r = RouteABC();
    r->RoundTrip = true;
    r->Selected = true;
    r->Stipple = ROUTE_STIPPLEOGL_DASH;
    r->GetWaypoint(2)->RasterX = 9;
    r->RecordID = 5;
    r->SetField("note", "x");

    TStellarRoute t;
    r->CopyTo(t, false);
    EXPECT_EQ(t.WaypointCount(), 0);
    EXPECT_EQ(t.Name, "Spice Run");
    EXPECT_TRUE(t.RoundTrip && t.Selected);
    EXPECT_EQ(t.Stipple, ROUTE_STIPPLEOGL_DASH);
    EXPECT_EQ(t.Green, 0.2);
    EXPECT_EQ(t.RecordID, 0);
    EXPECT_EQ(t.GetFieldCount(), 0);
    EXPECT_NE(t.IDString, r->IDString);

    TStellarRoute w;
    r->CopyTo(w, true);
    ASSERT_EQ(w.WaypointCount(), 3);
    EXPECT_EQ(w.GetWaypoint(2)->id, C->IDString);
    EXPECT_EQ(w.GetWaypoint(2)->RasterX, 9);
    EXPECT_EQ(w.GetWaypoint(2)->X, 3);
    EXPECT_EQ(w.GetWaypoint(2)->Body, nullptr);
}

// Opening a file swaps the new document into the window's sector: every
// route, the deleted ones kept for the next save too, then points at the
// sector that holds it, not at the one freed after the swap.
TEST(RouteDocuments, SwappedDocumentsKeepTheirRoutesPointingHome)
{
    TVexaSector window;
    auto opened = std::make_unique<TVexaSector>();
    TStellarBody *a = opened->NewSystem(1);
    TStellarBody *b = opened->NewSystem(1);
    for (int i = 0; i < 2; ++i)
        opened->CreateRouteSegment(a, b, "", "lane", 0xFFFFFF, 0, 1);
    opened->DeleteRoute(0);
    ASSERT_EQ(opened->RouteCount(), 1);
    ASSERT_EQ(opened->DeletedObjects.size(), 1u);
    SwapSectorDocuments(window, *opened);
    opened.reset();
    EXPECT_EQ(window.GetRoute(0)->Sector, &window);
    const auto *deleted = dynamic_cast<const TStellarRoute *>(window.DeletedObjects.front().get());
    ASSERT_NE(deleted, nullptr);
    EXPECT_EQ(deleted->Sector, &window);
}
