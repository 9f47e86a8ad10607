#include "app/sector/SubsectorEditor.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"
#include "ui_SubsectorEditor.h"

#include <QSignalBlocker>

#include <array>

namespace kalvion::app {

namespace {

constexpr std::array<double, 7> RADIAL_TICKS = {1, 2, 5, 10, 15, 30, 45};

// A box the editor takes without checking keeps the value it had when it
// holds no number.
double BoxValue(const QLineEdit *box, double current) { return NumberFromText(box->text()).value_or(current); }

} // namespace

TfrmSubsectors::TfrmSubsectors(TVexaSector &sector, TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSubsectors>()), FSector(sector), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->lbSubsectors, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row == FCurrent)
            return;
        if (!Select(row)) {
            const QSignalBlocker block(ui->lbSubsectors);
            ui->lbSubsectors->setCurrentRow(FCurrent);
        }
    });
    connect(ui->rbSphere, &QRadioButton::toggled, this, [this] { ShapeChanged(); });
    connect(ui->btnColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->btnColor); });
    connect(ui->btnNew, &QPushButton::clicked, this, [this] { NewSubsector(); });
    connect(ui->btnDelete, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(ui->btnDone, &QPushButton::clicked, this, &TfrmSubsectors::accept);
    Refresh();
}

TfrmSubsectors::~TfrmSubsectors() = default;

TVexaSubsector *TfrmSubsectors::Current() const { return FSector.GetSubsector(FCurrent); }

void TfrmSubsectors::Refresh()
{
    {
        const QSignalBlocker block(ui->lbSubsectors);
        ui->lbSubsectors->clear();
        for (const auto &sub : FSector.Subsectors)
            ui->lbSubsectors->addItem(ShownText(sub->Name));
    }
    FCurrent = -1;
    Show(FSector.SubsectorCount() > 0 ? 0 : -1);
}

void TfrmSubsectors::Show(int index)
{
    FCurrent = FSector.GetSubsector(index) ? index : -1;
    {
        const QSignalBlocker block(ui->lbSubsectors);
        ui->lbSubsectors->setCurrentRow(FCurrent);
    }
    const TVexaSubsector *s = Current();
    ui->btnDelete->setEnabled(s != nullptr);
    // Without a subsector there is nothing the boxes could change.
    for (int i = 0; i < ui->propsGrid->count(); ++i)
        if (QWidget *w = ui->propsGrid->itemAt(i)->widget())
            w->setEnabled(s != nullptr);
    if (!s)
        return;
    ui->edName->setText(ShownText(s->Name));
    ui->cbShowLabel->setChecked(s->ShowLabel);
    ui->cbVisible->setChecked(s->Visible);
    SetPanelColor(ui->btnColor, s->Color);
    (s->Shape == VEXA_SUBSECTOR_SPHERE ? ui->rbSphere : ui->rbCube)->setChecked(true);
    ui->edX->setText(TextFromNumber(s->X));
    ui->edY->setText(TextFromNumber(s->Y));
    ui->edZ->setText(TextFromNumber(s->Z));
    ui->edSizeX->setText(TextFromNumber(s->SizeX));
    ui->edSizeY->setText(TextFromNumber(s->SizeY));
    ui->edSizeZ->setText(TextFromNumber(s->SizeZ));
    ui->edRotateX->setText(TextFromNumber(s->RotateX));
    ui->edRotateY->setText(TextFromNumber(s->RotateY));
    ui->edRotateZ->setText(TextFromNumber(s->RotateZ));
    ui->cbShowGrid->setChecked(s->ShowGrid);
    ui->edGridX->setText(TextFromNumber(s->GridX));
    ui->edGridY->setText(TextFromNumber(s->GridY));
    ui->edGridZ->setText(TextFromNumber(s->GridZ));
    // The finest ticks offered for a subsector are 5 degrees.
    const double tick = s->GridTick < 5 ? 5 : s->GridTick;
    ui->cmbGridTick->clear();
    for (double t : RADIAL_TICKS)
        ui->cmbGridTick->addItem(TextFromNumber(t));
    if (ui->cmbGridTick->findText(TextFromNumber(tick)) < 0)
        ui->cmbGridTick->addItem(TextFromNumber(tick));
    ui->cmbGridTick->setCurrentText(TextFromNumber(tick));
    ui->cbTickLabels->setChecked(s->TickLabels);
    ShapeChanged();
}

void TfrmSubsectors::ShapeChanged()
{
    const bool sphere = ui->rbSphere->isChecked();
    ui->lblSizeX->setText(sphere ? QStringLiteral("Radius:") : QStringLiteral("Width (X):"));
    for (QWidget *w : std::initializer_list<QWidget *>{ui->lblSizeY, ui->edSizeY, ui->lblSizeZ, ui->edSizeZ,
                                                        ui->lblGrid, ui->edGridX, ui->edGridY, ui->edGridZ})
        w->setVisible(!sphere);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->lblGridTick, ui->cmbGridTick, ui->lblGridTickUnit,
                                                        ui->lblTickLabels, ui->cbTickLabels})
        w->setVisible(sphere);
}

QString TfrmSubsectors::Validate() const
{
    const std::pair<const QLineEdit *, const char *> boxes[] = {
        {ui->edX, "Subsector X Position"},        {ui->edY, "Subsector Y Position"},
        {ui->edZ, "Subsector Z Position"},        {ui->edSizeX, "Subsector Width (X) Size"},
        {ui->edSizeY, "Subsector Height (Y) Size"}, {ui->edSizeZ, "Subsector Depth (Z) Size"},
    };
    for (const auto &[box, caption] : boxes)
        if (!NumberFromText(box->text()))
            return QString::fromLatin1(caption) + QStringLiteral(" must be a number");
    return {};
}

bool TfrmSubsectors::CheckAndApply()
{
    TVexaSubsector *s = Current();
    if (!s)
        return true;
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return false;
    }
    FSector.Modified = true;
    FSector.ChangeSubsectorName(s, StoredText(ui->edName->text(), s->Name));
    s->ShowLabel = ui->cbShowLabel->isChecked();
    s->Color = PanelColor(ui->btnColor);
    s->Shape = ui->rbSphere->isChecked() ? VEXA_SUBSECTOR_SPHERE : VEXA_SUBSECTOR_RECT;
    s->Visible = ui->cbVisible->isChecked();
    s->X = BoxValue(ui->edX, s->X);
    s->Y = BoxValue(ui->edY, s->Y);
    s->Z = BoxValue(ui->edZ, s->Z);
    s->SizeX = BoxValue(ui->edSizeX, s->SizeX);
    s->SizeY = BoxValue(ui->edSizeY, s->SizeY);
    s->SizeZ = BoxValue(ui->edSizeZ, s->SizeZ);
    s->RotateX = BoxValue(ui->edRotateX, s->RotateX);
    s->RotateY = BoxValue(ui->edRotateY, s->RotateY);
    s->RotateZ = BoxValue(ui->edRotateZ, s->RotateZ);
    s->ShowGrid = ui->cbShowGrid->isChecked();
    s->GridX = BoxValue(ui->edGridX, s->GridX);
    s->GridY = BoxValue(ui->edGridY, s->GridY);
    s->GridZ = BoxValue(ui->edGridZ, s->GridZ);
    s->GridTick = NumberFromText(ui->cmbGridTick->currentText()).value_or(s->GridTick);
    s->TickLabels = ui->cbTickLabels->isChecked();
    s->Modified = true;
    if (QListWidgetItem *item = ui->lbSubsectors->item(FCurrent))
        item->setText(ShownText(s->Name));
    return true;
}

bool TfrmSubsectors::Select(int index)
{
    if (!CheckAndApply())
        return false;
    Show(index);
    return true;
}

bool TfrmSubsectors::NewSubsector()
{
    if (!CheckAndApply())
        return false;
    auto s = TVexaSubsector::Create();
    s->Name = "New Subsector";
    s->ShowLabel = true;
    s->Visible = true;
    s->Color = ColorRGB(0, 0, 255);
    s->Shape = VEXA_SUBSECTOR_RECT;
    s->SizeX = s->SizeY = s->SizeZ = 10.0;
    const int index = FSector.AddSubsector(std::move(s));
    FSector.Modified = true;
    {
        const QSignalBlocker block(ui->lbSubsectors);
        ui->lbSubsectors->addItem(QStringLiteral("New Subsector"));
    }
    Show(index);
    return true;
}

void TfrmSubsectors::DeleteSelected()
{
    if (!Current())
        return;
    const int index = FCurrent;
    FSector.DeleteSubsector(index);
    FSector.Modified = true;
    {
        const QSignalBlocker block(ui->lbSubsectors);
        delete ui->lbSubsectors->takeItem(index);
    }
    FCurrent = -1;
    Show(index > 0 ? index - 1 : 0);
}

void TfrmSubsectors::accept()
{
    if (!CheckAndApply())
        return;
    QDialog::accept();
}

} // namespace kalvion::app
