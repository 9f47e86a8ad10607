#pragma once
// What a step changes besides the systems and the parts: the sector's
// images, and the surface maps, which live in the sector file alone.
// Both are kept as whole copies: images are few and touched rarely, and a
// stored image or map may be gone from the file after the next save.
#include "base/IdentityText.h"
#include "model/ImageResources.h"
#include "model/SectorStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kalvion {

class TVexaSector;
class TStellarBody;

struct TResourceCopy {
    int Index = -1;
    std::string Name;
    TIdentityText Id;
    std::int64_t RecordID = 0;
    double TimeStamp = 0;
    bool Deleted = false;
    bool Modified = false;
    // False when the bytes could not be had (no file to read them from): the
    // image is then read on demand again, as before.
    bool HasData = false;
    TByteStream Data;
    bool operator==(const TResourceCopy &) const = default;
};

struct TResourceChange {
    std::string Name;
    std::vector<TResourceCopy> Before, After;
};

// By the body's identity: the row id of a body can change when an undo
// brings it back after a save.
struct TSurfaceMapChange {
    std::string Body;
    std::int64_t BodyId = 0; // while the step is open
    std::vector<TStoredSurfaceMap> Before, After;
};

// Every image of that name (deleted ones too) whose index is below `below`,
// with its bytes, read from the file where they are not in memory.  An
// image still unloaded since `earlier` was taken has the bytes it had then.
std::vector<TResourceCopy> CopyResources(TVexaSector &sector, const std::string &name,
                                         std::size_t below = SIZE_MAX,
                                         const std::vector<TResourceCopy> *earlier = nullptr);
// The images of that name become the copies.  One that the file holds and
// the copies do not is kept as deleted, so the next save removes its row.
void PutResources(TVexaSector &sector, const std::string &name, const std::vector<TResourceCopy> &copies);

std::vector<TStoredSurfaceMap> ReadBodySurfaceMaps(TVexaSector &sector, std::int64_t bodyId);
// Every body the document has in memory: the whole trees of loaded
// systems, the roots of the others.  The visit stops when `visit` says so.
void VisitDocumentBodies(TVexaSector &sector, const std::function<bool(TStellarBody &)> &visit);
// The body of that identity in the document; none when it is not there.
TStellarBody *FindDocumentBody(TVexaSector &sector, const std::string &identity);

std::size_t ChangeBytes(const TResourceChange &change);
std::size_t ChangeBytes(const TSurfaceMapChange &change);

} // namespace kalvion
