#pragma once
// What the main window's quick-search box runs for the text typed into it.
// People type names there as often as queries: a text that names a root
// system, or that fails to parse only because its words are no search
// terms ("Vesk IV"), is looked for as a name; a text that is a query, or
// that fails as one ("population >"), is run as typed so its error shows.
#include <string>
#include <string_view>

namespace kalvion {

class TVexaSector;

// The query to run for the quick-search text (trimmed), given the sector
// whose systems' names decide the first case (none: no system names).
std::string QuickSearchQuery(std::string_view text, const TVexaSector *sector);

} // namespace kalvion
