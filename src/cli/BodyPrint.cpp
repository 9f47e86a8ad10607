#include "cli/BodyPrint.h"

#include "base/Colour.h"
#include "base/NumberFormat.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <cstdio>
#include <ostream>

namespace kalvion::cli {

namespace {

std::string TypeText(const TStellarBody &b)
{
    return b.BodyType.empty() ? NameFromBodyType(b.TypeID) : b.BodyType.str();
}

void Line(std::ostream &out, const std::string &indent, const char *caption, const std::string &value)
{
    if (!value.empty())
        out << indent << "  " << caption << ": " << value << "\n";
}

std::string Num(const char *pattern, double v) { return v == 0 ? std::string() : FormatFloat(pattern, v); }

bool IsPlanetLike(int t) { return (t >= BODY_TYPE_TERRESTRIAL && t <= BODY_TYPE_MEGASTRUCTURE) || t == BODY_TYPE_STATION; }

// What "show" adds to the generated view: where the body is and what the
// user keeps about it.
void PrintDetails(const TStellarBody &b, const std::string &indent, const TVexaSector &sector, std::ostream &out)
{
    if (!b.Parent) {
        const std::string unit = " " + sector.UnitStarMeasureAbbrev;
        Line(out, indent, "Coordinates",
             FormatFloat("0.###", sector.DistanceInUnits(b.X)) + ", " + FormatFloat("0.###", sector.DistanceInUnits(b.Y)) +
                 ", " + FormatFloat("0.###", sector.DistanceInUnits(b.Z)) + unit);
    } else if (IsPlanetLike(b.TypeID) && b.Distance != 0) {
        Line(out, indent, "Eccentricity", Num("0.####", b.Eccentricity));
        Line(out, indent, "Inclination", Num("0.##", b.Inclination) + (b.Inclination != 0 ? " degrees" : ""));
        Line(out, indent, "Axial Tilt", Num("0.##", b.AxialTilt) + (b.AxialTilt != 0 ? " degrees" : ""));
    }
    if (IsPlanetLike(b.TypeID)) {
        Line(out, indent, "Density", Num("0.###", b.Density) + (b.Density != 0 ? " g/cm3" : ""));
        Line(out, indent, "Albedo", Num("0.###", b.Albedo));
        Line(out, indent, "Pressure", Num("0.###", b.Atmosphere) + (b.Atmosphere != 0 ? " atm" : ""));
    }
    Line(out, indent, "Political", b.PoliticalAffiliation);
    Line(out, indent, "Notes", b.Notes);
    for (const auto &f : b.Fields)
        Line(out, indent, f.Name.c_str(), f.Value);
}

} // namespace

std::string ColourText(std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

void PrintBodyTree(const TStellarBody &b, int depth, const TVexaSector *sector, std::ostream &out)
{
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out << indent << TypeText(b);
    if (!b.Name.empty())
        out << " \"" << b.Name << "\"";
    out << "\n";
    const int t = b.TypeID;
    if (t == BODY_TYPE_STAR) {
        Line(out, indent, "Spectral Class", b.Spectral);
        Line(out, indent, "Mass", Num("#,##0.####", b.Mass) + (b.Mass != 0 ? " solar masses" : ""));
        Line(out, indent, "Luminosity", Num("#,##0.######", b.Luminosity));
        Line(out, indent, "Radius", Num("#,##0.####", b.Radius) + (b.Radius != 0 ? " solar radii" : ""));
    } else if (t == BODY_TYPE_CLOSEMULT) {
        Line(out, indent, "Separation", Num("#,##0", b.Distance) + (b.Distance != 0 ? " km" : ""));
        Line(out, indent, "Luminosity", Num("#,##0.######", b.Luminosity));
    } else if (t == BODY_TYPE_BLACKHOLE) {
        Line(out, indent, "Mass", Num("#,##0", b.Mass) + " solar masses");
    }
    // Components of a multiple system are placed in AU around its centre.
    if (b.Parent && b.Parent->TypeID == BODY_TYPE_MULT)
        Line(out, indent, "Position",
             FormatFloat("0.##", b.X) + ", " + FormatFloat("0.##", b.Y) + ", " + FormatFloat("0.##", b.Z) + " AU");
    if (IsPlanetLike(t)) {
        Line(out, indent, "Distance", Num("#,##0", b.Distance) + (b.Distance != 0 ? " km" : ""));
        const bool width = t == BODY_TYPE_ASTEROIDBELT || t == BODY_TYPE_RING;
        Line(out, indent, width ? "Width" : "Radius", Num("#,##0.#", b.Radius) + (b.Radius != 0 ? " km" : ""));
        Line(out, indent, "Mass", Num("#,##0.######", b.Mass) + (b.Mass != 0 ? " Earth masses" : ""));
        if (b.Radius != 0 && b.Density != 0 && !width)
            Line(out, indent, "Gravity", FormatFloat("0.00", b.GetSurfaceGravity()) + " g");
        if (b.Temp != 0)
            Line(out, indent, "Temperature", FormatFloat("0", b.Temp) + " K (" + FormatFloat("0", b.GetTempC()) + " C)");
        if (b.Parent && b.Distance != 0 && b.YearLength() > 0 && !width)
            Line(out, indent, "Year", b.FormatYearLength());
        if (b.Rotation != 0)
            Line(out, indent, "Rotation", FormatFloat("0.##", b.Rotation) + " hours");
        Line(out, indent, "Atmosphere", b.AtmosphereNotes);
        Line(out, indent, "Water", Num("0%", b.Water * 100));
        if (t == BODY_TYPE_TERRESTRIAL)
            Line(out, indent, "Habitability", HabitNameFromHabitCode(b.Habitability));
    }
    if (b.Population > 0)
        Line(out, indent, "Population", b.FormatPopulation());
    if (sector)
        PrintDetails(b, indent, *sector, out);
    for (const auto &c : b.Children)
        PrintBodyTree(*c, depth + 1, sector, out);
}

nlohmann::ordered_json BodyJson(const TStellarBody &b)
{
    nlohmann::ordered_json j;
    j["id"] = b.IDString.str();
    j["name"] = b.Name;
    j["type_id"] = b.TypeID;
    j["type"] = NameFromBodyType(b.TypeID);
    j["body_type"] = b.BodyType.str();
    j["spectral"] = b.Spectral.str();
    j["x"] = b.X;
    j["y"] = b.Y;
    j["z"] = b.Z;
    j["distance"] = b.Distance;
    j["radius"] = b.Radius;
    j["density"] = b.Density;
    j["mass"] = b.Mass;
    j["rotation"] = b.Rotation;
    j["luminosity"] = b.Luminosity;
    j["albedo"] = b.Albedo;
    j["temp"] = b.Temp;
    j["atmosphere"] = b.Atmosphere;
    j["atmosphere_notes"] = b.AtmosphereNotes.str();
    j["water"] = b.Water;
    auto atm = nlohmann::ordered_json::array();
    for (const auto &e : b.AtmElements)
        atm.push_back({{"gas", e.Gas}, {"percent", e.Percent}});
    j["atm_elements"] = std::move(atm);
    j["population"] = b.Population;
    j["child_population"] = b.ChildPopulation;
    j["habitability"] = b.Habitability;
    j["habitability_text"] = HabitNameFromHabitCode(b.Habitability);
    j["child_habitability"] = b.ChildHabitability;
    j["body_count"] = b.BodyCount;
    j["political"] = b.PoliticalAffiliation.str();
    j["sphere_influence"] = b.SphereInfluence;
    j["sphere_influence_color"] = b.SphereInfluenceColor;
    j["sphere_influence_size"] = b.SphereInfluenceSize;
    j["notes"] = b.Notes.str();
    j["gm_notes"] = b.GMNotes.str();
    j["color"] = b.Color;
    j["color_text"] = ColourText(b.Color);
    j["label_color"] = b.LabelColor;
    j["label_color_text"] = ColourText(b.LabelColor);
    j["font_style"] = b.FontStyle;
    j["dso_intensity"] = b.DSOIntensity;
    j["render_distance"] = b.RenderDistance;
    j["label_distance"] = b.LabelDistance;
    j["route_distance"] = b.RouteDistance;
    j["visible"] = b.Visible;
    j["retrograde_orbit"] = b.RetrogradeOrbit;
    j["blazon_display"] = b.BlazonDisplay;
    j["blazon_wrap"] = b.BlazonWrap;
    j["eccentricity"] = b.Eccentricity;
    j["inclination"] = b.Inclination;
    j["angle_ascending_node"] = b.AngleAscendingNode;
    j["angle_periapsis"] = b.AnglePeriapsis;
    j["time_offset"] = b.TimeOffset;
    j["axial_tilt"] = b.AxialTilt;
    j["orbital_plane"] = {b.OrbitalPlaneX, b.OrbitalPlaneY, b.OrbitalPlaneZ};
    j["orbit_color"] = b.OrbitColor;
    j["random_seed"] = b.RandomSeed;
    j["preview_image_file"] = b.PreviewImageFile.str();
    j["blazon_image_file"] = b.BlazonImageFile.str();
    j["model_file"] = b.ModelFile.str();
    // User field names are the user's words, so they are values, not keys.
    auto fields = nlohmann::ordered_json::array();
    for (const auto &f : b.Fields)
        fields.push_back({{"name", f.Name}, {"value", f.Value}});
    j["fields"] = std::move(fields);
    auto kids = nlohmann::ordered_json::array();
    for (const auto &c : b.Children)
        kids.push_back(BodyJson(*c));
    j["children"] = std::move(kids);
    return j;
}

} // namespace kalvion::cli
