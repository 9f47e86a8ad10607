// "kalvion-cli render" on a generated sector file.
#include "GeneratedSectorTest.h"
#include "../models/ModelFiles.h"

#include "cli/CliApp.h"
#include "files/SectorFile.h"
#include "model/BodyTypes.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "model/VexaView.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace kalvion::test {
namespace {

namespace fs = std::filesystem;

class RenderCommand : public TGeneratedSectorTest {
protected:
    void SetUp() override { Generate("kalvion-render-", "11", "30"); }
};

TEST_F(RenderCommand, DrawsTheGeneratedSector)
{
    const std::string png = (dir_ / "reach.png").string();
    const TRun run = Cli({"render", sector_, png, "--width", "640", "--height", "400"});
    ASSERT_EQ(run.code, 0) << run.err;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(640, 400));
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += QColor(image.pixel(x, y)).value() > 40;
    EXPECT_GT(lit, 500);  // stars, grid and date line

    // From inside the sector with one system selected and the grid off.
    TVexaSector sector;
    ASSERT_TRUE(LoadFromFile(sector, sector_, nullptr));
    ASSERT_GT(sector.SystemCount(), 0);
    const std::string name = sector.GetSystem(0)->Name;
    const std::string jpg = (dir_ / "inside.jpg").string();
    const TRun inside = Cli({"--json", "render", sector_, jpg, "--camera", "0,0,5", "--target", "0,0,0",
                             "--select", name, "--no-grid", "--no-date", "--preview", name});
    ASSERT_EQ(inside.code, 0) << inside.err;
    EXPECT_NE(inside.out.find("\"camera\":[0.0,0.0,5.0]"), std::string::npos) << inside.out;
    EXPECT_FALSE(QImage(QString::fromStdString(jpg)).isNull());
}

TEST_F(RenderCommand, RefusesWhatItCannotDo)
{
    EXPECT_EQ(Cli({"render", sector_, (dir_ / "x.gif").string()}).code, 2);
    EXPECT_EQ(Cli({"render", sector_, (dir_ / "x.png").string(), "--width", "5"}).code, 2);
    EXPECT_EQ(Cli({"render", sector_, (dir_ / "x.png").string(), "--camera", "1,2"}).code, 2);
    EXPECT_EQ(Cli({"render", sector_, (dir_ / "x.png").string(), "--camera", "1,2,3"}).code, 2);
    const TRun view = Cli({"render", sector_, (dir_ / "x.png").string(), "--view", "Nowhere"});
    EXPECT_EQ(view.code, 1);
    EXPECT_NE(view.err.find("Nowhere"), std::string::npos);
    EXPECT_EQ(Cli({"render", sector_, (dir_ / "x.png").string(), "--select", "No Such Star"}).code, 1);
    EXPECT_EQ(Cli({"render", (dir_ / "missing.VexaDB").string(), (dir_ / "x.png").string()}).code, 1);
    EXPECT_FALSE(fs::exists(dir_ / "x.png"));
}

// A station whose model file places one mesh far too often: the picture
// shows it without its model, and standard error says which model failed.
TEST_F(RenderCommand, AModelThatCannotBeDrawnIsNamedOnStandardError)
{
    auto sector = TVexaSector::Create();
    auto dock = TStellarBody::Create();
    dock->Name = "Dock";
    dock->TypeID = BODY_TYPE_STATION;
    dock->ModelFile = "swarm.dae";
    sector->AddSystem(std::move(dock));
    const std::string file = (dir_ / "dock.VexaDB").string();
    std::string error;
    ASSERT_TRUE(SaveToFile(*sector, file, false, &error)) << error;
    // Not in the program's Models folder: found in the working folder.
    const fs::path model = dir_ / "Space Station" / "swarm.dae" / "swarm.dae";
    fs::create_directories(model.parent_path());
    std::ofstream(model) << InstancedCollada(3000, 1700);
    const fs::path was = fs::current_path();
    fs::current_path(dir_);
    const TRun run = Cli({"render", file, (dir_ / "dock.png").string(), "--system", "Dock", "--width", "160",
                          "--height", "120"});
    fs::current_path(was);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("The 3D model \"Space Station/swarm.dae/swarm.dae\" could not be loaded: the model is "
                           "too large to draw"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::exists(dir_ / "dock.png"));
}

TEST_F(RenderCommand, WithoutADisplaySaysHowToGetOne)
{
    const char *bin = std::getenv("KALVION_DATA_DIR");
    ASSERT_NE(bin, nullptr);
    const std::string command = "env -u DISPLAY QT_QPA_PLATFORM=offscreen '" + std::string(bin) +
                                "/kalvion-cli' render '" + sector_ + "' '" + (dir_ / "x.png").string() + "' 2>&1";
    FILE *pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe))
        output += buf;
    const int status = ::pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("xvfb-run"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(dir_ / "x.png"));
}

} // namespace
} // namespace kalvion::test
