#pragma once
// Turning points about a centre, angles in degrees.
#include "model/VexaPoint.h"

namespace kalvion {

// Turns p about c: about the Y axis by ay, then about X by ax, then about Z by
// az; an angle of exactly 0 is skipped.  The camera moves and the moves of
// selected systems use this order.
TVexaPoint RotatePointAboutCentre(const TVexaPoint &p, const TVexaPoint &c, double ax, double ay, double az);

} // namespace kalvion
