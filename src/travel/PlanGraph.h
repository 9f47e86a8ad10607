#pragma once
// An explicit graph over the root systems of a sector (edges in one block,
// grouped by their first system) and the plain search over it.  The route
// planner searches its route network this way; over jumps it finds the
// neighbours through a grid instead, and the plain search over every pair
// within the jump length is the yardstick it is checked and measured against.
#include "model/VexaPoint.h"

#include <vector>

namespace kalvion {

// What a trip is judged by first.
enum class TPlanGoal {
    FewestJumps, // fewest jumps; of those, the shortest total distance
    Shortest,    // shortest total distance; of those, the fewest jumps
};

struct TPlanGraph {
    std::vector<int> First;    // edges of system i: [First[i], First[i + 1])
    std::vector<int> To;
    std::vector<double> Length; // ly

    int SystemCount() const { return First.empty() ? 0 : static_cast<int>(First.size()) - 1; }
    // Builds the blocks from undirected pairs (each pair gives both directions).
    void Assign(int systems, const std::vector<std::pair<int, int>> &pairs, const std::vector<TVexaPoint> &points);
};

// A found path: the systems from the start to the destination.
struct TPlanPath {
    bool Found = false;
    std::vector<int> Systems;
    int Jumps = 0;
    double Total = 0; // ly
};

// The straight-line distance in ly; a non-finite coordinate gives no finite
// distance, so no jump reaches or leaves such a system.
double PlanDistance(const TVexaPoint &a, const TVexaPoint &b);

// Every pair of systems within `maxJump` ly, each pair measured (quadratic:
// for checking and comparing on small sectors, or through the grid when
// `useGrid` is set, which finds the same pairs).
TPlanGraph BuildJumpGraph(const std::vector<TVexaPoint> &points, double maxJump, bool useGrid);

// Dijkstra's search over the graph, stopping only at systems whose `allowed`
// flag is set (and at the two ends).  Costs compare as (jumps, distance) or
// (distance, jumps) by the goal.
TPlanPath SearchPlanGraph(const TPlanGraph &graph, const std::vector<char> &allowed, int from, int to,
                          TPlanGoal goal);

} // namespace kalvion
