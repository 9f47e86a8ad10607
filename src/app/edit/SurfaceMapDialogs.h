#pragma once
// The windows of "Create Surface Map": the choice offered when a planet
// already has a world file ("Suface Map Generation"), and the palette of
// the map to generate ("Surface Map Options").
#include "app/AppMessages.h"
#include "model/GexColorGroup.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSurfaceMapChoice;
class TfrmSurfaceMapOptions;
} // namespace Ui

namespace kalvion::app {

enum class TSurfaceMapAction { UseExisting, Refresh, Regenerate };

class TfrmSurfaceMapChoice : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSurfaceMapChoice(QWidget *parent = nullptr);
    ~TfrmSurfaceMapChoice() override;
    // "Use the existing surface map file" is preset each time.
    void Load();
    TSurfaceMapAction Action() const;

private:
    std::unique_ptr<Ui::TfrmSurfaceMapChoice> ui;
};

class TfrmSurfaceMapOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSurfaceMapOptions(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSurfaceMapOptions() override;
    void Load(const TGexColorGroup &palette);
    TGexColorGroup Palette() const;

private:
    void RepaintGradient();

    std::unique_ptr<Ui::TfrmSurfaceMapOptions> ui;
    TAppMessages &FMessages;
};

} // namespace kalvion::app
