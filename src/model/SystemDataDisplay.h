#pragma once
// The display lines a body shows under the configured display fields: the
// system tree of the main window and the reports read them from here.
#include "model/SystemDataConfig.h"
#include "model/TreeSink.h"

#include <string>

namespace kalvion {

class TStellarBody;

// The configuration that decides a body's lines: its own when it has one,
// else the holder's slot for its type; none when neither exists.
const TSystemDataConfig *SystemDataConfigFor(const TStellarBody &body, const TSystemDataConfigHolder *holder);

// The text of one record for a body.  False when the line is not shown (an
// empty value with HideIfEmpty, an unknown source, or the "children" source,
// which makes nodes instead of a line).
bool SystemDataLineText(const TStellarBody &body, const TSystemDataRec &rec, std::string &text);

// Adds the body's display lines under node; a "children" record adds a node
// with one node per child (children sorted by distance first), each filled
// the same way.
void FillSystemDataTree(TStellarBody &body, TTreeSink &tree, TTreeSink::NodeId node,
                        const TSystemDataConfigHolder *holder);

} // namespace kalvion
