// The main window's orbit view drawn for real under an X display: the
// preview inset's corner opens it, the drag and the wheel move its camera,
// "Export as Image File..." saves it, and its corner mark leads back.
#include "../appdialogs/DialogTestSupport.h"
#include "../render/XDisplay.h"
#include "../render/XWindowTestMain.h"
#include "OrbitWindowSupport.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "render/RenderSectorOGL.h"
#include "render/GLHeaders.h"
#include "render/SectorGLWidget.h"
#include "render/SceneController3D.h"
#include "model/VexaSector.h"
#include "model/StellarBody.h"
#include "render/orbit/RenderOrbitOGL.h"

#include <QAction>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QBoxLayout>
#include <QVBoxLayout>


#include <gtest/gtest.h>

#include <utility>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;

namespace {

// The planets' blue orbits around the middle of the orbit view (the sector
// view has only white stars there).
int OrbitBlue(const QImage &image)
{
    int n = 0;
    const int cx = image.width() / 2, cy = image.height() / 2;
    for (int y = cy - 30; y < cy + 30; ++y)
        for (int x = cx - 30; x < cx + 30; ++x) {
            const QColor c(image.pixel(x, y));
            n += c.blue() > 120 && c.red() < 60 && c.green() < 60;
        }
    return n;
}

class OrbitWindowGL : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TTestMessages Messages;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;

    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
        const QString file = Dir.filePath(QStringLiteral("Pair.VexaDB"));
        ASSERT_TRUE(WriteOrbitSector(file));
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.FileToOpen = file;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
        Window->resize(800, 700);
        Window->show();
        QElapsedTimer clock;
        clock.start();
        while (!Window->FirstFrameDrawn() && clock.elapsed() < 20000)
            QTest::qWait(20);
        ASSERT_TRUE(Window->FirstFrameDrawn());
        ASSERT_TRUE(Window->SectorView()->ErrorMessage().empty()) << Window->SectorView()->ErrorMessage();
    }
    void TearDown() override
    {
        if (Window)
            Window->Sector().Modified = false;
        Window.reset();
    }
};

TEST_F(OrbitWindowGL, PreviewCornerOpensTheViewAndItsCornerLeadsBack)
{
    TSectorGLWidget *view = Window->SectorView();
    TStellarBody *aldra = Window->Sector().FindRootBodyByName("Aldra");
    ASSERT_NE(aldra, nullptr);
    Window->PickBody(aldra);  // shows the preview inset
    QElapsedTimer clock;
    clock.start();
    while (view->Renderer().PreviewRect()[0] < 0 && clock.elapsed() < 10000) {
        view->update();
        QTest::qWait(50);
    }
    const std::array<int, 4> inset = view->Renderer().PreviewRect();
    ASSERT_GE(inset[0], 0);
    const qreal dpr = view->devicePixelRatioF();
    const QPoint corner(static_cast<int>((inset[2] - 5) / dpr), static_cast<int>((inset[3] - 5) / dpr));
    QTest::mouseClick(view, Qt::LeftButton, {}, corner);
    ASSERT_EQ(Window->ViewMode(), VIEW_MODE_ORBIT);
    EXPECT_EQ(Window->OrbitSystem(), aldra);
    EXPECT_EQ(Window->SectorView()->Renderer().PreviewGrowStep, 0);

    const QImage frame = view->grabFramebuffer();
    EXPECT_GT(OrbitBlue(frame), 10);

    // Dragging right turns the camera by 2° a step; the wheel zooms in.
    TRenderOrbitOGL &orbit = Window->OrbitView();
    const double lon = orbit.Camera.Longitude, distance = orbit.Camera.Distance;
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(view, QPoint(320, 302));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(320, 302));
    EXPECT_DOUBLE_EQ(orbit.Camera.Longitude, lon + 2);
    QWheelEvent wheel(QPointF(300, 300), view->mapToGlobal(QPointF(300, 300)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_DOUBLE_EQ(orbit.Camera.Distance, distance * 0.9);

    // "Export as Image File..." saves what the orbit view shows.
    const QString png = Dir.filePath(QStringLiteral("orbit.png"));
    Messages.Push(png);
    Window->Actions().Action(QStringLiteral("File.ExportImage"))->trigger();
    const QImage saved(png);
    ASSERT_FALSE(saved.isNull());
    EXPECT_GT(OrbitBlue(saved), 10);
    // The extension picks the format: ".tif" TIFF, one it does not know BMP.
    for (const auto &[name, format] : {std::pair{"orbit.tif", "tiff"}, std::pair{"orbit.picture", "bmp"}}) {
        const QString file = Dir.filePath(QString::fromLatin1(name));
        Messages.Push(file);
        Window->Actions().Action(QStringLiteral("File.ExportImage"))->trigger();
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QByteArray(format)) << name;
        EXPECT_EQ(reader.size(), saved.size()) << name;
    }

    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(Window->ViewMode(), VIEW_MODE_SECTOR);
    EXPECT_FALSE(view->HasFrameOverride());
    EXPECT_EQ(OrbitBlue(view->grabFramebuffer()), 0);
}

// Waits until the sector view shows the preview inset; its rectangle.
std::array<int, 4> WaitForInset(TSectorGLWidget *view)
{
    QElapsedTimer clock;
    clock.start();
    while (view->Renderer().PreviewRect()[0] < 0 && clock.elapsed() < 10000) {
        view->update();
        QTest::qWait(50);
    }
    return view->Renderer().PreviewRect();
}

// A frame drawn after now.
QImage NextFrame(TSectorGLWidget *view)
{
    const int before = view->FramesDrawn();
    view->update();
    QElapsedTimer clock;
    clock.start();
    while (view->FramesDrawn() == before && clock.elapsed() < 10000)
        QTest::qWait(20);
    return view->grabFramebuffer();
}

TEST_F(OrbitWindowGL, ADragInThePreviewTurnsItsCameraOnlyAndAClickBesideItClosesIt)
{
    TSectorGLWidget *view = Window->SectorView();
    TVexaSector &sector = Window->Sector();
    TStellarBody *aldra = sector.FindRootBodyByName("Aldra");
    ASSERT_NE(aldra, nullptr);
    sector.SelectBody(aldra);
    Window->PickBody(aldra);
    const std::array<int, 4> inset = WaitForInset(view);
    ASSERT_GE(inset[0], 0);
    const qreal dpr = view->devicePixelRatioF();
    const QPoint inside(static_cast<int>((inset[0] + inset[2]) / 2 / dpr),
                        static_cast<int>((inset[1] + inset[3]) / 2 / dpr));
    const TVexaPoint camera = sector.Camera, target = sector.Target, place{aldra->X, aldra->Y, aldra->Z};
    TZentSceneController3D &preview = view->Renderer().PreviewCamera;
    // With either tool: the pointer's would move the selected system, the
    // hand's the map.
    for (const char *tool : {"Mode.Pointer", "Mode.Pan"}) {
        Window->Actions().Action(QString::fromLatin1(tool))->trigger();
        const double lon = preview.Longitude, lat = preview.Latitude;
        QTest::mousePress(view, Qt::LeftButton, {}, inside);
        QTest::mouseMove(view, inside + QPoint(10, -3));
        QTest::mouseRelease(view, Qt::LeftButton, {}, inside + QPoint(10, -3));
        EXPECT_DOUBLE_EQ(preview.Longitude, lon + 10) << tool;
        EXPECT_DOUBLE_EQ(preview.Latitude, lat - 3) << tool;
        EXPECT_EQ(sector.Camera, camera) << tool;
        EXPECT_EQ(sector.Target, target) << tool;
        EXPECT_EQ((TVexaPoint{aldra->X, aldra->Y, aldra->Z}), place) << tool;
        EXPECT_TRUE(aldra->Selected) << tool;
        EXPECT_EQ(Window->PreviewBody(), aldra) << tool;
    }
    EXPECT_FALSE(sector.Modified);

    // A click beside the inset with the pointer closes it.
    Window->Actions().Action(QStringLiteral("Mode.Pointer"))->trigger();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() - 20, view->height() - 20));
    EXPECT_EQ(Window->PreviewBody(), nullptr);
    NextFrame(view);
    EXPECT_EQ(view->Renderer().PreviewRect()[0], -1);
}

// The lists the system view holds that are not lists of the current context.
int ForeignLists(TSectorGLWidget *view, const TRenderOrbitOGL &orbit)
{
    view->makeCurrent();
    int foreign = 0;
    for (const TOpenGLSavedList &entry : orbit.Lists().Entries())
        for (const unsigned list : {entry.OrbitList[0], entry.BodyList[0]})
            foreign += list != 0 && glIsList(list) != GL_TRUE;
    view->doneCurrent();
    return foreign;
}

TEST_F(OrbitWindowGL, TheSystemViewMakesItsListsAgainInAReplacedContext)
{
    TSectorGLWidget *view = Window->SectorView();
    TStellarBody *aldra = Window->Sector().FindRootBodyByName("Aldra");
    ASSERT_NE(aldra, nullptr);
    Window->PickBody(aldra);
    const std::array<int, 4> inset = WaitForInset(view);
    ASSERT_GE(inset[0], 0);
    const qreal dpr = view->devicePixelRatioF();
    QTest::mouseClick(view, Qt::LeftButton, {},
                      QPoint(static_cast<int>((inset[2] - 5) / dpr), static_cast<int>((inset[3] - 5) / dpr)));
    ASSERT_EQ(Window->ViewMode(), VIEW_MODE_ORBIT);
    EXPECT_GT(OrbitBlue(NextFrame(view)), 10);
    const TRenderOrbitOGL &orbit = Window->OrbitView();
    ASSERT_GT(orbit.Lists().ListCount(0), 0);
    EXPECT_EQ(ForeignLists(view, orbit), 0);

    // Another top-level window gives the view a new context: the lists of
    // the old one go with it and are made again in the new one.
    auto *home = qobject_cast<QBoxLayout *>(view->parentWidget()->layout());
    ASSERT_NE(home, nullptr);
    const int index = home->indexOf(view);
    QWidget other;
    auto *layout = new QVBoxLayout(&other);
    layout->addWidget(view);
    other.resize(800, 700);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    NextFrame(view);
    EXPECT_GT(orbit.Lists().ListCount(0), 0);
    EXPECT_EQ(ForeignLists(view, orbit), 0);
    home->insertWidget(index, view);
}

} // namespace

int main(int argc, char **argv) { return kalvion::test::RunXWindowTests(argc, argv); }
