#include "cli/HelpText.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

namespace {

struct Group {
    const char *title;
    std::vector<const char *> commands;
};

// In the order a new user meets them.
const std::vector<Group> &Groups()
{
    static const std::vector<Group> groups = {
        {"Sector files", {"new", "info", "set", "rename", "delete", "merge", "convert"}},
        {"Generation", {"generate", "system", "demo"}},
        {"Inspection", {"systems", "show", "subsectors", "body-types"}},
        {"Search and travel", {"search", "routes", "travel", "plot"}},
        {"Pictures", {"map", "diagram", "render", "texture", "terrain", "video"}},
        {"Tables and dice", {"table", "dice", "calc", "date", "format"}},
        {"Scripting", {"script"}},
        {"Import and export", {"import-csv", "export", "import-catalogue", "report", "web"}},
    };
    return groups;
}

const char *kSearchHelp = R"(The search language (kalvion-cli search FILE "QUERY", systems FILE --where "QUERY")

A query is a list of conditions; a body is found when all of them hold.
Words are not case sensitive; separate conditions with blanks or commas.

Terms
  terrestrial, gasgiant, star, multiple ...   a body type: the search words of 'kalvion-cli body-types'
  type = spacestation                         the same, spelled out
  habitable, hospitable, inhospitable         habitability classes
  a lone word                                 a name search: "Udora"

Conditions
  name = "Udora"            text: = and <> (ignoring case), like (contains)
  political like "Dom"      also notes, gmnotes, spectral, atmnotes
  population > 1000000      numbers: =, <>, >, <, between A and B
  temp between 250 and 320  also radius, mass, gravity, distance, rotation,
                            tempc, x, y, z, eccentricity, bodycount ...
  water > 0.5               water is a fraction: 0 (dry) to 1 (all ocean)
  atm N2 > 50               per cent of a gas in the atmosphere
  field "Faction" = Blue    a user field
  not ...                   turns the next condition round
  parent star temp > 5000   parent, parent star and root look at another body
  in "Subsector Name"       only systems inside that subsector

Search-wide words
  within 10                 only systems within 10 ly of the selected systems
                            (select them with --select NAME; the output then
                            gives each result's distance)
  on route                  only systems on a route through a selected system
  root only                 only the systems themselves, not their bodies
  systems with ...          systems that hold a body matching the rest
  visible                   only visible systems
  first 20                  stop after 20 results
  show temp, parent mass    extra result columns

Examples
  kalvion-cli search my.VexaDB "terrestrial habitable"
  kalvion-cli search my.VexaDB "habitable within 10" --select "Udora"
  kalvion-cli search my.VexaDB "gasgiant mass > 300, show parent star spectral"
  kalvion-cli search my.VexaDB "terrestrial water between 0.3 and 0.7 first 10"
  kalvion-cli search my.VexaDB "population > 1000000000 on route" --select "Udora"
)";

const char *kTablesHelp = R"(Random tables (kalvion-cli table FILE [TABLE] [--count N])

A table file (.ilt) holds named tables.  Each line of a table is one entry;
a pick chooses one entry and expands the markup in it.
  table: colour             starts a table (endtable: ends it)
  red
  green
  blue

Markup inside entries
  [@colour]                 a pick from another table
  [@3 colour]               three picks;  [#2 colour]  entry number 2
  [!suit]                   a pick from a deck: each entry comes once
  [|red|green|blue]         a pick from the choices given here
  [@x=colour] ... {$x}      a pick kept in a variable, then read back
  [v=text]                  sets a variable;  {$v} reads it
  {3d6+4}                   a dice roll (see 'kalvion-cli help dice')
  {!2*(3+4)}                arithmetic
  [when]{$x}=red[do]warm[else]cold[end]     a condition ([when not] too)
  [@colour >> upper]        a filter on the result (upper, implode, bold ...)
  \a                        "a" or "an", whichever the next word takes
  \[                        a literal [ (a backslash escapes the next character)

Lines outside the entries
  use: Common\Colours.ilt   tables of another file (looked for under --lib)
  set: NAME = VALUE         a variable (define: keeps blanks)
  type: lookup  roll: 1d6   look entries up by a roll: "1: one", "2-3: two"
  default: TEXT             what a pick gives when nothing fits
  title: header: footer: maxreps: prompt: formatting:
  # or ;                    comment lines

--var NAME=VALUE sets a variable from the command line ({$NAME} reads it).

Examples
  kalvion-cli table names.ilt
  kalvion-cli table names.ilt colour --count 5
  kalvion-cli table town.ilt --var Size=Large
)";

const char *kDiceHelp = R"(Dice (kalvion-cli dice EXPRESSION [--count N])

  3d6        three six-sided dice added together
  d20        one die: a missing count means 1
  d%         one hundred-sided die (1d100)
  2d10+3     then one + - * or / with a whole number
  4d6*10
  -1         a plain whole number is itself (no -- needed before it)

At most 10,000 dice of at most 1,000,000 sides.  --count rolls the
expression again, one result per line; --seed makes the rolls repeatable.
Text that is not a dice expression is refused (exit status 1).
)";

std::size_t EditDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

void PrintCommandList(const CLI::App &app, std::ostream &out)
{
    out << "Usage: kalvion-cli COMMAND [ARGUMENTS] [OPTIONS]\n\n"
        << "Kalvion: star maps for writers and game masters (headless tools)\n\n"
        << "Options for every command:\n"
        << "  --json       machine-readable output (one JSON object; see docs/cli-json.md)\n"
        << "  --seed N     set the shared random seed, for repeatable results\n"
        << "  --version    print the version\n"
        << "  --help       explain a command: kalvion-cli COMMAND --help\n";
    std::vector<std::string> listed;
    for (const Group &g : Groups()) {
        out << "\n" << g.title << ":\n";
        for (const char *name : g.commands) {
            const CLI::App *sub = nullptr;
            try {
                sub = app.get_subcommand(name);
            } catch (const CLI::OptionNotFound &) {
                continue;
            }
            std::string line = "  " + std::string(name);
            line.append(line.size() < 20 ? 20 - line.size() : 1, ' ');
            out << line << sub->get_description() << "\n";
            listed.emplace_back(name);
        }
    }
    // A command not yet placed in a group is still shown.
    bool header = false;
    for (const CLI::App *sub : app.get_subcommands([](const CLI::App *) { return true; })) {
        const std::string &name = sub->get_name();
        if (name == "help" || std::find(listed.begin(), listed.end(), name) != listed.end())
            continue;
        if (!header)
            out << "\nOther:\n";
        header = true;
        std::string line = "  " + name;
        line.append(line.size() < 20 ? 20 - line.size() : 1, ' ');
        out << line << sub->get_description() << "\n";
    }
    out << "\nHelp topics: kalvion-cli help search | tables | dice | COMMAND\n";
}

const char *HelpTopicText(std::string_view topic)
{
    if (topic == "search" || topic == "query")
        return kSearchHelp;
    if (topic == "tables")
        return kTablesHelp;
    if (topic == "dice")
        return kDiceHelp;
    return nullptr;
}

std::string ClosestWord(std::string_view word, const std::vector<std::string> &known)
{
    std::string best;
    std::size_t bestDistance = 0;
    for (const std::string &k : known) {
        const std::size_t d = EditDistance(word, k);
        if (best.empty() || d < bestDistance) {
            best = k;
            bestDistance = d;
        }
    }
    // Two slips in a long word, one in a short one; a prefix counts too.
    const std::size_t allowed = word.size() > 5 ? 2 : 1;
    if (!best.empty() && bestDistance <= allowed)
        return best;
    for (const std::string &k : known)
        if (word.size() >= 3 && k.rfind(word, 0) == 0)
            return k;
    return std::string();
}

} // namespace kalvion::cli
