#pragma once
// The published properties of a body by lower-case name: the one table the
// searcher's result columns and sorting read, and that scripts will use to
// reach a body's values by name.  A few short aliases that queries use
// ("atm", "atmnotes", "political") name the same values.
#include "model/StellarBody.h"

#include <string>
#include <string_view>

namespace kalvion {

enum class TBodyPropertyKind {
    Float,   // double members, computed values included (TempC, Gravity)
    Integer, // 32-bit integers and colours
    Boolean,
    String,
};

struct TBodyProperty {
    const char *Name;  // lower case
    TBodyPropertyKind Kind;
    double (*GetNumber)(const TStellarBody &);      // Float, Integer, Boolean (0 or 1)
    std::string (*GetText)(const TStellarBody &);        // String
};

// The property of that name (ASCII case ignored); none for an unknown name.
const TBodyProperty *FindBodyProperty(std::string_view name);

// Every entry of the table, aliases included, in table order.
const TBodyProperty *BodyPropertiesBegin();
const TBodyProperty *BodyPropertiesEnd();

} // namespace kalvion
