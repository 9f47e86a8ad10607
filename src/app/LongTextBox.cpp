#include "app/LongTextBox.h"

#include "ui_LongTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace kalvion::app {

namespace {

const QScreen *ScreenOf(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

QStyle::StandardPixmap PixmapOf(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Warning: return QStyle::SP_MessageBoxWarning;
    case QMessageBox::Critical: return QStyle::SP_MessageBoxCritical;
    case QMessageBox::Question: return QStyle::SP_MessageBoxQuestion;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

TfrmLongText::TfrmLongText(const QString &caption, const QString &text, QMessageBox::Icon icon,
                           QDialogButtonBox::StandardButtons buttons, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmLongText>())
{
    ui->setupUi(this);
    setWindowTitle(caption);
    ui->memText->setPlainText(text);
    if (icon == QMessageBox::NoIcon) {
        ui->lblIcon->hide();
    } else {
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        ui->lblIcon->setPixmap(style()->standardIcon(PixmapOf(icon), nullptr, this).pixmap(size, size));
    }
    ui->buttonBox->setStandardButtons(buttons);
    // Object names for the tests and scripts that reach the buttons.
    if (QPushButton *ok = ui->buttonBox->button(QDialogButtonBox::Ok)) {
        ok->setObjectName(QStringLiteral("btnOk"));
        ok->setText(QStringLiteral("OK"));
        ok->setDefault(true);
        ok->setFocus();
    }
    connect(ui->btnCopy, &QPushButton::clicked, this, [this] { CopyText(); });
    connect(ui->buttonBox, &QDialogButtonBox::clicked, this, [this](QAbstractButton *b) {
        FClicked = ui->buttonBox->standardButton(b);
        done(FClicked == QDialogButtonBox::Ok || FClicked == QDialogButtonBox::Yes ? Accepted : Rejected);
    });
    FitTo(ScreenOf(parent));
}

TfrmLongText::~TfrmLongText() = default;

QString TfrmLongText::Text() const { return ui->memText->toPlainText(); }

void TfrmLongText::CopyText() const { QApplication::clipboard()->setText(Text()); }

void TfrmLongText::FitTo(const QScreen *screen)
{
    // Wide enough for the longest line where the screen allows, and most of
    // the screen's height: the text scrolls within it.
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QFontMetrics fm(ui->memText->font());
    int widest = 0;
    for (const QString &line : Text().split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    const int chrome = 80 + (ui->lblIcon->isHidden() ? 0 : ui->lblIcon->sizeHint().width());
    const int width = std::clamp(widest + chrome, std::min(420, avail.width() * 9 / 10), avail.width() * 9 / 10);
    const int height = avail.height() * 3 / 4;
    resize(width, height);
    move(avail.x() + (avail.width() - width) / 2, avail.y() + (avail.height() - height) / 2);
}

bool TallerThanScreen(QMessageBox &box)
{
    const QScreen *screen = ScreenOf(box.parentWidget());
    if (!screen)
        return false;
    // The frame the window manager adds is not in the size hint: keep room.
    return box.sizeHint().height() > screen->availableGeometry().height() - 60;
}

} // namespace kalvion::app
