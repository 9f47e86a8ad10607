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

#include <QScreen>

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
    if (travel.Method.empty())
        travel.Method = TRAVEL_METHOD_LIGHT_SPEED;
    FRoutePlanner->SetTravel(travel, TravelMethods());
    FRoutePlanner->Load();
    if (!from && FSector->SelectedCount() > 0)
        from = FSector->GetSelected(0);
    if (!to && FSector->SelectedCount() > 1)
        to = FSector->GetSelected(1);
    FRoutePlanner->SetEnds(from ? from->GetRootBody() : nullptr, to ? to->GetRootBody() : nullptr);
    if (!FRoutePlanner->isVisible()) {
        // Off the map's middle, where the trip is drawn: beside the window
        // where the screen has room, else over its right edge.
        FRoutePlanner->adjustSize();
        const QRect frame = frameGeometry();
        const int width = FRoutePlanner->frameGeometry().width();
        const QRect avail = screen() ? screen()->availableGeometry() : frame;
        const int x = frame.right() + 8 + width <= avail.right() ? frame.right() + 8 : frame.right() - width - 8;
        FRoutePlanner->move(x, frame.top() + 80);
    }
    FRoutePlanner->show();
    FRoutePlanner->raise();
    FRoutePlanner->activateWindow();
    // A trip shown when the window was closed is shown again with it.
    if ((from && to) || FRoutePlanner->HasPlan())
        FRoutePlanner->Plan();
    return FRoutePlanner;
}

void TfrmVexaMain::RoutePlannerSectorChanged()
{
    if (FRoutePlanner && FRoutePlanner->isVisible())
        FRoutePlanner->SectorChanged();
}

} // namespace kalvion::app
