// "kalvion-cli search": runs a query on a sector file and prints the matching
// bodies with the columns of the search window.
#include "cli/CliApp.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "files/SectorFile.h"
#include "files/VexaDBSQLite.h"
#include "model/VexaSector.h"
#include "search/SearchColumns.h"
#include "search/Searcher.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

CLI::App *AddSearchCommand(CLI::App &app, SearchOptions &o)
{
    auto *cmd = app.add_subcommand("search", "Run a search query on a sector file and list the matching bodies");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_option("query", o.query, "Query, such as \"terrestrial population > 1000000\"")->required();
    cmd->add_option("--limit", o.limit, "Stop after this many results (0: no limit)")->capture_default_str();
    cmd->add_flag("--root-only", o.rootOnly, "Examine the root bodies only");
    cmd->add_option("--select", o.select, "Select systems by name first (for \"within\" and \"on route\")");
    return cmd;
}

namespace {

void PrintTable(const std::vector<std::vector<std::string>> &rows, std::ostream &out)
{
    std::vector<std::size_t> widths;
    for (const auto &row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i)
                widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line.append(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << "\n";
    }
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

    TVexaSearcher3 searcher;
    searcher.Sector = &sector;
    searcher.ResultLimit = o.limit;
    searcher.RootOnly = o.rootOnly;
    searcher.Search(o.query);
    if (!searcher.ErrorText.empty()) {
        // The parser's message is the user's guide: shown exactly as it is.
        err << searcher.ErrorText << "\n";
        return EXIT_FAILURE_;
    }

    const auto &columns = searcher.Parser.Columns;
    const std::vector<std::string> headers = SearchResultHeaders(columns);
    std::vector<std::string> cells;
    if (opts.json) {
        nlohmann::json rows = nlohmann::json::array();
        for (TStellarBody *body : searcher.Results) {
            SearchResultCells(body, columns, cells);
            nlohmann::json row = nlohmann::json::object();
            for (std::size_t i = 0; i < headers.size() && i < cells.size(); ++i)
                row[headers[i]] = cells[i];
            row["IDString"] = body->IDString;
            rows.push_back(std::move(row));
        }
        out << nlohmann::json({{"query", o.query}, {"columns", headers}, {"count", searcher.GetResultCount()},
                               {"results", rows}})
                   .dump()
            << "\n";
        return EXIT_OK;
    }
    std::vector<std::vector<std::string>> table;
    table.push_back(headers);
    for (TStellarBody *body : searcher.Results) {
        SearchResultCells(body, columns, cells);
        table.push_back(cells);
    }
    PrintTable(table, out);
    out << FormatCount(searcher.GetResultCount()) << (searcher.GetResultCount() == 1 ? " result" : " results")
        << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
