#include "model/PointRotation.h"

#include <cmath>
#include <numbers>

namespace kalvion {

TVexaPoint RotatePointAboutCentre(const TVexaPoint &p, const TVexaPoint &c, double ax, double ay, double az)
{
    constexpr double rad = std::numbers::pi / 180.0;
    double dx = p.X - c.X, dy = p.Y - c.Y, dz = p.Z - c.Z;
    if (ay != 0) {
        const double cs = std::cos(ay * rad), sn = std::sin(ay * rad);
        const double nx = cs * dx - sn * dz, nz = cs * dz + sn * dx;
        dx = nx;
        dz = nz;
    }
    if (ax != 0) {
        const double cs = std::cos(ax * rad), sn = std::sin(ax * rad);
        const double ny = cs * dy + sn * dz, nz = cs * dz - sn * dy;
        dy = ny;
        dz = nz;
    }
    if (az != 0) {
        const double cs = std::cos(az * rad), sn = std::sin(az * rad);
        const double nx = cs * dx + sn * dy, ny = cs * dy - sn * dx;
        dx = nx;
        dy = ny;
    }
    return {c.X + dx, c.Y + dy, c.Z + dz};
}

} // namespace kalvion
