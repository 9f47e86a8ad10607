#include "files/SectorFile.h"
#include "model/history/SectorHistory.h"

#include "base/Paths.h"
#include "files/SectorSchema.h"
#include "files/SurfaceMapStore.h"
#include "files/VexaDBSQLite.h"
#include "model/SectorStore.h"
#include "model/VexaSector.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include <sys/stat.h>

namespace kalvion {

namespace fs = std::filesystem;

namespace {

class TSectorDatabaseStore final : public TSectorStore {
public:
    bool LoadSystemChildren(TVexaSector &sector, TStellarBody &root) override
    {
        if (root.RecordID <= 0)
            return false;
        std::lock_guard<std::mutex> lock(FLock);
        TVexaDB_SQLite *db = Reader(sector.FileName);
        if (!db)
            return false;
        if (db->ReadSystemContents(root))
            return true;
        // A connection that went bad is not kept.
        FReader.reset();
        return false;
    }

    bool LoadResourceData(TVexaSector &sector, TVexaImageResource &resource) override
    {
        // Images are read rarely and one at a time: a connection of their own.
        TVexaDB_SQLite db;
        if (!db.OpenExistingSectorFile(sector.FileName, false))
            return false;
        return db.ReadResourceData(resource);
    }

    void CloseActive() override
    {
        std::lock_guard<std::mutex> lock(FLock);
        FReader.reset();
    }

    std::optional<std::vector<std::uint8_t>> LoadSurfaceMapImage(TVexaSector &sector,
                                                                 const TStellarBody &body) override
    {
        if (body.RecordID <= 0)
            return std::nullopt;
        auto image = kalvion::LoadSurfaceMapImage(sector.FileName, body.RecordID);
        if (!image || image->empty())
            return std::nullopt;
        return std::move(*image);
    }

    std::vector<TStoredSurfaceMap> ReadSurfaceMaps(TVexaSector &sector, const std::vector<std::int64_t> &ids) override
    {
        return ReadSurfaceMapRows(sector.FileName, ids);
    }

    std::vector<std::int64_t> SurfaceMapBodies(TVexaSector &sector) override
    {
        return SurfaceMapBodyIds(sector.FileName);
    }

    bool ReplaceSurfaceMaps(TVexaSector &sector, std::int64_t bodyId, const std::string &identity,
                            const std::vector<TStoredSurfaceMap> &rows) override
    {
        return ReplaceSurfaceMapRows(sector.FileName, bodyId, identity, rows);
    }

private:
    // Opening a connection costs more than reading a system, so one read
    // connection stays open between loads.  It is reused only while the file
    // is the same file unchanged (device, inode, size and modification
    // time); a save, a replacement or a deletion makes the next load open it
    // afresh.
    TVexaDB_SQLite *Reader(const std::string &fileName)
    {
        struct stat st {};
        if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0) {
            FReader.reset();
            return nullptr;
        }
        if (FReader && FPath == fileName && st.st_dev == FStat.st_dev && st.st_ino == FStat.st_ino &&
            st.st_size == FStat.st_size && st.st_mtim.tv_sec == FStat.st_mtim.tv_sec &&
            st.st_mtim.tv_nsec == FStat.st_mtim.tv_nsec)
            return FReader.get();
        FReader.reset();
        auto db = std::make_unique<TVexaDB_SQLite>();
        if (!db->OpenExistingSectorFile(fileName, false))
            return nullptr;
        FPath = fileName;
        FStat = st;
        FReader = std::move(db);
        return FReader.get();
    }

    std::mutex FLock;
    std::unique_ptr<TVexaDB_SQLite> FReader;
    std::string FPath;
    struct stat FStat {};
};

void SetError(std::string *error, const std::string &text)
{
    if (error)
        *error = text;
}

// Everything the sector holds is in memory: it can be written to a new file
// without the old one.
bool AllContentsLoaded(const TVexaSector &sector)
{
    for (const auto &root : sector.Systems)
        if (!root->Loaded && root->RecordID > 0)
            return false;
    for (const auto &res : sector.ImageResources.Resources)
        if (!res->Loaded && !res->Deleted && res->RecordID > 0)
            return false;
    return true;
}

void RemoveQuietly(const std::string &path)
{
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
}

bool WriteInto(TVexaSector &sector, const std::string &path, bool existingOnly, std::string *error)
{
    TVexaDB_SQLite db;
    db.OnProgress = sector.OnProgress;
    const bool opened = existingOnly ? db.OpenExistingSectorFile(path) : db.OpenSectorFile(path, false);
    // A file written by an older version gets its missing tables and indexes
    // now that it is being written anyway.
    if (opened && existingOnly)
        UpgradeSchema(*db.Connection());
    if (!opened || !db.WriteSector(sector)) {
        SetError(error, db.ErrorMessage);
        return false;
    }
    db.CloseSectorFile();
    return true;
}

} // namespace

TSectorStore &SectorDatabaseStore()
{
    static TSectorDatabaseStore store;
    return store;
}

void AttachSectorStore(TVexaSector &sector) { sector.Store = &SectorDatabaseStore(); }

bool LoadFromFile(TVexaSector &sector, const std::string &fileName, std::string *error)
{
    sector.Modified = false;
    std::error_code ec;
    if (fileName.empty() || !fs::exists(fileName, ec)) {
        SetError(error, "File could not be opened: \"" + fileName + "\" " + FileReadProblem(fileName));
        return false;
    }
    TVexaDB_SQLite db;
    if (!db.OpenExistingSectorFile(fileName)) {
        SetError(error, db.ErrorMessage);
        return false;
    }
    if (!db.ReadSector(sector)) {
        SetError(error, db.ErrorMessage);
        db.CloseSectorFile();
        sector.New();
        return false;
    }
    db.CloseSectorFile();
    sector.FileName = fileName;
    sector.FileNameUnconfirmed = false;
    sector.Name = ExtractFileBaseName(fileName);
    AttachSectorStore(sector);
    sector.SetFilters();
    sector.ResetCamera();
    sector.History().Clear();
    return true;
}

bool SaveToFile(TVexaSector &sector, const std::string &fileName, bool /*copyFirst*/, std::string *error)
{
    if (fileName.empty()) {
        SetError(error, "No file name");
        return false;
    }
    std::error_code ec;
    if (sector.FileNameUnconfirmed && SameFilePath(sector.FileName, fileName)) {
        SetError(error, "The sector was last saved as \"" + sector.FileName +
                            "\" because its file could not be replaced; save it under a name of your choice");
        return false;
    }
    const bool hasOwnFile = !sector.FileName.empty();
    const bool ownFileExists = hasOwnFile && fs::is_regular_file(sector.FileName, ec);
    const bool sameFile = hasOwnFile && SameFilePath(sector.FileName, fileName);

    if (hasOwnFile && !ownFileExists) {
        // The sector's file vanished.  What is in memory can still be
        // written as new rows, but systems never loaded are gone with it.
        if (!AllContentsLoaded(sector)) {
            SetError(error, "The sector file \"" + sector.FileName +
                                "\" no longer exists; systems that were never opened cannot be saved");
            return false;
        }
        sector.ResetRecordIDs();
    }

    // Deleted systems lose their rows with this save; the history keeps
    // what it may still bring back of them.
    sector.History().PrepareForSave();
    bool ok;
    if (sameFile && ownFileExists) {
        ok = WriteInto(sector, fileName, true, error);
    } else {
        // Build the new file beside the target and move it into place only
        // once it is complete, so a failed save leaves the target untouched.
        const fs::path target(fileName);
        const fs::path folder = target.parent_path();
        if (!folder.empty() && !fs::is_directory(folder, ec)) {
            fs::create_directories(folder, ec);
            if (ec) {
                SetError(error, "The folder \"" + folder.string() + "\" could not be created: " + ec.message());
                return false;
            }
        }
        const std::string temp = fileName + ".saving~";
        RemoveQuietly(temp);
        if (ownFileExists) {
            fs::copy_file(sector.FileName, temp, fs::copy_options::overwrite_existing, ec);
            if (ec) {
                RemoveQuietly(temp);
                SetError(error, "\"" + sector.FileName + "\" could not be copied to \"" + fileName +
                                    "\": " + ec.message());
                return false;
            }
        }
        ok = WriteInto(sector, temp, ownFileExists, error);
        if (!ok) {
            RemoveQuietly(temp);
            return false;
        }
        fs::rename(temp, target, ec);
        if (ec) {
            // The save itself is complete and the document already points
            // into it (unloaded systems, dropped images): keep it under the
            // temporary name rather than lose it.
            sector.FileName = temp;
            sector.FileNameUnconfirmed = true;
            sector.Modified = true;
            AttachSectorStore(sector);
            SetError(error, "\"" + fileName + "\" could not be replaced (" + ec.message() +
                                "); the sector was saved as \"" + temp + "\"");
            return false;
        }
    }
    if (!ok)
        return false;
    sector.FileName = fileName;
    sector.FileNameUnconfirmed = false;
    sector.Name = ExtractFileBaseName(fileName);
    sector.Modified = false;
    sector.History().MarkClean();
    // Bodies an undo brought back after an earlier save deleted their rows
    // have their stored surface maps again.
    for (auto &[body, rows] : sector.History().TakeSurfaceMapsToRestore())
        ReplaceSurfaceMapRows(fileName, body->RecordID, body->IDString.str(), rows);
    AttachSectorStore(sector);
    return true;
}

bool LoadFromTemplate(TVexaSector &sector, const std::string &fileName, std::string *error)
{
    if (!LoadFromFile(sector, fileName, error))
        return false;
    sector.DynaLoadAll();
    for (const auto &root : sector.Systems)
        if (!root->Loaded) {
            SetError(error, "A system of the template could not be read");
            sector.New();
            return false;
        }
    sector.ResetRecordIDs();
    sector.DynaClearActiveDB();
    sector.FileName.clear();
    return true;
}

std::string GenerateTempFile() { return UserDataFolder() + "(Untitled).VexaDB"; }

} // namespace kalvion
