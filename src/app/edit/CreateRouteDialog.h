#pragma once
// The "Routes" window of "Create Route...": name, type, colour, line style
// and width of a route drawn through the selected systems in the order they
// were selected.  Made on first use and kept, so its values stay from one
// use to the next; only the route-type list is filled afresh each time.
#include "app/AppMessages.h"
#include "base/Colour.h"

#include <QDialog>

#include <memory>
#include <string>

namespace Ui { class TfrmCreateRoute; }

namespace kalvion {
class TStellarRoute;
class TVexaSector;
}

namespace kalvion::app {

// The systems a route through the selection joins, in selection order; a
// long selection shows its first and last systems and how many there are.
QString JoinedSystemsText(const TVexaSector &sector);

// A colour whose red, green and blue are each 64 … 255, from the shared
// random generator: never so dark that the route vanishes on the black sky.
TColor RandomRouteColor();

class TfrmCreateRoute : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCreateRoute(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmCreateRoute() override;

    // Refills the route types with the sector's non-empty ones and names
    // the selected systems the route will join, in their order.
    void Load(const TVexaSector &sector);
    QString JoinedSystemsText() const;
    TColor Color() const;
    void SetColor(TColor colour);
    std::string RouteName() const;
    std::string RouteType() const;
    int LineStyle() const;
    double LineWidth() const;
    // The route through the selection with the window's values; none unless
    // two systems are selected.
    TStellarRoute *Apply(TVexaSector &sector) const;

private:
    std::unique_ptr<Ui::TfrmCreateRoute> ui;
    TAppMessages &FMessages;
};

} // namespace kalvion::app
