#pragma once
// Who owns what a script touches: FreeObject frees only objects the script
// made and nothing took over; objects removed from the document end their
// script references even while they wait in a deleted list.
#include "scriptnames/NameHelpers.h"

namespace kalvion {
class TStellarBody;
class TStellarRoute;
class TVexaSector;
}

namespace kalvion::names {

// FreeObject: nil is ignored; an object the script owns is freed; anything
// the program owns is a script error.
void FreeScriptObject(const TNames &n, TScriptAppHost &host, const TScriptValue &obj);

// A token that lives as long as the host (objects the host keeps).
std::weak_ptr<void> HostToken(TScriptAppHost &host);

// Ends the script references to a body and its whole tree.
void EndTreeLifetime(TStellarBody &body);

// Takes a body the script owns for a new owner; a script error naming the
// routine when the body already belongs to a system or a sector.
std::unique_ptr<TStellarBody> TakeScriptBody(const TNames &n, TStellarBody &body, const char *routine);

// True when the body is in the sector's tree: one of its systems or a body
// under one.
bool InSectorTree(const TVexaSector &sector, const TStellarBody &body);

// A route holds only bodies of the sector it belongs to.  A route of a sector
// takes a body of that sector; a route not yet added to one takes a body of
// some sector's tree (never one the script made and has not placed), and
// AddRoute checks the whole route against its new sector.  A script error
// naming the routine otherwise.
void CheckRouteBody(const TNames &n, const TStellarRoute &route, const TStellarBody &body, const char *routine);
void CheckRouteForSector(const TStellarRoute &route, const TVexaSector &sector, const char *routine);

} // namespace kalvion::names
