#pragma once
// Looking inside and editing a sector file from the command line: systems,
// show, subsectors, export, set, delete and rename.
#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kalvion {
class TStellarBody;
class TVexaSector;
class TVexaSubsector;
}

namespace kalvion::cli {

struct CliOptions;

struct SectorCommandOptions {
    std::string file, name, where, sort, out, newName;
    int limit = 0;
    std::vector<std::string> names;        // delete
    std::vector<std::string> assignments;  // set: FIELD=VALUE
};

struct TSectorCommands {
    CLI::App *systems = nullptr, *show = nullptr, *subsectors = nullptr, *exportCmd = nullptr, *set = nullptr,
             *del = nullptr, *rename = nullptr;
};

TSectorCommands AddSectorCommands(CLI::App &app, SectorCommandOptions &o);
// -1 when none of these commands was given.
int RunSectorCommands(const TSectorCommands &c, const CliOptions &opts, const SectorCommandOptions &o,
                      std::ostream &out, std::ostream &err);

// The one system or body a command names: a root's ID, else a root's name
// (ignoring case), else the name of a body inside a system (systems are
// loaded to look).  Null with a message on err when none or more than one
// answer to the name.
TStellarBody *FindNamedBody(TVexaSector &sector, const std::string &name, std::ostream &err);

// The first subsector that holds the point, or null.
const TVexaSubsector *SubsectorAt(const TVexaSector &sector, double x, double y, double z);

int RunSystems(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunShow(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunSubsectors(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunExport(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunSet(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunDelete(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
int RunRename(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err);
// "routes FILE --list".
int ListRoutes(const CliOptions &opts, const std::string &file, std::ostream &out, std::ostream &err);

// Columns padded to their widest cell, two blanks apart.
void PrintColumns(const std::vector<std::vector<std::string>> &rows, std::ostream &out);

} // namespace kalvion::cli
