// "kalvion-cli report": the HTML sector report of a sector file.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "exchange/ExchangePrompt.h"
#include "exchange/SectorReport.h"
#include "files/SectorFile.h"
#include "model/VexaSector.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

namespace {

// kalvion-cli asks nobody: the user asked for the report, so the large-report
// question is answered Yes unless --no-large says No.
class TCliPrompt final : public TExchangePrompt {
public:
    TCliPrompt(bool yes, std::ostream &err) : FYes(yes), FErr(err) {}
    bool ConfirmWarning(const std::string &, const std::string &text) override
    {
        if (!FYes)
            FErr << "kalvion-cli: " << text << " (answered No for --no-large)\n";
        return FYes;
    }

private:
    bool FYes;
    std::ostream &FErr;
};

} // namespace

CLI::App *AddReportCommand(CLI::App &app, ReportOptions &o)
{
    auto *cmd = app.add_subcommand("report", "Write the HTML report of a sector file (index, legend, one section "
                                             "per system)");
    cmd->add_option("file", o.file, "Sector file (.VexaDB)")->required();
    cmd->add_option("out", o.out, "Report page to write (.html); images are written next to it")->required();
    cmd->add_option("--style", o.style, "Systems included: 0 all, 1 populated, 2 selected, 3 visible (default 0)")
        ->check(CLI::Range(0, 3));
    cmd->add_flag("--gm-notes", o.gmNotes, "Include the GM notes");
    cmd->add_flag("--surface-maps", o.surfaceMaps, "Show the stored surface maps in the page");
    cmd->add_flag("--yes", o.yes, "Answer Yes to the question asked before a report of over 1000 systems "
                                  "(the default)");
    cmd->add_flag("--no-large", o.noLarge, "Refuse a report of over 1000 systems instead of writing it");
    return cmd;
}

int RunReport(const CliOptions &opts, const ReportOptions &o, std::ostream &out, std::ostream &err)
{
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    if (int rc = PrepareOutput(o.out, {".html", ".htm"}, err); rc >= 0)
        return rc;
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    TCliPrompt prompt(!o.noLarge, err);
    if (!ExportToHTML(sector, o.out, o.style, o.gmNotes, o.surfaceMaps, true, &prompt, &error)) {
        if (error != REPORT_CANCELLED)
            err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::ordered_json{{"file", o.file}, {"report", o.out}, {"systems", sector.SystemCount()}});
    else
        out << "Wrote " << o.out << "\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
