#pragma once
// The cost of a partial trip as the planner compares it: two numbers compared
// in order, the jump count and the distance in the order the goal puts them.
#include "travel/PlanGraph.h"

#include <limits>

namespace kalvion {

struct TPlanCost {
    double First = 0;
    double Second = 0;

    static TPlanCost Unreached()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        return {inf, inf};
    }
    bool IsUnreached() const { return First == std::numeric_limits<double>::infinity(); }
    // The cost of going on by one jump of `length` ly.
    TPlanCost Plus(double length, TPlanGoal goal) const
    {
        return goal == TPlanGoal::FewestJumps ? TPlanCost{First + 1, Second + length}
                                              : TPlanCost{First + length, Second + 1};
    }
    // A cost from separate jump and distance parts, ordered by the goal.
    static TPlanCost Of(double jumps, double distance, TPlanGoal goal)
    {
        return goal == TPlanGoal::FewestJumps ? TPlanCost{jumps, distance} : TPlanCost{distance, jumps};
    }
    double Distance(TPlanGoal goal) const { return goal == TPlanGoal::FewestJumps ? Second : First; }
    TPlanCost operator+(const TPlanCost &o) const { return {First + o.First, Second + o.Second}; }
    friend bool operator<(const TPlanCost &a, const TPlanCost &b)
    {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    }
    friend bool operator>(const TPlanCost &a, const TPlanCost &b) { return b < a; }
};

} // namespace kalvion
