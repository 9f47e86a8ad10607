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
    return TSubsectorRegion(*this).Contains(px, py, pz);
}

TSubsectorRegion::TSubsectorRegion(const TVexaSubsector &s) noexcept
    : FSphere(s.Shape == VEXA_SUBSECTOR_SPHERE), FX(s.X), FY(s.Y), FZ(s.Z), FSizeX(s.SizeX), FHalfX(s.SizeX / 2),
      FHalfY(s.SizeY / 2), FHalfZ(s.SizeZ / 2), FTurnX(s.RotateX != 0), FTurnY(s.RotateY != 0),
      FTurnZ(s.RotateZ != 0)
{
    constexpr double rad = std::numbers::pi / 180.0;
    FCosX = std::cos(s.RotateX * rad);
    FSinX = std::sin(s.RotateX * rad);
    FCosY = std::cos(s.RotateY * rad);
    FSinY = std::sin(s.RotateY * rad);
    FCosZ = std::cos(s.RotateZ * rad);
    FSinZ = std::sin(s.RotateZ * rad);
}

bool TSubsectorRegion::Contains(double px, double py, double pz) const noexcept
{
    if (FSphere) {
        const double dx = px - FX, dy = py - FY, dz = pz - FZ;
        return std::sqrt(dx * dx + dy * dy + dz * dz) <= FSizeX;
    }
    double qx = px, qy = py, qz = pz;
    if (FTurnX) {
        const double dy = qy - FY, dz = qz - FZ;
        qy = FY + FCosX * dy + FSinX * dz;
        qz = FZ + FCosX * dz - FSinX * dy;
    }
    if (FTurnY) {
        const double dx = qx - FX, dz = qz - FZ;
        qx = FX + FCosY * dx - FSinY * dz;
        qz = FZ + FCosY * dz + FSinY * dx;
    }
    if (FTurnZ) {
        const double dx = qx - FX, dy = qy - FY;
        qx = FX + FCosZ * dx + FSinZ * dy;
        qy = FY + FCosZ * dy - FSinZ * dx;
    }
    return FX - FHalfX < qx && qx <= FX + FHalfX && FY - FHalfY < qy && qy <= FY + FHalfY && FZ - FHalfZ < qz &&
           qz <= FZ + FHalfZ;
}

} // namespace kalvion
