// "kalvion-cli set", "delete" and "rename": edits of a sector file through
// the sector's own operations (moving and deleting selected systems keeps
// their routes in step) and its safe save.  Every value is checked before
// anything changes, so a refused value leaves the file as it was.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"
#include "cli/NumberList.h"
#include "cli/SectorCommands.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <optional>
#include <ostream>
#include <set>

namespace kalvion::cli {

namespace {

// The largest population a field holds: the population pattern shows 18 digits.
constexpr double kMaxPopulation = 1e18;

struct Edit {
    std::optional<std::string> name, political, notes, gmNotes;
    std::optional<double> x, y, z, population;
    std::optional<TColor> colour, labelColour;
    std::vector<std::pair<std::string, std::string>> fields;
};

bool HasControl(const std::string &text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

// A name the sector can keep and the CSV can carry: not empty, one line.
bool CheckName(const std::string &name, std::ostream &err)
{
    if (Trim(name).empty()) {
        err << "kalvion-cli: a name cannot be empty; nothing was saved\n";
        return false;
    }
    if (HasControl(name)) {
        err << "kalvion-cli: a name must be one line of text without control characters; nothing was saved\n";
        return false;
    }
    return true;
}

bool ReadCoordinate(const TVexaSector &sector, const std::string &field, const std::string &text,
                    std::optional<double> &value, std::ostream &err)
{
    const auto v = ParseDouble(text);
    if (!v || !std::isfinite(*v)) {
        err << "kalvion-cli: " << field << ": \"" << text << "\" is not a number; nothing was saved\n";
        return false;
    }
    const double ly = *v * sector.UnitStarMeasureRatio;
    if (std::fabs(ly) > SECTOR_MAX_SIZE) {
        err << "kalvion-cli: " << field << ": " << text << " does not fit (at most "
            << FormatFloat("#,##0", sector.DistanceInUnits(SECTOR_MAX_SIZE)) << " " << sector.UnitStarMeasureAbbrev
            << " from the origin); nothing was saved\n";
        return false;
    }
    value = ly;
    return true;
}

bool ReadAssignment(const TVexaSector &sector, const TStellarBody &body, const std::string &text, Edit &e,
                    std::ostream &err)
{
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        err << "kalvion-cli: \"" << text << "\" is not FIELD=VALUE\n";
        return false;
    }
    const std::string field = AsciiLower(text.substr(0, eq));
    const std::string value = text.substr(eq + 1);
    const bool root = body.Parent == nullptr;
    auto needsRoot = [&] {
        if (!root)
            err << "kalvion-cli: " << field << ": only a system has a place in the sector, \"" << body.Name
                << "\" is inside one; nothing was saved\n";
        return root;
    };
    if (field == "name") {
        if (!CheckName(value, err))
            return false;
        e.name = value;
    } else if (field == "x" || field == "y" || field == "z") {
        if (!needsRoot())
            return false;
        return ReadCoordinate(sector, field, value, field == "x" ? e.x : (field == "y" ? e.y : e.z), err);
    } else if (field == "position") {
        if (!needsRoot())
            return false;
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1)
            parts.push_back(value.substr(start, comma - start));
        parts.push_back(value.substr(start));
        if (parts.size() != 3) {
            err << "kalvion-cli: position takes X,Y,Z; nothing was saved\n";
            return false;
        }
        return ReadCoordinate(sector, "x", parts[0], e.x, err) && ReadCoordinate(sector, "y", parts[1], e.y, err) &&
               ReadCoordinate(sector, "z", parts[2], e.z, err);
    } else if (field == "political") {
        if (HasControl(value)) {
            err << "kalvion-cli: political: one line of text, please; nothing was saved\n";
            return false;
        }
        e.political = value;
    } else if (field == "color" || field == "colour" || field == "label-color" || field == "label-colour") {
        TColor c = 0;
        std::string hex = value;
        if (!hex.empty() && hex.front() == '#')
            hex.erase(0, 1);
        if (!ParseHexColour(hex, c)) {
            err << "kalvion-cli: " << field << ": \"" << value
                << "\" is not a colour; give six hexadecimal digits RRGGBB; nothing was saved\n";
            return false;
        }
        (field.rfind("label", 0) == 0 ? e.labelColour : e.colour) = c;
    } else if (field == "population") {
        const auto v = ParseDouble(value);
        if (!v || !std::isfinite(*v)) {
            err << "kalvion-cli: population: \"" << value << "\" is not a number; nothing was saved\n";
            return false;
        }
        if (*v < 0 || *v > kMaxPopulation) {
            err << "kalvion-cli: population: " << value << " does not fit (0 to "
                << FormatFloat(POPULATION_FMT, kMaxPopulation) << "); nothing was saved\n";
            return false;
        }
        e.population = *v;
    } else if (field == "notes") {
        e.notes = value;
    } else if (field == "gm-notes" || field == "gmnotes") {
        e.gmNotes = value;
    } else if (field.rfind("field.", 0) == 0 && field.size() > 6) {
        const std::string name = text.substr(6, eq - 6);
        if (name.size() > FIELD_NAME_MAX || HasControl(name)) {
            err << "kalvion-cli: a field name is one line of at most " << FIELD_NAME_MAX
                << " characters; nothing was saved\n";
            return false;
        }
        e.fields.emplace_back(name, value);
    } else {
        err << "kalvion-cli: unknown field \"" << text.substr(0, eq)
            << "\"; the fields are name, x, y, z, position, political, color, label-color, population, notes, "
               "gm-notes and field.NAME\n";
        return false;
    }
    return true;
}

bool Save(TVexaSector &sector, const std::string &file, std::ostream &err)
{
    sector.Modified = true;
    std::string error;
    if (!SaveToFile(sector, file, false, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return false;
    }
    return true;
}

void Apply(TVexaSector &sector, TStellarBody &body, const Edit &e)
{
    const bool root = body.Parent == nullptr;
    if (root) {
        // The operations the window runs on its selection.
        sector.SelectAll(false);
        sector.SelectBody(&body);
        if (e.x || e.y || e.z) {
            sector.MoveSelected(e.x ? *e.x - body.X : 0, e.y ? *e.y - body.Y : 0, e.z ? *e.z - body.Z : 0);
            sector.UpdateRoutesSelected();
        }
        if (e.political)
            sector.SetPoliticalSelected(*e.political);
        if (e.colour || e.labelColour)
            sector.SetDisplayStyleSelected(e.colour.value_or(body.Color), e.labelColour.value_or(body.LabelColor),
                                           (body.FontStyle & LABEL_FONT_UNDERLINE) != 0,
                                           (body.FontStyle & LABEL_FONT_BOLD) != 0);
        sector.SelectAll(false);
    } else {
        if (e.political) {
            body.PoliticalAffiliation = *e.political;
            sector.AddPolitical(*e.political);
        }
        if (e.colour)
            body.Color = *e.colour;
        if (e.labelColour)
            body.LabelColor = *e.labelColour;
    }
    if (e.name)
        body.Name = *e.name;
    if (e.population)
        body.Population = *e.population;
    if (e.notes)
        body.Notes = *e.notes;
    if (e.gmNotes)
        body.GMNotes = *e.gmNotes;
    for (const auto &[name, value] : e.fields)
        body.SetField(name, value);
    body.UpdateRootBody();
    body.ModifySystem();
}

} // namespace

int RunSet(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, true, err))
        return EXIT_FAILURE_;
    TStellarBody *body = FindNamedBody(sector, o.name, err);
    if (!body)
        return EXIT_FAILURE_;
    sector.DynaLoad(body->GetRootBody());
    Edit e;
    for (const std::string &a : o.assignments)
        if (!ReadAssignment(sector, *body, a, e, err))
            return EXIT_USAGE;
    Apply(sector, *body, e);
    if (!Save(sector, o.file, err))
        return EXIT_FAILURE_;
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"id", body->IDString.str()}, {"name", body->Name},
                                              {"changed", o.assignments.size()}});
    else
        out << "Changed \"" << body->Name << "\" (" << FormatCount(static_cast<double>(o.assignments.size()))
            << (o.assignments.size() == 1 ? " value)" : " values)") << "\n";
    return EXIT_OK;
}

int RunDelete(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, true, err))
        return EXIT_FAILURE_;
    // Every name is found before anything goes.
    std::vector<TStellarBody *> bodies;
    for (const std::string &name : o.names) {
        TStellarBody *b = FindNamedBody(sector, name, err);
        if (!b) {
            err << "kalvion-cli: nothing was deleted\n";
            return EXIT_FAILURE_;
        }
        sector.DynaLoad(b->GetRootBody());
        bodies.push_back(b);
    }
    std::set<const TStellarBody *> chosen(bodies.begin(), bodies.end());
    auto insideChosen = [&](const TStellarBody *b) {
        for (const TStellarBody *p = b->Parent; p; p = p->Parent)
            if (chosen.count(p))
                return true;
        return false;
    };
    nlohmann::ordered_json names = nlohmann::ordered_json::array();
    std::set<const TStellarBody *> done;
    sector.SelectAll(false);
    int systems = 0, inner = 0;
    for (TStellarBody *b : bodies) {
        if (done.count(b) || insideChosen(b))
            continue;
        done.insert(b);
        names.push_back(b->Name);
        if (!b->Parent) {
            sector.SelectBody(b);
            ++systems;
        } else {
            TStellarBody *parent = b->Parent;
            sector.DeleteChildBody(parent, b);
            parent->UpdateRootBody();
            ++inner;
        }
    }
    // Deleting the selected systems also takes them off their routes.
    if (systems > 0)
        sector.DeleteSelectedSystems();
    if (!Save(sector, o.file, err))
        return EXIT_FAILURE_;
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"deleted", std::move(names)}, {"systems", systems},
                                              {"bodies", inner}});
    else
        out << "Deleted " << FormatCount(systems + inner) << (systems + inner == 1 ? " system or body" : " systems or bodies")
            << "\n";
    return EXIT_OK;
}

int RunRename(const CliOptions &opts, const SectorCommandOptions &o, std::ostream &out, std::ostream &err)
{
    if (!CheckName(o.newName, err))
        return EXIT_USAGE;
    TVexaSector sector;
    if (!LoadSectorForCommand(sector, o.file, true, err))
        return EXIT_FAILURE_;
    TStellarBody *body = FindNamedBody(sector, o.name, err);
    if (!body)
        return EXIT_FAILURE_;
    sector.DynaLoad(body->GetRootBody());
    const std::string old = body->Name;
    body->Name = o.newName;
    body->ModifySystem();
    if (!Save(sector, o.file, err))
        return EXIT_FAILURE_;
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"id", body->IDString.str()}, {"old_name", old},
                                              {"name", body->Name}});
    else
        out << "Renamed \"" << old << "\" to \"" << body->Name << "\"\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
