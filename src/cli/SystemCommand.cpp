// "kalvion-cli system": one generated star system, made the way the sector
// generator makes each system it places, printed as an indented tree.
#include "cli/CliApp.h"

#include "base/NumberFormat.h"
#include "base/SharedRandom.h"
#include "base/Paths.h"
#include "generation/QuickGenerate.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "science/ZentRand.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace kalvion::cli {

namespace {

// Coordinate codes of a root at the origin in a sector of about this width.
constexpr double kCliSectorSize = 50;

std::string TypeText(const TStellarBody &b)
{
    return b.BodyType.empty() ? NameFromBodyType(b.TypeID) : b.BodyType;
}

void Line(std::ostream &out, const std::string &indent, const char *caption, const std::string &value)
{
    if (!value.empty())
        out << indent << "  " << caption << ": " << value << "\n";
}

std::string Num(const char *pattern, double v) { return v == 0 ? std::string() : FormatFloat(pattern, v); }

// The data a reader wants first for each kind of body.
void PrintBody(const TStellarBody &b, int depth, std::ostream &out)
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
    if ((t >= BODY_TYPE_TERRESTRIAL && t <= BODY_TYPE_MEGASTRUCTURE) || t == BODY_TYPE_STATION) {
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
    for (const auto &c : b.Children)
        PrintBody(*c, depth + 1, out);
}

nlohmann::ordered_json BodyJson(const TStellarBody &b)
{
    nlohmann::ordered_json j;
    j["IDString"] = b.IDString;
    j["Name"] = b.Name;
    j["TypeID"] = b.TypeID;
    j["BodyType"] = b.BodyType;
    j["Spectral"] = b.Spectral;
    j["Distance"] = b.Distance;
    j["Radius"] = b.Radius;
    j["Density"] = b.Density;
    j["Mass"] = b.Mass;
    j["Rotation"] = b.Rotation;
    j["Luminosity"] = b.Luminosity;
    j["Albedo"] = b.Albedo;
    j["Temp"] = b.Temp;
    j["Atmosphere"] = b.Atmosphere;
    j["AtmosphereNotes"] = b.AtmosphereNotes;
    j["Water"] = b.Water;
    auto atm = nlohmann::ordered_json::array();
    for (const auto &e : b.AtmElements)
        atm.push_back({{"Gas", e.Gas}, {"Percent", e.Percent}});
    j["AtmElements"] = std::move(atm);
    j["Population"] = b.Population;
    j["ChildPopulation"] = b.ChildPopulation;
    j["Habitability"] = b.Habitability;
    j["ChildHabitability"] = b.ChildHabitability;
    j["BodyCount"] = b.BodyCount;
    j["PoliticalAffiliation"] = b.PoliticalAffiliation;
    j["SphereInfluence"] = b.SphereInfluence;
    j["SphereInfluenceColor"] = b.SphereInfluenceColor;
    j["SphereInfluenceSize"] = b.SphereInfluenceSize;
    j["Notes"] = b.Notes;
    j["GMNotes"] = b.GMNotes;
    j["Color"] = b.Color;
    j["LabelColor"] = b.LabelColor;
    j["FontStyle"] = b.FontStyle;
    j["DSOIntensity"] = b.DSOIntensity;
    j["RenderDistance"] = b.RenderDistance;
    j["LabelDistance"] = b.LabelDistance;
    j["RouteDistance"] = b.RouteDistance;
    j["Selected"] = b.Selected;
    j["Visible"] = b.Visible;
    j["RetrogradeOrbit"] = b.RetrogradeOrbit;
    j["BlazonDisplay"] = b.BlazonDisplay;
    j["BlazonWrap"] = b.BlazonWrap;
    j["Eccentricity"] = b.Eccentricity;
    j["Inclination"] = b.Inclination;
    j["AngleAscendingNode"] = b.AngleAscendingNode;
    j["AnglePeriapsis"] = b.AnglePeriapsis;
    j["TimeOffset"] = b.TimeOffset;
    j["AxialTilt"] = b.AxialTilt;
    j["OrbitalPlaneX"] = b.OrbitalPlaneX;
    j["OrbitalPlaneY"] = b.OrbitalPlaneY;
    j["OrbitalPlaneZ"] = b.OrbitalPlaneZ;
    j["OrbitColor"] = b.OrbitColor;
    j["X"] = b.X;
    j["Y"] = b.Y;
    j["Z"] = b.Z;
    j["RandomSeed"] = b.RandomSeed;
    j["PreviewImageFile"] = b.PreviewImageFile;
    j["BlazonImageFile"] = b.BlazonImageFile;
    j["ModelFile"] = b.ModelFile;
    auto fields = nlohmann::ordered_json::array();
    for (const auto &f : b.Fields)
        fields.push_back({{"Name", f.Name}, {"Value", f.Value}});
    j["Fields"] = std::move(fields);
    auto kids = nlohmann::ordered_json::array();
    for (const auto &c : b.Children)
        kids.push_back(BodyJson(*c));
    j["Children"] = std::move(kids);
    return j;
}

bool KnownSystemType(const std::string &text)
{
    std::vector<std::string> list;
    AddSystemBodyList(list);
    return text == "Planet, Blank" || text == "Gas Giant, Blank" || std::find(list.begin(), list.end(), text) != list.end();
}

} // namespace

int RunSystem(const CliOptions &opts, const SystemCommandOptions &sys, std::ostream &out, std::ostream &err)
{
    if (!sys.type.empty() && !KnownSystemType(sys.type)) {
        err << "kalvion-cli: unknown system type '" << sys.type << "'; the types are:\n";
        std::vector<std::string> list;
        AddSystemBodyList(list);
        for (const auto &t : list)
            err << "  " << t << "\n";
        return EXIT_USAGE;
    }
    if (!sys.names.empty() && !FileExists(JoinPath(ProgramSubfolder("LangData"), sys.names)) &&
        !FileExists(sys.names)) {
        err << "kalvion-cli: name table not found: " << sys.names << "\n";
        return EXIT_FAILURE_;
    }
    ApplySeed(opts);
    auto root = TStellarBody::Create();
    // The seeds are drawn as the sector generator draws them for its worker.
    std::uint32_t threadSeed = static_cast<std::uint32_t>(SharedRandomInt(2000000000));
    TSystemGenerator gen;
    gen.Seed = static_cast<std::uint32_t>(SeedRandomInt(threadSeed, 2000000000));
    gen.WithPopulations = true;  // also enables terraforming; the option below decides populations
    gen.StarsOnly = sys.starsOnly;
    gen.NameTableFile = sys.names;
    gen.SetPickLists();
    gen.SetTerraformingLevel(sys.terraforming);

    if (!sys.type.empty()) {
        // Typed creation runs the steps of its row only, populations included.
        TSystemGeneratorOptions options;
        options.NameTableFile = sys.names;
        CreateSystemOfType(gen, *root, sys.type, options);
    } else {
        gen.GenerateSystemInfo(*root);
        if (!sys.noPopulations)
            gen.GeneratePopulations(*root);
        gen.GenerateNames(*root, kCliSectorSize);
    }
    root->UpdateRootBody();

    if (opts.json)
        out << BodyJson(*root).dump(2) << "\n";
    else
        PrintBody(*root, 0, out);
    return EXIT_OK;
}

} // namespace kalvion::cli
