#pragma once
// The value a display-field entry shows in the sector report (raw text, not
// yet escaped).  The report has its own number patterns, distinct from the
// system tree's.
#include <string>

namespace kalvion {

class TStellarBody;
struct TSystemDataRec;

std::string ReportFieldValue(const TStellarBody &body, const TSystemDataRec &rec);

} // namespace kalvion
