#include "search/QuickSearch.h"

#include "base/AsciiText.h"
#include "model/VexaSector.h"
#include "search/QueryLanguage.h"

#include <algorithm>

namespace kalvion {

namespace {

// The words that make a text a comparison, whatever else it holds.
bool IsOperator(const std::string &token)
{
    return token == "=" || token == "<" || token == ">" || token == "<>" || token == "like" ||
           token == "between";
}

std::string NameQuery(std::string_view name) { return "name like \"" + std::string(name) + "\""; }

} // namespace

std::string QuickSearchQuery(std::string_view text, const TVexaSector *sector)
{
    const std::string_view trimmed = TrimView(text);
    // A name with a double quote cannot be quoted in a query.
    const bool quotable = trimmed.find('"') == std::string_view::npos;
    if (quotable && !trimmed.empty() && sector && sector->FindRootBodyByName(trimmed))
        return NameQuery(trimmed);
    TVexaQueryLanguage parser;
    parser.Clear();
    parser.Parse(trimmed);
    if (parser.ErrorText.empty() || !quotable)
        return std::string(trimmed);
    // Only a text that failed on a word the language does not know, and holds
    // no comparison, is taken for a name; every other failure is a query's.
    const bool unknownWord = parser.ErrorText.starts_with("Unknown search term");
    const bool comparison = std::any_of(parser.Tokens.begin(), parser.Tokens.end(), IsOperator);
    if (unknownWord && !comparison)
        return NameQuery(trimmed);
    return std::string(trimmed);
}

} // namespace kalvion
