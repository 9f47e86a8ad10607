// Opening and closing sector database files.
#include "files/VexaDBSQLite.h"

#include "base/SafeFile.h"

#include "base/Paths.h"
#include "files/NewBodyRows.h"
#include "files/SectorSchema.h"
#include "files/VexaDBSQLiteInternal.h"

#include <filesystem>
#include <system_error>

namespace kalvion {

namespace fs = std::filesystem;

std::function<void(TZentSqliteInterface &)> TVexaDB_SQLite::TestConnectionHook;

TVexaDB_SQLite::TVexaDB_SQLite() = default;

TVexaDB_SQLite::~TVexaDB_SQLite() { CloseSectorFile(); }

const std::string &BodyUpdateSql()
{
    static const std::string sql = [] {
        std::string sets;
        for (std::size_t i = 1; i < BODY_COLUMN_COUNT; ++i) {
            if (!sets.empty())
                sets += ", ";
            sets += BODY_COLUMNS[i];
            sets += " = ?";
        }
        return "update bodies set " + sets + " where id = ?";
    }();
    return sql;
}

std::string BodySelectSql(const char *where)
{
    std::string cols;
    for (std::size_t i = 0; i < BODY_COLUMN_COUNT; ++i) {
        if (std::string_view(BODY_COLUMNS[i]) == "system_id")
            continue;
        if (!cols.empty())
            cols += ", ";
        cols += BODY_COLUMNS[i];
    }
    return "select " + cols + " from bodies " + where;
}

bool TVexaDB_SQLite::Fail(const std::string &message)
{
    HasError = true;
    ErrorMessage = message;
    return false;
}

bool TVexaDB_SQLite::FailFromDb(const std::string &context)
{
    std::string msg = context;
    if (FDb && !FDb->ErrorMessage.empty())
        msg += ": " + FDb->ErrorMessage;
    return Fail(msg);
}

TVexaDB_SQLite::TStatements &TVexaDB_SQLite::St() { return *FSt; }

bool TVexaDB_SQLite::Exec(const char *sql)
{
    TZentStatement st(*FDb, sql);
    if (!st.Prepared() || !st.Exec())
        return FailFromDb("Could not write to the sector file");
    return true;
}

bool TVexaDB_SQLite::OpenConnection(const std::string &fileName, TZentOpenMode mode)
{
    CloseSectorFile();
    HasError = false;
    ErrorMessage.clear();
    auto db = std::make_unique<TZentSqliteInterface>(fileName, "", "", "", mode);
    if (db->HasError || !db->IsOpen())
        return Fail("File could not be opened");
    if (TestConnectionHook)
        TestConnectionHook(*db);
    FDb = std::move(db);
    FSt = std::make_unique<TStatements>(*FDb);
    FileName = fileName;
    return true;
}

bool TVexaDB_SQLite::OpenSectorFile(const std::string &fileName, bool recreate)
{
    if (fileName.empty())
        return Fail("No file name");
    std::error_code ec;
    if (recreate && fs::exists(fileName, ec)) {
        fs::remove(fileName, ec);
        if (ec)
            return Fail("\"" + fileName + "\" could not be replaced: " + ec.message());
        fs::remove(fileName + "-journal", ec);
    }
    const fs::path folder = fs::path(fileName).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec)
            return Fail("The folder \"" + folder.string() + "\" could not be created: " + ec.message());
    }
    if (!OpenConnection(fileName, TZentOpenMode::CreateIfMissing))
        return false;
    std::string why;
    if (!IsEmptyDatabase(*FDb, why) && !IsSectorDatabase(*FDb, why)) {
        CloseSectorFile();
        return Fail("\"" + fileName + "\" is not a Kalvion sector file (" + why + ")");
    }
    UpgradeSchema(*FDb);
    if (!IsSectorDatabase(*FDb, why)) {
        CloseSectorFile();
        return Fail("\"" + fileName + "\" could not be made a sector file (" + why + ")");
    }
    return true;
}

bool TVexaDB_SQLite::OpenExistingSectorFile(const std::string &fileName, bool verify)
{
    if (fileName.empty())
        return Fail("No file name");
    if (const std::string problem = FileReadProblem(fileName); !problem.empty())
        return Fail("File could not be opened: \"" + fileName + "\" " + problem);
    if (!OpenConnection(fileName, TZentOpenMode::ExistingOnly))
        return Fail("File could not be opened: \"" + fileName + "\" is not a sector file");
    if (!verify)
        return true;
    std::string why;
    if (!IsSectorDatabase(*FDb, why)) {
        CloseSectorFile();
        return Fail("\"" + fileName + "\" is not a Kalvion sector file (" + why + ")");
    }
    // Opening only reads: commands that look at a sector leave its file as it
    // was.  What an older file lacks is added by the next save.
    return true;
}

void TVexaDB_SQLite::CloseSectorFile()
{
    FNewRows.reset();
    FSt.reset();
    if (FDb) {
        FDb->Close();
        FDb.reset();
    }
}

} // namespace kalvion
