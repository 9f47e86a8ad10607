#pragma once
// Proximity routes: every qualifying system is linked to its nearest
// qualifying neighbours within a distance band, up to a number per system.
// Distances are light years, whatever unit the sector displays.
#include "base/Colour.h"

#include <functional>
#include <string>

namespace kalvion {

class TVexaSector;

// Which systems take part.
inline constexpr int PROXIMITY_ROUTES_ALL = 0;    // every system
inline constexpr int PROXIMITY_ROUTES_POP = 1;    // population of the whole system at least 1
inline constexpr int PROXIMITY_ROUTES_POPSEL = 2; // populated or selected
inline constexpr int PROXIMITY_ROUTES_SEL = 3;    // selected

inline constexpr const char *PROXIMITY_ROUTES_CAPTION = "Generating Proximity Routes";

struct TProximityRouteOptions {
    int Style = PROXIMITY_ROUTES_POP;
    double MinLength = 0;  // 0 or less: no lower limit
    double MaxLength = 10; // 0 or less: no upper limit
    double MaxRoutes = 2;  // per system, nearest first; 0 or less: no limit
    std::string RouteType;
    std::string Label;
    TColor Color = 0;
    bool RandomColor = false;
    int LineStyle = 0;
    double LineWidth = 1;
    // The neighbours are found through a grid of cells as large as the
    // longest route; off, every pair of systems is measured.  Both find the
    // same routes in the same order.
    bool UseSpatialIndex = true;
};

// Progress of a long run: a caption and a fraction 0 to 1; answering true
// cancels the run (the routes made so far stay).
using TProximityProgress = std::function<bool(const std::string &caption, double fraction)>;

// Adds the routes to the sector and returns how many were made.  Progress goes
// to `progress` when given, else to the sector's OnProgress (which cannot
// cancel).  Routes that existed before are not consulted, so a second run
// makes a second set.
int CreateProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options,
                          const TProximityProgress &progress = {});

// What one route takes in memory while the sector holds it (an estimate on
// the generous side: the route, its two waypoints, its pair record).
inline constexpr double PROXIMITY_ROUTE_BYTES = 1024;
// The most routes CreateProximityRoutes would make with these options
// (counting the candidates of a distance band without making routes).
double ExpectedProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options);
// How many routes fit in half of this machine's memory.
double MaxProximityRoutes();
// Empty when the expected routes fit; otherwise the refusal with the count.
std::string CheckProximityRoutes(TVexaSector &sector, const TProximityRouteOptions &options);

// The same with the arguments in the order scripts pass them.
int CreateProximityRoutes(TVexaSector &sector, int style, double minLength, double maxLength, double maxRoutes,
                          const std::string &routeType, const std::string &label, TColor color, bool randomColor,
                          int lineStyle, double lineWidth, const TProximityProgress &progress = {});

// The sort key of a distance: the distance in whole thousandths, rounded as
// the number pattern "00000000000.000" rounds it (half away from zero on the
// shortest decimal form), so candidates that print alike tie.
double ProximitySortKey(double distance);

} // namespace kalvion
