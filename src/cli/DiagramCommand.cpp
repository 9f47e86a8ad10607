// "kalvion-cli diagram": the top-down orbit diagram of one system of a sector
// file at the sector's date (optionally some days later).
#include "cli/CliApp.h"
#include "cli/SectorCommands.h"
#include "cli/JsonOut.h"

#include "files/SectorFile.h"
#include "graphics/RenderOrbitNG.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cmath>
#include <ostream>

namespace kalvion::cli {

CLI::App *AddDiagramCommand(CLI::App &app, DiagramOptions &o)
{
    auto *cmd = app.add_subcommand("diagram", "Draw the 2D orbit diagram of one system of a sector file");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("system", o.system,
                    "Name (or ID) of the system, or of a body in it: a component (\"Udora A\") or a planet "
                    "with its moons")
        ->required();
    cmd->add_option("out", o.out, "Picture to write (png, jpg, bmp, tif, svg or pdf)")->required();
    cmd->add_option("--width", o.width, "Width in pixels (default 1000)");
    cmd->add_option("--height", o.height, "Height in pixels (default 1000)");
    cmd->add_option("--orbits", o.orbits, "Draw only this many orbits from the parent (0: all)");
    cmd->add_option("--days", o.days, "Days after the sector's current date");
    return cmd;
}

int RunDiagram(const CliOptions &opts, const DiagramOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.width < 16 || o.width > 16384 || o.height < 16 || o.height > 16384) {
        err << "kalvion-cli: --width and --height must be between 16 and 16384\n";
        return EXIT_USAGE;
    }
    if (o.orbits < 0) {
        err << "kalvion-cli: --orbits must be 0 or more\n";
        return EXIT_USAGE;
    }
    if (!std::isfinite(o.days)) {
        err << "kalvion-cli: --days must be a finite number\n";
        return EXIT_USAGE;
    }
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    if (int rc = PrepareOutput(o.out, {".png", ".jpg", ".jpeg", ".bmp", ".tif", ".tiff", ".svg", ".pdf"}, err); rc >= 0)
        return rc;
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    // A system, or one body inside it: a component of a multiple system with
    // its planets, a planet with its moons.
    TStellarBody *root = FindNamedBody(sector, o.system, err);
    if (root == nullptr)
        return EXIT_FAILURE_;
    sector.DynaLoad(root->GetRootBody());
    sector.Time += o.days;
    if (!ExportDiagram(sector, *root, o.out, o.width, o.height, o.orbits, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::json{{"out", o.out}, {"width", o.width}, {"height", o.height},
                              {"children", root->ChildrenCount()}});
    else
        out << "Wrote " << o.out << " (" << o.width << " x " << o.height << ", " << root->ChildrenCount()
            << " bodies around " << root->Name << ")\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
