// What the window takes from its plug-in folders: files that are no regular
// file are passed over with a note, plug-ins share code through "#insert",
// and their buttons sit beside "Halt Script".
#include "PluginWindowFixture.h"

#include "../support/StuckPipe.h"
#include "app/ActionTable.h"
#include "app/plugins/PluginFolders.h"
#include "plugins/PluginMgr.h"

#include <QAction>
#include <QImage>
#include <QToolBar>
#include <QToolButton>

namespace kalvion::app::test {
namespace {

TEST_F(PluginWindow, APipeNamedLikeAPluginIsPassedOverWithANote)
{
    WritePlugin(QStringLiteral("good.vbs"), QStringLiteral("#plugin Still Here\nMsgBox \"ran\"\n"));
    kalvion::test::TStuckPipe pipe((PluginFolder() + QStringLiteral("/X.vbs")).toStdString());
    ASSERT_TRUE(pipe.Made);
    Open();
    EXPECT_FALSE(pipe.Finish()) << "the window opened the pipe";
    const std::vector<std::string> &notes = window->PluginMgr().ScanMessages;
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("X.vbs"), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("not a regular file"), std::string::npos) << notes[0];
    // Chosen to be run, the pipe is refused with its reason and nothing runs.
    const auto from = LogSize();
    EXPECT_FALSE(window->RunScriptFile(PluginFolder() + QStringLiteral("/X.vbs")));
    const QStringList told = Told(from);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Script Error: Script file is not a regular file:"))) << told[0].toStdString();
    EXPECT_FALSE(window->ScriptRunning());
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("File.Open"))->isEnabled());
    const auto later = LogSize();
    MenuActions(QStringLiteral("Still Here")).value(0)->trigger();
    EXPECT_EQ(Told(later), QStringList{QStringLiteral("Kalvion: ran")});
}

TEST_F(PluginWindow, PluginsShareCodeFromTheirFolderTheUsersAndTheProgramsPlugins)
{
    WritePlugin(QStringLiteral("common.vbs"),
                QStringLiteral("#author Shared\nFunction Greeting() : Greeting = \"hello\" : End Function\n"));
    WritePlugin(QStringLiteral("greeter.vbs"), QStringLiteral("#plugin Greeter\n#insert common.vbs\nMsgBox Greeting()\n"));
    const QString user = UserPluginFolder();
    ASSERT_TRUE(QDir().mkpath(user));
    QFile mine(user + QStringLiteral("mine.vbs"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("Function Mine() : Mine = \"from the user\" : End Function\n");
    mine.close();
    // A script elsewhere reaches both plug-in folders; its own folder comes
    // first.
    Write(QStringLiteral("elsewhere/common.vbs"), QStringLiteral("Function Greeting() : Greeting = \"own\" : End Function\n"));
    const QString script = Write(QStringLiteral("elsewhere/run.vbs"),
                                 QStringLiteral("#insert common.vbs\n#insert mine.vbs\nMsgBox Greeting() & \" \" & Mine()\n"));
    Open();
    auto from = LogSize();
    MenuActions(QStringLiteral("Greeter")).value(0)->trigger();
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: hello")});
    from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(script));
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: own from the user")});
}

TEST_F(PluginWindow, PluginButtonsSitBesideHaltScriptInTheirOrder)
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Qt::red);
    ASSERT_TRUE(glyph.save(PluginFolder() + QStringLiteral("/g.bmp")));
    WritePlugin(QStringLiteral("a.vbs"), QStringLiteral("#plugin First\n#button g.bmp\n"));
    WritePlugin(QStringLiteral("b.vbs"), QStringLiteral("#filter Second\n#button g.bmp\n"));
    Open();
    auto *bar = window->findChild<QToolBar *>(QStringLiteral("toolbarMain"));
    ASSERT_TRUE(bar);
    const QList<QAction *> onBar = bar->actions();
    const qsizetype halt = onBar.indexOf(window->Actions().Action(QStringLiteral("Plugins.Halt")));
    ASSERT_GE(halt, 0);
    ASSERT_LT(halt + 2, onBar.size());
    EXPECT_EQ(bar->widgetForAction(onBar[halt + 1]), window->findChild<QToolButton *>(QStringLiteral("buttonPlugin#0")));
    EXPECT_EQ(bar->widgetForAction(onBar[halt + 2]), window->findChild<QToolButton *>(QStringLiteral("buttonPlugin#1")));
    // What stood after "Halt Script" follows the plug-in buttons.
    ASSERT_LT(halt + 3, onBar.size());
    EXPECT_EQ(onBar[halt + 3], window->Actions().Action(QStringLiteral("Animations.RecordVideo")));
}

} // namespace
} // namespace kalvion::app::test
