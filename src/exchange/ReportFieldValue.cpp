#include "exchange/ReportFieldValue.h"

#include "base/NumberFormat.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"

namespace kalvion {

namespace {

constexpr double KM_PER_AU_REPORT = 149597890.0;
constexpr double EARTH_RADIUS_REPORT_KM = 6378.14;

std::string General(double v, const char *suffix) { return FormatFloat(VEXA_FLOAT_FMT, v) + suffix; }

} // namespace

std::string ReportFieldValue(const TStellarBody &b, const TSystemDataRec &rec)
{
    const std::string &s = rec.Source;
    if (s.empty() || s == "children")
        return {};
    if (s == "spectral")
        return b.Spectral;
    if (s == "mass")
        return FormatFloat("#######.###", b.Mass) + " sol";
    if (s == "solradius")
        return FormatFloat("#####.###", b.Radius) + " sol";
    if (s == "luminosity")
        return General(b.Luminosity, " sol");
    if (s == "political")
        return b.PoliticalAffiliation;
    if (s == "systempopulation")
        return b.FormatChildPopulation();
    if (s == "population")
        return FormatFloat("###,###,###,###", b.Population);
    if (s == "orbitalring")
        return FormatFloat("###,###,###,###,##0", b.Distance) + " km";
    if (s == "radius")
        return FormatFloat("#########", b.Radius) + " km";
    if (s == "gravity")
        return FormatFloat("###0.##", b.Radius / EARTH_RADIUS_REPORT_KM * b.Density) + "G";
    if (s == "temperature")
        return FormatFloat("########0", b.Temp) + "K/" + FormatFloat("########0", b.Temp - 273) + "C";
    if (s == "atmosphere")
        return b.AtmosphereNotes;
    if (s == "water")
        return FormatFloat("###.###", b.Water * 100);
    if (s == "habitability")
        return HabitNameFromHabitCode(b.Habitability);
    if (s == "distance")
        return FormatFloat("###,###,###,##0", b.Distance) + " km";
    if (s == "distance-au")
        return FormatFloat("###,###,###,##0.######", b.Distance / KM_PER_AU_REPORT) + " AU";
    if (s == "orbitperiod")
        return b.FormatYearLength();
    if (s == "rotation")
        return FormatFloat("#######0.#", b.Rotation) + " hrs";
    // Eccentricity carries the angles' suffix in the report.
    if (s == "eccentricity")
        return General(b.Eccentricity, " deg");
    if (s == "ascendingnode")
        return General(b.AngleAscendingNode, " deg");
    if (s == "angleperiapsis")
        return General(b.AnglePeriapsis, " deg");
    if (s == "inclination")
        return General(b.Inclination, " deg");
    if (s == "pastperiapsis")
        return General(b.TimeOffset, " days");
    if (s == "axialtilt")
        return General(b.AxialTilt, " deg");
    if (s == "custom field")
        return b.GetField(rec.Field);
    return {};
}

} // namespace kalvion
