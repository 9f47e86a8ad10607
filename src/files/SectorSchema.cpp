#include "files/SectorSchema.h"

#include "base/NumberParse.h"
#include "base/Paths.h"
#include "files/ZentDatabaseSQLite.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kalvion {

const std::array<const char *, BODY_COLUMN_COUNT> BODY_COLUMNS = {
    "id",           "parent_id",        "system_id",        "id_string",      "name",
    "type_id",      "body_type",        "spectral",         "distance",       "radius",
    "density",      "mass",             "rotation",         "luminosity",     "albedo",
    "temp",         "atmosphere",       "atm_notes",        "water",          "population",
    "child_population", "habitability", "child_habitability", "body_count",   "political_affiliation",
    "sphere_influence", "sphere_color", "sphere_size",      "notes",          "gm_notes",
    "color",        "label_color",      "font_style",       "dso_intensity",  "render_distance",
    "label_distance", "route_distance", "visible",          "retrograde_orbit", "eccentricity",
    "inclination",  "angle_ascending_node", "angle_periapsis", "time_offset", "axial_tilt",
    "orbital_plane_x", "orbital_plane_y", "orbital_plane_z", "orbit_color",   "x",
    "y",            "z",                "random_seed",      "gex_color_group", "preview_image_file",
    "blazon_image_file", "blazon_display", "blazon_wrap",   "has_atm_comp",   "has_fields",
    "has_sdc",      "has_fcg",          "model"};

namespace {

// Indexes that the look-ups of the reader and the deleter rely on.  Files
// written by older versions may lack them; "if not exists" keeps the step
// cheap on every opening.
constexpr const char *LOOKUP_INDEXES[] = {
    "create index if not exists i_parent_id on bodies (parent_id)",
    // The tree of one system without reading its rows: a search that answers
    // from the table orders and scopes its matches with it.
    "create index if not exists i_system_tree on bodies (system_id, id, parent_id, type_id)",
    // Only bodies with an affiliation: the list of affiliations read on
    // opening comes from this small index instead of a scan of every body.
    "create index if not exists i_political on bodies (political_affiliation) where length( "
    "political_affiliation) > 0",
    "create index if not exists i_atm_body on atm_components (body_id)",
    "create index if not exists i_cf_owner on custom_fields (type_id, parent_id)",
    "create index if not exists i_sdc_body on system_data_config (body_id)",
    "create index if not exists i_gcg_body on gex_color_groups (body_id)",
    "create index if not exists i_rw_route on route_waypoints (route_id)",
    "create index if not exists i_sva_view on sector_view_arrays (view_id, type_id)",
    "create index if not exists i_res_name on resources (name)",
    "create index if not exists i_sm_body on surface_maps (body_id)",
};

constexpr const char *SURFACE_MAPS_TABLE =
    "create table if not exists surface_maps (id integer primary key, body_id integer, id_string text, "
    "surface_map blob, surface_map_image blob)";

} // namespace

std::string LoadSchemaText()
{
    std::ifstream in(JoinPath(ProgramFolder(), SECTOR_SCHEMA_FILE), std::ios::binary);
    if (in) {
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.good() || in.eof())
            if (!text.empty())
                return text;
    }
    return EmbeddedSchemaText();
}

int ReadSchemaVersion(TZentSqliteInterface &db)
{
    auto rs = db.Query("select value from config where name = 'db_version'");
    if (db.HasError || !rs->Next())
        return 0;
    const std::int64_t v = rs->AsInt64(0);
    if (v < 0 || v > 1000000)
        return 0;
    return static_cast<int>(v);
}

int SectorFileSchemaVersion(const std::string &fileName)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        return 0;
    TZentSqliteInterface db(fileName, "", "", "", TZentOpenMode::ExistingOnly);
    if (db.HasError || !db.IsOpen())
        return 0;
    return ReadSchemaVersion(db);
}

std::string NewerSectorFileWarning(const std::string &fileName)
{
    const int version = SectorFileSchemaVersion(fileName);
    if (version <= SECTOR_DB_VERSION)
        return {};
    return "\"" + fileName + "\" was written by a newer version of the program (file version " +
           std::to_string(version) + ", this version knows " + std::to_string(SECTOR_DB_VERSION) +
           "); what this version does not know may be lost if it is saved";
}

void UpgradeSchema(TZentSqliteInterface &db)
{
    // The version read here, before the schema file runs, decides the later
    // steps, so a new file gets the indexes as well.
    const int v = ReadSchemaVersion(db);
    if (v == 0) {
        std::string why;
        // Only an empty database gets the schema: a file that holds other
        // tables is not ours to change.
        if (!IsEmptyDatabase(db, why))
            return;
        db.Execute("begin transaction");
        for (const std::string &stmt : SplitSqlScript(LoadSchemaText()))
            db.Execute(stmt);
        db.Execute("end transaction");
    }
    if (v < 302)
        db.Execute("create index i_system_id on bodies (system_id)");
    if (v < 303) {
        db.Execute("create index i_sdctbs on system_data_config (type_id, body_id, sort_order)");
        db.Execute("update config set value = '303' where name = 'db_version'");
    }
    db.Execute(SURFACE_MAPS_TABLE);
    for (const char *sql : LOOKUP_INDEXES)
        db.Execute(sql);
    db.ClearError();
}

bool IsEmptyDatabase(TZentSqliteInterface &db, std::string &why)
{
    auto rs = db.Query("select count(*) from sqlite_master");
    if (db.HasError) {
        why = db.ErrorMessage;
        return false;
    }
    return rs->Next() && rs->AsInt64(0) == 0;
}

bool IsSectorDatabase(TZentSqliteInterface &db, std::string &why)
{
    auto rs = db.Query("select name from sqlite_master where type = 'table'");
    if (db.HasError) {
        why = db.ErrorMessage;
        return false;
    }
    std::vector<std::string> tables;
    while (rs->Next())
        tables.push_back(rs->AsString(0));
    for (const char *t : SECTOR_TABLES) {
        if (std::string_view(t) == "surface_maps")
            continue; // older files lack it; the upgrade adds it
        if (std::find(tables.begin(), tables.end(), t) == tables.end()) {
            why = std::string("the table ") + t + " is missing";
            return false;
        }
    }
    if (ReadSchemaVersion(db) <= 0) {
        why = "the schema version is missing";
        return false;
    }
    auto info = db.Query("select count(*) from sector_info where id = 1");
    if (db.HasError || !info->Next() || info->AsInt64(0) != 1) {
        why = "the sector settings are missing";
        return false;
    }
    return true;
}

} // namespace kalvion
