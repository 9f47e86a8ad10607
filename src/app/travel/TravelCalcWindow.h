#pragma once
// TfrmTravelCalc3: the "Travel Calculator" window.  The start and end bodies
// are picked from a drop-down tree of the sector's systems (or typed by the
// system's name there); every change recalculates through TTravelCalculator,
// which holds the rules of the legs.
#include "app/AppMessages.h"
#include "travel/TravelCalculator.h"

#include <QDialog>

#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace Ui {
class TfrmTravelCalc3;
}

namespace kalvion {
class TStellarBody;
class TVexaSector;
} // namespace kalvion

namespace kalvion::app {

class TfrmTravelCalc3 final : public QDialog {
    Q_OBJECT
public:
    TfrmTravelCalc3(TAppMessages &messages, TVexaSector &sector, std::vector<TTravelCalcMethod *> methods,
                    QWidget *parent = nullptr);
    ~TfrmTravelCalc3() override;

    // The previous use's choices: the sub-light unit, the method by name
    // (an unknown name leaves "Light Speed") and the in-system option.
    void RestoreChoices(int unit, const QString &method, bool intrasystem);
    int UnitChoice() const;
    QString MethodChoice() const;
    bool IntrasystemChoice() const;

    void SetStartBody(TStellarBody *body);
    void SetEndBody(TStellarBody *body);
    // A body of the sector by a system's name or a "system/body/…" path;
    // none when there is no such body.
    TStellarBody *FindBody(const QString &path);

    // Reads the controls, recalculates and shows the answer; a refused
    // input is told in a message box.
    void Recalculate();
    // "Advance Time": the sector's date moves on by the last trip.
    bool AdvanceTime();
    bool TimeAdvanced() const { return FAdvanced; }
    // "Plan Route..." closed the window: the caller opens the planner on
    // the trip's two systems.
    bool PlanRouteAsked() const { return FPlanRoute; }
    const TTravelCalculator &Calculator() const { return FCalc; }

private:
    void PickInto(bool start, QToolButton *button);
    void ShowAnswer();

    std::unique_ptr<Ui::TfrmTravelCalc3> ui;
    TAppMessages &FMessages;
    TVexaSector &FSector;
    TTravelCalculator FCalc;
    bool FAdvanced = false;
    bool FPlanRoute = false;
    bool FLoading = true;

    QLineEdit *FStart = nullptr;
    QLineEdit *FEnd = nullptr;
    QLineEdit *FOutTo = nullptr;
    QLabel *FDeparture = nullptr;
    QLineEdit *FSublight = nullptr;
    QComboBox *FUnit = nullptr;
    QLineEdit *FInterstellar = nullptr;
    QComboBox *FMethod = nullptr;
    QLineEdit *FStartBoundary = nullptr;
    QLineEdit *FEndBoundary = nullptr;
    QCheckBox *FIntrasystem = nullptr;
    QLineEdit *FDistance = nullptr;
    QLineEdit *FTime = nullptr;
    QLineEdit *FArrival = nullptr;
};

} // namespace kalvion::app
