#include "graphics/RenderSectorNG.h"
#include "graphics/ZentImages.h"

#include "GraphicsFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvion {
namespace {

using test::AddRoot;
using test::PixelAt;

QImage DrawMap(TRenderSectorNG &r, int w, int h)
{
    r.PageWidth = w;
    r.PageHeight = h;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    TZentGraphics g(&img);
    r.Draw(g);
    g.Finish();
    return img;
}

TEST(RenderSector, ARootLandsAtItsPixelInEachPlaneInItsOwnColour)
{
    const TColor colour = ColorRGB(250, 120, 10); // red and blue far apart
    for (int plane : {MAP_PLANE_XY, MAP_PLANE_XZ, MAP_PLANE_YZ}) {
        TVexaSector sector;
        sector.SizeX = sector.SizeY = sector.SizeZ = 20;
        TStellarBody *b = AddRoot(sector, "Marker", BODY_TYPE_STAR, 3, 4, -6);
        b->Color = colour;
        TRenderSectorNG r(sector);
        r.Plane = plane;
        r.ColorMode = MAP_MODE_COLOR_BLACK;
        r.ShowGrid = false;
        r.SystemFactor = 5;
        const QImage img = DrawMap(r, 400, 400);
        // k = 20 px per light year; y grows upwards on the map.
        double mx = 3, my = 4;
        if (plane == MAP_PLANE_XZ)
            mx = 3, my = 6;
        if (plane == MAP_PLANE_YZ)
            mx = 6, my = 4;
        const int x = static_cast<int>(20 * (10 + mx));
        const int y = static_cast<int>(20 * (20 - (10 + my)));
        EXPECT_EQ(r.ProjectedPixel(3, 4, -6), QPoint(x, y)) << "plane " << plane;
        EXPECT_EQ(PixelAt(img, x, y), colour) << "plane " << plane;
        EXPECT_EQ(PixelAt(img, 400 - x, 400 - y), ColorRGB(0, 0, 0)) << "plane " << plane;
    }
}

TEST(RenderSector, DepthScalingOrdersDiscSizes)
{
    TVexaSector sector;
    sector.SizeX = sector.SizeY = sector.SizeZ = 20;
    AddRoot(sector, "Far", BODY_TYPE_STAR, -6, 0, -10);
    AddRoot(sector, "Mid", BODY_TYPE_STAR, 0, 0, 0);
    AddRoot(sector, "Near", BODY_TYPE_STAR, 6, 0, 10);
    TRenderSectorNG r(sector);
    r.ScaleByDepth = true;
    r.ShowGrid = false;
    r.ShowLabels = false;
    r.ColorMode = MAP_MODE_BLACKWHITE;
    r.SystemFactor = 4;
    const QImage img = DrawMap(r, 1000, 1000);
    EXPECT_EQ(r.SystemRadius(-10), static_cast<int>(r.MinRadius));
    EXPECT_EQ(r.SystemRadius(10), static_cast<int>(r.MaxRadius));
    auto darkInRow = [&](int cx) {
        int n = 0;
        for (int x = cx - 60; x <= cx + 60; ++x)
            n += QColor(img.pixel(x, 500)).lightness() < 128;
        return n;
    };
    const int far = darkInRow(200), mid = darkInRow(500), near = darkInRow(800);
    EXPECT_LT(far, mid);
    EXPECT_LT(mid, near);
    EXPECT_GT(far, 0);
}

TEST(RenderSector, TheFrameAndGridUseTheGridColour)
{
    TVexaSector sector;
    sector.SizeX = sector.SizeY = sector.SizeZ = 10;
    sector.GridColor = ColorRGB(30, 160, 220);
    TRenderSectorNG r(sector);
    r.ColorMode = MAP_MODE_COLOR_WHITE;
    const QImage img = DrawMap(r, 500, 500);
    EXPECT_EQ(PixelAt(img, 3, 250), ColorRGB(30, 160, 220));
    EXPECT_EQ(PixelAt(img, 250, 496), ColorRGB(30, 160, 220));
    // A light-year line at map x = 3 (150 px) away from labels.
    // (anti-aliased: a 1-pixel line on a pixel edge tints the two pixels beside it)
    const TColor line = PixelAt(img, 150, 275);
    EXPECT_NE(line, ColorRGB(255, 255, 255));
    EXPECT_GT(ColorBlue(line), ColorRed(line) + 40);
    EXPECT_EQ(PixelAt(img, 175, 275), ColorRGB(255, 255, 255));

    // White grids turn grey on white paper; console view is all red.
    sector.GridColor = ColorRGB(255, 255, 255);
    EXPECT_EQ(r.GridColour(), ColorRGB(128, 128, 128));
    EXPECT_EQ(r.RouteColour(1, 1, 1), ColorRGB(128, 128, 128));
    EXPECT_EQ(r.RouteColour(1.0, 0.5, 7.0), ColorRGB(255, 127, 255));
    r.ColorMode = MAP_MODE_COLOR_BLACK;
    EXPECT_EQ(r.RouteColour(-1, 0.999, 0.5), ColorRGB(0, 254, 127));
    r.ColorMode = MAP_MODE_CONSOLE;
    EXPECT_EQ(r.GridColour(), ColorRGB(255, 0, 0));
}

// A damaged file's absurd size must not make the grid draw for ever: such a
// map is drawn without its grid (this test hangs without the guard).
TEST(RenderSector, AnAbsurdSizeIsDrawnWithoutAGrid)
{
    TVexaSector sector;
    sector.GridColor = ColorRGB(30, 160, 220);
    for (double size : {1.0e308, 1.0e9, std::nan("")}) {
        sector.SizeX = sector.SizeY = sector.SizeZ = size;
        TRenderSectorNG r(sector);
        r.ColorMode = MAP_MODE_COLOR_WHITE;
        r.ShowGrid = true;
        const QImage img = DrawMap(r, 200, 200);
        EXPECT_EQ(PixelAt(img, 100, 100), ColorRGB(255, 255, 255)) << size;
    }
}

TEST(RenderSector, LabelsCarryTheTruncatedHeight)
{
    TVexaSector sector;
    TRenderSectorNG r(sector);
    EXPECT_EQ(r.SystemLabelText(*AddRoot(sector, "Up", 1, 0, 0, 12.7)), "Up (+12)");
    EXPECT_EQ(r.SystemLabelText(*AddRoot(sector, "Down", 1, 0, 0, -3.2)), "Down (-3)");
    EXPECT_EQ(r.SystemLabelText(*AddRoot(sector, "Flat", 1, 0, 0, 0.4)), "Flat (0)");
    r.Plane = MAP_PLANE_XZ;
    EXPECT_EQ(r.SystemLabelText(*AddRoot(sector, "Side", 1, 0, 1500.2, 0)), "Side (+1,500)");
}

TEST(RenderSector, CrowdedLabelsTakeTheNextFreePlace)
{
    TVexaSector sector;
    sector.SizeX = sector.SizeY = sector.SizeZ = 20;
    AddRoot(sector, "Alpha", 1, 0, 0, 0);
    AddRoot(sector, "Beta", 1, 0, 0, 0.1);
    AddRoot(sector, "Gamma", 1, 0, 0, 0.2);
    TRenderSectorNG r(sector);
    DrawMap(r, 600, 600);
    EXPECT_EQ(r.PlacedLabels.Count(), 3);
    TPlacedLabels labels;
    labels.Add(QRect(10, 10, 50, 10));
    EXPECT_TRUE(labels.Intersects(QRect(55, 15, 10, 10)));
    EXPECT_FALSE(labels.Intersects(QRect(61, 15, 10, 10)));
    labels.Add(QRect(-300, -300, 20, 20));
    EXPECT_TRUE(labels.Intersects(QRect(-290, -290, 2, 2)));
}

TEST(RenderSector, RouteSegmentsNeedBothSystemsVisible)
{
    TVexaSector sector;
    sector.SizeX = sector.SizeY = sector.SizeZ = 20;
    TStellarBody *a = AddRoot(sector, "A", 1, -8, 5, 0);
    TStellarBody *b = AddRoot(sector, "B", 1, 0, 5, 0);
    TStellarBody *c = AddRoot(sector, "C", 1, 8, 5, 0);
    b->Visible = false;
    auto route = TStellarRoute::Create();
    route->Red = 0.0, route->Green = 0.0, route->Blue = 1.0;
    route->LineWidth = 3;
    route->AddSystem(a);
    route->AddSystem(b);
    route->AddSystem(c);
    sector.Routes.push_back(std::move(route));
    TRenderSectorNG r(sector);
    r.ColorMode = MAP_MODE_COLOR_WHITE;
    r.ShowGrid = false;
    r.ShowLabels = false;
    QImage img = DrawMap(r, 400, 400);
    const int y = r.ProjectedPixel(0, 5, 0).y();
    EXPECT_EQ(PixelAt(img, r.ProjectedPixel(-4, 5, 0).x(), y), ColorRGB(255, 255, 255));
    b->Visible = true;
    img = DrawMap(r, 400, 400);
    EXPECT_EQ(PixelAt(img, r.ProjectedPixel(-4, 5, 0).x(), y), ColorRGB(0, 0, 255));
}

TEST(RenderSector, ExportsKeepTheMapProportions)
{
    TVexaSector sector;
    sector.SizeX = 20, sector.SizeY = 40, sector.SizeZ = 10;
    AddRoot(sector, "Solo", 1, 1, 1, 1);
    EXPECT_EQ(MapExportHeight(sector, MAP_PLANE_XY, 500), 1000);
    EXPECT_EQ(MapExportHeight(sector, MAP_PLANE_XZ, 500), 250);
    EXPECT_EQ(MapExportHeight(sector, MAP_PLANE_YZ, 500), 2000);
    const std::string dir = test::PictureDir();
    std::string error;
    ASSERT_TRUE(Export2D(sector, dir + "/tall.png", 1, 0, 500, 1, 1, true, false, true, &error)) << error;
    const QImage tall(QString::fromStdString(dir + "/tall.png"));
    EXPECT_EQ(tall.size(), QSize(500, 1000));
    // The file claims 96 dots per inch whatever screen the program runs on.
    EXPECT_EQ(tall.dotsPerMeterX(), PICTURE_DOTS_PER_METRE);
    EXPECT_EQ(tall.dotsPerMeterY(), PICTURE_DOTS_PER_METRE);
    sector.SizeY = 20;
    ASSERT_TRUE(Export2D(sector, dir + "/cube.png", 1, 0, 500, 1, 1, true, false, true, &error)) << error;
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/cube.png")).size(), QSize(500, 500));
    EXPECT_FALSE(Export2D(sector, dir + "/map.EMF", 1, 0, 500, 1, 1, true, false, true, &error));
    EXPECT_NE(error.find("svg"), std::string::npos);
    ASSERT_TRUE(Export2D(sector, dir + "/map.svg", 1, 0, 500, 1, 1, true, false, true, &error)) << error;

    // A zero-width map draws nothing and does not divide by zero.
    sector.SizeX = 0;
    TRenderSectorNG r(sector);
    EXPECT_EQ(PixelAt(DrawMap(r, 50, 50), 25, 25), ColorRGB(255, 255, 255));
}

TEST(RenderSector, GeneratedSectorPicture)
{
    auto sector = test::GeneratedSector(150, 30, 777);
    sector->GridColor = ColorRGB(70, 90, 160);
    std::string error;
    const std::string dir = test::PictureDir();
    ASSERT_TRUE(Export2D(*sector, dir + "/sector-map.png", MAP_MODE_COLOR_BLACK, MAP_PLANE_XY, 1000, 1, 1, true,
                         true, true, &error))
        << error;
    ASSERT_TRUE(Export2D(*sector, dir + "/sector-map-bw-xz.png", MAP_MODE_BLACKWHITE, MAP_PLANE_XZ, 1000, 1, 1,
                         true, false, true, &error))
        << error;
    EXPECT_EQ(QImage(QString::fromStdString(dir + "/sector-map.png")).size(), QSize(1000, 1000));
}

} // namespace
} // namespace kalvion
