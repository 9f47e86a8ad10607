// The main window's 3D model manager: one for the whole run, searching the
// program's "Models/" folder, shared by the 3D views.  A model that cannot
// be loaded is drawn as its body's star; the status bar says why.
#include "app/MainWindow.h"

#include "render/RenderSectorOGL.h"
#include "base/TextEncoding.h"
#include "render/models/ModelManager.h"

#include <QStatusBar>

namespace kalvion::app {

void TfrmVexaMain::SetUpModels()
{
    FModelManager = std::make_unique<T3dModelManager>();
    FModelManager->AddSearchFolder((FOptions.ProgramFolder + QStringLiteral("Models/")).toStdString());
    FModelManager->OnModelFailed = [this](const std::string &name, const std::string &reason) {
        statusBar()->showMessage(QString::fromStdString(BytesToUtf8(ModelFailureText(name, reason))), 20000);
    };
    FRenderer->ModelManager = FModelManager.get();
}

} // namespace kalvion::app
