#include "base/NumberFormat.h"
#include "model/VexaSector.h"
#include "science/VexaDates.h"
#include "travel/SpaceTravel.h"
#include "travel/TravelCalculator.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

namespace {

struct Calculator : ::testing::Test {
    TVexaSector sector;
    TTravelCalculator calc{sector};
    TStellarBody *sol, *inner, *outer, *far;

    static TStellarBody *AddChild(TStellarBody &parent, int type, double distance)
    {
        auto b = TStellarBody::Create();
        b->TypeID = type;
        b->Distance = distance;
        b->Mass = 1;
        TStellarBody *raw = b.get();
        parent.AddChild(std::move(b));
        return raw;
    }

    TStellarBody *AddRoot(const char *name, double x)
    {
        auto b = TStellarBody::Create();
        b->Name = name;
        b->TypeID = BODY_TYPE_STAR;
        b->Mass = 1;
        b->X = x;
        TStellarBody *raw = b.get();
        sector.AddSystem(std::move(b));
        return raw;
    }

    void SetUp() override
    {
        sector.EpochYear = 3000;
        sector.DateFormat = "y-mm-dd h:n:s";
        sol = AddRoot("Sol", 0);
        // At periapsis on the sector's date 0, on the same side of the star.
        inner = AddChild(*sol, BODY_TYPE_TERRESTRIAL, 1e8);
        outer = AddChild(*sol, BODY_TYPE_TERRESTRIAL, 2e8);
        far = AddRoot("Far", 4.3);
    }

    double InSystemDistance() const
    {
        const TVexaPoint a = TSpaceTravel::BodyPositionKm(*inner, sector.Time);
        const TVexaPoint b = TSpaceTravel::BodyPositionKm(*outer, sector.Time);
        return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
    }
};

TEST_F(Calculator, TypedDistanceWithArrivalInTheSectorCalendar)
{
    calc.Inputs.OutToDistance = "150000000";
    const TTravelResult &r = calc.Recalculate();
    EXPECT_EQ(r.Message, "");
    EXPECT_EQ(r.DistanceText, "150,000,000 km");
    EXPECT_EQ(r.TravelTimeText, "2 days 20 hrs ");
    EXPECT_NEAR(r.TravelTime, 247351.92, 0.01);
    // 2.86287 days (rounded to 1/100,000 day) after 1 January 3000.
    EXPECT_EQ(r.ArrivalText, "3000-01-03 20:42:31");
    EXPECT_EQ(calc.DepartureText(), "3000-01-01 00:00:00");

    calc.Inputs.SublightUnit = TRAVEL_UNIT_KMH;
    calc.Inputs.SublightSpeed = "1000000";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "6 days 6 hrs ");
    calc.Inputs.SublightUnit = TRAVEL_UNIT_C;
    calc.Inputs.SublightSpeed = "1";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "8 mins 20 secs ");
    calc.Inputs.SublightUnit = TRAVEL_UNIT_MS2;
    calc.Inputs.SublightSpeed = "9.80665";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "2 days 20 hrs ");
}

TEST_F(Calculator, RefusedInputsAndImpossibleTrips)
{
    for (const char *bad : {"abc", "-5", "1e999", ""}) {
        calc.Inputs.OutToDistance = bad;
        if (std::string(bad).empty())
            continue;
        const TTravelResult &r = calc.Recalculate();
        EXPECT_EQ(r.Message, "Distance must be a number") << bad;
        EXPECT_EQ(r.TravelTimeText, "n/a");
        EXPECT_EQ(r.TravelTime, 0);
    }
    calc.Inputs.OutToDistance = "1000";
    calc.Inputs.SublightSpeed = "fast";
    EXPECT_EQ(calc.Recalculate().Message, "Sublight speed must be a number");

    // Standing still never arrives: "n/a" instead of 0 or -1 seconds.
    for (int unit : {TRAVEL_UNIT_G, TRAVEL_UNIT_MS2, TRAVEL_UNIT_KMH, TRAVEL_UNIT_C})
        for (const char *speed : {"0", "-2"}) {
            calc.Inputs.SublightUnit = unit;
            calc.Inputs.SublightSpeed = speed;
            const TTravelResult &r = calc.Recalculate();
            EXPECT_EQ(r.Message, "");
            EXPECT_EQ(r.DistanceText, "1,000 km");
            EXPECT_EQ(r.TravelTimeText, "n/a");
            EXPECT_EQ(r.TravelTime, 0);
        }
    // No distance over a trip of no length takes no time at any speed.
    calc.Inputs.OutToDistance = "0";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "");
    EXPECT_EQ(calc.Result().ArrivalText, calc.DepartureText());

    // A trip too long for the numbers is not available either.
    calc.Inputs.OutToDistance = "1e308";
    calc.Inputs.SublightUnit = TRAVEL_UNIT_KMH;
    calc.Inputs.SublightSpeed = "1e-300";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "n/a");
}

TEST_F(Calculator, BetweenSystemsInLightYears)
{
    sector.UnitStarMeasureRatio = 3.2616;  // shown in parsecs; trips stay light years
    calc.Inputs.StartBody = inner;
    calc.Inputs.EndBody = far;
    const TTravelResult &r = calc.Recalculate();
    EXPECT_EQ(r.DistanceText, "4.3 ly");
    EXPECT_EQ(r.TravelTimeText, "4 yrs 108 days ");
    EXPECT_DOUBLE_EQ(r.TravelTime, 4.3 * 31536000);

    calc.Inputs.StartBoundary = "150000000";
    calc.Inputs.EndBoundary = "150000000";
    const double leg = TSpaceTravel::AccelTravelTime(9.80665, 150000000);
    EXPECT_DOUBLE_EQ(calc.Recalculate().TravelTime, 4.3 * 31536000 + 2 * leg);

    calc.Inputs.EndBoundary = "-1";
    EXPECT_EQ(calc.Recalculate().Message, "Hyperlight start boundary must be a number");
    calc.Inputs.EndBoundary = "";
    calc.Inputs.InterstellarSpeed = "warp";
    EXPECT_EQ(calc.Recalculate().Message, "Interstellar speed must be a number");
    calc.Inputs.InterstellarSpeed = "0";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "n/a");
    calc.Inputs.InterstellarSpeed = "2";
    EXPECT_DOUBLE_EQ(calc.Recalculate().TravelTime, 4.3 / 2 * 31536000 + leg);
}

TEST_F(Calculator, InsideOneSystem)
{
    calc.Inputs.StartBody = inner;
    calc.Inputs.EndBody = outer;
    const double d = InSystemDistance();
    ASSERT_GT(d, 5e7);
    const TTravelResult &plain = calc.Recalculate();
    EXPECT_EQ(plain.DistanceText, FormatFloat("#,##0", d) + " km");
    const double plainTime = plain.TravelTime;
    EXPECT_DOUBLE_EQ(plainTime, TSpaceTravel::AccelTravelTime(9.80665, d));

    // A jump between the boundaries at light speed.
    calc.Inputs.IntrasystemHyperlight = true;
    calc.Inputs.StartBoundary = "1000000";
    calc.Inputs.EndBoundary = "2000000";
    const double leg1 = TSpaceTravel::AccelTravelTime(9.80665, 1e6);
    const double leg2 = TSpaceTravel::AccelTravelTime(9.80665, 2e6);
    EXPECT_DOUBLE_EQ(calc.Recalculate().TravelTime, leg1 + (d - 3e6) / 299792.458 + leg2);

    // Boundaries that meet fall back to the plain sub-light trip.
    calc.Inputs.StartBoundary = FormatFloat("0", d + 1);
    EXPECT_DOUBLE_EQ(calc.Recalculate().TravelTime, plainTime);
    calc.Inputs.StartBoundary = "x";
    EXPECT_EQ(calc.Recalculate().Message, "Hyperlight start boundary must be a number");
}

struct FakeMethod : TTravelCalcMethod {
    std::string MethodName;
    std::string Error;
    double Answer = 0;
    TTravelCalcRequest Seen;
    std::string Name() const override { return MethodName; }
    void Run(TTravelCalcRequest &request) override
    {
        Seen = request;
        request.ErrorMsg = Error;
        request.TravelTime = Answer;
    }
};

TEST_F(Calculator, PluginMethods)
{
    FakeMethod jump, gate;
    jump.MethodName = "Jump Drive";
    jump.Answer = 3600;
    gate.MethodName = "Gate";
    gate.Error = "No gate in range";
    calc.SetMethods({&jump, &gate});
    EXPECT_EQ(calc.MethodNames(), (std::vector<std::string>{"Light Speed", "Gate", "Jump Drive"}));

    calc.Inputs.StartBody = sol;
    calc.Inputs.EndBody = far;
    calc.Inputs.Method = "Jump Drive";
    calc.Inputs.InterstellarSpeed = "3";
    calc.Inputs.SublightSpeed = "2.5";
    EXPECT_EQ(calc.Recalculate().TravelTimeText, "60 mins ");
    EXPECT_EQ(jump.Seen.DistanceUnit, "ly");
    EXPECT_DOUBLE_EQ(jump.Seen.Distance, 4.3);
    EXPECT_EQ(jump.Seen.InterstellarSpeed, 3);
    EXPECT_EQ(jump.Seen.SublightSpeed, "2.5");
    EXPECT_EQ(jump.Seen.StartBody, sol);

    calc.Inputs.Method = "Gate";
    const TTravelResult &r = calc.Recalculate();
    EXPECT_EQ(r.DistanceText, "4.3 ly");
    EXPECT_EQ(r.TravelTimeText, "No gate in range");
    EXPECT_EQ(r.ArrivalText, calc.DepartureText());
    EXPECT_EQ(r.TravelTime, 0);

    // In-system jumps hand over the leg between the boundaries in km.
    calc.Inputs.Method = "Jump Drive";
    calc.Inputs.StartBody = inner;
    calc.Inputs.EndBody = outer;
    calc.Inputs.IntrasystemHyperlight = true;
    calc.Recalculate();
    EXPECT_EQ(jump.Seen.DistanceUnit, "km");
    EXPECT_DOUBLE_EQ(jump.Seen.Distance, InSystemDistance());
}

TEST_F(Calculator, AdvanceTime)
{
    calc.Inputs.StartBody = sol;
    calc.Inputs.EndBody = far;
    const double seconds = calc.Recalculate().TravelTime;
    EXPECT_TRUE(calc.AdvanceTime());
    EXPECT_DOUBLE_EQ(sector.Time, seconds / 86400);
    EXPECT_TRUE(sector.Modified);
    EXPECT_EQ(calc.Inputs.StartBody, far);
    // Now there and back again is nowhere: nothing to advance.
    EXPECT_EQ(calc.Result().TravelTime, 0);
    EXPECT_FALSE(calc.AdvanceTime());
    EXPECT_DOUBLE_EQ(sector.Time, seconds / 86400);
}

} // namespace
