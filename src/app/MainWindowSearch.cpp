// The main window's side of the search window, "Create Proximity Routes" and
// the travel calculator, which hands its trips to the route planner.
#include "app/MainWindow.h"

#include "app/AppMessages.h"
#include "app/SystemTree.h"
#include "app/search/SearchWindow.h"
#include "app/travel/ProximityRoutesDialog.h"
#include "app/travel/TravelCalcWindow.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "travel/ProximityRoutes.h"

#include <QApplication>

namespace kalvion::app {

namespace {

class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

} // namespace

TfrmVexaSearch3 *TfrmVexaMain::ShowSearchWindow()
{
    if (!FSearchWindow) {
        FSearchWindow = new TfrmVexaSearch3(FMessages, FSettings.SearchHistory, this);
        FSearchWindow->OnResultClicked = [this](TStellarBody *body) { ShowSearchResult(body); };
        FSearchWindow->OnSelectAll = [this](const TStellarBodyList &results) { SelectSearchResults(results); };
    }
    FSearchWindow->SetSector(FSector.get());
    FSearchWindow->show();
    FSearchWindow->raise();
    FSearchWindow->activateWindow();
    return FSearchWindow;
}

void TfrmVexaMain::ShowSearchResult(TStellarBody *body)
{
    if (!body)
        return;
    TStellarBody *root = body->GetRootBody();
    FSector->SelectAll(false);
    FSector->SelectBody(root);
    FSector->SetCameraDistance(10);
    FSector->PanCameraToSelected(1, 1);
    Redraw();
    RefillTree();
    if (QTreeWidgetItem *item = FTree->ItemOf(body))
        FTree->setCurrentItem(item);
    UpdateActions();
}

void TfrmVexaMain::SelectSearchResults(const std::vector<TStellarBody *> &results)
{
    for (TStellarBody *body : results) {
        TStellarBody *root = body->GetRootBody();
        if (!root->Selected)
            FSector->SelectBody(root);
    }
    RefillTree();
    UpdateActions();
    Redraw();
}

void TfrmVexaMain::ForgetSearchResults()
{
    if (FSearchWindow)
        FSearchWindow->ClearResults();
}

void TfrmVexaMain::CreateProximityRoutesCommand()
{
    if (!FProximityRoutes)
        FProximityRoutes = new TfrmProximityRoutes(FMessages, this);
    FProximityRoutes->Load(*FSector);
    if (FProximityRoutes->exec() != QDialog::Accepted)
        return;
    const TProximityRouteOptions options = FProximityRoutes->Options();
    // Far too many routes would exhaust the memory long before the end.
    const std::string refusal = CheckProximityRoutes(*FSector, options);
    if (!refusal.empty()) {
        FMessages.Tell(QString::fromStdString(refusal), QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    FSector->Modified = true;
    BeginLongOperation();
    {
        TWaitCursor busy;
        // The window's own handler: the sector's progress callback cannot
        // cancel, this one answers "cancel" once a key is waiting.
        CreateProximityRoutes(*FSector, options, [this](const std::string &, double) {
            Redraw();
            return KeyWaiting();
        });
    }
    EndLongOperation();
    SectorChanged(false);
}

void TfrmVexaMain::ShowTravelCalculator()
{
    if (FSector->SelectedCount() == 0)
        return;
    TfrmTravelCalc3 calc(FMessages, *FSector, TravelMethods(), this);
    calc.RestoreChoices(FSettings.SublightSpeedUnit, FSettings.InterstellarSpeedMethod,
                        FSettings.AllowIntrasystemHyperlight);
    TStellarBody *start = FSector->GetSelected(0);
    calc.SetStartBody(start);
    calc.SetEndBody(FSector->SelectedCount() > 1 ? FSector->GetSelected(1) : start);
    calc.Recalculate();
    calc.exec();
    FSettings.SublightSpeedUnit = calc.UnitChoice();
    FSettings.InterstellarSpeedMethod = calc.MethodChoice();
    FSettings.AllowIntrasystemHyperlight = calc.IntrasystemChoice();
    FPlanTravel = std::make_unique<TTravelInputs>(calc.Calculator().Inputs);
    if (calc.TimeAdvanced()) {
        UpdateCaption();
        Redraw();
    }
    if (calc.PlanRouteAsked())
        ShowRoutePlanner(calc.Calculator().Inputs.StartBody, calc.Calculator().Inputs.EndBody);
}

} // namespace kalvion::app
