#pragma once
// What the commands that draw the 3D views off screen (render, video)
// share: the body named on the command line, the offscreen context with its
// hint when there is no display, and the system view with its models.
#include "render/models/ModelManager.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <ostream>
#include <string>

namespace kalvion {
class TOffscreenGL;
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::cli {

// A system of the sector by name, else any body of any system (loaded).
TStellarBody *FindSystemOrBody(TVexaSector &sector, const std::string &name);

// Makes the offscreen context; false with the message (and, without a
// display, how to run under one) on err.
bool CreateOffscreenGL(TOffscreenGL &gl, const char *command, std::ostream &err);

// Models of the program's "Models/" folder for a view; each one that cannot
// be loaded is named on err with the reason (the picture shows its body's
// star instead).
void SetUpModels(T3dModelManager &models, std::ostream &err);

// The system view of one body, with the program's models.
struct TCliOrbitView {
    T3dModelManager Models;
    TRenderOrbitOGL Renderer;

    TCliOrbitView(TVexaSector &sector, TStellarBody *body, std::ostream &err);
    // Frees what the view made in the offscreen context; the context must
    // still be current.
    void ReleaseGL();
};

} // namespace kalvion::cli
