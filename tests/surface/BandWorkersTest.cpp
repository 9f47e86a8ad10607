#include "surface/BandWorkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using namespace kalvion;

TEST(BandWorkers, EveryIndexFallsInExactlyOneBand)
{
    for (int count : {1, 2, 7, 512, 513}) {
        for (int workers : {-3, 0, 1, 2, 3, 16, 600}) {
            std::vector<std::atomic<int>> hits(static_cast<std::size_t>(count));
            std::atomic<int> bands{0};
            ForEachBand(count, workers, [&](int first, int last) {
                ASSERT_LE(first, last);
                ++bands;
                for (int i = first; i <= last; ++i)
                    ++hits[static_cast<std::size_t>(i)];
            });
            for (int i = 0; i < count; ++i)
                EXPECT_EQ(hits[static_cast<std::size_t>(i)].load(), 1) << count << " " << workers << " " << i;
            const int expected = workers < 1 ? 1 : (workers > count ? count : workers);
            EXPECT_EQ(bands.load(), expected) << count << " " << workers;
        }
    }
}

TEST(BandWorkers, NothingToDoCallsNothing)
{
    int calls = 0;
    ForEachBand(0, 4, [&](int, int) { ++calls; });
    ForEachBand(-5, 4, [&](int, int) { ++calls; });
    EXPECT_EQ(calls, 0);
}
