#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/HelpText.h"
#include "cli/PlotCommand.h"
#include "cli/SectorCommands.h"

#include "base/SharedRandom.h"
#include "base/Version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ostream>

namespace kalvion::cli {

void ApplySeed(const CliOptions &opts)
{
    if (opts.haveSeed)
        SetSharedRandomSeed(static_cast<std::int32_t>(static_cast<std::uint32_t>(opts.seed)));
}

namespace {

int UnknownCommand(const CLI::App &app, const std::string &word, std::ostream &err);

// Parses and runs one command line; a usage error leaves the hint that
// names the command's help to the caller.
int RunCommandLine(const std::vector<std::string> &args, const std::string &command, bool &known, std::ostream &out,
                   std::ostream &err)
{
    CLI::App app{"Kalvion: star maps for writers and game masters (headless tools)", "kalvion-cli"};
    app.require_subcommand(0, 1);
    app.fallthrough();

    CliOptions opts;
    bool version = false;
    app.add_flag("--version", version, "Print the version and exit");
    app.add_flag("--json", opts.json, "Machine-readable output for commands that list or describe things");
    auto *seedOpt = app.add_option("--seed", opts.seed, "Set the shared random seed before the command's random work");

    std::string helpTopic;
    auto *help = app.add_subcommand("help", "List the commands, or explain one");
    help->add_option("command", helpTopic, "Command to explain");

    auto *demo = app.add_subcommand("demo", "Build a small sector in memory and show what the core computes");
    auto *types = app.add_subcommand("body-types", "List the body types with their codes and search words");
    std::string pattern, value;
    auto *format = app.add_subcommand("format", "Format a number with a number pattern such as \"#,##0.00\"");
    format->add_option("pattern", pattern, "Number pattern")->required();
    format->add_option("value", value, "Number")->required();
    NewOptions newOpts;
    auto *newCmd = app.add_subcommand("new", "Create an empty sector file");
    newCmd->add_option("file", newOpts.file, "Sector file to create (.VexaDB)")->required();
    newCmd->add_option("--size", newOpts.size, "Sector size X or X,Y,Z in the chosen unit (default 20)");
    newCmd->add_option("--sphere", newOpts.sphere, "Make a spherical sector of this radius");
    newCmd->add_option("--unit", newOpts.unit, "Unit of measure: ly (default) or pc");
    newCmd->add_option("--epoch", newOpts.epoch, "Epoch year of the sector's calendar (default 2000)")
        ->check(CLI::Range(-1000000, 1000000));
    newCmd->add_flag("--replace", newOpts.replace, "Replace the file when it exists");
    std::string infoFile;
    auto *info = app.add_subcommand("info", "Describe a sector file: settings, date, schema version and counts");
    info->add_option("file", infoFile, "Sector file (.VexaDB)")->required();

    std::string diceExpr;
    int diceCount = 1;
    auto *dice = app.add_subcommand("dice", "Roll a dice expression such as \"3d6+2\"");
    dice->add_option("expression", diceExpr, "Dice expression: count d sides, optionally + - * or / a number")
        ->required();
    dice->add_option("--count", diceCount, "Number of rolls, each on its own line")->check(CLI::Range(1, 1000000));

    std::string calcExpr;
    auto *calc = app.add_subcommand("calc", "Evaluate an arithmetic expression such as \"2^3^2\"");
    calc->add_option("expression", calcExpr, "Expression")->required();

    std::int64_t epochYear = 2000;
    double sectorTime = 0;
    std::string dateFormat = "dd mmm y h:n:s";
    auto *date = app.add_subcommand("date", "Show a sector date: the epoch year plus a number of days");
    date->add_option("--epoch", epochYear, "Epoch year of the sector")->required();
    date->add_option("--time", sectorTime, "Sector time in days from 1 January of the epoch year")->required();
    date->add_option("--format", dateFormat, "Date format (tokens y m mm mmm mmmm d dd ddd dddd h n s o oo j a)");
    SystemCommandOptions sysOpts;
    auto *system = app.add_subcommand("system", "Generate one star system as the sector generator does and print its tree");
    system->add_flag("--stars-only", sysOpts.starsOnly, "Stars only, no planets");
    system->add_flag("--no-populations", sysOpts.noPopulations, "Leave the worlds unpopulated");
    system->add_option("--terraforming", sysOpts.terraforming, "Terraforming level 0 … 10 (default 10)")
        ->check(CLI::Range(0, 10));
    system->add_option("--type", sysOpts.type, "System type as the New System dialog lists it, e.g. \"Star, Yellow\"");
    system->add_option("--names", sysOpts.names, "Name table in LangData/ or a path (default: the standard table)");
    TableArgs tableArgs;
    auto *table = app.add_subcommand("table", "Print results of a random-table file, one per line");
    table->add_option("file", tableArgs.file, "Random-table file (.ilt)")->required();
    table->add_option("table", tableArgs.table, "Table to pick from (default: the file's first table)");
    table->add_option("--count", tableArgs.count, "Number of results (default 1)");
    table->add_option("--var", tableArgs.vars, "Variable NAME=VALUE for the tables (repeatable)");
    table->add_option("--lib", tableArgs.library, "Folder searched for included files (default: Common/)");
    MergeOptions mergeOpts;
    const TMergeCommands mergeCmds = AddMergeCommands(app, mergeOpts);
    TerrainOptions terrainOpts;
    auto *terrain = AddTerrainCommand(app, terrainOpts);
    RoutesOptions routesOpts; auto *routes = AddRoutesCommand(app, routesOpts);
    TravelOptions travelOpts; auto *travel = AddTravelCommand(app, travelOpts);
    PlotOptions plotOpts; auto *plot = AddPlotCommand(app, plotOpts);

    std::string scriptFile;
    std::vector<std::string> scriptArgs;
    auto *script = app.add_subcommand("script", "Run a script file (VBScript) without a window");
    script->add_option("file", scriptFile, "Script file (.vbs or .VexaScript)")->required();
    double scriptTimeout = 0;
    script->add_option("--timeout", scriptTimeout,
                       "Halt the script after this many seconds, as Halt Script does (default: no limit)");
    std::string scriptSector;
    script->add_option("--sector", scriptSector,
                       "Sector file GetCurrentSector answers (saved when the script saves it); before the script file");
    script->add_option("args", scriptArgs, "Arguments the script reads with ScriptArg(i)");
    script->prefix_command();
    ReportOptions reportOpts;
    auto *report = AddReportCommand(app, reportOpts);
    ImportCsvOptions importCsvOpts;
    auto *importCsv = AddImportCsvCommand(app, importCsvOpts);
    SearchOptions searchOpts;
    auto *search = AddSearchCommand(app, searchOpts);
    MapOptions mapOpts;
    auto *mapCmd = AddMapCommand(app, mapOpts);
    WebOptions webOpts;
    auto *webCmd = AddWebCommand(app, webOpts);
    RenderOptions renderOpts;
    auto *renderCmd = AddRenderCommand(app, renderOpts);
    VideoOptions videoOpts;
    auto *videoCmd = AddVideoCommand(app, videoOpts);
    DiagramOptions diagramOpts;
    auto *diagramCmd = AddDiagramCommand(app, diagramOpts);
    TextureOptions textureOpts;
    auto *textureCmd = AddTextureCommand(app, textureOpts);
    GenerateOptions generateOpts;
    auto *generateCmd = AddGenerateCommand(app, generateOpts);
    SectorCommandOptions sectorOpts;
    const TSectorCommands sectorCmds = AddSectorCommands(app, sectorOpts);

    std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!command.empty()) {
        for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; }))
            known = known || sub->get_name() == command;
        if (!known)
            return UnknownCommand(app, command, err);
    }
    std::reverse(rest.begin(), rest.end());
    try {
        app.parse(rest);
    } catch (const CLI::CallForHelp &) {
        const CLI::App *target = &app;
        for (auto *sub : app.get_subcommands())
            target = sub;
        out << target->help();
        return EXIT_OK;
    } catch (const CLI::ParseError &e) {
        err << "kalvion-cli: " << e.what() << "\n";
        return EXIT_USAGE;
    }
    opts.haveSeed = seedOpt->count() > 0;
    // Seeds are 32-bit: accepted as signed or unsigned, nothing wider.
    if (opts.haveSeed && (opts.seed < INT32_MIN || opts.seed > static_cast<long long>(UINT32_MAX))) {
        err << "kalvion-cli: --seed must fit in 32 bits (" << INT32_MIN << " to " << UINT32_MAX << ")\n";
        return EXIT_USAGE;
    }

    if (version) {
        out << "kalvion-cli " << KALVION_VERSION_TEXT << "\n";
        return EXIT_OK;
    }
    if (help->parsed() || app.get_subcommands().empty()) {
        if (helpTopic.empty()) {
            PrintCommandList(app, out);
            return EXIT_OK;
        }
        if (const char *topic = HelpTopicText(helpTopic)) {
            out << topic;
            return EXIT_OK;
        }
        for (auto *sub : app.get_subcommands({}))
            if (sub->get_name() == helpTopic) {
                out << sub->help();
                return EXIT_OK;
            }
        return UnknownCommand(app, helpTopic, err);
    }
    if (demo->parsed())
        return RunDemo(opts, out);
    if (types->parsed())
        return RunBodyTypes(opts, out);
    if (dice->parsed())
        return RunDice(opts, diceExpr, diceCount, out, err);
    if (calc->parsed())
        return RunCalc(opts, calcExpr, out, err);
    if (date->parsed())
        return RunDate(opts, epochYear, sectorTime, dateFormat, out, err);
    if (system->parsed())
        return RunSystem(opts, sysOpts, out, err);
    if (script->parsed())
        return RunScript(opts, scriptFile, scriptArgs, scriptTimeout, out, err, scriptSector);
    if (format->parsed())
        return RunFormat(opts, pattern, value, out, err);
    if (table->parsed())
        return RunTable(opts, tableArgs, out, err);
    if (newCmd->parsed())
        return RunNew(opts, newOpts, out, err);
    if (info->parsed())
        return RunInfo(opts, infoFile, out, err);
    if (int rc = RunMergeCommands(opts, mergeCmds, mergeOpts, out, err); rc >= 0)
        return rc;
    if (terrain->parsed())
        return RunTerrain(opts, *terrain, terrainOpts, out, err);
    if (routes->parsed()) return RunRoutes(opts, routesOpts, out, err);
    if (travel->parsed()) return RunTravel(opts, travelOpts, out, err);
    if (plot->parsed()) return RunPlot(opts, plotOpts, out, err);
    if (report->parsed())
        return RunReport(opts, reportOpts, out, err);
    if (importCsv->parsed())
        return RunImportCsv(opts, importCsvOpts, out, err);
    if (search->parsed())
        return RunSearch(opts, searchOpts, out, err);
    if (mapCmd->parsed())
        return RunMap(opts, mapOpts, out, err);
    if (webCmd->parsed())
        return RunWeb(opts, webOpts, out, err);
    if (renderCmd->parsed())
        return RunRender(opts, renderOpts, out, err);
    if (videoCmd->parsed())
        return RunVideo(opts, videoOpts, out, err);
    if (diagramCmd->parsed())
        return RunDiagram(opts, diagramOpts, out, err);
    if (textureCmd->parsed())
        return RunTexture(opts, textureOpts, out, err);
    if (generateCmd->parsed())
        return RunGenerate(opts, generateOpts, out, err);
    if (int rc = RunSectorCommands(sectorCmds, opts, sectorOpts, out, err); rc >= 0)
        return rc;
    PrintCommandList(app, out);
    return EXIT_OK;
}

int UnknownCommand(const CLI::App &app, const std::string &word, std::ostream &err)
{
    std::vector<std::string> names;
    for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; }))
        names.push_back(sub->get_name());
    err << "kalvion-cli: unknown command '" << word << "'";
    const std::string near = ClosestWord(word, names);
    if (!near.empty())
        err << "; did you mean '" << near << "'?";
    err << "\n";
    return EXIT_USAGE;
}

// An expression for calc or dice may start with "-" ("-3+4", "-d6"): a blank
// in front keeps the option parser from taking it for an option, and the
// commands trim it away.
void ProtectExpressions(std::vector<std::string> &args, const std::string &command)
{
    if (command != "calc" && command != "dice")
        return;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--count" || a == "--seed") {
            ++i;
            continue;
        }
        if (a.size() > 1 && a[0] == '-' && a[1] != '-' &&
            (!std::isalpha(static_cast<unsigned char>(a[1])) || a[1] == 'd' || a[1] == 'D'))
            args[i] = " " + a;
    }
}

} // namespace

int RunCli(const std::vector<std::string> &argsIn, std::ostream &out, std::ostream &err)
{
    std::vector<std::string> args = argsIn;
    const std::string command = CliCommandWord(args);
    ProtectExpressions(args, command);
    bool known = false;
    const int rc = RunCommandLine(args, command, known, out, err);
    if (rc == EXIT_USAGE) {
        if (known && command != "help")
            err << "Run 'kalvion-cli help " << command << "' for its usage.\n";
        else
            err << "Run 'kalvion-cli help' for the list of commands.\n";
    }
    return rc;
}

} // namespace kalvion::cli
