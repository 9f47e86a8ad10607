#include "cli/CliApp.h"

#include "GraphicsFixtures.h"
#include "files/SectorFile.h"
#include "surface/PlanetTerrain.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace kalvion {
namespace {

struct Result {
    int code = 0;
    std::string out, err;
};

Result RunArgs(std::vector<std::string> args)
{
    args.insert(args.begin(), "kalvion-cli");
    std::ostringstream out, err;
    Result r;
    r.code = cli::RunCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// One saved sector file for all command tests: generated systems with
// routes, one known gas giant and one planet with air.
const std::string &SectorFile()
{
    static const std::string file = [] {
        auto sector = test::GeneratedSector(30, 24, 99);
        sector->SizeY = 48;
        TStellarBody *root = sector->GetSystem(0);
        root->TypeID = BODY_TYPE_STAR;
        root->Name = "Home";
        root->Mass = 1;
        TStellarBody *giant = test::AddChild(*root, "Big Blue", BODY_TYPE_GASGIANT, 7.0e8);
        giant->RandomSeed = 4711;
        TStellarBody *world = test::AddChild(*root, "Airy", BODY_TYPE_TERRESTRIAL, 1.5e8);
        world->RandomSeed = 17;
        world->Atmosphere = 1.2;
        world->SetAtmElement("N2", 80);
        world->SetAtmElement("O2", 20);
        test::AddChild(*root, "Rock", BODY_TYPE_PLANETOID, 4.0e8);
        // Tests run in parallel processes: each writes a sector file of its own.
        const std::string path = test::PictureDir() + "/cli-sector-" + std::to_string(::getpid()) + ".vxs";
        std::filesystem::remove(path);
        std::string error;
        EXPECT_TRUE(SaveToFile(*sector, path, false, &error)) << error;
        return path;
    }();
    return file;
}

TEST(GraphicsCommands, MapWritesPicturesInTheSectorsProportions)
{
    const std::string out = test::PictureDir() + "/cli-map.png";
    Result r = RunArgs({"map", SectorFile(), out, "--width", "400", "--grid", "--routes", "--labels", "--mode", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(400, 800));
    r = RunArgs({"--json", "map", SectorFile(), test::PictureDir() + "/cli-map.jpg", "--plane", "xz", "--width", "300"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["height"], 300);
    EXPECT_EQ(j["systems"], 30);
    r = RunArgs({"map", SectorFile(), test::PictureDir() + "/cli-map.pdf", "--plane", "yz"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(RunArgs({"map", SectorFile(), out, "--plane", "zz"}).code, 2);
    EXPECT_EQ(RunArgs({"map", SectorFile(), out, "--mode", "7"}).code, 2);
    // An extension no writer supports is refused, not written in another format.
    r = RunArgs({"map", SectorFile(), test::PictureDir() + "/cli-map.emf"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(".svg"), std::string::npos);
    EXPECT_EQ(RunArgs({"map", "/nonexistent/file.vxs", out}).code, 1);
}

TEST(GraphicsCommands, DiagramDrawsANamedSystem)
{
    const std::string out = test::PictureDir() + "/cli-diagram.png";
    Result r = RunArgs({"diagram", SectorFile(), "home", out, "--width", "500", "--height", "400", "--days", "30"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(out)).size(), QSize(500, 400));
    EXPECT_EQ(RunArgs({"diagram", SectorFile(), "Nowhere", out}).code, 1);
    EXPECT_EQ(RunArgs({"diagram", SectorFile(), "Home", out, "--orbits", "-1"}).code, 2);
    EXPECT_EQ(RunArgs({"diagram", SectorFile(), "Home", out, "--width", "0"}).code, 2);
}

TEST(GraphicsCommands, TextureMakesBandsOrClouds)
{
    const std::string bands = test::PictureDir() + "/cli-bands.png";
    Result r = RunArgs({"--json", "texture", SectorFile(), "Big Blue", bands});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["kind"], "bands");
    const QImage first(QString::fromStdString(bands));
    EXPECT_EQ(first.size(), QSize(512, 256));
    ASSERT_EQ(RunArgs({"texture", SectorFile(), "Big Blue", bands}).code, 0);
    EXPECT_EQ(QImage(QString::fromStdString(bands)), first);

    const std::string clouds = test::PictureDir() + "/cli-clouds.png";
    r = RunArgs({"--json", "texture", SectorFile(), "Airy", clouds});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["kind"], "clouds");
    EXPECT_TRUE(QImage(QString::fromStdString(clouds)).hasAlphaChannel());
    EXPECT_EQ(RunArgs({"texture", SectorFile(), "Rock", clouds}).code, 1);
    EXPECT_EQ(RunArgs({"texture", SectorFile(), "Nobody", clouds}).code, 1);
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(GraphicsCommands, PicturesNeverReplaceTheirInputs)
{
    const std::string before = FileBytes(SectorFile());
    ASSERT_FALSE(before.empty());
    for (std::vector<std::string> args : {std::vector<std::string>{"map", SectorFile(), SectorFile()},
                                          {"map", SectorFile(), test::PictureDir() + "/./" +
                                                                    std::filesystem::path(SectorFile()).filename().string()},
                                          {"diagram", SectorFile(), "Home", SectorFile()},
                                          {"texture", SectorFile(), "Big Blue", SectorFile()},
                                          {"report", SectorFile(), SectorFile()}}) {
        const Result r = RunArgs(args);
        EXPECT_EQ(r.code, 2) << args[0];
        EXPECT_NE(r.err.find("is the input"), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("Wrote"), std::string::npos);
    }
    EXPECT_EQ(FileBytes(SectorFile()), before);
    const std::string world = test::PictureDir() + "/cli-in.gex";
    ASSERT_EQ(RunArgs({"terrain", "--seed", "5", "--radius", "3000", "--water", "0.5", "--temp", "280",
                       "--atmosphere", "1", "--width", "64", "--out", test::PictureDir() + "/cli-in.png", "--world",
                       world}).code,
              0);
    EXPECT_EQ(RunArgs({"terrain", "--from", world, "--out", world}).code, 2);
    EXPECT_EQ(RunArgs({"terrain", "--seed", "5", "--radius", "3000", "--water", "0.5", "--temp", "280",
                       "--atmosphere", "1", "--out", world, "--world", world}).code,
              2);
}

// The map file is a lossless PNG of exactly the rendered map, whatever the
// worker count or the compression level chosen for speed.
TEST(GraphicsCommands, TerrainPngHoldsTheRenderedMapForAnyWorkerCount)
{
    TPlanetTerrainInput planet;
    planet.RandomSeed = 5;
    planet.Radius = 3000;
    planet.Water = 0.5;
    planet.Temp = 280;
    planet.Atmosphere = 0.7; // craters as well as clouds
    const TRgbImage expected = RenderTerrainMap(*SetupPlanetTerrain(planet, 150, 75));
    // "" is the default: one worker per processor.
    for (const char *workers : {"1", "3", ""}) {
        const std::string png = test::PictureDir() + "/terrain-" + workers + ".png";
        std::vector<std::string> args{"terrain", "--seed", "5",  "--radius", "3000", "--water", "0.5", "--temp",
                                      "280",     "--atmosphere", "0.7", "--width", "150", "--out", png};
        if (*workers)
            args.insert(args.end(), {"--workers", workers});
        const Result r = RunArgs(args);
        ASSERT_EQ(r.code, 0) << r.err;
        QImage read(QString::fromStdString(png), "PNG");
        ASSERT_FALSE(read.isNull()) << workers;
        read = read.convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(read.width(), 150);
        ASSERT_EQ(read.height(), 75);
        for (int y = 0; y < 75; ++y)
            ASSERT_EQ(std::memcmp(read.constScanLine(y), expected.Pixels.data() + y * 150 * 3, 150 * 3), 0)
                << workers << " workers, row " << y;
    }
}

// A full disk stands behind /dev/full: every picture command must say that
// the write failed rather than "Wrote ...".
TEST(GraphicsCommands, FullDiskIsAFailureForEveryPicture)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::vector<std::string> names;
    for (const char *ext : {".png", ".svg", ".pdf", ".bmp"}) {
        const std::string link = test::PictureDir() + "/full-" + std::to_string(::getpid()) + ext;
        std::filesystem::remove(link);
        std::filesystem::create_symlink("/dev/full", link);
        names.push_back(link);
    }
    for (const std::string &name : names) {
        for (std::vector<std::string> args : {std::vector<std::string>{"map", SectorFile(), name, "--width", "64"},
                                              {"diagram", SectorFile(), "Home", name, "--width", "64", "--height",
                                               "64"}}) {
            const Result r = RunArgs(args);
            EXPECT_EQ(r.code, 1) << args[0] << " " << name << ": " << r.out;
            EXPECT_NE(r.err.find("No space left"), std::string::npos) << r.err;
            EXPECT_EQ(r.out.find("Wrote"), std::string::npos);
        }
    }
    Result r = RunArgs({"texture", SectorFile(), "Big Blue", names[0]});
    EXPECT_EQ(r.code, 1) << r.out;
    r = RunArgs({"terrain", "--seed", "5", "--radius", "3000", "--water", "0.5", "--temp", "280", "--atmosphere", "1",
                 "--width", "64", "--out", names[0]});
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.err.find("No space left"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Wrote"), std::string::npos);
    for (const std::string &name : names)
        std::filesystem::remove(name);
}

} // namespace
} // namespace kalvion
