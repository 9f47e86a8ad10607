// "kalvion-cli terrain": a planet's surface map from its seed and physical
// values, written as PNG (and optionally as a world file), or the map of an
// existing world file.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/SafeFile.h"
#include "surface/PlanetTerrain.h"

#include <CLI/CLI.hpp>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <ostream>

namespace kalvion::cli {

namespace {

constexpr int PNG_QUALITY = 80;

bool WritePng(const TRgbImage &image, const std::string &path, std::ostream &err)
{
    if (image.Width <= 0 || image.Height <= 0) {
        err << "kalvion-cli: the map is empty\n";
        return false;
    }
    const QImage view(image.Pixels.data(), image.Width, image.Height, image.Width * 3, QImage::Format_RGB888);
    // Always PNG, whatever the name says.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Quality 80 is zlib level 1: a noisy map then encodes about four times
    // faster than at the default level for a file only a few percent larger.
    writer.setQuality(PNG_QUALITY);
    std::string error;
    if (!writer.write(view))
        error = "cannot encode the map as PNG: " + writer.errorString().toStdString();
    if (!error.empty() ||
        !ReplaceFileContents(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                             &error)) {
        err << "kalvion-cli: cannot write '" << path << "': " << error << "\n";
        return false;
    }
    return true;
}

bool Finite(double v) { return std::isfinite(v); }

} // namespace

CLI::App *AddTerrainCommand(CLI::App &app, TerrainOptions &t)
{
    auto *cmd = app.add_subcommand("terrain", "Generate a planet's surface map (PNG) and optionally its world file");
    cmd->add_option("--seed", t.seed, "The planet's random seed (32-bit)");
    cmd->add_option("--radius", t.radius, "Planet radius in km");
    cmd->add_option("--water", t.water, "Fraction of the surface under water, 0 to 1");
    cmd->add_option("--temp", t.temp, "Mean temperature in kelvin");
    cmd->add_option("--atmosphere", t.atmosphere, "Atmospheric pressure in atmospheres");
    cmd->add_option("--width", t.width, "Map width in pixels (height is half of it)")->capture_default_str();
    cmd->add_option("--workers", t.workers, "Worker threads for the noise passes")->capture_default_str();
    cmd->add_option("--out", t.out, "PNG file to write")->required();
    cmd->add_option("--world", t.world, "Also write the world file (.gex)");
    cmd->add_option("--from", t.from, "Render an existing world file instead of generating one");
    cmd->add_flag("--no-clouds", t.noClouds, "Leave the cloud layer out of a generated map");
    return cmd;
}

int RunTerrain(const CliOptions &opts, const CLI::App &cmd, const TerrainOptions &t, std::ostream &out,
               std::ostream &err)
{
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
        if (t.workers < 1 || t.workers > 64) {
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
        terrain = SetupPlanetTerrain(planet, t.width, t.width / 2, t.workers);
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
