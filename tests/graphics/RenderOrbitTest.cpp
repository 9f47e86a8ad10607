#include "graphics/RenderOrbitNG.h"

#include "GraphicsFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvion {
namespace {

using test::AddChild;
using test::AddRoot;
using test::PixelAt;

bool DarkNear(const QImage &img, int x, int y, int reach = 2)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= img.width() || py >= img.height())
                continue;
            if (QColor(img.pixel(px, py)).lightness() < 120)
                return true;
        }
    return false;
}

struct StarSystem {
    TVexaSector sector;
    TStellarBody *star;
    StarSystem(int planets, double firstKm)
    {
        star = AddRoot(sector, "Helia", BODY_TYPE_STAR, 0, 0, 0);
        star->Mass = 1;
        star->Radius = 1;
        for (int i = 0; i < planets; ++i)
            AddChild(*star, "Helia " + std::string(1, static_cast<char>('b' + i)), BODY_TYPE_TERRESTRIAL,
                     firstKm * (i + 1) * (i + 1));
    }
};

TEST(RenderOrbit, TallSurfacesCentreASquareDiagram)
{
    StarSystem s(2, 1.0e8);
    TRenderOrbitNG r(s.sector, *s.star);
    r.ComputeExtent(0, 1000, 1500);
    EXPECT_EQ(r.Size, 1000);
    EXPECT_EQ(r.OffsetX, 0);
    EXPECT_EQ(r.OffsetY, 250);
    EXPECT_EQ(r.ChildCount, 2);
}

TEST(RenderOrbit, OrbitCirclesFallAtTheirComputedRadius)
{
    StarSystem s(3, 5.0e7);
    TRenderOrbitNG r(s.sector, *s.star);
    const QImage img = r.Render(800, 800, 0);
    const int cx = r.PX(0), cy = r.PY(0);
    EXPECT_NEAR(cx, 400, 2);
    EXPECT_NEAR(cy, 400, 2);
    for (const auto &planet : s.star->Children) {
        const int radius = r.Len(planet->Distance);
        for (int deg = 20; deg < 360; deg += 45) {
            const double a = deg * 3.14159265358979 / 180.0;
            EXPECT_TRUE(DarkNear(img, cx + static_cast<int>(std::lround(radius * std::cos(a))),
                                 cy + static_cast<int>(std::lround(radius * std::sin(a)))))
                << planet->Name << " at " << deg;
        }
        // Halfway between the centre and the innermost orbit the paper is blank.
    }
    const int inner = r.Len(s.star->Children[0]->Distance);
    EXPECT_EQ(PixelAt(img, cx + inner / 2, cy + inner / 2), ColorRGB(255, 255, 255));
    // The central body is the light grey disc.
    EXPECT_EQ(PixelAt(img, cx, cy), ColorRGB(192, 192, 192));
    // The outermost orbit spans the image less the 1.1 margin.
    EXPECT_NEAR(2 * r.Len(s.star->Children[2]->Distance), 800 / 1.1, 8);
}

TEST(RenderOrbit, AnOrbitLimitFitsTheExtentToTheFirstOrbits)
{
    StarSystem s(5, 3.0e7);
    TRenderOrbitNG all(s.sector, *s.star), three(s.sector, *s.star);
    all.ComputeExtent(0, 600, 600);
    three.ComputeExtent(3, 600, 600);
    EXPECT_EQ(three.ChildCount, 3);
    EXPECT_NEAR(three.MaxX, 1.1 * 9 * 3.0e7, 0.02 * 9 * 3.0e7);
    EXPECT_GT(all.MaxX, 2 * three.MaxX);
    EXPECT_EQ(TRenderOrbitNG(s.sector, *s.star).Render(300, 300, 9).size(), QSize(300, 300));
}

TEST(RenderOrbit, DegenerateSystemsGetADefaultSpan)
{
    TVexaSector sector;
    TStellarBody *lonely = AddRoot(sector, "Lonely", BODY_TYPE_STAR, 0, 0, 0);
    TRenderOrbitNG r(sector, *lonely);
    r.ComputeExtent(0, 400, 400);
    EXPECT_GT(r.MaxX - r.MinX, 0);
    EXPECT_TRUE(std::isfinite(r.MaxX));

    // A child at distance 0 sits on the centre: finite extent, label to the right.
    AddChild(*lonely, "Hugger", BODY_TYPE_TERRESTRIAL, 0)->Mass = 1;
    const QImage img = TRenderOrbitNG(sector, *lonely).Render(400, 400, 0);
    EXPECT_EQ(img.size(), QSize(400, 400));

    // Coincident components of a multiple star.
    TStellarBody *pair = AddRoot(sector, "Pair", BODY_TYPE_MULT, 0, 0, 0);
    AddChild(*pair, "Pair A", BODY_TYPE_STAR, 0);
    AddChild(*pair, "Pair B", BODY_TYPE_STAR, 0);
    TRenderOrbitNG m(sector, *pair);
    m.ComputeExtent(0, 400, 400);
    EXPECT_GT(m.MaxY - m.MinY, 0);
    EXPECT_EQ(m.Render(400, 400, 0).size(), QSize(400, 400));
}

TEST(RenderOrbit, MultipleStarsDrawEveryComponentDespiteAPlanetAtDistanceZero)
{
    TVexaSector sector;
    TStellarBody *mult = AddRoot(sector, "Twins", BODY_TYPE_MULT, 0, 0, 0);
    TStellarBody *a = AddChild(*mult, "Twins A", BODY_TYPE_STAR, 0);
    TStellarBody *b = AddChild(*mult, "Twins B", BODY_TYPE_STAR, 0);
    a->X = -20, a->Y = 0;
    b->X = 20, b->Y = 10;
    AddChild(*a, "Stuck", BODY_TYPE_TERRESTRIAL, 0);
    AddChild(*a, "Twins A b", BODY_TYPE_TERRESTRIAL, 3 * DIAGRAM_KM_PER_AU);
    TRenderOrbitNG r(sector, *mult);
    const QImage img = r.Render(600, 600, 0);
    // Extent: the components times 1.3.
    EXPECT_DOUBLE_EQ(r.MaxX, 20 * DIAGRAM_KM_PER_AU * 1.3);
    // Both components have their 2-pixel dot.
    EXPECT_TRUE(DarkNear(img, r.PX(a->X * DIAGRAM_KM_PER_AU), r.PY(a->Y * DIAGRAM_KM_PER_AU), 1));
    EXPECT_TRUE(DarkNear(img, r.PX(b->X * DIAGRAM_KM_PER_AU), r.PY(b->Y * DIAGRAM_KM_PER_AU), 1));
    // The grey line between them passes through the midpoint.
    const int mx = (r.PX(a->X * DIAGRAM_KM_PER_AU) + r.PX(b->X * DIAGRAM_KM_PER_AU)) / 2;
    const int my = (r.PY(a->Y * DIAGRAM_KM_PER_AU) + r.PY(b->Y * DIAGRAM_KM_PER_AU)) / 2;
    bool grey = false;
    for (int dy = -2; dy <= 2; ++dy)
        grey = grey || QColor(img.pixel(mx, my + dy)).lightness() < 200;
    EXPECT_TRUE(grey);
}

TEST(RenderOrbit, PlanetsNearTheCentreGetALeaderLine)
{
    TVexaSector sector;
    TStellarBody *star = AddRoot(sector, "Focus", BODY_TYPE_STAR, 0, 0, 0);
    star->Mass = 1;
    TStellarBody *inner = AddChild(*star, "Inner", BODY_TYPE_TERRESTRIAL, 2.0e7);
    AddChild(*star, "Outer", BODY_TYPE_TERRESTRIAL, 2.0e9);
    sector.Time = 37;
    TRenderOrbitNG r(sector, *star);
    const QImage img = r.Render(1000, 1000, 0);
    double x = 0, y = 0;
    TRenderOrbitNG::ChildPosition(*inner, sector.Time, x, y);
    const int px = r.PX(x), py = r.PY(y), cx = r.PX(0), cy = r.PY(0);
    const double d = std::hypot(px - cx, py - cy);
    ASSERT_LT(d, 100);
    ASSERT_GT(d, 0);
    // Halfway along the leader, beyond the orbit and the planet's disc.
    const double along = d + 60;
    const int lx = cx + static_cast<int>(std::lround((px - cx) / d * along));
    const int ly = cy + static_cast<int>(std::lround((py - cy) / d * along));
    EXPECT_TRUE(DarkNear(img, lx, ly, 1));
}

TEST(RenderOrbit, ExportChecksFollowTheDialogOrder)
{
    EXPECT_EQ(CheckDiagramExportEntries("wide", "x", "-1", ""), "Image Width in Pixels must be a number");
    EXPECT_EQ(CheckDiagramExportEntries("100", "1.5", "-1", ""), "Image Height in Pixels must be a number");
    EXPECT_EQ(CheckDiagramExportEntries("100", "100", "-1", ""), "Orbit count must be a number greater than 0");
    EXPECT_EQ(CheckDiagramExportEntries("100", "100", "0", "  "), "File Name Required");
    EXPECT_EQ(CheckDiagramExportEntries(" 100 ", "100", "3", "a.png"), "");

    StarSystem s(2, 1.0e8);
    std::string error;
    EXPECT_FALSE(ExportDiagram(s.sector, *s.star, test::PictureDir() + "/d.png", 0, 100, 0, &error));
    const std::string file = test::PictureDir() + "/diagram-small.png";
    ASSERT_TRUE(ExportDiagram(s.sector, *s.star, file, 300, 200, 0, &error)) << error;
    EXPECT_EQ(QImage(QString::fromStdString(file)).size(), QSize(300, 200));
    EXPECT_FALSE(ExportDiagram(s.sector, *s.star, test::PictureDir() + "/d.emf", 300, 200, 0, &error));
    ASSERT_TRUE(ExportDiagram(s.sector, *s.star, test::PictureDir() + "/diagram.pdf", 300, 200, 0, &error));
}

TEST(RenderOrbit, GeneratedSystemPicture)
{
    auto sector = test::GeneratedSector(12, 20, 4242);
    TStellarBody *best = nullptr;
    for (auto &root : sector->Systems)
        if (root->TypeID == BODY_TYPE_STAR && (!best || root->ChildrenCount() > best->ChildrenCount()))
            best = root.get();
    ASSERT_NE(best, nullptr);
    sector->Time = 400;
    std::string error;
    const std::string file = test::PictureDir() + "/system-diagram.png";
    ASSERT_TRUE(ExportDiagram(*sector, *best, file, 1000, 1000, 0, &error)) << error;
    const QImage img(QString::fromStdString(file));
    ASSERT_EQ(img.size(), QSize(1000, 1000));
    // A new bitmap is white before the diagram is drawn.
    EXPECT_EQ(PixelAt(img, 999, 999), ColorRGB(255, 255, 255));
}

} // namespace
} // namespace kalvion
