#include "travel/SpaceTravel.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "science/Orbits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace kalvion {

TVexaPoint TSpaceTravel::BodyPositionKm(const TStellarBody &body, double date)
{
    std::vector<const TStellarBody *> chain;
    for (const TStellarBody *b = &body; b->Parent; b = b->Parent)
        chain.push_back(b);
    TVexaPoint pos;
    // Outermost link first, so the sum follows the tree from the root down.
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const TStellarBody &link = **it;
        const int parentType = link.Parent->TypeID;
        if (parentType == BODY_TYPE_MULT || parentType == BODY_TYPE_CLOSEMULT) {
            pos.X += link.X * TRAVEL_KM_PER_AU;
            pos.Y += link.Y * TRAVEL_KM_PER_AU;
            pos.Z += link.Z * TRAVEL_KM_PER_AU;
        } else if (parentType != BODY_TYPE_PLANETSYSTEM) {
            const auto orbit = GetOrbit(link);
            orbit->SetTime(date);
            pos.X += orbit->PositionX;
            pos.Y += orbit->PositionY;
            pos.Z += orbit->PositionZ;
        }
    }
    return pos;
}

double TSpaceTravel::TimeToLightSpeed(double a)
{
    if (!(a > 0))
        return -1;
    return TRAVEL_LIGHT_SPEED_MS / a;
}

double TSpaceTravel::MaxBurnDistance(double a)
{
    if (!(a > 0))
        return -1;
    const double half = TimeToLightSpeed(a) / 2;
    return a * half * half;
}

double TSpaceTravel::AccelTravelTime(double a, double distanceKm)
{
    if (!(a > 0))
        return -1;
    const double d = distanceKm * 1000.0;
    const double dmax = MaxBurnDistance(a);
    return 2 * std::sqrt(std::min(d, dmax) / a) + std::max(d - dmax, 0.0) / TRAVEL_LIGHT_SPEED_MS;
}

double TSpaceTravel::FixedTravelTime(double kmh, double distanceKm)
{
    if (!(kmh > 0))
        return 0;
    return distanceKm / kmh * 3600.0;
}

namespace {

// A truncated whole number of any size, without converting it to an integer.
std::string WholeText(double value)
{
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::trunc(value), std::chars_format::fixed, 0);
    return std::string(buf, res.ptr);
}

} // namespace

std::string FormatTravelDuration(double seconds)
{
    if (!std::isfinite(seconds))
        return "n/a";
    struct TUnit {
        double Seconds;
        double Above;
        const char *Name;
    };
    static constexpr TUnit units[] = {
        {TRAVEL_DISPLAY_YEAR_SECONDS, 47335428.0, " yrs "},
        {TRAVEL_DAY_SECONDS, 129600.0, " days "},
        {3600.0, 5400.0, " hrs "},
        {60.0, 90.0, " mins "},
    };
    double rest = std::fabs(seconds);
    std::string out;
    int written = 0;
    for (const TUnit &u : units) {
        if (!(rest > u.Above))
            continue;
        const double whole = std::trunc(rest / u.Seconds);
        out += WholeText(whole);
        out += u.Name;
        rest -= whole * u.Seconds;
        if (++written == 2)
            return out;
    }
    if (rest > 0)
        out += WholeText(rest) + " secs ";
    return out;
}

} // namespace kalvion
