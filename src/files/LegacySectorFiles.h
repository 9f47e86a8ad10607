#pragma once
// Older sector files, read only: stream files (versions 1 to 3, one stream
// holding the whole sector) and record files (version 4, records per object
// with the systems' contents loaded on demand).
#include "model/SectorStore.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kalvion {

class TVexaSector;
class TAppFileStream;

inline constexpr const char *FILE_ERROR_VERSION =
    "This file cannot be opened because it was either created with a newer version of the program or is of an "
    "unrecognizable type.  Please check Zent Software's home page for any available program updates.  The version "
    "used to create this file was: ";
inline constexpr const char *FILE_CREATOR = "Kalvion";
inline constexpr const char *LEGACY_FILE_CORRUPTED = "This is not an Kalvion file, or the file may be corrupted";

// 0 missing or unknown, 1 stream file, 2 record file, 3 sector database.
int GetVexaFileVersion(const std::string &fileName);

// The open record file behind a sector read from it: serves the systems'
// children and the images' bytes on demand until closed.
class TLegacyRecordFile : public TSectorStore {
public:
    TLegacyRecordFile(std::string fileName, std::unique_ptr<TAppFileStream> stream, std::int32_t version);
    ~TLegacyRecordFile() override;
    bool LoadSystemChildren(TVexaSector &sector, TStellarBody &root) override;
    bool LoadResourceData(TVexaSector &sector, TVexaImageResource &resource) override;
    void CloseActive() override;
    const std::string &FileName() const { return FFileName; }

private:
    bool Reopen();
    bool SeekRecord(std::int64_t offset, const std::string &expectedId);
    std::string FFileName;
    std::unique_ptr<TAppFileStream> FStream;
    std::int32_t FVersion;
};

struct TLegacyLoadResult {
    bool Ok = false;
    std::string ErrorTitle;   // "Cannot open file" for a newer version
    std::string ErrorText;
    // For a record file: the open file that serves DynaLoad_v2 afterwards.
    std::unique_ptr<TLegacyRecordFile> RecordFile;
};

// Reads a stream file, or hands a record file to LoadFromDB.  The sector is
// expected to be empty.  Clears the document's Modified flag.
TLegacyLoadResult LoadFromFile_v1_v2(TVexaSector &sector, const std::string &fileName);
// Reads the settings, subsectors, routes, system headers and resource
// headers of a record file.
TLegacyLoadResult LoadFromDB(TVexaSector &sector, const std::string &fileName);
// Loads a root's children from the sector's record file.
bool DynaLoad_v2(TVexaSector &sector, TLegacyRecordFile &file, TStellarBody &root);
bool DynaLoadResource_v2(TVexaSector &sector, TLegacyRecordFile &file, TVexaImageResource &resource);
// Legacy files are never written; this only settles the document flag, and
// only when there was something to settle.
bool SaveToDB(TVexaSector &sector, const std::string &fileName, bool flag);

} // namespace kalvion
