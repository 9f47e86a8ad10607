#include "model/StellarBody.h"
#include "science/Orbits.h"
#include "travel/SpaceTravel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kalvion;

namespace {

TEST(SpaceTravel, AccelerationAndLightSpeed)
{
    EXPECT_DOUBLE_EQ(TSpaceTravel::TimeToLightSpeed(9.80665), 299792458.0 / 9.80665);
    EXPECT_EQ(TSpaceTravel::TimeToLightSpeed(0), -1);
    EXPECT_EQ(TSpaceTravel::MaxBurnDistance(-2), -1);
    EXPECT_NEAR(TSpaceTravel::MaxBurnDistance(10), 299792458.0 * 299792458.0 / 40, 1e3);
    EXPECT_EQ(TSpaceTravel::AccelTravelTime(0, 100), -1);

    // 1 g over 150,000,000 km: 2 × √(1.5e11 / 9.80665) seconds.
    const double t = TSpaceTravel::AccelTravelTime(TSpaceTravel::GToMs2(1), 150000000);
    EXPECT_DOUBLE_EQ(t, 2 * std::sqrt(1.5e11 / 9.80665));
    EXPECT_NEAR(t, 247351.92, 0.01);

    // Beyond the longest burn the rest is flown at light speed.
    const double a = 1000;
    const double dmax = TSpaceTravel::MaxBurnDistance(a);
    const double km = 3 * dmax / 1000;
    EXPECT_DOUBLE_EQ(TSpaceTravel::AccelTravelTime(a, km), 2 * std::sqrt(dmax / a) + 2 * dmax / 299792458.0);

    EXPECT_DOUBLE_EQ(TSpaceTravel::LightMultipleToKmh(1), 1079252848.8);
    EXPECT_DOUBLE_EQ(TSpaceTravel::GToMs2(2), 19.6133);
    EXPECT_EQ(TSpaceTravel::FixedTravelTime(0, 1000), 0);
    EXPECT_DOUBLE_EQ(TSpaceTravel::FixedTravelTime(100, 250), 9000);
}

TEST(SpaceTravel, DurationsShowAtMostTwoTruncatedUnits)
{
    EXPECT_EQ(FormatTravelDuration(247351.92), "2 days 20 hrs ");
    EXPECT_EQ(FormatTravelDuration(4.3 * 31536000), "4 yrs 108 days ");
    EXPECT_EQ(FormatTravelDuration(90), "90 secs ");
    EXPECT_EQ(FormatTravelDuration(91.9), "1 mins 31 secs ");
    EXPECT_EQ(FormatTravelDuration(5400), "90 mins ");
    EXPECT_EQ(FormatTravelDuration(129600), "36 hrs ");
    EXPECT_EQ(FormatTravelDuration(129601), "1 days 12 hrs ");
    EXPECT_EQ(FormatTravelDuration(47335428), "547 days 20 hrs ");
    EXPECT_EQ(FormatTravelDuration(-90), "90 secs ");
    EXPECT_EQ(FormatTravelDuration(0), "");
    // Years with a rest under a day and a half would have written hours,
    // minutes and seconds after them.
    EXPECT_EQ(FormatTravelDuration(2 * 31556952.0 + 7384), "2 yrs 2 hrs ");
    EXPECT_EQ(FormatTravelDuration(3 * 86400.0 + 125), "3 days 2 mins ");
    EXPECT_EQ(FormatTravelDuration(std::numeric_limits<double>::infinity()), "n/a");
    EXPECT_EQ(FormatTravelDuration(std::nan("")), "n/a");
    EXPECT_EQ(FormatTravelDuration(1e300).substr(0, 10), "3168873850");
}

struct Positions : ::testing::Test {
    std::unique_ptr<TStellarBody> root = TStellarBody::Create();
    TStellarBody *starA, *starB, *planet, *moon, *planetSystem, *member;

    static TStellarBody *AddChild(TStellarBody &parent, int type, double distance)
    {
        auto b = TStellarBody::Create();
        b->TypeID = type;
        b->Distance = distance;
        b->Mass = 1.0;
        b->Eccentricity = 0.1;
        b->AnglePeriapsis = 30;
        b->Inclination = 5;
        TStellarBody *raw = b.get();
        parent.AddChild(std::move(b));
        return raw;
    }

    void SetUp() override
    {
        root->TypeID = BODY_TYPE_MULT;
        starA = AddChild(*root, BODY_TYPE_STAR, 0);
        starA->X = 1, starA->Y = 0.5, starA->Z = 0;
        starB = AddChild(*root, BODY_TYPE_STAR, 0);
        starB->X = -2, starB->Y = 0, starB->Z = 0.25;
        planet = AddChild(*starA, BODY_TYPE_TERRESTRIAL, 1.5e8);
        moon = AddChild(*planet, BODY_TYPE_TERRESTRIAL, 4e5);
        planetSystem = AddChild(*starB, BODY_TYPE_PLANETSYSTEM, 7e8);
        member = AddChild(*planetSystem, BODY_TYPE_GASGIANT, 1e6);
    }

    static TVexaPoint Orbit(const TStellarBody &b, double date)
    {
        auto o = GetOrbit(b);
        o->SetTime(date);
        return {o->PositionX, o->PositionY, o->PositionZ};
    }
};

TEST_F(Positions, ThroughMultipleStarsAndPlanetSystems)
{
    const double au = 149597890.0;
    const double date = 1234.5;
    const TVexaPoint r = TSpaceTravel::BodyPositionKm(*root, date);
    EXPECT_EQ(r, (TVexaPoint{0, 0, 0}));
    EXPECT_EQ(TSpaceTravel::BodyPositionKm(*starA, date), (TVexaPoint{au, 0.5 * au, 0}));

    const TVexaPoint p = Orbit(*planet, date);
    const TVexaPoint m = Orbit(*moon, date);
    EXPECT_EQ(TSpaceTravel::BodyPositionKm(*planet, date), (TVexaPoint{au + p.X, 0.5 * au + p.Y, p.Z}));
    EXPECT_EQ(TSpaceTravel::BodyPositionKm(*moon, date),
              (TVexaPoint{au + p.X + m.X, 0.5 * au + p.Y + m.Y, p.Z + m.Z}));
    // The planet at another date stands elsewhere on its orbit.
    EXPECT_NE(TSpaceTravel::BodyPositionKm(*planet, date + 100), TSpaceTravel::BodyPositionKm(*planet, date));

    // Members of a planet system sit at its centre.
    const TVexaPoint ps = Orbit(*planetSystem, date);
    const TVexaPoint centre{-2 * au + ps.X, ps.Y, 0.25 * au + ps.Z};
    EXPECT_EQ(TSpaceTravel::BodyPositionKm(*planetSystem, date), centre);
    EXPECT_EQ(TSpaceTravel::BodyPositionKm(*member, date), centre);
}

} // namespace
