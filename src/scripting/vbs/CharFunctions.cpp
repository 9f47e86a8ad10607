// Character codes and the byte forms of the string functions.
//
// Text is UTF-8 and the string functions count its bytes as characters.  The
// byte functions see each of those characters as the two bytes of a 16-bit
// unit (its value, then zero), so LenB is twice Len; a pair of bytes taken
// back out that does not end in zero becomes the character of that unit.
// Chr and Asc go through the Western code page, as the language does there.
#include "scripting/vbs/CharFunctions.h"

#include "base/Rounding.h"
#include "scripting/vbs/Convert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kalvion::vbs {

namespace {

using Args = Variant **;
#define A(i) (*a[i])

std::string S(const Variant &v) { return v.IsString() ? v.RawStr() : ToStr(v); }

// Windows-1252 in 0x80..0x9F; the rest of 0..255 is Latin-1.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string &s, std::uint32_t c)
{
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point of the first character; a byte that does not start a valid
// sequence stands for itself.
std::uint32_t FirstCodePoint(const std::string &s)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    const int more = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : 0;
    if (c < 0x80 || more == 0 || s.size() <= static_cast<std::size_t>(more))
        return c;
    std::uint32_t cp = c & (0x3F >> more);
    for (int i = 1; i <= more; ++i) {
        if ((b(static_cast<std::size_t>(i)) & 0xC0) != 0x80)
            return c;
        cp = (cp << 6) | (b(static_cast<std::size_t>(i)) & 0x3F);
    }
    return cp;
}

std::string NonEmptyText(const Variant &v)
{
    if (v.IsNull())
        Throw(E_INVALID_NULL);
    std::string s = S(v);
    if (s.empty())
        Throw(E_INVALID_CALL);
    return s;
}

Variant Chr(Frame &, Args a, int)
{
    const std::int32_t c = ToLong(A(0));
    if (c < 0 || c > 255)
        Throw(E_INVALID_CALL);
    std::string s;
    AppendUtf8(s, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : static_cast<std::uint32_t>(c));
    return Variant::Str(std::move(s));
}

Variant ChrW(Frame &, Args a, int)
{
    std::int32_t c = ToLong(A(0));
    if (c < -32768 || c > 65535)
        Throw(E_INVALID_CALL);
    if (c < 0)
        c += 65536;
    std::string s;
    AppendUtf8(s, static_cast<std::uint32_t>(c));
    return Variant::Str(std::move(s));
}

Variant Asc(Frame &, Args a, int)
{
    const std::uint32_t cp = FirstCodePoint(NonEmptyText(A(0)));
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return Variant::Int(static_cast<std::int32_t>(cp));
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == cp)
            return Variant::Int(0x80 + i);
    return Variant::Int('?'); // no such character in the code page
}

Variant AscW(Frame &, Args a, int)
{
    std::uint32_t cp = FirstCodePoint(NonEmptyText(A(0)));
    if (cp > 0xFFFF) // the first of its two 16-bit units
        cp = 0xD800 + ((cp - 0x10000) >> 10);
    return Variant::Int(static_cast<std::int16_t>(static_cast<std::uint16_t>(cp)));
}

Variant AscB(Frame &, Args a, int)
{
    return Variant::Byte(static_cast<std::uint8_t>(NonEmptyText(A(0))[0]));
}

Variant ChrB(Frame &, Args a, int)
{
    const double d = Round(ToDouble(A(0)));
    if (!(d >= 0 && d <= 255))
        Throw(E_OVERFLOW);
    return Variant::Str(std::string(1, static_cast<char>(static_cast<std::uint8_t>(d))));
}

// The text between two byte offsets of the string's 16-bit form.
std::string BytesOf(const std::string &s, std::size_t from, std::size_t to)
{
    std::string out;
    auto byteAt = [&](std::size_t i) -> std::uint8_t {
        return i % 2 ? 0 : static_cast<std::uint8_t>(s[i / 2]);
    };
    std::size_t i = from;
    for (; i + 1 < to; i += 2) {
        const std::uint8_t lo = byteAt(i), hi = byteAt(i + 1);
        if (hi == 0)
            out += static_cast<char>(lo);
        else
            AppendUtf8(out, static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 8));
    }
    if (i < to) // an odd byte left over keeps its character
        out += static_cast<char>(byteAt(i));
    return out;
}

// A byte count or position: Null is refused, a negative count is not allowed.
std::size_t ByteCount(const Variant &v)
{
    if (v.IsNull())
        Throw(E_INVALID_NULL);
    const std::int32_t k = ToLong(v);
    if (k < 0)
        Throw(E_INVALID_CALL);
    return static_cast<std::size_t>(k);
}

Variant LenB(Frame &, Args a, int)
{
    if (A(0).IsNull())
        return Variant::Null();
    return Variant::Long(static_cast<std::int32_t>(S(A(0)).size() * 2));
}

Variant LeftB(Frame &, Args a, int)
{
    const std::size_t k = ByteCount(A(1));
    if (A(0).IsNull())
        return Variant::Null();
    const std::string s = S(A(0));
    return Variant::Str(BytesOf(s, 0, std::min(k, s.size() * 2)));
}

Variant RightB(Frame &, Args a, int)
{
    const std::size_t k = ByteCount(A(1));
    if (A(0).IsNull())
        return Variant::Null();
    const std::string s = S(A(0));
    const std::size_t n = s.size() * 2;
    return Variant::Str(BytesOf(s, n - std::min(k, n), n));
}

Variant MidB(Frame &, Args a, int n)
{
    if (n > 2 && A(2).IsNull())
        Throw(E_INVALID_NULL);
    const std::size_t start = ByteCount(A(1));
    if (start < 1)
        Throw(E_INVALID_CALL);
    const std::size_t len = n > 2 ? ByteCount(A(2)) : SIZE_MAX;
    if (A(0).IsNull())
        return Variant::Null();
    const std::string s = S(A(0));
    const std::size_t total = s.size() * 2;
    if (start > total)
        return Variant::Str(std::string());
    return Variant::Str(BytesOf(s, start - 1, start - 1 + std::min(len, total - (start - 1))));
}

std::string Widened(const std::string &s)
{
    CheckStringSize(s.size() * 2);
    std::string w(s.size() * 2, '\0');
    for (std::size_t i = 0; i < s.size(); ++i)
        w[2 * i] = s[i];
    return w;
}

Variant InStrB(Frame &, Args a, int n)
{
    std::size_t start = 1;
    int i = 0;
    if (n >= 3) {
        start = ByteCount(A(0));
        if (start < 1)
            Throw(E_INVALID_CALL);
        i = 1;
    }
    if (n == 4 && !A(3).IsEmpty()) {
        const std::int32_t mode = ToLong(A(3));
        if (mode < 0 || mode > 1)
            Throw(E_INVALID_CALL);
    }
    if (A(i).IsNull() || A(i + 1).IsNull())
        return Variant::Null();
    const std::string hay = Widened(S(A(i))), needle = Widened(S(A(i + 1)));
    if (start > hay.size())
        return Variant::Long(0);
    const std::size_t p = hay.find(needle, start - 1);
    return Variant::Long(p == std::string::npos ? 0 : static_cast<std::int32_t>(p + 1));
}

const BuiltinDef kCharBuiltins[] = {
    {"Chr", 1, 1, Chr},       {"ChrW", 1, 1, ChrW},     {"ChrB", 1, 1, ChrB},     {"Asc", 1, 1, Asc},
    {"AscW", 1, 1, AscW},     {"AscB", 1, 1, AscB},     {"LenB", 1, 1, LenB},     {"LeftB", 2, 2, LeftB},
    {"RightB", 2, 2, RightB}, {"MidB", 2, 3, MidB},     {"InStrB", 2, 4, InStrB},
};

} // namespace

std::span<const BuiltinDef> CharacterBuiltins() { return kCharBuiltins; }

} // namespace kalvion::vbs
