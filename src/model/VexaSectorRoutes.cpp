// Routes, subsectors and the camera home position of the sector.
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include "base/AsciiText.h"

namespace kalvion {

int TVexaSector::AddRoute(std::unique_ptr<TStellarRoute> route)
{
    FHistory->TouchPart(TSectorPart::Routes);
    if (!route)
        return -1;
    route->Sector = this;
    Routes.push_back(std::move(route));
    return RouteCount() - 1;
}

TStellarRoute *TVexaSector::GetRoute(int index) const
{
    if (index < 0 || index >= RouteCount())
        return nullptr;
    return Routes[static_cast<std::size_t>(index)].get();
}

void TVexaSector::MoveRouteToDeleted(std::size_t index)
{
    FHistory->TouchPart(TSectorPart::Routes);
    DeletedObjects.push_back(std::move(Routes[index]));
    Routes.erase(Routes.begin() + static_cast<std::ptrdiff_t>(index));
}

void TVexaSector::DeleteRoute(int index)
{
    if (index < 0 || index >= RouteCount())
        return;
    MoveRouteToDeleted(static_cast<std::size_t>(index));
}

bool TVexaSector::RoutesSelected() const
{
    for (const auto &r : Routes)
        if (r->Selected)
            return true;
    return false;
}

void TVexaSector::DeleteSelectedRoutes()
{
    FHistory->TouchPart(TSectorPart::Routes);
    for (std::size_t i = Routes.size(); i-- > 0;)
        if (Routes[i]->Selected)
            MoveRouteToDeleted(i);
}

void TVexaSector::DeleteAllRoutes()
{
    FHistory->TouchPart(TSectorPart::Routes);
    for (std::size_t i = Routes.size(); i-- > 0;)
        MoveRouteToDeleted(i);
}

void TVexaSector::DeleteSystemFromRoutes(const TStellarBody *body)
{
    FHistory->TouchPart(TSectorPart::Routes);
    if (!body)
        return;
    for (std::size_t r = Routes.size(); r-- > 0;) {
        auto &wps = Routes[r]->Waypoints;
        // A system moved into this one earlier is gone with it too.
        for (std::size_t w = wps.size(); w-- > 0;)
            if (wps[w]->id == body->IDString || wps[w]->Body == body)
                wps.erase(wps.begin() + static_cast<std::ptrdiff_t>(w));
        if (wps.size() < 2)
            MoveRouteToDeleted(r);
    }
}

void TVexaSector::UpdateRoutes()
{
    // Waypoints stand where their systems stand.
    FHistory->TouchPart(TSectorPart::Routes);
    for (auto &route : Routes) {
        for (auto &wp : route->Waypoints) {
            const TStellarBody *root = FindRootBodyById(wp->id);
            // A system inside another one stands where its root stands.
            if (!root && wp->Body && !wp->Body->Parent && IndexOfSystem(wp->Body) >= 0)
                root = wp->Body;
            if (root) {
                wp->X = root->X;
                wp->Y = root->Y;
                wp->Z = root->Z;
            }
        }
    }
}

void TVexaSector::UpdateRouteBodies()
{
    // Waypoints stand where their systems stand.
    FHistory->TouchPart(TSectorPart::Routes);
    const TRootIdIndex index = BuildRootIdIndex();
    for (auto &route : Routes) {
        auto &wps = route->Waypoints;
        for (std::size_t w = wps.size(); w-- > 0;) {
            TStellarBody *root = FastFindRootBodyByID(wps[w]->id, index);
            // A waypoint whose system was moved into another one keeps the
            // root found for it (by the move or by the reader).
            if (!root && wps[w]->Body && FastFindRootBodyByID(wps[w]->Body->IDString, index) == wps[w]->Body)
                root = wps[w]->Body;
            if (root) {
                wps[w]->Body = root;
                wps[w]->X = root->X;
                wps[w]->Y = root->Y;
                wps[w]->Z = root->Z;
            } else {
                wps.erase(wps.begin() + static_cast<std::ptrdiff_t>(w));
            }
        }
    }
}

void TVexaSector::UpdateRoutesForBody(const TStellarBody *body)
{
    // Waypoints stand where their systems stand.
    FHistory->TouchPart(TSectorPart::Routes);
    if (!body)
        return;
    for (auto &route : Routes) {
        for (auto &wp : route->Waypoints) {
            if (wp->id == body->IDString || wp->Body == body) {
                wp->X = body->X;
                wp->Y = body->Y;
                wp->Z = body->Z;
            }
        }
    }
}

void TVexaSector::UpdateRoutesSelected()
{
    // Waypoints stand where their systems stand.
    FHistory->TouchPart(TSectorPart::Routes);
    for (const auto &root : Systems)
        if (root->Selected)
            UpdateRoutesForBody(root.get());
}

int TVexaSector::AddSubsector(std::unique_ptr<TVexaSubsector> subsector)
{
    FHistory->TouchPart(TSectorPart::Subsectors);
    if (!subsector)
        return -1;
    Subsectors.push_back(std::move(subsector));
    return SubsectorCount() - 1;
}

TVexaSubsector *TVexaSector::GetSubsector(int index) const
{
    if (index < 0 || index >= SubsectorCount())
        return nullptr;
    return Subsectors[static_cast<std::size_t>(index)].get();
}

int TVexaSector::GetSubsectorIndexByName(std::string_view name) const
{
    for (std::size_t i = 0; i < Subsectors.size(); ++i)
        if (SameText(Subsectors[i]->Name, name))
            return static_cast<int>(i);
    return -1;
}

void TVexaSector::DeleteSubsector(int index)
{
    FHistory->TouchPart(TSectorPart::Subsectors);
    if (index < 0 || index >= SubsectorCount())
        return;
    DeletedObjects.push_back(std::move(Subsectors[static_cast<std::size_t>(index)]));
    Subsectors.erase(Subsectors.begin() + index);
}

void TVexaSector::ResetCamera()
{
    Camera = OriginCamera;
    Target = OriginTarget;
}

void TVexaSector::RestoreDefaultOrigins()
{
    FHistory->TouchPart(TSectorPart::Settings);
    OriginCamera = {SizeX / 2, 0, 3 * SizeZ};
    OriginTarget = {0, 0, 0};
}

void TVexaSector::SetOriginsFromCurrentView()
{
    FHistory->TouchPart(TSectorPart::Settings);
    OriginCamera = Camera;
    OriginTarget = Target;
}

} // namespace kalvion
