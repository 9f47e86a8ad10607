#pragma once
// The surface palette of a terrestrial planet's fractal terrain.
#include "base/Colour.h"

namespace kalvion {

class TGexColorGroup {
public:
    // Declaration order is the stream order.
    TColor DeepWater = ColorRGB(0, 1, 49);
    TColor ShallowWater = ColorRGB(0, 36, 96);
    TColor Beach = ColorRGB(254, 238, 188);
    TColor Lowland = ColorRGB(52, 78, 22);
    TColor Highland = ColorRGB(150, 140, 100);
    TColor Ice = ColorRGB(255, 255, 255);
    TColor Desert = ColorRGB(254, 203, 138);
    bool CloudsEnabled = true;
    TColor AtmosphereColor = ColorRGB(255, 255, 255);

    void CopyFrom(const TGexColorGroup &other) { *this = other; }
};

} // namespace kalvion
