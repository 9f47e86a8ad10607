#include "scripting/RoutePlannerNames.h"

#include "model/VexaSector.h"
#include "scripting/ScriptRegistry.h"
#include "travel/RoutePlanner.h"

#include <cmath>
#include <stdexcept>

namespace kalvion {

void RegisterRoutePlannerNames(TScriptRegistry &reg, std::function<TVexaSector *()> sector)
{
    reg.AddConstant("PLAN_ROUTE_FEWEST_JUMPS", TScriptValue::FromInt(PLAN_ROUTE_FEWEST_JUMPS));
    reg.AddConstant("PLAN_ROUTE_SHORTEST", TScriptValue::FromInt(PLAN_ROUTE_SHORTEST));
    reg.AddConstant("PLAN_ROUTE_ALONG_ROUTES", TScriptValue::FromInt(PLAN_ROUTE_ALONG_ROUTES));
    reg.AddRoutine(
        "PlanRoute",
        {ArgOf(TScriptType::String), ArgOf(TScriptType::String), ArgOf(TScriptType::Double),
         ArgOf(TScriptType::Integer)},
        ArgOf(TScriptType::String), [sector = std::move(sector)](TScriptArgs &a) {
            TVexaSector *s = sector ? sector() : nullptr;
            if (!s)
                throw std::runtime_error("PlanRoute: no sector is open");
            const TStellarBody *ends[2] = {s->FindRootBodyByName(a[0].Str), s->FindRootBodyByName(a[1].Str)};
            for (int i = 0; i < 2; ++i)
                if (!ends[i])
                    throw std::runtime_error("PlanRoute: no system named \"" + a[static_cast<std::size_t>(i)].Str + "\"");
            TRoutePlanOptions o;
            switch (a[3].Int) {
            case PLAN_ROUTE_FEWEST_JUMPS:
                o.Goal = TPlanGoal::FewestJumps;
                break;
            case PLAN_ROUTE_SHORTEST:
                o.Goal = TPlanGoal::Shortest;
                break;
            case PLAN_ROUTE_ALONG_ROUTES:
                o.Goal = TPlanGoal::Shortest;
                o.AlongRoutes = true;
                break;
            default:
                throw std::runtime_error("PlanRoute: unknown mode " + std::to_string(a[3].Int));
            }
            o.MaxJump = a[2].Dbl * s->UnitStarMeasureRatio;
            TRoutePlanner planner(*s);
            const TRoutePlan plan = planner.Plan(ends[0], ends[1], o);
            if (!plan.Error.empty())
                throw std::runtime_error("PlanRoute: " + plan.Error);
            std::string stops;
            for (const TPlanStop &stop : plan.Stops) {
                if (!stops.empty())
                    stops += "\r\n";
                stops += stop.System->Name;
            }
            return TScriptValue::FromString(stops);
        });
}

} // namespace kalvion
