#include "model/StellarRoute.h"

#include "base/Rounding.h"
#include "model/StellarBody.h"

#include <cmath>

namespace kalvion {

TStellarRoute::TStellarRoute()
{
    // Routes are written on every save, so they start clean.
    Loaded = false;
    Modified = false;
}

void TStellarRoute::AddSystem(TStellarBody *body)
{
    if (!body)
        return;
    auto wp = std::make_unique<TRouteWaypoint>();
    wp->id = body->IDString;
    wp->Body = body;
    wp->X = body->X;
    wp->Y = body->Y;
    wp->Z = body->Z;
    Waypoints.push_back(std::move(wp));
}

void TStellarRoute::AddWaypoint(std::unique_ptr<TRouteWaypoint> waypoint)
{
    if (waypoint)
        Waypoints.push_back(std::move(waypoint));
}

TRouteWaypoint *TStellarRoute::GetWaypoint(int index) const
{
    if (index < 0 || index >= WaypointCount())
        return nullptr;
    return Waypoints[static_cast<std::size_t>(index)].get();
}

void TStellarRoute::DeleteWaypoint(int index)
{
    if (index < 0 || index >= WaypointCount())
        return;
    Waypoints.erase(Waypoints.begin() + index);
}

bool TStellarRoute::OnRoute(const TStellarBody *body) const
{
    if (!body)
        return false;
    for (const auto &wp : Waypoints)
        if (wp->id == body->IDString)
            return true;
    return false;
}

namespace {

struct Pt {
    double x, y;
};

bool InsideEvenOdd(const Pt (&poly)[4], double x, double y)
{
    bool inside = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        const Pt &a = poly[i], &b = poly[j];
        if ((a.y > y) != (b.y > y)) {
            const double xCross = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < xCross)
                inside = !inside;
        }
    }
    return inside;
}

} // namespace

bool TStellarRoute::ClickedOn(int x, int y, bool anyVisibility) const
{
    for (std::size_t i = 1; i < Waypoints.size(); ++i) {
        const TRouteWaypoint &A = *Waypoints[i - 1];
        const TRouteWaypoint &B = *Waypoints[i];
        // An unresolved waypoint has no system whose visibility could admit it.
        if (!anyVisibility && !(A.Body && B.Body && A.Body->Visible && B.Body->Visible))
            continue;
        const double vx = B.RasterX - A.RasterX, vy = B.RasterY - A.RasterY;
        const double len = std::sqrt(vx * vx + vy * vy);
        if (len == 0)
            continue;
        const double sx = Round(vx * 3 / len), sy = Round(vy * 3 / len);
        // Turned by 90 and by 270 degrees.
        const Pt o1{-sy, sx}, o2{sy, -sx};
        const Pt quad[4] = {{A.RasterX + o1.x, A.RasterY + o1.y},
                            {B.RasterX + o1.x, B.RasterY + o1.y},
                            {B.RasterX + o2.x, B.RasterY + o2.y},
                            {A.RasterX + o2.x, A.RasterY + o2.y}};
        if (InsideEvenOdd(quad, x, y))
            return true;
    }
    return false;
}

bool TStellarRoute::SelectObject(int x, int y, bool anyVisibility)
{
    Selected = ClickedOn(x, y, anyVisibility);
    return Selected;
}

void TStellarRoute::CopyTo(TStellarRoute &t, bool withWaypoints) const
{
    t.Name = Name;
    t.RouteType = RouteType;
    t.RoundTrip = RoundTrip;
    t.Selected = Selected;
    t.Visible = Visible;
    t.Red = Red;
    t.Green = Green;
    t.Blue = Blue;
    t.LineWidth = LineWidth;
    t.LineStyle = LineStyle;
    t.Stipple = Stipple;
    if (withWaypoints) {
        for (const auto &wp : Waypoints) {
            auto c = std::make_unique<TRouteWaypoint>();
            c->id = wp->id;
            c->X = wp->X;
            c->Y = wp->Y;
            c->Z = wp->Z;
            c->RasterX = wp->RasterX;
            c->RasterY = wp->RasterY;
            t.Waypoints.push_back(std::move(c));
        }
    }
}

} // namespace kalvion
