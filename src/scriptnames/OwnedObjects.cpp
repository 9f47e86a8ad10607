#include "scriptnames/OwnedObjects.h"

#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include <stdexcept>

namespace kalvion::names {

void FreeScriptObject(const TNames &n, TScriptAppHost &, const TScriptValue &obj)
{
    void *p = obj.Obj.Get();
    if (!p)
        return;
    if (n.Pool().Free(p))
        return;
    // Objects a script made that live outside the pool (its dialogs, the
    // nodes of its trees) are freed by their class.
    for (const TScriptClassInfo *c = obj.Obj.Class(); c; c = c->Parent)
        if (c->Destroy && c->Destroy(p))
            return;
    const std::string cls = obj.Obj.Class() ? obj.Obj.Class()->Name : std::string("object");
    throw std::runtime_error("FreeObject: this " + cls +
                             " belongs to the program (a system, a sector or the main window) and cannot be freed");
}

std::weak_ptr<void> HostToken(TScriptAppHost &host)
{
    return host.ScriptObjects().SelfToken();
}

void EndTreeLifetime(TStellarBody &body)
{
    body.EndLifetime();
    for (auto &c : body.Children)
        EndTreeLifetime(*c);
}

std::unique_ptr<TStellarBody> TakeScriptBody(const TNames &n, TStellarBody &body, const char *routine)
{
    std::unique_ptr<TStellarBody> owned = n.Pool().Release(&body);
    if (!owned)
        throw std::runtime_error(std::string(routine) +
                                 ": the body already belongs to a system; create a new body or copy it");
    return owned;
}

namespace {

const TStellarBody &RootOf(const TStellarBody &body)
{
    const TStellarBody *b = &body;
    while (b->Parent)
        b = b->Parent;
    return *b;
}

} // namespace

bool InSectorTree(const TVexaSector &sector, const TStellarBody &body)
{
    return sector.IndexOfSystem(&RootOf(body)) >= 0;
}

void CheckRouteBody(const TNames &n, const TStellarRoute &route, const TStellarBody &body, const char *routine)
{
    if (route.Sector) {
        if (!InSectorTree(*route.Sector, body))
            throw std::runtime_error(std::string(routine) + ": the body is not in the route's sector");
        return;
    }
    // Still the script's own route: the body must already live in a sector,
    // or the waypoint would outlive it when the run ends.
    if (n.Pool().Owns(&RootOf(body)))
        throw std::runtime_error(std::string(routine) +
                                 ": the body is not in a sector; add its system to the sector first");
}

void CheckRouteForSector(const TStellarRoute &route, const TVexaSector &sector, const char *routine)
{
    for (std::size_t i = 0; i < route.Waypoints.size(); ++i) {
        const TRouteWaypoint &w = *route.Waypoints[i];
        const std::string which = "waypoint " + std::to_string(i);
        if (w.Body.Gone())
            throw std::runtime_error(std::string(routine) + ": the system of " + which + " is gone");
        if (w.Body && !InSectorTree(sector, *w.Body))
            throw std::runtime_error(std::string(routine) + ": the system of " + which + " is not in this sector");
    }
}

} // namespace kalvion::names
