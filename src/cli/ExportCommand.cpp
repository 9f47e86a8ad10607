// "kalvion-cli export": a sector file as CSV (the lines import-csv reads, so
// exporting and importing again gives the same systems) or as JSON (every
// system and body with all its values, routes and subsectors).
#include "cli/BodyPrint.h"
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/SectorCommands.h"

#include "base/AsciiText.h"
#include "base/Colour.h"
#include "base/NumberFormat.h"
#include "base/PhysicalFormulas.h"
#include "base/Rounding.h"
#include "base/SafeFile.h"
#include "model/VexaSector.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <ostream>
#include <sstream>

namespace kalvion::cli {

namespace {

// Enough digits that a value read back is the value written (the importer
// keeps three decimals of a star's values).
std::string Number(double v) { return VexaFloatStr(v); }

bool CsvSafe(const std::string &text)
{
    for (unsigned char c : text)
        if (c == ',' || c < 0x20)
            return false;
    return true;
}

struct CsvWriter {
    std::ostringstream text;
    int systems = 0, routes = 0, routesLeft = 0, notesLeft = 0, namesLeft = 0, multiples = 0;
    std::map<std::string, int> leftOutKinds;
    // Routes are written only between systems that have lines.
    std::set<const TStellarBody *> written;

    // The kinds of line the importer reads; systems of other kinds have no
    // line (the JSON export keeps them).
    static const char *Kind(int type)
    {
        switch (type) {
        case BODY_TYPE_STAR: return "Star";
        case BODY_TYPE_WHITEDWARF: return "White Dwarf";
        case BODY_TYPE_MULT: return "Multiple";
        default: return nullptr;
        }
    }

    // The values a line carries are the values import-csv keeps, so that a
    // sector imported from this file exports to the same lines: a star's
    // values to three decimals (a luminosity or radius that rounds to 0 is
    // left to the importer's rule from the mass), nothing the importer
    // ignores (the mass, radius and luminosity of other lines, the colour of
    // a white dwarf).
    void Body(const TStellarBody &b, const std::string &key)
    {
        text << Kind(b.TypeID);
        std::string notes = Trim(b.Notes);
        if (!CsvSafe(notes)) {
            notes.clear();
            ++notesLeft;
        }
        const bool star = b.TypeID == BODY_TYPE_STAR;
        const auto kept = [](double v) { return RoundToDecimals(3, v); };
        text << "," << key << "," << b.Name << ",";
        if (star)
            text << Number(kept(b.X)) << "," << Number(kept(b.Y)) << "," << Number(kept(b.Z)) << ",";
        else
            text << Number(b.X) << "," << Number(b.Y) << "," << Number(b.Z) << ",";
        if (star) {
            const double mass = kept(b.Mass);
            const double radius = kept(b.Radius) > 0 ? kept(b.Radius) : kept(StarRadiusFromMass(mass));
            const double lum = kept(b.Luminosity) > 0 ? kept(b.Luminosity) : kept(StarLuminosityFromMass(mass));
            text << Number(mass) << "," << Number(radius) << "," << Number(lum) << ",";
        } else {
            text << ",,,";
        }
        text << (CsvSafe(b.Spectral) ? b.Spectral.str() : std::string()) << ","
             << (b.TypeID == BODY_TYPE_WHITEDWARF ? std::string() : ColourText(b.Color)) << "," << notes << "\r\n";
    }

    void System(const TStellarBody &root)
    {
        if (!CsvSafe(root.Name) || root.Name != Trim(root.Name)) {
            ++namesLeft;
            return;
        }
        if (!Kind(root.TypeID)) {
            ++leftOutKinds[NameFromBodyType(root.TypeID)];
            return;
        }
        ++systems;
        written.insert(&root);
        if (root.TypeID != BODY_TYPE_MULT) {
            Body(root, "");
            return;
        }
        // A multiple system is its line and its components' lines under one key.
        const std::string key = "M" + std::to_string(++multiples);
        Body(root, key);
        // Planets and nested groups have no CSV line; the JSON export keeps them.
        for (const auto &c : root.Children)
            if ((c->TypeID == BODY_TYPE_STAR || c->TypeID == BODY_TYPE_WHITEDWARF) && CsvSafe(c->Name) &&
                c->Name == Trim(c->Name))
                Body(*c, key);
    }

    void Route(const TRootIdIndex &index, const TStellarRoute &r)
    {
        const TColor colour = ColorRGB(static_cast<int>(r.Red * 255 + 0.5), static_cast<int>(r.Green * 255 + 0.5),
                                       static_cast<int>(r.Blue * 255 + 0.5));
        // One line per leg: the importer makes a route of two systems.
        for (std::size_t i = 1; i < r.Waypoints.size(); ++i) {
            const TStellarBody *a = TVexaSector::FastFindRootBodyByID(r.Waypoints[i - 1]->id, index);
            const TStellarBody *b = TVexaSector::FastFindRootBodyByID(r.Waypoints[i]->id, index);
            if (!written.count(a) || !written.count(b) || !CsvSafe(r.RouteType) || !CsvSafe(r.Name)) {
                ++routesLeft;
                continue;
            }
            text << "Route," << a->Name << "," << b->Name << "," << Trim(r.RouteType) << "," << Trim(r.Name) << ","
                 << ColourText(colour) << "," << r.LineStyle << "," << Number(r.LineWidth) << "\r\n";
            ++routes;
        }
    }
};

nlohmann::ordered_json SectorJson(TVexaSector &sector, const std::string &file)
{
    nlohmann::ordered_json j;
    j["file"] = file;
    j["name"] = sector.Name;
    j["unit"] = sector.UnitStarMeasureAbbrev;
    j["unit_ratio"] = sector.UnitStarMeasureRatio;
    j["size"] = {sector.SizeX, sector.SizeY, sector.SizeZ};
    j["epoch_year"] = sector.EpochYear;
    nlohmann::ordered_json systems = nlohmann::ordered_json::array();
    for (auto &root : sector.Systems) {
        sector.DynaLoad(root.get());
        systems.push_back(BodyJson(*root));
    }
    j["systems"] = std::move(systems);
    nlohmann::ordered_json routes = nlohmann::ordered_json::array();
    for (const auto &r : sector.Routes) {
        nlohmann::ordered_json ids = nlohmann::ordered_json::array();
        for (const auto &w : r->Waypoints)
            ids.push_back(w->id);
        routes.push_back({{"name", r->Name},
                          {"route_type", r->RouteType},
                          {"system_ids", std::move(ids)},
                          {"red", r->Red},
                          {"green", r->Green},
                          {"blue", r->Blue},
                          {"line_style", r->LineStyle},
                          {"line_width", r->LineWidth}});
    }
    j["routes"] = std::move(routes);
    nlohmann::ordered_json subs = nlohmann::ordered_json::array();
    for (const auto &s : sector.Subsectors)
        subs.push_back({{"name", s->Name},
                        {"shape", s->Shape == VEXA_SUBSECTOR_SPHERE ? "sphere" : "box"},
                        {"center", {s->X, s->Y, s->Z}},
                        {"size", {s->SizeX, s->SizeY, s->SizeZ}}});
    j["subsectors"] = std::move(subs);
    return j;
}

} // namespace

int RunExport(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    const std::string ext = AsciiLower(std::filesystem::path(o.out).extension().string());
    if (ext != ".csv" && ext != ".json") {
        err << "kalvion-cli: export writes .csv or .json files, not \"" << o.out
            << "\"\n";
        return EXIT_USAGE;
    }
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(o.out).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);

    std::string bytes;
    CsvWriter csv;
    if (ext == ".csv") {
        csv.text << "; Systems and routes as import-csv reads them\r\n";
        for (std::size_t i = 0; i < sector.Systems.size(); ++i) {
            sector.DynaLoad(sector.Systems[i].get());
            csv.System(*sector.Systems[i]);
        }
        const TRootIdIndex index = sector.BuildRootIdIndex();
        for (const auto &r : sector.Routes)
            csv.Route(index, *r);
        bytes = csv.text.str();
    } else {
        bytes = SectorJson(sector, o.file).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    }
    std::string error;
    if (!ReplaceFileContents(o.out, bytes, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (ext == ".csv") {
        int kinds = 0;
        std::string list;
        for (const auto &[kind, count] : csv.leftOutKinds) {
            kinds += count;
            list += (list.empty() ? "" : ", ") + FormatCount(count) + " " + kind;
        }
        if (kinds > 0)
            err << "kalvion-cli: " << FormatCount(kinds)
                << " system(s) of kinds import-csv does not make were left out of the CSV (" << list
                << "); export to .json keeps every system\n";
        if (csv.namesLeft > 0)
            err << "kalvion-cli: " << FormatCount(csv.namesLeft)
                << " system(s) were left out: their names hold commas, line breaks or outer blanks, which CSV "
                   "cannot carry (export to .json keeps them)\n";
        if (csv.routesLeft > 0)
            err << "kalvion-cli: " << FormatCount(csv.routesLeft)
                << " route leg(s) to systems the CSV does not carry were left out\n";
        if (csv.notesLeft > 0)
            err << "kalvion-cli: the notes of " << FormatCount(csv.notesLeft)
                << " system(s) hold commas or line breaks and were left out of the CSV\n";
    }
    if (opts.json) {
        nlohmann::ordered_json j{{"file", o.file}, {"out", o.out}, {"format", ext.substr(1)},
                                 {"systems", ext == ".csv" ? csv.systems : sector.SystemCount()},
                                 {"routes", ext == ".csv" ? csv.routes : sector.RouteCount()}};
        if (ext == ".csv") {
            int kinds = 0;
            for (const auto &entry : csv.leftOutKinds)
                kinds += entry.second;
            j["left_out"] = kinds + csv.namesLeft;
        }
        PrintJson(out, j);
    } else {
        const int systems = ext == ".csv" ? csv.systems : sector.SystemCount();
        const int routes = ext == ".csv" ? csv.routes : sector.RouteCount();
        out << "Exported " << FormatCount(systems) << (systems == 1 ? " system" : " systems") << " and "
            << FormatCount(routes) << (routes == 1 ? " route" : " routes") << " to " << o.out << "\n";
    }
    return csv.namesLeft > 0 ? EXIT_FAILURE_ : EXIT_OK;
}

} // namespace kalvion::cli
