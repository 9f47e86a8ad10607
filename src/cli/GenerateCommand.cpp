// "kalvion-cli generate": a new sector filled by the sector generator, with
// the options of the New Star Sector dialog.  The sector is built in a
// scratch file beside the target and moved into place at the end, so an
// existing file is only replaced by a complete sector.  Ctrl-C stops the
// generator the way Escape does in the window: what was made is kept when
// the target did not exist; an existing file is never replaced by a partial
// sector.  Either way the exit status is 130, as for any interrupted program.
#include "cli/CliApp.h"
#include "cli/Interrupt.h"
#include "cli/JsonOut.h"
#include "cli/NumberList.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "base/Paths.h"
#include "files/SectorFile.h"
#include "generation/NewSectorOptions.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <ostream>

#include <unistd.h>

namespace kalvion::cli {

namespace {

// One line that rewrites itself on a terminal; elsewhere a line per tenth.
class TProgressBar {
public:
    TProgressBar(std::ostream &err) : FErr(err), FTerminal(&err == &std::cerr && ::isatty(2) == 1) {}
    void Show(int percent, std::size_t systems)
    {
        percent = std::clamp(percent, 0, 100);
        if (FTerminal) {
            const int filled = percent * 30 / 100;
            FErr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                 << std::string(static_cast<std::size_t>(30 - filled), '.') << "] " << percent << "%  "
                 << FormatCount(static_cast<double>(systems)) << " systems generated" << std::flush;
        } else if (percent / 10 > FLastTenth) {
            FLastTenth = percent / 10;
            FErr << percent << "% complete, " << systems << " systems generated\n";
        }
    }
    void End(int percent, std::size_t systems)
    {
        if (FTerminal) {
            Show(percent, systems);
            FErr << "\n";
        } else {
            FErr << std::clamp(percent, 0, 100) << "% complete, " << systems << " systems generated\n";
        }
    }

private:
    std::ostream &FErr;
    bool FTerminal;
    int FLastTenth = -1;
};

// After a failed final save: says what the scratch file really holds (the
// systems of its last successful checkpoint), and removes a scratch file that
// holds none rather than pointing the user at it.
void ReportWhatWasKept(const std::string &scratch, int generated, std::ostream &err)
{
    if (scratch.empty())
        return;
    TVexaSector kept;
    const bool readable = LoadFromFile(kept, scratch);
    const int systems = readable ? kept.SystemCount() : 0;
    if (systems > 0) {
        err << "kalvion-cli: " << systems << " of the " << generated << " generated systems were saved in \""
            << scratch << "\" before the failure\n";
        return;
    }
    std::error_code ec;
    std::filesystem::remove(scratch, ec);
    std::filesystem::remove(scratch + "-journal", ec);
    err << "kalvion-cli: none of the " << generated << " generated systems could be kept\n";
}

} // namespace

CLI::App *AddGenerateCommand(CLI::App &app, GenerateOptions &o)
{
    auto *cmd = app.add_subcommand("generate", "Generate a new sector of star systems into a sector file");
    cmd->add_option("file", o.file, "Sector file to write (.VexaDB)")->required();
    cmd->add_option("--shape", o.shape, "box (default) or sphere");
    cmd->add_option("--size", o.size, "Box size W or W,H,D in the chosen unit (default 20)");
    cmd->add_option("--radius", o.radius, "Sphere radius in the chosen unit (default half the width)");
    cmd->add_option("--unit", o.unit, "ly (default) or pc");
    cmd->add_option("--systems", o.systems, "Generate about this many systems instead of filling the box")
        ->check(CLI::Range(0, 100000000));
    cmd->add_option("--frequency", o.frequency, "System frequency 1 … 100 (default 5)")->check(CLI::Range(1, 100));
    cmd->add_option("--distribution", o.distribution, "even (default) or clustered");
    cmd->add_option("--data", o.data, "System data: none, stars or extended (default)");
    cmd->add_option("--names", o.names, "Name table in LangData/ or a path (default: the first table)");
    cmd->add_flag("--no-populations", o.noPopulations, "Leave the worlds unpopulated");
    cmd->add_flag("--organic-names", o.organicNames, "Organic naming");
    cmd->add_option("--subsectors", o.subsectors, "Subsectors across,high,deep, each 1 2 3 4 5 8 10 16 20 25 or 32 "
                                                  "(default 2,2,2)");
    cmd->add_flag("--no-subsectors", o.noSubsectors, "No subsectors");
    cmd->add_option("--freq", o.freqs,
                    "Frequency 0 … 50 of a system type or contents, KIND=N; KIND is SingleStar, Mult, BlackHole, "
                    "FreeObject, Station, Neutron, Nebula, WhiteDwarf, GiantStar, Terrestrial, GasGiant, "
                    "PlanetSystem, AsteroidBelt or Planetoid (repeatable)");
    cmd->add_option("--terraforming", o.terraforming, "Terraforming level 0 … 10 (default 10)")
        ->check(CLI::Range(0, 10));
    cmd->add_flag("--replace", o.replace, "Replace the file when it exists (only by a complete sector: Ctrl-C "
                                          "leaves it as it was)");
    cmd->add_option("--epoch", o.epoch, "Epoch year of the sector's calendar (default 2000)")
        ->check(CLI::Range(-1000000, 1000000));
    return cmd;
}

int RunGenerate(const CliOptions &opts, const GenerateOptions &g, std::ostream &out, std::ostream &err)
{
    const auto usage = [&](const std::string &text) {
        err << "kalvion-cli: " << text << "\n";
        return EXIT_USAGE;
    };
    TVexaSector blank;
    const auto tables = NameTableFiles();
    TNewSectorOptions o = DefaultNewSectorOptions(blank, tables.empty() ? std::string() : tables.front());

    if (SameText(g.unit, "pc"))
        o.Unit = "Parsecs";
    else if (!g.unit.empty() && !SameText(g.unit, "ly"))
        return usage("--unit must be ly or pc");
    if (SameText(g.shape, "sphere"))
        o.Spherical = true;
    else if (!g.shape.empty() && !SameText(g.shape, "box"))
        return usage("--shape must be box or sphere");
    std::vector<double> list;
    if (!g.size.empty()) {
        if (!ParseNumberList(g.size, list) || (list.size() != 1 && list.size() != 3) ||
            std::any_of(list.begin(), list.end(), [](double v) { return !(v >= SECTOR_MIN_SIZE && v <= SECTOR_MAX_SIZE); }))
            return usage("--size takes one or three numbers separated by commas, each from 0.01 to 1000000");
        o.Width = list[0];
        o.Height = list.size() == 3 ? list[1] : list[0];
        o.Depth = list.size() == 3 ? list[2] : list[0];
    }
    o.Radius = o.Width / 2;
    if (g.radius != 0) {
        if (!(g.radius >= SECTOR_MIN_SIZE / 2 && g.radius <= SECTOR_MAX_SIZE / 2))
            return usage("--radius must be a number from 0.005 to 500000");
        if (SameText(g.shape, "box"))
            return usage("--radius makes a sphere; it cannot go with --shape box");
        o.Radius = g.radius;
        o.Spherical = true;
    }
    o.TotalSystems = g.systems;
    o.Frequency = g.frequency;
    if (SameText(g.distribution, "clustered"))
        o.Distribution = DISTRIBUTION_CLUSTERED;
    else if (!g.distribution.empty() && !SameText(g.distribution, "even"))
        return usage("--distribution must be even or clustered");
    if (SameText(g.data, "none"))
        o.SystemData = GENERATE_NONE;
    else if (SameText(g.data, "stars"))
        o.SystemData = GENERATE_STARS;
    else if (!g.data.empty() && !SameText(g.data, "extended"))
        return usage("--data must be none, stars or extended");
    if (!g.names.empty()) {
        if (!FileExists(JoinPath(ProgramSubfolder("LangData"), g.names)) && !FileExists(g.names)) {
            err << "kalvion-cli: name table not found: " << g.names << "\n";
            return EXIT_FAILURE_;
        }
        o.NameTable = g.names;
    }
    o.Populations = !g.noPopulations;
    o.OrganicNaming = g.organicNames;
    o.Subsectors = !g.noSubsectors;
    if (!g.subsectors.empty()) {
        if (!ParseNumberList(g.subsectors, list) || list.size() != 3 ||
            std::any_of(list.begin(), list.end(), [](double v) {
                return std::find(SUBSECTOR_COUNTS.begin(), SUBSECTOR_COUNTS.end(), v) == SUBSECTOR_COUNTS.end();
            }))
            return usage("--subsectors takes three counts X,Y,Z, each 1 2 3 4 5 8 10 16 20 25 or 32");
        o.SubsectorX = static_cast<std::int32_t>(list[0]);
        o.SubsectorY = static_cast<std::int32_t>(list[1]);
        o.SubsectorZ = static_cast<std::int32_t>(list[2]);
    }
    for (const std::string &f : g.freqs) {
        const auto eq = f.find('=');
        const auto value = eq == std::string::npos ? std::nullopt : ParseDouble(f.substr(eq + 1));
        std::size_t slot = GENERATOR_FREQ_SLIDERS.size();
        for (std::size_t i = 0; eq != std::string::npos && i < GENERATOR_FREQ_SLIDERS.size(); ++i)
            if (SameText(f.substr(0, eq), GENERATOR_FREQ_SLIDERS[i].ShortName))
                slot = i;
        if (slot == GENERATOR_FREQ_SLIDERS.size() || !value || *value < 0 || *value > 50 ||
            *value != std::trunc(*value))
            return usage("--freq takes KIND=N with N a whole number 0 … 50; see 'kalvion-cli help generate'");
        o.Freq[slot] = static_cast<std::int32_t>(*value);
    }
    o.Terraforming = g.terraforming;

    namespace fs = std::filesystem;
    std::error_code ec;
    const bool existed = fs::exists(g.file, ec);
    if (existed && !g.replace) {
        err << "kalvion-cli: \"" << g.file << "\" already exists (give --replace to replace it)\n";
        return EXIT_FAILURE_;
    }
    // The scratch file lies beside the target so that the final move is a
    // rename on one file system.
    const std::string scratch = g.file + ".generating~";
    fs::remove(scratch, ec);
    fs::remove(scratch + "-journal", ec);

    TVexaSector sector;
    SetUpNewSector(sector, o);
    sector.EpochYear = g.epoch;
    sector.RestoreDefaultOrigins();
    sector.ResetCamera();
    if (o.Placements) {
        const std::string tooLarge = CheckGenerationSize(sector, GenerateParamsFrom(o));
        if (!tooLarge.empty()) {
            err << "kalvion-cli: " << tooLarge << "\n";
            return EXIT_FAILURE_;
        }
    }
    std::string error;
    if (!SaveToFile(sector, scratch, false, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }

    const auto started = std::chrono::steady_clock::now();
    TProgressBar bar(err);
    bool interrupted = false;
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(sector);
    {
        TInterruptGuard guard;
        ApplySeed(opts);
        if (o.Placements)
            mgr.Start(GenerateParamsFrom(o));
        while (mgr.ProcessHandOvers(std::chrono::milliseconds(100))) {
            if (Interrupted() && !interrupted) {
                interrupted = true;
                mgr.Terminate();
            }
            bar.Show(mgr.Percent(), sector.Systems.size());
        }
    }
    bar.End(mgr.Cancelled() ? mgr.Percent() : 100, sector.Systems.size());
    const std::string generateError = mgr.ErrorMessage();

    if (interrupted && existed) {
        // The file the user had stays as it was; the partial sector goes.
        const std::string partial = sector.FileName;
        sector.clear();
        fs::remove(partial, ec);
        fs::remove(partial + "-journal", ec);
        err << "kalvion-cli: interrupted; \"" << g.file << "\" was left as it was\n";
        return EXIT_INTERRUPTED;
    }
    if (o.Subsectors)
        GenerateSubsectors(sector, o.SubsectorX, o.SubsectorY, o.NameTable, o.ColorSubsector, o.SubsectorZ);
    if (!SaveGenerateTempFile(sector, g.file, &error)) {
        err << "kalvion-cli: " << error << "\n";
        ReportWhatWasKept(sector.FileName, sector.SystemCount(), err);
        return EXIT_FAILURE_;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::int64_t bodies = 0;
    std::int64_t populated = 0;
    for (const auto &root : sector.Systems) {
        bodies += root->BodyCount;
        if (root->ChildPopulation > 0)
            ++populated;
    }
    const bool cancelled = mgr.Cancelled();
    if (opts.json) {
        const nlohmann::json j{{"file", g.file},
                               {"systems", sector.SystemCount()},
                               {"bodies", bodies},
                               {"populated_systems", populated},
                               {"subsectors", sector.SubsectorCount()},
                               {"size", {sector.SizeX, sector.SizeY, sector.SizeZ}},
                               {"seconds", seconds},
                               {"cancelled", cancelled}};
        PrintJson(out, j);
    } else {
        out << (cancelled ? "Cancelled; kept " : "Generated ") << FormatCount(sector.SystemCount())
            << " systems (" << FormatCount(static_cast<double>(bodies)) << " bodies, " << FormatCount(static_cast<double>(populated))
            << " populated), " << FormatCount(sector.SubsectorCount()) << " subsectors in "
            << FormatFloat("0.00", seconds) << " s\n";
        out << "Saved " << g.file << "\n";
    }
    if (!generateError.empty()) {
        err << "kalvion-cli: " << generateError << "\n";
        return EXIT_FAILURE_;
    }
    return interrupted ? EXIT_INTERRUPTED : EXIT_OK;
}

} // namespace kalvion::cli
