#pragma once
// The one way a command prints JSON: one object per run, pretty-printed for
// a person at a terminal, one line for a pipe or a file.  Texts from sector
// files need not be UTF-8; their bad bytes become U+FFFD rather than
// stopping the output.
#include <iosfwd>

#include <nlohmann/json.hpp>

namespace kalvion::cli {

void PrintJson(std::ostream &out, const nlohmann::json &doc);
void PrintJson(std::ostream &out, const nlohmann::ordered_json &doc);

} // namespace kalvion::cli
