#pragma once
// What a search result shows: the six fixed columns, the query's own columns
// with their headers and cell texts, and the compare function that sorts
// results by a query column.
#include "model/StellarBody.h"
#include "search/QueryLanguage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kalvion {

// Shown numbers: whole numbers grouped in thousands (zero shows empty) and
// decimals grouped the same way with at most four decimals.
inline constexpr const char *SEARCH_INTEGER_FMT = "###,###,###,###,###,###,###";
inline constexpr const char *SEARCH_DECIMAL_FMT = "###,###,###,###,###,###,##0.####";

// The body a scope looks at from `body`: itself, its parent, its parent star
// or its root; none when there is no such body.
TStellarBody *SearchScopeBody(TStellarBody *body, std::int32_t scope);

// "Name", "Type", "System", "Population", "Habitability", "Political", then
// one header per query column.
std::vector<std::string> SearchResultHeaders(const std::vector<TVexa3SearchColumn> &columns);
std::string SearchColumnHeader(const TVexa3SearchColumn &column);

// The cells of one result row, in the order of the headers.
void SearchResultCells(TStellarBody *body, const std::vector<TVexa3SearchColumn> &columns,
                       std::vector<std::string> &cells);
std::string SearchColumnText(TStellarBody *body, const TVexa3SearchColumn &column);

// The sort of results by a query column reads these three.
extern std::string VexaSearch3SortPropertyName;
extern std::string VexaSearch3SortFieldName;
extern std::int32_t VexaSearch3SortTarget;

// Compares two results (TStellarBody pointers) by the column the three
// variables name: -1, 0 or 1 for ascending order.
int VexaSearch3SortByProp(const void *a, const void *b);

} // namespace kalvion
