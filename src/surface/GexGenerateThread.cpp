#include "surface/GexGenerateThread.h"

#include "surface/SurfaceRounding.h"

#include <cmath>
#include <numbers>
#include <system_error>

namespace kalvion {

namespace {

constexpr double DEG_TO_RAD = std::numbers::pi / 180.0;
constexpr double NOISE_RADIUS = 100.0;
constexpr double NOISE_OFFSET = 100.0;

template <typename Noise>
void FillBand(Noise &noise, TIntegerMatrix &grid, int first, int last, const std::array<double, 3> &stretch,
              double scale)
{
    const int w = grid.Width();
    const int h = grid.Height();
    if (first < 0)
        first = 0;
    if (last > w - 1)
        last = w - 1;
    if (first > last || h <= 0)
        return;
    // Per-band tables of the longitude terms keep trigonometry out of the cell loop.
    const int n = last - first + 1;
    std::vector<double> sinPhi(static_cast<std::size_t>(n)), cosPhi(static_cast<std::size_t>(n));
    for (int c = first; c <= last; ++c) {
        const double phi = 360.0 * c / w * DEG_TO_RAD;
        sinPhi[static_cast<std::size_t>(c - first)] = std::sin(phi);
        cosPhi[static_cast<std::size_t>(c - first)] = std::cos(phi);
    }
    for (int r = 0; r < h; ++r) {
        const double theta = 180.0 * r / h * DEG_TO_RAD;
        const double cosT = std::cos(theta);
        const double sinT = std::sin(theta);
        const double x = -NOISE_RADIUS * cosT * stretch[0] + NOISE_OFFSET;
        std::int32_t *row = grid.RowData(r);
        for (int i = 0; i < n; ++i) {
            const double y = -NOISE_RADIUS * sinT * sinPhi[static_cast<std::size_t>(i)] * stretch[1] + NOISE_OFFSET;
            const double z = -NOISE_RADIUS * sinT * cosPhi[static_cast<std::size_t>(i)] * stretch[2] + NOISE_OFFSET;
            row[first + i] = grid.Clamp(RoundToInt64Safe(noise.FractalNoise(x, y, z) * scale));
        }
    }
}

} // namespace

TSpherePoint SpherePoint(double thetaDegrees, double phiDegrees, double radius) noexcept
{
    const double theta = thetaDegrees * DEG_TO_RAD;
    const double phi = phiDegrees * DEG_TO_RAD;
    return {-radius * std::cos(theta), -radius * std::sin(theta) * std::sin(phi),
            -radius * std::sin(theta) * std::cos(phi)};
}

TSpherePoint MapCellPoint(int column, int row, int width, int height, double radius) noexcept
{
    return SpherePoint(180.0 * row / height, 360.0 * column / width, radius);
}

TGexGenerateThread::TGexGenerateThread(TIntegerMatrix &target, int firstColumn, int lastColumn)
    : Target_(target), FirstColumn_(firstColumn), LastColumn_(lastColumn)
{
}

TGexGenerateThread::~TGexGenerateThread()
{
    WaitFor();
}

void TGexGenerateThread::Start()
{
    if (Thread_.joinable())
        return;
    try {
        Thread_ = std::thread([this] { Execute(); });
    } catch (const std::system_error &) {
        // No thread to be had: the band is filled here instead, with the same result.
        Execute();
    }
}

void TGexGenerateThread::WaitFor()
{
    if (Thread_.joinable())
        Thread_.join();
}

void TGexGenerateThread::Execute()
{
    FillColumns(FirstColumn_, LastColumn_);
}

void TGexGenerateThread::FillColumns(int first, int last)
{
    if (NoiseKind == GEX_NOISE_PERLIN) {
        if (!Perlin_) {
            Perlin_ = std::make_unique<TPerlinNoiseGenerator>(Seed);
            Perlin_->SetOctaves(Octaves);
            Perlin_->SetBaseFrequency(BaseFrequency);
        }
        FillBand(*Perlin_, Target_, first, last, Stretch, Scale);
    } else {
        if (!Simplex_) {
            Simplex_ = std::make_unique<TSimplexNoiseGenerator>();
            Simplex_->SetSeed(Seed);
            Simplex_->SetOctaves(Octaves);
            Simplex_->SetBaseFrequency(BaseFrequency);
            Simplex_->Initialize();
        }
        FillBand(*Simplex_, Target_, first, last, Stretch, Scale);
    }
}

} // namespace kalvion
