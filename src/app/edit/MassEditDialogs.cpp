#include "app/edit/MassEditDialogs.h"

#include "app/DialogValues.h"
#include "base/AsciiText.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include "ui_MassBlazonDialog.h"
#include "ui_MassDeleteRoutesDialog.h"
#include "ui_MassDisplayStyleDialog.h"
#include "ui_MassLabelDistanceDialog.h"
#include "ui_MassPoliticalDialog.h"
#include "ui_MassSphereDialog.h"

#include <QPainter>
#include <algorithm>
#include <QPixmap>

namespace kalvion::app {

namespace {

// The first selected system, or a new body's values where nothing is
// selected.
const TStellarBody &FirstSelectedOrNew(const TVexaSector &sector, std::unique_ptr<TStellarBody> &scratch)
{
    if (sector.SelectedCount() > 0)
        return *sector.GetSelected(0);
    scratch = TStellarBody::Create();
    return *scratch;
}

template <class U>
void WireOkCancel(QDialog *dialog, U *ui)
{
    QObject::connect(ui->btnOk, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(ui->btnCancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

} // namespace

TMassEditDialog::TMassEditDialog(TAppMessages &messages, QWidget *parent) : QDialog(parent), FMessages(messages) {}

void TMassEditDialog::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

// ---- Political Affiliations ----

TfrmMassPolitical::TfrmMassPolitical(TAppMessages &messages, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassPolitical>())
{
    ui->setupUi(this);
    WireOkCancel(this, ui.get());
}

TfrmMassPolitical::~TfrmMassPolitical() = default;

void TfrmMassPolitical::Load(const TVexaSector &sector)
{
    ui->cmbPolitical->clear();
    for (const auto &p : sector.PoliticalList)
        if (!p.Name.empty())
            ui->cmbPolitical->addItem(ShownText(p.Name), QByteArray::fromStdString(p.Name));
    ui->cmbPolitical->setCurrentIndex(ui->cmbPolitical->count() > 0 ? 0 : -1);
}

void TfrmMassPolitical::Apply(TVexaSector &sector) const
{
    // An entry chosen from the list keeps the sector's own bytes.
    const int i = ui->cmbPolitical->currentIndex();
    const QString text = ui->cmbPolitical->currentText();
    const std::string original =
        i >= 0 && ui->cmbPolitical->itemText(i) == text ? ui->cmbPolitical->itemData(i).toByteArray().toStdString()
                                                        : std::string();
    sector.SetPoliticalSelected(StoredText(text, original));
}

// ---- Display Style ----

TfrmMassDisplayStyle::TfrmMassDisplayStyle(TAppMessages &messages, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassDisplayStyle>())
{
    ui->setupUi(this);
    WireOkCancel(this, ui.get());
    QFont bold = ui->btnBold->font();
    bold.setBold(true);
    ui->btnBold->setFont(bold);
    QFont underline = ui->btnUnderline->font();
    underline.setUnderline(true);
    ui->btnUnderline->setFont(underline);
    connect(ui->pnlColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
    connect(ui->pnlLabelColor, &QPushButton::clicked, this,
            [this] { ChoosePanelColor(FMessages, ui->pnlLabelColor); });
}

TfrmMassDisplayStyle::~TfrmMassDisplayStyle() = default;

void TfrmMassDisplayStyle::Load(const TVexaSector &sector)
{
    std::unique_ptr<TStellarBody> scratch;
    const TStellarBody &b = FirstSelectedOrNew(sector, scratch);
    SetPanelColor(ui->pnlColor, b.Color);
    SetPanelColor(ui->pnlLabelColor, b.LabelColor);
    ui->btnBold->setChecked(b.FontStyle == 1 || b.FontStyle == 3);
    ui->btnUnderline->setChecked(b.FontStyle == 2 || b.FontStyle == 3);
}

void TfrmMassDisplayStyle::Apply(TVexaSector &sector) const
{
    sector.SetDisplayStyleSelected(PanelColor(ui->pnlColor), PanelColor(ui->pnlLabelColor),
                                   ui->btnUnderline->isChecked(), ui->btnBold->isChecked());
}

// ---- Label Display Distances ----

TfrmMassLabelDistances::TfrmMassLabelDistances(TAppMessages &messages, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassLabelDistances>())
{
    ui->setupUi(this);
    WireOkCancel(this, ui.get());
}

TfrmMassLabelDistances::~TfrmMassLabelDistances() = default;

void TfrmMassLabelDistances::Load(const TVexaSector &sector)
{
    std::unique_ptr<TStellarBody> scratch;
    const TStellarBody &b = FirstSelectedOrNew(sector, scratch);
    ui->edLabelDistance->setText(TextFromNumber(b.LabelDistance));
    ui->edRouteDistance->setText(TextFromNumber(b.RouteDistance));
}

QString TfrmMassLabelDistances::Validate() const
{
    if (!NumberFromText(ui->edLabelDistance->text()) || !NumberFromText(ui->edRouteDistance->text()))
        return QString::fromLatin1(DISTANCES_MESSAGE);
    return QString();
}

void TfrmMassLabelDistances::Apply(TVexaSector &sector) const
{
    const auto label = NumberFromText(ui->edLabelDistance->text());
    const auto route = NumberFromText(ui->edRouteDistance->text());
    if (label && route)
        sector.SetLabelDistanceSelected(*route, *label);
}

// ---- Blazons ----

QImage FitPictureCentred(const QImage &picture, QSize box)
{
    if (picture.isNull() || box.isEmpty())
        return QImage();
    QImage out(box, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QSize fitted = picture.size().scaled(box, Qt::KeepAspectRatio);
    const QRect target(QPoint((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2), fitted);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, picture);
    return out;
}

TfrmMassBlazons::TfrmMassBlazons(TAppMessages &messages, TVexaSector &sector, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassBlazons>()), FSector(&sector)
{
    ui->setupUi(this);
    ui->imgPreview->setAlignment(Qt::AlignCenter);
    WireOkCancel(this, ui.get());
    connect(ui->btnSelect, &QPushButton::clicked, this, &TfrmMassBlazons::SelectFile);
}

TfrmMassBlazons::~TfrmMassBlazons() = default;

void TfrmMassBlazons::Load(TVexaSector &sector) { FSector = &sector; }

void TfrmMassBlazons::SelectFile()
{
    const auto file = FMessages.OpenFileName(QStringLiteral("Blazon Image File"), QString::fromLatin1(BLAZON_FILTER),
                                             ui->edBlazonFile->text());
    if (file && !file->isEmpty())
        ChooseFile(*file);
}

QImage TfrmMassBlazons::BlazonPicture(const QString &name) const
{
    const std::string key = name.toStdString();
    if (FSector && FSector->FindResource(key) >= 0) {
        TVexaImageResource *r = FSector->ImageResources.GetResourceFromFile(key);
        FSector->DynaLoadResource(r);
        if (r && r->Loaded && !r->Data.empty()) {
            QImage image;
            if (image.loadFromData(r->Data.data(), static_cast<int>(r->Data.size())))
                return image;
        }
    }
    return QImage(name);
}

void TfrmMassBlazons::ChooseFile(const QString &file)
{
    ui->edBlazonFile->setText(file);
    ui->chkDisplayBlazon->setChecked(true);
    FPreview = FitPictureCentred(BlazonPicture(file), ui->imgPreview->size());
    ui->imgPreview->setPixmap(FPreview.isNull() ? QPixmap() : QPixmap::fromImage(FPreview));
}

void TfrmMassBlazons::Apply(TVexaSector &sector) const
{
    sector.SetBlazonSelected(ui->chkDisplayBlazon->isChecked(), ui->chkWrapBlazon->isChecked(),
                             ui->edBlazonFile->text().trimmed().toStdString());
}

// ---- Sphere of Influence ----

TfrmMassSphere::TfrmMassSphere(TAppMessages &messages, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassSphere>())
{
    ui->setupUi(this);
    WireOkCancel(this, ui.get());
    connect(ui->pnlColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
}

TfrmMassSphere::~TfrmMassSphere() = default;

void TfrmMassSphere::Load(const TVexaSector &sector)
{
    std::unique_ptr<TStellarBody> scratch;
    const TStellarBody &b = FirstSelectedOrNew(sector, scratch);
    ui->rbSpherical->setChecked(b.SphereInfluence == 1);
    ui->rbCube->setChecked(b.SphereInfluence == 2);
    ui->rbNoDisplay->setChecked(b.SphereInfluence != 1 && b.SphereInfluence != 2);
    SetPanelColor(ui->pnlColor, b.SphereInfluenceColor);
    ui->edSize->setText(TextFromNumber(b.SphereInfluenceSize));
}

QString TfrmMassSphere::Validate() const
{
    return NumberFromText(ui->edSize->text()) ? QString() : QString::fromLatin1(SPHERE_SIZE_MESSAGE);
}

void TfrmMassSphere::Apply(TVexaSector &sector) const
{
    const auto size = NumberFromText(ui->edSize->text());
    if (!size)
        return;
    const int style = ui->rbSpherical->isChecked() ? 1 : ui->rbCube->isChecked() ? 2 : 0;
    sector.SetSphereStyleSelected(style, PanelColor(ui->pnlColor), *size);
}

// ---- Delete Routes ----

TfrmMassDeleteRoutes::TfrmMassDeleteRoutes(TAppMessages &messages, QWidget *parent)
    : TMassEditDialog(messages, parent), ui(std::make_unique<Ui::TfrmMassDeleteRoutes>())
{
    ui->setupUi(this);
    connect(ui->btnDelete, &QPushButton::clicked, this, &TfrmMassDeleteRoutes::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->chkDeleteAll, &QCheckBox::toggled, this, [this](bool on) { ui->cmbRouteType->setEnabled(!on); });
}

TfrmMassDeleteRoutes::~TfrmMassDeleteRoutes() = default;

void TfrmMassDeleteRoutes::Load(const TVexaSector &sector)
{
    ui->cmbRouteType->clear();
    FTypes.clear();
    ui->cmbRouteType->addItem(QString::fromLatin1(UNASSIGNED_ROUTE_TYPE));
    FTypes.emplace_back();
    for (const auto &t : sector.RouteTypeList) {
        if (t.Name.empty())
            continue;
        ui->cmbRouteType->addItem(ShownText(t.Name));
        FTypes.push_back(t.Name);
    }
    ui->cmbRouteType->setCurrentIndex(ui->cmbRouteType->count() > 1 ? 1 : 0);
    for (const auto &route : sector.Routes) {
        if (!route->Selected)
            continue;
        for (std::size_t i = 0; i < FTypes.size(); ++i)
            if (SameText(FTypes[i], route->RouteType)) {
                ui->cmbRouteType->setCurrentIndex(static_cast<int>(i));
                break;
            }
        break;
    }
}

QString TfrmMassDeleteRoutes::Question() const
{
    if (ui->chkDeleteAll->isChecked())
        return QStringLiteral("Delete all routes?");
    return QStringLiteral("Delete all '") + ui->cmbRouteType->currentText() + QStringLiteral("' routes?");
}

void TfrmMassDeleteRoutes::accept()
{
    if (FMessages.Ask(Question(), QStringLiteral("Delete Routes"), TMsgButtons::YesNo, TMsgIcon::Question) !=
        TMsgAnswer::Yes)
        return;
    QDialog::accept();
}

int TfrmMassDeleteRoutes::Apply(TVexaSector &sector) const
{
    // The route types stay listed (with their visible flags): only routes go.
    const int before = sector.RouteCount();
    if (ui->chkDeleteAll->isChecked()) {
        sector.DeleteAllRoutes();
    } else {
        const int i = ui->cmbRouteType->currentIndex();
        const std::string type = i > 0 && i < static_cast<int>(FTypes.size()) ? FTypes[static_cast<std::size_t>(i)]
                                                                              : std::string();
        sector.DeleteRouteType(type);
    }
    return before - sector.RouteCount();
}

} // namespace kalvion::app
