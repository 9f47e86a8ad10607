// The "New Star Sector" window: its checks in order, and the options kept in
// the settings from one opening to the next.
#include "DialogTestSupport.h"

#include "app/SettingsStore.h"
#include "app/generation/NewSectorDialog.h"
#include "model/VexaSector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>

// Font configuration keeps a few bytes for the life of the process; that is
// the system library's, not ours.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class NewSectorDialogTest : public DialogTest {};

TEST_F(NewSectorDialogTest, ChecksSizesThenTotalInOrder)
{
    TfrmNewSector dlg(Messages);
    auto *width = Find<QLineEdit>(dlg, "edWidth");
    auto *height = Find<QLineEdit>(dlg, "edHeight");
    auto *depth = Find<QLineEdit>(dlg, "edDepth");
    auto *radius = Find<QLineEdit>(dlg, "edRadius");
    auto *total = Find<QLineEdit>(dlg, "edTotalSystems");
    width->setText("abc");
    height->setText("");
    total->setText("x");
    EXPECT_EQ(dlg.Validate(), "The sector width must be a number greater than 0");
    width->setText("30");
    EXPECT_EQ(dlg.Validate(), "The sector height must be a number greater than 0");
    height->setText("0");
    EXPECT_EQ(dlg.Validate(), "The sector height must be a number greater than 0");
    height->setText("12.5");
    depth->setText("2000000");
    EXPECT_EQ(dlg.Validate(), "The sector depth must be at most 1000000 light years");
    depth->setText("10");
    EXPECT_EQ(dlg.Validate(), "Total systems must be a whole number of 0 or more");
    total->setText("-1");
    EXPECT_EQ(dlg.Validate(), "Total systems must be a whole number of 0 or more");
    total->setText("500");
    EXPECT_EQ(dlg.Validate(), "");

    // A sphere checks its radius only; its limit is half the largest size.
    Find<QCheckBox>(dlg, "cbSpherical")->setChecked(true);
    width->setText("bad");
    radius->setText("-3");
    EXPECT_EQ(dlg.Validate(), "The sector radius must be a number greater than 0");
    radius->setText("600000");
    EXPECT_EQ(dlg.Validate(), "The sector radius must be at most 500000 light years");
    Find<QComboBox>(dlg, "cmbUnit")->setCurrentIndex(1);
    radius->setText("160000");
    EXPECT_EQ(dlg.Validate(), "The sector radius must be at most 153298.994359 parsecs");
    radius->setText("5");
    EXPECT_EQ(dlg.Validate(), "");
}

TEST_F(NewSectorDialogTest, RefusedOkShowsTheMessageAndWritesNothing)
{
    QTemporaryDir dir;
    TSettingsStore store(dir.filePath("k.conf"));
    TVexaSector sector;
    TfrmNewSector dlg(Messages);
    dlg.Prepare(store, sector, "");
    Find<QLineEdit>(dlg, "edWidth")->setText("wide");
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(Messages.Log().size(), 1);
    EXPECT_EQ(Messages.Log()[0], "tell\tKalvion\tThe sector width must be a number greater than 0");
    EXPECT_FALSE(store.Read("GeneratorSpherical").has_value());
}

TEST_F(NewSectorDialogTest, ConfirmedOptionsComeBackAtTheNextOpening)
{
    QTemporaryDir dir;
    TSettingsStore store(dir.filePath("k.conf"));
    TVexaSector sector;
    sector.SizeX = 30;
    sector.SizeY = 40;
    sector.SizeZ = 50;
    {
        TfrmNewSector dlg(Messages);
        dlg.Prepare(store, sector, "");
        // The current sector's sizes show as the dialog opens.
        EXPECT_EQ(Find<QLineEdit>(dlg, "edWidth")->text(), "30");
        EXPECT_EQ(Find<QLineEdit>(dlg, "edRadius")->text(), "15");
        Find<QComboBox>(dlg, "cmbSubX")->setCurrentIndex(5);  // 8 across
        Find<QComboBox>(dlg, "cmbSubZ")->setCurrentIndex(10); // 32 deep
        Find<QCheckBox>(dlg, "cbOrganicNaming")->setChecked(true);
        Find<QCheckBox>(dlg, "cbPopulations")->setChecked(false);
        Find<QRadioButton>(dlg, "rbClustered")->setChecked(true);
        Find<QRadioButton>(dlg, "rbDataStars")->setChecked(true);
        Find<QSlider>(dlg, "sldFrequency")->setValue(42);
        Find<QSlider>(dlg, "sldFreqGiantStar")->setValue(3);
        Find<QSlider>(dlg, "sldFreqPlanetoid")->setValue(50);
        Find<QSlider>(dlg, "sldTerraforming")->setValue(4);
        Find<QLineEdit>(dlg, "edTotalSystems")->setText("250");
        Messages.Push("0x00123456");
        Find<QPushButton>(dlg, "btnColorPopulated")->click();
        Messages.Push("Cancel");
        Find<QPushButton>(dlg, "btnColorLabel")->click();
        Messages.Push("/tmp/Spinward.VexaDB");
        Find<QPushButton>(dlg, "btnSaveAs")->click();
        EXPECT_EQ(Messages.LastFilter, "Kalvion Sector Maps (*.VexaDB)|*.VexaDB|All Files (*.*)|*.*");
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        const TNewSectorOptions o = dlg.Options();
        EXPECT_EQ(o.SaveAs, "/tmp/Spinward.VexaDB");
        EXPECT_EQ(o.ColorPopulated, 0x00123456u);
        EXPECT_EQ(o.ColorLabel, ColorRGB(255, 0, 0));
    }
    sector.SizeX = 60; // the next opening takes the current sector's sizes again
    TfrmNewSector again(Messages);
    again.Prepare(store, sector, "");
    const TNewSectorOptions o = again.Options();
    EXPECT_EQ(o.Width, 60);
    EXPECT_EQ(o.SubsectorX, 8);
    EXPECT_EQ(o.SubsectorY, 2);
    EXPECT_EQ(o.SubsectorZ, 32);
    EXPECT_TRUE(o.OrganicNaming);
    EXPECT_FALSE(o.Populations);
    EXPECT_EQ(o.Distribution, DISTRIBUTION_CLUSTERED);
    EXPECT_EQ(o.SystemData, GENERATE_STARS);
    EXPECT_EQ(o.Frequency, 42);
    EXPECT_EQ(o.Freq[FREQ_GIANT_STAR], 3);
    EXPECT_EQ(o.Freq[FREQ_PLANETOID], 50);
    EXPECT_EQ(o.Freq[FREQ_SINGLE_STAR], 10);
    EXPECT_EQ(o.Terraforming, 4);
    EXPECT_EQ(o.TotalSystems, 250);
    EXPECT_EQ(o.ColorPopulated, 0x00123456u);
    EXPECT_EQ(o.SaveAs, ""); // the save name is never remembered
}

TEST_F(NewSectorDialogTest, LoadShowsEveryOptionAndOptionsReadsItBack)
{
    TNewSectorOptions in;
    in.Spherical = true;
    in.Radius = 7.25;
    in.Unit = "Parsecs";
    in.Subsectors = false;
    in.SubsectorY = 25;
    in.ColorSubsector = 0x00ABCDEF;
    in.Placements = false;
    in.NameTable = "Gone.ilt";
    in.Freq[FREQ_STATION] = 0;
    TfrmNewSector dlg(Messages);
    dlg.Load(in);
    EXPECT_FALSE(Find<QComboBox>(dlg, "cmbSubY")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(dlg, "edWidth")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(dlg, "edRadius")->isEnabled());
    const TNewSectorOptions o = dlg.Options();
    EXPECT_TRUE(o.Spherical);
    EXPECT_EQ(o.Radius, 7.25);
    EXPECT_EQ(o.Unit, "Parsecs");
    EXPECT_FALSE(o.Subsectors);
    EXPECT_EQ(o.SubsectorY, 25);
    EXPECT_EQ(o.ColorSubsector, 0x00ABCDEFu);
    EXPECT_FALSE(o.Placements);
    EXPECT_EQ(o.NameTable, "Gone.ilt"); // a remembered table not installed stays chosen
    EXPECT_EQ(o.Freq[FREQ_STATION], 0);
}

} // namespace
