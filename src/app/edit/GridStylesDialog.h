#pragma once
// The "Grids" window (Ctrl+G): the sector's grid style, its three spacings
// in the sector's unit, the radial tick and the tick labels.  Made on first
// use and kept.  Spacings that do not read as numbers are refused with a
// message and the sector keeps its values.
#include "app/AppMessages.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmGridStyles; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

inline constexpr const char *GRID_SPACINGS_MESSAGE = "Grid spacings must be numbers";

class TfrmGridStyles : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGridStyles(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmGridStyles() override;

    void Load(const TVexaSector &sector);
    // The first failing check's message, or "".
    QString Validate() const;
    // Writes style, spacings, tick and tick labels into the sector.
    void Apply(TVexaSector &sector) const;
    void accept() override;

private:
    std::unique_ptr<Ui::TfrmGridStyles> ui;
    TAppMessages &FMessages;
    double FRatio = 1.0;  // light years per shown unit
    double FExtent[3] = {20, 20, 20};
};

} // namespace kalvion::app
