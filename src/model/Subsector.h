#pragma once
// A named box or sphere region of the sector.  Membership is geometric only.
#include "base/Colour.h"
#include "model/VexaBase.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kalvion {

inline constexpr int VEXA_SUBSECTOR_RECT = 0;
inline constexpr int VEXA_SUBSECTOR_SPHERE = 1;

class TVexaSubsector;

// A subsector's region with its rotations worked out once, for testing many
// points (every root of a sector) against it.
class TSubsectorRegion {
public:
    explicit TSubsectorRegion(const TVexaSubsector &s) noexcept;
    bool Contains(double x, double y, double z) const noexcept;

private:
    bool FSphere;
    double FX, FY, FZ, FSizeX, FHalfX, FHalfY, FHalfZ;
    bool FTurnX, FTurnY, FTurnZ;
    double FCosX, FSinX, FCosY, FSinY, FCosZ, FSinZ;
};

class TVexaSubsector : public TVexaBase {
public:
    std::string Name;
    TColor Color = 0;
    bool ShowLabel = false;
    std::int32_t Shape = 0;
    bool Visible = false;
    double X = 0, Y = 0, Z = 0;
    double SizeX = 0, SizeY = 0, SizeZ = 0;
    double RotateX = 0, RotateY = 0, RotateZ = 0;
    bool ShowGrid = false;
    double GridX = 0, GridY = 0, GridZ = 0;
    double GridTick = 0;
    bool TickLabels = false;

    static std::unique_ptr<TVexaSubsector> Create() { return std::make_unique<TVexaSubsector>(); }
    void CopyTo(TVexaSubsector &target) const;
    bool ContainsPoint(double x, double y, double z) const;
};

} // namespace kalvion
