#include "surface/IntegerMatrix.h"

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

void TIntegerMatrix::Rescale(std::int32_t a, std::int32_t b) noexcept
{
    const std::int32_t lo = Min();
    const std::int32_t hi = Max();
    if (a == b || lo == hi) {
        std::fill(Cells_.begin(), Cells_.end(), Clamp(a));
        return;
    }
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    const double target = static_cast<double>(b) - static_cast<double>(a);
    for (std::int32_t &v : Cells_)
        v = Clamp(RoundToInt64Safe((static_cast<double>(v) - lo) / span * target + a));
}

void TIntegerMatrix::Smooth(const std::array<double, 9> &kernel, double divisor)
{
    if (Cells_.empty())
        return;
    const std::vector<std::int32_t> old = Cells_;
    auto at = [&](int c, int r) -> double {
        c = Wrap(c, Width_);
        r = Wrap(r, Height_);
        if (c < 0 || c >= Width_ || r < 0 || r >= Height_)
            return 0.0;
        return old[Index(c, r)];
    };
    for (int r = 0; r < Height_; ++r)
        for (int c = 0; c < Width_; ++c) {
            double sum = 0.0;
            int k = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc)
                    sum += kernel[static_cast<std::size_t>(k++)] * at(c + dc, r + dr);
            Cells_[Index(c, r)] = RoundToInt32Safe(sum / divisor);
        }
}

void TIntegerMatrix::ShapeCurve() noexcept
{
    const double hi = Max();
    const double lo = Min();
    constexpr double halfPi = std::numbers::pi / 2.0;
    for (std::int32_t &v : Cells_) {
        const double h = v;
        if (v >= 0) {
            if (hi > 0.0)
                v = RoundToInt32Safe(std::sin(halfPi * h / hi) * h);
        } else {
            if (lo < 0.0)
                v = RoundToInt32Safe(std::sin(halfPi * h / lo) * h);
        }
    }
}

} // namespace kalvion
