#include "app/edit/SurfaceMapDialogs.h"

#include "app/DialogValues.h"
#include "app/PreferencesDialog.h"

#include "ui_SurfaceMapChoiceDialog.h"
#include "ui_SurfaceMapOptionsDialog.h"

#include <QPixmap>

namespace kalvion::app {

TfrmSurfaceMapChoice::TfrmSurfaceMapChoice(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSurfaceMapChoice>())
{
    ui->setupUi(this);
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmSurfaceMapChoice::~TfrmSurfaceMapChoice() = default;

void TfrmSurfaceMapChoice::Load() { ui->rbUseExisting->setChecked(true); }

TSurfaceMapAction TfrmSurfaceMapChoice::Action() const
{
    if (ui->rbRegenerate->isChecked())
        return TSurfaceMapAction::Regenerate;
    if (ui->rbRefresh->isChecked())
        return TSurfaceMapAction::Refresh;
    return TSurfaceMapAction::UseExisting;
}

TfrmSurfaceMapOptions::TfrmSurfaceMapOptions(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSurfaceMapOptions>()), FMessages(messages)
{
    ui->setupUi(this);
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton *panel : {ui->btnGexDeepWater, ui->btnGexShallowWater, ui->btnGexBeach, ui->btnGexIce,
                               ui->btnGexDesert, ui->btnGexHigh, ui->btnGexLow, ui->btnAtmosphereColor})
        connect(panel, &QPushButton::clicked, this, [this, panel] {
            if (ChoosePanelColor(FMessages, panel))
                RepaintGradient();
        });
}

TfrmSurfaceMapOptions::~TfrmSurfaceMapOptions() = default;

void TfrmSurfaceMapOptions::Load(const TGexColorGroup &g)
{
    SetPanelColor(ui->btnGexDeepWater, g.DeepWater);
    SetPanelColor(ui->btnGexShallowWater, g.ShallowWater);
    SetPanelColor(ui->btnGexBeach, g.Beach);
    SetPanelColor(ui->btnGexIce, g.Ice);
    SetPanelColor(ui->btnGexDesert, g.Desert);
    SetPanelColor(ui->btnGexHigh, g.Highland);
    SetPanelColor(ui->btnGexLow, g.Lowland);
    SetPanelColor(ui->btnAtmosphereColor, g.AtmosphereColor);
    ui->chkGenAtmospheres->setChecked(g.CloudsEnabled);
    RepaintGradient();
}

TGexColorGroup TfrmSurfaceMapOptions::Palette() const
{
    TGexColorGroup g;
    g.DeepWater = PanelColor(ui->btnGexDeepWater);
    g.ShallowWater = PanelColor(ui->btnGexShallowWater);
    g.Beach = PanelColor(ui->btnGexBeach);
    g.Ice = PanelColor(ui->btnGexIce);
    g.Desert = PanelColor(ui->btnGexDesert);
    g.Highland = PanelColor(ui->btnGexHigh);
    g.Lowland = PanelColor(ui->btnGexLow);
    g.AtmosphereColor = PanelColor(ui->btnAtmosphereColor);
    g.CloudsEnabled = ui->chkGenAtmospheres->isChecked();
    return g;
}

void TfrmSurfaceMapOptions::RepaintGradient()
{
    const QSize size = ui->imgGradient->minimumSize();
    ui->imgGradient->setPixmap(QPixmap::fromImage(GradientStrip(PanelColor(ui->btnGexHigh),
                                                                PanelColor(ui->btnGexLow), size.width(),
                                                                size.height())));
}

} // namespace kalvion::app
