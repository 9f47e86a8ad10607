#include "science/Orbits.h"

#include "model/StellarBody.h"

#include <array>
#include <cmath>
#include <numbers>

namespace kalvion {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

double Distance(const TOrbit &a, const TOrbit &b)
{
    const double dx = a.PositionX - b.PositionX;
    const double dy = a.PositionY - b.PositionY;
    const double dz = a.PositionZ - b.PositionZ;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

double TOrbit::UsedEccentricity() const
{
    if (Eccentricity >= ORBIT_MAX_ECCENTRICITY)
        return ORBIT_MAX_ECCENTRICITY;
    if (Eccentricity <= -ORBIT_MAX_ECCENTRICITY)
        return -ORBIT_MAX_ECCENTRICITY;
    return Eccentricity;
}

double TOrbit::MeanAnomaly(double t) const
{
    if (Period == 0)
        return 0;
    return (t - TimeOffset) / Period * (2 * std::numbers::pi);
}

double TOrbit::NewtonTrueAnomaly(double meanAnomaly) const
{
    const double e = UsedEccentricity();
    double E = meanAnomaly;
    double c = 0.5;
    for (int round = 0; round < 1000 && std::fabs(c) >= ORBIT_TRUEANOMALY_ERROR; ++round) {
        c = E - e * std::sin(E) - meanAnomaly;
        E = E - c / (1 - e * std::cos(E));
    }
    return E;
}

double TOrbit::IterativeTrueAnomaly(double meanAnomaly, int rounds) const
{
    const double e = UsedEccentricity();
    double E = meanAnomaly;
    for (int i = 0; i < rounds; ++i)
        E = meanAnomaly + e * std::sin(E);
    return E;
}

void TOrbit::PlanePolar(double t, double &r, double &angle) const
{
    const double e = UsedEccentricity();
    angle = NewtonTrueAnomaly(MeanAnomaly(t));
    r = SemiMajorAxis * (1 - e * e) / (1 + e * std::cos(angle));
}

void TOrbit::GetPosition(double t, double &x, double &y, double &z) const
{
    double r = 0, E = 0;
    PlanePolar(t, r, E);
    const double node = AscendingNode * kDegToRad;
    const double peri = AnglePeriapsis * kDegToRad;
    const double incl = Inclination * kDegToRad;
    const double u = E + peri - node;
    const double cosO = std::cos(node), sinO = std::sin(node);
    const double cosU = std::cos(u), sinU = std::sin(u);
    const double cosI = std::cos(incl);
    x = r * (cosO * cosU - cosI * sinO * sinU);
    y = r * (sinO * cosU + cosI * cosO * sinU);
    z = r * std::sin(incl) * sinU;
    if (Mirror)
        y = -y;
}

void TOrbit::GetPositionOld(double t, double &x, double &y) const
{
    double r = 0, E = 0;
    PlanePolar(t, r, E);
    x = r * std::cos(E);
    y = -r * std::sin(E);
}

void TOrbit::SetTime(double t)
{
    CurrentTime = t;
    GetPosition(t, PositionX, PositionY, PositionZ);
}

double TOrbit::GetStarFociX() const
{
    double x1 = 0, x2 = 0, y = 0, z = 0;
    GetPosition(TimeOffset, x1, y, z);
    GetPosition(TimeOffset + Period / 2, x2, y, z);
    return -x2 - x1;
}

std::unique_ptr<TOrbit> GetOrbit(const TStellarBody &body)
{
    auto orbit = std::make_unique<TOrbit>();
    orbit->TimeOffset = body.TimeOffset;
    orbit->Period = body.YearLength();
    if (body.GetOrbitDirection() == -1)
        orbit->Period = -orbit->Period;
    orbit->SemiMajorAxis = body.GetOrbitRadius();
    orbit->Eccentricity = body.Eccentricity;
    // Taken while the angles are still 0: the offset of the parent from the
    // centre of the ellipse along the major axis.
    orbit->FociOffset = orbit->GetStarFociX();
    orbit->Inclination = body.Inclination;
    orbit->AscendingNode = body.AngleAscendingNode;
    orbit->AnglePeriapsis = body.AnglePeriapsis;
    return orbit;
}

void OrbitGetExtremes(TOrbit &a, TOrbit &b, double &minDist, double &maxDist)
{
    constexpr int n = ORBIT_EXTREMES_PRECISION;
    if (&a == &b) {
        // One orbit against itself: each pair is measured after the same
        // object has moved, so every distance is 0.
        a.SetTime(a.Period);
        minDist = maxDist = 0;
        return;
    }
    // b passes through the same 360 times for every position of a, so its
    // positions are solved once: 720 Kepler solutions instead of 129,960.
    std::array<double, n> bx{}, by{}, bz{};
    for (int j = 1; j <= n; ++j) {
        b.SetTime(static_cast<double>(j) / n * b.Period);
        bx[j - 1] = b.PositionX;
        by[j - 1] = b.PositionY;
        bz[j - 1] = b.PositionZ;
    }
    bool first = true;
    minDist = 0;
    maxDist = 0;
    for (int i = 1; i <= n; ++i) {
        a.SetTime(static_cast<double>(i) / n * a.Period);
        for (int j = 0; j < n; ++j) {
            const double dx = a.PositionX - bx[j];
            const double dy = a.PositionY - by[j];
            const double dz = a.PositionZ - bz[j];
            const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (first) {
                minDist = maxDist = d;
                first = false;
                continue;
            }
            if (d < minDist)
                minDist = d;
            if (d > maxDist)
                maxDist = d;
        }
    }
}

double OrbitGetNearestApproach(TOrbit &a, TOrbit &b)
{
    double lo = 0, hi = 0;
    OrbitGetExtremes(a, b, lo, hi);
    return lo;
}

double OrbitGetFarthestApart(TOrbit &a, TOrbit &b)
{
    double lo = 0, hi = 0;
    OrbitGetExtremes(a, b, lo, hi);
    return hi;
}

double OrbitGetDistanceAtTime(TOrbit &a, TOrbit &b, double t)
{
    a.SetTime(t);
    b.SetTime(t);
    return Distance(a, b);
}

double OrbitTest()
{
    TOrbit a;
    a.SemiMajorAxis = 149597870;
    a.Period = 365.25;
    a.Eccentricity = 0.0167;
    TOrbit b = a;
    a.SetTime(0);
    b.SetTime(a.Period / 2);
    return Distance(a, b);
}

} // namespace kalvion
