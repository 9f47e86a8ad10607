#include "app/orbit/OrbitCommands.h"

#include "render/orbit/RenderOrbitOGL.h"

#include <cstdlib>

namespace kalvion::app {

const std::vector<TOrbitMenuItem> &OrbitMenuItems()
{
    static const std::vector<TOrbitMenuItem> items = {
        {"Orbits.Forwards", TOrbitMenuKind::Direction, 1},
        {"Orbits.Backwards", TOrbitMenuKind::Direction, -1},
        {"Orbits.Stopped", TOrbitMenuKind::Rate, ORBIT_RATE_STOPPED},
        {"Orbits.RealTime", TOrbitMenuKind::Rate, ORBIT_RATE_REAL_TIME},
        {"Orbits.Minute", TOrbitMenuKind::Rate, ORBIT_RATE_MINUTE},
        {"Orbits.Hours", TOrbitMenuKind::Rate, ORBIT_RATE_HOURS},
        {"Orbits.Days", TOrbitMenuKind::Rate, ORBIT_RATE_DAYS},
        {"Orbits.Week", TOrbitMenuKind::Rate, ORBIT_RATE_WEEK},
        {"Orbits.Month", TOrbitMenuKind::Rate, ORBIT_RATE_MONTH},
        {"Orbits.Year", TOrbitMenuKind::Rate, ORBIT_RATE_YEAR},
        {"Orbits.DisplayText", TOrbitMenuKind::Switch, ORBIT_SWITCH_TEXT},
        {"Orbits.BodyNames", TOrbitMenuKind::Switch, ORBIT_SWITCH_NAMES},
        {"Orbits.OrbitalPaths", TOrbitMenuKind::Switch, ORBIT_SWITCH_ORBITS},
        {"Orbits.PlanetAxis", TOrbitMenuKind::Switch, ORBIT_SWITCH_AXIS},
    };
    return items;
}

bool OrbitItemChecked(const TRenderOrbitOGL &view, const TOrbitMenuItem &item)
{
    switch (item.Kind) {
    case TOrbitMenuKind::Direction:
        return view.TimeDirection == item.Value;
    case TOrbitMenuKind::Rate:
        return view.TimeRate == item.Value;
    case TOrbitMenuKind::Switch:
        break;
    }
    switch (item.Value) {
    case ORBIT_SWITCH_TEXT:
        return view.ShowText;
    case ORBIT_SWITCH_NAMES:
        return view.ShowNames;
    case ORBIT_SWITCH_ORBITS:
        return view.ShowOrbits;
    default:
        return view.ShowAxis;
    }
}

void SetOrbitSwitch(TRenderOrbitOGL &view, int which, bool on)
{
    switch (which) {
    case ORBIT_SWITCH_TEXT:
        view.ShowText = on;
        break;
    case ORBIT_SWITCH_NAMES:
        view.ShowNames = on;
        break;
    case ORBIT_SWITCH_ORBITS:
        view.ShowOrbits = on;
        break;
    default:
        view.ShowAxis = on;
        break;
    }
}

void ApplyOrbitDrag(TRenderOrbitOGL &view, int dx, int dy, bool shift)
{
    if (shift) {
        view.Zoom(dy < 0 ? 0.9 : 1.1);
        return;
    }
    if (std::abs(dx) > std::abs(dy))
        view.Rotate(dx < 0 ? -2 : 2, 0);
    else
        view.Rotate(0, dy < 0 ? -2 : 2);
}

} // namespace kalvion::app
