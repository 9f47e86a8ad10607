#include "cli/CliApp.h"

#include "base/SharedRandom.h"
#include "base/Version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace kalvion::cli {

void ApplySeed(const CliOptions &opts)
{
    if (opts.haveSeed)
        SetSharedRandomSeed(static_cast<std::int32_t>(static_cast<std::uint32_t>(opts.seed)));
}

int RunCli(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
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

    std::string scriptFile;
    std::vector<std::string> scriptArgs;
    auto *script = app.add_subcommand("script", "Run a script file (VBScript) without a window");
    script->add_option("file", scriptFile, "Script file (.vbs or .VexaScript)")->required();
    script->add_option("args", scriptArgs, "Arguments the script reads with ScriptArg(i)");
    script->prefix_command();

    std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
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
        err << "Run 'kalvion-cli help' for the list of commands.\n";
        return EXIT_USAGE;
    }
    opts.haveSeed = seedOpt->count() > 0;

    if (version) {
        out << "kalvion-cli " << KALVION_VERSION_TEXT << "\n";
        return EXIT_OK;
    }
    if (help->parsed() || app.get_subcommands().empty()) {
        if (helpTopic.empty()) {
            // App::help() would describe the selected "help" subcommand.
            out << app.get_formatter()->make_help(&app, "kalvion-cli", CLI::AppFormatMode::Normal);
            return EXIT_OK;
        }
        for (auto *sub : app.get_subcommands({}))
            if (sub->get_name() == helpTopic) {
                out << sub->help();
                return EXIT_OK;
            }
        err << "kalvion-cli: unknown command '" << helpTopic << "'\n";
        return EXIT_USAGE;
    }
    if (demo->parsed())
        return RunDemo(opts, out);
    if (types->parsed())
        return RunBodyTypes(opts, out);
    if (script->parsed())
        return RunScript(opts, scriptFile, scriptArgs, out, err);
    if (format->parsed())
        return RunFormat(opts, pattern, value, out, err);
    out << app.get_formatter()->make_help(&app, "kalvion-cli", CLI::AppFormatMode::Normal);
    return EXIT_OK;
}

} // namespace kalvion::cli
