// "kalvion-cli terrain": a planet's surface map from its seed and physical
// values, written as PNG (and optionally as a world file), the map of an
// existing world file, or the map of a body of a sector made from its own
// values the way the window's background maker makes it, optionally stored
// in the sector.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/Guid.h"
#include "base/SafeFile.h"
#include "cli/SectorCommands.h"
#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfaceMapMaking.h"
#include "surface/manager/SurfaceMapOps.h"
#include "surface/manager/SurfacePalette.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <ostream>

namespace kalvion::cli {

namespace {

bool WriteBytes(const TMapBytes &bytes, const std::string &path, std::ostream &err)
{
    std::string error;
    if (!ReplaceFileContents(path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                             &error)) {
        err << "kalvion-cli: cannot write '" << path << "': " << error << "\n";
        return false;
    }
    return true;
}

// Every map is encoded the way the window's maps are, so equal pixels give
// equal files.
bool WritePng(const TRgbImage &image, const std::string &path, std::ostream &err)
{
    if (image.Width <= 0 || image.Height <= 0) {
        err << "kalvion-cli: the map is empty\n";
        return false;
    }
    TMapBytes bytes;
    if (!EncodeMapPng(image, bytes)) {
        err << "kalvion-cli: cannot encode the map as PNG\n";
        return false;
    }
    return WriteBytes(bytes, path, err);
}

bool Finite(double v) { return std::isfinite(v); }

int RunSectorTerrain(const CliOptions &opts, const CLI::App &cmd, const TerrainOptions &t, std::ostream &out,
                     std::ostream &err)
{
    for (const char *name : {"--seed", "--radius", "--water", "--temp", "--atmosphere", "--width", "--workers",
                             "--world", "--from", "--no-clouds"})
        if (cmd.count(name) > 0) {
            err << "kalvion-cli: terrain FILE BODY takes the body's own values; " << name << " cannot be given\n";
            return EXIT_USAGE;
        }
    if (t.body.empty()) {
        err << "kalvion-cli: terrain FILE needs a BODY\n";
        return EXIT_USAGE;
    }
    if (!t.store && t.out.empty()) {
        err << "kalvion-cli: terrain FILE BODY needs --store or --out OUT.png\n";
        return EXIT_USAGE;
    }
    const int width = SurfaceMapWidthForLevel(t.resolution);
    if (width == 0) {
        err << "kalvion-cli: --resolution must be between 1 and 5\n";
        return EXIT_USAGE;
    }
    if (!t.out.empty()) {
        if (OutputIsAnInput(t.out, {t.file}, err))
            return EXIT_USAGE;
        if (int rc = PrepareOutput(t.out, {".png"}, err); rc >= 0)
            return rc;
    }
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, t.file, t.store, err))
        return EXIT_FAILURE_;
    TStellarBody *body = FindNamedBody(sector, t.body, err);
    if (!body)
        return EXIT_FAILURE_;
    if (body->TypeID != BODY_TYPE_TERRESTRIAL && body->TypeID != BODY_TYPE_GASGIANT) {
        err << "kalvion-cli: '" << body->Name << "' is neither a terrestrial planet nor a gas giant\n";
        return EXIT_FAILURE_;
    }
    if (!IsGuidString(body->IDString.str())) {
        err << "kalvion-cli: '" << body->Name << "' has no valid ID; it gets no surface map\n";
        return EXIT_FAILURE_;
    }
    if (t.store && body->TypeID != BODY_TYPE_TERRESTRIAL) {
        err << "kalvion-cli: only terrestrial planets have terrain to store\n";
        return EXIT_FAILURE_;
    }
    // The palette the window's background maker gives a planet without one.
    TGexColorGroup palette = DefaultVexaColorGroup();
    if (body->ColorGroup())
        palette = *body->ColorGroup();
    else if (body->TypeID == BODY_TYPE_TERRESTRIAL)
        ApplyManagerPalette(palette, *body);

    // Saving may unload the system's contents: keep what is needed of the body.
    const std::string bodyName = body->Name, bodyId = body->IDString;
    const std::int32_t bodySeed = body->RandomSeed;
    TMapBytes png;
    if (t.store) {
        if (!GenerateGexSurfaceMap(sector, *body, true, palette, width, width / 2)) {
            err << "kalvion-cli: cannot store the surface map of '" << body->Name << "'\n";
            return EXIT_FAILURE_;
        }
        png = sector.ImageResources.GetResourceStreamFromFile(SurfaceMapResourceName(*body)).value_or(TMapBytes{});
        body = nullptr;
        sector.Modified = true;
        std::string error;
        if (!SaveToFile(sector, t.file, false, &error)) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
    } else if (body->TypeID == BODY_TYPE_GASGIANT) {
        EncodeMapPng(MakeGasGiantMap(body->RandomSeed, body->Albedo, width, width / 2), png);
    } else {
        const auto terrain =
            SetupJobTerrain(SurfaceMapJobFor(*body, palette, width, width / 2), DefaultTerrainWorkers());
        EncodeMapPng(RenderTerrainMap(*terrain), png);
    }
    if (png.empty()) {
        err << "kalvion-cli: cannot encode the map as PNG\n";
        return EXIT_FAILURE_;
    }
    if (!t.out.empty() && !WriteBytes(png, t.out, err))
        return EXIT_FAILURE_;
    if (opts.json) {
        nlohmann::json j{{"file", t.file},   {"body", bodyName}, {"id", bodyId},
                         {"seed", bodySeed}, {"width", width}, {"height", width / 2},
                         {"stored", t.store}};
        if (!t.out.empty())
            j["out"] = t.out;
        PrintJson(out, j);
    } else {
        if (t.store)
            out << "Stored the surface map of " << bodyName << " (" << width << " x " << width / 2 << ") in "
                << t.file << "\n";
        if (!t.out.empty())
            out << "Wrote " << t.out << " (" << width << " x " << width / 2 << ")\n";
    }
    return EXIT_OK;
}

} // namespace

CLI::App *AddTerrainCommand(CLI::App &app, TerrainOptions &t)
{
    auto *cmd = app.add_subcommand(
        "terrain", "Generate a planet's surface map (PNG) and optionally its world file: from --seed and the "
                   "planet's values, from a world file (--from), or for a BODY of a sector FILE (optionally --store)");
    cmd->add_option("file", t.file, "Sector file holding the body (the sector form)");
    cmd->add_option("body", t.body, "The body: its ID, or its name");
    cmd->add_flag("--store", t.store,
                  "Store the map and its world file in the sector as the body's surface map and terrain data");
    cmd->add_option("--resolution", t.resolution, "Map resolution level 1 to 5 (256 to 1024 pixels wide)")
        ->capture_default_str();
    cmd->add_option("--seed", t.seed, "The planet's random seed (32-bit)");
    cmd->add_option("--radius", t.radius, "Planet radius in km");
    cmd->add_option("--water", t.water, "Fraction of the surface under water, 0 to 1");
    cmd->add_option("--temp", t.temp, "Mean temperature in kelvin");
    cmd->add_option("--atmosphere", t.atmosphere, "Atmospheric pressure in atmospheres");
    cmd->add_option("--width", t.width, "Map width in pixels (height is half of it)")->capture_default_str();
    cmd->add_option("--workers", t.workers,
                    "Worker threads for the map's passes (default: one per processor; the map is the same for "
                    "any number)");
    cmd->add_option("--out", t.out, "PNG file to write");
    cmd->add_option("--world", t.world, "Also write the world file (.gex)");
    cmd->add_option("--from", t.from, "Render an existing world file instead of generating one");
    cmd->add_flag("--no-clouds", t.noClouds, "Leave the cloud layer out of a generated map");
    return cmd;
}

int RunTerrain(const CliOptions &opts, const CLI::App &cmd, const TerrainOptions &t, std::ostream &out,
               std::ostream &err)
{
    if (!t.file.empty())
        return RunSectorTerrain(opts, cmd, t, out, err);
    if (t.out.empty()) {
        err << "kalvion-cli: terrain needs --out OUT.png\n";
        return EXIT_USAGE;
    }
    for (const char *name : {"--store", "--resolution"})
        if (cmd.count(name) > 0) {
            err << "kalvion-cli: terrain " << name << " needs a sector file and a body\n";
            return EXIT_USAGE;
        }
    if (OutputIsAnInput(t.out, {t.from, t.world}, err) ||
        (!t.world.empty() && OutputIsAnInput(t.world, {t.from}, err)))
        return EXIT_USAGE;
    if (int rc = PrepareOutput(t.out, {".png"}, err); rc >= 0)
        return rc;
    std::unique_ptr<TGexTerrain> terrain;
    std::int32_t seed = 0;
    if (cmd.count("--from") > 0) {
        for (const char *name : {"--seed", "--radius", "--water", "--temp", "--atmosphere", "--world", "--no-clouds",
                                 "--width", "--workers"})
            if (cmd.count(name) > 0) {
                err << "kalvion-cli: terrain --from cannot be combined with " << name << "\n";
                return EXIT_USAGE;
            }
        std::error_code ec;
        if (!std::filesystem::is_regular_file(t.from, ec)) {
            err << "kalvion-cli: no world file '" << t.from << "'\n";
            return EXIT_FAILURE_;
        }
        terrain = std::make_unique<TGexTerrain>(256, 128);
        if (!terrain->LoadFromFile(t.from)) {
            err << "kalvion-cli: '" << t.from << "' is damaged: " << terrain->ErrorMessage() << "\n";
            return EXIT_FAILURE_;
        }
        seed = terrain->Seed;
    } else {
        // The planet's seed is this command's own option; a global --seed is taken when it is the only one.
        const bool haveSeed = cmd.count("--seed") > 0 || opts.haveSeed;
        const long long rawSeed = cmd.count("--seed") > 0 ? t.seed : opts.seed;
        for (const char *name : {"--radius", "--water", "--temp", "--atmosphere"})
            if (cmd.count(name) == 0) {
                err << "kalvion-cli: terrain needs " << name << " (or --from FILE.gex)\n";
                return EXIT_USAGE;
            }
        if (!haveSeed) {
            err << "kalvion-cli: terrain needs --seed (or --from FILE.gex)\n";
            return EXIT_USAGE;
        }
        if (rawSeed < INT32_MIN || rawSeed > static_cast<long long>(UINT32_MAX)) {
            err << "kalvion-cli: --seed must fit in 32 bits\n";
            return EXIT_USAGE;
        }
        if (t.width < 2 || t.width > GEX_MAX_DIMENSION) {
            err << "kalvion-cli: --width must be between 2 and " << GEX_MAX_DIMENSION << "\n";
            return EXIT_USAGE;
        }
        const int workers = cmd.count("--workers") == 0 ? DefaultTerrainWorkers() : t.workers;
        if (workers < 1 || workers > 64) {
            err << "kalvion-cli: --workers must be between 1 and 64\n";
            return EXIT_USAGE;
        }
        if (!Finite(t.radius) || t.radius <= 0 || !Finite(t.water) || !Finite(t.temp) || !Finite(t.atmosphere) ||
            t.atmosphere < 0) {
            err << "kalvion-cli: --radius must be above 0, --atmosphere at least 0, and all values finite\n";
            return EXIT_USAGE;
        }
        seed = static_cast<std::int32_t>(static_cast<std::uint32_t>(rawSeed));
        TPlanetTerrainInput planet;
        planet.RandomSeed = seed;
        planet.Radius = t.radius;
        planet.Water = t.water;
        planet.Temp = t.temp;
        planet.Atmosphere = t.atmosphere;
        planet.Colors.CloudsEnabled = !t.noClouds;
        terrain = SetupPlanetTerrain(planet, t.width, t.width / 2, workers);
    }

    const TRgbImage image = RenderTerrainMap(*terrain);
    if (!WritePng(image, t.out, err))
        return EXIT_FAILURE_;
    if (!t.world.empty() && !terrain->SaveToFile(t.world)) {
        err << "kalvion-cli: " << terrain->ErrorMessage() << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json) {
        nlohmann::json j{{"out", t.out}, {"width", image.Width}, {"height", image.Height}, {"seed", seed}};
        if (!t.world.empty())
            j["world"] = t.world;
        PrintJson(out, j);
    } else {
        out << "Wrote " << t.out << " (" << image.Width << " x " << image.Height << ")";
        if (!t.world.empty())
            out << " and " << t.world;
        out << "\n";
    }
    return EXIT_OK;
}

} // namespace kalvion::cli
