// The main window's part of recording, without GL: the "Record Video"
// window exists from the start, the command opens it, the toolbar button
// shows the recording and stops it, closing the window finishes the file,
// and the script routines reach the window's recorder.
#include "../appdialogs/DialogTestSupport.h"
#include "../render/VideoDecode.h"

#include "app/ActionTable.h"
#include "app/MainWindow.h"
#include "app/SettingsStore.h"
#include "app/video/RecordVideoDialog.h"
#include "render/video/VideoRecorder.h"
#include "scripting/ScriptRegistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;
using kalvion::test::DecodeVideo;

namespace {

class WindowVideoTest : public DialogTest {
protected:
    QTemporaryDir Dir;
    std::unique_ptr<TSettingsStore> Store;
    std::unique_ptr<TfrmVexaMain> Window;

    void SetUp() override
    {
        Store = std::make_unique<TSettingsStore>(Dir.filePath(QStringLiteral("k.ini")));
        Store->SetBool(QStringLiteral("PerformanceSkip"), true);
        TfrmVexaMain::TOptions o;
        o.ProgramFolder = Dir.path() + QLatin1Char('/');
        o.SkipGL = true;
        Window = std::make_unique<TfrmVexaMain>(Messages, *Store, o);
        Window->Settings().VideoFolder = Dir.path() + QLatin1Char('/');
        Window->Settings().VideoFrameWidth = 48;
        Window->Settings().VideoFrameHeight = 32;
    }
    QAction *Record() { return Window->Actions().Action(QStringLiteral("Animations.RecordVideo")); }
    // Frames as the view would hand them over.
    void AddFrames(int n)
    {
        TVideoRecorder &r = Window->VideoRecorder();
        for (int i = 0; i < n; ++i) {
            QImage frame(r.frameWidth(), r.frameHeight(), QImage::Format_RGB32);
            frame.fill(qRgb(200, 30 * i, 10));
            ASSERT_TRUE(r.addFrame(frame));
            Window->RecordVideoWindow()->FrameAdded();
        }
    }
};

} // namespace

TEST_F(WindowVideoTest, TheCommandOpensTheWindowKeptSinceStart)
{
    TfrmRecordVideo *form = Window->RecordVideoWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->parent(), Window.get());
    EXPECT_FALSE(form->isVisible());
    Window->UpdateActions();
    ASSERT_TRUE(Record()->isEnabled());
    EXPECT_EQ(Record()->iconText(), QStringLiteral("Record"));
    Record()->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Record Video"));
    EXPECT_FALSE(Record()->isChecked());
    EXPECT_EQ(QDir::fromNativeSeparators(Find<QLineEdit>(*form, "edFileName")->text()),
              Dir.path() + QStringLiteral("/Untitled.mp4"));
    EXPECT_EQ(Find<QLineEdit>(*form, "edWidth")->text(), QStringLiteral("48"));
    // The same window every time.
    form->hide();
    Record()->trigger();
    EXPECT_EQ(Window->RecordVideoWindow(), form);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(WindowVideoTest, TheToolbarButtonShowsTheRecordingAndStopsIt)
{
    Record()->trigger();
    ASSERT_TRUE(Window->RecordVideoWindow()->StartRecording());
    EXPECT_TRUE(Record()->isChecked());
    EXPECT_EQ(Record()->iconText(), QStringLiteral("Stop"));
    AddFrames(3);
    Record()->trigger();
    EXPECT_FALSE(Window->RecordVideoWindow()->Recording());
    EXPECT_FALSE(Record()->isChecked());
    EXPECT_EQ(Record()->iconText(), QStringLiteral("Record"));
    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("Untitled.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Frames, 3);
    EXPECT_EQ(video.Width, 48);
}

TEST_F(WindowVideoTest, ClosingTheWindowFinishesTheFileAndKeepsTheSettings)
{
    Record()->trigger();
    Find<QLineEdit>(*Window->RecordVideoWindow(), "edFPS")->setText(QStringLiteral("24"));
    ASSERT_TRUE(Window->RecordVideoWindow()->StartRecording());
    AddFrames(4);
    ASSERT_TRUE(Window->close());
    EXPECT_FALSE(Window->VideoRecorder().isRecording());
    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("Untitled.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Frames, 4);
    EXPECT_EQ(Store->Float(QStringLiteral("VideoFPS")), 24.0);
    EXPECT_EQ(Store->Int(QStringLiteral("VideoFrameHeight")), 32);
}

TEST_F(WindowVideoTest, ScriptRoutinesUseTheWindowsRecorderAndFolder)
{
    TScriptRegistry registry;
    Window->RegisterVideoScripting(registry);
    const TScriptRoutine *start = registry.FindRoutine("startmovie");
    const TScriptRoutine *add = registry.FindRoutine("addmovieframe");
    const TScriptRoutine *finish = registry.FindRoutine("finishmovie");
    ASSERT_TRUE(start && add && finish);
    TScriptArgs args(3);
    args[0] = TScriptValue::FromString("bare.mp4");
    args[1] = TScriptValue::FromInt(33);
    args[2] = TScriptValue::FromInt(24);
    EXPECT_TRUE(start->Impl(args).AsBool());
    EXPECT_TRUE(Window->VideoRecorder().isRecording());
    EXPECT_EQ(QString::fromStdString(Window->VideoRecorder().fileName()), Dir.filePath(QStringLiteral("bare.mp4")));
    // The odd width was told.
    EXPECT_TRUE(Messages.Log().last().startsWith(QStringLiteral("tell\tRecord Video\tThe video frame size 33 x 24")));
    // Without a drawn view there is no frame; the reason is shown.
    TScriptArgs none;
    EXPECT_FALSE(add->Impl(none).AsBool());
    EXPECT_EQ(Window->findChild<QLabel *>(QStringLiteral("statusPanel0"))->text(),
              QStringLiteral("The 3D view could not be drawn for the video"));
    // The window's own recording cannot start over the script's.
    EXPECT_FALSE(Window->RecordVideoWindow()->StartRecording());
    Window->VideoRecorder().cancel();
}
