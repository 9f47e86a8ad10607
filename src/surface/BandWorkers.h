#pragma once
// Splitting a per-cell pass of a map over worker threads.  The range [0, count)
// is cut into at most `workers` contiguous bands (the last one takes the
// remainder) and fn(first, last) runs once per band, the last band on the
// calling thread.  Every cell is computed from the same inputs whatever band
// it falls in, so a pass gives the same bits for any worker count.
#include <system_error>
#include <thread>
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

} // namespace kalvion
