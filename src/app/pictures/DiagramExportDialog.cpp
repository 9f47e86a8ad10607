#include "app/pictures/DiagramExportDialog.h"

#include "app/DialogValues.h"
#include "app/FileFilters.h"
#include "graphics/RenderOrbitNG.h"
#include "ui_DiagramExportDialog.h"

namespace kalvion::app {

TfrmDiagramExport::TfrmDiagramExport(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmDiagramExport>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnBrowse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmDiagramExport::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmDiagramExport::reject);
}

TfrmDiagramExport::~TfrmDiagramExport() = default;

void TfrmDiagramExport::Load(int children, const QString &folder)
{
    FFolder = folder;
    ui->edOrbits->setText(QString::number(children));
    ui->lblOrbitRange->setText(QStringLiteral("(1 to ") + QString::number(children) + QLatin1Char(')'));
}

void TfrmDiagramExport::Browse()
{
    const auto file = FMessages.SaveFileName(QStringLiteral("Export 2D System Diagram"),
                                             QString::fromLatin1(IMAGE_FILE_FILTER),
                                             ui->edFileName->text().isEmpty() ? FFolder : ui->edFileName->text(),
                                             QStringLiteral("jpg"));
    if (file)
        ui->edFileName->setText(*file);
}

QString TfrmDiagramExport::Validate() const
{
    return QString::fromStdString(CheckDiagramExportEntries(
        ui->edWidth->text().toStdString(), ui->edHeight->text().toStdString(), ui->edOrbits->text().toStdString(),
        ui->edFileName->text().toStdString()));
}

TDiagramChoice TfrmDiagramExport::Choice() const
{
    TDiagramChoice c;
    c.FileName = ui->edFileName->text().trimmed();
    c.Width = Int32FromText(ui->edWidth->text()).value_or(0);
    c.Height = Int32FromText(ui->edHeight->text()).value_or(0);
    c.Orbits = Int32FromText(ui->edOrbits->text()).value_or(0);
    return c;
}

void TfrmDiagramExport::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
