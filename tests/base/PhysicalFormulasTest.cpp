#include "base/PhysicalFormulas.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kalvion;

TEST(PhysicalFormulas, Temperatures)
{
    EXPECT_NEAR(EquilibriumTemp(1, 149597890000.0, 0.3), 258.4, 0.1);
    EXPECT_EQ(EquilibriumTemp(0, 149597890000.0, 0.3), 0);
    EXPECT_EQ(EquilibriumTemp(1, 0, 0.3), 0);
    EXPECT_EQ(EquilibriumTemp(-1, 1e11, 0.3), 0);
}

TEST(PhysicalFormulas, MassGravityAndVelocity)
{
    EXPECT_DOUBLE_EQ(MassRelEarth(6378.14, 1), 1);
    EXPECT_DOUBLE_EQ(SurfaceGravity(6378.14, 1), 1);
    EXPECT_NEAR(EscapeVelocity(1, 6378.14), 11.18, 0.01);
    EXPECT_EQ(MassRelEarth(std::numeric_limits<double>::infinity(), 0), 0);
}

TEST(PhysicalFormulas, PeriodsAndOrbits)
{
    EXPECT_DOUBLE_EQ(CalcYearLength(149597890, 1), 365);
    EXPECT_DOUBLE_EQ(CalcMoonPeriod(384800, 1), 27.32);
    EXPECT_EQ(CalcYearLength(149597890, 0), 0);
    EXPECT_EQ(CalcMoonPeriod(384800, 0), 0);
    // A geostationary orbit of Earth lies about 42,200 km from the centre.
    EXPECT_NEAR(Geostationary(1, 23.9345, 6378.14), 42200, 60);
    EXPECT_EQ(Geostationary(1, 24, 6378.14), Geostationary(1, 24, 0));
}

TEST(PhysicalFormulas, RocheAndHill)
{
    EXPECT_DOUBLE_EQ(RocheFactor(1000, 1, 2.423, 500), 0.5);
    EXPECT_EQ(RocheFactor(0, 1, 1, 500), 0);
    EXPECT_EQ(RocheFactor(1000, 1, 0, 500), 0);
    EXPECT_DOUBLE_EQ(HillSphere(3, 1, 100), 100);
    EXPECT_EQ(HillSphere(1, 0, 100), 0);
}

TEST(PhysicalFormulas, Atmospheres)
{
    EXPECT_TRUE(AtmosphereIsGasRetained(1, 318, 71492, 165));
    EXPECT_FALSE(AtmosphereIsGasRetained(1, 1, 6378, 288));
    EXPECT_GT(AtmosphereMinMoleculeWeight(5.977e24, 288, 6378), 0);
    EXPECT_EQ(EscapeTemperature(1, 2, 3), 0);
}

TEST(PhysicalFormulas, Stars)
{
    EXPECT_DOUBLE_EQ(StarRadiusFromMass(1), 1);
    EXPECT_NEAR(StarLuminosityFromMass(2), 11.31, 0.01);
    EXPECT_EQ(StarColorFromSpectral("g2v"), ColorRGB(255, 244, 234));
    EXPECT_EQ(StarColorFromSpectral("OB"), ColorRGB(155, 176, 255));
    EXPECT_EQ(StarColorFromSpectral("KO"), ColorRGB(155, 176, 255));
    EXPECT_EQ(StarColorFromSpectral("L5"), ColorRGB(255, 255, 255));
    EXPECT_EQ(StarColorFromSpectral(""), ColorRGB(255, 255, 255));
    EXPECT_EQ(StarColorFromSpectral("M3"), ColorRGB(255, 204, 111));
}
