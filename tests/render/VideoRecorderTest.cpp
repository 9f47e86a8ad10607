// Video files as players see them: codec, size, frame count and picture,
// read back through libavformat; and recordings that fail leave no file.
#include "render/video/VideoRecorder.h"
#include "VideoDecode.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

using namespace kalvion;
using namespace kalvion::test;
namespace fs = std::filesystem;

namespace {

// Coloured bands and a square that moves with the frame number.
QImage TestPicture(int width, int height, int n)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, width, height, QColor(20, 30, 60));
    p.fillRect(0, 0, width / 3, height, QColor(200, 40, 40));
    p.fillRect(width / 3, height / 2, width / 3, height / 2, QColor(40, 200, 60));
    p.fillRect((n * 7) % width, height / 4, width / 6, height / 6, Qt::white);
    return image;
}

// Pixels that compress badly, to fill a disk quickly.
QImage NoisePicture(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = 0xff000000u | (seed >> 8);
        }
    }
    return image;
}

struct VideoFiles : ::testing::Test {
    fs::path Dir;
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("kalvion-video-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(Dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(VideoFiles, Mp4HoldsEveryFrameAtItsSize)
{
    const std::string file = (Dir / "clip.mp4").string();
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start(file, 160, 120, 10, false)) << rec.lastError();
    EXPECT_TRUE(rec.isRecording());
    EXPECT_TRUE(rec.sizeNotice().empty());
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(rec.addFrame(TestPicture(160, 120, i))) << rec.lastError();
    // Nothing carries the final name until the file is complete.
    EXPECT_FALSE(fs::exists(file));
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    EXPECT_FALSE(rec.isRecording());
    EXPECT_EQ(Entries(), std::vector<std::string>{"clip.mp4"});

    const TDecodedVideo v = DecodeVideo(file);
    ASSERT_TRUE(v.Error.empty()) << v.Error;
    EXPECT_EQ(v.Codec, "h264");
    EXPECT_EQ(v.Width, 160);
    EXPECT_EQ(v.Height, 120);
    EXPECT_EQ(v.Frames, 12);
    EXPECT_NEAR(v.Seconds, 1.2, 0.05);
    EXPECT_GT(Psnr(v.First, TestPicture(160, 120, 0)), 30);
    // The first frame is the first picture, not a later one.
    EXPECT_GT(Psnr(v.First, TestPicture(160, 120, 0)), Psnr(v.First, TestPicture(160, 120, 5)) + 6);
}

TEST_F(VideoFiles, WebMNameRecordsVp9AndRgbBytesAreFrames)
{
    const std::string file = (Dir / "clip.WebM").string();
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start(file, 64, 48, 25, true)) << rec.lastError();
    // Rows padded to 200 bytes, as a caller's buffer may be.
    const QImage picture = TestPicture(64, 48, 0).convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> bytes(200 * 48);
    for (int y = 0; y < 48; ++y)
        std::memcpy(&bytes[static_cast<std::size_t>(y) * 200], picture.constScanLine(y), 64 * 3);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(rec.addFrameRGB(bytes.data(), 64, 48, 200)) << rec.lastError();
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    const TDecodedVideo v = DecodeVideo(file);
    ASSERT_TRUE(v.Error.empty()) << v.Error;
    EXPECT_EQ(v.Codec, "vp9");
    EXPECT_EQ(v.Frames, 5);
    EXPECT_EQ(v.Width, 64);
    // Small and sharp-edged, so less exact than a real view; but the
    // channels must be where they belong.
    EXPECT_GT(Psnr(v.First, picture), 25);
    EXPECT_GT(Psnr(v.First, picture), Psnr(v.First, picture.rgbSwapped()) + 6);
}

TEST_F(VideoFiles, OddSizesAreRoundedAndReported)
{
    const std::string file = (Dir / "odd.mp4").string();
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start(file, 161, 121, 10, true)) << rec.lastError();
    EXPECT_EQ(rec.frameWidth(), 160);
    EXPECT_EQ(rec.frameHeight(), 120);
    EXPECT_NE(rec.sizeNotice().find("161 x 121"), std::string::npos) << rec.sizeNotice();
    EXPECT_NE(rec.sizeNotice().find("160 x 120"), std::string::npos) << rec.sizeNotice();
    // Pictures of the size asked for are scaled to the size used.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(rec.addFrame(TestPicture(161, 121, i)));
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    const TDecodedVideo v = DecodeVideo(file);
    EXPECT_EQ(v.Width, 160);
    EXPECT_EQ(v.Height, 120);
    EXPECT_EQ(v.Frames, 3);
}

TEST_F(VideoFiles, RefusedStartsLeaveNoFile)
{
    TVideoRecorder rec;
    // A folder that does not exist, and one that is a file.
    EXPECT_FALSE(rec.start((Dir / "missing" / "a.mp4").string(), 160, 120, 10, false));
    EXPECT_NE(rec.lastError().find("Cannot write the video file"), std::string::npos) << rec.lastError();
    std::ofstream(Dir / "plain") << "x";
    EXPECT_FALSE(rec.start((Dir / "plain" / "a.mp4").string(), 160, 120, 10, false));
    // An encoder that is not there.
    EXPECT_FALSE(rec.start((Dir / "b.mp4").string(), 160, 120, 10, false, "no-such-encoder"));
    EXPECT_NE(rec.lastError().find("no-such-encoder"), std::string::npos) << rec.lastError();
    // Sizes and rates out of range.
    EXPECT_FALSE(rec.start((Dir / "c.mp4").string(), 8, 120, 10, false));
    EXPECT_FALSE(rec.start((Dir / "c.mp4").string(), 160, 120, 0, false));
    EXPECT_FALSE(rec.isRecording());
    EXPECT_FALSE(rec.addFrame(TestPicture(160, 120, 0)));
    EXPECT_FALSE(rec.finish());
    EXPECT_EQ(Entries(), std::vector<std::string>{"plain"});
}

TEST_F(VideoFiles, SecondStartKeepsTheFirstRecording)
{
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start((Dir / "one.mp4").string(), 64, 48, 10, true));
    EXPECT_FALSE(rec.start((Dir / "two.mp4").string(), 64, 48, 10, true));
    EXPECT_TRUE(rec.isRecording());
    ASSERT_TRUE(rec.addFrame(TestPicture(64, 48, 0)));
    // Pictures that cannot be frames are refused; the recording goes on.
    EXPECT_FALSE(rec.addFrame(QImage()));
    EXPECT_FALSE(rec.addFrame(QImage(VIDEO_MAX_SIZE + 1, 2, QImage::Format_RGB32)));
    EXPECT_FALSE(rec.addFrameRGB(nullptr, 64, 48, 192));
    EXPECT_TRUE(rec.isRecording());
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    EXPECT_EQ(DecodeVideo((Dir / "one.mp4").string()).Frames, 1);
    EXPECT_EQ(Entries(), std::vector<std::string>{"one.mp4"});
}

TEST_F(VideoFiles, CancelRemovesThePartialFile)
{
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start((Dir / "gone.mp4").string(), 64, 48, 10, true));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(rec.addFrame(TestPicture(64, 48, i)));
    rec.cancel();
    EXPECT_FALSE(rec.isRecording());
    EXPECT_TRUE(Entries().empty());
}

// A file-size limit stands in for a full disk: writes past it fail with
// EFBIG, as they fail with ENOSPC on a full one.
TEST_F(VideoFiles, FullDiskStopsAndKeepsTheOldFile)
{
    const std::string file = (Dir / "full.mp4").string();
    std::ofstream(file) << "old";
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    TVideoRecorder rec;
    bool started = rec.start(file, 320, 240, 10, true);
    bool failed = !started;
    for (int i = 0; started && i < 60 && !failed; ++i)
        failed = !rec.addFrame(NoisePicture(320, 240, static_cast<unsigned>(i)));
    if (started && !failed)
        failed = !rec.finish();
    const std::string error = rec.lastError();

    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_TRUE(started);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(rec.isRecording());
    EXPECT_NE(error.find("Cannot write the video file"), std::string::npos) << error;
    EXPECT_EQ(Entries(), std::vector<std::string>{"full.mp4"});
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "old");

    // The failed recording is over: the recorder takes the next one.
    ASSERT_TRUE(rec.start((Dir / "next.mp4").string(), 64, 48, 10, true)) << rec.lastError();
    ASSERT_TRUE(rec.addFrame(TestPicture(64, 48, 0)));
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    EXPECT_EQ(Entries(), (std::vector<std::string>{"full.mp4", "next.mp4"}));
}

} // namespace
