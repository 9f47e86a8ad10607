#include "app/PreferencesDialog.h"

#include "app/DialogValues.h"
#include "app/plugins/PluginListPanel.h"
#include "ui_PreferencesDialog.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace kalvion::app {

namespace {

int Channel(int high, int low, int y, int height)
{
    return high + static_cast<int>(std::trunc(static_cast<double>(y) / height * (low - high)));
}

} // namespace

TColor GradientRowColor(TColor high, TColor low, int y, int height)
{
    if (height <= 0)
        return high;
    return ColorRGB(Channel(ColorRed(high), ColorRed(low), y, height),
                    Channel(ColorGreen(high), ColorGreen(low), y, height),
                    Channel(ColorBlue(high), ColorBlue(low), y, height));
}

QImage GradientStrip(TColor high, TColor low, int width, int height)
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    for (int y = 1; y <= height; ++y) {
        p.setPen(QColor::fromRgb(ColorToQRgb(GradientRowColor(high, low, y, height))));
        p.drawLine(0, y - 1, width - 1, y - 1);
    }
    return image;
}

TfrmPreferences::TfrmPreferences(TAppMessages &messages, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmPreferences>()), FMessages(messages)
{
    ui->setupUi(this);
    ui->tabs->setCurrentIndex(0);
    FPluginList = new TPluginListPanel(*ui->tblPlugins, *ui->lblPluginDescription, *ui->lblPluginMessages, this);
    for (QPushButton *panel :
         {ui->btnDataBackground, ui->btnDataLabel, ui->btnDataPopulated, ui->btnGexDeepWater, ui->btnGexShallowWater,
          ui->btnGexBeach, ui->btnGexIce, ui->btnGexDesert, ui->btnGexHigh, ui->btnGexLow})
        connect(panel, &QPushButton::clicked, this, [this, panel] { ChooseColour(panel); });
    connect(ui->btnRestoreDefaults, &QPushButton::clicked, this, [this] { RestorePalette(); });
    connect(ui->btnBrowse, &QPushButton::clicked, this, [this] { BrowseTerrainProgram(); });
    connect(ui->btnOk, &QPushButton::clicked, this, &TfrmPreferences::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmPreferences::reject);
}

TfrmPreferences::~TfrmPreferences() = default;

void TfrmPreferences::LoadPlugins(TVexaPluginMgr &plugins) { FPluginList->Load(plugins); }

void TfrmPreferences::Load(const TAppSettings &s)
{
    SetPanelColor(ui->btnDataBackground, s.DataBackgroundColor);
    SetPanelColor(ui->btnDataLabel, s.DataLabelColor);
    SetPanelColor(ui->btnDataPopulated, s.DataPopulatedColor);
    ui->trkAnimation->setValue(static_cast<int>(std::trunc(10 * s.AnimationPerformanceAdjust)));
    ui->cbAutoLock->setChecked(s.AutoLock);
    ui->cbLensFlares->setChecked(s.ShowLensFlares);
    ui->cbPerformanceSkip->setChecked(s.PerformanceSkip);
    ui->cbMultisample->setChecked(s.EnableMultisample);
    ui->cbUseRidgeworks->setChecked(s.TerrainEngine == 2);
    ui->edRWFile->setText(s.RWFilePathAlt);
    ui->cbGenAtmospheres->setChecked(s.GenAtmospheres);
    SetPanelColor(ui->btnGexDeepWater, s.Palette.DeepWater);
    SetPanelColor(ui->btnGexShallowWater, s.Palette.ShallowWater);
    SetPanelColor(ui->btnGexBeach, s.Palette.Beach);
    SetPanelColor(ui->btnGexIce, s.Palette.Ice);
    SetPanelColor(ui->btnGexDesert, s.Palette.Desert);
    SetPanelColor(ui->btnGexHigh, s.Palette.Highland);
    SetPanelColor(ui->btnGexLow, s.Palette.Lowland);
    RepaintGradient();
    ui->trkResolution->setValue(s.SurfaceMapResolution);
    ui->cbAutoUpdates->setChecked(s.DoAutomaticUpdateChecks);
    const int channel = ui->cmbUpdateChannel->findText(s.UpdateChannel);
    ui->cmbUpdateChannel->setCurrentIndex(channel < 0 ? 0 : channel);
    ui->spnRecoveryMinutes->setValue(s.RecoveryMinutes);
    ui->spnUndoLimit->setValue(s.UndoLimit);
}

TPreferencesResult TfrmPreferences::Apply(TAppSettings &s)
{
    TPreferencesResult r;
    const TColor background = PanelColor(ui->btnDataBackground), label = PanelColor(ui->btnDataLabel),
                 populated = PanelColor(ui->btnDataPopulated);
    r.DataColorsChanged =
        background != s.DataBackgroundColor || label != s.DataLabelColor || populated != s.DataPopulatedColor;
    s.DataBackgroundColor = background;
    s.DataLabelColor = label;
    s.DataPopulatedColor = populated;
    r.LensFlaresChanged = ui->cbLensFlares->isChecked() != s.ShowLensFlares;
    s.ShowLensFlares = ui->cbLensFlares->isChecked();
    s.PerformanceSkip = ui->cbPerformanceSkip->isChecked();
    r.MultisampleChanged = ui->cbMultisample->isChecked() != s.EnableMultisample;
    s.EnableMultisample = ui->cbMultisample->isChecked();
    if (r.MultisampleChanged)
        FMessages.Tell(QStringLiteral("You must re-start Kalvion for changes to take effect"),
                       QStringLiteral("Kalvion"), TMsgIcon::Information);
    s.AnimationPerformanceAdjust = ui->trkAnimation->value() / 10.0;
    s.AutoLock = ui->cbAutoLock->isChecked();
    const std::int32_t engine = ui->cbUseRidgeworks->isChecked() ? 2 : 1;
    r.TerrainEngineChanged = engine != s.TerrainEngine || ui->edRWFile->text() != s.RWFilePathAlt;
    s.TerrainEngine = engine;
    s.RWFilePathAlt = ui->edRWFile->text();
    TGexColorGroup palette = s.Palette;
    palette.DeepWater = PanelColor(ui->btnGexDeepWater);
    palette.ShallowWater = PanelColor(ui->btnGexShallowWater);
    palette.Beach = PanelColor(ui->btnGexBeach);
    palette.Ice = PanelColor(ui->btnGexIce);
    palette.Desert = PanelColor(ui->btnGexDesert);
    palette.Highland = PanelColor(ui->btnGexHigh);
    palette.Lowland = PanelColor(ui->btnGexLow);
    r.PaletteChanged = palette.DeepWater != s.Palette.DeepWater || palette.ShallowWater != s.Palette.ShallowWater ||
                       palette.Beach != s.Palette.Beach || palette.Ice != s.Palette.Ice ||
                       palette.Desert != s.Palette.Desert || palette.Highland != s.Palette.Highland ||
                       palette.Lowland != s.Palette.Lowland;
    s.Palette = palette;
    s.GenAtmospheres = ui->cbGenAtmospheres->isChecked();
    r.ResolutionChanged = ui->trkResolution->value() != s.SurfaceMapResolution;
    s.SurfaceMapResolution = ui->trkResolution->value();
    s.DoAutomaticUpdateChecks = ui->cbAutoUpdates->isChecked();
    s.UpdateChannel = ui->cmbUpdateChannel->currentText();
    s.RecoveryMinutes = ui->spnRecoveryMinutes->value();
    s.UndoLimit = ui->spnUndoLimit->value();
    return r;
}

void TfrmPreferences::ChooseColour(QPushButton *panel)
{
    if (ChoosePanelColor(FMessages, panel) && (panel == ui->btnGexHigh || panel == ui->btnGexLow))
        RepaintGradient();
}

void TfrmPreferences::RestorePalette()
{
    const TGexColorGroup d;
    SetPanelColor(ui->btnGexDeepWater, d.DeepWater);
    SetPanelColor(ui->btnGexShallowWater, d.ShallowWater);
    SetPanelColor(ui->btnGexBeach, d.Beach);
    SetPanelColor(ui->btnGexIce, d.Ice);
    SetPanelColor(ui->btnGexDesert, d.Desert);
    SetPanelColor(ui->btnGexHigh, d.Highland);
    SetPanelColor(ui->btnGexLow, d.Lowland);
    RepaintGradient();
}

void TfrmPreferences::RepaintGradient()
{
    const QSize size = ui->imgGradient->minimumSize();
    ui->imgGradient->setPixmap(QPixmap::fromImage(
        GradientStrip(PanelColor(ui->btnGexHigh), PanelColor(ui->btnGexLow), size.width(), size.height())));
}

void TfrmPreferences::BrowseTerrainProgram()
{
    const QString current = ui->edRWFile->text();
    const auto file = FMessages.OpenFileName(QStringLiteral("Ridgeworks Program File"),
                                             QString::fromLatin1(TERRAIN_PROGRAM_FILTER),
                                             current.isEmpty() ? QStringLiteral("RW.exe") : current);
    if (file)
        ui->edRWFile->setText(*file);
}

} // namespace kalvion::app
