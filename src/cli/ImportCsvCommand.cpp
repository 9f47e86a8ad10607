// "kalvion-cli import-csv": stars, multiple systems and routes from a CSV
// file into a sector file, which is saved afterwards.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "exchange/VexaImportCSV.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <ostream>

namespace kalvion::cli {

namespace {

// "N record(s) imported" opens the report of an import that ran.
long long ImportedCount(const std::vector<std::string> &report)
{
    return report.empty() ? 0 : std::atoll(report.front().c_str());
}

} // namespace

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
        PrintJson(out, nlohmann::ordered_json{{"file", o.file},
                                              {"data", o.data},
                                              {"imported", imported ? ImportedCount(report) : 0},
                                              {"errors", errors},
                                              {"report", report}});
    } else {
        for (const std::string &line : report) {
            // The window's closing words are not the command line's.
            if (line == "Import Successful!  Close the window to see the results.")
                out << "Import successful; saved " << o.file << "\n";
            else
                out << line << "\n";
        }
    }
    if (!imported) {
        err << "kalvion-cli: " << report.front() << "\n";
        return EXIT_FAILURE_;
    }
    // The good lines are saved; the lines that were not imported make it a
    // failure a script can see.
    if (errors > 0) {
        err << "kalvion-cli: " << errors << " line(s) of " << o.data << " were not imported\n";
        return EXIT_FAILURE_;
    }
    return EXIT_OK;
}

} // namespace kalvion::cli
