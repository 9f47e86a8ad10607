#pragma once
// "Sector Merging and Updating": another sector file merged into the open
// one (what to do with shared systems, where to put the newcomers), or a
// nearby-star catalogue listing read into it.
#include "app/AppMessages.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmSectorMerge; }

namespace kalvion::app {

struct TMergeChoice {
    bool Catalogue = false;
    QString FileName;
    int Mode = 1;      // SECTOR_IMPORT_ALLOW, _UPDATE, _SKIP
    int Placement = 0; // SECTOR_IMPORT_COORDS ... _TOP
    double DX = 0, DY = 0, DZ = 0;
};

class TfrmSectorMerge : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSectorMerge(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSectorMerge() override;

    void Load(const QString &folder);
    // The checks of "&Ok" in order: the first failure's message, or "".
    QString Validate() const;
    TMergeChoice Choice() const;
    void accept() override;

private:
    void Browse();
    void Follow();

    std::unique_ptr<Ui::TfrmSectorMerge> ui;
    TAppMessages &FMessages;
    QString FFolder;
};

} // namespace kalvion::app
