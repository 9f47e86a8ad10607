// The language's operators on variants: numeric promotion with overflow into
// the next wider subtype, string concatenation, comparisons that treat a
// literal string next to a number as a number, and Null propagation.
#include "base/AsciiText.h"
#include "base/Rounding.h"
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Nodes.h"
#include "scripting/vbs/Object.h"

#include <cmath>

namespace kalvion::vbs {

namespace {

// Integer rank: Byte 1, Integer 2 (also Boolean, Empty), Long 3; 0 otherwise.
int IntRank(const Variant &v)
{
    switch (v.Type()) {
    case VT_UI1: return 1;
    case VT_I2:
    case VT_BOOL:
    case VT_EMPTY: return 2;
    case VT_I4: return 3;
    default: return 0;
    }
}

Variant IntResult(std::int64_t r, int rank)
{
    if (rank <= 1 && r >= 0 && r <= 255)
        return Variant::Byte(static_cast<std::uint8_t>(r));
    if (rank <= 2 && r >= -32768 && r <= 32767)
        return Variant::Int(static_cast<std::int32_t>(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Variant::Long(static_cast<std::int32_t>(r));
    return Variant::Dbl(static_cast<double>(r));
}

// Currency is a scaled 64-bit integer: four decimals, about 9.2e14 at most.
Variant CurrencyResult(double d)
{
    if (!(std::fabs(d) < 922337203685477.5808))
        Throw(E_OVERFLOW);
    return Variant::Cur(RoundDecimalPlaces(4, d));
}

Variant FloatResult(double d, bool single, bool date, bool currency = false)
{
    if (!std::isfinite(d))
        Throw(E_OVERFLOW);
    if (date)
        return Variant::Date(d);
    if (currency)
        return CurrencyResult(d);
    if (single)
        return Variant::Sng(static_cast<float>(d));
    return Variant::Dbl(d);
}

Variant Operand(const Variant &v)
{
    if (v.IsObject())
        return DefaultValue(v);
    if (v.IsArray())
        Throw(E_TYPE_MISMATCH);
    return v;
}

Variant Arith(Op o, const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    if (o == Op::Add && a.IsString() && b.IsString()) {
        CheckStringSize(a.RawStr().size() + b.RawStr().size());
        std::string s = a.RawStr();
        s += b.RawStr();
        return Variant::Str(std::move(s));
    }
    const int ra = IntRank(a), rb = IntRank(b);
    if (ra && rb) {
        const std::int64_t x = a.RawInt(), y = b.RawInt();
        const int rank = std::max(ra, rb);
        switch (o) {
        case Op::Add: return IntResult(x + y, rank);
        case Op::Sub: return IntResult(x - y, rank);
        case Op::Mul: return IntResult(x * y, rank);
        default: break;
        }
    }
    const bool date = (a.Type() == VT_DATE || b.Type() == VT_DATE) && o != Op::Mul &&
                      !(o == Op::Sub && a.Type() == VT_DATE && b.Type() == VT_DATE);
    const bool single = (a.Type() == VT_R4 || b.Type() == VT_R4) && (ra || a.Type() == VT_R4) &&
                        (rb || b.Type() == VT_R4) && std::max(ra, rb) < 3;
    // Currency ranks above Double for +, - and *.
    const bool currency = a.Type() == VT_CY || b.Type() == VT_CY;
    const double x = ToDouble(a), y = ToDouble(b);
    switch (o) {
    case Op::Add: return FloatResult(x + y, single, date, currency);
    case Op::Sub: return FloatResult(x - y, single, date, currency);
    default: return FloatResult(x * y, single, false, currency);
    }
}

Variant Divide(const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const double x = ToDouble(a), y = ToDouble(b);
    if (y == 0)
        Throw(x == 0 ? E_OVERFLOW : E_DIV_ZERO);
    return FloatResult(x / y, false, false);
}

Variant IntegerOp(Op o, const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const std::int64_t x = ToLong(a), y = ToLong(b);
    if (y == 0)
        Throw(E_DIV_ZERO);
    int rank = std::max(IntRank(a) ? IntRank(a) : 3, IntRank(b) ? IntRank(b) : 3);
    const std::int64_t r = o == Op::IntDiv ? x / y : x % y;
    if (r > INT32_MAX)
        Throw(E_OVERFLOW);
    return IntResult(r, rank);
}

Variant Power(const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const double x = ToDouble(a), y = ToDouble(b);
    if (x == 0 && y < 0)
        Throw(E_DIV_ZERO);
    const double r = std::pow(x, y);
    if (std::isnan(r))
        Throw(E_INVALID_CALL);
    return FloatResult(r, false, false);
}

Variant ConcatOp(const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() && b.IsNull())
        return Variant::Null();
    std::string s = a.IsNull() ? std::string() : ToStr(a);
    if (!b.IsNull()) {
        CheckStringSize(s.size() + (b.IsString() ? b.RawStr().size() : 0));
        if (b.IsString())
            s += b.RawStr();
        else
            s += ToStr(b);
    }
    return Variant::Str(std::move(s));
}

// All bits clear or all set, in the subtype of the operand beside a Null.
Variant LogicalBeside(const Variant &other, bool set)
{
    switch (other.Type()) {
    case VT_BOOL: return Variant::Bool(set);
    case VT_UI1: return Variant::Byte(set ? 255 : 0);
    case VT_I2:
    case VT_BSTR: return Variant::Int(set ? -1 : 0);
    default: return Variant::Long(set ? -1 : 0); // Empty too, as a Long 0
    }
}

// Whether every bit of the operand's subtype is set (a Byte has eight).
bool AllBitsSet(const Variant &v)
{
    if (v.Type() == VT_UI1)
        return v.RawInt() == 255;
    return ToLong(v) == -1;
}

Variant Logical(Op o, const Variant &a0, const Variant &b0)
{
    const Variant a = Operand(a0), b = Operand(b0);
    const bool an = a.IsNull(), bn = b.IsNull();
    if (an || bn) {
        if (an && bn)
            return Variant::Null();
        const Variant &other = an ? b : a;
        if (o == Op::And) {
            if (other.IsString() ? !ToBool(other) : ToDouble(other) == 0)
                return LogicalBeside(other, false);
            return Variant::Null();
        }
        if (o == Op::Or) {
            if (other.Type() == VT_BOOL ? other.RawInt() != 0 : AllBitsSet(other))
                return LogicalBeside(other, true);
            return Variant::Null();
        }
        if (o == Op::Imp) {
            // Null Imp x is all set when x is; x Imp Null is all set when x is all clear.
            if (an && AllBitsSet(b))
                return LogicalBeside(b, true);
            // A Byte keeps its width and simply has its bits turned over.
            if (bn && a.Type() == VT_UI1)
                return Variant::Byte(static_cast<std::uint8_t>(~a.RawInt() & 0xFF));
            if (bn && ToLong(a) == 0)
                return LogicalBeside(a, true);
            return Variant::Null();
        }
        return Variant::Null();
    }
    std::int64_t x, y;
    auto toBits = [](const Variant &v) -> std::int64_t {
        if (v.IsString()) {
            std::string_view t = TrimView(v.RawStr());
            if (SameText(t, "true") || SameText(t, "#true#"))
                return -1;
            if (SameText(t, "false") || SameText(t, "#false#"))
                return 0;
        }
        return ToLong(v);
    };
    x = toBits(a);
    y = toBits(b);
    std::int64_t r = 0;
    switch (o) {
    case Op::And: r = x & y; break;
    case Op::Or: r = x | y; break;
    case Op::Xor: r = x ^ y; break;
    case Op::Eqv: r = ~(x ^ y); break;
    case Op::Imp: r = (~x) | y; break;
    default: break;
    }
    if (a.Type() == VT_BOOL && b.Type() == VT_BOOL)
        return Variant::Bool(r != 0);
    // Empty counts as a Long here: Empty And Empty is a Long.
    const int ra = a.IsEmpty() ? 3 : IntRank(a), rb = b.IsEmpty() ? 3 : IntRank(b);
    if (ra == 1 && rb == 1)
        return Variant::Byte(static_cast<std::uint8_t>(r & 0xFF));
    if (ra && rb && std::max(ra, rb) <= 2)
        return Variant::Int(static_cast<std::int16_t>(r));
    return Variant::Long(static_cast<std::int32_t>(r));
}

int Sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

int CompareStrings(const std::string &a, const std::string &b, bool text)
{
    const int c = text ? CompareText(a, b) : CompareStr(a, b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool IsNumberLike(const Variant &v) { return v.IsIntegral() || v.IsFloatLike(); }

// The string `s` read as the literal's subtype, against the literal.
int CompareConverted(const Variant &s, const Variant &lit)
{
    if (lit.Type() == VT_DATE)
        return Sign(ToDate(s) - lit.RawDbl());
    return Sign(ToDouble(s) - ToDouble(lit));
}

} // namespace

int CompareValues(const Variant &a0, const Variant &b0, bool aLit, bool bLit, bool textCompare)
{
    const Variant a = Operand(a0), b = Operand(b0);
    if (a.IsNull() || b.IsNull())
        return 2;
    if (a.IsEmpty() && b.IsEmpty())
        return 0;
    if (a.IsString() && b.IsString())
        return CompareStrings(a.RawStr(), b.RawStr(), textCompare);
    if (a.IsString() && b.IsEmpty())
        return CompareStrings(a.RawStr(), std::string(), textCompare);
    if (b.IsString() && a.IsEmpty())
        return CompareStrings(std::string(), b.RawStr(), textCompare);
    // A string meets a number.  A numeric or date literal makes the string
    // convert; a string literal, or a Boolean literal on either side, makes
    // the comparison one of text against the number's string form.  Between
    // two variables the number is the smaller.
    if (a.IsString() && IsNumberLike(b)) {
        if (bLit && b.Type() != VT_BOOL)
            return CompareConverted(a, b);
        if (aLit || bLit)
            return CompareStrings(a.RawStr(), ToStr(b), textCompare);
        return 1;
    }
    if (b.IsString() && IsNumberLike(a)) {
        if (aLit && a.Type() != VT_BOOL)
            return -CompareConverted(b, a);
        if (aLit || bLit)
            return CompareStrings(ToStr(a), b.RawStr(), textCompare);
        return -1;
    }
    if (IntRank(a) && IntRank(b)) {
        const std::int64_t x = a.RawInt(), y = b.RawInt();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    const double x = ToDouble(a), y = ToDouble(b);
    // A Single compares at its own precision: CSng(0.001 * 0.001) = 0.000001.
    if (a.Type() == VT_R4 || b.Type() == VT_R4) {
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        return fx < fy ? -1 : fx > fy ? 1 : 0;
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

bool ValuesEqualForCase(const Variant &a, const Variant &b, bool bLit)
{
    return CompareValues(a, b, false, bLit) == 0;
}

Variant BinaryOp(Op o, const Variant &a, const Variant &b, bool aLit, bool bLit)
{
    switch (o) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
        return Arith(o, a, b);
    case Op::Div:
        return Divide(a, b);
    case Op::IntDiv:
    case Op::Mod:
        return IntegerOp(o, a, b);
    case Op::Pow:
        return Power(a, b);
    case Op::Concat:
        return ConcatOp(a, b);
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Gt:
    case Op::Le:
    case Op::Ge: {
        const int c = CompareValues(a, b, aLit, bLit);
        if (c == 2)
            return Variant::Null();
        bool r = false;
        switch (o) {
        case Op::Eq: r = c == 0; break;
        case Op::Ne: r = c != 0; break;
        case Op::Lt: r = c < 0; break;
        case Op::Gt: r = c > 0; break;
        case Op::Le: r = c <= 0; break;
        default: r = c >= 0; break;
        }
        return Variant::Bool(r);
    }
    case Op::Is: {
        if (!a.IsObject() || !b.IsObject())
            Throw(E_OBJECT_REQUIRED);
        const Object *x = a.RawObj(), *y = b.RawObj();
        const void *ix = x ? x->Identity() : nullptr, *iy = y ? y->Identity() : nullptr;
        if (x && !x->Alive())
            ix = nullptr;
        if (y && !y->Alive())
            iy = nullptr;
        return Variant::Bool(ix == iy);
    }
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Imp:
        return Logical(o, a, b);
    default:
        Throw(E_INTERNAL);
    }
}

Variant UnaryOp(Op o, const Variant &a0)
{
    const Variant a = Operand(a0);
    if (a.IsNull())
        return Variant::Null();
    if (o == Op::Neg) {
        switch (a.Type()) {
        case VT_EMPTY: return Variant::Int(0);
        case VT_I2:
        case VT_BOOL:
        case VT_UI1: return IntResult(-a.RawInt(), 2);
        case VT_I4: return IntResult(-a.RawInt(), 3);
        case VT_R4: return Variant::Sng(static_cast<float>(-a.RawDbl()));
        case VT_DATE: return Variant::Date(-a.RawDbl());
        case VT_CY: return Variant::Cur(-a.RawDbl());
        default: return Variant::Dbl(-ToDouble(a));
        }
    }
    // Not
    switch (a.Type()) {
    case VT_BOOL: return Variant::Bool(a.RawInt() == 0);
    case VT_EMPTY: return Variant::Long(-1);
    case VT_UI1: return Variant::Byte(static_cast<std::uint8_t>(~a.RawInt() & 0xFF));
    case VT_I2: return Variant::Int(static_cast<std::int16_t>(~a.RawInt()));
    case VT_BSTR: {
        std::string_view t = TrimView(a.RawStr());
        if (SameText(t, "true") || SameText(t, "#true#"))
            return Variant::Bool(false);
        if (SameText(t, "false") || SameText(t, "#false#"))
            return Variant::Bool(true);
        return Variant::Long(~ToLong(a));
    }
    default: return Variant::Long(~ToLong(a));
    }
}

} // namespace kalvion::vbs
