#pragma once
// The schema of sector database files: the schema text, the version steps
// that bring an older file up to date, and the checks that tell a sector
// database from any other file.
#include <array>
#include <string>
#include <string_view>

namespace kalvion {

class TZentSqliteInterface;

inline constexpr int SECTOR_DB_VERSION = 303;
inline constexpr const char *SECTOR_SCHEMA_FILE = "Vexa3DB.ddl";
inline constexpr const char *SECTOR_FILE_EXTENSION = ".VexaDB";
inline constexpr const char *SECTOR_FILE_FILTER = "Kalvion Sector Maps (*.VexaDB)|*.VexaDB";

// The columns of `bodies` in their stored order.  The insert statement lists
// all but `id`; the read statement all but `system_id`, read by position.
inline constexpr std::size_t BODY_COLUMN_COUNT = 63;
extern const std::array<const char *, BODY_COLUMN_COUNT> BODY_COLUMNS;

// The tables every sector file has.
inline constexpr std::array<const char *, 14> SECTOR_TABLES = {
    "config",   "sector_info", "bodies",          "atm_components",  "custom_fields",
    "system_data_config", "gex_color_groups", "subsectors", "routes", "route_waypoints",
    "sector_views", "sector_view_arrays", "resources", "surface_maps"};

// The copy of the schema file built into the program.
const char *EmbeddedSchemaText();
// The schema file of the program folder, or the built-in copy when the file
// is missing or unreadable.
std::string LoadSchemaText();

// The `db_version` of the file; 0 when the row, the table or the whole
// database is missing.
int ReadSchemaVersion(TZentSqliteInterface &db);
// The `db_version` of a sector file, read through a connection of its own;
// 0 when it cannot be read.  A version above SECTOR_DB_VERSION means a newer
// program wrote the file: it may hold what this one does not understand.
int SectorFileSchemaVersion(const std::string &fileName);
// The warning for such a file; empty when the file is not newer.
std::string NewerSectorFileWarning(const std::string &fileName);
// Creates the tables of a new (empty) file and brings an older one up to
// the current version.  Statement errors are ignored (a read-only file stays
// as it is); the caller checks the outcome with IsSectorDatabase.
void UpgradeSchema(TZentSqliteInterface &db);
// True when the file holds every sector table and a version row.  Otherwise
// false with the reason in `why`.
bool IsSectorDatabase(TZentSqliteInterface &db, std::string &why);
// True when the database holds no tables at all (a new or empty file).
bool IsEmptyDatabase(TZentSqliteInterface &db, std::string &why);

} // namespace kalvion
