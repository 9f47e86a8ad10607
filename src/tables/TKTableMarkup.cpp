// Expansion of table markup: repeated passes, each replacing the first tag
// of the text by its value, until nothing changes.
#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "tables/ClassTKTable.h"
#include "tables/TKTableText.h"
#include "science/CalcExpress.h"
#include "science/Dice.h"

#include <algorithm>

namespace kalvion {

namespace {

struct TDepthGuard {
    std::int32_t &Depth;
    explicit TDepthGuard(std::int32_t &depth) : Depth(depth) { ++Depth; }
    ~TDepthGuard() { --Depth; }
};

bool StartsWithText(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimLeftView(std::string_view s) noexcept
{
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32)
        ++i;
    return s.substr(i);
}

// The opening of the first tag of text: its kind and length.
std::size_t OpeningLength(std::int32_t kind, std::string_view text) noexcept
{
    switch (kind) {
    case TK_TAG_WHEN:
        return StartsWithText(text, "[when]") ? 6 : 10;
    case TK_TAG_DICE:
    case TK_TAG_LITERAL:
        return 1;
    default:
        return 2;
    }
}

// Line breaks inside one pick result travel as "\n" until the results are
// joined, so list filters see one line per pick.
std::string BreaksToEscapes(std::string_view text)
{
    if (text.find_first_of("\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.append("\\n");
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string EscapesToBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 'n')
                out.append(TK_NEWLINE);
            else
                out.append(text.substr(i, 2));
            ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

// "name==rest" stores silently, "name=rest" stores and yields; the name is
// taken as written, lower-cased.
struct TAssignment {
    bool Assign = false;
    bool Silent = false;
    std::string Name;
    std::string_view Rest;
};

TAssignment ParseAssignment(std::string_view body)
{
    TAssignment a;
    a.Rest = body;
    std::int32_t p = PosEsc("==", body);
    std::size_t len = 2;
    if (p >= 0) {
        a.Silent = true;
    } else {
        p = PosEsc("=", body);
        len = 1;
    }
    if (p < 0)
        return a;
    a.Assign = true;
    a.Name = AsciiLower(body.substr(0, static_cast<std::size_t>(p)));
    a.Rest = body.substr(static_cast<std::size_t>(p) + len);
    return a;
}

// Parameters are split at commas outside square brackets.
void SplitParameters(std::string_view text, std::vector<std::string> &out)
{
    out.clear();
    std::int32_t depth = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++i;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            if (depth > 0)
                --depth;
        } else if (c == ',' && depth == 0) {
            out.push_back(Trim(text.substr(from, i - from)));
            from = i + 1;
        }
    }
    out.push_back(Trim(text.substr(from)));
}

void AppendBounded(std::string &out, std::string_view piece)
{
    if (out.size() >= TK_MAX_TEXT_LEN)
        return;
    out.append(piece.substr(0, TK_MAX_TEXT_LEN - out.size()));
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        const std::size_t from = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i > from)
            words.push_back(text.substr(from, i - from));
    }
    return words;
}

std::int32_t WordInt(const std::vector<std::string_view> &words, std::size_t index, std::int32_t def)
{
    if (index >= words.size())
        return def;
    if (auto v = ParseInt32(words[index]))
        return *v;
    return def;
}

bool IsLetter(char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

} // namespace

std::int32_t TTKTableApplication::GetTKTag(std::string_view text) noexcept
{
    if (text.empty())
        return TK_TAG_NONE;
    const char second = text.size() > 1 ? text[1] : '\0';
    if (text[0] == '[') {
        switch (second) {
        case '@': return TK_TAG_SUBTABLE;
        case '#': return TK_TAG_NUMPICK;
        case '!': return TK_TAG_DECKPICK;
        case '|': return TK_TAG_INLINE;
        case 'w':
        case 'W':
            if (StartsWithText(text, "[when]") || StartsWithText(text, "[when not]"))
                return TK_TAG_WHEN;
            return TK_TAG_LITERAL;
        default: return TK_TAG_LITERAL;
        }
    }
    if (text[0] == '{') {
        if (second == '$')
            return TK_TAG_VAR;
        if (second == '!')
            return TK_TAG_MATH;
        return TK_TAG_DICE;
    }
    return TK_TAG_NONE;
}

std::string TTKTableApplication::ProcessLine(std::string_view text, std::int32_t roll)
{
    if (text.empty())
        return {};
    if (text.size() > static_cast<std::size_t>(TK_MAKE_LINELEN) || FLineDepth >= TK_MAX_LINE_DEPTH)
        return std::string(text);
    if (FLineDepth == 0 && !FInGeneration)
        StartWork();
    TDepthGuard guard(FLineDepth);

    std::string s(text);
    for (std::int32_t pass = 0; pass < TK_MAX_PASSES; ++pass) {
        if (s.size() > TK_MAX_TEXT_LEN || !Spend(1 + static_cast<std::int64_t>(s.size() / 1024)))
            break;
        if (!ExpandFirstTag(s, roll))
            break;
    }
    if (s.find('\\') != std::string::npos)
        return ProcessEscapes(s);
    return s;
}

bool TTKTableApplication::ExpandFirstTag(std::string &s, std::int32_t roll)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c != '[' && c != '{')
            continue;
        const std::string_view rest = std::string_view(s).substr(i);
        const std::int32_t kind = GetTKTag(rest);
        const std::size_t open = OpeningLength(kind, rest);
        std::string_view opener = "[", closer = "]";
        if (kind == TK_TAG_WHEN) {
            opener = "[when]";
            closer = "[end]";
        } else if (c == '{') {
            opener = "{";
            closer = "}";
        }
        const std::int32_t close = FindClose(s, static_cast<std::int32_t>(i + open), opener, closer);
        // A tag without its closing mark stays as written; later tags of the
        // text are still expanded.
        if (close < 0) {
            // The failed scan read to the end of the text; pay for it, so a
            // text full of unclosed openings cannot take quadratic time.
            if (!Spend(1 + static_cast<std::int64_t>((s.size() - i) / 1024)))
                return false;
            continue;
        }
        const std::size_t end = static_cast<std::size_t>(close) + closer.size();
        const std::string inner = s.substr(i + open, static_cast<std::size_t>(close) - (i + open));
        // A condition is split before anything in it is expanded, so the
        // branches stay intact and only the branch chosen is expanded.
        const std::string value =
            kind == TK_TAG_WHEN ? ProcessWhen(open == 6, inner, roll) : TagValue(kind, inner, roll);
        if (std::string_view(s).substr(i, end - i) == value)
            return false;
        s.replace(i, end - i, value);
        return true;
    }
    return false;
}

std::string TTKTableApplication::TagValue(std::int32_t kind, std::string_view inner, std::int32_t roll)
{
    const std::string body = ProcessLine(inner, roll);
    switch (kind) {
    case TK_TAG_SUBTABLE:
    case TK_TAG_NUMPICK:
    case TK_TAG_DECKPICK:
        return PickTagValue(kind, body, roll);
    case TK_TAG_INLINE:
        return InlineValue(body, roll);
    case TK_TAG_VAR:
        return GetVar(body);
    case TK_TAG_MATH:
        return MathValue(body);
    case TK_TAG_DICE: {
        std::int32_t value = 0;
        return TKEvalDice(body, value) ? std::to_string(value) : std::string();
    }
    default:
        return LiteralValue(body, roll);
    }
}

std::string TTKTableApplication::ProcessAAn(std::string_view text) const
{
    // The same rule ProcessLine applies after its passes, for hosts that
    // build their texts themselves.
    return ResolveArticles(text);
}

std::string TTKTableApplication::ProcessWhen(bool positive, std::string_view text, std::int32_t roll)
{
    std::string condition, yes, no;
    if (!SplitTags(text, condition, yes, no))
        return "(invalid conditional)";
    bool truth = EvalConditional(ProcessLine(condition, roll));
    if (!positive)
        truth = !truth;
    return ProcessLine(truth ? yes : no, roll);
}

std::string TTKTableApplication::PickTagValue(std::int32_t kind, std::string_view body, std::int32_t roll)
{
    const TAssignment a = ParseAssignment(body);
    std::string expression(a.Rest);

    const std::int32_t with = PosEsc(" with ", expression);
    if (with >= 0) {
        std::string params = expression.substr(static_cast<std::size_t>(with) + 6);
        expression.resize(static_cast<std::size_t>(with));
        // Filters after the parameters belong to the table expression.
        const std::int32_t filters = PosEsc(">>", params);
        if (filters >= 0) {
            expression += params.substr(static_cast<std::size_t>(filters));
            params.resize(static_cast<std::size_t>(filters));
        }
        std::vector<std::string> list;
        SplitParameters(params, list);
        for (std::size_t k = 0; k < list.size(); ++k)
            SetVar(std::to_string(k + 1), ProcessLine(list[k], roll));
    }

    std::string_view expr = TrimLeftView(expression);
    std::int32_t count = 1;
    bool haveNumber = false;
    const std::int32_t space = PosEsc(" ", expr);
    if (space > 0)
        if (auto n = ParseInt32(expr.substr(0, static_cast<std::size_t>(space)))) {
            count = *n;
            haveNumber = true;
            expr = expr.substr(static_cast<std::size_t>(space) + 1);
        }

    std::string result;
    if (kind == TK_TAG_NUMPICK) {
        const std::int32_t lookup = haveNumber && count >= 1 ? count : roll;
        DoTablePick(true, false, result, expr, 1, false, lookup);
    } else {
        DoTablePick(false, kind == TK_TAG_DECKPICK, result, expr, count, false, roll);
    }
    if (!a.Assign)
        return result;
    SetVar(a.Name, result);
    return a.Silent ? std::string() : result;
}

void TTKTableApplication::DoTablePick(bool numberPick, bool deal, std::string &result, std::string_view expression,
                                      std::int32_t count, bool literal, std::int32_t roll)
{
    result.clear();
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (;;) {
        const std::int32_t p = PosEsc(">>", expression, static_cast<std::int32_t>(from));
        if (p < 0) {
            pieces.push_back(expression.substr(from));
            break;
        }
        pieces.push_back(expression.substr(from, static_cast<std::size_t>(p) - from));
        from = static_cast<std::size_t>(p) + 2;
    }
    const std::string_view name = TrimView(pieces.front());
    std::vector<std::string_view> filters;
    for (std::size_t k = 1; k < pieces.size(); ++k)
        filters.push_back(TrimLeftView(pieces[k]));

    std::vector<std::string> list;
    if (literal) {
        list.emplace_back(name);
    } else if (TTKTable *table = GetTableByName(name)) {
        count = std::min(count, TK_MAX_PICK_COUNT);
        std::size_t bytes = 0;
        for (std::int32_t k = 0; k < count; ++k) {
            // A table that picks from itself, directly or through others,
            // ends here with an empty pick instead of overflowing the stack.
            if (FPickDepth >= TK_MAX_NESTING || bytes > TK_MAX_TEXT_LEN || !Spend(1)) {
                list.emplace_back();
                break;
            }
            ShuffleForTable(*table);
            const std::string &text = numberPick ? table->GetItem(roll, false) : table->RandomPick(deal);
            TDepthGuard guard(FPickDepth);
            list.push_back(BreaksToEscapes(ProcessLine(text, table->LastRoll)));
            bytes += list.back().size();
            // Long results cost their copies and joins later on.
            Spend(static_cast<std::int64_t>(list.back().size() / 256));
        }
    } else {
        list.emplace_back("(missing)");
    }
    ApplyFilters(list, filters, result);
}

std::string TTKTableApplication::InlineValue(std::string_view body, std::int32_t roll)
{
    // Pieces after the first lose their leading blanks, the last one also
    // its trailing blanks.
    std::vector<std::string> pieces;
    std::string_view rest = body;
    for (;;) {
        const std::int32_t p = PosEsc("|", rest);
        if (p < 0) {
            pieces.emplace_back(rest);
            break;
        }
        pieces.emplace_back(rest.substr(0, static_cast<std::size_t>(p)));
        rest = TrimView(rest.substr(static_cast<std::size_t>(p) + 1));
    }
    const std::int32_t pick = RollDice(1, static_cast<std::int32_t>(pieces.size()), 0);
    return ProcessLine(pieces[static_cast<std::size_t>(pick - 1)], roll);
}

std::string TTKTableApplication::MathValue(std::string_view body)
{
    const TAssignment a = ParseAssignment(body);
    double value = 0;
    std::string message;
    std::string result;
    if (CalcExpression(a.Rest, value, message))
        result = CalcResultText(value);
    else {
        result.push_back('(');
        if (message.empty())
            result.append("Invalid expression: ").append(a.Rest);
        else
            result.append(message);
        result.push_back(')');
    }
    if (!a.Assign)
        return result;
    SetVar(a.Name, result);
    return a.Silent ? std::string() : result;
}

std::string TTKTableApplication::LiteralValue(std::string_view body, std::int32_t roll)
{
    const TAssignment a = ParseAssignment(body);
    std::string result;
    DoTablePick(false, false, result, a.Rest, 1, true, roll);
    if (!a.Assign)
        return result;
    SetVar(a.Name, result);
    return a.Silent ? std::string() : result;
}

// --- Filters -------------------------------------------------------------

void TTKTableApplication::ApplyFilters(std::vector<std::string> &list, const std::vector<std::string_view> &filters,
                                       std::string &result) const
{
    std::string separator;
    for (std::string_view f : filters) {
        if (StartsWithText(f, "implode")) {
            separator = Trim(f.substr(7));
            if (separator.empty())
                separator = ", ";
        } else if (StartsWithText(f, "sort")) {
            std::stable_sort(list.begin(), list.end(),
                             [](const std::string &x, const std::string &y) { return CompareText(x, y) < 0; });
        } else if (StartsWithText(f, "ltrim")) {
            for (auto &item : list)
                item = std::string(TrimLeftView(item));
        } else if (StartsWithText(f, "rtrim")) {
            for (auto &item : list) {
                while (!item.empty() && static_cast<unsigned char>(item.back()) <= 32)
                    item.pop_back();
            }
        } else if (StartsWithText(f, "trim")) {
            for (auto &item : list)
                item = Trim(item);
        }
    }
    std::string joined;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (k > 0)
            AppendBounded(joined, separator);
        AppendBounded(joined, list[k]);
    }
    result = EscapesToBreaks(joined);
    for (std::string_view f : filters)
        result = ApplyTextFilter(result, f);
}

std::string TTKTableApplication::ApplyTextFilter(std::string_view value, std::string_view f) const
{
    const bool html = Formatting != TK_FORMATTING_TEXT;
    if (StartsWithText(f, "upper"))
        return AsciiUpper(value);
    if (StartsWithText(f, "lower"))
        return AsciiLower(value);
    if (StartsWithText(f, "proper")) {
        std::string out(value);
        bool start = true;
        for (char &c : out) {
            if (IsLetter(c)) {
                if (start)
                    c = AsciiUpperChar(c);
                start = false;
            } else {
                start = !(IsDigit(c) || c == '\'' || c == '-');
            }
        }
        return out;
    }
    if (StartsWithText(f, "reverse"))
        return std::string(value.rbegin(), value.rend());
    if (StartsWithText(f, "left"))
        return ProcessFilterLeft(value, f);
    if (StartsWithText(f, "right"))
        return ProcessFilterRight(value, f);
    if (StartsWithText(f, "substr"))
        return ProcessFilterSubstr(value, f);
    if (StartsWithText(f, "length"))
        return std::to_string(value.size());
    if (StartsWithText(f, "at"))
        return ProcessFilterAt(value, f);
    if (StartsWithText(f, "replace"))
        return ProcessFilterReplace(value, f);
    if (StartsWithText(f, "bold"))
        return html ? "<b>" + std::string(value) + "</b>" : AsciiUpper(value);
    if (StartsWithText(f, "underline"))
        return html ? "<u>" + std::string(value) + "</u>" : "\"" + std::string(value) + "\"";
    if (StartsWithText(f, "italic"))
        return html ? "<i>" + std::string(value) + "</i>" : "*" + std::string(value) + "*";
    return std::string(value);
}

std::string TTKTableApplication::ProcessFilterLeft(std::string_view value, std::string_view filter) const
{
    const std::int32_t n = WordInt(Words(filter), 1, 1);
    if (n <= 0)
        return {};
    return std::string(value.substr(0, static_cast<std::size_t>(n)));
}

std::string TTKTableApplication::ProcessFilterRight(std::string_view value, std::string_view filter) const
{
    const std::int32_t n = WordInt(Words(filter), 1, 1);
    if (n <= 0)
        return {};
    const std::size_t take = std::min(value.size(), static_cast<std::size_t>(n));
    return std::string(value.substr(value.size() - take));
}

std::string TTKTableApplication::ProcessFilterSubstr(std::string_view value, std::string_view filter) const
{
    const auto words = Words(filter);
    const std::int32_t start = WordInt(words, 1, 1);
    const std::int32_t length = WordInt(words, 2, 1);
    if (start <= 0 || length < 0 || static_cast<std::size_t>(start) > value.size())
        return {};
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    return std::string(length == 0 ? value.substr(from) : value.substr(from, static_cast<std::size_t>(length)));
}

std::string TTKTableApplication::ProcessFilterAt(std::string_view value, std::string_view filter) const
{
    const std::string what = Trim(filter.substr(std::min<std::size_t>(2, filter.size())));
    if (what.empty())
        return "0";
    const std::size_t p = value.find(what);
    return p == std::string_view::npos ? "0" : std::to_string(p + 1);
}

std::string TTKTableApplication::ProcessFilterReplace(std::string_view value, std::string_view filter) const
{
    // replace /old/new/ : "\/" inside old stands for "/".  A malformed filter
    // leaves the value as it is.
    const std::string_view replaceArgs = TrimView(filter.substr(std::min<std::size_t>(7, filter.size())));
    if (replaceArgs.empty() || replaceArgs.front() != '/')
        return std::string(value);
    const std::int32_t mid = PosEsc("/", replaceArgs, 1);
    if (mid < 0)
        return std::string(value);
    const std::int32_t last = PosEsc("/", replaceArgs, mid + 1);
    if (last < 0)
        return std::string(value);
    std::string oldText;
    const std::string_view rawOld = replaceArgs.substr(1, static_cast<std::size_t>(mid) - 1);
    for (std::size_t i = 0; i < rawOld.size(); ++i) {
        if (rawOld[i] == '\\' && i + 1 < rawOld.size() && rawOld[i + 1] == '/')
            ++i;
        oldText.push_back(rawOld[i]);
    }
    const std::string_view newText = replaceArgs.substr(static_cast<std::size_t>(mid) + 1,
                                                 static_cast<std::size_t>(last - mid - 1));
    if (oldText.empty())
        return std::string(value);
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t p = value.find(oldText, from);
        if (p == std::string_view::npos || out.size() > TK_MAX_TEXT_LEN) {
            out.append(value.substr(from));
            return out;
        }
        out.append(value.substr(from, p - from));
        out.append(newText);
        from = p + oldText.size();
    }
}

} // namespace kalvion
