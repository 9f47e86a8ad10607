// Frames of the 3D sector view read back pixel by pixel.
#include "GLFrame.h"

#include "model/ImageResources.h"
#include "model/Subsector.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>

#include <cmath>

namespace kalvion::test {
namespace {

QColor Brightest(const QImage &image, QPoint around, int radius, QPoint *where)
{
    QColor best(0, 0, 0);
    for (int y = around.y() - radius; y <= around.y() + radius; ++y)
        for (int x = around.x() - radius; x <= around.x() + radius; ++x) {
            const QColor c(image.pixel(x, y));
            if (c.red() + c.green() + c.blue() > best.red() + best.green() + best.blue()) {
                best = c;
                *where = {x, y};
            }
        }
    return best;
}

TEST(SectorFrame, FarRootAtTheTargetIsAPointAtTheCentre)
{
    auto sector = EmptySector(30);
    TStellarBody *star = AddRoot(*sector, "Centre", 0, 0, 0);
    star->LabelDistance = 0;  // the point alone
    TRenderSectorOGL renderer;
    const QImage frame = DrawFrame(renderer, *sector);
    ASSERT_FALSE(frame.isNull());
    QPoint at;
    const QColor c = Brightest(frame, {400, 300}, 3, &at);
    // Window centre (400, 300) from the bottom is row 299.5 from the top.
    EXPECT_LE(std::abs(at.x() - 400), 1);
    EXPECT_LE(std::abs(at.y() - 299), 1);
    const int expected = static_cast<int>(std::lround(255 * FarPointFactor(30, 1)));
    EXPECT_NEAR(c.red(), expected, 2);
    EXPECT_NEAR(c.green(), expected, 2);
    EXPECT_NEAR(c.blue(), expected, 2);
    // Nothing else is lit.
    EXPECT_EQ(CountPixels(frame, frame.rect(), [](QColor p) { return p.value() > 20; }), 1);
}

TEST(SectorFrame, MarkerSphereKeepsRedAndTurnsYellowWhenSelected)
{
    auto sector = EmptySector(15);
    TStellarBody *star = AddRoot(*sector, "Red", 0, 0, 0, ColorRGB(255, 0, 0));
    star->LabelDistance = 0;
    TRenderSectorOGL renderer;
    QImage frame = DrawFrame(renderer, *sector);
    ASSERT_FALSE(frame.isNull());
    QPoint at;
    QColor c = Brightest(frame, {400, 300}, 3, &at);
    EXPECT_EQ(c, QColor(255, 0, 0));
    sector->SelectBody(star);
    frame = DrawFrame(renderer, *sector);
    c = Brightest(frame, {400, 300}, 3, &at);
    EXPECT_EQ(c, QColor(255, 255, 0));
}

TEST(SectorFrame, SelectedRootFarAwayIsAYellowSphereNotAPoint)
{
    auto sector = EmptySector(25);
    TStellarBody *star = AddRoot(*sector, "Far", 0, 0, 0);
    star->LabelDistance = 0;
    sector->SelectBody(star);
    TRenderSectorOGL renderer;
    const QImage frame = DrawFrame(renderer, *sector);
    QPoint at;
    EXPECT_EQ(Brightest(frame, {400, 300}, 3, &at), QColor(255, 255, 0));
}

TEST(SectorFrame, RootAtExactlyTenGetsOnlyItsLabel)
{
    auto sector = EmptySector(10);
    TStellarBody *star = AddRoot(*sector, "Ten", 0, 0, 0);
    star->LabelDistance = 0;
    TRenderSectorOGL renderer;
    const QImage frame = DrawFrame(renderer, *sector);
    EXPECT_EQ(CountPixels(frame, frame.rect(), [](QColor p) { return p.value() > 0; }), 0);
}

TEST(SectorFrame, NearStarFlareLightsItsSurroundings)
{
    auto sector = EmptySector(3);
    TStellarBody *star = AddRoot(*sector, "Near", 0, 0, 0, ColorRGB(255, 220, 160));
    star->LabelDistance = 0;
    TRenderSectorOGL renderer;
    const QImage frame = DrawFrame(renderer, *sector);
    const int lit = CountPixels(frame, QRect(380, 280, 41, 41), [](QColor p) { return p.value() > 40; });
    EXPECT_GT(lit, 150);
    // The hit rectangle is the flare's billboard, centred on the star.
    EXPECT_LT(star->HitRect.Left, 395);
    EXPECT_GT(star->HitRect.Right, 405);
    EXPECT_LT(star->HitRect.Top, star->HitRect.Bottom);
}

TEST(SectorFrame, LabelsWithinTheirDistanceAndAlwaysWhenSelected)
{
    auto green = [](QColor p) { return p.green() > 120 && p.red() < 80 && p.blue() < 80; };
    auto yellow = [](QColor p) { return p.red() > 120 && p.green() > 120 && p.blue() < 80; };
    const QRect below(330, 300, 200, 60);
    for (double distance : {15.0, 25.0}) {
        auto sector = EmptySector(distance);
        TStellarBody *star = AddRoot(*sector, "Vega Prime", 0, 0, 0);
        star->LabelColor = ColorRGB(0, 255, 0);
        star->LabelDistance = 20;
        TRenderSectorOGL renderer;
        QImage frame = DrawFrame(renderer, *sector);
        if (distance < 20)
            EXPECT_GT(CountPixels(frame, below, green), 20) << distance;
        else
            EXPECT_EQ(CountPixels(frame, below, green), 0) << distance;
        sector->SelectBody(star);
        frame = DrawFrame(renderer, *sector);
        EXPECT_GT(CountPixels(frame, below, yellow), 20) << distance;
    }
}

TEST(SectorFrame, DeepSpaceObjectOutsideItsIntensityRangeDrawsAtFull)
{
    auto sector = EmptySector(30);
    TStellarBody *dso = AddRoot(*sector, "Nebula", 0, 0, 0, ColorRGB(200, 100, 50));
    dso->TypeID = BODY_TYPE_DSO;
    dso->LabelDistance = 0;
    TRenderSectorOGL renderer;
    for (int intensity : {0, 250, 100}) {
        dso->DSOIntensity = intensity;
        const QImage frame = DrawFrame(renderer, *sector);
        QPoint at;
        EXPECT_EQ(Brightest(frame, {400, 300}, 3, &at), QColor(200, 100, 50)) << intensity;
        EXPECT_EQ(dso->DSOIntensity, intensity);
    }
    dso->DSOIntensity = 50;
    const QImage half = DrawFrame(renderer, *sector);
    QPoint at;
    EXPECT_NEAR(Brightest(half, {400, 300}, 3, &at).red(), 100, 1);
}

TEST(SectorFrame, GridsStatusTextAndSubsectorsDraw)
{
    auto sector = EmptySector(60);
    sector->GridsEnabled = true;
    sector->GridStyle = GRID_STYLE_CUBE;
    sector->GridX = sector->GridY = sector->GridZ = 10;
    sector->RenderMessageBig = "Generating Sector: 50% complete.  Hit Escape to cancel";
    TRenderSectorOGL renderer;
    QImage frame = DrawFrame(renderer, *sector);
    // The box edges are white, the lattice grey, the status text white at the top left.
    EXPECT_GT(CountPixels(frame, frame.rect(), [](QColor p) { return p.value() > 200; }), 500);
    EXPECT_GT(CountPixels(frame, QRect(15, 10, 300, 30), [](QColor p) { return p.value() > 200; }), 40);

    // A sphere grid whose step is 0 draws at 5° and is cached under the raw step.
    sector->GridStyle = GRID_STYLE_SPHERE;
    sector->GridTick = 0;
    sector->RenderMessageBig.clear();
    const int before = renderer.GridListsCompiled();
    frame = DrawFrame(renderer, *sector);
    EXPECT_EQ(renderer.GridListsCompiled(), before + 1);
    EXPECT_GT(CountPixels(frame, frame.rect(), [](QColor p) { return p.value() > 60; }), 1000);

    // Two subsectors with the same sphere grid share one list per frame.
    sector->GridsEnabled = false;
    for (int i = 0; i < 2; ++i) {
        auto sub = std::make_unique<TVexaSubsector>();
        sub->Name = "Ring " + std::to_string(i);
        sub->Visible = sub->ShowGrid = true;
        sub->Shape = VEXA_SUBSECTOR_SPHERE;
        sub->SizeX = 8;
        sub->GridTick = 15;
        sub->X = i * 10.0 - 5;
        sub->Color = ColorRGB(0, 200, 255);
        sector->AddSubsector(std::move(sub));
    }
    const int compiled = renderer.GridListsCompiled();
    frame = DrawFrame(renderer, *sector);
    EXPECT_EQ(renderer.GridListsCompiled(), compiled + 1);
    EXPECT_EQ(renderer.GridListCount(), 0u);  // emptied at the end of the frame
    EXPECT_GT(CountPixels(frame, QRect(0, 0, 400, 600), [](QColor p) { return p.blue() > 150; }), 200);
    EXPECT_GT(CountPixels(frame, QRect(400, 0, 400, 600), [](QColor p) { return p.blue() > 150; }), 200);
}

TEST(SectorFrame, TinySubsectorLatticeIsSkippedNotDrawnForEver)
{
    auto sector = EmptySector(60);
    auto sub = std::make_unique<TVexaSubsector>();
    sub->Visible = sub->ShowGrid = true;
    sub->Shape = VEXA_SUBSECTOR_RECT;
    sub->SizeX = sub->SizeY = sub->SizeZ = 1e6;
    sub->GridX = sub->GridY = sub->GridZ = 1e-6;
    sector->AddSubsector(std::move(sub));
    TRenderSectorOGL renderer;
    EXPECT_FALSE(DrawFrame(renderer, *sector).isNull());
}

TEST(SectorFrame, RoutesDrawBetweenTheirSystems)
{
    auto sector = EmptySector(30);
    TStellarBody *a = AddRoot(*sector, "A", -6, 0, 0);
    TStellarBody *b = AddRoot(*sector, "B", 6, 0, 0);
    a->LabelDistance = b->LabelDistance = 0;
    TStellarRoute *route = sector->CreateRouteSegment(a, b, "Trade", "Spinward Run", ColorRGB(255, 0, 255),
                                                      ROUTE_LINE_SOLID, 2);
    ASSERT_NE(route, nullptr);
    TRenderSectorOGL renderer;
    QImage frame = DrawFrame(renderer, *sector);
    const auto magenta = [](QColor p) { return p.red() > 150 && p.blue() > 150 && p.green() < 100; };
    EXPECT_GT(CountPixels(frame, QRect(300, 290, 200, 20), magenta), 100);
    EXPECT_NE(route->Waypoints[0]->RasterX, -1);
    // Out of route distance: not drawn, unless selected.
    a->RouteDistance = b->RouteDistance = 5;
    frame = DrawFrame(renderer, *sector);
    EXPECT_EQ(CountPixels(frame, QRect(300, 290, 200, 20), magenta), 0);
    route->Selected = true;
    frame = DrawFrame(renderer, *sector);
    const auto yellow = [](QColor p) { return p.red() > 150 && p.green() > 150 && p.blue() < 100; };
    EXPECT_GT(CountPixels(frame, QRect(300, 290, 200, 20), yellow), 100);
}

TEST(SectorFrame, PreviewInsetShowsAStarAndAskedCornerHits)
{
    auto sector = EmptySector(30);
    TStellarBody *star = AddRoot(*sector, "Sol", 0, 0, 0, ColorRGB(255, 240, 200));
    star->Spectral = "G2V";
    TRenderSectorOGL renderer;
    renderer.PreviewBody = star;
    const QImage frame = DrawFrame(renderer, *sector);
    const auto rect = renderer.PreviewRect();
    EXPECT_EQ(rect[0], 4);
    EXPECT_EQ(rect[1], 8);
    EXPECT_EQ(rect[2], 304);
    EXPECT_EQ(rect[3], 304);
    EXPECT_TRUE(renderer.PointInPreview(100, 100));
    EXPECT_TRUE(renderer.PointInPreviewCorner(300, 300));
    EXPECT_FALSE(renderer.PointInPreviewCorner(200, 200));
    // The frame colour (0, 0.5, 0.75) and the star in the middle of the inset.
    const auto frameBlue = [](QColor p) { return p.red() < 30 && std::abs(p.green() - 128) < 20 && p.blue() > 170; };
    EXPECT_GT(CountPixels(frame, QRect(0, 0, 320, 320), frameBlue), 300);
    EXPECT_GT(CountPixels(frame, QRect(130, 130, 50, 50), [](QColor p) { return p.value() > 100; }), 50);

    // A black hole gets only the frame; a planet whose ring has no scale draws no ring.
    star->TypeID = BODY_TYPE_BLACKHOLE;
    star->IDString = "{00000000-0000-0000-0000-000000000001}";
    const QImage hole = DrawFrame(renderer, *sector);
    EXPECT_EQ(CountPixels(hole, QRect(60, 60, 180, 180), [](QColor p) { return p.value() > 30; }), 0);
    star->TypeID = BODY_TYPE_GASGIANT;
    star->Radius = 0;
    auto ring = TStellarBody::Create();
    ring->TypeID = BODY_TYPE_RING;
    ring->Distance = 100000;
    star->AddChild(std::move(ring));
    EXPECT_FALSE(DrawFrame(renderer, *sector).isNull());
}

} // namespace
} // namespace kalvion::test

namespace kalvion::test {
namespace {

TEST(StarFlare, SpikesRaysAndSelectionFollowTheDistance)
{
    TOffscreenGL *gl = SharedGL();
    ASSERT_NE(gl, nullptr);
    ASSERT_TRUE(gl->MakeCurrent());
    TStarFlareOGL flare(0.05f, 32);
    flare.ViewerDistance = 5;
    flare.Selected = true;
    flare.Draw();
    EXPECT_EQ(flare.SpikeCount, 4);
    EXPECT_FALSE(flare.Selected);  // the next draw is unselected unless set again
    flare.ViewerDistance = 4.9;
    flare.Draw();
    EXPECT_EQ(flare.SpikeCount, 6);
    EXPECT_TRUE(TStarFlareOGL::RaysForDistance(4.9));
    EXPECT_FALSE(TStarFlareOGL::RaysForDistance(5));
}

} // namespace
} // namespace kalvion::test

namespace kalvion::test {
namespace {

TByteStream FilledPng(QColor colour)
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return TByteStream(bytes.begin(), bytes.end());
}

TEST(SectorFrame, PreviewInsetShowsTheNewSurfaceMapOfTheSameBody)
{
    auto sector = EmptySector(30);
    TStellarBody *planet = AddRoot(*sector, "Vesk VI", 20, 0, 0);
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Radius = 6000;
    planet->IDString = "{00000000-0000-4000-8000-0000000000A1}";
    const std::string name = planet->IDString + ".png";
    planet->PreviewImageFile = name;
    sector->ImageResources.AddResourceStream(name, FilledPng(QColor(255, 0, 0)), true);
    TRenderSectorOGL renderer;
    renderer.PreviewBody = planet;
    const QRect inset(40, 40, 220, 220);
    const auto red = [](QColor p) { return p.red() > 100 && p.green() < 40 && p.blue() < 40; };
    const auto blue = [](QColor p) { return p.blue() > 100 && p.red() < 40 && p.green() < 40; };
    QImage frame = DrawFrame(renderer, *sector);
    ASSERT_FALSE(frame.isNull());
    ASSERT_GT(CountPixels(frame, inset, red), 500);

    // A new map for the body: the inset shows it, not the texture made of
    // the old one.
    sector->ImageResources.AddResourceStream(name, FilledPng(QColor(0, 0, 255)), true);
    renderer.ForgetSurfaceTexture(planet->IDString);
    frame = DrawFrame(renderer, *sector);
    EXPECT_EQ(CountPixels(frame, inset, red), 0);
    EXPECT_GT(CountPixels(frame, inset, blue), 500);
}

} // namespace
} // namespace kalvion::test
