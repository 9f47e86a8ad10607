// "kalvion-cli plot": plans a trip between two systems of a sector file and
// prints its stops, distances and travel time; it can keep the trip in the
// file as a route.
#include "cli/PlotCommand.h"
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/NumberList.h"

#include "base/AsciiText.h"
#include "base/Colour.h"
#include "base/NumberFormat.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "travel/RoutePlanner.h"
#include "travel/SpaceTravel.h"
#include "travel/TravelCalculator.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cmath>
#include <ostream>

namespace kalvion::cli {

namespace {

std::string Shown(const TVexaSector &sector, double ly) { return PlanDistanceText(sector, ly); }

std::string NoPathText(const TVexaSector &sector, const TRoutePlan &plan, const PlotOptions &o)
{
    return PlanNoPathText(sector, plan, o.from, o.to, o.alongRoutes, o.jump * sector.UnitStarMeasureRatio);
}

} // namespace

CLI::App *AddPlotCommand(CLI::App &app, PlotOptions &o)
{
    auto *cmd = app.add_subcommand("plot", "Plan a trip between two systems: fewest jumps, shortest, or along routes");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_option("from", o.from, "Start system")->required();
    cmd->add_option("to", o.to, "Destination system")->required();
    cmd->add_option("--jump", o.jump, "Longest jump in the sector's unit (needed unless --along-routes)");
    auto *fewest = cmd->add_flag("--fewest-jumps", o.fewestJumps, "Fewest jumps, then shortest (default for jumps)");
    auto *shortest = cmd->add_flag("--shortest", o.shortest, "Shortest distance, then fewest jumps");
    fewest->excludes(shortest);
    auto *along = cmd->add_flag("--along-routes", o.alongRoutes, "Travel along the sector's routes only (shortest by default)");
    cmd->add_option("--route-type", o.routeTypes, "With --along-routes: only routes of these types")->needs(along);
    cmd->add_flag("--populated-only", o.populatedOnly, "Stop only at populated systems");
    cmd->add_option("--affiliation", o.affiliations, "Stop only at systems of these political affiliations");
    cmd->add_option("--avoid", o.avoid, "Never stop at these systems");
    cmd->add_option("--speed", o.speed, "Interstellar speed in multiples of light speed: prints the travel time");
    auto *save = cmd->add_option("--save-route", o.saveRoute, "Keep the trip in the file as a route of this name");
    cmd->add_option("--save-type", o.saveType, "Route type of the kept route")->needs(save);
    cmd->add_option("--color", o.color, "Colour of the kept route as RRGGBB (default FFFF00)")->needs(save);
    return cmd;
}

int RunPlot(const CliOptions &opts, const PlotOptions &o, std::ostream &out, std::ostream &err)
{
    if (!o.alongRoutes && !(o.jump > 0 && std::isfinite(o.jump))) {
        err << "kalvion-cli: plot needs --jump with a positive length, or --along-routes\n";
        return EXIT_USAGE;
    }
    if (o.alongRoutes && !(o.jump >= 0 && std::isfinite(o.jump))) {
        err << "kalvion-cli: --jump must be a positive length\n";
        return EXIT_USAGE;
    }
    TColor color = 0;
    if (!ParseHexColour(o.color, color)) {
        err << "kalvion-cli: --color takes six hexadecimal digits RRGGBB\n";
        return EXIT_USAGE;
    }
    TVexaSector sector;
    std::string error;
    if (!LoadFromFile(sector, o.file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    TRoutePlanOptions p;
    p.AlongRoutes = o.alongRoutes;
    const bool fewest = o.fewestJumps || (!o.shortest && !o.alongRoutes);
    p.Goal = fewest ? TPlanGoal::FewestJumps : TPlanGoal::Shortest;
    p.MaxJump = o.jump * sector.UnitStarMeasureRatio;
    p.RouteTypes = o.routeTypes;
    p.PopulatedOnly = o.populatedOnly;
    p.Affiliations = o.affiliations;
    TStellarBody *from = nullptr, *to = nullptr;
    for (auto [name, slot] : {std::pair{&o.from, &from}, std::pair{&o.to, &to}}) {
        *slot = sector.FindRootBodyByName(*name);
        if (!*slot) {
            err << "kalvion-cli: no system named \"" << *name << "\"\n";
            return EXIT_FAILURE_;
        }
    }
    for (const std::string &name : o.avoid) {
        const TStellarBody *root = sector.FindRootBodyByName(name);
        if (!root) {
            err << "kalvion-cli: no system named \"" << name << "\"\n";
            return EXIT_FAILURE_;
        }
        p.Avoid.push_back(root);
    }

    TRoutePlanner planner(sector);
    const TRoutePlan plan = planner.Plan(from, to, p);
    if (!plan.Error.empty()) {
        err << "kalvion-cli: " << plan.Error << "\n";
        return EXIT_FAILURE_;
    }
    if (!plan.Found) {
        const std::string why = NoPathText(sector, plan, o);
        if (opts.json) {
            nlohmann::json j{{"found", false}, {"reason", why}};
            if (plan.NearestReachable) {
                j["nearest_reachable"] = plan.NearestReachable->Name;
                j["nearest_to_destination"] = sector.DistanceInUnits(plan.NearestToDestination);
            }
            if (plan.GapTo) {
                j["gap"] = sector.DistanceInUnits(plan.Gap);
                j["gap_to"] = plan.GapTo->Name;
            }
            PrintJson(out, j);
        }
        err << "kalvion-cli: " << why << "\n";
        return EXIT_FAILURE_;
    }

    double seconds = 0;
    if (!o.speed.empty()) {
        TTravelInputs in;
        in.InterstellarSpeed = o.speed;
        if (!PlanTravelTime(sector, plan, in, {}, seconds, error)) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
    }
    if (!o.saveRoute.empty()) {
        AddPlanAsRoute(sector, plan, o.saveRoute, o.saveType, color, ROUTE_LINE_SOLID, 1);
        sector.Modified = true;
        if (!SaveToFile(sector, o.file, false, &error)) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
    }

    if (opts.json) {
        nlohmann::json stops = nlohmann::json::array();
        for (const TPlanStop &s : plan.Stops)
            stops.push_back({{"name", s.System->Name}, {"jump_distance", sector.DistanceInUnits(s.JumpDistance)}});
        nlohmann::json j{{"found", true},
                         {"stops", stops},
                         {"jumps", plan.Jumps},
                         {"total_distance", sector.DistanceInUnits(plan.TotalDistance)},
                         {"unit", sector.UnitStarMeasureAbbrev}};
        if (!o.speed.empty()) {
            j["travel_time_s"] = seconds;
            j["travel_time_text"] = std::string(TrimView(FormatTravelDuration(seconds)));
        }
        if (!o.saveRoute.empty())
            j["saved_route"] = o.saveRoute;
        PrintJson(out, j);
        return EXIT_OK;
    }
    out << plan.Stops.front().System->Name << " to " << plan.Stops.back().System->Name << ": " << plan.Jumps
        << (plan.Jumps == 1 ? " jump, " : " jumps, ") << Shown(sector, plan.TotalDistance) << "\n";
    for (std::size_t i = 0; i < plan.Stops.size(); ++i) {
        out << "  " << plan.Stops[i].System->Name;
        if (i > 0)
            out << " (" << Shown(sector, plan.Stops[i].JumpDistance) << ")";
        out << "\n";
    }
    if (!o.speed.empty())
        out << "Travel Time: " << TrimView(FormatTravelDuration(seconds)) << "\n";
    if (!o.saveRoute.empty())
        out << "Saved as route \"" << o.saveRoute << "\"\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
