#include "files/LegacyConvert.h"

#include "base/Paths.h"
#include "files/LegacySectorFiles.h"
#include "files/SectorFile.h"
#include "files/SectorImport.h"
#include "files/VexaDBSQLite.h"
#include "model/VexaSector.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kalvion {

namespace {

bool Failed(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool ConvertLegacySector(const std::string &oldFile, const std::string &newFile, std::string *error)
{
    // Checked before anything is deleted: converting a file onto itself
    // would destroy the only copy.
    if (SameFilePath(oldFile, newFile))
        return Failed(error, CONVERT_SAME_NAME);
    if (!FileExists(oldFile))
        return Failed(error, "cannot open file " + oldFile);
    if (GetVexaFileVersion(oldFile) == 3)
        return Failed(error, "\"" + oldFile + "\" is a sector database already; only older sector files are converted");

    TVexaSector sector;
    TLegacyLoadResult loaded = LoadFromFile_v1_v2(sector, oldFile);
    if (!loaded.Ok) {
        // A file of a newer program says so with its creator; anything else
        // that does not read is not an older sector file at all.
        if (loaded.ErrorText.empty() || loaded.ErrorText == LEGACY_FILE_CORRUPTED)
            return Failed(error, "\"" + oldFile + "\" is not an older sector file, or it is damaged");
        return Failed(error, loaded.ErrorText);
    }
    TLegacyRecordFile *records = loaded.RecordFile.get();
    sector.Store = records;

    // Images go with the sector row; their bytes are read first.  An image
    // whose bytes cannot be read would be written as an empty row, which
    // looks like a converted image and is not one.
    for (auto &res : sector.ImageResources.Resources) {
        if (records && !DynaLoadResource_v2(sector, *records, *res))
            return Failed(error, "The image \"" + res->ResourceName + "\" could not be read from " + oldFile +
                                     "; the file was not converted");
        res->Modified = true;
    }
    for (auto &route : sector.Routes)
        route->TVexaBase::Modified = true;
    for (auto &root : sector.Systems)
        root->TVexaBase::Modified = true;

    // The database is built beside the target and moved into place once it
    // is complete: a conversion that fails leaves a file already there (the
    // user agreed to replace it, not to lose it) as it was.
    const std::string temp = newFile + ".converting~";
    TVexaDB_SQLite db;
    auto fail = [&](const std::string &text) {
        db.CloseSectorFile();
        sector.Store = nullptr;
        std::remove(temp.c_str());
        std::remove((temp + "-journal").c_str());
        return Failed(error, text);
    };
    if (!db.OpenSectorFile(temp, true))
        return fail(db.ErrorMessage);
    if (!db.WriteSector(sector))
        return fail(db.ErrorMessage);

    // A record file's systems were read as headers: their contents follow
    // system by system, written under the root's new id and dropped again.
    if (records) {
        for (auto &root : sector.Systems) {
            if (root->Loaded || root->DBChildOffset() <= 0)
                continue;
            if (!DynaLoad_v2(sector, *records, *root))
                continue; // a children record that cannot be read leaves the system empty
            const bool ok = db.WriteChildren(*root, root->RecordID);
            root->UnloadChildren();
            root->Loaded = false;
            if (!ok)
                return fail(db.ErrorMessage);
        }
    }
    db.CloseSectorFile();
    std::error_code ec;
    std::filesystem::rename(temp, newFile, ec);
    if (ec)
        return fail("\"" + newFile + "\" could not be written: " + ec.message());
    sector.Store = nullptr;
    return true;
}

bool ImportSector(TVexaSector &sector, const std::string &fileName, int mode, int placement, double dx, double dy,
                  double dz, std::string *error)
{
    // Merging from nothing is a mistake worth saying, not "0 systems added".
    if (DirectoryExists(fileName))
        return Failed(error, "\"" + fileName + "\" is a folder, not a sector file");
    if (!FileExists(fileName))
        return Failed(error, "\"" + fileName + "\" does not exist");
    TVexaSector other;
    std::string reason;
    const bool read = LoadFromFile(other, fileName, &reason);
    if (!read)
        other.New();
    ImportSectorFrom(sector, other, mode, placement, dx, dy, dz);
    if (!read)
        return Failed(error, reason);
    return true;
}

} // namespace kalvion
