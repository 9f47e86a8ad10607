#include "app/exchange/SectorMergeDialog.h"

#include "app/DialogValues.h"
#include "app/FileFilters.h"
#include "files/SectorImport.h"
#include "ui_SectorMergeDialog.h"

#include <cmath>

namespace kalvion::app {

namespace {

const char *const CATALOGUE_FILTER = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

} // namespace

TfrmSectorMerge::TfrmSectorMerge(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSectorMerge>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnBrowse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(ui->rbCatalogue, &QRadioButton::toggled, this, [this] { Follow(); });
    connect(ui->rbOffset, &QRadioButton::toggled, this, [this] { Follow(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmSectorMerge::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmSectorMerge::reject);
    Follow();
}

TfrmSectorMerge::~TfrmSectorMerge() = default;

void TfrmSectorMerge::Load(const QString &folder) { FFolder = folder; }

void TfrmSectorMerge::Follow()
{
    // A catalogue brings its own positions and has no shared systems.
    const bool sector = !ui->rbCatalogue->isChecked();
    ui->grpDuplicates->setEnabled(sector);
    ui->grpPlacement->setEnabled(sector);
    for (QWidget *w : {static_cast<QWidget *>(ui->edDX), static_cast<QWidget *>(ui->edDY),
                       static_cast<QWidget *>(ui->edDZ)})
        w->setEnabled(sector && ui->rbOffset->isChecked());
}

void TfrmSectorMerge::Browse()
{
    const bool catalogue = ui->rbCatalogue->isChecked();
    const auto file = FMessages.OpenFileName(
        QStringLiteral("Sector Merging and Updating"),
        QString::fromLatin1(catalogue ? CATALOGUE_FILTER : SECTOR_FILE_FILTER),
        ui->edFileName->text().isEmpty() ? FFolder : ui->edFileName->text());
    if (file)
        ui->edFileName->setText(*file);
}

QString TfrmSectorMerge::Validate() const
{
    if (ui->edFileName->text().trimmed().isEmpty())
        return QStringLiteral("File Name Required");
    if (!ui->rbCatalogue->isChecked() && ui->rbOffset->isChecked())
        for (const QLineEdit *e : {ui->edDX, ui->edDY, ui->edDZ}) {
            const auto v = NumberFromText(e->text());
            if (!v || !std::isfinite(*v))
                return QStringLiteral("The offsets must be numbers");
        }
    return {};
}

TMergeChoice TfrmSectorMerge::Choice() const
{
    TMergeChoice c;
    c.Catalogue = ui->rbCatalogue->isChecked();
    c.FileName = ui->edFileName->text().trimmed();
    c.Mode = ui->rbAllow->isChecked() ? SECTOR_IMPORT_ALLOW
             : ui->rbSkip->isChecked() ? SECTOR_IMPORT_SKIP
                                       : SECTOR_IMPORT_UPDATE;
    const QRadioButton *placements[] = {ui->rbOffset, ui->rbCenter, ui->rbFront, ui->rbBack,
                                        ui->rbLeft,   ui->rbRight,  ui->rbBottom, ui->rbTop};
    for (int i = 0; i < 8; ++i)
        if (placements[i]->isChecked())
            c.Placement = i;
    if (c.Placement == SECTOR_IMPORT_COORDS) {
        c.DX = NumberFromText(ui->edDX->text()).value_or(0);
        c.DY = NumberFromText(ui->edDY->text()).value_or(0);
        c.DZ = NumberFromText(ui->edDZ->text()).value_or(0);
    }
    return c;
}

void TfrmSectorMerge::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
