#include "app/generation/NewSectorDialog.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"
#include "ui_NewSectorDialog.h"

#include <QLabel>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace kalvion::app {

namespace {


int CountIndex(std::int32_t count)
{
    const auto it = std::find(SUBSECTOR_COUNTS.begin(), SUBSECTOR_COUNTS.end(), count);
    return it == SUBSECTOR_COUNTS.end() ? 1 : static_cast<int>(it - SUBSECTOR_COUNTS.begin());
}

std::int32_t CountAt(int index)
{
    return SUBSECTOR_COUNTS[static_cast<std::size_t>(std::clamp(index, 0, int(SUBSECTOR_COUNTS.size()) - 1))];
}

// A slider with the label that shows its value.
void Follow(QSlider *slider, QLabel *value)
{
    QObject::connect(slider, &QSlider::valueChanged, value, [value](int v) { value->setNum(v); });
    value->setNum(slider->value());
}

} // namespace

TfrmNewSector::TfrmNewSector(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmNewSector>()), FMessages(messages)
{
    ui->setupUi(this);
    FFreqSliders = {ui->sldFreqSingleStar, ui->sldFreqMult,        ui->sldFreqBlackHole,   ui->sldFreqFreeObject,
                    ui->sldFreqStation,    ui->sldFreqNeutron,     ui->sldFreqNebula,      ui->sldFreqWhiteDwarf,
                    ui->sldFreqGiantStar,  ui->sldFreqTerrestrial, ui->sldFreqGasGiant,    ui->sldFreqPlanetSystem,
                    ui->sldFreqAsteroidBelt, ui->sldFreqPlanetoid};
    const std::array<QLabel *, FREQ_SLIDER_COUNT> values = {
        ui->lblFreqSingleStarValue, ui->lblFreqMultValue,        ui->lblFreqBlackHoleValue,
        ui->lblFreqFreeObjectValue, ui->lblFreqStationValue,     ui->lblFreqNeutronValue,
        ui->lblFreqNebulaValue,     ui->lblFreqWhiteDwarfValue,  ui->lblFreqGiantStarValue,
        ui->lblFreqTerrestrialValue, ui->lblFreqGasGiantValue,   ui->lblFreqPlanetSystemValue,
        ui->lblFreqAsteroidBeltValue, ui->lblFreqPlanetoidValue};
    for (std::size_t i = 0; i < FFreqSliders.size(); ++i)
        Follow(FFreqSliders[i], values[i]);
    Follow(ui->sldFrequency, ui->lblFrequencyValue);
    Follow(ui->sldTerraforming, ui->lblTerraformingValue);

    for (const std::string &table : NameTableFiles())
        ui->cmbNameTable->addItem(ShownText(table), QByteArray::fromStdString(table));

    connect(ui->cbSpherical, &QCheckBox::toggled, this, [this] { ShapeChanged(); });
    connect(ui->cbSubsectors, &QCheckBox::toggled, this, [this] { SubsectorsChanged(); });
    for (QPushButton *panel : {ui->btnColorLabel, ui->btnColorPopulated, ui->btnColorSubsector})
        connect(panel, &QPushButton::clicked, this, [this, panel] { ChoosePanelColor(FMessages, panel); });
    connect(ui->btnSaveAs, &QPushButton::clicked, this, [this] { ChooseSaveAs(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmNewSector::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmNewSector::reject);

    Load(TNewSectorOptions{});
}

TfrmNewSector::~TfrmNewSector() = default;

void TfrmNewSector::Prepare(TSettingsValues &settings, const TVexaSector &current, const std::string &lastNameTable)
{
    FSettings = &settings;
    std::string table = lastNameTable;
    if (table.empty() && ui->cmbNameTable->count() > 0)
        table = ui->cmbNameTable->itemData(0).toByteArray().toStdString();
    Load(ReadNewSectorOptions(settings, current, table));
}

void TfrmNewSector::SelectNameTable(const std::string &name)
{
    const int index = ui->cmbNameTable->findData(QByteArray::fromStdString(name));
    if (index >= 0) {
        ui->cmbNameTable->setCurrentIndex(index);
    } else if (!name.empty()) {
        // A remembered table that is no longer installed stays the choice
        // until the user picks another, so nothing is lost by opening.
        ui->cmbNameTable->insertItem(0, ShownText(name), QByteArray::fromStdString(name));
        ui->cmbNameTable->setCurrentIndex(0);
    } else {
        ui->cmbNameTable->setCurrentIndex(ui->cmbNameTable->count() > 0 ? 0 : -1);
    }
}

void TfrmNewSector::Load(const TNewSectorOptions &o)
{
    ui->cbSpherical->setChecked(o.Spherical);
    ui->edWidth->setText(TextFromNumber(o.Width));
    ui->edHeight->setText(TextFromNumber(o.Height));
    ui->edDepth->setText(TextFromNumber(o.Depth));
    ui->edRadius->setText(TextFromNumber(o.Radius));
    ui->edTotalSystems->setText(QString::number(o.TotalSystems));
    ui->cmbUnit->setCurrentIndex(o.Unit == "Parsecs" ? 1 : 0);
    ui->cbSubsectors->setChecked(o.Subsectors);
    ui->cmbSubX->setCurrentIndex(CountIndex(o.SubsectorX));
    ui->cmbSubY->setCurrentIndex(CountIndex(o.SubsectorY));
    ui->cmbSubZ->setCurrentIndex(CountIndex(o.SubsectorZ));
    SetPanelColor(ui->btnColorLabel, o.ColorLabel);
    SetPanelColor(ui->btnColorPopulated, o.ColorPopulated);
    SetPanelColor(ui->btnColorSubsector, o.ColorSubsector);
    ui->cbPlacements->setChecked(o.Placements);
    ui->sldFrequency->setValue(o.Frequency);
    (o.Distribution == DISTRIBUTION_CLUSTERED ? ui->rbClustered : ui->rbEven)->setChecked(true);
    (o.SystemData == GENERATE_NONE    ? ui->rbDataNone
     : o.SystemData == GENERATE_STARS ? ui->rbDataStars
                                      : ui->rbDataExtended)
        ->setChecked(true);
    SelectNameTable(o.NameTable);
    ui->cbPopulations->setChecked(o.Populations);
    ui->cbOrganicNaming->setChecked(o.OrganicNaming);
    for (std::size_t i = 0; i < FFreqSliders.size(); ++i)
        FFreqSliders[i]->setValue(o.Freq[i]);
    ui->sldTerraforming->setValue(o.Terraforming);
    ui->edSaveAs->setText(QString::fromStdString(o.SaveAs));
    ShapeChanged();
    SubsectorsChanged();
}

TNewSectorOptions TfrmNewSector::Options() const
{
    TNewSectorOptions o;
    o.Spherical = ui->cbSpherical->isChecked();
    // Boxes that fail the checks keep the defaults; Validate reports them.
    o.Width = NumberFromText(ui->edWidth->text()).value_or(o.Width);
    o.Height = NumberFromText(ui->edHeight->text()).value_or(o.Height);
    o.Depth = NumberFromText(ui->edDepth->text()).value_or(o.Depth);
    o.Radius = NumberFromText(ui->edRadius->text()).value_or(o.Radius);
    o.TotalSystems = std::max<std::int32_t>(0, Int32FromText(ui->edTotalSystems->text()).value_or(0));
    o.Unit = ui->cmbUnit->currentIndex() == 1 ? "Parsecs" : "Light Years";
    o.Subsectors = ui->cbSubsectors->isChecked();
    o.SubsectorX = CountAt(ui->cmbSubX->currentIndex());
    o.SubsectorY = CountAt(ui->cmbSubY->currentIndex());
    o.SubsectorZ = CountAt(ui->cmbSubZ->currentIndex());
    o.ColorLabel = PanelColor(ui->btnColorLabel);
    o.ColorPopulated = PanelColor(ui->btnColorPopulated);
    o.ColorSubsector = PanelColor(ui->btnColorSubsector);
    o.Placements = ui->cbPlacements->isChecked();
    o.Frequency = ui->sldFrequency->value();
    o.Distribution = ui->rbClustered->isChecked() ? DISTRIBUTION_CLUSTERED : DISTRIBUTION_EVEN;
    o.SystemData = ui->rbDataNone->isChecked()    ? GENERATE_NONE
                   : ui->rbDataStars->isChecked() ? GENERATE_STARS
                                                  : GENERATE_EXTENDED;
    o.NameTable = ui->cmbNameTable->currentData().toByteArray().toStdString();
    o.Populations = ui->cbPopulations->isChecked();
    o.OrganicNaming = ui->cbOrganicNaming->isChecked();
    for (std::size_t i = 0; i < FFreqSliders.size(); ++i)
        o.Freq[i] = FFreqSliders[i]->value();
    o.Terraforming = ui->sldTerraforming->value();
    o.SaveAs = ui->edSaveAs->text().trimmed().toStdString();
    return o;
}

QString TfrmNewSector::Validate() const
{
    const double ratio = ui->cmbUnit->currentIndex() == 1 ? 3.2616 : 1.0;
    const QString unit = ui->cmbUnit->currentIndex() == 1 ? QStringLiteral("parsecs") : QStringLiteral("light years");
    // A sector of any size in light years up to the drawable limit.
    auto checkSize = [&](const QString &text, const QString &what, double factor) -> QString {
        const auto v = NumberFromText(text);
        if (!v || !(*v > 0))
            return QStringLiteral("The sector %1 must be a number greater than 0").arg(what);
        if (*v * ratio * factor > SECTOR_MAX_SIZE)
            return QStringLiteral("The sector %1 must be at most %2 %3")
                .arg(what, TextFromNumber(SECTOR_MAX_SIZE / ratio / factor), unit);
        return {};
    };
    if (ui->cbSpherical->isChecked()) {
        if (QString m = checkSize(ui->edRadius->text(), QStringLiteral("radius"), 2); !m.isEmpty())
            return m;
    } else {
        if (QString m = checkSize(ui->edWidth->text(), QStringLiteral("width"), 1); !m.isEmpty())
            return m;
        if (QString m = checkSize(ui->edHeight->text(), QStringLiteral("height"), 1); !m.isEmpty())
            return m;
        if (QString m = checkSize(ui->edDepth->text(), QStringLiteral("depth"), 1); !m.isEmpty())
            return m;
    }
    const auto total = Int32FromText(ui->edTotalSystems->text());
    if (!total || *total < 0)
        return QStringLiteral("Total systems must be a whole number of 0 or more");
    return {};
}

void TfrmNewSector::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    if (FSettings)
        WriteNewSectorOptions(*FSettings, Options());
    QDialog::accept();
}

void TfrmNewSector::ChooseSaveAs()
{
    const auto name = FMessages.SaveFileName(QStringLiteral("Save Sector"), QString::fromLatin1(NEW_SECTOR_FILE_FILTER),
                                             ui->edSaveAs->text(), QStringLiteral("VexaDB"));
    if (name)
        ui->edSaveAs->setText(*name);
}

void TfrmNewSector::ShapeChanged()
{
    const bool sphere = ui->cbSpherical->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(ui->edWidth), static_cast<QWidget *>(ui->edHeight),
                       static_cast<QWidget *>(ui->edDepth), static_cast<QWidget *>(ui->lblWidth),
                       static_cast<QWidget *>(ui->lblHeight), static_cast<QWidget *>(ui->lblDepth)})
        w->setEnabled(!sphere);
    ui->edRadius->setEnabled(sphere);
    ui->lblRadius->setEnabled(sphere);
}

void TfrmNewSector::SubsectorsChanged()
{
    const bool on = ui->cbSubsectors->isChecked();
    for (QWidget *w : {ui->cmbSubX, ui->cmbSubY, ui->cmbSubZ})
        w->setEnabled(on);
}

} // namespace kalvion::app
