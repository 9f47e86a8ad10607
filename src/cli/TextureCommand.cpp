// "kalvion-cli texture": a gas giant's banded texture or a planet's
// transparent cloud layer, from the body's seed and values in a sector file.
#include "cli/CliApp.h"
#include "cli/JsonOut.h"

#include "base/AsciiText.h"
#include "files/SectorFile.h"
#include "graphics/AtmosphereTextures.h"
#include "graphics/ZentImages.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/Chemistry.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

namespace kalvion::cli {

namespace {

TStellarBody *FindBody(TStellarBody &node, const std::string &name)
{
    if (SameText(node.Name, name))
        return &node;
    for (auto &c : node.Children)
        if (TStellarBody *b = FindBody(*c, name))
            return b;
    return nullptr;
}

} // namespace

CLI::App *AddTextureCommand(CLI::App &app, TextureOptions &o)
{
    auto *cmd = app.add_subcommand("texture", "Make a gas giant's band texture or a planet's cloud layer (PNG)");
    cmd->add_option("file", o.file, "Sector file")->required();
    cmd->add_option("body", o.body, "Name of the body (the first body of that name in the file)")->required();
    cmd->add_option("out", o.out, "Picture to write")->required();
    cmd->add_option("--width", o.width, "Gas-giant texture width (default 512)");
    cmd->add_option("--height", o.height, "Gas-giant texture height (default 256)");
    return cmd;
}

int RunTexture(const CliOptions &opts, const TextureOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.width < 1 || o.width > ATM_MAX_DIMENSION || o.height < 1 || o.height > ATM_MAX_DIMENSION) {
        err << "kalvion-cli: --width and --height must be between 1 and " << ATM_MAX_DIMENSION << "\n";
        return EXIT_USAGE;
    }
    if (OutputIsAnInput(o.out, {o.file}, err))
        return EXIT_USAGE;
    if (int rc = PrepareOutput(o.out, {".png", ".jpg", ".jpeg", ".bmp", ".tif", ".tiff"}, err); rc >= 0)
        return rc;
    TVexaSector sector;
    std::string error;
    if (!LoadSectorForCommand(sector, o.file, false, err))
        return EXIT_FAILURE_;
    TStellarBody *body = nullptr;
    for (auto &root : sector.Systems) {
        sector.DynaLoad(root.get());
        body = FindBody(*root, o.body);
        if (body != nullptr)
            break;
        sector.DynaUnload(root.get());
    }
    if (body == nullptr) {
        err << "kalvion-cli: no body named '" << o.body << "' in " << o.file << "\n";
        return EXIT_FAILURE_;
    }
    QImage image;
    std::string kind;
    if (body->TypeID == BODY_TYPE_GASGIANT) {
        image = GenerateGasGiantAtmTexture(nullptr, *body, o.width, o.height);
        kind = "bands";
    } else {
        image = GenerateTransAtmLayer(nullptr, *body, DeriveAtmColor(*body), nullptr);
        kind = "clouds";
        if (image.isNull()) {
            err << "kalvion-cli: '" << body->Name << "' is not a gas giant and has too little atmosphere for clouds\n";
            return EXIT_FAILURE_;
        }
    }
    if (!SaveBitmapToFile(image, o.out, &error)) {
        err << "kalvion-cli: " << error << "\n";
        return EXIT_FAILURE_;
    }
    if (opts.json)
        PrintJson(out, nlohmann::json{{"out", o.out}, {"kind", kind}, {"width", image.width()}, {"height", image.height()},
                              {"seed", body->RandomSeed}});
    else
        out << "Wrote " << o.out << " (" << kind << ", " << image.width() << " x " << image.height() << ")\n";
    return EXIT_OK;
}

} // namespace kalvion::cli
