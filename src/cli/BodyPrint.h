#pragma once
// How a system tree looks on the command line: the indented text that
// "system" and "show" print, and the same data as JSON.
#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

namespace kalvion {
class TStellarBody;
class TVexaSector;
}

namespace kalvion::cli {

// Prints body and its children, indented by depth.  With a sector the
// reader also gets the placement (a root's coordinates in the sector's
// unit), the orbit and the values a game master edits: political
// affiliation, notes and user fields.
void PrintBodyTree(const TStellarBody &body, int depth, const TVexaSector *sector, std::ostream &out);

// Every stored value of body and its children, snake_case keys, raw numbers.
nlohmann::ordered_json BodyJson(const TStellarBody &body);

// Colours as people write them: "#RRGGBB".
std::string ColourText(std::uint32_t colour);

} // namespace kalvion::cli
