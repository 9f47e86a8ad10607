#include "science/VexaDates.h"

#include "base/NumberFormat.h"
#include "base/Rounding.h"
#include "model/VexaSector.h"

#include <algorithm>
#include <cmath>

namespace kalvion {

namespace {

constexpr std::int64_t kCommonYearSeconds = 31536000;
constexpr std::int64_t kLeapYearSeconds = 31622400;

// Floor division and the matching non-negative remainder.  Dates before the
// calendar's first day (negative ticks) then still land inside the year
// tables instead of reading in front of them.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// For b > 0; never multiplies back, so the calendar's lowest ticks cannot overflow.
std::int64_t FloorMod(std::int64_t a, std::int64_t b) noexcept
{
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

bool AddTo(std::int64_t &acc, std::int64_t value) noexcept { return !__builtin_add_overflow(acc, value, &acc); }

bool AddScaled(std::int64_t &acc, std::int64_t value, std::int64_t scale) noexcept
{
    std::int64_t product = 0;
    return !__builtin_mul_overflow(value, scale, &product) && AddTo(acc, product);
}

std::string Pad(std::int64_t value, std::size_t width)
{
    const std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string out;
    if (value < 0)
        out.push_back('-');
    if (digits.size() < width)
        out.append(width - digits.size(), '0');
    out += digits;
    return out;
}

// Ticks between two dates as a double, without overflowing 64 bits.
double TickSpan(std::int64_t from, std::int64_t to)
{
    return static_cast<double>(static_cast<__int128>(to) - static_cast<__int128>(from));
}

} // namespace

const TDateNames &EnglishDateNames()
{
    static const TDateNames names{
        {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
         "November", "December"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    };
    return names;
}

TVexaDateHandler::TVexaDateHandler() : Names(EnglishDateNames())
{
    static constexpr std::int64_t kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int kind = 0; kind < 2; ++kind) {
        std::int64_t start = 0;
        for (int m = 1; m <= 12; ++m) {
            MonthDays[kind][m] = kDays[m] + (kind == 1 && m == 2 ? 1 : 0);
            MonthStart[kind][m] = start;
            start += MonthDays[kind][m];
        }
    }
    std::int64_t seconds = 0;
    for (int i = 0; i < 400; ++i) {
        if (i > 0)
            seconds += IsLeapYear(i - 1) ? kLeapYearSeconds : kCommonYearSeconds;
        YearStart[i] = seconds * TICKS_PER_SECOND;
    }
    // Year 399 of a cycle is never a leap year.
    CycleTicks = (seconds + kCommonYearSeconds) * TICKS_PER_SECOND;
}

bool TVexaDateHandler::IsLeapYear(std::int64_t year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

std::int64_t TVexaDateHandler::DaysInMonth(std::int64_t month, std::int64_t year) const noexcept
{
    if (month < 1 || month > 12)
        return -1;
    return MonthDays[IsLeapYear(year) ? 1 : 0][month];
}

bool TVexaDateHandler::IsValidDate(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                   std::int64_t minute, std::int64_t second) const noexcept
{
    if (year < -YearOffset || year > YearOffset || month < 1 || month > 12)
        return false;
    if (day < 1 || day > DaysInMonth(month, year))
        return false;
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

bool TVexaDateHandler::DateTicks(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                 std::int64_t minute, std::int64_t second, std::int64_t &ticks) const
{
    if (!IsValidDate(year, month, day, 0, 0, 0))
        return false;
    const std::int64_t v = year + YearOffset;
    std::int64_t t = (v / 400) * CycleTicks + YearStart[static_cast<std::size_t>(v % 400)];
    t += MonthStart[IsLeapYear(year) ? 1 : 0][month] * TICKS_PER_DAY;
    t += (day - 1) * TICKS_PER_DAY;
    // The time of day is not range-checked (25 hours carry into the next
    // day), so only an absurd value that leaves 64 bits is refused.
    if (!AddScaled(t, hour, TICKS_PER_HOUR) || !AddScaled(t, minute, TICKS_PER_MINUTE) ||
        !AddScaled(t, second, TICKS_PER_SECOND))
        return false;
    ticks = t;
    return true;
}

bool TVexaDateHandler::SetDate(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                               std::int64_t minute, std::int64_t second)
{
    return DateTicks(year, month, day, hour, minute, second, Ticks);
}

void TVexaDateHandler::SetReference(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                    std::int64_t minute, std::int64_t second)
{
    std::int64_t t = Ticks;
    DateTicks(year, month, day, hour, minute, second, t);
    ReferenceTicks = t;
}

TDateParts TVexaDateHandler::DecodeTicks(std::int64_t ticks) const
{
    TDateParts p;
    const std::int64_t c = FloorDiv(ticks, CycleTicks);
    std::int64_t r = FloorMod(ticks, CycleTicks);
    const auto it = std::upper_bound(YearStart.begin(), YearStart.end(), r);
    const auto e = static_cast<std::int64_t>(it - YearStart.begin()) - 1;
    p.Year = c * 400 + e - YearOffset;
    r -= YearStart[static_cast<std::size_t>(e)];
    p.DayOfYear = r / TICKS_PER_DAY + 1;

    const auto &starts = MonthStart[IsLeapYear(p.Year) ? 1 : 0];
    p.Month = 1;
    for (int m = 2; m <= 12 && starts[m] * TICKS_PER_DAY <= r; ++m)
        p.Month = m;
    r -= starts[p.Month] * TICKS_PER_DAY;

    p.Day = r / TICKS_PER_DAY + 1;
    r -= (p.Day - 1) * TICKS_PER_DAY;
    p.Hour = r / TICKS_PER_HOUR;
    r -= p.Hour * TICKS_PER_HOUR;
    p.Minute = r / TICKS_PER_MINUTE;
    r -= p.Minute * TICKS_PER_MINUTE;
    p.Second = r / TICKS_PER_SECOND;
    p.DayOfWeek = 1 + FloorMod(FloorDiv(ticks, TICKS_PER_DAY) - 1, 7);
    return p;
}

TDateParts TVexaDateHandler::DecodeDate() const { return DecodeTicks(Ticks); }

std::int64_t TVexaDateHandler::DayOfWeek() const noexcept
{
    return 1 + FloorMod(FloorDiv(Ticks, TICKS_PER_DAY) - 1, 7);
}

bool TVexaDateHandler::AddYears(std::int64_t amount)
{
    TDateParts p = DecodeDate();
    if (!AddTo(p.Year, amount))
        return false;
    p.Day = std::min(p.Day, DaysInMonth(p.Month, p.Year));
    return SetDate(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second);
}

void TVexaDateHandler::AddToDate(int unit, std::int64_t amount)
{
    switch (unit) {
    case DATE_UNIT_YEARS:
        AddYears(amount);
        return;
    case DATE_UNIT_MONTHS: {
        const std::int64_t years = amount / 12;
        // When the whole years leave the calendar the date stays as it is,
        // rather than moving by the leftover months alone.
        if (years != 0 && !AddYears(years))
            return;
        TDateParts p = DecodeDate();
        p.Month += amount - 12 * years;
        if (p.Month > 12) {
            p.Month -= 12;
            ++p.Year;
        } else if (p.Month < 1) {
            p.Month += 12;
            --p.Year;
        }
        p.Day = std::min(p.Day, DaysInMonth(p.Month, p.Year));
        SetDate(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second);
        return;
    }
    case DATE_UNIT_DAYS:
    case DATE_UNIT_HOURS:
    case DATE_UNIT_MINUTES:
    case DATE_UNIT_SECONDS: {
        static constexpr std::int64_t kScale[] = {TICKS_PER_DAY, TICKS_PER_HOUR, TICKS_PER_MINUTE, TICKS_PER_SECOND};
        std::int64_t t = Ticks;
        if (AddScaled(t, amount, kScale[unit - DATE_UNIT_DAYS]))
            Ticks = t;
        return;
    }
    case DATE_UNIT_MILLISECONDS: {
        // Whole hundredths, rounded down: -15 ms is -2 ticks.
        const double hundredths = std::floor(static_cast<double>(amount) / 1000.0 * 100.0);
        std::int64_t t = Ticks;
        if (hundredths >= -9223372036854775808.0 && hundredths < 9223372036854775808.0 &&
            AddTo(t, static_cast<std::int64_t>(hundredths)))
            Ticks = t;
        return;
    }
    default:
        return;
    }
}

std::int64_t TVexaDateHandler::AddDays(double days)
{
    // Steps of 1/100,000 day.  The tick count of the step is worked out in 128
    // bits: the 64-bit product of steps and ticks a day overflows past about
    // 29,000 years and would wrap to a wrong date.
    const double steps = Round(days * 100000.0);
    if (!std::isfinite(steps) || steps >= 9223372036854775808.0 || steps < -9223372036854775808.0)
        return Ticks;
    const __int128 delta = static_cast<__int128>(static_cast<std::int64_t>(steps)) * TICKS_PER_DAY / 100000;
    const __int128 sum = static_cast<__int128>(Ticks) + delta;
    if (sum >= static_cast<__int128>(INT64_MIN) && sum <= static_cast<__int128>(INT64_MAX))
        Ticks = static_cast<std::int64_t>(sum);
    return Ticks;
}

std::string TVexaDateHandler::FormatDate() const
{
    const TDateParts p = DecodeDate();
    std::string out;
    const std::string_view f = Format;
    std::size_t i = 0;
    auto at = [&](std::string_view token) { return f.substr(i, token.size()) == token; };
    while (i < f.size()) {
        const char c = f[i];
        if (c == '\\') {
            if (i + 1 < f.size())
                out.push_back(f[i + 1]);
            i += 2;
        } else if (c == 'y') {
            out += std::to_string(p.Year);
            ++i;
        } else if (c == 'h') {
            out += Pad(p.Hour, 2);
            ++i;
        } else if (c == 'n') {
            out += Pad(p.Minute, 2);
            ++i;
        } else if (c == 's') {
            out += Pad(p.Second, 2);
            ++i;
        } else if (at("dddd")) {
            out += Names.LongDays[static_cast<std::size_t>(p.DayOfWeek - 1)];
            i += 4;
        } else if (at("ddd")) {
            out += Names.ShortDays[static_cast<std::size_t>(p.DayOfWeek - 1)];
            i += 3;
        } else if (at("dd")) {
            out += Pad(p.Day, 2);
            i += 2;
        } else if (c == 'd') {
            out += std::to_string(p.Day);
            ++i;
        } else if (at("mmmm")) {
            out += Names.LongMonths[static_cast<std::size_t>(p.Month - 1)];
            i += 4;
        } else if (at("mmm")) {
            out += Names.ShortMonths[static_cast<std::size_t>(p.Month - 1)];
            i += 3;
        } else if (at("mm")) {
            out += Pad(p.Month, 2);
            i += 2;
        } else if (c == 'm') {
            out += std::to_string(p.Month);
            ++i;
        } else if (at("oo")) {
            out += Pad(p.DayOfYear, 3);
            i += 2;
        } else if (c == 'o') {
            out += std::to_string(p.DayOfYear);
            ++i;
        } else if (c == 'j') {
            out += FormatFloat("0.0000", TickSpan(ReferenceTicks, Ticks) / TICKS_PER_DAY);
            ++i;
        } else if (c == 'a') {
            out += FormatFloat("0.0000", TickSpan(ReferenceTicks, Ticks) / 3155760000.0);
            ++i;
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

void TVexaDateHandler::SetToSector(std::int64_t epochYear, double time, std::string_view dateFormat)
{
    Format = std::string(dateFormat);
    SetDate(epochYear, 1, 1, 0, 0, 0);
    ReferenceTicks = Ticks;
    AddDays(time);
}

void TVexaDateHandler::SetToSector(const TVexaSector &sector)
{
    SetToSector(sector.EpochYear, sector.Time, sector.DateFormat);
}

std::string SectorDateText(const TVexaSector &sector)
{
    TVexaDateHandler handler;
    handler.SetToSector(sector);
    return handler.FormatDate();
}

} // namespace kalvion
