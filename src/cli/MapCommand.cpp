// "kalvion-cli map": the sector as a flat map in one plane, as a picture
// (PNG, JPEG, BMP, TIFF) or a vector page (SVG, PDF).
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/AsciiText.h"
#include "files/SectorFile.h"
#include "graphics/RenderSectorNG.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace kalvion::cli {

namespace {

// Labels are drawn at 20 / W * width / 100 pixels for a map W light years
// across: 50 pixels per light year gives them 10 pixels.
int LegibleWidth(const TVexaSector &sector, int plane)
{
    const double across = plane == MAP_PLANE_YZ ? sector.SizeZ : sector.SizeX;
    const double width = std::isfinite(across) ? across * 50 : 1000;
    return static_cast<int>(std::clamp(width, 1000.0, 16384.0));
}

// The grid as the sector draws its own: the lattice of a box sector, the
// tick spacing of a sphere; a step given in the sector's unit wins.
void SetGridSteps(TRenderSectorNG &render, const TVexaSector &sector, int plane, double step)
{
    if (step > 0) {
        render.GridStepX = render.GridStepY = step * sector.UnitStarMeasureRatio;
        return;
    }
    if (sector.GridStyle == GRID_STYLE_SPHERE) {
        render.GridStepX = render.GridStepY = sector.GridTick;
        return;
    }
    render.GridStepX = plane == MAP_PLANE_YZ ? sector.GridZ : sector.GridX;
    render.GridStepY = plane == MAP_PLANE_XZ ? sector.GridZ : sector.GridY;
}

} // namespace

CLI::App *AddMapCommand(CLI::App &app, MapOptions &o)
{
    auto *cmd = app.add_subcommand("map", "Draw a 2D map of a sector file (png, jpg, bmp, tif, svg or pdf)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("out", o.out, "Picture to write; the extension picks the format")->required();
    cmd->add_option("--plane", o.plane, "Projection plane: xy, xz or yz (default xy)");
    cmd->add_option("--width", o.width,
                    "Width in pixels; the height keeps the map's proportions (default: 50 pixels per light year, "
                    "at least 1000 and at most 16384, so that labels stay legible)");
    cmd->add_option("--mode", o.mode, "Colours: 0 black and white, 1 colour on white, 2 colour on black, 3 console")
        ->check(CLI::Range(0, 3));
    cmd->add_flag("--grid", o.grid, "Draw the coordinate grid, spaced as the sector's own grid");
    cmd->add_option("--grid-step", o.gridStep, "Grid spacing in the sector's unit (implies --grid)");
    cmd->add_flag("--routes", o.routes, "Draw the routes with names and lengths");
    cmd->add_flag("--labels", o.labels, "Label every system with its name and height (the default)");
    cmd->add_flag("--no-labels", o.noLabels, "Leave the systems unlabelled");
    cmd->add_flag("--unit-grid", o.unitGrid,
                  "Draw the grid one light year (one parsec in a parsec sector) apart, as the window's map export "
                  "does (implies --grid)");
    cmd->add_flag("--scale-by-depth", o.scaleByDepth, "Draw near systems larger (the window's \"Scale Systems\")");
    cmd->add_option("--system-size", o.systemSize, "System size factor, 0.2 to 2 (default 1)")
        ->check(CLI::Range(0.2, 2.0));
    cmd->add_option("--label-size", o.labelSize, "Label size factor, 0.2 to 2 (default 1)")
        ->check(CLI::Range(0.2, 2.0));
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
    if (o.width != 0 && (o.width < 16 || o.width > 16384)) {
        err << "kalvion-cli: --width must be between 16 and 16384\n";
        return EXIT_USAGE;
    }
    if (!std::isfinite(o.gridStep) || o.gridStep < 0) {
        err << "kalvion-cli: --grid-step takes a positive number\n";
        return EXIT_USAGE;
    }
    if (o.unitGrid && o.gridStep > 0) {
        err << "kalvion-cli: --unit-grid and --grid-step exclude each other\n";
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
    sector.UpdateRouteBodies();
    TRenderSectorNG render(sector);
    render.ColorMode = o.mode;
    render.Plane = plane;
    render.ShowGrid = o.grid || o.gridStep > 0 || o.unitGrid;
    render.ShowRoutes = o.routes;
    render.ShowLabels = !o.noLabels;
    render.ScaleByDepth = o.scaleByDepth;
    render.SystemFactor = o.systemSize;
    render.LabelFactor = o.labelSize;
    if (!o.unitGrid)
        SetGridSteps(render, sector, plane, o.gridStep);
    const int width = o.width > 0 ? o.width : LegibleWidth(sector, plane);
    const int height = MapExportHeight(sector, plane, width);
    if (!render.ExportToFile(o.out, width, height, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::json{{"out", o.out}, {"width", width}, {"height", height},
                              {"systems", sector.SystemCount()}});
    else
        out << "Wrote " << o.out << " (" << width << " x " << height << ", " << sector.SystemCount()
            << " systems)\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
