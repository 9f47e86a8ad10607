#pragma once
// The "Sector Properties" window: sizes, units, calendar, grid, notes,
// background images, display-field defaults and the sector's own fields.
#include "app/AppMessages.h"
#include "model/SystemDataConfig.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>

namespace Ui { class TfrmSectorProperties; }

namespace kalvion {
class TVexaSector;
}

#include "app/FileFilters.h"

namespace kalvion::app {


class TfrmSectorProperties : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSectorProperties(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSectorProperties() override;

    // Fills every control from the sector; "Refresh" and "&Ok" then work on
    // this sector.
    void Load(TVexaSector &sector);
    // The checks of "&Ok" in order: the first failure's message, or "".
    QString Validate() const;
    // Writes every control into the sector (the checks have passed).
    void Apply(TVexaSector &sector);

    // "&Ok": the checks (a failure is shown and the window stays open), then
    // Apply to the loaded sector, which is marked modified.
    void accept() override;

    // The display-field defaults being edited (a copy of the sector's).
    const TSystemDataConfigHolder &EditedFields() const { return FFields; }

private:
    enum class TBackground { Keep, Replace, Clear };
    struct TBackgroundEdit {
        TBackground Change = TBackground::Keep;
        QString File;
    };

    void UnitChanged(int index);
    void ShapeChanged();
    void ChooseBackground(int which);
    void ClearBackground(int which);
    void ShowBackground(int which, bool stored);
    void FillFieldTable();
    void StoreFieldTable();
    void AddFieldRow();
    void DeleteFieldRow();
    void MoveFieldRow(int direction);
    void RestoreFieldDefaults();
    int FieldType() const;

    std::unique_ptr<Ui::TfrmSectorProperties> ui;
    TAppMessages &FMessages;
    TVexaSector *FSector = nullptr;
    int FUnitIndex = 0;
    int FShownFieldType = -1;
    std::array<TBackgroundEdit, 3> FBackgrounds;
    TSystemDataConfigHolder FFields;
};

} // namespace kalvion::app
