// "kalvion-cli travel": the travel calculator on a sector file: the distance,
// the travel time and the arrival date in the sector's calendar.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/AsciiText.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"
#include "science/VexaDates.h"
#include "travel/TravelCalculator.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

namespace {

TStellarBody *FindInTree(TStellarBody &parent, std::string_view name)
{
    for (auto &child : parent.Children) {
        if (SameText(child->Name, name))
            return child.get();
        if (TStellarBody *found = FindInTree(*child, name))
            return found;
    }
    return nullptr;
}

// A root by name, or "system/body/…": each further part names a body
// anywhere below the one before it.
TStellarBody *FindBodyByPath(TVexaSector &sector, const std::string &path)
{
    if (TStellarBody *root = sector.FindRootBodyByName(path))
        return root;
    const std::size_t slash = path.find('/');
    if (slash == std::string::npos)
        return nullptr;
    TStellarBody *body = sector.FindRootBodyByName(path.substr(0, slash));
    if (!body)
        return nullptr;
    sector.DynaLoad(body);
    std::string_view rest = std::string_view(path).substr(slash + 1);
    while (body && !rest.empty()) {
        const std::size_t next = rest.find('/');
        body = FindInTree(*body, rest.substr(0, next));
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
    }
    return body;
}

bool ParseUnit(const std::string &text, int &unit)
{
    static const std::pair<const char *, int> units[] = {
        {"g", TRAVEL_UNIT_G}, {"m/s", TRAVEL_UNIT_MS2}, {"k/h", TRAVEL_UNIT_KMH}, {"c", TRAVEL_UNIT_C}};
    for (const auto &[name, value] : units)
        if (SameText(text, name)) {
            unit = value;
            return true;
        }
    return false;
}

std::string Shown(const std::string &text) { return std::string(TrimView(text)); }

} // namespace

CLI::App *AddTravelCommand(CLI::App &app, TravelOptions &o)
{
    auto *cmd = app.add_subcommand("travel", "Travel time and arrival date between two bodies or over a distance");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    auto *from = cmd->add_option("--from", o.from, "Start body: a system's name or a \"system/body\" path");
    auto *to = cmd->add_option("--to", o.to, "End body: a system's name or a \"system/body\" path");
    auto *distance = cmd->add_option("--distance", o.distance, "Distance in km, flown at the sub-light speed");
    distance->excludes(from)->excludes(to);
    cmd->add_option("--sublight", o.sublight, "Interplanetary speed (default 1)");
    cmd->add_option("--unit", o.unit, "Unit of the interplanetary speed: g (default), m/s, k/h or c");
    cmd->add_option("--interstellar", o.interstellar, "Interstellar speed in multiples of light speed (default 1)");
    cmd->add_option("--start-boundary", o.startBoundary, "Hyperlight boundary at the start, km (default 0)");
    cmd->add_option("--end-boundary", o.endBoundary, "Hyperlight boundary at the destination, km (default 0)");
    cmd->add_flag("--intrasystem-hyperlight", o.intrasystem, "Allow Intrasystem Hyperlight Tavel");
    return cmd;
}

int RunTravel(const CliOptions &opts, const TravelOptions &o, std::ostream &out, std::ostream &err)
{
    const bool bodies = !o.from.empty() || !o.to.empty();
    if (o.distance.empty() && (o.from.empty() || o.to.empty())) {
        err << "kalvion-cli: travel needs --from BODY and --to BODY, or --distance KM\n";
        return EXIT_USAGE;
    }
    int unit = TRAVEL_UNIT_G;
    if (!ParseUnit(o.unit, unit)) {
        err << "kalvion-cli: --unit takes g, m/s, k/h or c\n";
        return EXIT_USAGE;
    }
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    TTravelCalculator calc(sector);
    TTravelInputs &in = calc.Inputs;
    if (bodies) {
        for (auto [name, slot] : {std::pair{&o.from, &in.StartBody}, std::pair{&o.to, &in.EndBody}}) {
            *slot = FindBodyByPath(sector, *name);
            if (!*slot) {
                err << "kalvion-cli: no body \"" << *name << "\" in the sector\n";
                return EXIT_FAILURE_;
            }
        }
    }
    in.OutToDistance = o.distance;
    in.SublightSpeed = o.sublight;
    in.SublightUnit = unit;
    in.InterstellarSpeed = o.interstellar;
    in.StartBoundary = o.startBoundary;
    in.EndBoundary = o.endBoundary;
    in.IntrasystemHyperlight = o.intrasystem;

    const TTravelResult &r = calc.Recalculate();
    if (!r.Message.empty()) {
        err << "kalvion-cli: " << r.Message << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json) {
        PrintJson(out, nlohmann::json({{"distance_text", Shown(r.DistanceText)},
                                       {"travel_time_text", Shown(r.TravelTimeText)},
                                       {"seconds", r.TravelTime},
                                       {"departure_date", calc.DepartureText()},
                                       {"arrival_date", r.ArrivalText}}));
    } else {
        out << "Distance: " << r.DistanceText << "\n";
        out << "Travel Time: " << Shown(r.TravelTimeText) << "\n";
        out << "Arrival Date: " << r.ArrivalText << "\n";
    }
    return EXIT_OK;
}

} // namespace kalvion::cli
