#pragma once
// The "Subsectors" editor: works directly on the sector's list of
// subsectors; the shown values are checked and applied before another one is
// selected, before "New" and on "&Done".
#include "app/AppMessages.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui { class TfrmSubsectors; }

namespace kalvion {
class TVexaSector;
class TVexaSubsector;
}

namespace kalvion::app {

class TfrmSubsectors : public QDialog {
    Q_OBJECT
public:
    TfrmSubsectors(TVexaSector &sector, TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSubsectors() override;

    // Lists the sector's subsectors and shows the first.
    void Refresh();
    // The checks of the position and size boxes in order: the first failing
    // box's message, or "".
    QString Validate() const;
    // Checks the shown values (a failure is shown) and applies them to the
    // current subsector; false when the check failed.
    bool CheckAndApply();
    // Selecting, "New" and "Delete" as the window's list and buttons do;
    // false when the shown values failed their check and nothing happened.
    bool Select(int index);
    bool NewSubsector();
    void DeleteSelected();
    // The subsector shown, -1 for none.
    int CurrentIndex() const { return FCurrent; }

    // "&Done": check and apply, then close.
    void accept() override;

private:
    void Show(int index);
    void ShapeChanged();
    TVexaSubsector *Current() const;

    std::unique_ptr<Ui::TfrmSubsectors> ui;
    TVexaSector &FSector;
    TAppMessages &FMessages;
    int FCurrent = -1;
};

} // namespace kalvion::app
