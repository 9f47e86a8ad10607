#pragma once
// The program's rounding rules.  Round is half to even (banker's rounding) in
// every stored value; Trunc cuts towards zero.  Number patterns use their own
// half-away-from-zero rule (NumberFormat.h).
#include <cstdint>
#include <optional>

namespace kalvion {

// Round half to even, as a double (no range limit).
double Round(double x) noexcept;
// Round half to even into a 64-bit integer; nullopt for a non-finite value or
// one outside the 64-bit range.
std::optional<std::int64_t> RoundToInt64(double x) noexcept;
// Round half to even into 32 bits, clamped to the int32 range; a NaN gives 0.
std::int32_t RoundToInt32Clamped(double x) noexcept;
// Cut towards zero, clamped to the int32 range; a NaN gives 0.
std::int32_t TruncToInt32Clamped(double x) noexcept;
// Round x half to even at n decimals (n < 0 rounds to tens, hundreds, ...).
// For |n| <= 22 the power of ten is exact and the result is the double
// nearest to the rounded decimal: 0.9 stays 0.9, and a value exactly halfway
// (2.0625 at 3 decimals) goes to the even neighbour (2.062).
double RoundToDecimals(int n, double x) noexcept;
// Half to even at n decimals with an exact power of ten (0 <= n <= 22), for
// the script language's Round and currency values.
double RoundDecimalPlaces(int n, double x) noexcept;

} // namespace kalvion
