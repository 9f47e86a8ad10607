// The main window's 3D model manager: one for the whole run, searching the
// program's "Models/" folder, shared by the 3D views.
#include "app/MainWindow.h"

#include "render/RenderSectorOGL.h"
#include "render/models/ModelManager.h"

namespace kalvion::app {

void TfrmVexaMain::SetUpModels()
{
    FModelManager = std::make_unique<T3dModelManager>();
    FModelManager->AddSearchFolder((FOptions.ProgramFolder + QStringLiteral("Models/")).toStdString());
    FRenderer->ModelManager = FModelManager.get();
}

} // namespace kalvion::app
