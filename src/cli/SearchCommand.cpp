// "kalvion-cli search": runs a query on a sector file and prints the matching
// bodies with the columns of the search window.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/SectorCommands.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "files/SectorFile.h"
#include "files/VexaDBSQLite.h"
#include "model/VexaSector.h"
#include "search/BodyProperties.h"
#include "search/SearchColumns.h"
#include "search/SectorSearch.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kalvion::cli {

CLI::App *AddSearchCommand(CLI::App &app, SearchOptions &o)
{
    auto *cmd = app.add_subcommand("search", "Run a search query on a sector file and list the matching bodies");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_option("query", o.query, "Query, such as \"terrestrial population > 1000000\"")->required();
    cmd->add_option("--limit", o.limit, "Print at most this many results (0: all)")->capture_default_str();
    cmd->add_flag("--root-only", o.rootOnly, "Examine the root bodies only");
    cmd->add_option("--select", o.select, "Select systems by name first (for \"within\" and \"on route\")");
    return cmd;
}

namespace {

// The header of a column as a JSON key: "Root Temp" -> "root_temp".
std::string JsonKey(const std::string &header)
{
    std::string key;
    for (char c : header)
        key += c == ' ' ? '_' : AsciiLowerChar(c);
    return key;
}

// A query column's value for JSON: numbers stay numbers.
nlohmann::ordered_json ColumnValue(TStellarBody *body, const TVexa3SearchColumn &column)
{
    const TStellarBody *b = SearchScopeBody(body, column.Scope);
    if (b && column.Property != "type" && column.Property != "field") {
        if (column.Property == "atmcomp")
            return b->GetAtmElementPercentByName(column.FieldName);
        if (const TBodyProperty *p = FindBodyProperty(column.Property))
            switch (p->Kind) {
            case TBodyPropertyKind::Float:
            case TBodyPropertyKind::Integer: return p->GetNumber(*b);
            case TBodyPropertyKind::Boolean: return p->GetNumber(*b) != 0;
            case TBodyPropertyKind::String: return p->GetText(*b);
            }
    }
    return SearchColumnText(body, column);
}

// Light years from the body's system to the nearest selected system.
double NearestSelected(const TVexaSector &sector, const TStellarBody *body)
{
    const TStellarBody *root = body->GetRootBody();
    double best = -1;
    for (const TStellarBody *s : sector.Selection) {
        const double dx = root->X - s->X, dy = root->Y - s->Y, dz = root->Z - s->Z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (best < 0 || d < best)
            best = d;
    }
    return best;
}

} // namespace

int RunSearch(const CliOptions &opts, const SearchOptions &o, std::ostream &out, std::ostream &err)
{
    {
        TVexaDB_SQLite db;
        if (!db.OpenExistingSectorFile(o.file)) {
            err << "kalvion-cli: " << db.ErrorMessage << "\n";
            return EXIT_FAILURE_;
        }
    }
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    for (const auto &name : o.select) {
        bool found = false;
        for (auto &root : sector.Systems) {
            if (!SameText(root->Name, name))
                continue;
            found = true;
            if (!root->Selected)
                sector.SelectBody(root.get());
        }
        if (!found) {
            err << "kalvion-cli: no system is named '" << name << "'\n";
            return EXIT_FAILURE_;
        }
    }

    // Every match is found so that the user learns how many the limit cut;
    // only the systems of the printed ones are read in.
    TSectorSearch search(&sector);
    search.ResultLimit = 0;
    search.RootOnly = o.rootOnly;
    if (!search.Search(o.query)) {
        // The parser's message is the user's guide: shown exactly as it is.
        err << search.ErrorText << "\n";
        return EXIT_FAILURE_;
    }
    const std::size_t total = search.Hits.size();
    const std::size_t shown = o.limit > 0 ? std::min(total, static_cast<std::size_t>(o.limit)) : total;
    // "within" measures from the selected systems: each result says how far.
    const bool distances = search.Parser().WithinLY > 0 && !sector.Selection.empty();

    const auto &columns = search.Parser().Columns;
    const std::vector<std::string> headers = SearchResultHeaders(columns);
    std::vector<std::string> cells;
    if (opts.json) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < shown; ++i) {
            TStellarBody *body = search.Open(search.Hits[i]);
            if (!body)
                continue;  // the file changed under the search
            const TStellarBody *root = body->GetRootBody();
            nlohmann::ordered_json row{{"id", body->IDString.str()},
                                       {"name", body->Name},
                                       {"type", NameFromBodyType(body->TypeID)},
                                       {"system", root ? root->Name : std::string()},
                                       {"population", body->Population},
                                       {"habitability", body->Habitability},
                                       {"habitability_text", HabitNameFromHabitCode(body->Habitability)},
                                       {"political", body->PoliticalAffiliation.str()}};
            if (distances)
                row["distance"] = NearestSelected(sector, body);
            for (std::size_t c = 0; c < columns.size(); ++c)
                row[JsonKey(headers[6 + c])] = ColumnValue(body, columns[c]);
            rows.push_back(std::move(row));
        }
        std::vector<std::string> keys;
        for (const auto &h : headers)
            keys.push_back(JsonKey(h));
        PrintJson(out, nlohmann::ordered_json{{"query", o.query},
                                              {"columns", keys},
                                              {"count", total},
                                              {"shown", shown},
                                              {"results", std::move(rows)}});
        return EXIT_OK;
    }
    std::vector<std::vector<std::string>> table;
    table.push_back(headers);
    if (distances)
        table.back().insert(table.back().begin() + 3, "Distance " + sector.UnitStarMeasureAbbrev);
    for (std::size_t i = 0; i < shown; ++i) {
        TStellarBody *body = search.Open(search.Hits[i]);
        if (!body)
            continue;
        SearchResultCells(body, columns, cells);
        if (distances)
            cells.insert(cells.begin() + 3,
                         FormatFloat("#,##0.##", sector.DistanceInUnits(NearestSelected(sector, body))));
        table.push_back(cells);
    }
    PrintColumns(table, out);
    if (shown < total)
        out << "showing " << FormatCount(static_cast<double>(shown)) << " of " << FormatCount(static_cast<double>(total))
            << " results\n";
    else
        out << FormatCount(static_cast<double>(total)) << (total == 1 ? " result" : " results") << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
