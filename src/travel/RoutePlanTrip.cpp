// What a planned trip takes: its travel time by the travel calculator's
// rules, and the route that keeps it in the sector.
#include "base/NumberFormat.h"
#include "model/VexaSector.h"
#include "travel/RoutePlanner.h"
#include "travel/SpaceTravel.h"
#include "travel/TravelCalculator.h"

namespace kalvion {

bool PlanTravelTime(TVexaSector &sector, const TRoutePlan &plan, const TTravelInputs &inputs,
                    const std::vector<TTravelCalcMethod *> &methods, double &seconds, std::string &message)
{
    seconds = 0;
    message.clear();
    TTravelCalculator calc(sector);
    calc.SetMethods(methods);
    for (std::size_t i = 1; i < plan.Stops.size(); ++i) {
        calc.Inputs = inputs;
        calc.Inputs.OutToDistance.clear();
        calc.Inputs.StartBody = plan.Stops[i - 1].System;
        calc.Inputs.EndBody = plan.Stops[i].System;
        const TTravelResult &r = calc.Recalculate();
        if (!r.Message.empty()) {
            message = r.Message;
            return false;
        }
        if (r.TravelTimeText == TRAVEL_NOT_AVAILABLE) {
            message = "A jump of the trip cannot be made at this speed";
            return false;
        }
        // A method that cannot make the jump answers with its own text and
        // no time.
        if (r.TravelTime == 0 && r.TravelTimeText != FormatTravelDuration(0)) {
            message = r.TravelTimeText;
            return false;
        }
        seconds += r.TravelTime;
    }
    return true;
}

std::string PlanDistanceText(const TVexaSector &sector, double ly)
{
    return FormatFloat("#,##0.##", sector.DistanceInUnits(ly)) + " " + sector.UnitStarMeasureAbbrev;
}

std::string PlanNoPathText(const TVexaSector &sector, const TRoutePlan &plan, const std::string &from,
                           const std::string &to, bool alongRoutes, double maxJump)
{
    std::string text = "no path from \"" + from + "\" to \"" + to + "\"";
    if (!plan.NearestReachable)
        return text;
    text += ": the nearest reachable system is " + plan.NearestReachable->Name + ", " +
            PlanDistanceText(sector, plan.NearestToDestination) + " from " + to;
    if (plan.GapTo) {
        text += "; the shortest jump on towards " + to + " is " + PlanDistanceText(sector, plan.Gap) + " to " +
                plan.GapTo->Name;
        if (!alongRoutes)
            text += ", longer than " + PlanDistanceText(sector, maxJump);
    }
    return text;
}

TStellarRoute *AddPlanAsRoute(TVexaSector &sector, const TRoutePlan &plan, const std::string &name,
                              const std::string &routeType, TColor color, int lineStyle, double lineWidth)
{
    if (plan.Stops.size() < 2)
        return nullptr;
    auto route = TStellarRoute::Create();
    route->Name = name;
    route->RouteType = routeType;
    for (const TPlanStop &stop : plan.Stops)
        route->AddSystem(stop.System);
    route->Red = ColorRed(color) / 255.0;
    route->Green = ColorGreen(color) / 255.0;
    route->Blue = ColorBlue(color) / 255.0;
    route->LineStyle = lineStyle;
    route->LineWidth = lineWidth;
    route->Modified = true;
    TStellarRoute *raw = route.get();
    sector.AddRoute(std::move(route));
    sector.AddRouteType(routeType);
    return raw;
}

} // namespace kalvion
