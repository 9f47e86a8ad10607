// The main window's side of the route planner: the window kept once made,
// its path drawn over the map, and "Save as Route" as one step of the
// history.
#include "app/MainWindow.h"

#include "app/travel/RoutePlannerWindow.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"
#include "render/RenderSectorOGL.h"
#include "travel/RoutePlanner.h"
#include "travel/TravelCalculator.h"

namespace kalvion::app {

namespace {
// Yellow, as the command line keeps its planned trips.
constexpr TColor PLANNED_ROUTE_COLOR = 0x00FFFF;
} // namespace

TfrmRoutePlanner *TfrmVexaMain::ShowRoutePlanner(const TStellarBody *from, const TStellarBody *to)
{
    if (!FRoutePlanner) {
        FRoutePlanner = new TfrmRoutePlanner(FMessages, *FSector, this);
        FRoutePlanner->OnPathChanged = [this](const std::vector<TVexaPoint> &path) {
            FRenderer->PlannedPath = path;
            Redraw();
        };
        FRoutePlanner->OnSaveRoute = [this](const TRoutePlan &plan, const QString &name) {
            RunAsStep(QStringLiteral("Save as Route"), [&] {
                AddPlanAsRoute(*FSector, plan, name.toStdString(), std::string(), PLANNED_ROUTE_COLOR,
                               ROUTE_LINE_SOLID, 1);
                FSector->Modified = true;
                SectorChanged(false);
            });
        };
    }
    TTravelInputs travel;
    travel.SublightUnit = FSettings.SublightSpeedUnit;
    travel.Method = FSettings.InterstellarSpeedMethod.toStdString();
    travel.IntrasystemHyperlight = FSettings.AllowIntrasystemHyperlight;
    if (FPlanTravel)
        travel = *FPlanTravel;
    FRoutePlanner->SetTravel(travel, TravelMethods());
    FRoutePlanner->Load();
    if (!from && FSector->SelectedCount() > 0)
        from = FSector->GetSelected(0);
    if (!to && FSector->SelectedCount() > 1)
        to = FSector->GetSelected(1);
    FRoutePlanner->SetEnds(from ? from->GetRootBody() : nullptr, to ? to->GetRootBody() : nullptr);
    FRoutePlanner->show();
    FRoutePlanner->raise();
    FRoutePlanner->activateWindow();
    if (from && to)
        FRoutePlanner->Plan();
    return FRoutePlanner;
}

void TfrmVexaMain::RoutePlannerSectorChanged()
{
    if (FRoutePlanner && FRoutePlanner->isVisible())
        FRoutePlanner->SectorChanged();
}

} // namespace kalvion::app
