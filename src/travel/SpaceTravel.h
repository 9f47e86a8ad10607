#pragma once
// The physics of travel: positions of bodies inside their systems, trips under
// constant acceleration (accelerate half the way, decelerate the other half,
// never beyond light speed) and trips at a fixed velocity.
#include "model/VexaPoint.h"

#include <string>

namespace kalvion {

class TStellarBody;

inline constexpr double TRAVEL_LIGHT_SPEED_MS = 299792458.0;   // m/s
inline constexpr double TRAVEL_LIGHT_SPEED_KMS = 299792.458;   // km/s
inline constexpr double TRAVEL_KM_PER_AU = 149597890.0;
inline constexpr double TRAVEL_STANDARD_G = 9.80665;           // m/s²
inline constexpr double TRAVEL_LIGHT_YEAR_SECONDS = 31536000.0; // 365 days: one light year at light speed
inline constexpr double TRAVEL_DISPLAY_YEAR_SECONDS = 31556952.0;
inline constexpr double TRAVEL_DAY_SECONDS = 86400.0;

class TSpaceTravel {
public:
    // The body's position in km relative to its system's root at the date
    // (days of the sector clock).  Components of a multiple system sit at
    // their stored offsets (AU), members of a planet system at its centre,
    // everything else on its orbit.
    static TVexaPoint BodyPositionKm(const TStellarBody &body, double date);
    // Seconds to reach light speed at a m/s²; -1 for a <= 0.
    static double TimeToLightSpeed(double a);
    // The longest burn (m) that accelerates and then decelerates without
    // reaching light speed: c² / 4a; -1 for a <= 0.
    static double MaxBurnDistance(double a);
    // Seconds to cover distanceKm accelerating at a for the first half and
    // decelerating for the second; beyond the longest burn the rest is flown
    // at light speed.  -1 for a <= 0.
    static double AccelTravelTime(double a, double distanceKm);
    static double LightMultipleToKmh(double x) { return x * TRAVEL_LIGHT_SPEED_MS / 1000.0 * 3600.0; }
    static double GToMs2(double x) { return x * TRAVEL_STANDARD_G; }
    // distanceKm / kmh hours in seconds; 0 for kmh <= 0.
    static double FixedTravelTime(double kmh, double distanceKm);
};

// A duration in at most two units, each value truncated and followed by a
// blank: "2 days 20 hrs ", "4 yrs 108 days ", "90 secs ".  A unit is used
// only above one and a half of it.  "n/a" for a time that is not finite.
std::string FormatTravelDuration(double seconds);

} // namespace kalvion
