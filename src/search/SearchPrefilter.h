#pragma once
// The database test that tells whether a system that is not in memory can
// hold a match, so the searcher loads only the systems that may.
#include "search/QueryLanguage.h"

#include <string>
#include <vector>

namespace kalvion {

// A statement with one parameter (the root's row id, used as ?1) that returns
// a row when some body of the system may satisfy every condition the bodies
// table can answer: habitability, population, temp, tempc, rotation,
// atmosphere and water.  Empty when no condition can be tested there.
//
// The conditions of the candidate itself are tested on one row; the
// conditions on its parent, its parent star or its root look at another body
// of the same system, so each of those scopes is tested as a row of its own.
// A stored NULL reads back as 0, and is compared as 0 here.
std::string BuildPrefilterSQL(const std::vector<TVexa3SearchParam> &params);

// A number as SQL text: the shortest form that reads back to the same double,
// in the C locale.
std::string PrefilterNumber(double value);

} // namespace kalvion
