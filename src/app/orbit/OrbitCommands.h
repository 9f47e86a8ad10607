#pragma once
// The Orbits menu and the mouse of the 3D system view as plain rules over
// the renderer, so they can be checked without a window.
#include <vector>

namespace kalvion {
class TRenderOrbitOGL;
}

namespace kalvion::app {

enum class TOrbitMenuKind { Direction, Rate, Switch };

inline constexpr int ORBIT_SWITCH_TEXT = 0;
inline constexpr int ORBIT_SWITCH_NAMES = 1;
inline constexpr int ORBIT_SWITCH_ORBITS = 2;
inline constexpr int ORBIT_SWITCH_AXIS = 3;

struct TOrbitMenuItem {
    const char *Id;
    TOrbitMenuKind Kind;
    int Value;  // direction, rate code or switch
};

// The items of the Orbits menu in menu order.
const std::vector<TOrbitMenuItem> &OrbitMenuItems();
bool OrbitItemChecked(const TRenderOrbitOGL &view, const TOrbitMenuItem &item);
void SetOrbitSwitch(TRenderOrbitOGL &view, int which, bool on);
// One step of a drag: with Shift the distance × 1.1 unless the pointer
// moved up (× 0.9); otherwise the larger movement turns the camera by 2°.
void ApplyOrbitDrag(TRenderOrbitOGL &view, int dx, int dy, bool shift);

} // namespace kalvion::app
