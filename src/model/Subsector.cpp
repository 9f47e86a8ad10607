#include "model/Subsector.h"

#include <cmath>
#include <numbers>

namespace kalvion {

void TVexaSubsector::CopyTo(TVexaSubsector &t) const
{
    t.Name = Name;
    t.Color = Color;
    t.ShowLabel = ShowLabel;
    t.Shape = Shape;
    t.Visible = Visible;
    t.X = X;
    t.Y = Y;
    t.Z = Z;
    t.SizeX = SizeX;
    t.SizeY = SizeY;
    t.SizeZ = SizeZ;
    t.RotateX = RotateX;
    t.RotateY = RotateY;
    t.RotateZ = RotateZ;
    t.ShowGrid = ShowGrid;
    t.GridX = GridX;
    t.GridY = GridY;
    t.GridZ = GridZ;
    t.GridTick = GridTick;
    t.TickLabels = TickLabels;
}

bool TVexaSubsector::ContainsPoint(double px, double py, double pz) const
{
    if (Shape == VEXA_SUBSECTOR_SPHERE) {
        const double dx = px - X, dy = py - Y, dz = pz - Z;
        return std::sqrt(dx * dx + dy * dy + dz * dz) <= SizeX;
    }
    constexpr double rad = std::numbers::pi / 180.0;
    double qx = px, qy = py, qz = pz;
    if (RotateX != 0) {
        const double t = RotateX * rad, dy = qy - Y, dz = qz - Z;
        qy = Y + std::cos(t) * dy + std::sin(t) * dz;
        qz = Z + std::cos(t) * dz - std::sin(t) * dy;
    }
    if (RotateY != 0) {
        const double t = RotateY * rad, dx = qx - X, dz = qz - Z;
        qx = X + std::cos(t) * dx - std::sin(t) * dz;
        qz = Z + std::cos(t) * dz + std::sin(t) * dx;
    }
    if (RotateZ != 0) {
        const double t = RotateZ * rad, dx = qx - X, dy = qy - Y;
        qx = X + std::cos(t) * dx + std::sin(t) * dy;
        qy = Y + std::cos(t) * dy - std::sin(t) * dx;
    }
    const double hx = SizeX / 2, hy = SizeY / 2, hz = SizeZ / 2;
    return X - hx < qx && qx <= X + hx && Y - hy < qy && qy <= Y + hy && Z - hz < qz && qz <= Z + hz;
}

} // namespace kalvion
