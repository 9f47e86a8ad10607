#include "generation/NewSectorOptions.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/Paths.h"
#include "base/Rounding.h"
#include "base/SettingsBool.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kalvion {

const std::array<TGeneratorFreqSlider, FREQ_SLIDER_COUNT> GENERATOR_FREQ_SLIDERS = {{
    {"GeneratorFreqSingleStar", "SingleStar", {BODY_TYPE_STAR, 0}},
    {"GeneratorFreqMult", "Mult", {BODY_TYPE_MULT, BODY_TYPE_CLOSEMULT}},
    {"GeneratorFreqBlackHole", "BlackHole", {BODY_TYPE_BLACKHOLE, 0}},
    {"GeneratorFreqFreeObject", "FreeObject", {BODY_TYPE_FREEOBJECT, 0}},
    {"GeneratorFreqStation", "Station", {BODY_TYPE_STATION, 0}},
    {"GeneratorFreqNeutron", "Neutron", {BODY_TYPE_NEUTRON, 0}},
    {"GeneratorFreqNebula", "Nebula", {BODY_TYPE_NEBULA, 0}},
    {"GeneratorFreqWhiteDwarf", "WhiteDwarf", {BODY_TYPE_WHITEDWARF, 0}},
    {"GeneratorFreqGiantStar", "GiantStar", {BODY_TYPE_REDGIANT, BODY_TYPE_BLUEGIANT}},
    {"GeneratorFreqTerrestrial", "Terrestrial", {BODY_TYPE_TERRESTRIAL, 0}},
    {"GeneratorFreqGasGiant", "GasGiant", {BODY_TYPE_GASGIANT, 0}},
    {"GeneratorFreqPlanetSystem", "PlanetSystem", {BODY_TYPE_PLANETSYSTEM, 0}},
    {"GeneratorFreqAsteroidBelt", "AsteroidBelt", {BODY_TYPE_ASTEROIDBELT, 0}},
    {"GeneratorFreqPlanetoid", "Planetoid", {BODY_TYPE_PLANETOID, 0}},
}};

namespace {

constexpr double PARSEC_LY = 3.2616;

double UnitRatio(const std::string &unit) { return unit == "Parsecs" ? PARSEC_LY : 1.0; }

std::string NumberText(double v) { return FormatFloat("0.######", v); }

// Reads the values in order and stops at the first one missing or unreadable.
class TReader {
public:
    explicit TReader(const TSettingsValues &s) : FSettings(s) {}
    bool Stopped() const { return FStopped; }

    template <class F>
    void Next(std::string_view name, F &&apply)
    {
        if (FStopped)
            return;
        const auto text = FSettings.Read(name);
        if (!text || !apply(*text))
            FStopped = true;
    }
    void Bool(std::string_view name, bool &out)
    {
        Next(name, [&](const std::string &t) {
            const auto v = ParseSettingsBool(t);
            if (v)
                out = *v;
            return v.has_value();
        });
    }
    // A value that is missing counts as on and reading goes on.
    void BoolOnWhenMissing(std::string_view name, bool &out)
    {
        if (FStopped)
            return;
        const auto text = FSettings.Read(name);
        if (!text) {
            out = true;
            return;
        }
        const auto v = ParseSettingsBool(*text);
        if (v)
            out = *v;
        else
            FStopped = true;
    }
    void Int(std::string_view name, std::int32_t &out, std::int64_t lo, std::int64_t hi)
    {
        Next(name, [&](const std::string &t) {
            const auto v = ParseInt64(t);
            if (v)
                out = static_cast<std::int32_t>(std::clamp(*v, lo, hi));
            return v.has_value();
        });
    }
    void Real(std::string_view name, double &out)
    {
        Next(name, [&](const std::string &t) {
            const auto v = ParseDouble(t);
            const bool ok = v && std::isfinite(*v) && *v >= 0 && *v <= 1.0e9;
            if (ok)
                out = *v;
            return ok;
        });
    }
    void Text(std::string_view name, std::string &out)
    {
        Next(name, [&](const std::string &t) {
            out = t;
            return true;
        });
    }

private:
    const TSettingsValues &FSettings;
    bool FStopped = false;
};

std::int32_t SubsectorIndex(std::int32_t count)
{
    const auto it = std::find(SUBSECTOR_COUNTS.begin(), SUBSECTOR_COUNTS.end(), count);
    return it == SUBSECTOR_COUNTS.end() ? 1 : static_cast<std::int32_t>(it - SUBSECTOR_COUNTS.begin());
}

void TakeCurrentShape(TNewSectorOptions &o, const TVexaSector &current)
{
    const double ratio = UnitRatio(o.Unit);
    o.Spherical = current.Spherical;
    o.Width = RoundDecimalPlaces(3, current.SizeX / ratio);
    o.Height = RoundDecimalPlaces(3, current.SizeY / ratio);
    o.Depth = RoundDecimalPlaces(3, current.SizeZ / ratio);
    o.Radius = o.Width / 2;
}

} // namespace

std::vector<std::string> NameTableFiles()
{
    std::vector<std::string> files;
    std::error_code ec;
    const std::filesystem::path folder(ProgramSubfolder("LangData"));
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && name.size() > 4 && AsciiLower(name.substr(name.size() - 4)) == ".ilt")
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

TNewSectorOptions DefaultNewSectorOptions(const TVexaSector &current, const std::string &nameTable)
{
    TNewSectorOptions o;
    o.NameTable = nameTable;
    TakeCurrentShape(o, current);
    return o;
}

TNewSectorOptions ReadNewSectorOptions(const TSettingsValues &settings, const TVexaSector &current,
                                       const std::string &defaultNameTable)
{
    TNewSectorOptions o = DefaultNewSectorOptions(current, defaultNameTable);
    TReader r(settings);
    r.Bool("GeneratorSpherical", o.Spherical);
    r.Next("GeneratorUnit", [&](const std::string &t) {
        if (t != "Light Years" && t != "Parsecs")
            return false;
        o.Unit = t;
        return true;
    });
    // The size defaults are in the unit just read.
    const bool spherical = o.Spherical;
    TakeCurrentShape(o, current);
    o.Spherical = spherical;
    r.Real("GeneratorWidth", o.Width);
    r.Real("GeneratorHeight", o.Height);
    r.Real("GeneratorDepth", o.Depth);
    o.Radius = o.Width / 2;
    r.Real("GeneratorRadius", o.Radius);
    r.Int("GeneratorTotalSystems", o.TotalSystems, 0, 100000000);
    r.Bool("GeneratorSubsectors", o.Subsectors);
    for (auto [name, count] : {std::pair{"GeneratorSubsectorX", &o.SubsectorX},
                               std::pair{"GeneratorSubsectorY", &o.SubsectorY},
                               std::pair{"GeneratorSubsectorZ", &o.SubsectorZ}}) {
        std::int32_t index = SubsectorIndex(*count);
        r.Int(name, index, 0, static_cast<std::int64_t>(SUBSECTOR_COUNTS.size()) - 1);
        *count = SUBSECTOR_COUNTS[static_cast<std::size_t>(index)];
    }
    std::int32_t colour = 0;
    for (auto [name, target] : {std::pair{"GeneratorColorLabel", &o.ColorLabel},
                                std::pair{"GeneratorColorPopulated", &o.ColorPopulated},
                                std::pair{"GeneratorColorSubsector", &o.ColorSubsector}}) {
        colour = static_cast<std::int32_t>(*target);
        r.Int(name, colour, 0, 0xFFFFFF);
        *target = static_cast<TColor>(colour);
    }
    r.Bool("GeneratorPlacements", o.Placements);
    r.Int("GeneratorFrequency", o.Frequency, 1, 100);
    r.Int("GeneratorDistribution", o.Distribution, DISTRIBUTION_CLUSTERED, DISTRIBUTION_EVEN);
    r.Int("GeneratorSystemData", o.SystemData, GENERATE_NONE, GENERATE_EXTENDED);
    r.Text("GeneratorNameTable", o.NameTable);
    r.BoolOnWhenMissing("GeneratorPopulations", o.Populations);
    r.BoolOnWhenMissing("OrganicNaming", o.OrganicNaming);
    for (std::size_t i = 0; i < GENERATOR_FREQ_SLIDERS.size(); ++i)
        r.Int(GENERATOR_FREQ_SLIDERS[i].SettingName, o.Freq[i], 0, 50);
    r.Int("GeneratorTerraforming", o.Terraforming, 0, 10);

    TakeCurrentShape(o, current);
    return o;
}

void WriteNewSectorOptions(TSettingsValues &s, const TNewSectorOptions &o)
{
    s.Write("GeneratorSpherical", SettingsBoolText(o.Spherical));
    s.Write("GeneratorWidth", NumberText(o.Width));
    s.Write("GeneratorHeight", NumberText(o.Height));
    s.Write("GeneratorDepth", NumberText(o.Depth));
    s.Write("GeneratorRadius", NumberText(o.Radius));
    s.Write("GeneratorTotalSystems", std::to_string(o.TotalSystems));
    s.Write("GeneratorUnit", o.Unit);
    s.Write("GeneratorSubsectors", SettingsBoolText(o.Subsectors));
    s.Write("GeneratorSubsectorX", std::to_string(SubsectorIndex(o.SubsectorX)));
    s.Write("GeneratorSubsectorY", std::to_string(SubsectorIndex(o.SubsectorY)));
    s.Write("GeneratorSubsectorZ", std::to_string(SubsectorIndex(o.SubsectorZ)));
    s.Write("GeneratorColorLabel", std::to_string(o.ColorLabel));
    s.Write("GeneratorColorPopulated", std::to_string(o.ColorPopulated));
    s.Write("GeneratorColorSubsector", std::to_string(o.ColorSubsector));
    s.Write("GeneratorPlacements", SettingsBoolText(o.Placements));
    s.Write("GeneratorFrequency", std::to_string(o.Frequency));
    s.Write("GeneratorDistribution", std::to_string(o.Distribution));
    s.Write("GeneratorSystemData", std::to_string(o.SystemData));
    s.Write("GeneratorNameTable", o.NameTable);
    s.Write("GeneratorPopulations", SettingsBoolText(o.Populations));
    s.Write("OrganicNaming", SettingsBoolText(o.OrganicNaming));
    for (std::size_t i = 0; i < GENERATOR_FREQ_SLIDERS.size(); ++i)
        s.Write(GENERATOR_FREQ_SLIDERS[i].SettingName, std::to_string(o.Freq[i]));
    s.Write("GeneratorTerraforming", std::to_string(o.Terraforming));
}

void SetUpNewSector(TVexaSector &sector, const TNewSectorOptions &o)
{
    sector.UnitStarMeasureName = o.Unit;
    sector.UpdateUnits();
    const double ratio = UnitRatio(o.Unit);
    sector.Spherical = o.Spherical;
    if (o.Spherical) {
        sector.SizeX = sector.SizeY = sector.SizeZ = 2 * o.Radius * ratio;
        sector.GridStyle = GRID_STYLE_SPHERE;
    } else {
        sector.SizeX = o.Width * ratio;
        sector.SizeY = o.Height * ratio;
        sector.SizeZ = o.Depth * ratio;
    }
    for (double *size : {&sector.SizeX, &sector.SizeY, &sector.SizeZ}) {
        if (!(*size >= 1))
            *size = 10;
        // Whatever the dialog, script or unit gave, a size stays drawable.
        if (*size > SECTOR_MAX_SIZE)
            *size = SECTOR_MAX_SIZE;
    }
    if (!(sector.GridX >= 1))
        sector.GridX = sector.SizeX;
    if (!(sector.GridY >= 1))
        sector.GridY = sector.SizeY;
    if (!(sector.GridZ >= 1))
        sector.GridZ = sector.SizeZ;
    sector.Frequency = o.Frequency;
}

TSectorGenerateParams GenerateParamsFrom(const TNewSectorOptions &o)
{
    TSectorGenerateParams p;
    p.Distribution = o.Distribution;
    p.SystemData = o.SystemData;
    p.TerraformingLevel = o.Terraforming;
    for (std::size_t i = 0; i < GENERATOR_FREQ_SLIDERS.size(); ++i)
        for (std::int32_t type : GENERATOR_FREQ_SLIDERS[i].Types)
            if (type > 0)
                p.Frequencies[static_cast<std::size_t>(type)] = o.Freq[i];
    p.TotalSystems = o.TotalSystems;
    p.OrganicNaming = o.OrganicNaming;
    p.NameTable = o.NameTable;
    p.SubsectorColor = o.ColorSubsector;
    p.PopulatedColor = o.ColorPopulated;
    p.LabelColor = o.ColorLabel;
    p.Populations = o.Populations;
    return p;
}

} // namespace kalvion
