#include "app/edit/GridStylesDialog.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"

#include "ui_GridStylesDialog.h"

namespace kalvion::app {

TfrmGridStyles::TfrmGridStyles(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmGridStyles>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmGridStyles::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmGridStyles::~TfrmGridStyles() = default;

void TfrmGridStyles::Load(const TVexaSector &s)
{
    FRatio = s.UnitStarMeasureRatio > 0 ? s.UnitStarMeasureRatio : 1.0;
    FExtent[0] = s.SizeX;
    FExtent[1] = s.SizeY;
    FExtent[2] = s.SizeZ;
    ui->rbNoGrid->setChecked(s.GridStyle == GRID_STYLE_NONE);
    ui->rbCubeGrid->setChecked(s.GridStyle == GRID_STYLE_CUBE);
    ui->rbSphereGrid->setChecked(s.GridStyle == GRID_STYLE_SPHERE);
    if (s.GridStyle < GRID_STYLE_NONE || s.GridStyle > GRID_STYLE_SPHERE)
        ui->rbNoGrid->setChecked(true);
    ui->edGridX->setText(TextFromNumber(s.GridX / FRatio));
    ui->edGridY->setText(TextFromNumber(s.GridY / FRatio));
    ui->edGridZ->setText(TextFromNumber(s.GridZ / FRatio));
    int tick = 1;
    for (int i = 0; i < ui->cmbRadialTicks->count(); ++i)
        if (NumberFromText(ui->cmbRadialTicks->itemText(i)) == s.GridTick)
            tick = i;
    ui->cmbRadialTicks->setCurrentIndex(tick);
    ui->chkLabelTicks->setChecked(s.GridTickLabels);
}

QString TfrmGridStyles::Validate() const
{
    const auto x = NumberFromText(ui->edGridX->text());
    const auto y = NumberFromText(ui->edGridY->text());
    const auto z = NumberFromText(ui->edGridZ->text());
    if (!x || !y || !z)
        return QString::fromLatin1(GRID_SPACINGS_MESSAGE);
    if (ui->rbCubeGrid->isChecked()) {
        // A spacing of 0 or less, or a tiny one, would make endless grids.
        const auto tooMany = [](double extent, double spacing) {
            return !(spacing > 0) || extent / spacing > SECTOR_MAX_GRID_ACROSS;
        };
        if (tooMany(FExtent[0], *x * FRatio) || tooMany(FExtent[1], *y * FRatio) || tooMany(FExtent[2], *z * FRatio))
            return QStringLiteral("Grid settings will create too many grids to display.  Reduce the number of grids "
                                  "across to %1 or lower")
                .arg(SECTOR_MAX_GRID_ACROSS);
    }
    return QString();
}

void TfrmGridStyles::Apply(TVexaSector &s) const
{
    if (!Validate().isEmpty())
        return;
    s.GridStyle = ui->rbSphereGrid->isChecked() ? GRID_STYLE_SPHERE
                  : ui->rbCubeGrid->isChecked() ? GRID_STYLE_CUBE
                                                : GRID_STYLE_NONE;
    s.GridX = *NumberFromText(ui->edGridX->text()) * FRatio;
    s.GridY = *NumberFromText(ui->edGridY->text()) * FRatio;
    s.GridZ = *NumberFromText(ui->edGridZ->text()) * FRatio;
    s.GridTick = NumberFromText(ui->cmbRadialTicks->currentText()).value_or(s.GridTick);
    s.GridTickLabels = ui->chkLabelTicks->isChecked();
}

void TfrmGridStyles::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
