#pragma once
// The groups both map dialogs share: colours with a sample picture each,
// plane, sizes and switches, and the area (whole sector or the systems near
// the first selected one).
#include "graphics/SectorPrint.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui { class TMapOptionsBox; }

namespace kalvion::app {

// What the area groups choose.  Distance is in the sector's unit.
struct TMapArea {
    bool Submap = false;
    double Distance = 5;
    int Shape = 0; // 0 box, 1 sphere
};

class TMapOptionsBox : public QWidget {
    Q_OBJECT
public:
    explicit TMapOptionsBox(QWidget *parent = nullptr);
    ~TMapOptionsBox() override;

    // "Export" or "Print": the texts of the area choices begin with it.
    void SetVerb(const QString &verb);
    // The first selected system's name, or empty without a selection (the
    // distance option is then disabled), and the sector's unit name.
    void SetSelection(const QString &systemName, const QString &unitName);

    TMapOptions Options() const;
    bool SubmapChosen() const;
    // The distance checks of the dialogs in their order: "" when they pass.
    // The map dialogs both refuse a distance that is not above 0.
    QString ValidateDistance() const;
    TMapArea Area() const;

signals:
    void PlaneChanged();

private:
    void ColourChanged();

    std::unique_ptr<Ui::TMapOptionsBox> ui;
    QString FVerb = QStringLiteral("Export");
};

// A small map of a few systems in a colour mode, for the colour choices.
QPixmap MapSamplePicture(int colourMode, int width, int height);

} // namespace kalvion::app
