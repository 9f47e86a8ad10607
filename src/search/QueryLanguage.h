#pragma once
// TVexaQueryLanguage: turns a search query such as
//   parent star temp > 5000 population > 0, show parent star luminosity
// into a flat list of conditions (all must hold), extra result columns and a
// few search-wide options.  It matches nothing itself; the searcher does.
// Parsing never throws: the first error stops it and is kept in ErrorText,
// decorated with the last three tokens read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

// Which body a condition or column looks at.
inline constexpr std::int32_t SEARCH_SCOPE_SELF = 0;
inline constexpr std::int32_t SEARCH_SCOPE_PARENT = 1;
inline constexpr std::int32_t SEARCH_SCOPE_PARENT_STAR = 2;
inline constexpr std::int32_t SEARCH_SCOPE_ROOT = 3;

struct TVexa3SearchParam {
    bool Negate = false;
    std::string FieldName;  // custom field name, or gas name for atmcomp
    std::int32_t Scope = SEARCH_SCOPE_SELF;
    std::string Term;
    std::string Operator;   // "=", "<>", "like", ">", "<" or "between"
    std::string TextValue;
    std::int32_t IntValue = 0;
    double Value = 0;
    double Value2 = 0;
};

struct TVexa3SearchColumn {
    std::int32_t Scope = SEARCH_SCOPE_SELF;
    std::string Property;
    std::string FieldName;
};

class TVexaQueryLanguage {
public:
    std::vector<std::string> Tokens;
    std::vector<TVexa3SearchParam> Params;
    std::string ErrorText;
    std::int32_t PendingScope = 0;
    bool RootOnly = false;
    bool SystemsWith = false;
    double WithinLY = 0;
    std::int32_t FirstCount = 0;
    bool OnRoute = false;
    bool PendingNot = false;
    bool VisibleOnly = false;
    std::string RecentTokens[3];
    std::size_t TokenIndex = 0;
    std::vector<TVexa3SearchColumn> Columns;

    // Empties the lists and texts and zeroes the options.  Parse resets only
    // the reading state, so callers clear before every parse.
    void Clear();
    void Parse(std::string_view query);

    // The steps of the parser, public for the tests and the fuzzer.
    bool Tokenize(std::string_view text);
    std::string NextToken();
    const std::string &PeekToken() const;
    void AddParam(const std::string &term, const std::string &op, double value, std::int32_t intValue,
                  const std::string &textValue, double value2 = 0);

private:
    void Dispatch(const std::string &token);
    void TextCondition(const std::string &term);
    void NumericCondition(const std::string &term);
    void AtmCompCondition();
    void TypeCondition();
    void FieldCondition();
    void SubsectorCondition();
    void ColumnRequest();
    // "between" low "and" high, after "between" was read; false on an error.
    bool ReadBetween(double &low, double &high, const char *numberMessage);
    void OptionalNot();
    void AddImplicitColumns();
    void DecorateError();
    std::size_t FRealTokenCount = 0;
};

// True for the word of a term that takes a numeric comparison.
bool IsNumericSearchTerm(std::string_view word);
// True for the word of a term that takes a text comparison.
bool IsTextSearchTerm(std::string_view word);

} // namespace kalvion
