// Recovery copies of a sector file: a snapshot taken in slices holds what a
// save would write, the copy built from it and the sector's file reads back
// as the document stood, and taking it changes nothing in the document.
#include "FilesTestHelpers.h"
#include "base/SharedRandom.h"
#include "files/SectorFile.h"
#include "files/SectorRecovery.h"

#include <chrono>
#include <filesystem>

namespace kalvion::test {
namespace {

class RecoveryCopyTest : public TempDirTest {
protected:
    std::unique_ptr<TVexaSector> Read(const std::string &file)
    {
        auto s = std::make_unique<TVexaSector>();
        EXPECT_TRUE(LoadFromFile(*s, file));
        s->DynaLoadAll();
        return s;
    }
    // The copy of a snapshot taken one smallest slice at a time.
    std::string CopyInSlices(const TVexaSector &s, int *steps)
    {
        TRecoverySnapshotBuilder builder(s, TRecoveryOrigin{s.FileName, s.Name, 1});
        *steps = 1;
        while (!builder.Step(std::chrono::steady_clock::duration::zero()))
            ++*steps;
        EXPECT_FALSE(builder.Failed()) << builder.Error();
        auto snap = builder.Take();
        const std::string folder = PathOf("copy/");
        std::string error;
        EXPECT_TRUE(snap && WriteRecoveryCopy(*snap, folder, &error)) << error;
        return folder + "sector.VexaDB";
    }
};

TEST_F(RecoveryCopyTest, ACopyHoldsTheFileWithTheUnsavedChangesAndLeavesTheDocumentAsItWas)
{
    const std::string file = PathOf("Arm.VexaDB");
    {
        TVexaSector s;
        for (int i = 0; i < 100; ++i)
            s.AddSystem(MakeSystem("Sys" + std::to_string(i), 2, i));
        s.CreateRouteSegment(s.GetSystem(0), s.GetSystem(1), "Trade", "Old Road", 0, 0, 1);
        s.AddSubsector(std::make_unique<TVexaSubsector>());
        ASSERT_TRUE(SaveToFile(s, file, false));
    }
    TVexaSector s;
    ASSERT_TRUE(LoadFromFile(s, file));
    // Unsaved: a child deleted inside a system, a new system on a new route
    // to a system never loaded, a deleted route and subsector, notes.
    TStellarBody *five = s.FindRootBodyByName("Sys5");
    s.DynaLoad(five);
    s.DeleteChildBody(five, five->Children[0].get());
    TStellarBody *fresh = s.NewSystem(1);
    fresh->Name = "Fresh";
    s.CreateRouteSegment(fresh, s.FindRootBodyByName("Sys60"), "Trade", "New Road", 0, 0, 1);
    s.DeleteRoute(0);
    s.DeleteSubsector(0);
    s.Notes = "unsaved notes";
    s.Modified = true;

    const std::int32_t seed = SharedRandomSeed();
    int steps = 0;
    const std::string copy = CopyInSlices(s, &steps);
    EXPECT_GT(steps, 2);  // 101 systems, at most 32 a smallest slice
    EXPECT_EQ(SharedRandomSeed(), seed);
    // The document: nothing written, nothing cleared, nothing unloaded.
    EXPECT_EQ(s.FileName, file);
    EXPECT_EQ(fresh->RecordID, 0);
    EXPECT_TRUE(fresh->TVexaBase::Modified);
    EXPECT_TRUE(five->Loaded);
    EXPECT_TRUE(five->TVexaBase::Modified);
    EXPECT_EQ(s.DeletedObjects.size(), 3u);
    EXPECT_EQ(s.Routes[0]->RecordID, 0);
    EXPECT_EQ(Read(file)->Notes, "");

    auto c = Read(copy);
    EXPECT_EQ(c->SystemCount(), 101);
    EXPECT_EQ(c->Notes, "unsaved notes");
    EXPECT_EQ(CountBodies(*c->FindRootBodyByName("Sys5")), 3);
    EXPECT_EQ(CountBodies(*c->FindRootBodyByName("Sys6")), 5);
    EXPECT_EQ(c->SubsectorCount(), 0);
    ASSERT_EQ(c->RouteCount(), 1);
    EXPECT_EQ(c->GetRoute(0)->Name, "New Road");
    ASSERT_EQ(c->GetRoute(0)->WaypointCount(), 2);
    EXPECT_EQ(c->GetRoute(0)->GetWaypoint(0)->Body.Get(), c->FindRootBodyByName("Fresh"));
    EXPECT_EQ(c->GetRoute(0)->GetWaypoint(1)->Body.Get(), c->FindRootBodyByName("Sys60"));
    EXPECT_EQ(QueryInt(copy, "select count(*) from bodies"), 100 * 5 - 2 + 1);

    // Saving the document afterwards still writes every change.
    ASSERT_TRUE(SaveToFile(s, file, false));
    auto saved = Read(file);
    EXPECT_EQ(saved->SystemCount(), 101);
    EXPECT_EQ(CountBodies(*saved->FindRootBodyByName("Sys5")), 3);
    EXPECT_EQ(QueryInt(file, "select count(*) from bodies"), 100 * 5 - 2 + 1);
}

TEST_F(RecoveryCopyTest, ASnapshotFailsWhenTheSystemsChangeBetweenSlicesOrCannotAllBeHad)
{
    TVexaSector s;
    for (int i = 0; i < 70; ++i)
        s.AddSystem(MakeSystem("Sys" + std::to_string(i), 1, i));
    {
        TRecoverySnapshotBuilder builder(s, TRecoveryOrigin{});
        EXPECT_FALSE(builder.Step(std::chrono::steady_clock::duration::zero()));
        s.DeleteRootBody(s.GetSystem(0));
        while (!builder.Step(std::chrono::steady_clock::duration::zero())) {
        }
        EXPECT_TRUE(builder.Failed());
        EXPECT_EQ(builder.Take(), nullptr);
    }
    // Systems never loaded from a file that has gone cannot be copied.
    const std::string file = PathOf("Gone.VexaDB");
    ASSERT_TRUE(SaveToFile(s, file, false));
    TVexaSector opened;
    ASSERT_TRUE(LoadFromFile(opened, file));
    std::filesystem::remove(file);
    std::string error;
    EXPECT_EQ(TakeRecoverySnapshot(opened, TRecoveryOrigin{}, &error), nullptr);
    EXPECT_NE(error.find("no longer exists"), std::string::npos) << error;
}

} // namespace
} // namespace kalvion::test
