// "kalvion-cli system": one generated star system, made the way the sector
// generator makes each system it places, printed as an indented tree.
#include "cli/CliApp.h"
#include "cli/BodyPrint.h"
#include "cli/JsonOut.h"

#include "base/SharedRandom.h"
#include "base/Paths.h"
#include "generation/QuickGenerate.h"
#include "generation/SystemGenerator.h"
#include "model/StellarBody.h"
#include "science/ZentRand.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace kalvion::cli {

namespace {

// Coordinate codes of a root at the origin in a sector of about this width.
constexpr double kCliSectorSize = 50;

bool KnownSystemType(const std::string &text)
{
    std::vector<std::string> list;
    AddSystemBodyList(list);
    return text == "Planet, Blank" || text == "Gas Giant, Blank" || std::find(list.begin(), list.end(), text) != list.end();
}

} // namespace

int RunSystem(const CliOptions &opts, const SystemCommandOptions &sys, std::ostream &out, std::ostream &err)
{
    if (!sys.type.empty() && !KnownSystemType(sys.type)) {
        err << "kalvion-cli: unknown system type '" << sys.type << "'; the types are:\n";
        std::vector<std::string> list;
        AddSystemBodyList(list);
        for (const auto &t : list)
            err << "  " << t << "\n";
        return EXIT_USAGE;
    }
    if (!sys.names.empty() && !FileExists(JoinPath(ProgramSubfolder("LangData"), sys.names)) &&
        !FileExists(sys.names)) {
        err << "kalvion-cli: name table not found: " << sys.names << "\n";
        return EXIT_FAILURE_;
    }
    ApplySeed(opts);
    auto root = TStellarBody::Create();
    // The seeds are drawn as the sector generator draws them for its worker.
    std::uint32_t threadSeed = static_cast<std::uint32_t>(SharedRandomInt(2000000000));
    TSystemGenerator gen;
    gen.Seed = static_cast<std::uint32_t>(SeedRandomInt(threadSeed, 2000000000));
    gen.WithPopulations = true;  // also enables terraforming; the option below decides populations
    gen.StarsOnly = sys.starsOnly;
    gen.NameTableFile = sys.names;
    gen.SetPickLists();
    gen.SetTerraformingLevel(sys.terraforming);

    if (!sys.type.empty()) {
        // Typed creation runs the steps of its row only, populations included.
        TSystemGeneratorOptions options;
        options.NameTableFile = sys.names;
        CreateSystemOfType(gen, *root, sys.type, options);
    } else {
        gen.GenerateSystemInfo(*root);
        if (!sys.noPopulations)
            gen.GeneratePopulations(*root);
        gen.GenerateNames(*root, kCliSectorSize);
    }
    root->UpdateRootBody();

    if (opts.json)
        PrintJson(out, BodyJson(*root));
    else
        PrintBodyTree(*root, 0, nullptr, out);
    return EXIT_OK;
}

} // namespace kalvion::cli
