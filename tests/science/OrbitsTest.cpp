#include "model/StellarBody.h"
#include "science/Orbits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace kalvion;

namespace {

TOrbit Circle(double axis, double period)
{
    TOrbit o;
    o.SemiMajorAxis = axis;
    o.Period = period;
    return o;
}

void ExpectAt(const TOrbit &o, double t, double x, double y, double z)
{
    double px = 0, py = 0, pz = 0;
    o.GetPosition(t, px, py, pz);
    EXPECT_NEAR(px, x, 1e-6) << "t=" << t;
    EXPECT_NEAR(py, y, 1e-6) << "t=" << t;
    EXPECT_NEAR(pz, z, 1e-6) << "t=" << t;
}

// The extremes measured pair by pair, setting both orbits for every pair.
void NaiveExtremes(TOrbit &a, TOrbit &b, double &lo, double &hi)
{
    bool first = true;
    for (int i = 1; i <= 360; ++i) {
        a.SetTime(i / 360.0 * a.Period);
        for (int j = 1; j <= 360; ++j) {
            b.SetTime(j / 360.0 * b.Period);
            const double dx = a.PositionX - b.PositionX, dy = a.PositionY - b.PositionY,
                         dz = a.PositionZ - b.PositionZ;
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (first || d < lo)
                lo = d;
            if (first || d > hi)
                hi = d;
            first = false;
        }
    }
}

} // namespace

TEST(Orbits, CircularOrbit)
{
    TOrbit o = Circle(100, 10);
    ExpectAt(o, 0, 100, 0, 0);
    ExpectAt(o, 2.5, 0, 100, 0);
    ExpectAt(o, 5, -100, 0, 0);
    o.TimeOffset = 1;
    ExpectAt(o, 1, 100, 0, 0);
    ExpectAt(o, 3.5, 0, 100, 0);

    o.SetTime(3.5);
    EXPECT_EQ(o.CurrentTime, 3.5);
    EXPECT_NEAR(o.PositionY, 100, 1e-6);

    o.Mirror = true;
    ExpectAt(o, 3.5, 0, -100, 0);

    // A negative period runs the other way round.
    TOrbit back = Circle(100, -10);
    ExpectAt(back, 2.5, 0, -100, 0);

    double x = 0, y = 0;
    Circle(100, 10).GetPositionOld(2.5, x, y);
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, -100, 1e-6);
}

TEST(Orbits, AnglesTiltThePlane)
{
    TOrbit o = Circle(100, 10);
    o.Inclination = 90;
    ExpectAt(o, 2.5, 0, 0, 100); // the X-Z plane

    TOrbit p = Circle(100, 10);
    p.AnglePeriapsis = 90; // longitude of periapsis: starts on the Y axis
    ExpectAt(p, 0, 0, 100, 0);
    p.AscendingNode = 90; // the argument is then 0, measured from the node at 90
    ExpectAt(p, 0, 0, 100, 0);
}

TEST(Orbits, EllipseUsesTheEccentricAnomalyAsAngle)
{
    TOrbit o = Circle(100, 10);
    o.Eccentricity = 0.5;
    EXPECT_DOUBLE_EQ(o.NewtonTrueAnomaly(std::numbers::pi), std::numbers::pi);
    ExpectAt(o, 0, 50, 0, 0);   // periapsis a(1 - e)
    ExpectAt(o, 5, -150, 0, 0); // apoapsis a(1 + e)

    // A quarter period on: E solves E - e sin E = pi/2, and r follows from E.
    const double E = o.NewtonTrueAnomaly(std::numbers::pi / 2);
    EXPECT_NEAR(E - 0.5 * std::sin(E), std::numbers::pi / 2, 1e-4);
    const double r = 100 * 0.75 / (1 + 0.5 * std::cos(E));
    ExpectAt(o, 2.5, r * std::cos(E), r * std::sin(E), 0);

    EXPECT_NEAR(o.IterativeTrueAnomaly(std::numbers::pi / 2, 50), E, 1e-4);
    EXPECT_EQ(o.IterativeTrueAnomaly(1.0, 0), 1.0);

    EXPECT_NEAR(o.GetStarFociX(), 2 * 100 * 0.5, 1e-9);
}

TEST(Orbits, DegenerateOrbitsStayFinite)
{
    for (double e : {1.0, 1.5, 1e9, -3.0}) {
        TOrbit o = Circle(100, 10);
        o.Eccentricity = e;
        for (double t = 0; t < 10; t += 0.37) {
            o.SetTime(t);
            EXPECT_TRUE(std::isfinite(o.PositionX) && std::isfinite(o.PositionY)) << e << " " << t;
        }
    }
    TOrbit still = Circle(100, 0);
    still.Eccentricity = 0.2;
    ExpectAt(still, 0, 80, 0, 0);
    ExpectAt(still, 123.4, 80, 0, 0);
}

TEST(Orbits, Extremes)
{
    TOrbit a = Circle(100, 10), copy = Circle(100, 10);
    EXPECT_NEAR(OrbitGetNearestApproach(a, copy), 0, 1e-9);
    EXPECT_NEAR(OrbitGetNearestApproach(a, a), 0, 1e-9);

    TOrbit inner = Circle(100, 10), outer = Circle(200, 28);
    double lo = 0, hi = 0;
    OrbitGetExtremes(inner, outer, lo, hi);
    EXPECT_NEAR(lo, 100, 1);
    EXPECT_NEAR(hi, 300, 1);
    EXPECT_EQ(inner.CurrentTime, 10);
    EXPECT_EQ(outer.CurrentTime, 28);
    EXPECT_EQ(OrbitGetFarthestApart(inner, outer), hi);

    // Solving the second orbit once gives exactly what pairwise solving does.
    TOrbit p = Circle(150, 40), q = Circle(90, -17);
    p.Eccentricity = 0.3;
    p.Inclination = 12;
    p.AnglePeriapsis = 40;
    q.Eccentricity = 0.6;
    q.AscendingNode = 70;
    q.TimeOffset = 3;
    double fastLo = 0, fastHi = 0, slowLo = 0, slowHi = 0;
    OrbitGetExtremes(p, q, fastLo, fastHi);
    TOrbit p2 = p, q2 = q;
    NaiveExtremes(p2, q2, slowLo, slowHi);
    EXPECT_EQ(fastLo, slowLo);
    EXPECT_EQ(fastHi, slowHi);
    EXPECT_EQ(p.PositionX, p2.PositionX);
    EXPECT_EQ(q.PositionZ, q2.PositionZ);
}

TEST(Orbits, DistanceAtTime)
{
    TOrbit a = Circle(100, 10), b = Circle(200, 10);
    EXPECT_NEAR(OrbitGetDistanceAtTime(a, b, 0), 100, 1e-9);
    b.TimeOffset = 5;
    EXPECT_NEAR(OrbitGetDistanceAtTime(a, b, 0), 300, 1e-6);
    EXPECT_EQ(a.CurrentTime, 0);
    EXPECT_GT(OrbitTest(), 0);
}

TEST(Orbits, BodyOrbit)
{
    auto star = TStellarBody::Create();
    star->TypeID = BODY_TYPE_STAR;
    star->Mass = 1;
    auto planetOwned = TStellarBody::Create();
    TStellarBody *planet = planetOwned.get();
    planet->TypeID = BODY_TYPE_TERRESTRIAL;
    planet->Distance = 149597890;
    planet->Eccentricity = 0.2;
    planet->TimeOffset = 12;
    planet->Inclination = 5;
    planet->AngleAscendingNode = 30;
    planet->AnglePeriapsis = 60;
    planet->RetrogradeOrbit = true;
    star->AddChild(std::move(planetOwned));

    const auto orbit = GetOrbit(*planet);
    ASSERT_TRUE(orbit);
    EXPECT_DOUBLE_EQ(orbit->Period, -planet->YearLength());
    EXPECT_LT(orbit->Period, 0);
    EXPECT_EQ(orbit->SemiMajorAxis, planet->GetOrbitRadius());
    EXPECT_EQ(orbit->TimeOffset, 12);
    EXPECT_EQ(orbit->Inclination, 5);
    EXPECT_EQ(orbit->AscendingNode, 30);
    EXPECT_EQ(orbit->AnglePeriapsis, 60);
    // Taken before the angles: 2 a e.
    EXPECT_NEAR(orbit->FociOffset, 2 * orbit->SemiMajorAxis * 0.2, 1e-3);
}
