#include "model/RouteStops.h"

#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"

#include <string>

namespace kalvion {

namespace {

bool HoldsSystem(TStellarBody &root, const std::string &id, TStellarBodyList &scratch)
{
    scratch.clear();
    root.GetAllChildren(scratch);
    for (const TStellarBody *b : scratch)
        if (b->IDString == id)
            return true;
    return false;
}

} // namespace

void ForgetStopsOfGoneSystems(TVexaSector &sector)
{
    TStellarBodyList scratch;
    for (int r = sector.RouteCount(); r-- > 0;) {
        auto &stops = sector.GetRoute(r)->Waypoints;
        bool removed = false;
        for (std::size_t w = stops.size(); w-- > 0;) {
            TStellarBody *holder = stops[w]->Body.Get();
            // A holder whose bodies are not loaded keeps its stops: they are
            // in the file, below it.
            if (!holder || !holder->Loaded || holder->IDString == stops[w]->id ||
                HoldsSystem(*holder, stops[w]->id, scratch))
                continue;
            sector.History().TouchPart(TSectorPart::Routes);
            stops.erase(stops.begin() + static_cast<std::ptrdiff_t>(w));
            removed = true;
        }
        if (removed && stops.size() < 2)
            sector.DeleteRoute(r);
    }
}

} // namespace kalvion
