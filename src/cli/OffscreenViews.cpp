#include "cli/OffscreenViews.h"

#include "base/AsciiText.h"
#include "base/Paths.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/OffscreenFrame.h"

#include <cstdlib>

namespace kalvion::cli {

TStellarBody *FindSystemOrBody(TVexaSector &sector, const std::string &name)
{
    if (TStellarBody *root = sector.FindRootBodyByName(name)) {
        sector.DynaLoad(root);
        return root;
    }
    for (const auto &owned : sector.Systems) {
        sector.DynaLoad(owned.get());
        TStellarBodyList bodies;
        owned->GetAllChildren(bodies);
        for (TStellarBody *body : bodies)
            if (SameText(body->Name, name))
                return body;
    }
    return nullptr;
}

bool CreateOffscreenGL(TOffscreenGL &gl, const char *command, std::ostream &err)
{
    if (gl.Create())
        return true;
    err << "kalvion-cli: the 3D view cannot be drawn here: " << gl.ErrorMessage << "\n";
    if (std::getenv("DISPLAY") == nullptr)
        err << "There is no display; run it under one, for example: xvfb-run -a kalvion-cli " << command
            << " ...\n";
    return false;
}

void SetUpModels(T3dModelManager &models, std::ostream &err)
{
    models.AddSearchFolder(ProgramSubfolder("Models"));
    models.OnModelFailed = [&err](const std::string &name, const std::string &reason) {
        err << "kalvion-cli: " << ModelFailureText(name, reason) << "\n";
    };
}

TCliOrbitView::TCliOrbitView(TVexaSector &sector, TStellarBody *body, std::ostream &err)
{
    // Stations, ships and fleets of the system show their models.
    SetUpModels(Models, err);
    Renderer.ModelManager = &Models;
    Renderer.SetSystem(&sector, body);
}

void TCliOrbitView::ReleaseGL()
{
    Models.ReleaseContext(Renderer.ContextIndex);
    Renderer.ReleaseLists();
    Renderer.ReleaseFonts();
}

} // namespace kalvion::cli
