// "kalvion-cli render": one frame of the 3D sector view (or, with --system,
// of the 3D system view), drawn off screen and saved as a picture (PNG, JPEG, BMP or TIFF).
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/NumberList.h"
#include "cli/OffscreenViews.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "files/SectorFile.h"
#include "graphics/ZentImages.h"
#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "render/models/ModelManager.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>

namespace kalvion::cli {

CLI::App *AddRenderCommand(CLI::App &app, RenderOptions &o)
{
    auto *cmd = app.add_subcommand("render", "Draw the 3D star map of a sector file into a picture (png, jpg, bmp, tif)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("out", o.out, "Picture to write; the extension picks the format")->required();
    cmd->add_option("--width", o.width, "Width in pixels (default 1280)");
    cmd->add_option("--height", o.height, "Height in pixels (default 800)");
    cmd->add_option("--view", o.view, "Use the camera of this saved view");
    cmd->add_option("--camera", o.camera, "Camera position X,Y,Z in light years");
    cmd->add_option("--target", o.target, "Point the camera looks at, X,Y,Z in light years");
    cmd->add_option("--select", o.select, "Select these systems (by name) before drawing");
    cmd->add_flag("--no-flares", o.noFlares, "Draw no lens-flare ghosts around very near stars");
    cmd->add_flag("--no-grid", o.noGrid, "Draw no sector grid");
    cmd->add_flag("--no-date", o.noDate, "Leave out the sector date line");
    cmd->add_option("--preview", o.preview, "Show this system in the preview inset");
    cmd->add_option("--system", o.system, "Draw this system (or body) in the 3D system view instead of the star map");
    // Present or not matters: an option left out keeps the file's date or the
    // system's remembered camera.
    cmd->add_option_function<double>(
        "--days", [&o](const double &v) { o.days = v; },
        "System view: the sector date in days since the epoch (default: the file's date)");
    cmd->add_option_function<double>(
        "--distance", [&o](const double &v) { o.distance = v; }, "System view: camera distance in the system's units");
    cmd->add_option_function<double>(
        "--lat", [&o](const double &v) { o.lat = v; }, "System view: camera latitude in degrees (-90 to 90)");
    cmd->add_option_function<double>(
        "--long", [&o](const double &v) { o.lon = v; }, "System view: camera longitude in degrees");
    return cmd;
}

namespace {

bool ParsePoint(const std::string &text, TVexaPoint &point)
{
    std::vector<double> values;
    if (!ParseNumberList(text, values) || values.size() != 3)
        return false;
    point = {values[0], values[1], values[2]};
    return true;
}

bool IsPictureName(const std::string &name)
{
    const std::string ext = UpperExtension(name);
    return ext == ".PNG" || ext == ".JPG" || ext == ".JPEG" || ext == ".BMP" || ext == ".TIF" || ext == ".TIFF";
}

bool FiniteOption(const std::optional<double> &value) { return !value || std::isfinite(*value); }

int RunRenderOrbit(const CliOptions &opts, const RenderOptions &o, TVexaSector &sector, std::ostream &out,
                   std::ostream &err)
{
    TStellarBody *body = FindSystemOrBody(sector, o.system);
    if (!body) {
        err << "kalvion-cli: no system or body named \"" << o.system << "\"\n";
        return EXIT_FAILURE_;
    }
    if (o.days)
        sector.Time = *o.days;
    TCliOrbitView view(sector, body, err);
    TRenderOrbitOGL &renderer = view.Renderer;
    if (o.distance)
        renderer.Camera.Distance = ClampOrbitDistance(*o.distance, renderer.Camera.Distance);
    if (o.lat)
        renderer.Camera.Latitude = std::clamp(*o.lat, -90.0, 90.0);
    if (o.lon)
        renderer.Camera.Longitude = *o.lon;
    if (o.noDate)
        renderer.ShowText = false;

    TOffscreenGL gl;
    if (!CreateOffscreenGL(gl, "render", err))
        return EXIT_FAILURE_;
    const QImage frame = gl.RenderOrbit(renderer, o.width, o.height, 4);
    view.ReleaseGL();
    if (frame.isNull()) {
        err << "kalvion-cli: the 3D view could not be drawn: " << gl.ErrorMessage << "\n";
        return EXIT_FAILURE_;
    }
    std::string error;
    if (!SaveBitmapToFile(frame, o.out, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    const TStellarBody *root = renderer.Root();
    if (opts.json)
        PrintJson(out, nlohmann::json{{"out", o.out},
                                      {"width", o.width},
                                      {"height", o.height},
                                      {"system", root->Name},
                                      {"kind", renderer.Kind()},
                                      {"days", sector.Time},
                                      {"distance", renderer.Camera.Distance},
                                      {"lat", renderer.Camera.Latitude},
                                      {"long", renderer.Camera.Longitude}});
    else
        out << "Wrote " << o.out << " (" << o.width << " x " << o.height << ", system " << root->Name << ")\n";
    return EXIT_OK;
}

} // namespace

int RunRender(const CliOptions &opts, const RenderOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.width < 16 || o.width > 16384 || o.height < 16 || o.height > 16384) {
        err << "kalvion-cli: --width and --height must be between 16 and 16384\n";
        return EXIT_USAGE;
    }
    if (!IsPictureName(o.out)) {
        err << "kalvion-cli: the picture must end in .png, .jpg, .bmp or .tif\n";
        return EXIT_USAGE;
    }
    TVexaPoint camera, target;
    const bool haveCamera = !o.camera.empty(), haveTarget = !o.target.empty();
    if ((haveCamera && !ParsePoint(o.camera, camera)) || (haveTarget && !ParsePoint(o.target, target))) {
        err << "kalvion-cli: --camera and --target take three numbers X,Y,Z\n";
        return EXIT_USAGE;
    }
    if (haveCamera != haveTarget) {
        err << "kalvion-cli: --camera and --target go together\n";
        return EXIT_USAGE;
    }

    if (!FiniteOption(o.days) || !FiniteOption(o.distance) || !FiniteOption(o.lat) || !FiniteOption(o.lon)) {
        err << "kalvion-cli: --days, --distance, --lat and --long take finite numbers\n";
        return EXIT_USAGE;
    }
    const bool orbitOnly = o.days || o.distance || o.lat || o.lon;
    if (orbitOnly && o.system.empty()) {
        err << "kalvion-cli: --days, --distance, --lat and --long go with --system\n";
        return EXIT_USAGE;
    }

    TVexaSector sector;
    std::string error;
    if (!LoadFromFile(sector, o.file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (!o.system.empty())
        return RunRenderOrbit(opts, o, sector, out, err);
    sector.UpdateRouteBodies();
    if (!o.view.empty()) {
        if (sector.FindView(o.view) < 0) {
            err << "kalvion-cli: the sector has no view named \"" << o.view << "\"\n";
            return EXIT_FAILURE_;
        }
        sector.LoadView(o.view);
    }
    if (haveCamera) {
        sector.Camera = camera;
        sector.Target = target;
    }
    for (const std::string &name : o.select) {
        TStellarBody *root = sector.FindRootBodyByName(name);
        if (!root) {
            err << "kalvion-cli: no system named \"" << name << "\"\n";
            return EXIT_FAILURE_;
        }
        if (!root->Selected)
            sector.SelectBody(root);
    }
    if (o.noGrid)
        sector.GridsEnabled = false;

    // Stations, ships and fleets near the camera show their models.
    T3dModelManager models;
    SetUpModels(models, err);
    TRenderSectorOGL renderer;
    renderer.ModelManager = &models;
    renderer.LensFlare = !o.noFlares;
    renderer.ShowDate = !o.noDate;
    if (!o.preview.empty()) {
        TStellarBody *root = sector.FindRootBodyByName(o.preview);
        if (!root) {
            err << "kalvion-cli: no system named \"" << o.preview << "\"\n";
            return EXIT_FAILURE_;
        }
        sector.DynaLoad(root);
        renderer.PreviewBody = root;
    }

    TOffscreenGL gl;
    if (!CreateOffscreenGL(gl, "render", err))
        return EXIT_FAILURE_;
    const QImage frame = gl.RenderSector(renderer, sector, o.width, o.height, 4);
    renderer.ReleaseAll();
    if (frame.isNull()) {
        err << "kalvion-cli: the 3D view could not be drawn: " << gl.ErrorMessage << "\n";
        return EXIT_FAILURE_;
    }
    if (!SaveBitmapToFile(frame, o.out, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::json{{"out", o.out},
                              {"width", o.width},
                              {"height", o.height},
                              {"systems", sector.SystemCount()},
                              {"camera", {sector.Camera.X, sector.Camera.Y, sector.Camera.Z}},
                              {"target", {sector.Target.X, sector.Target.Y, sector.Target.Z}}});
    else
        out << "Wrote " << o.out << " (" << o.width << " x " << o.height << ", " << sector.SystemCount()
            << " systems)\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
