// The threaded sector generator: which cells it tests, where it places
// systems, shell growth and the sphere trim, hand-overs, cancelling,
// failures, checkpoint saves and the move of a finished sector to its file.
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "generation/SectorGenerator.h"
#include "generation/SystemNames.h"
#include "model/StellarBody.h"
#include "model/VexaSector.h"
#include "science/ZentRand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <thread>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace kalvion {
namespace {

namespace fs = std::filesystem;

fs::path TempDir(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("kalvion_secgen_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void SetUpBox(TVexaSector &s, double x, double y, double z, double frequency)
{
    s.SizeX = x;
    s.SizeY = y;
    s.SizeZ = z;
    s.Frequency = frequency;
}

TSectorGenerateParams NoData()
{
    TSectorGenerateParams p;
    p.SystemData = GENERATE_NONE;
    return p;
}

// Drives a run to its end the way the command line does.
TVexaGenThreadMgr &RunToEnd(TVexaSector &s, const TSectorGenerateParams &p)
{
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(s);
    mgr.Start(p);
    while (mgr.ProcessHandOvers(std::chrono::milliseconds(20))) {
    }
    return mgr;
}

// The value at six decimals as glibc's exact conversion gives it, read back.
double Decimal6(double x)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", x);
    return std::strtod(text, nullptr);
}

using Cell = std::tuple<int, int, int>;

Cell CellOf(const TStellarBody &b)
{
    return {static_cast<int>(std::lround(b.X)), static_cast<int>(std::lround(b.Y)),
            static_cast<int>(std::lround(b.Z))};
}

TEST(SectorGenerator, BoxFillTestsEveryCellOnceInOrderWithTheThreadSeed)
{
    // 10 x 10 x 10 at frequency 100: 11 x 11 x 11 cells, each placed with
    // probability one half.  The draws are replayed here: the thread seed
    // from the shared seed, the generator's seed, then one draw per cell and
    // three per placed cell.
    SetSharedRandomSeed(4242);
    TVexaSector s;
    SetUpBox(s, 10, 10, 10, 100);
    RunToEnd(s, NoData());

    SetSharedRandomSeed(4242);
    std::uint32_t seed = static_cast<std::uint32_t>(SharedRandomInt(2000000000));
    SeedRandomInt(seed, 2000000000);
    std::vector<std::tuple<double, double, double>> expected;
    int tested = 0;
    for (int x = -5; x <= 5; ++x)
        for (int y = -5; y <= 5; ++y)
            for (int z = -5; z <= 5; ++z) {
                ++tested;
                if (SeedRandomFloat(seed) < 0.5) {
                    const double px = x + SeedRandomFloat(seed) - 0.5;
                    const double py = y + SeedRandomFloat(seed) - 0.5;
                    const double pz = z + SeedRandomFloat(seed) - 0.5;
                    expected.emplace_back(px, py, pz);
                }
            }
    EXPECT_EQ(tested, 1331);
    ASSERT_EQ(s.Systems.size(), expected.size());
    EXPECT_GT(expected.size(), 560u);
    EXPECT_LT(expected.size(), 770u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto &b = *s.Systems[i];
        // Kept to six decimals, each the double nearest to its decimal.
        EXPECT_EQ(b.X, Decimal6(std::get<0>(expected[i])));
        EXPECT_EQ(b.Y, Decimal6(std::get<1>(expected[i])));
        EXPECT_EQ(b.Z, Decimal6(std::get<2>(expected[i])));
        EXPECT_TRUE(b.Modified);
        EXPECT_TRUE(b.Loaded);
        EXPECT_EQ(b.TypeID, BODY_TYPE_NOTASSIGNED);
    }
    // The sector keeps its size; the messages are cleared at the end.
    EXPECT_EQ(s.SizeX, 10);
    EXPECT_TRUE(s.RenderMessageBig.empty());
    EXPECT_TRUE(s.RenderMessageSmall.empty());
    EXPECT_EQ(s.VisibleCount, static_cast<int>(s.Systems.size()));
}

// A sparse sector fills no batch before its end; its placement pass still
// reports its progress slab by slab.
TEST(SectorGenerator, ThePlacementPassReportsProgressAsItGoes)
{
    SetSharedRandomSeed(77);
    TVexaSector s;
    SetUpBox(s, 40, 40, 40, 1); // one cell in 200: about 340 systems, three batches
    TSectorGenerateParams p = NoData();
    std::vector<std::int32_t> seen;
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(s);
    mgr.OnHandOverProgress = [&](std::int32_t percent, std::size_t) { seen.push_back(percent); };
    RunToEnd(s, p);
    mgr.OnHandOverProgress = nullptr;
    const std::set<std::int32_t> distinct(seen.begin(), seen.end());
    EXPECT_GE(distinct.size(), 20u) << seen.size() << " hand-overs for " << s.Systems.size() << " systems";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

TEST(SectorGenerator, ExpectedSystemCountsAndTheMemoryLimit)
{
    TVexaSector s;
    SetUpBox(s, 10, 10, 10, 100);
    TSectorGenerateParams p = NoData();
    EXPECT_DOUBLE_EQ(ExpectedGeneratedSystems(s, p), 1331 * 0.5);
    p.TotalSystems = 50;
    EXPECT_DOUBLE_EQ(ExpectedGeneratedSystems(s, p), 50);
    s.Spherical = true;
    EXPECT_DOUBLE_EQ(ExpectedGeneratedSystems(s, p), 100);
    EXPECT_TRUE(CheckGenerationSize(s, p).empty());
    p.TotalSystems = 0;
    s.Spherical = false;
    SetUpBox(s, SECTOR_MAX_SIZE, SECTOR_MAX_SIZE, SECTOR_MAX_SIZE, 5);
    EXPECT_GT(ExpectedGeneratedSystems(s, p), 1e16);
    const std::string refusal = CheckGenerationSize(s, p);
    EXPECT_NE(refusal.find("would make about 2.5e+16 systems"), std::string::npos) << refusal;
    EXPECT_GT(MaxGeneratedSystems(), 1000);
}

TEST(SectorGenerator, OddSizesGrowAndASphereKeepsItsCells)
{
    SetSharedRandomSeed(99);
    TVexaSector box;
    SetUpBox(box, 5, 3, 1, 100);  // becomes 6 x 4 x 2: cells -3 … 3, -2 … 2, -1 … 1
    RunToEnd(box, NoData());
    std::set<Cell> cells;
    for (const auto &b : box.Systems) {
        const auto [x, y, z] = CellOf(*b);
        EXPECT_LE(std::abs(x), 3);
        EXPECT_LE(std::abs(y), 2);
        EXPECT_LE(std::abs(z), 1);
        cells.insert(CellOf(*b));
    }
    EXPECT_EQ(cells.size(), box.Systems.size()) << "one system per cell";

    // Radius 5: the sector is 10 across and only cells within 5 of the
    // origin hold systems; at frequency 200 every such cell does.
    TVexaSector sphere;
    SetUpBox(sphere, 10, 10, 10, 200);
    sphere.Spherical = true;
    RunToEnd(sphere, NoData());
    int within = 0;
    for (int x = -5; x <= 5; ++x)
        for (int y = -5; y <= 5; ++y)
            for (int z = -5; z <= 5; ++z)
                within += x * x + y * y + z * z <= 25;
    EXPECT_EQ(static_cast<int>(sphere.Systems.size()), within);
    for (const auto &b : sphere.Systems) {
        const auto [x, y, z] = CellOf(*b);
        EXPECT_LE(x * x + y * y + z * z, 25);
    }
}

TEST(SectorGenerator, ModeZeroNamesAreCellCoordinatesWithThePad)
{
    SetSharedRandomSeed(7);
    TVexaSector s;
    SetUpBox(s, 50, 16, 16, 200);  // every cell placed; the widest size has two digits
    RunToEnd(s, NoData());
    ASSERT_EQ(s.Systems.size(), 51u * 17u * 17u);
    bool found = false;
    for (const auto &b : s.Systems)
        if (CellOf(*b) == Cell{3, -2, 7}) {
            EXPECT_EQ(b->Name, "S03 -02 07");
            found = true;
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(s.Systems.front()->Name, "S-25 -08 -08");

    TVexaSector wide;
    SetUpBox(wide, 100, 2, 2, 200);
    RunToEnd(wide, NoData());
    EXPECT_EQ(wide.Systems.front()->Name, "S-050 -001 -001");
}

TEST(SectorGenerator, TotalSystemsInABoxEndsExactlyAtTheTotal)
{
    SetSharedRandomSeed(31337);
    TVexaSector s;
    SetUpBox(s, 20, 20, 20, 5);
    TSectorGenerateParams p = NoData();
    p.TotalSystems = 50;
    RunToEnd(s, p);
    ASSERT_EQ(s.Systems.size(), 50u);
    int shell = 0;
    for (const auto &b : s.Systems) {
        const auto [x, y, z] = CellOf(*b);
        shell = std::max({shell, std::abs(x), std::abs(y), std::abs(z)});
    }
    EXPECT_EQ(s.SizeX, 2 * shell);
    EXPECT_EQ(s.SizeY, 2 * shell);
    EXPECT_EQ(s.GridZ, 2 * shell);
    EXPECT_FALSE(SectorGenThreadMgr(s).Cancelled());
}

TEST(SectorGenerator, ShellGrowthSweepsFacesInOrderTestingEdgesOncePerFace)
{
    // The order is replayed: (0, 0, 0), then per shell i the faces x = +-i,
    // y = +-i and z = +-i, (i, a, b) before (-i, a, b), every cell of a face
    // including its edges, stopping right after the cell that reaches 60.
    SetSharedRandomSeed(606);
    TVexaSector s;
    SetUpBox(s, 20, 20, 20, 40);  // one cell in ten
    TSectorGenerateParams p = NoData();
    p.TotalSystems = 60;
    RunToEnd(s, p);

    SetSharedRandomSeed(606);
    std::uint32_t seed = static_cast<std::uint32_t>(SharedRandomInt(2000000000));
    SeedRandomInt(seed, 2000000000);
    std::vector<std::tuple<double, double, double>> expected;
    int lastShell = 0;
    const auto test = [&](int x, int y, int z) {
        if (SeedRandomFloat(seed) < 40.0 / 200) {
            const double px = x + SeedRandomFloat(seed) - 0.5;
            const double py = y + SeedRandomFloat(seed) - 0.5;
            const double pz = z + SeedRandomFloat(seed) - 0.5;
            expected.emplace_back(px, py, pz);
        }
        return expected.size() >= 60;
    };
    bool done = test(0, 0, 0);
    for (int i = 1; !done; ++i) {
        lastShell = i;
        for (int face = 0; face < 3 && !done; ++face)
            for (int a = -i; a <= i && !done; ++a)
                for (int b = -i; b <= i && !done; ++b) {
                    const auto cell = [&](int sign) {
                        return face == 0 ? test(sign * i, a, b) : face == 1 ? test(a, sign * i, b)
                                                                            : test(a, b, sign * i);
                    };
                    done = cell(1) || cell(-1);
                }
    }
    ASSERT_EQ(s.Systems.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(s.Systems[k]->X, std::get<0>(expected[k]), 1e-6) << k;
        EXPECT_NEAR(s.Systems[k]->Y, std::get<1>(expected[k]), 1e-6) << k;
        EXPECT_NEAR(s.Systems[k]->Z, std::get<2>(expected[k]), 1e-6) << k;
    }
    EXPECT_EQ(s.SizeX, 2 * lastShell);
}

TEST(SectorGenerator, TotalSystemsInASphereTrimsToTheTotal)
{
    SetSharedRandomSeed(5150);
    TVexaSector s;
    SetUpBox(s, 20, 20, 20, 5);
    s.Spherical = true;
    TSectorGenerateParams p = NoData();
    p.TotalSystems = 50;
    RunToEnd(s, p);
    ASSERT_EQ(s.Systems.size(), 50u);
    // Every kept system lies within the last shell's radius: the trim
    // removes those outside first.
    const double radius = s.SizeX / 2;
    for (const auto &b : s.Systems)
        EXPECT_LE(std::sqrt(b->X * b->X + b->Y * b->Y + b->Z * b->Z), radius + 1e-9);
}

std::unique_ptr<TStellarBody> RootAt(double x, const std::string &name)
{
    auto b = TStellarBody::Create();
    b->X = x;
    b->Name = name;
    return b;
}

TEST(SectorGenerator, SphereTrimKeepsSelectedSystemsAndFreesFromTheEnd)
{
    TVexaSector s;
    // Within radius 3: a, b, d, f.  Outside: c, e, g.
    for (auto [x, name] : {std::pair{1.0, "a"}, {2.0, "b"}, {5.0, "c"}, {0.5, "d"}, {4.0, "e"}, {2.5, "f"},
                           {6.0, "g"}})
        s.AddSystem(RootAt(x, name));
    s.SelectBody(s.Systems[2].get());  // c: outside but selected
    s.Systems[1]->RecordID = 17;       // b: already stored

    // Four within the radius, not more than four wanted: nothing happens.
    EXPECT_FALSE(TrimSphere(s, 3, 4));
    EXPECT_EQ(s.Systems.size(), 7u);

    // Two wanted: g and e go (outside, unselected); then, from the end, the
    // unselected f, d and b.  The selected c stays although it lies outside;
    // b was stored, so it waits in DeletedObjects for the next save.
    EXPECT_TRUE(TrimSphere(s, 3, 2));
    std::vector<std::string> names;
    for (const auto &b : s.Systems)
        names.push_back(b->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(s.SelectedCount(), 1);
    ASSERT_EQ(s.DeletedObjects.size(), 1u);
    EXPECT_EQ(s.DeletedObjects[0]->RecordID, 17);
    EXPECT_EQ(s.VisibleCount, 2);
}

TEST(SectorGenerator, TheSameSeedGivesTheSameSector)
{
    const auto run = [] {
        SetSharedRandomSeed(20261209);
        TVexaSector s;
        SetUpBox(s, 12, 12, 12, 1);
        TSectorGenerateParams p;
        p.Distribution = DISTRIBUTION_CLUSTERED;
        p.NameTable = "Kalvion Standard Names.ilt";
        RunToEnd(s, p);
        std::vector<std::tuple<std::string, double, double, double, int, int>> out;
        for (const auto &b : s.Systems)
            out.emplace_back(b->Name, b->X, b->Y, b->Z, b->TypeID, b->BodyCount);
        return out;
    };
    const auto first = run();
    const auto second = run();
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    int named = 0;
    for (const auto &r : first)
        named += !std::get<0>(r).empty();
    EXPECT_EQ(named, static_cast<int>(first.size()));
}

TEST(SectorGenerator, ExtendedSystemsAreNamedRolledUpAndLabelled)
{
    SetSharedRandomSeed(11);
    TVexaSector s;
    SetUpBox(s, 10, 10, 10, 20);
    TSectorGenerateParams p;
    p.LabelColor = 0x00123456;
    p.PopulatedColor = 0x00654321;
    RunToEnd(s, p);
    ASSERT_FALSE(s.Systems.empty());
    int populated = 0;
    for (const auto &b : s.Systems) {
        EXPECT_NE(b->TypeID, BODY_TYPE_NOTASSIGNED);
        EXPECT_FALSE(b->Name.empty());
        EXPECT_EQ(b->BodyCount, b->GetBodyCount());
        if (b->ChildPopulation > 0) {
            ++populated;
            EXPECT_EQ(b->LabelColor, 0x00654321u);
        } else {
            EXPECT_EQ(b->LabelColor, 0x00123456u);
        }
    }
    // Stars only: no star has planets (a root drawn as a planet system
    // still is one).
    SetSharedRandomSeed(11);
    TVexaSector stars;
    SetUpBox(stars, 10, 10, 10, 20);
    p.SystemData = GENERATE_STARS;
    RunToEnd(stars, p);
    TStellarBodyList all;
    for (const auto &b : stars.Systems) {
        all.clear();
        b->GetAllChildren(all);
        for (const TStellarBody *c : all)
            if (c->Parent && c->Parent->TypeID == BODY_TYPE_STAR) {
                EXPECT_LT(c->TypeID, BODY_TYPE_TERRESTRIAL) << c->Name;
            }
    }
}

TEST(SectorGenerator, CancellingKeepsWhatWasMadeAndFinishesOnce)
{
    const fs::path dir = TempDir("cancel");
    SetSharedRandomSeed(3);
    TVexaSector s;
    SetUpBox(s, 400, 400, 400, 100);  // far more than the test waits for
    ASSERT_TRUE(SaveToFile(s, (dir / "c.VexaDB").string(), false));
    int finished = 0;
    s.OnGenerateFinished = [&] { ++finished; };
    TVexaGenThreadMgr &mgr = SectorGenThreadMgr(s);
    mgr.Start(NoData());
    while (s.Systems.size() < 300 && mgr.ProcessHandOvers(std::chrono::milliseconds(20))) {
    }
    EXPECT_TRUE(mgr.IsRunning());
    EXPECT_NE(s.RenderMessageBig.find("Generating Sector: "), std::string::npos);
    EXPECT_NE(s.RenderMessageBig.find("% complete.  Hit Escape to cancel"), std::string::npos);
    EXPECT_EQ(s.RenderMessageSmall, std::to_string(s.Systems.size()) + " systems generated");
    mgr.TerminateAndWait();
    EXPECT_FALSE(mgr.IsRunning());
    EXPECT_TRUE(mgr.Cancelled());
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(mgr.Threads.empty());
    EXPECT_TRUE(s.RenderMessageBig.empty());
    const std::size_t kept = s.Systems.size();
    EXPECT_GE(kept, 300u);
    EXPECT_LT(kept, 401u * 401u * 401u);

    // GenerateFinished saved the sector to its file.
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, (dir / "c.VexaDB").string()));
    EXPECT_EQ(back.Systems.size(), kept);
    fs::remove_all(dir);
}

TEST(SectorGenerator, DestroyingASectorStopsItsWorker)
{
    SetSharedRandomSeed(8);
    auto s = std::make_unique<TVexaSector>();
    SetUpBox(*s, 400, 400, 400, 100);
    StartSectorGeneration(*s, NoData());
    SectorGenThreadMgr(*s).ProcessHandOvers(std::chrono::milliseconds(50));
    s.reset();  // must neither hang nor touch the freed sector
    SUCCEED();

    // A spherical shell growth whose worker waits for a trim answer is
    // stopped as well.
    auto t = std::make_unique<TVexaSector>();
    SetUpBox(*t, 10, 10, 10, 5);
    t->Spherical = true;
    TSectorGenerateParams p = NoData();
    p.TotalSystems = 20;
    StartSectorGeneration(*t, p);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    t.reset();
    SUCCEED();
}

// Fails on the n-th system it is asked to name.
class TFailingNamer final : public TSystemNamer {
public:
    static inline std::atomic<int> Left{0};
    std::string RandomSystemName(TSystemGenerator &, TStellarBody *, bool, const std::string &) override
    {
        return "x";
    }
    void GenerateNames(TSystemGenerator &, TStellarBody &body, double) override
    {
        if (--Left < 0)
            throw std::runtime_error("name table exploded");
        body.Name = "ok";
    }
    void ReGenerateNames(TSystemGenerator &, TStellarBody &, double) override {}
};

TEST(SectorGenerator, AFailureInTheWorkerEndsTheRunAsCancelled)
{
    const fs::path dir = TempDir("fail");
    TFailingNamer::Left = 250;
    SetDefaultSystemNamerFactory([]() -> std::unique_ptr<TSystemNamer> { return std::make_unique<TFailingNamer>(); });
    SetSharedRandomSeed(12);
    TVexaSector s;
    SetUpBox(s, 60, 60, 60, 100);
    ASSERT_TRUE(SaveToFile(s, (dir / "f.VexaDB").string(), false));
    int finished = 0;
    s.OnGenerateFinished = [&] { ++finished; };
    TVexaGenThreadMgr &mgr = RunToEnd(s, TSectorGenerateParams());
    SetDefaultSystemNamerFactory(MakeTableSystemNamer);

    EXPECT_TRUE(mgr.Cancelled());
    EXPECT_NE(mgr.ErrorMessage().find("name table exploded"), std::string::npos) << mgr.ErrorMessage();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(s.Systems.size(), 250u);  // every system named before the failure
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, (dir / "f.VexaDB").string()));
    EXPECT_EQ(back.Systems.size(), 250u);
    fs::remove_all(dir);
}

TEST(SectorGenerator, ASectorWithAFileIsSavedAtEveryTenThousandSystems)
{
    const fs::path dir = TempDir("checkpoint");
    SetSharedRandomSeed(21);
    TVexaSector s;
    SetUpBox(s, 26, 26, 30, 200);  // 27 x 27 x 31 = 22599 cells, every one placed
    ASSERT_TRUE(SaveToFile(s, (dir / "k.VexaDB").string(), false));
    std::set<std::size_t> savedAt;
    s.OnProgress = [&](const std::string &, double) { savedAt.insert(s.Systems.size()); };
    RunToEnd(s, NoData());
    EXPECT_EQ(s.Systems.size(), 22599u);
    EXPECT_EQ(savedAt, (std::set<std::size_t>{10000, 20000, 22599}));
    TVexaSector back;
    ASSERT_TRUE(LoadFromFile(back, (dir / "k.VexaDB").string()));
    EXPECT_EQ(back.Systems.size(), 22599u);
    fs::remove_all(dir);
}

TEST(SectorGenerator, SubsectorsCutTheBoxInLoopOrder)
{
    TVexaSector s;
    SetUpBox(s, 40, 20, 10, 5);
    GenerateSubsectors(s, 2, 2, "Kalvion Standard Names.ilt", 0x00C08000, 2);
    ASSERT_EQ(s.SubsectorCount(), 8);
    const TVexaSubsector &first = *s.Subsectors[0];
    EXPECT_EQ(first.SizeX, 20);
    EXPECT_EQ(first.SizeY, 10);
    EXPECT_EQ(first.SizeZ, 5);
    EXPECT_EQ(first.X, -10);
    EXPECT_EQ(first.Y, -5);
    EXPECT_EQ(first.Z, -2.5);
    EXPECT_EQ(first.Shape, VEXA_SUBSECTOR_RECT);
    EXPECT_EQ(first.Color, 0x00C08000u);
    EXPECT_TRUE(first.ShowLabel);
    EXPECT_TRUE(first.Visible);
    EXPECT_FALSE(first.Name.empty());
    // k runs innermost, then j, then i.
    EXPECT_EQ(s.Subsectors[1]->Z, 2.5);
    EXPECT_EQ(s.Subsectors[2]->Y, 5);
    EXPECT_EQ(s.Subsectors[4]->X, 10);
    EXPECT_EQ(s.Subsectors[7]->X, 10);
    EXPECT_EQ(s.Subsectors[7]->Y, 5);
    EXPECT_EQ(s.Subsectors[7]->Z, 2.5);

    // Nonsense counts add none.
    TVexaSector t;
    GenerateSubsectors(t, 0, 2, "", 0, 2);
    EXPECT_EQ(t.SubsectorCount(), 0);
}

} // namespace
} // namespace kalvion
