// Noise tables and values for fixed seeds.  The expected numbers were computed
// once by data/noise_reference.py, a plain-Python implementation of the two
// generators' recipes (IEEE doubles, round half to even), and pasted here; the
// results must match bit for bit.
#include "surface/PerlinNoise.h"
#include "surface/SimplexNoise.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace kalvion;

namespace {

TSimplexNoiseGenerator MakeSimplex(std::int32_t seed)
{
    TSimplexNoiseGenerator s;
    s.SetSeed(seed);
    s.Initialize();
    return s;
}

} // namespace

TEST(PerlinNoise, TablesForSeed12345)
{
    const TPerlinNoiseGenerator p(12345);
    const std::array<int, 8> perm{95, 18, 173, 124, 25, 38, 251, 67};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(p.Perm(i), perm[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(p.Perm(255), 23);
    // The copy runs past 256 so p[512] and p[513] repeat p[0] and p[1].
    EXPECT_EQ(p.Perm(256), 95);
    EXPECT_EQ(p.Perm(512), 95);
    EXPECT_EQ(p.Perm(513), 18);
    // The unused 1D and 2D gradients still take their draws.
    EXPECT_EQ(p.Gradient1(0), -0.47265625);
    EXPECT_EQ(p.Gradient2(0)[0], 0.18589166810485064);
    EXPECT_EQ(p.Gradient2(0)[1], 0.9825702456970676);
    EXPECT_EQ(p.Gradient3(0)[0], -0.73774873997586);
    EXPECT_EQ(p.Gradient3(0)[1], 0.5214454444855555);
    EXPECT_EQ(p.Gradient3(0)[2], 0.42874403213256784);
    EXPECT_EQ(p.Gradient3(513)[0], -0.7734319636388111);
    EXPECT_EQ(p.Gradient3(513)[2], 0.3272212153856508);
    EXPECT_EQ(p.CosineTable(1), 0.0002467198171342);
    EXPECT_EQ(p.CosineTable(50), 0.49999999999999994);
    EXPECT_EQ(p.CosineTable(0), 0.0);
    EXPECT_EQ(p.CosineTable(100), 1.0);
}

TEST(PerlinNoise, NegativeSeedIsReadUnsigned)
{
    const TPerlinNoiseGenerator p(-7);
    EXPECT_EQ(p.Perm(0), 215);
    EXPECT_EQ(p.Perm(1), 224);
    EXPECT_EQ(p.Perm(2), 197);
    EXPECT_EQ(p.Perm(3), 153);
    EXPECT_EQ(p.Gradient3(5)[0], 0.2997706925406345);
    EXPECT_EQ(p.Gradient3(5)[1], 0.4733221461167913);
    EXPECT_EQ(p.Gradient3(5)[2], -0.8283137557043847);
}

TEST(PerlinNoise, Noise3Values)
{
    const TPerlinNoiseGenerator p(12345);
    EXPECT_EQ(p.Noise3(0.5, 0.5, 0.5), 0.08069099473816048);
    EXPECT_EQ(p.Noise3(1.3, -2.7, 5.1), 0.0033692258798356093);
    // Below -4096 the truncated lattice index is negative and wraps with "and 255".
    EXPECT_EQ(p.Noise3(-4100.2, 3.3, 0.9), -0.06552677118682906);
    EXPECT_EQ(p.Noise3(123.456, 78.9, 0.001), 0.2551971757186041);
}

TEST(PerlinNoise, ZeroAtLatticePointsAndHalfwayWeight)
{
    const TPerlinNoiseGenerator p(99);
    for (double x : {0.0, 1.0, -3.0, 17.0})
        EXPECT_EQ(p.Noise3(x, 5.0, -2.0), 0.0) << x;
    // t = 0.5 takes entry 50 of the cosine table, a half up to rounding.
    EXPECT_NEAR(p.Interpolate(0.5, 0.0, 1.0), 0.5, 1e-15);
    // Weights outside [0, 1], and NaN, are clamped rather than read past the table.
    EXPECT_EQ(p.Interpolate(-3.0, 2.0, 7.0), 2.0);
    EXPECT_EQ(p.Interpolate(9.0, 2.0, 7.0), 7.0);
    EXPECT_EQ(p.Interpolate(std::nan(""), 2.0, 7.0), 2.0);
    // 0.005 * 100 = 0.5 rounds to even: entry 0.
    EXPECT_EQ(p.Interpolate(0.005, 2.0, 7.0), 2.0);
}

TEST(PerlinNoise, FractalNoiseAndOctaves)
{
    TPerlinNoiseGenerator p(12345);
    EXPECT_EQ(p.FractalNoise(0.3, 0.7, 1.1), 0.3234248716810403);
    p.SetOctaves(4);
    p.SetBaseFrequency(1.0 / 150.0);
    EXPECT_EQ(p.FractalNoise(150.0, 40.0, -20.0), -0.1666817954480343);
    p.SetOctaves(0);
    EXPECT_EQ(p.FractalNoise(0.3, 0.7, 1.1), 0.0);
    // Octave counts are held to the weight table.
    p.SetOctaves(5000);
    EXPECT_EQ(p.Octaves(), TPerlinNoiseGenerator::MAX_OCTAVES);
    p.SetOctaves(-3);
    EXPECT_EQ(p.Octaves(), 0);
}

TEST(PerlinNoise, SameSeedSameNoise)
{
    TPerlinNoiseGenerator a(2024), b(2024), c(2025);
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        const double x = i * 0.37, y = i * -1.13, z = 3.0 + i * 0.71;
        EXPECT_EQ(a.FractalNoise(x, y, z), b.FractalNoise(x, y, z));
        differs = differs || a.Noise3(x, y, z) != c.Noise3(x, y, z);
    }
    EXPECT_TRUE(differs);
}

TEST(SimplexNoise, TableForSeed12345)
{
    const TSimplexNoiseGenerator s = MakeSimplex(12345);
    const std::array<int, 8> perm{98, 73, 20, 141, 161, 87, 112, 20};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(s.Perm(i), perm[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(s.Perm(254), 29);
    // The second copy starts at 255: perm[255] is the draw for 255, perm[256]
    // repeats the draw for 1, and perm[510] the draw for 255.
    EXPECT_EQ(s.Perm(255), 214);
    EXPECT_EQ(s.Perm(256), 73);
    EXPECT_EQ(s.Perm(510), 214);
    for (int i = 0; i < TSimplexNoiseGenerator::PERM_SIZE; ++i)
        ASSERT_LT(s.Perm(i), 255) << i;
    EXPECT_EQ(s.Gradient(0), (std::array<int, 3>{1, 1, 0}));
    EXPECT_EQ(s.Gradient(7), (std::array<int, 3>{-1, 0, -1}));
    EXPECT_EQ(s.Gradient(11), (std::array<int, 3>{0, -1, -1}));

    const TSimplexNoiseGenerator n = MakeSimplex(-7);
    EXPECT_EQ(n.Perm(0), 198);
    EXPECT_EQ(n.Perm(1), 57);
    EXPECT_EQ(n.Perm(2), 119);
    EXPECT_EQ(n.Perm(3), 181);
}

TEST(SimplexNoise, Noise3Values)
{
    const TSimplexNoiseGenerator s = MakeSimplex(12345);
    EXPECT_EQ(s.Noise3(0.25, 0.5, 0.75), -0.2910687499999996);
    EXPECT_EQ(s.Noise3(1.3, -2.7, 5.1), 0.21587832757201428);
    // Negative coordinates use truncation, not floor.
    EXPECT_EQ(s.Noise3(-0.4, -1.9, -3.2), -0.06017969158847753);
    EXPECT_EQ(s.Noise3(100.5, 120.25, 80.125), -0.26171008902969667);
}

TEST(SimplexNoise, FractalNoise)
{
    TSimplexNoiseGenerator s = MakeSimplex(12345);
    EXPECT_EQ(s.FractalNoise(100.5, 120.25, 80.125), -0.17386273824190557);
    // Changing the octave count after use rebuilds the weights.
    s.SetOctaves(12);
    s.SetBaseFrequency(0.005);
    EXPECT_EQ(s.FractalNoise(30.0, 150.0, 190.0), 0.12415147971617853);
    s.SetOctaves(0);
    EXPECT_EQ(s.FractalNoise(30.0, 150.0, 190.0), 0.0);
}

TEST(SimplexNoise, FarCornersContributeNothing)
{
    const TSimplexNoiseGenerator s = MakeSimplex(5);
    // At a lattice point of the skewed grid the first corner is at distance 0
    // but has t^4 * (g . 0) = 0; the other three lie at sqrt(0.75) or more,
    // beyond sqrt(0.6), so the sum is 0.
    EXPECT_EQ(s.Noise3(0.0, 0.0, 0.0), 0.0);
    EXPECT_EQ(s.Noise3(3.0, 3.0, 3.0), 0.0);
    // Values stay roughly within [-1, 1].
    for (int i = 0; i < 2000; ++i) {
        const double v = s.Noise3(i * 0.173, i * -0.091, 7.0 + i * 0.057);
        ASSERT_LE(std::fabs(v), 1.1) << i;
    }
}

TEST(SimplexNoise, HostileCoordinatesGiveZero)
{
    const TSimplexNoiseGenerator s = MakeSimplex(5);
    EXPECT_EQ(s.Noise3(std::nan(""), 0.0, 0.0), 0.0);
    EXPECT_EQ(s.Noise3(INFINITY, 1.0, 2.0), 0.0);
    EXPECT_EQ(s.Noise3(1e300, 1.0, 2.0), 0.0);
    const TPerlinNoiseGenerator p(5);
    EXPECT_NO_FATAL_FAILURE((void)p.Noise3(1e300, -1e300, std::nan("")));
}
