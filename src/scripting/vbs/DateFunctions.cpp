#include "scripting/vbs/DateFunctions.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Locale.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace kalvion::vbs {

namespace {

using Args = Variant **;
#define A(i) (*a[i])

std::string S(const Variant &v) { return v.IsString() ? v.RawStr() : ToStr(v); }
std::int32_t L(const Variant &v) { return ToLong(v); }
double DateArg(const Variant &v) { return ToDate(LetValue(v)); }

constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.99999999;

// Before 30 December 1899 the serial counts days back but its time still runs
// forward from midnight: -1.25 is 29 December, 6 AM.  Arithmetic is done on a
// straight line of days and turned back into a serial.
double Linear(double serial)
{
    const double day = std::trunc(serial);
    return day + std::fabs(serial - day);
}

double Serial(double linear)
{
    const double day = std::floor(linear);
    const double time = linear - day;
    return day < 0 ? day - time : day + time;
}

// Optional firstdayofweek (1 = Sunday .. 7; 0 is the system's, Sunday) and
// firstweekofyear (1 = the week of 1 January, 2 = the first with four days,
// 3 = the first full week; 0 is the system's, 1).
int DayOfWeekArg(Args a, int n, int i)
{
    if (i >= n || A(i).IsEmpty())
        return 1;
    if (A(i).IsNull())
        Throw(E_INVALID_NULL);
    const std::int32_t d = L(A(i));
    if (d < 0 || d > 7)
        Throw(E_INVALID_CALL);
    return d == 0 ? 1 : d;
}

int WeekOfYearArg(Args a, int n, int i)
{
    if (i >= n || A(i).IsEmpty())
        return 1;
    if (A(i).IsNull())
        Throw(E_INVALID_NULL);
    const std::int32_t w = L(A(i));
    if (w < 0 || w > 3)
        Throw(E_INVALID_CALL);
    return w == 0 ? 1 : w;
}

int DayInWeek(double day, int firstDay) { return (WeekdayOf(day) - firstDay + 7) % 7 + 1; }
double WeekStart(double day, int firstDay) { return day - (DayInWeek(day, firstDay) - 1); }

double FirstWeekStart(int year, int firstDay, int firstWeek)
{
    const double jan1 = DateSerialOf(year, 1, 1);
    double start = WeekStart(jan1, firstDay);
    if (firstWeek == 2 && jan1 - start > 3) // fewer than four of its days in the new year
        start += 7;
    else if (firstWeek == 3 && start < jan1)
        start += 7;
    return start;
}

int WeekOfYear(double day, int year, int firstDay, int firstWeek)
{
    double start = FirstWeekStart(year, firstDay, firstWeek);
    if (day < start) {
        if (year <= 100)
            return 1;
        start = FirstWeekStart(year - 1, firstDay, firstWeek);
    }
    return static_cast<int>(std::floor((day - start) / 7)) + 1;
}

// ---- the clock ----

double NowSerial()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateSerialOf(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
           (tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec) / 86400.0;
}

Variant Now(Frame &, Args, int) { return Variant::Date(NowSerial()); }
Variant DateFn(Frame &, Args, int) { return Variant::Date(std::floor(NowSerial())); }
Variant TimeFn(Frame &, Args, int)
{
    const double n = NowSerial();
    return Variant::Date(n - std::floor(n));
}
Variant Timer(Frame &, Args, int)
{
    const double n = NowSerial();
    return Variant::Sng(static_cast<float>((n - std::floor(n)) * 86400.0));
}

// ---- parts ----

#define DATEPART(NAME, BODY)                                                                                      \
    Variant NAME(Frame &, Args a, int)                                                                            \
    {                                                                                                             \
        if (A(0).IsNull())                                                                                        \
            return Variant::Null();                                                                               \
        const double d = DateArg(A(0));                                                                           \
        int y, m, dd, h, mi, s;                                                                                   \
        DateParts(d, y, m, dd);                                                                                   \
        TimeParts(d, h, mi, s);                                                                                   \
        (void)y; (void)m; (void)dd; (void)h; (void)mi; (void)s;                                                   \
        return Variant::Int(BODY);                                                                                \
    }
DATEPART(Year, y)
DATEPART(Month, m)
DATEPART(Day, dd)
DATEPART(Hour, h)
DATEPART(Minute, mi)
DATEPART(Second, s)

// The first day is checked before a Null date gives Null.
Variant Weekday(Frame &, Args a, int n)
{
    const int first = DayOfWeekArg(a, n, 1);
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Int(DayInWeek(DateArg(A(0)), first));
}

Variant WeekdayName(Frame &, Args a, int n)
{
    const bool abbr = n > 1 && !A(1).IsEmpty() && ToBool(A(1));
    const int first = DayOfWeekArg(a, n, 2);
    const std::int32_t w = L(A(0));
    if (w < 1 || w > 7)
        Throw(E_INVALID_CALL);
    return Variant::Str(std::string(ActiveLocale().Days[(w - 1 + first - 1) % 7 + (abbr ? 7 : 0)]));
}

Variant MonthName(Frame &, Args a, int n)
{
    const bool abbr = n > 1 && ToBool(A(1));
    const std::int32_t m = L(A(0));
    if (m < 1 || m > 12)
        Throw(E_INVALID_CALL);
    return Variant::Str(std::string(ActiveLocale().Months[m - 1 + (abbr ? 12 : 0)]));
}

Variant DatePart(Frame &, Args a, int n)
{
    const std::string iv = AsciiLower(S(A(0)));
    const int firstDay = DayOfWeekArg(a, n, 2);
    const int firstWeek = WeekOfYearArg(a, n, 3);
    if (A(1).IsNull())
        return Variant::Null();
    const double d = DateArg(A(1));
    int y, m, dd, h, mi, s;
    DateParts(d, y, m, dd);
    TimeParts(d, h, mi, s);
    const double day = std::floor(Linear(d));
    int r;
    if (iv == "yyyy")
        r = y;
    else if (iv == "q")
        r = (m - 1) / 3 + 1;
    else if (iv == "m")
        r = m;
    else if (iv == "y")
        r = static_cast<int>(day - DateSerialOf(y, 1, 1)) + 1;
    else if (iv == "d")
        r = dd;
    else if (iv == "w")
        r = DayInWeek(day, firstDay);
    else if (iv == "ww")
        r = WeekOfYear(day, y, firstDay, firstWeek);
    else if (iv == "h")
        r = h;
    else if (iv == "n")
        r = mi;
    else if (iv == "s")
        r = s;
    else
        Throw(E_INVALID_CALL);
    return Variant::Int(r);
}

// ---- serials ----

Variant DateSerialFn(Frame &, Args a, int)
{
    return Variant::Date(DateSerialOf(L(A(0)), L(A(1)), L(A(2))));
}

Variant TimeSerial(Frame &, Args a, int)
{
    const double secs = L(A(0)) * 3600.0 + L(A(1)) * 60.0 + L(A(2));
    double d = secs / 86400.0;
    if (d < 0) {
        // Negative times count back from midnight of 30 December 1899.
        const double days = std::floor(d);
        d = days - (d - days);
    }
    return Variant::Date(d);
}

Variant DateValue(Frame &, Args a, int)
{
    const double d = DateArg(A(0));
    return Variant::Date(std::trunc(d));
}

Variant TimeValue(Frame &, Args a, int)
{
    const double d = DateArg(A(0));
    return Variant::Date(std::fabs(d - std::trunc(d)));
}

Variant IsDate(Frame &, Args a, int)
{
    const Variant &v = A(0);
    if (v.Type() == VT_DATE)
        return Variant::Bool(true);
    if (v.IsString())
        return Variant::Bool(ParseDateText(v.RawStr(), ActiveLocale()).has_value());
    return Variant::Bool(false);
}

// ---- arithmetic ----

double AddMonths(double d, std::int64_t months)
{
    int y, m, dd;
    DateParts(d, y, m, dd);
    const double time = std::fabs(d - std::trunc(d));
    const std::int64_t total = static_cast<std::int64_t>(y) * 12 + (m - 1) + months;
    if (total < 100 * 12 || total > 9999 * 12 + 11)
        Throw(E_INVALID_CALL);
    const std::int64_t ny = total / 12;
    const int nm = static_cast<int>(total % 12) + 1;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int maxDay = kDays[nm - 1];
    if (nm == 2 && ((ny % 4 == 0 && ny % 100 != 0) || ny % 400 == 0))
        maxDay = 29;
    return Serial(DateSerialOf(ny, nm, std::min(dd, maxDay)) + time);
}

Variant DateAdd(Frame &, Args a, int)
{
    const std::string iv = AsciiLower(S(A(0)));
    const double n = ToDouble(A(1));
    if (A(2).IsNull())
        return Variant::Null();
    const double d = DateArg(A(2));
    if (!(std::fabs(n) < 1e12))
        Throw(E_INVALID_CALL);
    const auto k = static_cast<std::int64_t>(std::trunc(n));
    const double l = Linear(d);
    double r;
    if (iv == "yyyy")
        r = AddMonths(d, k * 12);
    else if (iv == "q")
        r = AddMonths(d, k * 3);
    else if (iv == "m")
        r = AddMonths(d, k);
    else if (iv == "y" || iv == "d" || iv == "w")
        r = Serial(l + static_cast<double>(k));
    else if (iv == "ww")
        r = Serial(l + static_cast<double>(k) * 7);
    else if (iv == "h")
        r = Serial(l + n / 24.0);
    else if (iv == "n")
        r = Serial(l + n / 1440.0);
    else if (iv == "s")
        r = Serial(l + n / 86400.0);
    else
        Throw(E_INVALID_CALL);
    if (!(r >= kMinDate && r <= kMaxDate))
        Throw(E_INVALID_CALL);
    return Variant::Date(r);
}

// Counts the boundaries of the interval crossed between the two dates.
Variant DateDiff(Frame &, Args a, int n)
{
    const std::string iv = AsciiLower(S(A(0)));
    const int firstDay = DayOfWeekArg(a, n, 3);
    WeekOfYearArg(a, n, 4); // checked; no interval counted here depends on it
    if (A(1).IsNull() || A(2).IsNull())
        return Variant::Null();
    const double d1 = DateArg(A(1)), d2 = DateArg(A(2));
    const double l1 = Linear(d1), l2 = Linear(d2);
    const double day1 = std::floor(l1), day2 = std::floor(l2);
    int y1, m1, dd1, y2, m2, dd2;
    DateParts(d1, y1, m1, dd1);
    DateParts(d2, y2, m2, dd2);
    double r;
    if (iv == "yyyy")
        r = y2 - y1;
    else if (iv == "q")
        r = (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
    else if (iv == "m")
        r = (y2 * 12 + m2) - (y1 * 12 + m1);
    else if (iv == "y" || iv == "d")
        r = day2 - day1;
    else if (iv == "w")
        r = std::trunc((day2 - day1) / 7);
    else if (iv == "ww")
        r = (WeekStart(day2, firstDay) - WeekStart(day1, firstDay)) / 7;
    else if (iv == "h")
        r = std::floor(l2 * 24 + 1e-9) - std::floor(l1 * 24 + 1e-9);
    else if (iv == "n")
        r = std::floor(l2 * 1440 + 1e-9) - std::floor(l1 * 1440 + 1e-9);
    else if (iv == "s")
        r = std::round(l2 * 86400) - std::round(l1 * 86400);
    else
        Throw(E_INVALID_CALL);
    if (!(std::fabs(r) <= 2147483647.0))
        Throw(E_OVERFLOW);
    return Variant::Long(static_cast<std::int32_t>(r));
}

// ---- formatting ----

Variant FormatDateTime(Frame &, Args a, int n)
{
    if (A(0).IsNull()) // refused outright: nothing is assigned
        Throw(E_TYPE_MISMATCH);
    const double d = DateArg(A(0));
    const int fmt = n > 1 ? L(A(1)) : 0;
    const LocaleInfo &loc = ActiveLocale();
    switch (fmt) {
    case 0: return Variant::Str(FormatGeneralDate(d, loc));
    case 1: return Variant::Str(FormatDatePattern(loc.LongDate, d, loc));
    case 2: return Variant::Str(FormatDatePattern(loc.ShortDate, d, loc));
    case 3: return Variant::Str(FormatDatePattern(loc.LongTime, d, loc));
    case 4: return Variant::Str(FormatDatePattern("HH:mm", d, loc));
    default: Throw(E_INVALID_CALL);
    }
}

const BuiltinDef kDateBuiltins[] = {
    {"Now", 0, 0, Now}, {"Date", 0, 0, DateFn}, {"Time", 0, 0, TimeFn}, {"Timer", 0, 0, Timer},
    {"Year", 1, 1, Year}, {"Month", 1, 1, Month}, {"Day", 1, 1, Day}, {"Hour", 1, 1, Hour},
    {"Minute", 1, 1, Minute}, {"Second", 1, 1, Second}, {"Weekday", 1, 2, Weekday},
    {"WeekdayName", 1, 3, WeekdayName}, {"MonthName", 1, 2, MonthName}, {"DateSerial", 3, 3, DateSerialFn},
    {"TimeSerial", 3, 3, TimeSerial}, {"DateValue", 1, 1, DateValue}, {"TimeValue", 1, 1, TimeValue},
    {"DateAdd", 3, 3, DateAdd}, {"DateDiff", 3, 5, DateDiff}, {"DatePart", 2, 4, DatePart},
    {"IsDate", 1, 1, IsDate}, {"FormatDateTime", 1, 2, FormatDateTime},
};

} // namespace

std::span<const BuiltinDef> DateBuiltins() { return kDateBuiltins; }

} // namespace kalvion::vbs
