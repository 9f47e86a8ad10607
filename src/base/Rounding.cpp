#include "base/Rounding.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace kalvion {

double Round(double x) noexcept
{
    // nearbyint honours the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    return std::nearbyint(x);
}

std::optional<std::int64_t> RoundToInt64(double x) noexcept
{
    if (!std::isfinite(x))
        return std::nullopt;
    const double r = Round(x);
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        return std::nullopt;
    return static_cast<std::int64_t>(r);
}

static std::int32_t ClampToInt32(double r) noexcept
{
    if (std::isnan(r))
        return 0;
    if (r >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (r <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t RoundToInt32Clamped(double x) noexcept
{
    return ClampToInt32(Round(x));
}

std::int32_t TruncToInt32Clamped(double x) noexcept
{
    return ClampToInt32(std::trunc(x));
}

double RoundToDecimals(int n, double x) noexcept
{
    // The scale is e^(n ln 10), not pow(10, n): the two differ in the last
    // bits (10.000000000000002 against 10), and stored generated values were
    // always rounded with the exponential form.
    const double scale = std::exp(n * std::log(10.0));
    return Round(x * scale) / scale;
}

double RoundDecimalPlaces(int n, double x) noexcept
{
    double scale = 1;
    for (int i = 0; i < n && i < 22; ++i)
        scale *= 10; // exact up to 10^22
    return Round(x * scale) / scale;
}

} // namespace kalvion
