// The script entry points of sector generation: the single-threaded
// generator and the move of a generated sector from its scratch file.
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/SectorGenerator.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const fs::path &base, const std::string &name)
{
    fs::path dir = base / ("kalvion_secscript_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

TEST(GenerateSector, CountsCellsFromOneWithTheSharedGenerator)
{
    // Frequency 10: each cell is placed when the shared float is below
    // 10 / 20.  The draws are replayed on the shared generator itself: one
    // per cell; per placed cell the new body's seed and its position.
    TVexaSector s;
    s.SizeX = s.SizeY = s.SizeZ = 6;
    s.Frequency = 10;
    SetSharedRandomSeed(777);
    std::vector<std::string> reports;
    ASSERT_TRUE(GenerateSector(s, DISTRIBUTION_EVEN, GENERATE_NONE, true, 0x0000FF00, 0, 0, "",
                               [&](const std::string &m, double) {
                                   reports.push_back(m);
                                   return false;
                               }));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), "Generating Positions");

    SetSharedRandomSeed(777);
    EXPECT_EQ(s.RandomSeed, SharedRandomInt(1000000000));
    std::size_t n = 0;
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            for (int k = 1; k <= 6; ++k) {
                if (!(SharedRandomFloat() < 0.5))
                    continue;
                ASSERT_LT(n, s.Systems.size());
                const TStellarBody &b = *s.Systems[n++];
                EXPECT_EQ(b.RandomSeed, SharedRandomInt(1000000000)) << "a new body draws its own seed first";
                EXPECT_NEAR(b.X, SharedRandomFloat() - 0.5 + i - 3, 1e-6);
                EXPECT_NEAR(b.Y, SharedRandomFloat() - 0.5 + j - 3, 1e-6);
                EXPECT_NEAR(b.Z, SharedRandomFloat() - 0.5 + k - 3, 1e-6);
                EXPECT_EQ(b.Name, "S" + TwoDigits(i) + TwoDigits(j) + TwoDigits(k));
                EXPECT_EQ(b.LabelColor, 0x0000FF00u);
            }
    EXPECT_EQ(n, s.Systems.size());
    EXPECT_GT(n, 60u);
    EXPECT_TRUE(s.RenderMessageBig.empty());
    EXPECT_TRUE(s.FileName.empty()) << "nothing was cached";
}

TEST(GenerateSector, SphereSkipsCornersAndACancelStopsAtOnce)
{
    TVexaSector s;
    s.SizeX = s.SizeY = s.SizeZ = 8;
    s.Spherical = true;
    s.Frequency = 40;  // every cell
    s.RandomSeed = 5;
    SetSharedRandomSeed(1);
    ASSERT_TRUE(GenerateSector(s, DISTRIBUTION_EVEN, GENERATE_NONE, false, 0, 0, 0, ""));
    EXPECT_EQ(s.RandomSeed, 5) << "a sector seed is kept";
    int within = 0;
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j)
            for (int k = 1; k <= 8; ++k)
                within += (i - 4) * (i - 4) + (j - 4) * (j - 4) + (k - 4) * (k - 4) <= 16;
    EXPECT_EQ(static_cast<int>(s.Systems.size()), within);

    // The first progress call comes before the first cell.
    TVexaSector t;
    t.Frequency = 0;  // below 1 becomes 1
    ASSERT_TRUE(GenerateSector(t, DISTRIBUTION_EVEN, GENERATE_NONE, false, 0, 0, 0, "",
                               [](const std::string &, double) { return true; }));
    EXPECT_TRUE(t.Systems.empty());
    EXPECT_EQ(t.Frequency, 1);
    EXPECT_TRUE(t.RenderMessageBig.empty());
}

TEST(GenerateSector, ExtendedSystemsAreGenerated)
{
    TVexaSector s;
    s.SizeX = s.SizeY = s.SizeZ = 6;
    s.Frequency = 2;
    SetSharedRandomSeed(2026);
    ASSERT_TRUE(GenerateSector(s, DISTRIBUTION_CLUSTERED, GENERATE_EXTENDED, true, 0, 0, 0, ""));
    ASSERT_TRUE(GenerateSector(s, DISTRIBUTION_EVEN, GENERATE_EXTENDED, true, 0, 0, 0, ""));
    ASSERT_FALSE(s.Systems.empty());
    for (const auto &b : s.Systems) {
        EXPECT_NE(b->TypeID, BODY_TYPE_NOTASSIGNED);
        EXPECT_FALSE(b->Name.empty());
        EXPECT_EQ(b->BodyCount, b->GetBodyCount());
    }
}

TEST(GenerateSector, LargeRunsAreCachedToTheScratchFile)
{
    // Every cell of 22 x 22 x 22 holds a system: 10648 extended systems, so
    // the sector is cached once it passes 10000 and saved again at the end.
    const fs::path home = TempDir(fs::temp_directory_path(), "cache");
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    const std::string scratch = GenerateTempFile();
    fs::create_directories(fs::path(scratch).parent_path());
    std::ofstream(scratch) << "left over from an earlier run";
    TVexaSector s;
    s.SizeX = s.SizeY = s.SizeZ = 22;
    s.Frequency = 20;
    SetSharedRandomSeed(10648);
    std::string error;
    ASSERT_TRUE(GenerateSector(s, DISTRIBUTION_EVEN, GENERATE_EXTENDED, true, 0, 0, 0, "", {}, &error)) << error;
    ASSERT_EQ(s.SystemCount(), 22 * 22 * 22);
    EXPECT_EQ(s.FileName, scratch);
    EXPECT_TRUE(s.RenderStatus.empty());
    EXPECT_FALSE(s.Modified);
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, scratch));
    EXPECT_EQ(back.SystemCount(), 22 * 22 * 22);

    // Moving the scratch file gives the sector its name.
    const std::string target = (home / "Cached.VexaDB").string();
    ASSERT_TRUE(SaveGenerateTempFile(s, target, &error)) << error;
    EXPECT_EQ(s.Name, "Cached");
    EXPECT_FALSE(fs::exists(scratch));
    fs::remove_all(home);
}

// A small stored sector in its scratch file.
void MakeScratch(TVexaSector &s, const std::string &scratch, int systems)
{
    for (int i = 0; i < systems; ++i) {
        auto b = TStellarBody::Create();
        b->Name = "Sys" + std::to_string(i);
        b->TypeID = BODY_TYPE_STAR;
        s.AddSystem(std::move(b));
    }
    ASSERT_TRUE(SaveToFile(s, scratch, false));
    s.Systems.back()->Notes = "changed after the last save";
    s.Systems.back()->Modified = true;
}

TEST(SaveGenerateTempFile, ReplacesTheTargetInOneStep)
{
    const fs::path dir = TempDir(fs::temp_directory_path(), "move");
    const std::string scratch = (dir / "(Untitled).VexaDB").string();
    const std::string target = (dir / "out" / "My Sector.VexaDB").string();
    fs::create_directories(dir / "out");
    std::ofstream(target) << "an older file";

    TVexaSector s;
    MakeScratch(s, scratch, 5);
    std::string error;
    ASSERT_TRUE(SaveGenerateTempFile(s, target, &error)) << error;
    EXPECT_EQ(s.FileName, target);
    EXPECT_EQ(s.Name, "My Sector");
    EXPECT_FALSE(fs::exists(scratch));

    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, target));
    ASSERT_EQ(back.SystemCount(), 5);
    back.DynaLoadAll();
    EXPECT_EQ(back.Systems.back()->Notes, "changed after the last save");

    // The sector still reads its unloaded systems from the new place.
    s.DynaLoadAll();
    EXPECT_TRUE(s.Systems.front()->Loaded);

    // A sector that never had a file is simply saved there.
    TVexaSector fresh;
    fresh.AddSystem(TStellarBody::Create());
    ASSERT_TRUE(SaveGenerateTempFile(fresh, (dir / "fresh.VexaDB").string(), &error)) << error;
    EXPECT_EQ(fresh.Name, "fresh");
    fs::remove_all(dir);
}

TEST(SaveGenerateTempFile, MovesAcrossFileSystemsByCopying)
{
    struct stat a {}, b {};
    if (::stat("/dev/shm", &a) != 0 || ::stat(fs::temp_directory_path().c_str(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system to move across";
    const fs::path from = TempDir("/dev/shm", "xfs");
    const fs::path to = TempDir(fs::temp_directory_path(), "xfs");
    const std::string scratch = (from / "(Untitled).VexaDB").string();
    const std::string target = (to / "Across.VexaDB").string();
    std::ofstream(target) << "an older file";
    TVexaSector s;
    MakeScratch(s, scratch, 3);
    std::string error;
    ASSERT_TRUE(SaveGenerateTempFile(s, target, &error)) << error;
    EXPECT_EQ(s.FileName, target);
    EXPECT_FALSE(fs::exists(scratch));
    EXPECT_FALSE(fs::exists(target + ".saving~"));
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, target));
    EXPECT_EQ(back.SystemCount(), 3);
    fs::remove_all(from);
    fs::remove_all(to);
}

TEST(SaveGenerateTempFile, AFailedMoveKeepsTheSectorWhereItWas)
{
    const fs::path dir = TempDir(fs::temp_directory_path(), "fail");
    const std::string scratch = (dir / "(Untitled).VexaDB").string();
    // A folder with contents cannot be replaced by a file.
    const fs::path target = dir / "Taken.VexaDB";
    fs::create_directories(target / "inside");
    TVexaSector s;
    MakeScratch(s, scratch, 4);
    std::string error;
    EXPECT_FALSE(SaveGenerateTempFile(s, target.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(s.FileName, scratch);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, scratch));
    EXPECT_EQ(back.SystemCount(), 4);
    back.DynaLoadAll();
    EXPECT_EQ(back.Systems.back()->Notes, "changed after the last save") << "the save before the move happened";

    EXPECT_FALSE(SaveGenerateTempFile(s, "", &error));
    fs::remove_all(dir);
}

TEST(SaveGenerateTempFile, ASectorLeftUnderATemporaryNameSavesToTheChosenOne)
{
    const fs::path dir = TempDir(fs::temp_directory_path(), "unconfirmed");
    const std::string first = (dir / "First.VexaDB").string();
    TVexaSector s;
    MakeScratch(s, first, 3);
    ASSERT_TRUE(SaveToFile(s, first, false));
    s.DynaClearActiveDB();
    s.Systems.front()->UnloadChildren();
    s.Systems.front()->Loaded = false;
    // Saving over a folder fails at the final rename.
    const fs::path taken = dir / "Taken.VexaDB";
    fs::create_directories(taken / "inside");
    s.Systems.back()->ModifySystem();
    std::string error;
    EXPECT_FALSE(SaveToFile(s, taken.string(), false, &error));
    ASSERT_TRUE(s.FileNameUnconfirmed) << error;
    const std::string left = s.FileName;

    const std::string chosen = (dir / "Chosen.VexaDB").string();
    ASSERT_TRUE(SaveGenerateTempFile(s, chosen, &error)) << error;
    EXPECT_EQ(s.FileName, chosen);
    EXPECT_FALSE(s.FileNameUnconfirmed);
    EXPECT_TRUE(fs::exists(left)); // the copy the user was told about stays
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, chosen));
    EXPECT_EQ(back.SystemCount(), 3);
    fs::remove_all(dir);
}

} // namespace
} // namespace kalvion
