#include "scripting/vbs/Lexer.h"

#include "base/AsciiText.h"
#include "scripting/vbs/Convert.h"
#include "scripting/vbs/Errors.h"
#include "scripting/vbs/Variant.h"

#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace kalvion::vbs {

namespace {

struct KwInfo {
    Kw K;
    bool Reserved;
};

const std::unordered_map<std::string, KwInfo> &Keywords()
{
    static const std::unordered_map<std::string, KwInfo> m = {
        {"and", {KW_AND, true}}, {"byref", {KW_BYREF, true}}, {"byval", {KW_BYVAL, true}},
        {"call", {KW_CALL, true}}, {"case", {KW_CASE, true}}, {"class", {KW_CLASS, true}},
        {"const", {KW_CONST, true}}, {"dim", {KW_DIM, true}}, {"do", {KW_DO, true}},
        {"each", {KW_EACH, false}}, {"else", {KW_ELSE, true}}, {"elseif", {KW_ELSEIF, true}},
        {"empty", {KW_EMPTY, true}}, {"end", {KW_END, true}}, {"eqv", {KW_EQV, true}},
        {"erase", {KW_ERASE, true}}, {"error", {KW_ERROR, false}}, {"exit", {KW_EXIT, true}},
        {"explicit", {KW_EXPLICIT, false}}, {"false", {KW_FALSE, true}}, {"for", {KW_FOR, true}},
        {"function", {KW_FUNCTION, true}}, {"get", {KW_GET, false}}, {"goto", {KW_GOTO, true}},
        {"if", {KW_IF, true}}, {"imp", {KW_IMP, true}}, {"in", {KW_IN, true}}, {"is", {KW_IS, true}},
        {"let", {KW_LET, false}}, {"loop", {KW_LOOP, true}}, {"me", {KW_ME, true}}, {"mod", {KW_MOD, true}},
        {"new", {KW_NEW, true}}, {"next", {KW_NEXT, true}}, {"not", {KW_NOT, true}},
        {"nothing", {KW_NOTHING, true}}, {"null", {KW_NULL, true}}, {"on", {KW_ON, true}},
        {"option", {KW_OPTION, true}}, {"or", {KW_OR, true}}, {"preserve", {KW_PRESERVE, false}},
        {"private", {KW_PRIVATE, true}}, {"property", {KW_PROPERTY, false}}, {"public", {KW_PUBLIC, true}},
        {"redim", {KW_REDIM, true}}, {"resume", {KW_RESUME, false}}, {"select", {KW_SELECT, true}},
        {"set", {KW_SET, true}}, {"step", {KW_STEP, false}}, {"stop", {KW_STOP, true}}, {"sub", {KW_SUB, true}},
        {"then", {KW_THEN, true}}, {"to", {KW_TO, true}}, {"true", {KW_TRUE, true}},
        {"until", {KW_UNTIL, true}}, {"wend", {KW_WEND, true}}, {"while", {KW_WHILE, true}},
        {"with", {KW_WITH, true}}, {"xor", {KW_XOR, true}}, {"default", {KW_DEFAULT, false}},
    };
    return m;
}

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void Fail(std::int32_t code, int line, int col)
{
    ScriptError e(code);
    e.Line = line;
    e.Column = col;
    throw e;
}

} // namespace

std::vector<Token> Tokenize(std::string_view text)
{
    std::vector<Token> out;
    std::size_t i = 0;
    int line = 0;
    std::size_t lineStart = 0;
    const std::size_t n = text.size();
    auto col = [&](std::size_t p) { return static_cast<int>(p - lineStart); };
    auto push = [&](Tok t, std::size_t start) -> Token & {
        const bool space = start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t');
        out.emplace_back();
        out.back().SpaceBefore = space;
        out.back().Type = t;
        out.back().Line = line;
        out.back().Col = col(start);
        return out.back();
    };
    auto newline = [&](std::size_t start) {
        if (out.empty() || out.back().Type != Tok::Newline)
            push(Tok::Newline, start);
    };

    while (i < n) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == 0) {
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            newline(i);
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
                ++i;
            ++i;
            ++line;
            lineStart = i;
            continue;
        }
        if (c == '\'') {
            while (i < n && text[i] != '\r' && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == ':') {
            push(Tok::Colon, i);
            ++i;
            continue;
        }
        if (c == '_' && (i + 1 >= n || !IsIdentChar(text[i + 1]))) {
            // A continuation: only blanks may follow on the line.
            std::size_t j = i + 1;
            while (j < n && (text[j] == ' ' || text[j] == '\t'))
                ++j;
            if (j < n && text[j] != '\r' && text[j] != '\n')
                Fail(S_INVALID_CHAR, line, col(i));
            if (j < n && text[j] == '\r' && j + 1 < n && text[j + 1] == '\n')
                ++j;
            i = j + 1;
            ++line;
            lineStart = i;
            continue;
        }
        if (c == '"') {
            const std::size_t start = i;
            std::string s;
            ++i;
            for (;;) {
                if (i >= n || text[i] == '\r' || text[i] == '\n')
                    Fail(S_UNTERMINATED_STRING, line, col(start));
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        s += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                s += text[i++];
            }
            push(Tok::String, start).Text = std::move(s);
            continue;
        }
        if (c == '#') {
            const std::size_t start = i;
            std::size_t j = i + 1;
            while (j < n && text[j] != '#' && text[j] != '\r' && text[j] != '\n')
                ++j;
            if (j >= n || text[j] != '#')
                Fail(S_SYNTAX, line, col(start));
            auto d = ParseDateText(text.substr(i + 1, j - i - 1));
            if (!d)
                Fail(S_SYNTAX, line, col(start));
            Token &t = push(Tok::Date, start);
            t.Num = *d;
            i = j + 1;
            continue;
        }
        if (IsIdentStart(c) || c == '[') {
            const std::size_t start = i;
            std::string name;
            if (c == '[') {
                std::size_t j = i + 1;
                while (j < n && text[j] != ']' && text[j] != '\r' && text[j] != '\n')
                    ++j;
                if (j >= n || text[j] != ']')
                    Fail(S_INVALID_CHAR, line, col(start));
                name.assign(text.substr(i + 1, j - i - 1));
                i = j + 1;
            } else {
                while (i < n && IsIdentChar(text[i]))
                    ++i;
                name.assign(text.substr(start, i - start));
            }
            if (name.size() > 255)
                Fail(S_IDENT_TOO_LONG, line, col(start));
            const std::string lower = AsciiLower(name);
            // "o.rem" names a member; only a free-standing Rem starts a comment.
            const bool afterDot = start > 0 && text[start - 1] == '.' && !out.empty() && out.back().Type == Tok::Op &&
                                  out.back().Text == ".";
            if (c != '[' && lower == "rem" && !afterDot && (i >= n || !IsIdentChar(text[i]))) {
                while (i < n && text[i] != '\r' && text[i] != '\n')
                    ++i;
                continue;
            }
            Token &t = push(Tok::Ident, start);
            t.Text = std::move(name);
            if (c != '[') {
                auto it = Keywords().find(lower);
                if (it != Keywords().end()) {
                    t.Keyword = it->second.K;
                    t.Reserved = it->second.Reserved;
                }
            }
            continue;
        }
        if (IsDigit(c) || (c == '.' && i + 1 < n && IsDigit(text[i + 1]) &&
                           (out.empty() || out.back().Type == Tok::Op || out.back().Type == Tok::Newline ||
                            out.back().Type == Tok::Colon || (i > 0 && (text[i - 1] == ' ' || text[i - 1] == '\t'))))) {
            const std::size_t start = i;
            bool isFloat = false;
            while (i < n && IsDigit(text[i]))
                ++i;
            if (i < n && text[i] == '.') {
                isFloat = true;
                ++i;
                while (i < n && IsDigit(text[i]))
                    ++i;
            }
            if (i < n && (text[i] == 'e' || text[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (text[j] == '+' || text[j] == '-'))
                    ++j;
                if (j < n && IsDigit(text[j])) {
                    isFloat = true;
                    i = j;
                    while (i < n && IsDigit(text[i]))
                        ++i;
                }
            }
            if (i < n && IsIdentStart(text[i]))
                Fail(S_EXPECTED_EOS, line, col(i));
            std::string lit(text.substr(start, i - start));
            Token &t = push(Tok::Number, start);
            const double v = std::strtod(lit.c_str(), nullptr);
            if (!std::isfinite(v))
                Fail(S_INVALID_NUMBER, line, col(start));
            t.Num = v;
            if (!isFloat && v <= 32767)
                t.NumType = VT_I2;
            else if (!isFloat && v <= 2147483647.0)
                t.NumType = VT_I4;
            else
                t.NumType = VT_R8;
            continue;
        }
        // "&h" or "&o" with no digit after it is the concatenation operator
        // before a name ("x" &hi).
        auto radixDigits = [&](std::size_t k) {
            const char r = text[k + 1];
            if (IsDigit(r))
                return true;
            const char d = k + 2 < n ? text[k + 2] : '\0';
            if (r == 'o' || r == 'O')
                return d >= '0' && d <= '7';
            return IsDigit(d) || (d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F');
        };
        if (c == '&' && i + 1 < n &&
            (text[i + 1] == 'h' || text[i + 1] == 'H' || text[i + 1] == 'o' || text[i + 1] == 'O' || IsDigit(text[i + 1])) &&
            radixDigits(i)) {
            const std::size_t start = i;
            int base = 8;
            i += 1;
            if (text[i] == 'h' || text[i] == 'H') {
                base = 16;
                ++i;
            } else if (text[i] == 'o' || text[i] == 'O') {
                ++i;
            }
            std::uint64_t v = 0;
            std::size_t digits = 0;
            while (i < n) {
                const char d = text[i];
                int dv;
                if (IsDigit(d))
                    dv = d - '0';
                else if (base == 16 && d >= 'a' && d <= 'f')
                    dv = d - 'a' + 10;
                else if (base == 16 && d >= 'A' && d <= 'F')
                    dv = d - 'A' + 10;
                else
                    break;
                if (dv >= base)
                    Fail(S_SYNTAX, line, col(i));
                v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(dv);
                if (v > 0xFFFFFFFFull)
                    Fail(S_INVALID_NUMBER, line, col(start));
                ++i;
                ++digits;
            }
            if (digits == 0)
                Fail(S_SYNTAX, line, col(start));
            bool forceLong = false;
            if (i < n && text[i] == '&') {
                forceLong = true;
                ++i;
            }
            Token &t = push(Tok::Number, start);
            // Without the "&" suffix four hex digits are a 16-bit value
            // (&hFFFF is -1); with it the digits are a 32-bit value.  Either
            // way the literal takes the smallest subtype that holds it.
            const std::int32_t value = v <= 0xFFFF && !forceLong
                                           ? static_cast<std::int16_t>(static_cast<std::uint16_t>(v))
                                           : static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
            t.Num = value;
            t.NumType = value >= -32768 && value <= 32767 ? VT_I2 : VT_I4;
            continue;
        }
        const std::size_t start = i;
        std::string op(1, c);
        switch (c) {
        case '<':
            if (i + 1 < n && (text[i + 1] == '=' || text[i + 1] == '>'))
                op += text[++i];
            break;
        case '>':
            if (i + 1 < n && text[i + 1] == '=')
                op += text[++i];
            else if (i + 1 < n && text[i + 1] == '<') { // "><" is "<>"
                op = "<>";
                ++i;
            }
            break;
        case '=':
            // "=>" and "=<" are the same as ">=" and "<=".
            if (i + 1 < n && (text[i + 1] == '>' || text[i + 1] == '<')) {
                op = text[i + 1] == '>' ? ">=" : "<=";
                ++i;
            }
            break;
        case '+': case '-': case '*': case '/': case '\\': case '^': case '&': case '(': case ')':
        case ',': case '.':
            break;
        default:
            Fail(S_INVALID_CHAR, line, col(i));
        }
        ++i;
        push(Tok::Op, start).Text = std::move(op);
    }
    newline(n);
    push(Tok::End, n);
    return out;
}

} // namespace kalvion::vbs
