#pragma once
// The route planner: between two root systems of a sector, the trip with the
// fewest jumps or the shortest distance when no jump may be longer than a
// limit, or the shortest trip along the sector's own routes; the stops can be
// limited to populated systems, to political affiliations, and kept away from
// named systems.  Distances are light years, whatever unit the sector shows.
#include "base/Colour.h"
#include "travel/PlanGraph.h"
#include "travel/ProximityGrid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;

struct TRoutePlanOptions {
    TPlanGoal Goal = TPlanGoal::FewestJumps;
    // Over the sector's route segments instead of free jumps.
    bool AlongRoutes = false;
    // Longest jump, ly.  Free jumps need a positive limit; along routes a
    // limit of 0 or less lets every segment count.
    double MaxJump = 0;
    // Along routes: only routes of these types (ignoring case); empty: all.
    std::vector<std::string> RouteTypes;
    // Conditions on the stops between the two ends (the ends always count).
    bool PopulatedOnly = false;             // population of the whole system at least 1
    std::vector<std::string> Affiliations;  // political affiliations (ignoring case); empty: any
    std::vector<const TStellarBody *> Avoid;
};

struct TPlanStop {
    TStellarBody *System = nullptr;
    double JumpDistance = 0; // ly from the stop before; 0 for the start
};

struct TRoutePlan {
    bool Found = false;
    std::vector<TPlanStop> Stops;
    int Jumps = 0;
    double TotalDistance = 0; // ly
    // Without a path: of the systems the start reaches, the one nearest to
    // the destination, and from it the shortest jump that would have left the
    // reached systems for a permitted stop nearer to the destination (or the
    // destination itself): the gap that could not be crossed.
    TStellarBody *NearestReachable = nullptr;
    double NearestToDestination = 0; // ly
    TStellarBody *GapTo = nullptr;
    double Gap = 0; // ly
    // Refused input (a missing end, a jump limit that is not positive).
    std::string Error;
};

class TRoutePlanner {
public:
    // The planner reads the roots' positions as they are now, and again when
    // the number of systems changes; after moving systems make a new planner.
    explicit TRoutePlanner(const TVexaSector &sector);

    TRoutePlan Plan(const TStellarBody *from, const TStellarBody *to, const TRoutePlanOptions &options);

    int IndexOf(const TStellarBody *root) const;
    const std::vector<TVexaPoint> &Points() const { return FPoints; }
    // Which systems may be stops under the options (ends not included).
    std::vector<char> AllowedStops(const TRoutePlanOptions &options) const;
    // The graph of the sector's route segments under the options.
    TPlanGraph RouteGraph(const TRoutePlanOptions &options) const;

private:
    void ReadPositions();
    TPlanPath SearchJumps(const std::vector<char> &allowed, int from, int to, TPlanGoal goal, double maxJump);
    void ExplainNoPath(TRoutePlan &plan, const std::vector<char> &allowed, int from, int to,
                       const TPlanGraph *routes, double maxJump);

    const TVexaSector &FSector;
    std::vector<TVexaPoint> FPoints;
    TProximityGrid FGrid;
    double FGridJump = 0; // the jump limit the grid was built for; 0: none yet
    bool FGridBuilt = false;
    // Search state, kept between plans so that a plan allocates nothing per system.
    std::vector<double> FFirst, FSecond;
    std::vector<int> FParent;
    std::vector<int> FNear;
};

} // namespace kalvion

namespace kalvion {

struct TTravelInputs;
class TTravelCalcMethod;

// The travel time of the whole trip, in seconds: every jump timed by the
// travel calculator with the speeds, units, method and boundaries of
// `inputs` (its bodies and typed distance are set per jump).  False, with the
// calculator's message, when it refuses the inputs or a jump cannot be made.
bool PlanTravelTime(TVexaSector &sector, const TRoutePlan &plan, const TTravelInputs &inputs,
                    const std::vector<TTravelCalcMethod *> &methods, double &seconds, std::string &message);

// A distance in the sector's unit as the trip's lists show it ("4.2 ly").
std::string PlanDistanceText(const TVexaSector &sector, double ly);
// Why there is no trip from `from` to `to` (the names as the user gave
// them): the nearest system reached and the gap that could not be crossed.
// maxJump in ly; it is named only for free jumps.
std::string PlanNoPathText(const TVexaSector &sector, const TRoutePlan &plan, const std::string &from,
                           const std::string &to, bool alongRoutes, double maxJump);

// Adds the trip to the sector as a route through its stops (a waypoint per
// stop), with its route type registered, so maps and views draw it.  None for
// a trip of fewer than two stops.
class TStellarRoute;
TStellarRoute *AddPlanAsRoute(TVexaSector &sector, const TRoutePlan &plan, const std::string &name,
                              const std::string &routeType, TColor color, int lineStyle, double lineWidth);

} // namespace kalvion
