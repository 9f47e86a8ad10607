// The language's built-in functions and constants.
#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/Questions.h"
#include "base/Rounding.h"
#include "scripting/vbs/CharFunctions.h"
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/DateFunctions.h"
#include "scripting/vbs/Escape.h"
#include "scripting/vbs/Interpreter.h"
#include "scripting/vbs/Locale.h"
#include "scripting/vbs/RegExpObject.h"
#include "scripting/vbs/StdObjects.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <unordered_map>

namespace kalvion::vbs {

namespace {

using Args = Variant **;
#define A(i) (*a[i])

bool Has(Args a, int n, int i) { return i < n && !A(i).IsEmpty(); }

std::string S(const Variant &v) { return v.IsString() ? v.RawStr() : ToStr(v); }

std::int32_t L(const Variant &v) { return ToLong(v); }

int CompareMode(Args a, int n, int i)
{
    if (!Has(a, n, i))
        return 0;
    const int m = L(A(i));
    if (m < 0 || m > 1)
        Throw(E_INVALID_CALL);
    return m;
}

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from, bool text)
{
    if (!text)
        return hay.find(needle, from);
    if (needle.empty())
        return from <= hay.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= hay.size(); ++i)
        if (SameText(hay.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

std::size_t RFind(std::string_view hay, std::string_view needle, std::size_t from, bool text)
{
    if (needle.size() > hay.size())
        return std::string_view::npos;
    std::size_t i = std::min(from, hay.size() - needle.size());
    for (;;) {
        if (text ? SameText(hay.substr(i, needle.size()), needle) : hay.substr(i, needle.size()) == needle)
            return i;
        if (i == 0)
            return std::string_view::npos;
        --i;
    }
}

// ---- strings ----

Variant Len(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Long(static_cast<std::int32_t>(S(A(0)).size()));
}

// The count is checked before a Null text gives Null: Left(Null, -1) is an error.
Variant Left(Frame &, Args a, int)
{
    const std::int32_t k = L(A(1));
    if (k < 0)
        Throw(E_INVALID_CALL);
    if (A(0).IsNull())
        return Variant::Null();
    std::string s = S(A(0));
    return Variant::Str(s.substr(0, static_cast<std::size_t>(k)));
}

Variant Right(Frame &, Args a, int)
{
    const std::int32_t k = L(A(1));
    if (k < 0)
        Throw(E_INVALID_CALL);
    if (A(0).IsNull())
        return Variant::Null();
    std::string s = S(A(0));
    const std::size_t kk = std::min(static_cast<std::size_t>(k), s.size());
    return Variant::Str(s.substr(s.size() - kk));
}

// A Null length is refused first, then the start and length are checked, and
// only then does a Null text give Null.
Variant Mid(Frame &, Args a, int n)
{
    if (n > 2 && A(2).IsNull())
        Throw(E_INVALID_NULL);
    const std::int32_t start = L(A(1));
    if (start < 1)
        Throw(E_INVALID_CALL);
    std::int64_t len = -1;
    if (n > 2) {
        len = L(A(2));
        if (len < 0)
            Throw(E_INVALID_CALL);
    }
    if (A(0).IsNull())
        return Variant::Null();
    std::string s = S(A(0));
    if (len < 0)
        len = static_cast<std::int64_t>(s.size());
    if (static_cast<std::size_t>(start) > s.size())
        return Variant::Str(std::string());
    return Variant::Str(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(len)));
}

Variant InStr(Frame &, Args a, int n)
{
    std::int32_t start = 1;
    int i = 0;
    if (n >= 3) {
        if (A(0).IsNull())
            Throw(E_INVALID_NULL);
        start = L(A(0));
        if (start < 1)
            Throw(E_INVALID_CALL);
        i = 1;
    }
    const int mode = n == 4 ? CompareMode(a, n, 3) : 0;
    if (A(i).IsNull() || A(i + 1).IsNull())
        return Variant::Null();
    const std::string hay = S(A(i)), needle = S(A(i + 1));
    if (static_cast<std::size_t>(start) > hay.size())
        return Variant::Long(needle.empty() && hay.empty() && start == 1 ? 0 : 0);
    const std::size_t p = Find(hay, needle, static_cast<std::size_t>(start - 1), mode == 1);
    return Variant::Long(p == std::string::npos ? 0 : static_cast<std::int32_t>(p + 1));
}

// Unlike InStr, InStrRev and Replace refuse Null in any argument.
void RefuseNull(Args a, int n)
{
    for (int i = 0; i < n; ++i)
        if (A(i).IsNull())
            Throw(E_INVALID_NULL);
}

Variant InStrRev(Frame &, Args a, int n)
{
    RefuseNull(a, n);
    const std::string hay = S(A(0)), needle = S(A(1));
    std::int32_t start = n > 2 ? L(A(2)) : -1;
    if (start == 0 || start < -1)
        Throw(E_INVALID_CALL);
    const int mode = CompareMode(a, n, 3);
    if (start == -1)
        start = static_cast<std::int32_t>(hay.size());
    if (needle.empty())
        return Variant::Long(start);
    if (static_cast<std::size_t>(start) > hay.size())
        return Variant::Long(0);
    const std::string_view h(hay.data(), static_cast<std::size_t>(start));
    const std::size_t p = RFind(h, needle, h.size(), mode == 1);
    return Variant::Long(p == std::string::npos ? 0 : static_cast<std::int32_t>(p + 1));
}

Variant Replace(Frame &, Args a, int n)
{
    RefuseNull(a, n);
    const std::string s = S(A(0)), find = S(A(1)), repl = S(A(2));
    const std::int32_t start = n > 3 && !A(3).IsEmpty() ? L(A(3)) : 1;
    const std::int32_t count = n > 4 && !A(4).IsEmpty() ? L(A(4)) : -1;
    const int mode = CompareMode(a, n, 5);
    if (start < 1 || count < -1)
        Throw(E_INVALID_CALL);
    if (static_cast<std::size_t>(start) > s.size())
        return Variant::Str(std::string());
    std::string_view rest(s);
    rest.remove_prefix(static_cast<std::size_t>(start - 1));
    if (find.empty() || count == 0)
        return Variant::Str(rest);
    std::string out;
    std::size_t pos = 0;
    std::int32_t done = 0;
    while (count < 0 || done < count) {
        const std::size_t p = Find(rest, find, pos, mode == 1);
        if (p == std::string_view::npos)
            break;
        out.append(rest.substr(pos, p - pos));
        out += repl;
        CheckStringSize(out.size());
        pos = p + find.size();
        ++done;
    }
    out.append(rest.substr(pos));
    return Variant::Str(std::move(out));
}

std::string_view TrimSpaces(std::string_view s, bool left, bool right)
{
    while (left && !s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (right && !s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

Variant Trim(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(TrimSpaces(S(A(0)), true, true));
}
Variant LTrim(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(TrimSpaces(S(A(0)), true, false));
}
Variant RTrim(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(TrimSpaces(S(A(0)), false, true));
}
Variant LCase(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(AsciiLower(S(A(0))));
}
Variant UCase(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(AsciiUpper(S(A(0))));
}

Variant StrComp(Frame &, Args a, int n)
{
    if (A(0).IsNull() || A(1).IsNull())
        return Variant::Null();
    const int mode = CompareMode(a, n, 2);
    const int c = mode ? CompareText(S(A(0)), S(A(1))) : CompareStr(S(A(0)), S(A(1)));
    return Variant::Int(c < 0 ? -1 : c > 0 ? 1 : 0);
}

Variant Space(Frame &, Args a, int)
{
    const std::int32_t k = L(A(0));
    if (k < 0 || static_cast<std::size_t>(k) > kMaxStringBytes)
        Throw(E_INVALID_CALL);
    return Variant::Str(std::string(static_cast<std::size_t>(k), ' '));
}

Variant StringFn(Frame &, Args a, int)
{
    if (A(0).IsNull() || A(1).IsNull())
        return Variant::Null();
    const std::int32_t k = L(A(0));
    if (k < 0 || static_cast<std::size_t>(k) > kMaxStringBytes)
        Throw(E_INVALID_CALL);
    char c;
    if (A(1).IsString()) {
        if (A(1).RawStr().empty())
            Throw(E_INVALID_CALL);
        c = A(1).RawStr()[0];
    } else {
        c = static_cast<char>(L(A(1)) & 0xFF);
    }
    return Variant::Str(std::string(static_cast<std::size_t>(k), c));
}

Variant StrReverse(Frame &, Args a, int)
{
    if (A(0).IsNull())
        Throw(E_INVALID_NULL);
    std::string s = S(A(0));
    return Variant::Str(std::string(s.rbegin(), s.rend()));
}

Variant SplitFn(Frame &, Args a, int n)
{
    RefuseNull(a, n);
    const std::string s = S(A(0));
    const std::string delim = n > 1 ? S(A(1)) : std::string(" ");
    const std::int32_t count = n > 2 && !A(2).IsEmpty() ? L(A(2)) : -1;
    const int mode = CompareMode(a, n, 3);
    if (count < -1)
        Throw(E_INVALID_CALL);
    std::vector<Variant> parts;
    if (s.empty() || count == 0)
        return MakeArray(std::move(parts));
    if (delim.empty()) {
        parts.push_back(Variant::Str(s));
        return MakeArray(std::move(parts));
    }
    std::size_t pos = 0;
    for (;;) {
        if (count > 0 && static_cast<std::int32_t>(parts.size()) == count - 1)
            break;
        const std::size_t p = Find(s, delim, pos, mode == 1);
        if (p == std::string::npos)
            break;
        parts.push_back(Variant::Str(std::string_view(s).substr(pos, p - pos)));
        pos = p + delim.size();
    }
    parts.push_back(Variant::Str(std::string_view(s).substr(pos)));
    return MakeArray(std::move(parts));
}

ArrCell *OneDim(const Variant &v)
{
    ArrCell *arr = v.RawArr();
    if (!arr)
        Throw(E_TYPE_MISMATCH);
    if (arr->Bounds.size() > 1)
        Throw(E_SUBSCRIPT);
    return arr;
}

Variant Join(Frame &, Args a, int n)
{
    ArrCell *arr = OneDim(A(0));
    const std::string delim = n > 1 ? S(A(1)) : std::string(" ");
    std::string out;
    for (std::size_t i = 0; i < arr->Data.size(); ++i) {
        if (i)
            out += delim;
        if (!arr->Data[i].IsNull())
            out += S(arr->Data[i]);
        CheckStringSize(out.size());
    }
    return Variant::Str(std::move(out));
}

Variant Filter(Frame &, Args a, int n)
{
    ArrCell *arr = OneDim(A(0));
    const std::string match = S(A(1));
    const bool include = n > 2 && !A(2).IsEmpty() ? ToBool(A(2)) : true;
    const int mode = CompareMode(a, n, 3);
    std::vector<Variant> out;
    for (const auto &v : arr->Data) {
        const std::string s = S(v);
        const bool has = Find(s, match, 0, mode == 1) != std::string::npos;
        if (has == include)
            out.push_back(Variant::Str(s));
    }
    return MakeArray(std::move(out));
}

std::string Radix(const Variant &v, int base)
{
    std::uint32_t u;
    if (v.Type() == VT_I2 || v.Type() == VT_UI1 || v.Type() == VT_BOOL)
        u = static_cast<std::uint16_t>(static_cast<std::int16_t>(v.RawInt()));
    else
        u = static_cast<std::uint32_t>(ToLong(v));
    if (u == 0)
        return "0";
    std::string s;
    while (u) {
        s.insert(s.begin(), "0123456789ABCDEF"[u % static_cast<std::uint32_t>(base)]);
        u /= static_cast<std::uint32_t>(base);
    }
    return s;
}

Variant Hex(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(Radix(LetValue(A(0)), 16));
}

Variant Oct(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(Radix(LetValue(A(0)), 8));
}

std::string FormatNum(Args a, int n, double x)
{
    int digits = n > 1 && !A(1).IsEmpty() ? L(A(1)) : -1;
    if (digits == -1)
        digits = 2;
    if (digits < 0 || digits > 30)
        Throw(E_INVALID_CALL);
    const int leading = n > 2 && !A(2).IsEmpty() ? L(A(2)) : -2;
    const int parens = n > 3 && !A(3).IsEmpty() ? L(A(3)) : -2;
    const int group = n > 4 && !A(4).IsEmpty() ? L(A(4)) : -2;
    std::string pattern = group == 0 ? "0" : "#,##0";
    if (digits > 0)
        pattern += "." + std::string(static_cast<std::size_t>(digits), '0');
    std::string s = FormatFloat(pattern, std::fabs(x));
    if (leading == 0 && s.size() > 1 && s[0] == '0' && s[1] == '.')
        s.erase(0, 1);
    const bool neg = x < 0 && s.find_first_not_of("0.,") != std::string::npos;
    LocalizeSeparators(s, ActiveLocale());
    if (neg)
        s = parens == -1 ? "(" + s + ")" : "-" + s;
    return s;
}

// The Format functions refuse Null outright: nothing is assigned.
double FormatArgument(const Variant &v)
{
    if (v.IsNull())
        Throw(E_TYPE_MISMATCH);
    return ToDouble(v);
}

Variant FormatNumber(Frame &, Args a, int n) { return Variant::Str(FormatNum(a, n, FormatArgument(A(0)))); }

Variant FormatPercent(Frame &, Args a, int n)
{
    return Variant::Str(FormatNum(a, n, FormatArgument(A(0)) * 100) + "%");
}

Variant FormatCurrency(Frame &, Args a, int n)
{
    const double x = FormatArgument(A(0));
    const LocaleInfo &loc = ActiveLocale();
    const int parens = n > 3 && !A(3).IsEmpty() ? L(A(3)) : -2;
    std::string s = FormatNum(a, n, std::fabs(x));
    s = loc.SymbolFirst ? loc.Currency + s : s + " " + loc.Currency;
    if (x >= 0 || s.find_first_of("123456789") == std::string::npos)
        return Variant::Str(std::move(s));
    const bool useParens = parens == -2 ? loc.ParensForNegativeMoney : parens != 0;
    return Variant::Str(useParens ? "(" + s + ")" : "-" + s);
}

Variant RGBFn(Frame &, Args a, int)
{
    // Above 255 is 255; below 0 is refused.
    auto c = [](const Variant &v) {
        const std::int32_t x = ToLong(v);
        if (x < 0)
            Throw(E_INVALID_CALL);
        return std::min<std::int32_t>(x, 255);
    };
    return Variant::Long(c(A(0)) + c(A(1)) * 256 + c(A(2)) * 65536);
}

// ---- conversions ----

Variant CBool(Frame &, Args a, int) { return Variant::Bool(ToBool(LetValue(A(0)))); }
Variant CByte(Frame &, Args a, int)
{
    if (A(0).Type() == VT_BOOL) // True is all eight bits
        return Variant::Byte(A(0).RawInt() ? 255 : 0);
    const double d = Round(ToDouble(A(0)));
    if (!(d >= 0 && d <= 255))
        Throw(E_OVERFLOW);
    return Variant::Byte(static_cast<std::uint8_t>(d));
}
Variant CCur(Frame &, Args a, int)
{
    const double d = ToDouble(A(0));
    if (!(std::fabs(d) < 922337203685477.0))
        Throw(E_OVERFLOW);
    return Variant::Cur(RoundDecimalPlaces(4, d));
}
Variant CDate(Frame &, Args a, int) { return Variant::Date(ToDate(LetValue(A(0)))); }
Variant CDbl(Frame &, Args a, int) { return Variant::Dbl(ToDouble(A(0))); }
Variant CInt(Frame &, Args a, int) { return Variant::Int(ToInteger(A(0))); }
Variant CLng(Frame &, Args a, int) { return Variant::Long(ToLong(LetValue(A(0)))); }
Variant CSng(Frame &, Args a, int)
{
    const double d = ToDouble(A(0));
    if (std::fabs(d) > 3.402823466e38)
        Throw(E_OVERFLOW);
    return Variant::Sng(static_cast<float>(d));
}
Variant CStr(Frame &, Args a, int) { return Variant::Str(ToStr(A(0))); }

Variant IntOrFix(const Variant &v0, bool floorIt)
{
    const Variant v = ToNumber(LetValue(v0));
    if (v.IsNull())
        return Variant::Null();
    if (v.IsIntegral())
        return v.Type() == VT_BOOL ? Variant::Int(static_cast<std::int32_t>(v.RawInt())) : v;
    const double d = floorIt ? std::floor(v.RawDbl()) : std::trunc(v.RawDbl());
    switch (v.Type()) {
    case VT_R4: return Variant::Sng(static_cast<float>(d));
    case VT_DATE: return Variant::Date(d);
    case VT_CY: return Variant::Cur(d);
    default: return Variant::Dbl(d);
    }
}

Variant Int(Frame &, Args a, int) { return IntOrFix(A(0), true); }
Variant Fix(Frame &, Args a, int) { return IntOrFix(A(0), false); }

Variant Abs(Frame &, Args a, int)
{
    const Variant v = ToNumber(LetValue(A(0)));
    if (v.IsNull())
        return Variant::Null();
    if (v.IsIntegral()) {
        const std::int64_t r = std::llabs(v.RawInt());
        if (v.Type() == VT_I4)
            return r > INT32_MAX ? Variant::Dbl(static_cast<double>(r)) : Variant::Long(static_cast<std::int32_t>(r));
        if (v.Type() == VT_UI1)
            return v;
        return Variant::Integral(r);
    }
    switch (v.Type()) {
    case VT_R4: return Variant::Sng(static_cast<float>(std::fabs(v.RawDbl())));
    case VT_CY: return Variant::Cur(std::fabs(v.RawDbl()));
    default: return Variant::Dbl(std::fabs(v.RawDbl()));
    }
}

Variant Sgn(Frame &, Args a, int)
{
    if (A(0).IsNull())
        Throw(E_INVALID_NULL);
    const double d = ToDouble(A(0));
    return Variant::Int(d < 0 ? -1 : d > 0 ? 1 : 0);
}

Variant RoundFn(Frame &, Args a, int n)
{
    const Variant v = ToNumber(LetValue(A(0)));
    if (v.IsNull())
        return Variant::Null();
    const std::int32_t digits = n > 1 ? L(A(1)) : 0;
    if (digits < 0 || digits > 22)
        Throw(E_INVALID_CALL);
    if (v.IsIntegral())
        return v;
    const double r = RoundDecimalPlaces(digits, v.RawDbl());
    switch (v.Type()) {
    case VT_R4: return Variant::Sng(static_cast<float>(r));
    case VT_CY: return Variant::Cur(r);
    default: return Variant::Dbl(r);
    }
}

double Checked(double r)
{
    if (std::isnan(r))
        Throw(E_INVALID_CALL);
    if (std::isinf(r))
        Throw(E_OVERFLOW);
    return r;
}

#define MATH1(NAME, EXPR)                                                                                         \
    Variant NAME(Frame &, Args a, int)                                                                            \
    {                                                                                                             \
        if (A(0).IsNull())                                                                                        \
            return Variant::Null();                                                                               \
        const double x = ToDouble(A(0));                                                                          \
        return Variant::Dbl(Checked(EXPR));                                                                       \
    }
MATH1(Atn, std::atan(x))
MATH1(Cos, std::cos(x))
MATH1(Sin, std::sin(x))
MATH1(Tan, std::tan(x))
MATH1(Exp, std::exp(x))
MATH1(Log, x <= 0 ? NAN : std::log(x))
MATH1(Sqr, x < 0 ? NAN : std::sqrt(x))

Variant Rnd(Frame &f, Args a, int n)
{
    std::optional<double> arg;
    if (n > 0)
        arg = ToDouble(A(0));
    return Variant::Sng(static_cast<float>(f.In->NextRnd(arg)));
}

Variant RandomizeFn(Frame &f, Args a, int n)
{
    std::optional<double> seed;
    if (n > 0)
        seed = ToDouble(A(0));
    f.In->Randomize(seed);
    return {};
}

// ---- information ----

Variant IsArrayFn(Frame &, Args a, int) { return Variant::Bool(A(0).IsArray()); }
Variant IsEmptyFn(Frame &, Args a, int) { return Variant::Bool(A(0).IsEmpty()); }
Variant IsNullFn(Frame &, Args a, int) { return Variant::Bool(A(0).IsNull()); }
Variant IsNumericFn(Frame &, Args a, int)
{
    if (A(0).IsObject()) {
        Object *o = A(0).RawObj();
        if (!o)
            return Variant::Bool(false);
        try {
            return Variant::Bool(IsNumericValue(DefaultValue(A(0))));
        } catch (const ScriptError &) {
            return Variant::Bool(false);
        }
    }
    return Variant::Bool(IsNumericValue(A(0)));
}
Variant IsObjectFn(Frame &, Args a, int) { return Variant::Bool(A(0).IsObject()); }
Variant TypeNameFn(Frame &, Args a, int) { return Variant::Str(TypeNameOf(A(0))); }
Variant VarTypeFn(Frame &, Args a, int) { return Variant::Int(VarTypeOf(A(0))); }

Variant Bound(Args a, int n, bool upper)
{
    if (A(0).IsObject() && !A(0).RawObj())
        Throw(E_OBJECT_NOT_SET);
    ArrCell *arr = A(0).RawArr();
    if (!arr)
        Throw(E_TYPE_MISMATCH);
    const std::int32_t dim = n > 1 ? L(A(1)) : 1;
    if (dim < 1 || static_cast<std::size_t>(dim) > arr->Bounds.size())
        Throw(E_SUBSCRIPT);
    return Variant::Long(upper ? arr->Bounds[static_cast<std::size_t>(dim - 1)] : 0);
}
Variant LBound(Frame &, Args a, int n) { return Bound(a, n, false); }
Variant UBound(Frame &, Args a, int n) { return Bound(a, n, true); }

Variant ArrayFn(Frame &, Args a, int n)
{
    std::vector<Variant> items;
    items.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        items.push_back(A(i));
    return MakeArray(std::move(items));
}

// ---- script and host ----

// Script text for Eval and Execute: Empty and Null stand for no code at all,
// anything else that is not text is a type mismatch.
const std::string *CodeText(const Variant &v)
{
    if (v.IsString())
        return &v.RawStr();
    if (v.IsEmpty() || v.IsNull())
        return nullptr;
    Throw(E_TYPE_MISMATCH);
}

Variant EvalFn(Frame &f, Args a, int)
{
    if (A(0).IsEmpty() || A(0).IsNull())
        return A(0);
    return f.In->EvalIn(f, S(A(0)));
}
Variant ExecuteFn(Frame &f, Args a, int)
{
    const Variant code = LetValue(A(0));
    if (const std::string *text = CodeText(code))
        f.In->ExecuteIn(f, *text, false);
    return {};
}
Variant ExecuteGlobalFn(Frame &f, Args a, int)
{
    const Variant code = LetValue(A(0));
    if (const std::string *text = CodeText(code))
        f.In->ExecuteIn(f, *text, true);
    return {};
}

Variant GetRef(Frame &f, Args a, int)
{
    const Variant name = LetValue(A(0));
    if (!name.IsString())
        Throw(E_TYPE_MISMATCH);
    GlobalSlot *g = f.In->FindGlobal(AsciiLower(name.RawStr()));
    if (!g || !g->Proc)
        Throw(E_INVALID_CALL);
    return Variant::Obj(NewProcRef(g->Proc));
}

Variant MsgBox(Frame &f, Args a, int n)
{
    const std::string prompt = S(A(0)); // Null is "Invalid use of Null", as for any text
    const int buttons = n > 1 && !A(1).IsEmpty() ? L(A(1)) : 0;
    const std::string title = n > 2 && !A(2).IsEmpty() ? S(A(2)) : std::string();
    if (!f.In->Host)
        return Variant::Int(UnansweredMessageBoxResult(buttons));
    return Variant::Int(f.In->Host->MsgBox(prompt, buttons, title));
}

Variant InputBox(Frame &f, Args a, int n)
{
    const std::string prompt = S(A(0));
    const std::string title = n > 1 ? S(A(1)) : std::string();
    const std::string def = n > 2 ? S(A(2)) : std::string();
    if (!f.In->Host)
        return Variant::Str(def);
    auto r = f.In->Host->InputBox(prompt, title, def);
    return Variant::Str(r ? *r : std::string());
}

Variant CreateObjectFn(Frame &f, Args a, int)
{
    const std::string id = S(A(0));
    const std::string l = AsciiLower(id);
    if (l == "scripting.dictionary")
        return Variant::Obj(NewDictionary(*f.In));
    if (l == "scripting.filesystemobject")
        return Variant::Obj(NewFileSystemObject());
    if (l == "vbscript.regexp")
        return Variant::Obj(NewRegExp());
    if (f.In->Names)
        if (Object *o = f.In->Names->CreateObject(*f.In, l))
            return Variant::Obj(o);
    ThrowNamed(E_CANT_CREATE, id);
}

Variant EscapeFn(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(EscapeText(S(A(0))));
}

Variant UnescapeFn(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Str(UnescapeText(S(A(0))));
}

Variant ErrFn(Frame &f, Args, int)
{
    if (!f.In->ErrObject.IsObject())
        f.In->ErrObject = Variant::Obj(NewErrObject());
    return f.In->ErrObject;
}

Variant ScriptEngine(Frame &, Args, int) { return Variant::Str(std::string("VBScript")); }
Variant EngineMajor(Frame &, Args, int) { return Variant::Long(5); }
Variant EngineMinor(Frame &, Args, int) { return Variant::Long(8); }
Variant EngineBuild(Frame &, Args, int) { return Variant::Long(16384); }
Variant GetLocale(Frame &f, Args, int) { return Variant::Long(f.In->Locale->Id); }

// Takes an id or a tag ("de-de"); 0, "" or nothing is the system's, which is
// en-US here.  Returns the id it replaces.
Variant SetLocale(Frame &f, Args a, int n)
{
    const std::int32_t previous = f.In->Locale->Id;
    const LocaleInfo *loc = &DefaultLocale();
    if (n > 0 && !A(0).IsEmpty()) {
        const Variant v = LetValue(A(0));
        if (v.IsString()) {
            if (!TrimView(v.RawStr()).empty() && !(loc = FindLocale(v.RawStr()))) {
                const auto id = ParseNumericText(v.RawStr());
                if (id && *id == std::trunc(*id) && std::fabs(*id) < 2147483648.0)
                    loc = *id == 0 ? &DefaultLocale() : FindLocale(static_cast<std::int32_t>(*id));
            }
        } else {
            const std::int32_t id = ToLong(v);
            loc = id == 0 ? &DefaultLocale() : FindLocale(id);
        }
        if (!loc)
            Throw(E_INVALID_CALL);
    }
    f.In->Locale = loc;
    return Variant::Long(previous);
}

constexpr int kMany = 1 << 20;

const BuiltinDef kBuiltins[] = {
    {"Len", 1, 1, Len}, {"Left", 2, 2, Left}, {"Right", 2, 2, Right}, {"Mid", 2, 3, Mid},
    {"InStr", 2, 4, InStr}, {"InStrRev", 2, 4, InStrRev}, {"Replace", 3, 6, Replace},
    {"Trim", 1, 1, Trim}, {"LTrim", 1, 1, LTrim}, {"RTrim", 1, 1, RTrim}, {"LCase", 1, 1, LCase},
    {"UCase", 1, 1, UCase}, {"StrComp", 2, 3, StrComp}, {"Space", 1, 1, Space}, {"String", 2, 2, StringFn},
    {"StrReverse", 1, 1, StrReverse}, {"Split", 1, 4, SplitFn},
    {"Join", 1, 2, Join}, {"Filter", 2, 4, Filter}, {"Hex", 1, 1, Hex}, {"Oct", 1, 1, Oct},
    {"FormatNumber", 1, 5, FormatNumber}, {"FormatPercent", 1, 5, FormatPercent},
    {"FormatCurrency", 1, 5, FormatCurrency}, {"RGB", 3, 3, RGBFn},
    {"CBool", 1, 1, CBool}, {"CByte", 1, 1, CByte}, {"CCur", 1, 1, CCur}, {"CDate", 1, 1, CDate},
    {"CDbl", 1, 1, CDbl}, {"CInt", 1, 1, CInt}, {"CLng", 1, 1, CLng}, {"CSng", 1, 1, CSng},
    {"CStr", 1, 1, CStr}, {"Int", 1, 1, Int}, {"Fix", 1, 1, Fix}, {"Abs", 1, 1, Abs}, {"Sgn", 1, 1, Sgn},
    {"Round", 1, 2, RoundFn}, {"Atn", 1, 1, Atn}, {"Cos", 1, 1, Cos}, {"Sin", 1, 1, Sin}, {"Tan", 1, 1, Tan},
    {"Exp", 1, 1, Exp}, {"Log", 1, 1, Log}, {"Sqr", 1, 1, Sqr}, {"Rnd", 0, 1, Rnd},
    {"Randomize", 0, 1, RandomizeFn}, {"IsArray", 1, 1, IsArrayFn}, {"IsEmpty", 1, 1, IsEmptyFn},
    {"IsNull", 1, 1, IsNullFn}, {"IsNumeric", 1, 1, IsNumericFn}, {"IsObject", 1, 1, IsObjectFn},
    {"TypeName", 1, 1, TypeNameFn}, {"VarType", 1, 1, VarTypeFn}, {"LBound", 1, 2, LBound},
    {"UBound", 1, 2, UBound}, {"Array", 0, kMany, ArrayFn}, {"Eval", 1, 1, EvalFn},
    {"Execute", 1, 1, ExecuteFn}, {"ExecuteGlobal", 1, 1, ExecuteGlobalFn}, {"GetRef", 1, 1, GetRef},
    {"MsgBox", 1, 5, MsgBox}, {"InputBox", 1, 7, InputBox}, {"CreateObject", 1, 2, CreateObjectFn},
    {"Err", 0, 0, ErrFn}, {"ScriptEngine", 0, 0, ScriptEngine}, {"ScriptEngineMajorVersion", 0, 0, EngineMajor},
    {"ScriptEngineMinorVersion", 0, 0, EngineMinor}, {"ScriptEngineBuildVersion", 0, 0, EngineBuild},
    {"GetLocale", 0, 0, GetLocale}, {"SetLocale", 0, 1, SetLocale},
    {"Escape", 1, 1, EscapeFn}, {"Unescape", 1, 1, UnescapeFn},
};

struct ConstDef {
    const char *Name;
    Variant (*Make)();
};

} // namespace

const BuiltinDef *FindBuiltin(std::string_view lname)
{
    static const std::unordered_map<std::string, const BuiltinDef *> m = [] {
        std::unordered_map<std::string, const BuiltinDef *> r;
        for (const auto &b : kBuiltins)
            r.emplace(AsciiLower(b.Name), &b);
        for (const auto &b : CharacterBuiltins())
            r.emplace(AsciiLower(b.Name), &b);
        for (const auto &b : DateBuiltins())
            r.emplace(AsciiLower(b.Name), &b);
        return r;
    }();
    auto it = m.find(std::string(lname));
    return it == m.end() ? nullptr : it->second;
}

bool FindBuiltinConstant(std::string_view lname, Variant &out)
{
    static const std::unordered_map<std::string, Variant> m = [] {
        std::unordered_map<std::string, Variant> r;
        auto I = [&](const char *n, std::int32_t v) { r.emplace(AsciiLower(n), Variant::Integral(v)); };
        auto L4 = [&](const char *n, std::int32_t v) { r.emplace(AsciiLower(n), Variant::Long(v)); };
        auto Str = [&](const char *n, std::string v) { r.emplace(AsciiLower(n), Variant::Str(std::move(v))); };
        Str("vbCrLf", "\r\n");
        Str("vbNewLine", "\r\n");
        Str("vbCr", "\r");
        Str("vbLf", "\n");
        Str("vbTab", "\t");
        Str("vbNullString", "");
        Str("vbNullChar", std::string(1, '\0'));
        Str("vbFormFeed", "\f");
        Str("vbVerticalTab", "\v");
        r.emplace("vbtrue", Variant::Int(-1));
        r.emplace("vbfalse", Variant::Int(0));
        I("vbUseDefault", -2);
        I("vbBinaryCompare", 0);
        I("vbTextCompare", 1);
        I("vbDatabaseCompare", 2);
        I("vbOKOnly", 0); I("vbOKCancel", 1); I("vbAbortRetryIgnore", 2); I("vbYesNoCancel", 3);
        I("vbYesNo", 4); I("vbRetryCancel", 5); I("vbCritical", 16); I("vbQuestion", 32);
        I("vbExclamation", 48); I("vbInformation", 64); I("vbDefaultButton1", 0); I("vbDefaultButton2", 256);
        I("vbDefaultButton3", 512); I("vbDefaultButton4", 768); I("vbApplicationModal", 0);
        I("vbSystemModal", 4096);
        L4("vbMsgBoxHelpButton", 16384); L4("vbMsgBoxSetForeground", 65536); L4("vbMsgBoxRight", 524288);
        L4("vbMsgBoxRtlReading", 1048576);
        I("vbOK", 1); I("vbCancel", 2); I("vbAbort", 3); I("vbRetry", 4); I("vbIgnore", 5); I("vbYes", 6);
        I("vbNo", 7);
        I("vbEmpty", 0); I("vbNull", 1); I("vbInteger", 2); I("vbLong", 3); I("vbSingle", 4); I("vbDouble", 5);
        I("vbCurrency", 6); I("vbDate", 7); I("vbString", 8); I("vbObject", 9); I("vbError", 10);
        I("vbBoolean", 11); I("vbVariant", 12); I("vbDataObject", 13); I("vbDecimal", 14); I("vbByte", 17);
        I("vbArray", 8192);
        I("vbSunday", 1); I("vbMonday", 2); I("vbTuesday", 3); I("vbWednesday", 4); I("vbThursday", 5);
        I("vbFriday", 6); I("vbSaturday", 7); I("vbUseSystemDayOfWeek", 0); I("vbUseSystem", 0); I("vbFirstJan1", 1);
        I("vbFirstFourDays", 2); I("vbFirstFullWeek", 3);
        I("vbGeneralDate", 0); I("vbLongDate", 1); I("vbShortDate", 2); I("vbLongTime", 3); I("vbShortTime", 4);
        L4("vbObjectError", -2147221504);
        L4("vbBlack", 0); L4("vbRed", 0xFF); L4("vbGreen", 0xFF00); L4("vbYellow", 0xFFFF); L4("vbBlue", 0xFF0000);
        L4("vbMagenta", 0xFF00FF); L4("vbCyan", 0xFFFF00); L4("vbWhite", 0xFFFFFF);
        return r;
    }();
    auto it = m.find(std::string(lname));
    if (it == m.end())
        return false;
    out = it->second;
    return true;
}

} // namespace kalvion::vbs
