// The command lines that kalvion-cli answers without loading Qt, OpenGL and
// the media libraries: mapping those takes most of a start-up, and a batch of
// searches or look-ups pays it for every call.  Anything else, including a
// line these options do not parse, is left to the whole program, so help
// and usage messages come from one place.
#include "cli/CliApp.h"

#include "base/Version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

std::optional<int> RunLightCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const std::string command = CliCommandWord(args);
    if (command.empty()) {
        if (args.size() == 2 && args[1] == "--version") {
            out << "kalvion-cli " << KALVION_VERSION_TEXT << "\n";
            return EXIT_OK;
        }
        return std::nullopt;
    }
    if (command != "info" && command != "search")
        return std::nullopt;
    // The seed, help and version ask for the whole program's handling.
    for (const std::string &a : args)
        if (a == "--seed" || a == "--help" || a == "-h" || a == "--version")
            return std::nullopt;

    CLI::App app{"kalvion-cli", "kalvion-cli"};
    app.require_subcommand(1, 1);
    app.fallthrough();
    app.set_help_flag();
    CliOptions opts;
    app.add_flag("--json", opts.json);
    std::string infoFile;
    auto *info = app.add_subcommand("info");
    info->set_help_flag();
    info->add_option("file", infoFile)->required();
    SearchOptions searchOpts;
    auto *search = AddSearchCommand(app, searchOpts);
    search->set_help_flag();

    std::vector<std::string> rest(args.begin() + 1, args.end());
    std::reverse(rest.begin(), rest.end());
    try {
        app.parse(rest);
    } catch (const CLI::Error &) {
        return std::nullopt;
    }
    if (info->parsed())
        return RunInfo(opts, infoFile, out, err);
    if (search->parsed())
        return RunSearch(opts, searchOpts, out, err);
    return std::nullopt;
}

} // namespace kalvion::cli
