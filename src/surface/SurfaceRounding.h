#pragma once
// Inline forms of the program's Round (half to even, std::nearbyint in the
// default rounding mode) for the per-cell loops of the terrain code.  A NaN
// gives 0; values beyond the target type saturate.
#include <cmath>
#include <cstdint>

namespace kalvion {

inline std::int64_t RoundToInt64Safe(double x) noexcept
{
    const double r = std::nearbyint(x);
    if (!(r == r))
        return 0;
    if (r >= 9223372036854775807.0)
        return INT64_MAX;
    if (r <= -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<std::int64_t>(r);
}

inline std::int32_t RoundToInt32Safe(double x) noexcept
{
    const double r = std::nearbyint(x);
    if (!(r == r))
        return 0;
    if (r >= 2147483647.0)
        return INT32_MAX;
    if (r <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(r);
}

inline std::int32_t TruncToInt32Safe(double x) noexcept
{
    if (!(x == x))
        return 0;
    if (x >= 2147483647.0)
        return INT32_MAX;
    if (x <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(x);
}

} // namespace kalvion
