#include "app/pictures/MapOptionsBox.h"

#include "app/DialogValues.h"
#include "graphics/RenderSectorNG.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "ui_MapOptionsBox.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace kalvion::app {

TMapOptionsBox::TMapOptionsBox(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::TMapOptionsBox>())
{
    ui->setupUi(this);
    const std::pair<QLabel *, int> samples[] = {{ui->imgBlackWhite, MAP_MODE_BLACKWHITE},
                                                {ui->imgColorWhite, MAP_MODE_COLOR_WHITE},
                                                {ui->imgColorBlack, MAP_MODE_COLOR_BLACK}};
    for (const auto &[label, mode] : samples)
        label->setPixmap(MapSamplePicture(mode, 72, 40));
    connect(ui->rbColorBlack, &QRadioButton::toggled, this, [this] { ColourChanged(); });
    connect(ui->cmbPlane, &QComboBox::currentIndexChanged, this, [this] { emit PlaneChanged(); });
    SetSelection(QString(), QStringLiteral("Light Years"));
}

TMapOptionsBox::~TMapOptionsBox() = default;

void TMapOptionsBox::ColourChanged() { ui->lblInk->setVisible(ui->rbColorBlack->isChecked()); }

void TMapOptionsBox::SetVerb(const QString &verb)
{
    FVerb = verb;
    ui->grpArea->setTitle(verb + QStringLiteral(" Area"));
    ui->rbEntire->setText(verb + QStringLiteral(" Entire Sector Map"));
}

void TMapOptionsBox::SetSelection(const QString &systemName, const QString &unitName)
{
    const bool any = !systemName.isEmpty();
    ui->rbDistance->setText(FVerb + QStringLiteral(" only those stars within a specific distance of ") +
                            (any ? systemName : QStringLiteral("(unnamed)")));
    ui->rbDistance->setEnabled(any);
    if (!any)
        ui->rbEntire->setChecked(true);
    ui->lblUnit->setText(unitName);
}

TMapOptions TMapOptionsBox::Options() const
{
    TMapOptions o;
    o.ColourMode = ui->rbColorBlack->isChecked()   ? MAP_MODE_COLOR_BLACK
                   : ui->rbColorWhite->isChecked() ? MAP_MODE_COLOR_WHITE
                                                   : MAP_MODE_BLACKWHITE;
    o.Plane = std::max(ui->cmbPlane->currentIndex(), 0);
    o.LabelFactor = ui->sldFont->value() / 10.0;
    o.SystemFactor = ui->sldSystem->value() / 10.0;
    o.ShowGrid = ui->chkGrid->isChecked();
    o.ScaleByDepth = ui->chkScale->isChecked();
    o.ShowRoutes = ui->chkRoutes->isChecked();
    return o;
}

bool TMapOptionsBox::SubmapChosen() const { return ui->rbDistance->isEnabled() && ui->rbDistance->isChecked(); }

QString TMapOptionsBox::ValidateDistance() const
{
    if (!SubmapChosen())
        return {};
    const auto d = NumberFromText(ui->edDistance->text());
    if (!d || !std::isfinite(*d))
        return QStringLiteral("Distance Limit must be a number");
    if (!(*d > 0))
        return QStringLiteral("Distance must be greater than 0");
    return {};
}

TMapArea TMapOptionsBox::Area() const
{
    TMapArea a;
    a.Submap = SubmapChosen();
    a.Distance = NumberFromText(ui->edDistance->text()).value_or(0);
    a.Shape = ui->rbSphere->isChecked() ? 1 : 0;
    return a;
}

QPixmap MapSamplePicture(int colourMode, int width, int height)
{
    // Three systems and a route in the mode's colours, drawn by the map
    // renderer itself so the sample is what the map will look like.
    auto sector = TVexaSector::Create();
    sector->SizeX = 9;
    sector->SizeY = 5;
    sector->SizeZ = 5;
    const struct {
        double X, Y, Z;
        TColor Colour;
    } stars[] = {{-2.5, 1, 2, ColorRGB(255, 230, 120)}, {0.5, -1, -1, ColorRGB(255, 120, 80)},
                 {3, 1.2, 0, ColorRGB(140, 180, 255)}};
    for (const auto &s : stars) {
        auto body = TStellarBody::Create();
        body->TypeID = 1;
        body->X = s.X;
        body->Y = s.Y;
        body->Z = s.Z;
        body->Color = s.Colour;
        sector->AddSystem(std::move(body));
    }
    // Drawn three times larger and shrunk, so the frame and grid keep the
    // proportions they have on a real map instead of filling the sample.
    constexpr int OVERSIZE = 3;
    TRenderSectorNG r(*sector);
    r.ColorMode = colourMode;
    r.ShowLabels = false;
    r.ScaleByDepth = true;
    r.SystemFactor = 4;
    r.PageWidth = width * OVERSIZE;
    r.PageHeight = height * OVERSIZE;
    QImage image(r.PageWidth, r.PageHeight, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(ColorToQRgb(r.BackgroundColour())));
    {
        TZentGraphics g(&image);
        r.Draw(g);
    }
    return QPixmap::fromImage(image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace kalvion::app
