// "kalvion-cli routes": links nearby systems of a sector file by routes and
// saves the file.
#include "cli/CliApp.h"
#include "cli/NumberList.h"
#include "cli/Interrupt.h"
#include "cli/JsonOut.h"
#include "cli/SectorCommands.h"

#include "base/AsciiText.h"
#include "base/Colour.h"
#include "base/NumberFormat.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "travel/ProximityRoutes.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cmath>
#include <csignal>
#include <iostream>
#include <ostream>
#include <unordered_set>
#include <unistd.h>

namespace kalvion::cli {

namespace {

bool ParseStyle(const std::string &text, int &style)
{
    static const std::pair<const char *, int> styles[] = {{"all", PROXIMITY_ROUTES_ALL},
                                                          {"pop", PROXIMITY_ROUTES_POP},
                                                          {"popsel", PROXIMITY_ROUTES_POPSEL},
                                                          {"sel", PROXIMITY_ROUTES_SEL}};
    for (const auto &[name, value] : styles)
        if (SameText(text, name)) {
            style = value;
            return true;
        }
    return false;
}

// A two-system route's identity for "already there": its ends in either
// order, its name and its type.
std::string RouteKey(const TStellarRoute &r)
{
    std::string a = r.Waypoints[0]->id, b = r.Waypoints[1]->id;
    if (b < a)
        std::swap(a, b);
    return a + '\n' + b + '\n' + r.Name + '\n' + r.RouteType;
}

// Takes out the routes from index `first` on that join the same two systems
// under the same name and type as a route before them; returns how many.
int DropDuplicateRoutes(TVexaSector &sector, int first)
{
    std::unordered_set<std::string> seen;
    for (int i = 0; i < first; ++i)
        if (sector.GetRoute(i)->WaypointCount() == 2)
            seen.insert(RouteKey(*sector.GetRoute(i)));
    std::vector<int> drop;
    for (int i = first; i < sector.RouteCount(); ++i) {
        const TStellarRoute &r = *sector.GetRoute(i);
        if (r.WaypointCount() == 2 && !seen.insert(RouteKey(r)).second)
            drop.push_back(i);
    }
    for (auto it = drop.rbegin(); it != drop.rend(); ++it)
        sector.DeleteRoute(*it);
    return static_cast<int>(drop.size());
}

// --replace: the earlier routes of this name and type between two systems,
// as a proximity run makes them.
int DropEarlierRoutes(TVexaSector &sector, const std::string &name, const std::string &type)
{
    int dropped = 0;
    for (int i = sector.RouteCount(); i-- > 0;) {
        const TStellarRoute &r = *sector.GetRoute(i);
        if (r.WaypointCount() == 2 && r.Name == name && r.RouteType == type) {
            sector.DeleteRoute(i);
            ++dropped;
        }
    }
    return dropped;
}

} // namespace

CLI::App *AddRoutesCommand(CLI::App &app, RoutesOptions &o)
{
    auto *cmd = app.add_subcommand("routes", "Create routes between the systems of a sector file and save it");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_flag("--proximity", o.proximity, "Link each system to its nearest neighbours (the default)");
    cmd->add_flag("--list", o.list, "List the routes of the file instead of making any");
    cmd->add_flag("--replace", o.replace,
                  "Remove the earlier two-system routes of the same --label and --type first");
    cmd->add_option("--style", o.style, "Systems taking part: all (visible), pop (populated, default), popsel, sel");
    cmd->add_option("--min", o.minLength, "Shortest route in light years; 0 = no limit (default 0)");
    cmd->add_option("--max", o.maxLength, "Longest route in light years; 0 = no limit (default 10)");
    cmd->add_option("--per-system", o.perSystem, "Routes per system, nearest first; 0 = no limit (default 2)");
    cmd->add_option("--type", o.routeType, "Route type of the new routes");
    cmd->add_option("--label", o.label, "Label of the new routes");
    auto *color = cmd->add_option("--color", o.color, "Route colour as RRGGBB (default FFFFFF)");
    auto *random = cmd->add_flag("--random-color", o.randomColor, "Give each route its own random colour");
    color->excludes(random);
    cmd->add_option("--line-style", o.lineStyle, "Line style 0 solid, 1 dash, 2 short dash, 3 long-short, 4 long-short-short");
    cmd->add_option("--width", o.lineWidth, "Line width (default 1)");
    cmd->add_option("--select", o.select, "Select these systems by name first (for the sel and popsel styles)");
    return cmd;
}

int RunRoutes(const CliOptions &opts, const RoutesOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.list)
        return ListRoutes(opts, o.file, out, err);
    TProximityRouteOptions p;
    if (!ParseStyle(o.style, p.Style)) {
        err << "kalvion-cli: --style takes all, pop, popsel or sel\n";
        return EXIT_USAGE;
    }
    if (!std::isfinite(o.minLength) || !std::isfinite(o.maxLength) || !std::isfinite(o.perSystem) ||
        !std::isfinite(o.lineWidth)) {
        err << "kalvion-cli: distances, routes per system and width must be finite numbers\n";
        return EXIT_USAGE;
    }
    if (o.minLength < 0 || o.maxLength < 0 || o.perSystem < 0) {
        err << "kalvion-cli: --min, --max and --per-system take 0 (no limit) or a positive number\n";
        return EXIT_USAGE;
    }
    if (o.lineStyle < 0 || o.lineStyle > 4) {
        err << "kalvion-cli: --line-style takes 0 to 4\n";
        return EXIT_USAGE;
    }
    if (!(o.lineWidth > 0 && o.lineWidth <= 100)) {
        err << "kalvion-cli: --width takes a number above 0, at most 100\n";
        return EXIT_USAGE;
    }
    if (!ParseHexColour(o.color, p.Color)) {
        err << "kalvion-cli: --color takes six hexadecimal digits RRGGBB\n";
        return EXIT_USAGE;
    }
    p.MinLength = o.minLength;
    p.MaxLength = o.maxLength;
    p.MaxRoutes = o.perSystem;
    p.RouteType = o.routeType;
    p.Label = o.label;
    p.RandomColor = o.randomColor;
    p.LineStyle = o.lineStyle;
    p.LineWidth = o.lineWidth;

    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, true, err))
        return EXIT_FAILURE_;
    for (const std::string &name : o.select) {
        TStellarBody *root = sector.FindRootBodyByName(name);
        if (!root) {
            err << "kalvion-cli: no system named \"" << name << "\"\n";
            return EXIT_FAILURE_;
        }
        if (!root->Selected)
            sector.SelectBody(root);
    }

    const std::string tooMany = CheckProximityRoutes(sector, p);
    if (!tooMany.empty()) {
        err << "kalvion-cli: " << tooMany << "\n";
        return EXIT_FAILURE_;
    }

    // A bar that rewrites itself on a terminal; elsewhere a line per tenth.
    const bool bar = &err == &std::cerr && isatty(STDERR_FILENO);
    int lastTenth = 0;
    const int removed = o.replace ? DropEarlierRoutes(sector, o.label, o.routeType) : 0;
    const int before = sector.RouteCount();
    TInterruptGuard guard;
    ApplySeed(opts);
    const int made = CreateProximityRoutes(sector, p, [&](const std::string &caption, double fraction) {
        const int percent = static_cast<int>(fraction * 100);
        if (bar) {
            err << "\r" << caption << " " << percent << "%" << std::flush;
        } else if (percent / 10 > lastTenth) {
            lastTenth = percent / 10;
            err << caption << " " << percent << "%\n";
        }
        return Interrupted();
    });
    if (bar)
        err << "\n";
    const bool cancelled = Interrupted();
    const int skipped = DropDuplicateRoutes(sector, before);

    sector.Modified = true;
    if (!SaveToFile(sector, o.file, false, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    const int kept = made - skipped;
    if (opts.json) {
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"routes", kept}, {"skipped", skipped},
                                              {"removed", removed}, {"cancelled", cancelled}});
    } else {
        out << FormatCount(kept) << (kept == 1 ? " route" : " routes") << " created";
        if (skipped > 0)
            out << ", " << FormatCount(skipped) << " skipped (already there)";
        if (removed > 0)
            out << ", " << FormatCount(removed) << " earlier removed";
        out << (cancelled ? " (cancelled)" : "") << "\n";
    }
    return EXIT_OK;
}

} // namespace kalvion::cli
