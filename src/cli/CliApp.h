#pragma once
// kalvion-cli: headless access to the core.  Exit status 0 success, 1 failure
// (one clear message on standard error), 2 wrong usage.
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace kalvion {
class TVexaSector;
}

namespace kalvion::cli {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FAILURE_ = 1;
inline constexpr int EXIT_USAGE = 2;
// Stopped by Ctrl-C (128 + SIGINT, as shells report it).
inline constexpr int EXIT_INTERRUPTED = 130;

struct CliOptions {
    bool json = false;
    bool haveSeed = false;
    long long seed = 0;
};

// Keeps Qt's warnings and notes off standard error for the program's run.
void InstallCliMessageHandler();

// Runs the command line (argv[0] included) with the given streams.
int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
// The command word: the first argument that is neither an option nor the
// value of --seed; empty when there is none.
std::string CliCommandWord(const std::vector<std::string> &args);
// The commands that need neither Qt nor the media libraries (the version,
// info and search), run by the program that starts in a few milliseconds:
// nullopt for any other command line, and for one it cannot parse, which
// the whole program then runs (and explains).
std::optional<int> RunLightCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// True (with a message) when output names the same file as one of the
// inputs: no command writes over what it reads.  Callers exit with usage.
// -1 when output may be written: its extension is one of extensions (".png",
// case ignored) and its folder exists, made when missing.  Otherwise the
// exit status, with the message on err.
int PrepareOutput(const std::string &output, std::initializer_list<std::string_view> extensions, std::ostream &err);

bool OutputIsAnInput(const std::string &output, std::initializer_list<std::string_view> inputs, std::ostream &err);

// Loads a command's sector file (false with the message on err).  A file a
// newer program wrote is read with a warning; a command that will save over
// it refuses it instead, so nothing that version stored is lost.
bool LoadSectorForCommand(TVexaSector &sector, const std::string &file, bool willSave, std::ostream &err);

// Sets the shared random seed when --seed was given; commands call it right
// before their random work begins.
void ApplySeed(const CliOptions &opts);

struct SystemCommandOptions {
    bool starsOnly = false;
    bool noPopulations = false;
    int terraforming = 10;  // the New Star Sector dialog's default
    std::string type;       // a text of the New System dialog's list; empty: a random root
    std::string names;      // name table in LangData/ or a path; empty: the standard table
};

struct TableArgs {
    std::string file;
    std::string table;    // empty: the file's first table
    std::string library;  // where includes are looked for; empty: "Common/"
    int count = 1;
    std::vector<std::string> vars;  // NAME=VALUE
};

int RunDemo(const CliOptions &opts, std::ostream &out);
int RunBodyTypes(const CliOptions &opts, std::ostream &out);
int RunDice(const CliOptions &opts, const std::string &expr, int count, std::ostream &out, std::ostream &err);
int RunCalc(const CliOptions &opts, const std::string &expr, std::ostream &out, std::ostream &err);
int RunDate(const CliOptions &opts, std::int64_t epochYear, double time, const std::string &format, std::ostream &out, std::ostream &err);
int RunSystem(const CliOptions &opts, const SystemCommandOptions &sys, std::ostream &out, std::ostream &err);
struct TerrainOptions {
    long long seed = 0;
    double radius = 0, water = 0, temp = 0, atmosphere = 0;
    int width = 512, workers = 0;  // 0: DefaultTerrainWorkers()
    std::string out, world, from;
    bool noClouds = false;
    // The sector form: "terrain FILE BODY".
    std::string file, body;
    bool store = false;
    int resolution = 3;
};
CLI::App *AddTerrainCommand(CLI::App &app, TerrainOptions &t);
int RunTerrain(const CliOptions &opts, const CLI::App &cmd, const TerrainOptions &t, std::ostream &out,
               std::ostream &err);

// timeoutSeconds > 0 halts the script after that long ("Script Halted", exit 1).
// sectorFile: the sector GetCurrentSector answers (empty: a new, unsaved one).
int RunScript(const CliOptions &opts, const std::string &file, const std::vector<std::string> &args,
              double timeoutSeconds, std::ostream &out, std::ostream &err, const std::string &sectorFile = {});
struct RoutesOptions {
    std::string file;
    bool proximity = false, list = false, replace = false;
    std::string style = "pop";
    double minLength = 0, maxLength = 10, perSystem = 2;
    std::string routeType, label;
    std::string color = "FFFFFF";
    bool randomColor = false;
    int lineStyle = 0;
    double lineWidth = 1;
    std::vector<std::string> select;
};
CLI::App *AddRoutesCommand(CLI::App &app, RoutesOptions &o);
int RunRoutes(const CliOptions &opts, const RoutesOptions &o, std::ostream &out, std::ostream &err);

// Speeds, distances and boundaries are kept as typed: the calculator judges them.
struct TravelOptions {
    std::string file, from, to, distance;
    std::string sublight = "1", unit = "g", interstellar = "1";
    std::string startBoundary = "0", endBoundary = "0";
    bool intrasystem = false;
};
CLI::App *AddTravelCommand(CLI::App &app, TravelOptions &o);
int RunTravel(const CliOptions &opts, const TravelOptions &o, std::ostream &out, std::ostream &err);
struct SearchOptions {
    std::string file, query;
    int limit = 1000;  // as the search window
    bool rootOnly = false;
    std::vector<std::string> select;  // system names
};
CLI::App *AddSearchCommand(CLI::App &app, SearchOptions &o);
int RunSearch(const CliOptions &opts, const SearchOptions &o, std::ostream &out, std::ostream &err);
struct MapOptions {
    std::string file, out, plane = "xy";
    int width = 0, mode = 0;  // width 0: wide enough for legible labels
    double gridStep = 0;      // 0: the sector's own grid spacing
    bool grid = false, routes = false, labels = false, noLabels = false;
    // The window's map export: a grid line every light year (or parsec),
    // discs sized by depth, size factors of the sliders (1 = the middle).
    bool unitGrid = false, scaleByDepth = false;
    double systemSize = 1, labelSize = 1;
};
CLI::App *AddMapCommand(CLI::App &app, MapOptions &o);
int RunMap(const CliOptions &opts, const MapOptions &o, std::ostream &out, std::ostream &err);

struct WebOptions {
    std::string file, outDir, title;
    bool onlyVisible = false, hideNotes = false, gm = false, force = false;
};
CLI::App *AddWebCommand(CLI::App &app, WebOptions &o);
int RunWeb(const CliOptions &opts, const WebOptions &o, std::ostream &out, std::ostream &err);

struct RenderOptions {
    std::string file, out, view, camera, target, preview;
    int width = 1280, height = 800;
    std::vector<std::string> select;
    bool noFlares = false, noGrid = false, noDate = false;
    // The 3D system view of one system instead of the star map.
    std::string system;
    std::optional<double> days, distance, lat, lon;
};
CLI::App *AddRenderCommand(CLI::App &app, RenderOptions &o);
int RunRender(const CliOptions &opts, const RenderOptions &o, std::ostream &out, std::ostream &err);

struct VideoOptions {
    std::string file, out, animation, view, system;
    int width = 1280, height = 720;
    double fps = 10, seconds = 0, days = 0;  // seconds 0: the animation's own length
    bool quick = false;
};
CLI::App *AddVideoCommand(CLI::App &app, VideoOptions &o);
int RunVideo(const CliOptions &opts, const VideoOptions &o, std::ostream &out, std::ostream &err);

struct DiagramOptions {
    std::string file, system, out;
    int width = 1000, height = 1000, orbits = 0;
    double days = 0;
};
CLI::App *AddDiagramCommand(CLI::App &app, DiagramOptions &o);
int RunDiagram(const CliOptions &opts, const DiagramOptions &o, std::ostream &out, std::ostream &err);

struct TextureOptions {
    std::string file, body, out;
    int width = 512, height = 256;
};
CLI::App *AddTextureCommand(CLI::App &app, TextureOptions &o);
int RunTexture(const CliOptions &opts, const TextureOptions &o, std::ostream &out, std::ostream &err);

int RunFormat(const CliOptions &opts, const std::string &pattern, const std::string &value, std::ostream &out,
              std::ostream &err);
int RunTable(const CliOptions &opts, const TableArgs &args, std::ostream &out, std::ostream &err);
// Creates an empty sector file.  size: "X" or "X,Y,Z"; sphere: a radius;
// unit: "ly" or "pc" (sizes are given in that unit).  Empty texts keep the
// defaults.
struct NewOptions {
    std::string file, size, sphere, unit;
    std::int64_t epoch = 2000;
    bool replace = false;
};
int RunNew(const CliOptions &opts, const NewOptions &n, std::ostream &out, std::ostream &err);
// Describes a sector file: settings, calendar, schema version and counts.
int RunInfo(const CliOptions &opts, const std::string &file, std::ostream &out, std::ostream &err);

struct MergeOptions {
    std::string oldFile, newFile, file, other, mode, offset;
    int placement = 0;
};
struct TMergeCommands {
    CLI::App *convert = nullptr, *merge = nullptr, *catalogue = nullptr;
};
TMergeCommands AddMergeCommands(CLI::App &app, MergeOptions &o);
// -1 when none of the three commands was given.
int RunMergeCommands(const CliOptions &opts, const TMergeCommands &c, const MergeOptions &o, std::ostream &out, std::ostream &err);
struct ReportOptions {
    std::string file, out;
    int style = 0;
    bool gmNotes = false, surfaceMaps = false, yes = false, noLarge = false;
};
CLI::App *AddReportCommand(CLI::App &app, ReportOptions &o);
int RunReport(const CliOptions &opts, const ReportOptions &o, std::ostream &out, std::ostream &err);

struct ImportCsvOptions {
    std::string file, data;
    bool replace = false;
};
CLI::App *AddImportCsvCommand(CLI::App &app, ImportCsvOptions &o);
int RunImportCsv(const CliOptions &opts, const ImportCsvOptions &o, std::ostream &out, std::ostream &err);

struct GenerateOptions {
    std::string file, shape, size, unit, distribution, data, names, subsectors;
    double radius = 0;
    int systems = 0, frequency = 5, terraforming = 10;
    bool noPopulations = false, organicNames = false, noSubsectors = false, replace = false;
    std::vector<std::string> freqs;  // KIND=N
    std::int64_t epoch = 2000;
};
CLI::App *AddGenerateCommand(CLI::App &app, GenerateOptions &o);
int RunGenerate(const CliOptions &opts, const GenerateOptions &o, std::ostream &out, std::ostream &err);

} // namespace kalvion::cli
