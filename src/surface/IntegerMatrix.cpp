#include "surface/IntegerMatrix.h"

#include "surface/BandWorkers.h"
#include "surface/SurfaceRounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvion {

TIntegerMatrix::TIntegerMatrix(int width, int height, std::int32_t minValue, std::int32_t maxValue, std::int32_t fill,
                               int workers)
    : Width_(width > 0 && height > 0 ? width : 0), Height_(width > 0 && height > 0 ? height : 0), Lo_(minValue),
      Hi_(maxValue), Cells_(static_cast<std::size_t>(Width_) * static_cast<std::size_t>(Height_))
{
    Fill(fill, workers);
}

TIntegerMatrix TIntegerMatrix::Unfilled(int width, int height, std::int32_t minValue, std::int32_t maxValue)
{
    TIntegerMatrix m;
    m.Width_ = width > 0 && height > 0 ? width : 0;
    m.Height_ = width > 0 && height > 0 ? height : 0;
    m.Lo_ = minValue;
    m.Hi_ = maxValue;
    m.Cells_.resize(static_cast<std::size_t>(m.Width_) * static_cast<std::size_t>(m.Height_));
    return m;
}

void TIntegerMatrix::Fill(std::int32_t v, int workers)
{
    ForEachChunk(Height_, workers, [this, v](int firstRow, int lastRow) { FillRows(firstRow, lastRow, v); });
}

void TIntegerMatrix::FillRows(int firstRow, int lastRow, std::int32_t v) noexcept
{
    if (firstRow < 0 || lastRow >= Height_ || firstRow > lastRow)
        return;
    std::fill(RowData(firstRow), RowData(lastRow) + Width_, v);
}

std::int32_t TIntegerMatrix::Max() const noexcept
{
    return Cells_.empty() ? 0 : *std::max_element(Cells_.begin(), Cells_.end());
}

std::int32_t TIntegerMatrix::Min() const noexcept
{
    return Cells_.empty() ? 0 : *std::min_element(Cells_.begin(), Cells_.end());
}

std::pair<std::int32_t, std::int32_t> TIntegerMatrix::MinMax(int workers) const
{
    if (Cells_.empty())
        return {0, 0};
    // Each row's extremes, then the rows': the same answer for any split.
    std::vector<std::pair<std::int32_t, std::int32_t>> rows(static_cast<std::size_t>(Height_));
    ForEachChunk(Height_, workers, [&](int firstRow, int lastRow) {
        for (int r = firstRow; r <= lastRow; ++r) {
            const auto [lo, hi] = std::minmax_element(RowData(r), RowData(r) + Width_);
            rows[static_cast<std::size_t>(r)] = {*lo, *hi};
        }
    });
    std::pair<std::int32_t, std::int32_t> m = rows.front();
    for (const auto &[lo, hi] : rows) {
        m.first = std::min(m.first, lo);
        m.second = std::max(m.second, hi);
    }
    return m;
}

void TIntegerMatrix::Rescale(std::int32_t a, std::int32_t b, int workers)
{
    // Plain names rather than a structured binding: clang 14 cannot capture
    // a binding in the lambda below.
    const auto range = MinMax(workers);
    const auto lo = range.first, hi = range.second;
    if (a == b || lo == hi) {
        Fill(Clamp(a), workers);
        return;
    }
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    const double target = static_cast<double>(b) - static_cast<double>(a);
    ForEachChunk(Height_, workers, [&](int firstRow, int lastRow) {
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
    const int w = Width_;
    const int h = Height_;
    // Every cell reads its neighbours' old values, so the workers first copy
    // their rows, then smooth once every copy is done.
    TCellVector old(Cells_.size());
    ForEachChunk(h, workers, [&](int firstRow, int lastRow) {
        std::copy(RowData(firstRow), RowData(lastRow) + w, old.data() + Index(0, firstRow));
    });
    // Neighbours wrap by one period, as Get reads them; a one-cell period
    // wraps onto itself.
    ForEachChunk(h, workers, [&](int firstRow, int lastRow) {
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
    const auto [min, max] = MinMax(workers);
    const double hi = max;
    const double lo = min;
    constexpr double halfPi = std::numbers::pi / 2.0;
    ForEachChunk(Height_, workers, [&](int firstRow, int lastRow) {
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
