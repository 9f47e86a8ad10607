#pragma once
// Bringing systems from outside into the open sector: merging another sector
// and reading a nearby-star catalogue listing.
#include <cstddef>
#include <string>

namespace kalvion {

class TVexaSector;

inline constexpr int SECTOR_IMPORT_ALLOW = 0;
inline constexpr int SECTOR_IMPORT_UPDATE = 1;
inline constexpr int SECTOR_IMPORT_SKIP = 2;
inline constexpr int SECTOR_IMPORT_COORDS = 0;
inline constexpr int SECTOR_IMPORT_CENTER = 1;
inline constexpr int SECTOR_IMPORT_FRONT = 2;
inline constexpr int SECTOR_IMPORT_BACK = 3;
inline constexpr int SECTOR_IMPORT_LEFT = 4;
inline constexpr int SECTOR_IMPORT_RIGHT = 5;
inline constexpr int SECTOR_IMPORT_BOTTOM = 6;
inline constexpr int SECTOR_IMPORT_TOP = 7;

struct TImportOffset {
    double X = 0, Y = 0, Z = 0;
};

// The offset a placement gives between two sectors; placements 1 to 7 ignore
// the caller's offset.
TImportOffset ImportPlacementOffset(const TVexaSector &sector, const TVexaSector &other, int placement,
                                    TImportOffset given);

// Merges the systems, routes, subsectors and images of other (already read)
// into sector.  The other sector's roots are loaded for the copy and unloaded
// again.  Sets the document's Modified flag.
void ImportSectorFrom(TVexaSector &sector, TVexaSector &other, int mode, int placement, double dx, double dy,
                      double dz);

// The most a catalogue listing may hold, from a file, a pipe or a device
// alike, and the longest line worth reading: longer lines are passed over.
inline constexpr std::size_t CATALOGUE_MAX_BYTES = 64u << 20;
inline constexpr std::size_t CATALOGUE_MAX_LINE = 64u << 10;

// What a catalogue import passed over.
struct TCatalogueSkips {
    int Unplaced = 0;  // entries without a position line that reads (or one beyond the largest sector)
    int LongLines = 0; // lines longer than CATALOGUE_MAX_LINE
};

// Reads a nearby-star catalogue listing line by line.  Returns the number of
// stars added; a file without a usable star changes nothing.  Stars are
// added only once the whole listing has been read: when it cannot be read
// (missing, a folder, unreadable, or longer than CATALOGUE_MAX_BYTES) nothing
// is added and error says why.  skips, when given, counts what was passed over.
int ImportGliese(TVexaSector &sector, const std::string &fileName, std::string *error = nullptr,
                 TCatalogueSkips *skips = nullptr);

} // namespace kalvion
