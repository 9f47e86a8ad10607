#include "base/NumberFormat.h"

#include <gtest/gtest.h>

using namespace kalvion;

TEST(NumberFormat, GroupingAndDigits)
{
    EXPECT_EQ(FormatFloat("#,##0", 1234567), "1,234,567");
    EXPECT_EQ(FormatFloat("#,##0", 999), "999");
    EXPECT_EQ(FormatFloat("#,##0", 0), "0");
    EXPECT_EQ(FormatFloat("###,###,###,###,###,##0", 8.1e9), "8,100,000,000");
    EXPECT_EQ(FormatFloat("00", 7), "07");
    EXPECT_EQ(FormatFloat("00", 123), "123");
    EXPECT_EQ(FormatFloat("0.0", 10), "10.0");
    EXPECT_EQ(FormatFloat("###0.##", 365.25), "365.25");
    EXPECT_EQ(FormatFloat("###0.##", 365), "365");
    EXPECT_EQ(FormatFloat("###0.##", 365.1), "365.1");
    EXPECT_EQ(FormatFloat("0.00", 2.5), "2.50");
    EXPECT_EQ(FormatFloat("0.0#", 2.5), "2.5");
    EXPECT_EQ(FormatFloat("0.0#", 2.567), "2.57");
}

TEST(NumberFormat, OptionalOnlyPatterns)
{
    EXPECT_EQ(FormatFloat("#.##", 0.9), ".9");
    EXPECT_EQ(FormatFloat("#.##", 0), "");
    EXPECT_EQ(FormatFloat("###", 0), "");
    EXPECT_EQ(FormatFloat("#.##", 0.001), "");
    EXPECT_EQ(FormatFloat("#,###", 1234), "1,234");
}

TEST(NumberFormat, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(FormatFloat("0", 0.5), "1");
    EXPECT_EQ(FormatFloat("0", 1.5), "2");
    EXPECT_EQ(FormatFloat("0", 2.5), "3");
    EXPECT_EQ(FormatFloat("0", -2.5), "-3");
    EXPECT_EQ(FormatFloat("0.00", 1.005), "1.01");
    EXPECT_EQ(FormatFloat("0.00", 0.125), "0.13");
    EXPECT_EQ(FormatFloat("0.0", 0.04), "0.0");
}

TEST(NumberFormat, RoundingCarriesIntoNewDigits)
{
    EXPECT_EQ(FormatFloat("#,##0", 999.5), "1,000");
    EXPECT_EQ(FormatFloat("0.00", 9.999), "10.00");
    EXPECT_EQ(FormatFloat("#,##0.##", 999999.999), "1,000,000");
    EXPECT_EQ(FormatFloat("0", 0.6), "1");
    EXPECT_EQ(FormatFloat("#", 0.5), "1");
}

TEST(NumberFormat, Negatives)
{
    EXPECT_EQ(FormatFloat("#,##0", -1234567), "-1,234,567");
    EXPECT_EQ(FormatFloat("0.0", -0.04), "0.0");
    EXPECT_EQ(FormatFloat("0.00", -0.5), "-0.50");
    EXPECT_EQ(FormatFloat("#.##", -0.9), "-.9");
}

TEST(NumberFormat, StorageAndReadingPatterns)
{
    EXPECT_EQ(VexaFloatStr(1234567.25), "1234567.25");
    EXPECT_EQ(VexaFloatStr(0.1234564), "0.123456");
    EXPECT_EQ(VexaFloatStr(0.1234565), "0.123457");
    EXPECT_EQ(VexaFloatStr(-3), "-3");
    EXPECT_EQ(VexaFloatStr(1e20), "100000000000000000000");
    EXPECT_EQ(VexaFloatStr(1e-7), "0");
    EXPECT_EQ(VexaFloatStrRead(1234567.5), "1,234,567.5");
    EXPECT_EQ(FormatPopulationNumber(1110), "1,110");
    EXPECT_EQ(FormatCount(25000), "25,000");
}

TEST(NumberFormat, NonFiniteValuesAndLiterals)
{
    EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FormatFloat("0.0", -std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatFloat("0.0 ly", 3.25), "3.3 ly");
    EXPECT_EQ(FormatFloat("$#,##0", 1500), "$1,500");
}
