// "kalvion-cli map": the sector as a flat map in one plane, as a picture
// (PNG, JPEG, BMP, TIFF) or a vector page (SVG, PDF).
#include "cli/CliApp.h"

#include "base/AsciiText.h"
#include "files/SectorFile.h"
#include "graphics/RenderSectorNG.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

CLI::App *AddMapCommand(CLI::App &app, MapOptions &o)
{
    auto *cmd = app.add_subcommand("map", "Draw a 2D map of a sector file (png, jpg, bmp, tif, svg or pdf)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("out", o.out, "Picture to write; the extension picks the format")->required();
    cmd->add_option("--plane", o.plane, "Projection plane: xy, xz or yz (default xy)");
    cmd->add_option("--width", o.width, "Width in pixels (default 1000); the height keeps the map's proportions");
    cmd->add_option("--mode", o.mode, "Colours: 0 black and white, 1 colour on white, 2 colour on black, 3 console")
        ->check(CLI::Range(0, 3));
    cmd->add_flag("--grid", o.grid, "Draw the coordinate grid");
    cmd->add_flag("--routes", o.routes, "Draw the routes with names and lengths");
    cmd->add_flag("--labels", o.labels, "Label every system with its name and height");
    return cmd;
}

int RunMap(const CliOptions &opts, const MapOptions &o, std::ostream &out, std::ostream &err)
{
    int plane = -1;
    if (SameText(o.plane, "xy"))
        plane = MAP_PLANE_XY;
    else if (SameText(o.plane, "xz"))
        plane = MAP_PLANE_XZ;
    else if (SameText(o.plane, "yz"))
        plane = MAP_PLANE_YZ;
    if (plane < 0) {
        err << "kalvion-cli: --plane must be xy, xz or yz\n";
        return EXIT_USAGE;
    }
    if (o.width < 16 || o.width > 16384) {
        err << "kalvion-cli: --width must be between 16 and 16384\n";
        return EXIT_USAGE;
    }
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    sector.UpdateRouteBodies();
    TRenderSectorNG render(sector);
    render.ColorMode = o.mode;
    render.Plane = plane;
    render.ShowGrid = o.grid;
    render.ShowRoutes = o.routes;
    render.ShowLabels = o.labels;
    const int height = MapExportHeight(sector, plane, o.width);
    if (!render.ExportToFile(o.out, o.width, height, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        out << nlohmann::json{{"out", o.out}, {"width", o.width}, {"height", height},
                              {"systems", sector.SystemCount()}}.dump()
            << "\n";
    else
        out << "Wrote " << o.out << " (" << o.width << " x " << height << ", " << sector.SystemCount()
            << " systems)\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
