#pragma once
// The main window's caption and status-bar texts.
#include <QString>

namespace kalvion {
class TVexaSector;
struct TVexaPoint;
} // namespace kalvion

namespace kalvion::app {

// "<name> Sector (<n> Systems[; <v> visible]; <m> total bodies) ", or
// "(Untitled) Sector (" … without a file name; bodyCount is the sector's
// GetSectorBodyCount, kept by the window between changes.
QString SectorCaption(const TVexaSector &sector, double bodyCount);
// "(" x ", " y ", " z ")" with "0.##".
QString PointText(const TVexaPoint &p);

} // namespace kalvion::app
