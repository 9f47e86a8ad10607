#pragma once
// Terrain data and surface-map images stored in a sector file, one row per
// body in `surface_maps`.  Each call opens its own connection on the file.
#include "files/ZentDatabase.h"
#include "model/SectorStore.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvion {

// Stores (replacing any earlier row of the body) the terrain data and the
// image of a body.  True when the file could be opened and written.
bool StoreSurfaceMap(const std::string &fileName, const TMemoryStream &terrainStream,
                     const TMemoryStream &imageStream, std::int64_t bodyRecordID);
void DeleteSurfaceMap(const std::string &fileName, std::int64_t bodyRecordID);
// True when the body's first row holds terrain data.
bool HasSurfaceMap(const std::string &fileName, std::int64_t bodyRecordID);
// The body's stored image, or none.
std::unique_ptr<TMemoryStream> LoadSurfaceMapImage(const std::string &fileName, std::int64_t bodyRecordID);
// The row ids of the bodies that have a stored image, sorted; one query for
// callers that visit every body of a sector.
std::vector<std::int64_t> SurfaceMapImageBodyIds(const std::string &fileName);

// The whole rows of these bodies, in row order.
std::vector<TStoredSurfaceMap> ReadSurfaceMapRows(const std::string &fileName, const std::vector<std::int64_t> &bodyIds);
// Every body id that has a row, sorted, without reading the blobs.
std::vector<std::int64_t> SurfaceMapBodyIds(const std::string &fileName);
// The body's rows become these, each row keeping its id where that is free.
// False, and nothing written, when the file holds no body of that row id
// and identity.
bool ReplaceSurfaceMapRows(const std::string &fileName, std::int64_t bodyRecordID, const std::string &identity,
                           const std::vector<TStoredSurfaceMap> &rows);

} // namespace kalvion
