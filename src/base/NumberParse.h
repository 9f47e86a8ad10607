#pragma once
// Strict number parsing of outside text: trimmed, "." as decimal point,
// optional sign and exponent, and the whole text must be used.  "inf", "nan"
// and hexadecimal forms are refused, as is a value outside the type's range.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kalvion {

std::optional<double> ParseDouble(std::string_view text) noexcept;
std::optional<std::int64_t> ParseInt64(std::string_view text) noexcept;
std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept;

// Convenience forms with a default for texts that do not parse.
double StrToFloatDef(std::string_view text, double def) noexcept;
std::int32_t StrToIntDef(std::string_view text, std::int32_t def) noexcept;

} // namespace kalvion
