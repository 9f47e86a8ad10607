#include "app/pictures/PrintSectorDialog.h"

#include "app/DialogValues.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "ui_PrintSectorDialog.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <cmath>

namespace kalvion::app {

namespace {

// Without an installed printer the map still goes somewhere: a PDF file
// the main window asks for.
const char *const PDF_PRINTER = "PDF File";

QPixmap PagePicture(bool portrait)
{
    const int w = portrait ? 22 : 30, h = portrait ? 30 : 22;
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRect page((32 - w) / 2, (32 - h) / 2, w - 1, h - 1);
    p.fillRect(page, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(page);
    p.setPen(QColor(128, 128, 128));
    for (int y = page.top() + 5; y < page.bottom() - 3; y += 4)
        p.drawLine(page.left() + 4, y, page.right() - 4, y);
    return pixmap;
}

} // namespace

const TVexaSector &MapSubject(TVexaSector &sector, const TMapArea &area, std::unique_ptr<TVexaSector> &submap)
{
    if (!area.Submap || sector.SelectedCount() == 0)
        return sector;
    submap = TVexaSector::Create();
    submap->Name = sector.Name;
    submap->UnitStarMeasureName = sector.UnitStarMeasureName;
    submap->UnitStarMeasureAbbrev = sector.UnitStarMeasureAbbrev;
    submap->UnitStarMeasureRatio = sector.UnitStarMeasureRatio;
    // The distance is typed in the sector's unit; the sector keeps light years.
    const double ratio = sector.UnitStarMeasureRatio > 0 ? sector.UnitStarMeasureRatio : 1.0;
    sector.CreateSubmapFromSelected(*submap, area.Distance * ratio, area.Shape);
    return *submap;
}

TPreviewLayout PreviewLayout(const TPrintPage &page, double pagesAcross, int sheets, QSize area)
{
    TPreviewLayout l;
    const int pw = std::max(page.Width, 1), ph = std::max(page.Height, 1);
    l.ThumbWidth = ph > pw ? 64 : 83;
    l.ThumbHeight = static_cast<int>(static_cast<double>(ph) / pw * 64);
    const int g = PREVIEW_GAP;
    const int perRow = pagesAcross > 0 && std::isfinite(pagesAcross)
                           ? std::max(1, static_cast<int>(std::ceil(std::min(pagesAcross, PRINT_MAX_PAGES_ACROSS))))
                           : 1;
    const int wide = (l.ThumbWidth + g) * perRow + 2 * g;
    const int high = (sheets / perRow) * (l.ThumbHeight + g) + 2 * g;
    l.Picture = QSize(std::min(std::max(area.width(), wide), PREVIEW_MAX_SIZE),
                      std::min(std::max(area.height(), high), PREVIEW_MAX_SIZE));
    for (int i = 0; i < sheets; ++i) {
        const int column = i % perRow, row = i / perRow;
        l.Sheets.emplace_back(column * (l.ThumbWidth + g) + g, row * (l.ThumbHeight + g) + g, l.ThumbWidth,
                              l.ThumbHeight);
    }
    return l;
}

QImage PreviewPicture(const TPreviewLayout &layout, const TPrintPage &page, const std::vector<QPicture> &sheets)
{
    QImage image(layout.Picture, QImage::Format_RGB32);
    image.fill(QColor(228, 206, 203));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const double sx = static_cast<double>(layout.ThumbWidth) / std::max(page.Width, 1);
    const double sy = static_cast<double>(layout.ThumbHeight) / std::max(page.Height, 1);
    for (std::size_t i = 0; i < sheets.size() && i < layout.Sheets.size(); ++i) {
        const QRect r = layout.Sheets[i];
        p.fillRect(r.translated(5, 5), QColor(128, 128, 128));
        p.fillRect(r, Qt::white);
        p.save();
        p.setClipRect(r);
        p.translate(r.topLeft());
        p.scale(sx, sy);
        p.drawPicture(0, 0, sheets[i]);
        p.restore();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    return image;
}

TfrmPrintSector::TfrmPrintSector(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmPrintSector>()), FMessages(messages),
      FPrinter(std::make_unique<QPrinter>(QPrinter::ScreenResolution))
{
    ui->setupUi(this);
    ui->boxMap->SetVerb(QStringLiteral("Print"));
    ui->imgPortrait->setPixmap(PagePicture(true));
    ui->imgLandscape->setPixmap(PagePicture(false));
    ui->pnlPreview->setVisible(false);
    FillPrinters();
    FollowPrinter();
    connect(ui->cmbPrinter, &QComboBox::currentTextChanged, this, [this](const QString &n) { PrinterChosen(n); });
    connect(ui->rbPortrait, &QRadioButton::toggled, this, [this] { OrientationChosen(); });
    connect(ui->btnProperties, &QPushButton::clicked, this, [this] { Properties(); });
    connect(ui->edPagesAcross, &QLineEdit::textEdited, this, [this] { ui->rbPagesAcross->setChecked(true); });
    ui->edPagesAcross->installEventFilter(this);
    connect(ui->btnPreview, &QPushButton::clicked, this, [this] { Preview(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmPrintSector::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmPrintSector::reject);
}

TfrmPrintSector::~TfrmPrintSector() = default;

TMapOptionsBox &TfrmPrintSector::MapBox() { return *ui->boxMap; }

bool TfrmPrintSector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->edPagesAcross && event->type() == QEvent::FocusIn)
        ui->rbPagesAcross->setChecked(true);
    return QDialog::eventFilter(watched, event);
}

void TfrmPrintSector::FillPrinters()
{
    const QSignalBlocker block(ui->cmbPrinter);
    ui->cmbPrinter->clear();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    ui->cmbPrinter->addItems(names);
    if (names.isEmpty()) {
        ui->cmbPrinter->addItem(QString::fromLatin1(PDF_PRINTER));
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
        return;
    }
    const QString current = QPrinterInfo::defaultPrinterName();
    const int at = names.indexOf(current);
    ui->cmbPrinter->setCurrentIndex(at >= 0 ? at : 0);
    FPrinter->setPrinterName(ui->cmbPrinter->currentText());
}

void TfrmPrintSector::PrinterChosen(const QString &name)
{
    if (name == QLatin1String(PDF_PRINTER))
        FPrinter->setOutputFormat(QPrinter::PdfFormat);
    else
        FPrinter->setPrinterName(name);
    FollowPrinter();
}

void TfrmPrintSector::OrientationChosen()
{
    FPrinter->setPageOrientation(ui->rbPortrait->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape);
}

void TfrmPrintSector::FollowPrinter()
{
    // Only a printer with a driver has settings of its own: for the file
    // printer the page dialog would open empty, with no way out but closing.
    ui->btnProperties->setEnabled(FPrinter->outputFormat() == QPrinter::NativeFormat);
    const QSignalBlocker a(ui->rbPortrait), b(ui->rbLandscape);
    const bool portrait = FPrinter->pageLayout().orientation() == QPageLayout::Portrait;
    ui->rbPortrait->setChecked(portrait);
    ui->rbLandscape->setChecked(!portrait);
}

void TfrmPrintSector::Properties()
{
    if (FPrinter->outputFormat() != QPrinter::NativeFormat)
        return;
    QPageSetupDialog dialog(FPrinter.get(), this);
    dialog.exec();
    FollowPrinter();
}

void TfrmPrintSector::Load(TVexaSector &sector)
{
    FSector = &sector;
    FChoice.reset();
    const TStellarBody *first = sector.SelectedCount() > 0 ? sector.GetSelected(0) : nullptr;
    ui->boxMap->SetSelection(first ? QString::fromStdString(first->Name) : QString(),
                             QString::fromStdString(sector.UnitStarMeasureName));
}

TPrintPage TfrmPrintSector::Page() const
{
    return TPrintPage{FPrinter->width(), FPrinter->height(), FPrinter->logicalDpiX()};
}

std::optional<TPrintChoice> TfrmPrintSector::ReadSettings(QString *message) const
{
    TPrintChoice c;
    c.Map = ui->boxMap->Options();
    c.Area = ui->boxMap->Area();
    if (ui->rbFitToPage->isChecked()) {
        double w = 0, h = 0;
        if (FSector) {
            std::unique_ptr<TVexaSector> submap;
            const TVexaSector &subject =
                c.Area.Submap && ui->boxMap->ValidateDistance().isEmpty() ? MapSubject(*FSector, c.Area, submap)
                                                                          : *FSector;
            SectorMapExtent(subject, c.Map.Plane, w, h);
        }
        c.PagesAcross = FitToPagePagesAcross(w, h, Page());
    } else {
        const auto n = NumberFromText(ui->edPagesAcross->text());
        if (!n || !std::isfinite(*n)) {
            *message = QStringLiteral("Pages across must be a number");
            return std::nullopt;
        }
        if (*n <= 0 || *n > PRINT_MAX_PAGES_ACROSS) {
            *message = QStringLiteral("Pages across must be greater than 0 and no more than %1")
                           .arg(PRINT_MAX_PAGES_ACROSS);
            return std::nullopt;
        }
        c.PagesAcross = *n;
    }
    *message = ui->boxMap->ValidateDistance();
    if (!message->isEmpty())
        return std::nullopt;
    return c;
}

bool TfrmPrintSector::Preview()
{
    QString message;
    const auto choice = ReadSettings(&message);
    if (!choice) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return false;
    }
    ui->pnlPreview->setVisible(true);
    if (width() < 780) {
        const QPoint centre = geometry().center();
        resize(783, height());
        move(centre.x() - 783 / 2, y());
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<QPicture> sheets;
    const TPrintPage page = Page();
    if (FSector) {
        std::unique_ptr<TVexaSector> submap;
        const TVexaSector &subject = MapSubject(*FSector, choice->Area, submap);
        sheets = PreviewSector(subject, choice->Map, choice->PagesAcross, page);
    }
    FPreviewLayout = PreviewLayout(page, choice->PagesAcross, static_cast<int>(sheets.size()),
                                   ui->scrPreview->viewport()->size());
    FPreview = PreviewPicture(FPreviewLayout, page, sheets);
    ui->imgPreview->setPixmap(QPixmap::fromImage(FPreview));
    ui->imgPreview->resize(FPreview.size());
    QApplication::restoreOverrideCursor();
    return true;
}

void TfrmPrintSector::accept()
{
    QString message;
    FChoice = ReadSettings(&message);
    if (!FChoice) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
