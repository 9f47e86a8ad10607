// The "Record Video" window on the offscreen platform: its boxes against the
// settings, its checks, the file chooser, and recordings it starts and
// stops with a real recorder (frames handed over as the main window does).
#include "../appdialogs/DialogTestSupport.h"
#include "../render/VideoDecode.h"

#include "app/video/RecordVideoDialog.h"
#include "render/video/VideoRecorder.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace kalvion;
using namespace kalvion::app;
using namespace kalvion::app::test;
using kalvion::test::DecodeVideo;

namespace {

class RecordVideoTest : public DialogTest {
protected:
    QTemporaryDir Dir;
    TVideoRecorder Recorder;
    TAppSettings Settings;
    std::unique_ptr<TfrmRecordVideo> Form;

    void SetUp() override
    {
        Settings.VideoFolder = Dir.path() + QLatin1Char('/');
        Settings.VideoFrameWidth = 64;
        Settings.VideoFrameHeight = 48;
        Settings.VideoFPS = 12.5;
        Settings.VideoQuick = true;
        Form = std::make_unique<TfrmRecordVideo>(Messages, Recorder, Settings);
        Form->Load(QStringLiteral("Hub"));
    }
    QLineEdit *Edit(const char *name) { return Find<QLineEdit>(*Form, name); }
    QPushButton *Button(const char *name) { return Find<QPushButton>(*Form, name); }
    void AddFrames(int n)
    {
        for (int i = 0; i < n; ++i) {
            QImage frame(Recorder.frameWidth(), Recorder.frameHeight(), QImage::Format_RGB32);
            frame.fill(qRgb(40 * i, 90, 160));
            ASSERT_TRUE(Recorder.addFrame(frame)) << Recorder.lastError();
            Form->FrameAdded();
        }
    }
    QStringList FilesInDir() const { return QDir(Dir.path()).entryList(QDir::Files); }
};

} // namespace

TEST_F(RecordVideoTest, BoxesComeFromTheSettingsAndGoBack)
{
    EXPECT_EQ(QDir::fromNativeSeparators(Edit("edFileName")->text()), Dir.path() + QStringLiteral("/Hub.mp4"));
    EXPECT_EQ(Edit("edWidth")->text(), QStringLiteral("64"));
    EXPECT_EQ(Edit("edHeight")->text(), QStringLiteral("48"));
    EXPECT_EQ(Edit("edFPS")->text(), QStringLiteral("12.5"));
    EXPECT_TRUE(Find<QCheckBox>(*Form, "cbQuick")->isChecked());

    QTemporaryDir other;
    Edit("edFileName")->setText(other.filePath(QStringLiteral("tour.webm")));
    Edit("edWidth")->setText(QStringLiteral("1920"));
    Edit("edHeight")->setText(QStringLiteral(" 1080 "));
    Edit("edFPS")->setText(QStringLiteral("29.97"));
    Find<QCheckBox>(*Form, "cbQuick")->setChecked(false);
    ASSERT_EQ(Form->Validate(), QString());
    TAppSettings out;
    Form->Apply(out);
    EXPECT_EQ(out.VideoFrameWidth, 1920);
    EXPECT_EQ(out.VideoFrameHeight, 1080);
    EXPECT_DOUBLE_EQ(out.VideoFPS, 29.97);
    EXPECT_FALSE(out.VideoQuick);
    // The folder of the last video becomes the video folder.
    EXPECT_EQ(out.VideoFolder, other.path() + QLatin1Char('/'));
}

TEST_F(RecordVideoTest, ChecksNameTheFirstBadBox)
{
    struct Case {
        const char *Box, *Text, *Message;
    };
    const Case cases[] = {
        {"edFileName", "", "Please enter a name for the video file."},
        {"edFileName", "clip.avi", "A video file name ends in \".mp4\" or \".webm\"."},
        {"edFileName", ".mp4", "Please enter a name for the video file."},
        {"edWidth", "wide", "The frame width must be a whole number from 16 to 8192."},
        {"edWidth", "15", "The frame width must be a whole number from 16 to 8192."},
        {"edWidth", "640.5", "The frame width must be a whole number from 16 to 8192."},
        {"edHeight", "8193", "The frame height must be a whole number from 16 to 8192."},
        {"edFPS", "0.5", "The frames per second must be a number from 1 to 240."},
        {"edFPS", "241", "The frames per second must be a number from 1 to 240."},
        {"edFPS", "fast", "The frames per second must be a number from 1 to 240."},
    };
    for (const Case &c : cases) {
        Form->Load(QStringLiteral("Hub"));
        ASSERT_EQ(Form->Validate(), QString());
        Edit(c.Box)->setText(QString::fromUtf8(c.Text));
        EXPECT_EQ(Form->Validate().toStdString(), c.Message) << c.Box << " = \"" << c.Text << '"';
    }
    // A bad box is told and nothing starts.
    Edit("edFPS")->setText(QStringLiteral("0"));
    EXPECT_FALSE(Form->StartRecording());
    EXPECT_FALSE(Recorder.isRecording());
    ASSERT_FALSE(Messages.Log().isEmpty());
    EXPECT_TRUE(Messages.Log().last().startsWith(QStringLiteral("tell\tRecord Video\tThe frames per second")));
}

TEST_F(RecordVideoTest, BareNamesGoToTheVideoFolderAsMp4)
{
    Edit("edFileName")->setText(QStringLiteral("clip"));
    EXPECT_EQ(Form->Choice().File, Dir.path() + QStringLiteral("/clip.mp4"));
    Edit("edFileName")->setText(QStringLiteral("clip.WEBM"));
    EXPECT_EQ(Form->Choice().File, Dir.path() + QStringLiteral("/clip.WEBM"));
}

TEST_F(RecordVideoTest, ChooserOffersVideoTypesAndFillsTheName)
{
    const QString chosen = Dir.filePath(QStringLiteral("picked.webm"));
    Messages.Push(chosen);
    Button("btnBrowse")->click();
    EXPECT_EQ(QDir::fromNativeSeparators(Edit("edFileName")->text()), chosen);
    EXPECT_EQ(Messages.LastFilter, QString::fromLatin1(VIDEO_FILE_FILTER));
    EXPECT_EQ(Messages.LastDefaultExt, QStringLiteral("mp4"));
    EXPECT_EQ(Messages.LastInitial, Dir.path() + QStringLiteral("/Hub.mp4"));
    // Cancelled: the name stays.
    Button("btnBrowse")->click();
    EXPECT_EQ(QDir::fromNativeSeparators(Edit("edFileName")->text()), chosen);
    EXPECT_EQ(Messages.LastDefaultExt, QStringLiteral("webm"));
}

TEST_F(RecordVideoTest, StartAndStopMakeAVideoThatDecodes)
{
    QSignalSpy changed(Form.get(), &TfrmRecordVideo::recordingChanged);
    Button("btnStart")->click();
    ASSERT_TRUE(Form->Recording()) << Messages.Log().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(0).toBool());
    EXPECT_FALSE(Button("btnStart")->isEnabled());
    EXPECT_TRUE(Button("btnStop")->isEnabled());
    EXPECT_FALSE(Edit("edFileName")->isEnabled());
    EXPECT_FALSE(Edit("edWidth")->isEnabled());
    // The window keeps its boxes while it records.
    Form->Load(QStringLiteral("Other"));
    EXPECT_TRUE(Edit("edFileName")->text().endsWith(QStringLiteral("Hub.mp4")));

    AddFrames(5);
    Button("btnStop")->click();
    EXPECT_FALSE(Form->Recording());
    EXPECT_FALSE(Recorder.isRecording());
    ASSERT_EQ(changed.count(), 2);
    EXPECT_FALSE(changed.at(1).at(0).toBool());
    EXPECT_TRUE(Button("btnStart")->isEnabled());
    EXPECT_FALSE(Button("btnStop")->isEnabled());
    EXPECT_EQ(Find<QLabel>(*Form, "lblState")->text(), QStringLiteral("5 frames saved to \"Hub.mp4\""));

    const auto video = DecodeVideo(Dir.filePath(QStringLiteral("Hub.mp4")).toStdString());
    EXPECT_EQ(video.Error, "");
    EXPECT_EQ(video.Codec, "h264");
    EXPECT_EQ(video.Width, 64);
    EXPECT_EQ(video.Height, 48);
    EXPECT_EQ(video.Frames, 5);
    EXPECT_DOUBLE_EQ(Recorder.fps(), 12.5);
    EXPECT_EQ(FilesInDir(), QStringList{QStringLiteral("Hub.mp4")});
}

TEST_F(RecordVideoTest, OddSizesAreRoundedAndTheUserIsTold)
{
    Edit("edWidth")->setText(QStringLiteral("65"));
    Edit("edHeight")->setText(QStringLiteral("49"));
    ASSERT_TRUE(Form->StartRecording());
    ASSERT_FALSE(Messages.Log().isEmpty());
    EXPECT_EQ(Messages.Log().last(),
              QStringLiteral("tell\tRecord Video\t") + QString::fromStdString(Recorder.sizeNotice()));
    EXPECT_TRUE(Messages.Log().last().contains(QStringLiteral("rounded to 64 x 48")));
    EXPECT_EQ(Edit("edWidth")->text(), QStringLiteral("64"));
    EXPECT_EQ(Edit("edHeight")->text(), QStringLiteral("48"));
    EXPECT_EQ(Settings.VideoFrameWidth, 64);
    EXPECT_EQ(Settings.VideoFrameHeight, 48);
    AddFrames(2);
    EXPECT_TRUE(Form->StopRecording());
}

TEST_F(RecordVideoTest, AFolderThatCannotBeWrittenIsToldAndTheWindowGoesOn)
{
    Edit("edFileName")->setText(Dir.filePath(QStringLiteral("missing/folder/clip.mp4")));
    EXPECT_FALSE(Form->StartRecording());
    EXPECT_FALSE(Form->Recording());
    EXPECT_FALSE(Recorder.isRecording());
    ASSERT_FALSE(Messages.Log().isEmpty());
    EXPECT_TRUE(Messages.Log().last().startsWith(QStringLiteral("tell\tRecord Video\t")));
    EXPECT_GT(Messages.Log().last().size(), QStringLiteral("tell\tRecord Video\t").size());
    EXPECT_TRUE(Button("btnStart")->isEnabled());
    EXPECT_TRUE(Edit("edFileName")->isEnabled());
    // A name that can be written works at once.
    Edit("edFileName")->setText(Dir.filePath(QStringLiteral("clip.mp4")));
    ASSERT_TRUE(Form->StartRecording());
    AddFrames(1);
    EXPECT_TRUE(Form->StopRecording());
    EXPECT_TRUE(QFile::exists(Dir.filePath(QStringLiteral("clip.mp4"))));
}

TEST_F(RecordVideoTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes)
{
    const QString file = Dir.filePath(QStringLiteral("Hub.mp4"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    Messages.Push(QStringLiteral("No"));
    EXPECT_FALSE(Form->StartRecording());
    EXPECT_FALSE(Recorder.isRecording());
    EXPECT_EQ(Messages.Log().last(), QStringLiteral("ask\tRecord Video\t\"") + QDir::toNativeSeparators(file) +
                                         QStringLiteral("\" already exists.  Do you want to replace it?"));
    Messages.Push(QStringLiteral("Yes"));
    ASSERT_TRUE(Form->StartRecording());
    AddFrames(2);
    ASSERT_TRUE(Form->StopRecording());
    EXPECT_EQ(DecodeVideo(file.toStdString()).Frames, 2);
}

TEST_F(RecordVideoTest, AnAbandonedRecordingLeavesNoFileAndSaysWhy)
{
    ASSERT_TRUE(Form->StartRecording());
    AddFrames(3);
    QSignalSpy changed(Form.get(), &TfrmRecordVideo::recordingChanged);
    Form->AbandonRecording(QStringLiteral("The disk is full"));
    EXPECT_FALSE(Form->Recording());
    EXPECT_FALSE(Recorder.isRecording());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(Messages.Log().last(), QStringLiteral("tell\tRecord Video\tThe disk is full"));
    EXPECT_EQ(FilesInDir(), QStringList());
    // Stop after that has nothing to finish.
    EXPECT_FALSE(Form->StopRecording());
}

TEST_F(RecordVideoTest, ARecordingOfAScriptKeepsStartClosed)
{
    ASSERT_TRUE(Recorder.start(Dir.filePath(QStringLiteral("script.mp4")).toStdString(), 32, 32, 10, true));
    Form->Load(QStringLiteral("Hub"));
    EXPECT_FALSE(Button("btnStart")->isEnabled());
    EXPECT_EQ(Find<QLabel>(*Form, "lblState")->text(), QStringLiteral("A script is recording a video"));
    EXPECT_FALSE(Form->StartRecording());
    EXPECT_EQ(Messages.Log().last(), QStringLiteral("tell\tRecord Video\tA video is already being recorded."));
    Recorder.cancel();
}

TEST_F(RecordVideoTest, StoppingBeforeAnyFrameKeepsNoFile)
{
    ASSERT_TRUE(Form->StartRecording());
    EXPECT_FALSE(Form->StopRecording());
    EXPECT_FALSE(Form->Recording());
    EXPECT_FALSE(Recorder.isRecording());
    EXPECT_EQ(Messages.Log().last(),
              QStringLiteral("tell\tRecord Video\tNo frames were recorded, so no video file was written."));
    EXPECT_EQ(FilesInDir(), QStringList());
    EXPECT_TRUE(Button("btnStart")->isEnabled());
}
