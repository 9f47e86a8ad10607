#include "base/PhysicalFormulas.h"

#include "base/AsciiText.h"

#include <cmath>

namespace kalvion {

namespace {

double FiniteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

} // namespace

double EquilibriumTemp(double luminosity, double distanceM, double albedo)
{
    if (!(luminosity > 0))
        return 0;
    const double d = distanceM * distanceM * SIXTEEN_PI * SIGMA_EPSILON;
    if (!(d > 0))
        return 0;
    return std::pow((1 - albedo) * luminosity * SUN_LUMINOSITY / d, 0.25);
}

double MassRelEarth(double radiusKm, double density)
{
    return FiniteOrZero(std::pow(radiusKm / EARTH_RADIUS_KM, 3) * density);
}

double SurfaceGravity(double radiusKm, double density)
{
    return (radiusKm / EARTH_RADIUS_KM) * density;
}

double EscapeVelocity(double massEarth, double radiusKm)
{
    return std::sqrt(TWO_G * massEarth * EARTH_MASS_KG / (radiusKm * 1000)) / 1000;
}

double Geostationary(double massEarth, double rotationHours, double /*radiusKm*/)
{
    // The radius from the centre is what the Hill-sphere comparison needs; an
    // earlier form added the radius in km to a value still in metres.
    const double t = rotationHours * 3600;
    const double r = std::cbrt(t * t * massEarth * EARTH_MASS_KG * GRAVITY_CONSTANT / FOUR_PI_SQUARED);
    return r / 1000;
}

double CalcYearLength(double distanceKm, double starMassSolar)
{
    if (starMassSolar == 0)
        return 0;
    return std::sqrt(std::pow(distanceKm / EARTH_ORBIT_KM, 3) / starMassSolar) * 365;
}

double CalcMoonPeriod(double distanceKm, double parentMassEarth)
{
    if (parentMassEarth == 0)
        return 0;
    return std::sqrt(std::pow(distanceKm / MOON_ORBIT_KM, 3) / parentMassEarth) * MOON_PERIOD_DAYS;
}

double RocheFactor(double parentRadiusKm, double parentDensity, double satelliteDensity, double distanceKm)
{
    const double e = parentRadiusKm * parentDensity * 2.423 / satelliteDensity;
    if (e == 0 || std::isnan(e))
        return 0;
    return distanceKm / e;
}

double HillSphere(double bodyMass, double primaryMass, double distance)
{
    return FiniteOrZero(distance * std::cbrt(bodyMass / (3 * primaryMass)));
}

double AtmosphereMinMoleculeWeight(double massKg, double tempK, double radiusKm)
{
    return BOLTZMANN_CONSTANT * tempK * radiusKm / (GRAVITY_CONSTANT * massKg) / HYDROGEN_MASS * 100 * 1000;
}

bool AtmosphereIsGasRetained(double molecularWeight, double massEarth, double radiusKm, double tempK)
{
    const double vrms = std::sqrt(THREE_K * tempK / (HYDROGEN_MASS * molecularWeight));
    const double vesc = std::sqrt(TWO_G * massEarth * EARTH_MASS_KG / (radiusKm * 1000));
    return 10 * vrms <= vesc;
}

double EscapeTemperature(double, double, double)
{
    return 0;
}

double StarRadiusFromMass(double massSolar) { return std::pow(massSolar, 0.8); }

double StarLuminosityFromMass(double massSolar) { return std::pow(massSolar, 3.5); }

TColor StarColorFromSpectral(std::string_view spectral)
{
    const std::string s = AsciiUpper(spectral);
    TColor c = ColorRGB(255, 255, 255);
    // Later letters in this order win over earlier ones.
    struct Entry { char letter; TColor color; };
    static constexpr Entry table[] = {
        {'M', ColorRGB(255, 204, 111)}, {'K', ColorRGB(255, 210, 161)}, {'G', ColorRGB(255, 244, 234)},
        {'F', ColorRGB(248, 247, 255)}, {'A', ColorRGB(202, 215, 255)}, {'B', ColorRGB(170, 191, 255)},
        {'O', ColorRGB(155, 176, 255)},
    };
    for (const auto &e : table)
        if (s.find(e.letter) != std::string::npos)
            c = e.color;
    return c;
}

} // namespace kalvion
