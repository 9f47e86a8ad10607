// "kalvion-cli convert", "merge" and "import-catalogue": older files and
// other sources brought into sector files.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/AsciiText.h"
#include "base/NumberFormat.h"
#include "base/NumberParse.h"
#include "files/LegacyConvert.h"
#include "files/SectorFile.h"
#include "files/SectorImport.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace kalvion::cli {

namespace {

bool ParseMode(const std::string &text, int &mode)
{
    const std::string m = AsciiLower(text);
    if (m == "allow")
        mode = SECTOR_IMPORT_ALLOW;
    else if (m == "update")
        mode = SECTOR_IMPORT_UPDATE;
    else if (m == "skip")
        mode = SECTOR_IMPORT_SKIP;
    else
        return false;
    return true;
}

bool ParseOffset(const std::string &text, double (&v)[3])
{
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t comma = k < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            return false;
        const auto d = ParseDouble(std::string_view(text).substr(start, comma - start));
        if (!d)
            return false;
        v[k] = *d;
        start = comma + 1;
    }
    return true;
}

int SaveSector(TVexaSector &sector, const std::string &file, std::ostream &err)
{
    std::string error;
    if (!SaveToFile(sector, file, false, &error)) {
        err << "kalvion-cli: saving " << file << " failed: " << error << "\n";
        return EXIT_FAILURE_;
    }
    return EXIT_OK;
}

} // namespace

TMergeCommands AddMergeCommands(CLI::App &app, MergeOptions &o)
{
    TMergeCommands c;
    c.convert = app.add_subcommand("convert", "Convert an older sector file (.Sector) into a sector database");
    c.convert->add_option("old", o.oldFile, "Older sector file")->required();
    c.convert->add_option("new", o.newFile, "Sector database to write (.VexaDB)")->required();

    c.merge = app.add_subcommand("merge", "Merge another sector file into a sector file and save it");
    c.merge->add_option("file", o.file, "Sector file to merge into (saved afterwards)")->required();
    c.merge->add_option("other", o.other, "Sector file to merge from")->required();
    c.merge->add_option("--mode", o.mode, "Shared systems: allow (default), update or skip");
    c.merge->add_option("--placement", o.placement,
                        "0 offset, 1 as stored, 2 front, 3 back, 4 left, 5 right, 6 below, 7 above");
    c.merge->add_option("--offset", o.offset, "X,Y,Z in light years (placement 0)");

    c.catalogue = app.add_subcommand("import-catalogue", "Import a nearby-star catalogue listing into a sector file");
    c.catalogue->add_option("file", o.file, "Sector file (saved afterwards)")->required();
    c.catalogue->add_option("catalogue", o.other, "Catalogue listing (text)")->required();
    return c;
}

int RunMergeCommands(const CliOptions &opts, const TMergeCommands &c, const MergeOptions &o, std::ostream &out,
                     std::ostream &err)
{
    if (c.convert->parsed()) {
        std::string error;
        if (!ConvertLegacySector(o.oldFile, o.newFile, &error)) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
        if (opts.json)
            PrintJson(out, nlohmann::ordered_json{{"file", o.oldFile}, {"out", o.newFile}});
        else
            out << "Converted " << o.oldFile << " to " << o.newFile << "\n";
        return EXIT_OK;
    }
    if (c.merge->parsed()) {
        int mode = SECTOR_IMPORT_ALLOW;
        if (!o.mode.empty() && !ParseMode(o.mode, mode)) {
            err << "kalvion-cli: --mode must be allow, update or skip\n";
            return EXIT_USAGE;
        }
        double off[3] = {0, 0, 0};
        if (!o.offset.empty() && !ParseOffset(o.offset, off)) {
            err << "kalvion-cli: --offset must be three numbers X,Y,Z\n";
            return EXIT_USAGE;
        }
        // The target is saved afterwards: a file a newer program wrote is
        // refused here, before anything is merged into it.
        TVexaSector sector;
        if (!LoadSectorForCommand(sector, o.file, true, err))
            return EXIT_FAILURE_;
        const int before = sector.SystemCount();
        std::string error;
        if (!ImportSector(sector, o.other, mode, o.placement, off[0], off[1], off[2], &error)) {
            err << "kalvion-cli: cannot merge " << o.other << ": " << error << "\n";
            return EXIT_FAILURE_;
        }
        if (int rc = SaveSector(sector, o.file, err))
            return rc;
        if (opts.json)
            PrintJson(out, nlohmann::ordered_json{{"file", o.file},
                                                  {"other", o.other},
                                                  {"added", sector.SystemCount() - before},
                                                  {"systems", sector.SystemCount()}});
        else
            out << "Merged " << o.other << " into " << o.file << ": " << FormatCount(sector.SystemCount() - before)
                << " systems added, " << FormatCount(sector.SystemCount()) << " in all\n";
        return EXIT_OK;
    }
    if (c.catalogue->parsed()) {
        TVexaSector sector;
        if (!LoadSectorForCommand(sector, o.file, true, err))
            return EXIT_FAILURE_;
        std::string error;
        TCatalogueSkips skips;
        const int added = ImportGliese(sector, o.other, &error, &skips);
        if (!error.empty()) {
            err << "kalvion-cli: " << error << "\n";
            return EXIT_FAILURE_;
        }
        if (added == 0) {
            err << "kalvion-cli: no star with a position in " << o.other << "\n";
            return EXIT_FAILURE_;
        }
        if (int rc = SaveSector(sector, o.file, err))
            return rc;
        if (opts.json)
            PrintJson(out, nlohmann::ordered_json{{"file", o.file},
                                                  {"catalogue", o.other},
                                                  {"added", added},
                                                  {"skipped", skips.Unplaced},
                                                  {"long_lines", skips.LongLines}});
        else
            out << "Imported " << FormatCount(added) << " stars into " << o.file << "\n";
        // Passed-over entries are said, not hidden behind a success.
        if (skips.Unplaced > 0)
            err << "kalvion-cli: warning: " << skips.Unplaced
                << " catalogue entry(ies) without a readable position were skipped\n";
        if (skips.LongLines > 0)
            err << "kalvion-cli: warning: " << skips.LongLines << " line(s) longer than "
                << (CATALOGUE_MAX_LINE >> 10) << " KB were passed over\n";
        return EXIT_OK;
    }
    return -1;
}

} // namespace kalvion::cli
