// The main window's orbit view without GL: the Orbits menu's states and
// choices, switching in and out, the clock and the mouse rules.
#include "OrbitWindowSupport.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "app/orbit/OrbitCommands.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <QAction>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

class OrbitWindow : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TScriptedMessages Messages;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;
    QString File;

    void SetUp() override
    {
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
        File = Dir.filePath(QStringLiteral("Pair.VexaDB"));
        ASSERT_TRUE(WriteOrbitSector(File));
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        o.FileToOpen = File;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
    }
    void TearDown() override
    {
        if (Window)
            Window->Sector().Modified = false;
        Window.reset();
    }
    QAction *Action(const char *id) { return Window->Actions().Action(QString::fromLatin1(id)); }
    TStellarBody *System(const char *name) { return Window->Sector().FindRootBodyByName(name); }
};

TEST_F(OrbitWindow, OrbitsMenuWorksOnlyInTheOrbitView)
{
    for (const TOrbitMenuItem &item : OrbitMenuItems())
        EXPECT_FALSE(Action(item.Id)->isEnabled()) << item.Id;
    EXPECT_FALSE(Action("Body.SectorMap")->isEnabled());
    Window->ShowOrbitView(System("Aldra"));
    EXPECT_EQ(Window->ViewMode(), VIEW_MODE_ORBIT);
    for (const TOrbitMenuItem &item : OrbitMenuItems())
        EXPECT_TRUE(Action(item.Id)->isEnabled()) << item.Id;
    EXPECT_TRUE(Action("Body.SectorMap")->isEnabled());
    // Defaults: forwards in real time, text, names and orbits on, no axis.
    for (const char *id : {"Orbits.Forwards", "Orbits.RealTime", "Orbits.DisplayText", "Orbits.BodyNames",
                           "Orbits.OrbitalPaths"})
        EXPECT_TRUE(Action(id)->isChecked()) << id;
    EXPECT_FALSE(Action("Orbits.PlanetAxis")->isChecked());
    EXPECT_FALSE(Action("Orbits.Backwards")->isChecked());

    TRenderOrbitOGL &view = Window->OrbitView();
    Action("Orbits.Backwards")->trigger();
    EXPECT_EQ(view.TimeDirection, -1);
    EXPECT_FALSE(Action("Orbits.Forwards")->isChecked());
    const std::pair<const char *, int> rates[] = {{"Orbits.Stopped", 0}, {"Orbits.Minute", 2}, {"Orbits.Hours", 3},
                                                  {"Orbits.Days", 4},    {"Orbits.Week", 5},   {"Orbits.Month", 6},
                                                  {"Orbits.Year", 8},    {"Orbits.RealTime", 1}};
    for (const auto &[id, code] : rates) {
        Action(id)->trigger();
        EXPECT_EQ(view.TimeRate, code) << id;
        EXPECT_TRUE(Action(id)->isChecked());
    }
    Action("Orbits.PlanetAxis")->trigger();
    Action("Orbits.BodyNames")->trigger();
    Action("Orbits.OrbitalPaths")->trigger();
    Action("Orbits.DisplayText")->trigger();
    EXPECT_TRUE(view.ShowAxis);
    EXPECT_FALSE(view.ShowNames);
    EXPECT_FALSE(view.ShowOrbits);
    EXPECT_FALSE(view.ShowText);

    Action("Body.SectorMap")->trigger();
    EXPECT_EQ(Window->ViewMode(), VIEW_MODE_SECTOR);
    EXPECT_FALSE(Action("Orbits.Year")->isEnabled());
    EXPECT_FALSE(Window->OrbitTimer()->isActive());
}

TEST_F(OrbitWindow, TheClockRunsWhileTheViewIsShown)
{
    TVexaSector &s = Window->Sector();
    s.Time = 10;
    Window->ShowOrbitView(System("Brisk"));
    ASSERT_TRUE(Window->OrbitTimer()->isActive());
    EXPECT_EQ(Window->OrbitTimer()->interval(), 50);
    Action("Orbits.Days")->trigger();
    QElapsedTimer clock;
    clock.start();
    while (s.Time == 10 && clock.elapsed() < 5000)
        QTest::qWait(20);
    ASSERT_GT(s.Time, 10);
    // Each tick is a twentieth of a day.
    const double ticks = (s.Time - 10) / 0.05;
    EXPECT_NEAR(ticks, std::nearbyint(ticks), 1e-6);
    Action("Orbits.Stopped")->trigger();
    const double stopped = s.Time;
    QTest::qWait(150);
    EXPECT_EQ(s.Time, stopped);
}

TEST_F(OrbitWindow, PickingARingShowsItsPlanetAndEachSystemKeepsItsCamera)
{
    TStellarBody *brisk = System("Brisk");
    Window->Sector().DynaLoad(brisk);
    TStellarBody *ring = brisk->GetChild(1)->GetChild(0);
    ASSERT_EQ(ring->TypeID, BODY_TYPE_RING);
    Window->ShowOrbitView(System("Aldra"));
    TRenderOrbitOGL &view = Window->OrbitView();
    view.Zoom(0.5);
    Window->PickBody(ring);  // a new selection while shown opens its system
    EXPECT_EQ(Window->OrbitSystem(), brisk->GetChild(1));
    EXPECT_EQ(view.Kind(), ORBIT_KIND_PLANET);
    Window->PickBody(System("Aldra"));
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 100);

    // Saved with the file, the shown system's camera included.
    view.Rotate(10, -30);
    ASSERT_TRUE(Window->Save());
    TVexaSector reopened;
    ASSERT_TRUE(LoadFromFile(reopened, File.toStdString()));
    TStellarBody *aldra = reopened.FindRootBodyByName("Aldra");
    ASSERT_NE(aldra, nullptr);
    reopened.DynaLoad(aldra);
    EXPECT_EQ(aldra->GetField("camera-dist"), "100");
    EXPECT_EQ(aldra->GetField("camera-lat"), "60");
    EXPECT_EQ(aldra->GetField("camera-long"), "10");
}

TEST_F(OrbitWindow, ANewDocumentLeavesTheOrbitView)
{
    Window->ShowOrbitView(System("Aldra"));
    ASSERT_EQ(Window->ViewMode(), VIEW_MODE_ORBIT);
    Window->BlankSector();
    EXPECT_EQ(Window->ViewMode(), VIEW_MODE_SECTOR);
    EXPECT_EQ(Window->OrbitSystem(), nullptr);
    EXPECT_FALSE(Window->OrbitTimer()->isActive());
}

TEST(OrbitMouse, DragRulesFollowTheLargerMovement)
{
    TRenderOrbitOGL view;
    view.Camera = {100, 0, 0};
    ApplyOrbitDrag(view, 5, 1, false);  // right
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 2);
    ApplyOrbitDrag(view, -5, 3, false);  // left
    EXPECT_DOUBLE_EQ(view.Camera.Longitude, 0);
    ApplyOrbitDrag(view, 1, 4, false);  // down
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, 2);
    ApplyOrbitDrag(view, 0, -4, false);  // up
    EXPECT_DOUBLE_EQ(view.Camera.Latitude, 0);
    ApplyOrbitDrag(view, 9, 0, true);  // Shift, not up: out
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 110);
    ApplyOrbitDrag(view, 0, -1, true);  // Shift, up: in
    EXPECT_DOUBLE_EQ(view.Camera.Distance, 99);
    EXPECT_TRUE(view.PointInReturnCorner(0, 0));
    EXPECT_TRUE(view.PointInReturnCorner(19, 19));
    EXPECT_FALSE(view.PointInReturnCorner(20, 5));
}

} // namespace
