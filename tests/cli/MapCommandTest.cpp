// "map" with the window's export choices writes the very file the window's
// "Sector Export" writes through Export2D.
#include "CliRun.h"

#include "files/SectorFile.h"
#include "graphics/RenderSectorNG.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using kalvion::cli::test::RunCmd;

namespace {

std::string Bytes(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MapCommand, WindowChoicesGiveTheExportOfTheWindow)
{
    const fs::path dir = fs::temp_directory_path() / "kalvion_cli_map_window";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string g = (dir / "g.VexaDB").string();
    ASSERT_EQ(RunCmd({"--seed", "7", "generate", g, "--systems", "25", "--data", "stars"}).code, 0);
    ASSERT_EQ(RunCmd({"routes", g, "--proximity", "--style", "all"}).code, 0);
    kalvion::TVexaSector sector;
    ASSERT_TRUE(kalvion::LoadFromFile(sector, g));
    sector.UpdateRouteBodies();

    // The dialog's defaults: black and white, X/Y, middle sliders, grid,
    // scaled systems and routes.
    ASSERT_TRUE(kalvion::Export2D(sector, (dir / "window.png").string(), 0, kalvion::MAP_PLANE_XY, 400, 1.0, 1.0,
                                  true, true, true));
    ASSERT_EQ(RunCmd({"map", g, (dir / "cli.png").string(), "--width", "400", "--unit-grid", "--scale-by-depth",
                      "--routes"})
                  .code,
              0);
    const std::string window = Bytes(dir / "window.png");
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(Bytes(dir / "cli.png"), window);

    // Other sliders, colours and plane reach the picture the same way.
    ASSERT_TRUE(kalvion::Export2D(sector, (dir / "window2.png").string(), 2, kalvion::MAP_PLANE_XZ, 300, 1.5, 0.5,
                                  true, false, false));
    ASSERT_EQ(RunCmd({"map", g, (dir / "cli2.png").string(), "--width", "300", "--mode", "2", "--plane", "xz",
                      "--unit-grid", "--system-size", "1.5", "--label-size", "0.5"})
                  .code,
              0);
    EXPECT_EQ(Bytes(dir / "cli2.png"), Bytes(dir / "window2.png"));
    // The sector's own grid is another picture.
    ASSERT_EQ(RunCmd({"map", g, (dir / "own.png").string(), "--width", "400", "--grid", "--scale-by-depth",
                      "--routes"})
                  .code,
              0);
    EXPECT_NE(Bytes(dir / "own.png"), window);

    EXPECT_EQ(RunCmd({"map", g, (dir / "x.png").string(), "--unit-grid", "--grid-step", "2"}).code, 2);
    EXPECT_EQ(RunCmd({"map", g, (dir / "x.png").string(), "--system-size", "3"}).code, 2);
    EXPECT_EQ(RunCmd({"map", g, (dir / "x.png").string(), "--label-size", "0.1"}).code, 2);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
    fs::remove_all(dir);
}

} // namespace
