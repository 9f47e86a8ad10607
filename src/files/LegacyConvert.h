#pragma once
// Converting an older sector file into a sector database, and merging
// another sector file into the open sector.
#include <string>

namespace kalvion {

class TVexaSector;

inline constexpr const char *CONVERT_SAME_NAME = "The converted file must have a different name than the original";

// Reads oldFile (a stream or record file) and writes it as a new sector
// database newFile.  The target may not be the source.  False, with the
// reason in error, when anything fails; a failed conversion leaves no
// half-written target behind.
bool ConvertLegacySector(const std::string &oldFile, const std::string &newFile, std::string *error = nullptr);

// Reads fileName into a temporary sector and merges it into sector (see
// ImportSectorFrom).  A missing file or a folder fails with the reason and
// changes nothing; a file that is not a sector database imports nothing but
// still marks the document modified.  Returns false with the reason when the
// file could not be read.
bool ImportSector(TVexaSector &sector, const std::string &fileName, int mode, int placement, double dx, double dy,
                  double dz, std::string *error = nullptr);

} // namespace kalvion
