// Which pages a body gets by its type and parent, their captions, how they
// are filled, and the values worked out while the user types.
#include "EditBodyTestSupport.h"

#include "app/editbody/EditBodyPages.h"
#include "base/NumberFormat.h"
#include "base/PhysicalFormulas.h"
#include "base/Rounding.h"
#include "travel/SpaceTravel.h"

#include <QSlider>

#include <cmath>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

using EditBodyPages = EditBodyTest;

TEST_F(EditBodyPages, RootGasGiantHasPositionAndSurfaceMapButNoOrbit)
{
    TStellarBody *giant = Sector.NewSystem(BODY_TYPE_GASGIANT);
    Open(giant);
    EXPECT_EQ(VisibleTabs(), (QStringList{"Planet / Moon", "Position and Display", "Model and Blazon", "Surface Map",
                                          "Notes", "GM Notes", "System Data Fields"}));
    EXPECT_EQ(Tabs()->currentWidget(), Dlg.PageWidget(TEditPage::Planet));
}

TEST_F(EditBodyPages, MoonShowsTheOrbitPageAndTerrainButNoPosition)
{
    Open(Moon);
    EXPECT_EQ(VisibleTabs(), (QStringList{"Planet / Moon", "Orbital Properites", "Model and Blazon", "Surface Map",
                                          "Terrain Data", "Notes", "GM Notes", "System Data Fields"}));
    EXPECT_EQ(Label("lblPeriod")->text(), "Orbital Period (days): :");
}

TEST_F(EditBodyPages, ComponentsArePlacedInAuOrInKmInsideAPlanetSystem)
{
    TStellarBody *mult = Sector.NewSystem(BODY_TYPE_MULT);
    TStellarBody *component = AddChild(mult, BODY_TYPE_STAR, "A");
    Open(component);
    EXPECT_TRUE(Dlg.PageShown(TEditPage::Component));
    EXPECT_FALSE(Dlg.PageShown(TEditPage::Orbit));
    EXPECT_EQ(Label("lblCompUnit")->text(), "(In AU)");
    EXPECT_EQ(Tabs()->tabText(Tabs()->indexOf(Dlg.PageWidget(TEditPage::Star))), "Star");

    TStellarBody *system = AddChild(Star, BODY_TYPE_PLANETSYSTEM, "Pair");
    TStellarBody *member = AddChild(system, BODY_TYPE_GASGIANT, "Pair A");
    Open(member);
    EXPECT_EQ(Label("lblCompUnit")->text(), "(In KM)");
    EXPECT_FALSE(Dlg.PageShown(TEditPage::Terrain));
}

TEST_F(EditBodyPages, TypePagesTakeTheTypeNameAsCaption)
{
    TStellarBody *belt = AddChild(Star, BODY_TYPE_ASTEROIDBELT, "Belt");
    Open(belt);
    EXPECT_EQ(VisibleTabs().first(), "Asteroid Belt");
    EXPECT_TRUE(Dlg.PageShown(TEditPage::Ring));
    EXPECT_TRUE(Dlg.PageShown(TEditPage::ImagePreview));

    TStellarBody *small = AddChild(Star, BODY_TYPE_SMALLBODY, "Comets");
    Open(small);
    EXPECT_EQ(VisibleTabs(), (QStringList{"Small Body", "Model and Blazon", "Image Preview", "Notes", "GM Notes",
                                          "System Data Fields"}));

    TStellarBody *nebula = Sector.NewSystem(BODY_TYPE_NEBULA);
    Open(nebula);
    EXPECT_EQ(VisibleTabs().first(), "Nebula");
    EXPECT_EQ(Edit("edDefType")->text(), "Nebula");
    EXPECT_TRUE(Edit("edDefUabi")->isReadOnly());
    EXPECT_EQ(Edit("edDefUabi")->text(), QString::fromStdString(nebula->IDString));
}

TEST_F(EditBodyPages, ShipsGetTheirCustomFieldsPage)
{
    TStellarBody *fleet = Sector.NewSystem(BODY_TYPE_FLEET);
    TStellarBody *ship = AddChild(fleet, BODY_TYPE_SHIP, "Valiant");
    ship->SetField("ship_crew", "420");
    Open(ship);
    EXPECT_TRUE(Dlg.PageShown(TEditPage::Population));
    EXPECT_TRUE(Dlg.PageShown(TEditPage::AdditionalFields));
    auto *grid = Find<QTableWidget>(Dlg, "gridCustomFields");
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(1, 0)->text(), "Crew");
    EXPECT_EQ(grid->item(1, 1)->text(), "420");
    EXPECT_FALSE(grid->item(1, 0)->flags() & Qt::ItemIsEditable);
    grid->item(1, 1)->setText("380");
    grid->item(0, 1)->setText("Large");
    Dlg.accept();
    EXPECT_EQ(ship->GetField("ship_crew"), "380");
    EXPECT_EQ(ship->GetField("ship_size"), "Large");

    // The stars have no custom field by default.
    Open(Star);
    EXPECT_FALSE(Dlg.PageShown(TEditPage::AdditionalFields));
}

TEST_F(EditBodyPages, PlanetValuesUseTheProgramsPatterns)
{
    Planet->Water = 0.705;
    Planet->Population = 1234567;
    Planet->Habitability = 7;
    Planet->SetAtmElement("N2", 78);
    Open(Planet);
    EXPECT_EQ(Edit("edRadius")->text(), "6378.14");
    EXPECT_EQ(Edit("edWater")->text(), "70.5");
    EXPECT_EQ(Edit("edPlanetPopulation")->text(), "1234567");
    EXPECT_EQ(Edit("edPlanetName")->text(), "Sol III");
    EXPECT_EQ(Find<QComboBox>(Dlg, "cbHabitability")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>(Dlg, "cbPlanetPolitical")->itemText(0), "Empire");
    auto *gases = Find<QTableWidget>(Dlg, "gridGases");
    EXPECT_EQ(gases->rowCount(), 39);
    EXPECT_EQ(gases->horizontalHeaderItem(0)->text(), "Gas");
    EXPECT_EQ(gases->horizontalHeaderItem(1)->text(), "Percent");
    EXPECT_EQ(gases->item(0, 0)->text(), "N2");
}

TEST_F(EditBodyPages, RadiusAndDensityUpdateTheDerivedValuesWhileTyping)
{
    Open(Planet);
    EXPECT_EQ(Label("lblMassValue")->text(), "1");
    EXPECT_EQ(Label("lblGravityValue")->text(), "1");
    Edit("edRadius")->setText("6371");
    Edit("edDensity")->setText("1");
    EXPECT_EQ(Label("lblMassValue")->text().toStdString(), VexaFloatStr(MassRelEarth(6371, 1)));
    EXPECT_NEAR(Label("lblMassValue")->text().toDouble(), 1, 0.01);
    EXPECT_NEAR(Label("lblGravityValue")->text().toDouble(), 1, 0.01);
    EXPECT_EQ(Label("lblEscapeValue")->text().toStdString(),
              VexaFloatStrRead(RoundToDecimals(3, EscapeVelocity(MassRelEarth(6371, 1), 6371))) + " km/s");
    EXPECT_TRUE(Label("lblGeoValue")->text().endsWith(" km"));
    // Half-typed text leaves the last values standing.
    Edit("edDensity")->setText("5.5");
    Edit("edDensity")->setText("5.5x");
    EXPECT_NEAR(Label("lblMassValue")->text().toDouble(), 5.5, 0.1);
}

TEST_F(EditBodyPages, EquilibriumTemperatureFollowsAlbedoAndDistance)
{
    Open(Planet);
    const double t = std::nearbyint(EquilibriumTemp(1, 149597890e3, 0.3));
    const QString expected = QString::number(t) + "K / " + QString::number(t - 273) + "C";
    EXPECT_EQ(Label("lblEquilibriumValue")->text(), expected);
    Type("edAlbedo", "0.9");
    EXPECT_LT(Label("lblEquilibriumValue")->text().section('K', 0, 0).toInt(), t);
    // An albedo outside 0 … 1 falls back to the stored one.
    Type("edAlbedo", "7");
    EXPECT_EQ(Label("lblEquilibriumValue")->text(), expected);
    Type("edDistance", "74798945");
    EXPECT_GT(Label("lblEquilibriumValue")->text().section('K', 0, 0).toInt(), t);
    // Without a star above it nothing is worked out.
    TStellarBody *rogue = Sector.NewSystem(BODY_TYPE_TERRESTRIAL);
    Open(rogue);
    EXPECT_EQ(Label("lblEquilibriumValue")->text(), "0K / -273C");
}

TEST_F(EditBodyPages, OrbitalPeriodFollowsTheTypedDistance)
{
    Open(Planet);
    const auto period = [](double km) {
        return QString::fromStdString(FormatTravelDuration(std::trunc(CalcYearLength(km, 1) * 86400)));
    };
    EXPECT_EQ(Label("lblPeriodValue")->text(), period(149597890));
    Edit("edDistance")->setText("  57909050 ");
    EXPECT_EQ(Label("lblPeriodValue")->text(), period(57909050));
    Edit("edDistance")->setText("579x");
    EXPECT_EQ(Label("lblPeriodValue")->text(), period(57909050));
    // The edited body itself is untouched.
    EXPECT_EQ(Planet->Distance, 149597890);
}

TEST_F(EditBodyPages, DeepSpaceObjectSliderStartsAtItsIntensityOrAHundred)
{
    TStellarBody *dso = Sector.NewSystem(BODY_TYPE_DSO);
    dso->DSOIntensity = 0;
    Open(dso);
    auto *slider = Find<QSlider>(Dlg, "sldDso");
    EXPECT_FALSE(slider->isHidden());
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(Label("lblDsoPercent")->text(), "100%");
    dso->DSOIntensity = 50;
    Open(dso);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(Label("lblDsoPercent")->text(), "50%");
    Open(Star);
    EXPECT_TRUE(slider->isHidden());
    EXPECT_FALSE(Find<QPushButton>(Dlg, "btnFromSpectral")->isHidden());
}

TEST_F(EditBodyPages, StarButtonsWorkFromTheTypedMass)
{
    Open(Star);
    Edit("edStarMass")->setText("2");
    Find<QPushButton>(Dlg, "btnCalcRadius")->click();
    Find<QPushButton>(Dlg, "btnCalcLuminosity")->click();
    EXPECT_EQ(Edit("edStarRadius")->text().toStdString(), FormatFloat("#########0.####", StarRadiusFromMass(2)));
    EXPECT_EQ(Edit("edLuminosity")->text().toStdString(),
              FormatFloat("#########0.####", StarLuminosityFromMass(2)));
    Edit("edStarMass")->setText("heavy");
    Edit("edStarRadius")->setText("9");
    Find<QPushButton>(Dlg, "btnCalcRadius")->click();
    EXPECT_EQ(Edit("edStarRadius")->text(), "9");
}

TEST_F(EditBodyPages, AtmosphereToolsFillThePage)
{
    Open(Planet);
    Find<QPushButton>(Dlg, "btnEarthlike")->click();
    auto *gases = Find<QTableWidget>(Dlg, "gridGases");
    ASSERT_NE(gases->item(0, 0), nullptr);
    EXPECT_FALSE(Edit("edAtmNotes")->text().isEmpty());
    Find<QPushButton>(Dlg, "btnClearAtm")->click();
    EXPECT_EQ(Edit("edPressure")->text(), "0");
    EXPECT_EQ(Edit("edAtmNotes")->text(), "None");
    EXPECT_EQ(gases->item(0, 0), nullptr);
    EXPECT_TRUE(Planet->AtmElements.empty());
}

} // namespace

namespace {

// The dialog as drawn for a terrestrial planet; kept as a PNG when
// KALVION_KEEP_SCREENSHOT names a file.
TEST_F(EditBodyPages, DrawsTheTerrestrialPlanetPage)
{
    Planet->Population = 8000000000.0;
    Planet->Temp = 288;
    Planet->Atmosphere = 1;
    Planet->AtmosphereNotes = "Breathable";
    Planet->SetAtmElement("N2", 78);
    Planet->SetAtmElement("O2", 21);
    Open(Planet);
    Dlg.resize(720, 600);
    Dlg.show();
    QCoreApplication::processEvents();
    const QImage shot = Dlg.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(720, 600));
    // The page area and the buttons keep their places when the window grows.
    EXPECT_EQ(Tabs()->width(), 720 - 34);
    EXPECT_EQ(Find<QPushButton>(Dlg, "btnOk")->x(), 720 - 187);
    EXPECT_EQ(Find<QPushButton>(Dlg, "btnCancel")->x(), 720 - 107);
    if (qEnvironmentVariableIsSet("KALVION_KEEP_SCREENSHOT"))
        shot.save(qEnvironmentVariable("KALVION_KEEP_SCREENSHOT"));
    Dlg.hide();
}

} // namespace
