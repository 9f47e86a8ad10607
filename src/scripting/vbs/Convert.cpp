#include "scripting/vbs/Convert.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "base/Rounding.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Locale.h"
#include "scripting/vbs/Object.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kalvion::vbs {

Variant DefaultValue(const Variant &v)
{
    Object *o = v.RawObj();
    if (!v.IsObject())
        return v;
    if (!o)
        Throw(E_OBJECT_NOT_SET);
    extern Interpreter &CurrentInterpreter();
    ObjHold hold(o);
    Variant r = o->Invoke(CurrentInterpreter(), {}, InvokeKind::Get, nullptr, 0);
    if (r.IsObject())
        return DefaultValue(r);
    return r;
}

std::optional<double> ParseNumericText(std::string_view text)
{
    std::string_view t = TrimView(text);
    if (t.empty())
        return std::nullopt;
    bool neg = false;
    std::string_view u = t;
    if (!u.empty() && (u[0] == '-' || u[0] == '+')) {
        neg = u[0] == '-';
        u.remove_prefix(1);
    }
    if (u.size() >= 2 && u[0] == '&' && (u[1] == 'h' || u[1] == 'H' || u[1] == 'o' || u[1] == 'O')) {
        const int base = (u[1] == 'h' || u[1] == 'H') ? 16 : 8;
        u.remove_prefix(2);
        if (u.empty() || u.size() > 16)
            return std::nullopt;
        std::uint64_t val = 0;
        for (char c : u) {
            int dgt;
            if (c >= '0' && c <= '9')
                dgt = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f')
                dgt = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F')
                dgt = c - 'A' + 10;
            else
                return std::nullopt;
            if (dgt >= base)
                return std::nullopt;
            val = val * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(dgt);
            if (val > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // Hexadecimal text is a 32-bit pattern: &HFFFFFFFF is -1.
        double d = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(val)));
        if (val <= 0xFFFF && val > 0x7FFF)
            d = static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(val)));
        return neg ? -d : d;
    }
    // "1." and ".5" are numbers too.
    std::string s(t);
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    auto r = ParseDouble(s);
    if (!r && !s.empty() && (s[0] == '.' || ((s[0] == '-' || s[0] == '+') && s.size() > 1 && s[1] == '.'))) {
        std::string z = s;
        z.insert(s[0] == '.' ? 0 : 1, "0");
        r = ParseDouble(z);
    }
    if (r && !std::isfinite(*r))
        return std::nullopt;
    return r;
}

std::optional<double> ParseLocalNumber(std::string_view text)
{
    const LocaleInfo &loc = ActiveLocale();
    // Plain text in the default locale needs no rewriting.
    if (&loc == &DefaultLocale() && text.find_first_of(",$") == std::string_view::npos)
        return ParseNumericText(text);
    auto plain = DelocalizeNumber(text, loc);
    if (!plain)
        return std::nullopt;
    return ParseNumericText(*plain);
}

std::string FormatDouble(double d, int digits)
{
    if (d == 0)
        return "0";
    if (std::isnan(d))
        return "NaN";
    if (std::isinf(d))
        return d > 0 ? "1.#INF" : "-1.#INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, d);
    return buf;
}

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

const std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);

// Serial dates are valid from year 100 to 9999.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.99999999;

const char *const kMonths[] = {"january", "february", "march", "april", "may", "june", "july", "august",
                               "september", "october", "november", "december"};

} // namespace

double DateSerialOf(std::int64_t y, std::int64_t m, std::int64_t d)
{
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    const std::int64_t m0 = m - 1;
    const std::int64_t yAdj = m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12);
    y += yAdj;
    const std::int64_t mm = m0 - yAdj * 12 + 1;
    if (y < 100 || y > 9999)
        Throw(E_INVALID_CALL);
    const double r = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(mm), 1) - kEpoch + d - 1);
    if (r < kMinDate || r > kMaxDate)
        Throw(E_INVALID_CALL);
    return r;
}

namespace {
// Whole days of a serial, kept where the conversion to an integer is defined
// (a script can add 1e300 to a date); the years that come out are then
// nonsense, but no longer undefined.
std::int64_t SerialDays(double serial)
{
    const double day = std::trunc(serial);
    if (!(day > -1e9))
        return -1000000000;
    if (day > 1e9)
        return 1000000000;
    return static_cast<std::int64_t>(day);
}
} // namespace

void DateParts(double serial, int &y, int &m, int &d)
{
    CivilFromDays(SerialDays(serial) + kEpoch, y, m, d);
}

void TimeParts(double serial, int &h, int &mi, int &s)
{
    double frac = std::fabs(serial - std::trunc(serial));
    long secs = std::lround(frac * 86400.0);
    if (secs >= 86400)
        secs = 86399;
    h = static_cast<int>(secs / 3600);
    mi = static_cast<int>((secs / 60) % 60);
    s = static_cast<int>(secs % 60);
}

int WeekdayOf(double serial)
{
    const std::int64_t days = SerialDays(serial) + kEpoch; // days since 1970-01-01 (a Thursday)
    std::int64_t w = (days + 4) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

std::string FormatDate(double serial) { return FormatGeneralDate(serial, ActiveLocale()); }

namespace {

struct DateScanner {
    std::string_view T;
    std::size_t P = 0;
    void Blanks() { while (P < T.size() && (T[P] == ' ' || T[P] == '\t' || T[P] == ',')) ++P; }
    bool Num(int &out, int &digits)
    {
        Blanks();
        std::size_t s = P;
        long v = 0;
        while (P < T.size() && T[P] >= '0' && T[P] <= '9' && P - s < 9)
            v = v * 10 + (T[P++] - '0');
        digits = static_cast<int>(P - s);
        out = static_cast<int>(v);
        return digits > 0;
    }
    // Letters, including those of other languages' month names ("März").
    bool Word(std::string &w)
    {
        Blanks();
        std::size_t s = P;
        while (P < T.size() && ((T[P] >= 'a' && T[P] <= 'z') || (T[P] >= 'A' && T[P] <= 'Z') ||
                                static_cast<unsigned char>(T[P]) >= 0x80))
            ++P;
        w = AsciiLower(T.substr(s, P - s));
        if (P > s && P < T.size() && T[P] == '.') // "janv."
            ++P;
        return P > s;
    }
    bool Eat(char c)
    {
        if (P < T.size() && T[P] == c) {
            ++P;
            return true;
        }
        return false;
    }
    bool AtEnd()
    {
        Blanks();
        return P >= T.size();
    }
};

int MonthFromWord(const std::string &w, const LocaleInfo &loc)
{
    if (w.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i)
        if (std::strncmp(kMonths[i], w.c_str(), w.size()) == 0)
            return i + 1;
    for (int i = 0; i < 12; ++i) {
        const std::string full = AsciiLower(loc.Months[i]);
        if (full.compare(0, w.size(), w) == 0)
            return i + 1;
        std::string abbr = AsciiLower(loc.Months[12 + i]);
        if (!abbr.empty() && abbr.back() == '.')
            abbr.pop_back();
        if (abbr == w)
            return i + 1;
    }
    return 0;
}

bool ParseTime(DateScanner &sc, double &out)
{
    int h, mi = 0, s = 0, dg;
    if (!sc.Num(h, dg))
        return false;
    bool haveColon = false;
    if (sc.Eat(':')) {
        haveColon = true;
        if (!sc.Num(mi, dg))
            return false;
        if (sc.Eat(':') && !sc.Num(s, dg))
            return false;
    }
    std::string w;
    std::size_t save = sc.P;
    if (sc.Word(w)) {
        if (w == "am" || w == "a") {
            if (h == 12)
                h = 0;
        } else if (w == "pm" || w == "p") {
            if (h < 12)
                h += 12;
        } else {
            sc.P = save;
            return false;
        }
    } else if (!haveColon) {
        return false;
    }
    if (h > 23 || mi > 59 || s > 59)
        return false;
    out = (h * 3600.0 + mi * 60.0 + s) / 86400.0;
    return true;
}

} // namespace

std::optional<double> ParseDateText(std::string_view text) { return ParseDateText(text, DefaultLocale()); }

std::optional<double> ParseDateText(std::string_view text, const LocaleInfo &loc)
{
    DateScanner sc{TrimView(text)};
    if (sc.T.empty() || sc.T.size() > 100)
        return std::nullopt;
    double datePart = 0, timePart = 0;
    bool haveDate = false;
    // Time alone.
    {
        DateScanner t = sc;
        double tp;
        if (ParseTime(t, tp) && t.AtEnd())
            return tp;
    }
    int a, b, c, da, db, dc;
    std::string w;
    std::size_t save = sc.P;
    try {
        if (sc.Num(a, da)) {
            char sep = sc.P < sc.T.size() ? sc.T[sc.P] : 0;
            if ((sep == '/' || sep == '-' || sep == '.') && (++sc.P, sc.Num(b, db))) {
                if (sc.Eat(sep) && sc.Num(c, dc)) {
                    if (da == 4) // YYYY-MM-DD
                        datePart = (b >= 1 && b <= 12 && c >= 1 && c <= 31) ? DateSerialOf(a, b, c) : -1e18;
                    else if (loc.DayFirst) // D/M/YYYY
                        datePart = (b >= 1 && b <= 12 && a >= 1 && a <= 31) ? DateSerialOf(c, b, a) : -1e18;
                    else // M/D/YYYY
                        datePart = (a >= 1 && a <= 12 && b >= 1 && b <= 31) ? DateSerialOf(c, a, b) : -1e18;
                    haveDate = datePart > -1e17;
                }
            } else {
                // D Month YYYY
                sc.P = save;
                if (sc.Num(a, da) && (sc.Eat('.'), sc.Word(w)) && MonthFromWord(w, loc) && sc.Num(c, dc)) {
                    datePart = DateSerialOf(c, MonthFromWord(w, loc), a);
                    haveDate = a >= 1 && a <= 31;
                }
            }
        } else if (sc.Word(w) && MonthFromWord(w, loc)) {
            // Month D, YYYY
            if (sc.Num(b, db) && sc.Num(c, dc)) {
                datePart = DateSerialOf(c, MonthFromWord(w, loc), b);
                haveDate = b >= 1 && b <= 31;
            }
        }
    } catch (const ScriptError &) {
        return std::nullopt;
    }
    if (!haveDate)
        return std::nullopt;
    if (!sc.AtEnd()) {
        if (!ParseTime(sc, timePart) || !sc.AtEnd())
            return std::nullopt;
    }
    return datePart >= 0 ? datePart + timePart : datePart - timePart;
}

double ToDouble(const Variant &v)
{
    switch (v.Type()) {
    case VT_EMPTY:
        return 0;
    case VT_NULL:
        Throw(E_INVALID_NULL);
    case VT_I2:
    case VT_I4:
    case VT_UI1:
    case VT_BOOL:
    case VT_ERROR:
        return static_cast<double>(v.RawInt());
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
        return v.RawDbl();
    case VT_BSTR: {
        auto r = ParseLocalNumber(v.RawStr());
        if (!r)
            Throw(E_TYPE_MISMATCH);
        return *r;
    }
    case VT_DISPATCH:
        return ToDouble(DefaultValue(v));
    default:
        Throw(E_TYPE_MISMATCH);
    }
}

std::int32_t ToLong(const Variant &v)
{
    if (v.Type() == VT_I4 || v.Type() == VT_I2 || v.Type() == VT_UI1 || v.Type() == VT_BOOL)
        return static_cast<std::int32_t>(v.RawInt());
    const double d = Round(ToDouble(v));
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        Throw(E_OVERFLOW);
    return static_cast<std::int32_t>(d);
}

std::int16_t ToInteger(const Variant &v)
{
    const double d = Round(ToDouble(v));
    if (!(d >= -32768.0 && d <= 32767.0))
        Throw(E_OVERFLOW);
    return static_cast<std::int16_t>(d);
}

bool ToBool(const Variant &v)
{
    switch (v.Type()) {
    case VT_BOOL:
    case VT_I2:
    case VT_I4:
    case VT_UI1:
        return v.RawInt() != 0;
    case VT_BSTR: {
        const std::string &s = v.RawStr();
        std::string_view t = TrimView(s);
        if (SameText(t, "true") || SameText(t, "#true#"))
            return true;
        if (SameText(t, "false") || SameText(t, "#false#"))
            return false;
        return ToDouble(v) != 0;
    }
    default:
        return ToDouble(v) != 0;
    }
}

std::string ToStr(const Variant &v)
{
    switch (v.Type()) {
    case VT_EMPTY:
        return {};
    case VT_NULL:
        Throw(E_INVALID_NULL);
    case VT_BOOL:
        return v.RawInt() ? "True" : "False";
    case VT_I2:
    case VT_I4:
    case VT_UI1:
        return std::to_string(v.RawInt());
    case VT_ERROR:
        return "Error " + std::to_string(v.RawInt());
    case VT_R8:
    case VT_CY:
    case VT_R4: {
        std::string s = FormatDouble(v.RawDbl(), v.Type() == VT_R4 ? 7 : 15);
        const LocaleInfo &loc = ActiveLocale();
        if (loc.Decimal != '.')
            for (char &c : s)
                if (c == '.')
                    c = loc.Decimal;
        return s;
    }
    case VT_DATE:
        return FormatDate(v.RawDbl());
    case VT_BSTR:
        return v.RawStr();
    case VT_DISPATCH:
        return ToStr(DefaultValue(v));
    default:
        Throw(E_TYPE_MISMATCH);
    }
}

double ToDate(const Variant &v)
{
    if (v.Type() == VT_BSTR) {
        if (auto d = ParseDateText(v.RawStr(), ActiveLocale()))
            return *d;
        if (auto n = ParseLocalNumber(v.RawStr()))
            return *n;
        Throw(E_TYPE_MISMATCH);
    }
    const double d = ToDouble(v);
    if (!(d >= kMinDate && d <= kMaxDate))
        Throw(E_OVERFLOW);
    return d;
}

Variant ToNumber(const Variant &v)
{
    switch (v.Type()) {
    case VT_EMPTY:
        return Variant::Int(0);
    case VT_BSTR:
        return Variant::Dbl(ToDouble(v));
    case VT_DISPATCH:
        return ToNumber(DefaultValue(v));
    case VT_ARRAY:
        Throw(E_TYPE_MISMATCH);
    default:
        return v;
    }
}

bool IsNumericValue(const Variant &v)
{
    switch (v.Type()) {
    case VT_EMPTY:
    case VT_I2:
    case VT_I4:
    case VT_UI1:
    case VT_BOOL:
    case VT_R4:
    case VT_R8:
    case VT_CY:
        return true;
    case VT_BSTR:
        return ParseLocalNumber(v.RawStr()).has_value();
    default:
        return false;
    }
}

std::string TypeNameOf(const Variant &v)
{
    switch (v.Type()) {
    case VT_EMPTY: return "Empty";
    case VT_NULL: return "Null";
    case VT_I2: return "Integer";
    case VT_I4: return "Long";
    case VT_R4: return "Single";
    case VT_R8: return "Double";
    case VT_CY: return "Currency";
    case VT_DATE: return "Date";
    case VT_BSTR: return "String";
    case VT_BOOL: return "Boolean";
    case VT_UI1: return "Byte";
    case VT_ERROR: return "Error";
    case VT_ARRAY: return "Variant()";
    case VT_DISPATCH: {
        Object *o = v.RawObj();
        return o ? o->TypeName() : "Nothing";
    }
    default: return "Unknown";
    }
}

std::int32_t VarTypeOf(const Variant &v)
{
    if (v.IsArray())
        return VT_ARRAY | VT_VARIANT;
    return v.Type();
}

} // namespace kalvion::vbs
