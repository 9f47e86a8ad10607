#include "app/exchange/DataImportDialog.h"

#include "exchange/VexaImportCSV.h"
#include "ui_DataImportDialog.h"

#include <QApplication>
#include <QStringList>

namespace kalvion::app {

TfrmDataImport::TfrmDataImport(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmDataImport>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnBrowse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(ui->btnImport, &QPushButton::clicked, this, [this] { Import(); });
    connect(ui->btnClose, &QPushButton::clicked, this, &TfrmDataImport::accept);
}

TfrmDataImport::~TfrmDataImport() = default;

void TfrmDataImport::Load(TVexaSector &sector, const QString &folder)
{
    FSector = &sector;
    FFolder = folder;
    FImported = FReplaced = false;
    ui->memMessages->clear();
}

void TfrmDataImport::Browse()
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Data Import"), QString::fromLatin1(CSV_FILE_FILTER),
                                             ui->edFileName->text().isEmpty() ? FFolder : ui->edFileName->text());
    if (file)
        ui->edFileName->setText(*file);
}

void TfrmDataImport::Import()
{
    if (!FSector)
        return;
    const bool replace = ui->rbReplace->isChecked();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<std::string> lines =
        ImportCSVWithReport(*FSector, ui->edFileName->text().trimmed().toStdString(), replace);
    QApplication::restoreOverrideCursor();
    QStringList shown;
    for (const std::string &line : lines)
        shown << QString::fromStdString(line);
    ui->memMessages->setPlainText(shown.join(QLatin1Char('\n')));
    const bool ran = !lines.empty() && !lines[0].starts_with("Import could not be done");
    FImported = FImported || ran;
    FReplaced = FReplaced || (ran && replace);
}

QString TfrmDataImport::Report() const { return ui->memMessages->toPlainText(); }

} // namespace kalvion::app
