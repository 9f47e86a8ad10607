// "kalvion-cli render --system": one frame of the 3D system view of a
// generated sector, and the options that go with it.
#include "GeneratedSectorTest.h"
#include "VideoDecode.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <sstream>

#include <unistd.h>

namespace kalvion::test {
namespace {

namespace fs = std::filesystem;

class OrbitRenderCommand : public TGeneratedSectorTest {
protected:
    void SetUp() override
    {
        Generate("kalvion-orbitrender-", "5", "20");
        if (HasFatalFailure())
            return;
        TVexaSector sector;
        ASSERT_TRUE(LoadFromFile(sector, sector_, nullptr));
        // A system with planets, so there are orbits to see.
        for (int i = 0; i < sector.SystemCount() && system_.empty(); ++i) {
            TStellarBody *root = sector.GetSystem(i);
            sector.DynaLoad(root);
            if (root->TypeID == BODY_TYPE_STAR && root->ChildrenCount() >= 2)
                system_ = root->Name;
        }
        ASSERT_FALSE(system_.empty());
    }
    std::string system_;
};

TEST_F(OrbitRenderCommand, DrawsOneSystemWithItsCamera)
{
    const std::string png = (dir_ / "system.png").string();
    const TRun run = Cli({"--json", "render", sector_, png, "--system", system_, "--days", "1000", "--distance",
                          "20", "--lat", "60", "--long", "15", "--width", "640", "--height", "400"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"kind\":1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"lat\":60.0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"days\":1000.0"), std::string::npos) << run.out;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(640, 400));
    const int lit = CountPixels(image, QRect(0, 120, 640, 280), [](const QColor &c) { return c.value() > 40; });
    EXPECT_GT(lit, 300);  // star and orbits below the text lines

    // Drawing a system leaves the file as it was: nothing is saved.
    const auto written = fs::last_write_time(sector_);
    ASSERT_EQ(Cli({"render", sector_, png, "--system", system_}).code, 0);
    EXPECT_EQ(fs::last_write_time(sector_), written);
}

TEST_F(OrbitRenderCommand, RefusesWrongOptions)
{
    const std::string png = (dir_ / "x.png").string();
    EXPECT_EQ(Cli({"render", sector_, png, "--lat", "30"}).code, 2);
    EXPECT_EQ(Cli({"render", sector_, png, "--system", system_, "--days", "inf"}).code, 2);
    const TRun missing = Cli({"render", sector_, png, "--system", "No Such Place"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("No Such Place"), std::string::npos);
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(OrbitRenderCommand, RecordsTheOrbitsIntoAVideo)
{
    const std::string mp4 = (dir_ / "orbits.mp4").string();
    const TRun run = Cli({"--json", "video", sector_, mp4, "--animation", "orbit", "--system", system_, "--days", "20",
                          "--seconds", "1", "--fps", "6", "--width", "160", "--height", "96"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"frames\":6"), std::string::npos) << run.out;
    const TDecodedVideo video = DecodeVideo(mp4);
    EXPECT_EQ(video.Frames, 6);
    EXPECT_EQ(video.Width, 160);
    EXPECT_EQ(video.Height, 96);
    // Without a system to show there is nothing to record.
    EXPECT_EQ(Cli({"video", sector_, mp4, "--animation", "orbit"}).code, 2);
}

} // namespace
} // namespace kalvion::test
