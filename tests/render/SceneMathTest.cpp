// Camera maths, projection and the plain rules of the 3D sector view.
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "render/RenderSectorOGL.h"
#include "render/RenderSources.h"
#include "render/SceneController3D.h"
#include "render/SceneMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvion {
namespace {

TSceneProjection Frame(const TVexaPoint &eye, const TVexaPoint &target, int w = 800, int h = 600)
{
    return TSceneProjection(LookAtMatrix(eye, target, {0, 1, 0}),
                            PerspectiveMatrix(45, static_cast<double>(w) / h, 0.1, 1000000), 0, 0, w, h);
}

TEST(SceneMath, ProjectsLikeTheAnalyticPinholeCamera)
{
    const TSceneProjection p = Frame({0, 0, 30}, {0, 0, 0});
    const double f = 1 / std::tan(22.5 * 3.14159265358979323846 / 180);
    for (const TVexaPoint &q : {TVexaPoint{0, 0, 0}, TVexaPoint{2, 1, 0}, TVexaPoint{-3, 4, -5}}) {
        TWindowPoint w;
        ASSERT_TRUE(p.Project(q.X, q.Y, q.Z, w));
        const double depth = 30 - q.Z;
        EXPECT_NEAR(w.X, 400 + 400 * (q.X / depth) * f / (800.0 / 600), 1e-9);
        EXPECT_NEAR(w.Y, 300 + 300 * (q.Y / depth) * f, 1e-9);
        EXPECT_TRUE(w.InView);
        EXPECT_TRUE(w.InFront);
    }
    TWindowPoint behind;
    ASSERT_TRUE(p.Project(0, 0, 40, behind));
    EXPECT_FALSE(behind.InFront);
    EXPECT_FALSE(behind.InView);
}

TEST(SceneMath, CameraAxesAreTheModelviewRows)
{
    // Looking down -X from +X: the camera's right is -Z, its up +Y.
    const TSceneProjection p = Frame({10, 0, 0}, {0, 0, 0});
    const TVexaPoint r = p.CameraRight(), u = p.CameraUp();
    EXPECT_NEAR(r.X, 0, 1e-12);
    EXPECT_NEAR(r.Z, -1, 1e-12);
    EXPECT_NEAR(u.Y, 1, 1e-12);
}

TEST(SceneMath, DegenerateCamerasGiveFiniteMatrices)
{
    // On its target, and looking straight down the up vector.
    for (const auto &[eye, target] : {std::pair{TVexaPoint{1, 2, 3}, TVexaPoint{1, 2, 3}},
                                      std::pair{TVexaPoint{0, 10, 0}, TVexaPoint{0, 0, 0}}}) {
        const TMatrix4 m = LookAtMatrix(eye, target, {0, 1, 0});
        for (double v : m)
            EXPECT_TRUE(std::isfinite(v));
    }
    TWindowPoint w;
    EXPECT_TRUE(Frame({0, 10, 0}, {0, 0, 0}).Project(0, 0, 0, w));
    EXPECT_NEAR(w.X, 400, 1e-9);
    EXPECT_NEAR(w.Y, 300, 1e-9);
}

TEST(SceneController, OrbitsZoomsAndResets)
{
    TZentSceneController3D c;
    EXPECT_EQ(c.Distance, 10);
    EXPECT_EQ(c.Longitude, 90);
    const TVexaPoint eye = c.Eye();  // longitude 90: on +Z
    EXPECT_NEAR(eye.X, 0, 1e-12);
    EXPECT_NEAR(eye.Z, 10, 1e-12);
    c.Rotate(400, 120);
    EXPECT_EQ(c.Latitude, 90);
    EXPECT_EQ(c.Longitude, 490);
    c.Rotate(0, -300);
    EXPECT_EQ(c.Latitude, -90);
    c.Zoom(50);
    EXPECT_EQ(c.Distance, 100);
    c.Zoom(0.001);
    EXPECT_EQ(c.Distance, 1);
    c.SetDefaults(20, 0, 90);
    c.ResetToDefaults();
    EXPECT_EQ(c.Distance, 20);
    EXPECT_EQ(c.Latitude, 0);
    EXPECT_EQ(c.Longitude, 90);
}

TEST(SectorViewRules, FarPointColourFactor)
{
    EXPECT_NEAR(FarPointFactor(20, 1), (150 - 10) * 0.00666, 1e-12);
    EXPECT_NEAR(FarPointFactor(30, 4), (300 - 20) * 0.00666, 1e-12);  // base 150·√4
    EXPECT_NEAR(FarPointFactor(30, 0.5), (150 - 20) * 0.00666, 1e-12);
    EXPECT_EQ(FarPointFactor(500, 1), 0.2);
}

TEST(SectorViewRules, StipplesKeysAndGridGuard)
{
    EXPECT_EQ(RouteStipplePattern(ROUTE_LINE_DASH), 0x00FF);
    EXPECT_EQ(RouteStipplePattern(ROUTE_LINE_SHORTDASH), 0x0F0F);
    EXPECT_EQ(RouteStipplePattern(ROUTE_LINE_LONGSHORT), 0xFE38);
    EXPECT_EQ(RouteStipplePattern(ROUTE_LINE_LONGSHORTSHORT), 0xFCCC);
    EXPECT_EQ(RouteStipplePattern(99), 0x00FF);

    // The key keeps the raw step: a 0 step draws as 5° but is cached as 0.
    EXPECT_EQ(SphereGridKey(25, 0, true), "grid25-0-1");
    EXPECT_EQ(SphereGridKey(12.5, 7.5, false), "grid12.5-7.5-0");

    EXPECT_EQ(CubeLatticeCells(100, 100, 100, 5, 5, 5), 8000);
    EXPECT_GT(CubeLatticeCells(100, 100, 100, 4, 5, 5), 8000);
    EXPECT_LT(CubeLatticeCells(100, 100, 100, 0.4, 5, 5), 0);  // rounds to 0
    EXPECT_LT(CubeLatticeCells(10, 10, 10, 0.5, 1, 1), 0);  // 0.5 rounds half to even: 0
    EXPECT_GT(CubeLatticeCells(10, 10, 10, 1.5, 1, 1), 0);  // 1.5 rounds to 2
}

TEST(SectorViewRules, RenderInfoFollowsTheBody)
{
    TStellarBody body;
    body.Color = ColorRGB(255, 0, 51);
    body.Luminosity = 4;
    body.InitRenderInfo();
    ASSERT_TRUE(body.RenderInfo());
    EXPECT_EQ(body.RenderInfo()->Red, 1.0);
    EXPECT_EQ(body.RenderInfo()->Blue, 0.2);
    EXPECT_EQ(body.RenderInfo()->SizeFactor, 2);
    EXPECT_FALSE(body.RenderInfo()->HasModel);
    body.RenderInfo()->ModelFailed = true;
    body.InitRenderInfo();  // unchanged body: the failure is remembered
    EXPECT_TRUE(body.RenderInfo()->ModelFailed);
    body.Color = ColorRGB(0, 255, 0);
    body.InitRenderInfo();  // recoloured: rebuilt
    EXPECT_EQ(body.RenderInfo()->Green, 1.0);
    EXPECT_FALSE(body.RenderInfo()->ModelFailed);
}

TEST(SectorViewRules, ANewTypeLoadsTheModelOfThatType)
{
    // The default models of the types, by type.
    struct TSource final : TRenderModelSource {
        int Loads = 0;
        int LoadModel(const TStellarBody &body) override
        {
            ++Loads;
            return body.TypeID == BODY_TYPE_STATION ? 1 : body.TypeID == BODY_TYPE_SHIP ? 2 : -1;
        }
        void DrawModel(int) override {}
    } source;
    TStellarBody body;
    body.TypeID = BODY_TYPE_STATION;
    EXPECT_EQ(BodyModelIndex(&source, body, 0), 1);
    EXPECT_EQ(BodyModelIndex(&source, body, 0), 1);
    EXPECT_EQ(source.Loads, 1);
    body.TypeID = BODY_TYPE_SHIP;
    EXPECT_EQ(BodyModelIndex(&source, body, 0), 2);
    // A type without a model fails once, and a type that has one again loads it.
    body.TypeID = BODY_TYPE_STAR;
    EXPECT_EQ(BodyModelIndex(&source, body, 0), -1);
    EXPECT_TRUE(body.RenderInfo()->ModelFailed);
    body.TypeID = BODY_TYPE_STATION;
    EXPECT_EQ(BodyModelIndex(&source, body, 0), 1);
    EXPECT_EQ(source.Loads, 4);
}

TEST(SectorViewRules, PreviewHitTestsWithoutAPreview)
{
    TRenderSectorOGL renderer;
    EXPECT_FALSE(renderer.PointInPreview(10, 10));
    EXPECT_FALSE(renderer.PointInPreviewCorner(290, 290));
    EXPECT_EQ(renderer.PreviewRect()[0], -1);
    EXPECT_EQ(renderer.PreviewCamera.DefaultDistance, 20);
    EXPECT_EQ(renderer.PreviewCamera.MinimumDistance, 10);
    EXPECT_EQ(renderer.PreviewCamera.MaximumDistance, 200);
}

} // namespace
} // namespace kalvion
