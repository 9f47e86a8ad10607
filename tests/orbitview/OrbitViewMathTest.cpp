// The plain rules of the 3D system view: kinds, default cameras, the clock
// step, rotation phases, orbit curves and the texts.
#include "model/StellarBody.h"
#include "render/orbit/OrbitViewMath.h"
#include "science/Orbits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kalvion {
namespace {

TStellarBody *AddChild(TStellarBody &parent, int type, double distance)
{
    auto child = TStellarBody::Create();
    child->TypeID = type;
    child->Distance = distance;
    TStellarBody *raw = child.get();
    parent.AddChild(std::move(child));
    return raw;
}

TEST(OrbitViewKinds, ChoosesRootAndKindByType)
{
    TStellarBody planet;
    planet.TypeID = BODY_TYPE_GASGIANT;
    TStellarBody *ring = AddChild(planet, BODY_TYPE_RING, 80000);
    TStellarBody *small = AddChild(planet, BODY_TYPE_SMALLBODY, 90000);
    TStellarBody *moon = AddChild(planet, BODY_TYPE_TERRESTRIAL, 400000);
    EXPECT_EQ(OrbitSystemRoot(ring), &planet);
    EXPECT_EQ(OrbitSystemRoot(small), &planet);
    EXPECT_EQ(OrbitSystemRoot(moon), moon);
    TStellarBody lonelyRing;
    lonelyRing.TypeID = BODY_TYPE_RING;
    EXPECT_EQ(OrbitSystemRoot(&lonelyRing), &lonelyRing);  // no parent to open

    EXPECT_EQ(OrbitSystemKind(BODY_TYPE_MULT), ORBIT_KIND_MULTIPLE);
    EXPECT_EQ(OrbitSystemKind(BODY_TYPE_CLOSEMULT), ORBIT_KIND_MULTIPLE);
    for (int type : {100, 101, 103, 104, 105, 106})
        EXPECT_EQ(OrbitSystemKind(type), ORBIT_KIND_PLANET) << type;
    for (int type : {4, 200, 201})
        EXPECT_EQ(OrbitSystemKind(type), ORBIT_KIND_CRAFT) << type;
    for (int type : {0, 1, 3, 9, 102, 107, 202})
        EXPECT_EQ(OrbitSystemKind(type), ORBIT_KIND_STAR) << type;
}

TEST(OrbitViewKinds, DefaultDistanceByKind)
{
    TStellarBody star;
    star.TypeID = BODY_TYPE_STAR;
    AddChild(star, BODY_TYPE_TERRESTRIAL, 5e9);
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(star, ORBIT_KIND_STAR), 200);

    TStellarBody planet;
    planet.TypeID = BODY_TYPE_TERRESTRIAL;
    planet.Radius = 6000;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(planet, ORBIT_KIND_PLANET), 4 * 6000 / 6378.14);
    AddChild(planet, BODY_TYPE_TERRESTRIAL, 384400);
    AddChild(planet, BODY_TYPE_TERRESTRIAL, 0.5);
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(planet, ORBIT_KIND_PLANET), 4 * 384400 / 6378.14);
    TStellarBody dust;
    dust.TypeID = BODY_TYPE_TERRESTRIAL;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(dust, ORBIT_KIND_PLANET), 1000 / 6378.14);

    TStellarBody system;
    system.TypeID = BODY_TYPE_PLANETSYSTEM;
    TStellarBody *a = AddChild(system, BODY_TYPE_TERRESTRIAL, 0);
    a->X = 3000;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(system, ORBIT_KIND_PLANET), 4 * 5000 / 6378.14);
    a->X = 30000;
    a->Y = 40000;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(system, ORBIT_KIND_PLANET), 4 * 50000 / 6378.14);

    TStellarBody multiple;
    multiple.TypeID = BODY_TYPE_MULT;
    TStellarBody *far = AddChild(multiple, BODY_TYPE_STAR, 0);
    far->X = 300;
    far->Z = 400;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(multiple, ORBIT_KIND_MULTIPLE), 500.0 / 10000 * 4);
    far->X = 1;
    far->Z = 0;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(multiple, ORBIT_KIND_MULTIPLE), 0.01);

    TStellarBody station;
    station.TypeID = BODY_TYPE_STATION;
    EXPECT_DOUBLE_EQ(OrbitDefaultDistance(station, ORBIT_KIND_CRAFT), 100);

    // A damaged child distance never gives an unusable camera.
    AddChild(dust, BODY_TYPE_TERRESTRIAL, std::numeric_limits<double>::infinity());
    const double d = OrbitDefaultDistance(dust, ORBIT_KIND_PLANET);
    EXPECT_TRUE(std::isfinite(d));
    EXPECT_LE(d, ORBIT_FAR_PLANE);
}

TEST(OrbitViewClock, StepPerRateAndDirection)
{
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_REAL_TIME, -1), -0.05 / 86400);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_YEAR, 1), 18.2625);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_STOPPED, 1), 0);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_MINUTE, 1), 60 / 86400.0 * 0.05);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_HOURS, 1), 3600 / 86400.0 * 0.05);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_DAYS, -1), -0.05);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_WEEK, 1), 0.35);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(ORBIT_RATE_MONTH, 1), 1.5);
    // Codes without a rate of their own run in real time.
    EXPECT_DOUBLE_EQ(OrbitTimeStep(7, 1), 0.05 / 86400);
    EXPECT_DOUBLE_EQ(OrbitTimeStep(99, 1), 0.05 / 86400);
}

TEST(OrbitViewPlanets, RotationPhaseRoundsHalfToEvenAndFlipsSign)
{
    TStellarBody star;
    star.TypeID = BODY_TYPE_STAR;
    star.Mass = 1;
    TStellarBody *planet = AddChild(star, BODY_TYPE_TERRESTRIAL, 149597890);
    planet->Rotation = 24;  // one turn a day
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*planet, 1.25), 90);
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*planet, 2.5), 180);   // 2.5 rounds to 2
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*planet, 3.5), -180);  // 3.5 rounds to 4
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*planet, -1.25), -90);

    // A moon of a planet that turns backwards turns the other way.
    planet->Rotation = -10;
    TStellarBody *moon = AddChild(*planet, BODY_TYPE_TERRESTRIAL, 400000);
    moon->Rotation = 24;
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*moon, 1.25), -90);
    // The star (type 1) counts too once its rotation is negative: two flips.
    star.Rotation = -1;
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*moon, 1.25), 90);
    // A multiple system stops the walk: its sign is not taken.
    TStellarBody multiple;
    multiple.TypeID = BODY_TYPE_MULT;
    multiple.Rotation = -5;
    TStellarBody *component = AddChild(multiple, BODY_TYPE_TERRESTRIAL, 1);
    component->Rotation = 24;
    EXPECT_DOUBLE_EQ(OrbitRotationPhase(*component, 1.25), 90);

    // Without a rotation the year stands in; without either the phase is 0.
    TStellarBody *locked = AddChild(star, BODY_TYPE_TERRESTRIAL, 149597890);
    const double year = locked->YearLength();
    ASSERT_GT(year, 300);
    EXPECT_NEAR(OrbitRotationPhase(*locked, year / 4), 90, 1e-9);
    TStellarBody orphan;
    EXPECT_EQ(OrbitRotationPhase(orphan, 12.3), 0);
}

TEST(OrbitViewOrbits, LoopSwapsYAndZAndPaddingLeavesTheBodyAlone)
{
    TOrbit orbit;
    orbit.Period = 360;
    orbit.SemiMajorAxis = 2 * ORBIT_KM_PER_AU;
    orbit.Inclination = 30;
    std::vector<double> xyz;
    OrbitLoopVertices(orbit, ORBIT_KM_PER_AU, xyz);
    ASSERT_EQ(xyz.size(), 360u * 3);
    for (int k : {1, 90, 200, 360}) {
        double x, y, z;
        orbit.GetPosition(k, x, y, z);
        const std::size_t i = static_cast<std::size_t>(k - 1) * 3;
        EXPECT_NEAR(xyz[i], x / ORBIT_KM_PER_AU, 1e-12);
        EXPECT_NEAR(xyz[i + 1], z / ORBIT_KM_PER_AU, 1e-12);
        EXPECT_NEAR(xyz[i + 2], y / ORBIT_KM_PER_AU, 1e-12);
    }
    bool tilted = false;
    for (std::size_t i = 0; i < xyz.size(); i += 3)
        tilted = tilted || std::abs(xyz[i + 1]) > 0.1;
    EXPECT_TRUE(tilted);  // the inclined orbit leaves the GL ground plane

    TStellarBody star;
    star.TypeID = BODY_TYPE_STAR;
    star.Mass = 1;
    TStellarBody *child = AddChild(star, BODY_TYPE_STAR, 1000);
    child->Modified = false;
    const std::unique_ptr<TOrbit> padded = PaddedOrbit(*child);
    EXPECT_DOUBLE_EQ(padded->SemiMajorAxis, 1000 + ORBIT_MULTIPLE_PAD_KM);
    EXPECT_DOUBLE_EQ(child->Distance, 1000);
    EXPECT_FALSE(child->Modified);
}

TEST(OrbitViewOrbits, PlanetPlaceFromItsStar)
{
    TStellarBody star;
    star.TypeID = BODY_TYPE_STAR;
    star.Mass = 1;
    TStellarBody *planet = AddChild(star, BODY_TYPE_TERRESTRIAL, ORBIT_KM_PER_AU);
    double x, y, z, ox, oy, oz;
    ASSERT_TRUE(PlanetPositionFromStar(*planet, 100, x, y, z));
    ASSERT_TRUE(OrbitPositionAt(*planet, 100, ox, oy, oz));
    EXPECT_DOUBLE_EQ(x, ox);
    EXPECT_DOUBLE_EQ(y, oy);

    // Inside a planetary system: its own offset plus the system's orbit.
    TStellarBody *system = AddChild(star, BODY_TYPE_PLANETSYSTEM, 2 * ORBIT_KM_PER_AU);
    TStellarBody *member = AddChild(*system, BODY_TYPE_TERRESTRIAL, 0);
    member->X = 1000;
    member->Y = -2000;
    member->Z = 3000;
    ASSERT_TRUE(PlanetPositionFromStar(*member, 50, x, y, z));
    ASSERT_TRUE(OrbitPositionAt(*system, 50, ox, oy, oz));
    EXPECT_DOUBLE_EQ(x, ox + 1000);
    EXPECT_DOUBLE_EQ(y, oy - 2000);
    EXPECT_DOUBLE_EQ(z, oz + 3000);

    TStellarBody loose;
    loose.TypeID = BODY_TYPE_TERRESTRIAL;
    EXPECT_FALSE(PlanetPositionFromStar(loose, 0, x, y, z));
}

TEST(OrbitViewCamera, LookAtStaysUsableAtThePoles)
{
    for (double lat : {90.0, -90.0, 89.99999, 0.0}) {
        for (double lon : {0.0, 37.0, 250.0}) {
            TOrbitCamera camera{200, lat, lon};
            const TMatrix4 m = OrbitLookAt(camera);
            // Rows of the rotation part are unit length and at right angles.
            for (int r = 0; r < 3; ++r) {
                double len = 0;
                for (int c = 0; c < 3; ++c)
                    len += m[c * 4 + r] * m[c * 4 + r];
                EXPECT_NEAR(len, 1, 1e-9) << lat << " " << lon;
            }
            const double dot = m[0] * m[1] + m[4] * m[5] + m[8] * m[9];
            EXPECT_NEAR(dot, 0, 1e-9);
            // The origin lies straight ahead at the camera distance.
            EXPECT_NEAR(m[12], 0, 1e-6);
            EXPECT_NEAR(m[13], 0, 1e-6);
            EXPECT_NEAR(m[14], -200, 1e-6);
        }
    }
    // Over the pole the picture turns on smoothly with the longitude.
    const TMatrix4 pole = OrbitLookAt({200, 90, 37});
    const TMatrix4 near = OrbitLookAt({200, 89.999, 37});
    for (int i = 0; i < 11; ++i)
        EXPECT_NEAR(pole[i], near[i], 1e-3) << i;
}

TEST(OrbitViewTexts, DistanceAndAngleLines)
{
    EXPECT_EQ(OrbitDistanceText(200, ORBIT_KIND_STAR), "Distance: 200 AU");
    EXPECT_EQ(OrbitDistanceText(10, ORBIT_KIND_PLANET), "Distance: 63,781 KM");
    EXPECT_EQ(OrbitDistanceText(0.2, ORBIT_KIND_MULTIPLE), "Distance: 2,000 AU");
    EXPECT_EQ(OrbitDistanceText(100, ORBIT_KIND_CRAFT), "Distance: 100 KM");
    EXPECT_EQ(OrbitDistanceText(2.5, ORBIT_KIND_STAR), "Distance: 2 AU");  // halves to even
    EXPECT_EQ(OrbitAnglesText(90, -12.5), "Lat 90\xBA Lon: -12.5\xBA");
    EXPECT_EQ(ShortestDecimal(0.1), "0.1");
    EXPECT_EQ(ShortestDecimal(2000000000), "2000000000");
}

TEST(OrbitViewTexts, OnlyStarsOfAMultipleSystemGetTheDistanceLabel)
{
    // A binary of a star and a nested pair, with a planet and a white dwarf
    // placed among the components.
    TStellarBody multiple;
    multiple.TypeID = BODY_TYPE_MULT;
    TStellarBody *star = AddChild(multiple, BODY_TYPE_STAR, 0);
    star->Name = "Ara A";
    star->X = 30000;
    AddChild(multiple, BODY_TYPE_CLOSEMULT, 0);
    AddChild(multiple, BODY_TYPE_TERRESTRIAL, 0);
    AddChild(multiple, BODY_TYPE_WHITEDWARF, 0);
    std::vector<TMultiplePart> kinds;
    for (const auto &part : multiple.Children)
        kinds.push_back(MultiplePartKind(part->TypeID));
    EXPECT_EQ(kinds, (std::vector<TMultiplePart>{TMultiplePart::Star, TMultiplePart::Multiple, TMultiplePart::None,
                                                 TMultiplePart::None}));
    EXPECT_EQ(MultiplePartKind(BODY_TYPE_MULT), TMultiplePart::Multiple);
    // 3 units (30,000 AU) from the origin, the eye 1 unit beyond it, offset 1 unit back.
    EXPECT_EQ(MultipleStarLabel(*star, {1, 0, 0}, {0, 0, 0}), "Ara A (40,000 AU)");
    EXPECT_EQ(MultipleStarLabel(*star, {0, 0, 0}, {3, 0, 1.2345}), "Ara A (12,345 AU)");
    EXPECT_EQ(OrbitAuText(1234.5), "1,234 AU");
}

} // namespace
} // namespace kalvion
