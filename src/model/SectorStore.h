#pragma once
// The seam between the sector document and the files that hold it.  The
// sector-file layer implements it; the document calls it to load a stored
// system's contents or an image's data on demand.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvion {

class TVexaSector;
class TStellarBody;
class TVexaImageResource;

// One row of a body's stored surface map, exactly as the file holds it.
struct TStoredSurfaceMap {
    std::int64_t RowId = 0, BodyId = 0;
    std::string IdString;
    bool IdNull = true;
    std::vector<std::uint8_t> Terrain, Image;
    bool operator==(const TStoredSurfaceMap &) const = default;
};

class TSectorStore {
public:
    virtual ~TSectorStore() = default;
    // Reads the whole tree of children of a stored root from the sector's
    // file into the root.  False (and the root left empty) on failure.
    virtual bool LoadSystemChildren(TVexaSector &sector, TStellarBody &root) = 0;
    // Reads the data of a stored image resource.
    virtual bool LoadResourceData(TVexaSector &sector, TVexaImageResource &resource) = 0;
    // The surface-map image stored with a body; none when there is none.
    virtual std::optional<std::vector<std::uint8_t>> LoadSurfaceMapImage(TVexaSector &, const TStellarBody &)
    {
        return std::nullopt;
    }
    // Surface maps live in the sector file only, outside the document: the
    // undo history reads and puts back their rows through these.
    virtual std::vector<TStoredSurfaceMap> ReadSurfaceMaps(TVexaSector &, const std::vector<std::int64_t> &)
    {
        return {};
    }
    // The bodies that have a row, sorted; no blobs are read.
    virtual std::vector<std::int64_t> SurfaceMapBodies(TVexaSector &) { return {}; }
    // The rows of the stored body of that row id and identity become these,
    // each keeping its row id where free; false when the file holds no such
    // body (yet).
    virtual bool ReplaceSurfaceMaps(TVexaSector &, std::int64_t, const std::string &,
                                    const std::vector<TStoredSurfaceMap> &)
    {
        return false;
    }
    // Closes a legacy file kept open between calls, if any.
    virtual void CloseActive() {}
};

} // namespace kalvion
