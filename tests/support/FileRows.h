#pragma once
// The rows of a sector file as text, for comparing two saves of the same
// sector: integer row ids are replaced by the identities of the rows they
// name (a body brought back by an undo is stored under a new row id), rows
// are sorted within each table, and each table comes under its name.
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kalvion::test {

inline std::string SectorFileRows(const std::string &file)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "<cannot open " + file + ">";
    }
    const auto query = [db](const std::string &sql, auto &&row) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            return;
        while (sqlite3_step(st) == SQLITE_ROW)
            row(st);
        sqlite3_finalize(st);
    };
    const auto text = [](sqlite3_stmt *st, int c) {
        const auto *t = sqlite3_column_text(st, c);
        return t ? std::string(reinterpret_cast<const char *>(t)) : std::string("<null>");
    };
    std::map<std::string, std::map<long long, std::string>> names;
    for (const char *table : {"bodies", "routes", "subsectors"})
        query(std::string("select id, id_string from ") + table, [&](sqlite3_stmt *st) {
            names[table][sqlite3_column_int64(st, 0)] = text(st, 1);
        });
    query("select id, name from sector_views",
          [&](sqlite3_stmt *st) { names["sector_views"][sqlite3_column_int64(st, 0)] = text(st, 1); });
    const auto named = [&](const std::string &table, long long id) {
        if (id == 0)
            return std::string("0");
        auto &m = names[table];
        auto it = m.find(id);
        return it == m.end() ? "<dangling " + table + " " + std::to_string(id) + ">" : "@" + it->second;
    };
    // Which table each id column names, per table; "" drops the column.
    const std::map<std::string, std::map<std::string, std::string>> refs = {
        {"bodies", {{"id", "bodies"}, {"parent_id", "bodies"}, {"system_id", "bodies"}}},
        {"atm_components", {{"body_id", "bodies"}}},
        {"system_data_config", {{"body_id", "bodies"}}},
        {"gex_color_groups", {{"id", ""}, {"body_id", "bodies"}}},
        {"surface_maps", {{"id", ""}, {"body_id", "bodies"}}},
        {"subsectors", {{"id", ""}}},
        {"routes", {{"id", ""}}},
        {"route_waypoints", {{"id", ""}, {"route_id", "routes"}, {"body_id", "bodies"}}},
        {"sector_views", {{"id", ""}}},
        {"sector_view_arrays", {{"view_id", "sector_views"}}},
        {"resources", {{"id", ""}}},
    };
    std::vector<std::string> tables;
    query("select name from sqlite_master where type = 'table' order by name",
          [&](sqlite3_stmt *st) { tables.push_back(text(st, 0)); });
    std::string out;
    for (const std::string &table : tables) {
        std::vector<std::string> rows;
        const auto ref = refs.count(table) ? refs.at(table) : std::map<std::string, std::string>{};
        query("select * from \"" + table + "\"", [&](sqlite3_stmt *st) {
            std::string row;
            const int n = sqlite3_column_count(st);
            int typeId = -1;
            for (int c = 0; c < n; ++c)
                if (std::string(sqlite3_column_name(st, c)) == "type_id")
                    typeId = sqlite3_column_int(st, c);
            for (int c = 0; c < n; ++c) {
                const std::string col = sqlite3_column_name(st, c);
                std::string value;
                auto it = ref.find(col);
                if (table == "custom_fields" && col == "parent_id")
                    value = typeId == 2 ? named("bodies", sqlite3_column_int64(st, c))
                            : typeId == 3 ? named("routes", sqlite3_column_int64(st, c))
                                          : text(st, c);
                else if (it == ref.end())
                    value = text(st, c);
                else if (it->second.empty())
                    continue;
                else
                    value = named(it->second, sqlite3_column_int64(st, c));
                row += col + "=" + value + " ";
            }
            rows.push_back(std::move(row));
        });
        std::sort(rows.begin(), rows.end());
        out += "[" + table + "]\n";
        for (const std::string &r : rows)
            out += r + "\n";
    }
    sqlite3_close(db);
    return out;
}

} // namespace kalvion::test
