// Frames of the 3D system view under Mesa's software renderer: the orbit of
// a planet seen from the pole, the planet at its place for the date, a
// surface map that arrives late, rings and the list cache.
#include "GLFrame.h"

#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/GLHeaders.h"
#include "render/RenderSources.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <numbers>

namespace kalvion::test {
namespace {

constexpr int W = 800, H = 600;

// Smoothed lines leave dimmer pixels at their edges: any clearly green one.
bool IsOrbitGreen(const QColor &c) { return c.green() > 50 && c.red() < c.green() / 2 && c.blue() < c.green() / 2; }
bool IsBright(const QColor &c) { return c.value() > 60; }

QImage Frame(TRenderOrbitOGL &view)
{
    TOffscreenGL *gl = SharedGL();
    if (!gl)
        return {};
    view.ShowText = false;
    return gl->RenderOrbit(view, W, H, 0);
}

struct TStarPlanet {
    std::unique_ptr<TVexaSector> Sector = TVexaSector::Create();
    TStellarBody *Star = nullptr;
    TStellarBody *Planet = nullptr;
    TStarPlanet()
    {
        Sector->BaseFont = "DejaVu Sans";
        Sector->Time = 123.4;
        auto star = TStellarBody::Create();
        star->Name = "Aldra";
        star->TypeID = BODY_TYPE_STAR;
        star->Mass = 1;
        star->Radius = 1;
        star->Color = ColorRGB(255, 255, 200);
        auto planet = TStellarBody::Create();
        planet->Name = "Aldra I";
        planet->TypeID = BODY_TYPE_TERRESTRIAL;
        planet->Distance = ORBIT_KM_PER_AU;
        planet->Eccentricity = 0;
        // Large enough to cover many pixels: 0.2 AU drawn (ten times true size).
        planet->Radius = 0.02 * ORBIT_KM_PER_AU;
        planet->OrbitColor = ColorRGB(0, 255, 0);
        Planet = planet.get();
        star->AddChild(std::move(planet));
        Star = star.get();
        Sector->AddSystem(std::move(star));
    }
};

// Green orbit pixels found on rays from the image centre, at the radius
// expected for a circle of 1 AU seen from `distance` AU straight above.
int RaysMeetingTheCircle(const QImage &image, double distance, int tolerance)
{
    const double expected = 1 / (distance * std::tan(22.5 * std::numbers::pi / 180)) * (H / 2.0);
    int hits = 0;
    for (int a = 0; a < 360; a += 10) {
        const double t = a * std::numbers::pi / 180;
        bool hit = false;
        for (double r = expected - tolerance; r <= expected + tolerance && !hit; r += 0.5) {
            const int x = static_cast<int>(std::lround(W / 2.0 + r * std::cos(t)));
            const int y = static_cast<int>(std::lround(H / 2.0 + r * std::sin(t)));
            hit = image.valid(x, y) && IsOrbitGreen(QColor(image.pixel(x, y)));
        }
        hits += hit;
    }
    return hits;
}

TEST(OrbitFrame, PlanetOrbitSeenFromThePoleIsACircleOfTheComputedRadius)
{
    TStarPlanet scene;
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Star);
    view.Camera = {3, 90, 0};
    const QImage image = Frame(view);
    ASSERT_FALSE(image.isNull());
    // Nearly every ray meets the circle (the planet covers a few).
    EXPECT_GE(RaysMeetingTheCircle(image, 3, 3), 32);
    // Nothing green well inside or outside it.
    EXPECT_EQ(CountPixels(image, QRect(W / 2 - 60, H / 2 - 60, 120, 120), IsOrbitGreen), 0);
    EXPECT_EQ(CountPixels(image, QRect(0, 0, 60, 60), IsOrbitGreen), 0);

    // The planet stands at its orbital place for the sector date, with the
    // orbit's (x, y, z) drawn as GL (x, z, y).
    double x, y, z;
    ASSERT_TRUE(OrbitPositionAt(*scene.Planet, scene.Sector->Time, x, y, z));
    TWindowPoint at, opposite;
    ASSERT_TRUE(view.LastProjection().Project(x / ORBIT_KM_PER_AU, z / ORBIT_KM_PER_AU, y / ORBIT_KM_PER_AU, at));
    ASSERT_TRUE(
        view.LastProjection().Project(-x / ORBIT_KM_PER_AU, z / ORBIT_KM_PER_AU, -y / ORBIT_KM_PER_AU, opposite));
    const QRect planetBox(static_cast<int>(at.X) - 8, H - static_cast<int>(at.Y) - 8, 17, 17);
    const QRect oppositeBox(static_cast<int>(opposite.X) - 8, H - static_cast<int>(opposite.Y) - 8, 17, 17);
    auto isPlanet = [](const QColor &c) { return c.value() > 60 && !IsOrbitGreen(c); };
    EXPECT_GT(CountPixels(image, planetBox, isPlanet), 100);
    EXPECT_LT(CountPixels(image, oppositeBox, isPlanet), 20);
    // And that place is where the orbit radius says, from the centre.
    const double px = at.X - W / 2.0, py = at.Y - H / 2.0;
    EXPECT_NEAR(std::hypot(px, py), 1 / (3 * std::tan(22.5 * std::numbers::pi / 180)) * (H / 2.0), 2);
}

TEST(OrbitFrame, NotBlankStraightBelowEither)
{
    TStarPlanet scene;
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Star);
    for (double lon : {0.0, 77.0}) {
        view.Camera = {3, -90, lon};
        const QImage image = Frame(view);
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(RaysMeetingTheCircle(image, 3, 3), 32) << lon;
    }
}

// Green pixels on a circle of `expected` pixels around the image centre.
int RaysMeetingRadius(const QImage &image, double expected, int tolerance)
{
    int hits = 0;
    for (int a = 0; a < 360; a += 10) {
        const double t = a * std::numbers::pi / 180;
        bool hit = false;
        for (double r = expected - tolerance; r <= expected + tolerance && !hit; r += 0.5) {
            const int x = static_cast<int>(std::lround(W / 2.0 + r * std::cos(t)));
            const int y = static_cast<int>(std::lround(H / 2.0 + r * std::sin(t)));
            hit = image.valid(x, y) && IsOrbitGreen(QColor(image.pixel(x, y)));
        }
        hits += hit;
    }
    return hits;
}

TEST(OrbitFrame, MultipleStarOrbitsTurnXThenZAboutYThenYAboutZAndChangeNothing)
{
    auto sector = TVexaSector::Create();
    auto multiple = TStellarBody::Create();
    multiple->TypeID = BODY_TYPE_MULT;
    auto star = TStellarBody::Create();
    star->Name = "A";
    star->TypeID = BODY_TYPE_STAR;
    star->Mass = 1;
    auto planet = TStellarBody::Create();
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Distance = ORBIT_KM_PER_AU;
    planet->OrbitColor = ColorRGB(0, 255, 0);
    TStellarBody *rawPlanet = planet.get();
    star->AddChild(std::move(planet));
    TStellarBody *rawStar = star.get();
    multiple->AddChild(std::move(star));
    TStellarBody *root = multiple.get();
    sector->AddSystem(std::move(multiple));
    rawPlanet->Modified = false;

    TRenderOrbitOGL view;
    view.SetSystem(sector.get(), root);
    ASSERT_EQ(view.Kind(), ORBIT_KIND_MULTIPLE);
    ASSERT_DOUBLE_EQ(view.Camera.Distance, 0.01);
    // 1 AU widened by 299,195,780 km, at 1,000 AU a unit, from 0.01 units.
    const double radius = (ORBIT_KM_PER_AU + ORBIT_MULTIPLE_PAD_KM) / (ORBIT_KM_PER_AU * 1000) /
                          (0.01 * std::tan(22.5 * std::numbers::pi / 180)) * (H / 2.0);
    EXPECT_GE(RaysMeetingRadius(Frame(view), radius, 3), 32);
    // A quarter turn of the orbital plane's Z value is about GL's Y axis,
    // which keeps a ground-plane circle a circle seen from the pole ...
    rawStar->OrbitalPlaneZ = 90;
    view.ReleaseLists();
    EXPECT_GE(RaysMeetingRadius(Frame(view), radius, 3), 32);
    // ... while the Y value turns about Z and stands it on edge.
    rawStar->OrbitalPlaneY = 90;
    EXPECT_LE(RaysMeetingRadius(Frame(view), radius, 3), 6);
    EXPECT_DOUBLE_EQ(rawPlanet->Distance, ORBIT_KM_PER_AU);
    EXPECT_FALSE(rawPlanet->Modified);
}

TEST(OrbitFrame, OrbitsAreSwitchedOffAndChildrenBelowOneKilometreAreLeftOut)
{
    TStarPlanet scene;
    auto dust = TStellarBody::Create();
    dust->TypeID = BODY_TYPE_TERRESTRIAL;
    dust->Distance = 0.5;
    dust->Radius = 0.05 * ORBIT_KM_PER_AU;
    scene.Star->AddChild(std::move(dust));
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Star);
    view.Camera = {3, 90, 0};
    Frame(view);
    // One orbit list and one body list: the planet's; none for the dust.
    EXPECT_EQ(view.Lists().ListCount(0), 2);
    EXPECT_EQ(view.Lists().Count(), 1u);
    view.ShowOrbits = false;
    const QImage image = Frame(view);
    EXPECT_EQ(RaysMeetingTheCircle(image, 3, 3), 0);
    EXPECT_EQ(view.Lists().ListCount(0), 2);  // still cached, only not drawn
}

class TLateMaps : public TRenderSurfaceMaps {
public:
    bool Ready = false;
    int Asked = 0;
    QImage CurrentMap(const std::string &) override
    {
        ++Asked;
        if (!Ready)
            return {};
        QImage map(64, 32, QImage::Format_RGB32);
        map.fill(QColor(255, 0, 0));
        return map;
    }
};

TEST(OrbitFrame, PlanetBecomesTexturedOnceItsMapArrives)
{
    TStarPlanet scene;
    TLateMaps maps;
    TRenderOrbitOGL view;
    view.SurfaceMapMgr = &maps;
    view.SetSystem(scene.Sector.get(), scene.Planet);
    ASSERT_EQ(view.Kind(), ORBIT_KIND_PLANET);
    // Looking from the star's side, at the planet's lit face.
    double x, y, z;
    ASSERT_TRUE(PlanetPositionFromStar(*scene.Planet, scene.Sector->Time, x, y, z));
    view.Camera.Latitude = 10;
    view.Camera.Longitude = std::atan2(-y, -x) * 180 / std::numbers::pi;
    auto red = [](const QColor &c) { return c.red() > 80 && c.green() < c.red() / 3 && c.blue() < c.red() / 3; };
    const QRect middle(W / 2 - 20, H / 2 - 20, 40, 40);
    const QImage plain = Frame(view);
    ASSERT_FALSE(plain.isNull());
    EXPECT_GT(CountPixels(plain, middle, IsBright), 1000);  // a plain white sphere meanwhile
    EXPECT_EQ(CountPixels(plain, middle, red), 0);
    EXPECT_GT(maps.Asked, 0);
    maps.Ready = true;
    int frames = 0;
    QImage textured;
    while (frames < 3 && CountPixels(textured, middle, red) < 1000) {
        textured = Frame(view);
        ++frames;
    }
    EXPECT_GE(CountPixels(textured, middle, red), 1000) << "after " << frames << " frames";
    // From then on the textured list is reused.
    const int lists = view.Lists().ListCount(0);
    Frame(view);
    EXPECT_EQ(view.Lists().ListCount(0), lists);
    view.ReleaseLists();
    EXPECT_EQ(view.Lists().Count(), 0u);
}

TEST(OrbitFrame, PlanetRootIsLitFromItsStarUnderItsNegativeAxialTilt)
{
    TStarPlanet scene;
    scene.Planet->AxialTilt = 30;
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Planet);
    view.Camera = {20, 35, 10};
    ASSERT_FALSE(Frame(view).isNull());
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);  // eye coordinates, as set
    double x, y, z;
    ASSERT_TRUE(PlanetPositionFromStar(*scene.Planet, scene.Sector->Time, x, y, z));
    // Towards the star, (x, y, z) drawn as (x, z, y), turned by -30° about X.
    const double lx = -x / ORBIT_KM_PER_EARTH_RADIUS, ly = -z / ORBIT_KM_PER_EARTH_RADIUS,
                 lz = -y / ORBIT_KM_PER_EARTH_RADIUS;
    const double a = -30 * std::numbers::pi / 180;
    const double p[3] = {lx, ly * std::cos(a) - lz * std::sin(a), ly * std::sin(a) + lz * std::cos(a)};
    const TMatrix4 m = OrbitLookAt(view.Camera);
    for (int r = 0; r < 3; ++r) {
        const double expected = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
        EXPECT_NEAR(light[r], expected, std::abs(expected) * 1e-5 + 1) << r;
    }
    EXPECT_FLOAT_EQ(light[3], 1);
}

TEST(OrbitFrame, RingOfAPlanetIsDrawnFromItsCachedList)
{
    TStarPlanet scene;
    auto ring = TStellarBody::Create();
    ring->TypeID = BODY_TYPE_RING;
    ring->Distance = scene.Planet->Radius * 1.5;
    ring->Radius = scene.Planet->Radius;
    TStellarBody *rawRing = ring.get();
    scene.Planet->AddChild(std::move(ring));
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), rawRing);  // opens the planet
    view.Camera.Latitude = 60;
    const QImage first = Frame(view);
    ASSERT_FALSE(first.isNull());
    const int lists = view.Lists().ListCount(0);
    // Faint lilac: (0.8, 0.7, 0.8) at alpha 0.2 over the black sky.
    auto lilac = [](const QColor &c) { return c.red() > 25 && c.red() < 70 && c.green() < c.red() && c.blue() > 25; };
    const int ringPixels = CountPixels(first, first.rect(), lilac);
    EXPECT_GT(ringPixels, 2000);
    const QImage second = Frame(view);
    EXPECT_EQ(view.Lists().ListCount(0), lists);
    EXPECT_EQ(CountPixels(second, second.rect(), lilac), ringPixels);
}

TEST(OrbitFrame, TextLinesAndCornerMark)
{
    TStarPlanet scene;
    TRenderOrbitOGL view;
    view.SetSystem(scene.Sector.get(), scene.Star);
    view.TextLines[3] = "Fourth line";
    TOffscreenGL *gl = SharedGL();
    ASSERT_NE(gl, nullptr);
    const QImage image = gl->RenderOrbit(view, W, H, 0);
    EXPECT_EQ(view.TextLines[0].rfind("Date: ", 0), 0u);
    EXPECT_EQ(view.TextLines[1], "Distance: 200 AU");
    EXPECT_EQ(view.TextLines[2], "Lat 90\xBA Lon: 0\xBA");
    auto corner = [](const QColor &c) { return c.blue() > 150 && c.green() > 90 && c.green() < 160 && c.red() < 40; };
    EXPECT_GT(CountPixels(image, QRect(0, 0, 26, 26), corner), 40);
    EXPECT_GT(CountPixels(image, QRect(15, 0, 200, 90), IsBright), 100);  // the four text lines
    view.ShowText = false;
    const QImage quiet = gl->RenderOrbit(view, W, H, 0);
    EXPECT_LT(CountPixels(quiet, QRect(30, 0, 200, 90), IsBright), 5);
}

} // namespace
} // namespace kalvion::test
