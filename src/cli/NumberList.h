#pragma once
// Numbers and colours in command-line options ("--size 40,20,10",
// "--color FF8000").
#include "base/Colour.h"

#include <string>
#include <vector>

namespace kalvion::cli {

// The finite numbers of text, in order; false (out unspecified) when any
// part is empty or not a number.
bool ParseNumberList(const std::string &text, std::vector<double> &out);
// Six hexadecimal digits RRGGBB; false (colour unchanged) for anything else.
bool ParseHexColour(const std::string &text, TColor &color);

} // namespace kalvion::cli
