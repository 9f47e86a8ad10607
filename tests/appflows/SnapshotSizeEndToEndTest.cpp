// "Export as Image File..." on a screen of two pixels a unit: the picture
// has the view's size, not its count of screen pixels.  The real program
// runs under Xvfb with QT_SCALE_FACTOR=2; its log says where the view lies
// and how large it is, in units.
#include "../render/XDisplay.h"
#include "../support/ProgramRun.h"

#include "app/video/ViewCapture.h"
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using kalvion::test::TProgramRun;

TEST(ViewSizedSnapshot, TwiceTheViewBecomesTheViewAndOtherSizesStay)
{
    QImage grabbed(200, 100, QImage::Format_RGB32);
    grabbed.fill(Qt::black);
    grabbed.setPixelColor(0, 0, Qt::white);
    grabbed.setDevicePixelRatio(2.0);
    const QImage shot = kalvion::app::ViewSizedSnapshot(grabbed, QSize(100, 50));
    EXPECT_EQ(shot.size(), QSize(100, 50));
    EXPECT_EQ(shot.devicePixelRatio(), 1.0);
    EXPECT_GT(qGray(shot.pixel(0, 0)), 0);  // the corner's light is kept, averaged
    // Already the view's size: the very pixels.
    QImage same(100, 50, QImage::Format_RGB32);
    same.fill(Qt::red);
    EXPECT_EQ(kalvion::app::ViewSizedSnapshot(same, QSize(100, 50)), same);
    // A screen of 1.5 pixels a unit rounds its pixel count; the picture
    // still has the view's size.
    EXPECT_EQ(kalvion::app::ViewSizedSnapshot(QImage(151, 75, QImage::Format_RGB32), QSize(101, 50)).size(),
              QSize(101, 50));
    EXPECT_TRUE(kalvion::app::ViewSizedSnapshot(QImage(), QSize(10, 10)).isNull());
    EXPECT_TRUE(kalvion::app::ViewSizedSnapshot(same, QSize()).isNull());
}

TEST(SnapshotSizeEndToEnd, ExportAsImageFileWritesTheViewsSizeOnADenseScreen)
{
    kalvion::test::EnsureXDisplay();
    if (!TProgramRun::HaveXdotool())
        GTEST_SKIP() << "xdotool is not installed";
    QTemporaryDir dir;
    kalvion::TVexaSector s;
    s.NewSystem(1)->Name = "Hub";
    s.UpdateRootAttribs();
    const QString sector = dir.filePath(QStringLiteral("Hub.VexaDB"));
    ASSERT_TRUE(kalvion::SaveToFile(s, sector.toStdString(), false));
    const QString png = dir.filePath(QStringLiteral("view.png"));

    TProgramRun program(dir.path());
    program.SetEnv(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    ASSERT_TRUE(program.Start({png}, {sector}));
    const QString main = TProgramRun::WaitForWindow(QStringLiteral("^Hub Sector \\("), 60000);
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    const QList<int> view = program.ViewGeometry(30000);
    ASSERT_EQ(view.size(), 4);
    QThread::msleep(800);
    // File ▸ Export as Image File...: up from the top past Exit, the one
    // recent file, Print, "Generate Sector Report", Import, Preferences and
    // "Export as 2D Map...".
    QStringList keys{QStringLiteral("alt+f")};
    for (int i = 0; i < 8; ++i)
        keys << QStringLiteral("Up");
    keys << QStringLiteral("Return");
    // A busy machine may lose the first keys to a window not yet ready for
    // them: then the menu is tried again.
    for (int attempt = 0; attempt < 3 && !QFile::exists(png); ++attempt) {
        if (attempt > 0)
            TProgramRun::Keys({QStringLiteral("Escape"), QStringLiteral("Escape")});
        TProgramRun::Focus(main);
        TProgramRun::Keys(keys, 150);
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(png) && clock.elapsed() < 15000)
            QThread::msleep(100);
    }
    // The file shows before the picture is all written: read until whole.
    QImage image;
    QByteArray format;
    QElapsedTimer clock;
    clock.start();
    while (image.isNull() && clock.elapsed() < 15000) {
        QImageReader reader(png);
        format = reader.format();
        image = reader.read();
        if (image.isNull())
            QThread::msleep(100);
    }
    EXPECT_EQ(QString::fromLatin1(format), QStringLiteral("png"));
    ASSERT_FALSE(image.isNull()) << program.LogLines(QStringLiteral("save")).join('\n').toStdString();
    EXPECT_EQ(image.size(), QSize(view[2], view[3]));
}
