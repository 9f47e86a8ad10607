#include "surface/BandWorkers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
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

TEST(BandWorkers, ChunksCoverEveryIndexOnceWithWorkersInRange)
{
    for (int count : {1, 2, 7, 512, 1025}) {
        for (int workers : {-3, 0, 1, 2, 3, 16, 2000}) {
            std::vector<std::atomic<int>> hits(static_cast<std::size_t>(count));
            std::atomic<int> badWorker{0};
            const int n = workers < 1 ? 1 : (workers > count ? count : workers);
            ForEachChunk(count, workers, [&](int worker, int first, int last) {
                ASSERT_LE(first, last);
                if (worker < 0 || worker >= n)
                    ++badWorker;
                for (int i = first; i <= last; ++i)
                    ++hits[static_cast<std::size_t>(i)];
            });
            EXPECT_EQ(badWorker.load(), 0) << count << " " << workers;
            for (int i = 0; i < count; ++i)
                ASSERT_EQ(hits[static_cast<std::size_t>(i)].load(), 1) << count << " " << workers << " " << i;
        }
    }
    int calls = 0;
    ForEachChunk(0, 4, [&](int, int) { ++calls; });
    ForEachChunk(-1, 4, [&](int, int) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(BandWorkers, AWorkerThatIsHeldUpLeavesTheRestToTheOthers)
{
    // Whichever worker takes the first piece stops there until the other has
    // done everything else: with fixed halves it would wait for work nobody
    // takes (the wait gives up after a while, failing the test).
    constexpr int count = 64;
    std::atomic<int> done{0};
    std::atomic<int> held{-1};
    std::vector<int> byWorker(2, 0);
    ForEachChunk(count, 2, [&](int worker, int first, int last) {
        const int size = last - first + 1;
        int none = -1;
        if (held.compare_exchange_strong(none, worker)) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (done.load() < count - size && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
        }
        ++byWorker[static_cast<std::size_t>(worker)];
        done += size;
    });
    ASSERT_GE(held.load(), 0);
    EXPECT_EQ(done.load(), count);
    EXPECT_EQ(byWorker[static_cast<std::size_t>(held.load())], 1);
    EXPECT_GT(byWorker[static_cast<std::size_t>(1 - held.load())], 1);
}
