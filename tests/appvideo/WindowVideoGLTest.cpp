// The main window recording its real 3D view under an X display: every
// frame the view draws during an animation reaches the video, the copy
// drawn off screen leaves the view's click positions alone, and the script
// routines record the view.
#include "../appdialogs/DialogTestSupport.h"
#include "../render/VideoDecode.h"
#include "../render/XDisplay.h"
#include "../render/XWindowTestMain.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/video/RecordVideoDialog.h"
#include "files/SectorFile.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "render/SectorGLWidget.h"
#include "render/video/VideoRecorder.h"
#include "scripting/ScriptRegistry.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;
using kalvion::test::DecodeVideo;
using kalvion::test::Psnr;

namespace {

class WindowVideoGL : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TTestMessages Messages;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;

    void SetUp() override
    {
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
        TVexaSector s;
        for (int i = 0; i < 12; ++i) {
            TStellarBody *b = s.NewSystem(1);
            b->Name = "Star " + std::to_string(i);
            b->X = (i % 4) * 3.0 - 4.5;
            b->Y = (i / 4) * 3.0 - 3.0;
        }
        s.UpdateRootAttribs();
        const QString file = Dir.filePath(QStringLiteral("Grid.VexaDB"));
        ASSERT_TRUE(SaveToFile(s, file.toStdString(), false));
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.FileToOpen = file;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
        TAppSettings &set = Window->Settings();
        set.VideoFolder = Dir.path() + QLatin1Char('/');
        set.VideoFrameWidth = 96;
        set.VideoFrameHeight = 64;
        // A short turn: 180 nominal frames become 36.
        set.PerformanceFactor = 1;
        set.AnimationPerformanceAdjust = 0.2;
        set.PerformanceSkip = true;
        Window->resize(640, 480);
        Window->show();
        QElapsedTimer clock;
        clock.start();
        while (!Window->FirstFrameDrawn() && clock.elapsed() < 20000)
            QTest::qWait(20);
        ASSERT_TRUE(Window->FirstFrameDrawn());
        QTest::qWait(100);
        ASSERT_TRUE(Window->SectorView()->ErrorMessage().empty()) << Window->SectorView()->ErrorMessage();
    }
    void TearDown() override
    {
        if (Window)
            Window->Sector().Modified = false;
    }
    TfrmRecordVideo &Form() { return *Window->RecordVideoWindow(); }
};

} // namespace

TEST_F(WindowVideoGL, EveryFrameOfAnAnimationIsRecorded)
{
    Window->RecordVideoCommand();
    ASSERT_TRUE(Form().StartRecording()) << Messages.Log().join(QLatin1Char('\n')).toStdString();
    // The view as it stood when the recording started is its first frame.
    QElapsedTimer clock;
    clock.start();
    while (Form().FramesRecorded() == 0 && clock.elapsed() < 10000)
        QTest::qWait(10);
    ASSERT_GT(Form().FramesRecorded(), 0);
    const int drawnBefore = Window->SectorView()->FramesDrawn();
    const int recordedBefore = Form().FramesRecorded();
    Window->Rotate360();
    const int drawn = Window->SectorView()->FramesDrawn() - drawnBefore;
    // The view may fold a repaint into the next one; each drawn frame counts.
    EXPECT_GT(drawn, Window->Settings().Frames(180) / 2);
    EXPECT_EQ(Form().FramesRecorded() - recordedBefore, drawn);
    const int total = Form().FramesRecorded();
    Window->Actions().Action(QStringLiteral("Animations.RecordVideo"))->trigger();
    ASSERT_FALSE(Form().Recording());
    EXPECT_FALSE(Messages.Log().join(QLatin1Char('\n')).contains(QStringLiteral("tell")))
        << Messages.Log().join(QLatin1Char('\n')).toStdString();

    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("Grid.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Width, 96);
    EXPECT_EQ(video.Height, 64);
    EXPECT_EQ(video.Frames, total);
}

TEST_F(WindowVideoGL, TheOffscreenCopyLeavesTheViewsClickPositions)
{
    Window->SetMouseMode(MOUSE_MODE_POINTER);
    Window->Redraw();
    const TStellarBody &star = *Window->Sector().GetSystem(5);
    const int x = star.RasterX, y = star.RasterY;
    const auto rect = star.HitRect;
    ASSERT_GE(x, 0);
    const QImage frame = Window->VideoFrame(80, 60);
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.size(), QSize(80, 60));
    // Something of the sector is drawn.
    bool lit = false;
    for (int row = 0; row < frame.height() && !lit; ++row)
        for (int col = 0; col < frame.width() && !lit; ++col)
            lit = qGray(frame.pixel(col, row)) > 60;
    EXPECT_TRUE(lit);
    EXPECT_EQ(star.RasterX, x);
    EXPECT_EQ(star.RasterY, y);
    EXPECT_EQ(star.HitRect.Left, rect.Left);
    EXPECT_EQ(star.HitRect.Bottom, rect.Bottom);
    // The view still draws in its own context afterwards.
    const int before = Window->SectorView()->FramesDrawn();
    Window->Redraw();
    EXPECT_GT(Window->SectorView()->FramesDrawn(), before);
    EXPECT_EQ(star.RasterX, x);
}

TEST_F(WindowVideoGL, ScriptsRecordTenFramesOfTheView)
{
    TScriptRegistry registry;
    Window->RegisterVideoScripting(registry);
    TScriptArgs args = {TScriptValue::FromString("script.mp4"), TScriptValue::FromInt(64),
                        TScriptValue::FromInt(48)};
    ASSERT_TRUE(registry.FindRoutine("startmovie")->Impl(args).AsBool());
    // The toolbar button belongs to the window's own recordings.
    EXPECT_FALSE(Window->Actions().Action(QStringLiteral("Animations.RecordVideo"))->isChecked());
    TScriptArgs none;
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(registry.FindRoutine("addmovieframe")->Impl(none).AsBool()) << i;
    const QImage expected = Window->VideoFrame(64, 48);
    ASSERT_TRUE(registry.FindRoutine("finishmovie")->Impl(none).AsBool());
    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("script.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Frames, 10);
    EXPECT_GT(Psnr(video.First, expected), 25.0);
}

TEST_F(WindowVideoGL, AScriptRecordsTenFramesOfTheSystemView)
{
    const QString script = Dir.filePath(QStringLiteral("orbit.vbs"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Set s = GetCurrentSector()\n"
            "ShowSystemDiagram s.GetSystem(3)\n"
            "n = 0\n"
            "If StartMovie(\"orbit.mp4\", 64, 48) Then\n"
            "  For i = 1 To 10\n"
            "    If AddMovieFrame() Then n = n + 1\n"
            "  Next\n"
            "  If FinishMovie() And n = 10 Then MsgBox \"recorded\"\n"
            "End If\n");
    f.close();
    const auto before = Messages.Log().size();
    ASSERT_TRUE(Window->RunScriptFile(script)) << Messages.Log().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(Messages.Log().mid(before).join(QLatin1Char('\n')).contains(QStringLiteral("recorded")))
        << Messages.Log().mid(before).join(QLatin1Char('\n')).toStdString();
    // The frames are the system view's, not the star map's.
    ASSERT_EQ(Window->OrbitSystem(), Window->Sector().GetSystem(3));
    const QImage expected = Window->VideoFrame(64, 48);
    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("orbit.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Frames, 10);
    EXPECT_GT(Psnr(video.First, expected), 25.0);
}

int main(int argc, char **argv) { return kalvion::test::RunXWindowTests(argc, argv); }
