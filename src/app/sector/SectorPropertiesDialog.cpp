#include "app/sector/SectorPropertiesDialog.h"

#include "app/DialogValues.h"
#include "base/Rounding.h"
#include "model/BodyTypes.h"
#include "model/VexaSector.h"
#include "ui_SectorPropertiesDialog.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace kalvion::app {

namespace {

constexpr double PARSEC_LY = 3.2616;
constexpr std::array<double, 7> GRID_TICKS = {1, 2, 5, 10, 15, 30, 45};
const std::array<const char *, 3> BACKGROUND_NAMES = {BACKGROUNDRESOURCE_SECTOR, BACKGROUNDRESOURCE_PREVIEW,
                                                      BACKGROUNDRESOURCE_ORBITAL};
constexpr const char *RW_SAVE_PATH = "RWSavePath";

enum TFieldColumn { COL_CAPTION, COL_SOURCE, COL_FIELD, COL_HIDE, FIELD_COLUMNS };

QString Shown(double ly, bool parsecs)
{
    return TextFromNumber(parsecs ? RoundDecimalPlaces(3, ly / PARSEC_LY) : ly);
}

// Selects the entry of a number list that holds the value; a value not
// offered is added, so that opening and confirming keeps it.
void SelectNumber(QComboBox *combo, double value)
{
    combo->clear();
    for (double tick : GRID_TICKS)
        combo->addItem(TextFromNumber(tick));
    const QString text = TextFromNumber(value);
    int index = combo->findText(text);
    if (index < 0) {
        combo->addItem(text);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
}

} // namespace

TfrmSectorProperties::TfrmSectorProperties(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSectorProperties>()), FMessages(messages)
{
    ui->setupUi(this);
    ui->cmbFont->addItems(QFontDatabase::families());

    ui->tblFields->setColumnCount(FIELD_COLUMNS);
    ui->tblFields->setHorizontalHeaderLabels({QStringLiteral("Caption"), QStringLiteral("Source"),
                                              QStringLiteral("Field"), QStringLiteral("Hide If Empty")});
    ui->tblFields->horizontalHeader()->setStretchLastSection(true);
    for (int code : AllBodyTypeCodes())
        if (code >= 0 && code < SYSTEMDATACONFIG_HOLDER_COUNT)
            ui->cmbFieldType->addItem(
                QStringLiteral("%1 - %2").arg(code).arg(QString::fromStdString(NameFromBodyType(code))), code);
    ui->tblUserFields->setColumnCount(2);
    ui->tblUserFields->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    ui->tblUserFields->horizontalHeader()->setStretchLastSection(true);

    connect(ui->cmbUnit, &QComboBox::currentIndexChanged, this, [this](int i) { UnitChanged(i); });
    connect(ui->cbSpherical, &QCheckBox::toggled, this, [this] { ShapeChanged(); });
    connect(ui->btnGridColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->btnGridColor); });
    connect(ui->btnRWSavePath, &QPushButton::clicked, this, [this] {
        if (const auto folder = FMessages.FolderName(QStringLiteral("Terrain File Folder"), ui->edRWSavePath->text()))
            ui->edRWSavePath->setText(*folder);
    });
    connect(ui->btnRefreshPolitical, &QPushButton::clicked, this, [this] {
        if (FSector)
            FSector->BuildPoliticalList(true);
    });
    const std::array<std::pair<QPushButton *, QPushButton *>, 3> backs = {
        std::pair{ui->btnBackSectorLoad, ui->btnBackSectorClear},
        std::pair{ui->btnBackPreviewLoad, ui->btnBackPreviewClear},
        std::pair{ui->btnBackOrbitalLoad, ui->btnBackOrbitalClear}};
    for (int i = 0; i < 3; ++i) {
        connect(backs[i].first, &QPushButton::clicked, this, [this, i] { ChooseBackground(i); });
        connect(backs[i].second, &QPushButton::clicked, this, [this, i] { ClearBackground(i); });
    }
    connect(ui->cmbFieldType, &QComboBox::currentIndexChanged, this, [this] {
        StoreFieldTable();
        FillFieldTable();
    });
    connect(ui->btnFieldAdd, &QPushButton::clicked, this, [this] { AddFieldRow(); });
    connect(ui->btnFieldDelete, &QPushButton::clicked, this, [this] { DeleteFieldRow(); });
    connect(ui->btnFieldUp, &QPushButton::clicked, this, [this] { MoveFieldRow(-1); });
    connect(ui->btnFieldDown, &QPushButton::clicked, this, [this] { MoveFieldRow(+1); });
    connect(ui->btnRestoreDefaults, &QPushButton::clicked, this, [this] { RestoreFieldDefaults(); });
    connect(ui->btnUserFieldAdd, &QPushButton::clicked, this,
            [this] { ui->tblUserFields->insertRow(ui->tblUserFields->rowCount()); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSectorProperties::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSectorProperties::reject);
}

TfrmSectorProperties::~TfrmSectorProperties() = default;

void TfrmSectorProperties::Load(TVexaSector &s)
{
    FSector = &s;
    const bool pc = s.UnitStarMeasureName == "Parsecs";
    {
        const QSignalBlocker block(ui->cmbUnit);
        ui->cmbUnit->setCurrentIndex(pc ? 1 : 0);
    }
    FUnitIndex = pc ? 1 : 0;
    ui->cbSpherical->setChecked(s.Spherical);
    ui->edWidth->setText(Shown(s.SizeX, pc));
    ui->edHeight->setText(Shown(s.SizeY, pc));
    ui->edDepth->setText(Shown(s.SizeZ, pc));
    ui->edRadius->setText(Shown(s.SizeX / 2, pc));
    ui->edGridX->setText(Shown(s.GridX, pc));
    ui->edGridY->setText(Shown(s.GridY, pc));
    ui->edGridZ->setText(Shown(s.GridZ, pc));
    ui->cmbFont->setEditText(ShownText(s.BaseFont));
    ui->edEpochYear->setText(QString::number(s.EpochYear));
    ui->edDateFormat->setText(ShownText(s.DateFormat));
    ui->edRWSavePath->setText(ShownText(s.GetField(RW_SAVE_PATH)));
    ui->cmbGridStyle->setCurrentIndex(std::clamp(s.GridStyle, GRID_STYLE_NONE, GRID_STYLE_SPHERE));
    SelectNumber(ui->cmbGridTick, s.GridTick);
    ui->cbGridTickLabels->setChecked(s.GridTickLabels);
    SetPanelColor(ui->btnGridColor, s.GridColor);
    ui->memNotes->setPlainText(ShownText(s.Notes));
    ui->memGMNotes->setPlainText(ShownText(s.GMNotes));
    for (int i = 0; i < 3; ++i) {
        FBackgrounds[i] = {};
        ShowBackground(i, s.FindResource(BACKGROUND_NAMES[i]) >= 0);
    }
    FFields.CopyFrom(s.SystemDataDefaults);
    FShownFieldType = -1;
    FillFieldTable();

    // The terrain folder has a box of its own.
    ui->tblUserFields->setRowCount(0);
    for (const TVexaFieldRec &f : s.Fields) {
        if (f.Name == FieldKey(RW_SAVE_PATH))
            continue;
        const int row = ui->tblUserFields->rowCount();
        ui->tblUserFields->insertRow(row);
        ui->tblUserFields->setItem(row, 0, BytesItem(f.Name));
        ui->tblUserFields->setItem(row, 1, BytesItem(f.Value));
    }
    ui->tblUserFields->insertRow(ui->tblUserFields->rowCount());
    ShapeChanged();
}

void TfrmSectorProperties::ShapeChanged()
{
    const bool sphere = ui->cbSpherical->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{ui->edWidth, ui->edHeight, ui->edDepth, ui->lblWidth,
                                                        ui->lblHeight, ui->lblDepth})
        w->setEnabled(!sphere);
    ui->edRadius->setEnabled(sphere);
    ui->lblRadius->setEnabled(sphere);
}

void TfrmSectorProperties::UnitChanged(int index)
{
    if (index == FUnitIndex)
        return;
    const bool toParsecs = index == 1;
    for (QLineEdit *box : {ui->edWidth, ui->edHeight, ui->edDepth, ui->edRadius, ui->edGridX, ui->edGridY,
                           ui->edGridZ}) {
        const auto v = NumberFromText(box->text());
        if (v)
            box->setText(TextFromNumber(RoundDecimalPlaces(3, toParsecs ? *v / PARSEC_LY : *v * PARSEC_LY)));
    }
    FUnitIndex = index;
}

QString TfrmSectorProperties::Validate() const
{
    const auto w = NumberFromText(ui->edWidth->text());
    const auto h = NumberFromText(ui->edHeight->text());
    const auto d = NumberFromText(ui->edDepth->text());
    const auto r = NumberFromText(ui->edRadius->text());
    if (!w || !h || !d || !r)
        return QStringLiteral("Sector sizes must be numbers");
    const auto gx = NumberFromText(ui->edGridX->text());
    const auto gy = NumberFromText(ui->edGridY->text());
    const auto gz = NumberFromText(ui->edGridZ->text());
    if (!gx || !gy || !gz)
        return QStringLiteral("Grid sizes must be numbers");
    if (!Int64FromText(ui->edEpochYear->text()))
        return QStringLiteral("Epoch year must be an integer");
    if (ui->cmbGridStyle->currentIndex() == GRID_STYLE_CUBE) {
        const bool sphere = ui->cbSpherical->isChecked();
        const double ex = sphere ? 2 * *r : *w, ey = sphere ? 2 * *r : *h, ez = sphere ? 2 * *r : *d;
        // A spacing of 0 or less would make endless grids.
        auto tooMany = [](double extent, double spacing) {
            return !(spacing > 0) || extent / spacing > SECTOR_MAX_GRID_ACROSS;
        };
        if (tooMany(ex, *gx) || tooMany(ey, *gy) || tooMany(ez, *gz))
            return QStringLiteral("Grid settings will create too many grids to display.  Reduce the number of grids "
                                  "across to %1 or lower")
                .arg(SECTOR_MAX_GRID_ACROSS);
    }
    return {};
}

void TfrmSectorProperties::Apply(TVexaSector &s)
{
    const bool pc = ui->cmbUnit->currentIndex() == 1;
    const double ratio = pc ? PARSEC_LY : 1.0;
    auto ly = [&](const QLineEdit *box, double current) {
        const auto v = NumberFromText(box->text());
        return v ? CheckedSectorSize(*v * ratio, current) : current;
    };
    s.Spherical = ui->cbSpherical->isChecked();
    if (s.Spherical) {
        const auto r = NumberFromText(ui->edRadius->text());
        const double size = r ? CheckedSectorSize(2 * *r * ratio, s.SizeX) : s.SizeX;
        s.SizeX = s.SizeY = s.SizeZ = size;
    } else {
        s.SizeX = ly(ui->edWidth, s.SizeX);
        s.SizeY = ly(ui->edHeight, s.SizeY);
        s.SizeZ = ly(ui->edDepth, s.SizeZ);
    }
    s.UnitStarMeasureName = pc ? "Parsecs" : "Light Years";
    s.UpdateUnits();
    s.BaseFont = StoredText(ui->cmbFont->currentText().trimmed(), s.BaseFont);
    s.EpochYear = Int64FromText(ui->edEpochYear->text()).value_or(s.EpochYear);
    s.DateFormat = StoredText(ui->edDateFormat->text(), s.DateFormat);
    s.GridStyle = std::clamp(ui->cmbGridStyle->currentIndex(), GRID_STYLE_NONE, GRID_STYLE_SPHERE);
    s.GridX = ly(ui->edGridX, s.GridX);
    s.GridY = ly(ui->edGridY, s.GridY);
    s.GridZ = ly(ui->edGridZ, s.GridZ);
    s.GridTick = NumberFromText(ui->cmbGridTick->currentText()).value_or(s.GridTick);
    s.GridTickLabels = ui->cbGridTickLabels->isChecked();
    s.GridColor = PanelColor(ui->btnGridColor);
    s.Notes = StoredText(ui->memNotes->toPlainText(), s.Notes);
    s.GMNotes = StoredText(ui->memGMNotes->toPlainText(), s.GMNotes);
    for (int i = 0; i < 3; ++i) {
        const TBackgroundEdit &b = FBackgrounds[i];
        if (b.Change == TBackground::Replace) {
            if (s.ImageResources.AddResourceFileAsName(BACKGROUND_NAMES[i], b.File.toStdString(), true) < 0)
                FMessages.Tell(QStringLiteral("The image file \"%1\" could not be read").arg(b.File),
                               QStringLiteral("Kalvion"), TMsgIcon::Warning);
        } else if (b.Change == TBackground::Clear)
            s.ImageResources.DeleteByName(BACKGROUND_NAMES[i]);
    }
    StoreFieldTable();
    s.SystemDataDefaults.CopyFrom(FFields);

    // The fields are rebuilt from the grid; the terrain folder, which has a
    // box of its own, is put back after them.
    const std::string rwSavePath = StoredText(ui->edRWSavePath->text().trimmed(), s.GetField(RW_SAVE_PATH));
    s.ClearFields();
    for (int row = 0; row < ui->tblUserFields->rowCount(); ++row) {
        const QTableWidgetItem *name = ui->tblUserFields->item(row, 0);
        const QTableWidgetItem *value = ui->tblUserFields->item(row, 1);
        if (name && value && !name->text().trimmed().isEmpty() && !value->text().isEmpty())
            s.SetField(ItemBytes(name), ItemBytes(value));
    }
    s.SetField(RW_SAVE_PATH, rwSavePath);
}

void TfrmSectorProperties::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    if (FSector) {
        Apply(*FSector);
        FSector->Modified = true;
    }
    QDialog::accept();
}

void TfrmSectorProperties::ShowBackground(int which, bool stored)
{
    QLineEdit *boxes[] = {ui->edBackSector, ui->edBackPreview, ui->edBackOrbital};
    const TBackgroundEdit &b = FBackgrounds[which];
    boxes[which]->setText(b.Change == TBackground::Replace ? b.File
                          : stored && b.Change == TBackground::Keep ? QStringLiteral("(stored image)")
                                                                    : QString());
}

void TfrmSectorProperties::ChooseBackground(int which)
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Open Image"), QString::fromLatin1(IMAGE_FILE_FILTER),
                                             FBackgrounds[which].File);
    if (!file)
        return;
    FBackgrounds[which] = {TBackground::Replace, *file};
    ShowBackground(which, true);
}

void TfrmSectorProperties::ClearBackground(int which)
{
    FBackgrounds[which] = {TBackground::Clear, QString()};
    ShowBackground(which, false);
}

int TfrmSectorProperties::FieldType() const { return ui->cmbFieldType->currentData().toInt(); }

void TfrmSectorProperties::FillFieldTable()
{
    std::vector<std::string> sources;
    SystemDataGetSourceTypeList(sources);
    FShownFieldType = FieldType();
    QTableWidget *t = ui->tblFields;
    t->setRowCount(0);
    const TSystemDataConfig *config = FFields.GetConfigForType(FShownFieldType);
    if (!config)
        return;
    for (const TSystemDataRec &rec : config->Records) {
        const int row = t->rowCount();
        t->insertRow(row);
        t->setItem(row, COL_CAPTION, BytesItem(rec.DisplayText));
        auto *source = new QComboBox(t);
        for (const std::string &s : sources)
            source->addItem(QString::fromStdString(s));
        if (source->findText(QString::fromStdString(rec.Source)) < 0)
            source->addItem(QString::fromStdString(rec.Source));
        source->setCurrentText(QString::fromStdString(rec.Source));
        t->setCellWidget(row, COL_SOURCE, source);
        t->setItem(row, COL_FIELD, BytesItem(rec.Field));
        auto *hide = new QTableWidgetItem();
        hide->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        hide->setCheckState(rec.HideIfEmpty ? Qt::Checked : Qt::Unchecked);
        t->setItem(row, COL_HIDE, hide);
    }
}

void TfrmSectorProperties::StoreFieldTable()
{
    if (FShownFieldType < 0)
        return;
    const QTableWidget *t = ui->tblFields;
    TSystemDataConfig *config = FFields.GetConfigForType(FShownFieldType);
    if (!config) {
        if (t->rowCount() == 0)
            return;
        auto made = TSystemDataConfig::CreateSystemDataConfig();
        made->TypeID = FShownFieldType;
        config = made.get();
        FFields.SetConfigForType(std::move(made), FShownFieldType);
    }
    config->Clear();
    for (int row = 0; row < t->rowCount(); ++row) {
        TSystemDataRec rec;
        rec.DisplayText = ItemBytes(t->item(row, COL_CAPTION));
        if (const auto *source = qobject_cast<const QComboBox *>(t->cellWidget(row, COL_SOURCE)))
            rec.Source = source->currentText().toStdString();
        rec.Field = ItemBytes(t->item(row, COL_FIELD));
        rec.HideIfEmpty = t->item(row, COL_HIDE) && t->item(row, COL_HIDE)->checkState() == Qt::Checked;
        config->Records.push_back(std::move(rec));
    }
}

void TfrmSectorProperties::AddFieldRow()
{
    StoreFieldTable();
    const int type = FieldType();
    if (!FFields.GetConfigForType(type)) {
        auto made = TSystemDataConfig::CreateSystemDataConfig();
        made->TypeID = type;
        FFields.SetConfigForType(std::move(made), type);
    }
    FFields.GetConfigForType(type)->Records.push_back({"New Field", "", "", false});
    FillFieldTable();
    ui->tblFields->setCurrentCell(ui->tblFields->rowCount() - 1, COL_CAPTION);
}

void TfrmSectorProperties::DeleteFieldRow()
{
    const int row = ui->tblFields->currentRow();
    StoreFieldTable();
    TSystemDataConfig *config = FFields.GetConfigForType(FieldType());
    if (!config || row < 0 || row >= config->Count())
        return;
    config->Records.erase(config->Records.begin() + row);
    FillFieldTable();
    ui->tblFields->setCurrentCell(std::min(row, ui->tblFields->rowCount() - 1), COL_CAPTION);
}

void TfrmSectorProperties::MoveFieldRow(int direction)
{
    const int row = ui->tblFields->currentRow();
    StoreFieldTable();
    TSystemDataConfig *config = FFields.GetConfigForType(FieldType());
    if (!config || row < 0)
        return;
    config->MoveUpDown(row, direction);
    FillFieldTable();
    ui->tblFields->setCurrentCell(std::clamp(row + direction, 0, ui->tblFields->rowCount() - 1), COL_CAPTION);
}

void TfrmSectorProperties::RestoreFieldDefaults()
{
    if (FMessages.Ask(QStringLiteral("Reset to default field settings?"), QStringLiteral("Restore Defaults?"),
                      TMsgButtons::YesNo, TMsgIcon::Question) != TMsgAnswer::Yes)
        return;
    SetDefaultSystemDataConfig(FFields);
    FillFieldTable();
}

} // namespace kalvion::app
