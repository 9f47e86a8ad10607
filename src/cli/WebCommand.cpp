// "kalvion-cli web": the sector as an interactive 3D web page in a folder.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "exchange/WebExport.h"
#include "exchange/WebExportFolder.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <ostream>

namespace kalvion::cli {

CLI::App *AddWebCommand(CLI::App &app, WebOptions &o)
{
    auto *cmd = app.add_subcommand("web", "Export a sector as a 3D web page (index.html and its files in a folder)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("outdir", o.outDir, "Folder to write the page into (created when missing)")->required();
    cmd->add_option("--title", o.title, "Title of the page (default: the sector's name)");
    cmd->add_flag("--only-visible", o.onlyVisible, "Leave out systems hidden by the sector's filters");
    cmd->add_flag("--hide-notes", o.hideNotes, "Leave out the notes of systems and bodies");
    cmd->add_flag("--gm", o.gm, "Include GM notes and user fields (for the game master's eyes)");
    cmd->add_flag("--force", o.force,
                  "Write into a folder that holds other files too (by default only an empty folder or an earlier "
                  "export)");
    return cmd;
}

int RunWeb(const CliOptions &opts, const WebOptions &o, std::ostream &out, std::ostream &err)
{
    // Before the sector is read: a refused folder is refused at once.
    bool forceHelps = false;
    if (const std::string problem = WebExportFolderProblem(o.outDir, o.force, &forceHelps); !problem.empty()) {
        err << "kalvion-cli: " << problem
            << (forceHelps ? "; choose another folder, or add --force to write the page among those files" : "")
            << "\n";
        return EXIT_FAILURE_;
    }
    for (const char *name : {"index.html", WEB_EXPORT_DATA_FILE, "three.min.js", "OrbitControls.js"})
        if (OutputIsAnInput((std::filesystem::path(o.outDir) / name).string(), {o.file}, err))
            return EXIT_USAGE;
    TVexaSector sector;
    std::string error;
    if (!LoadFromFile(sector, o.file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    sector.UpdateRouteBodies();
    TWebExportOptions options;
    options.Title = o.title;
    options.OnlyVisible = o.onlyVisible;
    options.HideNotes = o.hideNotes;
    options.GameMaster = o.gm;
    options.Force = o.force;
    const TWebExportResult result = ExportSectorWebPage(sector, o.outDir, options);
    if (!result.Ok) {
        err << "kalvion-cli: " << result.Error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::json{{"index", result.IndexFile},   {"systems", result.Systems},
                              {"bodies", result.Bodies},     {"routes", result.Routes},
                              {"subsectors", result.Subsectors}, {"maps", result.Maps}});
    else
        out << "Wrote " << result.IndexFile << " (" << result.Systems << " systems, " << result.Bodies
            << " bodies, " << result.Routes << " routes)\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
