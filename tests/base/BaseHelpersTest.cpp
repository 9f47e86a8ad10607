#include "base/AsciiText.h"
#include "base/Colour.h"
#include "base/Guid.h"
#include "base/NumberParse.h"
#include "base/Paths.h"
#include "base/Rounding.h"
#include "base/SharedRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <thread>

using namespace kalvion;

TEST(AsciiText, FoldsOnlyAsciiLetters)
{
    EXPECT_EQ(AsciiLower("Capital ÄB"), "capital Äb");
    EXPECT_EQ(AsciiUpper("n2 o2"), "N2 O2");
    EXPECT_TRUE(SameText("Free Worlds", "FREE worlds"));
    EXPECT_FALSE(SameText("abc", "abd"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareStr("ABC", "abc"), 0);
    EXPECT_GT(CompareStr("\xE9", "z"), 0); // bytes compare unsigned
    EXPECT_EQ(Trim("  \t N2 \r\n"), "N2");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(ShortForMessage("short"), "short");
    EXPECT_EQ(ShortForMessage(std::string(500, 'x')), std::string(80, 'x') + "...");
    EXPECT_EQ(ShortForMessage("abcdef", 3), "abc...");
}

TEST(Rounding, HalfToEven)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_NEAR(RoundToDecimals(2, 1.236), 1.24, 1e-12);
    EXPECT_DOUBLE_EQ(RoundToDecimals(0, 2.5), 2);
    EXPECT_DOUBLE_EQ(RoundToDecimals(1, 0.25), 0.2);
    // The exact-scale form keeps decimal literals: half to even at the place.
    EXPECT_DOUBLE_EQ(RoundDecimalPlaces(1, 0.25), 0.2);
    EXPECT_DOUBLE_EQ(RoundDecimalPlaces(5, 3.14159265358979), 3.14159);
    EXPECT_DOUBLE_EQ(RoundDecimalPlaces(4, 0.54630248984379), 0.5463);
    EXPECT_FALSE(RoundToInt64(std::nan("")).has_value());
    EXPECT_FALSE(RoundToInt64(1e19).has_value());
    EXPECT_EQ(RoundToInt64(-3.5).value(), -4);
    EXPECT_EQ(RoundToInt32Clamped(1e12), 2147483647);
    EXPECT_EQ(RoundToInt32Clamped(std::nan("")), 0);
    EXPECT_EQ(TruncToInt32Clamped(-2.9), -2);
}

// The decimal a value rounds to, as glibc's printf finds it (the exact binary
// value, ties to even), read back by the correctly rounded strtod.
static double DecimalReference(int n, double x)
{
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", n, x);
    return std::strtod(text, nullptr);
}

TEST(Rounding, DecimalsGiveTheNearestDoubleToTheDecimal)
{
    // Values a scale slightly off the power of ten used to move.
    EXPECT_EQ(RoundToDecimals(3, 0.9), 0.9);
    EXPECT_EQ(RoundToDecimals(3, 1.1), 1.1);
    EXPECT_EQ(RoundToDecimals(6, -5.1378529999999), -5.137853);
    EXPECT_EQ(RoundToDecimals(6, -5.137853), -5.137853);
    EXPECT_EQ(RoundToDecimals(4, 0.5463024898), 0.5463);
    // Exact halves go to the even neighbour, whatever the sign.
    EXPECT_EQ(RoundToDecimals(3, 2.0625), 2.062);
    EXPECT_EQ(RoundToDecimals(3, 2.0635), DecimalReference(3, 2.0635)); // not a half in binary
    EXPECT_EQ(RoundToDecimals(2, 0.125), 0.12);
    EXPECT_EQ(RoundToDecimals(2, -0.375), -0.38);
    EXPECT_EQ(RoundToDecimals(0, -2.5), -2);
    // 1.005 is stored a little below its decimal, so it goes down.
    EXPECT_EQ(RoundToDecimals(2, 1.005), 1.0);
    // Tens and hundreds.
    EXPECT_EQ(RoundToDecimals(-2, 1250), 1200);
    EXPECT_EQ(RoundToDecimals(-2, 1350), 1400);
    EXPECT_EQ(RoundToDecimals(-2, 1250.5), 1300);
    EXPECT_EQ(RoundToDecimals(-2, -1234), -1200);
    EXPECT_EQ(RoundToDecimals(-1, 4.9), 0);
    // Values already coarser than the step, and values that are not numbers.
    EXPECT_EQ(RoundToDecimals(3, 1e300), 1e300);
    EXPECT_EQ(RoundToDecimals(6, 123456789012.34567), 123456789012.34567);
    EXPECT_EQ(RoundToDecimals(3, 4e-320), 0);
    EXPECT_TRUE(std::isinf(RoundToDecimals(2, INFINITY)));
    EXPECT_TRUE(std::isnan(RoundToDecimals(2, std::nan(""))));
    EXPECT_TRUE(std::signbit(RoundToDecimals(2, -0.001)));
    // Past 10^22 the result is close, not exact.
    EXPECT_NEAR(RoundToDecimals(25, 0.5), 0.5, 1e-15);
}

TEST(Rounding, DecimalsAgreeWithExactDecimalConversion)
{
    // A spread of magnitudes and every place up to 12 decimals, against an
    // independent exact conversion.
    std::uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 134775813u + 1;
        const double mantissa = static_cast<double>(seed) / 4294967296.0;
        const int scale = static_cast<int>(seed % 13) - 6;
        const double x = (i % 2 ? -1 : 1) * mantissa * std::pow(10.0, scale);
        const int n = i % 13;
        ASSERT_EQ(RoundToDecimals(n, x), DecimalReference(n, x)) << "x=" << x << " n=" << n;
        // Ties: k + 1/2 at the place, built from exact binary halves.
        const double tie = (static_cast<double>(seed % 1000) + 0.5) / 8;
        ASSERT_EQ(RoundToDecimals(n % 4, tie), DecimalReference(n % 4, tie)) << tie;
    }
}

TEST(NumberParse, StrictDecimalForms)
{
    EXPECT_DOUBLE_EQ(ParseDouble(" 12.5 ").value(), 12.5);
    EXPECT_DOUBLE_EQ(ParseDouble("+3").value(), 3);
    EXPECT_DOUBLE_EQ(ParseDouble("-1.5e3").value(), -1500);
    EXPECT_DOUBLE_EQ(ParseDouble(".5").value(), 0.5);
    EXPECT_DOUBLE_EQ(ParseDouble("5.").value(), 5);
    for (const char *bad : {"", " ", "1,5", "1.2.3", "inf", "nan", "NaN", "0x10", "1e", "e5", "--1", "+-1", "12abc",
                            "1 2", ".", "1e400", "infinity"})
        EXPECT_FALSE(ParseDouble(bad).has_value()) << bad;
}

TEST(NumberParse, Integers)
{
    EXPECT_EQ(ParseInt64("9223372036854775807").value(), INT64_MAX);
    EXPECT_FALSE(ParseInt64("9223372036854775808").has_value());
    EXPECT_EQ(ParseInt32("-2147483648").value(), INT32_MIN);
    EXPECT_FALSE(ParseInt32("2147483648").has_value());
    EXPECT_FALSE(ParseInt32("1.0").has_value());
    EXPECT_FALSE(ParseInt32("1e3").has_value());
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_DOUBLE_EQ(StrToFloatDef("2.5", 0), 2.5);
}

TEST(Guid, TextFormAndUniqueness)
{
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        const std::string g = NewGuidString();
        ASSERT_EQ(g.size(), 38u);
        ASSERT_TRUE(IsGuidString(g)) << g;
        for (char c : g)
            ASSERT_FALSE(c >= 'a' && c <= 'f') << g;
        seen.insert(g);
    }
    EXPECT_EQ(seen.size(), 2000u);
    EXPECT_FALSE(IsGuidString("{00000000-0000-0000-0000-00000000000}"));
    EXPECT_FALSE(IsGuidString("00000000-0000-0000-0000-000000000000"));
}

TEST(Guid, NotAffectedBySharedSeed)
{
    SetSharedRandomSeed(42);
    const std::string a = NewGuidString();
    SetSharedRandomSeed(42);
    EXPECT_NE(a, NewGuidString());
}

TEST(Colour, ByteOrderAndQtConversion)
{
    constexpr TColor c = ColorRGB(255, 0, 0);
    EXPECT_EQ(c, 0x0000FFu);
    EXPECT_EQ(ColorRGB(1, 2, 3), 0x030201u);
    EXPECT_EQ(ColorToQRgb(ColorRGB(1, 2, 3)), 0xFF010203u);
    EXPECT_EQ(ColorFromQRgb(0x80010203u), ColorRGB(1, 2, 3));
    EXPECT_EQ(ColorBlue(ColorRGB(9, 8, 7)), 7);
}

TEST(SharedRandom, RecurrenceAndDraws)
{
    EXPECT_EQ(NextRandomSeed(0), 1);
    EXPECT_EQ(NextRandomSeed(1), 134775814);
    EXPECT_EQ(NextRandomSeed(-1), static_cast<std::int32_t>(0u - 134775813u + 1u));
    EXPECT_EQ(RandomIntFromSeed(-1, 10), 9);
    EXPECT_EQ(RandomIntFromSeed(123, 0), 0);
    EXPECT_DOUBLE_EQ(RandomFloatFromSeed(0), 0);
    SetSharedRandomSeed(0);
    EXPECT_EQ(SharedRandomInt(100), 0); // seed 1 -> 1 * 100 >> 32
    EXPECT_EQ(SharedRandomSeed(), 1);
    SetSharedRandomSeed(7);
    const double f = SharedRandomFloat();
    EXPECT_GE(f, 0);
    EXPECT_LT(f, 1);
    EXPECT_EQ(SharedRandomSeed(), NextRandomSeed(7));
}

TEST(SharedRandom, ConcurrentDrawsLoseNoSteps)
{
    SetSharedRandomSeed(99);
    constexpr int perThread = 20000;
    std::thread a([] { for (int i = 0; i < perThread; ++i) SharedRandomInt(10); });
    std::thread b([] { for (int i = 0; i < perThread; ++i) SharedRandomFloat(); });
    a.join();
    b.join();
    std::int32_t expect = 99;
    for (int i = 0; i < 2 * perThread; ++i)
        expect = NextRandomSeed(expect);
    EXPECT_EQ(SharedRandomSeed(), expect);
}

TEST(Paths, FoldersAndNames)
{
    setenv("KALVION_DATA_DIR", "/opt/kalvion-data", 1);
    EXPECT_EQ(ProgramFolder(), "/opt/kalvion-data/");
    EXPECT_EQ(ProgramSubfolder("LangData"), "/opt/kalvion-data/LangData/");
    unsetenv("KALVION_DATA_DIR");
    EXPECT_EQ(ProgramFolder(), ExecutableFolder());
    setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(UserDataFolder(), "/tmp/xdg/kalvion/");
    EXPECT_EQ(NormalizeStoredPath("Plugins\\img\\a.png"), "Plugins/img/a.png");
    EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(ExtractFileName("C:\\maps\\Core.VexaDB"), "Core.VexaDB");
    EXPECT_EQ(ExtractFileBaseName("/home/u/Core Worlds.VexaDB"), "Core Worlds");
    EXPECT_EQ(ExtractFileBaseName(".hidden"), ".hidden");
}
