#pragma once
// Comma-separated numbers in command-line options ("--size 40,20,10").
#include <string>
#include <vector>

namespace kalvion::cli {

// The finite numbers of text, in order; false (out unspecified) when any
// part is empty or not a number.
bool ParseNumberList(const std::string &text, std::vector<double> &out);

} // namespace kalvion::cli
