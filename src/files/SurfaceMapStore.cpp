#include "files/SurfaceMapStore.h"

#include "files/SectorSchema.h"
#include "files/ZentDatabaseSQLite.h"

#include <filesystem>
#include <functional>
#include <system_error>

namespace kalvion {

namespace {

// Surface maps belong to an existing sector file: never create one here.
std::unique_ptr<TZentSqliteInterface> OpenExisting(const std::string &fileName)
{
    std::error_code ec;
    if (fileName.empty() || !std::filesystem::is_regular_file(fileName, ec))
        return nullptr;
    auto db = std::make_unique<TZentSqliteInterface>(fileName, "", "", "", TZentOpenMode::ExistingOnly);
    if (db->HasError)
        return nullptr;
    return db;
}

bool InsertRow(TZentSqliteInterface &db, const TStoredSurfaceMap &row)
{
    TZentStatement free(db, "select 1 from surface_maps where id = ?");
    free.BindInt(1, row.RowId);
    const bool taken = row.RowId <= 0 || free.Step();
    free.Reset();
    TZentStatement ins(db, taken ? "insert into surface_maps (body_id, id_string, surface_map, surface_map_image) "
                                   "values (?2, ?3, ?4, ?5)"
                                 : "insert into surface_maps (id, body_id, id_string, surface_map, "
                                   "surface_map_image) values (?1, ?2, ?3, ?4, ?5)");
    if (!taken)
        ins.BindInt(1, row.RowId);
    ins.BindInt(2, row.BodyId);
    if (row.IdNull)
        ins.BindNull(3);
    else
        ins.BindText(3, row.IdString);
    ins.BindBlob(4, row.Terrain.data(), row.Terrain.size());
    ins.BindBlob(5, row.Image.data(), row.Image.size());
    return ins.Prepared() && ins.Exec();
}

bool WithTransaction(TZentSqliteInterface &db, const std::function<bool()> &work)
{
    TZentStatement begin(db, "begin immediate transaction");
    if (!begin.Exec())
        return false;
    const bool ok = work();
    TZentStatement end(db, ok ? "commit transaction" : "rollback transaction");
    return end.Exec() && ok;
}

} // namespace

std::vector<TStoredSurfaceMap> ReadSurfaceMapRows(const std::string &fileName, const std::vector<std::int64_t> &bodyIds)
{
    std::vector<TStoredSurfaceMap> rows;
    auto db = OpenExisting(fileName);
    if (!db || bodyIds.empty())
        return rows;
    TZentStatement st(*db, "select id, body_id, id_string, surface_map, surface_map_image from surface_maps "
                           "where body_id = ? order by id");
    for (std::int64_t id : bodyIds) {
        st.BindInt(1, id);
        while (st.Step()) {
            TStoredSurfaceMap &r = rows.emplace_back();
            r.RowId = st.ColumnInt64(0);
            r.BodyId = st.ColumnInt64(1);
            r.IdNull = st.IsNull(2);
            if (!r.IdNull)
                r.IdString = st.ColumnText(2);
            st.ColumnBlob(3, r.Terrain);
            st.ColumnBlob(4, r.Image);
        }
    }
    return rows;
}

std::vector<std::int64_t> SurfaceMapBodyIds(const std::string &fileName)
{
    std::vector<std::int64_t> ids;
    auto db = OpenExisting(fileName);
    if (!db)
        return ids;
    TZentStatement st(*db, "select distinct body_id from surface_maps order by body_id");
    while (st.Step())
        ids.push_back(st.ColumnInt64(0));
    return ids;
}

bool ReplaceSurfaceMapRows(const std::string &fileName, std::int64_t bodyRecordID, const std::string &identity,
                           const std::vector<TStoredSurfaceMap> &rows)
{
    auto db = OpenExisting(fileName);
    if (!db || bodyRecordID <= 0)
        return false;
    return WithTransaction(*db, [&] {
        TZentStatement owner(*db, "select id_string from bodies where id = ?");
        owner.BindInt(1, bodyRecordID);
        const bool stored = owner.Step() && owner.ColumnText(0) == identity;
        owner.Reset();
        if (!stored)
            return false;
        TZentStatement del(*db, "delete from surface_maps where body_id = ?");
        del.BindInt(1, bodyRecordID);
        if (!del.Exec())
            return false;
        for (TStoredSurfaceMap row : rows) {
            row.BodyId = bodyRecordID;
            if (!InsertRow(*db, row))
                return false;
        }
        return true;
    });
}

bool StoreSurfaceMap(const std::string &fileName, const TMemoryStream &terrainStream,
                     const TMemoryStream &imageStream, std::int64_t bodyRecordID)
{
    auto db = OpenExisting(fileName);
    if (!db)
        return false;
    // A file not saved since an older version may not have the table yet.
    if (ReadSchemaVersion(*db) > 0)
        UpgradeSchema(*db);
    db->AddParamInt(bodyRecordID);
    auto rs = db->Query("select id from surface_maps where body_id = ?");
    if (db->HasError)
        return false;
    if (rs->Next()) {
        db->AddParamBlob(terrainStream);
        db->AddParamBlob(imageStream);
        db->AddParamInt(bodyRecordID);
        db->Execute("update surface_maps set surface_map = ?, surface_map_image = ? where body_id = ?");
    } else {
        db->AddParamInt(bodyRecordID);
        db->AddParamInt(bodyRecordID);
        db->AddParamBlob(terrainStream);
        db->AddParamBlob(imageStream);
        db->Execute("insert into surface_maps (body_id, id_string, surface_map, surface_map_image) values (?, "
                    "(select id_string from bodies where id = ?), ?, ?)");
    }
    return !db->HasError;
}

void DeleteSurfaceMap(const std::string &fileName, std::int64_t bodyRecordID)
{
    auto db = OpenExisting(fileName);
    if (!db)
        return;
    db->AddParamInt(bodyRecordID);
    db->Execute("delete from surface_maps where body_id = ?");
}

bool HasSurfaceMap(const std::string &fileName, std::int64_t bodyRecordID)
{
    auto db = OpenExisting(fileName);
    if (!db)
        return false;
    db->AddParamInt(bodyRecordID);
    auto rs = db->Query("select length(surface_map) from surface_maps where body_id = ? order by id limit 1");
    return !db->HasError && rs->Next() && rs->AsInt64(0) > 0;
}

std::unique_ptr<TMemoryStream> LoadSurfaceMapImage(const std::string &fileName, std::int64_t bodyRecordID)
{
    auto db = OpenExisting(fileName);
    if (!db)
        return nullptr;
    db->AddParamInt(bodyRecordID);
    auto rs = db->Query("select surface_map_image from surface_maps where body_id = ? order by id limit 1");
    if (db->HasError || !rs->Next())
        return nullptr;
    return rs->AsStream(0);
}

std::vector<std::int64_t> SurfaceMapImageBodyIds(const std::string &fileName)
{
    std::vector<std::int64_t> ids;
    auto db = OpenExisting(fileName);
    if (!db)
        return ids;
    auto rs = db->Query("select distinct body_id from surface_maps where length(surface_map_image) > 0 "
                        "order by body_id");
    while (!db->HasError && rs && rs->Next())
        ids.push_back(rs->AsInt64(0));
    return ids;
}

} // namespace kalvion
