#pragma once
// Keplerian orbits of bodies around their parents, for the system view, the
// travel calculator and scripts.  Positions are in km relative to the parent.
//
// The eccentric anomaly E found by Newton's method is used directly as the
// angle of the body from periapsis, with r = a(1 - e^2) / (1 + e cos E).  This
// is not the true anomaly, and it is kept on purpose: every orbit the system
// view has ever drawn and every stored travel time follows this shape.
#include <memory>

namespace kalvion {

class TStellarBody;

inline constexpr double ORBIT_TRUEANOMALY_ERROR = 0.0001;
inline constexpr int ORBIT_EXTREMES_PRECISION = 360;
// An eccentricity at or above 1 is an open orbit with no position at most
// times; such values are held just below 1 so every position stays finite.
inline constexpr double ORBIT_MAX_ECCENTRICITY = 0.999999;

class TOrbit {
public:
    double TimeOffset = 0;     // days; the time of periapsis passage
    double Period = 0;         // days; negative runs the body backwards; 0 stands at periapsis
    double SemiMajorAxis = 0;  // km
    double Eccentricity = 0;
    double AnglePeriapsis = 0; // degrees, longitude of periapsis
    double Inclination = 0;    // degrees
    double AscendingNode = 0;  // degrees
    bool Mirror = false;       // negates Y
    double CurrentTime = 0;
    double PositionX = 0, PositionY = 0, PositionZ = 0;
    double FociOffset = 0;     // GetStarFociX when the orbit was built by GetOrbit

    // CurrentTime <- t and the position <- GetPosition(t).
    void SetTime(double t);
    void GetPosition(double t, double &x, double &y, double &z) const;
    // The position in the orbital plane, ignoring all three angles.
    void GetPositionOld(double t, double &x, double &y) const;
    // -X(apoapsis) - X(periapsis); 2 a e for an orbit whose angles are 0.
    double GetStarFociX() const;
    // E with E - e sin E = M, by Newton's method.
    double NewtonTrueAnomaly(double meanAnomaly) const;
    // rounds steps of E <- M + e sin E from E = M.
    double IterativeTrueAnomaly(double meanAnomaly, int rounds) const;

private:
    double UsedEccentricity() const;
    double MeanAnomaly(double t) const;
    // Radius and angle from periapsis at time t.
    void PlanePolar(double t, double &r, double &angle) const;
};

// The orbit of a body: its orbit radius, its year length (negated for a body
// that orbits against its parent), eccentricity and time offset; the foci
// offset is taken before the three angles are set.
std::unique_ptr<TOrbit> GetOrbit(const TStellarBody &body);

// Closest and farthest distance between two orbits, sampled 360 times over
// each orbit's own period from one step after time 0; both orbits are left
// at their last sampled times.
void OrbitGetExtremes(TOrbit &a, TOrbit &b, double &minDist, double &maxDist);
double OrbitGetNearestApproach(TOrbit &a, TOrbit &b);
double OrbitGetFarthestApart(TOrbit &a, TOrbit &b);
// Sets both orbits to time t and measures the distance between them.
double OrbitGetDistanceAtTime(TOrbit &a, TOrbit &b, double t);
// A diagnostic for scripts: the distance of a sample orbit from itself half a
// period on.  Touches no data.
double OrbitTest();

} // namespace kalvion
