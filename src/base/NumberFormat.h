#pragma once
// Number patterns: the one formatter for every number the program writes.
//
//   0  a required digit          #  an optional digit
//   ,  anywhere in the integer part turns on thousands grouping
//   .  marks the decimals; their count is the most shown, trailing zeros of
//      '#' places are dropped, '0' places are always shown
//
// The value is rounded half away from zero at the last shown decimal, working
// on its shortest exact decimal form.  Separators are always "," and "."
// whatever the locale.  A pattern without a '0' prints zero as "" and "#.##"
// prints 0.9 as ".9".  Text before the first and after the last placeholder is
// copied as it stands.
#include <string>
#include <string_view>

namespace kalvion {

inline constexpr const char *VEXA_FLOAT_FMT = "#########0.######";
inline constexpr const char *VEXA_FLOAT_FMT_READ = "###,###,###,##0.######";
inline constexpr const char *POPULATION_FMT = "###,###,###,###,###,##0";
inline constexpr const char *COUNT_FMT = "#,##0";

std::string FormatFloat(std::string_view pattern, double value);

// A double written for storage ("#########0.######").
std::string VexaFloatStr(double value);
// A double written for people ("###,###,###,##0.######").
std::string VexaFloatStrRead(double value);
// A population ("###,###,###,###,###,##0").
std::string FormatPopulationNumber(double value);
// A count shown to the user ("#,##0").
std::string FormatCount(double value);

} // namespace kalvion
