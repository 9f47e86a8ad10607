#pragma once
// The "Create Proximity Routes" dialog: which systems take part, the distance
// band, routes per system and how the new routes look.  It only collects the
// options; the main window runs the operation.
#include "app/AppMessages.h"
#include "travel/ProximityRoutes.h"

#include <QDialog>

#include <memory>

class QRadioButton;
namespace Ui { class TfrmProximityRoutes; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

class TfrmProximityRoutes final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProximityRoutes(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmProximityRoutes() override;

    // The sector's route types fill the editable list.
    void Load(const TVexaSector &sector);
    // The checks of "&Ok" in order: the first failure's message, or "".
    QString Validate() const;
    // The options the controls stand for (numbers as checked by Validate).
    TProximityRouteOptions Options() const;

    void accept() override;

private:
    std::unique_ptr<Ui::TfrmProximityRoutes> ui;
    TAppMessages &FMessages;
    QRadioButton *FStyles[4] = {};
};

} // namespace kalvion::app
