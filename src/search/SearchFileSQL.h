#pragma once
// The statements that answer a query from the bodies table of a sector file
// without loading a system: one over the whole sector for the candidates and
// one for the stars a "parent star" condition accepts.  Both are empty when
// some condition needs a loaded body (custom fields, gases, the properties
// that are worked out on loading), and the caller then loads.
#include "search/QueryLanguage.h"

#include <string>
#include <vector>

namespace kalvion {

struct TSearchFileSQL {
    // Rows of (system_id, id, parent_id) for every body whose own, parent and
    // root conditions hold, in no particular order.
    std::string Candidates;
    // Rows of (id) for every star whose values satisfy the "parent star"
    // conditions; empty when the query has none.
    std::string ParentStars;
    // The same for the one system whose root row id is bound as ?1, for a
    // search that a system filter narrows to a few systems.
    std::string CandidatesInSystem;
    std::string ParentStarsInSystem;
    bool Answerable = false;
};

// Stored NULLs are compared as the 0 or empty text a loaded body holds, and
// texts are compared byte for byte after folding ASCII case, as in memory.
TSearchFileSQL BuildSearchFileSQL(const std::vector<TVexa3SearchParam> &params);

} // namespace kalvion
