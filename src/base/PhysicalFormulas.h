#pragma once
// Physical constants and closed-form formulas of the star-system model.  The
// formulas are deliberately simplified (sigma carries an emissivity of 0.95,
// the Roche factor has no cube root); generated sectors depend on the exact
// values, so keep them as they are.  Argument order matters: scripts call
// these positionally.
#include "base/Colour.h"

#include <string_view>

namespace kalvion {

inline constexpr double EARTH_MASS = 1;
inline constexpr double EARTH_RADIUS_KM = 6378.14;
inline constexpr double EARTH_RADIUS_M = 6378140;
inline constexpr double EARTH_ORBIT_KM = 149597890;
inline constexpr double AU = 149597890;
inline constexpr double EARTH_MASS_GRAMS = 5.977e27;
inline constexpr double EARTH_MASS_KG = 5.977e24;
inline constexpr double STANDARD_GRAVITY = 9.80665;
inline constexpr double ONE_G = 9.80665;
inline constexpr double EARTH_ALBEDO = 0.37;
inline constexpr double MOON_ORBIT_KM = 384800;
inline constexpr double SUN_LUMINOSITY = 3.86e26;
inline constexpr double SUN_MASS_GRAMS = 1.989e33;
inline constexpr double SUN_MASS_KG = 1.989e30;
inline constexpr double SUN_RADIUS_KM = 695500;
inline constexpr double SUN_DENSITY = 1.409;
inline constexpr double SIGMA = 5.67e-8;
inline constexpr double EPSILON = 0.95;
inline constexpr double PARSEC = 3.2616;
inline constexpr double GRAVITY_CONSTANT = 6.673e-11;
inline constexpr double BOLTZMANN_CONSTANT = 1.381e-23;
inline constexpr double HYDROGEN_MASS = 1.67e-27;
inline constexpr double MOLAR_GAS_CONSTANT = 8314.41;
inline constexpr double KELVIN_BASE = 273;

// Literals the formulas use as written (not recomputed from the constants).
inline constexpr double SIXTEEN_PI = 50.26548245743669;
inline constexpr double SIGMA_EPSILON = 5.3865e-8;
inline constexpr double TWO_G = 1.3346e-10;
inline constexpr double THREE_K = 4.143e-23;
inline constexpr double FOUR_PI_SQUARED = 39.47841760435743;
inline constexpr double MOON_PERIOD_DAYS = 27.32;

// Kelvin at distance (m) from a star of luminosity (solar) with albedo.
double EquilibriumTemp(double luminosity, double distanceM, double albedo);
double MassRelEarth(double radiusKm, double density);
double SurfaceGravity(double radiusKm, double density);
double EscapeVelocity(double massEarth, double radiusKm);
// Orbit radius from the body's centre, km.  The third argument is the body's
// radius in km; it does not enter the result (see the definition).
double Geostationary(double massEarth, double rotationHours, double radiusKm);
double CalcYearLength(double distanceKm, double starMassSolar);
double CalcMoonPeriod(double distanceKm, double parentMassEarth);
double RocheFactor(double parentRadiusKm, double parentDensity, double satelliteDensity, double distanceKm);
double HillSphere(double bodyMass, double primaryMass, double distance);
double AtmosphereMinMoleculeWeight(double massKg, double tempK, double radiusKm);
bool AtmosphereIsGasRetained(double molecularWeight, double massEarth, double radiusKm, double tempK);
double EscapeTemperature(double a, double b, double c);
double StarRadiusFromMass(double massSolar);
double StarLuminosityFromMass(double massSolar);
TColor StarColorFromSpectral(std::string_view spectral);

} // namespace kalvion
