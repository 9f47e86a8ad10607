#include "files/SurfaceMapStore.h"

#include "files/SectorSchema.h"
#include "files/ZentDatabaseSQLite.h"

#include <filesystem>
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

} // namespace

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
