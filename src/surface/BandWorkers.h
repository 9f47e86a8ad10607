#pragma once
// Splitting a per-cell pass of a map over worker threads.  Every cell is
// computed from the same inputs whatever band or chunk it falls in, so a pass
// gives the same bits for any worker count.
//
// ForEachBand: the range [0, count) is cut into at most `workers` contiguous
// bands (the last one takes the remainder) and fn(first, last) runs once per
// band, the last band on the calling thread.
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

namespace kalvion {

template <typename Fn>
void ForEachBand(int count, int workers, Fn fn)
{
    if (count <= 0)
        return;
    int n = workers < 1 ? 1 : workers;
    if (n > count)
        n = count;
    if (n == 1) {
        fn(0, count - 1);
        return;
    }
    const int band = count / n;
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 0; k < n - 1; ++k) {
        const int first = k * band;
        const int last = first + band - 1;
        try {
            threads.emplace_back([&fn, first, last] { fn(first, last); });
        } catch (const std::system_error &) {
            // No thread to be had: the band is done here instead, with the same result.
            fn(first, last);
        }
    }
    fn((n - 1) * band, count - 1);
    for (std::thread &t : threads)
        t.join();
}

// ForEachChunk: the range is cut into pieces of about `count / (workers *
// CHUNKS_PER_WORKER)` indices that `workers` threads, the calling thread
// among them, take one after another until none is left.  A worker that the
// machine slows down (another program on its core) then simply takes fewer
// pieces, where a fixed band would keep the others waiting for it at the end.
// fn(first, last) runs once per piece; a fn that also takes the worker's
// number (0 … workers - 1) first is called fn(worker, first, last), for
// state each worker keeps across its pieces.
inline constexpr int CHUNKS_PER_WORKER = 16;

template <typename Fn>
void ForEachChunk(int count, int workers, Fn fn)
{
    if (count <= 0)
        return;
    const int n = std::clamp(workers, 1, count);
    const int chunk = std::max(1, count / (n * CHUNKS_PER_WORKER));
    auto piece = [&fn](int worker, int first, int last) {
        if constexpr (std::is_invocable_v<Fn &, int, int, int>)
            fn(worker, first, last);
        else
            fn(first, last);
    };
    if (n == 1) {
        piece(0, 0, count - 1);
        return;
    }
    // Wide enough that the additions past the end never wrap.
    std::atomic<long long> next{0};
    auto work = [&, chunk, count](int worker) {
        for (;;) {
            const long long first = next.fetch_add(chunk, std::memory_order_relaxed);
            if (first >= count)
                return;
            piece(worker, static_cast<int>(first), static_cast<int>(std::min<long long>(first + chunk, count)) - 1);
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(n - 1));
    for (int k = 1; k < n; ++k) {
        try {
            threads.emplace_back(work, k);
        } catch (const std::system_error &) {
            // No thread to be had: the others take its pieces, with the same result.
            break;
        }
    }
    work(0);
    for (std::thread &t : threads)
        t.join();
}

} // namespace kalvion
