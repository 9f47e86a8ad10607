#include "app/editbody/EditBodyDialog.h"

#include "app/DialogValues.h"
#include "app/ScriptedMessages.h"
#include "app/editbody/DisplayFieldsPage.h"
#include "base/NumberFormat.h"
#include "base/PhysicalFormulas.h"
#include "generation/PlanetTemplates.h"
#include "model/VexaSector.h"
#include "ui_EditBodyDialog.h"

#include <QColor>
#include <QHeaderView>
#include <QResizeEvent>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace kalvion::app {

namespace {

constexpr int GAS_ROWS = 39;

QString Pattern(double value) { return QString::fromStdString(FormatFloat(VEXA_FLOAT_FMT, value)); }
QString Storage(double value) { return QString::fromStdString(VexaFloatStr(value)); }

void FillPolitical(QComboBox *box, const QStringList &list, const std::string &current)
{
    box->clear();
    box->addItems(list);
    box->setEditText(ShownText(current));
}

} // namespace

TfrmEditBody::TfrmEditBody(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmEditBody>()), FMessages(messages)
{
    ui->setupUi(this);
    FFields = std::make_unique<TDisplayFieldsPage>(
        messages, TDisplayFieldsWidgets{ui->chkOverride, ui->treeFields, ui->edFieldText, ui->cbFieldSource,
                                        ui->edFieldField, ui->chkHideIfEmpty, ui->lblSelectHint});
    for (QWidget *page : {ui->tabDefault, ui->tabStar, ui->tabPlanet, ui->tabRing, ui->tabPopulation, ui->tabOrbit,
                          ui->tabComponent, ui->tabPosition, ui->tabModel, ui->tabFields, ui->tabPreview,
                          ui->tabSurfaceMap, ui->tabTerrain, ui->tabNotes, ui->tabGMNotes, ui->tabDisplayFields}) {
        const int index = ui->pcPages->indexOf(page);
        FPageWidgets.emplace_back(static_cast<TEditPage>(FPageWidgets.size()), page);
        FPageTitles.push_back(ui->pcPages->tabText(index));
    }
    ui->gridGases->setHorizontalHeaderLabels({QStringLiteral("Gas"), QStringLiteral("Percent")});
    ui->gridGases->verticalHeader()->hide();
    ui->gridGases->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    ui->gridGases->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->gridGases->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                                   QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    ui->gridCustomFields->setHorizontalHeaderLabels({QStringLiteral("Field Name"), QStringLiteral("Field Value")});
    ui->gridCustomFields->verticalHeader()->hide();
    ui->gridCustomFields->horizontalHeader()->setStretchLastSection(true);
    ui->gridCustomFields->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->gridCustomFields->setSelectionBehavior(QAbstractItemView::SelectItems);
    ConnectControls();
    ui->btnOk->setDefault(true);
    // A UABI is shown whole: 38 characters of a GUID.
    const int guidWidth = fontMetrics().horizontalAdvance(QStringLiteral("{00000000-0000-0000-0000-000000000000}")) + 12;
    for (QLineEdit *uabi : {ui->edDefUabi, ui->edStarUabi, ui->edPlanetUabi, ui->edRingUabi, ui->edPopUabi})
        uabi->setMinimumWidth(guidWidth);
    setMinimumSize(560, 480);
}

TfrmEditBody::~TfrmEditBody() = default;

QWidget *TfrmEditBody::PageWidget(TEditPage page) const
{
    for (const auto &[p, w] : FPageWidgets)
        if (p == page)
            return w;
    return nullptr;
}

void TfrmEditBody::ConnectControls()
{
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmEditBody::accept);
    connect(ui->pcPages, &QTabWidget::currentChanged, this, [this] {
        QTimer::singleShot(0, this, [this] {
            NoteLayout(QStringLiteral("editpage-") + ui->pcPages->currentWidget()->objectName());
        });
    });
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmEditBody::reject);
    connect(ui->edRadius, &QLineEdit::textChanged, this, [this] { UpdatePlanetDerived(); });
    connect(ui->edDensity, &QLineEdit::textChanged, this, [this] { UpdatePlanetDerived(); });
    connect(ui->edAlbedo, &QLineEdit::editingFinished, this, [this] { UpdateEquilibriumTemp(); });
    connect(ui->edDistance, &QLineEdit::editingFinished, this, [this] {
        if (PageShown(TEditPage::Planet))
            UpdateEquilibriumTemp();
    });
    connect(ui->edDistance, &QLineEdit::textChanged, this, [this] { UpdateOrbitalPeriod(); });
    connect(ui->btnClearAtm, &QPushButton::clicked, this, [this] { ClearAtmosphere(); });
    connect(ui->btnEarthlike, &QPushButton::clicked, this, [this] { MakeEarthlike(); });
    connect(ui->btnRandomAtm, &QPushButton::clicked, this, [this] { RandomAtmosphere(); });
    connect(ui->btnCalcRadius, &QPushButton::clicked, this, [this] { CalcFromMass(true); });
    connect(ui->btnCalcLuminosity, &QPushButton::clicked, this, [this] { CalcFromMass(false); });
    connect(ui->btnFromSpectral, &QPushButton::clicked, this, [this] {
        SetPanelColor(ui->btnColor, StarColorFromSpectral(ui->cbSpectral->currentText().toStdString()));
    });
    for (QPushButton *panel : {ui->btnColor, ui->btnLabelColor, ui->btnSphereColor, ui->btnOrbitColor})
        connect(panel, &QPushButton::clicked, this, [this, panel] { ChoosePanelColor(FMessages, panel); });
    connect(ui->sldDso, &QSlider::valueChanged, this, [this] { UpdateDsoLabel(); });
    connect(ui->btnBlazonSelect, &QPushButton::clicked, this,
            [this] { SelectPicture(ui->edBlazonFile, ui->chkBlazonDisplay, ui->lblBlazonPreview, false); });
    connect(ui->btnPreviewSelect, &QPushButton::clicked, this,
            [this] { SelectPicture(ui->edPreviewFile, ui->chkUsePreview, ui->lblPreviewPicture, false); });
    connect(ui->btnSurfaceSelect, &QPushButton::clicked, this, [this] {
        SelectPicture(ui->edSurfaceFile, ui->chkUseSurface, ui->lblSurfacePicture, true);
    });
    connect(ui->lstModels, &QListWidget::currentRowChanged, this, [this] { ShowModelPreview(); });
    connect(ui->btnGexSelect, &QPushButton::clicked, this, [this] { SelectWorldFile(); });
    connect(ui->btnGexClear, &QPushButton::clicked, this, [this] { ClearWorldFile(); });
}

void TfrmEditBody::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // The page area stays 34 pixels narrower than the window, with the
    // buttons under it at fixed distances from the right edge.
    const int w = width(), h = height();
    const int buttonTop = h - 36;
    ui->pcPages->setGeometry(8, 8, w - 34, buttonTop - 16);
    ui->btnOk->setGeometry(w - 187, buttonTop, 75, 25);
    ui->btnCancel->setGeometry(w - 107, buttonTop, 75, 25);
}

TfrmEditBody::TIdentity TfrmEditBody::IdentityOf(TEditPage page) const
{
    switch (page) {
    case TEditPage::Star:
        return {ui->edStarName, ui->edStarUabi, ui->cbStarPolitical};
    case TEditPage::Planet:
        return {ui->edPlanetName, ui->edPlanetUabi, ui->cbPlanetPolitical};
    case TEditPage::Ring:
        return {ui->edRingName, ui->edRingUabi, ui->cbRingPolitical};
    case TEditPage::Population:
        return {ui->edPopName, ui->edPopUabi, ui->cbPopPolitical};
    default:
        return {ui->edDefName, ui->edDefUabi, ui->cbDefPolitical};
    }
}

void TfrmEditBody::Load(TStellarBody &body, TVexaSector &sector, const QStringList &politicalList,
                        const QString &programFolder)
{
    FBody = &body;
    FSector = &sector;
    FProgramFolder = programFolder;
    FWorldFile.clear();
    FTerrainImage = QImage();
    FClearTerrain = false;
    FSurfaceMapPicked = false;
    FModelChanged = false;
    ui->lblSurfacePicture->clear();
    ui->lblTerrainPicture->clear();
    ui->edGexFile->clear();

    FPages = PagesFor(body, sector);
    FTypePage = TypePageFor(body.TypeID);
    ShowPages();
    FillModelList();

    const TIdentity id = IdentityOf(FTypePage);
    id.Name->setText(ShownText(body.Name));
    id.Uabi->setText(QString::fromStdString(body.IDString));
    id.Uabi->setCursorPosition(0);
    FillPolitical(id.Political, politicalList, body.PoliticalAffiliation);
    LoadTypePage();
    if (FPages.Has(TEditPage::Position))
        LoadPosition();
    LoadPictures();
    LoadPlacement();
    ui->memNotes->setPlainText(ShownText(body.Notes));
    ui->memGMNotes->setPlainText(ShownText(body.GMNotes));
    FFields->Load(body, sector);
    LoadCustomFields();
    ui->pcPages->setCurrentWidget(PageWidget(FTypePage));
    id.Name->setFocus();
    id.Name->selectAll();
}

void TfrmEditBody::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { NoteLayout(QStringLiteral("editbody")); });
}

void TfrmEditBody::NoteLayout(const QString &kind)
{
    auto *scripted = dynamic_cast<TScriptedMessages *>(&FMessages);
    if (!scripted || !isVisible())
        return;
    QStringList places;
    const auto centre = [](QWidget *w, QPoint local) {
        const QPoint p = w->mapToGlobal(local);
        return QStringLiteral("%1 %2").arg(p.x()).arg(p.y());
    };
    QTabBar *bar = ui->pcPages->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->isTabVisible(i))
            places << QStringLiteral("tab:") + bar->tabText(i) + QLatin1Char('=') +
                          centre(bar, bar->tabRect(i).center());
    for (QLineEdit *edit : ui->pcPages->currentWidget()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            places << edit->objectName() + QLatin1Char('=') + centre(edit, edit->rect().center());
    places << QStringLiteral("btnOk=") + centre(ui->btnOk, ui->btnOk->rect().center());
    scripted->Note(kind, places.join(QLatin1Char(';')));
}

void TfrmEditBody::ShowPages()
{
    const QString typeName = QString::fromStdString(NameFromBodyType(FBody->TypeID));
    for (std::size_t i = 0; i < FPageWidgets.size(); ++i) {
        const auto &[page, widget] = FPageWidgets[i];
        const int index = ui->pcPages->indexOf(widget);
        const bool typeTitled = page == TEditPage::Default || page == TEditPage::Ring || page == TEditPage::Population;
        ui->pcPages->setTabText(index, typeTitled ? typeName : FPageTitles[i]);
        ui->pcPages->setTabVisible(index, FPages.Has(page));
    }
}

void TfrmEditBody::LoadTypePage()
{
    const TStellarBody &b = *FBody;
    switch (FTypePage) {
    case TEditPage::Default:
        ui->edDefType->setText(QString::fromStdString(NameFromBodyType(b.TypeID)));
        break;
    case TEditPage::Star:
        ui->edStarMass->setText(Storage(b.Mass));
        ui->cbSpectral->setEditText(ShownText(b.Spectral));
        ui->edLuminosity->setText(Storage(b.Luminosity));
        ui->edStarRadius->setText(Storage(b.Radius));
        ui->edStarRotation->setText(Storage(b.Rotation));
        break;
    case TEditPage::Planet:
        LoadPlanetPage();
        break;
    case TEditPage::Ring:
        ui->edWidth->setText(Pattern(b.Radius));
        ui->edRingPopulation->setText(Pattern(b.Population));
        break;
    case TEditPage::Population:
        ui->edPopPopulation->setText(Pattern(b.Population));
        break;
    default:
        break;
    }
}

void TfrmEditBody::LoadPlanetPage()
{
    const TStellarBody &b = *FBody;
    // Filling radius and density runs the derived values.
    ui->edRadius->setText(Pattern(b.Radius));
    ui->edDensity->setText(Pattern(b.Density));
    ui->edAlbedo->setText(Pattern(b.Albedo));
    ui->edTemp->setText(Pattern(b.Temp));
    ui->edPressure->setText(Pattern(b.Atmosphere));
    ui->edWater->setText(Pattern(b.Water * 100));
    ui->edAtmNotes->setText(ShownText(b.AtmosphereNotes));
    ui->edPlanetPopulation->setText(Pattern(b.Population));
    const int hab = b.Habitability >= 0 && b.Habitability <= 3 ? b.Habitability : 0;
    ui->cbHabitability->setCurrentIndex(std::min(hab, ui->cbHabitability->count() - 1));
    UpdatePlanetDerived();
    FillGases(b);
    UpdateEquilibriumTemp();
}

void TfrmEditBody::FillGases(const TStellarBody &from)
{
    ui->gridGases->clearContents();
    const int n = std::min(from.GetAtmElementCount(), GAS_ROWS);
    for (int i = 0; i < n; ++i) {
        ui->gridGases->setItem(i, 0, BytesItem(from.GetAtmElement(i)));
        ui->gridGases->setItem(i, 1, new QTableWidgetItem(TextFromNumber(from.GetAtmElementPercent(i))));
    }
}

void TfrmEditBody::LoadPosition()
{
    const TStellarBody &b = *FBody;
    ui->edPosX->setText(Storage(b.X));
    ui->edPosY->setText(Storage(b.Y));
    ui->edPosZ->setText(Storage(b.Z));
    QRadioButton *sphere[] = {ui->rbSphereNone, ui->rbSphereSpherical, ui->rbSphereCube};
    sphere[std::clamp(b.SphereInfluence, 0, 2)]->setChecked(true);
    SetPanelColor(ui->btnSphereColor, b.SphereInfluenceColor);
    ui->edSphereSize->setText(Storage(b.SphereInfluenceSize));
    SetPanelColor(ui->btnColor, b.Color);
    SetPanelColor(ui->btnLabelColor, b.LabelColor);
    ui->tbBold->setChecked(b.FontStyle == LABEL_FONT_BOLD || b.FontStyle == LABEL_FONT_BOLDUNDERLINE);
    ui->tbUnderline->setChecked(b.FontStyle == LABEL_FONT_UNDERLINE || b.FontStyle == LABEL_FONT_BOLDUNDERLINE);
    const bool dso = b.TypeID == BODY_TYPE_DSO;
    ui->lblDso->setVisible(dso);
    ui->sldDso->setVisible(dso);
    ui->lblDsoPercent->setVisible(dso);
    ui->sldDso->setValue(b.DSOIntensity >= 1 && b.DSOIntensity <= 100 ? b.DSOIntensity : 100);
    UpdateDsoLabel();
    ui->btnFromSpectral->setVisible(b.TypeID == BODY_TYPE_STAR);
    ui->edLabelDistance->setText(Storage(b.LabelDistance));
    ui->edRouteDistance->setText(Storage(b.RouteDistance));
}

void TfrmEditBody::LoadPlacement()
{
    const TStellarBody &b = *FBody;
    if (FPages.Has(TEditPage::Orbit)) {
        ui->edDistance->setText(Pattern(b.Distance));
        ui->edOrbitRotation->setText(Pattern(b.Rotation));
        ui->edEccentricity->setText(Pattern(b.Eccentricity));
        ui->edInclination->setText(Pattern(b.Inclination));
        ui->edAscNode->setText(Pattern(b.AngleAscendingNode));
        ui->edPeriapsis->setText(Pattern(b.AnglePeriapsis));
        ui->edTimeOffset->setText(Pattern(b.TimeOffset));
        ui->edAxialTilt->setText(Pattern(b.AxialTilt));
        ui->chkRetrograde->setChecked(b.RetrogradeOrbit);
        SetPanelColor(ui->btnOrbitColor, b.OrbitColor);
        UpdateOrbitalPeriod();
    }
    if (FPages.Has(TEditPage::Component)) {
        ui->edCompX->setText(Storage(b.X));
        ui->edCompY->setText(Storage(b.Y));
        ui->edCompZ->setText(Storage(b.Z));
        ui->lblCompUnit->setText(ComponentInKm(b) ? QStringLiteral("(In KM)") : QStringLiteral("(In AU)"));
    }
}

void TfrmEditBody::LoadCustomFields()
{
    QTableWidget *grid = ui->gridCustomFields;
    grid->setRowCount(0);
    const TSystemDataConfig *fields = EffectiveDisplayFields(*FBody, *FSector);
    if (!fields)
        return;
    for (const TSystemDataRec &r : fields->Records) {
        if (r.Source != "custom field")
            continue;
        const int row = grid->rowCount();
        grid->insertRow(row);
        QTableWidgetItem *name = BytesItem(r.DisplayText);
        name->setFlags(Qt::ItemIsEnabled);
        name->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        name->setForeground(QColor(0, 0, 139));
        // The field's name travels with the row, as captions may repeat.
        name->setData(Qt::UserRole + 1, QByteArray::fromStdString(r.Field));
        grid->setItem(row, 0, name);
        grid->setItem(row, 1, BytesItem(FBody->GetField(r.Field)));
    }
}

void TfrmEditBody::UpdatePlanetDerived()
{
    if (!FBody)
        return;
    const auto r = NumberFromText(ui->edRadius->text());
    const auto d = NumberFromText(ui->edDensity->text());
    if (!r || !d)
        return;
    const TPlanetDerived v = PlanetDerivedValues(*r, *d, FBody->Rotation);
    ui->lblMassValue->setText(QString::fromStdString(v.Mass));
    ui->lblGravityValue->setText(QString::fromStdString(v.Gravity));
    ui->lblEscapeValue->setText(QString::fromStdString(v.EscapeVelocity));
    ui->lblGeoValue->setText(QString::fromStdString(v.Geostationary));
}

void TfrmEditBody::UpdateEquilibriumTemp()
{
    if (!FBody || !FPages.Has(TEditPage::Planet))
        return;
    const auto distance =
        FPages.Has(TEditPage::Orbit) ? NumberFromText(ui->edDistance->text()) : std::optional<double>();
    ui->lblEquilibriumValue->setText(QString::fromStdString(
        EquilibriumTempText(*FBody, NumberFromText(ui->edAlbedo->text()), distance, &FEquilibriumK)));
}

void TfrmEditBody::UpdateOrbitalPeriod()
{
    if (!FBody || !FPages.Has(TEditPage::Orbit))
        return;
    if (const auto d = NumberFromText(ui->edDistance->text()))
        ui->lblPeriodValue->setText(QString::fromStdString(OrbitalPeriodText(*FBody, *d, FScratch)));
}

void TfrmEditBody::UpdateDsoLabel() { ui->lblDsoPercent->setText(QString::number(ui->sldDso->value()) + '%'); }

void TfrmEditBody::ClearAtmosphere()
{
    ui->edPressure->setText(QStringLiteral("0"));
    ui->edAtmNotes->setText(QStringLiteral("None"));
    ui->gridGases->clearContents();
}

void TfrmEditBody::MakeEarthlike()
{
    TStellarBody air;
    BreathableAir(air);
    FillGases(air);
    ui->edPressure->setText(Pattern(air.Atmosphere));
    ui->edAtmNotes->setText(ShownText(air.AtmosphereNotes));
}

void TfrmEditBody::RandomAtmosphere()
{
    TStellarBody air;
    air.TypeID = FBody->TypeID;
    air.Temp = FEquilibriumK;
    air.Albedo = FBody->Albedo;
    air.Mass = FBody->Mass;
    air.Radius = FBody->Radius;
    air.Density = FBody->Density;
    RegenerateAtmosphere(air);
    FillGases(air);
    ui->edPressure->setText(Pattern(air.Atmosphere));
    ui->edAtmNotes->setText(ShownText(air.AtmosphereNotes));
    ui->edWater->setText(Pattern(air.Water * 100));
    ui->edTemp->setText(Pattern(air.Temp));
}

void TfrmEditBody::CalcFromMass(bool radius)
{
    const auto mass = NumberFromText(ui->edStarMass->text());
    if (!mass)
        return;
    const double value = radius ? StarRadiusFromMass(*mass) : StarLuminosityFromMass(*mass);
    (radius ? ui->edStarRadius : ui->edLuminosity)->setText(QString::fromStdString(FormatFloat("#########0.####", value)));
}

void TfrmEditBody::accept()
{
    const TEditBodyCheck check = Check();
    for (const QString &warning : check.Warnings)
        FMessages.Tell(warning, QStringLiteral("Kalvion"), TMsgIcon::Warning);
    if (!check.Error.isEmpty()) {
        FMessages.Tell(check.Error, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    Apply();
    QDialog::accept();
}

void TfrmEditBody::reject()
{
    // The edited copy of the display fields goes with the next Load.
    QDialog::reject();
}

} // namespace kalvion::app
