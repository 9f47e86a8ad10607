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
    // Closes a legacy file kept open between calls, if any.
    virtual void CloseActive() {}
};

} // namespace kalvion
