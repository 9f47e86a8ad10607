// The surface map commands of the right-click menu: "Create Surface Map"
// and "Edit Surface Map".  The maps themselves come from the surface map
// manager and the external terrain program, reached through the editing
// seams (EditHooks.h).
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/SettingsStore.h"
#include "app/edit/SurfaceMapDialogs.h"

#include "base/SharedRandom.h"
#include "graphics/AtmosphereTextures.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"
#include "render/SectorGLWidget.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QOpenGLContext>

namespace kalvion::app {

namespace {

// What "Edit Surface Map" needs and where it is looked for: the companion
// editor is found only through its installation record.
QString WorldEditorMissingText()
{
    return QStringLiteral("Gexworld editor not found\n\n"
                          "Surface maps of the built-in terrain are edited in the companion world editor "
                          "Gexworld. Kalvion looks for it at start-up in its installation record, the file\n") +
           TSettingsStore::CompanionRecordFile(QStringLiteral("Gexworld")) +
           QStringLiteral("\nwhose group [1.8] names the program with the values InstallDir (its folder) and "
                          "ExeFile (its file). Install Gexworld or write those two values, then start Kalvion "
                          "again.\n\nTo edit surface maps in Ridgeworks instead, choose \"Use Ridgeworks for "
                          "surface maps\" and its program file under File - Program Preferences - Surface Map "
                          "Generation.");
}

constexpr int SURFACE_MAP_WIDTH = 512;
constexpr int SURFACE_MAP_HEIGHT = 256;

const char *const SAVE_FIRST_TEXT =
    "Editing Surface Maps requires that the sector file first be saved.  Save this sector?";

// Busy cursor and the large render message while a surface map is made.
class TSurfaceWait {
public:
    TSurfaceWait(TVexaSector &sector, const char *message) : FSector(sector)
    {
        FSector.RenderMessageBig = message;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TSurfaceWait()
    {
        QApplication::restoreOverrideCursor();
        FSector.RenderMessageBig.clear();
    }
    TSurfaceWait(const TSurfaceWait &) = delete;
    TSurfaceWait &operator=(const TSurfaceWait &) = delete;

private:
    TVexaSector &FSector;
};

} // namespace

void TfrmVexaMain::CreateSurfaceMapCommand()
{
    TStellarBody *body = FCurrentBody;
    if (!body)
        return;
    // The body takes a seed, a palette and a picture.
    FSector->History().TouchSystem(body);
    if (body->TypeID == BODY_TYPE_GASGIANT) {
        TSurfaceWait wait(*FSector, "Scanning Atmosphere...");
        GenerateGasGiantAtmTexture(FSector.get(), *body, SURFACE_MAP_WIDTH, SURFACE_MAP_HEIGHT);
        body->ModifySystem();
        FSector->Modified = true;
        FRenderer->PreviewBody = body;
        if (FEditHooks.ShowBodyMap)
            FEditHooks.ShowBodyMap(*body);
        Redraw();
        return;
    }
    if (body->TypeID != BODY_TYPE_TERRESTRIAL)
        return;
    if (FSettings.TerrainEngine == 2) {
        TSurfaceWait wait(*FSector, "Scanning Surface...");
        if (!FEditHooks.ExternalSurfaceMap)
            return;
        const auto file = FEditHooks.ExternalSurfaceMap(*FSector, *body, SURFACE_MAP_WIDTH);
        if (!file)
            return;
        FSector->SetPreviewImage(body, *file);
        body->ModifySystem();
        FSector->Modified = true;
        // Every run writes the same file name: a texture made from the last
        // image would otherwise stay.
        if (FView && FView->context() && FView->context()->isValid()) {
            FView->makeCurrent();
            FRenderer->ReleaseTextures();
            FView->doneCurrent();
        }
        FRenderer->PreviewBody = body;
        if (FEditHooks.ShowBodyMap)
            FEditHooks.ShowBodyMap(*body);
        Redraw();
        return;
    }
    TSurfaceMapAction action = TSurfaceMapAction::Refresh;
    const std::string world = FEditHooks.GexFileName ? FEditHooks.GexFileName(*FSector, *body) : std::string();
    if (!world.empty() && QFileInfo::exists(QString::fromStdString(world))) {
        if (!FEditDialogs.SurfaceChoice)
            FEditDialogs.SurfaceChoice = new TfrmSurfaceMapChoice(this);
        FEditDialogs.SurfaceChoice->Load();
        if (FEditDialogs.SurfaceChoice->exec() != QDialog::Accepted)
            return;
        action = FEditDialogs.SurfaceChoice->Action();
    }
    TSurfaceWait wait(*FSector, "Scanning Surface...");
    if (action == TSurfaceMapAction::UseExisting) {
        if (FEditHooks.CheckGexRefresh)
            FEditHooks.CheckGexRefresh(*FSector, *body);
    } else {
        // The options start from the body's palette, else from the
        // preferences' one; the body takes it, the new seed and the loss of
        // its world file only once the user confirms.
        TGexColorGroup start = FSettings.Palette;
        start.CloudsEnabled = FSettings.GenAtmospheres;
        if (const TGexColorGroup *own = body->GetGexColorGroup())
            start = *own;
        if (!FEditDialogs.SurfaceOptions)
            FEditDialogs.SurfaceOptions = new TfrmSurfaceMapOptions(FMessages, this);
        FEditDialogs.SurfaceOptions->Load(start);
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool ok = FEditDialogs.SurfaceOptions->exec() == QDialog::Accepted;
        QApplication::restoreOverrideCursor();
        if (!ok)
            return;
        if (action == TSurfaceMapAction::Regenerate) {
            if (!world.empty())
                QFile::remove(QString::fromStdString(world));
            body->RandomSeed = SharedRandomInt(1000000000);
        }
        const TGexColorGroup palette = FEditDialogs.SurfaceOptions->Palette();
        if (FEditHooks.GenerateGexSurfaceMap)
            FEditHooks.GenerateGexSurfaceMap(*FSector, *body, false, palette);
        body->SetGexColorGroup(palette);
        body->ModifySystem();
        FSector->Modified = true;
    }
    FRenderer->PreviewBody = body;
    if (FEditHooks.ShowBodyMap)
        FEditHooks.ShowBodyMap(*body);
    Redraw();
}

void TfrmVexaMain::EditSurfaceMapCommand()
{
    TStellarBody *body = FCurrentBody;
    if (!body || body->TypeID != BODY_TYPE_TERRESTRIAL)
        return;
    if (FSector->Modified || FSector->FileName.empty()) {
        if (FMessages.Ask(QString::fromLatin1(SAVE_FIRST_TEXT), QStringLiteral("Save Sector"), TMsgButtons::YesNo,
                          TMsgIcon::Question) != TMsgAnswer::Yes)
            return;
        if (!Save() || FSector->Modified)
            return;
        body = FCurrentBody;
        if (!body || body->TypeID != BODY_TYPE_TERRESTRIAL)
            return;
    }
    if (FSettings.TerrainEngine == 2) {
        if (FEditHooks.ExternalEdit)
            FEditHooks.ExternalEdit(*FSector, *body);
        return;
    }
    if (FEditHooks.WorldEditor.isEmpty()) {
        FMessages.Tell(WorldEditorMissingText(), QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    {
        TSurfaceWait wait(*FSector, "Downloading Surface Data...");
        const bool stored = FEditHooks.HasTerrainData && FEditHooks.HasTerrainData(*FSector, *body);
        if (!stored && FEditHooks.GenerateGexSurfaceMap) {
            TGexColorGroup palette = FSettings.Palette;
            palette.CloudsEnabled = FSettings.GenAtmospheres;
            if (const TGexColorGroup *own = body->GetGexColorGroup())
                palette = *own;
            FEditHooks.GenerateGexSurfaceMap(*FSector, *body, true, palette);
        }
        FRenderer->PreviewBody = body;
        if (FEditHooks.ShowBodyMap)
            FEditHooks.ShowBodyMap(*body);
        Redraw();
    }
    // The editor reads the body's terrain from the sector file: one argument
    // "vexadb#" + record id + "#" + file (the quotes around it on a command
    // line only keep it whole).
    const QString parameter = QStringLiteral("vexadb#") + QString::number(body->RecordID) + QLatin1Char('#') +
                              QString::fromStdString(FSector->FileName);
    if (FEditHooks.StartProgram)
        FEditHooks.StartProgram(FEditHooks.WorldEditor, {parameter});
}

} // namespace kalvion::app
