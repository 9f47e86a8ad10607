#pragma once
// The file operations of the sector document: loading a sector file with
// its roots only, saving (incrementally into the sector's own file, through
// a temporary file and a rename into any other), templates, and the store
// that loads systems and images on demand.
#include "base/SafeFile.h" // SameFilePath

#include <string>

namespace kalvion {

class TVexaSector;
class TSectorStore;

// The store that reads stored systems and images from the sector's file.
// It keeps no state between calls; one instance serves every sector.
TSectorStore &SectorDatabaseStore();
// Installs the store on a sector so that DynaLoad reads from its FileName.
void AttachSectorStore(TVexaSector &sector);

// Clears the document flag Modified; a missing file changes nothing more.
// Otherwise reads the sector (which is expected to be empty), sets FileName
// and Name, applies the filters and resets the camera.  On failure the
// sector is left empty and `error` says why.
bool LoadFromFile(TVexaSector &sector, const std::string &fileName, std::string *error = nullptr);

// Writes the sector to fileName and on success sets FileName and Name and
// clears Modified.  Saving into the sector's own file writes only what
// changed.  Saving into another file always carries the stored contents of
// systems never loaded over (the sector's file is copied first, whatever
// copyFirst says) and replaces the target only once the save is complete.
// A failed save returns false, leaves the files as they were and every
// change flag set.  When only the final move into place fails, the sector
// stays readable from the temporary file the save wrote, the error names it,
// and FileNameUnconfirmed refuses a later save onto that name.
bool SaveToFile(TVexaSector &sector, const std::string &fileName, bool copyFirst, std::string *error = nullptr);

// LoadFromFile, then every system and image loaded and every row id reset:
// a new, unsaved sector with all its contents in memory.
bool LoadFromTemplate(TVexaSector &sector, const std::string &fileName, std::string *error = nullptr);

// The scratch file of sector generation in the user's data folder.
std::string GenerateTempFile();

} // namespace kalvion
