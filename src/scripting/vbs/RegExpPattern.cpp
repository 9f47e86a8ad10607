#include "scripting/vbs/RegExpPattern.h"

#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Escape.h"

#include <cstdio>

namespace kalvion::vbs {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctal(char c) { return c >= '0' && c <= '7'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }


void AppendByte(std::string &out, unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", v & 0xFFu);
    out += buf;
}

// A \u escape past ASCII: the engine keeps such characters as UTF-8 (ChrW
// writes them so), so the pattern matches their bytes.  Inside a class the
// bytes can only stand as separate members.
void AppendCodePoint(std::string &out, unsigned cp, bool inClass)
{
    if (cp < 0x80) {
        AppendByte(out, cp);
        return;
    }
    unsigned char b[3];
    int n;
    if (cp < 0x800) {
        b[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
        b[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 2;
    } else {
        b[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
        b[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
        b[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        n = 3;
    }
    if (!inClass)
        out += "(?:";
    for (int k = 0; k < n; ++k)
        AppendByte(out, b[k]);
    if (!inClass)
        out += ')';
}

// A legacy octal escape at p[i] (up to three digits, at most 0377); returns
// the digits used, 0 when p[i] is not an octal digit.
std::size_t ReadOctal(std::string_view p, std::size_t i, unsigned &value)
{
    value = 0;
    std::size_t n = 0;
    while (n < 3 && i + n < p.size() && IsOctal(p[i + n])) {
        const unsigned next = value * 8 + static_cast<unsigned>(p[i + n] - '0');
        if (next > 0377)
            break;
        value = next;
        ++n;
    }
    return n;
}

// The length of a {n}, {n,} or {n,m} quantifier at p[i], 0 when the brace is
// a literal (the language's legacy reading of a brace that starts none).
std::size_t QuantifierLength(std::string_view p, std::size_t i)
{
    std::size_t j = i + 1;
    const std::size_t firstDigit = j;
    while (j < p.size() && IsDigit(p[j]))
        ++j;
    if (j == firstDigit)
        return 0;
    if (j < p.size() && p[j] == ',') {
        ++j;
        while (j < p.size() && IsDigit(p[j]))
            ++j;
    }
    if (j >= p.size() || p[j] != '}')
        return 0;
    return j + 1 - i;
}

// The length of a UTF-8 sequence of two or more bytes at p[i]; 0 when the
// bytes there are none.
std::size_t Utf8Length(std::string_view p, std::size_t i)
{
    const auto b = static_cast<unsigned char>(p[i]);
    const std::size_t n = b >= 0xF5 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (n == 0 || i + n > p.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(p[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

// Text is searched as bytes, so whatever may match a character of another
// script takes its whole UTF-8 sequence: otherwise "." or "[^a]" would match
// half of an "é", and Replace would cut it in two.
constexpr std::string_view kWholeCharacter = "(?>[\\xC2-\\xF4][\\x80-\\xBF]*|";

bool IsClassEscapeLetter(char c)
{
    return c == 'd' || c == 'D' || c == 'w' || c == 'W' || c == 's' || c == 'S';
}

enum class Piece { Atom, Assertion, ClassEscape };

// Translates the escape whose backslash is at p[i]; leaves i on its last
// character.
std::int32_t Escape(std::string_view p, std::size_t &i, bool inClass, int groups, std::string &out, Piece &piece)
{
    piece = Piece::Atom;
    if (i + 1 >= p.size())
        return E_REGEXP_SYNTAX;
    const char c = p[++i];
    if (IsClassEscapeLetter(c)) {
        // \D, \S and \W match any character of another script.
        const bool negated = c == 'D' || c == 'S' || c == 'W';
        if (negated && !inClass)
            out += kWholeCharacter;
        out += '\\';
        out += c;
        if (negated && !inClass)
            out += ')';
        piece = Piece::ClassEscape;
        return 0;
    }
    switch (c) {
    case 'b':
    case 'B':
        if (inClass) {
            // Inside a class \b is a backspace; \B means the letter.
            if (c == 'b')
                AppendByte(out, 0x08);
            else
                out += 'B';
            return 0;
        }
        out += '\\';
        out += c;
        piece = Piece::Assertion;
        return 0;
    case 'f':
    case 'n':
    case 'r':
    case 't':
        out += '\\';
        out += c;
        return 0;
    case 'v': // PCRE2's \v is a class of vertical space; here it is one character
        AppendByte(out, 0x0B);
        return 0;
    case 'x': {
        const long v = HexRun(p, i + 1, 2);
        if (v < 0) {
            out += 'x';
            return 0;
        }
        AppendByte(out, static_cast<unsigned>(v));
        i += 2;
        return 0;
    }
    case 'u': {
        const long v = HexRun(p, i + 1, 4);
        if (v < 0) {
            out += 'u';
            return 0;
        }
        AppendCodePoint(out, static_cast<unsigned>(v), inClass);
        i += 4;
        return 0;
    }
    case 'c':
        if (i + 1 < p.size() && IsAsciiLetter(p[i + 1])) {
            out += "\\c";
            out += p[++i];
            return 0;
        }
        out += "\\\\c";
        return 0;
    default:
        break;
    }
    if (IsDigit(c)) {
        if (!inClass && c != '0') {
            // A back reference when that many groups exist; otherwise the
            // digits are read again as a legacy octal escape.
            std::size_t j = i;
            long n = 0;
            while (j < p.size() && IsDigit(p[j])) {
                if (n < 100000)
                    n = n * 10 + (p[j] - '0');
                ++j;
            }
            if (n <= groups) {
                out += "\\g{" + std::to_string(n) + "}";
                i = j - 1;
                return 0;
            }
        }
        unsigned v = 0;
        const std::size_t used = ReadOctal(p, i, v);
        if (used == 0) {
            out += c; // \8 and \9 that are no back reference mean the digit
            return 0;
        }
        AppendByte(out, v);
        i += used - 1;
        return 0;
    }
    if (IsAsciiLetter(c)) {
        // Any other letter stands for itself (PCRE2 would read \A, \K, \Q,
        // \p and others as its own escapes, or refuse them).
        out += c;
        return 0;
    }
    if (static_cast<unsigned char>(c) >= 0x80)
        AppendByte(out, static_cast<unsigned char>(c));
    else {
        out += '\\';
        out += c;
    }
    return 0;
}

std::int32_t ClassBody(std::string_view p, std::size_t &i, int groups, std::string &out);

// Translates the class opened at p[i]; leaves i on its closing bracket, or
// past the end when it has none (PCRE2 then reports the missing bracket).
std::int32_t Class(std::string_view p, std::size_t &i, int groups, std::string &out)
{
    // A negated class of ASCII characters matches any character of another
    // script as a whole.
    bool wrapped = false;
    if (i + 1 < p.size() && p[i + 1] == '^') {
        std::size_t end = i + 2;
        bool ascii = true;
        for (; end < p.size() && p[end] != ']'; ++end) {
            if (p[end] == '\\')
                ++end;
            else if (static_cast<unsigned char>(p[end]) >= 0x80)
                ascii = false;
        }
        if (ascii && end < p.size()) {
            out += kWholeCharacter;
            wrapped = true;
        }
    }
    const std::int32_t err = ClassBody(p, i, groups, out);
    if (wrapped && err == 0)
        out += ')';
    return err;
}

std::int32_t ClassBody(std::string_view p, std::size_t &i, int groups, std::string &out)
{
    out += '[';
    if (i + 1 < p.size() && p[i + 1] == '^')
        out += p[++i];
    // "[]" matches nothing and "[^]" any character; PCRE2 reads them so with
    // PCRE2_ALLOW_EMPTY_CLASS.
    if (i + 1 < p.size() && p[i + 1] == ']') {
        out += p[++i];
        return 0;
    }
    bool afterClassEscape = false;
    for (++i; i < p.size(); ++i) {
        const char c = p[i];
        if (c == ']') {
            out += c;
            return 0;
        }
        if (c == '\\') {
            Piece piece;
            if (const std::int32_t err = Escape(p, i, true, groups, out, piece))
                return err;
            afterClassEscape = piece == Piece::ClassEscape;
            continue;
        }
        if (c == '-') {
            // A hyphen beside \d, \w or \s is a literal, where PCRE2 would
            // refuse the range.
            const bool beforeClassEscape =
                i + 2 < p.size() && p[i + 1] == '\\' && IsClassEscapeLetter(p[i + 2]);
            if (afterClassEscape || beforeClassEscape)
                out += "\\-";
            else
                out += c;
        } else if (c == '[') {
            out += "\\["; // no POSIX classes such as [:alpha:]
        } else {
            out += c;
        }
        afterClassEscape = false;
    }
    return 0;
}

} // namespace

int CountGroups(std::string_view p)
{
    int n = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '\\') {
            ++i;
        } else if (c == '[') {
            if (i + 1 < p.size() && p[i + 1] == '^')
                ++i;
            if (i + 1 < p.size() && p[i + 1] == ']') {
                ++i;
                continue;
            }
            for (++i; i < p.size() && p[i] != ']'; ++i)
                if (p[i] == '\\')
                    ++i;
        } else if (c == '(' && (i + 1 >= p.size() || p[i + 1] != '?')) {
            ++n;
        }
    }
    return n;
}

std::int32_t TranslatePattern(std::string_view p, std::string &out)
{
    out.clear();
    out.reserve(p.size() + p.size() / 4);
    const int groups = CountGroups(p);
    // What a quantifier may follow: nothing (pattern start, "(", "|", an
    // assertion), an atom, a quantifier (which "?" makes lazy), or a lazy one.
    enum class Prev { None, Atom, Quantifier, Lazy } prev = Prev::None;
    auto quantifier = [&](std::string_view text) -> std::int32_t {
        if (prev == Prev::Atom) {
            prev = Prev::Quantifier;
        } else if (prev == Prev::Quantifier && text == "?") {
            prev = Prev::Lazy;
        } else {
            return E_REGEXP_QUANTIFIER;
        }
        out += text;
        return 0;
    };
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        std::int32_t err = 0;
        switch (c) {
        case '\\': {
            Piece piece;
            err = Escape(p, i, false, groups, out, piece);
            prev = piece == Piece::Assertion ? Prev::None : Prev::Atom;
            break;
        }
        case '[':
            err = Class(p, i, groups, out);
            prev = Prev::Atom;
            break;
        case '(':
            if (i + 1 < p.size() && p[i + 1] == '?') {
                // Only (?: (?= (?! exist; PCRE2's other (? forms are refused.
                if (i + 2 >= p.size() || (p[i + 2] != ':' && p[i + 2] != '=' && p[i + 2] != '!'))
                    return E_REGEXP_SYNTAX;
                out.append(p.substr(i, 3));
                i += 2;
            } else {
                out += c;
            }
            prev = Prev::None;
            break;
        case ')':
            out += c;
            prev = Prev::Atom;
            break;
        case '|':
            out += c;
            prev = Prev::None;
            break;
        case '^':
        case '$':
            out += c;
            prev = Prev::None;
            break;
        case '*':
        case '+':
        case '?':
            err = quantifier(p.substr(i, 1));
            break;
        case '{': {
            const std::size_t len = QuantifierLength(p, i);
            if (len == 0) {
                out += "\\{";
                prev = Prev::Atom;
            } else {
                err = quantifier(p.substr(i, len));
                i += len - 1;
            }
            break;
        }
        case '}':
        case ']':
            out += '\\';
            out += c;
            prev = Prev::Atom;
            break;
        case '.':
            out += kWholeCharacter;
            out += "[^\\n\\r])";
            prev = Prev::Atom;
            break;
        default:
            if (const std::size_t n = Utf8Length(p, i)) {
                // One character of several bytes: a quantifier takes all of them.
                out += "(?:";
                out.append(p.substr(i, n));
                out += ')';
                i += n - 1;
            } else {
                out += c;
            }
            prev = Prev::Atom;
            break;
        }
        if (err)
            return err;
    }
    return 0;
}

} // namespace kalvion::vbs
