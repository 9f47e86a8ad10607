// "&Ok": every visible page checked in order before anything is written,
// the messages of the checks, warnings that let the edit go on, values that
// do not fit their fields, and what is written afterwards.
#include "EditBodyTestSupport.h"

#include "app/DialogValues.h"
#include "base/PhysicalFormulas.h"

#include <QFile>
#include <QDir>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class EditBodyChecks : public EditBodyTest {
protected:
    void SetGas(int row, const QString &gas, const QString &percent)
    {
        auto *grid = Find<QTableWidget>(Dlg, "gridGases");
        grid->setItem(row, 0, new QTableWidgetItem(gas));
        grid->setItem(row, 1, new QTableWidgetItem(percent));
    }
    // OK pressed: the messages it gave, and whether the dialog closed.
    bool PressOk()
    {
        Dlg.setResult(QDialog::Rejected);
        Dlg.accept();
        return Dlg.result() == QDialog::Accepted;
    }
};

TEST_F(EditBodyChecks, FirstBadNumberIsNamedAndNothingIsWritten)
{
    Open(Planet);
    Edit("edPlanetName")->setText("Terra");
    Edit("edDensity")->setText("dense");
    Edit("edPlanetPopulation")->setText("many");
    Edit("edInclination")->setText("400");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Density must be a number"});
    EXPECT_EQ(Planet->Name, "Sol III");
    EXPECT_EQ(Planet->Density, 1);
}

TEST_F(EditBodyChecks, AnInclinationOf400IsRefusedAndTheOrbitKept)
{
    Open(Planet);
    Edit("edDistance")->setText("1000");
    Edit("edInclination")->setText("400");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Inclination must be an angle, from -360 to 360"});
    EXPECT_EQ(Planet->Distance, 149597890);
    Edit("edInclination")->setText("-360");
    Edit("edAxialTilt")->setText("360.5");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told().last(), "Axial Tilt must be an angle, from -360 to 360");
    Edit("edAxialTilt")->setText("23.5");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Planet->Distance, 1000);
    EXPECT_EQ(Planet->Inclination, -360);
    EXPECT_EQ(Planet->AxialTilt, 23.5);
}

TEST_F(EditBodyChecks, PicturesAreCheckedBeforeAnyNumber)
{
    Open(Planet);
    Edit("edRadius")->setText("wide");
    Edit("edBlazonFile")->setText("/no/such/blazon.png");
    EXPECT_FALSE(PressOk());
    Edit("edBlazonFile")->clear();
    Edit("edSurfaceFile")->setText("/no/such/map.png");
    EXPECT_FALSE(PressOk());
    Edit("edSurfaceFile")->clear();
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), (QStringList{"Blazon image file doesn't exist, or is not stored in the sector file",
                                   "Surface map image file doesn't exist, or is not stored in the sector file",
                                   "Radius must be a number"}));
    TStellarBody *station = AddChild(Star, BODY_TYPE_STATION, "Dock");
    Open(station);
    Edit("edPreviewFile")->setText("/no/such/preview.png");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told().last(), "Preview image file doesn't exist, or is not stored in the sector file");
}

TEST_F(EditBodyChecks, WaterIndexOver100IsRefused)
{
    Open(Planet);
    Edit("edWater")->setText("150");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Water Index must be a decimal number under 100"});
}

TEST_F(EditBodyChecks, GasesOver100PercentWarnAndAreSaved)
{
    Open(Planet);
    SetGas(0, "N2", "78");
    SetGas(1, " O2 ", "30");
    SetGas(2, "  ", "junk");  // a blank gas name is skipped
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Warning: Atmosphere gas percentages exceed 100%"});
    ASSERT_EQ(Planet->GetAtmElementCount(), 2);
    EXPECT_EQ(Planet->GetAtmElementPercentByName("N2"), 78);
    EXPECT_EQ(Planet->GetAtmElementPercentByName("O2"), 30);
}

TEST_F(EditBodyChecks, GasWithoutANumberIsNamed)
{
    Open(Planet);
    SetGas(0, "CO2", "lots");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Atmosphere Gas Percentage for CO2 must be a number"});
}

TEST_F(EditBodyChecks, EccentricityOutOfRangeWarnsAndIsKept)
{
    Open(Planet);
    Edit("edEccentricity")->setText("1.5");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Told(), QStringList{"Eccentricity must be between 0 and 1.0"});
    EXPECT_EQ(Planet->Eccentricity, 1.5);
}

TEST_F(EditBodyChecks, ValuesThatDoNotFitTheirFieldsAreRefused)
{
    Open(Planet);
    for (const char *bad : {"inf", "nan", "1e999", "-1", "1e19", "0x10", "12 people"}) {
        Edit("edPlanetPopulation")->setText(QString::fromLatin1(bad));
        EXPECT_FALSE(PressOk()) << bad;
        EXPECT_EQ(Told().last(), "Population must be a number") << bad;
    }
    EXPECT_EQ(Planet->Population, 0);
    Edit("edPlanetPopulation")->setText(" 9000000000000000000 ");
    Edit("edRadius")->setText("1e200");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told().last(), "Radius must be a number");
    Edit("edRadius")->setText("1e100");
    Edit("edDensity")->setText("1e100");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told().last(), "Density must be a number");
    Edit("edRadius")->setText("6378.14");
    Edit("edDensity")->setText("1");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Planet->Population, 9e18);

    TStellarBody *fleet = Sector.NewSystem(BODY_TYPE_FLEET);
    Open(fleet);
    Edit("edPopPopulation")->setText("1e300");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told().last(), "Population must be a number");
}

TEST_F(EditBodyChecks, StarRingAndPositionMessagesNameTheirFields)
{
    Open(Star);
    Edit("edLuminosity")->setText("bright");
    Edit("edPosX")->setText("far");
    EXPECT_FALSE(PressOk());
    Edit("edLuminosity")->setText("1");
    EXPECT_FALSE(PressOk());
    Edit("edPosX")->setText("1");
    Edit("edRouteDistance")->setText("?");
    EXPECT_FALSE(PressOk());
    TStellarBody *ring = AddChild(Planet, BODY_TYPE_RING, "Rings");
    Open(ring);
    Edit("edWidth")->setText("thin");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(Told(), (QStringList{"Star Luminosity must be a number", "X Coordinate must be a number",
                                   "Route Label Distance must be a number", "Ring Width must be a number"}));
}

TEST_F(EditBodyChecks, NumbersAcceptTrimmedTextAndThePoint)
{
    Open(Planet);
    Edit("edRadius")->setText("  3189.07 ");
    Edit("edDensity")->setText("2");
    Edit("edWater")->setText("40");
    Edit("edTemp")->setText("300");
    Find<QComboBox>(Dlg, "cbHabitability")->setCurrentIndex(2);
    Find<QComboBox>(Dlg, "cbPlanetPolitical")->setEditText("Republic");
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(Told().isEmpty());
    EXPECT_EQ(Planet->Radius, 3189.07);
    EXPECT_EQ(Planet->Mass, MassRelEarth(3189.07, 2));
    EXPECT_DOUBLE_EQ(Planet->Water, 0.4);
    EXPECT_EQ(Planet->Temp, 300);
    EXPECT_EQ(Planet->Habitability, HAB_HOSPITABLE);
    EXPECT_EQ(Planet->PoliticalAffiliation, "Republic");
    EXPECT_TRUE(Planet->TVexaBase::Modified);
}

TEST_F(EditBodyChecks, TheLocalesDecimalSeparatorIsAccepted)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Open(Planet);
    Edit("edDensity")->setText("2,5");
    Edit("edAlbedo")->setText("0.25");
    const bool ok = PressOk();
    QLocale::setDefault(before);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Planet->Density, 2.5);
    EXPECT_EQ(Planet->Albedo, 0.25);
}

TEST_F(EditBodyChecks, PositionPageWritesStyleAndSphere)
{
    Open(Star);
    Find<QToolButton>(Dlg, "tbBold")->setChecked(true);
    Find<QToolButton>(Dlg, "tbUnderline")->setChecked(true);
    Find<QRadioButton>(Dlg, "rbSphereCube")->setChecked(true);
    Messages.Push(QStringLiteral("255"));
    Find<QPushButton>(Dlg, "btnLabelColor")->click();
    Edit("edPosZ")->setText("-4.5");
    Edit("edSphereSize")->setText("2");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Star->FontStyle, LABEL_FONT_BOLDUNDERLINE);
    EXPECT_EQ(Star->SphereInfluence, SPHERE_INFLUENCE_CUBE);
    EXPECT_EQ(Star->SphereInfluenceSize, 2);
    EXPECT_EQ(Star->LabelColor, 255u);
    EXPECT_EQ(Star->Z, -4.5);
    // A style of 3 opens with both buttons down.
    Open(Star);
    EXPECT_TRUE(Find<QToolButton>(Dlg, "tbBold")->isChecked());
    EXPECT_TRUE(Find<QToolButton>(Dlg, "tbUnderline")->isChecked());
}

TEST_F(EditBodyChecks, PreviewPictureIsKeptOnlyWhenTicked)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("look.png");
    QImage(8, 4, QImage::Format_RGB32).save(png);
    TStellarBody *station = AddChild(Star, BODY_TYPE_STATION, "Dock");
    Open(station);
    Messages.Push(png);
    Find<QPushButton>(Dlg, "btnPreviewSelect")->click();
    EXPECT_TRUE(Find<QCheckBox>(Dlg, "chkUsePreview")->isChecked());
    EXPECT_FALSE(Label("lblPreviewPicture")->pixmap().isNull());
    EXPECT_EQ(Messages.LastFilter, "Image Files (*.bmp, *.jpg, *.png)|*.bmp;*.png;*.jpg|All Files (*.*)|*.*");
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(station->PreviewImageFile, png.toStdString());
    Open(station);
    Find<QCheckBox>(Dlg, "chkUsePreview")->setChecked(false);
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(station->PreviewImageFile.empty());
}

TEST_F(EditBodyChecks, CancelLeavesTheBodyAlone)
{
    Open(Moon);
    Edit("edPlanetName")->setText("Luna");
    Edit("edDistance")->setText("1");
    Dlg.reject();
    EXPECT_EQ(Moon->Name, "Sol III.1");
    EXPECT_EQ(Moon->Distance, 384800);
}

} // namespace

namespace {

TEST_F(EditBodyChecks, ModelListOffersTheTypesModelFolders)
{
    QTemporaryDir program;
    QDir(program.path()).mkpath("Models/Terrestrial/Rocky");
    QDir(program.path()).mkpath("Models/Terrestrial/Watery");
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.save(program.filePath("Models/Terrestrial/Watery/preview.jpg"));
    Planet->ModelFile = "Watery";
    Dlg.Load(*Planet, Sector, {}, program.path() + '/');
    auto *list = Find<QListWidget>(Dlg, "lstModels");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "(none)");
    EXPECT_EQ(list->currentItem()->text(), "Watery");
    const QImage preview = Label("lblModelPreview")->pixmap().toImage();
    EXPECT_EQ(QColor(preview.pixel(preview.width() / 2, preview.height() / 2)).red() > 200, true);
    list->setCurrentRow(1);
    EXPECT_EQ(QColor(Label("lblModelPreview")->pixmap().toImage().pixel(5, 5)), QColor(Qt::black));
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Planet->ModelFile, "Rocky");
    EXPECT_TRUE(Dlg.ModelChanged());
    Dlg.Load(*Planet, Sector, {}, program.path() + '/');
    list->setCurrentRow(0);
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(Planet->ModelFile.empty());
}

} // namespace

namespace {

TEST_F(EditBodyChecks, BlazonComesFromTheSectorsImagesWhenTheFileIsGone)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("arms.png");
    QImage arms(40, 20, QImage::Format_RGB32);
    arms.fill(Qt::blue);
    ASSERT_TRUE(arms.save(png));
    ASSERT_GE(Sector.ImageResources.AddResource(png.toStdString(), true), 0);
    ASSERT_TRUE(QFile::remove(png));
    Star->BlazonImageFile = png.toStdString();
    Open(Star);
    const QImage shown = Label("lblBlazonPreview")->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    // Scaled to fit with its proportions kept: twice as wide as high.
    EXPECT_EQ(shown.width(), 2 * shown.height());
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(Star->BlazonImageFile, png.toStdString());
}

TEST_F(EditBodyChecks, RandomAtmosphereFillsThePageWithNumbers)
{
    Planet->Mass = 1;
    Open(Planet);
    Find<QPushButton>(Dlg, "btnRandomAtm")->click();
    for (const char *edit : {"edPressure", "edWater", "edTemp"})
        EXPECT_TRUE(NumberFromText(Edit(edit)->text()).has_value()) << edit;
    EXPECT_TRUE(PressOk());
}

} // namespace
