// "Sector Properties": units shown and converted, the checks in order, what
// "&Ok" writes into the sector, and the display-field copy.
#include "DialogTestSupport.h"

#include "app/sector/SectorPropertiesDialog.h"
#include "model/VexaSector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class SectorPropertiesDialogTest : public DialogTest {
protected:
    QLineEdit *Edit(const char *name) { return Find<QLineEdit>(Dlg, name); }
    QComboBox *Combo(const char *name) { return Find<QComboBox>(Dlg, name); }
    TVexaSector Sector;
    TfrmSectorProperties Dlg{Messages};
};

TEST_F(SectorPropertiesDialogTest, ShowsParsecsRoundedAndConvertsOnUnitChange)
{
    Sector.UnitStarMeasureName = "Parsecs";
    Sector.UpdateUnits();
    Sector.SizeX = 32.616;
    Sector.SizeY = 20;
    Sector.GridZ = 10;
    Dlg.Load(Sector);
    EXPECT_EQ(Dlg.windowTitle(), "Sector Properties");
    EXPECT_EQ(Edit("edWidth")->text(), "10");
    EXPECT_EQ(Edit("edHeight")->text(), "6.132");
    EXPECT_EQ(Edit("edRadius")->text(), "5");
    EXPECT_EQ(Edit("edGridZ")->text(), "3.066");
    Combo("cmbUnit")->setCurrentIndex(0);
    EXPECT_EQ(Edit("edWidth")->text(), "32.616");
    EXPECT_EQ(Edit("edHeight")->text(), "20");
    EXPECT_EQ(Edit("edGridZ")->text(), "10");
}

TEST_F(SectorPropertiesDialogTest, ChecksInOrderAndStaysOpenOnFailure)
{
    Dlg.Load(Sector);
    Edit("edDepth")->setText("deep");
    Edit("edGridY")->setText("");
    Edit("edEpochYear")->setText("2000.5");
    EXPECT_EQ(Dlg.Validate(), "Sector sizes must be numbers");
    Edit("edDepth")->setText("100");
    EXPECT_EQ(Dlg.Validate(), "Grid sizes must be numbers");
    Edit("edGridY")->setText("20");
    EXPECT_EQ(Dlg.Validate(), "Epoch year must be an integer");
    Edit("edEpochYear")->setText("-3000000000");
    Combo("cmbGridStyle")->setCurrentIndex(1);
    Edit("edGridZ")->setText("4.9");
    const QString tooMany = "Grid settings will create too many grids to display.  Reduce the number of grids across "
                            "to 20 or lower";
    EXPECT_EQ(Dlg.Validate(), tooMany);
    Edit("edGridZ")->setText("5");
    EXPECT_EQ(Dlg.Validate(), "");
    // A spherical sector measures 2 x radius on every axis.
    Find<QCheckBox>(Dlg, "cbSpherical")->setChecked(true);
    Edit("edRadius")->setText("60");
    EXPECT_EQ(Dlg.Validate(), tooMany);
    Edit("edRadius")->setText("50");
    EXPECT_EQ(Dlg.Validate(), "");
    // No limit without the cube grid.
    Combo("cmbGridStyle")->setCurrentIndex(2);
    Edit("edGridX")->setText("0");
    EXPECT_EQ(Dlg.Validate(), "");

    Combo("cmbGridStyle")->setCurrentIndex(1);
    Dlg.accept();
    EXPECT_NE(Dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Messages.Log().value(0), "tell\tKalvion\t" + tooMany);
    EXPECT_FALSE(Sector.Modified);
    EXPECT_FALSE(Sector.Spherical);
}

TEST_F(SectorPropertiesDialogTest, OkWritesEveryValueIntoTheSector)
{
    Sector.SetField("rwsavepath", "/old/terrain");
    Sector.SetField("Ruler", "Queen Ada");
    Dlg.Load(Sector);
    EXPECT_EQ(Edit("edRWSavePath")->text(), "/old/terrain");
    auto *user = Find<QTableWidget>(Dlg, "tblUserFields");
    ASSERT_EQ(user->rowCount(), 2); // "ruler" and one empty row
    EXPECT_EQ(user->item(0, 0)->text(), "ruler");
    user->setItem(1, 0, new QTableWidgetItem("Era"));
    user->setItem(1, 1, new QTableWidgetItem("Third"));
    user->item(0, 1)->setText(""); // an emptied value drops the field

    Combo("cmbUnit")->setCurrentIndex(1);
    Edit("edWidth")->setText("10");
    Edit("edHeight")->setText("5");
    Edit("edDepth")->setText("2.5");
    Edit("edGridX")->setText("1");
    Edit("edEpochYear")->setText("3100");
    Edit("edDateFormat")->setText("y-mm-dd");
    Edit("edRWSavePath")->setText("/maps");
    Combo("cmbGridStyle")->setCurrentIndex(0);
    Combo("cmbGridTick")->setCurrentText("45");
    Find<QCheckBox>(Dlg, "cbGridTickLabels")->setChecked(false);
    Find<QPlainTextEdit>(Dlg, "memNotes")->setPlainText("Frontier");
    Find<QPlainTextEdit>(Dlg, "memGMNotes")->setPlainText("Pirates at the rim");
    Messages.Push("0x000000FF");
    Find<QPushButton>(Dlg, "btnGridColor")->click();
    Dlg.accept();
    ASSERT_EQ(Dlg.result(), QDialog::Accepted);

    EXPECT_TRUE(Sector.Modified);
    EXPECT_EQ(Sector.UnitStarMeasureName, "Parsecs");
    EXPECT_EQ(Sector.UnitStarMeasureRatio, 3.2616);
    EXPECT_DOUBLE_EQ(Sector.SizeX, 32.616);
    EXPECT_DOUBLE_EQ(Sector.SizeZ, 8.154);
    EXPECT_DOUBLE_EQ(Sector.GridX, 3.2616);
    EXPECT_EQ(Sector.EpochYear, 3100);
    EXPECT_EQ(Sector.DateFormat, "y-mm-dd");
    EXPECT_EQ(Sector.GridStyle, GRID_STYLE_NONE);
    EXPECT_EQ(Sector.GridTick, 45);
    EXPECT_FALSE(Sector.GridTickLabels);
    EXPECT_EQ(Sector.GridColor, 0x000000FFu);
    EXPECT_EQ(Sector.Notes, "Frontier");
    EXPECT_EQ(Sector.GMNotes, "Pirates at the rim");
    EXPECT_EQ(Sector.GetField("RWSavePath"), "/maps");
    EXPECT_EQ(Sector.GetField("era"), "Third");
    EXPECT_EQ(Sector.GetFieldIndex("ruler"), -1);
}

TEST_F(SectorPropertiesDialogTest, TextsLeftAsTheyWereKeepTheirBytes)
{
    // Windows-1252 bytes, which are not UTF-8, show as their characters.
    Sector.Notes = "Caf\xE9";
    Sector.GMNotes = "Na\xEFve";
    Sector.SetField("motto", "\xAB" "Ad astra\xBB");
    Dlg.Load(Sector);
    EXPECT_EQ(Find<QPlainTextEdit>(Dlg, "memNotes")->toPlainText(), QString::fromUtf8("Caf\u00E9"));
    Find<QPlainTextEdit>(Dlg, "memGMNotes")->setPlainText(QString::fromUtf8("Na\u00EFve!"));
    Dlg.accept();
    EXPECT_EQ(Sector.Notes, "Caf\xE9");
    EXPECT_EQ(Sector.GMNotes, "Na\xC3\xAFve!"); // edited: written as UTF-8
    EXPECT_EQ(Sector.GetField("motto"), "\xAB" "Ad astra\xBB");
}

TEST_F(SectorPropertiesDialogTest, SphericalSizesAndAnOddGridTickSurviveOk)
{
    Sector.GridTick = 7;
    Dlg.Load(Sector);
    Find<QCheckBox>(Dlg, "cbSpherical")->setChecked(true);
    Edit("edRadius")->setText("12");
    Combo("cmbGridStyle")->setCurrentIndex(2);
    Dlg.accept();
    EXPECT_TRUE(Sector.Spherical);
    EXPECT_EQ(Sector.SizeX, 24);
    EXPECT_EQ(Sector.SizeY, 24);
    EXPECT_EQ(Sector.SizeZ, 24);
    EXPECT_EQ(Sector.GridTick, 7);
}

TEST_F(SectorPropertiesDialogTest, FieldDefaultsAreEditedOnACopyAndRestoredOnlyAfterYes)
{
    Dlg.Load(Sector);
    Combo("cmbFieldType")->setCurrentIndex(Combo("cmbFieldType")->findData(1)); // star
    auto *table = Find<QTableWidget>(Dlg, "tblFields");
    ASSERT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->item(0, 0)->text(), "Spectral Class");
    table->setCurrentCell(0, 0);
    Find<QPushButton>(Dlg, "btnFieldDelete")->click();
    ASSERT_EQ(table->rowCount(), 5);
    table->setCurrentCell(4, 0); // "Planets" moves up
    Find<QPushButton>(Dlg, "btnFieldUp")->click();
    EXPECT_EQ(table->item(3, 0)->text(), "Planets");
    EXPECT_EQ(Sector.SystemDataDefaults.GetConfigForType(1)->Count(), 6); // not before OK

    Messages.Push("No");
    Find<QPushButton>(Dlg, "btnRestoreDefaults")->click();
    EXPECT_EQ(Messages.Log().value(0), "ask\tRestore Defaults?\tReset to default field settings?");
    EXPECT_EQ(table->rowCount(), 5);
    Dlg.accept();
    ASSERT_EQ(Sector.SystemDataDefaults.GetConfigForType(1)->Count(), 5);
    EXPECT_EQ(Sector.SystemDataDefaults.GetConfigForType(1)->Records[3].DisplayText, "Planets");

    Dlg.Load(Sector);
    Combo("cmbFieldType")->setCurrentIndex(Combo("cmbFieldType")->findData(1));
    Messages.Push("Yes");
    Find<QPushButton>(Dlg, "btnRestoreDefaults")->click();
    EXPECT_EQ(table->rowCount(), 6);
    Dlg.accept();
    EXPECT_EQ(Sector.SystemDataDefaults.GetConfigForType(1)->Records[0].DisplayText, "Spectral Class");
}

TEST_F(SectorPropertiesDialogTest, BackgroundsAreReplacedOrClearedUnderTheirReservedNames)
{
    QTemporaryDir dir;
    const QString image = dir.filePath("stars.png");
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not really a png, but bytes all the same");
    f.close();
    Sector.ImageResources.AddResourceFileAsName(BACKGROUNDRESOURCE_ORBITAL, image.toStdString(), true);

    Dlg.Load(Sector);
    EXPECT_EQ(Edit("edBackOrbital")->text(), "(stored image)");
    Messages.Push(image);
    Find<QPushButton>(Dlg, "btnBackSectorLoad")->click();
    EXPECT_EQ(Messages.LastFilter, IMAGE_FILE_FILTER);
    EXPECT_EQ(Edit("edBackSector")->text(), image);
    Find<QPushButton>(Dlg, "btnBackOrbitalClear")->click();
    Messages.Push("Cancel");
    Find<QPushButton>(Dlg, "btnBackPreviewLoad")->click();
    EXPECT_EQ(Sector.FindResource(BACKGROUNDRESOURCE_SECTOR), -1); // not before OK
    Dlg.accept();
    EXPECT_GE(Sector.FindResource(BACKGROUNDRESOURCE_SECTOR), 0);
    EXPECT_EQ(Sector.FindResource(BACKGROUNDRESOURCE_PREVIEW), -1);
    EXPECT_EQ(Sector.FindResource(BACKGROUNDRESOURCE_ORBITAL), -1);

    // A file gone before "&Ok" is reported, and nothing else is lost.
    Dlg.Load(Sector);
    Messages.Push(dir.filePath("gone.png"));
    Find<QPushButton>(Dlg, "btnBackPreviewLoad")->click();
    Dlg.accept();
    EXPECT_EQ(Messages.Log().last(), "tell\tKalvion\tThe image file \"" + dir.filePath("gone.png") +
                                         "\" could not be read");
    EXPECT_GE(Sector.FindResource(BACKGROUNDRESOURCE_SECTOR), 0);
    EXPECT_EQ(Sector.FindResource(BACKGROUNDRESOURCE_PREVIEW), -1);
}

TEST_F(SectorPropertiesDialogTest, RefreshRebuildsThePoliticalListAtOnce)
{
    Sector.PoliticalList.push_back({"Vanished Empire", false});
    Dlg.Load(Sector);
    Find<QPushButton>(Dlg, "btnRefreshPolitical")->click();
    ASSERT_EQ(Sector.PoliticalList.size(), 1u);
    EXPECT_EQ(Sector.PoliticalList[0].Name, "");
}

} // namespace
