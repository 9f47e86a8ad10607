#pragma once
// The route planner as scripts see it:
//   PlanRoute(from, to, jump, mode) As String
// plans a trip between two systems of the current sector (names as the
// sector finds them, ignoring case) and answers the names of its stops, the
// start first, separated by line breaks (CR LF), so Split(stops, vbCrLf)
// gives them; an empty text when there is no path.  jump is the longest jump
// in the sector's unit; mode is one of
//   PLAN_ROUTE_FEWEST_JUMPS (0)  fewest jumps, then the shortest distance
//   PLAN_ROUTE_SHORTEST (1)      shortest distance, then the fewest jumps
//   PLAN_ROUTE_ALONG_ROUTES (2)  shortest along the sector's routes (a jump
//                                of 0 or less lets every segment count)
// An unknown system, mode or jump is a script error.
#include <functional>

namespace kalvion {

class TScriptRegistry;
class TVexaSector;

inline constexpr int PLAN_ROUTE_FEWEST_JUMPS = 0;
inline constexpr int PLAN_ROUTE_SHORTEST = 1;
inline constexpr int PLAN_ROUTE_ALONG_ROUTES = 2;

// Registers PlanRoute and its mode constants.  `sector` answers the sector
// the scripts work on (none: PlanRoute is a script error).
void RegisterRoutePlannerNames(TScriptRegistry &reg, std::function<TVexaSector *()> sector);

} // namespace kalvion
