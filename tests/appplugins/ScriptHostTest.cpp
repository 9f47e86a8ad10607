// Scripts run from the main window: the window's state while one runs,
// "Halt Script", the refused exit, the dialog caption and a script that
// frees what it must not.
#include "PluginWindowFixture.h"

#include "app/ActionTable.h"
#include "app/scripts/WindowScriptHost.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "scripting/ZentScripter.h"
#include "scriptui/ZentScripterUI.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QKeyEvent>
#include <QSettings>
#include <QTimer>

namespace kalvion::app::test {
namespace {

// A script that keeps the message loop turning for a while.
const char *const BUSY_SCRIPT = "Dim n\nn = 0\nDo While n < 400\n  ProcessMessages\n  Pause 2\n  n = n + 1\nLoop\n";

TEST_F(PluginWindow, WhileAScriptRunsPluginsNewAndOpenWaitAndExitIsRefused)
{
    WritePlugin(QStringLiteral("busy.vbs"), QStringLiteral("#plugin Busy\n") + QLatin1String(BUSY_SCRIPT));
    Open();
    window->show();
    QAction *busy = MenuActions(QStringLiteral("Busy")).value(0);
    ASSERT_TRUE(busy);
    EXPECT_TRUE(busy->isEnabled());
    EXPECT_FALSE(window->Actions().Action(QStringLiteral("Plugins.Halt"))->isEnabled());
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("Plugins.RunFile"))->isEnabled());
    bool seen = false, pluginEnabled = true, haltEnabled = false, newEnabled = true, openEnabled = true;
    QTimer::singleShot(20, window.get(), [&] {
        seen = true;
        pluginEnabled = busy->isEnabled();
        haltEnabled = window->Actions().Action(QStringLiteral("Plugins.Halt"))->isEnabled();
        newEnabled = window->Actions().Action(QStringLiteral("File.NewStandard"))->isEnabled();
        openEnabled = window->Actions().Action(QStringLiteral("File.Open"))->isEnabled();
        window->Actions().Action(QStringLiteral("File.Exit"))->trigger();
    });
    const auto from = LogSize();
    busy->trigger();
    ASSERT_TRUE(seen);
    EXPECT_FALSE(pluginEnabled);
    EXPECT_TRUE(haltEnabled);
    EXPECT_FALSE(newEnabled);
    EXPECT_FALSE(openEnabled);
    EXPECT_TRUE(Told(from).contains(QStringLiteral("Kalvion: Plugins are running - cannot exit until they terminate")));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->ScriptRunning());
    EXPECT_TRUE(busy->isEnabled());
    EXPECT_FALSE(window->Actions().Action(QStringLiteral("Plugins.Halt"))->isEnabled());
    EXPECT_TRUE(window->Actions().Action(QStringLiteral("File.Open"))->isEnabled());
}

TEST_F(PluginWindow, HaltScriptStopsARunningScript)
{
    const QString file = Write(QStringLiteral("forever.vbs"), QStringLiteral("Do\n  ProcessMessages\nLoop\n"));
    Open();
    QTimer::singleShot(50, window.get(), [&] { window->Actions().Action(QStringLiteral("Plugins.Halt"))->trigger(); });
    const auto from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(file));
    const QStringList told = Told(from);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Script Error: Script Halted"))) << told[0].toStdString();
    EXPECT_FALSE(window->ScriptRunning());
}

TEST_F(PluginWindow, ClosingTheWindowHaltsTheScriptFirst)
{
    const QString file = Write(QStringLiteral("forever.vbs"), QStringLiteral("Do\n  ProcessMessages\nLoop\n"));
    Open();
    window->show();
    bool refusedWhileRunning = false;
    QTimer::singleShot(30, window.get(), [&] { refusedWhileRunning = !window->close(); });
    window->RunScriptFile(file);
    EXPECT_TRUE(refusedWhileRunning);
    EXPECT_FALSE(window->ScriptRunning());
    // The close asked for goes through once the script has ended.
    QElapsedTimer waited;
    waited.start();
    while (window->isVisible() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(5);
    }
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PluginWindow, DialogCaptionFollowsThePluginOrTheFile)
{
    WritePlugin(QStringLiteral("cap.vbs"), QStringLiteral("#plugin Caption Check\nMsgBox ZSUI_WindowCaption\n"));
    const QString plain = Write(QStringLiteral("plain script.vbs"), QStringLiteral("MsgBox ZSUI_WindowCaption\n"));
    Open();
    const auto from = LogSize();
    MenuActions(QStringLiteral("Caption Check")).value(0)->trigger();
    EXPECT_TRUE(ZSUI_WindowCaption().empty());
    window->RunScriptFile(plain);
    EXPECT_TRUE(ZSUI_WindowCaption().empty());
    EXPECT_EQ(Told(from), (QStringList{QStringLiteral("Kalvion: Caption Check (Plugin)"),
                                       QStringLiteral("Kalvion: plain script.vbs (Plugin)")}));
}

TEST_F(PluginWindow, RunFromFileAsksForAScriptAndReportsErrorsWithTheLine)
{
    const QString file = Write(QStringLiteral("bad.vbs"), QStringLiteral("#author me\nDim x\nx = 1 / 0\n"));
    Open();
    messages.Inner.Push(file);
    const auto from = LogSize();
    window->Actions().Action(QStringLiteral("Plugins.RunFile"))->trigger();
    const QStringList told = Told(from);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Script Error: "))) << told[0].toStdString();
    EXPECT_TRUE(told[0].endsWith(QStringLiteral("Error at line 3 char 1."))) << told[0].toStdString();
    // Cancelling the chooser runs nothing.
    const auto later = LogSize();
    window->RunFromFileCommand();
    EXPECT_TRUE(Told(later).isEmpty());
}

TEST_F(PluginWindow, FreeingTheCurrentSectorIsAScriptErrorAndTheWindowGoesOn)
{
    const QString freeing = Write(QStringLiteral("free.vbs"),
                                  QStringLiteral("FreeObject GetCurrentSector()\nMsgBox GetCurrentSector().SystemCount\n"));
    const QString counting = Write(QStringLiteral("count.vbs"), QStringLiteral("MsgBox GetCurrentSector().SystemCount\n"));
    Open();
    window->Sector().NewSystem(BODY_TYPE_STAR)->Name = "Kept";
    const auto from = LogSize();
    EXPECT_FALSE(window->RunScriptFile(freeing));
    const QStringList told = Told(from);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Script Error: "))) << told[0].toStdString();
    EXPECT_FALSE(window->ScriptRunning());
    ASSERT_EQ(window->Sector().SystemCount(), 1);
    EXPECT_EQ(window->Sector().GetSystem(0)->Name, "Kept");
    const auto later = LogSize();
    EXPECT_TRUE(window->RunScriptFile(counting));
    EXPECT_EQ(Told(later), QStringList{QStringLiteral("Kalvion: 1")});
    window->Sector().Modified = false;
    window->BlankSector();
    EXPECT_EQ(window->Sector().SystemCount(), 0);
}

// The window's current body and preview outlive the run that named them: a
// body the script made never gets there, and one the script frees from the
// sector leaves them empty.
TEST_F(PluginWindow, TheWindowKeepsNoBodyAScriptFrees)
{
    const QString loose = Write(QStringLiteral("loose.vbs"),
                                QStringLiteral("Set b = CreateBody(\"Star\")\nShowSystemDiagram b\n"));
    const QString freeing = Write(QStringLiteral("freeing.vbs"),
                                  QStringLiteral("Set s = GetCurrentSector()\ns.DeleteRootBody s.GetSystem(0)\n"
                                                 "s.ClearDeleted\n"));
    const QString asking = Write(QStringLiteral("asking.vbs"), QStringLiteral("MsgBox isNull(EditingBody())\n"));
    Open();
    TVexaSector &sector = window->Sector();
    TStellarBody *picked = sector.NewSystem(BODY_TYPE_STAR);
    for (int i = 0; i < 2; ++i)
        sector.SelectBody(sector.NewSystem(BODY_TYPE_STAR));

    auto from = LogSize();
    EXPECT_FALSE(window->RunScriptFile(loose));
    ASSERT_FALSE(Told(from).isEmpty());
    EXPECT_TRUE(Told(from)[0].contains(QStringLiteral("not in the current sector"))) << Told(from)[0].toStdString();
    EXPECT_EQ(window->CurrentBody(), nullptr);

    // Two other systems stay selected, so the window keeps its current body.
    window->PickBody(picked);
    ASSERT_EQ(window->CurrentBody(), picked);
    EXPECT_TRUE(window->RunScriptFile(freeing));
    EXPECT_EQ(window->Sector().SystemCount(), 2);
    EXPECT_EQ(window->CurrentBody(), nullptr);
    EXPECT_EQ(window->PreviewBody(), nullptr);
    from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(asking));
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: True")});
    sector.Modified = false;
}

TEST_F(PluginWindow, ClearMapAndUpdateCaptionActOnTheWindow)
{
    const QString file = Write(QStringLiteral("clear.vbs"),
                               QStringLiteral("ClearMap\nGetCurrentSector().NewSystem BODY_TYPE_STAR\nUpdateCaption\n"));
    Open();
    window->Sector().NewSystem(BODY_TYPE_STAR);
    window->Sector().NewSystem(BODY_TYPE_STAR);
    window->Sector().Modified = true;
    const auto from = LogSize();
    EXPECT_TRUE(window->RunScriptFile(file));
    // No question: ClearMap never asks to save.
    EXPECT_TRUE(Told(from).isEmpty());
    EXPECT_EQ(window->Sector().SystemCount(), 1);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("1 Systems"))) << window->windowTitle().toStdString();
}

TEST_F(PluginWindow, GetKeyTakesEachKeysDownCharacterAndUpMessages)
{
    const QString file = Write(QStringLiteral("keys.vbs"),
                               QStringLiteral("Dim s, k, i\ns = \"\"\n"
                                              "For i = 1 To 20\n  k = GetKey()\n  s = s & \" \" & k\n"
                                              "  If k = -1 Then Exit For\nNext\nMsgBox s\n"));
    Open();
    window->show();
    // No key pressed: -1 at once.
    auto from = LogSize();
    window->RunScriptFile(file);
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion:  -1")});

    // One key press gives its down message, the character it types and its
    // release, in that order.
    const auto post = [this](QEvent::Type type, int key, const QString &text, Qt::KeyboardModifiers mods = {},
                             bool repeat = false) {
        QCoreApplication::postEvent(window.get(), new QKeyEvent(type, key, mods, text, repeat));
    };
    post(QEvent::KeyPress, Qt::Key_Q, QStringLiteral("q"));
    post(QEvent::KeyRelease, Qt::Key_Q, QStringLiteral("q"));
    post(QEvent::KeyPress, Qt::Key_Escape, QStringLiteral("\x1b"));
    post(QEvent::KeyRelease, Qt::Key_Escape, QStringLiteral("\x1b"));
    // Shift types nothing; a held key repeats its down and character
    // messages, and is released once.
    post(QEvent::KeyPress, Qt::Key_Shift, QString(), Qt::ShiftModifier);
    post(QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier);
    post(QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier, true);
    post(QEvent::KeyPress, Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier, true);
    post(QEvent::KeyRelease, Qt::Key_A, QStringLiteral("A"), Qt::ShiftModifier);
    post(QEvent::KeyRelease, Qt::Key_Shift, QString());
    // The keypad's digits have key codes of their own.
    post(QEvent::KeyPress, Qt::Key_5, QStringLiteral("5"), Qt::KeypadModifier);
    from = LogSize();
    window->RunScriptFile(file);
    EXPECT_EQ(Told(from),
              QStringList{QStringLiteral("Kalvion:  81 113 81 27 27 27 16 65 65 65 65 65 16 101 53 -1")});
    EXPECT_EQ(ScriptKeyCode(Qt::Key_Left), 37);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_Down), 40);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_Return), 13);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_5), 53);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_F2), 113);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_Control), 17);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_Comma), 188);
    EXPECT_EQ(ScriptKeyCode(Qt::Key_VolumeUp), -1);
}

TEST_F(PluginWindow, CreateIloomTableReadsTheTableProgramsFolderElseTheInstalledTables)
{
    Write(QStringLiteral("LangData/Moods.ilt"), QStringLiteral("table: mood\ncalm\n"));
    Write(QStringLiteral("Common/Weather.ilt"), QStringLiteral("table: weather\nrain\n"));
    Open();
    // Without the random-table program: the program's own tables.
    const QString both = Write(QStringLiteral("both.vbs"),
                               QStringLiteral("Set a = CreateIloomTable(\"Moods.ilt\")\nSet b = CreateIloomTable(\"weather.ilt\")\n"
                                              "MsgBox Replace(a.Go(1) & b.Go(1), vbCrLf, \"+\")\n"));
    auto from = LogSize();
    window->RunScriptFile(both);
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: calm+rain+")});

    // Installed, its record names where: its "Tables/" folder is used alone.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath(QStringLiteral("config")));
    {
        QSettings record(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Zent Software"),
                         QStringLiteral("Idealoom"));
        record.beginGroup(QStringLiteral("CurrentVersion"));
        record.setValue(QStringLiteral("InstallDir"), dir.filePath(QStringLiteral("idealoom")) + QLatin1Char('/'));
        record.setValue(QStringLiteral("ExeFile"), QStringLiteral("idealoom"));
    }
    Write(QStringLiteral("idealoom/Tables/Moods.ilt"), QStringLiteral("table: mood\nstormy\n"));
    EXPECT_EQ(window->ScriptAppHost().IdealoomTablesFolder(),
              dir.filePath(QStringLiteral("idealoom/Tables/")).toStdString());
    const QString moods = Write(QStringLiteral("moods.vbs"),
                                QStringLiteral("MsgBox Replace(CreateIloomTable(\"Moods.ilt\").Go(1), vbCrLf, \"+\")\n"));
    from = LogSize();
    window->RunScriptFile(moods);
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: stormy+")});
    from = LogSize();
    window->RunScriptFile(both);
    ASSERT_EQ(Told(from).size(), 1);
    EXPECT_TRUE(Told(from)[0].contains(QStringLiteral("CreateIloomTable"))) << Told(from)[0].toStdString();
}

} // namespace
} // namespace kalvion::app::test
