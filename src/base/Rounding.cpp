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

namespace {

using U128 = unsigned __int128;

// Powers of ten up to 10^22 are exact doubles; as 128-bit integers they let
// the product x * 10^n be formed without any rounding at all.
constexpr int MaxExactPower = 22;

constexpr U128 PowerOfTen(int n) noexcept
{
    U128 p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

// Round x * 10^n half to even, the product taken exactly.  x = m * 2^-k with
// m below 2^53; m * 10^22 stays below 2^127.
double RoundUpExact(int n, double x) noexcept
{
    int e = 0;
    const double f = std::frexp(std::fabs(x), &e);
    const auto m = static_cast<std::uint64_t>(std::ldexp(f, 53));
    const int k = 53 - e;
    if (k <= 0)
        return x; // an integer already
    const U128 p = PowerOfTen(n);
    const U128 product = static_cast<U128>(m) * p;
    U128 q = 0;
    if (k < 128) {
        q = product >> k;
        const U128 rest = product & ((static_cast<U128>(1) << k) - 1);
        const U128 half = static_cast<U128>(1) << (k - 1);
        if (rest > half || (rest == half && (q & 1) != 0))
            ++q;
    }
    // Beyond 2^53 the spacing of doubles near x is wider than 10^-n, so x is
    // itself the double nearest to its rounded decimal.
    if (q > (static_cast<U128>(1) << 53))
        return x;
    // An exact integer divided by an exact power of ten: IEEE division gives
    // the double nearest to the decimal.
    return std::copysign(static_cast<double>(static_cast<std::uint64_t>(q)) / static_cast<double>(p), x);
}

// Round x / 10^n half to even for |x| below 2^63 (n from 1 to 22); the
// quotient's remainder decides, so a tie is found exactly.
double RoundDownExact(int n, double x) noexcept
{
    const double whole = std::trunc(std::fabs(x));
    const double fraction = std::fabs(x) - whole; // exact
    const auto i = static_cast<std::uint64_t>(whole);
    const U128 p = PowerOfTen(n);
    U128 q = i / p;
    const U128 r = i % p;
    const U128 half = p / 2;
    if (r > half || (r == half && (fraction > 0 || (q & 1) != 0)))
        ++q;
    return std::copysign(static_cast<double>(q * p), x);
}

} // namespace

double RoundToDecimals(int n, double x) noexcept
{
    if (!std::isfinite(x) || x == 0)
        return x;
    if (n >= 0 && n <= MaxExactPower)
        return RoundUpExact(n, x);
    if (n < 0 && n >= -MaxExactPower && std::fabs(x) < 9223372036854775808.0)
        return RoundDownExact(-n, x);
    // Past 10^22 no power of ten is a double; the exponential form is as good
    // as any other there.
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
