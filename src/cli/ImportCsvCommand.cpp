// "kalvion-cli import-csv": stars, multiple systems and routes from a CSV
// file into a sector file, which is saved afterwards.
#include "cli/CliApp.h"

#include "exchange/VexaImportCSV.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

CLI::App *AddImportCsvCommand(CLI::App &app, ImportCsvOptions &o)
{
    auto *cmd = app.add_subcommand("import-csv", "Import stars, multiple systems and routes from a CSV file into a "
                                                 "sector file and save it");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_option("data", o.data, "CSV file to import")->required();
    cmd->add_flag("--replace", o.replace, "Remove the sector's systems, routes and subsectors first");
    return cmd;
}

int RunImportCsv(const CliOptions &opts, const ImportCsvOptions &o, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, true, err))
        return EXIT_FAILURE_;
    int errors = 0;
    const std::vector<std::string> report = ImportCSVWithReport(sector, o.data, o.replace, &errors);
    const bool imported = report.size() > 2 || errors > 0;
    if (sector.Modified && !SaveToFile(sector, o.file, false, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json) {
        // Names in the report are the file's bytes, which need not be UTF-8.
        const nlohmann::json j{{"file", o.file}, {"data", o.data}, {"errors", errors}, {"report", report}};
        out << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        for (const std::string &line : report)
            out << line << "\n";
    }
    if (!imported) {
        err << "kalvion-cli: " << report.front() << "\n";
        return EXIT_FAILURE_;
    }
    return EXIT_OK;
}

} // namespace kalvion::cli
