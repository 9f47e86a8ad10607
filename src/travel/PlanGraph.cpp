#include "travel/PlanGraph.h"

#include "travel/PlanCost.h"
#include "travel/ProximityGrid.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace kalvion {

double PlanDistance(const TVexaPoint &a, const TVexaPoint &b)
{
    const double dx = a.X - b.X, dy = a.Y - b.Y, dz = a.Z - b.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void TPlanGraph::Assign(int systems, const std::vector<std::pair<int, int>> &pairs,
                        const std::vector<TVexaPoint> &points)
{
    First.assign(static_cast<std::size_t>(systems) + 1, 0);
    for (const auto &[a, b] : pairs) {
        ++First[static_cast<std::size_t>(a) + 1];
        ++First[static_cast<std::size_t>(b) + 1];
    }
    for (std::size_t i = 1; i < First.size(); ++i)
        First[i] += First[i - 1];
    To.assign(static_cast<std::size_t>(First.back()), 0);
    Length.assign(To.size(), 0);
    std::vector<int> fill(First.begin(), First.end() - 1);
    for (const auto &[a, b] : pairs) {
        const double d = PlanDistance(points[static_cast<std::size_t>(a)], points[static_cast<std::size_t>(b)]);
        for (auto [x, y] : {std::pair{a, b}, std::pair{b, a}}) {
            const int e = fill[static_cast<std::size_t>(x)]++;
            To[static_cast<std::size_t>(e)] = y;
            Length[static_cast<std::size_t>(e)] = d;
        }
    }
}

TPlanGraph BuildJumpGraph(const std::vector<TVexaPoint> &points, double maxJump, bool useGrid)
{
    const int n = static_cast<int>(points.size());
    std::vector<std::pair<int, int>> pairs;
    TProximityGrid grid;
    if (useGrid && grid.Build(points, std::vector<char>(points.size(), 1), maxJump)) {
        std::vector<int> near;
        for (int i = 0; i < n; ++i) {
            near.clear();
            grid.Near(points[static_cast<std::size_t>(i)], near);
            for (int j : near)
                if (j > i && PlanDistance(points[static_cast<std::size_t>(i)], points[static_cast<std::size_t>(j)]) <= maxJump)
                    pairs.emplace_back(i, j);
        }
    } else {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (PlanDistance(points[static_cast<std::size_t>(i)], points[static_cast<std::size_t>(j)]) <= maxJump)
                    pairs.emplace_back(i, j);
    }
    TPlanGraph g;
    g.Assign(n, pairs, points);
    return g;
}

TPlanPath SearchPlanGraph(const TPlanGraph &graph, const std::vector<char> &allowed, int from, int to,
                          TPlanGoal goal)
{
    TPlanPath path;
    const int n = graph.SystemCount();
    if (from < 0 || to < 0 || from >= n || to >= n || allowed.size() != static_cast<std::size_t>(n))
        return path;
    std::vector<TPlanCost> best(static_cast<std::size_t>(n), TPlanCost::Unreached());
    std::vector<int> parent(static_cast<std::size_t>(n), -1);
    using TEntry = std::pair<TPlanCost, int>;
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<TEntry>> open;
    best[static_cast<std::size_t>(from)] = TPlanCost{};
    open.emplace(TPlanCost{}, from);
    while (!open.empty()) {
        const auto [cost, u] = open.top();
        open.pop();
        if (best[static_cast<std::size_t>(u)] < cost)
            continue;
        if (u == to)
            break;
        for (int e = graph.First[static_cast<std::size_t>(u)]; e < graph.First[static_cast<std::size_t>(u) + 1]; ++e) {
            const int v = graph.To[static_cast<std::size_t>(e)];
            if (!allowed[static_cast<std::size_t>(v)] && v != to)
                continue;
            const TPlanCost next = cost.Plus(graph.Length[static_cast<std::size_t>(e)], goal);
            if (next < best[static_cast<std::size_t>(v)]) {
                best[static_cast<std::size_t>(v)] = next;
                parent[static_cast<std::size_t>(v)] = u;
                open.emplace(next, v);
            }
        }
    }
    if (best[static_cast<std::size_t>(to)].IsUnreached())
        return path;
    for (int v = to; v != -1; v = v == from ? -1 : parent[static_cast<std::size_t>(v)])
        path.Systems.push_back(v);
    std::reverse(path.Systems.begin(), path.Systems.end());
    path.Found = true;
    path.Jumps = static_cast<int>(path.Systems.size()) - 1;
    path.Total = best[static_cast<std::size_t>(to)].Distance(goal);
    return path;
}

} // namespace kalvion
