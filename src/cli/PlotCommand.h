#pragma once
// "kalvion-cli plot": the route planner on a sector file.
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kalvion::cli {

struct CliOptions;

struct PlotOptions {
    std::string file, from, to;
    double jump = 0;  // in the sector's unit; 0: not given
    bool fewestJumps = false, shortest = false, alongRoutes = false, populatedOnly = false;
    std::vector<std::string> routeTypes, affiliations, avoid;
    std::string speed;  // interstellar speed, multiples of light speed, as typed; empty: no travel time
    std::string saveRoute, saveType, color = "FFFF00";
};
CLI::App *AddPlotCommand(CLI::App &app, PlotOptions &o);
int RunPlot(const CliOptions &opts, const PlotOptions &o, std::ostream &out, std::ostream &err);

} // namespace kalvion::cli
