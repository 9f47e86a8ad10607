// The commands that look inside and edit a sector file: their options, the
// dispatch, and finding the system or body a user names.
#include "cli/SectorCommands.h"
#include "cli/CliApp.h"

#include "base/AsciiText.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

TSectorCommands AddSectorCommands(CLI::App &app, SectorCommandOptions &o)
{
    TSectorCommands c;
    c.systems = app.add_subcommand("systems", "List the systems of a sector file, one line each");
    c.systems->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.systems->add_option("--where", o.where, "Only the systems a search query finds, e.g. \"population > 0\"");
    c.systems->add_option("--sort", o.sort,
                          "Sort by name, x, y, z, type, population, habitability, subsector or political "
                          "(a leading - sorts descending)");
    c.systems->add_option("--limit", o.limit, "Print at most this many (0: all)")->check(CLI::NonNegativeNumber);

    c.show = app.add_subcommand("show", "Print one system or body of a sector file with everything inside it");
    c.show->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.show->add_option("name", o.name, "Name (or ID) of a system or body")->required();

    c.subsectors = app.add_subcommand("subsectors", "List the subsectors of a sector file");
    c.subsectors->add_option("file", o.file, "Sector file (.VexaDB)")->required();

    c.exportCmd = app.add_subcommand("export", "Write every system and route of a sector file to CSV (as import-csv "
                                               "reads it) or JSON (every body with all its values)");
    c.exportCmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.exportCmd->add_option("out", o.out, "Output file, .csv or .json")->required();

    c.set = app.add_subcommand("set", "Change values of a system or body and save the file");
    c.set->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.set->add_option("name", o.name, "Name (or ID) of a system or body")->required();
    c.set->add_option("assignments", o.assignments,
                      "FIELD=VALUE: name, x, y, z, position (X,Y,Z), political, color, label-color (RRGGBB), "
                      "population, notes, gm-notes, or field.NAME for a user field")
        ->required();

    c.del = app.add_subcommand("delete", "Delete systems or bodies (and their places on routes) and save the file");
    c.del->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.del->add_option("names", o.names, "Names (or IDs) of systems or bodies")->required();

    c.rename = app.add_subcommand("rename", "Rename a system or body and save the file");
    c.rename->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    c.rename->add_option("old", o.name, "Present name (or ID)")->required();
    c.rename->add_option("new", o.newName, "New name")->required();
    return c;
}

int RunSectorCommands(const TSectorCommands &c, const CliOptions &opts, const SectorCommandOptions &o,
                      std::ostream &out, std::ostream &err)
{
    if (c.systems->parsed())
        return RunSystems(opts, o, out, err);
    if (c.show->parsed())
        return RunShow(opts, o, out, err);
    if (c.subsectors->parsed())
        return RunSubsectors(opts, o, out, err);
    if (c.exportCmd->parsed())
        return RunExport(opts, o, out, err);
    if (c.set->parsed())
        return RunSet(opts, o, out, err);
    if (c.del->parsed())
        return RunDelete(opts, o, out, err);
    if (c.rename->parsed())
        return RunRename(opts, o, out, err);
    return -1;
}

namespace {

void FindInside(TStellarBody &body, const std::string &name, std::vector<TStellarBody *> &found,
                TStellarBody *&byId)
{
    for (auto &child : body.Children) {
        if (SameText(child->Name, name))
            found.push_back(child.get());
        if (child->IDString == name)
            byId = child.get();
        FindInside(*child, name, found, byId);
    }
}

void Ambiguous(const std::string &name, const std::vector<TStellarBody *> &found, std::ostream &err)
{
    err << "kalvion-cli: " << found.size() << " bodies are named \"" << name
        << "\"; give the ID of the one you mean:\n";
    for (const TStellarBody *b : found) {
        const TStellarBody *root = b->GetRootBody();
        err << "  " << b->IDString << "  " << NameFromBodyType(b->TypeID);
        if (root != b)
            err << " in \"" << root->Name << "\"";
        err << "\n";
    }
}

} // namespace

TStellarBody *FindNamedBody(TVexaSector &sector, const std::string &name, std::ostream &err)
{
    if (TStellarBody *byId = sector.FindRootBodyById(name))
        return byId;
    std::vector<TStellarBody *> found;
    for (auto &root : sector.Systems)
        if (SameText(root->Name, name))
            found.push_back(root.get());
    if (found.empty()) {
        TStellarBody *byId = nullptr;
        for (auto &root : sector.Systems) {
            sector.DynaLoad(root.get());
            FindInside(*root, name, found, byId);
        }
        if (byId)
            return byId;
    }
    if (found.size() == 1)
        return found.front();
    if (found.empty())
        err << "kalvion-cli: no system or body is named \"" << name << "\"\n";
    else
        Ambiguous(name, found, err);
    return nullptr;
}

const TVexaSubsector *SubsectorAt(const TVexaSector &sector, double x, double y, double z)
{
    for (const auto &s : sector.Subsectors)
        if (s->ContainsPoint(x, y, z))
            return s.get();
    return nullptr;
}

} // namespace kalvion::cli
