#include "surface/IntegerMatrix.h"

#include "surface/BandWorkers.h"
#include "surface/SurfaceRounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvion {

TIntegerMatrix::TIntegerMatrix(int width, int height, std::int32_t minValue, std::int32_t maxValue)
    : Width_(width > 0 && height > 0 ? width : 0), Height_(width > 0 && height > 0 ? height : 0), Lo_(minValue),
      Hi_(maxValue), Cells_(static_cast<std::size_t>(Width_) * static_cast<std::size_t>(Height_), 0)
{
}

void TIntegerMatrix::Fill(std::int32_t v) noexcept
{
    std::fill(Cells_.begin(), Cells_.end(), v);
}

std::int32_t TIntegerMatrix::Max() const noexcept
{
    return Cells_.empty() ? 0 : *std::max_element(Cells_.begin(), Cells_.end());
}

std::int32_t TIntegerMatrix::Min() const noexcept
{
    return Cells_.empty() ? 0 : *std::min_element(Cells_.begin(), Cells_.end());
}

void TIntegerMatrix::Rescale(std::int32_t a, std::int32_t b, int workers)
{
    const std::int32_t lo = Min();
    const std::int32_t hi = Max();
    if (a == b || lo == hi) {
        std::fill(Cells_.begin(), Cells_.end(), Clamp(a));
        return;
    }
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    const double target = static_cast<double>(b) - static_cast<double>(a);
    ForEachBand(Height_, workers, [&](int firstRow, int lastRow) {
        std::int32_t *v = RowData(firstRow);
        std::int32_t *const end = RowData(lastRow) + Width_;
        for (; v != end; ++v)
            *v = Clamp(RoundToInt64Safe((static_cast<double>(*v) - lo) / span * target + a));
    });
}

void TIntegerMatrix::Smooth(const std::array<double, 9> &kernel, double divisor, int workers)
{
    if (Cells_.empty())
        return;
    const std::vector<std::int32_t> old = Cells_;
    const int w = Width_;
    const int h = Height_;
    // Neighbours wrap by one period, as Get reads them; a one-cell period
    // wraps onto itself.
    ForEachBand(h, workers, [&](int firstRow, int lastRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            const std::int32_t *rows[3] = {old.data() + Index(0, r == 0 ? h - 1 : r - 1), old.data() + Index(0, r),
                                           old.data() + Index(0, r == h - 1 ? 0 : r + 1)};
            std::int32_t *out = RowData(r);
            for (int c = 0; c < w; ++c) {
                const int cols[3] = {c == 0 ? w - 1 : c - 1, c, c == w - 1 ? 0 : c + 1};
                // The same terms in the same order as a plain 3 x 3 walk, so the
                // rounding of the sum never changes.
                double sum = 0.0;
                int k = 0;
                for (const std::int32_t *row : rows)
                    for (int col : cols)
                        sum += kernel[static_cast<std::size_t>(k++)] * static_cast<double>(row[col]);
                out[c] = RoundToInt32Safe(sum / divisor);
            }
        }
    });
}

void TIntegerMatrix::ShapeCurve(int workers)
{
    const double hi = Max();
    const double lo = Min();
    constexpr double halfPi = std::numbers::pi / 2.0;
    ForEachBand(Height_, workers, [&](int firstRow, int lastRow) {
        std::int32_t *v = RowData(firstRow);
        std::int32_t *const end = RowData(lastRow) + Width_;
        for (; v != end; ++v) {
            const double h = *v;
            if (*v >= 0) {
                if (hi > 0.0)
                    *v = RoundToInt32Safe(std::sin(halfPi * h / hi) * h);
            } else {
                if (lo < 0.0)
                    *v = RoundToInt32Safe(std::sin(halfPi * h / lo) * h);
            }
        }
    });
}

} // namespace kalvion
