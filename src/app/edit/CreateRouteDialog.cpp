#include "app/edit/CreateRouteDialog.h"

#include "app/DialogValues.h"
#include "base/SharedRandom.h"
#include "model/StellarRoute.h"
#include "model/VexaSector.h"

#include "ui_CreateRouteDialog.h"

#include <QIcon>
#include <QStringList>
#include <QPainter>

#include <algorithm>
#include <QPixmap>

namespace kalvion::app {

namespace {

// The five line styles drawn as the 3D view draws them.
QIcon LineStyleIcon(Qt::PenStyle style, QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    QPen pen(Qt::black, 2, style);
    p.setPen(pen);
    p.drawLine(2, size.height() / 2, size.width() - 2, size.height() / 2);
    return QIcon(pm);
}

} // namespace

TColor RandomRouteColor()
{
    const int r = 64 + SharedRandomInt(192);
    const int g = 64 + SharedRandomInt(192);
    const int b = 64 + SharedRandomInt(192);
    return ColorRGB(r, g, b);
}

TfrmCreateRoute::TfrmCreateRoute(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmCreateRoute>()), FMessages(messages)
{
    ui->setupUi(this);
    const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    for (Qt::PenStyle s : styles)
        ui->cmbLineStyle->addItem(LineStyleIcon(s, ui->cmbLineStyle->iconSize()), QString());
    ui->cmbLineStyle->setCurrentIndex(0);
    ui->cmbLineWidth->setCurrentIndex(1);
    SetPanelColor(ui->pnlColor, ColorRGB(255, 255, 255));
    connect(ui->btnRandomColor, &QPushButton::clicked, this, [this] { SetColor(RandomRouteColor()); });
    connect(ui->btnSelectColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
    connect(ui->pnlColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmCreateRoute::~TfrmCreateRoute() = default;

QString JoinedSystemsText(const TVexaSector &sector)
{
    // Enough names to recognise the route; the rest would only make the
    // window grow.
    constexpr int SHOWN_AT_EACH_END = 4;
    const int n = sector.SelectedCount();
    if (n < 2)
        return QStringLiteral("(select two or more systems)");
    const auto name = [&](int i) { return ShownText(sector.GetSelected(i)->Name); };
    QStringList names;
    if (n <= 2 * SHOWN_AT_EACH_END) {
        for (int i = 0; i < n; ++i)
            names << name(i);
        return names.join(QStringLiteral(" - "));
    }
    for (int i = 0; i < SHOWN_AT_EACH_END; ++i)
        names << name(i);
    names << QStringLiteral("...");
    for (int i = n - SHOWN_AT_EACH_END; i < n; ++i)
        names << name(i);
    return names.join(QStringLiteral(" - ")) + QStringLiteral(" (") + QString::number(n) +
           QStringLiteral(" systems)");
}

QString TfrmCreateRoute::JoinedSystemsText() const { return ui->lblJoinedSystems->text(); }

void TfrmCreateRoute::Load(const TVexaSector &sector)
{
    ui->lblJoinedSystems->setText(kalvion::app::JoinedSystemsText(sector));
    const QString typed = ui->cmbRouteType->currentText();
    ui->cmbRouteType->clear();
    for (const auto &t : sector.RouteTypeList)
        if (!t.Name.empty())
            ui->cmbRouteType->addItem(ShownText(t.Name));
    ui->cmbRouteType->setEditText(typed);
}

TColor TfrmCreateRoute::Color() const { return PanelColor(ui->pnlColor); }
void TfrmCreateRoute::SetColor(TColor colour) { SetPanelColor(ui->pnlColor, colour); }
std::string TfrmCreateRoute::RouteName() const { return StoredText(ui->edRouteName->text(), std::string()); }
std::string TfrmCreateRoute::RouteType() const
{
    return StoredText(ui->cmbRouteType->currentText().trimmed(), std::string());
}
int TfrmCreateRoute::LineStyle() const { return std::max(0, ui->cmbLineStyle->currentIndex()); }

double TfrmCreateRoute::LineWidth() const
{
    return NumberFromText(ui->cmbLineWidth->currentText()).value_or(1.0);
}

TStellarRoute *TfrmCreateRoute::Apply(TVexaSector &sector) const
{
    const TColor c = Color();
    return sector.CreateRouteSelected(RouteType(), RouteName(), ColorRed(c) / 255.0, ColorGreen(c) / 255.0,
                                      ColorBlue(c) / 255.0, LineStyle(), LineWidth());
}

} // namespace kalvion::app
