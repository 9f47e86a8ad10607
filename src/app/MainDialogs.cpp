// The sector's own dialogs, opened from the main window.
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/PreferencesDialog.h"
#include "app/SettingsStore.h"
#include "app/generation/NewSectorDialog.h"
#include "app/sector/SavedViewsDialog.h"
#include "app/sector/SectorDateDialog.h"
#include "app/sector/SectorPropertiesDialog.h"
#include "app/sector/SubsectorEditor.h"
#include "app/video/ViewCapture.h"

#include "model/VexaSector.h"
#include "model/history/SectorHistory.h"
#include "render/RenderSectorOGL.h"

#include <QAction>

namespace kalvion::app {

std::optional<TNewSectorOptions> TfrmVexaMain::AskNewSectorOptions()
{
    TfrmNewSector dialog(FMessages, this);
    dialog.Prepare(FStore, *FSector, FLastNameTable);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    TNewSectorOptions o = dialog.Options();
    FLastNameTable = o.NameTable;
    return o;
}

void TfrmVexaMain::SetSectorDate()
{
    if (!FSectorDate)
        FSectorDate = new TfrmSectorDate(FMessages, this);
    FSectorDate->Load(FSector->Time, FSector->EpochYear);
    if (FSectorDate->exec() != QDialog::Accepted || !FSectorDate->ResultTime())
        return;
    FSector->History().TouchPart(TSectorPart::Date);
    FSector->Time = *FSectorDate->ResultTime();
    FSector->Modified = true;
    Redraw();
}

void TfrmVexaMain::ShowSectorProperties()
{
    if (!FSectorProperties)
        FSectorProperties = new TfrmSectorProperties(FMessages, this);
    FSectorProperties->Load(*FSector);
    // The dialog writes the sector when it is accepted.
    FSector->History().TouchPart(TSectorPart::Settings);
    if (FSectorProperties->exec() != QDialog::Accepted)
        return;
    // Grids, sizes, fonts and backgrounds may all have changed.
    FRenderer->ReloadBackground();
    OrbitSectorLookChanged();
    if (FVideoCapture)
        FVideoCapture->ReloadBackground();
    FSector->SetFilters();
    SectorChanged();
}

void TfrmVexaMain::EditSubsectors()
{
    if (!FSubsectorEditor)
        FSubsectorEditor = new TfrmSubsectors(*FSector, FMessages, this);
    FSubsectorEditor->Refresh();
    // The editor changes the subsectors as the user works in it; a rename
    // reaches the saved views, and the systems assigned to one change too.
    TSectorHistory &history = FSector->History();
    history.TouchPart(TSectorPart::Subsectors);
    history.TouchPart(TSectorPart::Views);
    history.TouchPart(TSectorPart::Settings);
    FSubsectorEditor->exec();
    FSector->SetFilters();
    SectorChanged(false);
}

void TfrmVexaMain::ShowSavedViews()
{
    if (!FSavedViews)
        FSavedViews = new TfrmSavedViews(*FSector, [this] { SectorChanged(false); }, this);
    FSavedViews->Refresh();
    FSector->History().TouchPart(TSectorPart::Views);
    FSavedViews->exec();
    RebuildViewsMenu();
}

void TfrmVexaMain::ShowPreferences()
{
    if (!FPreferences)
        FPreferences = new TfrmPreferences(FMessages, this);
    FPreferences->Load(FSettings);
    FPreferences->LoadPlugins(*FPlugins);
    if (FPreferences->exec() != QDialog::Accepted)
        return;
    const TPreferencesResult r = FPreferences->Apply(FSettings);
    FSector->History().SetLimit(FSettings.UndoLimit);
    UpdateUndoActions();
    ApplyPluginActivation();
    if (r.LensFlaresChanged)
        FRenderer->LensFlare = FSettings.ShowLensFlares;
    if (r.DataColorsChanged)
        ApplyDataPanelColors();
    ApplySurfaceMapSettings();
    ApplyRecoverySettings();
    Redraw();
}

} // namespace kalvion::app
