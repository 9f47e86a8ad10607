#include "app/travel/ProximityRoutesDialog.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"
#include "ui_ProximityRoutesDialog.h"

namespace kalvion::app {

namespace {

// The style each choice means, in the order the dialog lists them (the line
// styles are listed in the order of the ROUTE_LINE_ codes).
constexpr int STYLE_OF_CHOICE[4] = {PROXIMITY_ROUTES_POP, PROXIMITY_ROUTES_SEL, PROXIMITY_ROUTES_ALL,
                                    PROXIMITY_ROUTES_POPSEL};

constexpr const char *MSG_NOT_A_NUMBER = "Distances and Max Routes must be a number";

} // namespace

TfrmProximityRoutes::TfrmProximityRoutes(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmProximityRoutes>()), FMessages(messages)
{
    ui->setupUi(this);
    FStyles[0] = ui->rbStyle0;
    FStyles[1] = ui->rbStyle1;
    FStyles[2] = ui->rbStyle2;
    FStyles[3] = ui->rbStyle3;
    SetPanelColor(ui->pnlColor, ColorRGB(255, 255, 255));
    connect(ui->pnlColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
    connect(ui->btnSelectColor, &QPushButton::clicked, this,
            [this] { ChoosePanelColor(FMessages, ui->pnlColor); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmProximityRoutes::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmProximityRoutes::reject);
}

TfrmProximityRoutes::~TfrmProximityRoutes() = default;

void TfrmProximityRoutes::Load(const TVexaSector &sector)
{
    const QString typed = ui->cmbRouteType->currentText();
    ui->cmbRouteType->clear();
    for (const TStellarRouteType &t : sector.RouteTypeList)
        if (!t.Name.empty())
            ui->cmbRouteType->addItem(ShownText(t.Name));
    ui->cmbRouteType->setEditText(typed);
}

QString TfrmProximityRoutes::Validate() const
{
    for (const QLineEdit *box : {ui->edMaxLength, ui->edMinLength, ui->edMaxRoutes})
        if (!NumberFromText(box->text()))
            return QString::fromLatin1(MSG_NOT_A_NUMBER);
    return {};
}

TProximityRouteOptions TfrmProximityRoutes::Options() const
{
    TProximityRouteOptions o;
    for (int i = 0; i < 4; ++i)
        if (FStyles[i]->isChecked())
            o.Style = STYLE_OF_CHOICE[i];
    o.MaxLength = NumberFromText(ui->edMaxLength->text()).value_or(0);
    o.MinLength = NumberFromText(ui->edMinLength->text()).value_or(0);
    o.MaxRoutes = NumberFromText(ui->edMaxRoutes->text()).value_or(0);
    o.Label = ui->edLabel->text().toStdString();
    o.RouteType = ui->cmbRouteType->currentText().trimmed().toStdString();
    o.Color = PanelColor(ui->pnlColor);
    o.RandomColor = ui->chkRandomColor->isChecked();
    o.LineStyle = ui->cmbLineStyle->currentIndex();
    o.LineWidth = NumberFromText(ui->cmbLineWidth->currentText()).value_or(1);
    return o;
}

void TfrmProximityRoutes::accept()
{
    const QString message = Validate();
    if (!message.isEmpty()) {
        FMessages.Tell(message, QStringLiteral("Kalvion"), TMsgIcon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace kalvion::app
