// The route planner: its answers against a plain search over every pair of
// systems within the jump length, the conditions on stops, trips along
// routes, the explanation of "no path", travel times and kept routes.
#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "travel/RoutePlanner.h"
#include "travel/TravelCalculator.h"
#include "travel/SpaceTravel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

namespace {

TStellarBody *AddRoot(TVexaSector &s, const std::string &name, double x, double y = 0, double z = 0,
                      double population = 0)
{
    auto b = TStellarBody::Create();
    b->Name = name;
    b->X = x;
    b->Y = y;
    b->Z = z;
    b->ChildPopulation = population;
    TStellarBody *raw = b.get();
    s.AddSystem(std::move(b));
    return raw;
}

std::vector<std::string> Names(const TRoutePlan &plan)
{
    std::vector<std::string> names;
    for (const TPlanStop &s : plan.Stops)
        names.push_back(s.System->Name);
    return names;
}

// A sector of random systems in a cube, about half of them populated.
void FillRandom(TVexaSector &s, std::int32_t &seed, int count, double span)
{
    auto next = [&] {
        seed = NextRandomSeed(seed);
        return RandomFloatFromSeed(seed);
    };
    for (int i = 0; i < count; ++i) {
        const double x = next() * span, y = next() * span, z = next() * span;
        AddRoot(s, "S" + std::to_string(i), x, y, z, next() < 0.5 ? 100 : 0);
    }
}

TEST(RoutePlanner, AgreesWithPlainSearchOnRandomSectors)
{
    constexpr double kJump = 5;
    int found = 0, missing = 0;
    for (std::int32_t sectorSeed = 1; sectorSeed <= 40; ++sectorSeed) {
        TVexaSector s;
        std::int32_t seed = sectorSeed * 7919;
        FillRandom(s, seed, 250, 32);
        TRoutePlanner planner(s);
        const TPlanGraph every = BuildJumpGraph(planner.Points(), kJump, false);
        const TPlanGraph gridded = BuildJumpGraph(planner.Points(), kJump, true);
        ASSERT_EQ(every.To.size(), gridded.To.size());
        for (int q = 0; q < 8; ++q) {
            seed = NextRandomSeed(seed);
            const int a = static_cast<int>(RandomIntFromSeed(seed, 250));
            seed = NextRandomSeed(seed);
            const int b = static_cast<int>(RandomIntFromSeed(seed, 250));
            for (const TPlanGoal goal : {TPlanGoal::FewestJumps, TPlanGoal::Shortest}) {
                for (const bool populated : {false, true}) {
                    TRoutePlanOptions o;
                    o.Goal = goal;
                    o.MaxJump = kJump;
                    o.PopulatedOnly = populated;
                    const TRoutePlan plan = planner.Plan(s.Systems[a].get(), s.Systems[b].get(), o);
                    std::vector<char> allowed = planner.AllowedStops(o);
                    allowed[a] = allowed[b] = 1;
                    const TPlanPath plain = SearchPlanGraph(every, allowed, a, b, goal);
                    ASSERT_EQ(plan.Found, plain.Found) << sectorSeed << " " << a << "->" << b;
                    if (!plan.Found) {
                        ++missing;
                        continue;
                    }
                    ++found;
                    EXPECT_EQ(plan.Jumps, plain.Jumps) << sectorSeed << " " << a << "->" << b;
                    EXPECT_NEAR(plan.TotalDistance, plain.Total, 1e-9);
                    ASSERT_EQ(plan.Stops.size(), static_cast<std::size_t>(plan.Jumps) + 1);
                    EXPECT_EQ(plan.Stops.front().System, s.Systems[a].get());
                    EXPECT_EQ(plan.Stops.back().System, s.Systems[b].get());
                    double sum = 0;
                    for (std::size_t i = 1; i < plan.Stops.size(); ++i) {
                        EXPECT_LE(plan.Stops[i].JumpDistance, kJump);
                        sum += plan.Stops[i].JumpDistance;
                        if (populated && i + 1 < plan.Stops.size()) {
                            EXPECT_GE(plan.Stops[i].System->ChildPopulation, 1);
                        }
                    }
                    EXPECT_NEAR(sum, plan.TotalDistance, 1e-9);
                }
            }
        }
    }
    // Both outcomes were exercised.
    EXPECT_GT(found, 200);
    EXPECT_GT(missing, 20);
}

TEST(RoutePlanner, FewestJumpsAndShortestDiffer)
{
    // A to D: two jumps over the long way round (B), three short jumps on
    // the straight line (C1, C2).
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 0);
    AddRoot(s, "B", 4, 3);
    TStellarBody *d = AddRoot(s, "D", 8);
    AddRoot(s, "C1", 2.7);
    AddRoot(s, "C2", 5.4);
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    o.MaxJump = 5;
    TRoutePlan fewest = planner.Plan(a, d, o);
    EXPECT_EQ(Names(fewest), (std::vector<std::string>{"A", "B", "D"}));
    EXPECT_EQ(fewest.Jumps, 2);
    EXPECT_DOUBLE_EQ(fewest.TotalDistance, 10);
    o.Goal = TPlanGoal::Shortest;
    TRoutePlan shortest = planner.Plan(a, d, o);
    EXPECT_EQ(Names(shortest), (std::vector<std::string>{"A", "C1", "C2", "D"}));
    EXPECT_NEAR(shortest.TotalDistance, 8, 1e-12);
    // Same start and end: a trip of no jumps.
    const TRoutePlan stay = planner.Plan(a, a, o);
    EXPECT_TRUE(stay.Found);
    EXPECT_EQ(stay.Jumps, 0);
    EXPECT_EQ(stay.Stops.size(), 1u);
}

TEST(RoutePlanner, StopConditions)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 0);  // unpopulated ends still count
    TStellarBody *empty = AddRoot(s, "Empty", 4);
    TStellarBody *town = AddRoot(s, "Town", 4, 3, 0, 5e6);
    TStellarBody *b = AddRoot(s, "B", 8);
    town->PoliticalAffiliation = "League";
    empty->PoliticalAffiliation = "Empire";
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    o.Goal = TPlanGoal::Shortest;
    o.MaxJump = 5;
    EXPECT_EQ(Names(planner.Plan(a, b, o)), (std::vector<std::string>{"A", "Empty", "B"}));
    o.PopulatedOnly = true;
    EXPECT_EQ(Names(planner.Plan(a, b, o)), (std::vector<std::string>{"A", "Town", "B"}));
    o.PopulatedOnly = false;
    o.Affiliations = {"league"};
    EXPECT_EQ(Names(planner.Plan(a, b, o)), (std::vector<std::string>{"A", "Town", "B"}));
    o.Affiliations = {"Empire", "League"};
    EXPECT_EQ(Names(planner.Plan(a, b, o)), (std::vector<std::string>{"A", "Empty", "B"}));
    o.Affiliations.clear();
    o.Avoid = {empty};
    EXPECT_EQ(Names(planner.Plan(a, b, o)), (std::vector<std::string>{"A", "Town", "B"}));
    o.Avoid = {empty, town};
    EXPECT_FALSE(planner.Plan(a, b, o).Found);
}

TEST(RoutePlanner, NoPathNamesTheGap)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 0);
    AddRoot(s, "B", 4);
    TStellarBody *c = AddRoot(s, "C", 8);
    AddRoot(s, "Aside", 8, 20);   // farther from C than the far end is
    AddRoot(s, "Island", 19);     // nearest beyond the gap
    AddRoot(s, "Behind", 8, -9);  // nearer to C, but no nearer to Z
    TStellarBody *z = AddRoot(s, "Z", 23);
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    o.MaxJump = 5;
    const TRoutePlan plan = planner.Plan(a, z, o);
    ASSERT_FALSE(plan.Found);
    EXPECT_TRUE(plan.Error.empty());
    EXPECT_EQ(plan.NearestReachable, c);
    EXPECT_DOUBLE_EQ(plan.NearestToDestination, 15);
    ASSERT_NE(plan.GapTo, nullptr);
    EXPECT_EQ(plan.GapTo->Name, "Island");
    EXPECT_DOUBLE_EQ(plan.Gap, 11);
    // With a longer jump the gap is crossed.
    o.MaxJump = 11;
    EXPECT_EQ(Names(planner.Plan(a, z, o)), (std::vector<std::string>{"A", "C", "Island", "Z"}));
}

TEST(RoutePlanner, RefusesBadInput)
{
    TVexaSector s, other;
    TStellarBody *a = AddRoot(s, "A", 0);
    TStellarBody *b = AddRoot(s, "B", 1);
    TStellarBody *stranger = AddRoot(other, "Stranger", 0);
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    for (const double bad : {0.0, -1.0, std::nan(""), double(INFINITY)}) {
        o.MaxJump = bad;
        EXPECT_FALSE(planner.Plan(a, b, o).Error.empty()) << bad;
    }
    o.MaxJump = 5;
    EXPECT_FALSE(planner.Plan(a, stranger, o).Error.empty());
    EXPECT_FALSE(planner.Plan(nullptr, b, o).Error.empty());
    // A system with a damaged position is never reached by a jump; the
    // planner sees the system added after it was made.
    TStellarBody *lost = AddRoot(s, "Lost", std::nan(""));
    const TRoutePlan plan = planner.Plan(a, lost, o);
    EXPECT_FALSE(plan.Found);
    EXPECT_TRUE(plan.Error.empty());
}

TEST(RoutePlanner, AlongRoutesFollowsSegmentsOnly)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 0);
    TStellarBody *b = AddRoot(s, "B", 10);
    TStellarBody *c = AddRoot(s, "C", 10, 10);
    TStellarBody *d = AddRoot(s, "D", 0, 10);
    TStellarBody *e = AddRoot(s, "E", 0, 5);  // right between A and D, on no route
    auto route = [&](std::vector<TStellarBody *> stops, const std::string &type) {
        auto r = TStellarRoute::Create();
        r->RouteType = type;
        for (TStellarBody *stop : stops)
            r->AddSystem(stop);
        s.AddRoute(std::move(r));
    };
    route({a, b, c}, "Trade");
    route({c, d}, "Patrol");
    route({a, d}, "Smuggler");
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    o.AlongRoutes = true;
    o.Goal = TPlanGoal::Shortest;
    EXPECT_EQ(Names(planner.Plan(a, d, o)), (std::vector<std::string>{"A", "D"}));
    o.RouteTypes = {"trade", "PATROL"};
    const TRoutePlan plan = planner.Plan(a, d, o);
    EXPECT_EQ(Names(plan), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_DOUBLE_EQ(plan.TotalDistance, 30);
    // Segments are travelled both ways.
    EXPECT_EQ(Names(planner.Plan(d, a, o)), (std::vector<std::string>{"D", "C", "B", "A"}));
    // A limit on the jump drops the longer segments.
    o.RouteTypes.clear();
    o.MaxJump = 9;
    TRoutePlan none = planner.Plan(a, d, o);
    EXPECT_FALSE(none.Found);
    EXPECT_EQ(none.NearestReachable, a);
    EXPECT_EQ(none.GapTo, e);
    EXPECT_DOUBLE_EQ(none.Gap, 5);
    // E lies on no route: nothing reaches it along routes.
    o.MaxJump = 0;
    EXPECT_FALSE(planner.Plan(a, e, o).Found);
    // Avoiding D leaves the way through B, and a missing system on a
    // route breaks it there.
    o.Avoid = {d};
    EXPECT_EQ(Names(planner.Plan(a, c, o)), (std::vector<std::string>{"A", "B", "C"}));
    s.Routes[0]->Waypoints[1]->id = "{00000000-0000-0000-0000-000000000000}";
    EXPECT_FALSE(TRoutePlanner(s).Plan(a, c, o).Found);
}

TEST(RoutePlanner, TravelTimeAndKeptRoute)
{
    TVexaSector s;
    TStellarBody *a = AddRoot(s, "A", 0);
    AddRoot(s, "B", 3, 4);
    TStellarBody *c = AddRoot(s, "C", 6, 8);
    TRoutePlanner planner(s);
    TRoutePlanOptions o;
    o.MaxJump = 5;
    const TRoutePlan plan = planner.Plan(a, c, o);
    ASSERT_EQ(plan.Jumps, 2);

    TTravelInputs in;
    in.InterstellarSpeed = "2";
    double seconds = 0;
    std::string message;
    ASSERT_TRUE(PlanTravelTime(s, plan, in, {}, seconds, message)) << message;
    EXPECT_DOUBLE_EQ(seconds, 2 * (5 / 2.0 * TRAVEL_LIGHT_YEAR_SECONDS));
    in.InterstellarSpeed = "fast";
    EXPECT_FALSE(PlanTravelTime(s, plan, in, {}, seconds, message));
    EXPECT_EQ(message, TRAVEL_MSG_INTERSTELLAR);
    in.InterstellarSpeed = "0";
    EXPECT_FALSE(PlanTravelTime(s, plan, in, {}, seconds, message));

    TStellarRoute *route = AddPlanAsRoute(s, plan, "Run", "Planned", ColorRGB(255, 255, 0), ROUTE_LINE_DASH, 2);
    ASSERT_NE(route, nullptr);
    ASSERT_EQ(s.RouteCount(), 1);
    ASSERT_EQ(route->WaypointCount(), 3);
    EXPECT_EQ(route->GetWaypoint(1)->id, plan.Stops[1].System->IDString);
    EXPECT_DOUBLE_EQ(route->GetWaypoint(2)->X, 6);
    EXPECT_DOUBLE_EQ(route->Red, 1);
    EXPECT_DOUBLE_EQ(route->Blue, 0);
    EXPECT_GE(s.FindRouteType("Planned"), 0);
    // A trip that goes nowhere makes no route.
    EXPECT_EQ(AddPlanAsRoute(s, planner.Plan(a, a, o), "Stay", "", 0, 0, 1), nullptr);
}

} // namespace
