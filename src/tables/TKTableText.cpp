#include "tables/TKTableText.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "tables/TKTableConst.h"
#include "science/CalcExpress.h"
#include "science/Dice.h"

#include <limits>
#include <mutex>

namespace kalvion {

namespace {

std::mutex gLastErrorLock;
std::string gLastError;

bool MatchAt(std::string_view text, std::size_t i, std::string_view what, bool ignoreCase) noexcept
{
    if (what.empty() || i + what.size() > text.size())
        return false;
    const std::string_view part = text.substr(i, what.size());
    return ignoreCase ? SameText(part, what) : part == what;
}

std::int32_t PosEscImpl(std::string_view what, std::string_view text, std::int32_t start, bool ignoreCase) noexcept
{
    if (what.empty() || start < 0)
        return -1;
    // Only a position holding the first character can match: the others
    // are passed without a comparison.
    const char first = ignoreCase ? AsciiLowerChar(what[0]) : what[0];
    for (std::size_t i = static_cast<std::size_t>(start); i < text.size();) {
        if (text[i] == '\\') {
            i += 2;
            continue;
        }
        if ((ignoreCase ? AsciiLowerChar(text[i]) : text[i]) == first && MatchAt(text, i, what, ignoreCase))
            return static_cast<std::int32_t>(i);
        ++i;
    }
    return -1;
}

// Length of a "[when]" or "[when not]" opening at i, 0 when there is none.
std::size_t WhenOpenAt(std::string_view text, std::size_t i) noexcept
{
    if (MatchAt(text, i, "[when]", true))
        return 6;
    if (MatchAt(text, i, "[when not]", true))
        return 10;
    return 0;
}

void SplitImpl(std::string_view text, std::string_view separator, std::vector<std::string> &list, bool escaped)
{
    list.clear();
    if (separator.empty()) {
        list.push_back(Trim(text));
        return;
    }
    std::size_t from = 0;
    for (;;) {
        std::int32_t p = escaped ? PosEsc(separator, text, static_cast<std::int32_t>(from))
                                 : static_cast<std::int32_t>(text.find(separator, from));
        if (p < 0 || static_cast<std::size_t>(p) == std::string_view::npos) {
            list.push_back(Trim(text.substr(from)));
            return;
        }
        list.push_back(Trim(text.substr(from, static_cast<std::size_t>(p) - from)));
        from = static_cast<std::size_t>(p) + separator.size();
    }
}

bool StartsWithText(std::string_view word, std::string_view prefix) noexcept
{
    return word.size() >= prefix.size() && SameText(word.substr(0, prefix.size()), prefix);
}

} // namespace

std::string TKLastError()
{
    std::lock_guard<std::mutex> lock(gLastErrorLock);
    return gLastError;
}

void SetTKLastError(std::string text)
{
    std::lock_guard<std::mutex> lock(gLastErrorLock);
    gLastError = std::move(text);
}

std::int32_t PosEsc(std::string_view what, std::string_view text, std::int32_t start) noexcept
{
    return PosEscImpl(what, text, start, false);
}

std::int32_t PosEscText(std::string_view what, std::string_view text, std::int32_t start) noexcept
{
    return PosEscImpl(what, text, start, true);
}

std::string UnEsc(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            if (++i < text.size())
                out.push_back(text[i]);
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

std::int32_t FindClose(std::string_view text, std::int32_t start, std::string_view opener,
                       std::string_view closer) noexcept
{
    if (start < 0 || closer.empty())
        return -1;
    const bool whenScan = SameText(closer, "[end]");
    // Characters that can start the closer or an opener; the rest are passed
    // without a comparison.
    const char closeFirst = whenScan ? '[' : closer[0];
    const char openFirst = whenScan ? '[' : (opener.empty() ? closer[0] : opener[0]);
    std::int32_t depth = 0;
    for (std::size_t i = static_cast<std::size_t>(start); i < text.size();) {
        if (text[i] == '\\') {
            i += 2;
            continue;
        }
        if (text[i] != closeFirst && text[i] != openFirst) {
            ++i;
            continue;
        }
        if (MatchAt(text, i, closer, whenScan)) {
            if (depth == 0)
                return static_cast<std::int32_t>(i);
            --depth;
            i += closer.size();
            continue;
        }
        const std::size_t openLen = whenScan ? WhenOpenAt(text, i) : (MatchAt(text, i, opener, false) ? opener.size() : 0);
        if (openLen > 0) {
            ++depth;
            i += openLen;
            continue;
        }
        ++i;
    }
    return -1;
}

std::string ExtractTKTag(std::string_view text, std::string_view open, std::string_view close)
{
    const std::size_t a = text.find(open);
    if (a == std::string_view::npos)
        return {};
    const std::size_t from = a + open.size();
    const std::size_t b = text.find(close, from);
    if (b == std::string_view::npos)
        return {};
    return std::string(text.substr(from, b - from));
}

bool SplitAtTag(std::string_view text, std::string_view separator, std::string &left, std::string &right)
{
    const std::int32_t p = PosEsc(separator, text);
    if (p < 0) {
        left.assign(text);
        right.clear();
        return false;
    }
    left.assign(text.substr(0, static_cast<std::size_t>(p)));
    right.assign(text.substr(static_cast<std::size_t>(p) + separator.size()));
    return true;
}

bool SplitTags(std::string_view text, std::string &condition, std::string &yes, std::string &no)
{
    // Splitting before anything is expanded keeps nested conditions and the
    // branches intact; only separators at depth 0 count.
    std::int32_t doPos = -1, elsePos = -1;
    std::int32_t depth = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\\') {
            i += 2;
            continue;
        }
        if (text[i] != '[') { // every tag this looks for opens with one
            ++i;
            continue;
        }
        if (const std::size_t w = WhenOpenAt(text, i)) {
            ++depth;
            i += w;
            continue;
        }
        if (MatchAt(text, i, "[end]", true)) {
            if (depth > 0)
                --depth;
            i += 5;
            continue;
        }
        if (depth == 0) {
            if (doPos < 0 && MatchAt(text, i, "[do]", true)) {
                doPos = static_cast<std::int32_t>(i);
                i += 4;
                continue;
            }
            if (doPos >= 0 && MatchAt(text, i, "[else]", true)) {
                elsePos = static_cast<std::int32_t>(i);
                break;
            }
        }
        ++i;
    }
    if (doPos < 0) {
        condition.assign(text);
        yes.clear();
        no.clear();
        return false;
    }
    const std::size_t d = static_cast<std::size_t>(doPos);
    condition.assign(text.substr(0, d));
    if (elsePos < 0) {
        yes.assign(text.substr(d + 4));
        no.clear();
    } else {
        const std::size_t e = static_cast<std::size_t>(elsePos);
        yes.assign(text.substr(d + 4, e - d - 4));
        no.assign(text.substr(e + 6));
    }
    return true;
}

void SplitToList(std::string_view text, std::string_view separator, std::vector<std::string> &list)
{
    SplitImpl(text, separator, list, false);
}

void SplitEsc(std::string_view text, std::string_view separator, std::vector<std::string> &list)
{
    SplitImpl(text, separator, list, true);
}

bool EvalConditional(std::string_view text)
{
    const std::string_view cond = TrimView(text);
    if (cond.empty())
        return false;
    static constexpr std::string_view kOps[] = {"<>", ">", "<", "="};
    for (std::string_view op : kOps) {
        const std::int32_t p = PosEsc(op, cond);
        if (p < 0)
            continue;
        const std::string_view left = TrimView(cond.substr(0, static_cast<std::size_t>(p)));
        const std::string_view right = TrimView(cond.substr(static_cast<std::size_t>(p) + op.size()));
        int cmp;
        const auto a = ParseDouble(left);
        const auto b = ParseDouble(right);
        if (a && b)
            cmp = *a < *b ? -1 : (*a > *b ? 1 : 0);
        else
            cmp = CompareStr(left, right);
        if (op == "<>")
            return cmp != 0;
        if (op == ">")
            return cmp > 0;
        if (op == "<")
            return cmp < 0;
        return cmp == 0;
    }
    return true;
}

bool TKEvalDice(std::string_view text, std::int32_t &value)
{
    value = 0;
    // The dice count is what costs time; read it the way EvalDice will
    // (letters folded, only digits, "d" and operators kept) before rolling.
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        const char lc = AsciiLowerChar(c);
        if ((lc >= '0' && lc <= '9') || lc == 'd' || lc == '+' || lc == '-' || lc == '*' || lc == '/')
            kept.push_back(lc);
    }
    const std::size_t d = kept.find('d');
    if (d != std::string::npos) {
        const auto count = ParseInt32(std::string_view(kept).substr(0, d));
        if (count && *count > TK_MAX_DICE_COUNT)
            return false;
    }
    try {
        value = EvalDice(kept);
    } catch (const std::exception &) {
        value = 0;
        return false;
    }
    return true;
}

bool FullEvalExpression(std::string_view text, double &value, std::string &message)
{
    value = 0;
    message.clear();
    if (text.find('d') != std::string_view::npos || text.find('D') != std::string_view::npos) {
        std::int32_t roll = 0;
        if (!TKEvalDice(text, roll)) {
            message = "(Invalid Dice Expression)";
            return false;
        }
        value = roll;
        return true;
    }
    return CalcExpression(text, value, message);
}

bool IsAAN_AN_Exception(std::string_view word) noexcept
{
    return StartsWithText(word, "hour");
}

bool IsAAN_A_Exception(std::string_view word) noexcept
{
    return StartsWithText(word, "union") || StartsWithText(word, "unive") || StartsWithText(word, "unico");
}

std::string ResolveArticles(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 16);
    std::int32_t done = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out.push_back(text[i++]);
            continue;
        }
        if (text[i + 1] != 'a' || done >= TK_MAX_AAN) {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        ++done;
        const std::string_view word = TrimView(text.substr(i + 2, 20)).substr(0, 10);
        bool an;
        if (!word.empty() && std::string_view("aeiouAEIOU").find(word[0]) != std::string_view::npos)
            an = !IsAAN_A_Exception(word);
        else
            an = IsAAN_AN_Exception(word);
        out.append(an ? "an" : "a");
        i += 2;
    }
    return out;
}

std::string ProcessEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out.push_back(text[i++]);
            continue;
        }
        switch (text[i + 1]) {
        case 'n': out.append(TK_NEWLINE); break;
        case 't': out.push_back('\t'); break;
        case 'z': break;
        case '_': out.push_back(' '); break;
        default: out.append(text.substr(i, 2)); break;
        }
        i += 2;
    }
    if (out.find("\\a") == std::string::npos)
        return out;
    return ResolveArticles(out);
}

} // namespace kalvion
