#pragma once
// Routes: styled polylines through systems.  Waypoints refer to their system
// by IDString and keep a copy of its position, so routes survive loading,
// unloading and copying of systems.
#include "model/VexaBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

class TStellarBody;
class TVexaSector;

inline constexpr int ROUTE_LINE_SOLID = 0;
inline constexpr int ROUTE_LINE_DASH = 1;
inline constexpr int ROUTE_LINE_SHORTDASH = 2;
inline constexpr int ROUTE_LINE_LONGSHORT = 3;
inline constexpr int ROUTE_LINE_LONGSHORTSHORT = 4;
inline constexpr std::uint16_t ROUTE_STIPPLEOGL_SOLID = 0xFFFF;
inline constexpr std::uint16_t ROUTE_STIPPLEOGL_DASH = 0x00FF;
inline constexpr std::uint16_t ROUTE_STIPPLEOGL_SHORTDASH = 0x0F0F;
inline constexpr std::uint16_t ROUTE_STIPPLEOGL_LONGSHORT = 0xFE38;
inline constexpr std::uint16_t ROUTE_STIPPLEOGL_LONGSHORTSHORT = 0xFCCC;

class TRouteWaypoint {
public:
    std::string id;
    // The resolved system; none until resolved, and none again once the
    // system is freed (the waypoint keeps its id and position).
    TCheckedPtr<TStellarBody> Body;
    double X = 0, Y = 0, Z = 0;
    std::int32_t RasterX = 0, RasterY = 0;

    // For checked references (scripts), as TVexaBase::LifetimeToken.
    std::weak_ptr<void> LifetimeToken() const
    {
        if (!FLifetime.Token)
            FLifetime.Token = std::make_shared<int>(0);
        return FLifetime.Token;
    }

private:
    // Copies of a waypoint never share its token.
    struct TToken {
        TToken() = default;
        TToken(const TToken &) {}
        TToken &operator=(const TToken &) { return *this; }
        std::shared_ptr<void> Token;
    };
    mutable TToken FLifetime;
};

class TStellarRoute : public TVexaBase {
public:
    TStellarRoute();

    std::string Name;
    std::string RouteType;
    std::vector<std::unique_ptr<TRouteWaypoint>> Waypoints;
    bool RoundTrip = false;
    bool Selected = false;
    bool Visible = true;
    double Red = 0, Green = 0, Blue = 0;
    double LineWidth = 0;
    std::int32_t LineStyle = 0;
    std::uint16_t Stipple = 0;
    // The sector that holds the route (its AddRoute); none before.  Its
    // waypoints may name only that sector's systems.
    TVexaSector *Sector = nullptr;

    static std::unique_ptr<TStellarRoute> Create() { return std::make_unique<TStellarRoute>(); }

    void AddSystem(TStellarBody *body);
    void AddWaypoint(std::unique_ptr<TRouteWaypoint> waypoint);
    int WaypointCount() const { return static_cast<int>(Waypoints.size()); }
    TRouteWaypoint *GetWaypoint(int index) const;
    void DeleteWaypoint(int index);
    bool OnRoute(const TStellarBody *body) const;
    bool ClickedOn(int x, int y, bool anyVisibility) const;
    bool SelectObject(int x, int y, bool anyVisibility);
    void CopyTo(TStellarRoute &target, bool withWaypoints) const;
};

} // namespace kalvion
