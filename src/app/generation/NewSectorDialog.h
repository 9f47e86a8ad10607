#pragma once
// The "New Star Sector" window: the options of a generated sector, kept in
// the settings between runs.
#include "app/AppMessages.h"
#include "generation/NewSectorOptions.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>
#include <string>

class QSlider;
namespace Ui { class TfrmNewSector; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

// The filter of the save-as chooser.
inline constexpr const char *NEW_SECTOR_FILE_FILTER =
    "Kalvion Sector Maps (*.VexaDB)|*.VexaDB|All Files (*.*)|*.*";

class TfrmNewSector : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewSector(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmNewSector() override;

    // Prepares the window as it opens: the remembered options, then the
    // current sector's shape and sizes.  A confirmed window writes its
    // options back to the same settings.
    void Prepare(TSettingsValues &settings, const TVexaSector &current, const std::string &lastNameTable);

    void Load(const TNewSectorOptions &options);
    TNewSectorOptions Options() const;
    // The first failing check's message, or "" when every box is right.
    QString Validate() const;

    // "&Ok": the checks (a failure is shown and the window stays open), then
    // the options are remembered and the window closes.
    void accept() override;

private:
    void ChooseSaveAs();
    void ShapeChanged();
    void SubsectorsChanged();
    void SelectNameTable(const std::string &name);

    std::unique_ptr<Ui::TfrmNewSector> ui;
    TAppMessages &FMessages;
    TSettingsValues *FSettings = nullptr;
    std::array<QSlider *, FREQ_SLIDER_COUNT> FFreqSliders{};
};

} // namespace kalvion::app
