#pragma once
// The fixed table of the 22 gases that generated atmospheres may hold, with
// their molecular weights, partial-pressure limits and display colours.
#include "base/Colour.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kalvion {

class TStellarBody;
struct TVexaAtmElement;

struct TGasInfo {
    std::string Name;            // chemical formula, the key
    double MolecularWeight = 0;  // atomic mass units
    double BoilingPoint = 0;     // K; -1 where unknown (nothing reads it)
    double Amount = 0;           // 0 in the table; the atmosphere generator fills its copy
    double Limit = 0;            // highest hospitable partial pressure in atm; -1 no limit
    TColor Color = 0;
};

inline constexpr int GAS_COUNT = 22;

// The table in its fixed order; the atmosphere generator's gas index i (1 … 22)
// is element i - 1.
const std::array<TGasInfo, GAS_COUNT> &GasTable();

// The first row whose name equals the text ignoring case; false and the empty
// record (no name, numbers 0, colour (255, 25, 255)) when none does.
bool GetGasInfo(std::string_view name, TGasInfo &info);

// The colour of air made of these elements: the mean of the known gases'
// colours weighted by their percentages; white when no known gas counts.
TColor DeriveAtmColor(const std::vector<TVexaAtmElement> &elements);
TColor DeriveAtmColor(const TStellarBody &body);

} // namespace kalvion
