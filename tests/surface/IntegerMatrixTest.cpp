#include "surface/IntegerMatrix.h"
#include "surface/TerrainRandom.h"

#include <gtest/gtest.h>

#include <utility>

using namespace kalvion;

namespace {

TIntegerMatrix Grid(int w, int h, std::initializer_list<std::int32_t> values, std::int32_t lo = -1000000,
                    std::int32_t hi = 1000000)
{
    TIntegerMatrix m(w, h, lo, hi);
    int i = 0;
    for (std::int32_t v : values) {
        m.SetRaw(i % w, i / w, v);
        ++i;
    }
    return m;
}

} // namespace

TEST(IntegerMatrix, WrapsOnePeriodInBothDirections)
{
    const TIntegerMatrix m = Grid(3, 2, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(m.Get(-1, 0), 3);
    EXPECT_EQ(m.Get(3, 1), 4);
    // Rows wrap too: above the north row is the south row.
    EXPECT_EQ(m.Get(0, -1), 4);
    EXPECT_EQ(m.Get(2, 2), 3);
    // Only one period: further out reads 0.
    EXPECT_EQ(m.Get(-4, 0), 0);
    EXPECT_EQ(m.Get(0, 5), 0);
    EXPECT_EQ(m.GetOr(-1, 0, 77), 77);
    EXPECT_EQ(m.GetOr(2, 1, 77), 6);
}

TEST(IntegerMatrix, WritesClampAndRangeChangesDoNotReclamp)
{
    TIntegerMatrix m(2, 2, -10, 10);
    m.Set(-1, -1, 500); // wraps to (1, 1)
    EXPECT_EQ(m.Get(1, 1), 10);
    m.SetClamped(0, 0, -500);
    EXPECT_EQ(m.Get(0, 0), -10);
    m.SetClamped(-1, 0, 3); // no wrapping: nothing written
    EXPECT_EQ(m.Get(1, 0), 0);
    m.SetRange(-5, 5);
    EXPECT_EQ(m.Get(1, 1), 10);
    m.Set(1, 1, 7);
    EXPECT_EQ(m.Get(1, 1), 5);
    // Values beyond 32 bits clamp instead of overflowing.
    m.SetRange(INT32_MIN, INT32_MAX);
    m.Set(0, 1, std::int64_t{INT32_MAX} + 1000);
    EXPECT_EQ(m.Get(0, 1), INT32_MAX);
}

TEST(IntegerMatrix, EmptyGridsAreHarmless)
{
    TIntegerMatrix m(0, 5, 0, 1);
    EXPECT_EQ(m.Width(), 0);
    EXPECT_EQ(m.Height(), 0);
    EXPECT_EQ(m.Max(), 0);
    EXPECT_EQ(m.Get(0, 0), 0);
    m.Rescale(1, 2);
    m.Smooth({1, 1, 1, 1, 1, 1, 1, 1, 1}, 9);
    m.ShapeCurve();
}

TEST(IntegerMatrix, RescaleRoundsHalfToEven)
{
    TIntegerMatrix m = Grid(4, 1, {0, 1, 3, 4});
    m.Rescale(0, 2);
    // 1/4 * 2 = 0.5 rounds to 0; 3/4 * 2 = 1.5 rounds to 2.
    EXPECT_EQ(m.Get(0, 0), 0);
    EXPECT_EQ(m.Get(1, 0), 0);
    EXPECT_EQ(m.Get(2, 0), 2);
    EXPECT_EQ(m.Get(3, 0), 2);

    TIntegerMatrix r = Grid(3, 1, {-100, 0, 300});
    r.Rescale(-5, 5);
    EXPECT_EQ(r.Get(0, 0), -5);
    EXPECT_EQ(r.Get(1, 0), -2); // 0.25 * 10 - 5 = -2.5, to even
    EXPECT_EQ(r.Get(2, 0), 5);

    TIntegerMatrix flat = Grid(2, 1, {7, 7});
    flat.Rescale(-3, 9);
    EXPECT_EQ(flat.Get(0, 0), -3);
    EXPECT_EQ(flat.Get(1, 0), -3);
    TIntegerMatrix same = Grid(2, 1, {1, 9});
    same.Rescale(4, 4);
    EXPECT_EQ(same.Get(1, 0), 4);
    // Written clamped.
    TIntegerMatrix narrow = Grid(2, 1, {0, 10}, 0, 50);
    narrow.Rescale(0, 100);
    EXPECT_EQ(narrow.Get(1, 0), 50);
}

TEST(IntegerMatrix, SmoothReadsOldValuesWrapsAtPolesAndDoesNotClamp)
{
    TIntegerMatrix m(4, 4, 0, 5);
    m.SetRaw(1, 0, 90);
    m.Smooth({1, 1, 1, 1, 1, 1, 1, 1, 1}, 9.0);
    // The spike on the north row reaches the south row through the wrap.
    EXPECT_EQ(m.Get(1, 3), 10);
    EXPECT_EQ(m.Get(0, 3), 10);
    EXPECT_EQ(m.Get(2, 1), 10);
    EXPECT_EQ(m.Get(3, 2), 0);
    // Stored above the range of 0 … 5: smoothing does not clamp.
    EXPECT_EQ(m.Get(1, 0), 10);

    // Kernel order: row by row from the upper-left neighbour.
    TIntegerMatrix k = Grid(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    k.Smooth({1, 0, 0, 0, 0, 0, 0, 0, 0}, 1.0);
    EXPECT_EQ(k.Get(1, 1), 1);
    EXPECT_EQ(k.Get(2, 2), 5);
    TIntegerMatrix h = Grid(2, 1, {1, 2});
    h.Smooth({0, 0, 0, 0, 0.5, 0, 0, 0, 0}, 1.0); // 0.5 and 1.0
    EXPECT_EQ(h.Get(0, 0), 0);
    EXPECT_EQ(h.Get(1, 0), 1);
}

TEST(IntegerMatrix, ShapeCurve)
{
    TIntegerMatrix m = Grid(5, 1, {1000, 500, 0, -200, -400});
    m.ShapeCurve();
    EXPECT_EQ(m.Get(0, 0), 1000);
    EXPECT_EQ(m.Get(1, 0), 354); // sin(pi/4) * 500 = 353.55
    EXPECT_EQ(m.Get(2, 0), 0);
    EXPECT_EQ(m.Get(3, 0), -141); // sin(pi/4) * -200 = -141.42
    EXPECT_EQ(m.Get(4, 0), -400);
}

TEST(IntegerMatrix, ShapeCurveWithoutPositiveOrNegativeValues)
{
    TIntegerMatrix noPositive = Grid(3, 1, {0, -50, -100});
    noPositive.ShapeCurve();
    EXPECT_EQ(noPositive.Get(0, 0), 0);
    EXPECT_EQ(noPositive.Get(1, 0), -35);
    EXPECT_EQ(noPositive.Get(2, 0), -100);

    TIntegerMatrix zeros = Grid(2, 1, {0, 0});
    zeros.ShapeCurve();
    EXPECT_EQ(zeros.Get(0, 0), 0);
    EXPECT_EQ(zeros.Get(1, 0), 0);

    TIntegerMatrix noNegative = Grid(2, 1, {0, 10});
    noNegative.ShapeCurve();
    EXPECT_EQ(noNegative.Get(0, 0), 0);
    EXPECT_EQ(noNegative.Get(1, 0), 10);
}

TEST(IntegerMatrix, PassesGiveTheSameCellsForAnyWorkerCount)
{
    // Odd sizes leave a remainder for the last band; one row and one column
    // make every neighbour wrap onto the cell itself.
    for (auto [w, h] : {std::pair{37, 19}, std::pair{5, 1}, std::pair{1, 6}, std::pair{3, 2}}) {
        TIntegerMatrix seed(w, h, -1000000, 1000000);
        TRandomState random{static_cast<std::uint32_t>(w * 100 + h)};
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                seed.SetRaw(c, r, static_cast<std::int32_t>(random.Random(2000001)) - 1000000);
        auto run = [&](int workers) {
            TIntegerMatrix m = seed;
            m.Rescale(-700000, 900000, workers);
            m.ShapeCurve(workers);
            m.Smooth({0.125, 0.25, 0.125, 0.5, 0.0, 0.5, 0.125, 0.25, 0.125}, 1.7, workers);
            return m.Cells();
        };
        const auto one = run(1);
        EXPECT_NE(one, seed.Cells());
        for (int workers : {2, 3, 8, 64})
            EXPECT_EQ(run(workers), one) << w << " x " << h << ", " << workers << " workers";
    }
}

TEST(IntegerMatrix, ExtremesAndFillsAreTheSameForAnyWorkerCount)
{
    for (auto [w, h] : {std::pair{2, 1}, std::pair{5, 3}, std::pair{64, 33}}) {
        TIntegerMatrix m(w, h, INT32_MIN, INT32_MAX);
        TRandomState random{static_cast<std::uint32_t>(w + 7 * h)};
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                m.SetRaw(c, r, static_cast<std::int32_t>(random.Random(4000001)) - 2000000);
        // The extremes sit in the last row and the first cell, where a band
        // that skipped an end would miss them.
        m.SetRaw(w - 1, h - 1, 3000000);
        m.SetRaw(0, 0, -3000000);
        for (int workers : {1, 2, 3, 64}) {
            EXPECT_EQ(m.MinMax(workers), std::make_pair(m.Min(), m.Max())) << w << " x " << h << ", " << workers;
            EXPECT_EQ(m.MinMax(workers), std::make_pair(-3000000, 3000000));
            TIntegerMatrix filled(w, h, 0, 10, -7, workers);
            EXPECT_EQ(filled.MinMax(), std::make_pair(-7, -7)) << workers;
            filled.Fill(9, workers);
            EXPECT_EQ(filled.MinMax(), std::make_pair(9, 9)) << workers;
        }
    }
    EXPECT_EQ(TIntegerMatrix().MinMax(4), std::make_pair(0, 0));
    // Rows outside the grid are left alone.
    TIntegerMatrix m(3, 2, 0, 10, 1);
    m.FillRows(1, 2, 5);
    m.FillRows(-1, 0, 5);
    EXPECT_EQ(m.MinMax(), std::make_pair(1, 1));
    m.FillRows(1, 1, 5);
    EXPECT_EQ(m.Get(2, 1), 5);
    EXPECT_EQ(m.Get(2, 0), 1);
}
