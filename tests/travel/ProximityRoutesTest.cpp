#include "base/SharedRandom.h"
#include "model/VexaSector.h"
#include "travel/ProximityRoutes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

using namespace kalvion;

namespace {

struct Proximity : ::testing::Test {
    TVexaSector sector;

    TStellarBody *Add(const char *name, double x, double y = 0, double z = 0, double population = 0)
    {
        auto b = TStellarBody::Create();
        b->Name = name;
        b->X = x;
        b->Y = y;
        b->Z = z;
        b->ChildPopulation = population;
        TStellarBody *raw = b.get();
        sector.AddSystem(std::move(b));
        return raw;
    }

    static TProximityRouteOptions Options(int style, double minLength, double maxLength, double maxRoutes)
    {
        TProximityRouteOptions o;
        o.Style = style;
        o.MinLength = minLength;
        o.MaxLength = maxLength;
        o.MaxRoutes = maxRoutes;
        return o;
    }

    // Each route as the names of its two ends, in the order made.
    std::vector<std::pair<std::string, std::string>> Ends() const
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto &r : sector.Routes)
            out.emplace_back(r->Waypoints[0]->Body->Name, r->Waypoints[1]->Body->Name);
        return out;
    }
};

using EndList = std::vector<std::pair<std::string, std::string>>;

TEST_F(Proximity, OneRouteForAPairWithTheGivenLookAndType)
{
    TStellarBody *a = Add("A", 0), *b = Add("B", 5);
    TProximityRouteOptions o = Options(PROXIMITY_ROUTES_ALL, 0, 10, 2);
    o.RouteType = "Trade";
    o.Label = "Lane";
    o.Color = ColorRGB(255, 128, 0);
    o.LineStyle = ROUTE_LINE_DASH;
    o.LineWidth = 3;
    EXPECT_EQ(CreateProximityRoutes(sector, o), 1);
    ASSERT_EQ(sector.RouteCount(), 1);
    const TStellarRoute &r = *sector.Routes[0];
    EXPECT_EQ(r.Waypoints[0]->id, a->IDString);
    EXPECT_EQ(r.Waypoints[1]->id, b->IDString);
    EXPECT_EQ(r.Name, "Lane");
    EXPECT_EQ(r.RouteType, "Trade");
    EXPECT_NEAR(r.Red, 1.0, 1e-12);
    EXPECT_NEAR(r.Green, 0.502, 1e-12);
    EXPECT_NEAR(r.Blue, 0.0, 1e-12);
    EXPECT_EQ(r.LineStyle, ROUTE_LINE_DASH);
    EXPECT_DOUBLE_EQ(r.LineWidth, 3);
    EXPECT_TRUE(r.Modified);
    EXPECT_GE(sector.FindRouteType("Trade"), 0);

    // Routes made before are not consulted: a second run makes a second set.
    EXPECT_EQ(CreateProximityRoutes(sector, o), 1);
    EXPECT_EQ(sector.RouteCount(), 2);
}

TEST_F(Proximity, LimitPerSystemCountsDiscardedDuplicates)
{
    // Three neighbours at the same distance from the centre, farther from
    // one another than the longest route.
    Add("Centre", 0);
    Add("East", 1);
    Add("West", -1);
    Add("North", 0, 1);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.2, 2)), 3);
    EXPECT_EQ(Ends(), (EndList{{"Centre", "East"}, {"Centre", "West"}, {"North", "Centre"}}));

    // A limit that is not whole stops at the first place beyond it.
    sector.Routes.clear();
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.2, 1.5)), 3);
    EXPECT_EQ(Ends()[1], (std::pair<std::string, std::string>{"Centre", "West"}));

    // On a line A - B - C, C's nearest is B, already linked: the duplicate
    // takes C's only place, so C never reaches A.
    TVexaSector &s = sector;
    s.Routes.clear();
    s.Systems.clear();
    Add("A", 0);
    Add("B", 1);
    Add("C", 1.5);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 1)), 2);
    EXPECT_EQ(Ends(), (EndList{{"A", "B"}, {"B", "C"}}));
}

TEST_F(Proximity, DistanceBand)
{
    Add("A", 0);
    Add("B", 2.5);
    Add("C", 4);
    Add("D", 100);
    // Min 3 leaves out the neighbour 2.5 away.
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 3, 10, 0)), 1);
    EXPECT_EQ(Ends(), (EndList{{"A", "C"}}));
    // No limits: every pair, once.
    sector.Routes.clear();
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 0)), 6);
    // Both ends of the band belong to it.
    sector.Routes.clear();
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 2.5, 4, 0)), 2);
    EXPECT_EQ(Ends(), (EndList{{"A", "B"}, {"A", "C"}}));
}

TEST_F(Proximity, StylesAndVisibility)
{
    TStellarBody *pop1 = Add("Pop1", 0, 0, 0, 1000);
    Add("Empty", 1);
    TStellarBody *pop2 = Add("Pop2", 2, 0, 0, 1);
    TStellarBody *tiny = Add("Tiny", 3, 0, 0, 0.5);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_POP, 0, 10, 0)), 1);
    EXPECT_EQ(Ends(), (EndList{{"Pop1", "Pop2"}}));

    // Selection styles: one selected system has no partner.
    sector.Routes.clear();
    sector.SelectBody(tiny);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_SEL, 0, 10, 0)), 0);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_POPSEL, 0, 10, 0)), 3);
    sector.Routes.clear();
    sector.SelectBody(pop1);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_SEL, 0, 10, 0)), 1);
    EXPECT_EQ(Ends(), (EndList{{"Pop1", "Tiny"}}));

    // A hidden system never starts a route but ends one.
    sector.Routes.clear();
    pop1->Visible = false;
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_POP, 0, 10, 0)), 1);
    EXPECT_EQ(Ends(), (EndList{{"Pop2", "Pop1"}}));
    sector.Routes.clear();
    pop2->Visible = false;
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_POP, 0, 10, 0)), 0);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(99, 0, 0, 0)), 0);
}

TEST_F(Proximity, TiesFollowThePrintedDistanceThenSectorOrder)
{
    // 1.0004 and 1.0001 both print as 1.000: a tie, settled by sector order.
    Add("Origin", 0);
    Add("Farther", 1.0004);
    Add("Nearer", -1.0001);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.5, 1)), 2);
    EXPECT_EQ(Ends()[0], (std::pair<std::string, std::string>{"Origin", "Farther"}));

    EXPECT_EQ(ProximitySortKey(1.0005), 1001);  // the pattern rounds "1.0005" up
    EXPECT_EQ(ProximitySortKey(2.0004999), 2000);
    EXPECT_EQ(ProximitySortKey(0.0015), 2);
    EXPECT_EQ(ProximitySortKey(12.3456), 12346);
    EXPECT_EQ(ProximitySortKey(0), 0);
    EXPECT_EQ(ProximitySortKey(1234567890.1235), 1234567890124);
}

TEST_F(Proximity, DamagedCoordinatesMakeNoRoutes)
{
    Add("A", 0);
    Add("Lost", std::numeric_limits<double>::quiet_NaN());
    Add("Far", std::numeric_limits<double>::infinity());
    Add("B", 1);
    for (bool indexed : {true, false}) {
        sector.Routes.clear();
        TProximityRouteOptions o = Options(PROXIMITY_ROUTES_ALL, 0, 0, 0);
        o.UseSpatialIndex = indexed;
        EXPECT_EQ(CreateProximityRoutes(sector, o), 1);
        o.MaxLength = 5;
        EXPECT_EQ(CreateProximityRoutes(sector, o), 1);
    }
}

TEST_F(Proximity, ProgressEveryTenthSystemAndCancel)
{
    for (int i = 0; i < 25; ++i)
        Add("S", i);
    std::vector<double> fractions;
    std::vector<std::string> small;
    auto progress = [&](const std::string &caption, double fraction) {
        EXPECT_EQ(caption, "Generating Proximity Routes");
        fractions.push_back(fraction);
        small.push_back(sector.RenderMessageSmall);
        return false;
    };
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.5, 1), progress), 24);
    EXPECT_EQ(fractions, (std::vector<double>{0, 0.4, 0.8}));
    EXPECT_EQ(small[1], "10 of 25 systems examined");
    EXPECT_TRUE(sector.RenderMessageBig.empty());
    EXPECT_TRUE(sector.RenderMessageSmall.empty());

    // Cancelled at the tenth system: only the first nine looked for routes
    // (the second found its only place taken).
    sector.Routes.clear();
    int calls = 0;
    auto cancel = [&](const std::string &, double) {
        if (++calls == 2) {
            EXPECT_EQ(sector.RenderMessageBig, "Generating Proximity Routes.  Hit Escape to cancel");
            return true;
        }
        return false;
    };
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.5, 1), cancel), 8);
    EXPECT_TRUE(sector.RenderMessageBig.empty());

    // Without a callback the sector's own progress handler hears of it.
    sector.Routes.clear();
    int sectorCalls = 0;
    sector.OnProgress = [&](const std::string &, double) { ++sectorCalls; };
    CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 1.5, 1));
    EXPECT_EQ(sectorCalls, 3);
}

TEST_F(Proximity, RandomColoursStayInTheirRange)
{
    Add("A", 0);
    Add("B", 1);
    Add("C", 2);
    TProximityRouteOptions o = Options(PROXIMITY_ROUTES_ALL, 0, 0, 0);
    o.RandomColor = true;
    SetSharedRandomSeed(42);
    CreateProximityRoutes(sector, o);
    ASSERT_EQ(sector.RouteCount(), 3);
    for (const auto &r : sector.Routes)
        for (double c : {r->Red, r->Green, r->Blue}) {
            EXPECT_GE(c, 0.5 - 1e-12);
            EXPECT_LE(c, 0.99 + 1e-12);
            EXPECT_NEAR(c * 100, std::nearbyint(c * 100), 1e-9);
        }
}

// The grid must find exactly what measuring every pair finds, random colours
// included (they are drawn in the same order).
TEST_F(Proximity, GridMatchesEveryPair)
{
    using Route = std::tuple<std::string, std::string, double, double, double>;
    auto run = [](TVexaSector &s, const TProximityRouteOptions &o) {
        SetSharedRandomSeed(7);
        CreateProximityRoutes(s, o);
        std::vector<Route> out;
        for (const auto &r : s.Routes)
            out.emplace_back(r->Waypoints[0]->id, r->Waypoints[1]->id, r->Red, r->Green, r->Blue);
        s.Routes.clear();
        return out;
    };
    std::int32_t seed = 12345;
    auto next = [&](int n) {
        seed = NextRandomSeed(seed);
        return RandomIntFromSeed(seed, n);
    };
    int withRoutes = 0;
    for (int round = 0; round < 12; ++round) {
        sector.Systems.clear();
        sector.Selection.clear();
        const int n = 200 + next(600);
        const double span = 5 + next(60);
        for (int i = 0; i < n; ++i) {
            // Coordinates on a coarse lattice make exact ties and band edges common.
            TStellarBody *b = Add("S", next(1000) * span / 1000 - span / 2, next(1000) * span / 1000 - span / 2,
                                  round % 3 == 0 ? 0 : next(100) * span / 100 - span / 2, next(3) ? 0 : 10);
            b->Visible = next(10) != 0;
            if (next(4) == 0)
                sector.SelectBody(b);
        }
        TProximityRouteOptions o = Options(round % 4, next(3) == 0 ? 1 : 0, 1 + next(8) * 0.5, next(4));
        o.RandomColor = true;
        o.UseSpatialIndex = false;
        const auto plain = run(sector, o);
        o.UseSpatialIndex = true;
        const auto indexed = run(sector, o);
        EXPECT_EQ(plain, indexed) << "round " << round;
        withRoutes += plain.empty() ? 0 : 1;
    }
    EXPECT_GE(withRoutes, 8);
}

// The count a run would make, known before it makes any: exact for every
// pair, bounded by the per-system count, counted within a distance band.
TEST_F(Proximity, ExpectedRoutesAreKnownBeforeTheRun)
{
    for (int i = 0; i < 10; ++i)
        Add("S", i * 3.0);
    EXPECT_DOUBLE_EQ(ExpectedProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 0)), 45);
    EXPECT_DOUBLE_EQ(ExpectedProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 2)), 20);
    EXPECT_DOUBLE_EQ(ExpectedProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 2.5)), 30);
    // Within 3.5 each inner system sees two neighbours, the ends one: 18
    // candidates, 9 routes once the pairs found from both ends are joined.
    const double banded = ExpectedProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 3.5, 0));
    EXPECT_GE(banded, 9);
    EXPECT_LE(banded, 18);
    EXPECT_EQ(CreateProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 0)), 45);
    EXPECT_DOUBLE_EQ(ExpectedProximityRoutes(sector, Options(PROXIMITY_ROUTES_POP, 0, 0, 0)), 0);
    EXPECT_TRUE(CheckProximityRoutes(sector, Options(PROXIMITY_ROUTES_ALL, 0, 0, 0)).empty());
    EXPECT_GT(MaxProximityRoutes(), 1.0e5);
}

} // namespace
