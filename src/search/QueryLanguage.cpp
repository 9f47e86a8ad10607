#include "search/QueryLanguage.h"

#include "base/AsciiText.h"
#include "base/NumberParse.h"
#include "model/BodyTypes.h"

#include <array>

namespace kalvion {

namespace {

const std::string kEmpty;

constexpr std::array<std::string_view, 8> kTextTerms = {
    "name", "idstring", "notes", "gmnotes", "political", "spectral", "atmnotes", "atmospherenotes"};

constexpr std::string_view kNumericTerms[] = {
    "distance", "radius", "density", "mass", "rotation", "luminosity", "albedo", "temp", "tempc",
    "water", "population", "childpopulation", "bodycount", "dsointensity", "x", "y", "z",
    "eccentricity", "inclination", "angleascendingnode", "angleperiapsis", "axialtilt", "timeoffset",
    "orbitalplanex", "orbitalplaney", "orbitalplanez", "gravity"};

bool IsComparison(std::string_view t) { return t == "=" || t == ">" || t == "<" || t == "<>"; }

// A token that cannot stand for a value: the end of the query or a comma.
bool MissingValue(std::string_view t) { return t.empty() || t == ","; }

} // namespace

bool IsNumericSearchTerm(std::string_view word)
{
    for (auto t : kNumericTerms)
        if (t == word)
            return true;
    return false;
}

bool IsTextSearchTerm(std::string_view word)
{
    for (auto t : kTextTerms)
        if (t == word)
            return true;
    return false;
}

void TVexaQueryLanguage::Clear()
{
    Tokens.clear();
    Params.clear();
    Columns.clear();
    ErrorText.clear();
    for (auto &t : RecentTokens)
        t.clear();
    WithinLY = 0;
    FirstCount = 0;
    OnRoute = false;
    PendingNot = false;
    VisibleOnly = false;
}

bool TVexaQueryLanguage::Tokenize(std::string_view text)
{
    // Lower-cased whole, so keywords, quoted texts and numbers all reach the
    // parser in lower case; matching downstream folds case the same way.
    std::string s = AsciiLower(text);
    const std::size_t n = s.size();
    s += "  ";  // lets the scan look one character ahead without a bounds test
    Tokens.clear();
    std::string buf;
    bool inQuotes = false;
    auto flush = [&] {
        std::string_view t = TrimView(buf);
        if (!t.empty())
            Tokens.emplace_back(t);
        buf.clear();
    };
    for (std::size_t i = 0; i < n; ++i) {
        char c = s[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < n && s[i + 1] == '"') {
                    buf += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                buf += c;
            }
            continue;
        }
        if (c == '\r' || c == '\n')
            c = ' ';
        if (c == '"') {
            inQuotes = true;
        } else if (c == ' ') {
            if (TrimView(buf).empty())
                buf += c;
            else
                flush();
        } else if (c == '=' || c == '>' || c == '<' || c == ',') {
            flush();
            if (c == '<' && s[i + 1] == '>' && i + 1 < n) {
                Tokens.emplace_back("<>");
                ++i;
            } else {
                Tokens.emplace_back(1, c);
            }
        } else {
            buf += c;
        }
    }
    if (inQuotes) {
        ErrorText = "Unclosed quoted text";
        return false;
    }
    flush();
    return true;
}

std::string TVexaQueryLanguage::NextToken()
{
    std::string t = TokenIndex < Tokens.size() ? Tokens[TokenIndex] : std::string();
    if (TokenIndex < Tokens.size())
        ++TokenIndex;
    RecentTokens[0] = std::move(RecentTokens[1]);
    RecentTokens[1] = std::move(RecentTokens[2]);
    RecentTokens[2] = t;
    return t;
}

const std::string &TVexaQueryLanguage::PeekToken() const
{
    return TokenIndex < Tokens.size() ? Tokens[TokenIndex] : kEmpty;
}

void TVexaQueryLanguage::AddParam(const std::string &term, const std::string &op, double value,
                                  std::int32_t intValue, const std::string &textValue, double value2)
{
    TVexa3SearchParam p;
    p.Negate = PendingNot;
    p.Scope = PendingScope;
    p.Term = term;
    p.Operator = op;
    p.Value = value;
    p.Value2 = value2;
    p.IntValue = intValue;
    p.TextValue = textValue;
    Params.push_back(std::move(p));
    PendingNot = false;
    PendingScope = 0;
}

void TVexaQueryLanguage::Parse(std::string_view query)
{
    if (!Tokenize(query))
        return;  // an unclosed quote: no decoration, no columns
    FRealTokenCount = Tokens.size();
    Tokens.emplace_back();
    Tokens.emplace_back();
    TokenIndex = 0;
    PendingScope = 0;
    RootOnly = false;
    SystemsWith = false;
    VisibleOnly = false;
    while (TokenIndex < FRealTokenCount) {
        const std::string token = NextToken();
        if (token.empty())
            break;
        Dispatch(token);
        if (!ErrorText.empty())
            break;
    }
    AddImplicitColumns();
    DecorateError();
}

void TVexaQueryLanguage::Dispatch(const std::string &token)
{
    if (token == ",")
        return;
    if (token == "not") {
        PendingNot = true;
    } else if (token == "visible") {
        VisibleOnly = true;
    } else if (token == "root") {
        if (PeekToken() == "only") {
            NextToken();
            RootOnly = true;
        } else {
            PendingScope = SEARCH_SCOPE_ROOT;
        }
    } else if (token == "systems") {
        if (PeekToken() == "with") {
            NextToken();
            SystemsWith = true;
        } else {
            ErrorText = "A \"with\" was expected";
        }
    } else if (token == "parent") {
        if (PeekToken() == "star") {
            NextToken();
            PendingScope = SEARCH_SCOPE_PARENT_STAR;
        } else {
            PendingScope = SEARCH_SCOPE_PARENT;
        }
    } else if (token == "is" && (PeekToken() == "not" || BodyTypeFromSearchText(PeekToken()) != 0)) {
        if (PeekToken() == "not") {
            NextToken();
            PendingNot = true;
        }
        const int code = BodyTypeFromSearchText(PeekToken());
        if (code != 0) {
            NextToken();
            AddParam("type", "=", 0, code, std::string());
        } else if (FRealTokenCount == 1) {
            AddParam("name", "like", 0, 0, token);
        } else {
            ErrorText = "Unknown search term";
        }
    } else if (token == "in") {
        SubsectorCondition();
    } else if (token == "within") {
        const std::string t = NextToken();
        if (auto v = ParseDouble(t))
            WithinLY = *v;
        else
            ErrorText = "A distance in LY was expected";
    } else if (token == "first") {
        const std::string t = NextToken();
        if (auto v = ParseInt32(t))
            FirstCount = *v;
        else
            ErrorText = "A number of results to return was expected";
    } else if (token == "on") {
        if (PeekToken() == "route") {
            NextToken();
            OnRoute = true;
        } else {
            ErrorText = "\"Route\" was expected";
        }
    } else if (token == "show") {
        ColumnRequest();
    } else if (IsTextSearchTerm(token)) {
        TextCondition(token);
    } else if (IsNumericSearchTerm(token)) {
        NumericCondition(token);
    } else if (token == "atm" || token == "atmosphere") {
        const std::string &next = PeekToken();
        if (IsComparison(next) || next == "between")
            NumericCondition(token);
        else
            AtmCompCondition();
    } else if (token == "habitable" || token == "hospitable" || token == "inhospitable") {
        AddParam("habit", "=", 0, 0, token);
    } else if (token == "type") {
        TypeCondition();
    } else if (token == "field") {
        FieldCondition();
    } else if (const int code = BodyTypeFromSearchText(token); code != 0) {
        AddParam("type", "=", 0, code, std::string());
    } else if (FRealTokenCount == 1) {
        // A lone word that is no keyword: a name search.
        AddParam("name", "like", 0, 0, token);
    } else {
        ErrorText = "Unknown search term";
    }
}

void TVexaQueryLanguage::OptionalNot()
{
    if (PeekToken() == "not") {
        NextToken();
        PendingNot = true;
    }
}

void TVexaQueryLanguage::TextCondition(const std::string &term)
{
    OptionalNot();
    std::string op = NextToken();
    if (op == "is")
        op.assign(1, '=');
    if (op != "=" && op != "like" && op != "<>") {
        ErrorText = "A \"=\", \"<>\" or \"like\" is expected";
        return;
    }
    const std::string value = NextToken();
    if (MissingValue(value)) {
        ErrorText = "Text to search for was expected";
        return;
    }
    AddParam(term, op, 0, 0, value);
}

bool TVexaQueryLanguage::ReadBetween(double &low, double &high, const char *numberMessage)
{
    auto a = ParseDouble(NextToken());
    if (!a) {
        ErrorText = numberMessage;
        return false;
    }
    if (NextToken() != "and") {
        ErrorText = "An \"and\" was expected";
        return false;
    }
    auto b = ParseDouble(NextToken());
    if (!b) {
        ErrorText = numberMessage;
        return false;
    }
    low = *a;
    high = *b;
    return true;
}

void TVexaQueryLanguage::NumericCondition(const std::string &term)
{
    OptionalNot();
    const std::string op = NextToken();
    if (op == "between") {
        double low = 0, high = 0;
        if (ReadBetween(low, high, "A number was expected"))
            AddParam(term, op, low, 0, std::string(), high);
        return;
    }
    if (!IsComparison(op)) {
        ErrorText = "A \"=\", \">\", \"<\", or \"<>\" is expected";
        return;
    }
    auto v = ParseDouble(NextToken());
    if (!v) {
        ErrorText = "Number was expected";
        return;
    }
    AddParam(term, op, *v, 0, std::string());
}

void TVexaQueryLanguage::AtmCompCondition()
{
    const std::string gas = NextToken();
    if (MissingValue(gas)) {
        ErrorText = "An atmosphere component was expected";
        return;
    }
    OptionalNot();
    const std::string op = NextToken();
    double low = 0, high = 0;
    if (op == "between") {
        if (!ReadBetween(low, high, "A number was expected"))
            return;
    } else if (!IsComparison(op)) {
        ErrorText = "A \"=\", \">\", \"<\", or \"<>\" is expected";
        return;
    } else {
        auto v = ParseDouble(NextToken());
        if (!v) {
            ErrorText = "An atmosphere component value to search for was expected";
            return;
        }
        low = *v;
    }
    AddParam("atmcomp", op, low, 0, std::string(), high);
    Params.back().FieldName = gas;
}

void TVexaQueryLanguage::TypeCondition()
{
    const std::string op = NextToken();
    if (op != "=" && op != "like" && op != "is") {
        ErrorText = "A \"=\" is expected";
        return;
    }
    const int code = BodyTypeFromSearchText(NextToken());
    AddParam("type", "=", 0, code, std::string());
}

void TVexaQueryLanguage::FieldCondition()
{
    const std::string name = NextToken();
    if (MissingValue(name)) {
        ErrorText = "A field name was expected";
        return;
    }
    OptionalNot();
    std::string op = NextToken();
    if (op == "between") {
        double low = 0, high = 0;
        if (!ReadBetween(low, high, "A number was expected"))
            return;
        AddParam("field", op, low, 0, std::string(), high);
        Params.back().FieldName = name;
        return;
    }
    if (op == "is")
        op.assign(1, '=');
    if (!IsComparison(op) && op != "like") {
        ErrorText = "A \"=\", \">\", \"<\", \"<>\" or \"like\" is expected";
        return;
    }
    const std::string value = NextToken();
    if (MissingValue(value)) {
        ErrorText = "Field value to search for was expected";
        return;
    }
    const auto number = ParseDouble(value);
    AddParam("field", op, number ? *number : 0, 0, value);
    Params.back().FieldName = name;
}

void TVexaQueryLanguage::SubsectorCondition()
{
    if (PeekToken() == "subsector")
        NextToken();
    const std::string name = NextToken();
    if (MissingValue(name)) {
        ErrorText = "The name of a subsector was expected";
        return;
    }
    AddParam("subsector", "=", 0, 0, name);
}

void TVexaQueryLanguage::ColumnRequest()
{
    TVexa3SearchColumn col;
    std::string word = NextToken();
    if (word == "parent") {
        if (PeekToken() == "star") {
            NextToken();
            col.Scope = SEARCH_SCOPE_PARENT_STAR;
        } else {
            col.Scope = SEARCH_SCOPE_PARENT;
        }
        word = NextToken();
    } else if (word == "root") {
        col.Scope = SEARCH_SCOPE_ROOT;
        word = NextToken();
    }
    if (MissingValue(word)) {
        ErrorText = "A property to display was expected";
        return;
    }
    if (word == "political") {
        col.Property = "politicalaffiliation";
    } else if (word == "atmnotes") {
        col.Property = "atmospherenotes";
    } else if (word == "field") {
        col.Property = word;
        col.FieldName = NextToken();
        if (MissingValue(col.FieldName)) {
            ErrorText = "A custom field to display was expected";
            return;
        }
    } else if (word == "atm") {
        col.Property = "atmcomp";
        col.FieldName = NextToken();
        if (MissingValue(col.FieldName)) {
            ErrorText = "An atmosphere component to display was expected";
            return;
        }
    } else {
        col.Property = word;
    }
    Columns.push_back(std::move(col));
}

void TVexaQueryLanguage::AddImplicitColumns()
{
    for (const auto &p : Params) {
        const std::string &t = p.Term;
        if (t == "name" || t == "type" || t == "habit" || t == "political" || t == "population" || t == "subsector")
            continue;
        TVexa3SearchColumn col;
        col.Scope = p.Scope;
        col.Property = t;
        col.FieldName = p.FieldName;
        Columns.push_back(std::move(col));
    }
}

void TVexaQueryLanguage::DecorateError()
{
    if (ErrorText.empty() || RecentTokens[2].empty())
        return;
    ErrorText += " near \"" + RecentTokens[0] + " " + RecentTokens[1] + " " + RecentTokens[2] + "\"";
}

} // namespace kalvion
