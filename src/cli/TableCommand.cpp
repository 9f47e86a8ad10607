// kalvion-cli table: results of a random-table file, one per line.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "tables/ClassTKTable.h"

#include <ostream>
#include <vector>

namespace kalvion::cli {

int RunTable(const CliOptions &opts, const TableArgs &args, std::ostream &out, std::ostream &err)
{
    if (args.count < 0) {
        err << "kalvion-cli: --count must be 0 or more\n";
        return EXIT_USAGE;
    }
    TTKTableApplication app;
    for (const auto &assignment : args.vars) {
        const std::size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "kalvion-cli: --var takes NAME=VALUE, not '" << assignment << "'\n";
            return EXIT_USAGE;
        }
        app.AddHostDefinition(assignment.substr(0, eq), assignment.substr(eq + 1));
    }
    if (!app.Load(args.file, args.library)) {
        err << "kalvion-cli: " << app.LastError() << "\n";
        return EXIT_FAILURE_;
    }
    if (app.TableCount() == 0) {
        err << "kalvion-cli: " << args.file << " declares no table\n";
        return EXIT_FAILURE_;
    }
    TTKTable *table = args.table.empty() ? &app.Table(0) : app.GetTableByName(args.table);
    if (!table) {
        err << "kalvion-cli: no table named '" << args.table << "' in " << args.file << "\n";
        return EXIT_FAILURE_;
    }
    ApplySeed(opts);
    app.GoTable(*table, args.count);
    std::vector<std::string> lines;
    for (const auto &result : app.Results) {
        // Line breaks inside a result are written the terminal's way.
        std::string line;
        line.reserve(result.size());
        for (std::size_t i = 0; i < result.size(); ++i)
            if (!(result[i] == '\r' && i + 1 < result.size() && result[i + 1] == '\n'))
                line.push_back(result[i]);
        lines.push_back(std::move(line));
    }
    if (opts.json) {
        PrintJson(out, nlohmann::ordered_json{
                           {"file", args.file}, {"table", args.table.empty() ? app.TableName(0) : args.table}, {"count", lines.size()}, {"results", lines}});
        return EXIT_OK;
    }
    for (const std::string &line : lines)
        out << line << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
