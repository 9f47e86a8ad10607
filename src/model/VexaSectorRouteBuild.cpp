// Making routes from systems and finding the systems on routes.
#include "model/VexaSector.h"

#include "base/AsciiText.h"

#include <unordered_set>

namespace kalvion {

TStellarRoute *TVexaSector::CreateRouteSelected(const std::string &routeType, const std::string &name, double red,
                                                double green, double blue, int lineStyle, double lineWidth)
{
    if (Selection.size() < 2)
        return nullptr;
    auto route = TStellarRoute::Create();
    route->Name = name;
    route->RouteType = routeType;
    for (TStellarBody *root : Selection)
        route->AddSystem(root);
    route->Red = red;
    route->Green = green;
    route->Blue = blue;
    route->LineWidth = lineWidth;
    route->LineStyle = lineStyle;
    route->Modified = true;
    TStellarRoute *raw = route.get();
    AddRoute(std::move(route));
    AddRouteType(routeType);
    return raw;
}

TStellarRoute *TVexaSector::CreateRouteSegment(TStellarBody *fromBody, TStellarBody *toBody,
                                               const std::string &routeType, const std::string &name, TColor color,
                                               int lineStyle, double lineWidth)
{
    if (!fromBody || !toBody)
        return nullptr;
    auto route = TStellarRoute::Create();
    route->Name = name;
    route->RouteType = routeType;
    route->AddSystem(fromBody);
    route->AddSystem(toBody);
    route->Red = ColorRed(color) / 255.0;
    route->Green = ColorGreen(color) / 255.0;
    route->Blue = ColorBlue(color) / 255.0;
    route->LineWidth = lineWidth;
    route->LineStyle = lineStyle;
    TStellarRoute *raw = route.get();
    AddRoute(std::move(route));
    AddRouteType(routeType);
    return raw;
}

void TVexaSector::GetAllOnRoutesWithSelected(TStellarBodyList &list) const
{
    if (list.capacity() < Systems.size())
        list.reserve(Systems.size());
    std::unordered_set<std::string> seen;
    for (const TStellarBody *root : Selection) {
        for (const auto &route : Routes) {
            if (!route->OnRoute(root))
                continue;
            for (const auto &wp : route->Waypoints) {
                if (!seen.insert(AsciiLower(wp->id)).second)
                    continue;
                // A waypoint not resolved yet is looked up by its identity.
                TStellarBody *system = wp->Body ? wp->Body : FindRootBodyById(wp->id);
                if (system)
                    list.push_back(system);
            }
        }
    }
}

} // namespace kalvion
