#pragma once
// The seam between the sector document and the files that hold it.  The
// sector-file layer implements it; the document calls it to load a stored
// system's contents or an image's data on demand.
#include <string>

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
    // Closes a legacy file kept open between calls, if any.
    virtual void CloseActive() {}
};

} // namespace kalvion
