#include "model/PointRotation.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

namespace {

double Dist(const TVexaPoint &a, const TVexaPoint &b)
{
    return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
}

void ExpectNear(const TVexaPoint &p, double x, double y, double z)
{
    EXPECT_NEAR(p.X, x, 1e-9);
    EXPECT_NEAR(p.Y, y, 1e-9);
    EXPECT_NEAR(p.Z, z, 1e-9);
}

TStellarBody *AddRoot(TVexaSector &s, double x, double y, double z)
{
    auto b = TStellarBody::Create();
    b->X = x;
    b->Y = y;
    b->Z = z;
    TStellarBody *raw = b.get();
    s.AddSystem(std::move(b));
    return raw;
}

} // namespace

TEST(Camera, HomePositionOfANewSector)
{
    TVexaSector s;
    ExpectNear(s.Camera, 10, 0, 60);
    ExpectNear(s.Target, 0, 0, 0);
    ExpectNear(s.OriginCamera, 10, 0, 60);

    s.Camera = {1, 2, 3};
    s.Target = {4, 5, 6};
    s.SetOriginsFromCurrentView();
    s.Camera = {};
    s.ResetCamera();
    ExpectNear(s.Camera, 1, 2, 3);
    ExpectNear(s.Target, 4, 5, 6);
    s.SizeX = 40;
    s.SizeZ = 10;
    s.RestoreDefaultOrigins();
    ExpectNear(s.OriginCamera, 20, 0, 30);
    ExpectNear(s.OriginTarget, 0, 0, 0);
}

TEST(Camera, DistanceToTarget)
{
    TVexaSector s;
    s.Camera = {0, 0, 10};
    s.Target = {0, 0, 2};
    s.AdjustDistanceToTarget(0.5);
    ExpectNear(s.Camera, 0, 0, 6);
    s.SetCameraDistance(1);
    ExpectNear(s.Camera, 0, 0, 3);

    s.Camera = s.Target;
    s.SetCameraDistance(5);
    ExpectNear(s.Camera, 0, 0, 2);

    s.Camera = {0, 0, 12};
    s.AdjustElevation(10);
    EXPECT_NEAR(Dist(s.Camera, s.Target), 10, 1e-9);
    ExpectNear(s.Camera, 0, 10 / std::sqrt(2.0), 2 + 10 / std::sqrt(2.0));
}

TEST(Camera, PanToBodyInEqualSteps)
{
    TVexaSector s;
    TStellarBody *b = AddRoot(s, 10, 20, -30);
    s.Target = {0, 0, 0};
    for (int step = 1; step <= 10; ++step) {
        s.PanCameraToBody(b, 10, step);
        if (step < 10)
            ExpectNear(s.Target, step, 2 * step, -3 * step);
    }
    EXPECT_EQ(s.Target, (TVexaPoint{10, 20, -30}));
    ExpectNear(s.SlideStartTarget, 0, 0, 0);
    ExpectNear(s.SlideStartCamera, 0, 0, 0);

    s.Target = {};
    s.PanCameraToBody(b, 1, 1);
    EXPECT_EQ(s.Target, (TVexaPoint{10, 20, -30}));
    // A count below one jumps instead of dividing by zero.
    s.Target = {};
    s.PanCameraToBody(b, 0, 0);
    EXPECT_EQ(s.Target, (TVexaPoint{10, 20, -30}));
}

TEST(Camera, SlidesToTheSelection)
{
    TVexaSector s;
    s.SlideCameraToSelected(1, 1);
    s.PanCameraToSelected(1, 1);
    s.CenterCameraOnSelected();
    ExpectNear(s.Camera, 10, 0, 60);
    ExpectNear(s.Target, 0, 0, 0);

    TStellarBody *a = AddRoot(s, 4, 0, 0);
    TStellarBody *b = AddRoot(s, 0, 8, 0);
    s.SelectBody(a);
    s.ComboSlideToSelected(2, 1); // needs two systems
    ExpectNear(s.Camera, 10, 0, 60);

    s.SelectBody(b);
    s.Camera = {0, 0, 0};
    s.Target = {0, 0, 0};
    s.ComboSlideToSelected(2, 1);
    ExpectNear(s.Camera, 2, 0, 0);
    ExpectNear(s.Target, 0, 4, 0);
    s.ComboSlideToSelected(2, 2);
    ExpectNear(s.Camera, 4, 0, 0);
    ExpectNear(s.Target, 0, 8, 0);

    s.ComboSlideReset(4, 1);
    ExpectNear(s.SlideStartCamera, 4, 0, 0);
    ExpectNear(s.Camera, 4 + 0.25 * 6, 0, 15);
    ExpectNear(s.Target, 0, 6, 0);
    s.ComboSlideReset(4, 4);
    ExpectNear(s.Camera, 10, 0, 60);

    s.CenterCameraOnSelected();
    ExpectNear(s.Target, 4, 0, 0);
    s.PanCameraToOrigin(1, 1);
    ExpectNear(s.Target, 0, 0, 0);

    // Equal origins: the reset does nothing.
    s.OriginCamera = s.OriginTarget = {1, 1, 1};
    s.ComboSlideReset(1, 1);
    ExpectNear(s.Camera, 10, 0, 60);
}

TEST(Camera, RotationsTurnYThenXThenZ)
{
    TVexaSector s;
    s.Target = {5, 5, 5};
    s.Camera = {15, 5, 5};
    s.RotateCameraAroundTarget(0, 90, 0);
    ExpectNear(s.Camera, 5, 5, 15);

    // Y first: (1,0,0) about Y by 90 gives (0,0,1), then X by 90 gives
    // (0,1,0); X first would have ended at (0,0,1).
    ExpectNear(RotatePointAboutCentre({1, 0, 0}, {}, 90, 90, 0), 0, 1, 0);
    ExpectNear(RotatePointAboutCentre({0, 0, 1}, {}, 0, 0, 90), 0, 0, 1);
    ExpectNear(RotatePointAboutCentre({1, 0, 0}, {}, 0, 0, 90), 0, -1, 0);
}

TEST(Camera, LatitudeKeepsDistanceAndStopsShortOfThePole)
{
    TVexaSector s;
    s.Target = {0, 0, 0};
    s.Camera = {10, 0, 0};
    s.AdjustCameraLatitude(200);
    EXPECT_NEAR(Dist(s.Camera, s.Target), 10, 1e-9);
    EXPECT_NEAR(std::asin(s.Camera.Y / 10) * 180 / M_PI, 89.9, 1e-9);
    EXPECT_GT(s.Camera.X, 0);

    s.Camera = {10, 0, 0};
    s.AdjustCameraLatitude(-30);
    ExpectNear(s.Camera, 10 * std::cos(M_PI / 6), -5, 0);

    s.Target = {0, 0, 50};
    s.Camera = {10, 0, 40};
    s.AdjustCameraLatitude(10);
    EXPECT_LT(s.Camera.Z, 50);
    EXPECT_GT(s.Camera.X, 0);
    EXPECT_GT(s.Camera.Y, 0);
    EXPECT_NEAR(Dist(s.Camera, s.Target), std::sqrt(200.0), 1e-9);
    EXPECT_NEAR(s.Camera.X, 50 - s.Camera.Z, 1e-9);
}

TEST(Camera, LatitudeAtThePoleOrOnTheTargetStaysFinite)
{
    TVexaSector s;
    s.Target = {1, 2, 3};
    s.Camera = {1, 2, 3};
    s.AdjustCameraLatitude(10);
    ExpectNear(s.Camera, 1, 2, 3);

    s.Camera = {1, 12, 3};
    s.AdjustCameraLatitude(-10);
    EXPECT_TRUE(std::isfinite(s.Camera.X) && std::isfinite(s.Camera.Y) && std::isfinite(s.Camera.Z));
    EXPECT_NEAR(Dist(s.Camera, s.Target), 10, 1e-9);
    // Longitude 0 lies towards -x of the target.
    EXPECT_LT(s.Camera.X, 1);
    EXPECT_NEAR(s.Camera.Z, 3, 1e-9);
    EXPECT_NEAR(s.Camera.Y - 2, 10 * std::sin(80 * M_PI / 180), 1e-9);
}

TEST(Camera, MovesSelectedSystemsRelativeToTheEye)
{
    TVexaSector s;
    s.Camera = {0, 0, 0};
    TStellarBody *far = AddRoot(s, 10, 0, 0);
    TStellarBody *near = AddRoot(s, 0, 1, 0);
    TStellarBody *other = AddRoot(s, 0, 0, 4);
    far->TVexaBase::Modified = near->TVexaBase::Modified = other->TVexaBase::Modified = false;
    s.SelectBody(far);
    s.SelectBody(near);
    s.AdjustSelectedDistanceToCamera(0.5);
    EXPECT_EQ(far->X, 5);
    EXPECT_TRUE(far->TVexaBase::Modified);
    // 0.5 × 1 ly is below one light year: it stays.
    EXPECT_EQ(near->Y, 1);
    EXPECT_FALSE(near->TVexaBase::Modified);

    s.RotateSelectedAroundCamera(0, 90, 0);
    EXPECT_NEAR(far->X, 0, 1e-9);
    EXPECT_NEAR(far->Z, 5, 1e-9);
    EXPECT_EQ(other->Z, 4);
    EXPECT_FALSE(other->TVexaBase::Modified);
}

TEST(SavedViews, AddReplaceListAndDelete)
{
    TVexaSector s;
    s.Camera = {1, 2, 3};
    s.FilterStyle = SECTOR_FILTER_NOLABEL;
    s.FilterPopulation = 500;
    s.AddCurrentViewAsView("Home");
    s.AddCurrentViewAsView("Away");
    s.Camera = {9, 9, 9};
    s.AddCurrentViewAsView("HOME");
    ASSERT_EQ(s.Views.size(), 2u);
    std::vector<std::string> names;
    s.ViewsToList(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Away", "HOME"}));
    EXPECT_EQ(s.FindView("home"), 1);
    EXPECT_EQ(s.Views[1]->Camera, (TVexaPoint{9, 9, 9}));
    EXPECT_EQ(s.Views[1]->FilterStyle, 0);
    EXPECT_EQ(s.Views[1]->FilterPopulation, 500);

    s.Camera = {};
    s.LoadView("Nowhere");
    EXPECT_EQ(s.Camera, (TVexaPoint{}));
    s.DeleteView("away");
    EXPECT_EQ(s.FindView("Away"), -1);
    s.ClearViews();
    EXPECT_TRUE(s.Views.empty());
}

TEST(SavedViews, LoadRestoresFiltersAndVisibilityLists)
{
    TVexaSector s;
    TStellarBody *poor = AddRoot(s, 0, 0, 0);
    poor->ChildPopulation = 10;
    TStellarBody *rebel = AddRoot(s, 1, 0, 0);
    rebel->ChildPopulation = 5000;
    rebel->PoliticalAffiliation = "Rebels";
    s.AddPolitical("Empire");
    s.AddPolitical("Rebels");
    s.CreateRouteSegment(poor, rebel, "Smuggling", "", 0, 0, 1);
    auto sub = TVexaSubsector::Create();
    sub->Name = "Old";
    sub->Visible = false;
    s.AddSubsector(std::move(sub));

    s.PoliticalList[static_cast<std::size_t>(s.FindPolitical("Empire"))].Visible = false;
    s.FilterPopulation = 1000;
    s.FilterHabitable = 1;
    s.FilterHideUnassignedSubsector = true;
    s.Camera = {7, 7, 7};
    s.Target = {1, 1, 1};
    s.AddCurrentViewAsView("Saved");

    // Change everything, and add names the view never saw.
    s.ShowAll();
    s.FilterHideUnassignedSubsector = false;
    s.FilterStyle = SECTOR_FILTER_NOLABEL;
    s.Camera = s.Target = {};
    s.AddPolitical("Pirates");
    s.CreateRouteSegment(poor, rebel, "Patrol", "", 0, 0, 1);
    s.Subsectors[0]->Visible = true;
    auto later = TVexaSubsector::Create();
    later->Name = "New";
    later->Visible = false;
    s.AddSubsector(std::move(later));

    s.LoadView("saved");
    EXPECT_EQ(s.Camera, (TVexaPoint{7, 7, 7}));
    EXPECT_EQ(s.Target, (TVexaPoint{1, 1, 1}));
    EXPECT_EQ(s.FilterPopulation, 1000);
    EXPECT_EQ(s.FilterHabitable, 1);
    EXPECT_TRUE(s.FilterHideUnassignedSubsector);
    EXPECT_EQ(s.FilterStyle, SECTOR_FILTER_NOLABEL);
    EXPECT_FALSE(s.PoliticalList[static_cast<std::size_t>(s.FindPolitical("Empire"))].Visible);
    EXPECT_TRUE(s.PoliticalList[static_cast<std::size_t>(s.FindPolitical("Rebels"))].Visible);
    EXPECT_FALSE(s.PoliticalList[static_cast<std::size_t>(s.FindPolitical("Pirates"))].Visible);
    EXPECT_TRUE(s.RouteTypeList[static_cast<std::size_t>(s.FindRouteType("Smuggling"))].Visible);
    EXPECT_FALSE(s.RouteTypeList[static_cast<std::size_t>(s.FindRouteType("Patrol"))].Visible);
    EXPECT_FALSE(s.Subsectors[0]->Visible);
    EXPECT_TRUE(s.Subsectors[1]->Visible);
    // The filters ran: the routes of the unknown type are hidden now.
    EXPECT_TRUE(s.GetRoute(0)->Visible);
    EXPECT_FALSE(s.GetRoute(1)->Visible);
    EXPECT_FALSE(poor->Visible);
}
