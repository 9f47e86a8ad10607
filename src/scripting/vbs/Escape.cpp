#include "scripting/vbs/Escape.h"

#include "scripting/vbs/Errors.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kalvion::vbs {

namespace {

bool LeftAlone(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr("@*_+-./", c) != nullptr);
}

// The code point of the UTF-8 sequence at s[i] and its length; 0 when the
// bytes there are none.  Encoded surrogates count, since ChrW writes them.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, std::uint32_t &cp)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n;
    std::uint32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF)
        return 0;
    return n;
}

void AppendUtf8(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendEscaped(std::string &out, std::uint32_t unit)
{
    char buf[16];
    if (unit < 0x100)
        std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned>(unit));
    else
        std::snprintf(buf, sizeof buf, "%%u%04X", static_cast<unsigned>(unit));
    out += buf;
}


// The UTF-16 unit of a %uXXXX at s[i], or -1.
long UnitAt(std::string_view s, std::size_t i)
{
    if (i + 1 >= s.size() || s[i] != '%' || s[i + 1] != 'u')
        return -1;
    return HexRun(s, i + 2, 4);
}

} // namespace

std::string EscapeText(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        // The text can grow threefold: stop at the string limit, not past it.
        CheckStringSize(out.size());
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (LeftAlone(c))
                out += static_cast<char>(c);
            else
                AppendEscaped(out, c);
            continue;
        }
        std::uint32_t cp = 0;
        const std::size_t n = DecodeUtf8(s, i, cp);
        if (n == 0) {
            AppendEscaped(out, c);
            continue;
        }
        i += n - 1;
        if (cp < 0x10000) {
            AppendEscaped(out, cp);
        } else {
            // Past the 16-bit range the language has two units, a surrogate pair.
            cp -= 0x10000;
            AppendEscaped(out, 0xD800 + (cp >> 10));
            AppendEscaped(out, 0xDC00 + (cp & 0x3FF));
        }
    }
    return out;
}

std::string UnescapeText(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        const long unit = UnitAt(s, i);
        if (unit >= 0) {
            std::uint32_t cp = static_cast<std::uint32_t>(unit);
            i += 5;
            const long low = cp >= 0xD800 && cp <= 0xDBFF ? UnitAt(s, i + 1) : -1;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(low) - 0xDC00);
                i += 6;
            }
            AppendUtf8(out, cp);
            continue;
        }
        const long byte = HexRun(s, i + 1, 2);
        if (byte >= 0) {
            AppendUtf8(out, static_cast<std::uint32_t>(byte));
            i += 2;
            continue;
        }
        out += '%'; // a percent sign that starts no escape stays
    }
    return out;
}


namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

// The value of `count` hex digits at s[i], or -1.
long HexRun(std::string_view s, std::size_t i, std::size_t count)
{
    if (i + count > s.size())
        return -1;
    long v = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const int h = HexValue(s[i + k]);
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

} // namespace kalvion::vbs
