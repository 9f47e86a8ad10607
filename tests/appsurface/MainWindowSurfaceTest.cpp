// Picking a planet in the window asks the surface map manager for its map;
// the window repaints when it is ready and never waits for a terrain program
// when it closes.
#include "../support/ScratchWindow.h"
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"

#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "surface/manager/SurfaceMapMgr.h"
#include "surface/manager/SurfaceMapOps.h"
#include "surface/manager/SurfacePalette.h"

#include <QApplication>
#include <QLabel>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kalvion::app {
namespace {

bool WaitUntil(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 120000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct SurfaceWindow : ::testing::Test, test::TScratchWindow<TScriptedMessages> {
    QString file;

    void SetUp() override
    {
        PrepareScratch();
        OpenWindow();

        TVexaSector s;
        auto root = TStellarBody::Create();
        root->Name = "Sol";
        root->TypeID = BODY_TYPE_STAR;
        for (int type : {BODY_TYPE_TERRESTRIAL, BODY_TYPE_GASGIANT, BODY_TYPE_TERRESTRIAL}) {
            auto p = TStellarBody::Create();
            p->TypeID = type;
            p->Name = "P" + std::to_string(root->ChildrenCount() + 1);
            p->RandomSeed = 11 + root->ChildrenCount();
            p->Radius = 3000;
            p->Water = 0.4;
            p->Temp = 280;
            p->Atmosphere = 1;
            p->Albedo = 0.4;
            root->AddChild(std::move(p));
        }
        s.AddSystem(std::move(root));
        file = dir.filePath(QStringLiteral("s.VexaDB"));
        ASSERT_TRUE(SaveToFile(s, file.toStdString(), false));
        ASSERT_TRUE(window->OpenSectorFile(file));
        window->Sector().DynaLoad(window->Sector().Systems.at(0).get());
        window->SurfaceMaps().SetResolution(1);
    }
    void TearDown() override
    {
        if (window)
            window->Sector().Modified = false;
        window.reset();
    }
    TStellarBody *Child(int i) { return window->Sector().Systems.at(0)->Children.at(i).get(); }
};

TEST_F(SurfaceWindow, PickingAPlanetMakesItsMapInTheBackground)
{
    int ready = 0;
    QObject::connect(&window->SurfaceMaps(), &TSurfaceMapMgr::mapReady, [&] { ++ready; });
    TStellarBody *giant = Child(1);
    auto *status = window->findChild<QLabel *>(QStringLiteral("statusPanel0"));
    ASSERT_NE(status, nullptr);
    window->PickBody(giant);
    // The status bar tells while the map is made, and no longer after.
    EXPECT_EQ(status->text(), QStringLiteral("Making a surface map..."));
    ASSERT_TRUE(WaitUntil([&] { return window->SurfaceMaps().IndexOfMap(giant->IDString) >= 0; }));
    EXPECT_EQ(ready, 1);
    EXPECT_TRUE(WaitUntil([&] { return status->text().isEmpty(); }));
    EXPECT_EQ(window->SurfaceMaps().CurrentMap(giant->IDString).size(), QSize(256, 128));
    // Picked again: nothing more to make.
    window->PickBody(giant);
    EXPECT_EQ(window->SurfaceMaps().ThreadCount(), 0);
    EXPECT_EQ(window->SurfaceMaps().QueuedCount(), 0);
}

TEST_F(SurfaceWindow, APlanetWithStoredTerrainIsNotMadeAgain)
{
    TStellarBody *planet = Child(0);
    ASSERT_TRUE(GenerateGexSurfaceMap(window->Sector(), *planet, true, DefaultVexaColorGroup(), 64, 32));
    planet->PreviewImageFile.clear();  // only the terrain data is left to find
    window->PickBody(planet);
    EXPECT_EQ(window->SurfaceMaps().ThreadCount(), 0);
    EXPECT_EQ(window->SurfaceMaps().IndexOfMap(planet->IDString), -1);
    // The other planet has none and is made.
    window->PickBody(Child(2));
    EXPECT_EQ(window->SurfaceMaps().ThreadCount() + window->SurfaceMaps().FinishedCount(), 1);
    ASSERT_TRUE(WaitUntil([&] { return window->SurfaceMaps().ActiveCount() == 0; }));
}

TEST_F(SurfaceWindow, ClosingKillsATerrainProgramThatNeverEnds)
{
    const QString program = dir.filePath(QStringLiteral("hung-terrain"));
    QFile f(program);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho started > started.txt\nexec sleep 600\n");
    f.close();
    ::chmod(program.toLocal8Bit().constData(), 0755);
    window->SurfaceMaps().SetExternalProgram(true, program.toStdString());
    window->PickBody(Child(0));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(dir.filePath(QStringLiteral("started.txt"))); }));
    window->Sector().Modified = false;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->SurfaceMaps().ActiveCount(), 0);
}

} // namespace
} // namespace kalvion::app
