// Plug-ins turned into menu items, buttons, filters and file handlers.
#include "PluginWindowFixture.h"

#include "app/ActionTable.h"
#include "app/PreferencesDialog.h"
#include "app/plugins/PluginListPanel.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "plugins/PluginMgr.h"

#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

namespace kalvion::app::test {
namespace {

TEST_F(PluginWindow, APluginLineFollowedByAFilterLineIsOnlyTheFilter)
{
    WritePlugin(QStringLiteral("ab.vbs"), QStringLiteral("#plugin A\r\n#filter B\r\nMsgBox 1\r\n"));
    Open();
    EXPECT_TRUE(MenuActions(QStringLiteral("A")).isEmpty());
    const QList<QAction *> b = MenuActions(QStringLiteral("B"));
    ASSERT_EQ(b.size(), 1);
    EXPECT_TRUE(b[0]->isCheckable());
    EXPECT_TRUE(window->Actions().Menu(QStringLiteral("Filters"))->actions().contains(b[0]));
    EXPECT_EQ(window->Actions().Menu(QStringLiteral("Filters"))->actions().last(), b[0]);
}

TEST_F(PluginWindow, MenuInsertPlacesTheItemOrFallsBackToTheKindsMenu)
{
    WritePlugin(QStringLiteral("1.vbs"), QStringLiteral("#plugin First In Sector\n#menuinsert 2 1\n"));
    WritePlugin(QStringLiteral("2.vbs"), QStringLiteral("#plugin One Number\n#menuinsert 2\n"));
    WritePlugin(QStringLiteral("3.vbs"), QStringLiteral("#plugin Too Far\n#menuinsert 2 99\n"));
    WritePlugin(QStringLiteral("4.vbs"), QStringLiteral("#generator Whole New Sector\n#menuhotkey Ctrl+Shift+W\n"));
    WritePlugin(QStringLiteral("5.vbs"), QStringLiteral("#popmenu Point Here\n#menuinsert 1 1\n"));
    Open();
    EXPECT_EQ(TopMenu(1)->actions().first()->text(), QStringLiteral("First In Sector"));
    QMenu *plugins = window->Actions().Menu(QStringLiteral("Plugins"));
    QStringList names;
    for (QAction *a : plugins->actions())
        names << a->text();
    EXPECT_TRUE(names.contains(QStringLiteral("One Number")));
    EXPECT_TRUE(names.contains(QStringLiteral("Too Far")));
    EXPECT_FALSE(names.contains(QStringLiteral("First In Sector")));
    // Generators follow the standard generator in File ▸ New.
    QMenu *fileNew = window->Actions().Menu(QStringLiteral("File.New"));
    ASSERT_FALSE(fileNew->actions().isEmpty());
    QAction *gen = fileNew->actions().last();
    EXPECT_EQ(gen->text(), QStringLiteral("Whole New Sector"));
    EXPECT_EQ(gen->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+W")));
    // Right-click items are always appended.
    QMenu *context = window->Actions().Menu(QStringLiteral("Context"));
    EXPECT_EQ(context->actions().last()->text(), QStringLiteral("Point Here"));
}

TEST_F(PluginWindow, FileHandlersJoinTheOpenFilterAndGetTheFullPath)
{
    WritePlugin(QStringLiteral("xyz.VexaScript"),
                QStringLiteral("#filehandler Xyz Reader\n#fileext .xyz\n#extdesc Xyz Maps\n"
                               "MsgBox \"handling \" & FileHandlerFileName\n"));
    const QString map = Write(QStringLiteral("maps/Map.XYZ"), QStringLiteral("anything"));
    Open();
    messages.Inner.Push(map);
    const auto from = LogSize();
    window->OpenCommand();
    EXPECT_TRUE(messages.LastOpenFilter.endsWith(QStringLiteral("|All Files (*.*)|*.*|Xyz Maps (*.xyz)|*.xyz")))
        << messages.LastOpenFilter.toStdString();
    EXPECT_EQ(Told(from), QStringList{QStringLiteral("Kalvion: handling ") + map});
    // The name belongs to the handler's run only.
    const QString probe = Write(QStringLiteral("probe.vbs"), QStringLiteral("MsgBox \"[\" & FileHandlerFileName & \"]\""));
    const auto later = LogSize();
    window->RunScriptFile(probe);
    EXPECT_EQ(Told(later), QStringList{QStringLiteral("Kalvion: []")});
}

TEST_F(PluginWindow, SectorFilesAreNeverHandedToAHandler)
{
    WritePlugin(QStringLiteral("db.vbs"), QStringLiteral("#filehandler Greedy\n#fileext .VEXADB\nMsgBox \"taken\"\n"));
    Open();
    const QString file = dir.filePath(QStringLiteral("saved.VexaDB"));
    window->Sector().NewSystem(BODY_TYPE_STAR)->Name = "Lonely";
    messages.Inner.Push(file);
    ASSERT_TRUE(window->SaveAs());
    window->BlankSector();
    const auto from = LogSize();
    ASSERT_TRUE(window->OpenSectorFile(file));
    EXPECT_TRUE(Told(from).isEmpty()) << Told(from).join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(window->Sector().SystemCount(), 1);
    EXPECT_EQ(window->Sector().GetSystem(0)->Name, "Lonely");
}

TEST_F(PluginWindow, AFileNamedAtStartGoesToItsHandler)
{
    WritePlugin(QStringLiteral("xyz.vbs"),
                QStringLiteral("#filehandler Xyz Reader\n#fileext .xyz\nMsgBox FileHandlerFileName\n"));
    const QString map = Write(QStringLiteral("start.xyz"), QStringLiteral("x"));
    Open(map);
    EXPECT_EQ(Told(), QStringList{QStringLiteral("Kalvion: ") + map});
}

TEST_F(PluginWindow, ButtonsComeFromBitmapsAndTwoGlyphsGiveADisabledLook)
{
    QImage wide(32, 16, QImage::Format_RGB32);
    wide.fill(Qt::red);
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            wide.setPixel(x, y, qRgb(0, 0, 255));
    ASSERT_TRUE(wide.save(PluginFolder() + QStringLiteral("/wide.bmp")));
    QImage big(40, 40, QImage::Format_RGB32);
    big.fill(Qt::green);
    ASSERT_TRUE(big.save(PluginFolder() + QStringLiteral("/big.bmp")));
    WritePlugin(QStringLiteral("a.vbs"), QStringLiteral("#plugin With Button\n#button wide.bmp\n"));
    WritePlugin(QStringLiteral("b.vbs"), QStringLiteral("#plugin Too Big\n#button big.bmp\n"));
    Open();
    auto *button = window->findChild<QToolButton *>(QStringLiteral("buttonPlugin#0"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->toolTip(), QStringLiteral("With Button"));
    EXPECT_EQ(button->size(), QSize(24, 24));
    const QImage normal = button->icon().pixmap(16, 16, QIcon::Normal).toImage();
    const QImage disabled = button->icon().pixmap(16, 16, QIcon::Disabled).toImage();
    EXPECT_EQ(QColor(normal.pixel(8, 8)), QColor(Qt::red));
    EXPECT_EQ(QColor(disabled.pixel(8, 8)), QColor(Qt::blue));
    EXPECT_FALSE(window->findChild<QToolButton *>(QStringLiteral("buttonPlugin#1")));
}

TEST_F(PluginWindow, DeactivatedPluginsAreHiddenAndKeptInTheSettings)
{
    WritePlugin(QStringLiteral("1.vbs"), QStringLiteral("#plugin Same\nMsgBox \"first\"\n"));
    WritePlugin(QStringLiteral("2.vbs"), QStringLiteral("#plugin Same\nMsgBox \"second\"\n"));
    WritePlugin(QStringLiteral("3.vbs"), QStringLiteral("#plugin Other\n#description Foo\n"));
    store->SetInt(QStringLiteral("PluginDisabledCount"), 1);
    store->SetValue(QStringLiteral("PluginDisabled1"), QStringLiteral("Same"));
    Open();
    const QList<QAction *> same = MenuActions(QStringLiteral("Same"));
    ASSERT_EQ(same.size(), 2);
    EXPECT_FALSE(same[0]->isVisible());
    EXPECT_TRUE(same[1]->isVisible());
    // Both items still run their own files.
    const auto from = LogSize();
    same[0]->trigger();
    same[1]->trigger();
    EXPECT_EQ(Told(from), (QStringList{QStringLiteral("Kalvion: first"), QStringLiteral("Kalvion: second")}));

    // The list in the preferences switches at once and shows descriptions.
    TfrmPreferences prefs(messages);
    prefs.LoadPlugins(window->PluginMgr());
    auto *table = prefs.findChild<QTableWidget *>(QStringLiteral("tblPlugins"));
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->horizontalHeaderItem(4)->text(), QStringLiteral("Type"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("1.vbs"));
    EXPECT_EQ(table->item(2, 4)->text(), QStringLiteral("feature"));
    EXPECT_EQ(table->item(0, PLUGIN_COLUMN_ACTIVE)->checkState(), Qt::Unchecked);
    auto *panel = prefs.findChild<TPluginListPanel *>();
    ASSERT_TRUE(panel);
    panel->CellClicked(2, PLUGIN_COLUMN_ACTIVE);
    EXPECT_FALSE(window->PluginMgr().Plugins[2].Active);
    EXPECT_EQ(prefs.findChild<QLabel *>(QStringLiteral("lblPluginDescription"))->text(), QStringLiteral("ription Foo"));
    window->ApplyPluginActivation();
    EXPECT_FALSE(MenuActions(QStringLiteral("Other"))[0]->isVisible());

    window->close();
    EXPECT_EQ(store->Int(QStringLiteral("PluginDisabledCount")), 2);
    EXPECT_EQ(store->Value(QStringLiteral("PluginDisabled1")), QStringLiteral("Same"));
    EXPECT_EQ(store->Value(QStringLiteral("PluginDisabled2")), QStringLiteral("Other"));
}

TEST_F(PluginWindow, AnUnreadablePluginIsListedInTheManagerAndTheOthersLoad)
{
    WritePlugin(QStringLiteral("good.vbs"), QStringLiteral("#plugin Good\n"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone.vbs")), PluginFolder() + QStringLiteral("/broken.vbs")));
    Open();
    EXPECT_EQ(MenuActions(QStringLiteral("Good")).size(), 1);
    TfrmPreferences prefs(messages);
    prefs.LoadPlugins(window->PluginMgr());
    const QString text = prefs.findChild<QLabel *>(QStringLiteral("lblPluginMessages"))->text();
    EXPECT_TRUE(text.contains(QStringLiteral("broken.vbs"))) << text.toStdString();
    EXPECT_EQ(prefs.findChild<QTableWidget *>(QStringLiteral("tblPlugins"))->rowCount(), 1);
}

} // namespace
} // namespace kalvion::app::test
