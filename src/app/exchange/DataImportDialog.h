#pragma once
// "Data Import": a comma-separated star list brought into the sector, added
// to what is there or replacing it, with a report of what was read.
#include "app/AppMessages.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmDataImport; }

namespace kalvion {
class TVexaSector;
}

namespace kalvion::app {

inline constexpr const char *CSV_FILE_FILTER = "Comma Seperated (*.csv)|*.csv|All Files (*.*)|*.*";

class TfrmDataImport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDataImport(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmDataImport() override;

    // The sector that receives the data (kept until the next Load); the
    // report of the last run is emptied.
    void Load(TVexaSector &sector, const QString &folder);
    // "&Import": runs the import and shows its report.
    void Import();
    QString Report() const;
    // Whether an import ran since Load, and whether one emptied the sector.
    bool Imported() const { return FImported; }
    bool Replaced() const { return FReplaced; }

private:
    void Browse();

    std::unique_ptr<Ui::TfrmDataImport> ui;
    TAppMessages &FMessages;
    TVexaSector *FSector = nullptr;
    QString FFolder;
    bool FImported = false, FReplaced = false;
};

} // namespace kalvion::app
