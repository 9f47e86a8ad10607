#pragma once
// "Sector Export": the flat map of the sector written to a picture file.
#include "app/AppMessages.h"
#include "app/pictures/MapOptionsBox.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmSectorExport; }

namespace kalvion::app {

struct TSectorExportChoice {
    QString FileName;
    int Width = 1000;
    bool ShowImage = false;
    TMapOptions Map;
    TMapArea Area;
};

class TfrmSectorExport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSectorExport(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSectorExport() override;

    // The map extent in each plane, for the height shown beside the width;
    // the first selected system's name ("" without one), the unit's name and
    // the folder the file chooser starts in.
    void Load(const double extents[3][2], const QString &selectedName, const QString &unitName,
              const QString &folder);
    // The checks of "&Ok" in order: the first failure's message, or "".
    QString Validate() const;
    TSectorExportChoice Choice() const;

    TMapOptionsBox &MapBox();
    void accept() override;

private:
    void Browse();
    void UpdateHeight();

    std::unique_ptr<Ui::TfrmSectorExport> ui;
    TAppMessages &FMessages;
    double FExtents[3][2] = {{20, 20}, {20, 20}, {20, 20}};
    QString FFolder;
};

} // namespace kalvion::app
