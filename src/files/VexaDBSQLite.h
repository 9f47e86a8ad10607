#pragma once
// TVexaDB_SQLite: reader and writer of sector database files (".VexaDB").
// Created for one operation: open, read or write, close.  Opening a file
// for reading never creates one and refuses any file that is not a sector
// database; a save runs in one transaction and either lands whole or leaves
// the file and every change flag as they were.
#include "files/ZentDatabaseSQLite.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kalvion {

class TNewBodyRows;
class TVexaBase;
class TVexaSector;
class TStellarBody;
class TStellarRoute;
class TVexaSubsector;
class TVexaView;
class TVexaImageResource;
class TSystemDataConfig;

class TVexaDB_SQLite {
public:
    TVexaDB_SQLite();
    ~TVexaDB_SQLite();
    TVexaDB_SQLite(const TVexaDB_SQLite &) = delete;
    TVexaDB_SQLite &operator=(const TVexaDB_SQLite &) = delete;

    // Opens a file for writing: with `recreate` an existing file is deleted
    // first; the folder is created when missing; a missing or empty file
    // gets the schema, an older one is upgraded.  A file that holds anything
    // but a sector database is refused.
    bool OpenSectorFile(const std::string &fileName, bool recreate);
    // Opens an existing sector file for reading or for an incremental save
    // and upgrades its schema when the file is writable.  Never creates a
    // file.  With `verify` a file that is not a sector database is refused
    // up front; without, only its statements would fail (dynamic loading of
    // a file checked when it was opened).
    bool OpenExistingSectorFile(const std::string &fileName, bool verify = true);
    void CloseSectorFile();
    bool IsOpen() const { return FDb != nullptr; }

    bool WriteSector(TVexaSector &sector);
    bool ReadSector(TVexaSector &sector);
    bool ReadSystemContents(TStellarBody &body);
    // Writes every child of body (and their trees) under the given system
    // id with body's RecordID as parent id, in one transaction.
    bool WriteChildren(TStellarBody &body, std::int64_t systemId);
    // Reads id, id_string and data of the stored resource with the
    // resource's name.
    bool ReadResourceData(TVexaImageResource &resource);

    bool HasError = false;
    std::string ErrorMessage;
    std::string FileName;
    // Progress of a save: message and fraction 0 to 1.
    std::function<void(const std::string &, double)> OnProgress;
    // Roots are read in pages of this many rows.
    int RootPageSize = 100000;

    TZentSqliteInterface *Connection() const { return FDb.get(); }

    // Called with every connection this class opens; tests use it to make
    // a disk look full (PRAGMA max_page_count).
    static std::function<void(TZentSqliteInterface &)> TestConnectionHook;

private:
    struct TStatements;
    std::unique_ptr<TZentSqliteInterface> FDb;
    std::unique_ptr<TStatements> FSt;
    std::unique_ptr<TNewBodyRows> FNewRows;

    // Save bookkeeping: ids handed out by the transaction (undone when it
    // fails) and the ids still in use by the document.
    std::vector<std::pair<TVexaBase *, std::int64_t>> FIdJournal;
    std::unordered_set<std::int64_t> FLiveBodyIds;
    bool FLiveBuilt = false;
    TVexaSector *FSaving = nullptr;
    std::int64_t FDependentHighWater = 0;

    // Every public operation starts here: an open file and no error left over.
    bool BeginCall();
    bool Fail(const std::string &message);
    bool FailFromDb(const std::string &context);
    bool OpenConnection(const std::string &fileName, TZentOpenMode mode);
    TStatements &St();
    bool Exec(const char *sql);
    void AssignId(TVexaBase &object, std::int64_t id);

    // Reading
    bool ReadSectorInfo(TVexaSector &sector);
    bool ReadViews(TVexaSector &sector);
    bool ReadDisplayDefaults(TVexaSector &sector);
    bool ReadFields(TVexaBase &object, int typeId, std::int64_t parentId);
    bool ReadSubsectors(TVexaSector &sector);
    bool ReadRoots(TVexaSector &sector);
    bool ReadRoutes(TVexaSector &sector);
    bool ReadResourceList(TVexaSector &sector);
    bool ReadBodyExtras(TStellarBody &body, bool atm, bool fields, bool sdc, bool fcg);
    std::unique_ptr<TStellarBody> ReadBodyRow(TZentStatement &st, bool &atm, bool &fields, bool &sdc,
                                              bool &fcg);

    // Writing
    bool WriteSectorRow(TVexaSector &sector);
    bool WriteViews(TVexaSector &sector);
    bool WriteDisplayDefaults(TVexaSector &sector);
    // Inserts one display-field configuration's rows, sort_order from 1;
    // false when a row could not be written.
    bool InsertDisplayRecords(std::int64_t bodyId, int typeId, const TSystemDataConfig &config);
    bool WriteFields(const TVexaBase &object, int typeId, std::int64_t parentId);
    bool WriteDeletedObjects(TVexaSector &sector);
    bool WriteSystems(TVexaSector &sector, std::vector<TStellarBody *> &written);
    // A body and its tree; systemId 0 writes a root.
    bool WriteBody(TStellarBody &body, std::int64_t systemId, std::int64_t parentId);
    // The body's own row and dependent rows, without its children.
    bool WriteBodyRow(TStellarBody &body, std::int64_t systemId, std::int64_t parentId);
    bool WriteSubsector(TVexaSubsector &sub);
    bool WriteRoute(TStellarRoute &route);
    bool WriteResources(TVexaSector &sector, std::vector<TVexaImageResource *> &written);
    bool DeleteBody(TStellarBody &body);
    bool DeleteBodyRows(std::int64_t id);
    bool DeleteStoredSystem(std::int64_t rootId);
    bool DeleteDependentRows(std::int64_t id);
    void BuildLiveBodyIds();
    // New bodies and their gases are queued (ids handed out at once) and
    // written many rows to a statement.
    bool StartNewRows();
    bool FlushNewRows();
    void Progress(const std::string &message, double fraction);
};

} // namespace kalvion
