// Animations of the sector view recorded off screen: the file holds the
// frames the animation drew, and "kalvion-cli video" writes one from a
// sector file.
#include "GLFrame.h"
#include "VideoDecode.h"

#include "cli/CliApp.h"
#include "render/video/SectorVideo.h"
#include "render/video/VideoRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace kalvion::test {
namespace {

namespace fs = std::filesystem;

constexpr int W = 320, H = 240;

std::unique_ptr<TVexaSector> Scene()
{
    auto sector = EmptySector(25);
    sector->Camera = {0, 8, 25};
    sector->GridsEnabled = true;
    sector->GridX = sector->GridY = sector->GridZ = 10;
    AddRoot(*sector, "Ashen", 0, 0, 0, ColorRGB(255, 220, 120));
    AddRoot(*sector, "Brisk", 8, 2, -3, ColorRGB(120, 160, 255));
    AddRoot(*sector, "Cinder", -6, -4, 5, ColorRGB(255, 90, 60));
    AddRoot(*sector, "Dusk", 3, -7, 9, ColorRGB(200, 255, 200));
    return sector;
}

QImage Snapshot(TVexaSector &sector)
{
    TRenderSectorOGL renderer;
    renderer.NoRaster = true;
    const QImage image = SharedGL()->RenderSector(renderer, sector, W, H, 4);
    renderer.ReleaseAll();
    return image;
}

struct SectorVideo : ::testing::Test {
    fs::path Dir;
    void SetUp() override
    {
        ASSERT_NE(SharedGL(), nullptr);
        Dir = fs::temp_directory_path() / ("kalvion-sector-video-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
};

TEST_F(SectorVideo, FirstFrameIsTheViewAfterTheFirstStep)
{
    const std::string file = (Dir / "turn.mp4").string();
    auto sector = Scene();
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start(file, W, H, 10, false)) << rec.lastError();
    TRenderSectorOGL renderer;
    TSectorVideoOptions options;
    options.Frames = 6;
    std::string error;
    TSectorVideoStats stats;
    ASSERT_TRUE(RecordSectorAnimation(*SharedGL(), renderer, *sector, TCameraAnimationKind::Rotate, rec, options,
                                      error, &stats))
        << error;
    renderer.ReleaseAll();
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    EXPECT_EQ(stats.Frames, 6);
    EXPECT_EQ(stats.Rendered, 6);

    const TDecodedVideo v = DecodeVideo(file);
    ASSERT_TRUE(v.Error.empty()) << v.Error;
    EXPECT_EQ(v.Codec, "h264");
    EXPECT_EQ(v.Width, W);
    EXPECT_EQ(v.Height, H);
    EXPECT_EQ(v.Frames, 6);
    EXPECT_NEAR(v.Seconds, 0.6, 0.05);

    // Rotate 360 turns 2 degrees a frame at full speed.
    auto same = Scene();
    same->RotateCameraAroundTarget(0, 2, 0);
    const QImage expected = Snapshot(*same);
    auto other = Scene();
    other->RotateCameraAroundTarget(0, 30, 0);
    const QImage elsewhere = Snapshot(*other);
    const double match = Psnr(v.First, expected), mismatch = Psnr(v.First, elsewhere);
    EXPECT_GT(match, 30);
    EXPECT_GT(match, mismatch + 6) << match << " against " << mismatch;
}

TEST_F(SectorVideo, PausesOfATourRepeatThePicture)
{
    const std::string file = (Dir / "tour.webm").string();
    auto sector = Scene();
    TVideoRecorder rec;
    ASSERT_TRUE(rec.start(file, W, H, 10, true)) << rec.lastError();
    TRenderSectorOGL renderer;
    TSectorVideoOptions options;
    options.Pace.PerformanceFactor = 20;  // five steps a pass
    options.Pick = [n = 0](int count) mutable { return n++ % count; };
    options.Frames = 14;
    std::string error;
    TSectorVideoStats stats;
    ASSERT_TRUE(RecordSectorAnimation(*SharedGL(), renderer, *sector, TCameraAnimationKind::TourGuide, rec,
                                      options, error, &stats))
        << error;
    renderer.ReleaseAll();
    ASSERT_TRUE(rec.finish()) << rec.lastError();
    // Two passes of five frames, each followed by half a second (5 frames)
    // of the same picture, cut at 14.
    EXPECT_EQ(stats.Frames, 14);
    EXPECT_EQ(stats.Rendered, 9);
    EXPECT_TRUE(sector->Selection.empty());
    const TDecodedVideo v = DecodeVideo(file);
    EXPECT_EQ(v.Codec, "vp9");
    EXPECT_EQ(v.Frames, 14);
}

TEST_F(SectorVideo, CommandLineRecordsASectorFile)
{
    auto cli = [](std::vector<std::string> args, std::string *err = nullptr) {
        args.insert(args.begin(), "kalvion-cli");
        std::ostringstream out, errs;
        const int code = cli::RunCli(args, out, errs);
        if (err)
            *err = errs.str() + out.str();
        return code;
    };
    const std::string sector = (Dir / "reach.VexaDB").string();
    ASSERT_EQ(cli({"--seed", "5", "generate", sector, "--size", "30", "--no-subsectors"}), 0);
    const std::string mp4 = (Dir / "reach.mp4").string();
    std::string messages;
    ASSERT_EQ(cli({"video", sector, mp4, "--animation", "whirl", "--seconds", "1", "--fps", "8", "--width", "161",
                   "--height", "120", "--quick"},
                  &messages),
              0)
        << messages;
    EXPECT_NE(messages.find("rounded to 160 x 120"), std::string::npos) << messages;
    const TDecodedVideo v = DecodeVideo(mp4);
    EXPECT_EQ(v.Width, 160);
    EXPECT_EQ(v.Height, 120);
    EXPECT_EQ(v.Frames, 8);

    // The orbit view, other names and unknown animations are refused.
    EXPECT_EQ(cli({"video", sector, mp4, "--animation", "orbit"}, &messages), 2);
    EXPECT_NE(messages.find("orbit"), std::string::npos);
    EXPECT_EQ(cli({"video", sector, (Dir / "a.avi").string(), "--animation", "rotate"}), 2);
    EXPECT_EQ(cli({"video", sector, mp4, "--animation", "spin"}), 2);
    // A folder that does not exist: a failure and no file.
    EXPECT_EQ(cli({"video", sector, (Dir / "no" / "a.mp4").string(), "--animation", "rotate"}, &messages), 1);
    EXPECT_NE(messages.find("Cannot write the video file"), std::string::npos) << messages;
    EXPECT_FALSE(fs::exists(Dir / "no"));

    // The seed decides where a voyage goes: the same seed ends on the same
    // picture (the encoder's bytes are not compared: they are its own
    // business), another seed makes another file.
    auto voyage = [&](const char *seed, const char *name) {
        const std::string file = (Dir / name).string();
        EXPECT_EQ(cli({"--seed", seed, "video", sector, file, "--animation", "voyage", "--seconds", "2", "--width",
                       "96", "--height", "64"}),
                  0);
        return file;
    };
    const auto bytes = [](const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const TDecodedVideo first = DecodeVideo(voyage("4", "v1.mp4"));
    const TDecodedVideo again = DecodeVideo(voyage("4", "v2.mp4"));
    ASSERT_EQ(first.Frames, 20);
    EXPECT_EQ(again.Frames, first.Frames);
    EXPECT_GT(Psnr(again.Last, first.Last), 40.0);
    EXPECT_NE(bytes(voyage("5", "v3.mp4")), bytes((Dir / "v1.mp4").string()));
}

} // namespace
} // namespace kalvion::test
