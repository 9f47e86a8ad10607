#include "travel/RoutePlanner.h"

#include "base/AsciiText.h"
#include "model/VexaSector.h"
#include "travel/PlanCost.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kalvion {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

bool MatchesAny(const std::string &text, const std::vector<std::string> &names)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string &n) { return SameText(text, n); });
}

// The fewest jumps of at most `maxJump` that can cover `d`: a lower bound on
// any trip, kept a hair low so that rounding never makes it overestimate.
double JumpsAtLeast(double d, double maxJump) { return std::ceil(d / (maxJump * (1 + 1e-9))); }

struct TOpenEntry {
    TPlanCost Estimate; // cost so far plus the lower bound of the rest
    TPlanCost Cost;
    int System;
    // A heap with the least estimate on top.
    friend bool operator<(const TOpenEntry &a, const TOpenEntry &b) { return b.Estimate < a.Estimate; }
};

} // namespace

TRoutePlanner::TRoutePlanner(const TVexaSector &sector) : FSector(sector) { ReadPositions(); }

void TRoutePlanner::ReadPositions()
{
    FPoints.clear();
    FPoints.reserve(FSector.Systems.size());
    for (const auto &root : FSector.Systems)
        FPoints.push_back({root->X, root->Y, root->Z});
    FGridBuilt = false;
}

int TRoutePlanner::IndexOf(const TStellarBody *root) const
{
    if (!root)
        return -1;
    for (std::size_t i = 0; i < FSector.Systems.size(); ++i)
        if (FSector.Systems[i].get() == root)
            return static_cast<int>(i);
    return -1;
}

std::vector<char> TRoutePlanner::AllowedStops(const TRoutePlanOptions &o) const
{
    std::vector<char> allowed(FSector.Systems.size(), 1);
    for (std::size_t i = 0; i < allowed.size(); ++i) {
        const TStellarBody &root = *FSector.Systems[i];
        if (o.PopulatedOnly && !(root.ChildPopulation >= 1))
            allowed[i] = 0;
        else if (!o.Affiliations.empty() && !MatchesAny(root.PoliticalAffiliation, o.Affiliations))
            allowed[i] = 0;
    }
    for (const TStellarBody *avoid : o.Avoid)
        if (const int i = IndexOf(avoid); i >= 0)
            allowed[static_cast<std::size_t>(i)] = 0;
    return allowed;
}

TPlanGraph TRoutePlanner::RouteGraph(const TRoutePlanOptions &o) const
{
    const TRootIdIndex ids = FSector.BuildRootIdIndex();
    // Roots by address, to turn a waypoint's system into its index.
    std::vector<std::pair<const TStellarBody *, int>> order;
    order.reserve(FSector.Systems.size());
    for (std::size_t i = 0; i < FSector.Systems.size(); ++i)
        order.emplace_back(FSector.Systems[i].get(), static_cast<int>(i));
    std::sort(order.begin(), order.end());
    auto indexOf = [&](const std::string &id) {
        const TStellarBody *root = TVexaSector::FastFindRootBodyByID(id, ids);
        const auto it = std::lower_bound(order.begin(), order.end(), std::pair{root, -1});
        return root && it != order.end() && it->first == root ? it->second : -1;
    };
    const bool limited = o.MaxJump > 0;
    std::vector<std::pair<int, int>> pairs;
    for (const auto &route : FSector.Routes) {
        if (!o.RouteTypes.empty() && !MatchesAny(route->RouteType, o.RouteTypes))
            continue;
        int last = -1;
        for (const auto &wp : route->Waypoints) {
            // A waypoint whose system is gone breaks the route there.
            const int here = indexOf(wp->id);
            if (last >= 0 && here >= 0 && here != last) {
                const double d = PlanDistance(FPoints[static_cast<std::size_t>(last)], FPoints[static_cast<std::size_t>(here)]);
                if (std::isfinite(d) && (!limited || d <= o.MaxJump))
                    pairs.emplace_back(last, here);
            }
            last = here;
        }
    }
    TPlanGraph g;
    g.Assign(static_cast<int>(FPoints.size()), pairs, FPoints);
    return g;
}

TPlanPath TRoutePlanner::SearchJumps(const std::vector<char> &allowed, int from, int to, TPlanGoal goal,
                                     double maxJump)
{
    const std::size_t n = FPoints.size();
    if (!FGridBuilt || FGridJump != maxJump) {
        FGridBuilt = FGrid.Build(FPoints, std::vector<char>(n, 1), maxJump);
        FGridJump = maxJump;
    }
    FFirst.assign(n, kInf);
    FSecond.assign(n, kInf);
    FParent.assign(n, -1);
    const TVexaPoint &target = FPoints[static_cast<std::size_t>(to)];
    TPlanPath path;
    // No jump reaches a system with a damaged position.
    if (!std::isfinite(PlanDistance(target, target)) && from != to)
        return path;
    auto estimate = [&](int v) {
        const double d = PlanDistance(FPoints[static_cast<std::size_t>(v)], target);
        return TPlanCost::Of(JumpsAtLeast(d, maxJump), d, goal);
    };

    // A* search: the straight line to the destination is a lower bound on
    // the distance still to go, and that distance over the jump limit a lower
    // bound on the jumps, so the first time the destination leaves the heap
    // its cost is the least.  A system reached again more cheaply goes back
    // on the heap, so rounding in the bounds costs time, never the answer.
    std::vector<TOpenEntry> open;
    FFirst[static_cast<std::size_t>(from)] = 0;
    FSecond[static_cast<std::size_t>(from)] = 0;
    open.push_back({estimate(from), TPlanCost{}, from});
    while (!open.empty()) {
        std::pop_heap(open.begin(), open.end());
        const TOpenEntry top = open.back();
        open.pop_back();
        const int u = top.System;
        const TPlanCost known{FFirst[static_cast<std::size_t>(u)], FSecond[static_cast<std::size_t>(u)]};
        if (known < top.Cost)
            continue;
        if (u == to) {
            path.Found = true;
            break;
        }
        const TVexaPoint &p = FPoints[static_cast<std::size_t>(u)];
        FNear.clear();
        if (FGridBuilt) {
            FGrid.Near(p, FNear);
        } else {
            // Too many cells for a grid: every system is a candidate.
            FNear.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                FNear[i] = static_cast<int>(i);
        }
        for (const int v : FNear) {
            if (v == u || (!allowed[static_cast<std::size_t>(v)] && v != to))
                continue;
            const double d = PlanDistance(p, FPoints[static_cast<std::size_t>(v)]);
            if (!(d <= maxJump))
                continue;
            const TPlanCost next = top.Cost.Plus(d, goal);
            const TPlanCost old{FFirst[static_cast<std::size_t>(v)], FSecond[static_cast<std::size_t>(v)]};
            if (!(next < old))
                continue;
            FFirst[static_cast<std::size_t>(v)] = next.First;
            FSecond[static_cast<std::size_t>(v)] = next.Second;
            FParent[static_cast<std::size_t>(v)] = u;
            open.push_back({next + estimate(v), next, v});
            std::push_heap(open.begin(), open.end());
        }
    }
    if (!path.Found)
        return path;
    for (int v = to; v != -1; v = v == from ? -1 : FParent[static_cast<std::size_t>(v)])
        path.Systems.push_back(v);
    std::reverse(path.Systems.begin(), path.Systems.end());
    path.Jumps = static_cast<int>(path.Systems.size()) - 1;
    path.Total = TPlanCost{FFirst[static_cast<std::size_t>(to)], FSecond[static_cast<std::size_t>(to)]}.Distance(goal);
    return path;
}

void TRoutePlanner::ExplainNoPath(TRoutePlan &plan, const std::vector<char> &allowed, int from, int to,
                                  const TPlanGraph *routes, double maxJump)
{
    // The systems the start reaches: a walk over the same jumps or segments.
    const std::size_t n = FPoints.size();
    std::vector<char> reached(n, 0);
    std::vector<int> stack{from};
    reached[static_cast<std::size_t>(from)] = 1;
    std::vector<int> near;
    while (!stack.empty()) {
        const int u = stack.back();
        stack.pop_back();
        near.clear();
        if (routes) {
            for (int e = routes->First[static_cast<std::size_t>(u)]; e < routes->First[static_cast<std::size_t>(u) + 1]; ++e)
                near.push_back(routes->To[static_cast<std::size_t>(e)]);
        } else if (FGridBuilt) {
            FGrid.Near(FPoints[static_cast<std::size_t>(u)], near);
        } else {
            for (std::size_t i = 0; i < n; ++i)
                near.push_back(static_cast<int>(i));
        }
        for (const int v : near) {
            if (reached[static_cast<std::size_t>(v)] || !allowed[static_cast<std::size_t>(v)])
                continue;
            if (!routes && !(PlanDistance(FPoints[static_cast<std::size_t>(u)], FPoints[static_cast<std::size_t>(v)]) <= maxJump))
                continue;
            reached[static_cast<std::size_t>(v)] = 1;
            stack.push_back(v);
        }
    }
    const TVexaPoint &target = FPoints[static_cast<std::size_t>(to)];
    int nearest = -1;
    double nearestD = kInf;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = PlanDistance(FPoints[i], target);
        if (reached[i] && (nearest < 0 || d < nearestD)) {
            nearest = static_cast<int>(i);
            nearestD = d;
        }
    }
    plan.NearestReachable = FSector.Systems[static_cast<std::size_t>(nearest)].get();
    plan.NearestToDestination = nearestD;
    const TVexaPoint &p = FPoints[static_cast<std::size_t>(nearest)];
    int gapTo = -1;
    double gap = kInf;
    for (std::size_t i = 0; i < n; ++i) {
        // Only a jump that brings the trip nearer to the destination counts:
        // the gap is what stands between the reached systems and the goal.
        if (reached[i] || (!allowed[i] && static_cast<int>(i) != to) || !(PlanDistance(FPoints[i], target) < nearestD))
            continue;
        const double d = PlanDistance(p, FPoints[i]);
        if (d < gap) {
            gap = d;
            gapTo = static_cast<int>(i);
        }
    }
    if (gapTo >= 0) {
        plan.GapTo = FSector.Systems[static_cast<std::size_t>(gapTo)].get();
        plan.Gap = gap;
    }
}

TRoutePlan TRoutePlanner::Plan(const TStellarBody *from, const TStellarBody *to, const TRoutePlanOptions &o)
{
    TRoutePlan plan;
    // Systems added or removed since the positions were read: read them again
    // rather than index past the list.
    if (FPoints.size() != FSector.Systems.size())
        ReadPositions();
    const int a = IndexOf(from), b = IndexOf(to);
    if (a < 0 || b < 0) {
        plan.Error = "The start and the destination must be systems of the sector";
        return plan;
    }
    if (o.AlongRoutes ? std::isnan(o.MaxJump) : !(o.MaxJump > 0 && std::isfinite(o.MaxJump))) {
        plan.Error = "The jump length must be a positive number";
        return plan;
    }
    std::vector<char> allowed = AllowedStops(o);
    allowed[static_cast<std::size_t>(a)] = allowed[static_cast<std::size_t>(b)] = 1;

    TPlanPath path;
    TPlanGraph routes;
    if (o.AlongRoutes) {
        routes = RouteGraph(o);
        path = SearchPlanGraph(routes, allowed, a, b, o.Goal);
    } else {
        path = SearchJumps(allowed, a, b, o.Goal, o.MaxJump);
    }
    if (!path.Found) {
        ExplainNoPath(plan, allowed, a, b, o.AlongRoutes ? &routes : nullptr, o.MaxJump);
        return plan;
    }
    plan.Found = true;
    plan.Jumps = path.Jumps;
    plan.TotalDistance = path.Total;
    for (std::size_t i = 0; i < path.Systems.size(); ++i) {
        const int s = path.Systems[i];
        TPlanStop stop;
        stop.System = FSector.Systems[static_cast<std::size_t>(s)].get();
        if (i > 0)
            stop.JumpDistance = PlanDistance(FPoints[static_cast<std::size_t>(path.Systems[i - 1])], FPoints[static_cast<std::size_t>(s)]);
        plan.Stops.push_back(stop);
    }
    return plan;
}

} // namespace kalvion
