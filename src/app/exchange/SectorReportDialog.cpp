#include "app/exchange/SectorReportDialog.h"

#include "base/Paths.h"
#include "exchange/SectorReport.h"
#include "ui_SectorReportDialog.h"

#include <QDir>

namespace kalvion::app {

QString DefaultReportFile()
{
    const QString folder = QString::fromStdString(UserDataFolder()) + QStringLiteral("SectorReports/");
    if (!QDir().mkpath(folder))
        return {};
    return folder + QStringLiteral("vexa.html");
}

TfrmSectorReport::TfrmSectorReport(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSectorReport>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnSelect, &QPushButton::clicked, this, [this] { Select(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSectorReport::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSectorReport::reject);
}

TfrmSectorReport::~TfrmSectorReport() = default;

void TfrmSectorReport::Load(const QString &folder) { FFolder = folder; }

void TfrmSectorReport::Select()
{
    const auto file = FMessages.SaveFileName(QStringLiteral("Sector Report Generation"),
                                             QString::fromLatin1(HTML_FILE_FILTER),
                                             ui->edOutput->text().isEmpty() ? FFolder : ui->edOutput->text(),
                                             QStringLiteral("htm"));
    if (file)
        ui->edOutput->setText(*file);
}

TReportChoice TfrmSectorReport::Choice() const
{
    TReportChoice c;
    c.Style = ui->rbAll->isChecked() ? REPORTSTYLE_ALL
              : ui->rbSelected->isChecked() ? REPORTSTYLE_SELECTED
                                            : REPORTSTYLE_VISIBLE;
    c.SurfaceMaps = ui->chkSurfaceMaps->isChecked();
    c.GMNotes = ui->chkGMNotes->isChecked();
    c.FileName = ui->edOutput->text().trimmed();
    return c;
}

} // namespace kalvion::app
