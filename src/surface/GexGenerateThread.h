#pragma once
// One worker filling a band of columns of a grid with fractal noise sampled on
// a sphere.  Each worker owns its noise generator, and bands never overlap, so
// workers need no locking.  Created idle ("suspended"); Start runs it on its own
// thread and WaitFor joins it.
#include "surface/BandWorkers.h"
#include "surface/IntegerMatrix.h"
#include "surface/PerlinNoise.h"
#include "surface/SimplexNoise.h"

#include <array>
#include <cstdint>
#include <memory>
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
    // Fills columns first … last (within the grid) on the calling thread,
    // with the noise generator this worker makes on its first use from the
    // settings above.
    void FillColumns(int first, int last);

private:
    TIntegerMatrix &Target_;
    int FirstColumn_;
    int LastColumn_;
    std::thread Thread_;
    std::unique_ptr<TPerlinNoiseGenerator> Perlin_;
    std::unique_ptr<TSimplexNoiseGenerator> Simplex_;
};

// Fills every column of the grid with `workers` workers configured by
// `configure`, each with its own noise generator, the calling thread among
// them; the columns are handed out in pieces (ForEachChunk), so a worker held
// up by the machine leaves more of them to the others.
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
    if (w <= 0)
        return;
    const int n = workers < 1 ? 1 : (workers > w ? w : workers);
    std::vector<std::unique_ptr<TGexGenerateThread>> fillers;
    fillers.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        fillers.push_back(std::make_unique<TGexGenerateThread>(grid, 0, w - 1));
        configure(*fillers.back());
    }
    ForEachChunk(w, n, [&fillers](int worker, int first, int last) {
        fillers[static_cast<std::size_t>(worker)]->FillColumns(first, last);
    });
}

} // namespace kalvion
