// "kalvion-cli systems", "show", "subsectors" and "routes --list": what a
// sector file holds, without changing it.
#include "cli/BodyPrint.h"
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/SectorCommands.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "model/VexaSector.h"
#include "search/Searcher.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <unordered_set>

namespace kalvion::cli {

namespace {

struct SystemRow {
    TStellarBody *root;
    const TVexaSubsector *subsector;
};

std::string SubsectorName(const TVexaSubsector *s) { return s ? s->Name : std::string(); }

// -1, 0 or 1 comparing two rows by a column; false when the column is unknown.
bool MakeComparer(const std::string &column, std::function<int(const SystemRow &, const SystemRow &)> &cmp)
{
    auto num = [](double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); };
    auto text = [](const std::string &a, const std::string &b) {
        const int c = CompareStr(a, b);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    };
    const std::string c = AsciiLower(column);
    if (c == "name")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return text(a.root->Name, b.root->Name); };
    else if (c == "x")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return num(a.root->X, b.root->X); };
    else if (c == "y")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return num(a.root->Y, b.root->Y); };
    else if (c == "z")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return num(a.root->Z, b.root->Z); };
    else if (c == "type")
        cmp = [=](const SystemRow &a, const SystemRow &b) {
            return text(NameFromBodyType(a.root->TypeID), NameFromBodyType(b.root->TypeID));
        };
    else if (c == "population")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return num(a.root->ChildPopulation, b.root->ChildPopulation); };
    else if (c == "habitability")
        cmp = [=](const SystemRow &a, const SystemRow &b) {
            return num(a.root->ChildHabitability, b.root->ChildHabitability);
        };
    else if (c == "subsector")
        cmp = [=](const SystemRow &a, const SystemRow &b) { return text(SubsectorName(a.subsector), SubsectorName(b.subsector)); };
    else if (c == "political")
        cmp = [=](const SystemRow &a, const SystemRow &b) {
            return text(a.root->PoliticalAffiliation, b.root->PoliticalAffiliation);
        };
    else
        return false;
    return true;
}

std::string Coord(const TVexaSector &s, double ly) { return FormatFloat("#,##0.###", s.DistanceInUnits(ly)); }

} // namespace

int RunSystems(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    std::function<int(const SystemRow &, const SystemRow &)> cmp;
    bool descending = false;
    if (!o.sort.empty()) {
        descending = o.sort.front() == '-';
        if (!MakeComparer(descending ? o.sort.substr(1) : o.sort, cmp)) {
            err << "kalvion-cli: --sort takes name, x, y, z, type, population, habitability, subsector or "
                   "political\n";
            return EXIT_USAGE;
        }
    }
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;

    std::vector<SystemRow> rows;
    if (!o.where.empty()) {
        // A system is listed when the query finds it or any body inside it.
        TVexaSearcher3 searcher;
        searcher.Sector = &sector;
        searcher.ResultLimit = 0;
        searcher.Search(o.where);
        if (!searcher.ErrorText.empty()) {
            err << searcher.ErrorText << "\n";
            return EXIT_FAILURE_;
        }
        std::unordered_set<const TStellarBody *> hit;
        for (TStellarBody *b : searcher.Results)
            hit.insert(b->GetRootBody());
        for (auto &root : sector.Systems)
            if (hit.count(root.get()))
                rows.push_back({root.get(), nullptr});
    } else {
        rows.reserve(sector.Systems.size());
        for (auto &root : sector.Systems)
            rows.push_back({root.get(), nullptr});
    }
    for (SystemRow &r : rows)
        r.subsector = SubsectorAt(sector, r.root->X, r.root->Y, r.root->Z);
    if (cmp)
        std::stable_sort(rows.begin(), rows.end(), [&](const SystemRow &a, const SystemRow &b) {
            const int c = cmp(a, b);
            return descending ? c > 0 : c < 0;
        });
    const std::size_t total = rows.size();
    const std::size_t shown = o.limit > 0 ? std::min(total, static_cast<std::size_t>(o.limit)) : total;

    if (opts.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < shown; ++i) {
            const TStellarBody &r = *rows[i].root;
            list.push_back({{"id", r.IDString.str()},
                            {"name", r.Name},
                            {"x", r.X},
                            {"y", r.Y},
                            {"z", r.Z},
                            {"type", NameFromBodyType(r.TypeID)},
                            {"type_id", r.TypeID},
                            {"population", r.ChildPopulation},
                            {"habitability", r.ChildHabitability},
                            {"habitability_text", HabitNameFromHabitCode(r.ChildHabitability)},
                            {"subsector", SubsectorName(rows[i].subsector)},
                            {"political", r.PoliticalAffiliation.str()}});
        }
        PrintJson(out, nlohmann::ordered_json{{"file", o.file},
                                              {"count", total},
                                              {"shown", shown},
                                              {"systems", std::move(list)}});
        return EXIT_OK;
    }
    std::vector<std::vector<std::string>> table;
    const std::string unit = sector.UnitStarMeasureAbbrev;
    table.push_back({"Name", "X " + unit, "Y " + unit, "Z " + unit, "Type", "Population", "Habitability", "Subsector",
                     "Political"});
    for (std::size_t i = 0; i < shown; ++i) {
        const TStellarBody &r = *rows[i].root;
        table.push_back({r.Name, Coord(sector, r.X), Coord(sector, r.Y), Coord(sector, r.Z), NameFromBodyType(r.TypeID),
                         FormatFloat(POPULATION_FMT, r.ChildPopulation), HabitNameFromHabitCode(r.ChildHabitability),
                         SubsectorName(rows[i].subsector), r.PoliticalAffiliation});
    }
    PrintColumns(table, out);
    if (shown < total)
        out << "showing " << FormatCount(static_cast<double>(shown)) << " of " << FormatCount(static_cast<double>(total))
            << " systems\n";
    else
        out << FormatCount(static_cast<double>(total)) << (total == 1 ? " system" : " systems") << "\n";
    return EXIT_OK;
}

int RunShow(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    TStellarBody *body = FindNamedBody(sector, o.name, err);
    if (!body)
        return EXIT_FAILURE_;
    sector.DynaLoad(body->GetRootBody());
    if (opts.json) {
        nlohmann::ordered_json j;
        j["file"] = o.file;
        j["system"] = body->GetRootBody()->Name;
        const TVexaSubsector *sub = SubsectorAt(sector, body->GetRootBody()->X, body->GetRootBody()->Y,
                                                body->GetRootBody()->Z);
        j["subsector"] = SubsectorName(sub);
        j["body"] = BodyJson(*body);
        PrintJson(out, j);
        return EXIT_OK;
    }
    if (body->Parent)
        out << "In system \"" << body->GetRootBody()->Name << "\"\n";
    PrintBodyTree(*body, 0, &sector, out);
    return EXIT_OK;
}

int RunSubsectors(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    std::vector<int> counts(sector.Subsectors.size(), 0);
    for (const auto &root : sector.Systems)
        for (std::size_t i = 0; i < sector.Subsectors.size(); ++i)
            if (sector.Subsectors[i]->ContainsPoint(root->X, root->Y, root->Z)) {
                ++counts[i];
                break;
            }
    if (opts.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < sector.Subsectors.size(); ++i) {
            const TVexaSubsector &s = *sector.Subsectors[i];
            list.push_back({{"name", s.Name},
                            {"shape", s.Shape == VEXA_SUBSECTOR_SPHERE ? "sphere" : "box"},
                            {"center", {s.X, s.Y, s.Z}},
                            {"size", {s.SizeX, s.SizeY, s.SizeZ}},
                            {"systems", counts[i]},
                            {"color", s.Color},
                            {"color_text", ColourText(s.Color)}});
        }
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"count", list.size()}, {"subsectors", std::move(list)}});
        return EXIT_OK;
    }
    const std::string unit = " " + sector.UnitStarMeasureAbbrev;
    std::vector<std::vector<std::string>> table{{"Name", "Shape", "Centre", "Size", "Systems"}};
    for (std::size_t i = 0; i < sector.Subsectors.size(); ++i) {
        const TVexaSubsector &s = *sector.Subsectors[i];
        const bool sphere = s.Shape == VEXA_SUBSECTOR_SPHERE;
        table.push_back({s.Name, sphere ? "sphere" : "box",
                         Coord(sector, s.X) + ", " + Coord(sector, s.Y) + ", " + Coord(sector, s.Z) + unit,
                         sphere ? "radius " + Coord(sector, s.SizeX) + unit
                                : Coord(sector, s.SizeX) + " x " + Coord(sector, s.SizeY) + " x " +
                                      Coord(sector, s.SizeZ) + unit,
                         FormatCount(counts[i])});
    }
    PrintColumns(table, out);
    out << FormatCount(static_cast<double>(sector.Subsectors.size()))
        << (sector.Subsectors.size() == 1 ? " subsector" : " subsectors") << "\n";
    return EXIT_OK;
}

int ListRoutes(const CliOptions &opts, const std::string &file, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, file, false, err))
        return EXIT_FAILURE_;
    const TRootIdIndex index = sector.BuildRootIdIndex();
    auto nameOf = [&](const TRouteWaypoint &w) {
        const TStellarBody *b = TVexaSector::FastFindRootBodyByID(w.id, index);
        return b ? b->Name : std::string("?");
    };
    auto length = [](const TStellarRoute &r) {
        double total = 0;
        for (std::size_t i = 1; i < r.Waypoints.size(); ++i) {
            const TRouteWaypoint &a = *r.Waypoints[i - 1], &b = *r.Waypoints[i];
            total += std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
        }
        return total;
    };
    if (opts.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const auto &r : sector.Routes) {
            nlohmann::ordered_json systems = nlohmann::ordered_json::array();
            for (const auto &w : r->Waypoints)
                systems.push_back(nameOf(*w));
            const TColor colour = ColorRGB(static_cast<int>(r->Red * 255 + 0.5), static_cast<int>(r->Green * 255 + 0.5),
                                           static_cast<int>(r->Blue * 255 + 0.5));
            list.push_back({{"name", r->Name},
                            {"route_type", r->RouteType},
                            {"systems", std::move(systems)},
                            {"length", length(*r)},
                            {"color_text", ColourText(colour)},
                            {"line_style", r->LineStyle},
                            {"line_width", r->LineWidth}});
        }
        PrintJson(out, nlohmann::ordered_json{{"file", file}, {"count", list.size()}, {"routes", std::move(list)}});
        return EXIT_OK;
    }
    std::vector<std::vector<std::string>> table{{"Name", "Type", "Systems", "Length " + sector.UnitStarMeasureAbbrev}};
    for (const auto &r : sector.Routes) {
        std::string through;
        for (const auto &w : r->Waypoints)
            through += (through.empty() ? "" : " - ") + nameOf(*w);
        table.push_back({r->Name, r->RouteType, through, FormatFloat("#,##0.##", sector.DistanceInUnits(length(*r)))});
    }
    PrintColumns(table, out);
    out << FormatCount(sector.RouteCount()) << (sector.RouteCount() == 1 ? " route" : " routes") << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
