// The real program under Xvfb records a rotation of a generated sector:
// "Record Video" from the Animations menu, the file chosen through the file
// chooser (answered from the answers file), an odd width rounded and told,
// "Rotate 360", then the menu item again to stop.  The file is read back
// with libavformat.
#include "../render/VideoDecode.h"
#include "../render/XDisplay.h"
#include "../support/ProgramRun.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

using kalvion::test::TProgramRun;

QString XDo(const QStringList &args) { return TProgramRun::XDo(args).trimmed(); }
void Keys(const QStringList &keys) { TProgramRun::Keys(keys); }
QString WaitForWindow(const QString &pattern, int ms) { return TProgramRun::WaitForWindow(pattern, ms); }

class RecordVideoEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    std::unique_ptr<TProgramRun> Program;

    void SetUp() override
    {
        kalvion::test::EnsureXDisplay();
        if (!TProgramRun::HaveXdotool())
            GTEST_SKIP() << "xdotool is not installed";
    }
    QStringList LogLines(const QString &kind) const { return Program->LogLines(kind); }
    QStringList WaitForLog(const QString &kind, int ms, qsizetype count = 1) const
    {
        return Program->WaitForLog(kind, ms, count);
    }
    void Start(const QString &sector, const QStringList &answers)
    {
        Program = std::make_unique<TProgramRun>(Dir.path());
        // A short turn (36 frames) at the standard pace.
        Program->SetIni(QStringLiteral("AnimationPerformanceAdjust"), QStringLiteral("0.2"));
        ASSERT_TRUE(Program->Start(answers, {sector}));
    }
    // The Animations menu from the keyboard: File, then left past Help and
    // Plugins.
    void AnimationsMenu(const QString &window, const QStringList &then)
    {
        TProgramRun::Focus(window);
        Keys(QStringList{QStringLiteral("alt+f"), QStringLiteral("Left"), QStringLiteral("Left"),
                         QStringLiteral("Left")} +
             then);
    }
};

} // namespace

TEST_F(RecordVideoEndToEnd, ARotationRecordedFromTheWindowDecodes)
{
    const QString sector = Dir.filePath(QStringLiteral("Gen.VexaDB"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(KALVION_BIN_DIR "/kalvion-cli"),
                                {QStringLiteral("--seed"), QStringLiteral("31"), QStringLiteral("generate"), sector,
                                 QStringLiteral("--systems"), QStringLiteral("40"), QStringLiteral("--data"),
                                 QStringLiteral("stars")}),
              0);
    const QString video = Dir.filePath(QStringLiteral("videos/turn.mp4"));
    QDir().mkpath(Dir.filePath(QStringLiteral("videos")));
    Start(sector, {video, QStringLiteral("No")});
    const QString main = WaitForWindow(QStringLiteral("^Gen Sector \\("), 60000);
    ASSERT_FALSE(main.isEmpty()) << "the main window did not appear";
    ASSERT_FALSE(WaitForLog(QStringLiteral("view"), 30000).isEmpty());
    QThread::msleep(500);

    // Animations ▸ Record Video (the last item) opens the window.
    AnimationsMenu(main, {QStringLiteral("Up"), QStringLiteral("Return")});
    const QString form = WaitForWindow(QStringLiteral("^Record Video$"), 20000);
    ASSERT_FALSE(form.isEmpty()) << "the Record Video window did not appear";
    XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), form});
    QThread::msleep(300);
    // File name box, "..." (the chooser takes the answer), width, height,
    // frames per second, quick mode, Start.
    Keys({QStringLiteral("Tab"), QStringLiteral("space")});
    Keys({QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    XDo({QStringLiteral("type"), QStringLiteral("161")});
    Keys({QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    XDo({QStringLiteral("type"), QStringLiteral("120")});
    Keys({QStringLiteral("Tab"), QStringLiteral("ctrl+a")});
    XDo({QStringLiteral("type"), QStringLiteral("25")});
    Keys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space")});
    const QStringList started = WaitForLog(QStringLiteral("video"), 20000);
    ASSERT_FALSE(started.isEmpty()) << "no recording started";
    EXPECT_TRUE(started.first().startsWith(QStringLiteral("video\t\trecording 0 ") + video)) << started.first().toStdString();
    const QStringList told = WaitForLog(QStringLiteral("tell"), 5000);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told.first().startsWith(QStringLiteral("tell\tRecord Video\tThe video frame size 161 x 120 was "
                                                       "rounded to 160 x 120")))
        << told.first().toStdString();

    // Animations ▸ Rotate 360 (the first item), then the menu item again
    // once the turn has ended.  Opening the sector was the first long
    // operation.
    const qsizetype idle = LogLines(QStringLiteral("idle")).size();
    AnimationsMenu(main, {QStringLiteral("Return")});
    ASSERT_GT(WaitForLog(QStringLiteral("idle"), 120000, idle + 1).size(), idle) << "the turn did not end";
    AnimationsMenu(main, {QStringLiteral("Up"), QStringLiteral("Return")});
    const QStringList lines = WaitForLog(QStringLiteral("video"), 30000, 2);
    ASSERT_EQ(lines.size(), 2) << "the recording did not stop";
    const QStringList stopped = lines[1].section(QLatin1Char('\t'), 2).split(QLatin1Char(' '));
    ASSERT_GE(stopped.size(), 3);
    EXPECT_EQ(stopped[0], QStringLiteral("stopped"));
    const int frames = stopped[1].toInt();
    // The first view and at least the 36 frames of the turn.
    EXPECT_GE(frames, 37);

    const auto decoded = kalvion::test::DecodeVideo(video.toStdString());
    EXPECT_EQ(decoded.Error, "");
    EXPECT_EQ(decoded.Codec, "h264");
    EXPECT_EQ(decoded.Width, 160);
    EXPECT_EQ(decoded.Height, 120);
    EXPECT_EQ(decoded.Frames, frames);
    EXPECT_NEAR(decoded.Seconds, frames / 25.0, 0.2);
    EXPECT_EQ(QDir(Dir.filePath(QStringLiteral("videos"))).entryList(QDir::Files), QStringList{"turn.mp4"});
}
