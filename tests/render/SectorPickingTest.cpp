// Screen data written by a frame and the picking that reads them.
#include "GLFrame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvion::test {
namespace {

// The window position of a point seen from (0, 0, d) towards the origin, by
// the pinhole formula rather than the renderer's matrices.
QPointF Analytic(double x, double y, double z, double d)
{
    const double f = 1 / std::tan(22.5 * 3.14159265358979323846 / 180);
    const double depth = d - z;
    return {400 + 400 * (x / depth) * f / (800.0 / 600), 300 + 300 * (y / depth) * f};
}

TEST(SectorPicking, ScreenDataMatchTheAnalyticProjection)
{
    auto sector = EmptySector(40);
    TStellarBody *a = AddRoot(*sector, "A", 3, 2, 0);
    TStellarBody *b = AddRoot(*sector, "B", -7.25, -4.5, 6);
    TRenderSectorOGL renderer;
    ASSERT_FALSE(DrawFrame(renderer, *sector).isNull());
    for (TStellarBody *s : {a, b}) {
        const QPointF p = Analytic(s->X, s->Y, s->Z, 40);
        EXPECT_EQ(s->RasterX, std::nearbyint(p.x())) << s->Name;
        EXPECT_EQ(s->RasterY, std::nearbyint(p.y())) << s->Name;
        EXPECT_DOUBLE_EQ(s->Depth, std::sqrt(s->X * s->X + s->Y * s->Y + (40 - s->Z) * (40 - s->Z)));
        EXPECT_EQ(s->HitRect.Left, s->RasterX - 3);
        EXPECT_EQ(s->HitRect.Top, s->RasterY - 3);
        EXPECT_EQ(s->HitRect.Right, s->RasterX + 3);
        EXPECT_EQ(s->HitRect.Bottom, s->RasterY + 3);
    }
    // Three pixels away still hits; four misses.
    EXPECT_EQ(sector->BodyAtXY(a->RasterX + 3, a->RasterY - 3), a);
    EXPECT_EQ(sector->BodyAtXY(a->RasterX + 4, a->RasterY), nullptr);
    EXPECT_EQ(sector->BodyAtXY(a->RasterX, a->RasterY - 4), nullptr);
}

TEST(SectorPicking, NoRasterModeWritesMinusOne)
{
    auto sector = EmptySector(40);
    TStellarBody *a = AddRoot(*sector, "A", 1, 1, 0);
    TRenderSectorOGL renderer;
    renderer.NoRaster = true;
    DrawFrame(renderer, *sector);
    EXPECT_EQ(a->RasterX, -1);
    EXPECT_EQ(a->RasterY, -1);
    EXPECT_EQ(a->HitRect.Left, -1);
    EXPECT_EQ(a->HitRect.Bottom, -1);
}

TEST(SectorPicking, NearerOfTwoOnOneLineOfSightWins)
{
    auto sector = EmptySector(40);
    TStellarBody *far = AddRoot(*sector, "Far", 0, 0, -10);
    TStellarBody *near = AddRoot(*sector, "Near", 0, 0, 10);
    TRenderSectorOGL renderer;
    DrawFrame(renderer, *sector);
    EXPECT_EQ(far->RasterX, near->RasterX);
    EXPECT_EQ(sector->BodyAtXY(near->RasterX, near->RasterY), near);
}

TEST(SectorPicking, HiddenSystemsAreNotPickableLabelHiddenOnesAre)
{
    auto sector = EmptySector(40);
    TStellarBody *a = AddRoot(*sector, "A", 2, 0, 0);
    a->Visible = false;
    TRenderSectorOGL renderer;
    sector->FilterStyle = SECTOR_FILTER_HIDE;
    a->HitRect = {-1, -1, -1, -1};
    DrawFrame(renderer, *sector);
    const QPointF p = Analytic(2, 0, 0, 40);
    EXPECT_EQ(sector->BodyAtXY(static_cast<int>(std::nearbyint(p.x())), static_cast<int>(std::nearbyint(p.y()))),
              nullptr);
    sector->FilterStyle = SECTOR_FILTER_NOLABEL;
    DrawFrame(renderer, *sector);
    EXPECT_EQ(sector->BodyAtXY(a->RasterX, a->RasterY), a);
}

TEST(SectorPicking, CulledAndDegenerateRootsGetNoScreenData)
{
    auto sector = EmptySector(40);
    TStellarBody *behind = AddRoot(*sector, "Behind", 0, 0, 80);
    TStellarBody *onCamera = AddRoot(*sector, "OnCamera", 0, 0, 40);
    TStellarBody *ahead = AddRoot(*sector, "Ahead", 0, 0, 0);
    TRenderSectorOGL renderer;
    DrawFrame(renderer, *sector);
    EXPECT_EQ(behind->HitRect.Left, -1);
    EXPECT_EQ(onCamera->RasterX, -1);
    EXPECT_EQ(onCamera->HitRect.Right, -1);
    EXPECT_EQ(ahead->RasterX, 400);

    // A camera standing on its target has no view vector: nothing is projected.
    sector->Target = sector->Camera;
    ASSERT_FALSE(DrawFrame(renderer, *sector).isNull());
    for (TStellarBody *s : {behind, onCamera, ahead}) {
        EXPECT_EQ(s->RasterX, -1) << s->Name;
        EXPECT_EQ(s->HitRect.Left, -1) << s->Name;
    }
}

} // namespace
} // namespace kalvion::test
