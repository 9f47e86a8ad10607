#include "app/pictures/SectorExportDialog.h"

#include "app/DialogValues.h"
#include "app/FileFilters.h"
#include "ui_SectorExportDialog.h"

#include <algorithm>
#include <cmath>

namespace kalvion::app {

TfrmSectorExport::TfrmSectorExport(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSectorExport>()), FMessages(messages)
{
    ui->setupUi(this);
    ui->boxMap->SetVerb(QStringLiteral("Export"));
    connect(ui->edWidth, &QLineEdit::textChanged, this, [this] { UpdateHeight(); });
    connect(ui->boxMap, &TMapOptionsBox::PlaneChanged, this, [this] { UpdateHeight(); });
    connect(ui->btnBrowse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSectorExport::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSectorExport::reject);
    UpdateHeight();
}

TfrmSectorExport::~TfrmSectorExport() = default;

TMapOptionsBox &TfrmSectorExport::MapBox() { return *ui->boxMap; }

void TfrmSectorExport::Load(const double extents[3][2], const QString &selectedName, const QString &unitName,
                            const QString &folder)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            FExtents[i][j] = extents[i][j];
    FFolder = folder;
    ui->boxMap->SetSelection(selectedName, unitName);
    UpdateHeight();
}

void TfrmSectorExport::UpdateHeight()
{
    // Only a whole width changes the shown height; anything else leaves the
    // last one standing until the width is whole again.
    const auto width = Int32FromText(ui->edWidth->text());
    if (!width)
        return;
    const int plane = std::clamp(ui->boxMap->Options().Plane, 0, 2);
    const double w = FExtents[plane][0], h = FExtents[plane][1];
    const double height = w > 0 ? std::trunc(h / w * *width) : 0.0;
    ui->edHeight->setText(std::isfinite(height) ? QString::number(height, 'f', 0) : QString());
}

void TfrmSectorExport::Browse()
{
    const auto file = FMessages.SaveFileName(QStringLiteral("Sector Export"), QString::fromLatin1(IMAGE_FILE_FILTER),
                                             ui->edFileName->text().isEmpty() ? FFolder : ui->edFileName->text(),
                                             QStringLiteral("jpg"));
    if (file)
        ui->edFileName->setText(*file);
}

QString TfrmSectorExport::Validate() const
{
    const auto width = Int32FromText(ui->edWidth->text());
    if (!width || *width <= 0)
        return QStringLiteral("Image Width in Pixels must be a number");
    if (ui->edFileName->text().trimmed().isEmpty())
        return QStringLiteral("File Name Required");
    const QString distance = ui->boxMap->ValidateDistance();
    if (!distance.isEmpty())
        return distance;
    return {};
}

TSectorExportChoice TfrmSectorExport::Choice() const
{
    TSectorExportChoice c;
    c.FileName = ui->edFileName->text().trimmed();
    c.Width = Int32FromText(ui->edWidth->text()).value_or(0);
    c.ShowImage = ui->chkShowImage->isChecked();
    c.Map = ui->boxMap->Options();
    c.Area = ui->boxMap->Area();
    return c;
}

void TfrmSectorExport::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
