#pragma once
// Sector operations on surface maps: terrain worlds turned into images inside
// the sector (image resources and the terrain data of the sector file), the
// world files of planets and their clean-up.  Free functions taking the
// sector; the main window, the editing commands, scripts and the command line
// call them on the main thread.
#include "model/GexColorGroup.h"
#include "surface/manager/SurfaceMapMaking.h"

#include <string>

namespace kalvion {

class TStellarBody;
class TVexaSector;

// The size of a stored map.
inline constexpr int GEX_STORED_MAP_WIDTH = 512;
inline constexpr int GEX_STORED_MAP_HEIGHT = 256;

// The one image-resource name of a body's surface map, used by both the
// generation and the refresh: "{IDString}.png", the file-name part of its
// texture name (so no folder of this machine ends up in the sector).
std::string SurfaceMapResourceName(const TStellarBody &body);
// The world file of a terrestrial planet: the user's data folder + "Planets/"
// + IDString + ".gex"; empty for other types and for an IDString that is not
// a GUID.
std::string GexFileName(const TStellarBody &body);

// Makes the body's terrain from its values and the group, stores the PNG as
// the body's image resource (and as its PreviewImageFile) and then, with
// saveTerrain, the world file and image as the body's terrain data in the
// sector file.  True when everything asked for was stored; false otherwise
// (a body that is not a GUID-named terrestrial planet, an encoder or
// database failure, or a body not yet saved when saveTerrain is asked: it
// still gets its picture).
bool GenerateGexSurfaceMap(TVexaSector &sector, TStellarBody &body, bool saveTerrain, const TGexColorGroup &group);
// The same at another size.
bool GenerateGexSurfaceMap(TVexaSector &sector, TStellarBody &body, bool saveTerrain, const TGexColorGroup &group,
                           int width, int height);

// When the body's world file exists: renders it at its own size into the
// body's image resource.  True when a map was stored.
bool RefreshGexSurfaceMap(TVexaSector &sector, TStellarBody &body);
// Refreshes when the world file exists and the image resource named by the
// body's PreviewImageFile is missing or older than the world file.
bool CheckGexRefresh(TVexaSector &sector, TStellarBody &body);
// When the body's world file exists: renders it and writes the image to the
// file named by the body's TextureName.  True when written.
bool GexUpdateTerrain(const TStellarBody &body);
// Whether the sector file holds terrain data for the body.
bool HasTerrainData(const TVexaSector &sector, const TStellarBody &body);
// Stores a world file (its bytes unchanged) and its rendered image as the
// body's terrain data; false on any failure, the sector file unchanged.
bool StoreTerrainFile(TVexaSector &sector, const TStellarBody &body, const std::string &worldFile);

// Deletes the files of the folder matching the pattern ("*.gex") that really
// are generated world files never edited: magic "Gex", version 5 … 7,
// origin 2.  Anything else is left alone.  The number deleted.
int ClearUneditedGexFiles(const std::string &folder, const std::string &pattern);
// Whether these bytes begin a generated, never edited world file.
bool IsUneditedGexHeader(const std::uint8_t *data, std::size_t size) noexcept;

} // namespace kalvion
