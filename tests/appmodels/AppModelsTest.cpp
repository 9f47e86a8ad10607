// The main window makes one model manager at start-up that searches the
// program's "Models/" folder (spelled so on every file system).
#include "app/MainWindow.h"
#include "app/ScriptedMessages.h"
#include "app/SettingsStore.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/models/ModelManager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kalvion;
using namespace kalvion::app;

namespace {

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(AppModels, TheWindowLoadsDefaultModelsFromItsModelsFolder)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    TScriptedMessages messages;
    TSettingsStore store(dir.filePath(QStringLiteral("k.ini")));
    store.SetBool(QStringLiteral("PerformanceSkip"), true);
    TfrmVexaMain::TOptions o;
    o.ProgramFolder = dir.path() + QLatin1Char('/');
    o.SkipGL = true;
    // A fleet default model in the program folder of this window.
    WriteFile(dir.filePath(QStringLiteral("Models/Fleet/default.obj/default.obj")),
              "v 0 0 0\nv 1 0 0\nv 0 1 1\nf 1 2 3\n");
    TfrmVexaMain window(messages, store, o);

    T3dModelManager *models = window.ModelManager();
    ASSERT_NE(models, nullptr);
    ASSERT_EQ(models->SearchFolders().size(), 1u);
    EXPECT_EQ(models->SearchFolders()[0], (dir.path() + QStringLiteral("/Models/")).toStdString());

    auto fleet = TStellarBody::Create();
    fleet->TypeID = BODY_TYPE_FLEET;
    const int index = models->LoadModel(*fleet);
    ASSERT_GE(index, 0);
    EXPECT_EQ(models->ModelAt(index)->FileName(),
              (dir.path() + QStringLiteral("/Models/Fleet/default.obj/default.obj")).toStdString());
    auto ship = TStellarBody::Create();
    ship->TypeID = BODY_TYPE_SHIP;  // no default model in this folder
    EXPECT_EQ(models->LoadModel(*ship), -1);
    window.Sector().Modified = false;
}

// A station whose model cannot be drawn shows as a star, and the status bar
// says which model failed and why.
TEST(AppModels, AModelThatFailsIsNamedInTheStatusBar)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    TScriptedMessages messages;
    TSettingsStore store(dir.filePath(QStringLiteral("k.ini")));
    store.SetBool(QStringLiteral("PerformanceSkip"), true);
    TfrmVexaMain::TOptions o;
    o.ProgramFolder = dir.path() + QLatin1Char('/');
    o.SkipGL = true;
    WriteFile(dir.filePath(QStringLiteral("Models/Space Station/broken.obj/broken.obj")), "o nothing\ng parts\n");
    TfrmVexaMain window(messages, store, o);
    auto station = TStellarBody::Create();
    station->TypeID = BODY_TYPE_STATION;
    station->ModelFile = "broken.obj";
    EXPECT_EQ(window.ModelManager()->LoadModel(*station), -1);
    const QString shown = window.statusBar()->currentMessage();
    EXPECT_TRUE(shown.contains(QStringLiteral("\"Space Station/broken.obj/broken.obj\" could not be loaded")))
        << shown.toStdString();
    window.Sector().Modified = false;
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
