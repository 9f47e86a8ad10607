#pragma once
// TfrmRoutePlanner: the "Route Planner" window.  It plans a trip between two
// systems with the planner kalvion-cli's plot and the scripts use, lists
// its stops with their jumps, times it at the travel calculator's speed and
// hands the path to the map, which draws it while the window is open.
// "Save as Route" hands the trip to the main window, which keeps it.
#include "app/AppMessages.h"
#include "model/VexaPoint.h"
#include "travel/RoutePlanner.h"
#include "travel/TravelCalculator.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

namespace Ui {
class TfrmRoutePlanner;
}

namespace kalvion {
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

class TfrmRoutePlanner final : public QDialog {
    Q_OBJECT
public:
    TfrmRoutePlanner(TAppMessages &messages, TVexaSector &sector, QWidget *parent = nullptr);
    ~TfrmRoutePlanner() override;

    // The travel calculator's speeds, units, boundaries and methods time the
    // trip; its interstellar speed fills the window's own box.
    void SetTravel(const TTravelInputs &inputs, std::vector<TTravelCalcMethod *> methods);
    // Fills the name completion, the route types and affiliations from the
    // sector; what was typed stays.
    void Load();
    // The ends from the selection (none leaves a box as it is).
    void SetEnds(const TStellarBody *from, const TStellarBody *to);

    // The first refused choice, empty when the trip can be planned.  On
    // success the choices are read into `options` and the two ends.
    QString Validate(TRoutePlanOptions &options, TStellarBody *&from, TStellarBody *&to) const;
    // Plans, lists and draws the trip; false (with the reason shown in the
    // window) when there is none.
    bool Plan();
    // The sector changed under a shown trip: plan it again from the names,
    // or let it go when that no longer can be done.
    void SectorChanged();
    // Lets go of the trip and its path on the map.
    void Forget();
    // Asks for a name and hands the trip, planned again on the sector as
    // it is now, to OnSaveRoute.  False when nothing was kept.
    bool SaveAsRoute();

    bool HasPlan() const { return FPlan.Found; }
    const TRoutePlan &LastPlan() const { return FPlan; }
    QString TravelTimeText() const;
    QString MessageText() const;

    std::function<void(const std::vector<TVexaPoint> &)> OnPathChanged;
    std::function<void(const TRoutePlan &, const QString &name)> OnSaveRoute;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    TStellarBody *FindSystem(const QString &name) const;
    void ShowPlan();
    void ShowMessage(const QString &text);

    std::unique_ptr<Ui::TfrmRoutePlanner> ui;
    TAppMessages &FMessages;
    TVexaSector &FSector;
    TTravelInputs FTravel;
    std::vector<TTravelCalcMethod *> FMethods;
    TRoutePlan FPlan;
};

} // namespace kalvion::app
