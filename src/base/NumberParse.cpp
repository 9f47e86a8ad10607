#include "base/NumberParse.h"

#include "base/AsciiText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kalvion {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the decimal form [sign] digits [. digits] [(e|E) [sign] digits] with
// at least one mantissa digit.
bool IsDecimalForm(std::string_view s, bool allowFraction)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mant = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++mant;
    }
    if (allowFraction && i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++mant;
        }
    }
    if (mant == 0)
        return false;
    if (allowFraction && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t ed = 0;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++ed;
        }
        if (ed == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

std::optional<double> ParseDouble(std::string_view text) noexcept
{
    std::string_view s = TrimView(text);
    if (!IsDecimalForm(s, true))
        return std::nullopt;
    if (s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<std::int64_t> ParseInt64(std::string_view text) noexcept
{
    std::string_view s = TrimView(text);
    if (!IsDecimalForm(s, false))
        return std::nullopt;
    if (s.front() == '+')
        s.remove_prefix(1);
    std::int64_t v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) noexcept
{
    auto v = ParseInt64(text);
    if (!v || *v < INT32_MIN || *v > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

double StrToFloatDef(std::string_view text, double def) noexcept
{
    auto v = ParseDouble(text);
    return v ? *v : def;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t def) noexcept
{
    auto v = ParseInt32(text);
    return v ? *v : def;
}

} // namespace kalvion
