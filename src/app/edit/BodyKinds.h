#pragma once
// The kinds of body the right-click menu's "Add Child" and "Insert Body"
// offer, and how each is made: some only set a type code, others run the
// star, planet or gas-giant routines so that the new body arrives filled in.
#include <cstdint>
#include <memory>
#include <string>

namespace kalvion {
class TStellarBody;
}

namespace kalvion::app {

enum class TBodyKindMenu { Top, Star, Planet, GasGiant };

struct TBodyKind {
    TBodyKindMenu Menu;
    const char *Text;          // the menu item
    std::int32_t TypeID;       // the type the new body has before it is filled
    const char *TypedCreation; // a system-type text of the typed creation, or null
    int Template;              // 0 none, else one of the BODY_TEMPLATE_* below
    std::int32_t GiantSize;    // size class for the gas-giant template
};

inline constexpr int BODY_TEMPLATE_EARTHLIKE = 1;
inline constexpr int BODY_TEMPLATE_LARGE_BARREN = 2;
inline constexpr int BODY_TEMPLATE_THICK_ATM = 3;
inline constexpr int BODY_TEMPLATE_MARSLIKE = 4;
inline constexpr int BODY_TEMPLATE_GAS_GIANT = 5;

// In menu order.
int BodyKindCount();
const TBodyKind &BodyKindAt(int index);

// A new, empty body of the kind (type code only).
std::unique_ptr<TStellarBody> NewBodyOfKind(int index);
// Fills a body that already stands in its tree (the routines read its
// parent) as the kind asks; names come from the name table.
void FillBodyOfKind(TStellarBody &body, int index, const std::string &nameTable);

// Adds a new body of the kind as the last child of parent; the new body.
TStellarBody *AddChildOfKind(TStellarBody &parent, int index, const std::string &nameTable);
// Inserts a new body of the kind before `at` among its parent's children;
// none when `at` is a root.
TStellarBody *InsertBodyOfKind(TStellarBody &at, int index, const std::string &nameTable);

} // namespace kalvion::app
