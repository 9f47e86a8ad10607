// "Program Preferences": loading, applying, the restart message and the
// palette strip.
#include "DialogTestSupport.h"

#include "app/PreferencesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class PreferencesDialogTest : public DialogTest {
protected:
    TAppSettings Settings;
    TfrmPreferences Dlg{Messages};
};

TEST_F(PreferencesDialogTest, LoadsTheSettingsIntoThePages)
{
    Settings.AnimationPerformanceAdjust = 2.57;
    Settings.TerrainEngine = 2;
    Settings.RWFilePathAlt = "/opt/rw/RW.exe";
    Settings.SurfaceMapResolution = 5;
    Settings.UpdateChannel = "nightly";
    Settings.RecoveryMinutes = 5;
    Settings.UndoLimit = 40;
    Dlg.Load(Settings);
    EXPECT_EQ(Find<QSpinBox>(Dlg, "spnRecoveryMinutes")->value(), 5);
    EXPECT_EQ(Find<QSpinBox>(Dlg, "spnUndoLimit")->value(), 40);
    EXPECT_EQ(Dlg.windowTitle(), "Program Preferences");
    EXPECT_EQ(Find<QTabWidget>(Dlg, "tabs")->tabText(1), "Surface Map Generation");
    EXPECT_EQ(Find<QSlider>(Dlg, "trkAnimation")->value(), 25);
    EXPECT_TRUE(Find<QCheckBox>(Dlg, "cbUseRidgeworks")->isChecked());
    EXPECT_EQ(Find<QLineEdit>(Dlg, "edRWFile")->text(), "/opt/rw/RW.exe");
    EXPECT_EQ(Find<QSlider>(Dlg, "trkResolution")->value(), 5);
    EXPECT_EQ(Find<QComboBox>(Dlg, "cmbUpdateChannel")->currentText(), "release"); // unknown channel
}

TEST_F(PreferencesDialogTest, UnchangedApplyShowsNothingAndKeepsTheValues)
{
    Settings.TerrainEngine = 0;
    Dlg.Load(Settings);
    const TPreferencesResult r = Dlg.Apply(Settings);
    EXPECT_TRUE(Messages.Log().isEmpty());
    EXPECT_FALSE(r.MultisampleChanged);
    EXPECT_FALSE(r.PaletteChanged);
    EXPECT_FALSE(r.LensFlaresChanged);
    EXPECT_EQ(Settings.TerrainEngine, 1); // an unchosen engine becomes the built-in one
    EXPECT_TRUE(r.TerrainEngineChanged);
    EXPECT_EQ(Settings.AnimationPerformanceAdjust, 1.0);
}

TEST_F(PreferencesDialogTest, ApplyWritesEveryControlAndAsksForARestartOnMultisampling)
{
    Dlg.Load(Settings);
    Find<QCheckBox>(Dlg, "cbMultisample")->setChecked(false);
    Find<QCheckBox>(Dlg, "cbLensFlares")->setChecked(false);
    Find<QCheckBox>(Dlg, "cbAutoLock")->setChecked(true);
    Find<QCheckBox>(Dlg, "cbPerformanceSkip")->setChecked(true);
    Find<QCheckBox>(Dlg, "cbGenAtmospheres")->setChecked(false);
    Find<QCheckBox>(Dlg, "cbAutoUpdates")->setChecked(true);
    Find<QComboBox>(Dlg, "cmbUpdateChannel")->setCurrentText("beta");
    Find<QSlider>(Dlg, "trkAnimation")->setValue(35);
    Find<QSlider>(Dlg, "trkResolution")->setValue(1);
    Find<QSpinBox>(Dlg, "spnRecoveryMinutes")->setValue(0);
    Find<QSpinBox>(Dlg, "spnUndoLimit")->setValue(250);
    Messages.Push("/usr/bin/RW.exe");
    Find<QPushButton>(Dlg, "btnBrowse")->click();
    EXPECT_EQ(Messages.LastFilter, "RW.exe|RW.exe|All Files|*.*");
    EXPECT_EQ(Messages.LastInitial, "RW.exe");
    Find<QCheckBox>(Dlg, "cbUseRidgeworks")->setChecked(true);
    Messages.Push("0x00010203");
    Find<QPushButton>(Dlg, "btnDataLabel")->click();
    Messages.Push("0x00000080");
    Find<QPushButton>(Dlg, "btnGexIce")->click();

    const TPreferencesResult r = Dlg.Apply(Settings);
    ASSERT_EQ(Messages.Log().size(), 4);
    EXPECT_EQ(Messages.Log()[3], "tell\tKalvion\tYou must re-start Kalvion for changes to take effect");
    EXPECT_TRUE(r.MultisampleChanged);
    EXPECT_TRUE(r.LensFlaresChanged);
    EXPECT_TRUE(r.DataColorsChanged);
    EXPECT_TRUE(r.PaletteChanged);
    EXPECT_TRUE(r.ResolutionChanged);
    EXPECT_TRUE(r.TerrainEngineChanged);
    EXPECT_FALSE(Settings.EnableMultisample);
    EXPECT_FALSE(Settings.ShowLensFlares);
    EXPECT_TRUE(Settings.AutoLock);
    EXPECT_TRUE(Settings.PerformanceSkip);
    EXPECT_FALSE(Settings.GenAtmospheres);
    EXPECT_TRUE(Settings.DoAutomaticUpdateChecks);
    EXPECT_EQ(Settings.UpdateChannel, "beta");
    EXPECT_DOUBLE_EQ(Settings.AnimationPerformanceAdjust, 3.5);
    EXPECT_EQ(Settings.SurfaceMapResolution, 1);
    EXPECT_EQ(Settings.RecoveryMinutes, 0);
    EXPECT_EQ(Settings.UndoLimit, 250);
    EXPECT_EQ(Find<QSpinBox>(Dlg, "spnUndoLimit")->minimum(), 1);
    EXPECT_EQ(Settings.TerrainEngine, 2);
    EXPECT_EQ(Settings.RWFilePathAlt, "/usr/bin/RW.exe");
    EXPECT_EQ(Settings.DataLabelColor, 0x00010203u);
    EXPECT_EQ(Settings.Palette.Ice, 0x00000080u);
    EXPECT_EQ(Settings.Palette.DeepWater, TGexColorGroup{}.DeepWater);

    // Restore Defaults puts the default palette back on the panels.
    Find<QPushButton>(Dlg, "btnRestoreDefaults")->click();
    Dlg.Apply(Settings);
    EXPECT_EQ(Settings.Palette.Ice, TGexColorGroup{}.Ice);
}

TEST_F(PreferencesDialogTest, GradientRunsFromHighlandToLowland)
{
    const TColor high = ColorRGB(200, 100, 0), low = ColorRGB(0, 100, 255);
    EXPECT_EQ(GradientRowColor(high, low, 1, 10), ColorRGB(180, 100, 25));
    EXPECT_EQ(GradientRowColor(high, low, 10, 10), low);
    EXPECT_EQ(GradientRowColor(high, low, 3, 7), ColorRGB(200 - 85, 100, 109)); // trunc toward zero
    const QImage strip = GradientStrip(high, low, 4, 10);
    EXPECT_EQ(ColorFromQRgb(strip.pixel(3, 9)), low);
    EXPECT_EQ(ColorFromQRgb(strip.pixel(0, 0)), ColorRGB(180, 100, 25));
}

} // namespace
