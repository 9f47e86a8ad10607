// The editing windows on their own: presets, checks and what they write
// into a sector, driven through their controls.
#include "EditTestSupport.h"

#include "app/edit/BodyKinds.h"
#include "app/edit/CreateRouteDialog.h"
#include "app/edit/GridStylesDialog.h"
#include "app/edit/MassEditDialogs.h"
#include "app/edit/NewSystemDialog.h"
#include "base/SharedRandom.h"
#include "model/StellarRoute.h"

#include <QCheckBox>
#include <QComboBox>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QAbstractButton>
#include <QToolButton>

#include <map>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

struct DialogFixture : ::testing::Test {
    TScriptedMessages messages;
    TVexaSector sector;
    TStellarBody *System(const std::string &name)
    {
        TStellarBody *b = sector.NewSystem(1);
        b->Name = name;
        return b;
    }
    void AddRoute(TStellarBody *a, TStellarBody *b, const std::string &type)
    {
        sector.CreateRouteSegment(a, b, type, "r", ColorRGB(255, 255, 255), 0, 1);
    }
};

} // namespace

TEST_F(DialogFixture, DisplayStyleShowsTheFirstSelectedSystemsFontStyle)
{
    TStellarBody *a = System("A");
    TStellarBody *b = System("B");
    a->FontStyle = 1;
    b->FontStyle = 3;
    b->Color = ColorRGB(1, 2, 3);
    b->LabelColor = ColorRGB(4, 5, 6);
    TfrmMassDisplayStyle dialog(messages);
    auto *bold = Control<QToolButton>(&dialog, "btnBold");
    auto *underline = Control<QToolButton>(&dialog, "btnUnderline");
    // The first selected system is the first of the selection, not of the sector.
    sector.SelectBody(b);
    sector.SelectBody(a);
    dialog.Load(sector);
    EXPECT_TRUE(bold->isChecked());
    EXPECT_TRUE(underline->isChecked());
    EXPECT_EQ(PanelColor(Control<QPushButton>(&dialog, "pnlColor")), ColorRGB(1, 2, 3));
    EXPECT_EQ(PanelColor(Control<QPushButton>(&dialog, "pnlLabelColor")), ColorRGB(4, 5, 6));

    sector.SelectAll(false);
    sector.SelectBody(a);
    dialog.Load(sector);
    EXPECT_TRUE(bold->isChecked());
    EXPECT_FALSE(underline->isChecked());
    a->FontStyle = 2;
    dialog.Load(sector);
    EXPECT_FALSE(bold->isChecked());
    EXPECT_TRUE(underline->isChecked());

    // Both pressed is style 3 on every selected system, and only on them.
    sector.SelectBody(b);
    bold->setChecked(true);
    dialog.Apply(sector);
    EXPECT_EQ(a->FontStyle, 3);
    EXPECT_EQ(b->FontStyle, 3);
    TStellarBody *c = System("C");
    dialog.Apply(sector);
    EXPECT_EQ(c->FontStyle, 0);
}

TEST_F(DialogFixture, LabelDistancesPresetAndChecks)
{
    TfrmMassLabelDistances dialog(messages);
    auto *label = Control<QLineEdit>(&dialog, "edLabelDistance");
    auto *route = Control<QLineEdit>(&dialog, "edRouteDistance");
    // Nothing selected: a new body's distances.
    const auto fresh = TStellarBody::Create();
    dialog.Load(sector);
    EXPECT_EQ(label->text(), TextFromNumber(fresh->LabelDistance));
    EXPECT_EQ(route->text(), TextFromNumber(fresh->RouteDistance));

    TStellarBody *a = System("A");
    a->LabelDistance = 7.25;
    a->RouteDistance = 3;
    sector.SelectBody(a);
    dialog.Load(sector);
    EXPECT_EQ(label->text(), QStringLiteral("7.25"));
    EXPECT_EQ(route->text(), QStringLiteral("3"));

    for (const char *bad : {"", "abc", "12x", "nan", "inf"}) {
        label->setText(QString::fromLatin1(bad));
        EXPECT_EQ(dialog.Validate(), QStringLiteral("Distances must be numbers")) << bad;
    }
    label->setText(QStringLiteral(" 9.5 "));
    route->setText(QStringLiteral("x"));
    EXPECT_EQ(dialog.Validate(), QStringLiteral("Distances must be numbers"));
    const qsizetype before = messages.Log().size();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.Log().size(), before + 1);
    EXPECT_TRUE(messages.Log().back().endsWith(QStringLiteral("\tDistances must be numbers")));

    route->setText(QStringLiteral("11"));
    EXPECT_TRUE(dialog.Validate().isEmpty());
    dialog.Apply(sector);
    EXPECT_EQ(a->LabelDistance, 9.5);
    EXPECT_EQ(a->RouteDistance, 11);
}

TEST_F(DialogFixture, SpherePresetFollowsStyleAndRefusesBadSize)
{
    TStellarBody *a = System("A");
    a->SphereInfluence = 2;
    a->SphereInfluenceSize = 1.5;
    sector.SelectBody(a);
    TfrmMassSphere dialog(messages);
    dialog.Load(sector);
    EXPECT_TRUE(Control<QRadioButton>(&dialog, "rbCube")->isChecked());
    EXPECT_EQ(Control<QLineEdit>(&dialog, "edSize")->text(), QStringLiteral("1.5"));
    a->SphereInfluence = 7;
    dialog.Load(sector);
    EXPECT_TRUE(Control<QRadioButton>(&dialog, "rbNoDisplay")->isChecked());

    Control<QLineEdit>(&dialog, "edSize")->setText(QStringLiteral("big"));
    EXPECT_EQ(dialog.Validate(), QStringLiteral("Sphere size must be a number"));
    Control<QLineEdit>(&dialog, "edSize")->setText(QStringLiteral("2.5"));
    Control<QRadioButton>(&dialog, "rbSpherical")->setChecked(true);
    dialog.Apply(sector);
    EXPECT_EQ(a->SphereInfluence, 1);
    EXPECT_EQ(a->SphereInfluenceSize, 2.5);
}

TEST_F(DialogFixture, RandomRouteColoursNeverFallBelow64)
{
    SetSharedRandomSeed(12345);
    std::map<int, int> seen;
    for (int i = 0; i < 20000; ++i) {
        const TColor c = RandomRouteColor();
        for (int channel : {ColorRed(c), ColorGreen(c), ColorBlue(c)}) {
            ASSERT_GE(channel, 64);
            ASSERT_LE(channel, 255);
            ++seen[channel];
        }
        ASSERT_EQ(c >> 24, 0u);
    }
    // The whole range is reached, both ends included.
    EXPECT_EQ(seen.size(), 192u);

    // The button sets the swatch from the same draw.
    TfrmCreateRoute dialog(messages);
    EXPECT_EQ(dialog.Color(), ColorRGB(255, 255, 255));
    SetSharedRandomSeed(77);
    const TColor expected = RandomRouteColor();
    SetSharedRandomSeed(77);
    Click(&dialog, "btnRandomColor");
    EXPECT_EQ(dialog.Color(), expected);
}

TEST_F(DialogFixture, CreateRouteRefillsTypesAndDrawsThroughTheSelectionInOrder)
{
    TStellarBody *a = System("A");
    TStellarBody *b = System("B");
    TStellarBody *c = System("C");
    AddRoute(a, b, "Trade");
    AddRoute(a, b, "");
    TfrmCreateRoute dialog(messages);
    dialog.Load(sector);
    auto *types = Control<QComboBox>(&dialog, "cmbRouteType");
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Trade"));
    EXPECT_EQ(Control<QComboBox>(&dialog, "cmbLineWidth")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(Control<QComboBox>(&dialog, "cmbLineStyle")->count(), 5);

    sector.SelectBody(c);
    EXPECT_EQ(dialog.Apply(sector), nullptr);  // one system makes no route
    sector.SelectBody(a);
    sector.SelectBody(b);
    Control<QLineEdit>(&dialog, "edRouteName")->setText(QStringLiteral("Spine"));
    types->setEditText(QStringLiteral("Mail"));
    Control<QComboBox>(&dialog, "cmbLineStyle")->setCurrentIndex(3);
    Control<QComboBox>(&dialog, "cmbLineWidth")->setCurrentIndex(0);
    messages.Push(QStringLiteral("0x00FF8040"));
    Click(&dialog, "btnSelectColor");
    TStellarRoute *r = dialog.Apply(sector);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->WaypointCount(), 3);
    EXPECT_EQ(r->GetWaypoint(0)->id, c->IDString);
    EXPECT_EQ(r->GetWaypoint(1)->id, a->IDString);
    EXPECT_EQ(r->GetWaypoint(2)->id, b->IDString);
    EXPECT_EQ(r->Name, "Spine");
    EXPECT_EQ(r->RouteType, "Mail");
    EXPECT_EQ(r->LineStyle, 3);
    EXPECT_EQ(r->LineWidth, 0.5);
    EXPECT_DOUBLE_EQ(r->Red, 0x40 / 255.0);
    EXPECT_DOUBLE_EQ(r->Green, 0x80 / 255.0);
    EXPECT_DOUBLE_EQ(r->Blue, 1.0);
    dialog.Load(sector);
    EXPECT_EQ(types->count(), 2);
}

TEST_F(DialogFixture, DeleteRoutesUnassignedMeansTheEmptyType)
{
    TStellarBody *a = System("A");
    TStellarBody *b = System("B");
    AddRoute(a, b, "");
    AddRoute(a, b, "Trade");
    AddRoute(a, b, "");
    AddRoute(a, b, "War");
    TfrmMassDeleteRoutes dialog(messages);
    dialog.Load(sector);
    auto *list = Control<QComboBox>(&dialog, "cmbRouteType");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("(Unassigned)"));
    EXPECT_EQ(list->currentIndex(), 1);  // the second entry
    // The type of the first selected route wins when it is listed.
    sector.GetRoute(3)->Selected = true;
    dialog.Load(sector);
    EXPECT_EQ(list->currentText(), QStringLiteral("War"));

    list->setCurrentIndex(0);
    EXPECT_EQ(dialog.Question(), QStringLiteral("Delete all '(Unassigned)' routes?"));
    EXPECT_EQ(dialog.Apply(sector), 2);
    ASSERT_EQ(sector.RouteCount(), 2);
    EXPECT_EQ(sector.GetRoute(0)->RouteType, "Trade");
    EXPECT_EQ(sector.GetRoute(1)->RouteType, "War");

    Click(&dialog, "chkDeleteAll");
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(dialog.Question(), QStringLiteral("Delete all routes?"));
    // "No" keeps the window and the routes.
    messages.Push(QStringLiteral("No"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.Log().back().startsWith(QStringLiteral("ask\tDelete Routes\tDelete all routes?")));
    EXPECT_EQ(dialog.Apply(sector), 2);
    EXPECT_EQ(sector.RouteCount(), 0);
}

TEST_F(DialogFixture, GridSpacingsThatAreNotNumbersKeepTheOldValues)
{
    sector.GridStyle = GRID_STYLE_SPHERE;
    sector.GridX = 5;
    sector.GridY = 6;
    sector.GridZ = 7;
    sector.GridTick = 7;  // not listed: the second entry
    sector.GridTickLabels = false;
    TfrmGridStyles dialog(messages);
    dialog.Load(sector);
    EXPECT_TRUE(Control<QRadioButton>(&dialog, "rbSphereGrid")->isChecked());
    EXPECT_EQ(Control<QComboBox>(&dialog, "cmbRadialTicks")->currentText(), QStringLiteral("2"));
    EXPECT_EQ(Control<QLineEdit>(&dialog, "edGridY")->text(), QStringLiteral("6"));

    Control<QLineEdit>(&dialog, "edGridX")->setText(QStringLiteral("ten"));
    Click(&dialog, "rbCubeGrid");
    const qsizetype before = messages.Log().size();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.Log().size(), before + 1);
    EXPECT_TRUE(messages.Log().back().endsWith(QStringLiteral("\tGrid spacings must be numbers")));
    dialog.Apply(sector);
    EXPECT_EQ(sector.GridStyle, GRID_STYLE_SPHERE);
    EXPECT_EQ(sector.GridX, 5);

    // A cube grid of spacing 0 would never end.
    Control<QLineEdit>(&dialog, "edGridX")->setText(QStringLiteral("0"));
    EXPECT_TRUE(dialog.Validate().startsWith(QStringLiteral("Grid settings will create too many grids")));

    Control<QLineEdit>(&dialog, "edGridX")->setText(QStringLiteral("4"));
    Control<QComboBox>(&dialog, "cmbRadialTicks")->setCurrentIndex(6);
    Click(&dialog, "chkLabelTicks");
    EXPECT_TRUE(dialog.Validate().isEmpty());
    dialog.Apply(sector);
    EXPECT_EQ(sector.GridStyle, GRID_STYLE_CUBE);
    EXPECT_EQ(sector.GridX, 4);
    EXPECT_EQ(sector.GridTick, 45);
    EXPECT_TRUE(sector.GridTickLabels);

    // Spacings are shown and read in the sector's unit.
    sector.UnitStarMeasureName = "Parsecs";
    sector.UpdateUnits();
    sector.GridX = 3.2616 * 2;
    dialog.Load(sector);
    EXPECT_EQ(Control<QLineEdit>(&dialog, "edGridX")->text(), QStringLiteral("2"));
    Control<QLineEdit>(&dialog, "edGridX")->setText(QStringLiteral("3"));
    dialog.Apply(sector);
    EXPECT_DOUBLE_EQ(sector.GridX, 3 * 3.2616);
}

TEST_F(DialogFixture, BlazonPreviewPrefersTheImageResourceAndKeepsProportions)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("crest.png"));
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(file));
    TfrmMassBlazons dialog(messages, sector);
    auto *display = Control<QCheckBox>(&dialog, "chkDisplayBlazon");
    EXPECT_FALSE(display->isChecked());

    // Only the file: taken from the file, 40 x 20 fitted to 128 x 64, centred.
    dialog.ChooseFile(file);
    EXPECT_TRUE(display->isChecked());
    QImage p = dialog.Preview();
    ASSERT_EQ(p.size(), QSize(128, 128));
    EXPECT_EQ(QColor(p.pixel(64, 64)), QColor(Qt::red));
    EXPECT_EQ(QColor(p.pixel(3, 40)), QColor(Qt::red));
    EXPECT_EQ(qAlpha(p.pixel(64, 20)), 0);   // above the picture
    EXPECT_EQ(qAlpha(p.pixel(64, 110)), 0);  // below it

    // A resource of that name wins over the file.
    QImage blue(10, 30, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        blue.save(&buffer, "PNG");
    }
    sector.ImageResources.AddResourceStream(file.toStdString(), TByteStream(png.begin(), png.end()), true);
    dialog.ChooseFile(file);
    p = dialog.Preview();
    EXPECT_EQ(QColor(p.pixel(64, 64)), QColor(Qt::blue));
    EXPECT_EQ(qAlpha(p.pixel(10, 64)), 0);  // beside the tall picture

    // A name that reads as neither shows nothing.
    dialog.ChooseFile(dir.filePath(QStringLiteral("missing.png")));
    EXPECT_TRUE(dialog.Preview().isNull());

    TStellarBody *a = System("A");
    sector.SelectBody(a);
    dialog.ChooseFile(file);
    Click(&dialog, "chkWrapBlazon");
    dialog.Apply(sector);
    EXPECT_TRUE(a->BlazonDisplay);
    EXPECT_TRUE(a->BlazonWrap);
    EXPECT_EQ(a->BlazonImageFile, file.toStdString());
}

TEST_F(DialogFixture, PoliticalListOffersTheSectorsAffiliations)
{
    TStellarBody *a = System("A");
    TStellarBody *b = System("B");
    sector.AddPolitical("");
    sector.AddPolitical("Union");
    sector.AddPolitical("League");
    TfrmMassPolitical dialog(messages);
    dialog.Load(sector);
    auto *list = Control<QComboBox>(&dialog, "cmbPolitical");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), QStringLiteral("Union"));
    sector.SelectBody(b);
    list->setEditText(QStringLiteral("Free Worlds"));
    dialog.Apply(sector);
    EXPECT_EQ(b->PoliticalAffiliation, "Free Worlds");
    EXPECT_EQ(a->PoliticalAffiliation, "");
    EXPECT_GE(sector.FindPolitical("Free Worlds"), 0);
}

namespace {

struct MapValues : TSettingsValues {
    std::map<std::string, std::string> Values;
    std::optional<std::string> Read(std::string_view name) const override
    {
        const auto it = Values.find(std::string(name));
        if (it == Values.end())
            return std::nullopt;
        return it->second;
    }
    void Write(std::string_view name, const std::string &value) override { Values[std::string(name)] = value; }
};

} // namespace

TEST(NewSystemMemory, ReadsInOrderUpToTheFirstMissingValue)
{
    TNewSystemChoice defaults;
    defaults.NameTable = "Default.ilt";
    MapValues m;
    // Nothing kept: the defaults, organic naming on.
    TNewSystemChoice c = ReadNewSystemChoice(m, defaults);
    EXPECT_EQ(c.NameTable, "Default.ilt");
    EXPECT_TRUE(c.OrganicNaming);

    m.Values = {{"GeneratorNameTable", "Other.ilt"}, {"OrganicNaming", "0"}, {"GeneratorFreqStation", "3"},
                {"GeneratorFreqTerrestrial", "99"}, {"GeneratorFreqPlanetSystem", "4"}};
    c = ReadNewSystemChoice(m, defaults);
    EXPECT_EQ(c.NameTable, "Other.ilt");
    EXPECT_TRUE(c.Populations);  // missing switch: on, and reading goes on
    EXPECT_FALSE(c.OrganicNaming);
    EXPECT_EQ(c.Freq[NS_STATIONS], 3);
    EXPECT_EQ(c.Freq[NS_TERRESTRIAL], 50);  // held to the slider
    EXPECT_EQ(c.Freq[NS_PLANET_SYSTEMS], 10);  // after the missing gas giants: not read

    TNewSystemChoice written;
    written.Freq = {1, 2, 3, 4, 5, 6};
    written.Terraforming = 4;
    written.Populations = false;
    MapValues out;
    WriteNewSystemChoice(out, written);
    const TNewSystemChoice back = ReadNewSystemChoice(out, defaults);
    EXPECT_EQ(back.Freq, written.Freq);
    EXPECT_EQ(back.Terraforming, 4);
    EXPECT_FALSE(back.Populations);

    const TSystemGeneratorOptions o = NewSystemGeneratorOptions(written);
    EXPECT_FALSE(o.KeepDefaults);
    EXPECT_EQ(o.Frequencies[BODY_TYPE_TERRESTRIAL], 1);
    EXPECT_EQ(o.Frequencies[BODY_TYPE_STATION], 6);
    EXPECT_EQ(o.Frequencies[BODY_TYPE_PLANETOID], 5);
    EXPECT_FALSE(o.WithPopulations);
}

TEST(BodyKinds, MenuOrderTypesAndPlacement)
{
    ASSERT_EQ(BodyKindCount(), 28);
    EXPECT_STREQ(BodyKindAt(0).Text, "Blank");
    EXPECT_EQ(BodyKindAt(8).TypeID, BODY_TYPE_CLOSEMULT);
    EXPECT_EQ(BodyKindAt(22).TypeID, BODY_TYPE_RING);
    EXPECT_STREQ(BodyKindAt(27).Text, "Marker");
    EXPECT_EQ(BodyKindAt(27).TypeID, BODY_TYPE_MARKER);

    SetSharedRandomSeed(5);
    auto root = TStellarBody::Create();
    root->TypeID = BODY_TYPE_STAR;
    root->Mass = 1;
    root->Luminosity = 1;
    TStellarBody *planet = AddChildOfKind(*root, 10, "");  // Earthlike
    ASSERT_NE(planet, nullptr);
    EXPECT_EQ(planet->Parent, root.get());
    EXPECT_EQ(planet->TypeID, BODY_TYPE_TERRESTRIAL);
    EXPECT_GT(planet->Radius, 0);
    EXPECT_GT(planet->Atmosphere, 0);
    TStellarBody *giant = AddChildOfKind(*root, 17, "");  // Massive
    EXPECT_EQ(giant->TypeID, BODY_TYPE_GASGIANT);
    EXPECT_GT(giant->Mass, 0);
    TStellarBody *blank = AddChildOfKind(*root, 9, "");
    EXPECT_EQ(blank->Radius, 0);
    // Inserted before the body it was asked at.
    TStellarBody *marker = InsertBodyOfKind(*giant, 27, "");
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(root->FindChildIndex(marker), 1);
    EXPECT_EQ(root->FindChildIndex(giant), 2);
    EXPECT_EQ(InsertBodyOfKind(*root, 27, ""), nullptr);  // a root has no place among siblings
    EXPECT_EQ(root->ChildrenCount(), 4);
}

TEST_F(DialogFixture, WindowTextsKeepTheProgramsOwnWording)
{
    const auto label = [](QWidget &w, const char *name) { return Control<QLabel>(&w, name)->text(); };
    const auto button = [](QWidget &w, const char *name) { return Control<QAbstractButton>(&w, name)->text(); };
    TfrmCreateRoute route(messages);
    EXPECT_EQ(route.windowTitle(), QStringLiteral("Routes"));
    EXPECT_EQ(label(route, "lblColor"), QStringLiteral("Color: "));
    EXPECT_EQ(button(route, "btnRandomColor"), QStringLiteral("Random Color"));
    EXPECT_EQ(button(route, "btnOk"), QStringLiteral("&Ok"));
    QStringList widths;
    for (int i = 0; i < Control<QComboBox>(&route, "cmbLineWidth")->count(); ++i)
        widths << Control<QComboBox>(&route, "cmbLineWidth")->itemText(i);
    EXPECT_EQ(widths.join(QLatin1Char(' ')), QStringLiteral("0.5 1 2 3 4 5 6 7 8 9 10"));

    TfrmMassPolitical political(messages);
    EXPECT_EQ(political.windowTitle(), QStringLiteral("Mass Edit - Political Affiliations"));
    EXPECT_EQ(label(political, "lblInfo"),
              QStringLiteral("Enter or select the political affiliation to apply to all selected systems."));
    TfrmMassDisplayStyle style(messages);
    EXPECT_EQ(style.windowTitle(), QStringLiteral("Mass Edit - Display Color and Font Style"));
    EXPECT_EQ(label(style, "lblLabelStyle"), QStringLiteral("Label Style:"));
    TfrmMassLabelDistances distances(messages);
    EXPECT_EQ(distances.windowTitle(), QStringLiteral("Mass Edit - Label Distances"));
    EXPECT_EQ(label(distances, "lblRouteDistance"), QStringLiteral("Label routes when within:"));
    TfrmMassSphere sphere(messages);
    EXPECT_EQ(sphere.windowTitle(), QStringLiteral("Mass Edit - Sphere of Influence"));
    EXPECT_EQ(Control<QPushButton>(&sphere, "pnlColor")->toolTip(), QStringLiteral("Click to Choose"));
    TfrmMassDeleteRoutes routes(messages);
    EXPECT_EQ(routes.windowTitle(), QStringLiteral("Mass Edit - Delete Routes"));
    EXPECT_EQ(button(routes, "btnDelete"), QStringLiteral("&Delete"));
    TfrmMassBlazons blazons(messages, sector);
    EXPECT_EQ(button(blazons, "chkDisplayBlazon"), QStringLiteral("Display Blazon instead of star"));
    EXPECT_EQ(button(blazons, "chkWrapBlazon"), QStringLiteral("Wrap blazon around globe"));
    TfrmGridStyles grids(messages);
    EXPECT_EQ(label(grids, "lblGridZ"), QStringLiteral("Grid Depth (Z):"));
    QStringList ticks;
    for (int i = 0; i < Control<QComboBox>(&grids, "cmbRadialTicks")->count(); ++i)
        ticks << Control<QComboBox>(&grids, "cmbRadialTicks")->itemText(i);
    EXPECT_EQ(ticks.join(QLatin1Char(' ')), QStringLiteral("1 2 5 10 15 30 45"));
}
