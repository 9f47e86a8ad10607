#pragma once
// Shared pieces of the sector database reader and writer: the prepared
// statements of one connection and the conversions between stored integers
// and model members.
#include "base/Colour.h"
#include "files/VexaDBSQLite.h"
#include "files/ZentDatabaseSQLite.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kalvion {

// Positions in the body read statement (every column but system_id).
namespace bodycol {
inline constexpr int ID = 0;
inline constexpr int PARENT_ID = 1;
// From here on the read position is the stored column index minus one.
inline constexpr int Pos(int storedIndex) { return storedIndex - 1; }
} // namespace bodycol

struct TVexaDB_SQLite::TStatements {
    TZentSqliteInterface &Db;
    explicit TStatements(TZentSqliteInterface &db) : Db(db) {}

    // Prepares on first use and keeps the statement for the connection.
    TZentStatement &Get(TZentStatement &slot, std::string_view sql)
    {
        if (!slot.Prepared())
            slot = TZentStatement(Db, sql);
        return slot;
    }

    TZentStatement BodyUpdate, BodyChildren, BodyRootsPage;
    TZentStatement AtmSelect, AtmDelete;
    TZentStatement FieldSelect, FieldInsert, FieldDelete;
    TZentStatement SdcSelectBody, SdcInsert, SdcDeleteBody;
    TZentStatement FcgSelect, FcgInsert, FcgDelete;
    TZentStatement SurfaceDelete;
    TZentStatement BodyDelete, Descendants, SystemBodies;
    TZentStatement SubInsert, SubUpdate, SubDelete;
    TZentStatement RouteInsert, RouteUpdate, RouteDelete, WaypointDelete, WaypointInsert, WaypointSelect;
    TZentStatement ViewInsert, ViewArrayInsert, ViewArraySelect;
    TZentStatement ResInsert, ResInsertWithId, ResUpdate, ResUpdateNoData, ResDelete, ResSelectData;
};

// Integers bound for 32-bit members stay within 32 bits; a stored value
// outside that range (a damaged or foreign file) reads as the default.
inline std::int32_t CheckedInt32(std::int64_t v, std::int32_t def)
{
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        return def;
    return static_cast<std::int32_t>(v);
}

// Colours are stored as signed 32-bit integers; files may hold them either
// way round, so both the signed and the unsigned form are accepted.
inline TColor CheckedColor(std::int64_t v, TColor def)
{
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max())
        return def;
    return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

inline std::int64_t StoredColor(TColor c) { return static_cast<std::int32_t>(c); }

// Any non-zero value reads as true.
inline bool StoredBool(std::int64_t v) { return v != 0; }

// Built once; the statements are prepared once per connection.
const std::string &BodyUpdateSql();
std::string BodySelectSql(const char *where);

} // namespace kalvion
