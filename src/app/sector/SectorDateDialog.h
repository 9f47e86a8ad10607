#pragma once
// The "Sector Date" window: the sector's clock as a calendar date, with time
// added or taken away in calendar units.
#include "app/AppMessages.h"
#include "science/SectorDateEditor.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QLineEdit;
namespace Ui { class TfrmSectorDate; }

namespace kalvion::app {

class TfrmSectorDate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSectorDate(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSectorDate() override;

    // Shows the date of a sector clock (its Time and EpochYear).
    void Load(double time, std::int64_t epochYear);
    // The checks of "&Ok" in order: the first failure's message, or "".
    QString Validate() const;
    // After "&Ok": the sector Time the boxes stand for (days from the start
    // of the epoch year); nothing before that or after "&Cancel".
    std::optional<double> ResultTime() const { return FResult; }

    void accept() override;
    void reject() override;

private:
    void Go();
    void Step(TSectorDateBox box, int delta);
    void BoxesToEditor() const;
    void EditorToBoxes();

    std::unique_ptr<Ui::TfrmSectorDate> ui;
    TAppMessages &FMessages;
    // The boxes are copied into it before every use, so it can be refreshed
    // from a const check.
    mutable TSectorDateEditor FEditor;
    std::optional<double> FResult;
};

} // namespace kalvion::app
