#pragma once
// One worker filling a band of columns of a grid with fractal noise sampled on
// a sphere.  Each worker owns its noise generator, and bands never overlap, so
// workers need no locking.  Created idle ("suspended"); Start runs it on its own
// thread and WaitFor joins it.
#include "surface/IntegerMatrix.h"

#include <array>
#include <cstdint>
#include <thread>

namespace kalvion {

inline constexpr int GEX_NOISE_PERLIN = 0;
inline constexpr int GEX_NOISE_SIMPLEX = 1;

class TGexGenerateThread {
public:
    TGexGenerateThread(TIntegerMatrix &target, int firstColumn, int lastColumn);
    ~TGexGenerateThread();
    TGexGenerateThread(const TGexGenerateThread &) = delete;
    TGexGenerateThread &operator=(const TGexGenerateThread &) = delete;

    int NoiseKind = GEX_NOISE_SIMPLEX;
    std::int32_t Seed = 0;
    int Octaves = 8;
    double BaseFrequency = 1.0 / 150.0;
    double Scale = 1.0;
    std::array<double, 3> Stretch{1.0, 1.0, 1.0};

    void Start();
    void WaitFor();
    // Fills the band on the calling thread.
    void Execute();

private:
    TIntegerMatrix &Target_;
    int FirstColumn_;
    int LastColumn_;
    std::thread Thread_;
};

// Splits the columns into `workers` bands (the last one takes the remainder),
// and fills each with a worker configured by `configure`: the last band on the
// calling thread, the others on threads of their own, waiting for all.
template <typename Configure>
void FillGridInBands(TIntegerMatrix &grid, int workers, Configure configure);

// The point of map cell (column, row) on a sphere of radius r: longitude
// 360 c / W, polar angle 180 r / H from the north edge.
struct TSpherePoint {
    double X, Y, Z;
};
TSpherePoint MapCellPoint(int column, int row, int width, int height, double radius) noexcept;
// Longitude (degrees) and polar angle (degrees) to a point on a sphere.
TSpherePoint SpherePoint(double thetaDegrees, double phiDegrees, double radius) noexcept;

} // namespace kalvion

#include <memory>
#include <vector>

namespace kalvion {

template <typename Configure>
void FillGridInBands(TIntegerMatrix &grid, int workers, Configure configure)
{
    const int w = grid.Width();
    const int n = workers < 1 ? 1 : workers;
    const int band = w / n;
    std::vector<std::unique_ptr<TGexGenerateThread>> threads;
    threads.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const int first = k * band;
        const int last = k == n - 1 ? w - 1 : (k + 1) * band - 1;
        auto t = std::make_unique<TGexGenerateThread>(grid, first, last);
        configure(*t);
        threads.push_back(std::move(t));
    }
    for (int k = 0; k < n - 1; ++k)
        threads[static_cast<std::size_t>(k)]->Start();
    threads.back()->Execute();
    for (auto &t : threads)
        t->WaitFor();
}

} // namespace kalvion
