#pragma once
// Route stops of systems moved into another system: each stop keeps the
// moved system's id and stands where the root that now holds it stands.
namespace kalvion {

class TVexaSector;

// Removes the stops whose system is no longer below the root holding it
// (its holder's contents were deleted or made again), as deleting a system
// removes its stops; a route left with fewer than two stops goes.
void ForgetStopsOfGoneSystems(TVexaSector &sector);

} // namespace kalvion
