#include "app/travel/ProximityRoutesDialog.h"

#include "app/DialogValues.h"
#include "model/VexaSector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kalvion::app {

namespace {

// The choices in the order the dialog lists them, with the style each means.
constexpr std::pair<const char *, int> STYLE_CHOICES[4] = {
    {"Populated Systems Only", PROXIMITY_ROUTES_POP},
    {"Selected Systems Only", PROXIMITY_ROUTES_SEL},
    {"All Visible Systems (not hidden by filters)", PROXIMITY_ROUTES_ALL},
    {"Populated and Selected Systems Only", PROXIMITY_ROUTES_POPSEL},
};

// In the order of the ROUTE_LINE_ codes.
constexpr const char *LINE_STYLE_NAMES[] = {"Solid", "Dash", "Short Dash", "Long Short", "Long Short Short"};
constexpr const char *LINE_WIDTHS[] = {"0.5", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

constexpr const char *MSG_NOT_A_NUMBER = "Distances and Max Routes must be a number";

} // namespace

TfrmProximityRoutes::TfrmProximityRoutes(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), FMessages(messages)
{
    setObjectName(QStringLiteral("frmProximityRoutes"));
    setWindowTitle(QStringLiteral("Create Proximity Routes"));

    auto *criteria = new QGroupBox(QStringLiteral("Criteria"));
    auto *criteriaLayout = new QVBoxLayout(criteria);
    criteriaLayout->addWidget(new QLabel(QStringLiteral("Create Proximity Routes between:")));
    for (int i = 0; i < 4; ++i) {
        FStyles[i] = new QRadioButton(QString::fromLatin1(STYLE_CHOICES[i].first));
        FStyles[i]->setObjectName(QStringLiteral("rbStyle") + QString::number(i));
        criteriaLayout->addWidget(FStyles[i]);
    }
    FStyles[0]->setChecked(true);
    auto *numbers = new QFormLayout;
    FMaxLength = new QLineEdit(QStringLiteral("10"));
    FMaxLength->setObjectName(QStringLiteral("edMaxLength"));
    FMinLength = new QLineEdit(QStringLiteral("0"));
    FMinLength->setObjectName(QStringLiteral("edMinLength"));
    FMaxRoutes = new QLineEdit(QStringLiteral("2"));
    FMaxRoutes->setObjectName(QStringLiteral("edMaxRoutes"));
    numbers->addRow(QStringLiteral("Max Route Length:"), FMaxLength);
    numbers->addRow(QStringLiteral("Min Route Length:"), FMinLength);
    numbers->addRow(QStringLiteral("Max Routes per System:"), FMaxRoutes);
    criteriaLayout->addLayout(numbers);

    auto *display = new QGroupBox(QStringLiteral("Display"));
    auto *form = new QFormLayout(display);
    FLabel = new QLineEdit;
    FLabel->setObjectName(QStringLiteral("edLabel"));
    form->addRow(QStringLiteral("Route Label:"), FLabel);
    FColor = new QPushButton;
    FColor->setObjectName(QStringLiteral("pnlColor"));
    FColor->setFixedWidth(48);
    SetPanelColor(FColor, ColorRGB(255, 255, 255));
    auto *choose = new QPushButton(QStringLiteral("Select Color"));
    choose->setObjectName(QStringLiteral("btnSelectColor"));
    choose->setAutoDefault(false);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(FColor);
    colorRow->addWidget(choose);
    colorRow->addStretch();
    form->addRow(QStringLiteral("Route Color:"), colorRow);
    FRandom = new QCheckBox;
    FRandom->setObjectName(QStringLiteral("chkRandomColor"));
    form->addRow(QStringLiteral("Random Color:"), FRandom);
    FLineStyle = new QComboBox;
    FLineStyle->setObjectName(QStringLiteral("cmbLineStyle"));
    for (const char *name : LINE_STYLE_NAMES)
        FLineStyle->addItem(QString::fromLatin1(name));
    form->addRow(QStringLiteral("Line Style:"), FLineStyle);
    FLineWidth = new QComboBox;
    FLineWidth->setObjectName(QStringLiteral("cmbLineWidth"));
    for (const char *w : LINE_WIDTHS)
        FLineWidth->addItem(QString::fromLatin1(w));
    FLineWidth->setCurrentIndex(1);
    form->addRow(QStringLiteral("Line Width:"), FLineWidth);
    FRouteType = new QComboBox;
    FRouteType->setObjectName(QStringLiteral("cmbRouteType"));
    FRouteType->setEditable(true);
    form->addRow(QStringLiteral("Route Type:"), FRouteType);

    auto *ok = new QPushButton(QStringLiteral("&Ok"));
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(criteria);
    layout->addWidget(display);
    layout->addLayout(buttons);

    connect(FColor, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, FColor); });
    connect(choose, &QPushButton::clicked, this, [this] { ChoosePanelColor(FMessages, FColor); });
    connect(ok, &QPushButton::clicked, this, &TfrmProximityRoutes::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmProximityRoutes::reject);
}

void TfrmProximityRoutes::Load(const TVexaSector &sector)
{
    const QString typed = FRouteType->currentText();
    FRouteType->clear();
    for (const TStellarRouteType &t : sector.RouteTypeList)
        if (!t.Name.empty())
            FRouteType->addItem(ShownText(t.Name));
    FRouteType->setEditText(typed);
}

QString TfrmProximityRoutes::Validate() const
{
    for (const QLineEdit *box : {FMaxLength, FMinLength, FMaxRoutes})
        if (!NumberFromText(box->text()))
            return QString::fromLatin1(MSG_NOT_A_NUMBER);
    return {};
}

TProximityRouteOptions TfrmProximityRoutes::Options() const
{
    TProximityRouteOptions o;
    for (int i = 0; i < 4; ++i)
        if (FStyles[i]->isChecked())
            o.Style = STYLE_CHOICES[i].second;
    o.MaxLength = NumberFromText(FMaxLength->text()).value_or(0);
    o.MinLength = NumberFromText(FMinLength->text()).value_or(0);
    o.MaxRoutes = NumberFromText(FMaxRoutes->text()).value_or(0);
    o.Label = FLabel->text().toStdString();
    o.RouteType = FRouteType->currentText().trimmed().toStdString();
    o.Color = PanelColor(FColor);
    o.RandomColor = FRandom->isChecked();
    o.LineStyle = FLineStyle->currentIndex();
    o.LineWidth = NumberFromText(FLineWidth->currentText()).value_or(1);
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
