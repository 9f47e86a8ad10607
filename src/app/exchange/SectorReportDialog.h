#pragma once
// "Sector Report Generation": which systems the HTML report holds, its
// extras and where it goes.
#include "app/AppMessages.h"

#include <QDialog>

#include <memory>

namespace Ui { class TfrmSectorReport; }

namespace kalvion::app {

inline constexpr const char *HTML_FILE_FILTER = "HTML Files (*.htm, *.html)|*.htm|All Files (*.*)|*.*";

struct TReportChoice {
    int Style = 3;
    bool SurfaceMaps = true, GMNotes = true;
    // Empty: the default report file below the user's data folder.
    QString FileName;
};

// Where a report without an output file goes (the folder is made when
// missing); empty when it cannot be made.
QString DefaultReportFile();

class TfrmSectorReport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSectorReport(TAppMessages &messages, QWidget *parent = nullptr);
    ~TfrmSectorReport() override;

    void Load(const QString &folder);
    TReportChoice Choice() const;

private:
    void Select();

    std::unique_ptr<Ui::TfrmSectorReport> ui;
    TAppMessages &FMessages;
    QString FFolder;
};

} // namespace kalvion::app
