#pragma once
// Who owns what a script touches: FreeObject frees only objects the script
// made and nothing took over; objects removed from the document end their
// script references even while they wait in a deleted list.
#include "scriptnames/NameHelpers.h"

namespace kalvion {
class TStellarBody;
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

} // namespace kalvion::names
