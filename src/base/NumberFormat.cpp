#include "base/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kalvion {

namespace {

struct PatternInfo {
    std::string_view prefix, suffix;
    int minInt = 0;     // required integer digits
    int minDec = 0;     // required decimals
    int maxDec = 0;     // decimals shown at most
    bool grouping = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

PatternInfo ParsePattern(std::string_view p)
{
    PatternInfo info;
    std::size_t first = std::string_view::npos, last = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (IsPlaceholder(p[i])) {
            if (first == std::string_view::npos)
                first = i;
            last = i;
        }
    }
    if (first == std::string_view::npos) {
        info.prefix = p;
        return info;
    }
    // A point directly before the first placeholder belongs to the number (".##").
    if (first > 0 && p[first - 1] == '.')
        --first;
    info.prefix = p.substr(0, first);
    info.suffix = p.substr(last + 1);
    const std::string_view core = p.substr(first, last + 1 - first);
    const std::size_t dot = core.find('.');
    const std::string_view ip = core.substr(0, dot);
    for (char c : ip) {
        if (c == '0')
            ++info.minInt;
        else if (c == ',')
            info.grouping = true;
    }
    if (dot != std::string_view::npos) {
        const std::string_view dp = core.substr(dot + 1);
        int pos = 0;
        for (char c : dp) {
            if (!IsPlaceholder(c))
                continue;
            ++pos;
            if (c == '0')
                info.minDec = pos;
        }
        info.maxDec = pos;
    }
    return info;
}

} // namespace

std::string FormatFloat(std::string_view pattern, double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    const PatternInfo info = ParsePattern(pattern);
    const bool negative = std::signbit(value);
    const double mag = std::fabs(value);

    // Shortest decimal form that reads back as the same double: "d.ddde+XX".
    char buf[64];
    std::string digits;
    int pointPos = 0; // digits before the decimal point
    if (mag != 0.0) {
        auto res = std::to_chars(buf, buf + sizeof buf, mag, std::chars_format::scientific);
        std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
        const std::size_t e = sci.find('e');
        for (std::size_t i = 0; i < e; ++i)
            if (sci[i] != '.')
                digits.push_back(sci[i]);
        int exp10 = 0;
        std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(), exp10);
        pointPos = exp10 + 1;
    }

    // Round half away from zero after maxDec decimals.
    const long keep = static_cast<long>(pointPos) + info.maxDec;
    if (!digits.empty() && keep < static_cast<long>(digits.size())) {
        if (keep < 0) {
            digits.clear();
        } else {
            const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
            digits.resize(static_cast<std::size_t>(keep));
            if (up) {
                long i = keep - 1;
                while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                    digits[static_cast<std::size_t>(i)] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++digits[static_cast<std::size_t>(i)];
                } else {
                    digits.insert(digits.begin(), '1');
                    ++pointPos;
                }
            }
        }
    }

    std::string intDigits, fracDigits;
    if (!digits.empty()) {
        if (pointPos > 0) {
            const std::size_t n = static_cast<std::size_t>(pointPos);
            intDigits = digits.substr(0, std::min(n, digits.size()));
            if (n > digits.size())
                intDigits.append(n - digits.size(), '0');
            if (n < digits.size())
                fracDigits = digits.substr(n);
        } else {
            fracDigits.assign(static_cast<std::size_t>(-pointPos), '0');
            fracDigits += digits;
        }
    }
    // Leading zeros of the integer part and optional trailing zeros go.
    std::size_t lz = 0;
    while (lz < intDigits.size() && intDigits[lz] == '0')
        ++lz;
    intDigits.erase(0, lz);
    if (static_cast<int>(fracDigits.size()) > info.maxDec)
        fracDigits.resize(static_cast<std::size_t>(info.maxDec));
    while (static_cast<int>(fracDigits.size()) > info.minDec && fracDigits.back() == '0')
        fracDigits.pop_back();
    const bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    if (static_cast<int>(intDigits.size()) < info.minInt)
        intDigits.insert(0, static_cast<std::size_t>(info.minInt) - intDigits.size(), '0');
    if (static_cast<int>(fracDigits.size()) < info.minDec)
        fracDigits.append(static_cast<std::size_t>(info.minDec) - fracDigits.size(), '0');

    std::string out;
    out.reserve(intDigits.size() * 4 / 3 + fracDigits.size() + info.prefix.size() + info.suffix.size() + 3);
    if (negative && !isZero)
        out.push_back('-');
    out.append(info.prefix);
    if (info.grouping) {
        const std::size_t n = intDigits.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                out.push_back(',');
            out.push_back(intDigits[i]);
        }
    } else {
        out.append(intDigits);
    }
    if (!fracDigits.empty()) {
        out.push_back('.');
        out.append(fracDigits);
    }
    out.append(info.suffix);
    return out;
}

std::string VexaFloatStr(double value) { return FormatFloat(VEXA_FLOAT_FMT, value); }
std::string VexaFloatStrRead(double value) { return FormatFloat(VEXA_FLOAT_FMT_READ, value); }
std::string FormatPopulationNumber(double value) { return FormatFloat(POPULATION_FMT, value); }
std::string FormatCount(double value) { return FormatFloat(COUNT_FMT, value); }

} // namespace kalvion
