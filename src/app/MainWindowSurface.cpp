// The main window's part of the surface maps: the manager it owns for the
// whole run, the settings it follows, the requests made when the user picks
// a planet, and the repaint when a map is ready.
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/surface/ExternalTerrain.h"
#include "app/surface/SurfaceMapSource.h"

#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "render/orbit/RenderOrbitOGL.h"
#include "surface/PlanetTerrain.h"
#include "surface/manager/SurfaceMapMgr.h"
#include "surface/manager/SurfaceMapOps.h"

#include <QLabel>

namespace kalvion::app {

namespace {

constexpr const char *RW_SAVE_PATH = "RWSavePath";

const TStellarBody *FindInTree(const TStellarBody *body, const std::string &id)
{
    if (!body)
        return nullptr;
    if (body->IDString == id)
        return body;
    for (const auto &child : body->Children)
        if (const TStellarBody *found = FindInTree(child.get(), id))
            return found;
    return nullptr;
}

} // namespace

void TfrmVexaMain::StartSurfaceMaps()
{
    FSurfaceMaps = std::make_unique<TSurfaceMapMgr>();
    FSurfaceMapSource = std::make_unique<TSurfaceMapSource>(*FSurfaceMaps);
    FSurfaceMaps->SetProgramFolder(FOptions.ProgramFolder.toStdString());
    FSurfaceMaps->SetResolution(3);
    // One map at a time is the common case: it gets every processor.
    FSurfaceMaps->SetTerrainWorkers(DefaultTerrainWorkers());
    // The views ask by IDString: the planets they show belong to the picked
    // body's system or to a selected system.
    FSurfaceMaps->FindBody = [this](const std::string &id) -> const TStellarBody * {
        if (FCurrentBody)
            if (const TStellarBody *b = FindInTree(FCurrentBody->GetRootBody(), id))
                return b;
        for (int i = 0; i < FSector->SelectedCount(); ++i)
            if (const TStellarBody *b = FindInTree(FSector->GetSelected(i), id))
                return b;
        return nullptr;
    };
    // A new map replaces whatever the preview inset and the system view made
    // of an older one, at once: a stopped system view draws no frames of
    // its own.
    connect(FSurfaceMaps.get(), &TSurfaceMapMgr::mapReady, this, [this](const QString &idString) {
        FRenderer->ForgetSurfaceTexture(idString.toStdString());
        if (FOrbit)
            FOrbit->ForgetSurfaceTexture(idString.toStdString());
        Redraw();
    });
    connect(FSurfaceMaps.get(), &TSurfaceMapMgr::workChanged, this, [this](int making) { ShowSurfaceWork(making); });
    FRenderer->SurfaceMapMgr = FSurfaceMapSource.get();
    ApplySurfaceMapSettings();
}

// The system view and the editing commands reach the manager once both exist.
void TfrmVexaMain::ConnectSurfaceMapUsers()
{
    if (FOrbit)
        FOrbit->SurfaceMapMgr = FSurfaceMapSource.get();
    FEditHooks.GexFileName = [](TVexaSector &, const TStellarBody &body) { return GexFileName(body); };
    FEditHooks.GenerateGexSurfaceMap = [](TVexaSector &sector, TStellarBody &body, bool forEditing,
                                          const TGexColorGroup &palette) {
        return GenerateGexSurfaceMap(sector, body, forEditing, palette);
    };
    FEditHooks.CheckGexRefresh = [](TVexaSector &sector, TStellarBody &body) { CheckGexRefresh(sector, body); };
    FEditHooks.HasTerrainData = [](TVexaSector &sector, const TStellarBody &body) {
        return HasTerrainData(sector, body);
    };
    FEditHooks.ShowBodyMap = [this](TStellarBody &body) { SurfaceMapChanged(&body); };
    // The external terrain program, for the commands that wait for it or
    // hand it the planet.
    const auto external = [this](TVexaSector &sector) {
        TExternalTerrainSetup setup;
        setup.ProgramFile = FSettings.RWFilePathAlt.toStdString();
        setup.ColoringFolder = FOptions.ProgramFolder.toStdString();
        FSurfaceMaps->SetSaveFolder(sector.GetField(RW_SAVE_PATH));
        setup.SaveFolder = FSurfaceMaps->SaveFolder();
        setup.OnMessage = [this](const std::string &text) {
            FMessages.Tell(QString::fromStdString(text), QStringLiteral("Kalvion"), TMsgIcon::Warning);
        };
        return setup;
    };
    // The background maker runs the same program on the same files: a
    // command on the planet waits until its run has stopped.
    FEditHooks.ExternalSurfaceMap = [this, external](TVexaSector &sector, TStellarBody &body, int width) {
        FSurfaceMaps->StopMap(body.IDString.str());
        return ExternalSurfaceMapFile(body, width, external(sector));
    };
    FEditHooks.ExternalEdit = [this, external](TVexaSector &sector, TStellarBody &body) {
        FSurfaceMaps->StopMap(body.IDString.str());
        OpenPlanetInExternalProgram(body, external(sector));
    };
}

void TfrmVexaMain::ApplySurfaceMapSettings()
{
    if (!FSurfaceMaps)
        return;
    FSurfaceMaps->SetResolution(FSettings.SurfaceMapResolution);
    // Every map the views ask for takes the user's palette, whether or not a
    // planet was picked before.
    FSurfaceMaps->DefaultColorGroup().CopyFrom(FSettings.Palette);
    FSurfaceMaps->DefaultColorGroup().CloudsEnabled = FSettings.GenAtmospheres;
    FSurfaceMaps->SetExternalProgram(FSettings.TerrainEngine == 2, FSettings.RWFilePathAlt.toStdString());
}

void TfrmVexaMain::SurfaceMapsForNewSector()
{
    if (!FSurfaceMaps)
        return;
    FSurfaceMaps->Clear();
    FSurfaceMaps->SetSaveFolder(FSector->GetField(RW_SAVE_PATH));
}

void TfrmVexaMain::RequestSurfaceMap(TStellarBody *body)
{
    if (!body || !FSurfaceMaps || !body->PreviewImageFile.empty())
        return;
    switch (body->TypeID) {
    case BODY_TYPE_TERRESTRIAL:
        if (HasTerrainData(*FSector, *body)) {
            // The views read the stored image.
            FSurfaceMaps->ForgetMap(body->IDString);
            return;
        }
        FSurfaceMaps->DefaultColorGroup().CopyFrom(FSettings.Palette);
        FSurfaceMaps->DefaultColorGroup().CloudsEnabled = FSettings.GenAtmospheres;
        FSurfaceMaps->RequestMap(*body);
        break;
    case BODY_TYPE_GASGIANT:
        FSurfaceMaps->RequestMap(*body);
        break;
    case BODY_TYPE_PLANETSYSTEM:
        FSurfaceMaps->RequestChildMaps(*body);
        break;
    default:
        break;
    }
}

void TfrmVexaMain::SurfaceMapChanged(TStellarBody *body)
{
    if (!body || !FSurfaceMaps)
        return;
    FSurfaceMaps->ForgetMap(body->IDString);
    FRenderer->ForgetSurfaceTexture(body->IDString);
    RequestSurfaceMap(body);
}

void TfrmVexaMain::ShowSurfaceWork(int making)
{
    // Panel 0 belongs to a cancellable operation while one runs.
    QLabel *panel = FStatus[0];
    if (!panel)
        return;
    const bool ours = panel->text().isEmpty() || panel->text().startsWith(QLatin1String("Making "));
    if (!ours)
        return;
    if (making <= 0)
        panel->clear();
    else if (making == 1)
        panel->setText(QStringLiteral("Making a surface map..."));
    else
        panel->setText(QStringLiteral("Making ") + QString::number(making) + QStringLiteral(" surface maps..."));
}

void TfrmVexaMain::StopSurfaceMaps()
{
    // Closing never waits on a terrain program that does not end.
    if (FSurfaceMaps)
        FSurfaceMaps->WaitAll();
}

} // namespace kalvion::app
