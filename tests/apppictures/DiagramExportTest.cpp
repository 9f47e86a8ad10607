// "Export 2D System Diagram": defaults, the checks of "&Ok" in order, and
// the diagram written through the main window.
#include "PicturesTestSupport.h"

#include "app/FileFilters.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/pictures/DiagramExportDialog.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

TEST_F(PicturesTest, DiagramExportChecksRunInOrder)
{
    TfrmDiagramExport dialog(Messages);
    dialog.Load(4, QStringLiteral("/tmp"));
    EXPECT_EQ(Find<QLineEdit>(dialog, "edWidth")->text(), "1000");
    EXPECT_EQ(Find<QLineEdit>(dialog, "edHeight")->text(), "1000");
    EXPECT_EQ(Find<QLineEdit>(dialog, "edOrbits")->text(), "4");
    EXPECT_EQ(Find<QLabel>(dialog, "lblOrbitRange")->text(), "(1 to 4)");
    dialog.show();
    auto ok = [&] { Find<QPushButton>(dialog, "btnOk")->click(); };
    Find<QLineEdit>(dialog, "edWidth")->setText(QStringLiteral("wide"));
    Find<QLineEdit>(dialog, "edHeight")->setText(QStringLiteral("1.5"));
    Find<QLineEdit>(dialog, "edOrbits")->setText(QStringLiteral("-1"));
    ok();
    Find<QLineEdit>(dialog, "edWidth")->setText(QStringLiteral("640"));
    ok();
    Find<QLineEdit>(dialog, "edHeight")->setText(QStringLiteral("480"));
    ok();
    Find<QLineEdit>(dialog, "edOrbits")->setText(QStringLiteral("0"));
    ok();
    EXPECT_EQ(Told(), QStringList({"Image Width in Pixels must be a number", "Image Height in Pixels must be a number",
                                   "Orbit count must be a number greater than 0", "File Name Required"}));
    EXPECT_TRUE(dialog.isVisible());
    Messages.Push(QStringLiteral("/tmp/d.png"));
    Find<QPushButton>(dialog, "btnBrowse")->click();
    EXPECT_EQ(Messages.LastFilter, QString::fromLatin1(IMAGE_FILE_FILTER));
    ok();
    EXPECT_FALSE(dialog.isVisible());
    const TDiagramChoice c = dialog.Choice();
    EXPECT_EQ(c.FileName, "/tmp/d.png");
    EXPECT_EQ(c.Width, 640);
    EXPECT_EQ(c.Height, 480);
    EXPECT_EQ(c.Orbits, 0);
}

TEST_F(PicturesTest, TheDiagramIsWrittenAtTheChosenSize)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    TSettingsStore store(dir.filePath(QStringLiteral("k.ini")));
    store.SetBool(QStringLiteral("PerformanceSkip"), true);
    TScriptedMessages script;
    TfrmVexaMain::TOptions o;
    o.ProgramFolder = dir.path() + QLatin1Char('/');
    o.SkipGL = true;
    TfrmVexaMain window(script, store, o);
    auto star = TStellarBody::Create();
    star->Name = "Hub";
    star->TypeID = 1;
    TStellarBody *hub = star.get();
    window.Sector().AddSystem(std::move(star));
    TDiagramChoice c;
    c.FileName = dir.filePath(QStringLiteral("hub.png"));
    c.Width = 320;
    c.Height = 200;
    ASSERT_TRUE(window.WriteDiagram(*hub, c));
    EXPECT_EQ(QImage(c.FileName).size(), QSize(320, 200));
    c.Width = 0;
    EXPECT_FALSE(window.WriteDiagram(*hub, c));
    EXPECT_EQ(script.Log().size(), 1);
}
