#include "model/SystemDataDisplay.h"

#include "base/NumberFormat.h"
#include "model/StellarBody.h"

namespace kalvion {

namespace {

constexpr const char *READ_FMT = "###,###,###,##0.######";

// Kilometres per astronomical unit, as the display lines have always used it.
constexpr double KM_PER_AU_DISPLAY = 149597890.0;
// Earth's radius in km: the display gravity is radius ratio times density.
constexpr double EARTH_RADIUS_DISPLAY_KM = 6378.14;

std::string Captioned(const TSystemDataRec &rec, const std::string &value)
{
    return rec.DisplayText + ": " + value;
}

std::string Angle(double v) { return FormatFloat(READ_FMT, v) + " deg"; }

} // namespace

const TSystemDataConfig *SystemDataConfigFor(const TStellarBody &body, const TSystemDataConfigHolder *holder)
{
    if (body.SystemDataConfig())
        return body.SystemDataConfig();
    return holder ? holder->GetConfigForType(body.TypeID) : nullptr;
}

bool SystemDataLineText(const TStellarBody &b, const TSystemDataRec &rec, std::string &text)
{
    const std::string &s = rec.Source;
    const bool h = rec.HideIfEmpty;
    if (s.empty()) {
        text = rec.DisplayText;
        return true;
    }
    if (s == "spectral") {
        text = Captioned(rec, b.Spectral);
        return !b.Spectral.empty() || !h;
    }
    if (s == "mass") {
        text = Captioned(rec, FormatFloat(READ_FMT, b.Mass) + " sol");
        return b.Mass > 0 || !h;
    }
    if (s == "solradius") {
        text = Captioned(rec, FormatFloat(READ_FMT, b.Radius) + " sol");
        return b.Radius > 0 || !h;
    }
    if (s == "luminosity") {
        text = Captioned(rec, FormatFloat(VEXA_FLOAT_FMT, b.Luminosity) + " sol");
        return b.Luminosity > 0 || !h;
    }
    if (s == "political") {
        text = Captioned(rec, b.PoliticalAffiliation);
        return !b.PoliticalAffiliation.empty() || !h;
    }
    if (s == "systempopulation") {
        text = Captioned(rec, b.FormatChildPopulation());
        return true;
    }
    if (s == "population") {
        text = Captioned(rec, FormatFloat(READ_FMT, b.Population));
        return b.Population > 0 || !h;
    }
    if (s == "orbitalring") {
        text = Captioned(rec, FormatFloat(READ_FMT, b.Distance) + " km");
        return b.Distance > 0 || !h;
    }
    // The sources below show whatever the hide flag says.
    if (s == "radius")
        text = Captioned(rec, FormatFloat(READ_FMT, b.Radius) + " km");
    else if (s == "gravity")
        text = Captioned(rec, FormatFloat("###0.##", b.Radius / EARTH_RADIUS_DISPLAY_KM * b.Density) + "G");
    else if (s == "distance")
        text = Captioned(rec, FormatFloat(READ_FMT, b.Distance) + " km");
    else if (s == "distance-au")
        text = Captioned(rec, FormatFloat(READ_FMT, b.Distance / KM_PER_AU_DISPLAY) + " AU");
    else if (s == "orbitperiod")
        text = rec.DisplayText + (b.RetrogradeOrbit ? ": -" : ": ") + b.FormatYearLength();
    else if (s == "rotation")
        text = Captioned(rec, FormatFloat("#######0.#", b.Rotation) + " hrs");
    else if (s == "eccentricity")
        text = Captioned(rec, Angle(b.Eccentricity));
    else if (s == "ascendingnode")
        text = Captioned(rec, Angle(b.AngleAscendingNode));
    else if (s == "angleperiapsis")
        text = Captioned(rec, Angle(b.AnglePeriapsis));
    else if (s == "inclination")
        text = Captioned(rec, Angle(b.Inclination));
    else if (s == "axialtilt")
        text = Captioned(rec, Angle(b.AxialTilt));
    else if (s == "pastperiapsis")
        text = Captioned(rec, FormatFloat(READ_FMT, b.TimeOffset) + " days");
    else if (s == "temperature")
        text = Captioned(rec, FormatFloat("########0", b.Temp) + "K/" + FormatFloat("########0", b.Temp - 273) + "C");
    else if (s == "atmosphere")
        text = Captioned(rec, b.AtmosphereNotes);
    else if (s == "water") {
        text = Captioned(rec, FormatFloat("###.###", b.Water * 100));
        return b.Water > 0 || !h;
    } else if (s == "habitability") {
        text = rec.DisplayText + HabitNameFromHabitCode(b.Habitability);
        return b.Habitability > 0 || !h;
    } else if (s == "custom field") {
        const std::string value = b.GetField(rec.Field);
        text = Captioned(rec, value);
        return !value.empty() || !h;
    } else {
        text.clear();
        return false;
    }
    return true;
}

void FillSystemDataTree(TStellarBody &body, TTreeSink &tree, TTreeSink::NodeId node,
                        const TSystemDataConfigHolder *holder)
{
    const TSystemDataConfig *config = SystemDataConfigFor(body, holder);
    if (!config)
        return;
    std::string text;
    for (const TSystemDataRec &rec : config->Records) {
        if (rec.Source == "children") {
            if (body.Children.empty())
                continue;
            body.SortChildrenByDistance();
            const TTreeSink::NodeId group = tree.AddNode(node, rec.DisplayText, nullptr);
            for (const auto &child : body.Children) {
                const std::string &name = child->Name.empty() ? std::string(SYSTEM_LABEL_UNNAMED_C) : child->Name;
                const TTreeSink::NodeId childNode = tree.AddNode(group, name, child.get());
                FillSystemDataTree(*child, tree, childNode, holder);
            }
            continue;
        }
        if (SystemDataLineText(body, rec, text))
            tree.AddNode(node, text, nullptr);
    }
}

} // namespace kalvion
